// Registering, changing and deleting cheque books through the cheque-book form and
// the picker, the links between books, leaves and their movements, and what a refused
// or failed confirmation leaves behind.
#include "books_fixture.h"
#include "ledger/account_loader.h"
#include "support/account_change.h"
#include "support/esito_test.h"

#include "cheques/book_form.h"
#include "cheques/book_list_form.h"
#include "platform/date_check_dialog.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace qv {
namespace {

using namespace test;

class CheckBooksForm : public test::BooksTest {
protected:
    Form3& form() { return formHost().form<Form3>(); }

    // Types a book into the form and presses "Conferma".
    void conferma(const char* data, const char* costo, const char* primo) {
        Form3& f = form();
        f.DataCarnet->setTesto(QString());
        f.DataCarnet->setCursorPosition(0);
        QTest::keyClicks(f.DataCarnet, QString::fromLatin1(data));
        f.CostoCarnet->clear();
        QTest::keyClicks(f.CostoCarnet, QString::fromLatin1(costo));
        f.NrInf->clear();
        QTest::keyClicks(f.NrInf, QString::fromLatin1(primo));
        f.Salva->click();
    }

    // Picks line `linea` of the picker from the form's "Archivio".
    void scegli(int linea) {
        formHost().setModalHook([linea](Form& f) {
            auto& elenco = static_cast<Form14&>(f);
            elenco.List1->setCurrentRow(linea);
            elenco.List1_Click();
            elenco.Command3D2->click();
        });
        form().Visualizza->click();
        formHost().setModalHook({});
    }
};

QByteArray fogliAttesi(qint16 carnet, qint32 primo, int primoProgressivo) {
    QByteArray b;
    for (int i = 0; i < 10; ++i)
        b += foglioBytes({0, qint16(primoProgressivo + i), carnet, primo + i, "00/00/0000", 0, "",
                          "", "N", "S", "N"});
    return b;
}

TEST_F(CheckBooksForm, RegisteringABookWritesBookLeavesCountsAndCostMovement) {
    Form3& f = form();
    EXPECT_EQ(f.NrCarnet->text(), "1");
    EXPECT_EQ(f.NrConto->text(), "CC1");
    EXPECT_EQ(f.banca->text(), "Banca di Prova");

    conferma("09122026", "1,50", "100");
    ASSERT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();

    EXPECT_EQ(readBytes(file(".CAR")), le16(1) + le16(1) + "09/12/2026" + leDouble(1.5) +
                                           le32(100) + le32(109) + "N" + le16(10) + "N" +
                                           QByteArray(2, 0));
    EXPECT_EQ(readBytes(file(".NRC")), le16(1));
    EXPECT_EQ(readBytes(file(".FOG")), fogliAttesi(1, 100, 1));
    EXPECT_EQ(readBytes(file(".NRF")), le16(10));
    EXPECT_EQ(readBytes(file(".MOV")), le16(1) + "09/12/2026" + "09/12/2026" + text("CA", 5) +
                                           leDouble(1.5) + text("1", 8) +
                                           text("Carnet nr. 1-100", 30) + "S" + "U" + "N");
    EXPECT_EQ(readBytes(file(".MOR")), le16(1));

    // The tables follow, the balances count the cost, the form proposes the next book.
    const auto& s = stato();
    EXPECT_EQ(s.NumeroCarnet, 1);
    EXPECT_EQ(s.NumeroFogli, 10);
    EXPECT_EQ(s.NumeroMovimenti, 1);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, -1.5);
    EXPECT_EQ(f.NrCarnet->text(), "2");
    EXPECT_TRUE(f.DataCarnet->isBlank());
    EXPECT_TRUE(f.NrInf->text().isEmpty());
    EXPECT_FALSE(f.Del->isEnabled());

    // The picker's line: number, date, first and last cheque in 11, leaves to align.
    Form14& elenco = formHost().form<Form14>();
    ASSERT_EQ(elenco.List1->count(), 1);
    EXPECT_EQ(elenco.List1->text(0), "0001 09/12/2026         100         109 10");
    EXPECT_EQ(elenco.List1->data(0), 1);

