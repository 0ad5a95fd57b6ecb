// The data folder at start-up and when another is chosen: one running Quorvanta at a
// time (a second one is refused, the lock of one that died is taken over, a folder
// without a lock file is said once), a damaged stored folder, and a display currency
// whose rate is not a number.
#include "support/esito_test.h"
#include "support/started_program.h"

#include "archives/account_selection_form.h"
#include "archives/accounts.h"
#include "common/folder_lock.h"
#include "common/shared_state.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "shell/settings.h"
#include "shell/settings_form.h"
#include "shell/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPushButton>

#include <csignal>
#include <fcntl.h>
#include <limits>
#include <linux/fs.h>
#include <map>
#include <memory>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::test {
namespace {

// Another Quorvanta: a process of its own that holds the lock of a folder until it is
// stopped (or dies, leaving its lock file behind).
class OtherProgram {
public:
    explicit OtherProgram(const QString& folder) {
        int locked[2], stop[2];
        if (pipe(locked) != 0 || pipe(stop) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            ::close(locked[0]);
            ::close(stop[1]);
            FolderLock lock;
            const char ok = lock.lock(folder) == FolderLock::Result::Locked ? 'y' : 'n';
            if (::write(locked[1], &ok, 1) != 1) ::_exit(1);
            char c;
            while (::read(stop[0], &c, 1) < 0) {
            }
            ::_exit(0); // without unlocking: as a program that dies
        }
        ::close(locked[1]);
        ::close(stop[0]);
        stop_ = stop[1];
        char ok = 'n';
        locked_ = ::read(locked[0], &ok, 1) == 1 && ok == 'y';
        ::close(locked[0]);
    }
    ~OtherProgram() { die(); }
    bool locked() const { return locked_; }
    // The program is gone without letting go of its lock.
    void die() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        ::close(stop_);
        pid_ = 0;
    }

private:
    pid_t pid_ = 0;
    int stop_ = -1;
    bool locked_ = false;
};

// A folder in which no file can be made while it lives: without write permission, or,
// for a user whom permissions do not stop (root), with the immutable attribute.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder) : folder_(folder) {
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner);
        if (!canCreate()) {
            ok_ = true;
            return;
        }
        fd_ = ::open(QFile::encodeName(folder_).constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd_ >= 0 && ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable_ = ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ok_ = !canCreate();
    }
    ~ReadOnlyFolder() {
        if (immutable_) {
            int flags = 0;
            if (ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ioctl(fd_, FS_IOC_SETFLAGS, &flags);
            }
        }
        if (fd_ >= 0) ::close(fd_);
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool ok() const { return ok_; }

private:
    bool canCreate() const {
        QFile probe(folder_ + QStringLiteral("/.prova"));
        if (!probe.open(QIODevice::WriteOnly)) return false;
        probe.remove();
        return true;
    }
    QString folder_;
    int fd_ = -1;
    bool immutable_ = false;
    bool ok_ = false;
};

class DataFolder : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        writeAccount(1, "123", "BANCA CENTO");
        writeBytes(dataFolder() + "RecConti.dat", le16(1));
        writeBytes(dataFolder() + "123.MOV", movimentoBytes({1, "05/12/2026", "06/12/2026", "BON",
                                                             1000, "", "stipendio", "N", "E"}));
        writeBytes(dataFolder() + "123.MOR", le16(1));
        settings("0", "123");
    }

    QString other() const { return root_.path() + QStringLiteral("/altra/"); }
};

