// Opening an account from its files, its balances, totals and list-order file, the
// lines of the movement lists, and what a failed or refused write leaves behind.
#include "common/dates.h"
#include "common/disk_sync.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/balances.h"
#include "ledger/movement_files.h"
#include "ledger/movement_lists.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"
#include "support/open_account.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace qv {
namespace {

using namespace test;

// Today is 09/12/2026. Movements in and out, suspended and aligned, one in the
// future (4), one with its value date after today (3), two on the same operation
// date (1, 5) and two whose value dates order differently as text and as dates (2, 8).
const MovimentoFields kMovimenti[] = {
    {1, "01/12/2026", "02/12/2026", "VE", 500.0, "", "stipendio", "N", "E", "N"},
    {2, "03/12/2026", "03/12/2026", "PR", 200.0, "", "prelievo", "S", "U", "N"},
    {3, "05/12/2026", "15/12/2026", "VE", 300.0, "", "bonifico", "N", "E", "N"},
    {4, "20/12/2026", "20/12/2026", "PR", 50.0, "", "futuro", "N", "U", "N"},
    {5, "01/12/2026", "01/12/2026", "PR", 25.5, "", "commissioni", "N", "U", "N"},
    {6, "10/11/2026", "10/11/2026", "VE", 100.0, "", "sospeso", "S", "E", "N"},
    {7, "07/12/2026", "07/12/2026", "VE", 1234.5, "A12", "annullato", "N", "E", "S"},
    {8, "03/12/2026", "15/11/2026", "VE", 10.0, "", "rimborso", "N", "E", "N"},
};

class LedgerCoreTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        showAmountsInEuro();
        auto& s = stato();
        s.CodiceContoAttivo = QStringLiteral("CC1");
        VoceCausale ve;
        ve.codiceCausale = QStringLiteral("VE");
        ve.descrizione = QStringLiteral("Versamento in contanti XY");
        VoceCausale pr;
        pr.codiceCausale = QStringLiteral("PR");
        pr.descrizione = QStringLiteral("Prelievo");
        s.TabellaCausali = {VoceCausale{}, ve, pr};
        s.NumeroCausali = 2;

        QByteArray mov;
        for (const MovimentoFields& m : kMovimenti)
            mov += movimentoBytes(m);
        writeBytes(file("CC1.MOV"), mov);
        writeBytes(file("CC1.MOR"), le16(8));
        writeBytes(file("CC1.RIP"), text("31/10/2026", 10) + leDouble(1000.0));
        // Stale totals: the load recomputes them.
        writeBytes(file("CC1.TOT"), totaliBytes(1, 2, 3, 4, "", "", "", ""));
    }

    QString file(const char* name) const { return dataFolder() + QLatin1String(name); }

    // Replaces a file with a folder of the same name, so that writing it fails.
    void blocca(const char* name) {
        QFile::remove(file(name));
        ASSERT_TRUE(QDir().mkpath(file(name)));
    }

    QByteArray ordAtteso(std::initializer_list<int> ordine) {
        QByteArray b;
        for (int k : ordine)
            b += movimentoBytes(kMovimenti[k - 1]);
        return b;
    }
};

TEST_F(LedgerCoreTest, OpeningComputesBalancesTotalsAndListOrder) {
    QString errore;
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore)) << errore.toStdString();
    const auto& s = stato();
    EXPECT_EQ(s.NumeroMovimenti, 8);
    EXPECT_EQ(s.TabellaRiporto[1].saldoRiporto, 1000.0);
    // 1000 carried forward plus: all; aligned only; operation date not after today;
    // value date not after today.
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 2869.0);
    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, 2969.0);
    EXPECT_DOUBLE_EQ(s.SaldoOperazioneOggi, 2919.0);
    EXPECT_DOUBLE_EQ(s.SaldoValutaOggi, 2619.0);

    EXPECT_EQ(readBytes(file("CC1.TOT")), leDouble(2969) + leDouble(2619) + leDouble(2919) +
                                              leDouble(2869) + "10/11/2026" + "20/12/2026" +
                                              "10/11/2026" + "20/12/2026");

    // A stale, longer list-order file is replaced whole, in operation-date order.
    writeBytes(file("CC1.Ord"), QByteArray(20 * 76, 'x'));
    ASSERT_TRUE(test::riuscito(SalvaOrdine(), &errore)) << errore.toStdString();
    EXPECT_EQ(readBytes(file("CC1.Ord")), ordAtteso({6, 5, 1, 8, 2, 3, 7, 4}));

    // Loading again gives the same balances.
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 2869.0);
    EXPECT_DOUBLE_EQ(s.SaldoValutaOggi, 2619.0);
}

