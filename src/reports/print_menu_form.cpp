// Form21: "Stampe", the print menu of the open account, and the printing of the reports.
#include "reports/print_menu_form.h"

#include "common/date_check.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "ledger/movement_files.h"
#include "ledger/period_list.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/line_printer.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "platform/qt_printer.h"
#include "platform/result_box.h"
#include "reports/archive_reports.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// Prints the report's pages, or says why there are none.
void stampa(const EsitoStampa& esito) {
    if (!esito.ok()) {
        avvisaErroreFile(esito.esito.testo);
        return;
    }
    printer().printDocument(esito.valore);
}

} // namespace

Form21::Form21(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form21"));
    setCaption(QStringLiteral("Stampe"));

    costruisciStampaMovimenti();
    costruisciStampaArchivi();
    QLayout* fondo = costruisciPulsantiFondo();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel3D2);
    layout->addWidget(Panel3D3);
    layout->addLayout(fondo);

    impostaOrdineTab();
    collegaPulsanti();
}

// The movement report's frame: the range, the causale choice and their buttons.
void Form21::costruisciStampaMovimenti() {
    Panel3D2 = new QGroupBox(QStringLiteral("Stampa Movimenti"), this);
    Panel3D2->setObjectName(QStringLiteral("Panel3D2"));
    Label3 = namedLabel(Panel3D2, QStringLiteral("Label3"), QStringLiteral("Intervallo di stampa"));
    Label2 = namedLabel(Panel3D2, QStringLiteral("Label2"), QStringLiteral("Dal"));
    dal = new DateField(QStringLiteral("dal"), Panel3D2);
    Label1 = namedLabel(Panel3D2, QStringLiteral("Label1"), QStringLiteral("Al"));
    al = new DateField(QStringLiteral("al"), Panel3D2);
    const int larghezzaData = dal->fontMetrics().horizontalAdvance(QString(14, u'0'));
    dal->setFixedWidth(larghezzaData);
    al->setFixedWidth(larghezzaData);
    Label4 = namedLabel(Panel3D2, QStringLiteral("Label4"),
                        QStringLiteral("Selezione causali da stampare"));
    Combo1 = new ComboBox(QStringLiteral("Combo1"), Panel3D2);
    Combo1->setEditable(false);
    Combo1->setMinimumContentsLength(26);
    Label2->setBuddy(dal);
    Label1->setBuddy(al);
    Label4->setBuddy(Combo1);
    Saldi = namedButton(Panel3D2, QStringLiteral("Saldi"), QStringLiteral("Conferma"));
    Command3D4 =
        namedButton(Panel3D2, QStringLiteral("Command3D4"), QStringLiteral("Tutte le date"));

    auto* movimenti = new QGridLayout(Panel3D2);
    movimenti->addWidget(Label3, 0, 0, 1, 4);
    movimenti->addWidget(Label2, 1, 0);
    movimenti->addWidget(dal, 1, 1);
    movimenti->addWidget(Label1, 1, 2);
    movimenti->addWidget(al, 1, 3);
    movimenti->addWidget(Command3D4, 1, 4);
    movimenti->addWidget(Label4, 2, 0, 1, 4);
    movimenti->addWidget(Combo1, 3, 0, 1, 4);
    movimenti->addWidget(Saldi, 3, 4);
    movimenti->setColumnStretch(5, 1);
}

// The frame of the archive reports, one button each.
void Form21::costruisciStampaArchivi() {
    Panel3D3 = new QFrame(this);
    Panel3D3->setObjectName(QStringLiteral("Panel3D3"));
    Panel3D3->setFrameShape(QFrame::StyledPanel);
    Panel3D3->setFrameShadow(QFrame::Raised);
    Label5 = namedLabel(Panel3D3, QStringLiteral("Label5"), QStringLiteral("Stampa archivi"));
    Command3D3 =
        namedButton(Panel3D3, QStringLiteral("Command3D3"), QStringLiteral("Stampa assegni "));
    AssAnn = namedButton(Panel3D3, QStringLiteral("AssAnn"),
                         QStringLiteral("Stampa assegni annullati "));
    Command3D2 =
        namedButton(Panel3D3, QStringLiteral("Command3D2"), QStringLiteral(" Stampa carnet "));
    Command3D1 = namedButton(Panel3D3, QStringLiteral("Command3D1"),
                             QStringLiteral(" Stampa lista assegni "));
    Command3D5 =
        namedButton(Panel3D3, QStringLiteral("Command3D5"), QStringLiteral(" Stampa causali "));
    conti = namedButton(Panel3D3, QStringLiteral("conti"), QStringLiteral("Stampa Elenco Conti"));
    auto* archivi = new QGridLayout(Panel3D3);
    archivi->addWidget(Label5, 0, 0, 1, 2);
    archivi->addWidget(Command3D3, 1, 0);
    archivi->addWidget(AssAnn, 1, 1);
    archivi->addWidget(Command3D2, 2, 0);
    archivi->addWidget(Command3D1, 2, 1);
    archivi->addWidget(Command3D5, 3, 0);
    archivi->addWidget(conti, 3, 1);
}

// "Imposta stampante" and "Uscita", under the frames.
QLayout* Form21::costruisciPulsantiFondo() {
    PulStampe = namedButton(this, QStringLiteral("PulStampe"), QStringLiteral("Imposta stampante"));
    Esc = namedButton(this, QStringLiteral("Esc"), QStringLiteral("Uscita"));
    auto* fondo = new QHBoxLayout;
    fondo->addWidget(PulStampe);
    fondo->addStretch(1);
    fondo->addWidget(Esc);
    return fondo;
}

