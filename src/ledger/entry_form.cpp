#include "ledger/entry_form.h"

#include "archives/causali.h"
#include "common/amounts.h"
#include "common/dates.h"
#include "common/numeric_value.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "common/today.h"
#include "ledger/account_loader.h"
#include "ledger/balances.h"
#include "ledger/movement_delete.h"
#include "ledger/movement_files.h"
#include "ledger/movement_lists.h"
#include "ledger/movement_reading.h"
#include "ledger/open_account.h"
#include "ledger/period_list_form.h"
#include "ledger/transfer_form.h"
#include "platform/column_headings.h"
#include "platform/date_check_dialog.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/message_box.h"
#include "platform/requests.h"
#include "platform/result_box.h"
#include "shell/display_currency.h"
#include "shell/program_files.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// The name under which this form holds a movement out of the balances.
const QString kFinestra = QStringLiteral("Form9");

OrdineMovimenti comeOrdineMovimenti(Form9::Ordine ordine) {
    return ordine == Form9::Ordine::Valuta ? OrdineMovimenti::Valuta : OrdineMovimenti::Operazione;
}

// A date text rewritten with two-digit day and month ("1/5/2026" gives "01/05/2026");
// a text that holds no date is left as it is.
QString dataADueCifre(const QString& testo) {
    const DateParts p = splitDateText(testo);
    if (p.anno <= 0 || p.mese <= 0) return testo;
    return QStringLiteral("%1/%2/%3")
        .arg(int(p.giorno), 2, 10, QLatin1Char('0'))
        .arg(int(p.mese), 2, 10, QLatin1Char('0'))
        .arg(int(p.anno), 4, 10, QLatin1Char('0'));
}

} // namespace

// --- The cheque side ------------------------------------------------------------------

void Form9::impostaAzioniAssegni(AzioniAssegni azioni) {
    Requests<AzioniAssegni, Form9>::set(std::move(azioni));
    if (Form9* f = formHost().loaded<Form9>()) f->aggiornaPulsantiAssegni();
}

const Form9::AzioniAssegni& Form9::azioniAssegni() {
    return Requests<AzioniAssegni, Form9>::get();
}

void Form9::aggiornaPulsantiAssegni() {
    const AzioniAssegni& a = azioniAssegni();
    Assegno->setEnabled(bool(a.gestioneAssegni));
    BottCarnet->setEnabled(bool(a.gestioneCarnet));
    AssAnnull->setEnabled(bool(a.assegniAnnullati));
    SSCommand1->setEnabled(bool(a.archivioCarnet));
}

// --- Construction ---------------------------------------------------------------------

Form9::Form9(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form9"));
    setCaption(QStringLiteral("Immissione / Modifica Movimenti"));
    costruisci();
    collega();
    // Closing the open account closes the form with it; when the account's movements
    // are about to go, the movement held for change goes back and the form stays.
    connect(&contoAperto(), &ContoAperto::inChiusura, this, [this] { unloadIfLoaded(*this); });
    connect(&contoAperto(), &ContoAperto::movimentiInCancellazione, this,
            handler([this] { svuotaImmissione(); }));
    // Movements rewritten by another window: the list follows them.
    connect(&contoAperto(), &ContoAperto::movimentiCambiati, this,
            handler([this] { elencaNellOrdineAttivo(); }));
}

Form9::~Form9() = default;

namespace {

void nomina(QWidget* w, const char* nome) {
    w->setObjectName(QString::fromLatin1(nome));
}

// A field wide enough for `caratteri` of the form's average characters, and a margin.
void larghezzaCaratteri(const QWidget* finestra, QWidget* w, int caratteri) {
    w->setMinimumWidth(finestra->fontMetrics().averageCharWidth() * (caratteri + 3));
}

// A text field that shows whole at its full length even in wide capitals.
void larghezzaTesto(QWidget* w, int caratteri) {
    w->setMinimumWidth(fieldWidthFor(w, caratteri));
}

// A sunken box that shows a value the user does not type.
QLabel* casella(QWidget* finestra, const char* nome, int caratteri) {
    auto* l = new QLabel(finestra);
    nomina(l, nome);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumHeight(finestra->fontMetrics().height() + 8);
    larghezzaCaratteri(finestra, l, caratteri);
    return l;
}

QPushButton* pulsante(QWidget* finestra, const char* nome, const QString& testo,
                      const QString& suggerimento = {}) {
    auto* b = new QPushButton(testo, finestra);
    nomina(b, nome);
    if (!suggerimento.isEmpty()) b->setToolTip(suggerimento);
    return b;
}

} // namespace

void Form9::costruisci() {
    creaCampiImmissione();
    QLayout* campi = disponiCampiImmissione();
    QLayout* comandi = costruisciComandi();
    QLayout* intervallo = costruisciIntervallo();
    QWidget* intestazione = costruisciElenchi();
    QLayout* assegni = costruisciPulsantiAssegni();

    auto* tutto = new QVBoxLayout(this);
    tutto->addLayout(campi);
    tutto->addLayout(comandi);
    tutto->addSpacing(6);
    tutto->addLayout(intervallo);
    tutto->addWidget(Label25);
    tutto->addWidget(intestazione);
    tutto->addWidget(ElencoMovim, 1);
    tutto->addWidget(elencoValuta, 1);
    tutto->addLayout(assegni);

    impostaOrdineTab();
    Del->setEnabled(false);
    impostaOrdineAttivo(Ordine::Operazione);
    aggiornaPulsantiAssegni();
}