TEST_F(LedgerCoreTest, ListLinesCarryNumbersAndFollowTheKeyAsValues) {
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    const auto op = righeElenco(OrdineMovimenti::Operazione);
    ASSERT_EQ(op.size(), 8u);
    std::vector<int> numeri;
    for (const auto& r : op)
        numeri.push_back(r.numero);
    EXPECT_EQ(numeri, (std::vector<int>{6, 5, 1, 8, 2, 3, 7, 4}));

    const auto& sette = op[6];
    EXPECT_EQ(sette.testo, QStringLiteral(" 741857  07/12/2026 07/12/2026 0007 Versamento in contan"
                                          "  N   E       A12        1.234,50 *"));
    EXPECT_EQ(sette.testo.mid(31, 4), "0007");
    EXPECT_EQ(sette.testo.indexOf("1.234,50") + 8, 89);
    // Suspended: the line ends with its amount.
    EXPECT_TRUE(op[4].testo.endsWith("200,00")) << op[4].testo.toStdString();

    // By value date: 15/11 comes before 01/12 (as text it would not); the cancelled
    // movement gets its own mark before the aligned one.
    const auto val = righeElenco(OrdineMovimenti::Valuta);
    numeri.clear();
    for (const auto& r : val)
        numeri.push_back(r.numero);
    EXPECT_EQ(numeri, (std::vector<int>{6, 8, 5, 1, 2, 7, 3, 4}));
    EXPECT_TRUE(val[5].testo.endsWith("1.234,50 * *"));

    // A period keeps the lines whose list date lies inside it, both ends included.
    const auto dicembre = righeElenco(OrdineMovimenti::Operazione, "03/12/2026", "07/12/2026");
    numeri.clear();
    for (const auto& r : dicembre)
        numeri.push_back(r.numero);
    EXPECT_EQ(numeri, (std::vector<int>{8, 2, 3, 7}));

    // A new line's place in a sorted list.
    const std::vector<qint16> lista{6, 5, 1, 2, 3, 7, 4};
    EXPECT_EQ(posizioneNellElenco(lista, 8, OrdineMovimenti::Operazione), 3u);
}

TEST_F(LedgerCoreTest, NewMovementIsStoredNormalisedAndCounted) {
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    writeBytes(file("CC1.Ord"), QByteArray(20 * 76, 'x'));
    Movimento m;
    m.dataOperazione = QStringLiteral("08/12/2026");
    m.dataValuta = QStringLiteral("08/12/2026");
    m.codiceCausale = QStringLiteral("PR");
    m.importo = 40;
    m.descrizione = QStringLiteral("nuovo");
    m.sospeso = QStringLiteral("N");
    m.entrataUscita = QStringLiteral("U");
    m.annullato = QStringLiteral("S"); // left over from an earlier use
    QString errore;
    ASSERT_TRUE(test::riuscito(SalvaNuovoMovimento(m), &errore));
    EXPECT_TRUE(errore.isEmpty()) << errore.toStdString();

    const QByteArray atteso =
        movimentoBytes({9, "08/12/2026", "08/12/2026", "PR", 40, "", "nuovo", "N", "U", "N"});
    EXPECT_EQ(readBytes(file("CC1.MOV")).mid(8 * 76), atteso);
    EXPECT_EQ(readBytes(file("CC1.MOR")), le16(9));
    EXPECT_EQ(readBytes(file("CC1.Ord")),
              ordAtteso({6, 5, 1, 8, 2, 3, 7}) + atteso + ordAtteso({4}));
    const auto& s = stato();
    EXPECT_EQ(s.NumeroMovimenti, 9);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 2829.0);
    EXPECT_DOUBLE_EQ(s.SaldoValutaOggi, 2579.0);
    EXPECT_EQ(readBytes(file("CC1.TOT")).left(32),
              leDouble(2929) + leDouble(2579) + leDouble(2879) + leDouble(2829));

    // A blank in/out flag is never stored.
    m.entrataUscita.clear();
    ASSERT_TRUE(test::riuscito(SalvaNuovoMovimento(m)));
    EXPECT_EQ(s.TabellaMovimenti[10].entrataUscita, "E");
    EXPECT_EQ(readBytes(file("CC1.MOV")).mid(9 * 76 + 74, 1), "E");
}

