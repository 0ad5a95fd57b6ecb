// Form4: "Allineamento Conto", the alignment of the open account with the bank statement.
#include "ledger/alignment_form.h"

#include "archives/causali.h"
#include "common/amounts.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "ledger/alignment.h"
#include "ledger/balances.h"
#include "ledger/entry_form.h"
#include "ledger/movement_files.h"
#include "ledger/open_account.h"
#include "platform/controls.h"
#include "platform/date_check_dialog.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/message_box.h"
#include "platform/result_box.h"
#include "shell/program_files.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace qv {

namespace {

const QString finestra() {
    return QString::fromLatin1(FinestraAllineamento);
}

// The column heads, placed over the columns of lineaMovimentoSospeso.
QString testoIntestazione() {
    QString testo;
    auto metti = [&testo](int colonna, const QString& voce) {
        testo = testo.leftJustified(colonna) + voce;
    };
    metti(0, QStringLiteral("Data Op."));
    metti(11, QStringLiteral("Data val."));
    metti(22, QStringLiteral("Nr.op."));
    metti(29, QStringLiteral("Causale"));
    metti(49, QStringLiteral("E/U"));
    metti(53, QStringLiteral("Nr. Doc."));
    metti(71, QStringLiteral("Importo"));
    return testo;
}

QLabel* etichetta(const QString& testo, QWidget* campo, QWidget* parent) {
    auto* label = new QLabel(testo, parent);
    label->setBuddy(campo);
    return label;
}

QLabel* pannello(const char* nome, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(nome));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

Form4::Form4(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form4"));
    setCaption(QStringLiteral("Allineamento Conto"));
    // Closing the open account unloads this window, giving its movement back first.
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });

    creaElenco();
    creaCampiEPulsanti();
    disponi();
    collegaControlli();
}

// The list of the suspended movements under its heading.
void Form4::creaElenco() {
    ElencoMovim = new ListBox(QStringLiteral("ElencoMovim"), this);
    ElencoMovim->setFixedPitch(true);
    intestazione = new QLabel(testoIntestazione(), this);
    intestazione->setObjectName(QStringLiteral("intestazione"));
    intestazione->setTextFormat(Qt::PlainText);
    intestazione->setFont(ElencoMovim->font());
    intestazione->setIndent(ElencoMovim->frameWidth() + 3);
    ElencoMovim->setMinimumSize(ElencoMovim->fontMetrics().horizontalAdvance(QString(80, u'0')) +
                                    ElencoMovim->verticalScrollBar()->sizeHint().width() +
                                    2 * ElencoMovim->frameWidth() + 8,
                                220);
}

void Form4::creaCampiEPulsanti() {
    DataOper = new DateField(QStringLiteral("DataOper"), this);
    DataValuta = new DateField(QStringLiteral("DataValuta"), this);
    Causale = new QLineEdit(this);
    Causale->setObjectName(QStringLiteral("Causale"));
    Causale->setMaxLength(5);
    Causale->setMinimumWidth(fieldWidthFor(Causale, 5));
    Command3D1 =
        namedButton(this, QStringLiteral("Command3D1"), QStringLiteral("Seleziona causale"));
    DescrCausale = pannello("DescrCausale", this);
    DescrCausale->setMinimumWidth(fieldWidthFor(DescrCausale, 25));
    D_A = pannello("D_A", this);
    D_A->setAlignment(Qt::AlignCenter);
    D_A->setMinimumWidth(D_A->fontMetrics().averageCharWidth() * 4);
    IMPORTO = new AmountField(QStringLiteral("IMPORTO"), this);
    IMPORTO->setAlignment(Qt::AlignRight);
    NrDoc = new QLineEdit(this);
    NrDoc->setObjectName(QStringLiteral("NrDoc"));
    NrDoc->setMaxLength(8);
    NrDoc->setMinimumWidth(fieldWidthFor(NrDoc, 8));
    DescMovim = new QLineEdit(this);
    DescMovim->setObjectName(QStringLiteral("DescMovim"));
    DescMovim->setMaxLength(30);
    DescMovim->setMinimumWidth(fieldWidthFor(DescMovim, 30));
    NrOper = pannello("NrOper", this);
    NrOper->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    NrOper->setMinimumWidth(NrOper->fontMetrics().averageCharWidth() * 7);

    OK = namedButton(this, QStringLiteral("OK"), QStringLiteral("Conferma"));
    pulisci = namedButton(this, QStringLiteral("pulisci"), QStringLiteral("Cancella Immissione"));
    Esc = namedButton(this, QStringLiteral("Esc"), QStringLiteral("Uscita"));
}

