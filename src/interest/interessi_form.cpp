// The interest and cost statement of the window "staffa", on screen (List3) and on
// paper.
#include "interest/interessi_form.h"

#include "common/dates.h"
#include "common/shared_state.h"
#include "conditions/conditions.h"
#include "interest/competenze.h"
#include "interest/competenze_text.h"
#include "platform/desktop.h"
#include "platform/message_box.h"

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
void mostraProspetto(const FinestraCompetenze& f, const RisultatoCompetenze& r,
                     const PeriodoCompetenze& periodo) {
    f.riempiDate(r.staffa.righe);
    f.mostraInLista(QStringLiteral("COSTI ED INTERESSI"),
                    righeListaCompetenze(r, stato().FormatoImporti), periodo);
    f.segnalaSenzaData(r.staffa.movimentiSenzaData);
}

} // namespace

void mostraCompetenze(const FinestraCompetenze& f) {
    // The label above the lists stays shown with the statement, also after a refusal.
    f.mostraEtichetta();
    // First the rate start dates, then the period, as the statement has always checked
    // them: nothing changes on screen when one is refused.
    if (!decorrenzeAccettate(f.dal()) || !f.controllaPeriodo()) return;
    Hourglass clessidra;
    const PeriodoCompetenze periodo{dataDelPeriodo(f.dal()).value_or(QDate()),
                                    dataDelPeriodo(f.al()).value_or(QDate()), f.tutti()};
    mostraProspetto(
        f,
        calcolaCompetenze(movimentiContoAperto(),
                          parametriCompetenzeContoAperto(periodo.dal, periodo.al, periodo.tutti)),
        periodo);
}

void ricalcolaCompetenze(const FinestraCompetenze& f, const PeriodoCompetenze& periodo) {
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

void stampaCompetenzeStaffa(const FinestraCompetenze& f) {
    // The fields may have changed since the statement was shown: the printout checks the
    // period as the window does, then the rate start dates against it.
    if (!f.controllaPeriodo() || !decorrenzeAccettate(f.dal())) return;
    Hourglass clessidra;
    const RisultatoCompetenze r = competenze(f.dal(), f.al(), f.tutti());
    f.riempiDate(r.staffa.righe);
    f.stampaRighe(stampaCompetenze(r, f.intestazioneStampa(), stato().FormatoImporti));
}

} // namespace qv
