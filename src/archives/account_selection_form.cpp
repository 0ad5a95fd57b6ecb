#include "account_selection_form.h"

#include "shell/startup.h"

#include "account_form.h"
#include "account_sheet_form.h"
#include "archives/accounts.h"
#include "common/folder_lock.h"
#include "common/paths.h"
#include "common/shared_state.h"
#include "platform/desktop.h"
#include "platform/errori_file.h"
#include "platform/folder_tree.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/message_box.h"
#include "platform/requests.h"
#include "platform/result_box.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

// The number of the error that keeps folder from being a data folder; 0 when
// it can be taken.
qint32 erroreCartella(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir()) return 76;
    return 0;
}

} // namespace

void impostaRichiesteConti(RichiesteConti richieste) {
    Requests<RichiesteConti>::set(std::move(richieste));
}

const RichiesteConti& richiesteConti() {
    return Requests<RichiesteConti>::get();
}

std::vector<ListItem> lineeConti() {
    std::vector<ListItem> linee;
    for (RigaConto& r : righeConti())
        linee.push_back({std::move(r.testo), r.riga});
    return linee;
}

void riempiListeConti() {
    // A list not yet made is filled from the accounts when its window is made.
    Form2* gestione = formHost().loaded<Form2>();
    Form7* scelta = formHost().loaded<Form7>();
    if (!gestione && !scelta) return;
    std::vector<ListItem> linee = lineeConti();
    if (gestione) gestione->ListaConti->setItems(linee);
    if (scelta) scelta->List1->setItems(std::move(linee));
}

namespace {

// Empties the account lists of the windows that are made.
void svuotaListeConti() {
    if (Form2* gestione = formHost().loaded<Form2>()) gestione->ListaConti->clear();
    if (Form7* scelta = formHost().loaded<Form7>()) scelta->List1->clear();
}

} // namespace

void CaricaElencoConti() {
    for (;;) {
        svuotaListeConti();
        const LetturaConti lettura = leggiArchivioConti();
        if (!lettura.ripristino.isEmpty()) {
            setHourglass(false);
            messageBox(lettura.ripristino, MessageButtons::Ok, MessageIcon::Exclamation,
                       QStringLiteral("Attenzione"));
        }
        if (!lettura.avviso.isEmpty())
            messageBox(lettura.avviso, MessageButtons::Ok, MessageIcon::Exclamation,
                       QStringLiteral("Attenzione"));
        switch (lettura.stato) {
        case LetturaConti::Stato::NessunaCartella:
            return;
        case LetturaConti::Stato::Danneggiato: {
            // The damaged count is rebuilt only when the user says so.
            setHourglass(false);
            if (messageBox(domandaRicostruzioneConti(lettura.esame), MessageButtons::YesNo,
                           MessageIcon::Exclamation, QStringLiteral("Attenzione"),
                           MessageAnswer::No) != MessageAnswer::Yes)
                return;
            const Esito ricostruito = ricostruisciConteggioConti(lettura.esame);
            if (!ricostruito.ok()) {
                showResult(ricostruito);
                return;
            }
            continue;
        }
        case LetturaConti::Stato::Illeggibile: {
            // The error dialog: Retry reads again from the start, anything else ends the
            // load with no account loaded.
            const qint32 numero = lettura.osErrno != 0 ? numeroErroreFile(lettura.osErrno)
                                                       : numeroErroreFile(lettura.errore);
            const qint16 codice = ErroriFile(numero, percorsoConti());
            if (codice == 0) continue;
            if (codice != 1) {
                setHourglass(false);
                messageBox(closingMessage(codice));
            }
            return;
        }
        case LetturaConti::Stato::Letto:
            riempiListeConti();
            return;
        }
        return;
    }
}

bool prendiCartellaDati(const QString& cartella, const std::function<void(const QString&)>& mostra,
                        bool ripiego) {
    const QString folder = folderWithSlash(cartella);
    // No data folder in use (another program held the one of the settings): nothing
    // is taken until the user chooses one.
    if (folder.isEmpty()) return false;

    // The folder must exist before anything changes. The answer to the error
    // decides: look again (a drive being mounted), carry on, or give up;
    // giving up falls back to the home folder, once.
    for (qint32 errore = erroreCartella(folder); errore != 0; errore = erroreCartella(folder)) {
        const qint16 codice = ErroriFile(errore);
        if (codice == 0) continue;
        if (codice == 1) break;
        setHourglass(false);
        messageBox(closingMessage(codice));
        if (codice != 2 || !ripiego) return false;
        const QString home = folderWithSlash(QDir::homePath());
        mostra(home);
        return prendiCartellaDati(home, mostra, false);
    }

    // A folder another running Quorvanta holds is not taken: the folder in use, its
    // account and its lock stay as they are.
    const QString prima = stato().PercorsoDati;
    if (cartellaInUsoAltrove(folder)) {
        setHourglass(false);
        messageBox(testoCartellaInUso(folder), MessageButtons::Ok, MessageIcon::Exclamation,
                   QStringLiteral("Attenzione"));
        if (!prima.isEmpty()) mostra(prima);
        return false;
    }

    mostra(folder);
    if (const auto& chiudi = richiesteConti().chiudiConto) chiudi();
    // The new folder's lock is taken before the old one is let go.
    const Esito blocco = bloccaCartellaDati(folder);
    if (!blocco.testo.isEmpty()) {
        setHourglass(false);
        messageBox(blocco.testo, MessageButtons::Ok, MessageIcon::Exclamation,
                   QStringLiteral("Attenzione"));
    }
    if (!blocco.ok()) {
        // Taken by another program a moment ago: the old folder stays in use.
        if (!prima.isEmpty()) mostra(prima);
        Hourglass hourglass;
        CaricaElencoConti();
        return false;
    }
    // The account is closed in the folder it belonged to; the main window then
    // shows the data folder now in force.
    if (const auto& cambia = richiesteConti().cambiaCartellaDati) cambia(folder);
    Hourglass hourglass;
    CaricaElencoConti();
    return true;
}

