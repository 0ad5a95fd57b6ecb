#include "common/transaction.h"

#include "common/disk_sync.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace qv {

namespace {

constexpr QLatin1String kMarker{"marcatore"};

GuastoModifiche& guasto() {
    static GuastoModifiche hook;
    return hook;
}

// The highest record number a record file takes.
constexpr qint64 kRecordMassimo = 32767;

// The tests' file system without hard links: every link a snapshot asks for is refused
// with this error (0: none is).
int& collegamentoRifiutato() {
    static int numero = 0;
    return numero;
}

GuastoSimulato guastoPer(MomentoModifica momento, const QString& path) {
    return guasto() ? guasto()(momento, path) : GuastoSimulato::Nessuno;
}
// The marker's first line. Markers of earlier versions named each file by its absolute
// path under the first header; those name files by their name within the folder.
constexpr QLatin1String kHeader{"Quorvanta: modifica in corso"};
constexpr QLatin1String kHeaderNomi{"Quorvanta: modifica in corso, file della cartella"};

QString withSlash(const QString& folder) {
    if (folder.isEmpty()) return QStringLiteral("./");
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString snapshotFolder(const QString& folder) {
    return withSlash(folder) + CartellaTransazione + QLatin1Char('/');
}

// `folder` as an absolute path without "." or ".." steps and without a final "/".
QString cleanFolder(const QString& folder) {
    return QDir::cleanPath(QDir(folder.isEmpty() ? QStringLiteral(".") : folder).absolutePath());
}

QString inside(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// One step of a name within the folder: not empty, not "." or "..", no separator of any
// system and no control character (a name must read back from the marker's line).
bool stepAllowed(QStringView step) {
    if (step.isEmpty() || step == u"." || step == u"..") return false;
    return std::none_of(step.begin(), step.end(), [](QChar c) {
        return c == QLatin1Char('/') || c == QLatin1Char('\\') ||
               c.category() == QChar::Other_Control;
    });
}

// Whether `name` ("/"-separated, relative) may name a file a change touches: every step
// allowed, and not inside the snapshot folder.
bool nameAllowed(const QString& name) {
    const QStringList steps = name.split(QLatin1Char('/'));
    if (steps.first().compare(CartellaTransazione, Qt::CaseInsensitive) == 0) return false;
    return std::all_of(steps.begin(), steps.end(),
                       [](const QString& step) { return stepAllowed(step); });
}

// The name of `path` (absolute, clean) within `folder` (absolute, clean); "" when the
// path does not lie inside the folder or its name is not allowed.
QString nameWithin(const QString& folder, const QString& path) {
    const QString prefix = inside(folder);
    if (!path.startsWith(prefix)) return {};
    const QString name = path.mid(prefix.size());
    return nameAllowed(name) ? name : QString();
}

// Whether what `path` really designates lies inside the folder whose canonical path is
// `canonicalFolder`: its folder, when it exists, and, for a link, the file it points to
// (the rewrite and the record writes follow links, even to a file not there yet).
bool reallyInside(const QString& canonicalFolder, const QString& path) {
    if (canonicalFolder.isEmpty()) return true; // the folder is not there: nothing is either
    const QString prefix = inside(canonicalFolder);
    const QFileInfo info(path);
    if (info.isSymLink()) return info.canonicalFilePath().startsWith(prefix);
    // The nearest folder on the way that is there (a subfolder may be made later, inside
    // whatever holds it).
    QString folder = info.absolutePath();
    for (;;) {
        const QFileInfo step(folder);
        if (step.exists() || step.isSymLink()) {
            const QString real = step.canonicalFilePath();
            return real == canonicalFolder || real.startsWith(prefix);
        }
        const QString up = step.absolutePath();
        if (up == folder) return true;
        folder = up;
    }
}

// Makes `snapshot` a second name of the file at `path` (a hard link): the snapshot of a
// file that the change will replace whole, which a rename gives a new file and leaves
// this one untouched, already on the disk. False, with errno set, where the file system
// has no such links (FAT, exFAT, some network shares) or refuses this one.
bool linkSnapshot(const QString& path, const QString& snapshot) {
    if (const int rifiuto = collegamentoRifiutato()) {
        errno = rifiuto;
        return false;
    }
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(snapshot);
    return ::link(from.constData(), to.constData()) == 0;
}

// Writes a new file and puts it on the disk before returning. Never into a file that is
// there: a name left in the snapshot folder may be a second name of a file of the change.
bool writeSynced(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QString reason;
    if (file.write(bytes) != bytes.size()) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    if (!syncOpenFile(file, &reason)) {
        *error = path + QStringLiteral(": ") + reason;
        return false;
    }
    file.close();
    return true;
}

struct MarkerEntry {
    QString snapshot; // empty: the file did not exist
    QString name;     // the file's name within the folder
};

// What reading a marker found.
enum class MarkerRead { Read, Unreadable, Refused };

// The entries of the marker of `folder` (absolute, clean). Unreadable when it cannot be
// read or is not one of ours; Refused, naming the line, when it names anything but a
// file of the folder (a name with "..", a separator or a control character, a path
// elsewhere, a snapshot that is not one of the change's copies).
MarkerRead readMarker(const QString& markerPath, const QString& folder,
                      std::vector<MarkerEntry>* entries, QString* error) {
    QFile file(markerPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = markerPath + QStringLiteral(": ") + file.errorString();
        return MarkerRead::Unreadable;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (lines.isEmpty() || (lines.first() != kHeader && lines.first() != kHeaderNomi)) {
        *error = markerPath + QStringLiteral(": contenuto non riconosciuto");
        return MarkerRead::Unreadable;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        const qsizetype tab = lines[i].indexOf(QLatin1Char('\t'));
        if (tab < 0) {
            *error = markerPath + QStringLiteral(": contenuto non riconosciuto");
            return MarkerRead::Unreadable;
        }
        const QString snapshot = lines[i].left(tab);
        const QString given = lines[i].mid(tab + 1);
        // An earlier version's absolute path counts only when it lies in this folder.
        const QString name = given.startsWith(QLatin1Char('/'))
                                 ? nameWithin(folder, QDir::cleanPath(given))
                                 : (nameAllowed(given) ? given : QString());
        const bool copyOfOurs =
            snapshot == QLatin1String("-") ||
            (!snapshot.isEmpty() && std::all_of(snapshot.begin(), snapshot.end(), [](QChar c) {
                return c >= QLatin1Char('0') && c <= QLatin1Char('9');
            }));
        if (name.isEmpty() || !copyOfOurs) {
            *error = QStringLiteral("l'indicazione della modifica (%1) nomina \"%2\", che non è "
                                    "un file della cartella")
                         .arg(QDir::toNativeSeparators(markerPath), lines[i].simplified());
            return MarkerRead::Refused;
        }
        entries->push_back({snapshot == QLatin1String("-") ? QString() : snapshot, name});
    }
    return MarkerRead::Read;
}

// Whether `path` holds exactly `bytes` (false when it cannot be read).
bool holds(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() != bytes.size()) return false;
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray now = file.readAll();
    return file.error() == QFileDevice::NoError && now == bytes;
}

// Puts one file back from its snapshot (or removes it when it did not exist). A file
// that is as it was needs nothing: no write, so that a full disk does not keep a change
// from being undone where nothing has to be written.
bool restoreOne(const QString& snapshots, const QString& snapshot, const QString& path,
                QString* error) {
    if (guastoPer(MomentoModifica::Ripristino, path) != GuastoSimulato::Nessuno) {
        *error = path + QStringLiteral(": impossibile ripristinare il file");
        return false;
    }
    if (snapshot.isEmpty()) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) return true;
        noteFileWrite(path);
        if (QFile::remove(path)) return true;
        *error = path + QStringLiteral(": impossibile eliminare il file");
        return false;
    }
    QFile copy(snapshots + snapshot);
    if (!copy.open(QIODevice::ReadOnly)) {
        *error = copy.fileName() + QStringLiteral(": ") + copy.errorString();
        return false;
    }
    const QByteArray bytes = copy.readAll();
    if (copy.error() != QFileDevice::NoError) {
        *error = copy.fileName() + QStringLiteral(": ") + copy.errorString();
        return false;
    }
    if (holds(path, bytes)) return true;
    // The exact name the file had, not another spelling found afresh.
    QString reason;
    if (rewriteFileAt(path, bytes, &reason)) return true;
    *error = path + QStringLiteral(": ") + reason;
    return false;
}

void removeFolder(const QString& snapshots) {
    // A link in the snapshot folder's place is not ours to empty: only the link goes.
    const QFileInfo self(snapshots.chopped(1));
    if (self.isSymLink()) {
        QFile::remove(self.absoluteFilePath());
        return;
    }
    QDir dir(snapshots);
    if (!dir.exists()) return;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name);
    QDir().rmdir(snapshots);
    QString ignored;
    syncFolder(QFileInfo(snapshots.chopped(1)).absolutePath(), &ignored);
}

} // namespace