    // A second book goes after the first: book 2, leaves 11 to 20, movement 2.
    conferma("10122026", "0", "200");
    ASSERT_TRUE(messages.shown().empty());
    EXPECT_EQ(readBytes(file(".FOG")).mid(10 * 91), fogliAttesi(2, 200, 11));
    EXPECT_EQ(carnet(2).movimentoCosto, 2);
    EXPECT_EQ(mov(2).descrizione, "Carnet nr. 2-200");
    EXPECT_EQ(mov(2).importo, 0.0);
    EXPECT_EQ(elenco.List1->count(), 2);
    EXPECT_EQ(f.NrCarnet->text(), "3");
}

TEST_F(CheckBooksForm, EnterOnTheFocusedConfermaRegistersTheBook) {
    Form3& f = form();
    formHost().show(f);
    QApplication::setActiveWindow(f.window());
    // The whole book by keyboard: each Enter moves on, the last one presses "Conferma".
    f.DataCarnet->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(f.DataCarnet, "09122026");
    QTest::keyClick(f.DataCarnet, Qt::Key_Return);
    ASSERT_TRUE(f.CostoCarnet->hasFocus());
    QTest::keyClicks(f.CostoCarnet, "150");
    QTest::keyClick(f.CostoCarnet, Qt::Key_Return);
    ASSERT_TRUE(f.NrInf->hasFocus());
    QTest::keyClicks(f.NrInf, "12345678");
    QTest::keyClicks(f.NrInf, "9"); // the number is full: refused, the focus stays
    EXPECT_EQ(f.NrInf->text(), "12345678");
    ASSERT_TRUE(f.NrInf->hasFocus());
    QTest::keyClick(f.NrInf, Qt::Key_Return);
    ASSERT_TRUE(f.Salva->hasFocus());
    EXPECT_EQ(f.NrFinale->text(), "12345687");
    QTest::keyClick(f.Salva, Qt::Key_Return);

    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(readBytes(file(".NRC")), le16(1));
    EXPECT_EQ(stato().NumeroCarnet, 1);
    EXPECT_EQ(carnet(1).primoAssegno, 12345678);
    EXPECT_EQ(readBytes(file(".MOR")), le16(1));
    // The keypad's Enter on a focused button presses it too.
    f.Command3D1->setFocus(Qt::TabFocusReason);
    f.DataCarnet->setTesto(QStringLiteral("01/01/2027"));
    QTest::keyClick(f.Command3D1, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(f.DataCarnet->isBlank());
}

TEST_F(CheckBooksForm, CostIsReadTheItalianWayAfterItsReformatting) {
    Form3& f = form();
    QTest::keyClicks(f.CostoCarnet, "1500,5");
    f.CostoCarnet_LostFocus();
    EXPECT_EQ(f.CostoCarnet->text(), "1.500,50");
    // Letters and points never reach the field.
    f.CostoCarnet->clear();
    QTest::keyClicks(f.CostoCarnet, "1a.2,3,4");
    EXPECT_EQ(f.CostoCarnet->text(), "12,34");

    conferma("01122026", "1.500,50", "300");
    ASSERT_EQ(stato().NumeroCarnet, 1);
    EXPECT_DOUBLE_EQ(carnet(1).costo, 1500.5);
    EXPECT_DOUBLE_EQ(mov(1).importo, 1500.5);

    // In another display currency the cost is stored in Euro.
    stato().FattoreValuta = 2.0;
    conferma("01122026", "3", "400");
    EXPECT_DOUBLE_EQ(carnet(2).costo, 1.5);
}

TEST_F(CheckBooksForm, ABookConfirmedInLireAsShownKeepsItsCostAndItsAlignedMovement) {
    registra("01/12/2026", 1.5, 100);
    // The cost movement is aligned with the bank statement.
    QByteArray movimenti = readBytes(file(".MOV"));
    movimenti[73] = 'N';
    writeBytes(file(".MOV"), movimenti);
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    auto& s = stato();
    s.ImpostazioniCorrenti.numeroDecimali = 0;
    s.FormatoImporti = QStringLiteral("#,###,###,##0");
    s.FattoreValuta = 1936.27;
    const double allineato = s.SaldoNonSospesi;
    ASSERT_DOUBLE_EQ(allineato, -1.5);

    // 1,50 Euro shows as 2.904 Lire; the book is confirmed as shown, a day later.
    scegli(0);
    Form3& f = form();
    EXPECT_EQ(f.CostoCarnet->text(), "2.904");
    f.DataCarnet->setTesto(QString());
    f.DataCarnet->setCursorPosition(0);
    QTest::keyClicks(f.DataCarnet, "02122026");
    f.Salva->click();
    ASSERT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(readBytes(file(".CAR")).mid(4, 18), QByteArray("02/12/2026") + leDouble(1.5));
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 1, 76),
              QByteArray(le16(1) + "02/12/2026" + "02/12/2026" + text("CA", 5) + leDouble(1.5) +
                         text("1", 8) + text("Carnet nr. 1-100", 30) + "NUN"));
    EXPECT_EQ(carnet(1).costo, 1.5);
    EXPECT_EQ(s.SaldoNonSospesi, allineato);

    // A figure typed anew is a cost in Lire.
    scegli(0);
    f.CostoCarnet->clear();
    QTest::keyClicks(f.CostoCarnet, "3000");
    f.Salva->click();
    ASSERT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(carnet(1).costo, 3000 / 1936.27);
    EXPECT_EQ(mov(1).importo, 3000 / 1936.27);
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 1, 76).mid(27, 8), leDouble(3000 / 1936.27));
}

