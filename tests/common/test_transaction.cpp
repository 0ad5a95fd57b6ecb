// Changes to several files that complete or leave every file as it was, and the lock
// that keeps a data folder to one program.
#include "common/disk_sync.h"
#include "common/folder_lock.h"
#include "common/transaction.h"
#include "support/bytes.h"
#include "support/file_size_limit.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qv;

namespace {

// Every file under `folder`, hidden ones too, by its path within it, with its bytes.
std::map<QString, QByteArray> tree(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(folder).relativeFilePath(path)] = test::readBytes(path);
    }
    return files;
}

// Makes `to` a copy of every file under `from`.
void copyTree(const QString& from, const QString& to) {
    for (const auto& [name, bytes] : tree(from)) {
        QDir().mkpath(QFileInfo(to + QLatin1Char('/') + name).absolutePath());
        test::writeBytes(to + QLatin1Char('/') + name, bytes);
    }
}

class TransactionTest : public ::testing::Test {
protected:
    QString dir() const { return m_dir.path() + QLatin1Char('/'); }
    QString at(const char* name) const { return dir() + QLatin1String(name); }
    void put(const char* name, const QByteArray& bytes) const { test::writeBytes(at(name), bytes); }
    QByteArray contents(const char* name) const { return test::readBytes(at(name)); }
    bool exists(const char* name) const { return QFileInfo::exists(at(name)); }
    QString snapshots() const { return dir() + CartellaTransazione; }

    QTemporaryDir m_dir;
};

// A change made and committed stays; nothing of the snapshots is left.
TEST_F(TransactionTest, CommittedChangeStaysAndLeavesNoSnapshot) {
    put("A.MOV", "old-a");
    put("A.MOR", QByteArray("\x01\x00", 2));
    {
        Transaction t(dir());
        ASSERT_TRUE(t.rewrite(at("A.MOV"), "new-a-longer"));
        ASSERT_TRUE(t.writeCount(at("A.MOR"), 2));
        ASSERT_TRUE(t.rewrite(at("A.TOT"), "totals")); // a file that did not exist
        EXPECT_TRUE(hasInterruptedChange(dir()));
        ASSERT_TRUE(t.commit());
    }
    EXPECT_EQ(contents("A.MOV"), QByteArray("new-a-longer"));
    EXPECT_EQ(contents("A.MOR"), QByteArray("\x02\x00", 2));
    EXPECT_EQ(contents("A.TOT"), QByteArray("totals"));
    EXPECT_FALSE(hasInterruptedChange(dir()));
    EXPECT_FALSE(QFileInfo::exists(snapshots()));
}

// Rolled back (explicitly, or by a transaction dropped unfinished): every file is back
// byte for byte, a file created by the change is gone, a removed one is back.
TEST_F(TransactionTest, RollbackPutsEveryFileBack) {
    for (bool explicitRollback : {true, false}) {
        put("A.MOV", "old-a");
        put("A.CAR", "book");
        QFile::remove(at("A.TOT"));
        {
            Transaction t(dir());
            ASSERT_TRUE(t.writeRecord(at("A.MOV"), 5, 2, "xxxxx"));
            ASSERT_TRUE(t.rewrite(at("A.TOT"), "totals"));
            ASSERT_TRUE(t.remove(at("A.CAR")));
            ASSERT_TRUE(t.rewrite(at("A.MOV"), "again")); // protected once only
            EXPECT_EQ(t.protectedFiles().size(), 3);
            if (explicitRollback) {
                EXPECT_TRUE(t.rollback());
            }
        }
        EXPECT_EQ(contents("A.MOV"), QByteArray("old-a")) << explicitRollback;
        EXPECT_EQ(contents("A.CAR"), QByteArray("book"));
        EXPECT_FALSE(exists("A.TOT"));
        EXPECT_FALSE(QFileInfo::exists(snapshots()));
    }
}

