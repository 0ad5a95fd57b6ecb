#pragma once
// What the maintenance operations share: the nine movement and cheque files of an
// account that they copy and put back, a copy of them in a folder of its own, and a
// change of several files (common/transaction.h) whose failed steps may be tried again
// when the user says so.

#include "common/esito.h"
#include "common/transaction.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace qv {

// The nine files of an account that the closing's copies, the reorder's safety copies
// and the backup hold, in the order they are copied: ".ORD", ".FOG", ".MOV", ".MOR",
// ".TOT", ".NRC", ".CAR", ".NRF", ".RIP". The condition files and ".chi" are not among
// them.
extern const std::array<QLatin1String, 9> EstensioniCopia;

// One file as read: its extension, its path and its bytes (none when it does not exist).
struct FileLetto {
    QString estensione;
    QString percorso;
    std::optional<QByteArray> contenuto;
};
using FileLetti = std::vector<FileLetto>;

// Why a step of an operation failed: the file, the system's error number (0 when none
// is known), whether a folder on the way is missing, and the reason in words.
struct GuastoFile {
    QString percorso;
    int osErrno = 0;
    bool cartellaMancante = false;
    QString motivo;
};

// Asked when a step has failed: true tries the step again, false gives the whole
// operation up (every file goes back as it was). Without one, a failure gives up.
using Riprova = std::function<bool(const GuastoFile&)>;

// Reads one file whole; a missing file is no error (no content). False, with the
// failure, when it exists but cannot be read.
bool leggiFile(const QString& percorso, FileLetto& letto, GuastoFile* guasto);

// A change of several files through a Transaction, each step retried as `riprova` says.
// Each method returns false once the change is given up; fallita() then puts every file
// back and gives the failed result.
class ModificaFile {
public:
    ModificaFile(const QString& cartella, Riprova riprova);

    bool proteggi(const QStringList& percorsi);
    bool riscrivi(const QString& percorso, const QByteArray& contenuto);
    // riscrivi() of the file itself: a symbolic link standing in its place is removed
    // first, so that the new content never lands where the link points.
    bool sostituisci(const QString& percorso, const QByteArray& contenuto);
    bool scriviRecord(const QString& percorso, int lunghezza, int k, const QByteArray& record);
    bool scriviContatore(const QString& percorso, qint16 valore);
    bool rimuovi(const QString& percorso);
    // The file as read: rewritten with its bytes, or removed when it had none.
    bool ripristina(const QString& percorso, const std::optional<QByteArray>& contenuto);
    bool leggi(const QString& percorso, FileLetto& letto);
    // Creates the folder (and those above it) when missing.
    bool creaCartella(const QString& cartella);
    bool concludi();

    // The change given up: every file back as it was; `cosa` (what was not done, with
    // its full stop) and the reason become the failed result, with the files that could
    // not be put back when there are any.
    Esito fallita(const QString& cosa);

    Transaction& transazione() { return transazione_; }

private:
    template <class Passo> bool tenta(const QString& percorso, Passo passo);

    Transaction transazione_;
    Riprova riprova_;
    QString motivo_;
    bool interrotta_ = false;
    // Links that sostituisci removed (path, what it pointed to), made again on failure.
    std::vector<std::pair<QString, QString>> collegamentiRimossi_;
};

// The SHA-256 of `contenuto` in hexadecimal: what the lists of copies record of each
// copy, so that a damaged copy of the right size is known before it is put back.
QString impronta(const QByteArray& contenuto);

// A copy of an account's nine files in a folder of its own, with a list of them
// ("Bak.lst": the account's code, then each extension with its size and its SHA-256,
// or "-" for a file the account did not have), written last so that a copy without it
// is incomplete. A list written before the SHA-256 was recorded is read by sizes only.
// The copies are named "Bak" and the extension in capitals ("Bak.MOV").
QString nomeCopia(const QString& estensione);
inline constexpr QLatin1String ElencoCopia{"Bak.lst"};

// The files of a copy in `cartella`: the nine copies and their list.
QStringList fileCopia(const QString& cartella);

// Writes `file` (the account's files as read) as the copy in `cartella`.
bool scriviCopia(ModificaFile& modifica, const QString& cartella, const QString& codice,
                 const FileLetti& file);

// Reads the copy in `cartella` of account `codice`: every file its list names, with
// its size and (when the list records it) its SHA-256 checked. Refused, naming what is wrong, when
// the list or a file is missing or does not match; failed when a file cannot be read.
// The files of a copy set, in the order of EstensioniCopia; none when it cannot be used.
using LetturaCopia = EsitoCon<FileLetti>;
LetturaCopia leggiCopia(const QString& cartella, const QString& codice);

// The account's nine files in `cartellaDati`, read through `modifica` (so that a failed
// read is asked about as a failed write is).
bool leggiFileConto(ModificaFile& modifica, const QString& cartellaDati, const QString& codice,
                    FileLetti& file);

} // namespace qv
