// The movement entry form as the user drives it: dates typed as day and month, a
// movement typed and confirmed down to its bytes on disk, the refusals that store
// nothing, a modification and its cancel, the active order, and a long run of entries.
#include "common/amounts.h"
#include "common/disk_sync.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "ledger/balances.h"
#include "ledger/entry_form.h"
#include "ledger/period_list_form.h"
#include "ledger/transfer_form.h"
#include "platform/date_check_dialog.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/program_end.h"
#include "support/fixture.h"
#include "support/open_account.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace qv {
namespace {

// Another window of the program, to leave the entry form and come back to it.
class AltraFinestra : public Form {};

Conto conto(qint16 n, const char* codice, const char* banca) {
    Conto c;
    c.numero = n;
    c.codiceConto = QString::fromLatin1(codice);
    c.nomeBanca = QString::fromLatin1(banca);
    return c;
}

Movimento movimento(qint16 n, const char* op, const char* val, const char* caus, double importo,
                    const char* sosp, const char* eu, const char* annullato = "N") {
    Movimento m;
    m.numero = n;
    m.dataOperazione = QString::fromLatin1(op);
    m.dataValuta = QString::fromLatin1(val);
    m.codiceCausale = QString::fromLatin1(caus);
    m.importo = importo;
    m.descrizione = QStringLiteral("mov %1").arg(n);
    m.sospeso = QString::fromLatin1(sosp);
    m.entrataUscita = QString::fromLatin1(eu);
    m.annullato = QString::fromLatin1(annullato);
    return m;
}

class EntryFormTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        test::openTestAccount("C1", "Banca Uno");
        test::setCausali({test::causaleEntry(1, "VS", "Versamento contanti", "N", "E"),
                          test::causaleEntry(2, "PB", "Pagamento bolletta", "S", "U"),
                          test::causaleEntry(3, "GC", "Giroconto", "N", "U"),
                          test::causaleEntry(4, "AS", "Assegno", "S", "U")});
    }

    QString file(const char* ext) const { return dataFolder() + QStringLiteral("C1") + ext; }

    // The account's files hold these movements (the setup, not what is checked).
    void conMovimenti(const std::vector<Movimento>& movimenti) {
        for (const Movimento& m : movimenti)
            ASSERT_TRUE(scriviRecord(file(".MOV"), m.numero, m));
        ASSERT_TRUE(scriviContatore(file(".MOR"), qint16(movimenti.size())));
    }

    Form9& apri() {
        Form9& f = formHost().form<Form9>();
        formHost().show(f);
        QApplication::setActiveWindow(f.window());
        return f;
    }

    // Types a movement the way the user does: four digits per date, the causale and
    // Enter, the amount and Enter, document and description each with Enter, and
    // Enter on "Conferma".
    void digita(Form9& f, const QString& op, const QString& val, const QString& causale,
                const QString& importo, const QString& doc = {}, const QString& descr = {}) {
        f.DataOper->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(f.DataOper, op);
        QTest::keyClicks(f.DataValuta, val);
        QTest::keyClicks(f.Causale, causale);
        QTest::keyClick(f.Causale, Qt::Key_Return);
        QTest::keyClicks(f.IMPORTO, importo);
        QTest::keyClick(f.IMPORTO, Qt::Key_Return);
        QTest::keyClicks(f.NrDoc, doc);
        QTest::keyClick(f.NrDoc, Qt::Key_Return);
        QTest::keyClicks(f.DescMovim, descr);
        QTest::keyClick(f.DescMovim, Qt::Key_Return);
        QTest::keyClick(f.OK, Qt::Key_Return);
    }

    void doppioClic(ListBox* lista, int riga) {
        lista->setCurrentRow(riga);
        const QRect r = lista->visualRect(lista->model()->index(riga, 0));
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, r.center());
    }

    int rigaDel(ListBox* lista, int numero) {
        for (int i = 0; i < lista->count(); ++i)
            if (lista->data(i) == numero) return i;
        return -1;
    }

    // Leaves the form for another window and comes back: the activation reloads.
    void esciERientra(Form9& f) {
        auto& altra = formHost().form<AltraFinestra>();
        formHost().show(altra);
        formHost().activate(f);
    }
};