TEST_F(DataFolder, ASecondProgramOnTheSameFolderIsRefused) {
    OtherProgram first(dataFolder());
    ASSERT_TRUE(first.locked());
    const auto before = contentsOf(dataFolder());

    MDIForm1& w = load();
    ASSERT_EQ(messages.texts(), QStringList{testoCartellaInUso(dataFolder())});
    EXPECT_TRUE(stato().PercorsoDati.isEmpty());
    EXPECT_EQ(stato().NumeroConti, 0);
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty()); // the start-up account is not opened
    EXPECT_FALSE(w.PulsMovimenti->isEnabled());
    EXPECT_EQ(w.Codice->text(), QString());
    // Nothing can be written for the archive without a folder.
    Conto nuovo;
    nuovo.codiceConto = QStringLiteral("99");
    const Esito aggiunto = AggiungiConto(nuovo);
    EXPECT_TRUE(aggiunto.fallito());
    EXPECT_EQ(aggiunto.testo, testoNessunaCartellaDati());
    EXPECT_EQ(contentsOf(dataFolder()), before);

    // The other program dies: its lock is taken over when the folder is chosen.
    first.die();
    messages.clear();
    Form7& scelta = formHost().form<Form7>();
    EXPECT_TRUE(
        prendiCartellaDati(dataFolder(), [&](const QString& f) { scelta.mostraCartella(f); }));
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(stato().PercorsoDati, dataFolder());
    EXPECT_EQ(stato().NumeroConti, 1);
    QLockFile lockFile(dataFolder() + FileBloccoCartella);
    qint64 pid = 0;
    QString host, app;
    ASSERT_TRUE(lockFile.getLockInfo(&pid, &host, &app));
    EXPECT_EQ(pid, QCoreApplication::applicationPid());
}

TEST_F(DataFolder, TheLockOfAProgramThatDiedIsTakenOverAtStartUp) {
    {
        OtherProgram dead(dataFolder());
        ASSERT_TRUE(dead.locked());
        dead.die();
    }
    ASSERT_TRUE(QFile::exists(dataFolder() + FileBloccoCartella));
    load();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(stato().PercorsoDati, dataFolder());
    EXPECT_EQ(stato().CodiceContoAttivo, "123");
    EXPECT_TRUE(dataFolderLock().locked());
}

TEST_F(DataFolder, AFolderAnotherProgramHoldsIsNotChosenAndTheOldOneStays) {
    ASSERT_TRUE(QDir().mkpath(other()));
    writeBytes(other() + "Conti.dat", contoBytes({.numero = 1, .codice = "55", .banca = "ALTRA"}));
    writeBytes(other() + "RecConti.dat", le16(1));
    OtherProgram holder(other());
    ASSERT_TRUE(holder.locked());
    load();
    ASSERT_EQ(stato().CodiceContoAttivo, "123");

    Form7& scelta = formHost().form<Form7>();
    QStringList shown;
    EXPECT_FALSE(prendiCartellaDati(other(), [&](const QString& f) { shown << f; }));
    EXPECT_EQ(messages.texts(), QStringList{testoCartellaInUso(other())});
    EXPECT_EQ(shown, QStringList{dataFolder()}); // the folder in use is shown again
    EXPECT_EQ(stato().PercorsoDati, dataFolder());
    EXPECT_EQ(stato().CodiceContoAttivo, "123"); // the open account stays open
    EXPECT_EQ(dataFolderLock().folder(), QDir(dataFolder()).canonicalPath());
    EXPECT_EQ(scelta.List1->count(), 1);

    // A free folder is taken: its lock first, then the old one is let go.
    holder.die();
    messages.clear();
    EXPECT_TRUE(prendiCartellaDati(other(), [&](const QString& f) { scelta.mostraCartella(f); }));
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    EXPECT_EQ(stato().PercorsoDati, other());
    EXPECT_EQ(dataFolderLock().folder(), QDir(other()).canonicalPath());
    EXPECT_FALSE(QFile::exists(dataFolder() + FileBloccoCartella));
}

TEST_F(DataFolder, TheSettingsRefuseAFolderAnotherProgramHolds) {
    ASSERT_TRUE(QDir().mkpath(other()));
    OtherProgram holder(other());
    ASSERT_TRUE(holder.locked());
    const QByteArray stored = readBytes(programFolder() + "Imposta.DAT");
    Form23& f = formHost().form<Form23>();
    f.PerAvv[1]->setText(other());
    f.Salva->click();
    EXPECT_EQ(messages.texts(), QStringList{testoCartellaInUso(other())});
    EXPECT_EQ(readBytes(programFolder() + "Imposta.DAT"), stored);
    EXPECT_NE(formHost().loaded<Form23>(), nullptr); // the form stays, with what was typed
    EXPECT_EQ(f.PerAvv[1]->text(), other());
}

