#include "common/file_names.h"

#include "common/disk_sync.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <utility>

namespace qv {

namespace {

QString withSlash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) return folder;
    return folder + QLatin1Char('/');
}

QDir folderDir(const QString& folder) {
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder);
}

constexpr QDir::Filters kEntries = QDir::Files | QDir::Hidden | QDir::System;

quint64& listings() {
    static quint64 count = 0;
    return count;
}

// The folder's entries in name order.
QStringList listFolder(const QString& folder) {
    ++listings();
    return folderDir(folder).entryList(kEntries, QDir::Name);
}

// The folder and name parts of a path ("" folder when there is no "/").
std::pair<QString, QString> splitPath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return {QString(), path};
    return {path.left(slash + 1), path.mid(slash + 1)};
}

struct ActiveNames {
    int depth = 0;
    std::unique_ptr<FolderNames> names;
};

ActiveNames& active() {
    static ActiveNames instance;
    return instance;
}

} // namespace

FolderNamesScope::FolderNamesScope() {
    if (active().depth++ == 0) active().names = std::make_unique<FolderNames>();
}

FolderNamesScope::~FolderNamesScope() {
    if (--active().depth == 0) active().names.reset();
}

void noteNameWritten(const QString& path) {
    if (active().names) active().names->created(path);
}

quint64 folderListingCount() {
    return listings();
}

FolderNames::Index& FolderNames::indexOf(const QString& folder, bool reread) {
    auto it = folders_.find(folder);
    if (it != folders_.end() && !reread) return *it;
    Index index;
    // The first in name order wins, as resolveFile has it.
    for (const QString& entry : listFolder(folder)) {
        const QString key = entry.toCaseFolded();
        if (!index.contains(key)) index.insert(key, entry);
    }
    return folders_[folder] = std::move(index);
}

QString FolderNames::resolve(const QString& path) {
    const auto [folder, name] = splitPath(path);
    const QString exact = withSlash(folder) + name;
    if (name.isEmpty() || QFileInfo::exists(exact)) return exact;
    for (const bool reread : {false, true}) {
        const Index& index = indexOf(withSlash(folder), reread);
        const auto hit = index.constFind(name.toCaseFolded());
        if (hit == index.cend()) return exact;
        const QString found = withSlash(folder) + *hit;
        if (QFileInfo::exists(found)) return found;
        // Gone since the folder was read: read it again once.
    }
    return exact;
}

void FolderNames::created(const QString& path) {
    const auto [folder, name] = splitPath(path);
    const auto it = folders_.find(withSlash(folder));
    if (it == folders_.end() || name.isEmpty()) return;
    const QString key = name.toCaseFolded();
    const auto known = it->constFind(key);
    if (known == it->cend() || name < *known) it->insert(key, name);
}

QString resolveFile(const QString& folder, const QString& name) {
    const QString exact = withSlash(folder) + name;
    if (name.isEmpty() || QFileInfo::exists(exact)) return exact;
    if (active().names) return active().names->resolve(exact);
    const QStringList entries = listFolder(folder);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return withSlash(folder) + entry;
    }
    return exact;
}

QString resolvePath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return resolveFile(QString(), path);
    return resolveFile(path.left(slash + 1), path.mid(slash + 1));
}

bool accountCodeNamesFile(const QString& code) {
    const QString base = code.trimmed();
    return !base.isEmpty() && std::none_of(base.begin(), base.end(), [](QChar c) {
        return c == QLatin1Char('/') || c == QLatin1Char('\\') ||
               c.category() == QChar::Other_Control;
    });
}

QString accountFile(const QString& folder, const QString& code, const QString& ext) {
    // A blank code names files of the folder (".MOV"); a separator or a control
    // character would name others.
    if (!code.trimmed().isEmpty() && !accountCodeNamesFile(code)) return {};
    return resolveFile(folder, code.trimmed() + ext);
}

QStringList accountFilesIn(const QString& folder, const QString& code) {
    const QString base = code.trimmed();
    if (base.isEmpty()) return {};
    const QDir dir = folderDir(folder);
    QStringList files;
    for (const QString& entry : dir.entryList(kEntries, QDir::Name)) {
        if (entry.size() <= base.size() || !entry.startsWith(base, Qt::CaseInsensitive)) continue;
        const QStringView ext = QStringView(entry).mid(base.size());
        const bool own =
            std::any_of(EstensioniConto.begin(), EstensioniConto.end(),
                        [&](QLatin1String e) { return ext.compare(e, Qt::CaseInsensitive) == 0; });
        if (own) files << dir.filePath(entry);
    }
    return files;
}

bool deleteAccountFiles(const QString& folder, const QString& code, QStringList* failed) {
    if (code.trimmed().isEmpty()) return false;
    bool allRemoved = true;
    for (const QString& path : accountFilesIn(folder, code)) {
        noteFileWrite(path);
        if (!QFile::remove(path)) {
            allRemoved = false;
            if (failed) failed->append(QFileInfo(path).fileName());
        }
    }
    return allRemoved;
}

} // namespace qv
