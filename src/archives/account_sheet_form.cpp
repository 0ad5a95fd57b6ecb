#include "account_sheet_form.h"

#include "account_selection_form.h"
#include "common/amounts.h"
#include "common/shared_state.h"
#include "platform/desktop.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "shell/startup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// The row riga of TabellaConti when it is an account of the table.
const Conto* contoDellaRiga(int riga) {
    const StatoProgramma& s = stato();
    if (riga < 1 || riga > s.NumeroConti || riga >= int(s.TabellaConti.size())) return nullptr;
    const Conto& conto = s.TabellaConti[riga];
    if (conto.codiceConto.trimmed().isEmpty()) return nullptr;
    return &conto;
}

} // namespace

bool apriContoDellaRiga(int riga) {
    const Conto* conto = contoDellaRiga(riga);
    if (!conto) return false;
    const RichiesteConti& richieste = richiesteConti();
    if (!richieste.esaminaConto || !richieste.apriConto) return false;
    // The account's files are judged before it opens: one that cannot be read stays
    // closed, and a damaged count is rebuilt only when the user says so.
    const EsameApertura esame = richieste.esaminaConto(stato().PercorsoDati, conto->codiceConto);
    const QString titolo = QStringLiteral("Attenzione");
    if (esame.illeggibili) {
        messageBox(*esame.illeggibili +
                       QStringLiteral("\nIl conto non è stato aperto e nessun file è stato "
                                      "modificato."),
                   MessageButtons::Ok, MessageIcon::Exclamation, titolo);
        return false;
    }
    if (esame.domandaRicostruzione) {
        if (messageBox(*esame.domandaRicostruzione, MessageButtons::YesNo, MessageIcon::Exclamation,
                       titolo, MessageAnswer::No) != MessageAnswer::Yes)
            return false;
        if (const Esito ricostruito = esame.ricostruisci(); !ricostruito.ok()) {
            messageBox(ricostruito.testo + QStringLiteral("\nIl conto non è stato aperto."),
                       MessageButtons::Ok, MessageIcon::Exclamation, titolo);
            return false;
        }
    }
    Hourglass hourglass;
    // The main window shows the data folder with the code, the bank name and the credit
    // line in the display currency in force now, and enables the account's commands.
    return richieste.apriConto(riga);
}

Form10::Form10(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form10"));
    setCaption(QStringLiteral("Selezione Conto"));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    int row = 0;
    // A read-only field with its caption; `span` columns wide, `width` characters.
    auto field = [&](QLineEdit*& member, const char* name, const QString& caption, int column,
                     int span, int width) {
        member = new QLineEdit(this);
        member->setObjectName(QString::fromLatin1(name));
        member->setReadOnly(true);
        member->setMinimumWidth(member->fontMetrics().averageCharWidth() * (width + 2));
        auto* label = new QLabel(caption, this);
        label->setBuddy(member);
        grid->addWidget(label, row, column);
        grid->addWidget(member, row, column + 1, 1, span);
    };
    field(CodConto, "CodConto", QStringLiteral("Nr. Conto"), 0, 1, 12);
    ++row;
    field(TipoConto, "TipoConto", QStringLiteral("Tipo di conto"), 0, 3, 30);
    ++row;
    field(NomeBanca, "NomeBanca", QStringLiteral("Banca"), 0, 3, 45);
    ++row;
    field(IndBanca, "IndBanca", QStringLiteral("Indirizzo"), 0, 3, 45);
    ++row;
    field(CapBanca, "CapBanca", QStringLiteral("C.A.P:"), 0, 1, 5);
    field(LocBanca, "LocBanca", QStringLiteral("Località"), 2, 1, 25);
    ++row;
    field(ProvBanca, "ProvBanca", QStringLiteral("Prov."), 0, 1, 2);
    field(abi, "abi", QStringLiteral("Cod. A.B.I."), 2, 1, 10);
    ++row;
    field(Fido, "Fido", QStringLiteral("Fido"), 0, 1, 15);
    Fido->setAlignment(Qt::AlignRight);
    grid->setColumnStretch(3, 1);

    onKeyPress(CodConto, [this](int& keyAscii) { CodConto_KeyPress(keyAscii); });

    Saldi = new QPushButton(QStringLiteral("Conferma"), this);
    Saldi->setObjectName(QStringLiteral("Saldi"));
    connect(Saldi, &QPushButton::clicked, this, handler([this] { Saldi_Click(); }));
    selezione = new QPushButton(QStringLiteral("Archivio"), this);
    selezione->setObjectName(QStringLiteral("selezione"));
    connect(selezione, &QPushButton::clicked, this, handler([this] { selezione_Click(); }));
    Command3 = new QPushButton(QStringLiteral("Uscita"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    connect(Command3, &QPushButton::clicked, this, handler([this] { Command3_Click(); }));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(selezione);
    buttons->addStretch(1);
    buttons->addWidget(Saldi);
    buttons->addWidget(Command3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void Form10::mostraConto(int riga, Modo modo) {
    modo_ = modo;
    const Conto* conto = contoDellaRiga(riga);
    if (!conto) {
        svuotaCampi();
        return;
    }
    riga_ = riga;
    CodConto->setText(conto->codiceConto.trimmed());
    TipoConto->setText(conto->tipoConto.trimmed());
    NomeBanca->setText(conto->nomeBanca.trimmed());
    IndBanca->setText(conto->indirizzo.trimmed());
    CapBanca->setText(conto->cap.trimmed());
    LocBanca->setText(conto->localita.trimmed());
    ProvBanca->setText(conto->provincia.trimmed());
    abi->setText(conto->codiceAbi.trimmed());
    const StatoProgramma& s = stato();
    Fido->setText(formatAmount(conto->fido, s.FattoreValuta, s.FormatoImporti));
}

void Form10::svuotaCampi() {
    riga_ = 0;
    for (QLineEdit* f :
         {CodConto, TipoConto, NomeBanca, IndBanca, CapBanca, LocBanca, ProvBanca, abi, Fido})
        f->clear();
}

void Form10::contoInChiusura() {
    unloadIfLoaded(*this);
}

void Form10::Form_Activate() {
    Saldi->setEnabled(true);
}

void Form10::CodConto_KeyPress(int& keyAscii) {
    if (keyAscii != 13 || !CodConto->text().isEmpty()) return;
    messageBox(QStringLiteral("Campo obbligatorio"), MessageButtons::Ok, MessageIcon::Exclamation,
               QStringLiteral("ERRORE"));
    CodConto->clear();
    CodConto->setFocus();
    keyAscii = 0;
}

void Form10::Saldi_Click() {
    if (modo_ == Modo::Apertura) {
        // The account of the row chosen, and only while that row still holds
        // the account the sheet shows.
        const Conto* conto = contoDellaRiga(riga_);
        if (conto && conto->codiceConto.trimmed() == CodConto->text().trimmed()) {
            // The movement form's activation loads the account's files.
            if (apriContoDellaRiga(riga_)) emit movimentiRichiesti();
        } else {
            messageBox(messaggioContoNonTrovato());
        }
    }
    modo_ = Modo::Lettura;
    formHost().unload(*this);
}

void Form10::Command3_Click() {
    modo_ = Modo::Lettura;
    formHost().unload(*this);
}

void Form10::selezione_Click() {
    formHost().show(formHost().form<Form7>());
}

} // namespace qv