TEST_F(CheckBooksForm, RefusalsWriteNothing) {
    registra("01/12/2026", 1.0, 100);
    const auto prima = cartella();

    // A first number whose ten cheques meet another book's.
    conferma("09122026", "1", "105");
    EXPECT_EQ(messages.texts(), QStringList{"Carnet già esistente"});
    EXPECT_TRUE(form().NrInf->text().isEmpty());
    conferma("09122026", "1", "91");
    conferma("09122026", "1", "100");
    EXPECT_EQ(messages.texts().count("Carnet già esistente"), 3);

    // A last cheque that would not fit the eight-character document number.
    messages.clear();
    conferma("09122026", "1", "99999995");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].contains("8 cifre"));

    // No date, no first number.
    messages.clear();
    conferma("", "1", "500");
    EXPECT_EQ(messages.texts(), QStringList{"Campo Data obbligatorio"});
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);
    messages.clear();
    conferma("09122026", "1", "");
    EXPECT_EQ(messages.texts(), QStringList{"Campo obbligatorio"});

    // A withdrawal date that is no date, or half typed.
    messages.clear();
    conferma("31022026", "1", "500");
    EXPECT_EQ(messages.texts(), QStringList{testoDataErrata()});
    EXPECT_TRUE(form().DataCarnet->isBlank());
    messages.clear();
    conferma("1212", "1", "500");
    EXPECT_EQ(messages.texts(), QStringList{testoDataErrata()});

    EXPECT_EQ(cartella(), prima);
    EXPECT_EQ(stato().NumeroCarnet, 1);
    EXPECT_EQ(stato().NumeroFogli, 10);
    EXPECT_EQ(stato().NumeroMovimenti, 1);
}

TEST_F(CheckBooksForm, FailedLeafWriteStopsBeforeTheCostMovement) {
    registra("01/12/2026", 1.0, 100);
    const QByteArray mov = readBytes(file(".MOV"));
    const QByteArray nrc = readBytes(file(".NRC"));
    // A folder in place of the leaf file: it cannot be written.
    QFile::remove(file(".FOG"));
    ASSERT_TRUE(QDir().mkpath(file(".FOG")));

    conferma("09122026", "2", "200");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "ERRORE");
    EXPECT_TRUE(messages.texts()[0].contains("non è stato registrato"));
    EXPECT_EQ(readBytes(file(".MOV")), mov);
    EXPECT_EQ(readBytes(file(".MOR")), le16(1));
    EXPECT_EQ(readBytes(file(".NRC")), nrc);
    EXPECT_EQ(stato().NumeroCarnet, 1);
    EXPECT_EQ(stato().NumeroMovimenti, 1);
    // What the user typed stays for another try.
    EXPECT_EQ(form().NrInf->text(), "200");
}

