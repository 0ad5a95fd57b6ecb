// Deleting a movement from the entry form: the movement file compacted and renumbered,
// its count, the list-order file, the balances and totals, and the cheque leaves and
// books that refer to movements by number.
#include "common/random_file.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/balances.h"
#include "ledger/entry_form.h"
#include "ledger/movement_delete.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "support/account_change.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"
#include "support/open_account.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace qv {
namespace {

using namespace test;

// A movement with the same operation and value date and no document number.
QByteArray movimento(qint16 n, const char* op, const char* caus, double importo, const char* desc,
                     const char* sosp, const char* eu) {
    return movimentoBytes({n, op, op, caus, importo, "", desc, sosp, eu, "N"});
}

// A leaf of book 1: a cheque of 30 dated 03/12/2026 with the note "nota".
QByteArray foglio(qint16 mov, qint16 prog, qint32 assegno, const char* traente) {
    return foglioBytes({mov, prog, 1, assegno, "03/12/2026", 30.0, traente, "nota", "N", " ", "N"});
}

// A book of cheques 1001 to 1010 withdrawn on 01/12/2026, with reserved bytes that are
// not zero.
QByteArray carnet(qint16 mov, qint16 numero) {
    return carnetBytes(
        {mov, numero, "01/12/2026", 1.5, 1001, 1010, "N", 10, "N", QByteArray("\x07\x09", 2)});
}

class DeleteTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        openTestAccount("C1");

        mov_ = movimento(1, "01/12/2026", "VS", 100, "mov 1", "N", "E") +
               movimento(2, "02/12/2026", "PB", 20, "mov 2", "N", "U") +
               movimento(3, "03/12/2026", "AS", 30, "mov 3", "S", "U") +
               movimento(4, "04/12/2026", "CA", 40, "mov 4", "N", "U") +
               movimento(5, "05/12/2026", "AS", 50, "mov 5", "S", "U");
        writeBytes(file(".MOV"), mov_);
        writeBytes(file(".MOR"), le16(5));
        // Leaves of the cheques booked by movements 3 and 5, one not issued, one booked
        // by movement 2; the books' costs booked by movements 4 and 1.
        fog_ = foglio(3, 1, 1001, "Rossi") + foglio(5, 2, 1002, "Bianchi") +
               foglio(0, 3, 1003, "") + foglio(2, 4, 1004, "Verdi");
        writeBytes(file(".FOG"), fog_);
        writeBytes(file(".NRF"), le16(4));
        car_ = carnet(4, 1) + carnet(1, 2);
        writeBytes(file(".CAR"), car_);
        writeBytes(file(".NRC"), le16(2));
    }

    QString file(const char* ext) const { return dataFolder() + QStringLiteral("C1") + ext; }

    Form9& apri() {
        Form9& f = formHost().form<Form9>();
        formHost().show(f);
        QApplication::setActiveWindow(f.window());
        return f;
    }

    void carica(Form9& f, int numero) {
        ListBox* l = f.ElencoMovim;
        for (int i = 0; i < l->count(); ++i)
            if (l->data(i) == numero) {
                l->setCurrentRow(i);
                const QRect r = l->visualRect(l->model()->index(i, 0));
                QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
                QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
                return;
            }
        FAIL() << "movement " << numero << " not listed";
    }

    QByteArray mov_, fog_, car_;
};

TEST_F(DeleteTest, ReferencesFollowTheRenumbering) {
    EXPECT_EQ(riferimentoDopoCancellazione(0, 3), 0);
    EXPECT_EQ(riferimentoDopoCancellazione(2, 3), 2);
    EXPECT_EQ(riferimentoDopoCancellazione(3, 3), 0);
    EXPECT_EQ(riferimentoDopoCancellazione(4, 3), 3);
    EXPECT_EQ(riferimentoDopoCancellazione(32767, 1), 32766);
}

