// The conversion of a whole folder: what it writes, what it refuses, and that a
// failure or a kill never leaves a folder half converted.
#include "old_folder.h"
#include "support/file_size_limit.h"
#include "support/fixture.h"

#include "common/folder_lock.h"
#include "common/records.h"
#include "common/transaction.h"
#include "importa/conversion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

namespace qv::test {
namespace {

constexpr const char* kOggi = "09/12/2026"; // the fixture's today

class ConversionTest : public ProgramTest {
protected:
    QString folder() const { return dataFolder(); }
    QString at(const char* name) const { return folder() + QLatin1String(name); }
    std::map<QString, QByteArray> contents() const { return folderContents(folder()); }

    // Compares file by file, so that a difference names its file and shows its bytes.
    static void expectFiles(const std::map<QString, QByteArray>& got,
                            const std::map<QString, QByteArray>& expected) {
        for (const auto& [name, bytes] : expected) {
            const auto it = got.find(name);
            if (it == got.end()) {
                ADD_FAILURE() << "missing " << name.toStdString();
                continue;
            }
            EXPECT_EQ(printable(it->second), printable(bytes)) << name.toStdString();
        }
        for (const auto& [name, bytes] : got)
            EXPECT_TRUE(expected.count(name)) << "unexpected " << name.toStdString();
    }
};

TEST_F(ConversionTest, OldFolderBecomesTheCurrentLayoutsByteForByte) {
    writeOldFolder(folder());
    const EsitoConversione esito = convertiCartella(folder());
    ASSERT_EQ(esito.esito.stato, Esito::Stato::Fatto) << esito.esito.testo.toStdString();
    EXPECT_EQ(esito.contiConvertiti, 2);
    EXPECT_TRUE(esito.ripristinati.isEmpty());
    expectFiles(contents(), convertedOldFolder(kOggi));
    EXPECT_TRUE(messages.shown().empty()); // the computation shows nothing itself
}

// Text fields keep their bytes, NULs and blanks as they are, in every old layout: only
// the dates are widened and the layouts change. A leaf never issued keeps its payee of
// NULs, which the program reads as such (the cheque situation prints "Assegno non
// Emesso" for it).
TEST_F(ConversionTest, TextFieldsKeepTheirBytesNulsIncluded) {
    const auto nul = [](const QByteArray& s, int width) {
        return s + QByteArray(width - s.size(), '\0');
    };
    const QByteArray n8(8, '\0'), n10(10, '\0');
    const QByteArray fido = leDouble(1500.0), importo = leDouble(250.0), zero = leDouble(0);

    writeBytes(at("RecConti.dat"), le16(1));
    const QByteArray contoComune = le16(1) + nul("N1", 12) + nul("Conto", 30) +
                                   nul("Banca \x80uro", 45) + QByteArray(45, '\0') + "00100" +
                                   nul("Roma  ", 25) + QByteArray(2, '\0');
    writeBytes(at("CONTI.DAT"), contoComune + QByteArray(20, 'x') + fido + QByteArray(1, '\0'));

    const QByteArray testoMovimento =
        nul("AS", 5) + importo + n8 + nul(QByteArray("Mario\0Rossi", 11), 30) + "NUN";
    const QByteArray testoVuoto =
        QByteArray(5, '\0') + zero + n8 + QByteArray(30, '\0') + QByteArray(3, '\0');
    const QByteArray m1 = le16(1) + "12/05/98" + "14/05/98" + testoMovimento;
    const QByteArray m2 = le16(2) + n8 + n8 + testoVuoto;
    writeBytes(at("N1.mor"), le16(2));
    writeBytes(at("N1.mov"), m1 + m2);
    writeBytes(at("N1.ord"), m2 + m1);

    const QByteArray carnetPrima = le16(0) + le16(1);
    const QByteArray carnetDopo = leDouble(3.5) + le32(1000001) + le32(1000010) +
                                  QByteArray(1, '\0') + le16(10) + QByteArray(1, '\0') +
                                  QByteArray("\0\x07", 2);
    writeBytes(at("N1.NRC"), le16(1));
    writeBytes(at("N1.CAR"), carnetPrima + "10/05/98" + carnetDopo);

    const QByteArray emesso = nul("Mario Rossi", 30) + text("affitto", 30) + "N N";
    const QByteArray nonEmesso = QByteArray(30, '\0') + QByteArray(30, '\0') + QByteArray(3, '\0');
    const QByteArray f1 = le16(1) + le16(1) + le16(1) + le32(1000001);
    const QByteArray f2 = le16(0) + le16(2) + le16(1) + le32(1000002);
    writeBytes(at("N1.NRF"), le16(2));
    writeBytes(at("N1.FOG"), f1 + "03/01/99" + importo + emesso + f2 + n8 + zero + nonEmesso);

    const QByteArray tassi = leFloat(1.5F) + leFloat(0) + leFloat(0) + leFloat(0) + leFloat(0);
    writeBytes(at("N1.Iat"), "01/01/98" + n8 + n8 + n8 + n8 + tassi);
    writeBytes(at("N1.Ipa"), n8 + n8 + n8 + n8 + n8 + tassi);
    writeBytes(at("N1.chi"), n8 + leDouble(7.5) + n8);
    writeBytes(at("N1.rip"), "31/12/99" + leDouble(8.5));

    const EsitoConversione esito = convertiCartella(folder());
    ASSERT_EQ(esito.esito.stato, Esito::Stato::Fatto) << esito.esito.testo.toStdString();

    const QByteArray m1Nuovo = le16(1) + "12/05/1998" + "14/05/1998" + testoMovimento;
    const QByteArray m2Nuovo = le16(2) + n10 + n10 + testoVuoto;
    const QByteArray foglioNonEmesso = f2 + n10 + zero + nonEmesso;
    expectFiles(contents(),
                {
                    {"RecConti.dat", le16(1)},
                    {"CONTI.DAT", contoComune + fido + QByteArray(1, '\0') + QByteArray(30, ' ')},
                    {"N1.mor", le16(2)},
                    {"N1.mov", m1Nuovo + m2Nuovo},
                    {"N1.ord", m2Nuovo + m1Nuovo},
                    {"N1.NRC", le16(1)},
                    {"N1.CAR", carnetPrima + "10/05/1998" + carnetDopo},
                    {"N1.NRF", le16(2)},
                    {"N1.FOG", f1 + "03/01/1999" + importo + emesso + foglioNonEmesso},
                    {"N1.Iat", "01/01/1998" + n10 + n10 + n10 + n10 + tassi},
                    {"N1.Ipa", n10 + n10 + n10 + n10 + n10 + tassi + tassi},
                    {"N1.chi", n10 + leDouble(7.5) + QByteArray(12, '\0')},
                    {"N1.rip", "31/12/1999" + leDouble(8.5)},
                    {"Conv.con", convConBytes(kOggi, QByteArray(1, '\0'))},
                });
    EXPECT_TRUE(FoglioAssegno::fromBytes(foglioNonEmesso).traenteNullo);
}

TEST_F(ConversionTest, SecondRunIsRefusedAndChangesNothing) {
    writeOldFolder(folder());
    ASSERT_EQ(convertiCartella(folder()).esito.stato, Esito::Stato::Fatto);
    const auto converted = contents();

    const EsitoConversione again = convertiCartella(folder());
    EXPECT_EQ(again.esito.stato, Esito::Stato::Rifiutato);
    EXPECT_EQ(again.esito.testo, QStringLiteral("I dati selezionati sono stati già convertiti"));
    EXPECT_EQ(again.esito.titolo, QStringLiteral("Attenzione!"));
    EXPECT_EQ(contents(), converted);
}

// A folder of the current release (no Conv.con) is recognised by any one file whose
// size is not a whole number of old records, and left untouched.
TEST_F(ConversionTest, FolderOfTheCurrentLayoutsIsRefusedUntouched) {
    const struct {
        const char* file;
        QByteArray bytes;
    } correnti[] = {
        {"CONTI.DAT", contoBytes({.numero = 1, .codice = "A1"}) +
                          contoBytes({.numero = 2, .codice = "CONTOLUNGO12"})},
        {"A1.mov", movimentoBytes({1, "12/05/1998"}) + movimentoBytes({2, "03/01/2000"}) +
                       movimentoBytes({3, "15/02/2003"})},
        {"A1.tot", totaliBytes(1, 2, 3, 4, "12/05/1998", "15/02/2003", "", "")},
        {"A1.FOG", foglioBytes({2, 1, 1, 1000001, "03/01/2000"}) + foglioBytes({0, 2, 1})},
        {"CONTOLUNGO12.RIP", ripBytes("31/12/2001", 65.5)},
        {"CONTOLUNGO12.CHI", chiBytes("31/12/1999", 55.5, "CONTOLUNGO12")},
        {"A1.Ipa", ipaBytes({"", "", "", "", ""}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5})},
        {"A1.Iat", iatBytes({"", "", "", "", ""}, {1, 2, 3, 4, 5})},
    };
    for (const auto& c : correnti) {
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        writeOldFolder(folder());
        writeBytes(at(c.file), c.bytes);
        const auto before = contents();

        const EsitoConversione esito = convertiCartella(folder());
        EXPECT_EQ(esito.esito.stato, Esito::Stato::Rifiutato) << c.file;
        EXPECT_TRUE(esito.esito.testo.contains(QLatin1String(c.file)))
            << esito.esito.testo.toStdString();
        EXPECT_EQ(contents(), before) << c.file;
    }
}

// A disk that fills up while the second account is written: every file of the first
// account, already rewritten, goes back, and no copy is left behind.
TEST_F(ConversionTest, FailureMidwayLeavesTheFolderExactlyAsItWas) {
    writeOldFolder(folder());
    QByteArray molti;
    for (int i = 1; i <= 100; ++i)
        molti += movimentoVecchioBytes(qint16(i), "01/02/01", "01/02/01", "BON", i, "", "", "N",
                                       "E", "N");
    writeBytes(at("CONTOLUNGO12.MOV"), molti); // 7200 bytes, 7600 once converted
    writeBytes(at("CONTOLUNGO12.MOR"), le16(100));
    const auto before = contents();

    QStringList scritti;
    EsitoConversione esito;
    {
        FileSizeLimit limit(7400);
        ASSERT_TRUE(limit.isSet());
        esito = convertiCartella(folder(), [&](const QString& f) { scritti << f; });
    }
    EXPECT_EQ(esito.esito.stato, Esito::Stato::Fallito);
    EXPECT_TRUE(esito.esito.testo.contains(QLatin1String("CONTOLUNGO12.MOV")))
        << esito.esito.testo.toStdString();
    EXPECT_TRUE(esito.nonRipristinati.isEmpty());
    EXPECT_EQ(scritti.size(), 9); // the nine files of "A1" had been written
    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(hasInterruptedChange(folder()));
}

// Killed after five files: the next run puts the originals back from its copies and
// converts the folder afresh, exactly as an uninterrupted run does.
TEST_F(ConversionTest, KilledConversionIsPutBackAndCompletedByTheNextRun) {
    writeOldFolder(folder());
    const auto original = contents();
    EXPECT_EXIT(
        {
            int scritti = 0;
            convertiCartella(folder(), [&](const QString&) {
                if (++scritti == 5) _exit(9);
            });
            _exit(0);
        },
        ::testing::ExitedWithCode(9), "");

    ASSERT_TRUE(hasInterruptedChange(folder()));
    EXPECT_NE(readBytes(at("A1.mov")), original.at(QStringLiteral("A1.mov")));
    EXPECT_FALSE(QFileInfo::exists(at("Conv.con")));

    const EsitoConversione esito = convertiCartella(folder());
    ASSERT_EQ(esito.esito.stato, Esito::Stato::Fatto) << esito.esito.testo.toStdString();
    EXPECT_TRUE(esito.ripristinati.contains(QFileInfo(at("A1.mov")).absoluteFilePath()));
    expectFiles(contents(), convertedOldFolder(kOggi));
}

// A folder without accounts (count 0, or no count file) gets nothing written and no
// file created, Conv.con included.
TEST_F(ConversionTest, FolderWithoutAccountsIsLeftAlone) {
    for (const QByteArray& conteggio : {le16(0), QByteArray()}) {
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        if (!conteggio.isEmpty()) writeBytes(at("RecConti.dat"), conteggio);
        writeBytes(at("CONTI.DAT"), contoVecchioBytes(1, "A1", "", "", "", "", "", "", "", 0, ""));
        const auto before = contents();

        const EsitoConversione esito = convertiCartella(folder());
        EXPECT_EQ(esito.esito.stato, Esito::Stato::Fatto);
        EXPECT_EQ(esito.contiConvertiti, 0);
        EXPECT_EQ(contents(), before);
    }
}

// Nothing is written when a file cannot be read, when an account's code cannot name
// files, or when another program holds the folder.
TEST_F(ConversionTest, WhatStopsTheConversionBeforeAnythingIsWritten) {
    // An account file that is not a file.
    writeOldFolder(folder());
    QFile::remove(at("CONTOLUNGO12.RIP"));
    QDir().mkpath(at("CONTOLUNGO12.RIP"));
    auto before = contents();
    EsitoConversione esito = convertiCartella(folder());
    EXPECT_EQ(esito.esito.stato, Esito::Stato::Fallito);
    EXPECT_TRUE(esito.esito.testo.contains(QLatin1String("CONTOLUNGO12.RIP")));
    EXPECT_EQ(contents(), before);
    QDir().rmdir(at("CONTOLUNGO12.RIP"));

    // Codes that cannot name files: a record beyond CONTI.DAT's end, a path.
    for (const QByteArray& terzo :
         {QByteArray(), contoVecchioBytes(3, "../fuori", "", "", "", "", "", "", "", 0, "")}) {
        writeOldFolder(folder());
        writeBytes(at("RecConti.dat"), le16(3));
        writeBytes(at("CONTI.DAT"), readBytes(at("CONTI.DAT")).left(2 * 195) + terzo);
        before = contents();
        esito = convertiCartella(folder());
        EXPECT_EQ(esito.esito.stato, Esito::Stato::Rifiutato);
        EXPECT_TRUE(esito.esito.testo.startsWith(QStringLiteral("Il conto 3 ")))
            << esito.esito.testo.toStdString();
        EXPECT_EQ(contents(), before);
    }

    // Quorvanta has the folder open.
    writeOldFolder(folder());
    writeBytes(at("RecConti.dat"), le16(2));
    before = contents();
    FolderLock altro;
    ASSERT_EQ(altro.lock(folder()), FolderLock::Result::Locked);
    esito = convertiCartella(folder());
    EXPECT_EQ(esito.esito.stato, Esito::Stato::Rifiutato);
    EXPECT_EQ(esito.esito.testo, testoCartellaInUso(folder()));
    altro.unlock();
    EXPECT_EQ(contents(), before);
}

// A file holding fewer whole records than its count file says (or none, being missing)
// cannot be read: converting it would make blank records of the lost ones. Nothing is
// written and the file is named. Only a missing list order is let through (see the
// account "CONTOLUNGO12" of the old folder): the program rebuilds it from the movements.
TEST_F(ConversionTest, FileWithFewerRecordsThanItsCountStopsTheConversion) {
    const auto movimenti = [](int quanti) {
        QByteArray b;
        for (int i = 1; i <= quanti; ++i)
            b += movimentoVecchioBytes(qint16(i), "01/02/99", "01/02/99", "VE", i, "", "Bonifico",
                                       "N", "E", "N");
        return b;
    };
    const QByteArray foglio =
        foglioVecchioBytes(0, 1, 1, 1000001, "00/00/00", 0.0, "", "", "N", " ", "N");
    const QByteArray carnet = carnetVecchioBytes(0, 1, "10/05/98", 3.5, 1000001, 1000010, "N", 10,
                                                 "N", QByteArray(2, '\0'));
    const struct {
        const char* caso;
        std::map<const char*, QByteArray> files; // written over the old folder's; empty: removed
        const char* nominato;
        const char* conteggio;
        EsitoConversione::Guasto guasto;
    } casi[] = {
        {"movements cut",
         {{"A1.mor", le16(8)}, {"A1.mov", movimenti(7)}, {"A1.ord", movimenti(8)}},
         "A1.mov",
         "A1.mor",
         EsitoConversione::Guasto::FineFile},
        {"list order cut",
         {{"A1.ord", movimenti(2)}},
         "A1.ord",
         "A1.mor",
         EsitoConversione::Guasto::FineFile},
        {"cheque books cut",
         {{"A1.NRC", le16(2)}, {"A1.CAR", carnet}},
         "A1.CAR",
         "A1.NRC",
         EsitoConversione::Guasto::FineFile},
        {"leaves cut",
         {{"A1.FOG", foglio}},
         "A1.FOG",
         "A1.NRF",
         EsitoConversione::Guasto::FineFile},
        {"movements missing",
         {{"CONTOLUNGO12.MOV", {}}},
         "CONTOLUNGO12.MOV",
         "CONTOLUNGO12.MOR",
         EsitoConversione::Guasto::Sistema},
        {"cheque books missing",
         {{"A1.CAR", {}}},
         "A1.CAR",
         "A1.NRC",
         EsitoConversione::Guasto::Sistema},
        {"leaves missing", {{"A1.FOG", {}}}, "A1.FOG", "A1.NRF", EsitoConversione::Guasto::Sistema},
    };
    for (const auto& c : casi) {
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        writeOldFolder(folder());
        for (const auto& [nome, bytes] : c.files) {
            if (bytes.isEmpty())
                ASSERT_TRUE(QFile::remove(at(nome))) << nome;
            else
                writeBytes(at(nome), bytes);
        }
        const auto before = contents();

        const EsitoConversione esito = convertiCartella(folder());
        EXPECT_EQ(esito.esito.stato, Esito::Stato::Fallito) << c.caso;
        EXPECT_EQ(esito.guasto, c.guasto) << c.caso;
        EXPECT_TRUE(esito.esito.testo.startsWith(QStringLiteral("Impossibile leggere ") +
                                                 at(c.nominato) + QStringLiteral(": ")))
            << c.caso << ": " << esito.esito.testo.toStdString();
        EXPECT_TRUE(esito.esito.testo.contains(at(c.conteggio))) << c.caso;
        EXPECT_EQ(contents(), before) << c.caso;
    }
}

// A count that is no number of records (negative, or a count file cut short) stops the
// conversion before anything is written, naming the count file: converting around it
// would leave the file it counts in the old layout in a folder marked converted.
TEST_F(ConversionTest, NegativeOrCutCountStopsTheConversion) {
    const struct {
        const char* file;
        QByteArray conteggio;
        EsitoConversione::Guasto guasto;
    } casi[] = {
        {"A1.mor", le16(-1), EsitoConversione::Guasto::Conteggio},
        {"CONTOLUNGO12.MOR", le16(-32768), EsitoConversione::Guasto::Conteggio},
        {"A1.NRC", le16(-1), EsitoConversione::Guasto::Conteggio},
        {"A1.NRF", le16(-2), EsitoConversione::Guasto::Conteggio},
        {"RecConti.dat", le16(-3), EsitoConversione::Guasto::Conteggio},
        {"A1.mor", QByteArray(1, '\x03'), EsitoConversione::Guasto::FineFile},
        {"A1.NRF", QByteArray(1, '\x02'), EsitoConversione::Guasto::FineFile},
    };
    for (const auto& c : casi) {
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        writeOldFolder(folder());
        writeBytes(at(c.file), c.conteggio);
        const auto before = contents();

        const EsitoConversione esito = convertiCartella(folder());
        EXPECT_EQ(esito.esito.stato, Esito::Stato::Fallito) << c.file;
        EXPECT_EQ(esito.guasto, c.guasto) << c.file;
        EXPECT_TRUE(esito.esito.testo.startsWith(QStringLiteral("Impossibile leggere ") +
                                                 at(c.file) + QStringLiteral(": ")))
            << esito.esito.testo.toStdString();
        EXPECT_EQ(contents(), before) << c.file;
    }
}

// A count of 0 makes the files it counts empty: their old records are stale, and left
// in place they would stay in the old layout. A missing file stays missing.
TEST_F(ConversionTest, CountOfZeroWritesEmptyFiles) {
    writeOldFolder(folder());
    for (const char* conteggio : {"A1.mor", "A1.NRC", "A1.NRF"})
        writeBytes(at(conteggio), le16(0));
    QFile::remove(at("A1.FOG"));

    const EsitoConversione esito = convertiCartella(folder());
    ASSERT_EQ(esito.esito.stato, Esito::Stato::Fatto) << esito.esito.testo.toStdString();
    auto attesi = convertedOldFolder(kOggi);
    for (const char* conteggio : {"A1.mor", "A1.NRC", "A1.NRF"})
        attesi[QLatin1String(conteggio)] = le16(0);
    for (const char* vuoto : {"A1.mov", "A1.ord", "A1.CAR"})
        attesi[QLatin1String(vuoto)] = QByteArray();
    attesi.erase(QStringLiteral("A1.FOG"));
    expectFiles(contents(), attesi);
}

// The account list: code and bank as stored, in record order, read from either
// layout, and reading creates nothing.
TEST_F(ConversionTest, AccountListReadsEitherLayoutAndCreatesNothing) {
    const QStringList attese = {
        QStringLiteral("A1") + QString(10, QLatin1Char(' ')) + QStringLiteral(" - Banca Uno") +
            QString(36, QLatin1Char(' ')),
        QStringLiteral("CONTOLUNGO12 - Banca Due") + QString(36, QLatin1Char(' ')),
    };
    EXPECT_TRUE(leggiListaConti(folder()).righe.isEmpty());
    EXPECT_TRUE(contents().empty());

    writeOldFolder(folder());
    EXPECT_EQ(leggiListaConti(folder()).righe, attese);
    ASSERT_EQ(convertiCartella(folder()).esito.stato, Esito::Stato::Fatto);
    const ListaContiCartella lista = leggiListaConti(folder());
    EXPECT_EQ(lista.righe, attese);
    EXPECT_TRUE(lista.esito.ok());
}

// A folder that is not there (or a file chosen in its place) is named with its final
// "/", as a path the user can look for, and nothing is created.
TEST_F(ConversionTest, FolderThatIsNotThereIsNamed) {
    writeBytes(at("unfile"), "x");
    const auto before = contents();
    const struct {
        const char* scelta;
        const char* nome;
    } casi[] = {
        {"assente", "assente/"},
        {"assente/", "assente/"},
        {"unfile", "unfile/"},
    };
    for (const auto& c : casi) {
        const EsitoConversione esito = convertiCartella(at(c.scelta));
        EXPECT_EQ(esito.esito.stato, Esito::Stato::Fallito) << c.scelta;
        EXPECT_EQ(esito.esito.testo,
                  QStringLiteral("La cartella ") + at(c.nome) + QStringLiteral(" non esiste."))
            << c.scelta;
        EXPECT_EQ(esito.osErrno, ENOENT) << c.scelta;
        EXPECT_TRUE(esito.percorso) << c.scelta;
        EXPECT_EQ(contents(), before) << c.scelta;
    }
}

// A write that fails at any step says so, with the files all put back, and gives the
// system's error; nothing is reported as converted.
TEST_F(ConversionTest, FailedWriteSaysEveryFileWentBack) {
    writeOldFolder(folder());
    QByteArray molti;
    for (int i = 1; i <= 100; ++i)
        molti += movimentoVecchioBytes(qint16(i), "01/02/01", "01/02/01", "BON", i, "", "", "N",
                                       "E", "N");
    writeBytes(at("CONTOLUNGO12.MOV"), molti);
    writeBytes(at("CONTOLUNGO12.MOR"), le16(100));
    EsitoConversione esito;
    {
        FileSizeLimit limit(7400);
        ASSERT_TRUE(limit.isSet());
        esito = convertiCartella(folder());
    }
    EXPECT_EQ(esito.esito.stato, Esito::Stato::Fallito);
    EXPECT_TRUE(esito.esito.testo.startsWith(QStringLiteral("Impossibile scrivere ")))
        << esito.esito.testo.toStdString();
    EXPECT_TRUE(esito.esito.testo.endsWith(
        QStringLiteral(".\nLa conversione non è stata eseguita. Ogni file della cartella è "
                       "stato ripristinato com'era.")))
        << esito.esito.testo.toStdString();
    EXPECT_EQ(esito.osErrno, EFBIG);
    EXPECT_EQ(esito.contiConvertiti, 0);
}

} // namespace
} // namespace qv::test
