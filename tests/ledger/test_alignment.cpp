// Aligning suspended movements with the bank statement: the list, loading a movement
// out of the balances, confirming it as aligned (with the cheque leaf and book of a
// cheque movement), giving it up, and what happens when the account is closed or a
// file cannot be used.
#include "archives/causale_picker_form.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/account_loader.h"
#include "ledger/alignment.h"
#include "ledger/alignment_form.h"
#include "ledger/balances.h"
#include "ledger/open_account.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/list_box.h"
#include "shell/main_window.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/faults.h"
#include "support/fixture.h"
#include "support/open_account.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace qv {
namespace {

using namespace test;

struct Foglio {
    qint16 movimento;
    qint32 assegno;
    const char* allineato;
    double importo;
    const char* note;
};

// A leaf of book 1, issued on 03/12/2026 to Rossi Mario when it has an amount.
QByteArray foglio(qint16 riga, const Foglio& f) {
    return foglioBytes({f.movimento, riga, 1, f.assegno, f.importo ? "03/12/2026" : "", f.importo,
                        f.importo ? "Rossi Mario" : "", f.note, f.allineato, " ", "N"});
}

// Book 1 with its count of leaves still to align.
QByteArray carnet(qint16 daAllineare, const char* allineato) {
    return carnetBytes({0, 1, "01/10/2026", 2.5, 1001, 1010, "N", daAllineare, allineato});
}

class AlignmentTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        openTestAccount("AL");
        setCausali({causaleEntry(1, "AS", "ASSEGNO", "S", "U"),
                    causaleEntry(2, "VE", "VERSAMENTO CONTANTI", "S", "E"),
                    causaleEntry(3, "BO", "BONIFICO IN USCITA", "N", "U")});
        window = std::make_unique<MDIForm1>();
        // The forms as top-level windows, as in the other form tests.
        formHost().setMdiArea(nullptr);
    }

    void TearDown() override {
        formHost().resetForTests();
        window.reset();
        ProgramTest::TearDown();
    }

    QString file(const char* ext) const { return dataFolder() + "AL" + ext; }

    // The account: a suspended deposit, a suspended cheque of 120 (cheque 1002, leaf
    // row 2 of book 1) and an aligned transfer out. `altriAllineati` other leaves of
    // the book are aligned already; `fogli` replaces the leaves when given.
    void preparaConto(int altriAllineati = 1, std::vector<Foglio> fogli = {}) {
        movimenti =
            movimentoBytes({1, "01/12/2026", "02/12/2026", "VE", 500, "", "Versamento", "S", "E"}) +
            movimentoBytes(
                {2, "03/12/2026", "04/12/2026", "AS", 120, "1002", "Assegno a Rossi", "S", "U"}) +
            movimentoBytes({3, "05/11/2026", "05/11/2026", "BO", 50, "", "Bonifico", "N", "U"});
        writeBytes(file(".MOV"), movimenti);
        writeBytes(file(".MOR"), le16(3));
        if (fogli.empty()) {
            for (int riga = 1; riga <= 10; ++riga) {
                if (riga == 2) {
                    fogli.push_back({2, 1002, "N", 120, "pagamento affitto"});
                    continue;
                }
                const bool allineato = altriAllineati-- > 0;
                fogli.push_back(
                    {0, 1000 + riga, allineato ? "S" : "N", allineato ? 10.0 : 0.0, ""});
            }
        }
        QByteArray fog;
        for (size_t i = 0; i < fogli.size(); ++i)
            fog += foglio(qint16(i + 1), fogli[i]);
        writeBytes(file(".FOG"), fog);
        writeBytes(file(".NRF"), le16(qint16(fogli.size())));
        writeBytes(file(".CAR"), carnet(9, "N"));
        writeBytes(file(".NRC"), le16(1));
        QString errore;
        ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore)) << errore.toStdString();
    }

    Form4& apri() {
        mostraAllineamento();
        Form4* f = formHost().loaded<Form4>();
        EXPECT_NE(f, nullptr);
        QApplication::setActiveWindow(f->window());
        return *f;
    }

    // A double click as the user makes it: press and release, then the double click.
    void doppioClic(ListBox* lista, int riga) {
        const QRect r = lista->visualRect(lista->model()->index(riga, 0));
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, r.center());
    }

    std::unique_ptr<MDIForm1> window;
    QByteArray movimenti;
};

