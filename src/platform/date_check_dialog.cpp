#include "platform/date_check_dialog.h"

#include "platform/fields.h"
#include "platform/result_box.h"

namespace qv {

void ControllaData(double giorno, double mese, double anno, qint16& esito) {
    const Esito e = esitoValoriData(giorno, mese, anno);
    if (e.ok()) return;
    showResult(e);
    esito = 0;
}

void MsgDataErrataBreve() {
    showResult(esitoDataIncompleta());
}

bool controllaTestoData(const QString& testo) {
    const Esito e = esitoTestoData(testo);
    if (!e.ok()) showResult(e);
    return e.ok();
}

bool controllaCampoData(DateField* campo) {
    const Esito e = esitoTestoData(campo->testo());
    if (e.ok()) return true;
    showResult(e);
    campo->setTesto(QString());
    campo->setFocus(Qt::OtherFocusReason);
    return false;
}

} // namespace qv