TEST_F(DeleteTest, DeletingCompactsRenumbersAndFixesTheChequeReferences) {
    Form9& f = apri();
    auto& s = stato();
    EXPECT_DOUBLE_EQ(s.SaldoContabile, -40.0);
    // Another window holds movement 5 for its own change.
    ASSERT_TRUE(test::riuscito(trattieniFuoriDaiSaldi(QStringLiteral("Form4"), 5)));

    carica(f, 3);
    EXPECT_TRUE(f.Del->isEnabled());
    f.Del->click();

    ASSERT_EQ(messages.shown().size(), 1u) << messages.texts().join(u'|').toStdString();
    const MessageRecord& domanda = messages.shown().front();
    EXPECT_EQ(domanda.text, QStringLiteral("Attenzione il movimento selezionato verrà cancellato, "
                                           "...Vuoi Continuare?"));
    EXPECT_EQ(domanda.title, QStringLiteral("AVVERTIMENTO!"));
    EXPECT_EQ(domanda.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(domanda.defaultButton, MessageAnswer::Cancel);

    // ".MOV": the former 1, 2, 4, 5 numbered 1 to 4, and nothing after them.
    const QByteArray mov = readBytes(file(".MOV"));
    ASSERT_EQ(mov.size(), 4 * 76);
    const char* descrizioni[] = {"mov 1", "mov 2", "mov 4", "mov 5"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(mov.mid(i * 76, 2), le16(qint16(i + 1))) << i;
        EXPECT_EQ(mov.mid(i * 76 + 43, 30), text(descrizioni[i], 30)) << i;
    }
    EXPECT_EQ(mov.mid(2 * 76 + 2, 74), mov_.mid(3 * 76 + 2, 74)); // the rest of the former 4
    EXPECT_EQ(readBytes(file(".MOR")), QByteArray("\x04\x00", 2));
    // ".Ord": every movement by operation date.
    const QByteArray ord = readBytes(file(".Ord"));
    ASSERT_EQ(ord.size(), 4 * 76);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ord.mid(i * 76, 76), mov.mid(i * 76, 76)) << i;

    // The leaf of the deleted cheque points at no movement, the later one follows its
    // movement, the others stay; every other byte as it was.
    const QByteArray fog = readBytes(file(".FOG"));
    ASSERT_EQ(fog.size(), fog_.size());
    EXPECT_EQ(fog.mid(0, 2), QByteArray("\x00\x00", 2));
    EXPECT_EQ(fog.mid(91, 2), QByteArray("\x04\x00", 2));
    EXPECT_EQ(fog.mid(182, 2), QByteArray("\x00\x00", 2));
    EXPECT_EQ(fog.mid(273, 2), QByteArray("\x02\x00", 2));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(fog.mid(k * 91 + 2, 89), fog_.mid(k * 91 + 2, 89)) << k;
    const QByteArray car = readBytes(file(".CAR"));
    ASSERT_EQ(car.size(), car_.size());
    EXPECT_EQ(car.mid(0, 2), QByteArray("\x03\x00", 2));
    EXPECT_EQ(car.mid(36, 2), QByteArray("\x01\x00", 2));
    EXPECT_EQ(car.mid(2, 34), car_.mid(2, 34));
    EXPECT_EQ(car.mid(38), car_.mid(38));

    // Memory follows the files.
    EXPECT_EQ(s.NumeroMovimenti, 4);
    EXPECT_EQ(s.TabellaMovimenti[3].descrizione, QStringLiteral("mov 4"));
    EXPECT_EQ(s.TabellaMovimenti[3].numero, 3);
    EXPECT_EQ(s.TabellaFogli[1].movimento, 0);
    EXPECT_EQ(s.TabellaFogli[2].movimento, 4);
    EXPECT_EQ(s.TabellaCarnet[1].movimentoCosto, 3);
    EXPECT_EQ(movimentoTrattenuto(QStringLiteral("Form4")), 4);

    // The balances stay without the deleted movement (and without the one held).
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 100.0 - 20.0 - 40.0);
    EXPECT_EQ(readBytes(file(".TOT")).mid(24, 8),
              QByteArray("\x00\x00\x00\x00\x00\x00\x44\x40", 8));

    // The form is empty, the list renumbered.
    EXPECT_FALSE(f.Del->isEnabled());
    EXPECT_EQ(f.Del->text(), QStringLiteral("Del"));
    EXPECT_TRUE(f.DataOper->isBlank());
    EXPECT_EQ(f.movimentoInModifica(), 0);
    ASSERT_EQ(f.ElencoMovim->count(), 4);
    EXPECT_EQ(f.ElencoMovim->data(3), 4);
    EXPECT_EQ(f.ElencoMovim->text(3).mid(31, 4), QStringLiteral("0004"));
}

