#pragma once
// Rewriting a whole file safely: the new content goes to a temporary file beside the
// old one and replaces it (a rename) only when complete and on the disk, so a failure
// leaves the old file whole. The new file is synced once; a link is written through.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <iterator>
#include <vector>

namespace qv {

// Replaces the file at `path` (found ignoring letter case, so it keeps its spelling)
// with `content`. The new content is synced to the disk before it replaces the old
// file, and the folder after. On any failure the old file is unchanged, false is
// returned and `error` receives the reason, without the file's name.
bool rewriteFile(const QString& path, const QByteArray& content, QString* error = nullptr);

// rewriteFile for a path already resolved: the file of exactly that name, which is
// created under it when missing.
bool rewriteFileAt(const QString& path, const QByteArray& content, QString* error = nullptr);

// rewriteFileAt without the folder's sync: for a change that syncs each folder it changed
// once, at its end, before it counts as done (Transaction::commit).
bool rewriteFileAtLeavingFolder(const QString& path, const QByteArray& content,
                                QString* error = nullptr);

// rewriteFileAt, and false also when the folder cannot be synced after the new file took
// the old one's place (the new content is in place then): for a file whose new name
// must be on the disk before anything else is written.
bool rewriteFileAtDurably(const QString& path, const QByteArray& content, QString* error = nullptr);

// rewriteFile for a file the program rebuilds from the others at every load (".Ord"):
// as safe against a failure, but it does not wait for the disk.
bool rewriteDerivedFile(const QString& path, const QByteArray& content, QString* error = nullptr);

// A program stopped while it rewrote a file leaves the new content's temporary file
// behind: the file's name, a "." and six letters or digits ("123.Ord.aB3dE9").
// Whether `fileName` is such a file for `baseName` (letter case ignored).
bool isRewriteTemporary(const QString& fileName, const QString& baseName);
// Removes from `folder` the temporary files left by rewrites of the files named
// `baseNames`; returns the names removed, and those that could not be in notRemoved.
QStringList removeRewriteTemporaries(const QString& folder, const QStringList& baseNames,
                                     QStringList* notRemoved = nullptr);

// The content of a record file holding `records` as records 1, 2, ...
template <class It> QByteArray recordsToBytes(It first, It last) {
    QByteArray bytes;
    // Sized once for all the records when their number is known.
    if constexpr (std::random_access_iterator<It>)
        bytes.reserve(qsizetype(last - first) * std::iter_value_t<It>::Lunghezza);
    for (; first != last; ++first)
        bytes.append(first->toBytes());
    return bytes;
}

template <class R> QByteArray recordsToBytes(const std::vector<R>& records) {
    return recordsToBytes(records.begin(), records.end());
}

// Rewrites a record file so that it holds exactly `records`.
template <class R>
bool rewriteRecords(const QString& path, const std::vector<R>& records, QString* error = nullptr) {
    return rewriteFile(path, recordsToBytes(records), error);
}

} // namespace qv