TEST_F(CheckBooksForm, FailedCostMovementTakesTheBookBack) {
    registra("01/12/2026", 1.0, 100);
    QFile::remove(file(".MOV"));
    ASSERT_TRUE(QDir().mkpath(file(".MOV")));

    QString errore;
    int riga = -1;
    EXPECT_FALSE(test::riuscito(SalvaNuovoCarnet({"09/12/2026", 2.0, 200}, &riga), &errore));
    EXPECT_EQ(riga, 0);
    EXPECT_TRUE(errore.contains("non è stato registrato"));
    EXPECT_EQ(readBytes(file(".NRC")), le16(1));
    EXPECT_EQ(readBytes(file(".NRF")), le16(10));
    EXPECT_EQ(stato().NumeroCarnet, 1);
    EXPECT_EQ(stato().NumeroFogli, 10);
}

// Two books: book 1 with cheques 1 to 10, book 2 with cheques 100 to 109. Movements:
// 1 "CA" of book 1, 2 "CA" of book 2, 3 "AS" cheque 2 of book 1 (its document number
// is book 2's number), 4 "AS" cheque 101 of book 2, 5 another causale with document
// 105, 6 "AS" cheque 5 of book 1, 7 another causale with document "2".
class DeletingBooks : public CheckBooksForm {
protected:
    void SetUp() override {
        CheckBooksForm::SetUp();
        registra("01/11/2026", 1.0, 1);
        registra("02/11/2026", 2.0, 100);
        emetti(2, 30.0, "Mario");     // movement 3, document "2"
        emetti(12, 40.0, "Luigi");    // movement 4, document "101"
        movimento("PR", "105", 50.0); // movement 5
        emetti(5, 60.0, "Anna");      // movement 6, document "5"
        movimento("PR", "2", 70.0);   // movement 7
        ASSERT_EQ(stato().NumeroMovimenti, 7);
    }

    void eliminaDalForm(int linea) {
        scegli(linea);
        ASSERT_TRUE(form().Del->isEnabled());
        form().Del->click();
    }
};

TEST_F(DeletingBooks, DeletingBookTwoKeepsBookOnesChequesAndOtherMovements) {
    messages.clear();
    eliminaDalForm(1);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text,
              "Attenzione il Carnet selezionato verrà cancellato, ...Vuoi Continuare?");
    EXPECT_EQ(messages.shown()[0].defaultButton, MessageAnswer::Cancel);
    EXPECT_EQ(messages.shown()[1].text, testoConfermaEliminaCarnet());
    EXPECT_EQ(messages.shown()[1].title, "AVVERTIMENTO!");

    // Only book 2's "CA" (2) and its cheque's "AS" (4) are gone.
    const auto& s = stato();
    ASSERT_EQ(s.NumeroMovimenti, 5);
    const QStringList attesi = {"CA 1", "AS 2", "PR 105", "AS 5", "PR 2"};
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(mov(k).numero, k);
        EXPECT_EQ(mov(k).codiceCausale.trimmed() + ' ' + mov(k).numeroDocumento.trimmed(),
                  attesi[k - 1]);
    }
    EXPECT_EQ(readBytes(file(".MOR")), le16(5));
    EXPECT_EQ(readBytes(file(".MOV")).size(), 5 * 76);
    EXPECT_EQ(Movimento::fromBytes(readBytes(file(".MOV")).mid(3 * 76, 76)), mov(4));

    // Book 1 and its leaves remain, linked to the same movements under their new numbers.
    ASSERT_EQ(s.NumeroCarnet, 1);
    ASSERT_EQ(s.NumeroFogli, 10);
    EXPECT_EQ(readBytes(file(".NRC")), le16(1));
    EXPECT_EQ(readBytes(file(".NRF")), le16(10));
    EXPECT_EQ(readBytes(file(".FOG")).size(), 10 * 91);
    EXPECT_EQ(carnet(1).movimentoCosto, 1);
    EXPECT_EQ(foglio(2).movimento, 2);
    EXPECT_EQ(foglio(5).movimento, 4);
    for (int j = 1; j <= 10; ++j) {
        EXPECT_EQ(foglio(j).numeroCarnet, 1);
        EXPECT_EQ(foglio(j).numeroAssegno, j);
        EXPECT_EQ(FoglioAssegno::fromBytes(readBytes(file(".FOG")).mid((j - 1) * 91, 91)),
                  foglio(j));
    }
    EXPECT_EQ(CarnetAssegni::fromBytes(readBytes(file(".CAR")).left(36)), carnet(1));

    // The balances lost the two movements, the form is back to a new book.
    EXPECT_DOUBLE_EQ(s.SaldoContabile, -(1.0 + 30 + 50 + 60 + 70));
    EXPECT_EQ(form().NrCarnet->text(), "2");
    EXPECT_FALSE(form().Del->isEnabled());
    EXPECT_EQ(formHost().form<Form14>().List1->count(), 1);
}

