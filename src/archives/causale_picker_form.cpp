#include "causale_picker_form.h"

#include "causali.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

FORM12::FORM12(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("FORM12"));
    setCaption(QStringLiteral("Elenco Causali"));
    setCloseHides(true);

    List1 = new ListBox(QStringLiteral("List1"), this);
    List1->setSorted(true);
    List1->setFixedPitch(true);
    List1->setMinimumSize(330, 240);

    OK = new QPushButton(QStringLiteral("Conferma"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setEnabled(false);
    Command2 = new QPushButton(QStringLiteral("Uscita"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    connect(List1, &ListBox::rowClicked, this, handler([this] { List1_Click(); }));
    connect(List1, &ListBox::rowDoubleClicked, this, handler([this] { List1_DblClick(); }));
    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    connect(Command2, &QPushButton::clicked, this, handler([this] { Command2_Click(); }));

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(OK);
    pulsanti->addStretch(1);
    pulsanti->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1, 1);
    layout->addLayout(pulsanti);
}

void FORM12::Form_Load() {
    applicaColoriElenchi({List1});
    std::vector<ListItem> righe;
    const auto& s = stato();
    const int n = std::min<int>(s.NumeroCausali, static_cast<int>(s.TabellaCausali.size()) - 1);
    for (int riga = 1; riga <= n; ++riga)
        righe.push_back({lineaCausale(s.TabellaCausali[static_cast<size_t>(riga)]), riga});
    List1->setItems(std::move(righe));
}

void FORM12::List1_Click() {
    OK->setEnabled(true);
}

void FORM12::List1_DblClick() {
    OK->setEnabled(true);
    prendiScelta();
}

void FORM12::OK_Click() {
    prendiScelta();
}

void FORM12::Command2_Click() {
    formHost().hide(*this);
    stato().ModoElencoCausali = 0;
}

std::optional<VoceCausale> FORM12::causaleSelezionata() const {
    const int linea = List1->currentRow();
    if (linea < 0) return std::nullopt;
    const auto& s = stato();
    const int riga = List1->data(linea);
    if (riga < 1 || riga > s.NumeroCausali || riga >= static_cast<int>(s.TabellaCausali.size()))
        return std::nullopt;
    VoceCausale voce = s.TabellaCausali[static_cast<size_t>(riga)];
    voce.codiceCausale = normalizzaCodiceCausale(voce.codiceCausale);
    voce.descrizione = withoutTrailingBlanks(voce.descrizione);
    return voce;
}

bool FORM12::RiportaCausaleScelta() {
    const auto voce = causaleSelezionata();
    if (!voce) return false;
    auto& s = stato();
    const qint16 modo = s.ModoElencoCausali;
    if (modo != 1 && modo != 2) s.IndiceCausaleScelta = 0;
    emit causaleScelta(modo, *voce);
    return true;
}

void FORM12::prendiScelta() {
    if (!causaleSelezionata()) return;
    // Hidden first, so that the caller, receiving the causale, can take the focus back.
    formHost().hide(*this);
    RiportaCausaleScelta();
    stato().ModoElencoCausali = 0;
    List1->setCurrentRow(-1);
    OK->setEnabled(false);
}

void FORM12::closeEvent(QCloseEvent* event) {
    Form::closeEvent(event);
    // Closing the window is one more way of leaving the picker.
    stato().ModoElencoCausali = 0;
}

} // namespace qv