// The entry fields of a movement and the causale picker's button.
void Form9::creaCampiImmissione() {
    NrOper = casella(this, "NrOper", 5);
    DataOper = new DateField(QStringLiteral("DataOper"), this);
    larghezzaCaratteri(this, DataOper, 10);
    DataValuta = new DateField(QStringLiteral("DataValuta"), this);
    larghezzaCaratteri(this, DataValuta, 10);
    Causale = new QLineEdit(this);
    nomina(Causale, "Causale");
    Causale->setMaxLength(5);
    larghezzaTesto(Causale, 5);
    DescrCausale = casella(this, "DescrCausale", 25);
    larghezzaTesto(DescrCausale, 25);
    Sospeso = casella(this, "Sospeso", 1);
    Sospeso->setAlignment(Qt::AlignCenter);
    D_A = casella(this, "D_A", 1);
    D_A->setAlignment(Qt::AlignCenter);
    IMPORTO = new AmountField(QStringLiteral("IMPORTO"), this);
    IMPORTO->setMaxLength(12);
    IMPORTO->setAlignment(Qt::AlignRight);
    larghezzaCaratteri(this, IMPORTO, 14);
    NrDoc = new QLineEdit(this);
    nomina(NrDoc, "NrDoc");
    NrDoc->setMaxLength(8);
    larghezzaTesto(NrDoc, 8);
    DescMovim = new QLineEdit(this);
    nomina(DescMovim, "DescMovim");
    DescMovim->setMaxLength(30);
    larghezzaTesto(DescMovim, 30);
    Command3D1 = pulsante(this, "Command3D1", QStringLiteral("Seleziona causali"));
}

// The entry fields, each under its caption.
QLayout* Form9::disponiCampiImmissione() {
    auto* campi = new QGridLayout;
    campi->setHorizontalSpacing(6);
    campi->setVerticalSpacing(2);
    auto metti = [&](int riga, int colonna, const QString& didascalia, QWidget* w, int span = 1) {
        auto* l = new QLabel(didascalia, this);
        l->setBuddy(w);
        campi->addWidget(l, riga, colonna, 1, span);
        campi->addWidget(w, riga + 1, colonna, 1, span);
    };
    metti(0, 0, QStringLiteral("Num.Op."), NrOper);
    metti(0, 1, QStringLiteral("Data oper."), DataOper);
    metti(0, 2, QStringLiteral("Data Valuta"), DataValuta);
    metti(0, 3, QStringLiteral("Caus."), Causale);
    metti(0, 4, QStringLiteral("Descrizione causale"), DescrCausale, 2);
    metti(0, 6, QStringLiteral("Sos."), Sospeso);
    metti(0, 7, QStringLiteral("E/U"), D_A);
    campi->addWidget(Command3D1, 1, 8);
    metti(2, 1, QStringLiteral("Importo"), IMPORTO, 2);
    metti(2, 3, QStringLiteral("Nr. Doc."), NrDoc);
    metti(2, 4, QStringLiteral("Descrizione"), DescMovim, 5);
    campi->setColumnStretch(9, 1);
    return campi;
}

// The confirmation and the other entry buttons.
QLayout* Form9::costruisciComandi() {
    OK = pulsante(this, "OK", QStringLiteral("Conferma"));
    pulisci = pulsante(this, "pulisci", QStringLiteral(" Cancella immissione "));
    Del = pulsante(this, "Del", QStringLiteral(" Cancella "));
    Esc = pulsante(this, "Esc", QStringLiteral(" Uscita "));
    auto* comandi = new QHBoxLayout;
    comandi->addWidget(OK);
    comandi->addWidget(pulisci);
    comandi->addWidget(Del);
    comandi->addStretch(1);
    comandi->addWidget(Esc);
    return comandi;
}

// The range and the order of the list.
QLayout* Form9::costruisciIntervallo() {
    DataInizSel = new DateField(QStringLiteral("DataInizSel"), this);
    DataInizSel->setToolTip(QStringLiteral("Data iniziale dei movimenti da selezionare"));
    larghezzaCaratteri(this, DataInizSel, 10);
    DataFineSel = new DateField(QStringLiteral("DataFineSel"), this);
    DataFineSel->setToolTip(QStringLiteral("Data finale dei movimenti da selezionare"));
    larghezzaCaratteri(this, DataFineSel, 10);
    Ag = pulsante(this, "Ag", QStringLiteral("OK"),
                  QStringLiteral("Filtra i movimenti per date selezionate"));
    Command3 =
        pulsante(this, "Command3", QStringLiteral("Tutti"),
                 QStringLiteral("Seleziona i movimenti compresi tra tutte le date inserite"));
    Command1 = pulsante(this, "Command1", QStringLiteral("data op."),
                        QStringLiteral("Ordina i movimenti per data operazione"));
    Command2 = pulsante(this, "Command2", QStringLiteral("data val."),
                        QStringLiteral("Ordina i movimenti per data valuta"));
    auto* intervallo = new QHBoxLayout;
    auto* dal = new QLabel(QStringLiteral("Dal"), this);
    dal->setBuddy(DataInizSel);
    auto* al = new QLabel(QStringLiteral("Al"), this);
    al->setBuddy(DataFineSel);
    intervallo->addWidget(dal);
    intervallo->addWidget(DataInizSel);
    intervallo->addWidget(al);
    intervallo->addWidget(DataFineSel);
    intervallo->addWidget(Ag);
    intervallo->addWidget(Command3);
    intervallo->addStretch(1);
    intervallo->addWidget(new QLabel(QStringLiteral("Ordina per:"), this));
    intervallo->addWidget(Command1);
    intervallo->addWidget(Command2);
    return intervallo;
}

