// Form28: "Altre opzioni", what a free commission of the conditions editor is computed on.
#include "conditions/other_options_form.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

Form28::Form28(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form28"));
    setCaption(QStringLiteral("Altre opzioni"));
    // The close box does what " Uscita " does.
    setCloseHides(true);

    auto* riquadro = new QGroupBox(QStringLiteral("Applicabile a:"), this);
    auto* colonna = new QVBoxLayout(riquadro);
    const std::array<QString, 6> voci{
        QStringLiteral("Interessi creditori"), QStringLiteral("Interessi debitori"),
        QStringLiteral("Eccedenza fido"),      QStringLiteral("Numeri creditori"),
        QStringLiteral("Numeri debitori"),     QStringLiteral("Massimo scoperto")};
    for (size_t i = 0; i < Option1.size(); ++i) {
        Option1[i] = new QRadioButton(voci[i], riquadro);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        colonna->addWidget(Option1[i]);
    }
    Option1[0]->setChecked(true);

    OK = new QPushButton(QStringLiteral("Conferma"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setAutoDefault(true);
    Esc = new QPushButton(QStringLiteral(" Uscita "), this);
    Esc->setObjectName(QStringLiteral("Esc"));
    Esc->setAutoDefault(true);
    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    connect(Esc, &QPushButton::clicked, this, handler([this] { Esc_Click(); }));

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(OK);
    pulsanti->addWidget(Esc);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(riquadro);
    layout->addLayout(pulsanti);
}

void Form28::preparaScelta(const QString& codice) {
    confermata_.reset();
    bool numero = false;
    const int k = codice.trimmed().toInt(&numero);
    if (numero && k >= 1 && k <= 6) Option1[size_t(k - 1)]->setChecked(true);
}

void Form28::OK_Click() {
    QString codice;
    for (size_t i = 0; i < Option1.size(); ++i)
        if (Option1[i]->isChecked()) codice = QString::number(i + 1);
    confermata_ = codice;
    formHost().hide(*this);
}

void Form28::Esc_Click() {
    confermata_.reset();
    formHost().hide(*this);
}

} // namespace qv
