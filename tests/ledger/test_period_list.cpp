// The movement list by period: an account written byte by byte (carry-forward, an
// "AS" movement whose cheque number has notes on two leaves, a cancelled movement),
// listed whole, by one causale and over a sub-range, line by line and column by
// column; the form that shows it.
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/entry_form.h"
#include "ledger/open_account.h"
#include "ledger/period_list.h"
#include "ledger/period_list_form.h"
#include "platform/date_check_dialog.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"
#include "support/list_lines.h"
#include "support/main_window_fixture.h"
#include "support/november_account.h"
#include "support/open_account.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

namespace qv {
namespace {

using namespace test;

// A leaf of ".FOG" dated 05/11/2026, with no amount and no payee.
QByteArray fogBytes(qint16 carnet, qint32 assegno, const char* nota) {
    return foglioBytes({0, 1, carnet, assegno, "05/11/2026", 0, "", nota, "N", " ", "N"});
}

// The movements of the account "CC1" that every test starts from.
const auto& kMovimenti = kMovimentiNovembre;

QString sp(int n) {
    return QString(n, QLatin1Char(' '));
}

// The lines as the list lays them out, column by column (positions from 1):
// 1-10 date, 13-22 value date, 23-49 debit (24-38) or credit (35-49), 50-64 balance.
const QString kRiporto = QStringLiteral("31/10/2026") + sp(12) + sp(12) +
                         QStringLiteral("       1.000,00") + QStringLiteral("       1.000,00") +
                         QStringLiteral("  Riporto Chiusura precedente");
const QString kMov1 = QStringLiteral("01/11/2026  02/11/2026") + sp(12) +
                      QStringLiteral("         500,00") + QStringLiteral("       1.500,00") +
                      QStringLiteral("  Versamento") + QStringLiteral("   ") +
                      QStringLiteral("stipendio                     ");
const QString kMov4 = QStringLiteral("02/11/2026  02/11/2026") + sp(12) +
                      QStringLiteral("       1.234,50") + QStringLiteral("       2.734,50") +
                      QStringLiteral("  Versamento  B7 ") + QStringLiteral("bonifico") + sp(22);
const QString kMov2 = QStringLiteral("05/11/2026  06/11/2026") + QStringLiteral(" ") +
                      QStringLiteral("         120,50") + sp(11) +
                      QStringLiteral("       2.614,00") + QStringLiteral("  Assegno  1234 ") +
                      QStringLiteral("idraulico") + sp(21);
const QString kNota1 = sp(66) + QStringLiteral("pagato idraulico");
const QString kNota2 = sp(66) + QStringLiteral("secondo carnet");
const QString kMov3 = QStringLiteral("10/11/2026  12/11/2026") + QStringLiteral(" ") +
                      QStringLiteral("         200,00") + sp(11) +
                      QStringLiteral("       2.414,00") + QStringLiteral("  Prelievo   ") +
                      QStringLiteral("prelievo bancomat") + sp(13);
const QString kTrattini(86, QLatin1Char('-'));

class PeriodListTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        openTestAccount("CC1");
        setCausali({causaleEntry(1, "VE", "Versamento", "N", "E"),
                    causaleEntry(2, "PR", "Prelievo", "N", "E"),
                    causaleEntry(3, "AS", "Assegno", "N", "E")});

        writeNovemberAccount(dataFolder());
        // Cheque 1234 has a leaf in two books; 1235 is another cheque.
        writeBytes(file(".FOG"), fogBytes(1, 1234, "pagato idraulico") +
                                     fogBytes(1, 1235, "altro assegno") +
                                     fogBytes(2, 1234, "secondo carnet"));
        writeBytes(file(".NRF"), le16(3));
    }

    QString file(const char* ext) const { return dataFolder() + QStringLiteral("CC1") + ext; }

