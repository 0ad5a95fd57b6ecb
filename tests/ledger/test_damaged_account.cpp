// An account whose files are damaged, opened as the user opens it: a count that is
// missing, unreadable, negative or too large, movements that cannot be read, amounts
// that no balance can count, and a program stopped while it writes. Nothing is lost:
// the files are compared byte for byte with what they held.
#include "support/esito_test.h"
#include "support/started_program.h"

#include "archives/account_sheet_form.h"
#include "common/amounts.h"
#include "common/disk_sync.h"
#include "common/folder_lock.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/entry_form.h"
#include "ledger/movement_files.h"
#include "ledger/transfer.h"
#include "platform/form_host.h"
#include "platform/list_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QtEndian>

#include <csignal>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::test {
namespace {

// Account 123: three movements (today is 09/12/2026) and a carry-forward of 100.
const QByteArray kMov1 =
    movimentoBytes({1, "05/12/2026", "06/12/2026", "BON", 1000, "", "stipendio", "N", "E", "N"});
const QByteArray kMov2 =
    movimentoBytes({2, "01/12/2026", "01/12/2026", "PRE", 200, "", "prelievo", "S", "U", "N"});
const QByteArray kMov3 =
    movimentoBytes({3, "02/12/2026", "02/12/2026", "BON", 50, "", "rimborso", "N", "E", "N"});

class DamagedAccount : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        writeAccount(1, "123", "BANCA CENTO");
        writeAccount(2, "77", "BANCA SETTE");
        writeBytes(file("RecConti.dat"), le16(2));
        writeBytes(file("123.MOV"), kMov1 + kMov2 + kMov3);
        writeBytes(file("123.MOR"), le16(3));
        writeBytes(file("123.RIP"), text("30/11/2026", 10) + leDouble(100));
        writeBytes(file("123.TOT"), totaliBytes(1, 2, 3, 4, "", "", "", ""));
        writeBytes(file("123.Ord"), kMov2 + kMov3 + kMov1);
    }
    QString file(const char* name) const { return dataFolder() + QLatin1String(name); }

    // Every file of the data folder with its bytes (the lock file aside).
    std::map<QString, QByteArray> folder() const { return contentsOf(dataFolder()); }

    // The program started, and account row 1 confirmed on its sheet.
    void openAsTheUser(int riga = 1) {
        if (!window) load();
        Form10& sheet = formHost().form<Form10>();
        sheet.mostraConto(riga, Form10::Modo::Apertura);
        formHost().show(sheet);
        sheet.Saldi->click();
    }
    bool accountOpen() const {
        return !stato().CodiceContoAttivo.isEmpty() && formHost().loaded<Form9>() != nullptr;
    }
};

// A damaged ".MOR" next to movements: the account does not open as it is. No changes
// nothing; Sì rebuilds the count from the movements, keeping the damaged file.
enum class DannoConteggio { Mancante, Negativo, Vuoto, Illeggibile };

class DamagedCount : public DamagedAccount, public ::testing::WithParamInterface<DannoConteggio> {
protected:
    void SetUp() override {
        DamagedAccount::SetUp();
        switch (GetParam()) {
        case DannoConteggio::Mancante:
            QFile::remove(file("123.MOR"));
            break;
        case DannoConteggio::Negativo:
            writeBytes(file("123.MOR"), le16(-1));
            break;
        case DannoConteggio::Vuoto:
            writeBytes(file("123.MOR"), QByteArray());
            break;
        case DannoConteggio::Illeggibile:
            QFile::remove(file("123.MOR"));
            QDir(dataFolder()).mkdir("123.MOR");
            break;
        }
    }
};

