// Loading and saving the five condition files of the open account: what a load reads and
// creates, what a save writes byte by byte, and what a failure leaves behind.
#include "conditions_fixture.h"
#include "support/esito_test.h"

#include "conditions/conditions.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace qv {
namespace {

using namespace test;

class ConditionFiles : public ConditionsTest {};

TEST_F(ConditionFiles, LoadingMissingFilesCreatesThemEmptyAndGivesZeros) {
    // What an earlier account left in memory goes.
    stato().DatiOneriPassivi.ritenutaFiscale = 27.0F;
    stato().DatiOpzioni.indirizzoInternet = QStringLiteral("http://altra.banca");

    QString errore;
    ASSERT_TRUE(test::riuscito(CaricaCondizioni(), &errore)) << errore.toStdString();
    for (const char* ext : {".Iat", ".Ipa", ".Opz", ".Onp", ".spe"}) {
        EXPECT_TRUE(QFileInfo::exists(file(ext))) << ext;
        EXPECT_EQ(readBytes(file(ext)).size(), 0) << ext;
    }
    EXPECT_TRUE(condizioniInMemoria() == CondizioniConto{});
}

TEST_F(ConditionFiles, LoadingReadsEveryRecordIntoTheSharedCopies) {
    scriviCondizioniComplete();
    ASSERT_TRUE(test::riuscito(CaricaCondizioni()));
    const StatoProgramma& s = stato();

    EXPECT_EQ(s.DatiInteressiCreditori.dataDecorrenza[2], "01/07/2001");
    EXPECT_EQ(s.DatiInteressiCreditori.dataDecorrenza[5], "__/__/____");
    EXPECT_EQ(s.DatiInteressiCreditori.tasso[1], 2.0625F);
    EXPECT_EQ(s.DatiInteressiCreditori.tasso[3], 0.75F);

    EXPECT_EQ(s.DatiInteressiDebitori.dataDecorrenza[2], "15/03/2001");
    EXPECT_EQ(s.DatiInteressiDebitori.tassoEntroFido[1], 12.125F);
    EXPECT_EQ(s.DatiInteressiDebitori.tassoFuoriFido[2], 13.5F);

    EXPECT_EQ(s.DatiOpzioni.periodicitaChiusura, "3");
    EXPECT_EQ(s.DatiOpzioni.minimoMovimenti, 12);
    EXPECT_EQ(s.DatiOpzioni.indirizzoInternet, "http://www.bancadiprova.it");
    EXPECT_EQ(s.DatiOpzioni.baseGiorniDebitori, "1");
    EXPECT_EQ(s.DatiOpzioni.baseGiorniCreditori, "2");
    EXPECT_EQ(s.DatiOpzioni.codiceDivisore, 4);

    EXPECT_EQ(s.DatiOneriPassivi.aliquotaMassimoScoperto, 0.125F);
    EXPECT_EQ(s.DatiOneriPassivi.aliquotaScopertoFuoriFidoGiorni, 0.375F);
    EXPECT_EQ(s.DatiOneriPassivi.descrizioneLibera2, "Diritti di urgenza");
    EXPECT_EQ(s.DatiOneriPassivi.baseLibera1, "3");
    EXPECT_EQ(s.DatiOneriPassivi.baseLibera2, "6");

    EXPECT_EQ(s.DatiSpeseVarie.importoSpesa[0], 25.82);
    EXPECT_EQ(s.DatiSpeseVarie.importoSpesa[6], 0.1);
    EXPECT_EQ(s.DatiSpeseVarie.addebitoTrimestrale[1], "0");
    EXPECT_EQ(s.DatiSpeseVarie.addebitoTrimestrale[4], "1");
    EXPECT_EQ(s.DatiSpeseVarie.descrizioneSpesa2, "Invio estratto conto");

    // Loading changed no file.
    EXPECT_EQ(readBytes(file(".Iat")), iatCompleto());
    EXPECT_EQ(readBytes(file(".spe")), speCompleto());
}

TEST_F(ConditionFiles, SavingWritesTheFiveRecordsByteForByte) {
    StatoProgramma& s = stato();
    s.DatiInteressiCreditori.dataDecorrenza = {QString(),    "01/01/2001", "01/07/2001",
                                               "01/01/2002", "__/__/____", "__/__/____"};
    s.DatiInteressiCreditori.tasso = {0, 2.0625F, 1.5F, 0.75F, 0, 0};
    s.DatiInteressiDebitori.dataDecorrenza = {QString(),    "01/01/2001", "15/03/2001",
                                              "__/__/____", "__/__/____", "__/__/____"};
    s.DatiInteressiDebitori.tassoEntroFido = {0, 12.125F, 11.5F, 0, 0, 0};
    s.DatiInteressiDebitori.tassoFuoriFido = {0, 14.0625F, 13.5F, 0, 0, 0};
    s.DatiOpzioni = {"3", 12, "http://www.bancadiprova.it", "1", "2", 4};
    s.DatiOneriPassivi = {
        0.5F, 0.125F, 27.0F, 1.0625F, 2.5F, 0.25F, 0.375F, "Commissione fido", "Diritti di urgenza",
        "3",  "6"};
    s.DatiSpeseVarie.importoSpesa = {25.82, 5.16, 0.62, 10.33, 12.91, 1.03, 0.1};
    s.DatiSpeseVarie.addebitoTrimestrale = {"1", "0", "1", "0", "1", "1", "0"};
    s.DatiSpeseVarie.descrizioneSpesa1 = QStringLiteral("Bollo");
    s.DatiSpeseVarie.descrizioneSpesa2 = QStringLiteral("Invio estratto conto");

    QString errore;
    ASSERT_TRUE(test::riuscito(SalvaCondizioni(), &errore)) << errore.toStdString();
    EXPECT_EQ(readBytes(file(".Iat")), iatCompleto());
    EXPECT_EQ(readBytes(file(".Ipa")), ipaCompleto());
    EXPECT_EQ(readBytes(file(".Opz")), opzCompleto());
    EXPECT_EQ(readBytes(file(".Onp")), onpCompleto());
    EXPECT_EQ(readBytes(file(".spe")), speCompleto());

    // Saving and loading again gives every field back unchanged.
    const CondizioniConto salvate = condizioniInMemoria();
    resetStato();
    openTestAccount("CC1");
    stato().PercorsoDati = dataFolder();
    ASSERT_TRUE(test::riuscito(CaricaCondizioni()));
    EXPECT_TRUE(condizioniInMemoria() == salvate);
}

TEST_F(ConditionFiles, RatesAndFeesThatNoComputationMayCountAreNamedAtLoad) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const double nanD = std::numeric_limits<double>::quiet_NaN();
    const double infD = std::numeric_limits<double>::infinity();
    const DateCondizioni date{"01/01/2001", "__/__/____", "__/__/____", "__/__/____", "__/__/____"};
    const QString tassoSolo =
        "Tasso non valido nelle condizioni del conto (Interessi Creditori riga 2): è contato "
        "come zero nel conteggio delle competenze. Correggere il tasso in \"Dati calcolo "
        "interessi\".";
    const QString spesaSola =
        "Importo non valido nelle spese del conto (Tenuta conto): è contato come zero nel "
        "conteggio delle competenze. Correggere l'importo in \"Dati calcolo interessi\".";
    const struct {
        const char* nome;
        QByteArray iat, ipa, onp, spe;
        QString avviso;
    } casi[] = {
        {"every value usable, however large", creditoriBytes(date, {1e30F, -5, 0, 0, 0}),
         debitoriBytes(date, {}, {}), oneriBytes({}),
         speseBytes({{9999999999999.99, 1e-300, 0, 0, 0, 0, 0}}), ""},
        {"one rate not a number", creditoriBytes(date, {1, nan, 0, 0, 0}),
         debitoriBytes(date, {}, {}), oneriBytes({}), speseBytes({}), tassoSolo},
        {"rates of every record, in the order of the tabs and rows",
         creditoriBytes(date, {0, 0, 0, 0, 0}), debitoriBytes(date, {}, {inf, 0, 0, 0, 0}),
         oneriBytes({nan, 0, 0, -inf, 0, 0, inf, "  Commissione fido", ""}), speseBytes({}),
         "Tassi non validi nelle condizioni del conto (Interessi Debitori fuori fido riga 1, "
         "Commissione eccedenza / Extra Fido, Commissione massimo scoperto fuori fido più gg, "
         "Commissione fido): sono contati come zero nel conteggio delle competenze. Correggere "
         "questi tassi in \"Dati calcolo interessi\"."},
        {"one fee not a number", creditoriBytes(date, {}), debitoriBytes(date, {}, {}),
         oneriBytes({}), speseBytes({{0, nanD, 0, 0, 0, 0, 0}}), spesaSola},
        {"fees infinite or too large for the program", creditoriBytes(date, {}),
         debitoriBytes(date, {}, {}), oneriBytes({}),
         speseBytes({{-infD, 0, 0, 0, 0, 0, -1e13}, "", "", "Invio estratto conto"}),
         "Importi non validi nelle spese del conto (Spese fisse di chiusura, Invio estratto "
         "conto): sono contati come zero nel conteggio delle competenze. Correggere questi "
         "importi in \"Dati calcolo interessi\"."},
        {"a free fee without a name", creditoriBytes(date, {}), debitoriBytes(date, {}, {}),
         oneriBytes({}), speseBytes({{0, 0, 0, 0, 0, infD, 0}, "", "   ", ""}),
         "Importo non valido nelle spese del conto (Campo libero 1): è contato come zero nel "
         "conteggio delle competenze. Correggere l'importo in \"Dati calcolo interessi\"."},
        {"rates and fees", creditoriBytes(date, {1, nan, 0, 0, 0}), debitoriBytes(date, {}, {}),
         oneriBytes({}), speseBytes({{0, nanD, 0, 0, 0, 0, 0}}), tassoSolo + '\n' + spesaSola},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        writeBytes(file(".Iat"), c.iat);
        writeBytes(file(".Ipa"), c.ipa);
        writeBytes(file(".Onp"), c.onp);
        writeBytes(file(".spe"), c.spe);
        QString avviso = QStringLiteral("non letto");
        // The account's conditions are loaded as they are stored, and the user is told.
        ASSERT_TRUE(test::riuscito(CaricaCondizioni(), &avviso));
        EXPECT_EQ(avviso, c.avviso);
        EXPECT_EQ(stato().DatiInteressiCreditori.toBytes(), c.iat);
        EXPECT_EQ(stato().DatiSpeseVarie.toBytes(), c.spe);
    }
}