TEST_F(EntryFormTest, FourDigitsCompleteTheDateWithThisYearAndMoveOn) {
    Form9& f = apri();
    f.DataOper->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(f.DataOper, QStringLiteral("0105"));
    EXPECT_EQ(f.DataOper->testo(), QStringLiteral("01/05/2026"));
    EXPECT_TRUE(f.DataValuta->hasFocus());
    QTest::keyClicks(f.DataValuta, QStringLiteral("3112"));
    EXPECT_EQ(f.DataValuta->testo(), QStringLiteral("31/12/2026"));
    EXPECT_TRUE(f.Causale->hasFocus());

    // A new entry: with the amount empty, Enter moves nothing and counts as a key.
    f.DataOper->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(f.DataOper, QStringLiteral("02"));
    QTest::keyClick(f.DataOper, Qt::Key_Return);
    EXPECT_TRUE(f.DataOper->hasFocus());
    QTest::keyClicks(f.DataOper, QStringLiteral("0"));
    EXPECT_TRUE(f.DataValuta->hasFocus());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(EntryFormTest, ATypedMovementLandsAsItsRecordAndCount) {
    Form9& f = apri();
    EXPECT_EQ(f.NrOper->text(), QStringLiteral("1"));
    digita(f, QStringLiteral("0105"), QStringLiteral("0205"), QStringLiteral("VS"),
           QStringLiteral("1234,5"), QStringLiteral("A12"), QStringLiteral("Stipendio"));
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join(u'|').toStdString();

    const QByteArray atteso = QByteArray("\x01\x00", 2) + "01/05/2026" + "02/05/2026" + "VS   " +
                              QByteArray("\x00\x00\x00\x00\x00\x4A\x93\x40", 8) + "A12     " +
                              "Stipendio                     " + "N" + "E" + "N";
    ASSERT_EQ(atteso.size(), 76);
    EXPECT_EQ(readBytes(file(".MOV")), atteso);
    EXPECT_EQ(readBytes(file(".MOR")), QByteArray("\x01\x00", 2));
    EXPECT_EQ(readBytes(file(".Ord")), atteso);

    // The entry is cleared for the next one, and the line is in the list.
    EXPECT_TRUE(f.DataOper->isBlank());
    EXPECT_TRUE(f.Causale->text().isEmpty());
    EXPECT_TRUE(f.IMPORTO->text().isEmpty());
    EXPECT_TRUE(f.Sospeso->text().isEmpty());
    EXPECT_EQ(f.NrOper->text(), QStringLiteral("2"));
    ASSERT_EQ(f.ElencoMovim->count(), 1);
    EXPECT_EQ(f.ElencoMovim->data(0), 1);
    EXPECT_EQ(f.ElencoMovim->text(0).mid(31, 4), QStringLiteral("0001"));
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 1234.5);
    EXPECT_DOUBLE_EQ(stato().SaldoNonSospesi, 1234.5);
}

TEST_F(EntryFormTest, AnAmountAtARateOfTwoIsStoredHalved) {
    stato().FattoreValuta = 2.0;
    Form9& f = apri();
    digita(f, QStringLiteral("0105"), QStringLiteral("0105"), QStringLiteral("PB"),
           QStringLiteral("100"));
    const QByteArray mov = readBytes(file(".MOV"));
    ASSERT_EQ(mov.size(), 76);
    EXPECT_EQ(mov.mid(27, 8), QByteArray("\x00\x00\x00\x00\x00\x00\x49\x40", 8)); // 50.0
    // The causale's defaults: suspended, out.
    EXPECT_EQ(mov.mid(73, 3), QByteArray("SUN"));
    // Shown again in the display currency.
    EXPECT_TRUE(f.ElencoMovim->text(0).mid(73, 16).endsWith(QStringLiteral("100,00")));
}

