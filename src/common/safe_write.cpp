#include "common/safe_write.h"

#include "common/disk_sync.h"
#include "common/file_errors.h"
#include "common/file_names.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

namespace qv {

namespace {

bool rewrite(const QString& path, const QByteArray& content, bool sync, bool resolve,
             QString* error, bool folderSyncCounts = false) {
    noteFileWrite(path);
    const QString target = resolve ? resolvePath(path) : path;
    QSaveFile file(target);
    QString reason;
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        reason = motivoErroreFile(errno, file.errorString());
    } else if (file.write(content) != content.size()) {
        reason = motivoScritturaIncompleta(errno);
        file.cancelWriting(); // the temporary file is dropped, the old file stays
    } else if (!file.flush()) {
        // QSaveFile's commit() does not check its own final flush: a short write of
        // the buffered bytes (disk full) would otherwise replace the old file with a
        // cut one and still report success.
        reason = motivoScritturaIncompleta(errno);
        file.cancelWriting();
    } else if (sync && !syncOpenFile(file, &reason)) {
        // The new content is on the disk before it takes the old one's name.
        file.cancelWriting();
    } else {
        reachDiskPoint(DiskPoint::BeforeReplace, target);
        errno = 0;
        if (!file.commit()) { // renames over the old file
            reason = motivoErroreFile(errno, file.errorString());
        } else {
            // The new file is in place: a folder that refuses the sync changes nothing
            // of that, and the callers go on from the new content, unless they need the
            // new name on the disk before they go on.
            QString folderReason;
            if (sync && !syncFolder(QFileInfo(target).absolutePath(), &folderReason) &&
                folderSyncCounts)
                reason = folderReason;
            reachDiskPoint(DiskPoint::Replaced, target);
        }
    }
    if (error) *error = reason;
    return reason.isEmpty();
}

} // namespace

bool rewriteFile(const QString& path, const QByteArray& content, QString* error) {
    return rewrite(path, content, true, true, error);
}

bool rewriteFileAt(const QString& path, const QByteArray& content, QString* error) {
    return rewrite(path, content, true, false, error);
}

bool rewriteFileAtDurably(const QString& path, const QByteArray& content, QString* error) {
    return rewrite(path, content, true, false, error, true);
}

bool rewriteDerivedFile(const QString& path, const QByteArray& content, QString* error) {
    return rewrite(path, content, false, true, error);
}

bool isRewriteTemporary(const QString& fileName, const QString& baseName) {
    // QSaveFile writes the new content to the file's name, a "." and six characters.
    if (fileName.size() != baseName.size() + 7) return false;
    if (!fileName.startsWith(baseName, Qt::CaseInsensitive)) return false;
    if (fileName.at(baseName.size()) != QLatin1Char('.')) return false;
    for (qsizetype i = baseName.size() + 1; i < fileName.size(); ++i) {
        const QChar c = fileName.at(i);
        if (!(c.isLetterOrNumber() && c.unicode() < 128)) return false;
    }
    return true;
}

QStringList removeRewriteTemporaries(const QString& folder, const QStringList& baseNames,
                                     QStringList* notRemoved) {
    QStringList removed;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        const bool temporary =
            std::any_of(baseNames.begin(), baseNames.end(),
                        [&](const QString& b) { return isRewriteTemporary(entry, b); });
        if (!temporary) continue;
        noteFileWrite(dir.filePath(entry));
        if (QFile::remove(dir.filePath(entry)))
            removed << entry;
        else if (notRemoved)
            *notRemoved << entry;
    }
    if (!removed.isEmpty()) {
        QString ignored;
        syncFolder(dir.path(), &ignored);
    }
    return removed;
}

} // namespace qv