// A program killed midway leaves its marker: recovery puts back the files it had
// changed, in full, and a later change can start.
TEST_F(TransactionTest, InterruptedChangeIsPutBackByRecovery) {
    put("A.MOV", "old-a");
    put("B.MOV", "old-b");
    {
        // Written as a killed program leaves it: the snapshots and the marker are on
        // disk, the change half done, and nothing rolled back.
        auto* t = new Transaction(dir());
        ASSERT_TRUE(t->rewrite(at("A.MOV"), "new-a"));
        ASSERT_TRUE(t->rewrite(at("C.MOV"), "created"));
        ASSERT_TRUE(t->protect(at("B.MOV")));
        test::writeBytes(at("B.MOV"), "half"); // killed while writing B
        // Deliberately leaked: its destructor would roll back.
        (void)t;
    }
    ASSERT_TRUE(hasInterruptedChange(dir()));
    Transaction blocked(dir());
    EXPECT_FALSE(blocked.protect(at("A.MOV"))); // no change starts over an interrupted one
    EXPECT_FALSE(blocked.error().isEmpty());

    const RecoveryResult r = recoverInterrupted(dir());
    EXPECT_TRUE(r.found);
    EXPECT_TRUE(r.restored);
    EXPECT_EQ(r.files.size(), 3);
    EXPECT_EQ(contents("A.MOV"), QByteArray("old-a"));
    EXPECT_EQ(contents("B.MOV"), QByteArray("old-b"));
    EXPECT_FALSE(exists("C.MOV"));
    EXPECT_FALSE(hasInterruptedChange(dir()));

    const RecoveryResult again = recoverInterrupted(dir());
    EXPECT_FALSE(again.found);
    EXPECT_TRUE(again.restored);
}

// A kill in the middle of rewriting a file leaves that write's temporary beside it:
// recovery puts the file back and takes the temporary away, in every folder the change
// touched; files that only look alike stay.
TEST_F(TransactionTest, RecoveryRemovesTheTemporariesOfAKilledWrite) {
    QDir().mkpath(at("Bak"));
    put("A.MOV", "old-a");
    put("Bak/Bak.MOV", "old-copy");
    {
        auto* t = new Transaction(dir());
        ASSERT_TRUE(t->protect(QStringList{at("A.MOV"), at("Bak/Bak.MOV")}));
        ASSERT_TRUE(t->rewrite(at("A.MOV"), "new-a"));
        put("Bak/Bak.MOV.ihAIVa", "half-written copy"); // killed while writing the copy
        put("A.MOV.Xy12Zq", "half-written");
        (void)t; // deliberately leaked, its destructor would roll back
    }
    put("A.MOV.keep", "not a temporary");
    put("B.MOV.Xy12Zq", "another file's temporary");

    const RecoveryResult r = recoverInterrupted(dir());
    EXPECT_TRUE(r.restored);
    EXPECT_EQ(contents("A.MOV"), QByteArray("old-a"));
    EXPECT_EQ(contents("Bak/Bak.MOV"), QByteArray("old-copy"));
    EXPECT_FALSE(exists("Bak/Bak.MOV.ihAIVa"));
    EXPECT_FALSE(exists("A.MOV.Xy12Zq"));
    EXPECT_TRUE(exists("A.MOV.keep"));
    EXPECT_TRUE(exists("B.MOV.Xy12Zq"));
}

// A file that cannot be put back is named, and the marker stays for another try.
TEST_F(TransactionTest, FailedRestoreNamesTheFilesLeftChanged) {
    QDir().mkpath(at("sub"));
    put("sub/X.MOV", "old-x");
    put("A.MOV", "old-a");
    Transaction t(dir());
    ASSERT_TRUE(t.rewrite(at("sub/X.MOV"), "new-x"));
    ASSERT_TRUE(t.rewrite(at("A.MOV"), "new-a"));
    // The folder of X.MOV becomes a plain file: nothing can be written there, not even
    // by root.
    ASSERT_TRUE(QDir(at("sub")).removeRecursively());
    put("sub", "in the way");
    EXPECT_FALSE(t.rollback());
    EXPECT_EQ(t.leftChanged(), QStringList{QFileInfo(at("sub/X.MOV")).absoluteFilePath()});
    EXPECT_FALSE(t.error().isEmpty());
    EXPECT_EQ(contents("A.MOV"), QByteArray("old-a"));
    EXPECT_TRUE(hasInterruptedChange(dir()));

    QFile::remove(at("sub"));
    QDir().mkpath(at("sub"));
    const RecoveryResult r = recoverInterrupted(dir());
    EXPECT_TRUE(r.restored);
    EXPECT_EQ(contents("sub/X.MOV"), QByteArray("old-x"));
}

