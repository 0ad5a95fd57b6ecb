#include "converter_form.h"

#include "common/amounts.h"
#include "common/shared_state.h"
#include "currencies.h"
#include "platform/fields.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "program_files.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

AmountField* amountBox(const QString& name, QWidget* parent, bool output) {
    auto* box = new AmountField(name, parent);
    box->setFormato(FormatoConversione);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(160);
    // The results can be copied but not typed over.
    box->setReadOnly(output);
    return box;
}

QLabel* labelFor(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

Convertore::Convertore(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Convertore"));
    setCaption(QStringLiteral("Conversione valute"));

    SSPanel1 = new QLabel(QStringLiteral("Utilità per la conversione delle valute "), this);
    SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SSPanel1->setAlignment(Qt::AlignCenter);
    SSPanel1->setMargin(6);
    QFont panelFont = SSPanel1->font();
    panelFont.setBold(true);
    SSPanel1->setFont(panelFont);

    Combo1 = new ComboBox(QStringLiteral("Combo1"), this);
    Combo1->setSorted(true);
    Combo2 = new ComboBox(QStringLiteral("Combo2"), this);
    Combo2->setSorted(true);
    ImDa = amountBox(QStringLiteral("ImDa"), this, false);
    Euros = amountBox(QStringLiteral("Euros"), this, true);
    ImA = amountBox(QStringLiteral("ImA"), this, true);

    SSCommand1 = new QPushButton(QStringLiteral("Calcola"), this);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
    connect(SSCommand1, &QPushButton::clicked, this, handler([this] { SSCommand1_Click(); }));

    // Currencies on the left, amounts on the right: the amount of currency 1 on the
    // first row, its value in Euro below it, the result in currency 2 on the last row.
    auto* grid = new QGridLayout;
    auto* importo = new QLabel(QStringLiteral("Importo"), this);
    grid->addWidget(importo, 0, 3, Qt::AlignHCenter);
    grid->addWidget(labelFor(QStringLiteral("Valuta 1"), this), 1, 0);
    grid->addWidget(Combo1, 1, 1);
    grid->addWidget(labelFor(QStringLiteral("Da"), this), 1, 2);
    grid->addWidget(ImDa, 1, 3);
    grid->addWidget(labelFor(QStringLiteral("Euro"), this), 2, 2);
    grid->addWidget(Euros, 2, 3);
    grid->addWidget(labelFor(QStringLiteral("Valuta 2"), this), 3, 0);
    grid->addWidget(Combo2, 3, 1);
    grid->addWidget(labelFor(QStringLiteral("A"), this), 3, 2);
    grid->addWidget(ImA, 3, 3);
    grid->setColumnMinimumWidth(2, 40);
    // Each field is read by the label beside it.
    Combo1->setAccessibleName(QStringLiteral("Valuta 1"));
    ImDa->setAccessibleName(QStringLiteral("Da"));
    Euros->setAccessibleName(QStringLiteral("Euro"));
    Combo2->setAccessibleName(QStringLiteral("Valuta 2"));
    ImA->setAccessibleName(QStringLiteral("A"));
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSPanel1);
    layout->addSpacing(6);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(SSCommand1, 0, Qt::AlignRight);
}

void Convertore::Form_Load() {
    caricaTabellaValute();
    for (int slot = 1; slot <= 15; ++slot) {
        const QString linea = lineaValuta(stato().TabellaValute[slot]);
        Combo1->addItem(linea, slot);
        Combo2->addItem(linea, slot);
    }
    Combo1->setCurrentIndex(0);
    Combo2->setCurrentIndex(0);
}

void Convertore::SSCommand1_Click() {
    if (ImDa->testo().trimmed().isEmpty()) return;
    const double cambio1 = cambioDellaLinea(Combo1->currentText());
    const double cambio2 = cambioDellaLinea(Combo2->currentText());
    const std::optional<double> importo = parseAmount(ImDa->testo(), true);
    const std::optional<Conversione> fatta =
        importo ? convertiImporto(*importo, cambio1, cambio2) : std::nullopt;
    if (!fatta) {
        Euros->clear();
        ImA->clear();
        if (!importo)
            messageBox(amountErrorMessage(true), MessageButtons::Ok, MessageIcon::Exclamation,
                       QStringLiteral("Attenzione"));
        return;
    }
    Euros->setImporto(fatta->euro, FormatoConversione);
    ImA->setImporto(fatta->risultato, FormatoConversione);
}

} // namespace qv