TEST_F(DeletingBooks, DeletingBookOneRenumbersTheLaterBookItsLeavesAndCostMovement) {
    eliminaDalForm(0);
    const auto& s = stato();
    // Gone: "CA" of book 1 (1), "AS" of cheques 2 and 5 (3, 6).
    ASSERT_EQ(s.NumeroMovimenti, 4);
    EXPECT_TRUE(eMovimentoDelCarnet(mov(1), 1));
    EXPECT_EQ(mov(1).descrizione, "Carnet nr. 1-100");
    EXPECT_TRUE(eMovimentoDelFoglio(mov(2), 101));
    EXPECT_EQ(mov(3).numeroDocumento.trimmed(), "105");
    EXPECT_EQ(mov(4).numeroDocumento.trimmed(), "2");

    ASSERT_EQ(s.NumeroCarnet, 1);
    EXPECT_EQ(carnet(1).numeroCarnet, 1);
    EXPECT_EQ(carnet(1).primoAssegno, 100);
    EXPECT_EQ(carnet(1).movimentoCosto, 1);
    ASSERT_EQ(s.NumeroFogli, 10);
    for (int j = 1; j <= 10; ++j) {
        EXPECT_EQ(foglio(j).progressivo, j);
        EXPECT_EQ(foglio(j).numeroCarnet, 1);
        EXPECT_EQ(foglio(j).numeroAssegno, 99 + j);
    }
    EXPECT_EQ(foglio(2).movimento, 2);
    EXPECT_EQ(foglio(1).movimento, 0);
}

TEST_F(DeletingBooks, CancellingEitherQuestionChangesNothing) {
    const auto prima = cartella();
    messages.answer(MessageAnswer::Cancel);
    eliminaDalForm(1);
    messages.answer(MessageAnswer::Ok);
    messages.answer(MessageAnswer::Cancel);
    eliminaDalForm(1);
    EXPECT_EQ(cartella(), prima);
    EXPECT_EQ(stato().NumeroCarnet, 2);
    EXPECT_EQ(stato().NumeroMovimenti, 7);
}

