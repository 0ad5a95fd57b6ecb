#pragma once
// A printed document as lines of text with their fonts, page by page: what a report
// computes and what a printer back end puts on paper, so that a test and the paper
// see the same lines.

#include <QString>

#include <vector>

namespace qv {

// One printed line with the font it is printed in.
struct PrintedLine {
    QString text;
    QString fontName;
    double fontSize = 0;
    bool bold = false;
    bool operator==(const PrintedLine&) const = default;
};
using PrintedPage = std::vector<PrintedLine>;
using PrintedDocument = std::vector<PrintedPage>;

} // namespace qv
