#include "qt_printer.h"

#include "common/paths.h"
#include "common/shared_state.h"
#include "message_box.h"
#include "result_box.h"

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

#include <algorithm>
#include <map>

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

// A print that could not be done: the reason in a box with the error icon and the
// program's title.
Esito printFailed(const QString& reason) {
    return Esito::fallito(reason, QString()).conIcona(IconaEsito::Errore);
}

} // namespace

// 5 mm all round, about a printer's unprintable border: a report page of 57 body
// lines with its header and page line takes 282 mm at the reports' fonts, and a
// rule of 96 characters of Courier New 9.75 is 199 mm wide. Fuller pages and wider
// lines are printed smaller (QtLinePrinter), never spread over more sheets.
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

// A document still open when the program ends is dropped quietly: there is nobody
// left to tell where it went.
QtLinePrinter::~QtLinePrinter() {
    release();
}

void QtLinePrinter::setPdfFolder(const QString& folder) {
    pdfFolder_ = folderWithSlash(folder);
}

QString QtLinePrinter::pdfFolder() const {
    if (!pdfFolder_.isEmpty()) return pdfFolder_;
    // The folder "stampe/" of the data folder in use.
    const QString dati = stato().PercorsoDati;
    if (!dati.isEmpty()) return folderWithSlash(dati) + QStringLiteral("stampe/");
    return defaultProgramFolder() + QStringLiteral("dati/stampe/");
}

bool QtLinePrinter::printsToPrinter() const {
    if (pdfOnly_) return false;
    const QPrinter& p = sharedPrinter();
    return p.outputFormat() == QPrinter::NativeFormat && !p.printerName().isEmpty();
}

void QtLinePrinter::printLine(const QString& text) {
    if (!open_) pending_.assign(1, PrintedPage{});
    open_ = true;
    pending_.back().push_back(PrintedLine{text, fontName(), fontSize(), bold()});
}

void QtLinePrinter::newPage() {
    if (!open_) pending_.assign(1, PrintedPage{});
    open_ = true;
    pending_.emplace_back();
}

void QtLinePrinter::endDoc() {
    if (!open_) return;
    PrintedDocument document = std::move(pending_);
    pending_.clear();
    open_ = false;
    // The last newPage before the end only ends the page that endDoc ends anyway.
    if (document.size() > 1 && document.back().empty()) document.pop_back();
    lastPrinted_ = print(document);
}

Esito QtLinePrinter::available() const {
    QString why;
    if (printsToPrinter()) {
        if (!sharedPrinter().isValid())
            why = QStringLiteral("La stampante \"%1\" non è disponibile.")
                      .arg(sharedPrinter().printerName());
    } else {
        const QString folder = pdfFolder();
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
            why = QStringLiteral("Nessuna stampante disponibile e impossibile scrivere nella "
                                 "cartella delle stampe:\n%1")
                      .arg(nativePath(folder));
    }
    return why.isEmpty() ? Esito::fatto() : Esito::fallito(why);
}

bool QtLinePrinter::print(const PrintedDocument& document) {
    if (document.empty()) return true;
    pdfPath_.clear();
    Esito done = printsToPrinter() ? beginPrinter() : beginPdf();
    if (done.ok()) done = render(document);
    const bool toPdf = pdf_ != nullptr;
    const QString path = pdfPath_;
    if (done.ok()) done = finish();
    release();
    if (!done.ok()) {
        showResult(done);
        return false;
    }
    if (toPdf) {
        lastPdfPath_ = path;
        const QString where =
            QStringLiteral("La stampa è stata salvata nel file:\n") + nativePath(path);
        messageBox(pdfOnly_ ? where : QStringLiteral("Nessuna stampante disponibile.\n") + where,
                   MessageButtons::Ok, MessageIcon::Information);
    }
    return true;
}

Esito QtLinePrinter::beginPrinter() {
    QPrinter& p = sharedPrinter();
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&p)) {
        return printFailed(QStringLiteral("Impossibile avviare la stampa sulla stampante \"%1\".\n"
                                          "Controllare che la stampante sia accesa e collegata.")
                               .arg(p.printerName()));
    }
    device_ = &p;
    return Esito::fatto();
}

Esito QtLinePrinter::beginPdf() {
    const QString folder = pdfFolder();
    if (!QDir().mkpath(folder)) {
        return printFailed(
            QStringLiteral("Nessuna stampante disponibile e impossibile creare la cartella "
                           "delle stampe:\n%1\n\nLa stampa non è stata eseguita.")
                .arg(nativePath(folder)));
    }
    pdfPath_ = freshPdfName(folder, QStringLiteral("stampa-"));
    file_ = std::make_unique<QSaveFile>(pdfPath_);
    if (!file_->open(QIODevice::WriteOnly)) {
        return printFailed(
            QStringLiteral("Nessuna stampante disponibile e impossibile creare il file di "
                           "stampa:\n%1\n(%2)\n\nLa stampa non è stata eseguita.")
                .arg(nativePath(pdfPath_), file_->errorString()));
    }
    pdf_ = std::make_unique<QPdfWriter>(file_.get());
    pdf_->setPageLayout(sharedPrinter().pageLayout());
    pdf_->setTitle(applicationTitle());
    pdf_->setCreator(applicationTitle());
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(pdf_.get())) {
        return printFailed(QStringLiteral("Impossibile scrivere il file di stampa:\n%1\n\n"
                                          "La stampa non è stata eseguita.")
                               .arg(nativePath(pdfPath_)));
    }
    device_ = pdf_.get();
    return Esito::fatto();
}