    void carica() {
        QString errore;
        ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore)) << errore.toStdString();
    }

    static std::vector<QString> testi(const ElencoPeriodo& e) {
        std::vector<QString> t;
        for (const auto& r : e.righe)
            t.push_back(r.testo);
        return t;
    }
    static std::vector<int> numeri(const ElencoPeriodo& e) {
        std::vector<int> n;
        for (const auto& r : e.righe)
            n.push_back(r.numero);
        return n;
    }
};

TEST_F(PeriodListTest, TheWholeAccountWithEveryCausale) {
    carica();
    const ElencoPeriodo e =
        ElencaMovimentiPerPeriodo(QStringLiteral("01/11/2026"), QStringLiteral("10/11/2026"),
                                  QStringLiteral(" TUTTE"))
            .valore;
    const std::vector<QString> attese = {
        kRiporto,
        kMov1,
        kMov4,
        kMov2,
        kNota1,
        kNota2,
        kMov3,
        kTrattini,
        QStringLiteral("Riporto saldo movimenti non elencati ") + sp(12) +
            QStringLiteral("           0,00") + QStringLiteral("  = Euro 0,00"),
        kTrattini,
        QStringLiteral("Saldo Contabile         ") + sp(27) + QStringLiteral("     2.414,00") +
            QStringLiteral("  = Euro 2.414,00"),
        sp(68) + QStringLiteral("nr. movimenti: 4"),
        QStringLiteral("  "),
    };
    EXPECT_EQ(testi(e), attese);
    // Only the movement lines stand for a movement; note lines are not counted.
    EXPECT_EQ(numeri(e), (std::vector<int>{0, 1, 4, 2, 0, 0, 3, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(e.elencati, 4);
    EXPECT_DOUBLE_EQ(e.saldo, 2414.0);
    EXPECT_DOUBLE_EQ(e.nonElencati, 0.0);

    // The list-order table: rows 0 to count + 1, the first and last blank.
    const auto& ordinati = stato().TabellaMovimentiOrdinati;
    ASSERT_EQ(ordinati.size(), 6u);
    EXPECT_EQ(ordinati[0], Movimento{});
    EXPECT_EQ(ordinati[5], Movimento{});
    EXPECT_EQ(ordinati[2].numero, 4);
    EXPECT_EQ(ordinati[4].descrizione, QStringLiteral("prelievo bancomat"));
}

TEST_F(PeriodListTest, OneCausaleLeavesTheOthersInTheCarriedSum) {
    carica();
    // The combo shows the description padded to its 25 characters.
    const ElencoPeriodo e =
        ElencaMovimentiPerPeriodo(QStringLiteral("01/11/2026"), QStringLiteral("10/11/2026"),
                                  QStringLiteral("Prelievo                 "))
            .valore;
    const std::vector<QString> attese = {
        kRiporto,
        QStringLiteral("10/11/2026  12/11/2026 ") + QStringLiteral("         200,00") + sp(11) +
            QStringLiteral("         800,00") + QStringLiteral("  Prelievo   ") +
            QStringLiteral("prelievo bancomat") + sp(13),
        kTrattini,
        QStringLiteral("Riporto saldo movimenti non elencati ") + sp(12) +
            QStringLiteral("       1.614,00") + QStringLiteral("  = Euro 1.614,00"),
        kTrattini,
        QStringLiteral("Saldo Contabile         ") + sp(27) + QStringLiteral("     2.414,00") +
            QStringLiteral("  = Euro 2.414,00"),
        sp(68) + QStringLiteral("nr. movimenti: 1"),
        QStringLiteral("  "),
    };
    EXPECT_EQ(testi(e), attese);
    EXPECT_EQ(e.elencati, 1);
    EXPECT_DOUBLE_EQ(e.nonElencati, 1614.0);

    // The cheque causale brings its notes along.
    const ElencoPeriodo assegni =
        ElencaMovimentiPerPeriodo(QStringLiteral("01/11/2026"), QStringLiteral("10/11/2026"),
                                  QStringLiteral("Assegno"))
            .valore;
    ASSERT_GE(assegni.righe.size(), 4u);
    EXPECT_EQ(assegni.righe[2].testo, kNota1);
    EXPECT_EQ(assegni.righe[3].testo, kNota2);
    EXPECT_EQ(assegni.elencati, 1);
}

TEST_F(PeriodListTest, ASubRangeCarriesTheMovementsOutsideIt) {
    stato().FattoreValuta = 2.0;
    carica();
    const ElencoPeriodo e =
        ElencaMovimentiPerPeriodo(QStringLiteral("02/11/2026"), QStringLiteral("05/11/2026"),
                                  QStringLiteral(" TUTTE"))
            .valore;
    // In the display currency (rate 2); the Euro figures of the closing lines are not
    // converted.
    const std::vector<QString> attese = {
        QStringLiteral("31/10/2026") + sp(24) + QStringLiteral("       2.000,00") +
            QStringLiteral("       2.000,00  Riporto Chiusura precedente"),
        QStringLiteral("02/11/2026  02/11/2026") + sp(12) + QStringLiteral("       2.469,00") +
            QStringLiteral("       4.469,00") + QStringLiteral("  Versamento  B7 bonifico") +
            sp(22),
        QStringLiteral("05/11/2026  06/11/2026 ") + QStringLiteral("         241,00") + sp(11) +
            QStringLiteral("       4.228,00") + QStringLiteral("  Assegno  1234 idraulico") +
            sp(21),
        kNota1,
        kNota2,
        kTrattini,
        QStringLiteral("Riporto saldo movimenti non elencati ") + sp(12) +
            QStringLiteral("         600,00") + QStringLiteral("  = Euro 300,00"),
        kTrattini,
        QStringLiteral("Saldo Contabile         ") + sp(27) + QStringLiteral("     4.828,00") +
            QStringLiteral("  = Euro 2.414,00"),
        sp(68) + QStringLiteral("nr. movimenti: 2"),
        QStringLiteral("  "),
    };
    EXPECT_EQ(testi(e), attese);
    EXPECT_DOUBLE_EQ(e.nonElencati, 300.0);
    EXPECT_DOUBLE_EQ(e.saldo, 2114.0);
}

TEST_F(PeriodListTest, CarryForwardColumnsAndAZeroBookBalance) {
    // An account never closed and without movements: a blank date, zero in the debit
    // column, and the book balance of 0 shown as "0,00", not as a bare separator.
    QFile::remove(file(".RIP"));
    writeBytes(file(".MOR"), le16(0));
    carica();
    const ElencoPeriodo vuoto = ElencaMovimentiPerPeriodo({}, {}, QStringLiteral(" TUTTE")).valore;
    ASSERT_EQ(vuoto.righe.size(), 7u);
    EXPECT_EQ(vuoto.righe[0].testo, sp(22) + QStringLiteral("            0,00") + sp(11) +
                                        QStringLiteral("           0,00") +
                                        QStringLiteral("  Riporto Chiusura precedente"));
    EXPECT_EQ(vuoto.righe[2].testo, QStringLiteral("Riporto saldo movimenti non elencati ") +
                                        sp(12) + QStringLiteral("           0,00") +
                                        QStringLiteral("  = Euro 0,00"));
    EXPECT_EQ(vuoto.righe[4].testo, QStringLiteral("Saldo Contabile         ") + sp(27) +
                                        QStringLiteral("         0,00") +
                                        QStringLiteral("  = Euro 0,00"));
    EXPECT_EQ(vuoto.righe[5].testo, sp(68) + QStringLiteral("nr. movimenti: 0"));

    // A negative carry-forward goes into the debit column, with its sign.
    Riporto negativo{QStringLiteral("30/06/2026"), -250.0};
    const ElencoPeriodo e = componiElencoPeriodo({}, negativo, {}, {}, TutteLeCausali);
    EXPECT_EQ(e.righe[0].testo, QStringLiteral("30/06/2026") + sp(12) + QStringLiteral(" ") +
                                    QStringLiteral("        -250,00") + sp(11) +
                                    QStringLiteral("        -250,00") +
                                    QStringLiteral("  Riporto Chiusura precedente"));
}

TEST_F(PeriodListTest, AnOddFlagIsOutgoingAndAnUnknownCausaleShowsNoDescription) {
    Movimento strano;
    strano.numero = 1;
    strano.dataOperazione = QStringLiteral("01/11/2026");
    strano.dataValuta = QStringLiteral("01/11/2026");
    strano.codiceCausale = QStringLiteral("ZZ");
    strano.importo = 10;
    strano.entrataUscita = QStringLiteral("X");
    const ElencoPeriodo e = componiElencoPeriodo(
        {strano}, Riporto{QStringLiteral("31/10/2026"), 100.0}, {}, {}, TutteLeCausali);
    EXPECT_EQ(e.righe[1].testo, QStringLiteral("01/11/2026  01/11/2026 ") +
                                    QStringLiteral("          10,00") + sp(11) +
                                    QStringLiteral("          90,00") + QStringLiteral("    ") +
                                    QStringLiteral(" ") + sp(30));
    // A filter text that is no causale's description lists nothing.
    const ElencoPeriodo nessuno = componiElencoPeriodo(
        {strano}, Riporto{QStringLiteral("31/10/2026"), 100.0}, {}, {}, QStringLiteral("Boh"));
    EXPECT_EQ(nessuno.elencati, 0);
    EXPECT_DOUBLE_EQ(nessuno.nonElencati, -10.0);
}

TEST_F(PeriodListTest, TheFilterChoicesFollowTheCausaliLists) {
    const std::vector<QString> voci = vociFiltroCausale();
    ASSERT_EQ(voci.size(), 4u);
    EXPECT_EQ(voci[0], QStringLiteral(" TUTTE"));
    // Sorted as the causali lists are, by their code lines: AS, PR, VE.
    EXPECT_EQ(voci[1], QStringLiteral("Assegno                  "));
    EXPECT_EQ(voci[2], QStringLiteral("Prelievo                 "));
    EXPECT_EQ(voci[3], QStringLiteral("Versamento               "));
    EXPECT_EQ(codiceFiltroCausale(QStringLiteral(" TUTTE   ")), std::nullopt);
    EXPECT_EQ(codiceFiltroCausale(voci[3]), QStringLiteral("VE"));
    EXPECT_EQ(codiceFiltroCausale(QStringLiteral("nessuna")), QString());
}

TEST_F(PeriodListTest, TheFormListsTheWholeAccountAndFollowsItsControls) {
    carica();
    Form11& f = formHost().form<Form11>();
    formHost().show(f);
    EXPECT_EQ(stato().Form11Aperta, 1);
    EXPECT_EQ(f.DataOper->testo(), QStringLiteral("01/11/2026"));
    EXPECT_EQ(f.DataFinale->testo(), QStringLiteral("10/11/2026"));
    ASSERT_EQ(f.Combo1->count(), 4);
    EXPECT_EQ(f.Combo1->currentText(), QStringLiteral(" TUTTE"));
    ASSERT_EQ(f.List1->count(), 13);
    EXPECT_EQ(f.List1->text(0), kRiporto);
    EXPECT_EQ(f.List1->text(6), kMov3);
    EXPECT_EQ(f.List1->data(6), 3);
    EXPECT_EQ(f.List1->data(4), 0);
    EXPECT_TRUE(f.PulStampe->isEnabled());

    // A narrower period through "Conferma", the whole range back through "Tutti".
    f.DataOper->setTesto(QStringLiteral("05/11/2026"));
    f.OK->click();
    EXPECT_EQ(f.List1->text(f.List1->count() - 2), sp(68) + QStringLiteral("nr. movimenti: 2"));
    f.Combo1->setCurrentIndex(3); // Versamento
    f.Tutti->click();
    EXPECT_EQ(f.DataOper->testo(), QStringLiteral("01/11/2026"));
    EXPECT_EQ(f.Combo1->currentIndex(), 3);
    EXPECT_EQ(f.List1->text(f.List1->count() - 2), sp(68) + QStringLiteral("nr. movimenti: 2"));
    EXPECT_TRUE(messages.shown().empty());

    f.Esc->click();
    EXPECT_EQ(stato().Form11Aperta, 0);
    EXPECT_EQ(formHost().loaded<Form11>(), nullptr);
}

TEST_F(PeriodListTest, AnImpossibleDateIsRefusedAndTheListStaysAsItWas) {
    carica();
    Form11& f = formHost().form<Form11>();
    formHost().show(f);
    QApplication::setActiveWindow(f.window());
    f.DataOper->setTesto(QStringLiteral("05/11/2026"));
    f.OK->click();
    const QStringList prima = listLines(f.List1);
    ASSERT_EQ(prima.at(prima.size() - 2), sp(68) + QStringLiteral("nr. movimenti: 2"));

    // "Dal 31/02/2026" typed over the start date from its first digit, Tab to the end
    // date, and Enter twice.
    QTest::mouseClick(f.DataOper, Qt::LeftButton, {}, QPoint(2, f.DataOper->height() / 2));
    QTest::keyClicks(f.DataOper, QStringLiteral("31022026"));
    QTest::keyClick(f.DataOper, Qt::Key_Tab);
    ASSERT_TRUE(f.DataFinale->hasFocus());
    QTest::keyClick(f.DataFinale, Qt::Key_Return);
    ASSERT_TRUE(f.OK->hasFocus());
    QTest::keyClick(f.OK, Qt::Key_Return);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, testoDataErrataBreve());
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Errore"));
    EXPECT_EQ(listLines(f.List1), prima);
    EXPECT_TRUE(f.DataOper->hasFocus());
    EXPECT_EQ(f.DataOper->testo(), QStringLiteral("31/02/2026"));

    // A half-typed end date the same; a rebuild from elsewhere keeps the period listed.
    f.DataOper->setTesto(QStringLiteral("01/11/2026"));
    f.DataFinale->setTesto(QStringLiteral("1_/11/____"));
    f.OK->click();
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(listLines(f.List1), prima);
    ElencaMovimentiPerPeriodo();
    EXPECT_EQ(listLines(f.List1), prima);
}

TEST_F(PeriodListTest, ClosingTheAccountClosesTheListAndAMovementChangeRelistsIt) {
    carica();
    Form11& f = formHost().form<Form11>();
    formHost().show(f);
    // Another window changes a movement: the list is rebuilt when it is used again.
    stato().TabellaMovimenti[3].descrizione = QStringLiteral("cambiato");
    writeBytes(file(".Ord"), movimentoBytes(kMovimenti[0]) + movimentoBytes(kMovimenti[3]) +
                                 movimentoBytes(kMovimenti[1]) +
                                 movimentoBytes({3, "10/11/2026", "12/11/2026", "PR", 200.0, "",
                                                 "cambiato", "N", "U", "N"}));
    EXPECT_FALSE(f.elencoAggiornato());
    f.Form_Activate();
    EXPECT_TRUE(f.elencoAggiornato());
    EXPECT_TRUE(f.List1->text(6).endsWith(QStringLiteral("cambiato") + sp(22)));

    ChiudiConto();
    EXPECT_EQ(formHost().loaded<Form11>(), nullptr);
    EXPECT_EQ(stato().Form11Aperta, 0);
}

TEST_F(PeriodListTest, AListOrderThatCannotBeReadIsToldAndTheListStillShown) {
    carica();
    ASSERT_TRUE(QFile::remove(file(".Ord")));
    ASSERT_TRUE(QDir().mkdir(file(".Ord")));
    const QString motivo = QStringLiteral("Impossibile leggere il file %1: ")
                               .arg(QDir::toNativeSeparators(file(".Ord")));

    // The procedure: failed, with the reason, and the lines of blank rows beside it.
    const EsitoCon<ElencoPeriodo> e = ElencaMovimentiPerPeriodo({}, {}, QStringLiteral(" TUTTE"));
    EXPECT_TRUE(e.esito.fallito());
    EXPECT_TRUE(e.esito.testo.startsWith(motivo)) << e.esito.testo.toStdString();
    EXPECT_EQ(e.valore.righe.front().testo, kRiporto);
    EXPECT_EQ(e.valore.righe.back().testo, QStringLiteral("  "));

    // The window: the list is shown, then the reason in the file error box.
    Form11& f = formHost().form<Form11>();
    formHost().show(f);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith(motivo));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ERRORE"));
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(listLines(f.List1).first(), kRiporto);
}

// Started as the user starts it: the November account as "55", opened at start-up with
// the movement form showing it.
class PeriodListFromTheEntryForm : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeNovemberAccount(dataFolder());
        const QDir cartella(dataFolder());
        for (const QString& nome : cartella.entryList({QStringLiteral("CC1.*")}, QDir::Files))
            ASSERT_TRUE(QFile::rename(cartella.filePath(nome),
                                      cartella.filePath(QStringLiteral("55") + nome.mid(3))));
        avvia({{"55", "BANCA"}}, "55");
        entrata = formHost().loaded<Form9>();
        ASSERT_NE(entrata, nullptr);
    }

    // Types a date into one of the entry form's fields, from its first position.
    static void scrivi(DateField* campo, const QString& cifre) {
        campo->setTesto(QString());
        QTest::mouseClick(campo, Qt::LeftButton, {}, QPoint(2, campo->height() / 2));
        QTest::keyClicks(campo, cifre);
    }

    Form9* entrata = nullptr;
};