// The list above, the fields with their labels, the buttons below.
void Form4::disponi() {
    auto* campi = new QGridLayout;
    campi->setHorizontalSpacing(8);
    campi->setVerticalSpacing(4);
    campi->addWidget(etichetta(QStringLiteral("Data oper."), DataOper, this), 0, 0);
    campi->addWidget(etichetta(QStringLiteral("data Valuta"), DataValuta, this), 0, 1);
    campi->addWidget(etichetta(QStringLiteral("Caus."), Causale, this), 0, 2);
    campi->addWidget(etichetta(QStringLiteral("Descrizione causale"), DescrCausale, this), 0, 4);
    campi->addWidget(etichetta(QStringLiteral("E/U"), D_A, this), 0, 5);
    campi->addWidget(DataOper, 1, 0);
    campi->addWidget(DataValuta, 1, 1);
    campi->addWidget(Causale, 1, 2);
    campi->addWidget(Command3D1, 1, 3);
    campi->addWidget(DescrCausale, 1, 4);
    campi->addWidget(D_A, 1, 5);
    campi->addWidget(etichetta(QStringLiteral("Importo"), IMPORTO, this), 2, 0);
    campi->addWidget(etichetta(QStringLiteral("Nr. Doc."), NrDoc, this), 2, 1);
    campi->addWidget(etichetta(QStringLiteral("Descrizione"), DescMovim, this), 2, 2, 1, 3);
    campi->addWidget(etichetta(QStringLiteral("Num.Oper."), NrOper, this), 2, 5);
    campi->addWidget(IMPORTO, 3, 0);
    campi->addWidget(NrDoc, 3, 1);
    campi->addWidget(DescMovim, 3, 2, 1, 3);
    campi->addWidget(NrOper, 3, 5);
    campi->setColumnStretch(4, 1);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(OK);
    pulsanti->addWidget(pulisci);
    pulsanti->addStretch(1);
    pulsanti->addWidget(Esc);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intestazione);
    layout->addWidget(ElencoMovim, 1);
    layout->addSpacing(6);
    layout->addLayout(campi);
    layout->addSpacing(6);
    layout->addLayout(pulsanti);
}

// The handlers, and Enter along the fields.
void Form4::collegaControlli() {
    connect(ElencoMovim, &ListBox::rowDoubleClicked, this,
            handler([this] { ElencoMovim_DblClick(); }));
    connect(Command3D1, &QPushButton::clicked, this, handler([this] { Command3D1_Click(); }));
    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    connect(pulisci, &QPushButton::clicked, this, handler([this] { pulisci_Click(); }));
    connect(Esc, &QPushButton::clicked, this, handler([this] { Esc_Click(); }));
    onKeyPress(DataOper, [this](int& keyAscii) { DataOper_KeyPress(keyAscii); });
    onKeyPress(Causale, [this](int& keyAscii) { Causale_KeyPress(keyAscii); });
    onGotFocus(IMPORTO, [this] { IMPORTO_GotFocus(); });
    // Enter moves along the fields (installed last, so it comes before the key filter).
    enterMovesAlong({DataOper, DataValuta, Causale});
    enterMovesAlong({IMPORTO, NrDoc, DescMovim, OK});
    refuseWhenFull(DescMovim);
}

void Form4::Form_Load() {
    const auto& s = stato();
    applicaColoriElenchi({ElencoMovim});
    IMPORTO->setFormato(s.FormatoImporti);
}