namespace {

// A font of the printed lines with its measures on the device, looked up once per
// font of the document.
struct MeasuredFont {
    QFont font;
    QFontMetricsF metrics;
    double ascent = 0;
    double spacing = 0;
};

class FontCache {
public:
    explicit FontCache(QPaintDevice* device) : device_(device) {}

    const MeasuredFont& of(const PrintedLine& line) {
        if (last_ && line.fontName == lastName_ && line.fontSize == lastSize_ &&
            line.bold == lastBold_)
            return *last_;
        const QString key = line.fontName + QLatin1Char('|') + QString::number(line.fontSize) +
                            (line.bold ? QStringLiteral("|b") : QStringLiteral("|r"));
        auto it = fonts_.find(key);
        if (it == fonts_.end()) {
            QFont font(line.fontName);
            font.setPointSizeF(line.fontSize > 0 ? line.fontSize : 10.0);
            font.setBold(line.bold);
            font.setKerning(false);
            font.setHintingPreference(QFont::PreferNoHinting);
            const QFontMetricsF metrics(font, device_);
            it = fonts_
                     .emplace(key, std::make_unique<MeasuredFont>(MeasuredFont{
                                       font, metrics, metrics.ascent(), metrics.lineSpacing()}))
                     .first;
        }
        last_ = it->second.get();
        lastName_ = line.fontName;
        lastSize_ = line.fontSize;
        lastBold_ = line.bold;
        return *last_;
    }

private:
    QPaintDevice* device_;
    std::map<QString, std::unique_ptr<MeasuredFont>> fonts_;
    const MeasuredFont* last_ = nullptr;
    QString lastName_;
    double lastSize_ = 0;
    bool lastBold_ = false;
};

// A line that prints nothing visible needs neither measuring nor drawing.
bool blank(const QString& text) {
    for (const QChar c : text)
        if (c != QLatin1Char(' ')) return false;
    return true;
}

} // namespace

// Lays the document out on the open device, one sheet per page: first the height
// of every page and the width of the widest line at the lines' own sizes, then the
// common factor that makes them fit, then the drawing.
Esito QtLinePrinter::render(const PrintedDocument& document) {
    FontCache fonts(device_);
    const double width = device_->width();
    const double height = device_->height();

    std::vector<double> heights;
    heights.reserve(document.size());
    double tallest = 0;
    double widest = 0;
    for (const PrintedPage& page : document) {
        double h = 0;
        for (const PrintedLine& line : page) {
            const MeasuredFont& f = fonts.of(line);
            h += f.spacing;
            if (!blank(line.text))
                widest = std::max(widest, f.metrics.horizontalAdvance(line.text));
        }
        heights.push_back(h);
        tallest = std::max(tallest, h);
    }
    double scale = 1.0;
    if (widest > width) scale = width / widest;
    if (tallest > height) scale = std::min(scale, height / tallest);
    scale = std::max(scale, MinimumScale);

    for (size_t p = 0; p < document.size(); ++p) {
        if (p > 0 && !device_->newPage()) {
            return printFailed(
                QStringLiteral("Impossibile passare alla pagina successiva: la stampa è stata "
                               "interrotta."));
        }
        const double pageScale = heights[p] > 0 ? std::min(scale, height / heights[p]) : scale;
        painter_->save();
        painter_->scale(pageScale, pageScale);
        double y = 0;
        const QFont* current = nullptr;
        for (const PrintedLine& line : document[p]) {
            const MeasuredFont& f = fonts.of(line);
            if (!blank(line.text)) {
                if (current != &f.font) {
                    painter_->setFont(f.font);
                    current = &f.font;
                }
                painter_->drawText(QPointF(0, y + f.ascent), line.text);
            }
            y += f.spacing;
        }
        painter_->restore();
    }
    return Esito::fatto();
}

// Ends the painter and, for PDF output, puts the file in place. On failure the
// PDF file is not left behind and the result says why.
Esito QtLinePrinter::finish() {
    const bool painted = painter_ && painter_->end();
    painter_.reset();
    if (pdf_) {
        pdf_.reset();
        if (!painted) {
            file_->cancelWriting();
            return printFailed(QStringLiteral("Impossibile completare il file di stampa:\n%1\n\n"
                                              "La stampa non è stata salvata.")
                                   .arg(nativePath(pdfPath_)));
        }
        const bool saved = file_->commit();
        const QString error = file_->errorString();
        file_.reset();
        if (!saved)
            return printFailed(QStringLiteral("Impossibile salvare il file di stampa:\n%1\n(%2)\n\n"
                                              "La stampa non è stata salvata.")
                                   .arg(nativePath(pdfPath_), error));
        return Esito::fatto();
    }
    if (!painted || sharedPrinter().printerState() == QPrinter::Error)
        return printFailed(QStringLiteral("La stampa sulla stampante \"%1\" non è riuscita.")
                               .arg(sharedPrinter().printerName()));
    return Esito::fatto();
}

// Drops whatever the current job holds; an unfinished PDF file is discarded.
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
}

} // namespace qv