Transaction::Transaction(const QString& folder)
    : folder_(snapshotFolder(folder)), base_(cleanFolder(folder)) {}

QString Transaction::resolved(const QString& path) {
    return QDir::cleanPath(QFileInfo(resolvePath(path)).absoluteFilePath());
}

void Transaction::folderChanged(const QString& path) {
    QString folder = QFileInfo(path).absolutePath();
    // A subfolder the change made (a set of copies) is itself a name in its parent.
    while (changedFolders_.insert(folder).second && folder.startsWith(inside(base_)))
        folder = QFileInfo(folder).absolutePath();
}

void Transaction::syncChangedFolders() {
    // A failed folder sync is not a failed change: the files are in place, as a safe
    // rewrite that cannot sync its folder leaves them.
    QString ignored;
    for (auto it = changedFolders_.rbegin(); it != changedFolders_.rend(); ++it)
        syncFolder(*it, &ignored);
    changedFolders_.clear();
}

Transaction::Entry* Transaction::find(const QString& path) {
    for (Entry& e : entries_)
        if (e.path == path) return &e;
    return nullptr;
}

Transaction::~Transaction() {
    if (active()) rollback();
}

QStringList Transaction::protectedFiles() const {
    QStringList files;
    for (const Entry& e : entries_)
        files.append(e.path);
    return files;
}

