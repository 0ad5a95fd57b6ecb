#pragma once
// The program the report tests print from, written byte by byte: the Euro as display
// currency with two decimals, the account "CC1" of "BANCA DI PROVA" opened at
// start-up with its four November movements, carry-forward and three cheque leaves,
// three causali; and the main window loaded over it, so that every report reads what
// the program shows. Printed pages are read back from the capture printer.

#include "support/fixture.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace qv {
class Form21;
class MDIForm1;
} // namespace qv

namespace qv::test {

QString sp(int n);

// The header and end lines that every page and document of the reports share.
QString rule94();
QString rule95();
QString pageBreak(int page); // 42 blanks, "Pagina " and the number
QString endLine(int page);   // 43 blanks, "Pagina ", the number and ".....fine stampa"
// The end of a report whose last page holds `counted` body lines, for its closing
// line count: the filling empty lines, one more, the rule, an empty line, endLine.
QStringList endOfReport(int counted, int closing, int page = 1);

class ReportTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    QString file(const char* ext) const { return dataFolder() + QStringLiteral("CC1") + ext; }
    // Writes `count` movements into ".MOV", ".Ord" and ".MOR" and loads the account.
    void writeMovements(const std::vector<QByteArray>& movements);
    void reload();

    // Opens the print menu from the main window's "Movimenti", lets `act` work on it
    // while it is shown, then closes it with "Uscita".
    void withPrintMenu(const std::function<void(Form21&)>& act);

    // The pages of the last document printed, as texts.
    std::vector<QStringList> pages() const;
    int documents() const { return int(printed.documents().size()); }

    std::unique_ptr<MDIForm1> window;
};

} // namespace qv::test
