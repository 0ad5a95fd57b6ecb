// Form13: "Situazione Assegni emessi", the cheques out and the cheques in hand.
#include "cheques/situation_form.h"

#include "cheques/cheque_lists.h"
#include "common/shared_state.h"
#include "ledger/open_account.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// Headings laid over a fixed-pitch list, each starting at its column.
// Headings in the list's fixed-pitch font, in bold, starting where its text does.
QLabel* intestazioni(const QString& testo, const ListBox* lista, QWidget* parent) {
    auto* label = new QLabel(testo, parent);
    QFont grassetto = lista->font();
    grassetto.setBold(true);
    label->setFont(grassetto);
    label->setContentsMargins(lista->frameWidth() + 3, 0, 0, 0);
    return label;
}

ListBox* listaAssegni(const QString& nome, int colonne, QWidget* parent) {
    auto* lista = new ListBox(nome, parent);
    lista->setFixedPitch(true);
    const QFontMetrics metriche(lista->font());
    lista->setMinimumWidth(metriche.horizontalAdvance(QString(colonne + 4, QLatin1Char('0'))));
    lista->setMinimumHeight(metriche.height() * 14);
    return lista;
}

} // namespace

Form13::Form13(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form13"));
    setCaption(QStringLiteral("Situazione Assegni emessi"));
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });
    // The lists follow the leaf table whenever the cheques change or the account loads.
    connect(&contoAperto(), &ContoAperto::assegniCambiati, this,
            handler([this] { riempiElenchi(); }));
    connect(&contoAperto(), &ContoAperto::caricato, this, handler([this] { riempiElenchi(); }));

    auto* fuori = new QGroupBox(QStringLiteral("Assegni fuori"), this);
    List1 = listaAssegni(QStringLiteral("List1"), 40, fuori);
    // Over "0003 05/11/2000        501           250": the book, the date, the cheque
    // number's 11 places and the amount's 12.
    const QString testoFuori = QStringLiteral("N.Car. Data").leftJustified(15) +
                               QStringLiteral("Nr. Assegno") + QStringLiteral("  ") +
                               QStringLiteral("Importo").rightJustified(12);
    auto* colonneFuori = intestazioni(testoFuori, List1, fuori);
    auto* layoutFuori = new QVBoxLayout(fuori);
    layoutFuori->addWidget(colonneFuori);
    layoutFuori->addWidget(List1, 1);

    auto* inMano = new QGroupBox(QStringLiteral("Assegni in mano"), this);
    List2 = listaAssegni(QStringLiteral("List2"), 16, inMano);
    // Over "0003        501 ": the book and the cheque number's 10 places.
    auto* colonneInMano = intestazioni(QStringLiteral("Nr.Car Nr. Assegno"), List2, inMano);
    auto* layoutInMano = new QVBoxLayout(inMano);
    layoutInMano->addWidget(colonneInMano);
    layoutInMano->addWidget(List2, 1);

    Command3D4 = new QPushButton(QStringLiteral("Conferma/Uscita"), this);
    Command3D4->setObjectName(QStringLiteral("Command3D4"));
    Command3D4->setToolTip(QStringLiteral("Conferma/Uscita"));
    Command3D4->setDefault(true);
    connect(Command3D4, &QPushButton::clicked, this, handler([this] { Command3D4_Click(); }));

    auto* liste = new QHBoxLayout;
    liste->addWidget(fuori, 5);
    liste->addWidget(inMano, 2);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(Command3D4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(liste, 1);
    layout->addLayout(pulsanti);
}

void Form13::Form_Load() {
    applicaColoriElenchi({List1, List2});
    riempiElenchi();
}

void Form13::riempiElenchi() {
    const auto comeRighe = [](const std::vector<RigaAssegno>& righe) {
        std::vector<ListItem> items;
        items.reserve(righe.size());
        for (const RigaAssegno& r : righe)
            items.push_back({r.testo, r.foglio});
        return items;
    };
    const SituazioneAssegni situazione = situazioneAssegni();
    List1->setItems(comeRighe(situazione.fuori));
    List2->setItems(comeRighe(situazione.inMano));
}

void Form13::Command3D4_Click() {
    formHost().hide(*this);
}

void mostraSituazioneAssegni() {
    formHost().showModal(formHost().form<Form13>());
}

} // namespace qv