// ".Ord" after each save holds every movement in operation-date order, as written: a
// movement that ends that order is put at its end, any other has the file written again
// from the stored records (NUL-padded texts written blank-padded); a file changed by
// someone else is written again whole. The date bounds follow the saved movement.
TEST_F(LedgerCoreTest, OrdTakesTheLastMovementAtItsEndAndAnyOtherWhole) {
    QByteArray mov = readBytes(file("CC1.MOV"));
    mov.replace(43 + 9, 30 - 9, QByteArray(30 - 9, '\0')); // "stipendio" NUL-padded
    writeBytes(file("CC1.MOV"), mov);
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    ASSERT_TRUE(test::riuscito(SalvaOrdine()));
    ASSERT_EQ(readBytes(file("CC1.Ord")), ordAtteso({6, 5, 1, 8, 2, 3, 7, 4}));

    struct Salvataggio {
        MovimentoFields campi;
        QByteArray prima, dopo; // ".Ord" around the new record
        const char* estremi;    // ".TOT" from byte 32: the four date bounds
    };
    const MovimentoFields ultimo{9, "31/12/2026", "02/01/2027", "VE", 5, "", "ultimo", "N", "E"};
    const MovimentoFields inMezzo{10, "02/12/2026", "02/12/2026", "PR", 7, "", "", "S", "U"};
    const MovimentoFields ancoraUltimo{11, "31/12/2026", "05/01/2027", "VE", 1, "", "", "N", "E"};
    const Salvataggio salvataggi[] = {
        {ultimo,
         ordAtteso({6, 5, 1, 8, 2, 3, 7, 4}),
         {},
         "10/11/202631/12/202610/11/202602/01/2027"},
        {inMezzo, ordAtteso({6, 5, 1}), ordAtteso({8, 2, 3, 7, 4}) + movimentoBytes(ultimo),
         "10/11/202631/12/202610/11/202602/01/2027"},
        {ancoraUltimo,
         ordAtteso({6, 5, 1}) + movimentoBytes(inMezzo) + ordAtteso({8, 2, 3, 7, 4}) +
             movimentoBytes(ultimo),
         {},
         "10/11/202631/12/202610/11/202605/01/2027"},
    };
    for (const Salvataggio& c : salvataggi) {
        Movimento m = Movimento::fromBytes(movimentoBytes(c.campi));
        QString errore;
        ASSERT_TRUE(test::riuscito(SalvaNuovoMovimento(m), &errore)) << errore.toStdString();
        EXPECT_TRUE(errore.isEmpty()) << errore.toStdString();
        EXPECT_EQ(readBytes(file("CC1.Ord")), c.prima + movimentoBytes(c.campi) + c.dopo)
            << c.campi.numero;
        EXPECT_EQ(readBytes(file("CC1.TOT")).mid(32), QByteArray(c.estremi)) << c.campi.numero;
    }
    EXPECT_EQ(stato().UltimaDataOperazione, QStringLiteral("31/12/2026"));
    EXPECT_EQ(stato().PrimaDataValuta, QStringLiteral("10/11/2026"));
    // Nothing changed since: ".Ord" stays as it is.
    const QByteArray ord = readBytes(file("CC1.Ord"));
    ASSERT_TRUE(test::riuscito(SalvaOrdine()));
    EXPECT_EQ(readBytes(file("CC1.Ord")), ord);

    // Someone else's ".Ord" is not appended to: it is written whole.
    writeBytes(file("CC1.Ord"), QByteArray(3 * 76, 'x'));
    const MovimentoFields dopoAltri{12, "01/01/2027", "06/01/2027", "VE", 2, "", "", "N", "E"};
    ASSERT_TRUE(
        test::riuscito(SalvaNuovoMovimento(Movimento::fromBytes(movimentoBytes(dopoAltri)))));
    EXPECT_EQ(readBytes(file("CC1.Ord")), ord + movimentoBytes(dopoAltri));
}