TEST_F(DeletingBooks, ChangingTheFirstNumberRenumbersOnlyThisBooksCheques) {
    scegli(1);
    Form3& f = form();
    EXPECT_EQ(f.NrCarnet->text(), "2");
    EXPECT_EQ(f.NrInf->text(), "100");
    EXPECT_EQ(f.NrFinale->text(), "109");
    EXPECT_EQ(f.CostoCarnet->text(), "2,00");
    EXPECT_EQ(f.DataCarnet->testo(), "02/11/2026");

    // Its own numbers may stay (a changed cost only)...
    f.CostoCarnet->setText("3,00");
    f.Salva->click();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_DOUBLE_EQ(carnet(2).costo, 3.0);
    EXPECT_DOUBLE_EQ(mov(2).importo, 3.0);

    // ...but never meet book 1's.
    scegli(1);
    f.NrInf->setText("5");
    f.Salva->click();
    EXPECT_EQ(messages.texts(), QStringList{"Carnet già esistente"});
    EXPECT_EQ(carnet(2).primoAssegno, 100);

    // 100 becomes 101: the cheques follow once each, no cascade; others stay.
    messages.clear();
    scegli(1);
    f.NrInf->setText("101");
    f.Salva->click();
    ASSERT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(carnet(2).primoAssegno, 101);
    EXPECT_EQ(carnet(2).ultimoAssegno, 110);
    for (int j = 11; j <= 20; ++j)
        EXPECT_EQ(foglio(j).numeroAssegno, 90 + j);
    EXPECT_EQ(foglio(12).movimento, 4);
    EXPECT_EQ(mov(4).numeroDocumento.trimmed(), "102");
    EXPECT_EQ(mov(5).numeroDocumento.trimmed(), "105");
    EXPECT_EQ(mov(3).numeroDocumento.trimmed(), "2");
    EXPECT_EQ(mov(2).descrizione, "Carnet nr. 2-101");
    EXPECT_EQ(Movimento::fromBytes(readBytes(file(".MOV")).mid(3 * 76, 76)), mov(4));
    EXPECT_EQ(FoglioAssegno::fromBytes(readBytes(file(".FOG")).mid(11 * 91, 91)), foglio(12));
    EXPECT_EQ(stato().NumeroMovimenti, 7);
}

TEST_F(DeletingBooks, LinksAreCheckedAndFoundByCausaleAndDocumentNumber) {
    auto& s = stato();
    // Stale links: the leaf names the other causale's movement 7 ("2"), the book
    // names a cheque movement.
    s.TabellaFogli[2].movimento = 7;
    s.TabellaCarnet[2].movimentoCosto = 4;
    EXPECT_EQ(movimentoDelFoglio(2), 3);
    EXPECT_EQ(movimentoDelCarnet(2), 2);
    // A leaf never booked has no movement, whatever carries its number.
    EXPECT_EQ(movimentoDelFoglio(3), 0);
    // A link past the movements is no link.
    s.TabellaFogli[5].movimento = 99;
    EXPECT_EQ(movimentoDelFoglio(5), 6);

    QString errore;
    ASSERT_TRUE(test::riuscito(aggiornaCollegamentiAssegni(), &errore)) << errore.toStdString();
    EXPECT_EQ(foglio(2).movimento, 3);
    EXPECT_EQ(foglio(5).movimento, 6);
    EXPECT_EQ(carnet(2).movimentoCosto, 2);
    EXPECT_EQ(FoglioAssegno::fromBytes(readBytes(file(".FOG")).mid(91, 91)), foglio(2));
    EXPECT_EQ(CarnetAssegni::fromBytes(readBytes(file(".CAR")).mid(36, 36)), carnet(2));

    // A booked leaf whose movement is gone keeps no link.
    s.TabellaMovimenti[6].codiceCausale = QStringLiteral("PR");
    ASSERT_TRUE(test::riuscito(aggiornaCollegamentiAssegni(), &errore));
    EXPECT_EQ(foglio(5).movimento, 0);
}

TEST_F(DeletingBooks, ChangedBookWithoutCostMovementGetsANewOne) {
    // The cost movement of book 1 no longer exists as such.
    stato().TabellaMovimenti[1].codiceCausale = QStringLiteral("PR");
    ASSERT_TRUE(scriviRecord(file(".MOV"), 1, mov(1)));
    QString errore;
    ASSERT_TRUE(test::riuscito(ModificaCarnet(1, {"01/11/2026", 4.0, 1}), &errore))
        << errore.toStdString();
    ASSERT_EQ(stato().NumeroMovimenti, 8);
    EXPECT_EQ(carnet(1).movimentoCosto, 8);
    EXPECT_TRUE(eMovimentoDelCarnet(mov(8), 1));
    EXPECT_DOUBLE_EQ(mov(8).importo, 4.0);
    EXPECT_EQ(mov(1).codiceCausale.trimmed(), "PR");
    EXPECT_EQ(readBytes(file(".MOR")), le16(8));
}