TEST_F(ConditionFiles, TextsAreCutToTheirFieldAndAnOldDebitFileGrowsToNinetyBytes) {
    // The older 70-byte ".Ipa": no rates beyond the credit line.
    writeBytes(file(".Ipa"), ipaCompleto().first(70));
    ASSERT_TRUE(test::riuscito(CaricaCondizioni()));
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(stato().DatiInteressiDebitori.tassoFuoriFido[size_t(i)], 0.0F) << i;
    EXPECT_EQ(stato().DatiInteressiDebitori.tassoEntroFido[2], 11.5F);

    const QString lungo = QStringLiteral("http://www.banca.it/") + QString(100, u'x');
    stato().DatiOpzioni.indirizzoInternet = lungo;
    stato().DatiOneriPassivi.descrizioneLibera1 = QStringLiteral("Commissione di istruttoria fido");
    ASSERT_TRUE(test::riuscito(SalvaCondizioni()));

    EXPECT_EQ(readBytes(file(".Ipa")),
              debitoriBytes({"01/01/2001", "15/03/2001", "__/__/____", "__/__/____", "__/__/____"},
                            {12.125F, 11.5F, 0, 0, 0}, {0, 0, 0, 0, 0}));
    const QByteArray opz = readBytes(file(".Opz"));
    ASSERT_EQ(opz.size(), 107);
    EXPECT_EQ(opz.mid(3, 100), lungo.left(100).toLatin1());
    EXPECT_EQ(readBytes(file(".Onp")).mid(28, 25), QByteArray("Commissione di istruttor"
                                                              "i"));
}

