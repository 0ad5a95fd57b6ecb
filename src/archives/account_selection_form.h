#pragma once
// Form7: "Selezione conto", the data folder and the list of its accounts.

#include "common/esito.h"
#include "platform/folder_tree.h"
#include "platform/form_host.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QFileSystemModel;
class QLabel;
class QPushButton;

namespace qv {

class ListBox;
struct ListItem;

// An account's files as the ledger judged them before the account opens.
struct EsameApertura {
    // Set when some file cannot be read (the account cannot be used): what cannot be
    // read, one line a file.
    std::optional<QString> illeggibili;
    // Set when counts are damaged (the account can be used once they are rebuilt): the
    // question asked first; `ricostruisci` rebuilds them, stopping at the first failure.
    std::optional<QString> domandaRicostruzione;
    std::function<Esito()> ricostruisci;
};

// What the account windows ask of the open account, which is the ledger's; the main
// window answers. Unset, closing does nothing and no account opens (the program sets them
// when its main window is made; a test that opens these windows alone sets them too).
struct RichiesteConti {
    // Closes the open account (ChiudiConto): its windows close first.
    std::function<void()> chiudiConto;
    // Makes `cartella` the data folder in use and says so; the account is closed first.
    std::function<void(const QString& cartella)> cambiaCartellaDati;
    // Judges the files of the account `codice` of the folder `cartella`; creates no file.
    std::function<EsameApertura(const QString& cartella, const QString& codice)> esaminaConto;
    // Makes row `riga` of TabellaConti the open account; false when the row holds none.
    std::function<bool(int riga)> apriConto;
};
void impostaRichiesteConti(RichiesteConti richieste);
const RichiesteConti& richiesteConti();

// Reads the account archive of PercorsoDati (leggiArchivioConti) and refills the account
// lists of the windows already made. A change of the folder put back is told; a count
// larger than the accounts is said and taken as those; a damaged count is named, and the
// user is asked whether to rebuild it from the accounts (Sì: rebuilt, then the archive
// loads; No: nothing is loaded and nothing changes, and every write of the archive stays
// refused). An archive that cannot be read goes to the "Errore Disco" dialog: Retry
// reads again from the start, anything else ends the load with no account loaded.
void CaricaElencoConti();

// The lines of the account lists: one for each of rows 1 to NumeroConti of TabellaConti,
// carrying its row.
std::vector<ListItem> lineeConti();

// Refills the account lists (the editor's ListaConti and the selection's List1) of the
// windows already made with lineeConti(); a window made later fills its own list then.
void riempiListeConti();

// Takes cartella as the data folder: once it exists (the user may look again
// or carry on regardless, see ErroriFile), shows it through mostra, closes the
// open account, takes the folder's lock (the old folder's is let go only then),
// sets PercorsoDati, says so (ContoAperto::cartellaDatiCambiata: the main window shows
// it) and reloads the list of accounts.
// A folder another running Quorvanta holds is refused with a message and changes
// nothing (the folder in use is shown again). Giving up falls back to the home
// folder when ripiego is set. An empty cartella (no data folder in use) takes
// nothing. Returns whether a folder was taken.
bool prendiCartellaDati(const QString& cartella, const std::function<void(const QString&)>& mostra,
                        bool ripiego = true);

// The row of TabellaConti that a line of an account list stands for: the row
// the line carries when that row still holds the line's code, else the first
// row whose trimmed code equals the line's first twelve characters, trimmed;
// 0 when no row has that code.
int rigaDellaLinea(const ListItem& line);

class Form7 : public Form {
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;

    // The user took the folder selected in the tree.
    void Dir1_Change();
    void List1_Click();
    void List1_DblClick();
    void OK_Click();
    void Command2_Click();

    // The folder the tree has selected, ending in "/"; empty when none.
    QString cartellaScelta() const;
    // Selects folder in the tree without taking it as the data folder.
    void mostraCartella(const QString& folder);

    // Folder tree in place of the drive and folder lists.
    FolderTree* Dir1 = nullptr;
    QFileSystemModel* Cartelle = nullptr;
    QLabel* NomeFile = nullptr;
    ListBox* List1 = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Command2 = nullptr;

signals:
    // An account was chosen while the movement form is open: its entry is emptied, and
    // its operation number shows the count of movements (the main window does it).
    void immissioneDaSvuotare();

private:
    // Takes folder as the data folder: closes the open account, sets
    // PercorsoDati and reloads the archive and the lists. clearList for the
    // activation, which starts from an empty list.
    void prendiCartella(const QString& folder, bool clearList);
    void scegliConto();
};

} // namespace qv
