// The cheque form, the cheque situation and the annulled cheques: issuing a cheque
// with its leaf and "AS" movement, re-confirming it, annulling a zero cheque, the
// refusals that write nothing, the links to movements, and the list lines.
#include "cheques/annulled_form.h"
#include "cheques/book_list_form.h"
#include "cheques/cheque_form.h"
#include "cheques/cheque_lists.h"
#include "cheques/situation_form.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "platform/fields.h"
#include "platform/list_box.h"
#include "shell/main_window.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"
#include "support/open_account.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace qv {
namespace {

using namespace test;

// An outgoing movement with the same operation and value date.
QByteArray movBytes(qint16 numero, const char* data, const char* causale, double importo,
                    const char* doc, const char* desc, const char* sospeso) {
    return movimentoBytes({numero, data, data, causale, importo, doc, desc, sospeso, "U", "N"});
}

// A leaf whose reserved byte is "S".
QByteArray foglio(qint16 movimento, qint16 riga, qint16 carnet, qint32 assegno, const char* data,
                  double importo, const char* traente, const char* note,
                  const char* allineato = "N", const char* annullato = "N") {
    return foglioBytes({movimento, riga, carnet, assegno, data, importo, traente, note, allineato,
                        "S", annullato});
}

// A book of ten cheques from `primo`, costing 1,50, none of them aligned.
QByteArray carnet(qint16 numero, qint16 movimento, const char* data, qint32 primo) {
    return carnetBytes({movimento, numero, data, 1.5, primo, primo + 9, "N", 10, "N"});
}

class ChequeTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        openTestAccount("CQ", "Banca di Prova");
        stato().ImpostazioniCorrenti.numeroDecimali = 2;
        window = std::make_unique<MDIForm1>();
    }

    void TearDown() override {
        formHost().resetForTests();
        window.reset();
        ProgramTest::TearDown();
    }

    QString file(const char* ext) const { return dataFolder() + "CQ" + ext; }

    // Book 1 (cheques 100 to 109, withdrawn 01/12/2026, cost movement 1) with ten blank
    // leaves, plus the leaves given after them; then the account is loaded.
    void preparaConto(const QByteArray& altriFogli = {}, int altri = 0,
                      const QByteArray& altriMovimenti = {}, int movimenti = 0) {
        QByteArray fog;
        for (qint16 k = 1; k <= 10; ++k)
            fog += foglio(0, k, 1, 99 + k, "00/00/0000", 0, "", "");
        writeBytes(file(".FOG"), fog + altriFogli);
        writeBytes(file(".NRF"), le16(qint16(10 + altri)));
        writeBytes(file(".CAR"), carnet(1, 1, "01/12/2026", 100));
        writeBytes(file(".NRC"), le16(1));
        writeBytes(file(".MOV"),
                   movBytes(1, "01/12/2026", "CA", 1.5, "1", "Carnet nr. 1-100", "S") +
                       altriMovimenti);
        writeBytes(file(".MOR"), le16(qint16(1 + movimenti)));
        QString errore;
        ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore)) << errore.toStdString();
        ElencaSituazioneAssegni();
    }

    Form15& apri() {
        mostraFormAssegniNonModale();
        return formHost().form<Form15>();
    }

    static void clic(ListBox* lista, int riga) {
        lista->setCurrentRow(riga);
        const QRect r = lista->visualRect(lista->model()->index(riga, 0));
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
    }

    // Picks line `riga` and types the cheque.
    static void scrivi(Form15& f, int riga, const char* data, const char* importo,
                       const char* traente, const char* note = "") {
        clic(f.List1, riga);
        f.DataAssegno->setTesto(QString());
        f.DataAssegno->setCursorPosition(0);
        QTest::keyClicks(f.DataAssegno, QString::fromLatin1(data));
        f.IMPORTO->clear();
        QTest::keyClicks(f.IMPORTO, QString::fromLatin1(importo));
        f.traente->clear();
        QTest::keyClicks(f.traente, QString::fromLatin1(traente));
        f.NoteAss->clear();
        QTest::keyClicks(f.NoteAss, QString::fromLatin1(note));
    }

    struct Files {
        QByteArray fog, mov, mor, car;
        bool operator==(const Files&) const = default;
    };
    Files files() const {
        return {readBytes(file(".FOG")), readBytes(file(".MOV")), readBytes(file(".MOR")),
                readBytes(file(".CAR"))};
    }

    std::unique_ptr<MDIForm1> window;
};