// The two lists, one showing at a time, with the title; returns their headings.
QWidget* Form9::costruisciElenchi() {
    Label25 = new QLabel(QStringLiteral("Elenco Movimenti per data operazione"), this);
    nomina(Label25, "Label25");
    QFont titolo = Label25->font();
    titolo.setBold(true);
    Label25->setFont(titolo);
    ElencoMovim = new ListBox(QStringLiteral("ElencoMovim"), this);
    ElencoMovim->setToolTip(
        QStringLiteral("il doppio clic con il pulsante sinistro del mouse su un movimento lo "
                       "richiama in maschera per la modifica"));
    elencoValuta = new ListBox(QStringLiteral("elencoValuta"), this);
    for (ListBox* l : {ElencoMovim, elencoValuta}) {
        l->setSorted(false);
        l->setFixedPitch(true);
        l->setMinimumHeight(240);
        l->setMinimumWidth(QFontMetrics(l->font()).horizontalAdvance(QString(94, u'0')));
    }
    elencoValuta->setVisible(false);
    return costruisciIntestazioni();
}

// The column headings over the lists, each over its column of the lines.
QWidget* Form9::costruisciIntestazioni() {
    auto* intestazione = new ColumnHeadings(ElencoMovim, this);
    auto colonna = [&](QLabel*& membro, const char* n, const QString& testo, int col) {
        membro = new QLabel(testo);
        nomina(membro, n);
        intestazione->add(membro, col);
    };
    colonna(Label13, "Label13", QStringLiteral("Data Op."), 10);
    colonna(Label14, "Label14", QStringLiteral("Data val."), 21);
    colonna(Label16, "Label16", QStringLiteral("Nr.op."), 31);
    colonna(Label15, "Label15", QStringLiteral("Causale"), 38);
    colonna(Label17, "Label17", QStringLiteral("Sos."), 57);
    colonna(Label18, "Label18", QStringLiteral("E/U"), 62);
    colonna(Label19, "Label19", QStringLiteral("Nr. Doc."), 66);
    colonna(Label20, "Label20", QStringLiteral("Importo"), 83);
    return intestazione;
}

// The cheque side's buttons.
QLayout* Form9::costruisciPulsantiAssegni() {
    Assegno = pulsante(this, "Assegno", QStringLiteral(" Gestione assegni "));
    BottCarnet = pulsante(this, "BottCarnet", QStringLiteral(" Gestione carnet "));
    AssAnnull = pulsante(this, "AssAnnull", QStringLiteral("Visualizza Assegni annullati "));
    SSCommand1 = pulsante(this, "SSCommand1", QStringLiteral("Archivio carnet"));
    auto* assegni = new QHBoxLayout;
    assegni->addWidget(Assegno);
    assegni->addWidget(BottCarnet);
    assegni->addWidget(AssAnnull);
    assegni->addWidget(SSCommand1);
    assegni->addStretch(1);
    return assegni;
}

// Tab walks the entry fields to "Conferma", then the range.
void Form9::impostaOrdineTab() {
    setTabOrder(DataOper, DataValuta);
    setTabOrder(DataValuta, Causale);
    setTabOrder(Causale, IMPORTO);
    setTabOrder(IMPORTO, NrDoc);
    setTabOrder(NrDoc, DescMovim);
    setTabOrder(DescMovim, OK);
    setTabOrder(OK, DataInizSel);
    setTabOrder(DataInizSel, DataFineSel);
}

// Connects the buttons and lists, the entry fields and the range, in that order.
void Form9::collega() {
    collegaPulsanti();
    collegaCampiImmissione();
    collegaIntervallo();
}

// The buttons and the double click on either list.
void Form9::collegaPulsanti() {
    auto clic = [this](QPushButton* b, void (Form9::*metodo)()) {
        connect(b, &QPushButton::clicked, this, handler([this, metodo] { (this->*metodo)(); }));
    };
    clic(OK, &Form9::OK_Click);
    clic(pulisci, &Form9::pulisci_Click);
    clic(Esc, &Form9::Esc_Click);
    clic(Del, &Form9::Del_Click);
    clic(Command1, &Form9::Command1_Click);
    clic(Command2, &Form9::Command2_Click);
    clic(Command3, &Form9::Command3_Click);
    clic(Ag, &Form9::Ag_Click);
    clic(Assegno, &Form9::Assegno_Click);
    clic(BottCarnet, &Form9::BottCarnet_Click);
    clic(AssAnnull, &Form9::AssAnnull_Click);
    clic(SSCommand1, &Form9::SSCommand1_Click);
    clic(Command3D1, &Form9::Command3D1_Click);
    connect(ElencoMovim, &ListBox::rowDoubleClicked, this,
            handler([this] { ElencoMovim_DblClick(); }));
    connect(elencoValuta, &ListBox::rowDoubleClicked, this,
            handler([this] { elencoValuta_DblClick(); }));
}

