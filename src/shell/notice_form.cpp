// Form1, "Informazioni": the notice shown once, on the program's first run.
#include "notice_form.h"

#include "flags_form.h"

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

Form1::Form1(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Informazioni"));

    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    Label4 = label("Label4", QStringLiteral("INFORMAZIONI PRELIMINARI "));
    Label3 = label("Label3", QStringLiteral("QUORVANTA VERSIONE 1.00"));
    TESTO = label("TESTO", QString());
    Test2 = label("Test2", QString());
    Label2 =
        label("Label2",
              QStringLiteral("Attenzione ! Questo messaggio non verrà più mostrato in seguito"));
    Picture1 = label("Picture1", QString());
    SSCommand1 = new QPushButton(QStringLiteral("Chiudi"), this);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));

    QFont heading = Label4->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    Label4->setFont(heading);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    Label2->setFont(bold);
    QPalette warning = Label2->palette();
    warning.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x00));
    Label2->setPalette(warning);
    for (QLabel* text : {TESTO, Test2}) {
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    initShellResources();
    Picture1->setPixmap(QPixmap(QStringLiteral(":/notice.png")));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* titles = new QVBoxLayout;
    titles->addWidget(Label4);
    titles->addWidget(Label3);
    titles->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(Picture1);
    top->addSpacing(12);
    top->addLayout(titles, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label2, 1);
    bottom->addWidget(SSCommand1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    // The two labels read as one text: the sentence at the end of TESTO goes on
    // in Test2.
    auto* notice = new QVBoxLayout;
    notice->setSpacing(0);
    notice->addWidget(TESTO);
    notice->addWidget(Test2);
    layout->addLayout(notice);
    layout->addStretch();
    layout->addLayout(bottom);
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