TEST_F(ConditionFiles, ASaveThatCannotWriteEveryFileLeavesThemAllAsTheyWere) {
    scriviCondizioniComplete();
    ASSERT_TRUE(test::riuscito(CaricaCondizioni()));
    // ".Onp" cannot be written: a folder stands in its place.
    ASSERT_TRUE(QFile::remove(file(".Onp")));
    ASSERT_TRUE(QDir().mkdir(file(".Onp")));
    const auto prima = cartella();

    stato().DatiInteressiCreditori.tasso[1] = 9.0F;
    stato().DatiOpzioni.minimoMovimenti = 99;
    stato().DatiSpeseVarie.importoSpesa[0] = 1.0;
    QString errore;
    EXPECT_FALSE(test::riuscito(SalvaCondizioni(), &errore));
    EXPECT_FALSE(errore.isEmpty());
    EXPECT_EQ(cartella(), prima);
    EXPECT_FALSE(QFileInfo::exists(dataFolder() + QStringLiteral(".transazione")));
}

TEST_F(ConditionFiles, ALoadThatCannotReadAFileKeepsTheRecordsItHad) {
    scriviCondizioniComplete();
    ASSERT_TRUE(test::riuscito(CaricaCondizioni()));
    const CondizioniConto prima = condizioniInMemoria();

    // Another account whose options cannot be read: nothing of it is mixed in.
    openTestAccount("CC2");
    ASSERT_TRUE(QDir().mkdir(dataFolder() + QStringLiteral("CC2.Opz")));
    writeBytes(dataFolder() + QStringLiteral("CC2.Iat"),
               creditoriBytes({"01/01/2020", "", "", "", ""}, {4, 0, 0, 0, 0}));
    QString errore;
    EXPECT_FALSE(test::riuscito(CaricaCondizioni(), &errore));
    EXPECT_TRUE(errore.contains(QStringLiteral("CC2.Opz"))) << errore.toStdString();
    EXPECT_TRUE(condizioniInMemoria() == prima);
}

