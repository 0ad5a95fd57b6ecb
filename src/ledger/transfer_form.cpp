// Giroconto: "Giroconto", the dialog that moves a new movement to another account.
#include "ledger/transfer_form.h"

#include "common/shared_state.h"
#include "common/text_codec.h"
#include "platform/desktop.h"
#include "platform/list_box.h"
#include "platform/message_box.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

QString lineaGiroconto(const Conto& conto) {
    const QString codice = withoutTrailingBlanks(conto.codiceConto);
    const qsizetype blanks = qMax<qsizetype>(1, 13 - codice.size());
    return codice + QString(blanks, QLatin1Char(' ')) + QStringLiteral(" - ") +
           conto.nomeBanca.leftJustified(45, QLatin1Char(' '), true);
}

Giroconto::Giroconto(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Giroconto"));
    setCaption(QStringLiteral("Giroconto"));

    Label1 = new QLabel(QStringLiteral("giroconto da:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    contoAperto = new QLabel(this);
    contoAperto->setObjectName(QStringLiteral("contoAperto"));
    contoAperto->setFrameShape(QFrame::StyledPanel);
    contoAperto->setFrameShadow(QFrame::Sunken);
    contoAperto->setMinimumWidth(320);
    QFont bold = contoAperto->font();
    bold.setBold(true);
    contoAperto->setFont(bold);

    auto* verso = new QLabel(QStringLiteral("a:"), this);
    Combo1 = new ComboBox(QStringLiteral("Combo1"), this);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPointSize(Combo1->font().pointSize());
    Combo1->setFont(courier);
    Combo1->setMinimumContentsLength(61);
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    verso->setBuddy(Combo1);

    OK = new QPushButton(QStringLiteral("Conferma"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    Command3D1 = new QPushButton(QStringLiteral("Uscita"), this);
    Command3D1->setObjectName(QStringLiteral("Command3D1"));
    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    connect(Command3D1, &QPushButton::clicked, this, handler([this] { Command3D1_Click(); }));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(contoAperto, 0, 1);
    grid->addWidget(verso, 1, 0, Qt::AlignRight);
    grid->addWidget(Combo1, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OK);
    buttons->addWidget(Command3D1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void Giroconto::Form_Load() {
    setHourglass(false);
    const StatoProgramma& s = stato();
    // The open account's bank name as the main window shows it; without one, as the
    // account table holds it.
    if (!s.TestoDescConto.isEmpty())
        contoAperto->setText(s.TestoDescConto);
    else if (s.IndiceContoAttivo >= 1 && s.IndiceContoAttivo < qsizetype(s.TabellaConti.size()))
        contoAperto->setText(s.TabellaConti[size_t(s.IndiceContoAttivo)].nomeBanca.trimmed());
    Combo1->clear();
    const int ultima = qMin<int>(s.NumeroConti, int(s.TabellaConti.size()) - 1);
    for (int riga = 1; riga <= ultima; ++riga)
        Combo1->addItem(lineaGiroconto(s.TabellaConti[size_t(riga)]), riga);
    Combo1->setCurrentIndex(primoAltroConto());
}

int Giroconto::primoAltroConto() const {
    // The open account is listed too, but a transfer goes to another one: the first
    // other account is the one proposed.
    const StatoProgramma& s = stato();
    const QString aperto = s.CodiceContoAttivo.trimmed();
    for (int i = 0; i < Combo1->count(); ++i) {
        const int riga = Combo1->data(i);
        if (riga >= 1 && riga < int(s.TabellaConti.size()) &&
            s.TabellaConti[size_t(riga)].codiceConto.trimmed() != aperto)
            return i;
    }
    return Combo1->count() > 0 ? 0 : -1;
}

namespace {
// What the dialog answers until a transfer is made: the user left it.
Esito nessunGiroconto() {
    return Esito::rifiutato({}, QStringLiteral("Giroconto"));
}
} // namespace

void Giroconto::preparaGiroconto(Movimento* pendente, EsitoCon<GirocontoScritto>* esito) {
    pendente_ = pendente;
    esito_ = esito;
}

void Giroconto::OK_Click() {
    Hourglass hourglass;
    const StatoProgramma& s = stato();
    const int indice = Combo1->currentIndex();
    const int riga = indice >= 0 ? Combo1->data(indice) : 0;
    if (!pendente_ || !esito_ || riga < 1 || riga >= int(s.TabellaConti.size())) return;
    const QString destinazione = s.TabellaConti[size_t(riga)].codiceConto.trimmed();
    const QString origine = s.CodiceContoAttivo.trimmed();
    esito_->esito = nessunGiroconto();

    if (destinazione == origine) {
        // Refused, but nothing typed is lost: the dialog stays, proposing another
        // account, and the entry form keeps its movement until a transfer is made or
        // the dialog is left.
        setHourglass(false);
        messageBox(messaggioStessoConto(), MessageButtons::Ok, MessageIcon::Exclamation,
                   QStringLiteral("ERRORE"));
        Combo1->setCurrentIndex(primoAltroConto());
        Combo1->setFocus();
        return;
    }

    esito_->esito =
        scriviGiroconto(s.PercorsoDati, destinazione, origine, *pendente_, &esito_->valore);
    if (!esito_->ok()) {
        setHourglass(false);
        messageBox(messaggioGirocontoNonRiuscito(esito_->esito.testo), MessageButtons::Ok,
                   MessageIcon::Critical, QStringLiteral("Errore"));
        formHost().unload(*this);
        return;
    }
    pendente_->descrizione = descrizioneGirocontoUscita(destinazione, pendente_->descrizione);
    pendente_->entrataUscita = QStringLiteral("U");
    formHost().unload(*this);
}

void Giroconto::Command3D1_Click() {
    if (esito_) esito_->esito = nessunGiroconto();
    formHost().unload(*this);
}

EsitoCon<GirocontoScritto> chiediGiroconto(Movimento& pendente) {
    EsitoCon<GirocontoScritto> esito(nessunGiroconto());
    // Each showing starts from a freshly loaded dialog.
    if (Giroconto* vecchio = formHost().loaded<Giroconto>()) formHost().unload(*vecchio);
    QPointer<Giroconto> dialogo = &formHost().form<Giroconto>();
    dialogo->preparaGiroconto(&pendente, &esito);
    formHost().showModal(*dialogo);
    if (dialogo) {
        dialogo->preparaGiroconto(nullptr, nullptr);
        if (dialogo->isLoaded()) formHost().unload(*dialogo);
    }
    return esito;
}

} // namespace qv