// Tab walks the range, the causale and every button in screen order; Enter walks from the
// first date to the last and on to the causale.
void Form21::impostaOrdineTab() {
    setTabOrder(dal, al);
    setTabOrder(al, Combo1);
    setTabOrder(Combo1, Saldi);
    setTabOrder(Saldi, Command3D4);
    setTabOrder(Command3D4, Command3D3);
    setTabOrder(Command3D3, AssAnn);
    setTabOrder(AssAnn, Command3D2);
    setTabOrder(Command3D2, Command3D1);
    setTabOrder(Command3D1, Command3D5);
    setTabOrder(Command3D5, conti);
    setTabOrder(conti, PulStampe);
    setTabOrder(PulStampe, Esc);
    enterMovesFocus(dal, al);
    enterMovesFocus(al, Combo1);
}

void Form21::collegaPulsanti() {
    const auto on = [this](QPushButton* b, void (Form21::*metodo)()) {
        connect(b, &QPushButton::clicked, this, handler([this, metodo] { (this->*metodo)(); }));
    };
    on(Command3D4, &Form21::Command3D4_Click);
    on(Saldi, &Form21::Saldi_Click);
    on(Command3D3, &Form21::Command3D3_Click);
    on(AssAnn, &Form21::AssAnn_Click);
    on(Command3D2, &Form21::Command3D2_Click);
    on(Command3D1, &Form21::Command3D1_Click);
    on(Command3D5, &Form21::Command3D5_Click);
    on(conti, &Form21::conti_Click);
    on(PulStampe, &Form21::PulStampe_Click);
    on(Esc, &Form21::Esc_Click);
}

void Form21::Form_Load() {
    Combo1->clear();
    for (const QString& voce : vociFiltroCausale())
        Combo1->addItem(voce);
}

void Form21::Form_Activate() {
    const auto& s = stato();
    dal->setTesto(s.PrimaDataOperazione);
    al->setTesto(s.UltimaDataOperazione);
    Combo1->setCurrentIndex(0);
    dal->setFocus();
}

SelezioneMovimenti Form21::selezione() const {
    return {dal->testo(), al->testo(), withoutTrailingBlanks(Combo1->currentText())};
}

PeriodoStampa Form21::periodo() const {
    return {dal->testo(), al->testo()};
}

bool Form21::periodoStampabile() {
    for (DateField* campo : {dal, al}) {
        if (campo->isBlank()) continue;
        const Esito esito = esitoTestoData(campo->testo(), campo->objectName());
        if (esito.ok()) continue;
        showResult(esito, this);
        campo->setTesto(campo == dal ? stato().PrimaDataOperazione : stato().UltimaDataOperazione);
        campo->setFocus();
        return false;
    }
    return true;
}

void Form21::Command3D4_Click() {
    const auto& s = stato();
    dal->setTesto(s.PrimaDataOperazione);
    al->setTesto(s.UltimaDataOperazione);
}

void Form21::Saldi_Click() {
    if (!periodoStampabile()) return;
    Hourglass clessidra;
    stampaMovimenti(selezione());
}

void Form21::Command3D3_Click() {
    if (!periodoStampabile()) return;
    Hourglass clessidra;
    stampa(stampaAssegniContoAperto(contestoStampaCorrente(), periodo()));
}

void Form21::AssAnn_Click() {
    Hourglass clessidra;
    stampaAssegniAnnullati();
}

void Form21::Command3D2_Click() {
    if (!periodoStampabile()) return;
    Hourglass clessidra;
    stampa(stampaCarnetContoAperto(contestoStampaCorrente(), periodo()));
}

void Form21::Command3D1_Click() {
    if (!periodoStampabile()) return;
    Hourglass clessidra;
    stampa(stampaSituazioneAssegniContoAperto(contestoStampaCorrente(), periodo()));
}

void Form21::Command3D5_Click() {
    if (!periodoStampabile()) return;
    Hourglass clessidra;
    stampaCausali();
}

void Form21::conti_Click() {
    stampaElencoConti();
}

void Form21::PulStampe_Click() {
    printSetup(sharedPrinter(), this);
}

void Form21::Esc_Click() {
    formHost().unload(*this);
}

void mostraMenuStampe() {
    formHost().showModal(formHost().form<Form21>());
}

void stampaMovimenti(const SelezioneMovimenti& selezione) {
    stampa(stampaMovimentiContoAperto(contestoStampaCorrente(), selezione));
}

void stampaAssegniAnnullati() {
    stampa(stampaAssegniAnnullatiContoAperto(contestoStampaCorrente()));
}

void stampaCausali() {
    PeriodoStampa periodo{DateField::emptyText(), DateField::emptyText()};
    if (const Form21* menu = formHost().loaded<Form21>()) periodo = menu->periodo();
    stampa(stampaCausaliArchivio(contestoStampaCorrente(), periodo));
}

void stampaElencoConti() {
    stampa(stampaElencoContiArchivio(contestoStampaCorrente()));
}

void stampaRiepilogoConti(bool perValuta, const QString& dataVis) {
    stampa(stampaRiepilogoContiArchivio(contestoStampaCorrente(), dataVis, perValuta));
}

} // namespace qv
