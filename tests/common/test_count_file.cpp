// A count file judged with the records it counts, the rebuild of a damaged count, the
// reasons of failed file operations, the temporary files a stopped rewrite leaves, and
// the order in which written data reach the disk.
#include "common/count_file.h"
#include "common/disk_sync.h"
#include "common/file_errors.h"
#include "common/paths.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/safe_write.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>
#include <vector>

using namespace qv;
using test::le16;

namespace {

class CountFile : public ::testing::Test {
protected:
    QString at(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    void put(const QString& name, const QByteArray& bytes) const {
        test::writeBytes(at(name), bytes);
    }
    QByteArray contents(const QString& name) const { return test::readBytes(at(name)); }
    QStringList names() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }
    EsameConteggio esame() const { return esaminaConteggio(at("1.MOR"), at("1.MOV"), 4); }

    QTemporaryDir m_dir;
};

// Each case: the count file (absent when null), the record file's bytes, and what the
// pair says: its state, the count to use, the records.
struct Caso {
    const char* nome;
    std::optional<QByteArray> conteggio;
    QByteArray record;
    StatoConteggio stato;
    int usato;
    int records;
};

TEST_F(CountFile, ACountIsJudgedWithTheRecordsItCounts) {
    const QByteArray tre(12, 'r');
    const std::vector<Caso> casi{
        {"equal", le16(3), tre, StatoConteggio::Valido, 3, 3},
        {"lower: the rest is what a deletion left", le16(1), tre, StatoConteggio::Valido, 1, 3},
        {"zero", le16(0), tre, StatoConteggio::Valido, 0, 3},
        {"larger", le16(10), tre, StatoConteggio::Eccessivo, 3, 3},
        {"the largest", le16(32767), tre, StatoConteggio::Eccessivo, 3, 3},
        {"a record cut short is no record", le16(4), tre + "rr", StatoConteggio::Eccessivo, 3, 3},
        {"missing next to records", std::nullopt, tre, StatoConteggio::Mancante, 0, 3},
        {"empty next to records", QByteArray(), tre, StatoConteggio::Incompleto, 0, 3},
        {"one byte next to records", QByteArray("\x03"), tre, StatoConteggio::Incompleto, 0, 3},
        {"negative next to records", le16(-2), tre, StatoConteggio::Negativo, 0, 3},
        {"missing without records", std::nullopt, QByteArray(), StatoConteggio::Valido, 0, 0},
        {"negative without records", le16(-2), QByteArray(), StatoConteggio::Valido, 0, 0},
        {"a count past an empty file", le16(2), QByteArray(), StatoConteggio::Eccessivo, 0, 0},
    };
    for (const Caso& c : casi) {
        QFile::remove(at("1.MOR"));
        if (c.conteggio) put("1.MOR", *c.conteggio);
        put("1.MOV", c.record);
        const EsameConteggio e = esame();
        EXPECT_EQ(e.stato, c.stato) << c.nome;
        EXPECT_EQ(e.conteggio, c.usato) << c.nome;
        EXPECT_EQ(e.record, c.records) << c.nome;
        EXPECT_EQ(e.danneggiato(), !e.utilizzabile()) << c.nome;
    }
    // Judging creates nothing.
    QFile::remove(at("1.MOR"));
    QFile::remove(at("1.MOV"));
    EXPECT_EQ(esame().stato, StatoConteggio::Valido);
    EXPECT_TRUE(names().isEmpty());
}

TEST_F(CountFile, FilesThatCannotBeReadAreNamed) {
    put("1.MOV", QByteArray(8, 'r'));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("1.MOR"));
    EsameConteggio e = esame();
    EXPECT_EQ(e.stato, StatoConteggio::Illeggibile);
    EXPECT_EQ(descriviDanno(e), QStringLiteral("Il file %1 non può essere letto: al posto del "
                                               "file c'è una cartella con lo stesso nome.")
                                    .arg(QDir::toNativeSeparators(at("1.MOR"))));