// The entry fields, from the operation date to the description.
void Form9::collegaCampiImmissione() {
    onGotFocus(DataOper, [this] { DataOper_GotFocus(); });
    onKeyPress(DataOper, [this](int& k) { DataOper_KeyPress(k); });
    onKeyUp(DataOper, [this](int k) { DataOper_KeyUp(k); });
    onGotFocus(DataValuta, [this] { DataValuta_GotFocus(); });
    onKeyPress(DataValuta, [this](int& k) { DataValuta_KeyPress(k); });
    onKeyUp(DataValuta, [this](int k) { DataValuta_KeyUp(k); });
    enterMovesFocus(Causale, IMPORTO);
    onLostFocus(Causale, [this] { Causale_LostFocus(); });
    onGotFocus(IMPORTO, [this] { IMPORTO_GotFocus(); });
    onKeyPress(IMPORTO, [this](int& k) {
        if (k != 13) return;
        k = 0;
        if (!IMPORTO->text().isEmpty()) NrDoc->setFocus(Qt::TabFocusReason);
    });
    enterMovesFocus(NrDoc, DescMovim);
    connect(NrDoc, &QLineEdit::textEdited, this, handler([this] { NrDoc_Change(); }));
    enterMovesFocus(DescMovim, OK);
    // A full description stays where it is (Enter goes on to "Conferma"): a key typed
    // past its end must not land on a button.
    refuseWhenFull(DescMovim);
}

// The two dates of the range take digits, '/' and Backspace only.
void Form9::collegaIntervallo() {
    for (DateField* campo : {DataInizSel, DataFineSel}) {
        onKeyPress(campo, [](int& k) {
            const bool ammesso = (k >= '0' && k <= '9') || k == '/' || k == 8;
            if (!ammesso) {
                beep();
                k = 0;
            }
        });
    }
    onLostFocus(DataInizSel, [this] { DataInizSel_LostFocus(); });
    onLostFocus(DataFineSel, [this] { DataFineSel_LostFocus(); });
}

// --- Load, activation, unload -------------------------------------------------------------

void Form9::Form_Load() {
    auto& s = stato();
    applicaColoriElenchi({ElencoMovim, elencoValuta});
    IMPORTO->clear();
    IMPORTO->setFormato(s.FormatoImporti);
    if (valoreNumerico(s.PrimaDataOperazione) == 0) {
        DataFineSel->setTesto(DataOggi());
        DataInizSel->setTesto(DataOggi());
    }
    s.Form9Aperta = 1;
}

void Form9::Form_Activate() {
    auto& s = stato();
    s.Form9Aperta = 1;
    IMPORTO->setFormato(s.FormatoImporti);
    aggiornaPulsantiAssegni();
    if (s.CodiceContoAttivo.trimmed().isEmpty()) return;

    Hourglass clessidra;
    QString motivo;
    // The account read again from its files; the movement this form holds for change
    // stays out of the balances.
    // When nothing changed since the last load, no file is read again.
    if (const Esito caricato = ApriArchiviContoSeCambiato(); !caricato.testo.isEmpty())
        avvisaErroreFile(caricato.testo);
    const int trattenuto = movimentoTrattenuto(kFinestra);
    if (trattenuto != inModifica_) {
        // The hold ended elsewhere (another account was loaded): the entry is new again.
        inModifica_ = trattenuto;
        if (trattenuto == 0) {
            svuotaCampi();
            Del->setEnabled(false);
            Del->setText(QStringLiteral("Del"));
        }
    }
    AggiornaDateEstreme(DataOper->testo());
    elenca(ordine_);
    if (const Esito ordine = SalvaOrdine(); !ordine.ok()) avvisaErroreFile(ordine.testo);
    riempiIntervallo();
    mostraProssimoNumero();
    if (valoreNumerico(s.PrimaDataOperazione) == 0) return;
    DataOper->setFocus(Qt::OtherFocusReason);
    // The period list, when open, follows the reloaded account (rebuilt only when what it
    // shows changed).
    if (s.Form11Aperta == 1) AggiornaElencoPerPeriodo();
}

void Form9::Form_Unload(bool& cancel) {
    Q_UNUSED(cancel);
    // A movement held for change goes back into the balances and ".TOT".
    if (inModifica_ != 0) restituisciMovimento();
    stato().Form9Aperta = 0;
}

// --- Order and lists ------------------------------------------------------------------

ListBox* Form9::lista(Ordine ordine) const {
    return ordine == Ordine::Valuta ? elencoValuta : ElencoMovim;
}

void Form9::impostaOrdineAttivo(Ordine ordine) {
    ordine_ = ordine;
    Command1->setEnabled(ordine != Ordine::Operazione);
    Command2->setEnabled(ordine != Ordine::Valuta);
    ElencoMovim->setVisible(ordine == Ordine::Operazione);
    elencoValuta->setVisible(ordine == Ordine::Valuta);
}

void Form9::elencaNellOrdineAttivo() {
    elenca(ordine_);
}
void Form9::elencaOperazione() {
    elenca(Ordine::Operazione);
}

void Form9::elenca(Ordine ordine) {
    impostaOrdineAttivo(ordine);
    const OrdineMovimenti om = comeOrdineMovimenti(ordine);
    if (Ag->isEnabled()) {
        // Every movement, with the range fields set to the bounds of the list's date.
        if (ordine == Ordine::Operazione)
            CalcolaDateOperazioneEstreme();
        else
            CalcolaDateValutaEstreme();
        if (stato().NumeroMovimenti > 0) riempiIntervallo();
        mostraElenco(ordine, elencoMovimenti(om));
    } else {
        mostraElenco(ordine, elencoMovimenti(om, DataInizSel->testo(), DataFineSel->testo()));
    }
    Label25->setText(titoloElenco(om));
}