TEST_F(ChequeTest, IssuingCheque101BooksTheLeafAndItsMovementAndRefreshesTheLists) {
    preparaConto();
    EXPECT_EQ(window->AssFuori->text(), "0");
    EXPECT_EQ(window->AssMano->text(), "10");

    Form15& f = apri();
    EXPECT_EQ(f.NrConto->text(), "CQ");
    EXPECT_EQ(f.banca->text(), "Banca di Prova");
    EXPECT_EQ(f.NrCarnet->text(), "1");
    EXPECT_EQ(f.NrFogliCarnet->text(), "10");
    EXPECT_EQ(f.NrAssegno->text(), "100"); // the first leaf never booked
    ASSERT_EQ(f.List1->count(), 10);
    EXPECT_EQ(f.List1->text(1), "101        00/00/0000           0,00");

    scrivi(f, 1, "05122026", "250", "Mario Rossi", "affitto");
    EXPECT_EQ(f.NrAssegno->text(), "101");
    // The situation window, loaded before, follows the cheque issued.
    Form13* situazione = &formHost().form<Form13>();
    ASSERT_EQ(situazione->List1->count(), 0);
    f.Salva->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();

    EXPECT_EQ(recordAt(readBytes(file(".FOG")), 2, 91),
              foglio(2, 2, 1, 101, "05/12/2026", 250, "Mario Rossi", "affitto"));
    EXPECT_EQ(readBytes(file(".MOR")), le16(2));
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76),
              movBytes(2, "05/12/2026", "AS", 250, "101", "Mario Rossi", "S"));
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, -251.5);

    ASSERT_EQ(formHost().loaded<Form13>(), situazione);
    ASSERT_EQ(situazione->List1->count(), 1);
    EXPECT_EQ(situazione->List1->text(0), "0001 05/12/2026        101        250,00");
    EXPECT_EQ(situazione->List2->count(), 9);
    EXPECT_EQ(situazione->List2->text(0), "0001        100 ");
    EXPECT_EQ(window->AssFuori->text(), "1");
    EXPECT_EQ(window->AssMano->text(), "9");
    EXPECT_EQ(f.List1->text(1), "101        05/12/2026         250,00");
    // The entry starts afresh on the first leaf never booked.
    EXPECT_EQ(f.NrAssegno->text(), "100");
    EXPECT_EQ(f.IMPORTO->text(), "0");

    // The cheque picked again and confirmed again rewrites the same movement, the
    // amount read the Italian way.
    clic(f.List1, 1);
    EXPECT_EQ(f.IMPORTO->text(), "250");
    f.IMPORTO->clear();
    QTest::keyClicks(f.IMPORTO, QStringLiteral("1500,5"));
    f.Salva->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(readBytes(file(".MOR")), le16(2));
    EXPECT_EQ(stato().NumeroMovimenti, 2);
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76),
              movBytes(2, "05/12/2026", "AS", 1500.5, "101", "Mario Rossi", "S"));
    EXPECT_DOUBLE_EQ(stato().TabellaFogli[2].importo, 1500.5);
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, -1502);
    EXPECT_EQ(situazione->List1->text(0), "0001 05/12/2026        101      1.500,50");
}