// Reloading the movements (the settings' save, the cheque forms) reads the files again
// only when the program or anyone else changed something in the data folder.
TEST_F(LedgerCoreTest, ReloadingReadsOnlyWhenTheDataFolderChanged) {
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    QStringList letti;
    setReadObserver([&](const QString& path) { letti << QFileInfo(path).fileName(); });
    struct Fine {
        ~Fine() { setReadObserver({}); }
    } fine;
    struct Caso {
        const char* nome;
        std::function<void()> prima;
        bool legge;
    };
    const Caso casi[] = {
        {"nothing written", [] {}, false},
        {"the settings rewritten in the program folder",
         [&] { ASSERT_TRUE(rewriteFile(programFolder() + "Imposta.DAT", QByteArray(116, ' '))); },
         false},
        {"another account's count written in the data folder",
         [&] { writeBytes(file("ALTRO.MOR"), le16(0)); }, false},
        {"... and written by the program",
         [&] { ASSERT_TRUE(scriviContatore(file("ALTRO.MOR"), 1)); }, true},
        {"the account's movements changed by someone else",
         [&] { writeBytes(file("CC1.MOR"), le16(7)); }, true},
    };
    for (const Caso& c : casi) {
        c.prima();
        letti.clear();
        QString errore;
        ASSERT_TRUE(test::senzaAvvisi(CaricaMovimenti(true), &errore))
            << c.nome << errore.toStdString();
        EXPECT_EQ(letti.contains(QStringLiteral("CC1.MOV")), c.legge) << c.nome;
        // Whatever was read, the balances are the movements' own.
        if (stato().NumeroMovimenti == 8) {
            EXPECT_DOUBLE_EQ(stato().SaldoContabile, 2869.0) << c.nome;
        }
        // Loaded again in full, memory holds the files once more.
        ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    }
    EXPECT_EQ(stato().NumeroMovimenti, 7);
}

TEST_F(LedgerCoreTest, FailedOrRefusedAppendChangesNothing) {
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    const auto& s = stato();
    const auto tabella = s.TabellaMovimenti;
    const QByteArray tot = readBytes(file("CC1.TOT"));
    Movimento m;
    m.dataOperazione = m.dataValuta = QStringLiteral("08/12/2026");
    m.importo = 40;
    m.entrataUscita = QStringLiteral("E");

    auto immutato = [&] {
        EXPECT_EQ(s.NumeroMovimenti, 8);
        EXPECT_EQ(s.TabellaMovimenti, tabella);
        EXPECT_DOUBLE_EQ(s.SaldoContabile, 2869.0);
        EXPECT_EQ(readBytes(file("CC1.TOT")), tot);
    };

    blocca("CC1.MOR");
    QString errore;
    EXPECT_FALSE(test::riuscito(SalvaNuovoMovimento(m), &errore));
    EXPECT_TRUE(errore.contains("CC1.MOR")) << errore.toStdString();
    immutato();

    blocca("CC1.MOV");
    EXPECT_FALSE(test::riuscito(SalvaNuovoMovimento(m), &errore));
    EXPECT_TRUE(errore.contains("CC1.MOV")) << errore.toStdString();
    immutato();

    // The account is full at 32767 movements: the next one is refused, saying why.
    stato().NumeroMovimenti = LimiteMovimentiConto;
    EXPECT_FALSE(spazioPerNuovoMovimento());
    EXPECT_FALSE(test::riuscito(SalvaNuovoMovimento(m), &errore));
    EXPECT_EQ(errore, messaggioContoPieno());
}

// Saving a movement and loading the account say which of the three it was: refused
// (nothing to do it on), failed (a file), or done, with the warning of what came after.
TEST_F(LedgerCoreTest, SavingAndLoadingTellARefusalFromAFailureAndAWarning) {
    using Stato = Esito::Stato;
    Movimento m;
    m.dataOperazione = m.dataValuta = QStringLiteral("08/12/2026");
    m.importo = 40;
    struct Caso {
        const char* nome;
        std::function<void()> prepara;
        std::function<Esito()> esegui;
        Stato atteso;
        QStringList nelTesto; // empty: no text at all
        int movimenti;        // NumeroMovimenti afterwards
    };
    const auto salva = [&] { return SalvaNuovoMovimento(m); };
    const Caso casi[] = {
        {"no account open",
         [] { stato().CodiceContoAttivo.clear(); },
         salva,
         Stato::Rifiutato,
         {testoNessunContoAperto()},
         8},
        {"account full",
         [] { stato().NumeroMovimenti = LimiteMovimentiConto; },
         salva,
         Stato::Rifiutato,
         {messaggioContoPieno()},
         LimiteMovimentiConto},
        {"movement file not writable",
         [&] { blocca("CC1.MOV"); },
         salva,
         Stato::Fallito,
         {"CC1.MOV", "Il movimento non è stato registrato."},
         8},
        {"list order not writable",
         [&] { blocca("CC1.Ord"); },
         salva,
         Stato::Fatto,
         {"CC1.Ord", "Il movimento è stato registrato."},
         9},
        {"all written", [] {}, salva, Stato::Fatto, {}, 9},
        {"load, no account open",
         [] { stato().CodiceContoAttivo.clear(); },
         [] { return ApriArchiviConto(); },
         Stato::Rifiutato,
         {testoNessunContoAperto()},
         8},
        {"load, count beyond the records",
         [&] { writeBytes(file("CC1.MOR"), le16(9)); },
         [] { return ApriArchiviConto(); },
         Stato::Fatto,
         {"CC1.MOR (9)"},
         8},
        {"load, movements unreadable",
         [&] { blocca("CC1.MOV"); },
         [] { return ApriArchiviConto(); },
         Stato::Fallito,
         {"CC1.MOV"},
         0},
    };
    for (const Caso& c : casi) {
        // Each case from the same account, with no folder left standing in for a file.
        QDir(dataFolder()).removeRecursively();
        QDir().mkpath(dataFolder());
        SetUp();
        ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto())) << c.nome;
        c.prepara();
        const Esito e = c.esegui();
        EXPECT_EQ(e.stato, c.atteso) << c.nome << ": " << e.testo.toStdString();
        if (c.nelTesto.isEmpty()) EXPECT_EQ(e.testo, QString()) << c.nome;
        for (const QString& parte : c.nelTesto)
            EXPECT_TRUE(e.testo.contains(parte)) << c.nome << ": " << e.testo.toStdString();
        EXPECT_EQ(stato().NumeroMovimenti, c.movimenti) << c.nome;
    }
}