ElencoMovimenti& Form9::elencoMostrato(Ordine ordine) {
    return ordine == Ordine::Valuta ? elencoValuta_ : elencoOperazione_;
}

void Form9::mostraElenco(Ordine ordine, ElencoMovimenti elenco) {
    ListBox* l = lista(ordine);
    ElencoMovimenti& mostrato = elencoMostrato(ordine);
    if (l->listModel()->madeWhenShown() && mostrato == elenco) {
        // The same lines in the same order: the list stays where it was scrolled, and
        // only the selection goes, as with a list filled again.
        l->setCurrentRow(-1);
        l->refreshTexts();
        return;
    }
    mostrato = std::move(elenco);
    // The line of a number is made from the movement when the list shows it, in the
    // format the list was made with.
    ElencoMovimenti forma;
    forma.ordine = mostrato.ordine;
    forma.formato = mostrato.formato;
    l->setLines(std::vector<qint32>(mostrato.numeri.begin(), mostrato.numeri.end()),
                [forma](qint32 numero) { return forma.riga(qint16(numero)); });
}

void Form9::riempiIntervallo() {
    const auto& s = stato();
    if (ordine_ == Ordine::Operazione) {
        DataInizSel->setTesto(dataADueCifre(s.PrimaDataOperazione));
        DataFineSel->setTesto(dataADueCifre(s.UltimaDataOperazione));
    } else if (valoreNumerico(s.PrimaDataValuta) != 0) {
        DataInizSel->setTesto(dataADueCifre(s.PrimaDataValuta));
        DataFineSel->setTesto(dataADueCifre(s.UltimaDataValuta));
    }
}

void Form9::aggiungiMovimentoSalvato(int numero) {
    const auto& s = stato();
    if (numero < 1 || numero > s.NumeroMovimenti || size_t(numero) >= s.TabellaMovimenti.size())
        return;
    const Movimento& m = s.TabellaMovimenti[size_t(numero)];
    const OrdineMovimenti om = comeOrdineMovimenti(ordine_);
    const QString& data = ordine_ == Ordine::Valuta ? m.dataValuta : m.dataOperazione;

    // The range widens to the new movement's date.
    const qint64 giorno = qint64(DataInNumero(data));
    if (giorno < qint64(DataInNumero(DataInizSel->testo()))) DataInizSel->setTesto(data);
    if (giorno > qint64(DataInNumero(DataFineSel->testo()))) DataFineSel->setTesto(data);

    ListBox* l = lista(ordine_);
    ElencoMovimenti& elenco = elencoMostrato(ordine_);
    if (!l->listModel()->madeWhenShown()) {
        // A list never built from the movements: it becomes one, with what it holds.
        ElencoMovimenti attuale;
        attuale.ordine = om;
        attuale.formato = std::make_shared<const FormatoRighe>();
        for (int riga = 0; riga < l->count(); ++riga)
            attuale.numeri.push_back(qint16(l->data(riga)));
        mostraElenco(ordine_, std::move(attuale));
    }
    // A causale added or changed since the list was made shows in the saved line as
    // the causali now stand: the list takes them (its other lines with it).
    if (auto adesso = std::make_shared<const FormatoRighe>();
        !elenco.formato || !(*elenco.formato == *adesso)) {
        ElencoMovimenti aggiornato = elenco;
        aggiornato.formato = std::move(adesso);
        mostraElenco(ordine_, std::move(aggiornato));
    }
    const std::size_t posizione = posizioneNellElenco(elenco.numeri, qint16(numero), om);
    elenco.numeri.insert(elenco.numeri.begin() + qsizetype(posizione), qint16(numero));
    l->insertLine(int(posizione), numero);
    l->scrollTo(l->model()->index(int(posizione), 0));
    impostaOrdineAttivo(ordine_);
    Label25->setText(ordine_ == Ordine::Valuta
                         ? QStringLiteral("Elenco Movimenti per data Valuta")
                         : QStringLiteral("Elenco Movimenti per data operazione"));
}

// --- The entry ----------------------------------------------------------------------------

void Form9::svuotaCampi() {
    DataOper->setTesto(QString());
    DataValuta->setTesto(QString());
    Causale->clear();
    DescrCausale->clear();
    IMPORTO->clear();
    NrDoc->clear();
    DescMovim->clear();
    Sospeso->clear();
    D_A->clear();
}

void Form9::restituisciMovimento() {
    if (const Esito saldi = restituisciAiSaldi(kFinestra); !saldi.ok())
        avvisaErroreFile(saldi.testo);
    inModifica_ = 0;
}

void Form9::svuotaImmissione() {
    if (inModifica_ != 0) restituisciMovimento();
    svuotaCampi();
    Del->setEnabled(false);
    Del->setText(QStringLiteral("Del"));
    mostraProssimoNumero();
}

void Form9::mostraProssimoNumero() {
    const int numero = inModifica_ != 0 ? inModifica_ : stato().NumeroMovimenti + 1;
    NrOper->setText(QString::number(numero));
}