// Several files protected at once: all of them, or, when one cannot be copied, none;
// once protected, a kill puts every one back (the untouched ones unchanged).
TEST_F(TransactionTest, ProtectingSeveralFilesAtOnceIsAllOrNothing) {
    put("A.MOV", "old-a");
    put("B.MOV", "old-b");
    QDir().mkpath(at("D.MOV")); // a folder in the way: cannot be copied
    {
        Transaction t(dir());
        EXPECT_FALSE(t.protect(QStringList{at("A.MOV"), at("D.MOV"), at("B.MOV")}));
        EXPECT_TRUE(t.protectedFiles().isEmpty());
        EXPECT_FALSE(hasInterruptedChange(dir()));
    }
    QDir().rmdir(at("D.MOV"));
    {
        auto* t = new Transaction(dir());
        ASSERT_TRUE(t->protect(QStringList{at("A.MOV"), at("B.MOV"), at("C.MOV"), at("A.MOV")}));
        EXPECT_EQ(t->protectedFiles().size(), 3);
        ASSERT_TRUE(t->rewrite(at("A.MOV"), "new-a"));
        ASSERT_TRUE(t->rewrite(at("C.MOV"), "created"));
        (void)t; // killed here: deliberately leaked, its destructor would roll back
    }
    const RecoveryResult r = recoverInterrupted(dir());
    EXPECT_TRUE(r.restored);
    EXPECT_EQ(contents("A.MOV"), QByteArray("old-a"));
    EXPECT_EQ(contents("B.MOV"), QByteArray("old-b"));
    EXPECT_FALSE(exists("C.MOV"));
}

// A failed write inside the change leaves the file as it was and reports why.
TEST_F(TransactionTest, FailedWriteIsReported) {
    Transaction t(dir());
    EXPECT_FALSE(t.writeRecord(at("A.MOV"), 5, 0, "xxxxx")); // record 0 does not exist
    EXPECT_FALSE(t.error().isEmpty());
    EXPECT_TRUE(t.rollback());
    EXPECT_FALSE(exists("A.MOV"));
}

// A change killed midway in a folder that is then copied, or moved, or whose path holds
// a line break: the recovery of each folder puts back that folder's own files, byte for
// byte, and touches no other folder.
TEST_F(TransactionTest, RecoveryPutsBackTheFilesOfTheFolderItFindsTheMarkerIn) {
    for (const QString& name : {QStringLiteral("dati"), QStringLiteral("dati\nnuovi\tbis")}) {
        const QString original = dir() + name;
        ASSERT_TRUE(QDir().mkpath(original + QStringLiteral("/Bak/A")));
        const auto file = [&](const char* n) { return original + QLatin1Char('/') + n; };
        test::writeBytes(file("A.MOV"), "old-a");
        test::writeBytes(file("B.MOV"), "old-b");
        test::writeBytes(file("Bak/A/Bak.MOV"), "old-copy");
        const auto before = tree(original);
        {
            auto* t = new Transaction(original);
            ASSERT_TRUE(t->protect(
                QStringList{file("A.MOV"), file("B.MOV"), file("Bak/A/Bak.MOV"), file("C.MOV")}));
            ASSERT_TRUE(t->rewrite(file("Bak/A/Bak.MOV"), "new-copy"));
            ASSERT_TRUE(t->rewrite(file("A.MOV"), "new-a"));
            ASSERT_TRUE(t->rewrite(file("C.MOV"), "created"));
            (void)t; // killed here: deliberately leaked, its destructor would roll back
        }
        const auto killed = tree(original);

        const QString copy = dir() + name + QStringLiteral(" copia");
        copyTree(original, copy);
        const RecoveryResult r = recoverInterrupted(copy + QLatin1Char('/'));
        EXPECT_TRUE(r.restored) << r.error.toStdString();
        EXPECT_TRUE(tree(copy) == before) << name.toStdString();
        EXPECT_TRUE(tree(original) == killed) << name.toStdString();
        EXPECT_TRUE(testoRipristino(r).contains(QDir::toNativeSeparators(copy)));

        const QString moved = dir() + name + QStringLiteral(" spostata");
        ASSERT_TRUE(QDir().rename(original, moved));
        EXPECT_TRUE(recoverInterrupted(moved).restored);
        EXPECT_TRUE(tree(moved) == before) << name.toStdString();
        EXPECT_FALSE(hasInterruptedChange(moved));
    }
}

