// The start-up steps, the reserved causali, the display-currency computations and
// closing the account, without the main window.
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"

#include "common/file_names.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "ledger/open_account.h"
#include "platform/form_host.h"
#include "shell/default_causali.h"
#include "shell/display_currency.h"
#include "shell/program_files.h"
#include "shell/startup.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <limits>

namespace qv::test {
namespace {

// A reserved causale: suspended, outgoing, a cost subject.
QByteArray causale(qint16 n, const char* code, const char* desc) {
    return causaleBytes(n, code, desc, "SU1");
}

void setSlot(int slot, const char* name, const char* country, double rate) {
    Valuta& v = stato().TabellaValute[size_t(slot)];
    v.numero = qint16(slot);
    v.nomeValuta = QString::fromUtf8(name);
    v.paese = QString::fromUtf8(country);
    v.cambio = rate;
}

class Startup : public ProgramTest {};

TEST_F(Startup, ReservedCausaliAreWrittenAsTheFirstThreeRecords) {
    // A fifth causale already in the archive stays in the file but is no longer counted.
    QByteArray existing;
    for (int i = 1; i <= 5; ++i)
        existing += causale(qint16(i), "XX", "VECCHIA");
    writeBytes(programFolder() + "Causali.DAT", existing);
    writeBytes(programFolder() + "RecCausa.dat", le16(5));

    ASSERT_TRUE(test::riuscito(CreaCausaliPredefinite()));

    const QByteArray expected = causale(1, "AS", "ASSEGNO") + causale(2, "CA", "CARNET") +
                                causale(3, "GC", "GIROCONTO") + causale(4, "XX", "VECCHIA") +
                                causale(5, "XX", "VECCHIA");
    EXPECT_EQ(readBytes(programFolder() + "Causali.DAT"), expected);
    EXPECT_EQ(readBytes(programFolder() + "RecCausa.dat"), QByteArray("\x03\x00", 2));
    EXPECT_EQ(stato().NumeroCausali, 3);
    EXPECT_EQ(stato().TabellaCausali[3].codiceCausale, "GC");

    caricaCausali();
    EXPECT_EQ(stato().NumeroCausali, 3);
    EXPECT_EQ(stato().TabellaCausali.size(), 4u);
}

TEST_F(Startup, ACausaliCountBeyondTheFileLoadsOnlyTheCausaliThere) {
    writeBytes(programFolder() + "Causali.DAT",
               causale(1, "AS", "ASSEGNO") + causale(2, "VE", "VERSAMENTO"));
    writeBytes(programFolder() + "RecCausa.dat", le16(9));
    caricaCausali();
    EXPECT_EQ(stato().NumeroCausali, 2);
    ASSERT_EQ(stato().TabellaCausali.size(), 3u);
    EXPECT_EQ(stato().TabellaCausali[2].codiceCausale, "VE");
    // Files are only read.
    EXPECT_EQ(readBytes(programFolder() + "RecCausa.dat"), le16(9));
}

TEST_F(Startup, FirstRunHappensOnceAndWritesOnlyTheEuroSlot) {
    QDir(dataFolder()).removeRecursively();
    ASSERT_TRUE(primoAvvio());
    ASSERT_TRUE(test::riuscito(eseguiPrimoAvvio()));
    EXPECT_TRUE(QDir(dataFolder()).exists());
    EXPECT_FALSE(primoAvvio());

    const QByteArray expected =
        QByteArray(14 * 60, '\0') + valutaBytes(15, "Euro", 1.0, "Unione Europea");
    EXPECT_EQ(readBytes(programFolder() + "Valute.DAT"), expected);
    EXPECT_EQ(readBytes(programFolder() + "Causali.DAT").size(), 105);
}

TEST_F(Startup, AMissingDataFolderIsMadeOrNamedInTheWarning) {
    // A folder typed in the preferences that does not exist yet is made.
    impostaPercorsoDati(dataFolder() + "nuova/dati");
    EXPECT_EQ(creaCartellaDatiMancante(), "");
    EXPECT_TRUE(QFileInfo(dataFolder() + "nuova/dati").isDir());
    EXPECT_EQ(creaCartellaDatiMancante(), "");

    // One that cannot be made (a file stands in its way) is named.
    writeBytes(dataFolder() + "unfile", "x");
    impostaPercorsoDati(dataFolder() + "unfile/dati");
    const QString avviso = creaCartellaDatiMancante();
    EXPECT_TRUE(avviso.startsWith("La cartella dei dati indicata nelle preferenze non esiste"))
        << avviso.toStdString();
    EXPECT_TRUE(avviso.contains(dataFolder() + "unfile/dati/"));
    EXPECT_FALSE(QFileInfo(dataFolder() + "unfile/dati").exists());

    // No data folder (another program holds it): nothing to make.
    impostaPercorsoDati(QString());
    EXPECT_EQ(creaCartellaDatiMancante(), "");
}

TEST_F(Startup, ACountFileInAnotherCaseIsNoFirstRun) {
    writeBytes(programFolder() + "RECCAUSA.DAT", le16(0));
    EXPECT_FALSE(primoAvvio());
}

TEST_F(Startup, AccountsLoadAsManyRecordsAsCounted) {
    QByteArray archive;
    for (int i = 1; i <= 130; ++i)
        archive += contoBytes(
            {.numero = qint16(i), .codice = QByteArray::number(i).constData(), .banca = "BANCA"});
    writeBytes(dataFolder() + "Conti.dat", archive);
    writeBytes(dataFolder() + "RecConti.dat", le16(130));
    caricaConti();
    ASSERT_EQ(stato().NumeroConti, 130);
    ASSERT_EQ(stato().TabellaConti.size(), 131u);
    EXPECT_EQ(stato().TabellaConti[130].codiceConto, "130");

    writeBytes(dataFolder() + "RecConti.dat", le16(-4));
    caricaConti();
    EXPECT_EQ(stato().NumeroConti, 0);
    EXPECT_EQ(stato().TabellaConti.size(), 1u);
}

TEST_F(Startup, StartupAccountIsSearchedByItsTrimmedCodeAsText) {
    EXPECT_FALSE(contoAvvioDaAprire(""));
    EXPECT_FALSE(contoAvvioDaAprire("   "));
    EXPECT_FALSE(contoAvvioDaAprire(" 0 "));
    EXPECT_TRUE(contoAvvioDaAprire("A123"));
    EXPECT_TRUE(contoAvvioDaAprire("00"));

    writeBytes(dataFolder() + "Conti.dat",
               contoBytes({.numero = 1, .codice = "7", .banca = "UNO"}) +
                   contoBytes({.numero = 2, .codice = "A123", .banca = "DUE"}) +
                   contoBytes({.numero = 3, .codice = "007", .banca = "TRE"}));
    writeBytes(dataFolder() + "RecConti.dat", le16(3));
    caricaConti();
    EXPECT_EQ(cercaConto(" A123 "), 2);
    EXPECT_EQ(cercaConto("007"), 3);
    EXPECT_EQ(cercaConto("a123"), 0);
    EXPECT_EQ(cercaConto("99"), 0);
}

TEST_F(Startup, DisplayRateIsTheRateOfTheWholeLine) {
    setSlot(2, "Franco", "Belgio", 40.3399);
    setSlot(5, "Franco", "Francia", 6.55957);
    setSlot(6, "Marco", "Germania", 0.0);
    setSlot(7, "Lira", "Italia", std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(cambioVisualizzazione("Franco - Francia"), 6.55957);
    EXPECT_EQ(cambioVisualizzazione(" Franco - Belgio "), 40.3399);
    EXPECT_FALSE(cambioVisualizzazione("Marco - Germania"));
    EXPECT_FALSE(cambioVisualizzazione("Lira - Italia"));
    EXPECT_FALSE(cambioVisualizzazione(" - "));
    EXPECT_FALSE(cambioVisualizzazione("Franco  -  Francia"));
}

TEST_F(Startup, InitialLineIsTheDefaultOrTheFirstWithARate) {
    setSlot(5, "Franco", "Francia", 6.55957);
    setSlot(6, "Marco", "Germania", 0.0);
    setSlot(15, "Euro", "Unione Europea", 1.0);
    const QStringList righe{" - ", " - ", "Euro - Unione Europea", "Franco - Francia",
                            "Marco - Germania"};
    EXPECT_EQ(indiceValutaIniziale(righe, ""), 2);
    EXPECT_EQ(indiceValutaIniziale(righe, "Franco - Francia"), 3);
    EXPECT_EQ(indiceValutaIniziale(righe, "  Franco - Francia  "), 3);
    EXPECT_EQ(indiceValutaIniziale(righe, "Marco - Germania"), 2); // no rate
    EXPECT_EQ(indiceValutaIniziale(righe, "Yen - Giappone"), 2);   // no such line
    EXPECT_EQ(indiceValutaIniziale({" - ", "Marco - Germania"}, ""), -1);
}

TEST_F(Startup, AvailableAmountIsCreditLinePlusBalanceConvertedAndNotRounded) {
    struct Caso {
        double fido, saldo, cambio, disponibile;
    };
    for (const Caso& c : {Caso{100, -25.5, 2, 149}, Caso{2000, 32.66, 1, 2032.66},
                          Caso{1.25, 0, 2, 2.5}, Caso{0, -0.4, 1, -0.4},
                          // Far beyond a 32-bit number: the value is kept.
                          Caso{5e9, 1e9, 1936.27, 11617620000000.0}})
        EXPECT_DOUBLE_EQ(calcolaDisponibilita(c.fido, c.saldo, c.cambio), c.disponibile)
            << c.fido << " " << c.saldo << " " << c.cambio;
}

TEST_F(Startup, BalanceTextsLeaveCreditLineEmptyWithoutAnAccount) {
    auto& s = stato();
    s.FormatoImporti = "#,###,###,##0.00";
    s.FattoreValuta = 2;
    s.SaldoNonSospesi = 1;
    s.SaldoOperazioneOggi = -25.5;
    s.SaldoValutaOggi = 1000;
    s.SaldoContabile = 0.125;
    s.UltimaDataOperazione = "01/12/2026";
    TestiSaldi t = testiSaldi();
    EXPECT_EQ(t.saldi[0], "2,00");
    EXPECT_EQ(t.saldi[1], "-51,00");
    EXPECT_EQ(t.saldi[2], "");
    EXPECT_EQ(t.saldi[3], "2.000,00");
    EXPECT_EQ(t.saldi[4], "0,25");
    EXPECT_EQ(t.saldi[5], "");
    EXPECT_EQ(t.ultimaData, "01/12/2026");

    s.TabellaConti.resize(2);
    s.TabellaConti[1].fido = 100;
    s.IndiceContoAttivo = 1;
    t = testiSaldi();
    EXPECT_EQ(t.saldi[2], "200,00");
    EXPECT_EQ(t.saldi[5], "149,00");
}

class AccountForm : public Form {
public:
    AccountForm() {
        legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });
    }
};
class OtherForm : public Form {};

TEST_F(Startup, ClosingTheAccountUnloadsItsWindowsAndKeepsTheFolder) {
    auto& s = stato();
    s.CodiceContoAttivo = "123";
    s.IndiceContoAttivo = 1;
    s.Form9Aperta = 1;
    const QString folder = s.PercorsoDati;
    formHost().form<AccountForm>();
    formHost().form<OtherForm>();

    ChiudiConto();
    EXPECT_EQ(formHost().loaded<AccountForm>(), nullptr);
    EXPECT_NE(formHost().loaded<OtherForm>(), nullptr);
    EXPECT_TRUE(s.CodiceContoAttivo.isEmpty());
    EXPECT_EQ(s.IndiceContoAttivo, 0);
    EXPECT_EQ(s.Form9Aperta, 0);
    EXPECT_EQ(s.PercorsoDati, folder);
    ChiudiConto(); // twice is the same as once
    EXPECT_EQ(s.PercorsoDati, folder);
}

TEST_F(Startup, ClearingMovementsDeletesOnlyTheAccountsFiles) {
    const QStringList files{"123.MOV", "123.mor", "123.TOT", "1234.MOV", "12.MOV", "Conti.dat"};
    for (const QString& f : files)
        writeBytes(dataFolder() + f, "x");
    stato().CodiceContoAttivo = "123";

    EXPECT_TRUE(cancellaMovimentiConto().ok());
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_FALSE(QFile::exists(dataFolder() + "123.MOV"));
    EXPECT_FALSE(QFile::exists(dataFolder() + "123.mor"));
    EXPECT_FALSE(QFile::exists(dataFolder() + "123.TOT"));
    EXPECT_TRUE(QFile::exists(dataFolder() + "1234.MOV"));
    EXPECT_TRUE(QFile::exists(dataFolder() + "12.MOV"));
    EXPECT_TRUE(QFile::exists(dataFolder() + "Conti.dat"));
}

} // namespace
} // namespace qv::test
