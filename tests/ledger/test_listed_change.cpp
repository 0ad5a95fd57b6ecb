// Changing a movement picked from the period list: the movement a line opens, the
// refusal while the list leaves movements out, the record, ".Ord", the balances and
// ".TOT" after a change, the refused fields, the causale picker, and a movement held
// out of the balances when the account is closed.
#include "archives/causale_picker_form.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/balances.h"
#include "ledger/listed_change_form.h"
#include "ledger/movement_reading.h"
#include "ledger/open_account.h"
#include "ledger/period_list_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "shell/main_window.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"
#include "support/november_account.h"
#include "support/open_account.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace qv {
namespace {

using namespace test;

// The movements of the account "CC1" that every test starts from.
const auto& kMovimenti = kMovimentiNovembre;

// The ".TOT" record: the four balances and the four date bounds.
QByteArray totBytes(double nonSospesi, double valuta, double operazione, double contabile) {
    return totaliBytes(nonSospesi, valuta, operazione, contabile, "01/11/2026", "10/11/2026",
                       "02/11/2026", "12/11/2026");
}

class ListedChangeTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        collegaRichiesteFinestre();
        openTestAccount("CC1");
        setCausali({causaleEntry(1, "VE", "Versamento", "N", "E"),
                    causaleEntry(2, "PR", "Prelievo", "N", "U"),
                    causaleEntry(3, "AS", "Assegno", "N", "U")});

