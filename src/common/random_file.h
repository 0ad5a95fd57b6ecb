#pragma once
// Random-access files of fixed-length records: record k (from 1) lies at byte
// (k - 1) x length. Reading past the end, or from a missing file, gives zero bytes;
// writing past the end extends the file, the gap filled with zeros. The file is
// opened for one operation and closed at once, and its name is found ignoring letter
// case (resolvePath), so files copied from Windows are used under their own spelling.

#include "common/text_codec.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <vector>

namespace qv {

class RecordFile {
public:
    RecordFile(const QString& path, int recordLength);

    // The file of exactly that name (a path already resolved ignoring letter case, as a
    // change resolves it through the names it has read): no lookup of its own.
    static RecordFile atResolved(const QString& path, int recordLength);

    // Record k, always recordLength bytes. Beyond the end of the file, in a missing
    // file, or after an error, the missing bytes are zeros. Never creates the file.
    QByteArray read(int k) const;

    // `count` records from record `first`, concatenated, same rules as read().
    QByteArray readRange(int first, int count) const;

    // Writes one record (exactly recordLength bytes) at record k, creating the file
    // when missing, and puts it on the disk (fdatasync; a new file's folder synced too)
    // before returning, so that whatever the caller writes next (the count that makes
    // the record visible) never reaches the disk before it. Returns false, with the
    // reason, when anything fails.
    bool write(int k, const QByteArray& record);

    // Writes consecutive whole records from record `first` in one operation; no records
    // is no write and succeeds.
    bool writeRange(int first, const QByteArray& records);

    // Creates the file empty when it does not exist.
    bool ensureExists();

    // Whether writes wait for the disk (the default). A file the program rebuilds from
    // the others at every load (".TOT") need not: a power loss costs nothing there.
    void setSyncToDisk(bool on) { m_sync = on; }

    // Whether a file that a write creates has its folder synced by the write (the
    // default), or leaves that to the caller, which syncs the folder before anything
    // counts on the new name (a change syncs each folder it changed once, at its end).
    void setSyncFolderOfNewFile(bool on) { m_syncFolder = on; }
    // Whether the last write created the file.
    bool created() const { return m_created; }

    // Whole records in the file; 0 for a missing file.
    int recordCount() const;

    bool exists() const;
    QString path() const; // the file's name as found on disk (or as given when missing)
    int recordLength() const { return m_length; }

    // The outcome of the last operation.
    bool ok() const { return m_error == QFileDevice::NoError; }
    QFileDevice::FileError error() const { return m_error; }
    QString errorString() const { return m_errorString; }
    int osErrno() const { return m_errno; }

private:
    void clearError() const;
    void fail(QFileDevice::FileError error, const QString& reason, int osErrno) const;
    bool writeAt(qint64 offset, const QByteArray& data);

    QString m_path;
    int m_length;
    bool m_resolved = false;
    bool m_sync = true;
    bool m_syncFolder = true;
    bool m_created = false;
    mutable QFileDevice::FileError m_error = QFileDevice::NoError;
    mutable QString m_errorString;
    mutable int m_errno = 0;
};

// Record k of the file at `path`, decoded; zeros and blanks where the file has none.
// `error` receives the reason when the file exists but cannot be read.
template <class R> R leggiRecord(const QString& path, int k, QString* error = nullptr) {
    RecordFile file(path, R::Lunghezza);
    R record = R::fromBytes(file.read(k));
    if (error) *error = file.errorString();
    return record;
}

// Records 1 to count of the file at `path`, read in one operation, decoded and added at
// the end of `records` (which the caller may have sized for more).
template <class R>
void aggiungiRecords(const QString& path, int count, std::vector<R>& records,
                     QString* error = nullptr) {
    RecordFile file(path, R::Lunghezza);
    const QByteArray bytes = file.readRange(1, count);
    if (error) *error = file.errorString();
    if (count <= 0) return;
    records.reserve(records.size() + size_t(count));
    const QByteArrayView all(bytes);
    if constexpr (requires(TextBlock * b) { R::fromBytes(all, b); }) {
        // The texts of all the records share one block (a record holds no more characters
        // than bytes).
        TextBlock block(qsizetype(count) * R::Lunghezza);
        for (int i = 0; i < count; ++i)
            records.push_back(
                R::fromBytes(all.sliced(qsizetype(i) * R::Lunghezza, R::Lunghezza), &block));
    } else {
        for (int i = 0; i < count; ++i)
            records.push_back(R::fromBytes(all.sliced(qsizetype(i) * R::Lunghezza, R::Lunghezza)));
    }
}

// Records 1 to count of the file at `path`, read in one operation.
template <class R>
std::vector<R> leggiRecords(const QString& path, int count, QString* error = nullptr) {
    std::vector<R> records;
    aggiungiRecords(path, count, records, error);
    return records;
}

template <class R>
bool scriviRecord(const QString& path, int k, const R& record, QString* error = nullptr) {
    RecordFile file(path, R::Lunghezza);
    const bool done = file.write(k, record.toBytes());
    if (error) *error = file.errorString();
    return done;
}

// scriviRecord for a file the program rebuilds from the others at every load (".TOT"):
// the write does not wait for the disk.
template <class R>
bool scriviRecordDerivato(const QString& path, int k, const R& record, QString* error = nullptr) {
    RecordFile file(path, R::Lunghezza);
    file.setSyncToDisk(false);
    const bool done = file.write(k, record.toBytes());
    if (error) *error = file.errorString();
    return done;
}

// Writes records[0..] as records first, first + 1, ... in one operation.
template <class R>
bool scriviRecords(const QString& path, int first, const std::vector<R>& records,
                   QString* error = nullptr) {
    QByteArray bytes;
    bytes.reserve(qsizetype(records.size()) * R::Lunghezza);
    for (const R& record : records)
        bytes.append(record.toBytes());
    RecordFile file(path, R::Lunghezza);
    const bool done = file.writeRange(first, bytes);
    if (error) *error = file.errorString();
    return done;
}

// The count held in record 1 of a count file; 0 when the file is missing or empty.
qint16 leggiContatore(const QString& path, QString* error = nullptr);
bool scriviContatore(const QString& path, qint16 valore, QString* error = nullptr);

} // namespace qv
