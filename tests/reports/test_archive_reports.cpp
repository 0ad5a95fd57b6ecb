// The printed lists of the archives, written byte by byte: the causali and the accounts
// from the main window's menu and from the print menu, the summary of all accounts from
// its window, line by line.
#include "report_fixture.h"

#include "common/random_file.h"
#include "ledger/summary_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "reports/print_menu_form.h"
#include "shell/main_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace qv::test {
namespace {

const QString kConto = "BANCA DI PROVA" + sp(2) + sp(23) + "Stampato il 09-12-2026";

QString r13(const QString& text) {
    return text.rightJustified(13);
}

class ArchiveReports : public ReportTest {
protected:
    // Two more accounts: one with every field, one whose totals file is missing.
    void writeAccounts() {
        writeRecordAt(dataFolder() + "Conti.dat", 2,
                      contoBytes({.numero = 2,
                                  .codice = "CONTO2LUNGO1",
                                  .tipo = "Conto corrente ordinario",
                                  .banca = "Banca Popolare dell'Emilia Romagna",
                                  .fido = 1234567.891,
                                  .abi = "05387",
                                  .cab = "12900",
                                  .idBanca = "BPER"}));
        writeRecordAt(dataFolder() + "Conti.dat", 3,
                      contoBytes({.numero = 3, .codice = "X", .banca = "Senza totali"}));
        writeBytes(dataFolder() + "RecConti.dat", le16(3));
        stato().NumeroConti = 3;
    }
};

const QStringList kCausali{
    sp(5) + "VE   " + sp(6) + "Versamento" + sp(15) + sp(17) + "E" + sp(13) + "N",
    sp(5) + "PR   " + sp(6) + "Prelievo" + sp(17) + sp(17) + "U" + sp(13) + "N",
    sp(5) + "AS   " + sp(6) + "Assegno" + sp(18) + sp(17) + "U" + sp(13) + "S",
};

QStringList causaliHeader(const QString& periodo) {
    return {"",       sp(41) + "Elenco Causali",
            sp(37),   kConto,
            "",       "    dal " + periodo + "     * = Movimenti non sospesi",
            rule94(), "  Cod. Causale  Descrizione                        E/U        Mov. Sospeso",
            rule94(), ""};
}

TEST_F(ArchiveReports, CausaliFromTheMenuWhileThePrintMenuIsClosed) {
    window->CausaliIns->trigger();
    const auto p = pages();
    ASSERT_EQ(p.size(), 1u);
    // The period line shows the print menu's two fields empty.
    EXPECT_EQ(p[0], causaliHeader("__/__/____ al __/__/____") + kCausali + endOfReport(3, 52));
    EXPECT_EQ(printed.lastDocument()[0][5].bold, true);
    EXPECT_FALSE(formHost().loaded<Form21>());
}

TEST_F(ArchiveReports, CausaliFromThePrintMenuShowItsRange) {
    withPrintMenu([](Form21& menu) { menu.Command3D5->click(); });
    const auto p = pages();
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0], causaliHeader("01/11/2026 al 10/11/2026") + kCausali + endOfReport(3, 52));
}

TEST_F(ArchiveReports, AccountsWithTheirTypesBanksCreditLinesAndCodes) {
    writeAccounts();
    window->ElencoConti->trigger();
    const auto p = pages();
    ASSERT_EQ(p.size(), 1u);
    const QStringList header{"",
                             sp(41) + "Elenco Conti ",
                             sp(69),
                             "",
                             "",
                             " Valuta: Euro - Unione Europea",
                             rule94(),
                             " N° conto     Tipo Conto       Banca                              "
                             "Fido Codice ABI-CAB-ID",
                             rule94(),
                             ""};
    const QStringList body{
        // No bank codes: "--"; type and bank cut at 15 and 25 characters.
        " CC1" + sp(9) + " " + sp(15) + "  " + "BANCA DI PROVA" + sp(11) + " " + r13("2.500,00") +
            " --",
        " CONTO2LUNGO1 Conto corrente   Banca Popolare dell'Emili " + r13("1.234.567,89") +
            " 05387-12900-BPER",
        " X" + sp(11) + " " + sp(15) + "  " + "Senza totali" + sp(13) + " " + r13("0,00") + " --",
    };
    EXPECT_EQ(p[0], header + body + endOfReport(3, 52));
    EXPECT_FALSE(printed.lastDocument()[0][5].bold);
}

