#include "common/date_check.h"

namespace qv {

namespace {

Esito dataErrata(const QString& testo, const QString& campo) {
    Esito e = Esito::rifiutato(testo, QStringLiteral("Errore"), campo);
    if (!campo.isEmpty()) e.svuotando();
    return e;
}

} // namespace

Esito esitoValoriData(double giorno, double mese, double anno, const QString& campo) {
    if (dateValuesValid(giorno, mese, anno)) return Esito::fatto();
    return dataErrata(testoDataErrata(), campo);
}

Esito esitoDataIncompleta(const QString& campo) {
    return dataErrata(testoDataErrataBreve(), campo);
}

Esito esitoTestoData(const QString& testo, const QString& campo) {
    if (!isCompleteDateText(testo)) return esitoDataIncompleta(campo);
    const DateParts p = splitDateText(testo);
    return esitoValoriData(p.giorno, p.mese, p.anno, campo);
}

} // namespace qv