TestiMovimento Form9::testiImmissione() const {
    TestiMovimento t;
    t.dataOperazione = DataOper->testo();
    t.dataValuta = DataValuta->testo();
    t.causale = Causale->text();
    t.importo = IMPORTO->text();
    t.numeroDocumento = NrDoc->text();
    t.descrizione = DescMovim->text();
    t.sospeso = Sospeso->text();
    t.entrataUscita = D_A->text();
    return t;
}

void Form9::valutaCambiata(double prima) {
    const auto& s = stato();
    IMPORTO->setText(cifraNellaNuovaValuta(IMPORTO->text(), prima, s.FattoreValuta,
                                           contesto().importoMemorizzato, s.FormatoImporti));
}

ContestoLettura Form9::contesto() const {
    ContestoLettura c;
    c.inModifica = inModifica_ != 0;
    if (inModifica_ != 0)
        c.importoMemorizzato = stato().TabellaMovimenti[size_t(inModifica_)].importo;
    return c;
}

void Form9::mostraCausale(const CausaleLetta& causale) {
    Causale->setText(causale.codice);
    DescrCausale->setText(causale.voce ? withoutTrailingBlanks(causale.voce->descrizione)
                                       : QString());
    Sospeso->setText(causale.sospeso);
    D_A->setText(causale.entrataUscita);
}

bool Form9::cercaCausale() {
    const CausaleLetta causale =
        leggiCausale(testiImmissione(), ModuloMovimento::Immissione, contesto());
    mostraCausale(causale);
    if (causale.voce) return true;
    showResult(rifiutoCausaleNonPresente(), this);
    return false;
}

void Form9::completaData(DateField* campo, QString& buffer, QWidget* prossimo) {
    if (buffer.size() < 4) return;
    buffer.clear();
    // Day and month typed: the current year completes the date. Keys typed into the
    // year itself (the cursor placed there) keep the year typed.
    if (campo->cursorPosition() <= 6)
        campo->setTesto(campo->testo().left(6) +
                        QStringLiteral("%1").arg(oggi().year(), 4, 10, QLatin1Char('0')));
    prossimo->setFocus(Qt::TabFocusReason);
}

void Form9::DataOper_GotFocus() {
    bufferDataOper_.clear();
    mostraProssimoNumero();
}

void Form9::DataOper_KeyPress(int& keyAscii) {
    if (keyAscii == 13 && !IMPORTO->text().isEmpty()) {
        keyAscii = 0;
        DataValuta->setFocus(Qt::TabFocusReason);
        return;
    }
    if (keyAscii != 8) bufferDataOper_ += QChar(char16_t(keyAscii));
}

void Form9::DataOper_KeyUp(int) {
    completaData(DataOper, bufferDataOper_, DataValuta);
}

void Form9::DataValuta_GotFocus() {
    bufferDataValuta_.clear();
}

void Form9::DataValuta_KeyPress(int& keyAscii) {
    if (keyAscii == 13 && !IMPORTO->text().isEmpty()) {
        keyAscii = 0;
        IMPORTO->setFocus(Qt::TabFocusReason);
        return;
    }
    if (keyAscii != 8) bufferDataValuta_ += QChar(char16_t(keyAscii));
}

void Form9::DataValuta_KeyUp(int) {
    completaData(DataValuta, bufferDataValuta_, Causale);
}

void Form9::Causale_LostFocus() {
    const AzioniAssegni& a = azioniAssegni();
    if (Causale->text() == u"CA") {
        if (a.apriCarnet) a.apriCarnet();
    } else if (Causale->text() == u"AS") {
        if (a.apriAssegno) a.apriAssegno();
    }
}

void Form9::IMPORTO_GotFocus() {
    if (!cercaCausale()) return;
    Causale_LostFocus();
}

void Form9::NrDoc_Change() {
    if (NrDoc->text().isEmpty()) DescMovim->clear();
    if (NrDoc->text().size() >= 8) DescMovim->setFocus(Qt::TabFocusReason);
}

void Form9::DataInizSel_LostFocus() {
    if (DataInizSel->isBlank()) return;
    controllaCampoData(DataInizSel);
}

void Form9::DataFineSel_LostFocus() {
    if (DataFineSel->isBlank()) return;
    controllaCampoData(DataFineSel);
}

// --- Confirmation -----------------------------------------------------------------------

void Form9::OK_Click() {
    Movimento m;
    if (!leggiImmissione(m)) return;
    Hourglass clessidra;
    if (inModifica_ != 0) {
        confermaModifica(m);
        return;
    }
    confermaNuovo(m);
}

// The movement in the entry fields, into `m`; false, with the reason shown, when the
// fields hold none.
bool Form9::leggiImmissione(Movimento& m) {
    const LetturaMovimento lettura =
        leggiMovimento(testiImmissione(), ModuloMovimento::Immissione, contesto());
    // What the causale's look-up found shows, whatever comes after it.
    if (lettura.causaleLetta) mostraCausale(lettura.causale);
    if (!lettura.esito.ok()) {
        showResult(lettura.esito, this);
        return false;
    }
    m = lettura.movimento;
    return true;
}