TEST_F(EntryFormTest, EachRefusalShowsItsMessageAndStoresNothing) {
    Form9& f = apri();
    auto tenta = [&](const QString& op, const QString& val, const QString& causale,
                     const QString& importo) {
        messages.clear();
        f.DataOper->setTesto(op);
        f.DataValuta->setTesto(val);
        f.Causale->setText(causale);
        f.IMPORTO->setText(importo);
        f.OK->click();
        return messages.texts();
    };
    const QString oggi = QStringLiteral("09/12/2026");

    EXPECT_EQ(tenta(QString(), oggi, QStringLiteral("VS"), QStringLiteral("10")),
              QStringList{QStringLiteral("Campo data operazione obbligatorio")});
    EXPECT_EQ(messages.shown().front().title, QStringLiteral("ERRORE"));
    EXPECT_TRUE(f.DataOper->hasFocus());
    EXPECT_EQ(tenta(oggi, QString(), QStringLiteral("VS"), QStringLiteral("10")),
              QStringList{QStringLiteral("Campo data Valuta obbligatorio")});
    EXPECT_EQ(tenta(oggi, oggi, QStringLiteral("VS"), QString()).value(0),
              QStringLiteral("Campo Importo obbligatorio"));
    EXPECT_EQ(tenta(QStringLiteral("31/04/2026"), oggi, QStringLiteral("VS"), QStringLiteral("10")),
              QStringList{testoDataErrata()});
    EXPECT_TRUE(f.DataOper->isBlank()); // the wrong date is emptied
    EXPECT_EQ(tenta(oggi, QStringLiteral("30/02/2026"), QStringLiteral("VS"), QStringLiteral("1")),
              QStringList{testoDataErrata()});
    EXPECT_EQ(tenta(oggi, oggi, QStringLiteral("ZZ"), QStringLiteral("10")),
              QStringList{QStringLiteral("CODICE CAUSALE NON PRESENTE!")});
    EXPECT_TRUE(f.Causale->hasFocus());
    EXPECT_EQ(tenta(oggi, oggi, QStringLiteral("VS"), QStringLiteral("12a")),
              QStringList{amountErrorMessage()});
    EXPECT_EQ(tenta(oggi, oggi, QStringLiteral("VS"), QStringLiteral("-5")),
              QStringList{amountErrorMessage()});
    // A rate that cannot be used refuses the save instead of dividing by it.
    stato().FattoreValuta = 0.0;
    EXPECT_EQ(tenta(oggi, oggi, QStringLiteral("VS"), QStringLiteral("5")).size(), 1);

    EXPECT_FALSE(QFile::exists(file(".MOV")));
    EXPECT_EQ(leggiContatore(file(".MOR")), 0);
    EXPECT_EQ(stato().NumeroMovimenti, 0);
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 0.0);
}

TEST_F(EntryFormTest, AnUnknownCausaleIsToldWhenTheAmountIsEntered) {
    Form9& f = apri();
    f.Causale->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(f.Causale, QStringLiteral("vs")); // letter case counts
    QTest::keyClick(f.Causale, Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("CODICE CAUSALE NON PRESENTE!")});
    EXPECT_TRUE(f.Causale->text().isEmpty());
    EXPECT_TRUE(f.Causale->hasFocus());
}

// The cheque actions of the entry form, registered for one test and taken away after it.
struct AzioniPerIlTest {
    explicit AzioniPerIlTest(Form9::AzioniAssegni azioni) {
        Form9::impostaAzioniAssegni(std::move(azioni));
    }
    ~AzioniPerIlTest() { Form9::impostaAzioniAssegni({}); }
};

// A modal window of the cheque side, as "Gestione carnet" opens one.
class FinestraModale : public Form {};

