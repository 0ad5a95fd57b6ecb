// Form22: "Riepilogo Conti", the summary of all accounts.
#include "ledger/summary_form.h"

#include "common/amounts.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "ledger/movement_files.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/requests.h"
#include "platform/result_box.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace qv {

namespace {

using SchedaRegistrata = Requests<Form22::RichiestaScheda, Form22>;
using StampaRegistrata = Requests<Form22::AzioneStampa, Form22>;

// The column heads, placed over the columns of lineaRiepilogo.
QString testoIntestazione() {
    return rightAlign(QStringLiteral("Nr. Conto"), 12) + u' ' +
           QStringLiteral("Descrizione").leftJustified(28) + u' ' +
           rightAlign(QStringLiteral("Saldo"), 15) + u' ' + rightAlign(QStringLiteral("Fido"), 15) +
           u' ' + rightAlign(QStringLiteral("Disponibilità"), 15) + u' ';
}

} // namespace

Form22::Form22(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form22"));
    setCaption(QStringLiteral("Riepilogo Conti"));

    creaPannello();
    creaElenco();
    creaPulsanti();
    disponi();
    collegaControlli();
}

// The panel over the list: its title with today's date and the choice of balance.
void Form22::creaPannello() {
    Panel3D1 = new QFrame(this);
    Panel3D1->setObjectName(QStringLiteral("Panel3D1"));
    Panel3D1->setFrameShape(QFrame::StyledPanel);
    Panel3D1->setFrameShadow(QFrame::Raised);
    auto* titolo = new QLabel(QStringLiteral("Riepilogo Conti presenti           al"), Panel3D1);
    titolo->setTextFormat(Qt::PlainText);
    QFont grassetto = titolo->font();
    grassetto.setBold(true);
    titolo->setFont(grassetto);
    DataVis = new QLabel(Panel3D1);
    DataVis->setObjectName(QStringLiteral("DataVis"));
    DataVis->setFont(grassetto);
    const char* opzioni[2] = {"Data Op.", "Data Valuta"};
    for (int i = 0; i < 2; ++i) {
        Dataop[size_t(i)] = new QRadioButton(QString::fromLatin1(opzioni[i]), Panel3D1);
        Dataop[size_t(i)]->setObjectName(QStringLiteral("Dataop_%1").arg(i));
    }
    Dataop[0]->setChecked(true);
    auto* pannello = new QHBoxLayout(Panel3D1);
    pannello->addWidget(titolo);
    pannello->addWidget(DataVis);
    pannello->addStretch(1);
    pannello->addWidget(Dataop[0]);
    pannello->addWidget(Dataop[1]);
}

// The list of the accounts, the column heads over it and the totals line under it.
void Form22::creaElenco() {
    List1 = new ListBox(QStringLiteral("List1"), this);
    List1->setSorted(true);
    List1->setFixedPitch(true);

    intestazione = new QLabel(testoIntestazione(), this);
    intestazione->setObjectName(QStringLiteral("intestazione"));
    intestazione->setTextFormat(Qt::PlainText);
    intestazione->setFont(List1->font());
    intestazione->setIndent(List1->frameWidth() + 3);

    Totali = new QLabel(this);
    Totali->setObjectName(QStringLiteral("Totali"));
    Totali->setTextFormat(Qt::PlainText);
    Totali->setFont(List1->font());
    Totali->setFrameShape(QFrame::Panel);
    Totali->setFrameShadow(QFrame::Sunken);
    // The sums stand under the amount columns of the list: the totals line starts 19
    // characters to the left of where the account lines have their first amount.
    Totali->setIndent(List1->frameWidth() + 3 + Totali->frameWidth() +
                      19 * Totali->fontMetrics().horizontalAdvance(u'0'));

    const int larghezza = List1->fontMetrics().horizontalAdvance(QString(92, u'0')) +
                          List1->verticalScrollBar()->sizeHint().width() + 2 * List1->frameWidth() +
                          8;
    List1->setMinimumSize(larghezza, 260);
}

// "Stampa" and "Uscita".
void Form22::creaPulsanti() {
    PulStampe = new QPushButton(QStringLiteral("Stampa"), this);
    PulStampe->setObjectName(QStringLiteral("PulStampe"));
    Command3D8 = new QPushButton(QStringLiteral(" Uscita "), this);
    Command3D8->setObjectName(QStringLiteral("Command3D8"));
}

// The panel, the column heads, the list, the totals, and the buttons at the bottom.
void Form22::disponi() {
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(PulStampe);
    pulsanti->addStretch(1);
    pulsanti->addWidget(Command3D8);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel3D1);
    layout->addWidget(intestazione);
    layout->addWidget(List1, 1);
    layout->addWidget(Totali);
    layout->addLayout(pulsanti);
}

// The handlers of the options, the list and the buttons.
void Form22::collegaControlli() {
    for (int i = 0; i < 2; ++i)
        connect(Dataop[size_t(i)], &QRadioButton::clicked, this,
                handler([this, i] { Dataop_Click(i); }));
    connect(List1, &ListBox::rowDoubleClicked, this, handler([this] { List1_DblClick(); }));
    connect(Command3D8, &QPushButton::clicked, this, handler([this] { Command3D8_Click(); }));
    connect(PulStampe, &QPushButton::clicked, this, handler([this] { PulStampe_Click(); }));
}

void Form22::Form_Load() {
    applicaColoriElenchi({List1});
    costruisci();
}

SaldoRiepilogo Form22::saldoScelto() const {
    return Dataop[1]->isChecked() ? SaldoRiepilogo::Valuta : SaldoRiepilogo::Operazione;
}

void Form22::costruisci() {
    const Riepilogo riepilogo = costruisciRiepilogo(saldoScelto());
    DataVis->setText(oggi().toString(QStringLiteral("dd-MM-yyyy")));
    std::vector<ListItem> righe;
    righe.reserve(riepilogo.righe.size());
    for (const RigaRiepilogo& r : riepilogo.righe)
        righe.push_back({r.testo, r.rigaConto});
    List1->setItems(std::move(righe));
    Totali->setText(riepilogo.totali);
    if (!riepilogo.errori.isEmpty()) avvisaErroreFile(riepilogo.errori.join(u'\n'));
}

void Form22::Dataop_Click(int index) {
    Dataop[size_t(index)]->setChecked(true);
    costruisci();
}

void Form22::impostaRichiestaScheda(RichiestaScheda richiesta) {
    SchedaRegistrata::set(std::move(richiesta));
}

void Form22::impostaStampa(AzioneStampa azione) {
    StampaRegistrata::set(std::move(azione));
}

void Form22::PulStampe_Click() {
    if (const auto& stampa = StampaRegistrata::get()) stampa(saldoScelto(), DataVis->text());
}

void Form22::List1_DblClick() {
    const int linea = List1->currentRow();
    if (linea < 0) return;
    const int riga = rigaContoDelRiepilogo(List1->text(linea), List1->data(linea));
    if (riga == 0) return;
    if (const auto& scheda = SchedaRegistrata::get()) scheda(riga);
}

void Form22::Command3D8_Click() {
    formHost().unload(*this);
}

void mostraRiepilogoConti() {
    const bool caricato = formHost().loaded<Form22>() != nullptr;
    Form22& riepilogo = formHost().form<Form22>();
    if (caricato) riepilogo.costruisci();
    formHost().show(riepilogo);
}

} // namespace qv
