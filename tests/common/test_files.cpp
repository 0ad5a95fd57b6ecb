// Random-access record files, file names found ignoring case, account file deletion and
// whole-file rewrites.
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/safe_write.h"
#include "support/bytes.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

using namespace qv;

namespace {

class Files : public ::testing::Test {
protected:
    QString dir() const { return m_dir.path() + QLatin1Char('/'); }
    QString at(const QString& name) const { return dir() + name; }

    void put(const QString& name, const QByteArray& bytes) const {
        test::writeBytes(at(name), bytes);
    }
    QByteArray contents(const QString& name) const { return test::readBytes(at(name)); }
    QStringList names() const {
        return QDir(m_dir.path())
            .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(Files, RecordKLiesAtItsOffsetAndWritingPastTheEndFillsTheGapWithZeros) {
    put(QStringLiteral("f.dat"), QByteArray("AAAA", 4));
    RecordFile file(at(QStringLiteral("f.dat")), 4);
    ASSERT_TRUE(file.write(4, QByteArray("DDDD")));
    EXPECT_EQ(contents(QStringLiteral("f.dat")), QByteArray("AAAA\0\0\0\0\0\0\0\0DDDD", 16));
    ASSERT_TRUE(file.write(2, QByteArray("BBBB")));
    EXPECT_EQ(contents(QStringLiteral("f.dat")), QByteArray("AAAABBBB\0\0\0\0DDDD", 16));
    EXPECT_EQ(file.read(2), QByteArray("BBBB"));
    EXPECT_EQ(file.readRange(1, 2), QByteArray("AAAABBBB"));
    EXPECT_EQ(file.recordCount(), 4);
}

TEST_F(Files, ReadingPastTheEndGivesZeros) {
    put(QStringLiteral("f.dat"), QByteArray("AAAAAABB"));
    RecordFile file(at(QStringLiteral("f.dat")), 6);
    EXPECT_EQ(file.read(2), QByteArray("BB\0\0\0\0", 6)); // a record cut short
    EXPECT_EQ(file.read(5), QByteArray(6, '\0'));
    EXPECT_TRUE(file.ok());
    EXPECT_EQ(file.recordCount(), 1);
    // Decoded, a record past the end is zeros and blanks.
    EXPECT_TRUE(leggiRecord<Conto>(at(QStringLiteral("f.dat")), 3) == Conto{});
}

TEST_F(Files, AReaderCreatesNoFile) {
    const QString path = at(QStringLiteral("12.MOR"));
    RecordFile file(path, Movimento::Lunghezza);
    EXPECT_EQ(file.read(1), QByteArray(Movimento::Lunghezza, '\0'));
    EXPECT_TRUE(file.ok());
    EXPECT_EQ(leggiContatore(path), 0);
    EXPECT_TRUE(leggiRecords<Movimento>(at(QStringLiteral("12.MOV")), 3).size() == 3);
    EXPECT_EQ(file.recordCount(), 0);
    EXPECT_TRUE(names().isEmpty());

    ASSERT_TRUE(file.ensureExists());
    EXPECT_EQ(names(), QStringList{QStringLiteral("12.MOR")});
    EXPECT_TRUE(contents(QStringLiteral("12.MOR")).isEmpty());
}

TEST_F(Files, TypedRecordsAndCountsRoundTrip) {
    std::vector<Movimento> rows(3);
    for (int i = 0; i < 3; ++i) {
        rows[i].numero = qint16(i + 1);
        rows[i].descrizione = QStringLiteral("riga %1 €").arg(i + 1);
        rows[i].importo = 10.25 * (i + 1);
    }
    const QString mov = at(QStringLiteral("7.MOV"));
    ASSERT_TRUE(scriviRecords(mov, 1, rows));
    ASSERT_TRUE(scriviRecord(mov, 5, rows[1]));
    EXPECT_EQ(contents(QStringLiteral("7.MOV")).size(), 5 * Movimento::Lunghezza);
    const std::vector<Movimento> back = leggiRecords<Movimento>(mov, 5);
    EXPECT_TRUE(back[0] == rows[0] && back[2] == rows[2] && back[4] == rows[1]);
    EXPECT_TRUE(back[3] == Movimento{});

    ASSERT_TRUE(scriviContatore(at(QStringLiteral("7.MOR")), 300));
    EXPECT_EQ(contents(QStringLiteral("7.MOR")), QByteArray("\x2C\x01"));
    EXPECT_EQ(leggiContatore(at(QStringLiteral("7.MOR"))), 300);
}

TEST_F(Files, FailuresAreReportedNotHidden) {
    put(QStringLiteral("plain"), "x");
    RecordFile underFile(at(QStringLiteral("plain/1.MOV")), 4);
    EXPECT_FALSE(underFile.write(1, QByteArray("abcd")));
    EXPECT_NE(underFile.error(), QFileDevice::NoError);
    EXPECT_EQ(underFile.osErrno(), ENOTDIR);
    // The reason, in Italian, without the file's name: the message that shows it
    // names the file once.
    EXPECT_EQ(underFile.errorString(), QStringLiteral("il percorso non esiste"));

    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Conti.dat")));
    RecordFile isDir(at(QStringLiteral("Conti.dat")), 4);
    EXPECT_EQ(isDir.read(1), QByteArray(4, '\0'));
    EXPECT_FALSE(isDir.ok());
    QString reason;
    EXPECT_FALSE(scriviRecord(at(QStringLiteral("Conti.dat")), 1, Conto{}, &reason));
    EXPECT_EQ(reason, QStringLiteral("al posto del file c'è una cartella con lo stesso nome"));

    // A record of the wrong length, record 0 and a record beyond 16-bit numbers are
    // refused without touching the file.
    RecordFile file(at(QStringLiteral("f.dat")), 4);
    EXPECT_FALSE(file.write(1, QByteArray("abc")));
    EXPECT_FALSE(file.write(0, QByteArray("abcd")));
    EXPECT_FALSE(file.write(32768, QByteArray("abcd")));
    EXPECT_FALSE(file.exists());
}

TEST_F(Files, NamesAreFoundIgnoringCaseAndNewFilesGetTheCanonicalSpelling) {
    Conto conto;
    conto.codiceConto = QStringLiteral("123");
    put(QStringLiteral("CONTI.DAT"), conto.toBytes());
    put(QStringLiteral("123.mov"), QByteArray(Movimento::Lunghezza, 'x'));

    EXPECT_EQ(resolveFile(dir(), ContiFile), at(QStringLiteral("CONTI.DAT")));
    EXPECT_EQ(resolveFile(m_dir.path(), ContiFile), at(QStringLiteral("CONTI.DAT")));
    EXPECT_EQ(accountFile(dir(), QStringLiteral(" 123  "), ExtMOV), at(QStringLiteral("123.mov")));
    EXPECT_EQ(accountFile(dir(), QStringLiteral("123"), ExtTOT), at(QStringLiteral("123.TOT")));

    // Reading and writing go to the existing file; no second spelling appears.
    const QString contiPath = dir() + ContiFile;
    EXPECT_EQ(leggiRecord<Conto>(contiPath, 1).codiceConto, QStringLiteral("123"));
    ASSERT_TRUE(scriviRecord(contiPath, 2, conto));
    ASSERT_TRUE(scriviRecord(dir() + QStringLiteral("123") + ExtMOV, 1, Movimento{}));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("123.mov"), QStringLiteral("CONTI.DAT")}));
    EXPECT_EQ(contents(QStringLiteral("CONTI.DAT")).size(), 2 * Conto::Lunghezza);

