// The transfer between two accounts: the incoming movement written into the other
// account, its totals recomputed, the dialog's choices, and the failures that must
// leave both accounts as they were.
#include "ledger/account_loader.h"
#include "ledger/movement_files.h"
#include "support/account_change.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"

#include "common/random_file.h"
#include "common/shared_state.h"
#include "ledger/entry_form.h"
#include "ledger/transfer.h"
#include "ledger/transfer_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace qv::test {
namespace {

class Transfer : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        auto& s = stato();
        s.TabellaConti.resize(3);
        s.TabellaConti[1].codiceConto = "100";
        s.TabellaConti[1].nomeBanca = "BANCA UNO";
        s.TabellaConti[2].codiceConto = "CONTODODICI";
        s.TabellaConti[2].nomeBanca = "BANCA DUE";
        s.NumeroConti = 2;
        s.CodiceContoAttivo = "100";
        s.IndiceContoAttivo = 1;

        // The other account: one suspended outflow of 250 and a carry-forward of 1000;
        // its ".TOT" holds stale figures.
        writeBytes(file("CONTODODICI.MOV"), existing);
        writeBytes(file("CONTODODICI.MOR"), le16(1));
        writeBytes(file("CONTODODICI.RIP"), text("30/11/2026", 10) + leDouble(1000));
        writeBytes(file("CONTODODICI.TOT"),
                   totaliBytes(1, 2, 3, 4, "01/01/2000", "01/01/2000", "01/01/2000", "01/01/2000"));

        pending.numero = 3;
        pending.dataOperazione = "05/12/2026";
        pending.dataValuta = "10/12/2026";
        pending.codiceCausale = "GC";
        pending.importo = 1000; // typed as "1.000,00"
        pending.numeroDocumento = "12";
        pending.descrizione = "affitto dicembre";
        pending.sospeso = "N";
        pending.entrataUscita = "";
        pending.annullato = "N";
    }

    QString file(const QString& name) const { return dataFolder() + name; }
    QByteArray otherFiles() const {
        QByteArray all;
        for (const char* ext : {".MOV", ".MOR", ".TOT", ".RIP"})
            all += readBytes(file(QStringLiteral("CONTODODICI") + ext)) + '|';
        return all;
    }

    // The other account after the transfer: the incoming 1000 as movement 2, and its
    // totals: every movement 1750, aligned 2000 (the 250 is suspended), by operation
    // date 1750, by value date 750 (the 1000 is valued tomorrow).
    const QByteArray existing =
        movimentoBytes({1, "01/12/2026", "01/12/2026", "BON", 250, "", "bonifico", "S", "U", "N"});
    const QByteArray incoming = movimentoBytes({2, "05/12/2026", "10/12/2026", "GC", 1000, "12",
                                                "da: 100 affitto dicembre", "N", "E", "N"});
    const QByteArray recomputed =
        totaliBytes(2000, 750, 1750, 1750, "01/12/2026", "05/12/2026", "01/12/2026", "10/12/2026");

    Movimento pending;
};

TEST_F(Transfer, TextsOfTheTwoMovementsAreCutAtThirty) {
    EXPECT_EQ(descrizioneGirocontoEntrata(" 100 ", "  affitto "), "da: 100 affitto");
    EXPECT_EQ(descrizioneGirocontoUscita("CONTODODICI", "affitto"), "> CONTODODICI affitto");
    const QString longer = descrizioneGirocontoEntrata("CONTODODICI", "pagamento rata mutuo casa");
    EXPECT_EQ(longer, "da: CONTODODICI pagamento rata");
    EXPECT_EQ(longer.size(), 30);
    EXPECT_EQ(descrizioneGirocontoUscita("CONTODODICI", "pagamento rata mutuo casa").size(), 30);
}

