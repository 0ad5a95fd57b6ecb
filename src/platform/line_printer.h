#pragma once
// The printer as the reports use it: a text device that prints one line per
// call in the current font, ejects pages and ends documents. A document starts
// by itself with the first output after the previous one ended.
//
// Two back ends: QtLinePrinter (qt_printer.h) puts the lines on paper or into a
// PDF file; CapturePrinter keeps them in memory page by page for the tests.

#include "common/esito.h"
#include "common/printed_document.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace qv {

class LinePrinter {
public:
    virtual ~LinePrinter() = default;

    // Font settings apply to the lines printed after them and persist from one
    // document to the next.
    void setFontName(const QString& name) { fontName_ = name; }
    void setFontSize(double points) { fontSize_ = points; }
    void setBold(bool bold) { bold_ = bold; }
    QString fontName() const { return fontName_; }
    double fontSize() const { return fontSize_; }
    bool bold() const { return bold_; }

    // Prints one line in the current font; an empty text is an empty line.
    virtual void printLine(const QString& text) = 0;
    // Ends the current page; the next line goes to the top of a new one. A page
    // ended right before endDoc leaves no blank page behind.
    virtual void newPage() = 0;
    // Ends the document and releases it; nothing happens when none is open.
    virtual void endDoc() = 0;

    // Whether a document can be printed now (the printer, or the folder of the PDF
    // files, is there): done, or failed with why, in the program's words.
    virtual Esito available() const { return Esito::fatto(); }

    // Prints a whole document: its pages in order, each line in its own font, then
    // ends it. The font settings are left as the last line had them. Returns whether
    // the document was printed whole (when not, the back end has told the user why).
    bool printDocument(const PrintedDocument& document);
    // The same for a document made a page at a time: `count` pages, page k (from 0)
    // made by `page` when its turn to be printed comes.
    bool printPages(int count, const std::function<PrintedPage(int)>& page);

protected:
    // Whether the document ended last was printed whole.
    virtual bool lastDocumentPrinted() const { return true; }

private:
    QString fontName_ = QStringLiteral("Arial");
    double fontSize_ = 10.0;
    bool bold_ = false;
};

// Keeps every document in memory: documents, their pages, the lines of a page.
class CapturePrinter : public LinePrinter {
public:
    void printLine(const QString& text) override;
    void newPage() override;
    void endDoc() override;

    const std::vector<PrintedDocument>& documents() const { return documents_; }
    // The most recent document, finished or not; empty when nothing was printed.
    const PrintedDocument& lastDocument() const;
    // True while a document has output and no endDoc yet.
    bool documentOpen() const { return open_; }
    // Forgets every document (font settings stay).
    void clear();

    // The texts of a page's lines, for line-by-line comparisons.
    static QStringList texts(const PrintedPage& page);

    // A printer that is not there (tests): available() fails with `reason`; an empty
    // reason makes it available again.
    void setUnavailable(const QString& reason) { unavailable_ = reason; }
    Esito available() const override;

private:
    PrintedPage& currentPage();

    std::vector<PrintedDocument> documents_;
    bool open_ = false;
    QString unavailable_;
};

// The program's printer: the Qt back end unless a test installed another one.
LinePrinter& printer();
// Installs a printer in place of the Qt back end (tests); nullptr restores it.
// The caller keeps ownership and removes it before destroying it.
void setPrinterOverride(LinePrinter* p);

} // namespace qv
