#include "line_printer.h"

namespace qv {

namespace {

void printPage(LinePrinter& printer, const PrintedPage& page) {
    for (const PrintedLine& line : page) {
        printer.setFontName(line.fontName);
        printer.setFontSize(line.fontSize);
        printer.setBold(line.bold);
        printer.printLine(line.text);
    }
}

} // namespace

bool LinePrinter::printDocument(const PrintedDocument& document) {
    bool first = true;
    for (const PrintedPage& page : document) {
        if (!first) newPage();
        first = false;
        printPage(*this, page);
    }
    endDoc();
    return lastDocumentPrinted();
}

bool LinePrinter::printPages(int count, const std::function<PrintedPage(int)>& page) {
    for (int k = 0; k < count; ++k) {
        if (k > 0) newPage();
        printPage(*this, page(k));
    }
    endDoc();
    return lastDocumentPrinted();
}

Esito CapturePrinter::available() const {
    return unavailable_.isEmpty() ? Esito::fatto() : Esito::fallito(unavailable_);
}

PrintedPage& CapturePrinter::currentPage() {
    if (!open_) {
        documents_.push_back(PrintedDocument(1));
        open_ = true;
    }
    return documents_.back().back();
}

void CapturePrinter::printLine(const QString& text) {
    currentPage().push_back(PrintedLine{text, fontName(), fontSize(), bold()});
}

void CapturePrinter::newPage() {
    currentPage();
    documents_.back().emplace_back();
}

// A page ejected just before the end of the document stays unprinted: ending the
// document ejects the last page anyway.
void CapturePrinter::endDoc() {
    if (!open_) return;
    auto& pages = documents_.back();
    if (pages.size() > 1 && pages.back().empty()) pages.pop_back();
    open_ = false;
}

const PrintedDocument& CapturePrinter::lastDocument() const {
    static const PrintedDocument none;
    return documents_.empty() ? none : documents_.back();
}

void CapturePrinter::clear() {
    documents_.clear();
    open_ = false;
}

QStringList CapturePrinter::texts(const PrintedPage& page) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(page.size()));
    for (const auto& line : page)
        out << line.text;
    return out;
}

} // namespace qv