TEST_F(AlignmentTest, ASuspendedMovementIsAlignedIntoTheAlignedBalance) {
    preparaConto();
    auto& s = stato();
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 330);
    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, -50);

    Form4& f = apri();
    EXPECT_EQ(f.caption(), QStringLiteral("Allineamento Conto"));
    ASSERT_EQ(f.ElencoMovim->count(), 2);
    EXPECT_EQ(f.ElencoMovim->text(0),
              QStringLiteral("01/12/2026 02/12/2026 0001 VERSAMENTO CONTANTI    E          "
                             "           500,00"));
    EXPECT_EQ(f.ElencoMovim->text(1),
              QStringLiteral("03/12/2026 04/12/2026 0002 ASSEGNO                U  1002    "
                             "           120,00"));

    doppioClic(f.ElencoMovim, 0);
    EXPECT_EQ(f.movimentoCaricato(), 1);
    EXPECT_EQ(f.NrOper->text(), QStringLiteral("1"));
    EXPECT_EQ(f.DataOper->testo(), QStringLiteral("01/12/2026"));
    EXPECT_EQ(f.DataValuta->testo(), QStringLiteral("02/12/2026"));
    EXPECT_EQ(f.Causale->text(), QStringLiteral("VE"));
    EXPECT_EQ(f.DescrCausale->text(), QStringLiteral("VERSAMENTO CONTANTI"));
    EXPECT_EQ(f.D_A->text(), QStringLiteral("E"));
    EXPECT_EQ(f.IMPORTO->testo(), QStringLiteral("500,00"));
    EXPECT_EQ(f.DescMovim->text(), QStringLiteral("Versamento"));
    EXPECT_FALSE(f.ElencoMovim->isEnabled());
    EXPECT_TRUE(f.pulisci->isEnabled());
    // Out of the balances while it is loaded.
    EXPECT_DOUBLE_EQ(s.SaldoContabile, -170);
    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, -50);

    f.OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join("|").toStdString();
    EXPECT_EQ(
        recordAt(readBytes(file(".MOV")), 1, 76),
        movimentoBytes({1, "01/12/2026", "02/12/2026", "VE", 500, "", "Versamento", "N", "E"}));
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76), recordAt(movimenti, 2, 76));
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 330);
    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, 450);
    EXPECT_DOUBLE_EQ(s.SaldoOperazioneOggi, 330);
    EXPECT_EQ(window->Saldi[0]->text(), QStringLiteral("450,00"));
    EXPECT_EQ(readBytes(file(".TOT")).left(32),
              leDouble(450) + leDouble(330) + leDouble(330) + leDouble(330));
    // The aligned movement left the list; nothing is held any more.
    ASSERT_EQ(f.ElencoMovim->count(), 1);
    EXPECT_EQ(f.ElencoMovim->data(0), 2);
    EXPECT_TRUE(f.ElencoMovim->isEnabled());
    EXPECT_EQ(f.movimentoCaricato(), 0);
    EXPECT_EQ(movimentoTrattenuto(FinestraAllineamento), 0);
    EXPECT_EQ(f.DataOper->testo(), DateField::emptyText());
    EXPECT_TRUE(f.Causale->text().isEmpty());
    EXPECT_EQ(s.IndiceMovimentoScelto, 0);
}

TEST_F(AlignmentTest, OnlyASuspendedMovementIsCalledAndATotalsFileNotWrittenIsTold) {
    preparaConto();
    // No movement, an aligned one, one past the count: refused with nothing to say,
    // nothing held.
    for (const qint16 numero : {qint16(0), qint16(3), qint16(4)}) {
        const EsitoCon<Movimento> r = RichiamaMovimentoDaAllineare(numero);
        EXPECT_TRUE(r.esito.rifiutato()) << numero;
        EXPECT_TRUE(r.esito.testo.isEmpty()) << numero;
        EXPECT_EQ(movimentoTrattenuto(FinestraAllineamento), 0) << numero;
    }
    const EsitoCon<Movimento> richiamato = RichiamaMovimentoDaAllineare(2);
    EXPECT_TRUE(test::senzaAvvisi(richiamato.esito));
    EXPECT_EQ(richiamato.valore.numero, 2);
    EXPECT_EQ(richiamato.valore.descrizione, QStringLiteral("Assegno a Rossi"));
    EXPECT_EQ(movimentoTrattenuto(FinestraAllineamento), 2);
    ASSERT_TRUE(test::riuscito(rinunciaAllineamento()));

    // ".TOT" cannot be written: the movement is loaded all the same, then the reason is
    // told in the file error box.
    ASSERT_TRUE(QFile::remove(file(".TOT")));
    ASSERT_TRUE(QDir().mkdir(file(".TOT")));
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 0);
    EXPECT_EQ(f.movimentoCaricato(), 1);
    EXPECT_EQ(f.DescMovim->text(), QStringLiteral("Versamento"));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QDir::toNativeSeparators(file(".TOT")),
                                                  Qt::CaseInsensitive))
        << messages.shown()[0].text.toStdString();
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ERRORE"));
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);
    ASSERT_TRUE(QDir().rmdir(file(".TOT")));
}

