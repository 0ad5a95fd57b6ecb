#include "account_close.h"

#include "common/file_names.h"
#include "common/shared_state.h"
#include "ledger/balances.h"
#include "ledger/entry_form.h"
#include "platform/form_host.h"
#include "platform/message_box.h"
#include "shell/main_window.h"

#include <QPointer>

namespace qv {

namespace {
constexpr const char* kLegataAlConto = "qvLegataAlContoAperto";
}

void legaAlContoAperto(Form& form) {
    form.setProperty(kLegataAlConto, true);
}

bool legataAlContoAperto(const Form& form) {
    return form.property(kLegataAlConto).toBool();
}

namespace {

// Unloads every window bound to the open account but the one kept.
void scaricaFinestreConto(const Form* tranne = nullptr) {
    // Collect first: unloading changes the host's list of loaded forms.
    std::vector<QPointer<Form>> legate;
    for (Form* f : formHost().loadedForms())
        if (f != tranne && legataAlContoAperto(*f)) legate.emplace_back(f);
    for (const QPointer<Form>& f : legate)
        if (f && f->isLoaded()) formHost().unload(*f);
}

} // namespace

void ChiudiConto() {
    scaricaFinestreConto();

    if (MDIForm1* main = MDIForm1::instance()) main->svuotaPannelloConto();

    auto& s = stato();
    s.CodiceContoAttivo.clear();
    if (MDIForm1* main = MDIForm1::instance()) main->abilitaComandiConto(false);
    s.IndiceContoAttivo = 0;
    s.Form9Aperta = 0;
    // The windows that held movements out of the balances are gone with the account.
    dimenticaMovimentiTrattenuti();
    // Opened again, the account says again what its load finds wrong.
    s.AvvisiContoMostrati.clear();
}

QString avvisoCancellaMovimenti() {
    return QStringLiteral("Questa azione elimina tutti i movimenti senza \n"
                          "eliminare il conto, si raccomanda, pertanto \n"
                          "di eseguire prima la copia di Backup al fine \n"
                          "di evitare la perdita di dati importanti.\n"
                          "\n"
                          "...ESEGUI PRIMA IL BACKUP DEI DATI...");
}

QString confermaCancellaMovimenti() {
    return QStringLiteral("SEI PROPRIO SICURO DI VOLER CONTINUARE?");
}

bool cancellaMovimentiConto() {
    const QString titolo = QStringLiteral("AVVERTIMENTO!");
    if (messageBox(avvisoCancellaMovimenti(), MessageButtons::OkCancel, MessageIcon::Exclamation,
                   titolo, MessageAnswer::Cancel) != MessageAnswer::Ok)
        return false;
    if (messageBox(confermaCancellaMovimenti(), MessageButtons::OkCancel, MessageIcon::Exclamation,
                   titolo, MessageAnswer::Cancel) != MessageAnswer::Ok)
        return false;

    auto& s = stato();
    s.CodiceContoAttivo = s.CodiceContoAttivo.trimmed();
    if (s.CodiceContoAttivo.isEmpty()) return false;
    // A movement loaded for change goes back first, while its files still exist;
    // the other windows showing the account's data (alignment, lists, cheques)
    // close, giving back what they hold, since what they show is about to go.
    Form9* movimenti = formHost().loaded<Form9>();
    if (movimenti) movimenti->svuotaImmissione();
    scaricaFinestreConto(movimenti);
    QStringList nonEliminati;
    if (!deleteAccountFiles(s.PercorsoDati, s.CodiceContoAttivo, &nonEliminati)) {
        if (!nonEliminati.isEmpty())
            messageBox(QStringLiteral("Impossibile eliminare i file:\n") +
                           nonEliminati.join(QLatin1Char('\n')),
                       MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Errore"));
        return false;
    }

    dimenticaMovimentiTrattenuti();
    return true;
}

} // namespace qv
