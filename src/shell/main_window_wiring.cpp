// The one place where the windows of one subsystem reach those of another: what the
// open account's changes show on the main window, and what the forms ask of windows
// that are not theirs to open.
#include "shell/main_window.h"

#include "archives/account_selection_form.h"
#include "archives/account_sheet_form.h"
#include "archives/causale_picker_form.h"
#include "archives/causali_maintenance_form.h"
#include "cheques/annulled_form.h"
#include "cheques/book_form.h"
#include "cheques/book_list_form.h"
#include "cheques/cheque_form.h"
#include "cheques/cheque_lists.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "conditions/conditions.h"
#include "interest/interessi_form.h"
#include "ledger/account_check.h"
#include "ledger/account_loader.h"
#include "ledger/entry_form.h"
#include "ledger/open_account.h"
#include "ledger/period_list_form.h"
#include "ledger/summary_form.h"
#include "maintenance/maintenance_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/result_box.h"
#include "reports/print_menu_form.h"
#include "shell/browser_form.h"
#include "shell/help_form.h"
#include "shell/settings_form.h"
#include "staffa/staffa_form.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace qv {

namespace {

// The movement form, when loaded, empties its entry and, when shown, takes the focus
// on its operation date.
void riprendiImmissione() {
    if (Form9* movimenti = formHost().loaded<Form9>()) {
        movimenti->svuotaImmissione();
        if (movimenti->isVisible()) movimenti->DataOper->setFocus();
    }
}

// The print buttons of the movement list by period, the annulled cheques and the
// summary of all accounts print their reports.
void collegaStampe() {
    Form11::impostaStampa([](const QString& dal, const QString& al, const QString& causale) {
        stampaMovimenti({dal, al, withoutTrailingBlanks(causale)});
    });
    Form17::impostaStampa(stampaAssegniAnnullati);
    Form22::impostaStampa([](SaldoRiepilogo scelta, const QString& dataVis) {
        stampaRiepilogoConti(scelta == SaldoRiepilogo::Valuta, dataVis);
    });
}

// The window "staffa" lent to the interest and cost statement.
FinestraCompetenze finestraCompetenze(Staffa& f) {
    return {
        .dal = [&f] { return f.dal->testo(); },
        .al = [&f] { return f.al->testo(); },
        .tutti = [&f] { return f.Tutti->isChecked(); },
        .mostraEtichetta = [&f] { f.mostra->show(); },
        .controllaPeriodo = [&f] { return f.controllaPeriodo(); },
        .riempiDate = [&f](const std::vector<RigaStaffa>& righe) { f.riempiDate(righe); },
        .mostraInLista =
            [&f](const QString& titolo, const QStringList& righe, const PeriodoCompetenze& p) {
                f.mostraInLista3(titolo, righe, {p.dal, p.al, p.tutti});
            },
        .segnalaSenzaData = [&f](const std::vector<qint16>& numeri) { f.segnalaSenzaData(numeri); },
        .intestazioneStampa = [&f] { return f.intestazioneStampa(); },
        .stampaRighe = stampaRighe,
    };
}

// The interest and cost statement in the window "staffa": its two buttons and the
// statement computed again when the display currency changes.
void collegaInteressi() {
    Staffa::impostaProspettoInteressi({
        .mostra = [](Staffa& f) { mostraCompetenze(finestraCompetenze(f)); },
        .stampa = [](Staffa& f) { stampaCompetenzeStaffa(finestraCompetenze(f)); },
        .ricalcola =
            [](Staffa& f, const Staffa::PeriodoProspetto& p) {
                ricalcolaCompetenze(finestraCompetenze(f), {p.dal, p.al, p.tutti});
            },
    });
}

// What the cheque windows ask of the movement form.
void collegaAssegni() {
    impostaRichiesteAssegni({
        .immissioneDaRiprendere = riprendiImmissione,
        .movimentoInModificaDaLasciare =
            [] {
                Form9* movimenti = formHost().loaded<Form9>();
                if (movimenti && movimenti->movimentoInModifica() != 0)
                    movimenti->svuotaImmissione();
            },
        .assegnoRegistrato =
            [](int numero) {
                Form9* movimenti = formHost().loaded<Form9>();
                if (!movimenti) return;
                if (movimenti->movimentoInModifica() == numero) movimenti->svuotaImmissione();
                movimenti->elencaOperazione();
                movimenti->Del->setEnabled(false);
            },
    });
}

// The windows that open another subsystem's window: the causale picker of the ledger's
// forms, an account's sheet from the summary, the help on the causali; and what the
// maintenance windows ask once the files changed.
void collegaRichieste() {
    impostaRichiestaElencoCausali(
        [](QObject* chiamante, QPointer<QObject>& collegato, SceltaCausale scelta) {
            FORM12& picker = formHost().form<FORM12>();
            if (collegato != &picker) {
                collegato = &picker;
                QObject::connect(&picker, &FORM12::causaleScelta, chiamante, std::move(scelta));
            }
            formHost().showModal(picker);
        });
    Form22::impostaRichiestaScheda([](int riga) {
        Form10& scheda = formHost().form<Form10>();
        scheda.mostraConto(riga, Form10::Modo::Lettura);
        formHost().show(scheda);
    });
    ManutCaus::impostaRichiestaAiuto([] { formHost().show(formHost().form<Help1>()); });
    impostaRichiesteManutenzione({
        .contiDaRileggere = CaricaElencoConti,
        .movimentiDaRielencare =
            [] {
                if (Form9* movimenti = formHost().loaded<Form9>()) {
                    movimenti->svuotaImmissione();
                    ElencaMovimentiOrdineAttivo();
                }
            },
    });
}

// What the account windows ask of the open account, and the browser of the account's
// options: the ledger and the conditions answer.
void collegaConti() {
    impostaRichiesteConti({
        .chiudiConto = ChiudiConto,
        .cambiaCartellaDati =
            [](const QString& cartella) { contoAperto().cambiaCartellaDati(cartella); },
        .esaminaConto =
            [](const QString& cartella, const QString& codice) {
                const EsameFileConto esame = esaminaFileConto(cartella, codice);
                EsameApertura apertura;
                if (esame.illeggibile()) apertura.illeggibili = esame.testoIlleggibili();
                if (esame.danneggiato()) {
                    apertura.domandaRicostruzione = domandaRicostruzioneConto(esame);
                    apertura.ricostruisci = [esame] { return ricostruisciConteggiConto(esame); };
                }
                return apertura;
            },
        .apriConto = [](int riga) { return contoAperto().apri(riga); },
    });
    // With no account open there is no options file to read: the browser opens blank and
    // no file named by the extension alone is touched. Options that cannot be read open
    // no page either, rather than the last account's.
    brow::impostaRichiestaIndirizzo([]() -> QString {
        if (!CaricaOpzioni().ok()) return {};
        return stato().DatiOpzioni.indirizzoInternet.trimmed();
    });
}

} // namespace

