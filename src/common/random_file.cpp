#include "common/random_file.h"

#include "common/disk_sync.h"
#include "common/file_errors.h"
#include "common/file_names.h"
#include "common/records.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <limits>

namespace qv {

namespace {

// Record numbers are 16-bit in every file format; a larger one is a fault of the
// caller and must not grow a file by gigabytes.
constexpr qint64 kMaxRecord = 32767;

} // namespace

RecordFile::RecordFile(const QString& path, int recordLength)
    : m_path(path), m_length(recordLength > 0 ? recordLength : 1) {}

RecordFile RecordFile::atResolved(const QString& path, int recordLength) {
    RecordFile file(path, recordLength);
    file.m_resolved = true;
    return file;
}

QString RecordFile::path() const {
    return m_resolved ? m_path : resolvePath(m_path);
}

bool RecordFile::exists() const {
    return QFileInfo::exists(path());
}

int RecordFile::recordCount() const {
    const QFileInfo info(path());
    if (!info.exists()) return 0;
    return int(qMin<qint64>(info.size() / m_length, std::numeric_limits<int>::max()));
}

void RecordFile::clearError() const {
    m_error = QFileDevice::NoError;
    m_errorString.clear();
    m_errno = 0;
}

void RecordFile::fail(QFileDevice::FileError error, const QString& reason, int osErrno) const {
    m_error = error == QFileDevice::NoError ? QFileDevice::UnspecifiedError : error;
    m_errorString = motivoErroreFile(osErrno, reason);
    m_errno = osErrno;
}

QByteArray RecordFile::read(int k) const {
    return readRange(k, 1);
}

QByteArray RecordFile::readRange(int first, int count) const {
    clearError();
    const qint64 wanted = count > 0 ? qint64(count) * m_length : 0;
    QByteArray out(wanted, '\0');
    if (count <= 0) return out;
    if (first < 1) {
        fail(QFileDevice::PositionError, QStringLiteral("numero di record non valido"), 0);
        return out;
    }
    QFile file(path());
    if (!file.exists()) return out; // a missing file reads as zeros and is not created
    noteFileRead(file.fileName());
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        fail(file.error(), file.errorString(), errno);
        return out;
    }
    const qint64 offset = qint64(first - 1) * m_length;
    if (offset >= file.size()) return out;
    errno = 0;
    if (!file.seek(offset)) {
        fail(file.error(), file.errorString(), errno);
        return out;
    }
    const qint64 got = file.read(out.data(), wanted);
    if (got < 0) {
        const int err = errno;
        fail(file.error(), file.errorString(), err);
        out.fill('\0');
    }
    return out;
}

bool RecordFile::write(int k, const QByteArray& record) {
    clearError();
    if (record.size() != m_length) {
        fail(QFileDevice::WriteError, QStringLiteral("lunghezza del record errata"), 0);
        return false;
    }
    return writeRange(k, record);
}

bool RecordFile::writeRange(int first, const QByteArray& records) {
    clearError();
    if (records.isEmpty()) return true; // nothing to write
    if (records.size() % m_length != 0) {
        fail(QFileDevice::WriteError, QStringLiteral("lunghezza del record errata"), 0);
        return false;
    }
    const qint64 last = qint64(first) + records.size() / m_length - 1;
    if (first < 1 || last > kMaxRecord) {
        fail(QFileDevice::PositionError, QStringLiteral("numero di record non valido"), 0);
        return false;
    }
    return writeAt(qint64(first - 1) * m_length, records);
}

bool RecordFile::writeAt(qint64 offset, const QByteArray& data) {
    const QString target = path();
    noteFileWrite(target);
    QFile file(target);
    const bool created = !file.exists();
    m_created = false;
    errno = 0;
    if (!file.open(QIODevice::ReadWrite)) {
        fail(file.error(), file.errorString(), errno);
        return false;
    }
    m_created = created;
    // Past the end: fill the gap with zeros ourselves, as a seek beyond the end
    // leaves its content to the file system.
    const qint64 size = file.size();
    QByteArray block;
    qint64 at = offset;
    if (offset > size) {
        block = QByteArray(offset - size, '\0');
        at = size;
    }
    block.append(data);
    errno = 0;
    if (!file.seek(at)) {
        fail(file.error(), file.errorString(), errno);
        return false;
    }
    if (file.write(block) != block.size() || !file.flush()) {
        // A write cut short (a full disk) leaves errno as the system set it, and Qt's
        // own text may be no more than "Unknown error".
        const int err = errno;
        fail(QFileDevice::WriteError, motivoScritturaIncompleta(err), err);
        return false;
    }
    // The record is on the disk before anything that counts on it (the count that
    // makes it visible) is written: the caller writes that only after this returns.
    QString reason;
    if (m_sync && !syncOpenFile(file, &reason)) {
        fail(QFileDevice::WriteError, reason, errno);
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        fail(file.error(), file.errorString(), errno);
        return false;
    }
    // A file made by this write exists after a power loss only once its folder is synced.
    if (!m_sync) return true;
    if (created && m_syncFolder && !syncFolder(QFileInfo(target).absolutePath(), &reason)) {
        fail(QFileDevice::WriteError, reason, errno);
        return false;
    }
    reachDiskPoint(DiskPoint::FileSynced, target);
    return true;
}

bool RecordFile::ensureExists() {
    clearError();
    QFile file(path());
    if (file.exists()) return true;
    noteFileWrite(file.fileName());
    errno = 0;
    if (!file.open(QIODevice::ReadWrite)) {
        fail(file.error(), file.errorString(), errno);
        return false;
    }
    return true;
}

qint16 leggiContatore(const QString& path, QString* error) {
    return leggiRecord<Contatore>(path, 1, error).valore;
}

bool scriviContatore(const QString& path, qint16 valore, QString* error) {
    return scriviRecord(path, 1, Contatore{valore}, error);
}

} // namespace qv