TEST_F(Transfer, IncomingMovementAndRecomputedTotalsInTheOtherAccount) {
    GirocontoScritto scritto;
    QString errore;
    ASSERT_TRUE(test::riuscito(
        scriviGiroconto(dataFolder(), "CONTODODICI", "100", pending, &scritto), &errore))
        << errore.toStdString();
    EXPECT_TRUE(errore.isEmpty());
    EXPECT_EQ(readBytes(file("CONTODODICI.MOV")), existing + incoming);
    EXPECT_EQ(readBytes(file("CONTODODICI.MOR")), le16(2));
    EXPECT_EQ(readBytes(file("CONTODODICI.TOT")), recomputed);
    EXPECT_EQ(scritto.numero, 2);
    // The open account's files are not the transfer's business.
    EXPECT_FALSE(QFile::exists(file("100.MOV")));
    EXPECT_FALSE(QFile::exists(file("100.MOR")));

    // Taken back (the open account could not save its own half): as before, byte
    // for byte.
    const QByteArray before =
        existing + "|" + le16(1) + "|" +
        totaliBytes(1, 2, 3, 4, "01/01/2000", "01/01/2000", "01/01/2000", "01/01/2000") + "|" +
        text("30/11/2026", 10) + leDouble(1000) + "|";
    EXPECT_TRUE(test::riuscito(annullaGiroconto(scritto), &errore)) << errore.toStdString();
    EXPECT_EQ(otherFiles(), before);
}

TEST_F(Transfer, AnAccountWithoutFilesGetsThemAndLosesThemWhenTakenBack) {
    GirocontoScritto scritto;
    ASSERT_TRUE(test::riuscito(scriviGiroconto(dataFolder(), "NUOVO", "100", pending, &scritto)));
    EXPECT_EQ(readBytes(file("NUOVO.MOV")),
              movimentoBytes({1, "05/12/2026", "10/12/2026", "GC", 1000, "12",
                              "da: 100 affitto dicembre", "N", "E", "N"}));
    EXPECT_EQ(readBytes(file("NUOVO.MOR")), le16(1));
    EXPECT_EQ(readBytes(file("NUOVO.TOT")), totaliBytes(1000, 0, 1000, 1000, "05/12/2026",
                                                        "05/12/2026", "10/12/2026", "10/12/2026"));
    ASSERT_TRUE(test::riuscito(annullaGiroconto(scritto)));
    EXPECT_FALSE(QFile::exists(file("NUOVO.MOV")));
    EXPECT_FALSE(QFile::exists(file("NUOVO.MOR")));
    EXPECT_FALSE(QFile::exists(file("NUOVO.TOT")));
}

TEST_F(Transfer, AFailureAfterTheMovementWasWrittenPutsItBack) {
    // The carry-forward cannot be read, so the totals cannot be recomputed after
    // ".MOV" and ".MOR" were written: both go back.
    const QByteArray before = otherFiles();
    QFile::remove(file("CONTODODICI.RIP"));
    ASSERT_TRUE(QDir(dataFolder()).mkdir("CONTODODICI.RIP"));
    QString errore;
    EXPECT_FALSE(test::riuscito(
        scriviGiroconto(dataFolder(), "CONTODODICI", "100", pending, nullptr), &errore));
    EXPECT_TRUE(errore.contains("saldi")) << errore.toStdString();
    EXPECT_EQ(readBytes(file("CONTODODICI.MOV")), existing);
    EXPECT_EQ(readBytes(file("CONTODODICI.MOR")), le16(1));
    EXPECT_EQ(readBytes(file("CONTODODICI.TOT")), before.split('|')[2]);
}

