#include "common/safe_write.h"

#include "common/disk_sync.h"
#include "common/file_errors.h"
#include "common/file_names.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

// What a safe rewrite waits for before it returns.
enum class Attesa {
    Nessuna,      // nothing: a file rebuilt at every load
    File,         // the new content, synced before it takes the old one's name
    FileECartella // that, then the folder (a failed folder sync ignored unless `conta`)
};

// The file a rewrite of `path` replaces: the end of a chain of links (a link is written
// through, as the record writes are), or `path` itself.
QString fileFinale(const QString& path) {
    QFileInfo info(path);
    for (int passi = 0; passi < 128 && info.isSymLink(); ++passi)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

// A temporary file beside `target`, made for this rewrite alone: the file's name, a "."
// and six letters or digits (what a kill leaves behind, isRewriteTemporary). Returns its
// descriptor (-1, errno set, when it cannot be made) and its path in `temporaneo`.
int creaTemporaneo(const QString& target, QString* temporaneo) {
    static constexpr char kCaratteri[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        QString nome = target + QLatin1Char('.');
        for (int i = 0; i < 6; ++i)
            nome += QLatin1Char(kCaratteri[QRandomGenerator::global()->bounded(62)]);
        const QByteArray locale = QFile::encodeName(nome);
        const int fd = ::open(locale.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            *temporaneo = nome;
            return fd;
        }
    }
    return -1;
}

// Writes all of `content` to `fd`; false, errno set, on a failure or a short write.
bool scriviTutto(int fd, const QByteArray& content) {
    const char* dati = content.constData();
    qint64 restano = content.size();
    while (restano > 0) {
        const ssize_t scritti = ::write(fd, dati, size_t(restano));
        if (scritti < 0 && errno == EINTR) continue;
        if (scritti <= 0) {
            if (scritti == 0) errno = ENOSPC;
            return false;
        }
        dati += scritti;
        restano -= scritti;
    }
    return true;
}

// The new content goes to a temporary file beside the old one, which takes the old
// one's name only once it is complete (and on the disk, unless `attesa` is Nessuna):
// the old file stays whole until then. One sync of the new file, and none more.
bool rewrite(const QString& path, const QByteArray& content, Attesa attesa, bool resolve,
             QString* error, bool folderSyncCounts = false) {
    noteFileWrite(path);
    const QString target = fileFinale(resolve ? resolvePath(path) : path);
    QString reason;
    const auto fallito = [&](int numero) {
        reason = motivoErroreFile(numero);
        if (error) *error = reason;
        return false;
    };
    // What the old file is: its permissions go to the new one.
    struct stat vecchio {};
    const QByteArray finale = QFile::encodeName(target);
    const bool esiste = ::stat(finale.constData(), &vecchio) == 0;
    if (esiste && S_ISDIR(vecchio.st_mode)) return fallito(EISDIR);
    if (esiste && ::access(finale.constData(), W_OK) != 0) return fallito(errno);

    QString temporaneo;
    errno = 0;
    const int fd = creaTemporaneo(target, &temporaneo);
    if (fd < 0) return fallito(errno);
    const QByteArray locale = QFile::encodeName(temporaneo);
    const auto abbandona = [&](int numero, bool incompleta) {
        ::close(fd);
        ::unlink(locale.constData()); // the temporary goes, the old file stays
        reason = incompleta ? motivoScritturaIncompleta(numero) : motivoErroreFile(numero);
        if (error) *error = reason;
        return false;
    };
    errno = 0;
    if (!scriviTutto(fd, content)) return abbandona(errno, true);
    if (esiste && ::fchmod(fd, vecchio.st_mode & 07777) != 0) return abbandona(errno, false);
    if (attesa != Attesa::Nessuna) {
        // The new content is on the disk before it takes the old one's name.
        if (!syncFileDescriptor(fd, &reason)) {
            const QString motivo = reason;
            ::close(fd);
            ::unlink(locale.constData());
            if (error) *error = motivo;
            return false;
        }
    }
    if (::close(fd) != 0) {
        const int numero = errno;
        ::unlink(locale.constData());
        return fallito(numero);
    }
    reachDiskPoint(DiskPoint::BeforeReplace, target);
    if (::rename(locale.constData(), finale.constData()) != 0) {
        const int numero = errno;
        ::unlink(locale.constData());
        return fallito(numero);
    }
    // The new file is in place: a folder that refuses the sync changes nothing of that,
    // and the callers go on from the new content, unless they need the new name on the
    // disk before they go on.
    QString folderReason;
    if (attesa == Attesa::FileECartella &&
        !syncFolder(QFileInfo(target).absolutePath(), &folderReason) && folderSyncCounts)
        reason = folderReason;
    reachDiskPoint(DiskPoint::Replaced, target);
    if (error) *error = reason;
    return reason.isEmpty();
}

} // namespace

bool rewriteFile(const QString& path, const QByteArray& content, QString* error) {
    return rewrite(path, content, Attesa::FileECartella, true, error);
}

bool rewriteFileAt(const QString& path, const QByteArray& content, QString* error) {
    return rewrite(path, content, Attesa::FileECartella, false, error);
}

bool rewriteFileAtLeavingFolder(const QString& path, const QByteArray& content, QString* error) {
    return rewrite(path, content, Attesa::File, false, error);
}

bool rewriteFileAtDurably(const QString& path, const QByteArray& content, QString* error) {
    return rewrite(path, content, Attesa::FileECartella, false, error, true);
}

bool rewriteDerivedFile(const QString& path, const QByteArray& content, QString* error) {
    return rewrite(path, content, Attesa::Nessuna, true, error);
}

bool isRewriteTemporary(const QString& fileName, const QString& baseName) {
    // QSaveFile writes the new content to the file's name, a "." and six characters.
    if (fileName.size() != baseName.size() + 7) return false;
    if (!fileName.startsWith(baseName, Qt::CaseInsensitive)) return false;
    if (fileName.at(baseName.size()) != QLatin1Char('.')) return false;
    for (qsizetype i = baseName.size() + 1; i < fileName.size(); ++i) {
        const QChar c = fileName.at(i);
        if (!(c.isLetterOrNumber() && c.unicode() < 128)) return false;
    }
    return true;
}

QStringList removeRewriteTemporaries(const QString& folder, const QStringList& baseNames,
                                     QStringList* notRemoved) {
    QStringList removed;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        const bool temporary =
            std::any_of(baseNames.begin(), baseNames.end(),
                        [&](const QString& b) { return isRewriteTemporary(entry, b); });
        if (!temporary) continue;
        noteFileWrite(dir.filePath(entry));
        if (QFile::remove(dir.filePath(entry)))
            removed << entry;
        else if (notRemoved)
            *notRemoved << entry;
    }
    if (!removed.isEmpty()) {
        QString ignored;
        syncFolder(dir.path(), &ignored);
    }
    return removed;
}

} // namespace qv