TEST_F(LedgerCoreTest, HeldMovementStaysOutOfTheBalancesAcrossReloads) {
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    auto& s = stato();
    ASSERT_TRUE(test::riuscito(trattieniFuoriDaiSaldi("Form9", 1)));
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 2369.0);
    // A reload does not count it again, nor does a second window holding it.
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 2369.0);
    ASSERT_TRUE(test::riuscito(trattieniFuoriDaiSaldi("Form4", 1)));
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 2369.0);
    ASSERT_TRUE(test::riuscito(restituisciAiSaldi("Form4")));
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 2369.0);

    // Confirmed with a new amount: back with its new value, once.
    Movimento cambiato = s.TabellaMovimenti[1];
    cambiato.importo = 600;
    ASSERT_TRUE(test::riuscito(riscriviMovimento(cambiato)));
    ASSERT_TRUE(test::riuscito(restituisciAiSaldi("Form9")));
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 2969.0);
    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, 3069.0);
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 2969.0);

    // Holds follow the renumbering of a deletion; another account forgets them.
    trattieniMovimento("Form4", 5);
    rinumeraMovimentiTrattenuti(3);
    EXPECT_EQ(movimentoTrattenuto("Form4"), 4);
    rinumeraMovimentiTrattenuti(4);
    EXPECT_EQ(movimentoTrattenuto("Form4"), 0);
    trattieniMovimento("Form4", 2);
    s.CodiceContoAttivo = QStringLiteral("ALTRO");
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    EXPECT_EQ(movimentoTrattenuto("Form4"), 0);
}

TEST_F(LedgerCoreTest, EmptyAccountLoadsWithCarryForwardAndTodayAsBounds) {
    stato().CodiceContoAttivo = QStringLiteral("NUOVO");
    writeBytes(file("NUOVO.RIP"), text("31/10/2026", 10) + leDouble(1000.0));
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    const auto& s = stato();
    EXPECT_EQ(s.NumeroMovimenti, 0);
    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, 1000.0);
    EXPECT_DOUBLE_EQ(s.SaldoValutaOggi, 1000.0);
    EXPECT_EQ(s.PrimaDataOperazione, "09/12/2026");
    EXPECT_EQ(s.UltimaDataOperazione, "09/12/2026");
    // An empty or invalid range field never moves the bounds.
    AggiornaDateEstreme("__/__/____");
    AggiornaDateEstreme("31/02/2027");
    EXPECT_EQ(s.UltimaDataOperazione, "09/12/2026");
    AggiornaDateEstreme("10/12/2026");
    EXPECT_EQ(s.UltimaDataOperazione, "10/12/2026");
}

TEST(GiornoDellaData, MatchesDataInNumeroOnEveryText) {
    for (QDate d(1999, 1, 1); d <= QDate(2001, 3, 31); d = d.addDays(1)) {
        const QString t = d.toString(QStringLiteral("dd/MM/yyyy"));
        ASSERT_EQ(giornoDellaData(t), DataInNumero(t)) << t.toStdString();
    }
    for (const char* t : {"15/13/2001", "31/02/2000", "00/00/0000", "__/__/____", "5/06/2001",
                          "05062001", "", "29/02/1900"})
        EXPECT_EQ(giornoDellaData(QLatin1String(t)), DataInNumero(QLatin1String(t))) << t;
}

} // namespace
} // namespace qv
