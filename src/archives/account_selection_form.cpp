#include "account_selection_form.h"

#include "shell/startup.h"

#include "account_sheet_form.h"
#include "accounts.h"
#include "common/paths.h"
#include "common/shared_state.h"
#include "ledger/entry_form.h"
#include "platform/desktop.h"
#include "platform/errori_file.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "shell/account_close.h"
#include "shell/main_window.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
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

QString percorsoDi(const QString& folder) {
    return QStringLiteral("Percorso: ") + folder;
}

} // namespace

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

    Cartelle = new QFileSystemModel(this);
    Cartelle->setObjectName(QStringLiteral("Cartelle"));
    Cartelle->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    Cartelle->setReadOnly(true);
    Cartelle->setRootPath(QStringLiteral("/"));

    Dir1 = new QTreeView(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setModel(Cartelle);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < Cartelle->columnCount(); ++column)
        Dir1->hideColumn(column);
    Dir1->setSelectionMode(QAbstractItemView::SingleSelection);
    Dir1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Dir1->setMinimumSize(260, 320);
    // The model reads folders in the background: once the folders along the
    // selected one are read, bring the selection into view.
    connect(Cartelle, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
        const QModelIndex current = Dir1->currentIndex();
        if (current.isValid() && Cartelle->filePath(current).startsWith(path))
            Dir1->scrollTo(current, QAbstractItemView::PositionAtCenter);
    });
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this, handler([this] {
                if (!settingTree_) Dir1_Change();
            }));

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
    const Colori& colori = stato().ColoriElenchi;
    if (colori.coloriPredefiniti == QLatin1String("N"))
        List1->setColors(fromWindowsColor(colori.coloreCarattere),
                         fromWindowsColor(colori.coloreSfondo));
    mostraCartella(stato().PercorsoDati);
}

QString Form7::cartellaScelta() const {
    const QModelIndex index = Dir1->currentIndex();
    if (!index.isValid()) return QString();
    return folderWithSlash(Cartelle->filePath(index));
}

void Form7::mostraCartella(const QString& folder) {
    const QString path = folderWithSlash(folder);
    NomeFile->setText(percorsoDi(path));
    QString clean = QDir::cleanPath(path);
    if (clean.isEmpty()) return;
    const QModelIndex index = Cartelle->index(clean);
    if (!index.isValid()) return;
    settingTree_ = true;
    Dir1->setCurrentIndex(index);
    Dir1->scrollTo(index, QAbstractItemView::PositionAtCenter);
    settingTree_ = false;
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
    const QString folder = folderWithSlash(cartella);

    // The folder must exist before anything changes. The answer to the error
    // decides: look again, carry on, or give up; giving up falls back to the
    // home folder.
    for (qint32 errore = erroreCartella(folder); errore != 0; errore = erroreCartella(folder)) {
        const qint16 codice = ErroriFile(errore);
        if (codice == 0) continue;
        if (codice == 1) break;
        setHourglass(false);
        messageBox(closingMessage(codice));
        if (codice == 2 && !fallingBack_) {
            fallingBack_ = true;
            const QString home = folderWithSlash(QDir::homePath());
            mostraCartella(home);
            prendiCartella(home, false);
            fallingBack_ = false;
        }
        return;
    }

    mostraCartella(folder);
    ChiudiConto();
    StatoProgramma& s = stato();
    impostaPercorsoDati(folder);
    // The account is closed in the folder it belonged to; the main window then
    // shows the data folder now in force.
    if (MDIForm1* main = MDIForm1::instance()) main->Codice->setText(s.PercorsoDati);
    {
        Hourglass hourglass;
        CaricaElencoConti();
    }
    // The lines were rebuilt: no line is picked any more.
    OK->setEnabled(false);
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
    if (stato().Form9Aperta == 1)
        if (Form9* movimenti = formHost().loaded<Form9>()) {
            movimenti->svuotaImmissione();
            movimenti->NrOper->setText(QString::number(stato().NumeroMovimenti));
        }
}

void Form7::Command2_Click() {
    formHost().unload(*this);
    if (Form10* sheet = formHost().loaded<Form10>()) formHost().unload(*sheet);
}

} // namespace qv