// A new movement stored after the last one (with its transfer, for a "GC" one when
// there are other accounts), then the entry starts again on the next number.
void Form9::confermaNuovo(Movimento m) {
    auto& s = stato();
    if (!spazioPerNuovoMovimento()) {
        avvisaErroreFile(messaggioContoPieno());
        return;
    }
    m.numero = qint16(s.NumeroMovimenti + 1);
    EsitoCon<GirocontoScritto> giroconto;
    if (normalizzaCodiceCausale(m.codiceCausale) == u"GC" && s.NumeroConti > 1) {
        giroconto = chiediGiroconto(m);
        if (!giroconto.ok()) {
            // No transfer: nothing is stored and the entry starts again.
            ricominciaImmissione();
            return;
        }
    }

    // A transfer's outgoing half completes the change its incoming half began.
    const Esito salvato = SalvaNuovoMovimento(m, giroconto.valore.modifica.get());
    if (!salvato.ok()) {
        QString motivo = salvato.testo;
        if (const Esito annullato = annullaGiroconto(giroconto.valore); !annullato.ok())
            motivo += annullato.testo;
        // The entry stays in the fields, to be confirmed again.
        avvisaErroreFile(motivo);
        return;
    }
    if (!salvato.testo.isEmpty()) avvisaErroreFile(salvato.testo);
    aggiungiMovimentoSalvato(s.NumeroMovimenti);
    if (const auto& situazione = azioniAssegni().situazioneAssegni) situazione();

    ricominciaImmissione();
    mostraProssimoNumero();
    ricalcolaDateEstreme();
    riempiIntervallo();
}

// Empty fields, nothing to delete, the operation date ready for the next entry.
void Form9::ricominciaImmissione() {
    svuotaCampi();
    Del->setEnabled(false);
    DataOper->setFocus(Qt::OtherFocusReason);
}

void Form9::confermaModifica(const Movimento& campi) {
    if (normalizzaCodiceCausale(campi.codiceCausale) == u"GC")
        messageBox(QStringLiteral("Attenzione! si sta modificando una operazione di giroconto.") +
                       QStringLiteral(" Il movimento effettuato sul conto di destinazione dovrà") +
                       QStringLiteral(" essere corretto manualmente."),
                   MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("AVVERTIMENTO"));
    const Movimento m = movimentoDaSalvare(campi, qint16(inModifica_));
    const Esito riscritto = riscriviMovimento(m);
    if (!riscritto.ok()) {
        // Still loaded and out of the balances, to be confirmed again or given up.
        avvisaErroreFile(riscritto.testo);
        return;
    }
    if (!riscritto.testo.isEmpty()) avvisaErroreFile(riscritto.testo);
    Del->setEnabled(false);
    elencaNellOrdineAttivo();
    Del->setText(QStringLiteral("Del"));
    // The new values go into the balances.
    restituisciMovimento();
    svuotaCampi();
    DataOper->setFocus(Qt::OtherFocusReason);
    mostraProssimoNumero();
}

void Form9::pulisci_Click() {
    svuotaCampi();
    ElencoMovim->setCurrentRow(-1);
    elencoValuta->setCurrentRow(-1);
    Del->setText(QStringLiteral("Del"));
    // The movement loaded for change, if any, goes back with its stored values; with
    // none, the panels and ".TOT" are only refreshed.
    restituisciMovimento();
    DataOper->setFocus(Qt::OtherFocusReason);
    mostraProssimoNumero();
    Del->setEnabled(false);
}

void Form9::Esc_Click() {
    // Leaving the form lets go of a movement held for change: it goes back into the
    // balances and ".TOT" at once (the summary of all accounts reads them), and the
    // entry starts new when the form is shown again.
    if (inModifica_ != 0) svuotaImmissione();
    stato().Form9Aperta = 0;
    formHost().hide(*this);
    formHost().activateMainWindow();
}

// --- Modification and deletion ------------------------------------------------------------

void Form9::ElencoMovim_DblClick() {
    const int riga = ElencoMovim->currentRow();
    if (riga < 0) return;
    Del->setEnabled(true);
    richiamaMovimento(ElencoMovim->data(riga));
}

void Form9::elencoValuta_DblClick() {
    const int riga = elencoValuta->currentRow();
    if (riga < 0) return;
    Del->setEnabled(true);
    richiamaMovimento(elencoValuta->data(riga));
}

void Form9::richiamaMovimento(int numero) {
    const auto& s = stato();
    if (numero < 1 || numero > s.NumeroMovimenti || size_t(numero) >= s.TabellaMovimenti.size()) {
        Del->setEnabled(inModifica_ != 0);
        return;
    }
    // A movement held before goes back into the balances; this one comes out.
    if (const Esito saldi = trattieniFuoriDaiSaldi(kFinestra, qint16(numero)); !saldi.ok())
        avvisaErroreFile(saldi.testo);
    inModifica_ = numero;

    const Movimento& r = s.TabellaMovimenti[size_t(numero)];
    NrOper->setText(QString::number(r.numero));
    DataOper->setTesto(withoutTrailingBlanks(r.dataOperazione));
    DataValuta->setTesto(withoutTrailingBlanks(r.dataValuta));
    Causale->setText(withoutTrailingBlanks(r.codiceCausale));
    QString descrizione;
    for (int i = 1; i <= s.NumeroCausali && size_t(i) < s.TabellaCausali.size(); ++i)
        if (normalizzaCodiceCausale(s.TabellaCausali[size_t(i)].codiceCausale) ==
            normalizzaCodiceCausale(r.codiceCausale))
            descrizione = withoutTrailingBlanks(s.TabellaCausali[size_t(i)].descrizione);
    DescrCausale->setText(descrizione);
    Sospeso->setText(withoutTrailingBlanks(r.sospeso));
    D_A->setText(withoutTrailingBlanks(r.entrataUscita));
    // The amount as a plain number, whole: the display format applies when the
    // field is left.
    IMPORTO->setText(formatNumber(r.importo * s.FattoreValuta, QString()));
    NrDoc->setText(r.numeroDocumento);
    DescMovim->setText(withoutTrailingBlanks(r.descrizione));
    Del->setText(r.annullato == u"S" ? QStringLiteral("Rec") : QStringLiteral("Del"));

    const AzioniAssegni& a = azioniAssegni();
    if (Causale->text() == u"CA") {
        if (a.apriCarnet) a.apriCarnet();
    } else if (Causale->text() == u"AS") {
        if (a.apriAssegno) a.apriAssegno();
    }
}

