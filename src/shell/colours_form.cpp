// Form5, "Cambia colori": the text and background colours of the program's lists.
#include "colours_form.h"

#include "common/shared_state.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "program_files.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// Paints a label's background (and text) in the given colours.
void paintLabel(QLabel* label, const QColor& background, const QColor& text) {
    QPalette p = label->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    label->setPalette(p);
    label->setAutoFillBackground(true);
}

} // namespace

Form5::Form5(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form5"));
    setCaption(QStringLiteral("Cambia colori"));

    SSPanel1 = namedLabel(this, QStringLiteral("SSPanel1"),
                          QStringLiteral("Modifica colori delle maschere"));
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SSPanel1->setAlignment(Qt::AlignCenter);
    SSPanel1->setMinimumHeight(34);
    QFont big = SSPanel1->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    SSPanel1->setFont(big);

    sfondo = namedButton(this, QStringLiteral("sfondo"), QStringLiteral("colore sfondo"));
    carattere = namedButton(this, QStringLiteral("carattere"), QStringLiteral("Colore carattere"));
    OK = namedButton(this, QStringLiteral("OK"), QStringLiteral("Conferma"));
    predef = namedButton(this, QStringLiteral("predef"), QStringLiteral("colori predefiniti"));
    Command2 = namedButton(this, QStringLiteral("Command2"), QStringLiteral("Uscita"));

    for (int i = 0; i < 2; ++i) {
        VediColori[i] = namedLabel(this, QStringLiteral("VediColori_%1").arg(i), QString());
        VediColori[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
        VediColori[i]->setMinimumSize(90, 24);
    }
    esempio = namedLabel(this, QStringLiteral("esempio"),
                         QStringLiteral("    Testo di esempio per la determinazione dei colori"));
    esempio->setFrameStyle(QFrame::Box | QFrame::Plain);
    esempio->setMinimumHeight(40);
    Label1 = namedLabel(this, QStringLiteral("Label1"),
                        QStringLiteral("Le modifiche saranno disponibili al prossimo avvio del "
                                       "programma"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);

    auto* choices = new QGridLayout;
    choices->addWidget(sfondo, 0, 0);
    choices->addWidget(VediColori[0], 0, 1);
    choices->addWidget(carattere, 1, 0);
    choices->addWidget(VediColori[1], 1, 1);
    choices->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OK);
    buttons->addWidget(predef);
    buttons->addStretch();
    buttons->addWidget(Command2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSPanel1);
    layout->addLayout(choices);
    layout->addWidget(esempio);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    resize(460, 260);

    connect(sfondo, &QPushButton::clicked, this, handler([this] { sfondo_Click(); }));
    connect(carattere, &QPushButton::clicked, this, handler([this] { carattere_Click(); }));
    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    connect(predef, &QPushButton::clicked, this, handler([this] { predef_Click(); }));
    connect(Command2, &QPushButton::clicked, this, handler([this] { Command2_Click(); }));
}

void Form5::Form_Load() {
    // Colours never stored start from the lists' own (the flag stays as it is, so the
    // lists keep their colours until a choice is confirmed).
    stato().ColoriElenchi = coloriIniziali(stato().ColoriElenchi);
    coloreSfondo_ = stato().ColoriElenchi.coloreSfondo;
    coloreCarattere_ = stato().ColoriElenchi.coloreCarattere;
    showColours();
}

void Form5::showColours() {
    const QColor back = fromWindowsColor(coloreSfondo_);
    const QColor text = fromWindowsColor(coloreCarattere_);
    paintLabel(VediColori[0], back, text);
    paintLabel(VediColori[1], text, back);
    paintLabel(esempio, back, text);
}

// A colour chosen is in ColoriElenchi at once, with "N", so that a list form loaded
// afterwards uses it; it reaches colori.col only through "Conferma" or "colori
// predefiniti". A cancelled dialog changes nothing.
void Form5::sfondo_Click() {
    const auto chosen = chooseColor(fromWindowsColor(coloreSfondo_), this);
    if (!chosen) return;
    coloreSfondo_ = toWindowsColor(*chosen);
    stato().ColoriElenchi.coloriPredefiniti = QStringLiteral("N");
    stato().ColoriElenchi.coloreSfondo = coloreSfondo_;
    showColours();
}

void Form5::carattere_Click() {
    const auto chosen = chooseColor(fromWindowsColor(coloreCarattere_), this);
    if (!chosen) return;
    coloreCarattere_ = toWindowsColor(*chosen);
    stato().ColoriElenchi.coloriPredefiniti = QStringLiteral("N");
    stato().ColoriElenchi.coloreCarattere = coloreCarattere_;
    showColours();
}

void Form5::OK_Click() {
    storeColours(QStringLiteral("N"));
}

void Form5::predef_Click() {
    storeColours(QStringLiteral("S"));
}

void Form5::Command2_Click() {
    formHost().unload(*this);
}

void Form5::storeColours(const QString& predefiniti) {
    Colori colori = stato().ColoriElenchi;
    colori.coloriPredefiniti = predefiniti;
    if (const Esito salvati = scriviColori(colori); !salvati.ok()) {
        messageBox(QStringLiteral("Impossibile salvare i colori nel file\n%1\n\n%2\n\n"
                                  "I colori non sono stati salvati.")
                       .arg(QDir::toNativeSeparators(percorsoColori()), salvati.testo),
                   MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Errore"));
        return;
    }
    stato().ColoriElenchi = colori;
    formHost().unload(*this);
}

} // namespace qv