TEST_P(DamagedCount, IsRebuiltOnlyWhenTheUserSaysSo) {
    const auto before = folder();
    messages.answer(MessageAnswer::No);
    openAsTheUser();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(messages.shown()[0].text.contains(QDir::toNativeSeparators(file("123.MOR"))));
    EXPECT_FALSE(accountOpen());
    EXPECT_FALSE(window->PulsMovimenti->isEnabled());
    EXPECT_EQ(folder(), before);

    messages.clear();
    messages.answer(MessageAnswer::Yes);
    openAsTheUser();
    ASSERT_TRUE(accountOpen()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(stato().NumeroMovimenti, 3);
    EXPECT_EQ(formHost().loaded<Form9>()->ElencoMovim->count(), 3);
    EXPECT_EQ(readBytes(file("123.MOR")), le16(3));
    EXPECT_EQ(QFileInfo::exists(file("123.MOR.danneggiato")),
              GetParam() != DannoConteggio::Mancante);
    EXPECT_EQ(readBytes(file("123.MOV")), kMov1 + kMov2 + kMov3);

    // The next movement follows the three.
    ASSERT_TRUE(test::riuscito(SalvaNuovoMovimento(Movimento::fromBytes(kMov3))));
    EXPECT_EQ(readBytes(file("123.MOV")).left(3 * 76), kMov1 + kMov2 + kMov3);
    EXPECT_EQ(readBytes(file("123.MOV")).size(), 4 * 76);
    EXPECT_EQ(readBytes(file("123.MOR")), le16(4));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedCount,
                         ::testing::Values(DannoConteggio::Mancante, DannoConteggio::Negativo,
                                           DannoConteggio::Vuoto, DannoConteggio::Illeggibile));

// A count larger than the movements names records that are not there: it is said once,
// and only the movements the file holds are used; the next save puts the count right.
class LargeCount : public DamagedAccount, public ::testing::WithParamInterface<qint16> {};

TEST_P(LargeCount, TakesTheMovementsThere) {
    const qint16 conteggio = GetParam();
    writeBytes(file("123.MOR"), le16(conteggio));
    openAsTheUser();
    ASSERT_TRUE(accountOpen());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("(%1)").arg(conteggio)));
    EXPECT_EQ(stato().NumeroMovimenti, 3);
    Form9* form = formHost().loaded<Form9>();
    EXPECT_EQ(form->ElencoMovim->count(), 3);
    EXPECT_EQ(window->Saldi[4]->text(), "950,00");

    // A reload of the same account does not say it again.
    formHost().activateMainWindow();
    formHost().activate(*form);
    EXPECT_EQ(messages.shown().size(), 1u);

    ASSERT_TRUE(test::riuscito(SalvaNuovoMovimento(Movimento::fromBytes(kMov3))));
    QByteArray quarto = kMov3;
    quarto[0] = 4;
    EXPECT_EQ(printable(readBytes(file("123.MOV"))), printable(kMov1 + kMov2 + kMov3 + quarto));
    EXPECT_EQ(readBytes(file("123.MOR")), le16(4));
}

INSTANTIATE_TEST_SUITE_P(Counts, LargeCount, ::testing::Values(qint16(10), qint16(32767)));

// Movements that cannot be read: the account does not open, and a load that fails
// writes no derived file (".TOT", ".Ord").
TEST_F(DamagedAccount, MovementsThatCannotBeReadOpenNothingAndWriteNothing) {
    QFile::remove(file("123.MOV"));
    ASSERT_TRUE(QDir(dataFolder()).mkdir("123.MOV"));
    const auto before = folder();
    openAsTheUser();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QDir::toNativeSeparators(file("123.MOV"))));
    EXPECT_FALSE(accountOpen());
    EXPECT_EQ(folder(), before);
}

TEST_F(DamagedAccount, AnOpenAccountWhoseMovementsBecomeUnreadableIsClosedUntouched) {
    openAsTheUser();
    ASSERT_TRUE(accountOpen());
    ASSERT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    QFile::remove(file("123.MOV"));
    ASSERT_TRUE(QDir(dataFolder()).mkdir("123.MOV"));
    const auto before = folder();

    // The movement form reloads the account each time it becomes the active window.
    formHost().activateMainWindow();
    formHost().activate(*formHost().loaded<Form9>());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("è stato chiuso")));
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    EXPECT_FALSE(window->PulsMovimenti->isEnabled());
    EXPECT_EQ(folder(), before);
    // Nothing can be written for it any more.
    EXPECT_FALSE(test::riuscito(SalvaNuovoMovimento(Movimento::fromBytes(kMov1))));
    EXPECT_TRUE(test::riuscito(SalvaOrdine()));
    EXPECT_EQ(folder(), before);
}

