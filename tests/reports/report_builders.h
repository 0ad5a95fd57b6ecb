#pragma once
// Every report of the print menu, built straight from tables of n rows as wide as
// their fields allow, with each report's numbers in the page frame: for the tests of
// the frame and of the PDF output.

#include "common/printed_document.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace qv::test {

struct ReportUnderTest {
    const char* name;
    int threshold;        // body-line count that breaks the page
    bool blankBeforePage; // an empty line between the rule and "Pagina"
    int closing;          // closing line count
    int bodyStart;        // the first body line of the first page
    int ownLines;         // lines of the report's own after the body (totals)
    std::function<PrintedDocument(int rows)> build;
};

std::vector<ReportUnderTest> reportsUnderTest();

QStringList texts(const PrintedPage& page);

} // namespace qv::test
