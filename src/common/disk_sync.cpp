#include "common/disk_sync.h"

#include <QFile>
#include <QFileDevice>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace qv {

namespace {

bool syncDescriptor(int fd, QString* error) {
    if (fd < 0) {
        if (error) *error = QStringLiteral("file non aperto");
        return false;
    }
    if (::fdatasync(fd) == 0) return true;
    if (error) *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace

bool syncOpenFile(QFileDevice& file, QString* error) {
    if (!file.flush()) {
        if (error) *error = file.errorString();
        return false;
    }
    return syncDescriptor(file.handle(), error);
}

bool syncFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    return syncDescriptor(file.handle(), error);
}

bool syncFolder(const QString& folder, QString* error) {
    const QByteArray name = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // fsync, not fdatasync: a folder's entries are its data and its metadata alike.
    const bool done = ::fsync(fd) == 0;
    if (!done && error) *error = QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return done;
}

} // namespace qv
