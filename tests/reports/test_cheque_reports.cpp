// The printed cheque lists of the account written byte by byte, from the print menu
// (and the annulled cheques from their own window too), line by line.
#include "report_fixture.h"

#include "cheques/annulled_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "reports/print_menu_form.h"
#include "shell/main_window.h"
#include "support/november_account.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>

namespace qv::test {
namespace {

const QString kConto = "BANCA DI PROVA" + sp(2) + sp(23) + "Stampato il 09-12-2026";
const QString kPeriodo = "    dal 01/11/2026 al 10/11/2026";
const QString kValuta = sp(21) + "Valuta: Euro - Unione Europea";

QString r(int width, const QString& text) {
    return text.rightJustified(width);
}

QStringList header(const QString& title, const QString& selection, const QString& columns) {
    return {"", title, sp(37), kConto, "", selection, rule94(), columns, rule94(), ""};
}

class ChequeReports : public ReportTest {};

TEST_F(ChequeReports, ChequesOfTheRangeWithTheirBooks) {
    const auto& m = kMovimentiNovembre;
    writeMovements(
        {movimentoBytes(m[0]), movimentoBytes(m[3]), movimentoBytes(m[1]), movimentoBytes(m[2]),
         // A cheque no leaf carries, one of a causale in small letters and one
         // after the range.
         movimentoBytes(
             {5, "07/11/2026", "07/11/2026", "AS   ", 50, "999", "senza foglio", "N", "U", "N"}),
         movimentoBytes(
             {6, "08/11/2026", "08/11/2026", "as", 70, "1235", "minuscolo", "N", "U", "N"}),
         movimentoBytes({7, "11/11/2026", "11/11/2026", "AS", 80, "1235", "dopo", "N", "U", "N"})});
    withPrintMenu([](Form21& menu) {
        menu.al->setTesto("10/11/2026");
        menu.Command3D3->click();
    });
    const auto p = pages();
    ASSERT_EQ(p.size(), 1u);
    const QStringList body{
        // Cheque 1234 is on two leaves: the later one's book, 2, is printed.
        " 05/11/2026 06/11/2026" + r(15, "120,50") + r(13, "1234") + sp(3) + "idraulico" + sp(13) +
            sp(7) + "  2" + sp(8) + "S",
        " 07/11/2026 07/11/2026" + r(15, "50,00") + r(13, "999") + sp(3) + "senza foglio" + sp(10) +
            sp(7) + "  0" + sp(8) + "N",
    };
    EXPECT_EQ(p[0], header(sp(37) + "Elenco Assegni ", kPeriodo + kValuta,
                           "     Data    Valuta         Importo      Nr. Ass.  Traente          "
                           "        Nr. Carnet    Sosp.") +
                        body + endOfReport(2, 52));
}

TEST_F(ChequeReports, AnnulledLeavesFromTheMenuAndFromTheirWindow) {
    writeBytes(
        file(".FOG"),
        foglioBytes({0, 1, 2, 1234, "06/11/2026", 75, "x", "secondo carnet", "S", " ", "S"}) +
            foglioBytes({0, 2, 2, 1235, "07/11/2026", 0, "", "minuscola", "N", " ", "s"}) +
            foglioBytes({0, 3, 12, 90001, "08/11/2026", 0, "", "libretto dodici", "N", " ", "S"}));
    writeBytes(file(".NRF"), le16(3));
    reload();
    withPrintMenu([](Form21& menu) { menu.AssAnn->click(); });
    const auto dalMenu = pages();
    ASSERT_EQ(dalMenu.size(), 1u);
    const QStringList body{
        // The amount column shows 0 whatever the leaf holds; a two-digit book pushes the
        // flag one place to the right.
        " 06/11/2026" + sp(9) + sp(12) + "0" + r(13, "1234") + sp(3) + "secondo carnet" + sp(8) +
            sp(7) + " 2" + sp(11) + "S",
        " 08/11/2026" + sp(9) + sp(12) + "0" + r(13, "90001") + sp(3) + "libretto dodici" + sp(7) +
            sp(7) + " 12" + sp(11) + "N",
    };
    EXPECT_EQ(dalMenu[0], header(sp(32) + "Elenco assegni annullati", sp(65),
                                 "    Data                 Importo      Nr. Ass.                  "
                                 "          Nr. Carnet    Scaric.") +
                              body + endOfReport(2, 52));

    printed.clear();
    // Form17 is shown modally: the test acts on it instead of waiting.
    formHost().setModalHook([](Form& f) { dynamic_cast<Form17&>(f).PulStampe->click(); });
    window->AssAnn->trigger();
    formHost().setModalHook({});
    EXPECT_EQ(pages(), dalMenu);
}

TEST_F(ChequeReports, BooksWithdrawnInTheRange) {
    writeBytes(file(".CAR"), carnetBytes({7, 1, "01/11/2026", 1.5, 1230, 1239, "N", 10, "N"}) +
                                 carnetBytes({8, 2, "10/11/2026", 1.5, 2000, 2009, "S", 5, "N"}) +
                                 carnetBytes({9, 3, "11/11/2026", 1.5, 3000, 3009, "N", 10, "N"}) +
                                 carnetBytes({10, 4, "05/11/2026", 1.5, 4000, 4009, "N", -1, "N"}));
    writeBytes(file(".NRC"), le16(4));
    reload();
    withPrintMenu([](Form21& menu) { menu.Command3D2->click(); });
    const auto p = pages();
    ASSERT_EQ(p.size(), 1u);
    const auto line = [](const char* data, const char* primo, const char* ultimo,
                         const QString& fuori, const char* esaurito) {
        return " " + sp(4) + data + sp(6) + r(13, primo) + sp(11) + "10" + sp(4) + r(13, ultimo) +
               sp(12) + fuori + sp(13) + esaurito;
    };
    // Both ends of the range are in it; the leaves out take three places.
    const QStringList body{
        line("01/11/2026", "1230", "1239", " 10", "N"),
        line("10/11/2026", "2000", "2009", "  5", "S"),
        line("05/11/2026", "4000", "4009", "-1", "N"),
    };
    EXPECT_EQ(p[0], header(sp(41) + "Elenco Carnet ", kPeriodo,
                           "    Data ritiro       Nr. Iniziale       Nr. Fogli    Nr. Finale    "
                           "    Nr.Ass.Fuori      Sosp.") +
                        body + endOfReport(3, 52));
}

TEST_F(ChequeReports, SituationOfTheLeavesNotAligned) {
    // The fixture's three leaves, and a leaf never issued whose payee is all NUL bytes,
    // as the Windows release left it.
    QByteArray nul = le16(0) + le16(4) + le16(3) + le32(3001) + text("00/00/0000", 10) +
                     leDouble(0) + QByteArray(30, '\0') + text("", 30) + "N" + " " + "N";
    ASSERT_EQ(nul.size(), 91);
    QByteArray fog = readBytes(file(".FOG")) + nul;
    writeBytes(file(".FOG"), fog);
    writeBytes(file(".NRF"), le16(4));
    reload();
    withPrintMenu([](Form21& menu) { menu.Command3D1->click(); });
    const auto p = pages();
    ASSERT_EQ(p.size(), 1u);
    const QStringList body{
        " 05/11/2026" + r(15, "120,50") + r(13, "1234") + sp(3) + "idraulico" + sp(16) + sp(7) +
            "  1" + sp(8),
        // Not issued: always in the range. A payee of blanks prints blanks.
        " 00/00/0000" + r(15, "0,00") + r(13, "1235") + sp(3) + sp(25) + sp(7) + "  1" + sp(8),
        " 00/00/0000" + r(15, "0,00") + r(13, "3001") + sp(3) + "Assegno non Emesso" + sp(7) +
            sp(7) + "  3" + sp(8),
    };
    // 56 closing lines in this report.
    EXPECT_EQ(p[0], header(sp(37) + "Situazione assegni ", kPeriodo + kValuta,
                           "   Data         Importo        Nr. Ass. Traente                    "
                           "Nr. Carnet    ") +
                        body + endOfReport(3, 56));
    // Printing changed no file.
    EXPECT_EQ(readBytes(file(".FOG")), fog);
}

TEST_F(ChequeReports, AMissingFileIsEmptyAndStaysMissingAnUnreadableOneIsReported) {
    // Two books counted, and no book file (the loaded account has none either).
    QFile::remove(file(".CAR"));
    writeBytes(file(".NRC"), le16(2));
    withPrintMenu([](Form21& menu) { menu.Command3D2->click(); });
    ASSERT_EQ(pages().size(), 1u);
    EXPECT_EQ(pages()[0].size(), 10 + 52 + 4); // header, closing lines, end: no book
    EXPECT_FALSE(QFile::exists(file(".CAR")));
    EXPECT_TRUE(messages.shown().empty());

    printed.clear();
    QFile::remove(file(".FOG"));
    ASSERT_TRUE(QDir(dataFolder()).mkdir("CC1.FOG"));
    withPrintMenu([](Form21& menu) { menu.Command3D1->click(); });
    EXPECT_TRUE(printed.documents().empty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].contains("CC1.FOG"));
    EXPECT_EQ(messages.shown()[0].title, "ERRORE");
}

} // namespace
} // namespace qv::test
