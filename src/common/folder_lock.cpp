#include "common/folder_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace qv {

namespace {

QString canonicalFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
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
    if (candidate->tryLock(0)) {
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
