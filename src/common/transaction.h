#pragma once
// A change to several files that either completes or leaves every file as it was.
//
// Before a file is changed for the first time, the transaction takes its snapshot (or
// notes that it did not exist) in its snapshot folder and then rewrites the marker
// there, which names every file protected so far; only after that does the file change.
// The snapshot is a second name of the file itself (a hard link), which costs no copy
// and no sync: the change never writes into such a file, it replaces it whole (the safe
// rewrite gives the name a new file and the snapshot keeps the old one, already on the
// disk), records written into it included, which then replace it by its bytes with the
// records in place. A file protected alone by protect(path) or first by a record
// write, and every file where the file system has no hard links (FAT, exFAT, some
// network shares), is copied into a new file synced to the disk instead. The snapshots'
// names reach the disk with the folder's sync that puts the marker there. Whole files
// are replaced through the safe rewrite, records of a file whose snapshot is a copy are
// written in place and synced; the folders whose names the change altered (a file
// replaced, made or removed) are synced once each at its end, before commit() removes
// the marker: that is the moment the change is done. A change that protects all its
// files at once writes the marker once. While a change lives, every name looked up
// ignoring letter case comes from one reading of each folder (FolderNamesScope). On a
// failure, rollback() puts every protected file back, in reverse order, and names the
// files it could not put back. A program killed midway leaves the marker behind, and
// recoverInterrupted() puts the files back before anything else reads them.
//
// One change at a time per folder: while a marker is there, no new change starts in
// that folder.
//
// A change touches only files of its folder, and the marker names each by its name
// within the folder, never by a full path: a folder copied, moved or seen under another
// path after a kill is put back where it now is, and nothing else is touched. A name is
// the file's name, or a path below the folder when the file lies in a subfolder (the
// closing keeps its copies in Bak/<code>/, the reorder in Bak/<code>/riordino/): every
// step of it checked (not empty, not "." or "..", no "/" or "\" within it, no control
// character, not the snapshot folder), and the file's real folder, and the file a link
// points to, inside the folder. protect() refuses any other file before anything is
// written, and a recovery refuses a marker naming one (planted in a folder, as in a
// folder of copies from elsewhere) whole, touching nothing.

#include "common/file_names.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <functional>
#include <set>
#include <vector>

namespace qv {

// The snapshot folder's name inside the folder a transaction works in.
inline constexpr QLatin1String CartellaTransazione{".transazione"};

class Transaction {
public:
    // A change whose snapshots live in `folder` (the data folder, the program folder for
    // the program's own files, a folder of copies). The files changed lie in it.
    explicit Transaction(const QString& folder);
    // Rolls back a change that was neither committed nor rolled back.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Takes the snapshot of `path` (resolved ignoring letter case) unless it was taken
    // already. False, with the reason, when the snapshot or the marker cannot be
    // written, when the folder holds the marker of an interrupted change, or when the
    // file is not one of the folder's (see above); the file has not been touched then.
    // The snapshot is a copy: the file may then be written by any means.
    bool protect(const QString& path);
    // protect() of several files at once, which the change then writes only through
    // rewrite(), writeRecord(), writeRecords(), writeCount() and remove(): their
    // snapshots are second names of them where the file system allows (see above).
    // Every snapshot is taken first, then the marker is written once naming them all. A
    // change that rewrites many files saves a marker write and a folder sync per file.
    // On a failure none of them counts as protected.
    bool protect(const QStringList& paths);

    // protect(), then the file's whole content replaced safely.
    bool rewrite(const QString& path, const QByteArray& content);
    // protect(), then record k (from 1) of a file of `length`-byte records written in
    // place and synced to the disk.
    bool writeRecord(const QString& path, int length, int k, const QByteArray& record);
    // protect(), then consecutive records from record `first` written in place in one
    // operation and synced.
    bool writeRecords(const QString& path, int length, int first, const QByteArray& records);
    // protect(), then the 16-bit count of a count file written and synced.
    bool writeCount(const QString& path, qint16 value);
    // protect(), then the file removed; a missing file is no error.
    bool remove(const QString& path);

    // The change is done: the marker and the snapshots go. False, with the reason, when
    // the marker cannot be removed; the change is then rolled back.
    bool commit();
    // Puts every protected file that the change wrote back in reverse order (a file
    // already as it was is not written again; one never written is left alone), then
    // removes the snapshots.
    // False when some file could not be put back: leftChanged() names them, and the
    // marker stays so that the next recovery tries again.
    bool rollback();