TEST_F(ChequeTest, ASecondChequeTypedAfterAConfirmationBooksTheNextLeaf) {
    // Leaves 100 to 107 booked already: 108 and 109 are left.
    QByteArray movimenti;
    for (qint16 k = 0; k < 8; ++k)
        movimenti += movBytes(qint16(2 + k), "02/12/2026", "AS", 10,
                              QByteArray::number(100 + k).constData(), "Vecchio", "S");
    preparaConto({}, 0, movimenti, 8);
    QByteArray fog = readBytes(file(".FOG"));
    for (qint16 k = 0; k < 8; ++k)
        fog.replace(
            91 * k, 91,
            foglio(qint16(2 + k), qint16(1 + k), 1, 100 + k, "02/12/2026", 10, "Vecchio", ""));
    writeBytes(file(".FOG"), fog);
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));

    // The form as a window of its own, to take the keyboard.
    formHost().setMdiArea(nullptr);
    Form15& f = apri();
    QApplication::setActiveWindow(f.window());
    // Each cheque by keyboard on the leaf the form proposes, "Conferma" taken with Enter.
    auto digita = [&](const char* data, const char* importo, const char* traente) {
        f.DataAssegno->setFocus(Qt::TabFocusReason);
        f.DataAssegno->setCursorPosition(0);
        QTest::keyClicks(f.DataAssegno, QString::fromLatin1(data));
        f.IMPORTO->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(f.IMPORTO, QString::fromLatin1(importo));
        QTest::keyClick(f.IMPORTO, Qt::Key_Return);
        EXPECT_TRUE(f.traente->hasFocus());
        QTest::keyClicks(f.traente, QString::fromLatin1(traente));
        QTest::keyClick(f.traente, Qt::Key_Return);
        EXPECT_TRUE(f.NoteAss->hasFocus());
        QTest::keyClick(f.NoteAss, Qt::Key_Return);
        EXPECT_TRUE(f.Salva->hasFocus());
        QTest::keyClick(f.Salva, Qt::Key_Return);
    };

    EXPECT_EQ(f.NrAssegno->text(), "108");
    digita("05122026", "250", "Rossi");
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    // The next leaf never booked is proposed, the entry empty.
    EXPECT_EQ(f.NrAssegno->text(), "109");
    EXPECT_EQ(stato().IndiceFoglioScelto, 10);
    EXPECT_EQ(f.foglioSelezionato(), 10);
    EXPECT_EQ(f.List1->currentRow(), 9);
    EXPECT_TRUE(f.DataAssegno->isBlank());
    EXPECT_TRUE(f.traente->text().isEmpty());
    EXPECT_TRUE(f.NoteAss->text().isEmpty());

    digita("06122026", "75", "Bianchi");
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    // Both cheques stand, each with its own movement.
    EXPECT_EQ(readBytes(file(".MOR")), le16(11));
    const QByteArray mov = readBytes(file(".MOV"));
    EXPECT_EQ(recordAt(mov, 10, 76), movBytes(10, "05/12/2026", "AS", 250, "108", "Rossi", "S"));
    EXPECT_EQ(recordAt(mov, 11, 76), movBytes(11, "06/12/2026", "AS", 75, "109", "Bianchi", "S"));
    const QByteArray fogli = readBytes(file(".FOG"));
    EXPECT_EQ(recordAt(fogli, 9, 91), foglio(10, 9, 1, 108, "05/12/2026", 250, "Rossi", ""));
    EXPECT_EQ(recordAt(fogli, 10, 91), foglio(11, 10, 1, 109, "06/12/2026", 75, "Bianchi", ""));

    // Every leaf is booked: none is selected, and a third cheque is refused.
    EXPECT_TRUE(f.NrAssegno->text().isEmpty());
    EXPECT_EQ(f.foglioSelezionato(), 0);
    EXPECT_EQ(f.List1->currentRow(), -1);
    const Files prima = files();
    digita("07122026", "30", "Verdi");
    EXPECT_EQ(messages.texts(),
              QStringList{"Assegno non selezionato, seleziona prima l'assegno con un doppio "
                          "click del mouse dalla lista"});
    EXPECT_TRUE(files() == prima);
    EXPECT_EQ(stato().NumeroMovimenti, 11);
}

