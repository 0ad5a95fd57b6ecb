#include "qt_printer.h"

#include "common/paths.h"
#include "message_box.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

namespace qv {

namespace {

// Both the shared printer and the default back end live until the application
// object goes away; they must not outlive it, as Qt's print system needs it.
std::unique_ptr<QPrinter>& sharedPrinterSlot() {
    static std::unique_ptr<QPrinter> p;
    return p;
}

std::unique_ptr<QtLinePrinter>& qtPrinterSlot() {
    static std::unique_ptr<QtLinePrinter> p;
    return p;
}

LinePrinter*& overrideSlot() {
    static LinePrinter* p = nullptr;
    return p;
}

void releaseGlobals() {
    qtPrinterSlot().reset();
    sharedPrinterSlot().reset();
}

void registerRelease() {
    static bool registered = false;
    if (!registered) {
        qAddPostRoutine(releaseGlobals);
        registered = true;
    }
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

// 5 mm all round, about a printer's unprintable border: a report page of 57 body
// lines with its header and page line takes 282 mm at the reports' fonts, and a
// rule of 96 characters of Courier New 9.75 is 199 mm wide. Wider margins would
// push the reports' last lines onto a page of their own.
QPageLayout defaultPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(5.0, 5.0, 5.0, 5.0), QPageLayout::Millimeter);
}

QString freshPdfName(const QString& folder, const QString& prefix) {
    const QString stem =
        prefix + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = folder + stem + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".pdf");
    return path;
}

QPrinter& sharedPrinter() {
    auto& slot = sharedPrinterSlot();
    if (!slot) {
        registerRelease();
        slot = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without a default printer Qt falls back to PDF output; a printer that
        // is installed but not marked as default is still a printer.
        if (slot->outputFormat() == QPrinter::NativeFormat && slot->printerName().isEmpty()) {
            const auto printers = QPrinterInfo::availablePrinters();
            if (!printers.isEmpty()) slot->setPrinterName(printers.front().printerName());
        }
        slot->setPageLayout(defaultPageLayout());
        slot->setFullPage(false);
        slot->setDocName(applicationTitle());
    }
    return *slot;
}

QtLinePrinter& qtPrinter() {
    auto& slot = qtPrinterSlot();
    if (!slot) {
        registerRelease();
        slot = std::make_unique<QtLinePrinter>();
    }
    return *slot;
}

LinePrinter& printer() {
    if (LinePrinter* p = overrideSlot()) return *p;
    return qtPrinter();
}

void setPrinterOverride(LinePrinter* p) {
    overrideSlot() = p;
}

QtLinePrinter::QtLinePrinter() = default;

// A document still open when the program ends is finished quietly: what was
// printed is kept, but there is nobody left to tell.
QtLinePrinter::~QtLinePrinter() {
    if (state_ == State::Printing) {
        QString error;
        finish(&error);
    }
    release();
}

void QtLinePrinter::setPdfFolder(const QString& folder) {
    pdfFolder_ = folderWithSlash(folder);
}

QString QtLinePrinter::pdfFolder() const {
    if (!pdfFolder_.isEmpty()) return pdfFolder_;
    return defaultProgramFolder() + QStringLiteral("dati/stampe/");
}

bool QtLinePrinter::printsToPrinter() const {
    if (pdfOnly_) return false;
    const QPrinter& p = sharedPrinter();
    return p.outputFormat() == QPrinter::NativeFormat && !p.printerName().isEmpty();
}

bool QtLinePrinter::ensureDocument() {
    if (state_ == State::Printing) return true;
    if (state_ == State::Failed) return false;
    y_ = 0;
    pendingPages_ = 0;
    pdfPath_.clear();
    state_ = State::Printing;
    return printsToPrinter() ? beginPrinter() : beginPdf();
}

bool QtLinePrinter::beginPrinter() {
    QPrinter& p = sharedPrinter();
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&p)) {
        fail(QStringLiteral("Impossibile avviare la stampa sulla stampante \"%1\".\n"
                            "Controllare che la stampante sia accesa e collegata.")
                 .arg(p.printerName()));
        return false;
    }
    device_ = &p;
    return true;
}