TEST_F(Transfer, TotalsFromTheFilesOrWhyTheyCannotBeRecomputed) {
    // The other account as it stands: 1000 carried forward and the suspended 250 out.
    const TotaliConto intero = TotaliConto::fromBytes(
        totaliBytes(1000, 750, 750, 750, "01/12/2026", "01/12/2026", "01/12/2026", "01/12/2026"));
    struct Caso {
        const char* nome;
        const char* cartella; // a folder in place of this file
        const char* letto;    // the file the reason names, "" for done
    };
    const Caso casi[] = {
        {"every file read", "", ""},
        {"carry-forward unreadable", "CONTODODICI.RIP", "CONTODODICI.RIP"},
        {"stored totals unreadable", "CONTODODICI.TOT", "CONTODODICI.TOT"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const QString cartella = QString::fromLatin1(c.cartella);
        QByteArray conservato;
        if (!cartella.isEmpty()) {
            conservato = readBytes(file(cartella));
            ASSERT_TRUE(QFile::remove(file(cartella)));
            ASSERT_TRUE(QDir(dataFolder()).mkdir(cartella));
        }
        const EsitoCon<TotaliConto> t = totaliDaiFile(dataFolder(), "CONTODODICI");
        if (cartella.isEmpty()) {
            EXPECT_TRUE(test::senzaAvvisi(t.esito));
            EXPECT_EQ(t.valore, intero);
        } else {
            EXPECT_TRUE(t.esito.fallito());
            EXPECT_TRUE(t.esito.testo.startsWith(
                QStringLiteral("impossibile leggere il file %1: ")
                    .arg(QDir::toNativeSeparators(file(QString::fromLatin1(c.letto))))))
                << t.esito.testo.toStdString();
            EXPECT_EQ(t.valore, TotaliConto{});
            ASSERT_TRUE(QDir(dataFolder()).rmdir(cartella));
            writeBytes(file(cartella), conservato);
        }
    }
    // A count that cannot be trusted: failed, with the reason.
    writeBytes(file("CONTODODICI.MOR"), le16(-3));
    const EsitoCon<TotaliConto> danneggiato = totaliDaiFile(dataFolder(), "CONTODODICI");
    EXPECT_TRUE(danneggiato.esito.fallito());
    EXPECT_FALSE(danneggiato.esito.testo.isEmpty());
}

TEST_F(Transfer, AFullAccountRefusesTheTransfer) {
    // 32767 movements: the one there and as many blank records after it.
    const QByteArray full = existing + QByteArray(32766 * 76, '\0');
    writeBytes(file("CONTODODICI.MOV"), full);
    writeBytes(file("CONTODODICI.MOR"), le16(32767));
    QString errore;
    EXPECT_FALSE(test::riuscito(
        scriviGiroconto(dataFolder(), "CONTODODICI", "100", pending, nullptr), &errore));
    EXPECT_TRUE(errore.contains("32767")) << errore.toStdString();
    EXPECT_EQ(readBytes(file("CONTODODICI.MOV")), full);
    EXPECT_EQ(readBytes(file("CONTODODICI.MOR")), le16(32767));
}

TEST_F(Transfer, TotalsOfAnotherAccountTakeTheirBoundsFromValidDatesOnly) {
    const std::vector<Movimento> movimenti{
        Movimento::fromBytes(
            movimentoBytes({1, "00/00/0000", "  /  /    ", "X", 5, "", "", "N", "U", "N"})),
        Movimento::fromBytes(
            movimentoBytes({2, "03/12/2026", "20/12/2026", "X", 10, "", "", "N", " ", "N"})),
        Movimento::fromBytes(
            movimentoBytes({3, "15/01/2027", "02/12/2026", "X", 3, "", "", "S", "U", "N"}))};
    Riporto riporto;
    riporto.saldoRiporto = 100;
    const TotaliConto t = calcolaTotali(movimenti, riporto, "09/12/2026");
    // A blank in/out flag counts as money in.
    EXPECT_EQ(t.saldoContabile, 100 - 5 + 10 - 3);
    EXPECT_EQ(t.saldoNonSospesi, 100 - 5 + 10);
    EXPECT_EQ(t.saldoOperazioneOggi, 100 - 5 + 10);
    EXPECT_EQ(t.saldoValutaOggi, 100 - 5 - 3);
    EXPECT_EQ(t.primaDataOperazione, "03/12/2026");
    EXPECT_EQ(t.ultimaDataOperazione, "15/01/2027");
    EXPECT_EQ(t.primaDataValuta, "02/12/2026");
    EXPECT_EQ(t.ultimaDataValuta, "20/12/2026");
}

// --- The dialog -------------------------------------------------------------------

TEST_F(Transfer, DialogListsEveryAccountWithItsCodeColumn) {
    Giroconto& dialog = formHost().form<Giroconto>();
    EXPECT_EQ(dialog.caption(), "Giroconto");
    EXPECT_EQ(dialog.Label1->text(), "giroconto da:");
    EXPECT_EQ(dialog.contoAperto->text(), "BANCA UNO");
    EXPECT_EQ(dialog.OK->text(), "Conferma");
    EXPECT_EQ(dialog.Command3D1->text(), "Uscita");
    ASSERT_EQ(dialog.Combo1->count(), 2);
    EXPECT_EQ(dialog.Combo1->currentIndex(), 1); // the first account that is not open
    EXPECT_EQ(dialog.Combo1->text(0),
              QString("100") + QString(10, ' ') + " - " + QString("BANCA UNO").leftJustified(45));
    EXPECT_EQ(dialog.Combo1->text(1),
              QString("CONTODODICI  ") + " - " + QString("BANCA DUE").leftJustified(45));
    // A code of 12 characters fills its column and keeps one blank.
    stato().TabellaConti[2].codiceConto = "CONTODODICI1";
    EXPECT_TRUE(lineaGiroconto(stato().TabellaConti[2]).startsWith("CONTODODICI1  - BANCA DUE"));
}

TEST_F(Transfer, CancelOrTheOpenAccountChosenWritesNothing) {
    const QByteArray before = otherFiles();
    const Movimento unchanged = pending;

    formHost().setModalHook([](Form& f) {
        auto& dialog = static_cast<Giroconto&>(f);
        dialog.Combo1->setCurrentIndex(1);
        dialog.Command3D1->click();
    });
    EXPECT_FALSE(chiediGiroconto(pending).ok());
    EXPECT_EQ(pending, unchanged);

    formHost().setModalHook([](Form& f) {
        auto& dialog = static_cast<Giroconto&>(f);
        dialog.Combo1->setCurrentIndex(0); // "100", the open account
        dialog.OK->click();
        // Refused: the dialog stays, proposing the other account, until it is left.
        EXPECT_TRUE(dialog.isShown());
        EXPECT_EQ(dialog.Combo1->currentIndex(), 1);
        dialog.Command3D1->click();
    });
    EXPECT_FALSE(chiediGiroconto(pending).ok());
    EXPECT_EQ(pending, unchanged);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              "il conto selezionato è lo stesso conto attualmente aperto");
    EXPECT_EQ(messages.shown()[0].title, "ERRORE");
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);

    // Closed with the window's close box.
    formHost().setModalHook([](Form& f) { f.close(); });
    EXPECT_FALSE(chiediGiroconto(pending).ok());

    EXPECT_EQ(otherFiles(), before);
    EXPECT_FALSE(QFile::exists(file("100.MOV")));
}