        writeNovemberAccount(dataFolder());
        writeBytes(file(".FOG"),
                   foglioBytes({2, 1, 1, 1234, "05/11/2026", 120.5, "", "pagato idraulico"}));
        writeBytes(file(".NRF"), le16(1));
    }

    QString file(const char* ext) const { return dataFolder() + QStringLiteral("CC1") + ext; }

    // ".Ord" in the list order 1, 4, 2, 3, with movement 3 as given.
    static QByteArray ordine(const MovimentoFields& terzo = kMovimenti[2]) {
        return movimentoBytes(kMovimenti[0]) + movimentoBytes(kMovimenti[3]) +
               movimentoBytes(kMovimenti[1]) + movimentoBytes(terzo);
    }

    Form11& elenco() {
        QString errore;
        EXPECT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore)) << errore.toStdString();
        Form11& f = formHost().form<Form11>();
        formHost().show(f);
        QApplication::setActiveWindow(f.window());
        return f;
    }

    // Double-clicks line `riga` of the list and returns the change form, if it opened.
    Form20* doppioClic(Form11& f, int riga) {
        f.List1->setCurrentRow(riga);
        const QPoint punto = f.List1->visualRect(f.List1->model()->index(riga, 0)).center();
        // A double click as the mouse makes it: press and release, then the second press.
        QTest::mouseClick(f.List1->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(f.List1->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseRelease(f.List1->viewport(), Qt::LeftButton, {}, punto);
        return formHost().loaded<Form20>();
    }

    static void scrivi(QLineEdit* campo, const QString& testo) {
        campo->clear();
        QTest::keyClicks(campo, testo);
    }
};

TEST_F(ListedChangeTest, TheLineBelowTheChequeNotesOpensItsOwnMovement) {
    Form11& f = elenco();
    // Lines: carry-forward, 1, 4, 2, the note of cheque 1234, 3.
    ASSERT_EQ(f.List1->data(5), 3);
    Form20* m = doppioClic(f, 5);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->NrOper->text(), QStringLiteral("3"));
    EXPECT_EQ(m->DataOper->testo(), QStringLiteral("10/11/2026"));
    EXPECT_EQ(m->DataValuta->testo(), QStringLiteral("12/11/2026"));
    EXPECT_EQ(m->Causale->text(), QStringLiteral("PR"));
    EXPECT_EQ(m->DescrCausale->text(), QStringLiteral("Prelievo"));
    EXPECT_EQ(m->IMPORTO->text(), QStringLiteral("200"));
    EXPECT_EQ(m->NrDoc->text(), QStringLiteral("        "));
    EXPECT_EQ(m->DescMovim->text(), QStringLiteral("prelievo bancomat"));
    EXPECT_EQ(m->Sospeso->text(), QStringLiteral("N"));
    EXPECT_EQ(m->D_A->text(), QStringLiteral("U"));
    EXPECT_EQ(m->Annullato->text(), QStringLiteral("N"));
    // Opening changes nothing yet.
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 2414.0);
    EXPECT_EQ(movimentoTrattenuto(QStringLiteral("Form20")), 0);

    // The carry-forward, a note and a closing line open nothing.
    formHost().unload(*m);
    EXPECT_EQ(doppioClic(f, 0), nullptr);
    EXPECT_EQ(doppioClic(f, 4), nullptr);
    EXPECT_EQ(doppioClic(f, f.List1->count() - 3), nullptr);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ListedChangeTest, AChangedAmountRewritesRecordOrderBalancesAndTotals) {
    Form11& f = elenco();
    // Before: carry-forward 1000 + 500 − 120.5 − 200 + 1234.5; aligned ones 2534.5.
    EXPECT_EQ(readBytes(file(".TOT")), totBytes(2534.5, 2414.0, 2414.0, 2414.0));
    Form20* m = doppioClic(f, 5);
    ASSERT_NE(m, nullptr);
    scrivi(m->IMPORTO, QStringLiteral("250"));
    scrivi(m->DescMovim, QStringLiteral("prelievo sportello"));
    m->OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(formHost().loaded<Form20>(), nullptr);

    const MovimentoFields nuovo = {3,  "10/11/2026",         "12/11/2026", "PR", 250.0,
                                   "", "prelievo sportello", "N",          "U",  "N"};
    const QByteArray mov = readBytes(file(".MOV"));
    ASSERT_EQ(mov.size(), 4 * 76);
    EXPECT_EQ(mov.mid(2 * 76, 76), movimentoBytes(nuovo));
    EXPECT_EQ(mov.left(2 * 76), movimentoBytes(kMovimenti[0]) + movimentoBytes(kMovimenti[1]));
    EXPECT_EQ(readBytes(file(".Ord")), ordine(nuovo));
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 2364.0);
    EXPECT_DOUBLE_EQ(stato().SaldoNonSospesi, 2484.5);
    EXPECT_DOUBLE_EQ(stato().SaldoOperazioneOggi, 2364.0);
    EXPECT_DOUBLE_EQ(stato().SaldoValutaOggi, 2364.0);
    EXPECT_EQ(readBytes(file(".TOT")), totBytes(2484.5, 2364.0, 2364.0, 2364.0));
    EXPECT_EQ(movimentoTrattenuto(QStringLiteral("Form20")), 0);

    // The list shows the change at once, without "Tutti" or coming back to it.
    EXPECT_TRUE(f.elencoAggiornato());
    const QString sp11(11, QLatin1Char(' '));
    EXPECT_EQ(f.List1->text(5), QStringLiteral("10/11/2026  12/11/2026 ") +
                                    QStringLiteral("         250,00") + sp11 +
                                    QStringLiteral("       2.364,00") +
                                    QStringLiteral("  Prelievo   prelievo sportello") +
                                    QString(12, QLatin1Char(' ')));
}

TEST_F(ListedChangeTest, FlagsAndDescriptionChangeTheBalancesAsTheyShould) {
    Form11& f = elenco();
    // Only the description and the cancelled flag: no balance moves.
    Form20* m = doppioClic(f, 1);
    ASSERT_NE(m, nullptr);
    scrivi(m->DescMovim, QStringLiteral("paga"));
    scrivi(m->Annullato, QStringLiteral("s"));
    EXPECT_EQ(m->Annullato->text(), QStringLiteral("S"));
    m->OK->click();
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 2414.0);
    EXPECT_DOUBLE_EQ(stato().SaldoNonSospesi, 2534.5);
    EXPECT_EQ(readBytes(file(".MOV")).left(76), movimentoBytes({1, "01/11/2026", "02/11/2026", "VE",
                                                                500.0, "", "paga", "N", "E", "S"}));

    // In to out: the book balance falls by twice the amount.
    f.Form_Activate();
    m = doppioClic(f, 1);
    ASSERT_NE(m, nullptr);
    m->D_A->setText(QStringLiteral("u"));
    m->OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 1414.0);
    EXPECT_EQ(readBytes(file(".MOV")).mid(74, 1), QByteArray("U"));
}