// Amounts that are not finite or reach 1e13 are named at the load and count as 0; no
// such number reaches a file.
TEST_F(DamagedAccount, AmountsNoBalanceCanCountAreNamedAndCountAsZero) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    writeBytes(
        file("123.MOV"),
        kMov1 + movimentoBytes({2, "01/12/2026", "01/12/2026", "PRE", nan, "", "a", "N", "U"}) +
            movimentoBytes({3, "02/12/2026", "02/12/2026", "BON", inf, "", "b", "N", "E"}) +
            movimentoBytes({4, "03/12/2026", "03/12/2026", "BON", 1e308, "", "c", "N"}) +
            movimentoBytes({5, "04/12/2026", "04/12/2026", "BON", 1e13, "", "d", "N"}) +
            movimentoBytes({6, "04/12/2026", "04/12/2026", "BON", 5e12 + 0.5, "", "e", "N"}));
    writeBytes(file("123.MOR"), le16(6));
    writeBytes(file("123.RIP"), text("30/11/2026", 10) + leDouble(nan));
    const QByteArray mov = readBytes(file("123.MOV"));
    openAsTheUser();
    ASSERT_TRUE(accountOpen());
    ASSERT_EQ(messages.shown().size(), 1u);
    const QStringList avviso = messages.shown()[0].text.split('\n');
    ASSERT_EQ(avviso.size(), 2) << messages.shown()[0].text.toStdString();
    EXPECT_EQ(avviso[0], "Importo non valido nei movimenti n. 2 del 01/12/2026 (a), n. 3 del "
                         "02/12/2026 (b), n. 4 del 03/12/2026 (c), n. 5 del 04/12/2026 (d): sono "
                         "contati come zero nei saldi. Correggere l'importo di questi movimenti.");
    EXPECT_TRUE(avviso[1].startsWith("Il saldo riportato nel file"));

    // 1000 and 5000000000000,50 count; the rest and the carry-forward are 0.
    const double somma = 1000 + 5e12 + 0.5;
    EXPECT_EQ(stato().SaldoContabile, somma);
    EXPECT_EQ(window->Saldi[4]->text(), "5.000.000.001.000,50");
    EXPECT_EQ(printable(readBytes(file("123.TOT"))),
              printable(totaliBytes(somma, somma, somma, somma, "01/12/2026", "05/12/2026",
                                    "01/12/2026", "06/12/2026")));
    EXPECT_EQ(readBytes(file("123.MOV")), mov);
    // In the list, a damaged amount shows as it counts.
    for (const ListItem& item : formHost().loaded<Form9>()->ElencoMovim->items())
        if (item.data >= 2 && item.data <= 5) {
            EXPECT_TRUE(item.text.contains("            0,00")) << item.text.toStdString();
        }

    // Such an amount is never written.
    Movimento m = Movimento::fromBytes(kMov1);
    m.importo = 1e13;
    QString errore;
    EXPECT_FALSE(test::riuscito(SalvaNuovoMovimento(m), &errore));
    EXPECT_EQ(errore.split('\n').first(), testoImportoNonMemorizzabile());
    EXPECT_EQ(readBytes(file("123.MOV")), mov);
    EXPECT_EQ(readBytes(file("123.MOR")), le16(6));
}

// The temporary files a rewrite stopped midway leaves are removed when the account
// opens; nothing else goes.
TEST_F(DamagedAccount, TemporariesOfAStoppedRewriteGoWhenTheAccountOpens) {
    for (const char* name : {"123.Ord.aB3dE9", "123.MOV.Zz0000", "123.tot.000000"})
        writeBytes(file(name), "half");
    for (const char* name : {"1234.MOV.aB3dE9", "123.MOV.copia", "123.Ord.aB3d"})
        writeBytes(file(name), "keep");
    openAsTheUser();
    ASSERT_TRUE(accountOpen());
    for (const char* name : {"123.Ord.aB3dE9", "123.MOV.Zz0000", "123.tot.000000"})
        EXPECT_FALSE(QFile::exists(file(name))) << name;
    for (const char* name : {"1234.MOV.aB3dE9", "123.MOV.copia", "123.Ord.aB3d"})
        EXPECT_EQ(readBytes(file(name)), QByteArray("keep")) << name;
}

// A failed write names its file once, with the reason in words.
TEST_F(DamagedAccount, AFailedWriteNamesItsFileOnce) {
    openAsTheUser();
    ASSERT_TRUE(accountOpen());
    ASSERT_TRUE(QFile::remove(file("123.MOR")));
    ASSERT_TRUE(QDir(dataFolder()).mkdir("123.MOR"));
    QString errore;
    EXPECT_FALSE(test::riuscito(SalvaNuovoMovimento(Movimento::fromBytes(kMov1)), &errore));
    const QString percorso = QDir::toNativeSeparators(file("123.MOR"));
    EXPECT_EQ(errore.count(percorso), 1) << errore.toStdString();
    EXPECT_EQ(errore.split('\n').first(),
              QStringLiteral("Impossibile scrivere il file %1: al posto del file c'è una "
                             "cartella con lo stesso nome.")
                  .arg(percorso));
}