TEST_F(ChequeTest, AZeroChequeConfirmedAsAnnulledAppearsAmongTheAnnulledCheques) {
    preparaConto();
    Form15& f = apri();
    scrivi(f, 2, "06122026", "0,00", "Bianchi");
    messages.answer(MessageAnswer::Cancel);
    const Files prima = files();
    f.Salva->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("Attenzione non è stato inserito l'importo dell'assegno, se si "
                             "tratta di un assegno annullato conferma l'inserimento"));
    EXPECT_EQ(messages.shown()[0].title, "AVVERTIMENTO!");
    EXPECT_TRUE(files() == prima);

    messages.clear();
    f.Salva->click(); // OK this time
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(recordAt(readBytes(file(".FOG")), 3, 91),
              foglio(2, 3, 1, 102, "06/12/2026", 0, "Annullato", "", "N", "S"));
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76),
              movBytes(2, "06/12/2026", "AS", 0, "102", "Annullato", "S"));

    Form17* annullati = &formHost().form<Form17>();
    ASSERT_EQ(annullati->List1->count(), 1);
    EXPECT_EQ(annullati->List1->text(0), "0001 06/12/2026        102");
    // Not aligned yet, so still a cheque in hand.
    EXPECT_EQ(window->AssMano->text(), "10");
    EXPECT_EQ(window->AssFuori->text(), "0");
}

TEST_F(ChequeTest, RefusedConfirmationsWriteNothingAndKeepWhatWasTyped) {
    preparaConto();
    Form15& f = apri();
    const Files prima = files();
    auto ultimo = [&] {
        return messages.shown().empty() ? QString() : messages.shown().back().text;
    };

    // No date.
    clic(f.List1, 1);
    f.Salva->click();
    EXPECT_EQ(ultimo(), "Campo data operazione obbligatorio");

    // Dated the day before the book was withdrawn; the amount and payee stay.
    scrivi(f, 1, "30112026", "250", "Mario Rossi");
    f.Salva->click();
    EXPECT_EQ(ultimo(), "Data Movimento precedente rispetto alla data di prelievo del Carnet; "
                        "Correggi i dati e riprova");
    EXPECT_EQ(messages.shown().back().title, "ERRORE");
    EXPECT_TRUE(f.DataAssegno->isBlank());
    EXPECT_EQ(f.traente->text(), "Mario Rossi");
    EXPECT_EQ(f.IMPORTO->text(), "250");

    // An impossible date.
    const auto contati = messages.shown().size();
    f.DataAssegno->setTesto(QStringLiteral("31/02/2026"));
    f.Salva->click();
    EXPECT_EQ(messages.shown().size(), contati + 1);
    EXPECT_TRUE(f.DataAssegno->isBlank());

    // An amount that is not a number.
    f.DataAssegno->setTesto(QStringLiteral("05/12/2026"));
    f.IMPORTO->setText(QStringLiteral("12.34.5"));
    f.Salva->click();
    EXPECT_EQ(messages.shown().size(), contati + 2);
    EXPECT_EQ(f.traente->text(), "Mario Rossi");

    // After a pick in the book archive no cheque is selected.
    formHost().setModalHook([](Form& form) {
        if (auto* elenco = qobject_cast<Form14*>(&form)) {
            elenco->List1->setCurrentRow(0);
            elenco->List1_Click();
            elenco->Command3D2_Click();
        }
    });
    f.Command3D1->click();
    EXPECT_EQ(f.NrCarnet->text(), "1");
    EXPECT_TRUE(f.NrAssegno->text().isEmpty());
    f.DataAssegno->setTesto(QStringLiteral("05/12/2026"));
    f.IMPORTO->setText(QStringLiteral("10"));
    f.Salva->click();
    EXPECT_EQ(ultimo(), "Assegno non selezionato, seleziona prima l'assegno con un doppio click "
                        "del mouse dalla lista");

    // A click that selects no line.
    messages.clear();
    f.List1->setCurrentRow(-1);
    RichiamaFoglioSelezionato();
    EXPECT_EQ(ultimo(), "Assegno non selezionato, seleziona prima l'assegno con un doppio click "
                        "del mouse dalla lista");

    EXPECT_TRUE(files() == prima);
    EXPECT_EQ(stato().NumeroMovimenti, 1);
}

TEST_F(ChequeTest, WithoutChequeBooksTheFormRefusesAndHides) {
    QString errore;
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore)) << errore.toStdString();
    Form15& f = apri();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Nessun Carnet in memoria; devi prima caricare il carnet");
    EXPECT_EQ(messages.shown()[0].title, "ERRORE");
    EXPECT_FALSE(f.isShown());
    EXPECT_FALSE(QFile::exists(file(".FOG")));
    EXPECT_FALSE(QFile::exists(file(".MOV")));
}