TEST_F(ArchiveReports, SummaryByOperationDateThenByValueDate) {
    writeAccounts();
    writeBytes(file(".TOT"), totaliBytes(0, 150, 2414, 2414, "01/11/2026", "10/11/2026",
                                         "02/11/2026", "12/11/2026"));
    writeBytes(dataFolder() + "CONTO2LUNGO1.TOT",
               totaliBytes(0, -3000, -1000.5, 0, "", "", "", ""));
    window->TotConti->trigger();
    Form22* riepilogo = formHost().loaded<Form22>();
    ASSERT_NE(riepilogo, nullptr);

    const QStringList header{"",
                             sp(42) + "Riepilogo Conti ",
                             "",
                             "",
                             "",
                             "    al 09-12-2026" + sp(20) + "Valuta: Euro - Unione Europea",
                             rule94(),
                             " Conto   Descrizione                           Saldo         Fido "
                             "      Disponibilità",
                             rule94(),
                             ""};
    const QString banca2 = "Banca Popolare dell'Emilia Romag";
    struct Case {
        int option;
        QStringList body;
    };
    const Case cases[] = {
        {0,
         {"     CC1 " + QString("BANCA DI PROVA").leftJustified(32) + " " + r13("2.414,00") + " " +
              r13("2.500,00") + " " + r13("4.914,00"),
          // A code of 8 or more characters pushes the line to the right.
          "CONTO2LUNGO1 " + banca2 + " " + r13("-1.000,50") + " " + r13("1.234.567,89") + " " +
              r13("1.233.567,39"),
          // No totals file: a zero balance, the credit line still counts.
          "       X " + QString("Senza totali").leftJustified(32) + " " + r13("0,00") + " " +
              r13("0,00") + " " + r13("0,00"),
          "", rule95(),
          sp(35) + "Totali " + r13("1.413,50") + " " + r13("1.237.067,89") + " " +
              r13("1.238.481,39") + " "}},
        {1,
         {"     CC1 " + QString("BANCA DI PROVA").leftJustified(32) + " " + r13("150,00") + " " +
              r13("2.500,00") + " " + r13("2.650,00"),
          "CONTO2LUNGO1 " + banca2 + " " + r13("-3.000,00") + " " + r13("1.234.567,89") + " " +
              r13("1.231.567,89"),
          "       X " + QString("Senza totali").leftJustified(32) + " " + r13("0,00") + " " +
              r13("0,00") + " " + r13("0,00"),
          "", rule95(),
          sp(35) + "Totali " + r13("-2.850,00") + " " + r13("1.237.067,89") + " " +
              r13("1.234.217,89") + " "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        riepilogo->Dataop[size_t(c.option)]->click();
        printed.clear();
        riepilogo->PulStampe->click();
        const auto p = pages();
        ASSERT_EQ(p.size(), 1u);
        EXPECT_EQ(p[0], header + c.body + endOfReport(3, 54));
    }
    EXPECT_FALSE(QFile::exists(dataFolder() + "X.TOT"));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ArchiveReports, SummaryOfNoAccountsAndOfAnUnreadableTotalsFile) {
    stato().NumeroConti = 0;
    stampaRiepilogoConti(false, "09-12-2026");
    auto p = pages();
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].mid(10, 3), QStringList({"", rule95(),
                                            sp(35) + "Totali " + r13("0,00") + " " + r13("0,00") +
                                                " " + r13("0,00") + " "}));
    EXPECT_EQ(p[0].mid(13), endOfReport(0, 54));

    // A totals file that cannot be read stops the summary: nothing is printed.
    writeAccounts();
    printed.clear();
    ASSERT_TRUE(QDir(dataFolder()).mkdir("X.TOT"));
    stampaRiepilogoConti(false, "09-12-2026");
    EXPECT_TRUE(printed.documents().empty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].contains("X.TOT"));
}

} // namespace
} // namespace qv::test
