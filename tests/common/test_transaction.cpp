// Changes to several files that complete or leave every file as it was, and the lock
// that keeps a data folder to one program.
#include "common/folder_lock.h"
#include "common/transaction.h"
#include "support/bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>


using namespace qv;

namespace {

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

TEST(FolderLockTest, FolderWhereNoLockCanBeMadeIsUsedWithoutOne) {
    QTemporaryDir dir;
    FolderLock lock;
    ASSERT_EQ(lock.lock(dir.path()), FolderLock::Result::Locked);
    // A folder that cannot hold a lock file (here: one that is not there, as a
    // read-only folder would refuse it too) lets the old lock go.
    EXPECT_EQ(lock.lock(dir.path() + QStringLiteral("/missing")),
              FolderLock::Result::Unavailable);
    EXPECT_FALSE(lock.locked());
    FolderLock other;
    EXPECT_EQ(other.lock(dir.path()), FolderLock::Result::Locked);
}

} // namespace
