#include "common/folder_lock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

QString canonicalFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

// A lock file older than this whose owner cannot be read was left by a program stopped
// between creating it and writing it; a younger one may be being written right now.
constexpr qint64 kSecondiScrittura = 10;

// Removes the lock file at `path` when it names no owner (empty or unreadable: a kill or
// a power cut between its creation and its writing) and no living process holds it.
// QLockFile keeps a lock on the file it holds (flock), so taking that lock here proves
// that nobody holds it; the file is removed while it is held, and only when it is still
// the file that was judged. True when it is gone.
bool removeOwnerlessLock(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool removed = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        struct stat held {};
        struct stat named {};
        const QDateTime changed = QFileInfo(path).lastModified();
        const bool old =
            std::abs(changed.secsTo(QDateTime::currentDateTime())) >= kSecondiScrittura;
        QLockFile judge(path);
        qint64 pid = 0;
        QString host, app;
        const bool ownerless = !judge.getLockInfo(&pid, &host, &app);
        if (ownerless && old && ::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            removed = ::unlink(name.constData()) == 0;
    }
    ::close(fd);
    return removed;
}

} // namespace

FolderLock::FolderLock() = default;
FolderLock::~FolderLock() = default;

FolderLock::Result FolderLock::lock(const QString& folder) {
    const QString target = canonicalFolder(folder);
    if (lock_ && target == folder_) return Result::Locked;
    auto candidate = std::make_unique<QLockFile>(target + QLatin1Char('/') + FileBloccoCartella);
    // Only a dead owner makes a lock stale: a program may keep a folder for days.
    candidate->setStaleLockTime(0);
    bool taken = candidate->tryLock(0);
    // A lock that names no owner and that no living process holds is stale.
    if (!taken && candidate->error() == QLockFile::LockFailedError &&
        removeOwnerlessLock(candidate->fileName()))
        taken = candidate->tryLock(0);
    if (taken) {
        lock_ = std::move(candidate);
        folder_ = target;
        return Result::Locked;
    }
    if (candidate->error() == QLockFile::LockFailedError) return Result::InUse;
    unlock();
    folder_ = target;
    return Result::Unavailable;
}

void FolderLock::unlock() {
    if (lock_) lock_->unlock();
    lock_.reset();
    folder_.clear();
}

FolderLock& dataFolderLock() {
    static FolderLock instance;
    return instance;
}

QString testoCartellaInUso(const QString& folder) {
    return QStringLiteral("La cartella dati %1 è in uso da un altro programma Quorvanta.\n"
                          "Chiudere l'altro programma o scegliere un'altra cartella.")
        .arg(QDir::toNativeSeparators(folder));
}

QString testoCartellaSenzaBlocco(const QString& folder) {
    return QStringLiteral("Impossibile riservare la cartella dati %1 (cartella in sola lettura?): "
                          "un altro programma potrebbe modificarne i dati nello stesso momento.")
        .arg(QDir::toNativeSeparators(folder));
}

} // namespace qv