// A marker planted in a folder (a folder of copies brought from elsewhere) that names
// anything but a file of that folder is refused whole: nothing is written, removed or
// copied, not even the files it names rightly, and the refusal says why.
TEST_F(TransactionTest, APlantedMarkerNamingAnythingElseIsRefusedWhole) {
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.path() + QStringLiteral("/victim");
    const QString secret = elsewhere.path() + QStringLiteral("/secret");
    struct Case {
        const char* what;
        QByteArray line; // the marker's line after the right one
    };
    const QByteArray v = victim.toUtf8();
    const std::vector<Case> cases{
        {"an absolute path elsewhere", "1\t" + v},
        {"a removal elsewhere", "-\t" + v},
        {"a step up", "1\t../victim"},
        {"a step up further in", "1\tsub/../../victim"},
        {"a step up with the other separator", "1\t..\\victim"},
        {"a name with a separator", "1\tsub\\A.MOV"},
        {"a name with a control character", "1\tA\x01.MOV"},
        {"the snapshot folder", "1\t.transazione/1"},
        {"a copy from elsewhere", "../../secret\tA.MOV"},
        {"a copy that is not one of the change's", "x1\tA.MOV"},
        {"a link to a file elsewhere", "1\tlink"},
        {"a dangling link", "1\tdangling"},
        {"a subfolder that is a link elsewhere", "1\tout/victim"},
        {"a copy that is a link elsewhere", "2\tA.MOV"},
    };
    for (const Case& c : cases) {
        QDir(dir()).removeRecursively();
        QDir().mkpath(snapshots());
        put("A.MOV", "mine");
        test::writeBytes(victim, "victim");
        test::writeBytes(secret, "secret");
        test::writeBytes(snapshots() + QStringLiteral("/1"), "planted");
        QFile::link(secret, snapshots() + QStringLiteral("/2"));
        QFile::link(victim, at("link"));
        QFile::link(elsewhere.path() + QStringLiteral("/none"), at("dangling"));
        QFile::link(elsewhere.path(), at("out"));
        test::writeBytes(snapshots() + QStringLiteral("/marcatore"),
                         "Quorvanta: modifica in corso, file della cartella\n1\tA.MOV\n" + c.line +
                             "\n");
        const auto before = tree(dir());

        const RecoveryResult r = recoverInterrupted(dir());
        EXPECT_TRUE(r.found) << c.what;
        EXPECT_FALSE(r.restored) << c.what;
        EXPECT_TRUE(r.refused) << c.what;
        EXPECT_TRUE(r.files.isEmpty()) << c.what;
        EXPECT_TRUE(testoRipristino(r).contains(QStringLiteral("Nessun file è stato toccato")))
            << c.what;
        EXPECT_EQ(test::readBytes(victim), QByteArray("victim")) << c.what;
        EXPECT_FALSE(QFileInfo::exists(elsewhere.path() + QStringLiteral("/none"))) << c.what;
        EXPECT_EQ(contents("A.MOV"), QByteArray("mine")) << c.what;
        EXPECT_TRUE(tree(dir()) == before) << c.what;
        EXPECT_TRUE(hasInterruptedChange(dir())) << c.what;
    }

    // Without a marker, a link in the snapshot folder's place is not emptied.
    QDir(dir()).removeRecursively();
    QDir().mkpath(dir());
    test::writeBytes(victim, "victim");
    QFile::link(elsewhere.path(), snapshots());
    EXPECT_TRUE(recoverInterrupted(dir()).restored);
    EXPECT_EQ(test::readBytes(victim), QByteArray("victim"));
}

// A marker of an earlier version names its files by their full paths: those inside the
// folder are put back.
TEST_F(TransactionTest, AnEarlierMarkerNamingFilesOfTheFolderIsPutBack) {
    put("A.MOV", "new-a");
    QDir().mkpath(snapshots());
    test::writeBytes(snapshots() + QStringLiteral("/1"), "old-a");
    test::writeBytes(snapshots() + QStringLiteral("/marcatore"),
                     "Quorvanta: modifica in corso\n1\t" + at("A.MOV").toUtf8() + "\n-\t" +
                         at("C.MOV").toUtf8() + "\n");
    put("C.MOV", "created");
    const RecoveryResult r = recoverInterrupted(dir());
    EXPECT_TRUE(r.restored) << r.error.toStdString();
    EXPECT_EQ(contents("A.MOV"), QByteArray("old-a"));
    EXPECT_FALSE(exists("C.MOV"));
}

// A change takes only files of its folder: any other is refused before anything is
// written, and names nothing in the marker.
TEST_F(TransactionTest, AChangeTakesOnlyFilesOfItsFolder) {
    QTemporaryDir elsewhere;
    QDir().mkpath(at("data"));
    QFile::link(elsewhere.path(), at("data/out"));
    QFile::link(elsewhere.path() + QStringLiteral("/f"), at("data/link"));
    for (const char* name : {"A.MOV", "data/../A.MOV", "data/out/f", "data/out/new/f", "data/link",
                             "data/.transazione/1", "data/a\\b", "data/a\x02"}) {
        Transaction t(at("data"));
        EXPECT_FALSE(t.rewrite(at(name), "new")) << name;
        EXPECT_TRUE(t.message().contains(QStringLiteral("non è un file della cartella"))) << name;
        EXPECT_FALSE(QFileInfo::exists(at(name))) << name;
        EXPECT_FALSE(QFileInfo::exists(elsewhere.path() + QStringLiteral("/f"))) << name;
        EXPECT_FALSE(hasInterruptedChange(at("data"))) << name;
    }
    Transaction t(at("data"));
    EXPECT_TRUE(t.rewrite(at("data/sub.MOV"), "new"));
    EXPECT_TRUE(t.commit());
}