TEST_F(EntryFormTest, TheCausaleLookupRunsAgainAfterItsMessageOrAModalWindow) {
    int assegni = 0;
    Form9::AzioniAssegni cheque;
    cheque.apriAssegno = [&] { ++assegni; };
    cheque.gestioneCarnet = [] { formHost().showModal(formHost().form<FinestraModale>()); };
    const AzioniPerIlTest azioni(cheque);
    Form9& f = apri();
    // The modal window takes the keyboard while it is up and is left with "Uscita".
    formHost().setModalHook([](Form& modale) {
        QApplication::setActiveWindow(&modale);
        formHost().unload(modale);
    });
    auto scrivi = [&](const QString& causale) {
        QTest::mouseClick(f.DataOper, Qt::LeftButton);
        QTest::keyClicks(f.DataOper, QStringLiteral("0112"));
        QTest::keyClicks(f.DataValuta, QStringLiteral("0112"));
        QTest::keyClicks(f.Causale, causale);
        QTest::keyClick(f.Causale, Qt::Key_Return);
    };

    // An unknown code: the message, and the focus back on the causale.
    scrivi(QStringLiteral("ZZ"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("CODICE CAUSALE NON PRESENTE!")});
    EXPECT_TRUE(f.Causale->hasFocus());
    // The entry typed again after the message: "AS" is looked up and opens the cheque.
    scrivi(QStringLiteral("AS"));
    EXPECT_EQ(f.DescrCausale->text(), QStringLiteral("Assegno"));
    EXPECT_EQ(f.D_A->text(), QStringLiteral("U"));
    EXPECT_GE(assegni, 1);
    EXPECT_TRUE(f.IMPORTO->hasFocus());

    // "Gestione carnet" and its "Uscita", then a new entry: the lookup runs again.
    f.pulisci->click();
    f.BottCarnet->click();
    EXPECT_EQ(formHost().loaded<FinestraModale>(), nullptr);
    scrivi(QStringLiteral("VS"));
    EXPECT_EQ(f.DescrCausale->text(), QStringLiteral("Versamento contanti"));
    EXPECT_EQ(f.Sospeso->text(), QStringLiteral("N"));
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_F(EntryFormTest, AFullDescriptionStaysAndRefusesTheKeysPastItsEnd) {
    int beeps = 0;
    setBeepHook([&] { ++beeps; });
    Form9& f = apri();
    f.DataOper->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(f.DataOper, QStringLiteral("0112"));
    QTest::keyClicks(f.DataValuta, QStringLiteral("0112"));
    QTest::keyClicks(f.Causale, QStringLiteral("VS"));
    QTest::keyClick(f.Causale, Qt::Key_Return);
    QTest::keyClicks(f.IMPORTO, QStringLiteral("10"));
    QTest::keyClick(f.IMPORTO, Qt::Key_Return);
    QTest::keyClick(f.NrDoc, Qt::Key_Return);
    ASSERT_TRUE(f.DescMovim->hasFocus());

    // Thirty characters fill the description; the rest, a blank first, goes nowhere.
    const QString trenta = QStringLiteral("Pagamento fattura nr. 12345678");
    ASSERT_EQ(trenta.size(), 30);
    QTest::keyClicks(f.DescMovim, trenta + QStringLiteral(" del mese"));
    EXPECT_EQ(f.DescMovim->text(), trenta);
    EXPECT_TRUE(f.DescMovim->hasFocus());
    EXPECT_EQ(beeps, 9);
    EXPECT_FALSE(QFile::exists(file(".MOR")));
    EXPECT_EQ(f.IMPORTO->text(), QStringLiteral("10,00"));

    // Enter moves on as usual, and Enter on "Conferma" stores the movement whole.
    QTest::keyClick(f.DescMovim, Qt::Key_Return);
    ASSERT_TRUE(f.OK->hasFocus());
    QTest::keyClick(f.OK, Qt::Key_Return);
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(readBytes(file(".MOR")), QByteArray("\x01\x00", 2));
    EXPECT_EQ(readBytes(file(".MOV")).mid(43, 30), trenta.toLatin1());
}

TEST_F(EntryFormTest, ANewEntryTakesTheSuspendedDefaultOfItsCausale) {
    Form9& f = apri();
    f.Causale->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(f.Causale, QStringLiteral("VS"));
    QTest::keyClick(f.Causale, Qt::Key_Return);
    EXPECT_EQ(f.Sospeso->text(), QStringLiteral("N"));
    EXPECT_EQ(f.DescrCausale->text(), QStringLiteral("Versamento contanti"));
    // Another causale chosen for the same new entry: its own default, not the "N".
    f.Causale->setFocus(Qt::TabFocusReason);
    f.Causale->clear();
    QTest::keyClicks(f.Causale, QStringLiteral("PB"));
    QTest::keyClick(f.Causale, Qt::Key_Return);
    EXPECT_EQ(f.Sospeso->text(), QStringLiteral("S"));
    EXPECT_EQ(f.D_A->text(), QStringLiteral("U"));
}

TEST_F(EntryFormTest, ATransferWithOneAccountIsStoredWithTheCausaleDirection) {
    bool dialogo = false;
    formHost().setModalHook([&](Form&) { dialogo = true; });
    Form9& f = apri();
    digita(f, QStringLiteral("0112"), QStringLiteral("0112"), QStringLiteral("GC"),
           QStringLiteral("70"));
    EXPECT_FALSE(dialogo);
    EXPECT_EQ(readBytes(file(".MOV")).mid(74, 1), QByteArray("U"));
}

TEST_F(EntryFormTest, ATransferNotMadeStoresNothingAndClearsTheEntry) {
    auto& s = stato();
    s.TabellaConti.push_back(conto(2, "C2", "Banca Due"));
    s.NumeroConti = 2;
    bool dialogo = false;
    formHost().setModalHook([&](Form& d) {
        dialogo = true;
        auto* g = qobject_cast<Giroconto*>(&d);
        ASSERT_NE(g, nullptr);
        g->Command3D1->click();
    });
    Form9& f = apri();
    digita(f, QStringLiteral("0112"), QStringLiteral("0112"), QStringLiteral("GC"),
           QStringLiteral("70"), QString(), QStringLiteral("verso C2"));
    EXPECT_TRUE(dialogo);
    EXPECT_EQ(leggiContatore(file(".MOR")), 0);
    EXPECT_EQ(s.NumeroMovimenti, 0);
    EXPECT_TRUE(f.Causale->text().isEmpty());
    EXPECT_EQ(f.ElencoMovim->count(), 0);
    EXPECT_FALSE(QFile::exists(dataFolder() + QStringLiteral("C2.MOV")));
}

TEST_F(EntryFormTest, AModificationIsWrittenInPlaceAndItsCancelPutsTheBalancesBack) {
    conMovimenti({movimento(1, "01/12/2026", "01/12/2026", "VS", 500, "N", "E"),
                  movimento(2, "02/12/2026", "02/12/2026", "PB", 80, "S", "U", "S"),
                  movimento(3, "03/12/2026", "03/12/2026", "VS", 20, "N", "E")});
    Form9& f = apri();
    auto& s = stato();
    ASSERT_EQ(f.ElencoMovim->count(), 3);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 440.0);
    const QByteArray prima = readBytes(file(".MOV"));

    // Loaded and given up: balances and files as they were.
    doppioClic(f.ElencoMovim, rigaDel(f.ElencoMovim, 2));
    EXPECT_EQ(f.movimentoInModifica(), 2);
    EXPECT_EQ(s.IndiceMovimentoScelto, 0); // the form keeps its own
    EXPECT_EQ(f.NrOper->text(), QStringLiteral("2"));
    EXPECT_EQ(f.IMPORTO->text(), QStringLiteral("80"));
    EXPECT_EQ(f.Del->text(), QStringLiteral("Rec"));
    EXPECT_TRUE(f.Del->isEnabled());
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 520.0);
    f.pulisci->click();
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 440.0);
    EXPECT_DOUBLE_EQ(s.SaldoNonSospesi, 520.0);
    EXPECT_EQ(f.movimentoInModifica(), 0);
    EXPECT_FALSE(f.Del->isEnabled());
    EXPECT_EQ(f.Del->text(), QStringLiteral("Del"));
    EXPECT_EQ(readBytes(file(".MOV")), prima);

    // Loaded, left for another window (the account reloads) and confirmed changed:
    // counted once, with its new values.
    doppioClic(f.ElencoMovim, rigaDel(f.ElencoMovim, 2));
    esciERientra(f);
    EXPECT_EQ(f.movimentoInModifica(), 2);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 520.0);
    f.IMPORTO->setText(QStringLiteral("100"));
    f.OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(leggiContatore(file(".MOR")), 3);
    const QByteArray dopo = readBytes(file(".MOV"));
    ASSERT_EQ(dopo.size(), 3 * 76);
    EXPECT_EQ(dopo.left(76), prima.left(76));
    EXPECT_EQ(dopo.mid(76, 2), QByteArray("\x02\x00", 2));
    EXPECT_EQ(dopo.mid(76 + 27, 8), QByteArray("\x00\x00\x00\x00\x00\x00\x59\x40", 8)); // 100
    // Kept suspended, still out; no longer cancelled.
    EXPECT_EQ(dopo.mid(76 + 73, 3), QByteArray("SUN"));
    EXPECT_EQ(dopo.mid(152), prima.mid(152));
    EXPECT_DOUBLE_EQ(s.SaldoContabile, 420.0);
    EXPECT_EQ(f.movimentoInModifica(), 0);

    // The balances match the ones computed afresh from the files.
    const double contabile = s.SaldoContabile;
    esciERientra(f);
    EXPECT_DOUBLE_EQ(s.SaldoContabile, contabile);
}