TEST(ChequeBookText, DocumentNumbersAndPickerLines) {
    EXPECT_EQ(valoreDocumento("0105"), 105);
    EXPECT_EQ(valoreDocumento(" 12 "), 12);
    EXPECT_EQ(valoreDocumento(""), -1);
    EXPECT_EQ(valoreDocumento("12A"), -1);
    EXPECT_EQ(documentoAssegno(101), "101");
    EXPECT_EQ(documentoAssegno(1234567890), "34567890");

    CarnetAssegni c;
    c.numeroCarnet = 12;
    c.dataRitiro = "05/11/2000";
    c.primoAssegno = 501;
    c.ultimoAssegno = 510;
    c.fogliDaAllineare = 0;
    EXPECT_EQ(lineaCarnet(c), "0012 05/11/2000         501         510 ");
    c.fogliDaAllineare = 3;
    c.primoAssegno = 2147483600;
    EXPECT_EQ(lineaCarnet(c), "0012 05/11/2000  2147483600         510 3");

    Movimento m;
    m.codiceCausale = "AS";
    m.numeroDocumento = "0105";
    EXPECT_TRUE(eMovimentoDelFoglio(m, 105));
    EXPECT_FALSE(eMovimentoDelCarnet(m, 105));
}

TEST_F(CheckBooksForm, PickerModes) {
    registra("01/12/2026", 1.0, 100);
    registra("02/12/2026", 1.0, 200);
    // Custom list colours are taken when the picker loads: red text on blue.
    stato().ColoriElenchi.coloriPredefiniti = QStringLiteral("N");
    stato().ColoriElenchi.coloreCarattere = 255;
    stato().ColoriElenchi.coloreSfondo = 255 * 65536;
    const QPalette colori = formHost().form<Form14>().List1->palette();
    EXPECT_EQ(colori.color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(colori.color(QPalette::Base), QColor(0, 0, 255));

    // The movement form's archive only looks: a double click changes nothing.
    formHost().setModalHook([](Form& f) {
        auto& elenco = static_cast<Form14&>(f);
        EXPECT_FALSE(elenco.Command3D2->isEnabled());
        elenco.List1->setCurrentRow(0);
        elenco.List1_DblClick();
        EXPECT_TRUE(elenco.isShown());
        elenco.Command3D2->click();
    });
    EXPECT_EQ(mostraElencoCarnet(ElencoPerMovimenti), 0);
    EXPECT_EQ(form().carnetCaricato(), 0);

    // The cheque form gets the row of the book picked.
    formHost().setModalHook([](Form& f) {
        auto& elenco = static_cast<Form14&>(f);
        elenco.List1->setCurrentRow(1);
        elenco.List1_DblClick();
    });
    EXPECT_EQ(mostraElencoCarnet(ElencoPerAssegni), 2);
    EXPECT_EQ(formHost().form<Form14>().modo(), ElencoPerCarnet);
    EXPECT_EQ(form().carnetCaricato(), 0);
    formHost().setModalHook({});

    // Picking for the book form, leaving it and coming back proposes a new book.
    scegli(0);
    EXPECT_EQ(form().carnetCaricato(), 1);
    EXPECT_TRUE(form().Del->isEnabled());
    form().esci->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(form().carnetCaricato(), 0);
    EXPECT_EQ(form().NrCarnet->text(), "3");
}

// Deleting a book is one change of its six files: a failure at any write, a roll-back
// that cannot put a file back, a program stopped midway all leave the account as it was.
TEST_F(DeletingBooks, ADeletionThatFailsOrStopsMidwayLeavesEveryFileAsItWas) {
    const test::ProvaModifica prova = test::provaSulContoAperto(
        dataFolder(), [](QString* testo) { return test::riuscito(eliminaCarnet(2), testo); });
    EXPECT_EQ(test::provaModifica(prova), 6);
}

} // namespace
} // namespace qv