// A transfer never trusts the other account's damaged count.
TEST_F(DamagedAccount, ATransferIntoAnAccountWithADamagedCountIsRefused) {
    writeBytes(file("77.MOV"), kMov1 + kMov2);
    const auto before = folder();
    Movimento uscita = Movimento::fromBytes(kMov3);
    QString errore;
    EXPECT_FALSE(
        test::riuscito(scriviGiroconto(dataFolder(), "77", "123", uscita, nullptr), &errore));
    EXPECT_TRUE(errore.contains(QDir::toNativeSeparators(file("77.MOR")))) << errore.toStdString();
    EXPECT_TRUE(errore.contains("Aprire il conto 77"));
    EXPECT_EQ(folder(), before);

    // A count larger than its movements takes the movements there.
    writeBytes(file("77.MOR"), le16(9));
    GirocontoScritto scritto;
    ASSERT_TRUE(
        test::riuscito(scriviGiroconto(dataFolder(), "77", "123", uscita, &scritto), &errore))
        << errore.toStdString();
    EXPECT_EQ(scritto.numero, 3);
    EXPECT_EQ(readBytes(file("77.MOV")).size(), 3 * 76);
    EXPECT_EQ(readBytes(file("77.MOR")), le16(3));
}

// A program killed at each moment its writes reach the disk: no count ever names a
// record that is not there, and the next opening finds no temporary file and loads
// every movement the count names. (Where the system gives the safe rewrite an unnamed
// temporary file, a kill leaves none behind; the test above plants the named ones.)
TEST_F(DamagedAccount, AProgramKilledWhileItWritesLosesNothing) {
    const QByteArray mov = readBytes(file("123.MOV"));
    std::vector<QByteArray> nuovi;
    for (int i = 4; i <= 6; ++i)
        nuovi.push_back(movimentoBytes(
            {qint16(i), "07/12/2026", "07/12/2026", "BON", 10.0 * i, "", "nuovo", "N", "E", "N"}));
    const auto original = folder();

    // The child opens the account and saves three movements; its disk observer kills
    // it at the `punto`-th moment written data reach the disk (never, for 0). It ends
    // with the number of moments it went through.
    const auto child = [&](int punto) -> int {
        const pid_t pid = fork();
        if (pid == 0) {
            int visti = 0;
            setDiskObserver([&](DiskPoint, const QString&) {
                if (++visti == punto) ::kill(::getpid(), SIGKILL);
            });
            auto& s = stato();
            s.CodiceContoAttivo = QStringLiteral("123");
            s.IndiceContoAttivo = 1;
            ApriArchiviConto();
            for (const QByteArray& m : nuovi)
                SalvaNuovoMovimento(Movimento::fromBytes(m));
            ::_exit(visti);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    };

    const int punti = child(0);
    ASSERT_GE(punti, 6); // at least the record and the count of each movement
    for (int punto = 1; punto <= punti; ++punto) {
        for (const auto& [name, bytes] : original)
            writeBytes(dataFolder() + name, bytes);
        for (const QString& name : QDir(dataFolder()).entryList(QDir::Files))
            if (!original.count(name) && name != FileBloccoCartella)
                QFile::remove(dataFolder() + name);
        ASSERT_EQ(child(punto), -SIGKILL) << punto;

        const QByteArray dopo = readBytes(file("123.MOV"));
        const QByteArray mor = readBytes(file("123.MOR"));
        ASSERT_EQ(mor.size(), 2) << punto;
        const int conteggio = qFromLittleEndian<qint16>(mor.constData());
        ASSERT_GE(conteggio, 3) << punto;
        ASSERT_LE(conteggio * 76, dopo.size()) << punto; // the count names records there
        for (int k = 1; k <= conteggio; ++k)
            EXPECT_EQ(dopo.mid((k - 1) * 76, 76),
                      k <= 3 ? mov.mid((k - 1) * 76, 76) : nuovi[size_t(k - 4)])
                << punto << " " << k;

        stato().CodiceContoAttivo = QStringLiteral("123");
        stato().IndiceContoAttivo = 1;
        QString errore;
        EXPECT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore))
            << punto << errore.toStdString();
        EXPECT_EQ(stato().NumeroMovimenti, conteggio) << punto;
        for (const QString& name : QDir(dataFolder()).entryList(QDir::Files))
            for (const char* base : {"123.MOV", "123.MOR", "123.Ord", "123.TOT"})
                EXPECT_FALSE(isRewriteTemporary(name, base)) << punto << name.toStdString();
    }
}

} // namespace
} // namespace qv::test
