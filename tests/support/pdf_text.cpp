#include "pdf_text.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace qv::test {

bool pdfToolsAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

QString runProgram(const QString& program, const QStringList& args) {
    QProcess proc;
    proc.start(program, args);
    proc.waitForFinished(-1);
    return QString::fromUtf8(proc.readAllStandardOutput());
}

QStringList simplifiedLines(const QStringList& lines) {
    QStringList out;
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty()) out << line.simplified();
    return out;
}

std::vector<QStringList> pdfPages(const QString& path) {
    QStringList pages = runProgram(QStringLiteral("pdftotext"),
                                   {QStringLiteral("-layout"), path, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    // Each page ends with a form feed: what follows the last one is no page.
    if (!pages.isEmpty()) pages.removeLast();
    std::vector<QStringList> out;
    for (const QString& page : pages)
        out.push_back(simplifiedLines(page.split(QLatin1Char('\n'))));
    return out;
}

int pdfPageCount(const QString& path) {
    static const QRegularExpression pagine(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                           QRegularExpression::MultilineOption);
    const auto m = pagine.match(runProgram(QStringLiteral("pdfinfo"), {path}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace qv::test
