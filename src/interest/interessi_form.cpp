// Staffa: the interest and cost statement of the window "staffa", on screen (List3) and on
// paper.
#include "common/shared_state.h"
#include "conditions/conditions.h"
#include "interest/competenze.h"
#include "interest/competenze_text.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "staffa/staffa_form.h"

#include <QLabel>
#include <QRadioButton>

namespace qv {

namespace {

// The refusal of a statement whose first rate start dates come after the period's start.
bool decorrenzeAccettate(const QString& dal) {
    const std::optional<RifiutoCompetenze> rifiuto =
        controllaDecorrenze(condizioniInMemoria(), dal);
    if (!rifiuto) return true;
    messageBox(rifiuto->testo, MessageButtons::Ok, MessageIcon::Exclamation, rifiuto->titolo);
    return false;
}

// The statement of the open account for two period texts that the window has checked.
RisultatoCompetenze competenze(const QString& dal, const QString& al, bool tutti) {
    const QDate inizio = dataDelPeriodo(dal).value_or(QDate());
    const QDate fine = dataDelPeriodo(al).value_or(QDate());
    return calcolaCompetenze(movimentiContoAperto(),
                             parametriCompetenzeContoAperto(inizio, fine, tutti));
}

} // namespace

void Staffa::Interessi_Click() {
    // The label above the lists stays shown with the statement, also after a refusal.
    mostra->show();
    // First the rate start dates, then the period, as the statement has always checked
    // them: nothing changes on screen when one is refused.
    if (!decorrenzeAccettate(dal->testo()) || !controllaPeriodo()) return;
    Hourglass clessidra;
    const RisultatoCompetenze r = competenze(dal->testo(), al->testo(), Tutti->isChecked());
    SSPanel1->setText(QStringLiteral("COSTI ED INTERESSI"));
    List1->clear();
    riempiDate(r.staffa.righe);
    const QStringList righe = righeListaCompetenze(r, stato().FormatoImporti);
    std::vector<ListItem> voci;
    voci.reserve(size_t(righe.size()));
    for (const QString& riga : righe)
        voci.push_back({riga, 0});
    List3->setItems(std::move(voci));
    List1->hide();
    intestazioni_->hide();
    List3->show();
    segnalaSenzaData(r.staffa.movimentiSenzaData);
}

void Staffa::StampaCompetenze() {
    // The fields may have changed since the statement was shown: the printout checks the
    // period as the window does, then the rate start dates against it.
    if (!controllaPeriodo() || !decorrenzeAccettate(dal->testo())) return;
    Hourglass clessidra;
    const RisultatoCompetenze r = competenze(dal->testo(), al->testo(), Tutti->isChecked());
    riempiDate(r.staffa.righe);
    stampaRighe(stampaCompetenze(r, intestazioneStampa(), stato().FormatoImporti));
}

} // namespace qv
