#pragma once
// The date check as the forms call it: each procedure shows its own message
// (common/date_check.h gives the results).

#include "common/date_check.h"

#include <QString>
#include <QtGlobal>

namespace qv {

class DateField;

// Checks day, month and year read from a date text. On a bad date shows the long date
// message once and sets esito to 0; on a good date shows nothing and leaves esito as
// the caller set it. A day below 1 is a bad date, as is a value that is not a whole
// number.
void ControllaData(double giorno, double mese, double anno, qint16& esito);

// Shows the short date message; forms call it when a date field is not filled in.
void MsgDataErrataBreve();

// The usual check of a typed date: a text that is not a complete "DD/MM/YYYY" gets
// the short message, then day, month and year go through ControllaData. True when the
// date is good; at most one message is shown.
bool controllaTestoData(const QString& testo);

// The same check on a date field: a bad date is emptied from the field, which takes
// the focus back. True when the date is good.
bool controllaCampoData(DateField* campo);

} // namespace qv