TEST_F(ChequeTest, ChequeDatedOnTheWithdrawalDayIsAccepted) {
    preparaConto();
    Form15& f = apri();
    scrivi(f, 0, "01122026", "10", "Verdi");
    f.Salva->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(stato().TabellaFogli[1].movimento, 2);
    EXPECT_EQ(stato().TabellaFogli[1].dataAssegno, "01/12/2026");
}

TEST_F(ChequeTest, ReconfirmingAnAlignedChequeKeepsItsMovementAligned) {
    // Cheque 101 booked by movement 2, already aligned with the bank statement.
    preparaConto();
    QByteArray fog = readBytes(file(".FOG"));
    fog.replace(91, 91, foglio(2, 2, 1, 101, "05/12/2026", 250, "Rossi", "", "S"));
    writeBytes(file(".FOG"), fog);
    writeBytes(file(".MOV"),
               readBytes(file(".MOV")) + movBytes(2, "05/12/2026", "AS", 250, "101", "Rossi", "N"));
    writeBytes(file(".MOR"), le16(2));
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));

    Form15& f = apri();
    scrivi(f, 1, "05122026", "250", "Rossi Mario");
    f.Salva->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(readBytes(file(".MOR")), le16(2));
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76),
              movBytes(2, "05/12/2026", "AS", 250, "101", "Rossi Mario", "N"));
    EXPECT_EQ(stato().TabellaFogli[2].allineato, "S");
}

TEST_F(ChequeTest, ReconfirmingAChequeShownInLireKeepsItsStoredAmount) {
    // Cheque 101 of 250,50 Euro booked by movement 2, shown in Lire: 485.035,64.
    preparaConto();
    QByteArray fog = readBytes(file(".FOG"));
    fog.replace(91, 91, foglio(2, 2, 1, 101, "05/12/2026", 250.5, "Rossi", ""));
    writeBytes(file(".FOG"), fog);
    writeBytes(file(".MOV"), readBytes(file(".MOV")) +
                                 movBytes(2, "05/12/2026", "AS", 250.5, "101", "Rossi", "S"));
    writeBytes(file(".MOR"), le16(2));
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    stato().FattoreValuta = 1936.27;
    stato().FormatoImporti = QStringLiteral("#,###,###,##0.00");

    Form15& f = apri();
    clic(f.List1, 1);
    EXPECT_EQ(f.IMPORTO->text(), "485035,635");
    // The figure as the list and the formatted field show it.
    f.IMPORTO->clear();
    QTest::keyClicks(f.IMPORTO, "485035,64");
    f.Salva->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(recordAt(readBytes(file(".FOG")), 2, 91),
              foglio(2, 2, 1, 101, "05/12/2026", 250.5, "Rossi", ""));
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76),
              movBytes(2, "05/12/2026", "AS", 250.5, "101", "Rossi", "S"));

    // A changed figure is a new amount in Lire.
    clic(f.List1, 1);
    f.IMPORTO->clear();
    QTest::keyClicks(f.IMPORTO, "387254");
    f.Salva->click();
    EXPECT_EQ(stato().TabellaFogli[2].importo, 387254 / 1936.27);
}

