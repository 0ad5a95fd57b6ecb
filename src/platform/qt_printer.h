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

class QtLinePrinter : public LinePrinter {
public:
    QtLinePrinter();
    ~QtLinePrinter() override;

    void printLine(const QString& text) override;
    void newPage() override;
    void endDoc() override;

    // The folder for PDF output (the data folder's "stampe/"); created when needed.
    // Until it is set, the default data folder's "stampe/" is used.
    void setPdfFolder(const QString& folder);
    QString pdfFolder() const;
    // Writes PDF files even when a printer is available.
    void setPdfOnly(bool on) { pdfOnly_ = on; }
    bool pdfOnly() const { return pdfOnly_; }
    // The last PDF file completed; empty when none was.
    QString lastPdfPath() const { return lastPdfPath_; }
    bool documentOpen() const { return state_ != State::Idle; }

    // Whether documents go to a real printer rather than to PDF files.
    bool printsToPrinter() const;

private:
    enum class State { Idle, Printing, Failed };

    bool ensureDocument();
    bool beginPdf();
    bool beginPrinter();
    void ejectPage();
    void fail(const QString& message);
    void release();
    bool finish(QString* error);

    State state_ = State::Idle;
    bool pdfOnly_ = false;
    QString pdfFolder_;
    QString pdfPath_;
    QString lastPdfPath_;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPainter> painter_;
    QPagedPaintDevice* device_ = nullptr;
    double y_ = 0;         // top of the next line, in device pixels from the top margin
    int pendingPages_ = 0; // pages ended by newPage and not yet begun
};

// The program's Qt back end (the one printer() returns when no override is set).
QtLinePrinter& qtPrinter();

} // namespace qv