bool Transaction::writeMarker() {
    // Each file by its name within the folder: the folder may be copied, moved or seen
    // under another path before its recovery, which works on the folder it finds.
    QByteArray text = QString(kHeaderNomi).toUtf8() + '\n';
    for (const Entry& e : entries_) {
        text += (e.snapshot.isEmpty() ? QStringLiteral("-") : e.snapshot).toUtf8();
        text += '\t' + e.name.toUtf8() + '\n';
    }
    // The marker and its name on the disk (one sync of each) before any file changes.
    QString reason;
    if (!rewriteFileAtDurably(folder_ + kMarker, text, &reason)) {
        fail(folder_ + kMarker + QStringLiteral(": ") + reason);
        return false;
    }
    return true;
}

bool Transaction::protect(const QString& given) {
    return protect(QStringList{given}, Snapshot::Copy);
}

bool Transaction::protect(const QStringList& given) {
    return protect(given, Snapshot::Link);
}

bool Transaction::protect(const QStringList& given, Snapshot mode) {
    error_.clear();
    const size_t before = entries_.size();
    const auto giveUp = [&](const QString& reason, const QString& message = {}) {
        entries_.resize(before);
        fail(reason, message);
        return false;
    };
    const QString canonical = QFileInfo(base_).canonicalFilePath();
    for (const QString& file : given) {
        const QString path = resolved(file);
        if (find(path)) continue;
        if (finished_) return giveUp(QStringLiteral("modifica già conclusa"));
        // Only a file of the folder: the marker names it by its name there, and a
        // recovery touches nothing else.
        const QString name = nameWithin(base_, path);
        if (name.isEmpty() || !reallyInside(canonical, path)) {
            const QString testo =
                QStringLiteral("Impossibile modificare il file %1: non è un file della "
                               "cartella %2.")
                    .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(base_));
            return giveUp(path + QStringLiteral(": non è un file della cartella ") + base_, testo);
        }
        if (entries_.empty()) {
            // The first file: the folder must hold no other change, finished or not.
            if (QFileInfo::exists(folder_ + kMarker)) {
                const QString testo =
                    QStringLiteral("Una modifica precedente dei dati non è stata completata: "
                                   "riaprire il conto per ripristinare i file.");
                return giveUp(testo, testo);
            }
            removeFolder(folder_);
            if (!QDir().mkpath(folder_))
                return giveUp(folder_ + QStringLiteral(": impossibile creare la cartella"));
        }
        Entry entry{path, name, QString()};
        const QFileInfo info(path);
        if (info.exists()) {
            entry.snapshot = QString::number(entries_.size() + 1);
            // A snapshot left under this name by a protect() that failed (and may be
            // tried again) goes first; a second name goes without touching its file.
            ::unlink(QFile::encodeName(folder_ + entry.snapshot).constData());
            // A file of its own (not a link, which the writes follow) shares its data
            // with the snapshot: nothing is copied or synced. A write into it later
            // replaces it whole instead (writeInto), so that the snapshot stays as
            // the file was. A file written in place at once is copied, as it is where
            // the file system has no such links.
            if (mode == Snapshot::Link && info.isFile() && !info.isSymLink() && info.isReadable() &&
                linkSnapshot(path, folder_ + entry.snapshot)) {
                entry.linked = true;
                entries_.push_back(entry);
                continue;
            }
            QFile original(path);
            if (!original.open(QIODevice::ReadOnly))
                return giveUp(path + QStringLiteral(": ") + original.errorString());
            const QByteArray bytes = original.readAll();
            if (original.error() != QFileDevice::NoError)
                return giveUp(path + QStringLiteral(": ") + original.errorString());
            QString reason;
            if (!writeSynced(folder_ + entry.snapshot, bytes, &reason))
                return giveUp(path +
                              QStringLiteral(": impossibile farne una copia prima di "
                                             "modificarlo (") +
                              reason + QLatin1Char(')'));
        }
        entries_.push_back(entry);
    }
    if (entries_.size() == before) return true;
    if (!writeMarker()) {
        // Named by the file whose change could not begin, as a copy that cannot be made
        // is (a snapshot that is a link writes nothing: the marker is then the first
        // thing a full disk refuses).
        const QString file = entries_[before].path;
        entries_.resize(before);
        fail(file + QStringLiteral(": impossibile prepararne la modifica (") + error_ +
             QLatin1Char(')'));
        return false;
    }
    return true;
}