// --- From the entry form --------------------------------------------------------------

class TransferFromTheEntryForm : public Transfer {
protected:
    void SetUp() override {
        Transfer::SetUp();
        auto& s = stato();
        VoceCausale gc;
        gc.numero = 1;
        gc.codiceCausale = "GC";
        gc.descrizione = "GIROCONTO";
        gc.sospeso = "N";
        gc.entrataUscita = "E";
        gc.soggettoCosto = "1";
        s.TabellaCausali = {VoceCausale{}, gc};
        s.NumeroCausali = 1;
        s.FormatoImporti = "#,###,###,##0.00";
        form = &formHost().form<Form9>();
        formHost().show(*form);
    }

    void typeTransfer() {
        form->DataOper->setTesto("05/12/2026");
        form->DataValuta->setTesto("10/12/2026");
        form->Causale->setText("GC");
        form->IMPORTO->setText("1.000,00");
        form->NrDoc->setText("12");
        form->DescMovim->setText("affitto dicembre");
    }
    static void chooseOther(Form& f) {
        auto& dialog = static_cast<Giroconto&>(f);
        dialog.Combo1->setCurrentIndex(1);
        dialog.OK->click();
    }

    // Every file of the data folder with its content.
    QStringList bothAccounts() const {
        QStringList out;
        for (const QFileInfo& info : QDir(dataFolder()).entryInfoList(QDir::Files, QDir::Name))
            out << info.fileName() + "=" + readBytes(info.filePath()).toHex();
        return out;
    }

    Form9* form = nullptr;
};

TEST_F(TransferFromTheEntryForm, BothAccountsGetTheirHalf) {
    formHost().setModalHook(chooseOther);
    typeTransfer();
    form->OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(readBytes(file("100.MOV")),
              movimentoBytes({1, "05/12/2026", "10/12/2026", "GC", 1000, "12",
                              "> CONTODODICI affitto dicembre", "N", "U", "N"}));
    EXPECT_EQ(readBytes(file("100.MOR")), le16(1));
    EXPECT_EQ(readBytes(file("CONTODODICI.MOV")), existing + incoming);
    EXPECT_EQ(readBytes(file("CONTODODICI.MOR")), le16(2));
    EXPECT_EQ(readBytes(file("CONTODODICI.TOT")), recomputed);
    EXPECT_EQ(stato().NumeroMovimenti, 1);
    EXPECT_EQ(stato().SaldoContabile, -1000);
    EXPECT_EQ(form->ElencoMovim->count(), 1);
}