TEST_F(AlignmentTest, AChequeMovementMarksItsLeafAndLowersItsBooksCount) {
    preparaConto(1);
    auto& s = stato();
    Form4& f = apri();
    // Cheque 1002 is out until it is aligned.
    window->AssFuori->setText(QStringLiteral("?"));
    doppioClic(f.ElencoMovim, 1);
    ASSERT_EQ(f.movimentoCaricato(), 2);
    EXPECT_EQ(f.NrDoc->text(), QStringLiteral("1002"));
    // The statement shows 125,50: the amount is corrected.
    f.IMPORTO->clear();
    QTest::keyClicks(f.IMPORTO, QStringLiteral("125,50"));
    f.OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join("|").toStdString();

    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76),
              movimentoBytes({2, "03/12/2026", "04/12/2026", "AS", 125.5, "1002", "Assegno a Rossi",
                              "N", "U"}));
    const QByteArray fog = readBytes(file(".FOG"));
    EXPECT_EQ(recordAt(fog, 2, 91), foglio(2, {2, 1002, "S", 125.5, "pagamento affitto"}));
    EXPECT_EQ(recordAt(fog, 3, 91), foglio(3, {0, 1003, "N", 0, ""}));
    // Two of the book's ten leaves are aligned now.
    EXPECT_EQ(readBytes(file(".CAR")), carnet(8, "N"));
    EXPECT_EQ(s.TabellaFogli[2].allineato, QStringLiteral("S"));
    EXPECT_EQ(s.TabellaCarnet[1].fogliDaAllineare, 8);

    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, -175.5);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 324.5);
    EXPECT_EQ(window->Saldi[0]->text(), QStringLiteral("-175,50"));
    // No cheque is out any more.
    EXPECT_EQ(window->AssFuori->text(), QStringLiteral("0"));
}

TEST_F(AlignmentTest, TheTenthAlignedLeafAlignsTheBook) {
    preparaConto(9);
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 1);
    f.OK->click();
    EXPECT_EQ(readBytes(file(".CAR")), carnet(0, "S"));
    EXPECT_EQ(stato().TabellaCarnet[1].allineato, QStringLiteral("S"));

    CarnetAssegni c;
    c.allineato = QStringLiteral("N");
    EXPECT_EQ(carnetAggiornato(c, 3).fogliDaAllineare, 7);
    EXPECT_EQ(carnetAggiornato(c, 3).allineato, QStringLiteral("N"));
    EXPECT_EQ(carnetAggiornato(c, 11).fogliDaAllineare, 0);
}

TEST_F(AlignmentTest, AStaleLinkDoesNotPickTheWrongLeaf) {
    // Leaf 1002 still names a movement that no longer exists; leaf 1003 names the
    // cheque movement of 1002 by mistake.
    preparaConto(
        0, {{0, 1001, "N", 0, ""}, {7, 1002, "N", 120, "giusto"}, {2, 1003, "N", 80, "sbagliato"}});
    EXPECT_EQ(foglioDelMovimento(stato().TabellaMovimenti[2]), 2);
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 1);
    f.OK->click();
    const QByteArray fog = readBytes(file(".FOG"));
    EXPECT_EQ(recordAt(fog, 2, 91), foglio(2, {2, 1002, "S", 120, "giusto"}));
    EXPECT_EQ(recordAt(fog, 3, 91), foglio(3, {2, 1003, "N", 80, "sbagliato"}));

    // A cheque movement whose number no leaf carries marks nothing.
    Movimento senza = stato().TabellaMovimenti[2];
    senza.numeroDocumento = QStringLiteral("4711");
    EXPECT_EQ(foglioDelMovimento(senza), 0);
}