    QDir(m_dir.path()).rmdir("1.MOR");
    QFile::remove(at("1.MOV"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("1.MOV"));
    put("1.MOR", le16(0));
    e = esame();
    EXPECT_EQ(e.stato, StatoConteggio::RecordIlleggibili);
    EXPECT_FALSE(e.utilizzabile());
    EXPECT_TRUE(descriviDanno(e).contains(QDir::toNativeSeparators(at("1.MOV"))));
}

TEST_F(CountFile, ARebuiltCountKeepsTheDamagedFileBesideIt) {
    const QByteArray records(12, 'r');
    put("1.MOV", records);
    put("1.MOR", le16(-7));
    put("1.MOR.danneggiato", "an earlier copy");
    QString copia, errore;
    ASSERT_TRUE(test::riuscito(ricostruisciConteggio(esame(), &copia), &errore))
        << errore.toStdString();
    EXPECT_EQ(copia, at("1.MOR.danneggiato2"));
    EXPECT_EQ(contents("1.MOR"), le16(3));
    EXPECT_EQ(contents("1.MOR.danneggiato2"), le16(-7));
    EXPECT_EQ(contents("1.MOR.danneggiato"), QByteArray("an earlier copy"));
    EXPECT_EQ(contents("1.MOV"), records);
    EXPECT_EQ(esame().stato, StatoConteggio::Valido);

    // A missing count is written; there is nothing to keep.
    QFile::remove(at("1.MOR"));
    ASSERT_TRUE(test::riuscito(ricostruisciConteggio(esame(), &copia), &errore));
    EXPECT_TRUE(copia.isEmpty());
    EXPECT_EQ(contents("1.MOR"), le16(3));

    // An unreadable count (here a folder) is kept as it is, whatever it holds.
    QFile::remove(at("1.MOR"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("1.MOR"));
    put("1.MOR/inside", "x");
    ASSERT_TRUE(test::riuscito(ricostruisciConteggio(esame(), &copia), &errore))
        << errore.toStdString();
    EXPECT_EQ(contents("1.MOR"), le16(3));
    EXPECT_EQ(contents(QFileInfo(copia).fileName() + "/inside"), QByteArray("x"));
}

TEST_F(CountFile, ARebuildThatCannotWritePutsTheDamagedFileBack) {
    put("1.MOV", QByteArray(12, 'r'));
    put("1.MOR", QByteArray("\x05"));
    const EsameConteggio e = esame();
    QString errore;
    {
        // No file may grow at all: the new count cannot be written.
        const test::FileSizeLimit full(0);
        ASSERT_TRUE(full.isSet());
        EXPECT_FALSE(test::riuscito(ricostruisciConteggio(e, nullptr), &errore));
    }
    EXPECT_TRUE(errore.contains(QDir::toNativeSeparators(at("1.MOR")))) << errore.toStdString();
    EXPECT_EQ(contents("1.MOR"), QByteArray("\x05"));
    EXPECT_EQ(names(), (QStringList{"1.MOR", "1.MOV"}));
}

TEST_F(CountFile, TheQuestionNamesTheDamageTheRecordsAndBothAnswers) {
    put("1.MOV", QByteArray(12, 'r'));
    const QString domanda = domandaRicostruzione({{esame(), QStringLiteral("movimenti")}},
                                                 QStringLiteral("il conto 1"));
    const QStringList righe = domanda.split(u'\n');
    ASSERT_EQ(righe.size(), 6);
    EXPECT_EQ(righe[0], QStringLiteral("Il file %1 manca. Numero di movimenti presenti nel file "
                                       "%2: 3.")
                            .arg(QDir::toNativeSeparators(at("1.MOR")),
                                 QDir::toNativeSeparators(at("1.MOV"))));
    EXPECT_EQ(righe[4], QStringLiteral("Sì: ricostruisce il numero e apre il conto 1."));
    EXPECT_EQ(righe[5], QStringLiteral("No: il conto 1 non viene aperto e nulla viene "
                                       "modificato."));
}

TEST(FileErrors, ReasonsAreInItalianAndNeverEmpty) {
    const std::vector<std::pair<int, QString>> casi{
        {ENOSPC, QStringLiteral("il disco è pieno")},
        {EDQUOT, QStringLiteral("il disco è pieno")},
        {EFBIG, QStringLiteral("il file ha raggiunto la dimensione massima consentita")},
        {EACCES, QStringLiteral("accesso negato, il file o la cartella sono protetti")},
        {EROFS, QStringLiteral("il disco è protetto in scrittura")},
        {ENOENT, QStringLiteral("il file o la cartella non esiste")},
        {EISDIR, QStringLiteral("al posto del file c'è una cartella con lo stesso nome")},
        {EIO, QStringLiteral("errore di I/O del disco")},
    };
    for (const auto& [numero, testo] : casi)
        EXPECT_EQ(motivoErroreFile(numero, QStringLiteral("Unknown error")), testo) << numero;
    // Without words of its own, Qt's text; never "Unknown error" nor nothing.
    EXPECT_EQ(motivoErroreFile(0, QStringLiteral("Device busy")), QStringLiteral("Device busy"));
    EXPECT_EQ(motivoErroreFile(0, QStringLiteral("Unknown error")),
              QStringLiteral("errore del disco"));
    EXPECT_EQ(motivoErroreFile(0), QStringLiteral("errore del disco"));
    // A short write without an error number is a full disk.
    EXPECT_EQ(motivoScritturaIncompleta(0), QStringLiteral("il disco è pieno"));
    EXPECT_EQ(motivoScritturaIncompleta(EFBIG), motivoErroreFile(EFBIG));
}

TEST_F(CountFile, ARecordCutShortByAFullDiskSaysWhy) {
    put("1.MOV", QByteArray(100, 'o'));
    RecordFile file(at("1.MOV"), 76);
    {
        const test::FileSizeLimit full(120);
        ASSERT_TRUE(full.isSet());
        EXPECT_FALSE(file.write(2, QByteArray(76, 'n')));
    }
    EXPECT_EQ(file.errorString(), motivoErroreFile(EFBIG));
    EXPECT_FALSE(file.errorString().contains(QStringLiteral("Unknown")));
}

TEST_F(CountFile, OnlyTheTemporariesOfTheNamedFilesAreRemoved) {
    for (const char* name :
         {"123.Ord.aB3dE9", "123.mov.Zz0000", "123.Ord", "123.Ord.bak", "123.Ord.aB3dE",
          "1234.Ord.aB3dE9", "123.Ord.danneggiato", "123.Ord.ab-de9"})
        put(name, "x");
    const QStringList removed = removeRewriteTemporaries(
        m_dir.path(), {QStringLiteral("123.Ord"), QStringLiteral("123.MOV")});
    const auto sorted = [](QStringList l) {
        l.sort();
        return l;
    };
    EXPECT_EQ(sorted(removed), (QStringList{"123.Ord.aB3dE9", "123.mov.Zz0000"}));
    EXPECT_EQ(sorted(names()), sorted({"123.Ord", "123.Ord.ab-de9", "123.Ord.aB3dE", "123.Ord.bak",
                                       "123.Ord.danneggiato", "1234.Ord.aB3dE9"}));
}

TEST(DataFolderSetting, AStoredFolderWithAControlCharacterIsTheDefault) {
    const QString programma = QStringLiteral("/prog/");
    const std::vector<std::pair<QString, QString>> casi{
        {QStringLiteral("/dati/conti/"), QStringLiteral("/dati/conti/")},
        {QStringLiteral("/dati/c") + QChar(0) + QStringLiteral("onti/"), "/prog/dati/"},
        {QStringLiteral("/dati/\tconti/"), "/prog/dati/"},
        {QStringLiteral("0"), "/prog/dati/"},
    };
    for (const auto& [stored, folder] : casi)
        EXPECT_EQ(dataFolderFromSetting(stored, programma), folder) << stored.toStdString();
}

// What reaches the disk, in order, while a record and then its count are written and a
// derived file is rewritten.
TEST_F(CountFile, ARecordIsOnTheDiskBeforeItsCountIsWritten) {
    std::vector<std::pair<DiskPoint, QString>> punti;
    setDiskObserver([&](DiskPoint p, const QString& path) {
        // When the count reaches the disk, its record is there already.
        if (p == DiskPoint::FileSynced && path.endsWith("1.MOR")) {
            EXPECT_EQ(contents("1.MOV").size(), 8);
        }
        punti.emplace_back(p, QFileInfo(path).fileName());
    });
    ASSERT_TRUE(RecordFile(at("1.MOV"), 4).write(2, "abcd"));
    ASSERT_TRUE(scriviContatore(at("1.MOR"), 2));
    ASSERT_TRUE(rewriteFile(at("1.Ord"), "abcd"));
    ASSERT_TRUE(scriviRecordDerivato(at("1.TOT"), 1, Contatore{1}));
    setDiskObserver({});
    const std::vector<std::pair<DiskPoint, QString>> attesi{
        {DiskPoint::FileSynced, "1.MOV"},
        {DiskPoint::FileSynced, "1.MOR"},
        {DiskPoint::BeforeReplace, "1.Ord"},
        {DiskPoint::Replaced, "1.Ord"},
    };
    EXPECT_EQ(punti, attesi);
}

} // namespace