// The display currency changed while a movement is held, or an amount typed: the figure
// is shown in the new currency, and confirming it keeps the amount it stood for.
TEST_F(EntryFormTest, AFigureHeldAcrossADisplayCurrencyChangeKeepsItsAmount) {
    conMovimenti({movimento(1, "01/12/2026", "01/12/2026", "VS", 500, "N", "E"),
                  movimento(2, "02/12/2026", "02/12/2026", "PB", 250.5, "S", "U")});
    Form9& f = apri();
    const QByteArray prima = readBytes(file(".MOV"));
    doppioClic(f.ElencoMovim, rigaDel(f.ElencoMovim, 2));
    ASSERT_EQ(f.movimentoInModifica(), 2);
    EXPECT_EQ(f.IMPORTO->text(), QStringLiteral("250,5"));

    stato().FattoreValuta = 1936.27; // Lire chosen in the main window
    f.valutaCambiata(1.0);
    EXPECT_EQ(f.IMPORTO->text(), QStringLiteral("485035,635"));
    f.OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(readBytes(file(".MOV")), prima); // 250,50 Euro, not 250,50 Lire

    // A new amount typed in Lire and the Euro chosen before confirming: 1.000 Lire.
    f.IMPORTO->setText(QStringLiteral("1936,27"));
    stato().FattoreValuta = 1.0;
    f.valutaCambiata(1936.27);
    EXPECT_EQ(f.IMPORTO->text(), QStringLiteral("1"));
}

