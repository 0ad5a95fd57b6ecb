#include "causali_maintenance_form.h"

#include "causali.h"
#include "common/shared_state.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/message_box.h"
#include "platform/program_end.h"
#include "platform/requests.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

using AiutoRegistrato = Requests<std::function<void()>, ManutCaus>;

// Moves line `linea` of one list to its sorted place in the other, with its row.
void spostaLinea(ListBox* da, ListBox* a, int linea) {
    if (linea < 0 || linea >= da->count()) return;
    a->addItem(da->text(linea), da->data(linea));
    da->removeRow(linea);
}

ListBox* elencoCausali(const QString& nome, QWidget* parent) {
    auto* list = new ListBox(nome, parent);
    list->setSorted(true);
    list->setFixedPitch(true);
    list->setMinimumSize(300, 260);
    return list;
}

} // namespace

ManutCaus::ManutCaus(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("ManutCaus"));
    setCaption(QStringLiteral("Manutenzione causali"));

    Label1 = new QLabel(QStringLiteral("Causali presenti in archivio"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Causali da registrare"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ElencoCausali = elencoCausali(QStringLiteral("ElencoCausali"), this);
    List1 = elencoCausali(QStringLiteral("List1"), this);
    Label1->setBuddy(ElencoCausali);
    Label2->setBuddy(List1);

    Saldi = new QPushButton(QStringLiteral("Conferma"), this);
    Saldi->setObjectName(QStringLiteral("Saldi"));
    esci = new QPushButton(QStringLiteral("Uscita"), this);
    esci->setObjectName(QStringLiteral("esci"));
    SSCommand1 = new QPushButton(QStringLiteral("Aiuto"), this);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));

    connect(ElencoCausali, &ListBox::rowDoubleClicked, this,
            handler([this] { ElencoCausali_DblClick(); }));
    connect(List1, &ListBox::rowDoubleClicked, this, handler([this] { List1_DblClick(); }));
    connect(Saldi, &QPushButton::clicked, this, handler([this] { Saldi_Click(); }));
    connect(esci, &QPushButton::clicked, this, handler([this] { esci_Click(); }));
    connect(SSCommand1, &QPushButton::clicked, this, handler([this] { SSCommand1_Click(); }));

    auto* elenchi = new QGridLayout;
    elenchi->addWidget(Label1, 0, 0);
    elenchi->addWidget(Label2, 0, 1);
    elenchi->addWidget(ElencoCausali, 1, 0);
    elenchi->addWidget(List1, 1, 1);
    elenchi->setRowStretch(1, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(Saldi);
    pulsanti->addWidget(SSCommand1);
    pulsanti->addStretch(1);
    pulsanti->addWidget(esci);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(elenchi, 1);
    layout->addSpacing(6);
    layout->addLayout(pulsanti);
}

void ManutCaus::Form_Load() {
    applicaColoriElenchi({ElencoCausali, List1});
    if (const Esito letto = rileggiCausali(); !letto.ok())
        messageBox(
            QStringLiteral("Impossibile leggere l'archivio delle causali: %1").arg(letto.testo),
            MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("ERRORE"));
    const auto& s = stato();
    std::vector<ListItem> righe;
    for (int riga = 1; riga <= s.NumeroCausali; ++riga)
        righe.push_back({lineaManutenzione(s.TabellaCausali[static_cast<size_t>(riga)]), riga});
    ElencoCausali->setItems(std::move(righe));
    List1->clear();
}

void ManutCaus::ElencoCausali_DblClick() {
    spostaLinea(ElencoCausali, List1, ElencoCausali->currentRow());
}

void ManutCaus::List1_DblClick() {
    spostaLinea(List1, ElencoCausali, List1->currentRow());
}

void ManutCaus::Saldi_Click() {
    // Nothing chosen to keep is a slip, not a wish to lose every causale.
    if (List1->count() == 0) {
        messageBox(messaggioNessunaCausaleDaRegistrare(), MessageButtons::Ok,
                   MessageIcon::Exclamation, QStringLiteral("ERRORE"));
        return;
    }
    // The causali the program needs are kept whatever was chosen: their lines join the
    // list of those to write, where the user sees them before answering.
    const auto& s = stato();
    for (int linea = ElencoCausali->count() - 1; linea >= 0; --linea) {
        const int riga = ElencoCausali->data(linea);
        if (riga >= 1 && riga < static_cast<int>(s.TabellaCausali.size()) &&
            causaleNecessaria(s.TabellaCausali[static_cast<size_t>(riga)].codiceCausale))
            spostaLinea(ElencoCausali, List1, linea);
    }
    if (messageBox(QStringLiteral("L'operazione modificherà l'archivio delle causali. "
                                  "Vuoi continuare?"),
                   MessageButtons::OkCancel, MessageIcon::Exclamation,
                   QStringLiteral("ATTENZIONE!"), MessageAnswer::Cancel) != MessageAnswer::Ok)
        return;

    // Each line stands for its own row: the rows to keep, in the order of the list.
    std::vector<int> righe;
    righe.reserve(static_cast<size_t>(List1->count()));
    for (const ListItem& item : List1->items())
        righe.push_back(item.data);
    if (const Esito riscritto = riscriviArchivioCausali(righe); !riscritto.ok()) {
        messageBox(messaggioErroreCausali(riscritto.testo), MessageButtons::Ok,
                   MessageIcon::Exclamation, QStringLiteral("ERRORE"));
        return;
    }
    // The other forms' causale lists are not rebuilt: the program ends, and the next
    // start reads the new archive.
    messageBox(QStringLiteral("CHIUSURA PROGRAMMA"), MessageButtons::Ok);
    endProgram();
}

void ManutCaus::esci_Click() {
    formHost().unload(*this);
}

void ManutCaus::impostaRichiestaAiuto(std::function<void()> richiesta) {
    AiutoRegistrato::set(std::move(richiesta));
}

void ManutCaus::SSCommand1_Click() {
    if (const auto& aiuto = AiutoRegistrato::get()) aiuto();
}

} // namespace qv