TEST_F(ListedChangeTest, RefusedFieldsKeepTheFormAndWriteNothing) {
    Form11& f = elenco();
    const QByteArray movPrima = readBytes(file(".MOV"));
    const QByteArray totPrima = readBytes(file(".TOT"));
    Form20* m = doppioClic(f, 5);
    ASSERT_NE(m, nullptr);

    struct Caso {
        QLineEdit* campo;
        QString valore;
        QString messaggio;
    };
    const Caso casi[] = {
        {m->Causale, QStringLiteral("ZZ"), QStringLiteral("CODICE CAUSALE NON PRESENTE!")},
        {m->Causale, QStringLiteral("pr"), QStringLiteral("CODICE CAUSALE NON PRESENTE!")},
        {m->Sospeso, QStringLiteral("X"), messaggioSospesoErrato()},
        {m->D_A, QStringLiteral("A"), messaggioEntrataUscitaErrata()},
        {m->D_A, QString(), messaggioEntrataUscitaErrata()},
        {m->Annullato, QStringLiteral("1"), messaggioAnnullatoErrato()},
    };
    for (const Caso& c : casi) {
        const QString prima = c.campo->text();
        c.campo->setText(c.valore);
        messages.clear();
        m->OK->click();
        ASSERT_EQ(messages.shown().size(), 1u) << c.valore.toStdString();
        EXPECT_EQ(messages.shown()[0].text, c.messaggio);
        EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ERRORE"));
        EXPECT_EQ(m->focusWidget(), c.campo) << c.valore.toStdString();
        c.campo->setText(prima);
    }

    // Missing dates and amount, a date that is no date, an amount that is no number.
    messages.clear();
    m->IMPORTO->clear();
    m->OK->click();
    m->IMPORTO->setText(QStringLiteral("12abc"));
    m->OK->click();
    m->IMPORTO->setText(QStringLiteral("200"));
    m->DataValuta->setTesto(QStringLiteral("31/02/2026"));
    m->OK->click();
    EXPECT_TRUE(m->DataValuta->isBlank());
    m->OK->click();
    ASSERT_EQ(messages.shown().size(), 4u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Campo Importo obbligatorio"));
    EXPECT_EQ(messages.shown()[3].text, QStringLiteral("Campo data Valuta obbligatorio"));
    EXPECT_EQ(m->focusWidget(), m->DataValuta);

    EXPECT_NE(formHost().loaded<Form20>(), nullptr);
    EXPECT_EQ(readBytes(file(".MOV")), movPrima);
    EXPECT_EQ(readBytes(file(".TOT")), totPrima);
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 2414.0);
    EXPECT_EQ(movimentoTrattenuto(QStringLiteral("Form20")), 0);
}

