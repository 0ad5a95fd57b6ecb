#include "common/safe_write.h"

#include "common/file_names.h"

#include <QSaveFile>

namespace qv {

bool rewriteFile(const QString& path, const QByteArray& content, QString* error) {
    const QString target = resolvePath(path);
    QSaveFile file(target);
    QString reason;
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
    } else if (file.write(content) != content.size()) {
        reason = file.errorString();
        file.cancelWriting(); // the temporary file is dropped, the old file stays
    } else if (!file.flush()) {
        // QSaveFile's commit() does not check its own final flush: a short write of
        // the buffered bytes (disk full) would otherwise replace the old file with
        // a cut one and still report success.
        reason = file.errorString();
        file.cancelWriting();
    } else if (!file.commit()) { // renames over the old file
        reason = file.errorString();
    }
    if (error) *error = reason.isEmpty() ? QString() : target + QStringLiteral(": ") + reason;
    return reason.isEmpty();
}

} // namespace qv