void Form4::Form_Unload(bool&) {
    // The movement held out of the balances goes back, unchanged, before the window goes.
    if (ancoraTrattenuto()) {
        if (const Esito rinuncia = rinunciaAllineamento(); !rinuncia.ok())
            avvisaErroreFile(rinuncia.testo);
    }
    caricato_ = 0;
}

void Form4::ElencaMovimentiSospesi() {
    std::vector<ListItem> righe;
    for (RigaMovimento& r : qv::ElencaMovimentiSospesi())
        righe.push_back({std::move(r.testo), r.numero});
    ElencoMovim->setItems(std::move(righe));
}

void Form4::RichiamaMovimentoDaAllineare() {
    const int linea = ElencoMovim->currentRow();
    if (linea < 0) return;
    const EsitoCon<Movimento> richiamato =
        qv::RichiamaMovimentoDaAllineare(qint16(ElencoMovim->data(linea)));
    if (!richiamato.ok()) return;
    const Movimento& m = richiamato.valore;
    caricato_ = m.numero;

    const auto& s = stato();
    NrOper->setText(QString::number(m.numero));
    DataOper->setTesto(m.dataOperazione);
    DataValuta->setTesto(m.dataValuta.trimmed());
    Causale->setText(m.codiceCausale.trimmed());
    const int riga = trovaCausale(m.codiceCausale);
    DescrCausale->setText(riga ? s.TabellaCausali[size_t(riga)].descrizione : QString());
    D_A->setText(withoutTrailingBlanks(m.entrataUscita));
    causaleMostrata_ = normalizzaCodiceCausale(m.codiceCausale);
    IMPORTO->setImporto(m.importo * s.FattoreValuta, s.FormatoImporti);
    NrDoc->setText(m.numeroDocumento);
    DescMovim->setText(withoutTrailingBlanks(m.descrizione));
    showResult(richiamato.esito);
}

void Form4::ElencoMovim_DblClick() {
    if (caricato_ != 0) return; // the list is disabled while a movement is loaded
    RichiamaMovimentoDaAllineare();
    if (caricato_ == 0) return;
    pulisci->setEnabled(true);
    ElencoMovim->setEnabled(false);
}

void Form4::Command3D1_Click() {
    stato().ModoElencoCausali = 1;
    // The causale picked is copied here and the focus moves on.
    auto scelta = [this](qint16 modo, const VoceCausale& voce) {
        if (modo != 1) return;
        causaleMostrata_ = normalizzaCodiceCausale(voce.codiceCausale);
        Causale->setText(causaleMostrata_);
        DescrCausale->setText(withoutTrailingBlanks(voce.descrizione));
        D_A->setText(voce.entrataUscita.trimmed());
        IMPORTO->setFocus(Qt::OtherFocusReason);
    };
    apriElencoCausali(this, pickerCollegato_, handler(scelta));
}

void Form4::Causale_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    IMPORTO->setFocus(Qt::OtherFocusReason);
}

void Form4::DataOper_KeyPress(int& keyAscii) {
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == '/' || keyAscii == 8) return;
    beep();
    keyAscii = 0;
}

void Form4::IMPORTO_GotFocus() {
    if (caricato_ != 0) causaleValida();
}

TestiMovimento Form4::testiAllineamento() const {
    TestiMovimento t;
    t.dataOperazione = DataOper->testo();
    t.dataValuta = DataValuta->testo();
    t.causale = Causale->text();
    t.importo = IMPORTO->testo();
    t.numeroDocumento = NrDoc->text();
    t.descrizione = DescMovim->text();
    t.entrataUscita = D_A->text();
    return t;
}

void Form4::valutaCambiata(double prima) {
    const auto& s = stato();
    IMPORTO->setText(cifraNellaNuovaValuta(IMPORTO->text(), prima, s.FattoreValuta,
                                           contesto().importoMemorizzato, s.FormatoImporti));
}

