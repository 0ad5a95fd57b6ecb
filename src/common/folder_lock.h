#pragma once
// The data folder belongs to one program at a time. A lock file in the folder
// ("Quorvanta.lock", a QLockFile) says which process uses it; the lock of a process
// that died is recognised and taken over, and so is a lock file that names no owner
// (left empty by a kill or a power cut between its creation and its writing) once no
// living process holds it.

#include <QLatin1String>
#include <QString>

#include <memory>

class QLockFile;

namespace qv {

inline constexpr QLatin1String FileBloccoCartella{"Quorvanta.lock"};

class FolderLock {
public:
    enum class Result {
        Locked,      // the folder is ours (or was already)
        InUse,       // another running program holds it: the old lock is kept
        Unavailable, // no lock file can be made there (read-only folder): the old lock
                     // is released and the folder is used without one
    };

    FolderLock();
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock of `folder`; only once it is taken is the lock of the folder held
    // before released. InUse keeps the old one.
    Result lock(const QString& folder);
    // Releases the lock held, if any.
    void unlock();

    // The folder whose lock is held ("" when none).
    QString folder() const { return folder_; }
    bool locked() const { return lock_ != nullptr; }

private:
    std::unique_ptr<QLockFile> lock_;
    QString folder_;
};

// The program's one lock of its data folder.
FolderLock& dataFolderLock();

// The text shown when a data folder is in use by another Quorvanta.
QString testoCartellaInUso(const QString& folder);
// The text shown once when no lock file can be made in the data folder.
QString testoCartellaSenzaBlocco(const QString& folder);

} // namespace qv
