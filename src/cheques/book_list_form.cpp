// Form14: "Elenco Carnet", the list of the open account's cheque books to pick from.
#include "cheques/book_list_form.h"

#include "cheques/book_form.h"
#include "cheques/cheque_books.h"
#include "common/shared_state.h"
#include "ledger/open_account.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

QLabel* intestazione(const QString& nome, const QString& testo, int caratteri, const QFont& font,
                     QWidget* parent) {
    // A heading is as wide as its column of the fixed-pitch lines, in a smaller
    // proportional face so that the longer headings fit over their columns.
    auto* label = new QLabel(testo, parent);
    label->setObjectName(nome);
    QFont piccolo = label->font();
    piccolo.setPointSizeF(piccolo.pointSizeF() * 0.85);
    label->setFont(piccolo);
    label->setFixedWidth(QFontMetrics(font).horizontalAdvance(QString(caratteri, u'0')));
    return label;
}

} // namespace

Form14::Form14(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form14"));
    setCaption(QStringLiteral("Elenco Carnet"));
    setCloseHides(true);
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });
    // The list follows the cheque-book table whenever the cheques change or the account
    // loads.
    connect(&contoAperto(), &ContoAperto::assegniCambiati, this,
            handler([this] { riempiElenco(); }));
    connect(&contoAperto(), &ContoAperto::caricato, this, handler([this] { riempiElenco(); }));

    List1 = new ListBox(QStringLiteral("List1"), this);
    List1->setFixedPitch(true);
    const QFont courier = List1->font();
    List1->setMinimumSize(QFontMetrics(courier).horizontalAdvance(QString(46, u'0')) + 24, 260);

    // The headings stand over the columns of the lines (lineaCarnet).
    Label1 = intestazione(QStringLiteral("Label1"), QStringLiteral("Nr.Car."), 5, courier, this);
    Label2 =
        intestazione(QStringLiteral("Label2"), QStringLiteral("Data Ritiro"), 10, courier, this);
    Label3 =
        intestazione(QStringLiteral("Label3"), QStringLiteral("Nr. Iniziale"), 12, courier, this);
    Label4 =
        intestazione(QStringLiteral("Label4"), QStringLiteral("Nr. Finale"), 12, courier, this);
    Label5 = intestazione(QStringLiteral("Label5"), QStringLiteral("Ass.F."), 7, courier, this);
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label5->setIndent(QFontMetrics(courier).horizontalAdvance(u'0'));

    Command3D2 = new QPushButton(QStringLiteral("Conferma"), this);
    Command3D2->setObjectName(QStringLiteral("Command3D2"));
    Command3D2->setEnabled(false);
    Command3D1 = new QPushButton(QStringLiteral("Uscita"), this);
    Command3D1->setObjectName(QStringLiteral("Command3D1"));

    connect(List1, &ListBox::rowClicked, this, handler([this] { List1_Click(); }));
    connect(List1, &ListBox::rowDoubleClicked, this, handler([this] { List1_DblClick(); }));
    connect(Command3D2, &QPushButton::clicked, this, handler([this] { Command3D2_Click(); }));
    connect(Command3D1, &QPushButton::clicked, this, handler([this] { Command3D1_Click(); }));

    auto* titoli = new QHBoxLayout;
    titoli->setSpacing(0);
    titoli->setContentsMargins(List1->frameWidth() + 3, 0, 0, 0);
    for (QLabel* l : {Label1, Label2, Label3, Label4, Label5})
        titoli->addWidget(l);
    titoli->addStretch(1);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(Command3D2);
    pulsanti->addStretch(1);
    pulsanti->addWidget(Command3D1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(titoli);
    layout->addWidget(List1, 1);
    layout->addLayout(pulsanti);
}

void Form14::Form_Load() {
    applicaColoriElenchi({List1});
    riempiElenco();
}

void Form14::riempiElenco() {
    const auto& s = stato();
    const int n = std::min<int>(s.NumeroCarnet, int(s.TabellaCarnet.size()) - 1);
    std::vector<ListItem> righe;
    righe.reserve(size_t(std::max(n, 0)));
    for (int riga = 1; riga <= n; ++riga)
        righe.push_back({lineaCarnet(s.TabellaCarnet[size_t(riga)]), riga});
    List1->setItems(std::move(righe));
}

void Form14::impostaModo(qint16 modo) {
    modo_ = modo;
    riportato_ = 0;
}

void Form14::List1_Click() {
    Command3D2->setEnabled(List1->currentRow() >= 0);
}

void Form14::List1_DblClick() {
    if (modo_ == ElencoPerMovimenti) return;
    RiportaCarnetScelto();
    formHost().hide(*this);
}

void Form14::Command3D2_Click() {
    if (modo_ != ElencoPerMovimenti) RiportaCarnetScelto();
    formHost().hide(*this);
}

void Form14::Command3D1_Click() {
    formHost().hide(*this);
}

void RiportaCarnetScelto() {
    Form14* elenco = formHost().loaded<Form14>();
    if (!elenco) return;
    const int linea = elenco->List1->currentRow();
    if (linea < 0) return;
    const auto& s = stato();
    const int riga = elenco->List1->data(linea);
    if (riga < 1 || riga > s.NumeroCarnet || size_t(riga) >= s.TabellaCarnet.size()) return;
    if (elenco->modo_ == ElencoPerAssegni) {
        elenco->riportato_ = riga;
        elenco->modo_ = ElencoPerCarnet;
        return;
    }
    formHost().form<Form3>().mostraCarnet(riga);
}

int mostraElencoCarnet(qint16 modo) {
    QPointer<Form14> elenco = &formHost().form<Form14>();
    elenco->impostaModo(modo);
    formHost().showModal(*elenco);
    if (!elenco) return 0;
    const int riga = modo == ElencoPerAssegni ? elenco->carnetRiportato() : 0;
    elenco->impostaModo(ElencoPerCarnet);
    return riga;
}

} // namespace qv
