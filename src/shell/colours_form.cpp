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

namespace {

// The title panel, raised, in a larger bold font.
QLabel* creaTitolo(Form5& f) {
    QLabel* panel = namedLabel(&f, QStringLiteral("SSPanel1"),
                               QStringLiteral("Modifica colori delle maschere"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAlignment(Qt::AlignCenter);
    panel->setMinimumHeight(34);
    QFont big = panel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    panel->setFont(big);
    return panel;
}

// The buttons, the two swatches, the sample text and the note.
void creaControlli(Form5& f) {
    f.sfondo = namedButton(&f, QStringLiteral("sfondo"), QStringLiteral("colore sfondo"));
    f.carattere = namedButton(&f, QStringLiteral("carattere"), QStringLiteral("Colore carattere"));
    f.OK = namedButton(&f, QStringLiteral("OK"), QStringLiteral("Conferma"));
    f.predef = namedButton(&f, QStringLiteral("predef"), QStringLiteral("colori predefiniti"));
    f.Command2 = namedButton(&f, QStringLiteral("Command2"), QStringLiteral("Uscita"));

    for (int i = 0; i < 2; ++i) {
        f.VediColori[i] = namedLabel(&f, QStringLiteral("VediColori_%1").arg(i), QString());
        f.VediColori[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
        f.VediColori[i]->setMinimumSize(90, 24);
    }
    f.esempio = namedLabel(&f, QStringLiteral("esempio"),
                           QStringLiteral("    Testo di esempio per la determinazione dei colori"));
    f.esempio->setFrameStyle(QFrame::Box | QFrame::Plain);
    f.esempio->setMinimumHeight(40);
    f.Label1 = namedLabel(&f, QStringLiteral("Label1"),
                          QStringLiteral("Le modifiche saranno disponibili al prossimo avvio del "
                                         "programma"));
    f.Label1->setWordWrap(true);
    f.Label1->setAlignment(Qt::AlignCenter);
}

// Each colour button beside its swatch, then the sample, the note and the buttons.
void disponiControlli(Form5& f) {
    auto* choices = new QGridLayout;
    choices->addWidget(f.sfondo, 0, 0);
    choices->addWidget(f.VediColori[0], 0, 1);
    choices->addWidget(f.carattere, 1, 0);
    choices->addWidget(f.VediColori[1], 1, 1);
    choices->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(f.OK);
    buttons->addWidget(f.predef);
    buttons->addStretch();
    buttons->addWidget(f.Command2);

    auto* layout = new QVBoxLayout(&f);
    layout->addWidget(f.SSPanel1);
    layout->addLayout(choices);
    layout->addWidget(f.esempio);
    layout->addWidget(f.Label1);
    layout->addLayout(buttons);
}

} // namespace

Form5::Form5(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form5"));
    setCaption(QStringLiteral("Cambia colori"));
    SSPanel1 = creaTitolo(*this);
    creaControlli(*this);
    disponiControlli(*this);
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
