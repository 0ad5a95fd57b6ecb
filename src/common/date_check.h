#pragma once
// The check of the dates the user types, as a result (common/esito.h): a good date is
// done, a bad one refused with the program's date message (title "Errore").

#include "common/dates.h" // testoDataErrata, testoDataErrataBreve
#include "common/esito.h"

#include <QString>

namespace qv {

// Day, month and year read from a date text: refused with the long date message when
// they are no date (a day below 1, a value that is not a whole number included).
// `campo` names the control that takes the focus back, emptied.
Esito esitoValoriData(double giorno, double mese, double anno, const QString& campo = {});

// The short date message, for a date field that is not filled in.
Esito esitoDataIncompleta(const QString& campo = {});

// The usual check of a typed date: a text that is not a complete "DD/MM/YYYY" is refused
// with the short message, then day, month and year go through esitoValoriData.
Esito esitoTestoData(const QString& testo, const QString& campo = {});

} // namespace qv
