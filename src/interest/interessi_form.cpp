// Staffa: the interest and cost statement of the window "staffa", on screen (List3) and on
// paper.
#include "interest/interessi_form.h"

#include "common/dates.h"
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

// Shows a statement computed for `periodo` in the window's List3.
void mostraProspetto(Staffa& f, const RisultatoCompetenze& r,
                     const Staffa::PeriodoProspetto& periodo) {
    f.riempiDate(r.staffa.righe);
    f.mostraInLista3(QStringLiteral("COSTI ED INTERESSI"),
                     righeListaCompetenze(r, stato().FormatoImporti), periodo);
    f.segnalaSenzaData(r.staffa.movimentiSenzaData);
}

} // namespace

void mostraCompetenze(Staffa& f) {
    // The label above the lists stays shown with the statement, also after a refusal.
    f.mostra->show();
    // First the rate start dates, then the period, as the statement has always checked
    // them: nothing changes on screen when one is refused.
    if (!decorrenzeAccettate(f.dal->testo()) || !f.controllaPeriodo()) return;
    Hourglass clessidra;
    const Staffa::PeriodoProspetto periodo{dataDelPeriodo(f.dal->testo()).value_or(QDate()),
                                           dataDelPeriodo(f.al->testo()).value_or(QDate()),
                                           f.Tutti->isChecked()};
    mostraProspetto(
        f,
        calcolaCompetenze(movimentiContoAperto(),
                          parametriCompetenzeContoAperto(periodo.dal, periodo.al, periodo.tutti)),
        periodo);
}

void ricalcolaCompetenze(Staffa& f, const Staffa::PeriodoProspetto& periodo) {
    // The statement shown passed its checks; conditions that no longer pass them leave
    // it as it is.
    if (controllaDecorrenze(condizioniInMemoria(), testoDaData(periodo.dal))) return;
    Hourglass clessidra;
    mostraProspetto(
        f,
        calcolaCompetenze(movimentiContoAperto(),
                          parametriCompetenzeContoAperto(periodo.dal, periodo.al, periodo.tutti)),
        periodo);
}

void stampaCompetenzeStaffa(Staffa& f) {
    // The fields may have changed since the statement was shown: the printout checks the
    // period as the window does, then the rate start dates against it.
    if (!f.controllaPeriodo() || !decorrenzeAccettate(f.dal->testo())) return;
    Hourglass clessidra;
    const RisultatoCompetenze r = competenze(f.dal->testo(), f.al->testo(), f.Tutti->isChecked());
    f.riempiDate(r.staffa.righe);
    stampaRighe(stampaCompetenze(r, f.intestazioneStampa(), stato().FormatoImporti));
}

void collegaInteressi() {
    Staffa::impostaProspettoInteressi({.mostra = mostraCompetenze,
                                       .stampa = stampaCompetenzeStaffa,
                                       .ricalcola = ricalcolaCompetenze});
}

} // namespace qv
