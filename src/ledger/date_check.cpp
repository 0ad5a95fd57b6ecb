#include "ledger/date_check.h"

#include "common/dates.h"
#include "platform/fields.h"
#include "platform/message_box.h"

namespace qv {

namespace {

void showDateError(const QString& text) {
    messageBox(text, MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("Errore"));
}

} // namespace

void ControllaData(double giorno, double mese, double anno, qint16& esito) {
    if (dateValuesValid(giorno, mese, anno)) return;
    showDateError(testoDataErrata());
    esito = 0;
}

void MsgDataErrataBreve() {
    showDateError(testoDataErrataBreve());
}

bool controllaTestoData(const QString& testo) {
    if (!isCompleteDateText(testo)) {
        MsgDataErrataBreve();
        return false;
    }
    const DateParts p = splitDateText(testo);
    qint16 esito = 1;
    ControllaData(p.giorno, p.mese, p.anno, esito);
    return esito != 0;
}

bool controllaCampoData(DateField* campo) {
    if (controllaTestoData(campo->testo())) return true;
    campo->setTesto(QString());
    campo->setFocus(Qt::OtherFocusReason);
    return false;
}

} // namespace qv