int rigaDellaLinea(const ListItem& line) {
    const QString code = codiceDellaLinea(line.text);
    if (code.isEmpty()) return 0;
    const StatoProgramma& s = stato();
    const int last = std::min<int>(s.NumeroConti, int(s.TabellaConti.size()) - 1);
    if (line.data >= 1 && line.data <= last &&
        s.TabellaConti[size_t(line.data)].codiceConto.trimmed() == code)
        return line.data;
    for (int i = 1; i <= last; ++i)
        if (s.TabellaConti[size_t(i)].codiceConto.trimmed() == code) return i;
    return 0;
}

Form7::Form7(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form7"));
    setCaption(QStringLiteral("Selezione conto"));

    NomeFile = new QLabel(percorsoDi(QString()), this);
    NomeFile->setObjectName(QStringLiteral("NomeFile"));
    NomeFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    NomeFile->setMinimumWidth(260);

    Dir1 = new FolderTree(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setMinimumSize(260, 320);
    Cartelle = Dir1->folders();
    Cartelle->setObjectName(QStringLiteral("Cartelle"));
    connect(Dir1, &FolderTree::folderChosen, this, handler([this] { Dir1_Change(); }));

    List1 = new ListBox(QStringLiteral("List1"), this);
    List1->setSorted(true);
    List1->setFixedPitch(true);
    List1->setMinimumSize(480, 320);
    connect(List1, &ListBox::rowClicked, this, handler([this] { List1_Click(); }));
    connect(List1, &ListBox::rowDoubleClicked, this, handler([this] { List1_DblClick(); }));

    OK = new QPushButton(QStringLiteral("Conferma"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setEnabled(false);
    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));

    Command2 = new QPushButton(QStringLiteral("Uscita"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command2, &QPushButton::clicked, this, handler([this] { Command2_Click(); }));

    auto* folders = new QVBoxLayout;
    folders->addWidget(NomeFile);
    folders->addWidget(Dir1, 1);

    auto* lists = new QHBoxLayout;
    lists->addLayout(folders, 2);
    lists->addWidget(List1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OK);
    buttons->addWidget(Command2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
}

void Form7::Form_Load() {
    applicaColoriElenchi({List1});
    List1->setItems(lineeConti());
    mostraCartella(stato().PercorsoDati);
}

QString Form7::cartellaScelta() const {
    return Dir1->chosenFolder();
}

void Form7::mostraCartella(const QString& folder) {
    NomeFile->setText(percorsoDi(folderWithSlash(folder)));
    Dir1->showFolder(folder);
}

void Form7::Form_Activate() {
    prendiCartella(stato().PercorsoDati, true);
}

void Form7::Dir1_Change() {
    const QString folder = cartellaScelta();
    if (!folder.isEmpty()) prendiCartella(folder, false);
}

void Form7::prendiCartella(const QString& cartella, bool clearList) {
    if (clearList) List1->clear();
    const auto mostra = [this](const QString& folder) { mostraCartella(folder); };
    // The lines were rebuilt: no line is picked any more.
    if (prendiCartellaDati(cartella, mostra)) OK->setEnabled(false);
}

void Form7::List1_Click() {
    const int row = List1->currentRow();
    if (row >= 0 && !List1->text(row).isEmpty()) OK->setEnabled(true);
}

void Form7::List1_DblClick() {
    scegliConto();
}

void Form7::OK_Click() {
    scegliConto();
}

void Form7::scegliConto() {
    const int row = List1->currentRow();
    if (row < 0 || row >= List1->count()) return;
    const int riga = rigaDellaLinea(List1->items()[row]);
    if (riga == 0) return;

    // Hidden first, also when shown modal: the sheet must take input.
    formHost().hide(*this);
    stato().IndiceContoAttivo = qint16(riga);
    Form10& sheet = formHost().form<Form10>();
    sheet.mostraConto(riga, Form10::Modo::Apertura);
    sheet.Saldi->setEnabled(true);
    formHost().show(sheet);

    // A movement form still open for an account starts from empty fields.
    if (stato().Form9Aperta == 1) emit immissioneDaSvuotare();
}

void Form7::Command2_Click() {
    formHost().unload(*this);
    if (Form10* sheet = formHost().loaded<Form10>()) formHost().unload(*sheet);
}

} // namespace qv