    // The exact name wins over a spelling that differs in case.
    put(QStringLiteral("Conti.dat"), "");
    EXPECT_EQ(resolveFile(dir(), ContiFile), at(QStringLiteral("Conti.dat")));
}

TEST_F(Files, DeletingAnAccountRemovesExactlyItsFiles) {
    // Its code followed by one of the program's extensions, in any letter case.
    const QStringList own = {QStringLiteral("12.MOV"), QStringLiteral("12.mor"),
                             QStringLiteral("12.Tot"), QStringLiteral("12.chi"),
                             QStringLiteral("12.SPE")};
    // Anything else that starts with the code stays: the user's own files too.
    const QStringList others = {QStringLiteral("1.MOV"),      QStringLiteral("112.MOV"),
                                QStringLiteral("12"),         QStringLiteral("123.MOV"),
                                QStringLiteral("12x.MOV"),    QStringLiteral("Conti.dat"),
                                QStringLiteral("12."),        QStringLiteral("12.txt"),
                                QStringLiteral("12.MOV.bak"), QStringLiteral("12.MOVx")};
    for (const QString& name : own + others)
        put(name, "x");
    put(QStringLiteral("Ab.MOV"), "x");

    // Pattern characters in a code match themselves only.
    EXPECT_TRUE(deleteAccountFiles(dir(), QStringLiteral("1*")));
    EXPECT_TRUE(deleteAccountFiles(dir(), QStringLiteral("1?")));
    EXPECT_EQ(names().size(), own.size() + others.size() + 1);

    QStringList failed;
    EXPECT_TRUE(deleteAccountFiles(dir(), QStringLiteral("12 "), &failed));
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_TRUE(deleteAccountFiles(m_dir.path(), QStringLiteral("aB")));
    QStringList expected = others;
    expected.sort();
    EXPECT_EQ(names(), expected);

    // A blank code removes nothing.
    put(QStringLiteral(".MOV"), "x");
    EXPECT_FALSE(deleteAccountFiles(dir(), QStringLiteral("  ")));
    EXPECT_TRUE(QFile::exists(at(QStringLiteral(".MOV"))));
}