TEST_F(DataFolder, AFolderWithAControlCharacterIsRefusedAndAStoredOneIsTheDefault) {
    const QByteArray stored = readBytes(programFolder() + "Imposta.DAT");
    Form23& f = formHost().form<Form23>();
    f.PerAvv[1]->setText(QStringLiteral("/dati") + QChar(0) + QStringLiteral("/"));
    f.Salva->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("Il percorso dati contiene caratteri non "
                                                    "ammessi"));
    EXPECT_EQ(readBytes(programFolder() + "Imposta.DAT"), stored);
    formHost().unload(f);

    // Written into the file all the same (a damaged record): the default folder is used
    // and its start-up account opens.
    messages.clear();
    QByteArray record = stored;
    record.replace(0, 35, text(QByteArray("/tmp/da\0ti/", 11), 35));
    writeBytes(programFolder() + "Imposta.DAT", record);
    load();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(stato().PercorsoDati, dataFolder());
    EXPECT_EQ(stato().CodiceContoAttivo, "123");
}

// A folder stored without a leading "/" is inside the program folder, wherever the
// program is started from: here "dati/", the data folder itself, with the program started
// from another folder.
TEST_F(DataFolder, AStoredFolderWithoutALeadingSlashIsInsideTheProgramFolder) {
    const QString avviato = root_.path() + QStringLiteral("/altrove/");
    ASSERT_TRUE(QDir().mkpath(avviato));
    const QString prima = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(avviato));
    settings("dati/", "123");
    MDIForm1& w = load();
    QDir::setCurrent(prima);
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(stato().PercorsoDati, dataFolder());
    EXPECT_EQ(w.Codice->text(), dataFolder() + QStringLiteral("123"));
    EXPECT_EQ(stato().CodiceContoAttivo, "123");
    EXPECT_EQ(stato().NumeroMovimenti, 1);
    // Nothing was made in the folder it was started from.
    EXPECT_TRUE(QDir(avviato).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(DataFolder, AFolderWithoutALockFileIsSaidOnceAndUsed) {
    settings("0");
    ReadOnlyFolder readOnly(dataFolder());
    if (!readOnly.ok()) GTEST_SKIP() << "no folder can be made read-only here";
    MDIForm1& w = load();
    EXPECT_EQ(messages.texts(), QStringList{testoCartellaSenzaBlocco(dataFolder())});
    EXPECT_EQ(stato().PercorsoDati, dataFolder());
    EXPECT_EQ(stato().NumeroConti, 1);
    EXPECT_EQ(w.Codice->text(), dataFolder());

    // Taken again (the account selection's activation): not said again.
    Form7& scelta = formHost().form<Form7>();
    EXPECT_TRUE(
        prendiCartellaDati(dataFolder(), [&](const QString& f) { scelta.mostraCartella(f); }));
    EXPECT_EQ(messages.shown().size(), 1u);
}

// A rate that is not a number counts as a rate not set: the display currency is never
// the line that has it.
TEST_F(DataFolder, ARateThatIsNotANumberIsNoDisplayCurrency) {
    writeCurrency(6, "Marco", "Germania", std::numeric_limits<double>::quiet_NaN());
    writeCurrency(13, "\x01\x02garbage", "??", std::numeric_limits<double>::infinity());
    settings("0", "123");
    Impostazioni imp = leggiImpostazioni();
    imp.valutaPredefinita = "Marco - Germania";
    ASSERT_TRUE(test::riuscito(scriviImpostazioni(imp)));
    MDIForm1& w = load();
    EXPECT_EQ(w.Combo1->currentText(), "Euro - Unione Europea");
    EXPECT_EQ(stato().FattoreValuta, 1.0);
    EXPECT_EQ(stato().TabellaValute[6].cambio, 0.0);
    EXPECT_EQ(stato().TabellaValute[13].cambio, 0.0);
    EXPECT_EQ(w.Saldi[4]->text(), "1.000,00");
    QString garbage;
    for (int i = 0; i < w.Combo1->count(); ++i)
        if (w.Combo1->data(i) == 13) garbage = w.Combo1->text(i);
    for (const QString& line : {QStringLiteral("Marco - Germania"), garbage}) {
        const int index = w.Combo1->findLine(line);
        ASSERT_GE(index, 0) << line.toStdString();
        w.Combo1->setCurrentIndex(index);
        emit w.Combo1->activated(index);
        EXPECT_EQ(stato().FattoreValuta, 1.0);
        EXPECT_EQ(w.Combo1->currentText(), "Euro - Unione Europea");
    }
}

} // namespace
} // namespace qv::test
