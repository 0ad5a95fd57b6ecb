#pragma once
// The line printer on Qt's print system. Lines go to the printer configured in
// the print setup; on a machine without a printer each document becomes a PDF
// file in the print folder, and the user is told where it is.

#include "line_printer.h"

#include <QPageLayout>
#include <memory>

class QPainter;
class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class QSaveFile;

namespace qv {

// The one printer of the program, which the print-setup dialog configures and
// every print uses: A4 with the default margins below unless the user changes them.
QPrinter& sharedPrinter();

// A4 portrait with narrow margins: the reports are laid out for the whole
// printable area of the paper.
QPageLayout defaultPageLayout();

// A name for a new PDF file in folder (which ends in "/"): the prefix, the current
// date and time ("stampa-YYYYMMDD-HHMMSS.pdf" for "stampa-"), with "-2", "-3", ...
// added when a file of that name is already there.
QString freshPdfName(const QString& folder, const QString& prefix);

// Each document is kept whole until it ends and then laid out at once: every page
// of the document becomes exactly one sheet. When the lines of the fullest page, or
// the widest line, would not fit the printable area at their own sizes, the whole
// document is printed smaller by one common factor (fonts and line spacing alike),
// so that nothing runs past the bottom or off the right edge; a page that would
// need more than that (an unusual run of lines) is made smaller on its own.
class QtLinePrinter : public LinePrinter {
public:
    QtLinePrinter();
    ~QtLinePrinter() override;

    void printLine(const QString& text) override;
    void newPage() override;
    void endDoc() override;

    // Prints a finished document in one job (what endDoc does with the lines
    // printed since the last end). Returns whether the job was completed; when it
    // could not be, the user has been told why, once.
    bool print(const PrintedDocument& document);

    // The folder for PDF output; created when needed. Until one is set, the folder
    // "stampe/" of the data folder in use (PercorsoDati), or of the default data folder
    // while none is in use.
    void setPdfFolder(const QString& folder);
    QString pdfFolder() const;
    // Writes PDF files even when a printer is available.
    void setPdfOnly(bool on) { pdfOnly_ = on; }
    // The last PDF file completed; empty when none was.
    QString lastPdfPath() const { return lastPdfPath_; }
    bool documentOpen() const { return open_; }

    // Whether documents go to a real printer rather than to PDF files.
    bool printsToPrinter() const;
    // The printer chosen is ready, or (without one) the folder of the PDF files can be
    // made and written in.
    Esito available() const override;

    // The smallest factor a whole document is printed at to fit its widest line; a
    // line wider still is cut at the right edge.
    static constexpr double MinimumScale = 0.5;

protected:
    bool lastDocumentPrinted() const override { return lastPrinted_; }

private:
    // The steps of a print, each failed with what the user is told when it cannot be
    // done; print() shows it once the job is released.
    Esito beginPdf();
    Esito beginPrinter();
    Esito render(const PrintedDocument& document);
    Esito finish();
    void release();

    bool pdfOnly_ = false;
    bool lastPrinted_ = true;
    QString pdfFolder_;
    QString pdfPath_;
    QString lastPdfPath_;
    PrintedDocument pending_; // the document being printed, until endDoc
    bool open_ = false;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPainter> painter_;
    QPagedPaintDevice* device_ = nullptr;
};

// The program's Qt back end (the one printer() returns when no override is set).
QtLinePrinter& qtPrinter();

} // namespace qv
