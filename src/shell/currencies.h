#pragma once
// The currency table as the currency form and the converter use it: the fourteen
// national slots with their fixed names, storing one slot's rate, and converting an
// amount between two currencies through the Euro.

#include "common/esito.h"

#include <QString>

#include <array>
#include <optional>

namespace qv {

// One national slot: the texts stored in its record, the button that stores it and
// that button's caption (which need not match the stored texts).
struct SlotNazionale {
    int slot;           // 1 to 14; the rate box is slot - 1
    QString nomeValuta; // stored as written
    QString paese;      // stored as written
    QString pulsante;   // the button's name
    QString didascalia; // the button's caption
};

// The fourteen national slots in slot order.
const std::array<SlotNazionale, 14>& slotNazionali();

// The display format of the rate boxes and of the converter's amounts.
inline const QString FormatoCambio = QStringLiteral("###,##0.######");
inline const QString FormatoConversione = QStringLiteral("###,###,###,##0.00");

// A rate as the rate boxes show it when the form opens: a plain decimal number with
// "," for the decimals, no grouping and no exponent ("1936,27", "0").
QString testoCambio(double cambio);

// The message shown when a typed rate cannot be stored.
QString cambioNonValidoMessage();

// Stores slot 1 to 14 with the typed rate (read the Italian way) and the slot's fixed
// name and country: row slot of TabellaValute and record slot of Valute.DAT, nothing
// else. A rate that is not a number, or is 0 or negative, is refused: nothing changes
// and the result holds the message to show. A failed write leaves the row as it was.
Esito memorizzaValuta(int slot, const QString& testoDigitato);

// The rate of the slot whose currency line is the trimmed text; 0 when none is.
double cambioDellaLinea(const QString& linea);

struct Conversione {
    double euro = 0;
    double risultato = 0;
};

// amount / cambio1 in Euro, then × cambio2. Nothing when cambio1 is not a positive
// finite number (an empty slot has rate 0); a rate 2 of 0 gives a result of 0.
std::optional<Conversione> convertiImporto(double importo, double cambio1, double cambio2);

} // namespace qv