TEST_F(AlignmentTest, GivingUpAfterAFailedCheckPutsTheBalancesBack) {
    preparaConto();
    auto& s = stato();
    const Saldi prima{s.SaldoContabile, s.SaldoNonSospesi, s.SaldoOperazioneOggi,
                      s.SaldoValutaOggi};
    const QByteArray totPrima = readBytes(file(".TOT"));
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 1);
    f.DataValuta->setTesto(QString());
    f.OK->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Campo data Valuta obbligatorio"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ERRORE"));
    EXPECT_EQ(f.movimentoCaricato(), 2);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, prima.contabile + 120);

    f.pulisci->click();
    EXPECT_DOUBLE_EQ(s.SaldoContabile, prima.contabile);
    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, prima.nonSospesi);
    EXPECT_DOUBLE_EQ(s.SaldoOperazioneOggi, prima.operazioneOggi);
    EXPECT_DOUBLE_EQ(s.SaldoValutaOggi, prima.valutaOggi);
    EXPECT_EQ(readBytes(file(".TOT")), totPrima);
    EXPECT_EQ(readBytes(file(".MOV")), movimenti);
    EXPECT_EQ(f.movimentoCaricato(), 0);
    EXPECT_EQ(movimentoTrattenuto(FinestraAllineamento), 0);
    EXPECT_TRUE(f.ElencoMovim->isEnabled());
    EXPECT_EQ(f.ElencoMovim->currentRow(), -1);
}

TEST_F(AlignmentTest, ADateRetypedFromItsMiddleIsStoredExactlyAsShown) {
    preparaConto();
    int beeps = 0;
    setBeepHook([&] { ++beeps; });
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 0);
    ASSERT_EQ(f.DataOper->testo(), QStringLiteral("01/12/2026"));

    // The cursor put before the last digit and a whole date typed: the digit at the
    // cursor is replaced, and the seven keys that find no place left beep.
    f.DataOper->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(f.DataOper, Qt::Key_End);
    QTest::keyClick(f.DataOper, Qt::Key_Left);
    QTest::keyClicks(f.DataOper, QStringLiteral("31022026"));
    EXPECT_EQ(f.DataOper->testo(), QStringLiteral("01/12/2023"));
    EXPECT_EQ(beeps, 7);

    // A selection is replaced by what is typed: the year, selected from its end.
    QTest::keyClick(f.DataOper, Qt::Key_End);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(f.DataOper, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClicks(f.DataOper, QStringLiteral("2025"));
    EXPECT_EQ(f.DataOper->testo(), QStringLiteral("01/12/2025"));
    EXPECT_EQ(beeps, 7);

    // What is checked and stored is the date shown.
    f.OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 1, 76).mid(2, 10), QByteArray("01/12/2025"));
}

TEST_F(AlignmentTest, ACausaleTypedByHandIsLookedUp) {
    preparaConto();
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 0);
    f.Causale->setText(QStringLiteral("ZZ"));
    f.OK->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("CODICE CAUSALE NON PRESENTE!"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ERRORE"));
    EXPECT_EQ(readBytes(file(".MOV")), movimenti);
    EXPECT_EQ(f.movimentoCaricato(), 1);
    EXPECT_TRUE(f.D_A->text().isEmpty());

    // A causale of the archive brings its description and direction.
    f.Causale->setText(QStringLiteral("BO"));
    f.OK->click();
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(
        recordAt(readBytes(file(".MOV")), 1, 76),
        movimentoBytes({1, "01/12/2026", "02/12/2026", "BO", 500, "", "Versamento", "N", "U"}));
    EXPECT_DOUBLE_EQ(stato().SaldoNonSospesi, -550);
}

