#include "report_fixture.h"
#include "support/esito_test.h"

#include "common/random_file.h"
#include "ledger/account_loader.h"
#include "platform/form_host.h"
#include "platform/program_end.h"
#include "reports/print_menu_form.h"
#include "shell/flags_form.h"
#include "shell/main_window.h"
#include "shell/program_files.h"
#include "support/november_account.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>

namespace qv::test {

QString sp(int n) {
    return QString(n, QLatin1Char(' '));
}

QString rule94() {
    return QStringLiteral(" ") + QString(94, QLatin1Char('-'));
}

QString rule95() {
    return QStringLiteral(" ") + QString(95, QLatin1Char('-'));
}

QString pageBreak(int page) {
    return sp(42) + QStringLiteral("Pagina  %1 ").arg(page);
}

QString endLine(int page) {
    return sp(43) + QStringLiteral("Pagina  %1 ").arg(page) + sp(17) +
           QStringLiteral(".....fine stampa");
}

QStringList endOfReport(int counted, int closing, int page) {
    QStringList out;
    for (int i = counted; i < closing; ++i)
        out << "";
    return out + QStringList{"", rule94(), "", endLine(page)};
}

void ReportTest::SetUp() {
    ProgramTest::SetUp();
    initShellResources();
    resetProgramEnd();
    setEndProgramHook([] {});

    writeCurrency(15, "Euro", "Unione Europea", 1.0);
    writeBytes(programFolder() + "Causali.DAT", causaleBytes(1, "VE", "Versamento", "NE1") +
                                                    causaleBytes(2, "PR", "Prelievo", "NU1") +
                                                    causaleBytes(3, "AS", "Assegno", "SU0"));
    writeBytes(programFolder() + "RecCausa.dat", le16(3));
    Impostazioni imp;
    imp.percorsoDati = "0";
    imp.numeroDecimali = 2;
    imp.contoAvvio = "CC1";
    ASSERT_TRUE(test::riuscito(scriviImpostazioni(imp)));
    writeAccount(1, "CC1", "BANCA DI PROVA", 2500);
    writeBytes(dataFolder() + "RecConti.dat", le16(1));

    writeNovemberAccount(dataFolder());
    // Cheque 1234 has a leaf in two books; 1235 is not issued yet.
    writeBytes(
        file(".FOG"),
        foglioBytes(
            {2, 1, 1, 1234, "05/11/2026", 120.5, "idraulico", "pagato idraulico", "N", " ", "N"}) +
            foglioBytes({0, 2, 1, 1235, "00/00/0000", 0, "", "", "N", " ", "N"}) +
            foglioBytes({0, 3, 2, 1234, "06/11/2026", 0, "", "secondo carnet", "S", " ", "S"}));
    writeBytes(file(".NRF"), le16(3));

    window = std::make_unique<MDIForm1>();
    window->Load();
    ASSERT_EQ(stato().CodiceContoAttivo, "CC1");
    reload();
    printed.clear();
}

void ReportTest::TearDown() {
    formHost().resetForTests();
    window.reset();
    resetProgramEnd();
    ProgramTest::TearDown();
}

void ReportTest::writeMovements(const std::vector<QByteArray>& movements) {
    QByteArray bytes;
    for (const QByteArray& m : movements)
        bytes += m;
    writeBytes(file(".MOV"), bytes);
    writeBytes(file(".Ord"), bytes);
    writeBytes(file(".MOR"), le16(qint16(movements.size())));
    reload();
}

void ReportTest::reload() {
    // A load may warn (a damaged amount is named and counted as zero) and still open the
    // account; the reports are printed from what it loaded.
    QString errore;
    if (!test::senzaAvvisi(ApriArchiviConto(), &errore)) {
        ASSERT_FALSE(stato().CodiceContoAttivo.trimmed().isEmpty()) << errore.toStdString();
    }
}

void ReportTest::withPrintMenu(const std::function<void(Form21&)>& act) {
    formHost().setModalHook([&](Form& f) {
        auto& menu = dynamic_cast<Form21&>(f);
        QApplication::setActiveWindow(menu.window());
        act(menu);
        menu.Esc->click();
    });
    window->movimenti->trigger();
    formHost().setModalHook({});
}

std::vector<QStringList> ReportTest::pages() const {
    std::vector<QStringList> out;
    for (const PrintedPage& page : printed.lastDocument())
        out.push_back(CapturePrinter::texts(page));
    return out;
}

} // namespace qv::test
