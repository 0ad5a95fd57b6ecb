// Form17: "Assegni annullati", the list of the annulled cheques.
#include "cheques/annulled_form.h"

#include "cheques/cheque_lists.h"
#include "common/shared_state.h"
#include "ledger/open_account.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/requests.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

using StampaRegistrata = Requests<std::function<void()>, Form17>;

} // namespace

Form17::Form17(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form17"));
    setCaption(QStringLiteral("Assegni annullati"));
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });
    // The list follows the leaf table whenever the cheques change or the account loads.
    connect(&contoAperto(), &ContoAperto::assegniCambiati, this,
            handler([this] { riempiElenco(); }));
    connect(&contoAperto(), &ContoAperto::caricato, this, handler([this] { riempiElenco(); }));

    auto* titolo = new QLabel(QStringLiteral("ELENCO ASSEGNI ANNULLATI"), this);
    titolo->setObjectName(QStringLiteral("Label1"));
    QFont grande = titolo->font();
    grande.setBold(true);
    grande.setPointSizeF(grande.pointSizeF() * 1.3);
    titolo->setFont(grande);
    titolo->setAlignment(Qt::AlignCenter);

    List1 = new ListBox(QStringLiteral("List1"), this);
    List1->setFixedPitch(true);
    const QFontMetrics metriche(List1->font());
    List1->setMinimumWidth(metriche.horizontalAdvance(QString(36, QLatin1Char('0'))));
    List1->setMinimumHeight(metriche.height() * 16);

    // Over "0003 05/11/2000        501": the book, the date and the cheque number's 11
    // places.
    auto* colonne = new QLabel(
        QStringLiteral("N.Car Data").leftJustified(15) + QStringLiteral("Nr. Assegno"), this);
    QFont intestazione = List1->font();
    intestazione.setBold(true);
    colonne->setFont(intestazione);
    colonne->setContentsMargins(List1->frameWidth() + 3, 0, 0, 0);

    PulStampe = new QPushButton(QStringLiteral("Stampa"), this);
    PulStampe->setObjectName(QStringLiteral("PulStampe"));
    PulStampe->setToolTip(QStringLiteral("Stampa"));
    Command3D1 = new QPushButton(QStringLiteral("Uscita"), this);
    Command3D1->setObjectName(QStringLiteral("Command3D1"));
    Command3D1->setToolTip(QStringLiteral("Chiusura maschera"));
    Command3D1->setDefault(true);
    connect(Command3D1, &QPushButton::clicked, this, handler([this] { Command3D1_Click(); }));
    connect(PulStampe, &QPushButton::clicked, this, handler([this] { PulStampe_Click(); }));

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(PulStampe);
    pulsanti->addStretch(1);
    pulsanti->addWidget(Command3D1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titolo);
    layout->addSpacing(6);
    layout->addWidget(colonne);
    layout->addWidget(List1, 1);
    layout->addLayout(pulsanti);
}

void Form17::Form_Load() {
    applicaColoriElenchi({List1});
    riempiElenco();
}

void Form17::riempiElenco() {
    std::vector<ListItem> righe;
    for (const RigaAssegno& r : righeAssegniAnnullati())
        righe.push_back({r.testo, r.foglio});
    List1->setItems(std::move(righe));
}

void Form17::impostaStampa(std::function<void()> azione) {
    StampaRegistrata::set(std::move(azione));
}

void Form17::PulStampe_Click() {
    if (const auto& stampa = StampaRegistrata::get()) stampa();
}

void Form17::Command3D1_Click() {
    formHost().hide(*this);
}

void mostraAssegniAnnullati() {
    ElencaAssegniAnnullati();
    formHost().showModal(formHost().form<Form17>());
}

} // namespace qv
