#pragma once
// The display currency of the main window: which rate a chosen currency line
// gives, which line the start-up selects, and the texts of the balance panel in
// the display currency.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace qv {

// The rate of the slot whose whole currency line equals the trimmed line, when
// that rate can be used for converting (positive and finite); nullopt for a line
// of no slot, an empty slot or a slot without a rate.
std::optional<double> cambioVisualizzazione(const QString& linea);

// The line (an index into righe, the combo's lines in list order) that the
// start-up selects: the first line equal to the trimmed default currency when its
// rate can be used, else the first line whose rate can be used; -1 when no line
// has a rate.
int indiceValutaIniziale(const QStringList& righe, const QString& valutaPredefinita);

// What the user is told when the chosen line has no rate.
QString messaggioCambioNonImpostato();

// The available amount in the display currency: the credit line plus the
// operation-date balance, converted, to the cent like every other amount of the
// panel (a whole-unit figure would disagree with the summary of all accounts). Held
// as a double, so no size of amount overflows; not finite only when an input is not.
double calcolaDisponibilita(double fido, double saldoOperazioneOggi, double fattoreValuta);

// The texts of the balance panel for the shared balances, the open account's
// credit line and the display rate, each amount formatted with FormatoImporti:
// saldi[0] aligned balance, [1] operation-date balance, [2] credit line,
// [3] value-date balance, [4] balance at the last movement date, [5] available.
// With no account open the credit line and the available amount are empty.
struct TestiSaldi {
    std::array<QString, 6> saldi;
    QString ultimaData;
};
TestiSaldi testiSaldi();

// The credit line of the open account in the display currency, formatted; empty
// when no account is open.
QString testoFido();

} // namespace qv