// A roll-back on a full disk writes only the files the change wrote: one it never
// wrote is as it was and needs no room. A recovery likewise leaves a file that is as it
// was unwritten.
TEST_F(TransactionTest, RollbackWritesOnlyWhatTheChangeChanged) {
    const QByteArray large(20000, 'L');
    put("A.MOV", large);
    put("A.MOR", QByteArray("\x01\x00", 2));
    Transaction t(dir());
    ASSERT_TRUE(t.protect(QStringList{at("A.MOR"), at("A.MOV"), at("A.TOT")}));
    {
        // The disk is full: no file may grow past 4096 bytes.
        const test::FileSizeLimit full(4096);
        ASSERT_TRUE(full.isSet());
        ASSERT_TRUE(t.writeCount(at("A.MOR"), 2));
        EXPECT_FALSE(t.rewrite(at("A.MOV"), large + large)); // refused, the file is as it was
        EXPECT_TRUE(t.rollback()) << t.error().toStdString();
    }
    EXPECT_TRUE(t.leftChanged().isEmpty());
    EXPECT_EQ(contents("A.MOV"), large);
    EXPECT_EQ(contents("A.MOR"), QByteArray("\x01\x00", 2));
    EXPECT_FALSE(exists("A.TOT"));
    EXPECT_FALSE(hasInterruptedChange(dir()));

    // Killed after the count: recovery on the full disk puts the count back and needs
    // to write nothing else.
    {
        auto* k = new Transaction(dir());
        ASSERT_TRUE(k->protect(QStringList{at("A.MOR"), at("A.MOV")}));
        ASSERT_TRUE(k->writeCount(at("A.MOR"), 3));
        (void)k; // deliberately leaked, its destructor would roll back
    }
    {
        const test::FileSizeLimit full(4096);
        ASSERT_TRUE(full.isSet());
        const RecoveryResult r = recoverInterrupted(dir());
        EXPECT_TRUE(r.restored) << r.error.toStdString();
    }
    EXPECT_EQ(contents("A.MOV"), large);
    EXPECT_EQ(contents("A.MOR"), QByteArray("\x01\x00", 2));
}

// A change of many files reads the names of its folder once, not at every file: here
// two hundred new files (a copy of all accounts into an empty folder) and one whose name
// differs in letter case from the existing file, which keeps its spelling.
TEST_F(TransactionTest, AChangeReadsTheNamesOfItsFolderOnce) {
    put("b.mov", "old-b");
    const quint64 before = folderListingCount();
    {
        Transaction t(dir());
        for (int i = 1; i <= 200; ++i)
            ASSERT_TRUE(t.rewrite(dir() + QString::number(i) + QStringLiteral(".MOV"), "new"));
        ASSERT_TRUE(t.rewrite(at("B.MOV"), "new-b"));
        ASSERT_TRUE(t.writeCount(at("B.MOR"), 1));
        ASSERT_TRUE(t.remove(at("B.MOR")));
        ASSERT_TRUE(t.commit());
    }
    // The folder, and the snapshot folder for the marker.
    EXPECT_LE(folderListingCount() - before, 2u);
    EXPECT_EQ(contents("b.mov"), QByteArray("new-b"));
    EXPECT_FALSE(exists("B.MOV"));
    EXPECT_FALSE(exists("B.MOR"));
    EXPECT_EQ(contents("200.MOV"), QByteArray("new"));
    EXPECT_EQ(QDir(dir()).entryList(QDir::Files).size(), 201);
}

// A change waits for the disk once for each thing that must be there before it goes
// on: the marker and its folder once when the files are protected together (their
// snapshots are links to them, which the folder's sync puts on the disk), then each
// record written once.
TEST_F(TransactionTest, AChangeSyncsEachFileOnce) {
    put("A.MOV", "old-a");
    put("B.MOV", "old-b");
    put("A.MOR", QByteArray("\x01\x00", 2));
    Transaction t(dir());
    quint64 before = diskSyncCount();
    ASSERT_TRUE(t.protect(QStringList{at("A.MOV"), at("B.MOV"), at("A.MOR")}));
    EXPECT_EQ(diskSyncCount() - before, 1u + 1u);
    before = diskSyncCount();
    ASSERT_TRUE(t.writeCount(at("A.MOR"), 2));
    ASSERT_TRUE(t.writeRecord(at("A.MOV"), 5, 1, "new-a"));
    EXPECT_EQ(diskSyncCount() - before, 2u);
    ASSERT_TRUE(t.commit());
    EXPECT_EQ(contents("A.MOV"), QByteArray("new-a"));
}

