// Form1, "Informazioni": the notice shown once, on the program's first run.
#include "notice_form.h"

#include "flags_form.h"
#include "platform/controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

QString testoInformazioni() {
    return QStringLiteral(
        "Complimenti per la scelta che avete effettuato!\n\n"
        "Prima di iniziare a lavorare occorre una breve preparazione: scegliete la voce "
        "\"PREFERENZE\" del menu \"FILE\" e indicate la valuta in cui desiderate lavorare e il "
        "numero di decimali che essa richiede, confermate e chiudete il programma, perché le "
        "scelte abbiano effetto. Gli altri parametri sono facoltativi e potranno essere "
        "inseriti anche in seguito.\n"
        "Inserite poi i dati del vostro conto con la voce \"GESTIONE CONTO\" del menu \"FILE\" "
        "e immettete le causali secondo le vostre esigenze,");
}

QString testoInformazioni2() {
    return QStringLiteral(
        "così il programma sarà personalizzato.\n\n"
        "Prima di immettere qualsiasi movimento inserite i cambi corretti delle valute che "
        "utilizzate, rapportati all'Euro.\n"
        "Cambi errati renderebbero errate tutte le conversioni nelle altre valute.\n\n"
        "Buon lavoro e grazie per aver scelto QUORVANTA per la gestione dei Vs. conti "
        "bancari.");
}

namespace {

void creaControlli(Form1& f) {
    Form1* parent = &f;
    f.Label4 =
        namedLabel(parent, QStringLiteral("Label4"), QStringLiteral("INFORMAZIONI PRELIMINARI "));
    f.Label3 =
        namedLabel(parent, QStringLiteral("Label3"), QStringLiteral("QUORVANTA VERSIONE 1.00"));
    f.TESTO = namedLabel(parent, QStringLiteral("TESTO"), QString());
    f.Test2 = namedLabel(parent, QStringLiteral("Test2"), QString());
    f.Label2 = namedLabel(
        parent, QStringLiteral("Label2"),
        QStringLiteral("Attenzione ! Questo messaggio non verrà più mostrato in seguito"));
    f.Picture1 = namedLabel(parent, QStringLiteral("Picture1"), QString());
    f.SSCommand1 = new QPushButton(QStringLiteral("Chiudi"), parent);
    f.SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
}

// The heading larger, the warning in dark red, the notice wrapped, the picture.
void impostaAspetto(Form1& f) {
    QFont heading = f.Label4->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    f.Label4->setFont(heading);
    QFont bold = f.Label3->font();
    bold.setBold(true);
    f.Label3->setFont(bold);
    f.Label2->setFont(bold);
    QPalette warning = f.Label2->palette();
    warning.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x00));
    f.Label2->setPalette(warning);
    for (QLabel* text : {f.TESTO, f.Test2}) {
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    initShellResources();
    f.Picture1->setPixmap(QPixmap(QStringLiteral(":/notice.png")));
    f.Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
}

// The picture beside the titles, the notice, the warning beside the button.
void disponiControlli(Form1& f) {
    auto* titles = new QVBoxLayout;
    titles->addWidget(f.Label4);
    titles->addWidget(f.Label3);
    titles->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(f.Picture1);
    top->addSpacing(12);
    top->addLayout(titles, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(f.Label2, 1);
    bottom->addWidget(f.SSCommand1);

    auto* layout = new QVBoxLayout(&f);
    layout->addLayout(top);
    layout->addSpacing(8);
    // The two labels read as one text: the sentence at the end of TESTO goes on
    // in Test2.
    auto* notice = new QVBoxLayout;
    notice->setSpacing(0);
    notice->addWidget(f.TESTO);
    notice->addWidget(f.Test2);
    layout->addLayout(notice);
    layout->addStretch();
    layout->addLayout(bottom);
}

} // namespace

Form1::Form1(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Informazioni"));
    creaControlli(*this);
    impostaAspetto(*this);
    disponiControlli(*this);
    resize(600, 440);

    connect(SSCommand1, &QPushButton::clicked, this, handler([this] { SSCommand1_Click(); }));
}

void Form1::Form_Load() {
    TESTO->setText(testoInformazioni());
    Test2->setText(testoInformazioni2());
}

void Form1::SSCommand1_Click() {
    formHost().unload(*this);
}

} // namespace qv
