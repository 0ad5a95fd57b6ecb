#include "currencies.h"

#include "common/amounts.h"
#include "common/shared_state.h"
#include "program_files.h"

#include <cmath>

namespace qv {

const std::array<SlotNazionale, 14>& slotNazionali() {
    // Slot 11's country is kept as the archives have always stored it.
    static const std::array<SlotNazionale, 14> table{{
        {1, QStringLiteral("Scellino"), QStringLiteral("Austria"), QStringLiteral("SSCommand9"),
         QStringLiteral("Scellino - Austria")},
        {2, QStringLiteral("Franco"), QStringLiteral("Belgio"), QStringLiteral("SSCommand4"),
         QStringLiteral("Franco - Belgio")},
        {3, QStringLiteral("Marco"), QStringLiteral("Finlandia"), QStringLiteral("SSCommand7"),
         QStringLiteral("Marco - Finlandia")},
        {4, QStringLiteral("Sterlina"), QStringLiteral("Irlanda"), QStringLiteral("SSCommand5"),
         QStringLiteral("Sterlina - Irlanda")},
        {5, QStringLiteral("Franco"), QStringLiteral("Francia"), QStringLiteral("SSCommand3"),
         QStringLiteral("Franco - Francia")},
        {6, QStringLiteral("Marco"), QStringLiteral("Germania"), QStringLiteral("SSCommand2"),
         QStringLiteral("Marco - Germania")},
        {7, QStringLiteral("Lira"), QStringLiteral("Italia"), QStringLiteral("SSCommand1"),
         QStringLiteral("Lira - Italia")},
        {8, QStringLiteral("Peseta"), QStringLiteral("Spagna"), QStringLiteral("SSCommand8"),
         QStringLiteral("Peseta - Spagna")},
        {9, QStringLiteral("Franco"), QStringLiteral("Lussemburgo"), QStringLiteral("SSCommand12"),
         QStringLiteral("Franco-Lussemburgo")},
        {10, QStringLiteral("Escudo"), QStringLiteral("Portogallo"), QStringLiteral("SSCommand6"),
         QStringLiteral("Escudo - Portogallo")},
        {11, QStringLiteral("Fiorino"), QStringLiteral("Olanada"), QStringLiteral("SSCommand10"),
         QStringLiteral("Fiorino - Olanda")},
        {12, QStringLiteral("Dollaro"), QStringLiteral("USA"), QStringLiteral("SSCommand11"),
         QStringLiteral("Dollaro - USA")},
        {13, QStringLiteral("Yen"), QStringLiteral("Giappone"), QStringLiteral("SSCommand14"),
         QStringLiteral("Yen - Giappone")},
        {14, QStringLiteral("Sterlina"), QStringLiteral("Gran Bretagna"),
         QStringLiteral("SSCommand15"), QStringLiteral("Sterlina - U.K.")},
    }};
    return table;
}

QString testoCambio(double cambio) {
    if (!std::isfinite(cambio)) return {};
    if (cambio == 0) return QStringLiteral("0");
    QString text = QString::number(cambio, 'g', 15);
    if (text.contains(u'e')) {
        // Very large or very small rates: fixed notation with 15 significant digits.
        const int exponent = int(std::floor(std::log10(std::fabs(cambio))));
        text = QString::number(cambio, 'f', std::max(0, 14 - exponent));
        if (text.contains(u'.')) {
            while (text.endsWith(u'0'))
                text.chop(1);
            if (text.endsWith(u'.')) text.chop(1);
        }
    }
    text.replace(u'.', u',');
    return text;
}

QString cambioNonValidoMessage() {
    return QStringLiteral(
        "Cambio non valido; inserire un numero maggiore di zero con la virgola "
        "per i decimali, ad esempio 1936,27.\nIl cambio non è stato memorizzato.");
}

Esito memorizzaValuta(int slot, const QString& testoDigitato) {
    if (slot < 1 || slot > 14)
        return Esito::rifiutato(QStringLiteral("Valuta inesistente."), QStringLiteral("ERRORE"));
    const std::optional<double> cambio = parseAmount(testoDigitato);
    if (!cambio || !cambioUtilizzabile(*cambio))
        return Esito::rifiutato(cambioNonValidoMessage(), QStringLiteral("ERRORE"));
    const SlotNazionale& fisso = slotNazionali()[slot - 1];
    Valuta& riga = stato().TabellaValute[slot];
    const Valuta prima = riga;
    riga.numero = qint16(slot);
    riga.cambio = *cambio;
    riga.paese = fisso.paese;
    riga.nomeValuta = fisso.nomeValuta;
    if (const Esito scritta = scriviValuta(slot); !scritta.ok()) {
        riga = prima;
        return Esito::fallito(
            QStringLiteral("Impossibile memorizzare il cambio nel file delle valute: %1")
                .arg(scritta.testo));
    }
    return Esito::fatto();
}

double cambioDellaLinea(const QString& linea) {
    const std::optional<int> slot = slotDellaLinea(linea);
    return slot ? stato().TabellaValute[*slot].cambio : 0.0;
}

std::optional<Conversione> convertiImporto(double importo, double cambio1, double cambio2) {
    if (!std::isfinite(importo) || !cambioUtilizzabile(cambio1)) return std::nullopt;
    Conversione c;
    c.euro = importo / cambio1;
    c.risultato = c.euro * cambio2;
    return c;
}

} // namespace qv
