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

namespace qv {

namespace {

constexpr QLatin1String kMarker{"marcatore"};

GuastoModifiche& guasto() {
    static GuastoModifiche hook;
    return hook;
}

GuastoSimulato guastoPer(MomentoModifica momento, const QString& path) {
    return guasto() ? guasto()(momento, path) : GuastoSimulato::Nessuno;
}
constexpr QLatin1String kHeader{"Quorvanta: modifica in corso"};

QString withSlash(const QString& folder) {
    if (folder.isEmpty()) return QStringLiteral("./");
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString snapshotFolder(const QString& folder) {
    return withSlash(folder) + CartellaTransazione + QLatin1Char('/');
}

// Writes a new file and puts it on the disk before returning.
bool writeSynced(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
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
    QString path;
};

// The entries of a marker, or false when it cannot be read or is not one of ours.
bool readMarker(const QString& markerPath, std::vector<MarkerEntry>* entries, QString* error) {
    QFile file(markerPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = markerPath + QStringLiteral(": ") + file.errorString();
        return false;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (lines.isEmpty() || lines.first() != kHeader) {
        *error = markerPath + QStringLiteral(": contenuto non riconosciuto");
        return false;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        const qsizetype tab = lines[i].indexOf(QLatin1Char('\t'));
        if (tab < 0) {
            *error = markerPath + QStringLiteral(": contenuto non riconosciuto");
            return false;
        }
        const QString snapshot = lines[i].left(tab);
        entries->push_back(
            {snapshot == QLatin1String("-") ? QString() : snapshot, lines[i].mid(tab + 1)});
    }
    return true;
}

// Puts one file back from its snapshot (or removes it when it did not exist).
bool restoreOne(const QString& snapshots, const QString& snapshot, const QString& path,
                QString* error) {
    if (guastoPer(MomentoModifica::Ripristino, path) != GuastoSimulato::Nessuno) {
        *error = path + QStringLiteral(": impossibile ripristinare il file");
        return false;
    }
    if (snapshot.isEmpty()) {
        noteFileWrite(path);
        if (!QFileInfo::exists(path) || QFile::remove(path)) return true;
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
    // The exact name the file had: rewriteFile would otherwise resolve it afresh.
    QString reason;
    if (rewriteFile(path, bytes, &reason)) return true;
    *error = path + QStringLiteral(": ") + reason;
    return false;
}

void removeFolder(const QString& snapshots) {
    QDir dir(snapshots);
    if (!dir.exists()) return;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name);
    QDir().rmdir(snapshots);
    QString ignored;
    syncFolder(QFileInfo(snapshots.chopped(1)).absolutePath(), &ignored);
}

} // namespace

Transaction::Transaction(const QString& folder) : folder_(snapshotFolder(folder)) {}

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
    QByteArray text = QString(kHeader).toUtf8() + '\n';
    for (const Entry& e : entries_) {
        text += (e.snapshot.isEmpty() ? QStringLiteral("-") : e.snapshot).toUtf8();
        text += '\t' + e.path.toUtf8() + '\n';
    }
    QString reason;
    if (!rewriteFile(folder_ + kMarker, text, &reason)) {
        fail(folder_ + kMarker + QStringLiteral(": ") + reason);
        return false;
    }
    if (!syncFolder(folder_, &reason)) {
        fail(folder_ + QStringLiteral(": ") + reason);
        return false;
    }
    return true;
}

bool Transaction::protect(const QString& given) {
    return protect(QStringList{given});
}

bool Transaction::protect(const QStringList& given) {
    error_.clear();
    const size_t before = entries_.size();
    const auto giveUp = [&](const QString& reason, const QString& message = {}) {
        entries_.resize(before);
        fail(reason, message);
        return false;
    };
    for (const QString& file : given) {
        const QString path = QFileInfo(resolvePath(file)).absoluteFilePath();
        const bool known = std::any_of(entries_.begin(), entries_.end(),
                                       [&path](const Entry& e) { return e.path == path; });
        if (known) continue;
        if (finished_) return giveUp(QStringLiteral("modifica già conclusa"));
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
        Entry entry{path, QString()};
        if (QFileInfo::exists(path)) {
            QFile original(path);
            if (!original.open(QIODevice::ReadOnly))
                return giveUp(path + QStringLiteral(": ") + original.errorString());
            const QByteArray bytes = original.readAll();
            if (original.error() != QFileDevice::NoError)
                return giveUp(path + QStringLiteral(": ") + original.errorString());
            entry.snapshot = QString::number(entries_.size() + 1);
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
        entries_.resize(before);
        return false;
    }
    return true;
}

bool Transaction::mayWrite(const QString& path) {
    switch (
        guastoPer(MomentoModifica::Scrittura, QFileInfo(resolvePath(path)).absoluteFilePath())) {
    case GuastoSimulato::Nessuno:
        return true;
    case GuastoSimulato::Errore:
        failWrite(resolvePath(path), QStringLiteral("errore di scrittura"));
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
    if (!protect(path) || !mayWrite(path)) return false;
    QString reason;
    if (!rewriteFile(path, content, &reason)) {
        failWrite(resolvePath(path), reason);
        return false;
    }
    return true;
}

bool Transaction::writeRecord(const QString& path, int length, int k, const QByteArray& record) {
    if (!protect(path) || !mayWrite(path)) return false;
    RecordFile file(path, length);
    if (!file.write(k, record)) {
        failWrite(file.path(), file.errorString());
        return false;
    }
    QString reason;
    if (!syncFile(file.path(), &reason)) {
        failWrite(file.path(), reason);
        return false;
    }
    return true;
}

bool Transaction::writeRecords(const QString& path, int length, int first,
                               const QByteArray& records) {
    if (!protect(path) || !mayWrite(path)) return false;
    RecordFile file(path, length);
    if (!file.writeRange(first, records)) {
        failWrite(file.path(), file.errorString());
        return false;
    }
    return true;
}

bool Transaction::writeCount(const QString& path, qint16 value) {
    return writeRecord(path, Contatore::Lunghezza, 1, Contatore{value}.toBytes());
}

bool Transaction::remove(const QString& given) {
    if (!protect(given) || !mayWrite(given)) return false;
    const QString path = resolvePath(given);
    if (!QFileInfo::exists(path)) return true;
    noteFileWrite(path);
    if (!QFile::remove(path)) {
        fail(path + QStringLiteral(": impossibile eliminare il file"),
             QStringLiteral("Impossibile eliminare il file %1.")
                 .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}

bool Transaction::commit() {
    if (killed_) return false;
    error_.clear();
    if (finished_) return true;
    finished_ = true;
    if (entries_.empty()) return true;
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
    std::vector<MarkerEntry> entries;
    if (!readMarker(snapshots + kMarker, &entries, &result.error)) return result;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        QString reason;
        if (restoreOne(snapshots, it->snapshot, it->path, &reason)) {
            result.files.prepend(it->path);
        } else {
            result.leftChanged.prepend(it->path);
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