ContestoLettura Form4::contesto() const {
    ContestoLettura c;
    c.causaleMostrata = causaleMostrata_;
    if (caricato_ != 0) c.importoMemorizzato = stato().TabellaMovimenti[size_t(caricato_)].importo;
    return c;
}

void Form4::mostraCausale(const CausaleLetta& causale) {
    if (!causale.voce) {
        Causale->clear();
        DescrCausale->clear();
        D_A->clear();
        causaleMostrata_.clear();
        return;
    }
    Causale->setText(causale.codice);
    if (causale.codice != causaleMostrata_) {
        // Another causale than the one shown: its description and direction.
        DescrCausale->setText(withoutTrailingBlanks(causale.voce->descrizione));
        D_A->setText(causale.entrataUscita);
        causaleMostrata_ = causale.codice;
    }
}

bool Form4::causaleValida() {
    const CausaleLetta causale =
        leggiCausale(testiAllineamento(), ModuloMovimento::Allineamento, contesto());
    mostraCausale(causale);
    if (causale.voce) return true;
    showResult(rifiutoCausaleNonPresente(), this);
    return false;
}

bool Form4::ancoraTrattenuto() {
    if (caricato_ == 0) return false;
    // The hold follows its movement when an earlier one is deleted; it ends when the
    // account's movements are cleared or another account is opened.
    caricato_ = movimentoTrattenuto(finestra());
    if (caricato_ != 0) NrOper->setText(QString::number(caricato_));
    return caricato_ != 0;
}

void Form4::OK_Click() {
    if (caricato_ != 0 && !ancoraTrattenuto()) {
        // The movement is no longer held (the account was cleared or changed).
        svuotaCampi();
        ElencaMovimentiSospesi();
        liberaElenco();
    }
    if (caricato_ == 0) {
        DataOper->setFocus(Qt::OtherFocusReason);
        return;
    }
    const LetturaMovimento lettura =
        leggiMovimento(testiAllineamento(), ModuloMovimento::Allineamento, contesto());
    if (lettura.causaleLetta) mostraCausale(lettura.causale);
    if (!lettura.esito.ok()) {
        showResult(lettura.esito, this);
        return;
    }
    const Movimento& corretto = lettura.movimento;

    const Esito allineato = AllineaMovimento(caricato_, corretto);
    avvisaErroreFile(allineato.testo);
    if (allineato.fallito()) return;
    caricato_ = 0;
    svuotaCampi();
    ElencaMovimentiSospesi();
    liberaElenco();
}

void Form4::pulisci_Click() {
    if (ancoraTrattenuto()) {
        if (const Esito rinuncia = rinunciaAllineamento(); !rinuncia.ok())
            avvisaErroreFile(rinuncia.testo);
    }
    caricato_ = 0;
    svuotaCampi();
    ElencoMovim->setCurrentRow(-1);
    liberaElenco();
}

void Form4::Esc_Click() {
    // Leaving the form lets go of the movement loaded for alignment, unchanged: it goes
    // back into the balances and ".TOT" at once, as "Cancella Immissione" gives it back.
    if (caricato_ != 0) pulisci_Click();
    {
        Hourglass clessidra;
        // The aligned movements change their mark in the movement form's list.
        if (formHost().loaded<Form9>()) ElencaMovimentiOrdineAttivo();
    }
    formHost().hide(*this);
}

void Form4::svuotaCampi() {
    DataOper->setTesto(QString());
    DataValuta->setTesto(QString());
    Causale->clear();
    IMPORTO->clear();
    NrDoc->clear();
    DescMovim->clear();
    DescrCausale->clear();
    D_A->clear();
    causaleMostrata_.clear();
}

void Form4::liberaElenco() {
    ElencoMovim->setEnabled(true);
    ElencoMovim->setFocus(Qt::OtherFocusReason);
}

void mostraAllineamento() {
    Form4& allineamento = formHost().form<Form4>();
    allineamento.ElencaMovimentiSospesi();
    formHost().show(allineamento);
}

} // namespace qv