void collegaRichiesteFinestre() {
    // The cheque side of the movement form: what its cheque causali and buttons open.
    Form9::impostaAzioniAssegni({
        .apriAssegno = mostraFormAssegniNonModale,
        .apriCarnet = mostraFormCarnetNonModale,
        .gestioneAssegni = gestioneAssegni,
        .gestioneCarnet = gestioneCarnet,
        .assegniAnnullati = mostraAssegniAnnullati,
        .archivioCarnet = [] { mostraElencoCarnet(ElencoPerMovimenti); },
        .situazioneAssegni = [] { ElencaSituazioneAssegni(); },
    });
    // The movement list by period opens on the range the movement form lists.
    Form11::impostaRichiestaSelezione([]() -> std::optional<Form11::SelezioneMovimenti> {
        Form9* movimenti = formHost().loaded<Form9>();
        if (!movimenti) return std::nullopt;
        return Form11::SelezioneMovimenti{movimenti->DataOper->testo(),
                                          movimenti->DataInizSel->testo(),
                                          movimenti->DataFineSel->testo()};
    });
    // What the list windows print.
    collegaStampe();
    collegaAssegni();
    collegaRichieste();
    collegaConti();
    // The interest and cost statement in the staffa window.
    collegaInteressi();
}

void MDIForm1::collegaFinestre() {
    ContoAperto* conto = &contoAperto();
    connect(conto, &ContoAperto::saldiCambiati, this, &MDIForm1::aggiornaSaldi);
    connect(conto, &ContoAperto::aperto, this, [this] {
        mostraContoAperto();
        abilitaComandiConto(true);
        update();
    });
    connect(conto, &ContoAperto::chiuso, this, [this] {
        svuotaPannelloConto();
        abilitaComandiConto(false);
    });
    connect(conto, &ContoAperto::cartellaDatiCambiata, this,
            [this] { Codice->setText(stato().PercorsoDati); });
    // The counters of the cheques out and in hand follow every load and every change.
    connect(conto, &ContoAperto::caricato, this, &MDIForm1::aggiornaContatoriAssegni);
    connect(conto, &ContoAperto::assegniCambiati, this, &MDIForm1::aggiornaContatoriAssegni);

    collegaRichiesteFinestre();

    connect(&formHost(), &FormHost::formCreated, this, &MDIForm1::collegaFinestra);
}

void MDIForm1::collegaFinestra(Form* form) {
    if (auto* scheda = qobject_cast<Form10*>(form)) {
        connect(scheda, &Form10::movimentiRichiesti, this, [] { mostraMovimenti(); });
        // Closing the open account, or its movements going, closes the sheet too.
        legaAlContoAperto(scheda, [scheda] { scheda->contoInChiusura(); });
    } else if (auto* selezione = qobject_cast<Form7*>(form)) {
        connect(selezione, &Form7::immissioneDaSvuotare, this, [] {
            if (Form9* movimenti = formHost().loaded<Form9>()) {
                movimenti->svuotaImmissione();
                movimenti->NrOper->setText(QString::number(stato().NumeroMovimenti));
            }
        });
    } else if (auto* impostazioni = qobject_cast<Form23*>(form)) {
        connect(impostazioni, &Form23::formatoCambiato, this, &MDIForm1::dopoCambioFormato);
    }
}

void MDIForm1::aggiornaContatoriAssegni() {
    const SituazioneAssegni situazione = situazioneAssegni();
    AssFuori->setText(QString::number(situazione.fuori.size()));
    AssMano->setText(QString::number(situazione.inMano.size()));
}

void MDIForm1::dopoCambioFormato() {
    // The movement list, the balances and the credit line in the new format.
    if (formHost().loaded<Form9>()) ElencaMovimentiOrdineAttivo();
    if (const Esito caricato = CaricaMovimenti(true); !caricato.testo.isEmpty())
        avvisaErroreFile(caricato.testo);
    aggiornaFido();
}

} // namespace qv