// Which file a name designates: its device and inode (zeros when there is none).
std::pair<dev_t, ino_t> inode(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {0, 0};
    return {st.st_dev, st.st_ino};
}

// A file the change replaces or removes keeps its snapshot as a second name of itself:
// no copy and no sync of data, only the marker and the folder that names it and the
// snapshots. The change gives the name a new file, and the snapshot keeps the old one
// untouched until the commit or the roll-back, which removes only the snapshot's name.
TEST_F(TransactionTest, AFileTheChangeReplacesIsKeptByASecondNameOfIt) {
    for (const bool commit : {true, false}) {
        SCOPED_TRACE(commit);
        put("A.MOV", "old-a");
        put("B.CAR", "book");
        const auto a = inode(at("A.MOV"));
        const auto b = inode(at("B.CAR"));
        Transaction t(dir());
        const quint64 before = diskSyncCount();
        ASSERT_TRUE(t.protect(QStringList{at("A.MOV"), at("B.CAR")}));
        EXPECT_EQ(diskSyncCount() - before, 1u + 1u); // the marker, and its folder
        EXPECT_EQ(inode(snapshots() + QStringLiteral("/1")), a);
        EXPECT_EQ(inode(snapshots() + QStringLiteral("/2")), b);

        ASSERT_TRUE(t.rewrite(at("A.MOV"), "new-a, longer"));
        ASSERT_TRUE(t.remove(at("B.CAR")));
        EXPECT_NE(inode(at("A.MOV")), a);
        EXPECT_EQ(inode(snapshots() + QStringLiteral("/1")), a);
        EXPECT_EQ(test::readBytes(snapshots() + QStringLiteral("/1")), QByteArray("old-a"));
        EXPECT_EQ(test::readBytes(snapshots() + QStringLiteral("/2")), QByteArray("book"));
        if (commit) {
            ASSERT_TRUE(t.commit());
            EXPECT_EQ(contents("A.MOV"), QByteArray("new-a, longer"));
            EXPECT_FALSE(exists("B.CAR"));
        } else {
            ASSERT_TRUE(t.rollback());
            EXPECT_EQ(contents("A.MOV"), QByteArray("old-a"));
            EXPECT_EQ(contents("B.CAR"), QByteArray("book"));
        }
        EXPECT_FALSE(QFileInfo::exists(snapshots()));
    }
}

