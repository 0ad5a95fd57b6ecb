#include "common/disk_sync.h"

#include "common/file_errors.h"
#include "common/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace qv {

namespace {

DiskObserver& observer() {
    static DiskObserver instance;
    return instance;
}

quint64& syncs() {
    static quint64 count = 0;
    return count;
}

bool syncDescriptor(int fd, QString* error) {
    ++syncs();
    if (fd < 0) {
        if (error) *error = QStringLiteral("file non aperto");
        return false;
    }
    if (::fdatasync(fd) == 0) return true;
    if (error) *error = motivoErroreFile(errno);
    return false;
}

ReadObserver& readObserver() {
    static ReadObserver instance;
    return instance;
}

// Writes by folder, each folder as an absolute, clean path.
std::map<QString, quint64>& writes() {
    static std::map<QString, quint64> counts;
    return counts;
}

} // namespace

quint64 diskSyncCount() {
    return syncs();
}

quint64 fileWriteCount(const QString& folder) {
    const auto it = writes().find(QDir::cleanPath(QDir(folder).absolutePath()));
    return it == writes().end() ? 0 : it->second;
}

void noteFileWrite(const QString& path) {
    noteNameWritten(path);
    ++writes()[QDir::cleanPath(QFileInfo(path).absolutePath())];
}

void setReadObserver(ReadObserver o) {
    readObserver() = std::move(o);
}

void noteFileRead(const QString& path) {
    if (readObserver()) readObserver()(path);
}

void setDiskObserver(DiskObserver o) {
    observer() = std::move(o);
}

void reachDiskPoint(DiskPoint point, const QString& path) {
    if (observer()) observer()(point, path);
}

bool syncFileDescriptor(int fd, QString* error) {
    return syncDescriptor(fd, error);
}

bool syncOpenFile(QFileDevice& file, QString* error) {
    errno = 0;
    if (!file.flush()) {
        if (error) *error = motivoScritturaIncompleta(errno);
        return false;
    }
    return syncDescriptor(file.handle(), error);
}

bool syncFile(const QString& path, QString* error) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = motivoErroreFile(errno, file.errorString());
        return false;
    }
    return syncDescriptor(file.handle(), error);
}

bool syncFolder(const QString& folder, QString* error) {
    const QByteArray name = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = motivoErroreFile(errno);
        return false;
    }
    ++syncs();
    // fsync, not fdatasync: a folder's entries are its data and its metadata alike.
    const bool done = ::fsync(fd) == 0;
    if (!done && error) *error = motivoErroreFile(errno);
    ::close(fd);
    return done;
}

} // namespace qv