TEST_F(ChequeTest, AStaleLinkNeverOverwritesAnUnrelatedMovement) {
    // Leaf 101 names movement 1 (the book's cost), leaf 102 names movement 3 though
    // its "AS" movement is number 2.
    preparaConto({}, 0,
                 movBytes(2, "03/12/2026", "AS", 40, "102", "Neri", "S") +
                     movBytes(3, "04/12/2026", "VE", 99, "102", "Versamento", "S"),
                 2);
    QByteArray fog = readBytes(file(".FOG"));
    fog.replace(91, 91, foglio(1, 2, 1, 101, "02/12/2026", 30, "Gialli", ""));
    fog.replace(182, 91, foglio(3, 3, 1, 102, "03/12/2026", 40, "Neri", ""));
    writeBytes(file(".FOG"), fog);
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    const QByteArray mov = readBytes(file(".MOV"));

    Form15& f = apri();
    scrivi(f, 2, "03122026", "45", "Neri");
    f.Salva->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    QByteArray dopo = readBytes(file(".MOV"));
    EXPECT_EQ(recordAt(dopo, 1, 76), recordAt(mov, 1, 76));
    EXPECT_EQ(recordAt(dopo, 3, 76), recordAt(mov, 3, 76));
    EXPECT_EQ(recordAt(dopo, 2, 76), movBytes(2, "03/12/2026", "AS", 45, "102", "Neri", "S"));
    EXPECT_EQ(stato().TabellaFogli[3].movimento, 2);

    // No "AS" movement of cheque 101 exists: a new one is appended and linked.
    scrivi(f, 1, "02122026", "30", "Gialli");
    f.Salva->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    dopo = readBytes(file(".MOV"));
    EXPECT_EQ(recordAt(dopo, 1, 76), recordAt(mov, 1, 76));
    EXPECT_EQ(readBytes(file(".MOR")), le16(4));
    EXPECT_EQ(recordAt(dopo, 4, 76), movBytes(4, "02/12/2026", "AS", 30, "101", "Gialli", "S"));
    EXPECT_EQ(recordAt(readBytes(file(".FOG")), 2, 91),
              foglio(4, 2, 1, 101, "02/12/2026", 30, "Gialli", ""));
}

TEST_F(ChequeTest, ALongChequeNumberKeepsOneDocumentNumberOnAppendAndRewrite) {
    // A second book from older data, with ten-digit cheque numbers.
    QByteArray fog;
    for (qint16 k = 0; k < 10; ++k)
        fog += foglio(0, qint16(11 + k), 2, 1234567890 + k, "00/00/0000", 0, "", "");
    preparaConto(fog, 10);
    writeBytes(file(".CAR"), readBytes(file(".CAR")) + carnet(2, 0, "01/12/2026", 1234567890));
    writeBytes(file(".NRC"), le16(2));
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));

    Form15& f = apri();
    EXPECT_EQ(f.NrCarnet->text(), "2");
    scrivi(f, 0, "05122026", "5", "Lunghi");
    f.Salva->click();
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76).mid(35, 8), QByteArray("34567890"));
    clic(f.List1, 0);
    f.Salva->click();
    EXPECT_EQ(readBytes(file(".MOR")), le16(2));
    EXPECT_EQ(recordAt(readBytes(file(".MOV")), 2, 76).mid(35, 8), QByteArray("34567890"));
}

TEST_F(ChequeTest, ActivationProposesTheFirstUnbookedLeafOfTheNewestBook) {
    QByteArray altri;
    preparaConto({}, 0, movBytes(2, "02/12/2026", "AS", 10, "100", "A", "S"), 1);
    QByteArray fog = readBytes(file(".FOG"));
    fog.replace(0, 91, foglio(2, 1, 1, 100, "02/12/2026", 10, "A", ""));
    writeBytes(file(".FOG"), fog);
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    Form15& f = apri();
    EXPECT_EQ(f.NrAssegno->text(), "101");
    EXPECT_EQ(stato().IndiceFoglioScelto, 2);
    EXPECT_EQ(f.foglioSelezionato(), 2);
}

TEST_F(ChequeTest, AnotherAccountNeverShowsTheBooksOfThePreviousOne) {
    preparaConto();
    Form15& f = apri();
    clic(f.List1, 3);
    f.Command3D8->click();
    EXPECT_FALSE(f.isShown());

    // Account "AB" has no cheque books at all.
    auto& s = stato();
    s.TabellaConti.push_back(Conto{});
    s.TabellaConti[2].codiceConto = QStringLiteral("AB");
    s.NumeroConti = 2;
    s.IndiceContoAttivo = 2;
    s.CodiceContoAttivo = QStringLiteral("AB");
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto()));
    mostraFormAssegniNonModale();
    EXPECT_EQ(messages.texts(),
              QStringList{"Nessun Carnet in memoria; devi prima caricare il carnet"});
    EXPECT_EQ(f.NrConto->text(), "AB");
    EXPECT_EQ(f.List1->count(), 0);
    EXPECT_TRUE(f.NrAssegno->text().isEmpty());
    EXPECT_EQ(f.foglioSelezionato(), 0);
}