// Records written into a file whose snapshot is a second name of it never reach the
// snapshot: the first write replaces the file by its bytes with the records in place
// (past its end, zeros fill the gap), synced once as a record written in place; the
// writes after it go in place into the new file. A program killed at any moment the
// writes reach the disk leaves a change that recovery puts back byte for byte.
TEST_F(TransactionTest, RecordsWrittenIntoAFileLeaveItsSecondNameAsItWas) {
    const QByteArray mov("aaaaabbbbbccccc");
    const QByteArray mor("\x03\x00", 2);
    put("A.MOV", mov);
    put("A.MOR", mor);
    {
        Transaction t(dir());
        ASSERT_TRUE(t.protect(QStringList{at("A.MOV"), at("A.MOR")}));
        const auto a = inode(at("A.MOV"));
        ASSERT_EQ(inode(snapshots() + QStringLiteral("/1")), a);
        const quint64 before = diskSyncCount();
        ASSERT_TRUE(t.writeRecord(at("A.MOV"), 5, 2, "XXXXX"));
        ASSERT_TRUE(t.writeRecords(at("A.MOV"), 5, 5, "YYYYYZZZZZ"));
        ASSERT_TRUE(t.writeCount(at("A.MOR"), 6));
        EXPECT_EQ(diskSyncCount() - before, 3u);
        EXPECT_EQ(contents("A.MOV"),
                  QByteArray("aaaaaXXXXXccccc") + QByteArray(5, '\0') + "YYYYYZZZZZ");
        EXPECT_EQ(contents("A.MOR"), QByteArray("\x06\x00", 2));
        EXPECT_EQ(inode(snapshots() + QStringLiteral("/1")), a);
        EXPECT_EQ(test::readBytes(snapshots() + QStringLiteral("/1")), mov);
        EXPECT_EQ(test::readBytes(snapshots() + QStringLiteral("/2")), mor);
        ASSERT_TRUE(t.rollback());
    }
    EXPECT_EQ(contents("A.MOV"), mov);
    EXPECT_EQ(contents("A.MOR"), mor);
    const auto original = tree(dir());

    // The child protects both files and writes into them; its disk observer kills it at
    // the `punto`-th moment data reach the disk (never, for 0: it stops uncommitted). It
    // ends with the number of moments it went through.
    const auto child = [&](int punto) -> int {
        const pid_t pid = ::fork();
        if (pid == 0) {
            int visti = 0;
            setDiskObserver([&](DiskPoint, const QString&) {
                if (++visti == punto) ::kill(::getpid(), SIGKILL);
            });
            auto* t = new Transaction(dir()); // never destroyed: nothing is rolled back
            const bool done = t->protect(QStringList{at("A.MOV"), at("A.MOR")}) &&
                              t->writeRecord(at("A.MOV"), 5, 2, "XXXXX") &&
                              t->writeRecord(at("A.MOV"), 5, 3, "WWWWW") &&
                              t->writeCount(at("A.MOR"), 4);
            ::_exit(done ? visti : 255);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    };
    const int punti = child(0);
    ASSERT_GE(punti, 4); // the marker, and at least each file written
    ASSERT_LT(punti, 255);
    for (int punto = 0; punto <= punti; ++punto) {
        SCOPED_TRACE(punto);
        if (punto > 0) {
            ASSERT_EQ(child(punto), -SIGKILL);
        }
        // (Killed before the marker was in place, the change had not begun.)
        const RecoveryResult r = recoverInterrupted(dir());
        EXPECT_TRUE(r.restored) << r.error.toStdString();
        EXPECT_EQ(tree(dir()), original);
    }
}

// Where the file system refuses a second name of a file (FAT, exFAT, some network shares,
// another device), the snapshot is a copy synced to the disk, as it always was, and the
// change goes on: records go in place into the file, and a roll-back puts it back.
TEST_F(TransactionTest, AFileSystemWithoutLinksGetsACopy) {
    struct Consenti {
        ~Consenti() { impostaCollegamentoRifiutato(0); }
    } consenti;
    for (const int numero : {EXDEV, EPERM, EMLINK, ENOTSUP}) {
        SCOPED_TRACE(numero);
        impostaCollegamentoRifiutato(numero);
        put("A.MOV", "old-a");
        const auto a = inode(at("A.MOV"));
        Transaction t(dir());
        const quint64 before = diskSyncCount();
        ASSERT_TRUE(t.protect(QStringList{at("A.MOV")})) << t.error().toStdString();
        EXPECT_EQ(diskSyncCount() - before, 1u + 1u + 1u); // the copy, the marker, its folder
        EXPECT_NE(inode(snapshots() + QStringLiteral("/1")), a);
        EXPECT_EQ(test::readBytes(snapshots() + QStringLiteral("/1")), QByteArray("old-a"));
        ASSERT_TRUE(t.writeRecord(at("A.MOV"), 5, 1, "new-a"));
        EXPECT_EQ(inode(at("A.MOV")), a); // written in place
        EXPECT_EQ(contents("A.MOV"), QByteArray("new-a"));
        EXPECT_EQ(test::readBytes(snapshots() + QStringLiteral("/1")), QByteArray("old-a"));
        ASSERT_TRUE(t.rollback());
        EXPECT_EQ(contents("A.MOV"), QByteArray("old-a"));
    }
}

// A protect() that fails midway leaves the snapshots it took; tried again, it takes them
// afresh and never writes a copy through a name that is a second name of the file (a
// kill during that write would leave the file cut short).
TEST_F(TransactionTest, AProtectTriedAgainNeverWritesThroughAnEarlierSnapshot) {
    struct Consenti {
        ~Consenti() { impostaCollegamentoRifiutato(0); }
    } consenti;
    put("A.MOV", "old-a");
    QDir().mkpath(at("B.MOV")); // a folder where a file should be: it cannot be read
    put("C.MOV", "old-c");
    const auto a = inode(at("A.MOV"));
    Transaction t(dir());
    ASSERT_TRUE(t.protect(QStringList{at("C.MOV")}));
    ASSERT_FALSE(t.protect(QStringList{at("A.MOV"), at("B.MOV")}));
    EXPECT_EQ(t.protectedFiles().size(), 1);
    ASSERT_EQ(inode(snapshots() + QStringLiteral("/2")), a); // left by the failed attempt
    QDir().rmdir(at("B.MOV"));
    put("B.MOV", "old-b");
    impostaCollegamentoRifiutato(EPERM);
    ASSERT_TRUE(t.protect(QStringList{at("A.MOV"), at("B.MOV")})) << t.error().toStdString();
    EXPECT_NE(inode(snapshots() + QStringLiteral("/2")), a);
    EXPECT_EQ(inode(at("A.MOV")), a);
    EXPECT_EQ(test::readBytes(snapshots() + QStringLiteral("/2")), QByteArray("old-a"));
    ASSERT_TRUE(t.writeRecord(at("A.MOV"), 5, 1, "new-a"));
    EXPECT_EQ(test::readBytes(snapshots() + QStringLiteral("/2")), QByteArray("old-a"));
    ASSERT_TRUE(t.rollback());
    EXPECT_EQ(contents("A.MOV"), QByteArray("old-a"));
    EXPECT_EQ(contents("B.MOV"), QByteArray("old-b"));
    EXPECT_EQ(contents("C.MOV"), QByteArray("old-c"));
}

TEST(FolderLockTest, SecondLockIsRefusedAndTheFirstKept) {
    QTemporaryDir a, b;
    FolderLock first, second;
    ASSERT_EQ(first.lock(a.path()), FolderLock::Result::Locked);
    EXPECT_EQ(second.lock(a.path()), FolderLock::Result::InUse);
    EXPECT_FALSE(second.locked());
    // Moving to another folder takes its lock first, then lets the old one go.
    ASSERT_EQ(second.lock(b.path()), FolderLock::Result::Locked);
    EXPECT_EQ(first.lock(b.path()), FolderLock::Result::InUse);
    EXPECT_EQ(first.folder(), QFileInfo(a.path()).canonicalFilePath()); // still a's
    first.unlock();
    EXPECT_EQ(second.lock(a.path()), FolderLock::Result::Locked);
    EXPECT_EQ(first.lock(b.path()), FolderLock::Result::Locked); // b was let go
}

TEST(FolderLockTest, LockOfADeadProgramIsTakenOver) {
    QTemporaryDir dir;
    // A lock file as QLockFile writes it, for a process number no process has.
    const QString path = dir.path() + QLatin1Char('/') + FileBloccoCartella;
    test::writeBytes(path, QByteArray("2147483646\nquorvanta\n") +
                               QSysInfo::machineHostName().toUtf8() + "\n");
    FolderLock lock;
    EXPECT_EQ(lock.lock(dir.path()), FolderLock::Result::Locked);
}

// A lock file left empty (a kill or a power cut between its creation and its writing)
// names no owner: once no living process holds it, it is stale and taken over. One that
// a living program holds stays its, whatever the file says, and so does one that may be
// being written right now.
TEST(FolderLockTest, ALockNamingNoOwnerIsTakenOverWhenNobodyHoldsIt) {
    QTemporaryDir dir;
    const QString path = dir.path() + QLatin1Char('/') + FileBloccoCartella;
    const auto age = [&path](int seconds) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                                  QFileDevice::FileModificationTime));
    };
    for (const QByteArray& content : {QByteArray(), QByteArray("\x00\x07garbage")}) {
        test::writeBytes(path, content);
        age(60);
        FolderLock lock;
        EXPECT_EQ(lock.lock(dir.path()), FolderLock::Result::Locked);
        FolderLock other;
        EXPECT_EQ(other.lock(dir.path()), FolderLock::Result::InUse);
        lock.unlock();
    }

    // Just made, it may be its owner's that is writing it.
    test::writeBytes(path, QByteArray());
    FolderLock early;
    EXPECT_EQ(early.lock(dir.path()), FolderLock::Result::InUse);
    QFile::remove(path);

    // Held by a living program, emptied since: still that program's.
    FolderLock holder;
    ASSERT_EQ(holder.lock(dir.path()), FolderLock::Result::Locked);
    test::writeBytes(path, QByteArray());
    age(60);
    FolderLock second;
    EXPECT_EQ(second.lock(dir.path()), FolderLock::Result::InUse);
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST(FolderLockTest, FolderWhereNoLockCanBeMadeIsUsedWithoutOne) {
    QTemporaryDir dir;
    FolderLock lock;
    ASSERT_EQ(lock.lock(dir.path()), FolderLock::Result::Locked);
    // A folder that cannot hold a lock file (here: one that is not there, as a
    // read-only folder would refuse it too) lets the old lock go.
    EXPECT_EQ(lock.lock(dir.path() + QStringLiteral("/missing")), FolderLock::Result::Unavailable);
    EXPECT_FALSE(lock.locked());
    FolderLock other;
    EXPECT_EQ(other.lock(dir.path()), FolderLock::Result::Locked);
}

} // namespace
