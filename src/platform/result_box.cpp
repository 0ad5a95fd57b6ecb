#include "platform/result_box.h"

#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/message_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace qv {

namespace {

MessageIcon iconaBox(IconaEsito icona) {
    switch (icona) {
    case IconaEsito::Nessuna:
        return MessageIcon::None;
    case IconaEsito::Errore:
        return MessageIcon::Critical;
    case IconaEsito::Domanda:
        return MessageIcon::Question;
    case IconaEsito::Avviso:
        return MessageIcon::Exclamation;
    case IconaEsito::Informazione:
        return MessageIcon::Information;
    }
    return MessageIcon::None;
}

void svuota(QWidget* campo) {
    if (auto* data = qobject_cast<DateField*>(campo))
        data->setTesto(QString());
    else if (auto* testo = qobject_cast<QLineEdit*>(campo))
        testo->clear();
    else if (auto* etichetta = qobject_cast<QLabel*>(campo))
        etichetta->clear();
}

} // namespace

void showResult(const Esito& result, QWidget* form) {
    if (result.beep) beep();
    if (!result.testo.isEmpty())
        messageBox(result.testo, MessageButtons::Ok, iconaBox(result.icona), result.titolo);
    if (!form || result.campo.isEmpty()) return;
    auto* campo = form->findChild<QWidget*>(result.campo);
    if (!campo) return;
    if (result.svuotaCampo) svuota(campo);
    campo->setFocus(Qt::OtherFocusReason);
}

void avvisaErroreFile(const QString& testo) {
    showResult(Esito::fallito(testo));
}

} // namespace qv