TEST_F(EntryFormTest, AMovementHeldForChangeGoesBackWhenTheFormLetsItGo) {
    conMovimenti({movimento(1, "01/12/2026", "01/12/2026", "VS", 500, "N", "E"),
                  movimento(2, "02/12/2026", "02/12/2026", "PB", 80, "S", "U")});
    Form9* f = &apri();
    const QByteArray totali = readBytes(file(".TOT"));
    ASSERT_EQ(totali.size(), 72);

    // Loaded for change, then "Uscita": ".TOT" counts the movement again at once.
    doppioClic(f->ElencoMovim, rigaDel(f->ElencoMovim, 2));
    ASSERT_EQ(f->movimentoInModifica(), 2);
    EXPECT_NE(readBytes(file(".TOT")), totali);
    f->Esc->click();
    EXPECT_EQ(readBytes(file(".TOT")), totali);
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 420.0);
    EXPECT_EQ(f->movimentoInModifica(), 0);
    EXPECT_TRUE(f->Causale->text().isEmpty());
    EXPECT_FALSE(f->Del->isEnabled());

    // Shown again, a movement loaded, and the program ends: the same.
    f = &apri();
    doppioClic(f->ElencoMovim, rigaDel(f->ElencoMovim, 1));
    EXPECT_NE(readBytes(file(".TOT")), totali);
    setEndProgramHook([] {});
    endProgram();
    EXPECT_EQ(readBytes(file(".TOT")), totali);
    EXPECT_EQ(formHost().loaded<Form9>(), nullptr);
    resetProgramEnd();
    EXPECT_EQ(readBytes(file(".MOV")).size(), 2 * 76);
}

TEST_F(EntryFormTest, AnAlignedMovementKeepsItsNOverTheCausaleDefault) {
    conMovimenti({movimento(1, "01/12/2026", "01/12/2026", "VS", 500, "N", "E")});
    Form9& f = apri();
    doppioClic(f.ElencoMovim, 0);
    f.Causale->setFocus(Qt::TabFocusReason);
    f.Causale->setText(QStringLiteral("PB")); // suspended by default
    QTest::keyClick(f.Causale, Qt::Key_Return);
    EXPECT_EQ(f.Sospeso->text(), QStringLiteral("N"));
    EXPECT_EQ(f.D_A->text(), QStringLiteral("U"));
    f.OK->click();
    EXPECT_EQ(readBytes(file(".MOV")).mid(73, 2), QByteArray("NU"));
}

