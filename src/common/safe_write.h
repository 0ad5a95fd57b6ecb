#pragma once
// Rewriting a whole file safely: the new content goes to a temporary file beside the
// old one and replaces it only when complete, so a failure leaves the old file whole.

#include <QByteArray>
#include <QString>
#include <vector>

namespace qv {

// Replaces the file at `path` (found ignoring letter case, so it keeps its spelling)
// with `content`. On any failure the old file is unchanged, false is returned and
// `error` receives the reason.
bool rewriteFile(const QString& path, const QByteArray& content, QString* error = nullptr);

// The content of a record file holding `records` as records 1, 2, ...
template <class It> QByteArray recordsToBytes(It first, It last) {
    QByteArray bytes;
    for (; first != last; ++first)
        bytes.append(first->toBytes());
    return bytes;
}

template <class R> QByteArray recordsToBytes(const std::vector<R>& records) {
    QByteArray bytes;
    bytes.reserve(qsizetype(records.size()) * R::Lunghezza);
    return bytes.append(recordsToBytes(records.begin(), records.end()));
}

// Rewrites a record file so that it holds exactly `records`.
template <class R>
bool rewriteRecords(const QString& path, const std::vector<R>& records, QString* error = nullptr) {
    return rewriteFile(path, recordsToBytes(records), error);
}

} // namespace qv