bool Transaction::mayWrite(const QString& path) {
    const QString target = resolved(path);
    switch (guastoPer(MomentoModifica::Scrittura, target)) {
    case GuastoSimulato::Nessuno:
        // From here the file may differ from its snapshot: a roll-back looks at it.
        if (Entry* e = find(target)) e->written = true;
        return true;
    case GuastoSimulato::Errore:
        failWrite(target, QStringLiteral("errore di scrittura"));
        return false;
    case GuastoSimulato::Interruzione:
        killed_ = true;
        finished_ = true;
        fail(QStringLiteral("modifica interrotta"));
        return false;
    }
    return true;
}

bool Transaction::rewrite(const QString& path, const QByteArray& content) {
    if (!protect(QStringList{path}, Snapshot::Link) || !mayWrite(path)) return false;
    const QString target = resolved(path);
    QString reason;
    // Its folder is synced once at the end, before the marker goes.
    folderChanged(target);
    if (!rewriteFileAtLeavingFolder(target, content, &reason)) {
        failWrite(target, reason);
        return false;
    }
    // The name now holds a new file: the snapshot keeps the old one to itself.
    if (Entry* e = find(target)) e->linked = false;
    return true;
}

bool Transaction::writeRecord(const QString& path, int length, int k, const QByteArray& record) {
    // A file not protected yet is written in place at once: its snapshot is a copy.
    if (!protect(QStringList{path}, Snapshot::Copy) || !mayWrite(path)) return false;
    return writeInto(resolved(path), length, k, record, true);
}

bool Transaction::writeRecords(const QString& path, int length, int first,
                               const QByteArray& records) {
    if (!protect(QStringList{path}, Snapshot::Copy) || !mayWrite(path)) return false;
    return writeInto(resolved(path), length, first, records, false);
}

bool Transaction::writeInto(const QString& target, int length, int first, const QByteArray& records,
                            bool oneRecord) {
    Entry* e = find(target);
    const bool valid =
        oneRecord ? records.size() == length : length > 0 && records.size() % length == 0;
    if (!e || !e->linked || records.isEmpty() || !valid || first < 1 ||
        qint64(first) + records.size() / length - 1 > kRecordMassimo) {
        // The record file puts the records on the disk itself; a new file's name waits
        // for the folder's sync at the end. It refuses what it cannot write before it
        // opens the file.
        RecordFile file = RecordFile::atResolved(target, length);
        file.setSyncFolderOfNewFile(false);
        const bool done = oneRecord ? file.write(first, records) : file.writeRange(first, records);
        if (file.created()) folderChanged(target);
        if (!done) {
            failWrite(file.path(), file.errorString());
            return false;
        }
        return true;
    }
    // The file still shares its data with its snapshot: a write into it would change the
    // snapshot too. It is replaced whole instead, by its bytes with the records in place
    // (past its end, the gap filled with zeros as the record file fills it): one sync,
    // as the record write's, and the snapshot keeps the file as it was. Its folder is
    // synced once at the end, before the change counts as done.
    QFile file(target);
    if (!file.open(QIODevice::ReadOnly)) {
        failWrite(target, file.errorString());
        return false;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        failWrite(target, file.errorString());
        return false;
    }
    file.close();
    const qint64 offset = qint64(first - 1) * length;
    if (bytes.size() < offset + records.size()) bytes.resize(offset + records.size(), '\0');
    bytes.replace(offset, records.size(), records);
    folderChanged(target);
    QString reason;
    if (!rewriteFileAtLeavingFolder(target, bytes, &reason)) {
        failWrite(target, reason);
        return false;
    }
    e->linked = false;
    return true;
}

