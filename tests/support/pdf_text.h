#pragma once
// What a PDF file holds as text, through poppler's command-line tools, for the tests
// that print to PDF: its pages, each as its non-empty lines with every run of blanks
// made one (text extraction keeps the words and their order, not the exact columns),
// and its number of pages.

#include <QString>
#include <QStringList>

#include <vector>

namespace qv::test {

// Whether pdftotext and pdfinfo are installed.
bool pdfToolsAvailable();

std::vector<QStringList> pdfPages(const QString& path);
int pdfPageCount(const QString& path);

// The output of a program run to its end.
QString runProgram(const QString& program, const QStringList& args);

// A printed page's lines as pdfPages gives them: blank lines left out, every run of
// blanks made one.
QStringList simplifiedLines(const QStringList& lines);

} // namespace qv::test