TEST_F(EntryFormTest, EveryRelistAndSavedLineFollowsTheActiveOrder) {
    conMovimenti({movimento(1, "01/12/2026", "05/12/2026", "VS", 10, "N", "E"),
                  movimento(2, "02/12/2026", "03/12/2026", "VS", 20, "N", "E")});
    Form9& f = apri();
    EXPECT_FALSE(f.Command1->isEnabled());
    EXPECT_TRUE(f.ElencoMovim->isVisible());

    f.Command2->click();
    EXPECT_EQ(f.ordineAttivo(), Form9::Ordine::Valuta);
    EXPECT_FALSE(f.Command2->isEnabled());
    EXPECT_TRUE(f.Command1->isEnabled());
    EXPECT_TRUE(f.elencoValuta->isVisible());
    EXPECT_FALSE(f.ElencoMovim->isVisible());
    EXPECT_EQ(f.Label25->text(), QStringLiteral("Elenco Movimenti per data Valuta"));
    ASSERT_EQ(f.elencoValuta->count(), 2);
    EXPECT_EQ(f.elencoValuta->data(0), 2);
    EXPECT_EQ(f.DataInizSel->testo(), QStringLiteral("03/12/2026"));

    // The activation relists in the order in force.
    esciERientra(f);
    EXPECT_TRUE(f.elencoValuta->isVisible());
    EXPECT_EQ(f.ordineAttivo(), Form9::Ordine::Valuta);

    // A saved line goes to the list that shows, at its place by value date.
    digita(f, QStringLiteral("0312"), QStringLiteral("0412"), QStringLiteral("VS"),
           QStringLiteral("5"));
    ASSERT_EQ(f.elencoValuta->count(), 3);
    EXPECT_EQ(f.elencoValuta->data(1), 3);
    EXPECT_TRUE(f.elencoValuta->isVisible());

    // A modification relists the same order.
    doppioClic(f.elencoValuta, 0);
    f.OK->click();
    EXPECT_EQ(f.ordineAttivo(), Form9::Ordine::Valuta);
    EXPECT_TRUE(f.elencoValuta->isVisible());
    EXPECT_EQ(f.elencoValuta->count(), 3);

    // The range filter, then "Tutti".
    f.DataInizSel->setTesto(QStringLiteral("04/12/2026"));
    f.DataFineSel->setTesto(QStringLiteral("31/12/2026"));
    f.Ag->click();
    ASSERT_EQ(f.elencoValuta->count(), 2);
    EXPECT_EQ(f.elencoValuta->data(0), 3);
    f.Command3->click();
    EXPECT_EQ(f.elencoValuta->count(), 3);

    f.Command1->click();
    EXPECT_TRUE(f.ElencoMovim->isVisible());
    EXPECT_EQ(f.Label25->text(), QStringLiteral("Elenco Movimenti per data Operazione"));
    ASSERT_EQ(f.ElencoMovim->count(), 3);
    EXPECT_EQ(f.ElencoMovim->data(2), 3);
}

// A causale made while the entry form shows its list (the causali window is open beside
// it) names the movement saved with it in the list line, as the causali now stand.
TEST_F(EntryFormTest, AMovementWithACausaleMadeMeanwhileShowsItsDescriptionInTheList) {
    conMovimenti({movimento(1, "01/12/2026", "05/12/2026", "VS", 10, "N", "E")});
    Form9& f = apri();
    ASSERT_EQ(f.ElencoMovim->count(), 1);
    test::setCausali({test::causaleEntry(1, "VS", "Versamento contanti", "N", "E"),
                      test::causaleEntry(2, "PB", "Pagamento bolletta", "S", "U"),
                      test::causaleEntry(3, "GC", "Giroconto", "N", "U"),
                      test::causaleEntry(4, "AS", "Assegno", "S", "U"),
                      test::causaleEntry(5, "VE", "Versamento assegni", "N", "E")});
    digita(f, QStringLiteral("0212"), QStringLiteral("0212"), QStringLiteral("VE"),
           QStringLiteral("100"));
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join(u'|').toStdString();
    ASSERT_EQ(f.ElencoMovim->count(), 2);
    EXPECT_EQ(f.ElencoMovim->data(1), 2);
    EXPECT_EQ(f.ElencoMovim->text(1).mid(36, 20), QStringLiteral("Versamento assegni  "));
    EXPECT_EQ(f.ElencoMovim->text(0).mid(36, 20), QStringLiteral("Versamento contanti "));
}