bool Transaction::writeCount(const QString& path, qint16 value) {
    return writeRecord(path, Contatore::Lunghezza, 1, Contatore{value}.toBytes());
}

bool Transaction::remove(const QString& given) {
    if (!protect(QStringList{given}, Snapshot::Link) || !mayWrite(given)) return false;
    const QString path = resolved(given);
    if (!QFileInfo::exists(path)) return true;
    noteFileWrite(path);
    folderChanged(path);
    if (!QFile::remove(path)) {
        fail(path + QStringLiteral(": impossibile eliminare il file"),
             QStringLiteral("Impossibile eliminare il file %1.")
                 .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    // The snapshot alone keeps the file's data now; a file made later is a new one.
    if (Entry* e = find(path)) e->linked = false;
    return true;
}

bool Transaction::commit() {
    if (killed_) return false;
    error_.clear();
    if (finished_) return true;
    finished_ = true;
    if (entries_.empty()) return true;
    // Every new name on the disk before the change counts as done.
    syncChangedFolders();
    const QString marker = folder_ + kMarker;
    if (QFileInfo::exists(marker) && !QFile::remove(marker)) {
        finished_ = false;
        const QString reason = marker + QStringLiteral(": impossibile eliminare il file");
        rollback();
        fail(reason);
        return false;
    }
    QString ignored;
    syncFolder(folder_, &ignored);
    removeSnapshots();
    return true;
}

void Transaction::removeSnapshots() {
    removeFolder(folder_);
}

bool Transaction::rollback() {
    if (finished_) return leftChanged_.isEmpty();
    finished_ = true;
    leftChanged_.clear();
    QString firstError;
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        // A file the change never wrote is as it was.
        if (!it->written) continue;
        QString reason;
        if (!restoreOne(folder_, it->snapshot, it->path, &reason)) {
            leftChanged_.prepend(it->path);
            if (firstError.isEmpty()) firstError = reason;
        }
    }
    if (!leftChanged_.isEmpty()) {
        // The failure that led to the roll-back stays the one reported.
        if (error_.isEmpty()) fail(firstError);
        return false; // the marker stays: the next recovery tries again
    }
    QFile::remove(folder_ + kMarker);
    removeSnapshots();
    return true;
}

void Transaction::fail(const QString& reason, const QString& message) {
    error_ = reason;
    message_ = message;
}

void Transaction::failWrite(const QString& path, const QString& reason) {
    fail(path + QStringLiteral(": ") + reason,
         QStringLiteral("Impossibile scrivere il file %1: %2.")
             .arg(QDir::toNativeSeparators(path), reason));
}

QString Transaction::message() const {
    if (!message_.isEmpty() || error_.isEmpty()) return message_;
    // Not a file of the change: the snapshots, the marker, or an earlier change.
    return QStringLiteral("Impossibile preparare la modifica dei dati: %1.").arg(error_);
}

bool hasInterruptedChange(const QString& folder) {
    return QFileInfo::exists(snapshotFolder(folder) + kMarker);
}

QString testoFileNonRipristinati(const QStringList& files) {
    if (files.isEmpty()) return {};
    QStringList nomi;
    for (const QString& f : files)
        nomi << QDir::toNativeSeparators(f);
    return QStringLiteral("\nAttenzione: non è stato possibile rimettere com'erano i file:\n") +
           nomi.join(u'\n') +
           QStringLiteral("\nSaranno rimessi com'erano alla prossima apertura dei dati; fino "
                          "ad allora i dati non possono essere modificati.");
}

QString annullaModifica(Transaction& t) {
    if (t.rollback()) return {};
    return testoFileNonRipristinati(t.leftChanged());
}

QString testoRipristino(const RecoveryResult& r) {
    if (!r.found) return {};
    if (r.refused)
        return QStringLiteral("La cartella contiene l'indicazione di una modifica dei dati "
                              "interrotta che non può essere annullata: %1. Nessun file è "
                              "stato toccato.\nI dati della cartella non possono essere "
                              "modificati finché l'indicazione c'è: se la cartella viene da "
                              "un'altra origine, controllarla ed eliminarne la cartella %2.")
            .arg(r.error, QString(CartellaTransazione));
    QStringList nomi;
    for (const QString& f : r.files)
        nomi << QDir::toNativeSeparators(f);
    if (r.restored)
        return QStringLiteral("Una modifica dei dati interrotta (il programma si era fermato "
                              "prima di completarla) è stata annullata: i file sono di nuovo "
                              "com'erano prima.\nFile rimessi com'erano:\n") +
               nomi.join(u'\n');
    QStringList rimasti;
    for (const QString& f : r.leftChanged)
        rimasti << QDir::toNativeSeparators(f);
    QString testo = QStringLiteral("Una modifica dei dati interrotta (il programma si era fermato "
                                   "prima di completarla) non ha potuto essere annullata: %1.")
                        .arg(r.error);
    if (!nomi.isEmpty()) testo += QStringLiteral("\nFile rimessi com'erano:\n") + nomi.join(u'\n');
    if (!rimasti.isEmpty())
        testo += QStringLiteral("\nFile non rimessi com'erano:\n") + rimasti.join(u'\n');
    return testo + QStringLiteral("\nI dati non possono essere modificati finché i file non "
                                  "sono rimessi com'erano: riprovare dopo aver controllato la "
                                  "cartella.");
}

void impostaGuastoModifiche(GuastoModifiche hook) {
    guasto() = std::move(hook);
}

void impostaCollegamentoRifiutato(int numero) {
    collegamentoRifiutato() = numero;
}

namespace {

// A change killed while it rewrote a file leaves that write's temporary beside it (the
// file's name, a "." and six characters); the file itself is back as it was, so the
// temporary is only litter, in the data folder or in a folder of copies.
void removeTemporariesOf(const QStringList& files) {
    QHash<QString, QStringList> byFolder;
    for (const QString& file : files) {
        const QFileInfo info(file);
        byFolder[info.absolutePath()] << info.fileName();
    }
    for (auto it = byFolder.cbegin(); it != byFolder.cend(); ++it)
        removeRewriteTemporaries(it.key(), it.value());
}

} // namespace

RecoveryResult recoverInterrupted(const QString& folder) {
    RecoveryResult result;
    const QString snapshots = snapshotFolder(folder);
    if (!QFileInfo::exists(snapshots + kMarker)) {
        removeFolder(snapshots);
        result.restored = true;
        return result;
    }
    result.found = true;
    // The files are those of the folder the marker lies in, wherever the folder was when
    // the change began.
    const QString base = cleanFolder(folder);
    std::vector<MarkerEntry> entries;
    switch (readMarker(snapshots + kMarker, base, &entries, &result.error)) {
    case MarkerRead::Read:
        break;
    case MarkerRead::Refused:
        result.refused = true;
        return result;
    case MarkerRead::Unreadable:
        return result;
    }
    // Every file, and every copy it is put back from, checked before anything is touched.
    const QString canonical = QFileInfo(base).canonicalFilePath();
    for (const MarkerEntry& e : entries) {
        const QString path = inside(base) + e.name;
        const bool copyInside =
            e.snapshot.isEmpty() || (!QFileInfo(snapshots + e.snapshot).isSymLink() &&
                                     reallyInside(canonical, snapshots + e.snapshot));
        if (!reallyInside(canonical, path) || !copyInside) {
            result.refused = true;
            result.error = QStringLiteral("l'indicazione della modifica (%1) nomina \"%2\", che "
                                          "porta fuori dalla cartella")
                               .arg(QDir::toNativeSeparators(snapshots + kMarker),
                                    QDir::toNativeSeparators(e.name));
            return result;
        }
    }
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const QString path = inside(base) + it->name;
        QString reason;
        if (restoreOne(snapshots, it->snapshot, path, &reason)) {
            result.files.prepend(path);
        } else {
            result.leftChanged.prepend(path);
            if (result.error.isEmpty()) result.error = reason;
        }
    }
    removeTemporariesOf(result.files);
    if (!result.leftChanged.isEmpty()) return result;
    if (!QFile::remove(snapshots + kMarker)) {
        result.error = snapshots + kMarker + QStringLiteral(": impossibile eliminare il file");
        return result;
    }
    removeFolder(snapshots);
    result.restored = true;
    return result;
}

} // namespace qv