TEST_F(Files, RewriteReplacesTheFileUnderItsOwnSpelling) {
    put(QStringLiteral("CONTI.DAT"), QByteArray(3 * Conto::Lunghezza, 'o'));
    std::vector<Conto> rows(2);
    rows[0].numero = 1;
    rows[1].numero = 2;
    QString reason = QStringLiteral("stale");
    ASSERT_TRUE(rewriteRecords(dir() + ContiFile, rows, &reason));
    EXPECT_TRUE(reason.isEmpty());
    EXPECT_EQ(names(), QStringList{QStringLiteral("CONTI.DAT")});
    const QByteArray now = contents(QStringLiteral("CONTI.DAT"));
    ASSERT_EQ(now.size(), 2 * Conto::Lunghezza);
    EXPECT_EQ(now.mid(Conto::Lunghezza, 2), QByteArray("\x02\x00", 2));
}

TEST_F(Files, FailedRewriteLeavesTheOldFileWhole) {
    const QByteArray old(1000, 'o');
    put(QStringLiteral("12.MOV"), old);

    // The disk refuses the new content half way. A large file fails while it is written;
    // a small one only when the buffered bytes are flushed at the end, which must not pass
    // as done either.
    for (const auto& [limit, size] : {std::pair{4096, 100000}, std::pair{40, 200}}) {
        QString reason;
        bool done = false;
        {
            const test::FileSizeLimit full(limit);
            ASSERT_TRUE(full.isSet());
            done = rewriteFile(at(QStringLiteral("12.MOV")), QByteArray(size, 'n'), &reason);
        }

        EXPECT_FALSE(done) << size;
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_EQ(contents(QStringLiteral("12.MOV")), old);
        EXPECT_EQ(names(), QStringList{QStringLiteral("12.MOV")}); // no temporary file left
    }
    QString reason;

    // A folder that cannot hold the file.
    put(QStringLiteral("plain"), "x");
    EXPECT_FALSE(rewriteFile(at(QStringLiteral("plain/Conti.dat")), "new", &reason));
    EXPECT_EQ(reason, QStringLiteral("il percorso non esiste"));
    EXPECT_EQ(contents(QStringLiteral("plain")), QByteArray("x"));
}