TEST_F(PeriodListFromTheEntryForm, OpensOnTheRangeTheEntryFormLists) {
    ASSERT_EQ(entrata->DataInizSel->testo(), QStringLiteral("01/11/2026"));
    scrivi(entrata->DataInizSel, QStringLiteral("05112026"));
    scrivi(entrata->DataFineSel, QStringLiteral("06112026"));
    ASSERT_EQ(entrata->DataFineSel->testo(), QStringLiteral("06/11/2026"));

    window->Vista->click();
    Form11* elenco = formHost().loaded<Form11>();
    ASSERT_NE(elenco, nullptr);
    EXPECT_EQ(elenco->DataOper->testo(), QStringLiteral("05/11/2026"));
    EXPECT_EQ(elenco->DataFinale->testo(), QStringLiteral("06/11/2026"));
    // Only the cheque of 05/11 is listed; "Tutti" still gives the whole account.
    QStringList righe = listLines(elenco->List1);
    EXPECT_EQ(righe.at(righe.size() - 2), sp(68) + QStringLiteral("nr. movimenti: 1"));
    elenco->Tutti->click();
    EXPECT_EQ(elenco->DataOper->testo(), QStringLiteral("01/11/2026"));
    EXPECT_EQ(elenco->DataFinale->testo(), QStringLiteral("10/11/2026"));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(PeriodListFromTheEntryForm, ABoundTheEntryFormLeavesEmptyIsTheFirstOrLastDate) {
    scrivi(entrata->DataInizSel, QStringLiteral("02112026"));
    entrata->DataFineSel->setTesto(QString());

    window->VisMovimenti->trigger();
    Form11* elenco = formHost().loaded<Form11>();
    ASSERT_NE(elenco, nullptr);
    EXPECT_EQ(elenco->DataOper->testo(), QStringLiteral("02/11/2026"));
    EXPECT_EQ(elenco->DataFinale->testo(), QStringLiteral("10/11/2026"));
    const QStringList righe = listLines(elenco->List1);
    EXPECT_EQ(righe.at(righe.size() - 2), sp(68) + QStringLiteral("nr. movimenti: 3"));
}

} // namespace
} // namespace qv
