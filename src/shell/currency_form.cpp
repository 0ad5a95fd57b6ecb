#include "currency_form.h"

#include "common/shared_state.h"
#include "currencies.h"
#include "platform/fields.h"
#include "platform/message_box.h"
#include "program_files.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// The member that holds each slot's button, in slot order (slot 1 first).
constexpr std::array<QPushButton * Form25::*, 14> kButtons{
    &Form25::SSCommand9,  &Form25::SSCommand4,  &Form25::SSCommand7,  &Form25::SSCommand5,
    &Form25::SSCommand3,  &Form25::SSCommand2,  &Form25::SSCommand1,  &Form25::SSCommand8,
    &Form25::SSCommand12, &Form25::SSCommand6,  &Form25::SSCommand10, &Form25::SSCommand11,
    &Form25::SSCommand14, &Form25::SSCommand15,
};

} // namespace

QPushButton*& Form25::buttonMember(int slot) {
    return this->*kButtons[slot - 1];
}

Form25::Form25(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form25"));
    setCaption(QStringLiteral("Valute"));

    creaIntestazione();
    QLayout* grid = creaValute();
    QLayout* bottom = creaFondo();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(6);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(Label3);
    layout->addLayout(bottom);
}

// The title and the line under it.
void Form25::creaIntestazione() {
    Label1 = new QLabel(QStringLiteral("  Gestione valute"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = Label1->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    Label1->setFont(titleFont);

    Label2 = new QLabel(
        QStringLiteral("Il valore delle valute deve essere rapportato a quello dell'euro."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
}

// Each slot's button with its rate box beside it, in two columns of seven.
QLayout* Form25::creaValute() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    constexpr int kRows = 7;
    for (const SlotNazionale& s : slotNazionali()) {
        auto* button = new QPushButton(s.didascalia, this);
        button->setObjectName(s.pulsante);
        button->setMinimumWidth(150);
        buttonMember(s.slot) = button;

        auto* box = new AmountField(QStringLiteral("Box_%1").arg(s.slot - 1), this);
        box->setFormato(FormatoCambio);
        box->setToolTip(QStringLiteral("Rapporto di parità con l'Euro"));
        box->setAlignment(Qt::AlignRight);
        box->setMinimumWidth(110);
        box->setAccessibleName(s.didascalia); // read by the button beside it
        Box[s.slot - 1] = box;

        const int row = (s.slot - 1) % kRows;
        const int column = (s.slot - 1) / kRows * 3;
        grid->addWidget(button, row, column);
        grid->addWidget(box, row, column + 1);

        const int slot = s.slot;
        connect(button, &QPushButton::clicked, this,
                handler([this, slot] { SSCommand_Click(slot); }));
    }
    grid->setColumnMinimumWidth(2, 16);
    return grid;
}

// The note on storing, then the lock and "Uscita" on one line.
QLayout* Form25::creaFondo() {
    Label3 = new QLabel(QStringLiteral("dopo aver modificato il valore nella casella occorre "
                                       "cliccare sullo stesso pulsante per la memorizzazione dei "
                                       "dati"),
                        this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);

    Check1 = new QCheckBox(QStringLiteral("blocca i dati"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    connect(Check1, &QCheckBox::clicked, this, handler([this] { Check1_Click(); }));

    Command3D8 = new QPushButton(QStringLiteral("Uscita"), this);
    Command3D8->setObjectName(QStringLiteral("Command3D8"));
    connect(Command3D8, &QPushButton::clicked, this, handler([this] { Command3D8_Click(); }));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Check1);
    bottom->addStretch(1);
    bottom->addWidget(Command3D8);
    return bottom;
}

void Form25::Form_Load() {
    caricaTabellaValute();
    for (int slot = 1; slot <= 14; ++slot)
        Box[slot - 1]->setText(testoCambio(stato().TabellaValute[slot].cambio));
    Check1_Click();
}

void Form25::SSCommand_Click(int slot) {
    if (const Esito memorizzata = memorizzaValuta(slot, Box[slot - 1]->testo()); !memorizzata.ok())
        messageBox(memorizzata.testo, MessageButtons::Ok, MessageIcon::Exclamation,
                   QStringLiteral("Attenzione"));
}

void Form25::Check1_Click() {
    const bool locked = Check1->isChecked();
    for (AmountField* box : Box)
        box->setEnabled(!locked);
}

void Form25::Command3D8_Click() {
    formHost().unload(*this);
}

} // namespace qv