bool QtLinePrinter::beginPdf() {
    const QString folder = pdfFolder();
    if (!QDir().mkpath(folder)) {
        fail(QStringLiteral("Nessuna stampante disponibile e impossibile creare la cartella "
                            "delle stampe:\n%1\n\nLa stampa non è stata eseguita.")
                 .arg(nativePath(folder)));
        return false;
    }
    pdfPath_ = freshPdfName(folder, QStringLiteral("stampa-"));
    file_ = std::make_unique<QSaveFile>(pdfPath_);
    if (!file_->open(QIODevice::WriteOnly)) {
        fail(QStringLiteral("Nessuna stampante disponibile e impossibile creare il file di "
                            "stampa:\n%1\n(%2)\n\nLa stampa non è stata eseguita.")
                 .arg(nativePath(pdfPath_), file_->errorString()));
        return false;
    }
    pdf_ = std::make_unique<QPdfWriter>(file_.get());
    pdf_->setPageLayout(sharedPrinter().pageLayout());
    pdf_->setTitle(applicationTitle());
    pdf_->setCreator(applicationTitle());
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(pdf_.get())) {
        fail(QStringLiteral("Impossibile scrivere il file di stampa:\n%1\n\n"
                            "La stampa non è stata eseguita.")
                 .arg(nativePath(pdfPath_)));
        return false;
    }
    device_ = pdf_.get();
    return true;
}

void QtLinePrinter::ejectPage() {
    if (!device_->newPage()) {
        fail(QStringLiteral("Impossibile passare alla pagina successiva: la stampa è stata "
                            "interrotta."));
        return;
    }
    y_ = 0;
}

void QtLinePrinter::printLine(const QString& text) {
    if (!ensureDocument()) return;
    for (; pendingPages_ > 0 && state_ == State::Printing; --pendingPages_)
        ejectPage();
    if (state_ != State::Printing) return;

    QFont font(fontName());
    font.setPointSizeF(fontSize() > 0 ? fontSize() : 10.0);
    font.setBold(bold());
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font, device_);
    const double height = metrics.lineSpacing();

    // A line that would run past the bottom margin goes to the top of a new page.
    if (y_ > 0 && y_ + height > device_->height()) {
        ejectPage();
        if (state_ != State::Printing) return;
    }
    if (!text.isEmpty()) {
        painter_->setFont(font);
        painter_->drawText(QPointF(0, y_ + metrics.ascent()), text);
    }
    y_ += height;
}

void QtLinePrinter::newPage() {
    if (!ensureDocument()) return;
    ++pendingPages_;
}

void QtLinePrinter::endDoc() {
    if (state_ == State::Idle) return;
    if (state_ == State::Failed) {
        state_ = State::Idle;
        return;
    }
    // The last newPage before the end only ends the page that endDoc ends anyway.
    for (; pendingPages_ > 1 && state_ == State::Printing; --pendingPages_)
        ejectPage();
    if (state_ != State::Printing) {
        state_ = State::Idle;
        return;
    }
    const bool toPdf = pdf_ != nullptr;
    const QString path = pdfPath_;
    QString error;
    const bool ok = finish(&error);
    release();
    state_ = State::Idle;
    if (!ok) {
        messageBox(error, MessageButtons::Ok, MessageIcon::Critical);
        return;
    }
    if (toPdf) {
        lastPdfPath_ = path;
        const QString where =
            QStringLiteral("La stampa è stata salvata nel file:\n") + nativePath(path);
        messageBox(pdfOnly_ ? where : QStringLiteral("Nessuna stampante disponibile.\n") + where,
                   MessageButtons::Ok, MessageIcon::Information);
    }
}

// Ends the painter and, for PDF output, puts the file in place. On failure the
// PDF file is not left behind and *error says why.
bool QtLinePrinter::finish(QString* error) {
    const bool painted = painter_ && painter_->end();
    painter_.reset();
    if (pdf_) {
        pdf_.reset();
        if (!painted) {
            file_->cancelWriting();
            *error = QStringLiteral("Impossibile completare il file di stampa:\n%1\n\n"
                                    "La stampa non è stata salvata.")
                         .arg(nativePath(pdfPath_));
            return false;
        }
        const bool saved = file_->commit();
        if (!saved)
            *error = QStringLiteral("Impossibile salvare il file di stampa:\n%1\n(%2)\n\n"
                                    "La stampa non è stata salvata.")
                         .arg(nativePath(pdfPath_), file_->errorString());
        file_.reset();
        return saved;
    }
    if (!painted || sharedPrinter().printerState() == QPrinter::Error) {
        *error = QStringLiteral("La stampa sulla stampante \"%1\" non è riuscita.")
                     .arg(sharedPrinter().printerName());
        return false;
    }
    return true;
}

// Drops whatever the current document holds; an unfinished PDF file is discarded.
void QtLinePrinter::release() {
    if (painter_ && painter_->isActive()) {
        if (!pdf_) sharedPrinter().abort();
        painter_->end();
    }
    painter_.reset();
    pdf_.reset();
    if (file_) {
        file_->cancelWriting();
        file_.reset();
    }
    device_ = nullptr;
    pendingPages_ = 0;
    y_ = 0;
}

void QtLinePrinter::fail(const QString& message) {
    release();
    state_ = State::Failed;
    messageBox(message, MessageButtons::Ok, MessageIcon::Critical);
}

} // namespace qv