    // The reason of the last failure ("" when none).
    QString error() const { return error_; }
    // The same for the user: "Impossibile scrivere il file X: motivo.", "Impossibile
    // eliminare il file X.", or what kept the change from starting.
    QString message() const;
    // After a failed rollback: the files left changed.
    QStringList leftChanged() const { return leftChanged_; }
    // The files protected so far, in order.
    QStringList protectedFiles() const;
    // `path` as the change finds it: resolved ignoring letter case through the names it
    // has read of each folder.
    QString resolve(const QString& path) const { return resolvePath(path); }
    // Neither committed nor rolled back, and something protected.
    bool active() const { return !entries_.empty() && !finished_; }

private:
    struct Entry {
        QString path;         // the file as resolved when protected (absolute)
        QString name;         // its name within the folder, as the marker gives it
        QString snapshot;     // name of its copy in the snapshot folder; empty: did not exist
        bool written = false; // a write of it has begun
        bool linked = false;  // the snapshot is a second name of the file the path holds
    };
    // How a snapshot is taken: a link where the file system allows it, or a copy (for a
    // file about to be written in place).
    enum class Snapshot { Link, Copy };
    bool protect(const QStringList& paths, Snapshot mode);
    // Records from `first` (one record, or several) written into `target` (resolved,
    // protected): in place, or by replacing the file whole while its snapshot is a link
    // to it.
    bool writeInto(const QString& target, int length, int first, const QByteArray& records,
                   bool oneRecord);
    Entry* find(const QString& path);
    // `path` resolved ignoring letter case, absolute and clean; each folder's names are
    // read once for the whole change.
    QString resolved(const QString& path);
    // The folder of `path` (absolute, clean) and those above it up to the change's folder
    // are to be synced before the change is done.
    void folderChanged(const QString& path);
    void syncChangedFolders();
    bool writeMarker();
    void fail(const QString& reason, const QString& message = {});
    void failWrite(const QString& path, const QString& reason);
    // Asks the tests' hook before a write of `path`; false when the write must fail
    // (the transaction is then failed, or stopped as a kill stops it).
    bool mayWrite(const QString& path);
    void removeSnapshots();

    QString folder_; // the snapshot folder, ending in "/"
    QString base_;   // the folder, absolute and clean, without a final "/"
    FolderNamesScope names_;
    std::set<QString> changedFolders_;
    std::vector<Entry> entries_;
    QString error_;
    QString message_;
    QStringList leftChanged_;
    bool finished_ = false;
    bool killed_ = false; // stopped by the tests' hook: the marker stays, nothing goes back
};

// What recoverInterrupted found and did.
struct RecoveryResult {
    bool found = false;      // an interrupted change was there
    bool restored = false;   // every one of its files was put back
    QStringList files;       // the files put back
    QStringList leftChanged; // the files that could not be put back
    QString error;           // why, when not restored
    bool refused = false;    // the marker names something other than a file of the folder:
                             // nothing was touched
};

// Puts back the files of a change in `folder` that never finished (its marker is
// still there), in reverse order, then removes its snapshots. The files are those the
// marker names within `folder`, wherever the folder lay when the change began; a file
// already as it was is not written. A marker that names anything else is refused whole
// (`refused`), and nothing is touched. Snapshots without a
// marker (a change that had finished, or had not yet changed anything) are removed.
RecoveryResult recoverInterrupted(const QString& folder);

// Whether `folder` holds the marker of an interrupted change.
bool hasInterruptedChange(const QString& folder);

// Rolls `t` back and returns what to add to the text of the failure: "" when every
// file is back, else testoFileNonRipristinati of the files left changed.
QString annullaModifica(Transaction& t);

// The files a failed roll-back left changed, named for the user, with what the program
// does about them: "" for none.
QString testoFileNonRipristinati(const QStringList& files);

// What a recovery did, for the user: the files put back after a change that had been
// interrupted, or those it could not put back; "" when there was nothing to recover.
QString testoRipristino(const RecoveryResult& r);

// The tests' way of making a change fail at a chosen moment, as a full disk or a kill
// would. The hook is asked before each write of a file a transaction protects (after
// its snapshot and the marker are on disk) and before each file a roll-back or a
// recovery puts back.
enum class MomentoModifica { Scrittura, Ripristino };
enum class GuastoSimulato {
    Nessuno,
    Errore,       // the write (or the putting back) fails
    Interruzione, // the program stops here: nothing more is written, nothing rolled back
};
using GuastoModifiche = std::function<GuastoSimulato(MomentoModifica, const QString& path)>;
// Sets the hook (an empty one removes it).
void impostaGuastoModifiche(GuastoModifiche guasto);

// The tests' file system without hard links: from here every snapshot that would be a
// link is refused with the system error `numero` (EPERM, EXDEV...) and copied instead; 0
// allows links again.
void impostaCollegamentoRifiutato(int numero);

} // namespace qv