TEST_F(DeleteTest, TheListShowingBeforeIsTheOneShowingAfter) {
    Form9& f = apri();
    f.Command2->click();
    ListBox* l = f.elencoValuta;
    ASSERT_TRUE(l->isVisible());
    const int riga = 4; // movement 5, the latest value date
    ASSERT_EQ(l->data(riga), 5);
    const QPoint punto = l->visualRect(l->model()->index(riga, 0)).center();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, punto);
    ASSERT_EQ(f.movimentoInModifica(), 5);
    f.Del->click();
    EXPECT_TRUE(f.elencoValuta->isVisible());
    EXPECT_FALSE(f.ElencoMovim->isVisible());
    EXPECT_EQ(f.elencoValuta->count(), 4);
    EXPECT_EQ(f.ordineAttivo(), Form9::Ordine::Valuta);
}

TEST_F(DeleteTest, DecliningLeavesTheAccountAsItWas) {
    Form9& f = apri();
    auto& s = stato();
    carica(f, 2);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, -20.0);
    messages.answer(MessageAnswer::Cancel);
    f.Del->click();
    EXPECT_EQ(readBytes(file(".MOV")), mov_);
    EXPECT_EQ(readBytes(file(".MOR")), le16(5));
    EXPECT_EQ(readBytes(file(".FOG")), fog_);
    EXPECT_EQ(readBytes(file(".CAR")), car_);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, -40.0);
    EXPECT_EQ(f.ElencoMovim->count(), 5);
    EXPECT_FALSE(f.Del->isEnabled());
    EXPECT_TRUE(f.DataOper->isBlank());
    EXPECT_EQ(f.movimentoInModifica(), 0);
}

TEST_F(DeleteTest, DeletingTheOnlyMovementLeavesAnEmptyAccount) {
    writeBytes(file(".MOV"), mov_.left(76));
    writeBytes(file(".MOR"), le16(1));
    Form9& f = apri();
    carica(f, 1);
    f.Del->click();
    EXPECT_EQ(readBytes(file(".MOR")), QByteArray("\x00\x00", 2));
    EXPECT_TRUE(readBytes(file(".MOV")).isEmpty());
    EXPECT_EQ(f.ElencoMovim->count(), 0);
    EXPECT_EQ(stato().NumeroMovimenti, 0);
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 0.0);
    // The cost of book 2 was movement 1.
    EXPECT_EQ(readBytes(file(".CAR")).mid(36, 2), QByteArray("\x00\x00", 2));
}

TEST_F(DeleteTest, AFileThatCannotBeRewrittenStopsTheDeletion) {
    Form9& f = apri();
    // The cheque-book file is unusable: nothing may be deleted.
    QFile::remove(file(".CAR"));
    ASSERT_TRUE(QDir().mkdir(file(".CAR")));
    carica(f, 3);
    f.Del->click();
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("ERRORE"));
    EXPECT_EQ(readBytes(file(".MOV")), mov_);
    EXPECT_EQ(readBytes(file(".MOR")), le16(5));
    EXPECT_EQ(readBytes(file(".FOG")), fog_);
    EXPECT_EQ(stato().NumeroMovimenti, 5);
    // Still loaded, to be deleted again or given back.
    EXPECT_EQ(f.movimentoInModifica(), 3);
    f.pulisci->click();
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, -40.0);
}

// Deleting a movement is one change of the movements, their count and the cheque
// references: a failure at any write, a roll-back that cannot put a file back, a program
// stopped midway leave the account as it was.
TEST_F(DeleteTest, ADeletionThatFailsOrStopsMidwayLeavesEveryFileAsItWas) {
    const test::ProvaModifica prova = test::provaSulContoAperto(
        dataFolder(), [](QString* testo) { return test::riuscito(eliminaMovimento(3), testo); });
    // ".MOV", ".MOR", ".FOG" (a leaf of movement 3) and ".CAR" (the cost of movement 4).
    EXPECT_EQ(test::provaModifica(prova), 4);
}

} // namespace
} // namespace qv
