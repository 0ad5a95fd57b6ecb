#include "paths.h"

#include <QStandardPaths>

#include <algorithm>

namespace qv {

QString defaultProgramFolder() {
    return folderWithSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString folderWithSlash(const QString& path) {
    if (path.isEmpty()) return path;
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!p.endsWith(QLatin1Char('/'))) p += QLatin1Char('/');
    return p;
}

bool hasControlCharacter(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

QString dataFolderFromSetting(const QString& percorsoDati, const QString& programFolder) {
    const QString p = percorsoDati.trimmed();
    const bool drivePath = p.size() >= 2 && p.at(1) == QLatin1Char(':') && p.at(0).isLetter();
    if (p.isEmpty() || p == QLatin1String("0") || drivePath || hasControlCharacter(p))
        return folderWithSlash(programFolder) + QStringLiteral("dati/");
    return folderWithSlash(p);
}

} // namespace qv