TEST_F(ConditionFiles, WithNoAccountOpenNothingIsReadOrWritten) {
    scriviCondizioniComplete();
    ASSERT_TRUE(test::riuscito(CaricaCondizioni()));
    const CondizioniConto prima = condizioniInMemoria();
    const auto fileDiPrima = cartella();
    stato().CodiceContoAttivo.clear();
    stato().IndiceContoAttivo = 0;

    QString errore;
    EXPECT_FALSE(test::riuscito(CaricaCondizioni(), &errore));
    EXPECT_EQ(errore, testoNessunContoAperto());
    stato().DatiOpzioni.minimoMovimenti = 1;
    EXPECT_FALSE(test::riuscito(SalvaCondizioni(), &errore));
    EXPECT_EQ(errore, testoNessunContoAperto());
    EXPECT_EQ(cartella(), fileDiPrima);
    stato().DatiOpzioni.minimoMovimenti = prima.opzioni.minimoMovimenti;
    EXPECT_TRUE(condizioniInMemoria() == prima);
}

TEST_F(ConditionFiles, FilesCopiedWithOtherLetterCaseAreUsedUnderTheirOwnNames) {
    writeBytes(dataFolder() + QStringLiteral("CC1.IAT"), iatCompleto());
    ASSERT_TRUE(test::riuscito(CaricaCondizioni()));
    EXPECT_EQ(stato().DatiInteressiCreditori.tasso[2], 1.5F);
    // No second file of the same name was made beside it.
    int stessoNome = 0;
    for (const auto& [nome, contenuto] : cartella())
        stessoNome += nome.compare(QStringLiteral("CC1.Iat"), Qt::CaseInsensitive) == 0;
    EXPECT_EQ(stessoNome, 1);
    stato().DatiInteressiCreditori.tasso[2] = 3.0F;
    ASSERT_TRUE(test::riuscito(SalvaCondizioni()));
    EXPECT_EQ(readBytes(dataFolder() + QStringLiteral("CC1.IAT")).mid(54, 4), leFloat(3.0F));
}

TEST_F(ConditionFiles, TheOptionsAloneAreLoadedWithoutCreatingAnything) {
    stato().DatiOneriPassivi.ritenutaFiscale = 12.5F;
    // A missing options file reads as zeros and stays missing.
    stato().DatiOpzioni.minimoMovimenti = 3;
    ASSERT_TRUE(test::riuscito(CaricaOpzioni()));
    EXPECT_TRUE(stato().DatiOpzioni == Opzioni{});
    EXPECT_TRUE(cartella().empty());

    writeBytes(file(".Opz"), opzCompleto());
    ASSERT_TRUE(test::riuscito(CaricaOpzioni()));
    EXPECT_EQ(stato().DatiOpzioni.indirizzoInternet, "http://www.bancadiprova.it");
    EXPECT_EQ(stato().DatiOneriPassivi.ritenutaFiscale, 12.5F); // the rest is not read

    // Options that cannot be read leave the record as it was.
    openTestAccount("CC2");
    ASSERT_TRUE(QDir().mkdir(dataFolder() + QStringLiteral("CC2.Opz")));
    EXPECT_FALSE(test::riuscito(CaricaOpzioni()));
    EXPECT_EQ(stato().DatiOpzioni.codiceDivisore, 4);
}

} // namespace
} // namespace qv