TEST_F(TransferFromTheEntryForm, TheOpenAccountRefusedKeepsWhatWasTyped) {
    int mostrato = 0;
    formHost().setModalHook([&](Form& f) {
        ++mostrato;
        auto& dialog = static_cast<Giroconto&>(f);
        // The other account is proposed; the user picks the open one all the same.
        EXPECT_EQ(dialog.Combo1->currentIndex(), 1);
        dialog.Combo1->setCurrentIndex(0);
        dialog.OK->setFocus();
        QTest::keyClick(dialog.OK, Qt::Key_Return);
        // Refused, with the other account proposed again: Enter makes the transfer.
        ASSERT_TRUE(dialog.isShown());
        QTest::keyClick(dialog.OK, Qt::Key_Return);
    });
    typeTransfer();
    form->OK->click();
    EXPECT_EQ(mostrato, 1);
    EXPECT_EQ(messages.texts(),
              QStringList{"il conto selezionato è lo stesso conto attualmente aperto"});
    EXPECT_EQ(readBytes(file("100.MOV")),
              movimentoBytes({1, "05/12/2026", "10/12/2026", "GC", 1000, "12",
                              "> CONTODODICI affitto dicembre", "N", "U", "N"}));
    EXPECT_EQ(readBytes(file("CONTODODICI.MOV")), existing + incoming);
}

TEST_F(TransferFromTheEntryForm, ACancelledTransferChangesNothing) {
    const QStringList before = bothAccounts();
    formHost().setModalHook([](Form& f) { static_cast<Giroconto&>(f).Command3D1->click(); });
    typeTransfer();
    form->OK->click();
    EXPECT_EQ(bothAccounts(), before);
    EXPECT_EQ(stato().NumeroMovimenti, 0);
    EXPECT_EQ(form->ElencoMovim->count(), 0);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(TransferFromTheEntryForm, AFailedWriteInTheOtherAccountLeavesBothAsTheyWere) {
    QFile::remove(file("CONTODODICI.MOV"));
    ASSERT_TRUE(QDir(dataFolder()).mkdir("CONTODODICI.MOV"));
    const QStringList before = bothAccounts();
    formHost().setModalHook(chooseOther);
    typeTransfer();
    form->OK->click();
    EXPECT_EQ(bothAccounts(), before);
    EXPECT_EQ(stato().NumeroMovimenti, 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("Il giroconto non è stato eseguito"));
}

TEST_F(TransferFromTheEntryForm, AFailedWriteInTheOpenAccountTakesTheOtherHalfBack) {
    // The open account cannot store its movement after the other account got its own.
    ASSERT_TRUE(QDir(dataFolder()).mkdir("100.MOV"));
    const QStringList before = bothAccounts();
    formHost().setModalHook(chooseOther);
    typeTransfer();
    form->OK->click();
    EXPECT_EQ(bothAccounts(), before);
    EXPECT_EQ(stato().NumeroMovimenti, 0);
    EXPECT_EQ(stato().SaldoContabile, 0);
    EXPECT_FALSE(messages.shown().empty());
}

// The two halves of a transfer are one change: a failure at any write, a roll-back that
// cannot put a file back, a program stopped midway leave both accounts as they were.
TEST_F(Transfer, BothHalvesAreWrittenOrNeither) {
    const ProvaModifica prova = provaSulContoAperto(dataFolder(), [this](QString* testo) {
        GirocontoScritto scritto;
        if (!test::riuscito(scriviGiroconto(dataFolder(), "CONTODODICI", "100", pending, &scritto),
                            testo))
            return false;
        Movimento uscita = pending;
        uscita.descrizione = descrizioneGirocontoUscita("CONTODODICI", pending.descrizione);
        uscita.entrataUscita = "U";
        if (test::riuscito(SalvaNuovoMovimento(uscita, scritto.modifica.get()), testo)) return true;
        QString rimasti;
        rimasti = annullaGiroconto(scritto).testo;
        *testo += rimasti;
        return false;
    });
    // The other account's ".MOV", ".MOR" and ".TOT", then the open account's ".MOV" and
    // ".MOR".
    EXPECT_EQ(provaModifica(prova), 5);
}

} // namespace
} // namespace qv::test