// Coming back to the entry form reads the account again only when it changed: its
// files (written by the program or by anyone else) or the movements in memory; the
// period list, when open, is built again only when what it shows changed.
TEST_F(EntryFormTest, ComingBackWithNothingChangedReadsNoFile) {
    conMovimenti({movimento(1, "01/12/2026", "05/12/2026", "VS", 10, "N", "E"),
                  movimento(2, "02/12/2026", "03/12/2026", "VS", 20, "N", "E")});
    Form9& f = apri();
    Form11& periodo = formHost().form<Form11>();
    formHost().show(periodo);
    periodo.DataFinale->setTesto(QStringLiteral("31/12/2026"));
    periodo.OK->click();
    QStringList letti;
    setReadObserver([&](const QString& path) { letti << QFileInfo(path).fileName(); });
    struct Fine {
        ~Fine() { setReadObserver({}); }
    } fine;
    auto rientra = [&] {
        letti.clear();
        esciERientra(f);
        return letti;
    };

    EXPECT_EQ(rientra(), QStringList()) << "nothing changed";
    EXPECT_EQ(f.ElencoMovim->count(), 2);
    EXPECT_EQ(stato().SaldoContabile, 30.0);

    // A movement typed here: the form has it already; the period list reads ".Ord" once.
    digita(f, QStringLiteral("0312"), QStringLiteral("0312"), QStringLiteral("VS"),
           QStringLiteral("5"));
    ASSERT_EQ(stato().NumeroMovimenti, 3);
    EXPECT_EQ(rientra(), QStringList{QStringLiteral("C1.Ord")}) << "the period list is out of date";
    EXPECT_EQ(periodo.elencoMostrato().elencati, 3);
    EXPECT_EQ(rientra(), QStringList()) << "nothing changed since";
    EXPECT_EQ(f.ElencoMovim->count(), 3);
    EXPECT_EQ(stato().SaldoContabile, 35.0);

    // The files changed by someone else: the account is read again and shown as it is.
    conMovimenti({movimento(1, "01/12/2026", "05/12/2026", "VS", 10, "N", "E"),
                  movimento(2, "02/12/2026", "03/12/2026", "VS", 20, "N", "E"),
                  movimento(3, "03/12/2026", "03/12/2026", "VS", 5, "N", "E"),
                  movimento(4, "04/12/2026", "04/12/2026", "VS", 100, "N", "E")});
    EXPECT_TRUE(rientra().contains(QStringLiteral("C1.MOV")));
    EXPECT_EQ(f.ElencoMovim->count(), 4);
    EXPECT_EQ(f.ElencoMovim->data(3), 4);
    EXPECT_EQ(stato().SaldoContabile, 135.0);
    EXPECT_EQ(periodo.elencoMostrato().elencati, 4);
    EXPECT_EQ(rientra(), QStringList());
}

TEST_F(EntryFormTest, SixHundredMovementsTypedInARowAreAllStored) {
    Form9& f = apri();
    for (int i = 1; i <= 600; ++i) {
        f.DataOper->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(f.DataOper, QStringLiteral("0112"));
        QTest::keyClicks(f.DataValuta, QStringLiteral("0212"));
        f.Causale->setText(QStringLiteral("VS"));
        f.IMPORTO->setText(QString::number(i));
        f.OK->click();
        ASSERT_EQ(stato().NumeroMovimenti, i) << messages.texts().join(u'|').toStdString();
    }
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(leggiContatore(file(".MOR")), 600);
    const QByteArray mov = readBytes(file(".MOV"));
    ASSERT_EQ(mov.size(), 600 * 76);
    EXPECT_EQ(mov.mid(599 * 76, 2), QByteArray("\x58\x02", 2)); // movement 600
    EXPECT_EQ(f.ElencoMovim->count(), 600);
    EXPECT_EQ(readBytes(file(".Ord")).size(), 600 * 76);
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 600.0 * 601.0 / 2.0);
}

TEST_F(EntryFormTest, OpenFlagFollowsShowingAndUnloading) {
    Form9& f = apri();
    EXPECT_EQ(stato().Form9Aperta, 1);
    f.Esc->click();
    EXPECT_EQ(stato().Form9Aperta, 0);
    EXPECT_NE(formHost().loaded<Form9>(), nullptr); // hidden, not unloaded
    Form9& g = apri();
    EXPECT_EQ(stato().Form9Aperta, 1);
    formHost().unload(g);
    EXPECT_EQ(stato().Form9Aperta, 0);
}

TEST_F(EntryFormTest, TheListsTakeTheUserColours) {
    stato().ColoriElenchi.coloriPredefiniti = QStringLiteral("N");
    stato().ColoriElenchi.coloreCarattere = 255;          // red
    stato().ColoriElenchi.coloreSfondo = 65536.0 * 255.0; // blue
    Form9& f = apri();
    EXPECT_EQ(f.ElencoMovim->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(f.elencoValuta->palette().color(QPalette::Base), QColor(0, 0, 255));
}

} // namespace
} // namespace qv