void Form9::Del_Click() {
    if (inModifica_ == 0) {
        Del->setEnabled(false);
        return;
    }
    const MessageAnswer risposta = messageBox(
        testoConfermaCancellazioneMovimento(), MessageButtons::OkCancel, MessageIcon::Exclamation,
        QStringLiteral("AVVERTIMENTO!"), MessageAnswer::Cancel);
    Hourglass clessidra;
    if (risposta == MessageAnswer::Ok) {
        if (const Esito eliminato = eliminaMovimento(inModifica_); !eliminato.ok()) {
            // Nothing was deleted: the movement stays loaded.
            avvisaErroreFile(eliminato.testo);
            return;
        }
        inModifica_ = 0;
        // The deleted movement was already out of the balances: they stay, and the
        // panels, ".TOT" and ".Ord" follow the renumbered movements.
        if (const Esito saldi =
                AggiungiMovimentoAiSaldi(QString(), QString(), 0.0, QString(), QString());
            !saldi.ok())
            avvisaErroreFile(saldi.testo);
        if (const Esito ordine = SalvaOrdine(); !ordine.ok()) avvisaErroreFile(ordine.testo);
    } else {
        restituisciMovimento();
    }
    Del->setEnabled(false);
    elencaNellOrdineAttivo();
    svuotaCampi();
    DataOper->setFocus(Qt::OtherFocusReason);
    mostraProssimoNumero();
    Del->setText(QStringLiteral("Del"));
    Del->setEnabled(false);
}

// --- Order and range buttons ------------------------------------------------------------

void Form9::Command1_Click() {
    Hourglass clessidra;
    if (!DataInizSel->isBlank()) {
        elenca(Ordine::Operazione);
        Label25->setText(QStringLiteral("Elenco Movimenti per data Operazione"));
    }
    DataOper->setFocus(Qt::OtherFocusReason);
}

void Form9::Command2_Click() {
    Hourglass clessidra;
    if (!DataInizSel->isBlank()) {
        elenca(Ordine::Valuta);
        Label25->setText(QStringLiteral("Elenco Movimenti per data Valuta"));
    }
    DataOper->setFocus(Qt::OtherFocusReason);
}

void Form9::Command3_Click() {
    Hourglass clessidra;
    if (stato().NumeroMovimenti > 0) {
        AggiornaDateEstreme(DataOper->testo());
        elencaNellOrdineAttivo();
    }
    DataOper->setFocus(Qt::OtherFocusReason);
}

void Form9::Ag_Click() {
    Hourglass clessidra;
    Ag->setEnabled(false);
    elencaNellOrdineAttivo();
    Ag->setEnabled(true);
    DataOper->setFocus(Qt::OtherFocusReason);
}

// --- Other windows ------------------------------------------------------------------------

void Form9::Assegno_Click() {
    if (const auto& azione = azioniAssegni().gestioneAssegni) azione();
}

void Form9::BottCarnet_Click() {
    if (const auto& azione = azioniAssegni().gestioneCarnet) azione();
}

void Form9::AssAnnull_Click() {
    if (const auto& azione = azioniAssegni().assegniAnnullati) azione();
}

void Form9::SSCommand1_Click() {
    if (const auto& azione = azioniAssegni().archivioCarnet) azione();
}

void Form9::Command3D1_Click() {
    // The causale picked is copied here and the focus moves on.
    auto scelta = [this](qint16 modo, const VoceCausale& voce) {
        if (modo == 1 || modo == 2) return;
        Causale->setText(normalizzaCodiceCausale(voce.codiceCausale));
        DescrCausale->setText(withoutTrailingBlanks(voce.descrizione));
        if (!(inModifica_ != 0 && Sospeso->text() == u"N"))
            Sospeso->setText(voce.sospeso.trimmed());
        D_A->setText(voce.entrataUscita.trimmed());
        IMPORTO->setFocus(Qt::OtherFocusReason);
    };
    apriElencoCausali(this, pickerCollegato_, handler(scelta));
}

// --- The list procedure -------------------------------------------------------------------

void impostaRichiestaElencoCausali(RichiestaElencoCausali richiesta) {
    Requests<RichiestaElencoCausali>::set(std::move(richiesta));
}

void apriElencoCausali(QObject* chiamante, QPointer<QObject>& collegato, SceltaCausale scelta) {
    if (const auto& elenco = Requests<RichiestaElencoCausali>::get())
        elenco(chiamante, collegato, std::move(scelta));
}

void ElencaMovimentiOrdineAttivo() {
    formHost().form<Form9>().elencaNellOrdineAttivo();
}

} // namespace qv