TEST_F(ListedChangeTest, AListThatLeavesMovementsOutRefusesTheChange) {
    Form11& f = elenco();
    f.DataOper->setTesto(QStringLiteral("02/11/2026"));
    f.OK->click();
    EXPECT_EQ(doppioClic(f, 1), nullptr);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("Questa funzione funziona solo se tutti i movimenti sono inclusi "
                             "nella lista"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Avvertimento"));
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);

    // The same with every date but one causale.
    messages.clear();
    f.Tutti->click();
    f.Combo1->setCurrentIndex(2); // Prelievo
    f.OK->click();
    EXPECT_EQ(doppioClic(f, 1), nullptr);
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_F(ListedChangeTest, TheFirstMovementOfAnAccountNeverClosedOpensThatMovement) {
    QFile::remove(file(".RIP"));
    Form11& f = elenco();
    // The carry-forward line starts with a blank date, yet opens nothing, and the
    // line after it is movement 1.
    EXPECT_TRUE(f.List1->text(0).startsWith(QString(12, QLatin1Char(' '))));
    EXPECT_EQ(doppioClic(f, 0), nullptr);
    Form20* m = doppioClic(f, 1);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->NrOper->text(), QStringLiteral("1"));
    EXPECT_EQ(m->DescMovim->text(), QStringLiteral("stipendio"));
    scrivi(m->IMPORTO, QStringLiteral("600"));
    m->OK->click();
    EXPECT_EQ(readBytes(file(".MOV")).left(76),
              movimentoBytes(
                  {1, "01/11/2026", "02/11/2026", "VE", 600.0, "", "stipendio", "N", "E", "N"}));
    // Nothing was written at record 0's place, and the count is unchanged.
    EXPECT_EQ(readBytes(file(".MOV")).size(), 4 * 76);
    EXPECT_EQ(readBytes(file(".MOR")), le16(4));
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 1514.0);
}

TEST_F(ListedChangeTest, APickedCausaleFillsCodeDescriptionAndDirection) {
    Form11& f = elenco();
    Form20* m = doppioClic(f, 5);
    ASSERT_NE(m, nullptr);
    formHost().setModalHook([](Form& modale) {
        auto* picker = qobject_cast<FORM12*>(&modale);
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(stato().ModoElencoCausali, 2);
        // The line of causale 1, clicked, then "Conferma".
        for (int i = 0; i < picker->List1->count(); ++i)
            if (picker->List1->data(i) == 1)
                QTest::mouseClick(
                    picker->List1->viewport(), Qt::LeftButton, {},
                    picker->List1->visualRect(picker->List1->model()->index(i, 0)).center());
        picker->OK->click();
    });
    m->Command3D1->click();
    EXPECT_EQ(m->Causale->text(), QStringLiteral("VE"));
    EXPECT_EQ(m->DescrCausale->text(), QStringLiteral("Versamento"));
    EXPECT_EQ(m->D_A->text(), QStringLiteral("E"));
    EXPECT_EQ(m->Sospeso->text(), QStringLiteral("N"));
    EXPECT_EQ(m->focusWidget(), m->Sospeso);
    EXPECT_EQ(stato().ModoElencoCausali, 0);
}

TEST_F(ListedChangeTest, AMovementChangedElsewhereIsNotOverwritten) {
    Form11& f = elenco();
    Form20* m = doppioClic(f, 5);
    ASSERT_NE(m, nullptr);
    // Another window rewrites movement 3 while the form shows it.
    stato().TabellaMovimenti[3].importo = 999.0;
    scrivi(m->DescMovim, QStringLiteral("mia modifica"));
    m->OK->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, messaggioMovimentoCambiato());
    EXPECT_EQ(formHost().loaded<Form20>(), nullptr);
    EXPECT_EQ(readBytes(file(".MOV")).mid(2 * 76, 76), movimentoBytes(kMovimenti[2]));
}

TEST_F(ListedChangeTest, ClosingTheAccountGivesAHeldMovementBackFirst) {
    Form11& f = elenco();
    Form20* m = doppioClic(f, 5);
    ASSERT_NE(m, nullptr);
    const QByteArray totPrima = readBytes(file(".TOT"));
    // The form holds movement 3 out of the balances, as it does while rewriting it.
    ASSERT_TRUE(test::riuscito(trattieniFuoriDaiSaldi(QStringLiteral("Form20"), 3)));
    ASSERT_NE(readBytes(file(".TOT")), totPrima);
    ChiudiConto();
    EXPECT_EQ(formHost().loaded<Form20>(), nullptr);
    EXPECT_EQ(formHost().loaded<Form11>(), nullptr);
    EXPECT_EQ(readBytes(file(".TOT")), totPrima);
    EXPECT_EQ(movimentoTrattenuto(QStringLiteral("Form20")), 0);
}

} // namespace
} // namespace qv