TEST_F(AlignmentTest, ThePickerFillsTheAlignmentFields) {
    preparaConto();
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 0);
    formHost().setModalHook([](Form& dialogo) {
        auto* picker = qobject_cast<FORM12*>(&dialogo);
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(stato().ModoElencoCausali, 1);
        for (int i = 0; i < picker->List1->count(); ++i)
            if (picker->List1->text(i).startsWith(QStringLiteral("BO"))) {
                const QRect r = picker->List1->visualRect(picker->List1->model()->index(i, 0));
                QTest::mouseClick(picker->List1->viewport(), Qt::LeftButton, {}, r.center());
                picker->OK->click();
            }
    });
    f.Command3D1->click();
    EXPECT_EQ(f.Causale->text(), QStringLiteral("BO"));
    EXPECT_EQ(f.DescrCausale->text(), QStringLiteral("BONIFICO IN USCITA"));
    EXPECT_EQ(f.D_A->text(), QStringLiteral("U"));
    EXPECT_EQ(stato().ModoElencoCausali, 0);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(AlignmentTest, LeavingTheFormOrClosingTheAccountGivesTheHeldMovementBack) {
    preparaConto();
    const QByteArray totPrima = readBytes(file(".TOT"));
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 0);
    EXPECT_NE(readBytes(file(".TOT")), totPrima);
    // "Uscita" lets the movement go, unchanged, back into the balances and ".TOT".
    f.Esc->click();
    EXPECT_FALSE(f.isShown());
    EXPECT_EQ(movimentoTrattenuto(FinestraAllineamento), 0);
    EXPECT_EQ(readBytes(file(".TOT")), totPrima);
    EXPECT_EQ(f.movimentoCaricato(), 0);
    EXPECT_TRUE(f.DataOper->isBlank());
    EXPECT_TRUE(f.ElencoMovim->isEnabled());

    // Shown again and a movement loaded: closing the account gives it back too.
    mostraAllineamento();
    doppioClic(f.ElencoMovim, 0);
    EXPECT_EQ(movimentoTrattenuto(FinestraAllineamento), 1);
    ChiudiConto();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(formHost().loaded<Form4>(), nullptr);
    EXPECT_EQ(readBytes(file(".TOT")), totPrima);
    EXPECT_EQ(readBytes(file(".MOV")), movimenti);
}

TEST_F(AlignmentTest, AnUnusableLeafFileStopsBeforeTheMovementAndConfirmingAgainFinishes) {
    preparaConto();
    const QByteArray fog = readBytes(file(".FOG"));
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 1);
    ASSERT_TRUE(QFile::remove(file(".FOG")));
    ASSERT_TRUE(QDir().mkdir(file(".FOG")));
    f.OK->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("AL.FOG")));
    EXPECT_TRUE(
        messages.shown()[0].text.endsWith(QStringLiteral("Il movimento non è stato allineato.")));
    EXPECT_EQ(readBytes(file(".MOV")), movimenti);
    EXPECT_EQ(f.movimentoCaricato(), 2);
    EXPECT_FALSE(f.ElencoMovim->isEnabled());

    ASSERT_TRUE(QDir().rmdir(file(".FOG")));
    writeBytes(file(".FOG"), fog);
    f.OK->click();
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(recordAt(readBytes(file(".FOG")), 2, 91),
              foglio(2, {2, 1002, "S", 120, "pagamento affitto"}));
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76).at(73), 'N');
    EXPECT_EQ(f.movimentoCaricato(), 0);
}

// Aligning a cheque movement is one change of ".FOG", ".CAR" and ".MOV": a failure at
// any of its writes, a roll-back that cannot put a file back, a program stopped midway
// all leave the account's files as they were.
TEST_F(AlignmentTest, AChequeAlignmentThatFailsOrStopsMidwayLeavesEveryFileAsItWas) {
    preparaConto();
    const QString cartella = dataFolder();
    const auto iniziali = fileDi(cartella);
    Movimento corretto = stato().TabellaMovimenti[2];
    corretto.importo = 125.5;

    ProvaModifica prova;
    prova.cartella = cartella;
    // While the movement is held ".TOT" holds the balances without it, and every opening
    // rewrites ".TOT" from the movements: the totals are left out of the comparison.
    prova.file = [cartella] {
        auto file = fileDi(cartella);
        file.erase(QStringLiteral("AL.TOT"));
        return file;
    };
    prova.riapri = [] { ApriArchiviConto(); };
    prova.prepara = [cartella, iniziali] {
        rimettiFile(cartella, iniziali);
        ApriArchiviConto();
        ASSERT_TRUE(RichiamaMovimentoDaAllineare(2).ok());
    };
    prova.esegui = [corretto](QString* testo) {
        return test::riuscito(AllineaMovimento(2, corretto), testo);
    };
    EXPECT_EQ(provaModifica(prova), 3);
}