TEST_F(ChequeTest, ListLinesFollowTheirColumns) {
    FoglioAssegno f;
    f.numeroCarnet = 3;
    f.numeroAssegno = 501;
    f.dataAssegno = QStringLiteral("05/11/2000");
    f.importo = 250;
    const QString intero = QStringLiteral("#,###,###,##0");
    EXPECT_EQ(lineaAssegnoFuori(f, 1, intero), "0003 05/11/2000        501           250");
    EXPECT_EQ(lineaAssegnoInMano(f), "0003        501 ");
    EXPECT_EQ(lineaAssegnoAnnullato(f), "0003 05/11/2000        501");
    EXPECT_EQ(lineaFoglioCarnet(f, 1, intero), "501        05/11/2000            250");
    f.numeroCarnet = 12;
    f.numeroAssegno = 1234567890;
    EXPECT_EQ(lineaAssegnoInMano(f), "0012 1234567890 ");
    EXPECT_EQ(lineaFoglioCarnet(f, 1, intero), "1234567890 05/11/2000            250");
    // A display currency multiplies the stored amount.
    f.numeroAssegno = 7;
    EXPECT_EQ(lineaAssegnoFuori(f, 2, intero), "0012 05/11/2000          7           500");
}

TEST_F(ChequeTest, SituationSortsLeavesByAmountAlignmentAndAnnulment) {
    auto& s = stato();
    s.FormatoImporti = QStringLiteral("#,###,###,##0.00");
    s.TabellaFogli.assign(6, FoglioAssegno{});
    s.NumeroFogli = 5;
    const struct {
        double importo;
        const char* allineato;
        const char* annullato;
    } casi[5] = {{0, "N", "N"}, {250, "N", "N"}, {250, "S", "N"}, {0, "N", "S"}, {-5, "N", "N"}};
    for (int k = 1; k <= 5; ++k) {
        FoglioAssegno& f = s.TabellaFogli[size_t(k)];
        f.numeroCarnet = 1;
        f.numeroAssegno = 100 + k;
        f.importo = casi[k - 1].importo;
        f.allineato = QString::fromLatin1(casi[k - 1].allineato);
        f.annullato = QString::fromLatin1(casi[k - 1].annullato);
    }
    const SituazioneAssegni situazione = situazioneAssegni();
    ASSERT_EQ(situazione.fuori.size(), 1u);
    EXPECT_EQ(situazione.fuori[0].foglio, 2);
    ASSERT_EQ(situazione.inMano.size(), 2u);
    EXPECT_EQ(situazione.inMano[0].foglio, 1);
    EXPECT_EQ(situazione.inMano[1].foglio, 4);
    const auto annullati = righeAssegniAnnullati();
    ASSERT_EQ(annullati.size(), 1u);
    EXPECT_EQ(annullati[0].foglio, 4);

    // The counters change even though Form13 was never shown.
    ElencaSituazioneAssegni();
    EXPECT_EQ(window->AssFuori->text(), "1");
    EXPECT_EQ(window->AssMano->text(), "2");
    const Form13* situazioneForm = formHost().loaded<Form13>();
    EXPECT_TRUE(!situazioneForm || !situazioneForm->isShown());
}

TEST_F(ChequeTest, CustomListColoursAreTakenAtLoad) {
    auto& s = stato();
    s.ColoriElenchi.coloriPredefiniti = QStringLiteral("N");
    s.ColoriElenchi.coloreCarattere = 255;        // red
    s.ColoriElenchi.coloreSfondo = 65536.0 * 255; // blue
    Form13& situazione = formHost().form<Form13>();
    const QPalette p = situazione.List2->palette();
    EXPECT_EQ(p.color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(p.color(QPalette::Base), QColor(0, 0, 255));
    EXPECT_EQ(formHost().form<Form17>().List1->palette().color(QPalette::Base), QColor(0, 0, 255));
    EXPECT_EQ(formHost().form<Form15>().List1->palette().color(QPalette::Text), QColor(255, 0, 0));
}

} // namespace
} // namespace qv