TEST_F(AlignmentTest, AFailedChequeAlignmentKeepsTablesAndBalancesAsTheFilesAre) {
    preparaConto(1);
    auto& s = stato();
    const QByteArray fog = readBytes(file(".FOG"));
    const QByteArray car = readBytes(file(".CAR"));
    Form4& f = apri();
    doppioClic(f.ElencoMovim, 1);
    ASSERT_EQ(f.movimentoCaricato(), 2);
    const Saldi trattenuto{s.SaldoContabile, s.SaldoNonSospesi, s.SaldoOperazioneOggi,
                           s.SaldoValutaOggi};
    const QByteArray tot = readBytes(file(".TOT"));
    f.IMPORTO->clear();
    QTest::keyClicks(f.IMPORTO, QStringLiteral("125,50"));

    // The book's write fails, then the movement's: each time nothing has changed.
    for (const char* ext : {".CAR", ".MOV"}) {
        const QString guasto = QString::fromLatin1(ext);
        impostaGuastoModifiche([guasto](MomentoModifica momento, const QString& percorso) {
            return momento == MomentoModifica::Scrittura && percorso.endsWith(guasto)
                       ? GuastoSimulato::Errore
                       : GuastoSimulato::Nessuno;
        });
        messages.clear();
        f.OK->click();
        impostaGuastoModifiche({});
        ASSERT_EQ(messages.shown().size(), 1u) << ext;
        EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("AL") + guasto)) << ext;
        EXPECT_EQ(readBytes(file(".FOG")), fog) << ext;
        EXPECT_EQ(readBytes(file(".CAR")), car) << ext;
        EXPECT_EQ(readBytes(file(".MOV")), movimenti) << ext;
        EXPECT_EQ(readBytes(file(".TOT")), tot) << ext;
        EXPECT_EQ(s.TabellaFogli[2].allineato, QStringLiteral("N")) << ext;
        EXPECT_DOUBLE_EQ(s.TabellaFogli[2].importo, 120) << ext;
        EXPECT_EQ(s.TabellaCarnet[1].fogliDaAllineare, 9) << ext;
        EXPECT_EQ(s.TabellaMovimenti[2].sospeso, QStringLiteral("S")) << ext;
        EXPECT_DOUBLE_EQ(s.TabellaMovimenti[2].importo, 120) << ext;
        // Still held out of the balances, for another try.
        EXPECT_EQ(f.movimentoCaricato(), 2) << ext;
        EXPECT_EQ(movimentoTrattenuto(FinestraAllineamento), 2) << ext;
        EXPECT_DOUBLE_EQ(s.SaldoContabile, trattenuto.contabile) << ext;
        EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, trattenuto.nonSospesi) << ext;
        EXPECT_FALSE(hasInterruptedChange(dataFolder())) << ext;
    }

    // Confirmed again, everything is written.
    messages.clear();
    f.OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join("|").toStdString();
    EXPECT_EQ(recordAt(readBytes(file(".FOG")), 2, 91),
              foglio(2, {2, 1002, "S", 125.5, "pagamento affitto"}));
    EXPECT_EQ(readBytes(file(".CAR")), carnet(8, "N"));
    EXPECT_EQ(s.TabellaCarnet[1].fogliDaAllineare, 8);
    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, -175.5);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 324.5);
}

TEST_F(AlignmentTest, ListLinesOfUnknownCausaliAndLongNumbers) {
    Movimento m;
    m.numero = 12345;
    m.dataOperazione = QStringLiteral("01/02/2026");
    m.dataValuta = QStringLiteral("03/02/2026");
    m.codiceCausale = QStringLiteral("XX");
    m.importo = 1234567.891;
    m.numeroDocumento = QStringLiteral("A7");
    m.entrataUscita = QStringLiteral("E");
    stato().FormatoImporti = QStringLiteral("#,###,###,##0.00");
    stato().FattoreValuta = 2;
    EXPECT_EQ(lineaMovimentoSospeso(m),
              QStringLiteral("01/02/2026 03/02/2026 12345                        E  A7       "
                             "    2.469.135,78"));
}

} // namespace
} // namespace qv
