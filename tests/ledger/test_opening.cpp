// Opening an account as the user meets it: the start-up account, an account chosen
// on its sheet, the movement form showing it with the balances on the main window,
// and what refreshes them afterwards (display currency, settings, clearing).
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"

#include "archives/account_selection_form.h"
#include "archives/account_sheet_form.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "ledger/entry_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/program_end.h"
#include "shell/main_window.h"
#include "shell/program_files.h"
#include "shell/settings_form.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <memory>

namespace qv::test {
namespace {

class Opening : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        resetProgramEnd();
        setEndProgramHook([] {});
        // Not a first run; two decimals; the Euro and a currency at rate 2.
        writeBytes(programFolder() + "RecCausa.dat", le16(0));
        writeCurrency(15, "Euro", "Unione Europea", 1);
        writeCurrency(12, "Dollaro", "USA", 2);

        writeAccount(1, "123", "BANCA CENTO", 500);
        writeAccount(2, "1234", "BANCA MILLE", 0);
        ASSERT_TRUE(scriviContatore(dataFolder() + "RecConti.dat", 2));

        // Account 123 (today is 09/12/2026): an aligned inflow of 1000, a suspended
        // outflow of 200, a suspended inflow of 50 dated in the future, and a
        // carry-forward of 100.
        writeBytes(file("123.MOV"), movimentoBytes({1, "05/12/2026", "06/12/2026", "BON", 1000, "",
                                                    "stipendio", "N", "E", "N"}) +
                                        movimentoBytes({2, "01/12/2026", "01/12/2026", "PRE", 200,
                                                        "", "prelievo", "S", "U", "N"}) +
                                        movimentoBytes({3, "20/12/2026", "21/12/2026", "BON", 50,
                                                        "", "rimborso", "S", "E", "N"}));
        writeBytes(file("123.MOR"), le16(3));
        writeBytes(file("123.RIP"), text("30/11/2026", 10) + leDouble(100));
        // Account 1234, which clearing "123" must not touch.
        account1234 =
            movimentoBytes({1, "02/12/2026", "02/12/2026", "BON", 7, "", "altro", "N", "E", "N"});
        writeBytes(file("1234.MOV"), account1234);
        writeBytes(file("1234.MOR"), le16(1));
    }
    void TearDown() override {
        window.reset();
        resetProgramEnd();
        ProgramTest::TearDown();
    }

    QString file(const char* name) const { return dataFolder() + QString::fromLatin1(name); }

    void settings(const char* startAccount) {
        Impostazioni imp;
        imp.percorsoDati = "0";
        imp.numeroDecimali = 2;
        imp.contoAvvio = QString::fromLatin1(startAccount);
        imp.valutaPredefinita = "Euro - Unione Europea";
        ASSERT_TRUE(test::riuscito(scriviImpostazioni(imp)));
    }

    MDIForm1& load() {
        window = std::make_unique<MDIForm1>();
        window->Load();
        return *window;
    }

    QStringList panels() const {
        QStringList out;
        for (QLabel* l : window->Saldi)
            out << l->text();
        return out << window->UltimaData->text();
    }

    // The balances of account 123 in Euro: aligned 1100, by operation date 900,
    // credit line 500, by value date 900, all movements 950 at 20/12/2026,
    // available 1400.
    const QStringList panels123{"1.100,00", "900,00",   "500,00",    "900,00",
                                "950,00",   "1.400,00", "20/12/2026"};

    QByteArray account1234;
    std::unique_ptr<MDIForm1> window;
};

TEST_F(Opening, StartupAccountOpensWithTheMovementFormAndLiveBalances) {
    settings("123");
    MDIForm1& w = load();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();

    Form9* form = formHost().loaded<Form9>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isShown());
    EXPECT_EQ(stato().Form9Aperta, 1);
    EXPECT_EQ(stato().NumeroMovimenti, 3);
    EXPECT_EQ(form->ElencoMovim->count(), 3);
    EXPECT_EQ(w.Codice->text(), dataFolder() + "123");
    EXPECT_EQ(w.DescConto->text(), "BANCA CENTO");
    EXPECT_TRUE(w.PulsMovimenti->isEnabled());
    EXPECT_EQ(panels(), panels123);

    // The totals file and the list-order file are rewritten from the movements.
    EXPECT_EQ(readBytes(file("123.TOT")), leDouble(1100) + leDouble(900) + leDouble(900) +
                                              leDouble(950) + "01/12/2026" + "20/12/2026" +
                                              "01/12/2026" + "21/12/2026");
    const QByteArray mov = readBytes(file("123.MOV"));
    EXPECT_EQ(readBytes(file("123.Ord")), mov.mid(76, 76) + mov.mid(0, 76) + mov.mid(152, 76));
}

TEST_F(Opening, AccountChosenOnItsSheetShowsTheMovementForm) {
    settings("");
    MDIForm1& w = load();
    EXPECT_EQ(formHost().loaded<Form9>(), nullptr);

    Form10& sheet = formHost().form<Form10>();
    sheet.mostraConto(1, Form10::Modo::Apertura);
    formHost().show(sheet);
    sheet.Saldi->click();
    Form9* form = formHost().loaded<Form9>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isShown());
    EXPECT_EQ(stato().CodiceContoAttivo, "123");
    EXPECT_EQ(stato().NumeroMovimenti, 3);
    EXPECT_EQ(form->ElencoMovim->count(), 3);
    EXPECT_EQ(panels(), panels123);
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);

    // Another account opened while the form shows: the form reloads for it.
    Form10& other = formHost().form<Form10>();
    other.mostraConto(2, Form10::Modo::Apertura);
    formHost().show(other);
    other.Saldi->click();
    ASSERT_EQ(formHost().loaded<Form9>(), form);
    EXPECT_TRUE(form->isShown());
    EXPECT_EQ(stato().CodiceContoAttivo, "1234");
    EXPECT_EQ(stato().NumeroMovimenti, 1);
    EXPECT_EQ(form->ElencoMovim->count(), 1);
    EXPECT_EQ(w.Saldi[4]->text(), "7,00");
    EXPECT_EQ(w.DescConto->text(), "BANCA MILLE");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Opening, ClearingTheMovementsLeavesTheAccountOpenAndEmpty) {
    settings("123");
    MDIForm1& w = load();
    Form9* form = formHost().loaded<Form9>();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->ElencoMovim->count(), 3);

    w.CancMov->trigger(); // both warnings answered OK
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(stato().CodiceContoAttivo, "123");
    EXPECT_TRUE(w.PulsMovimenti->isEnabled());
    EXPECT_EQ(stato().NumeroMovimenti, 0);
    EXPECT_EQ(formHost().loaded<Form9>(), form);
    EXPECT_EQ(form->ElencoMovim->count(), 0);
    EXPECT_EQ(stato().SaldoContabile, 0);
    EXPECT_EQ(w.Saldi[0]->text(), "0,00");
    EXPECT_EQ(w.Saldi[1]->text(), "0,00");
    EXPECT_EQ(w.Saldi[3]->text(), "0,00");
    EXPECT_EQ(w.Saldi[4]->text(), "0,00");
    EXPECT_EQ(w.Saldi[2]->text(), "500,00");
    EXPECT_EQ(w.Saldi[5]->text(), "500,00");
    EXPECT_EQ(readBytes(file("123.MOR")), QByteArray());
    EXPECT_EQ(readBytes(file("123.MOV")), QByteArray());
    EXPECT_EQ(readBytes(file("123.Ord")), QByteArray());
    EXPECT_FALSE(QFile::exists(file("123.RIP")));
    // "1234" begins with "123" and keeps every file.
    EXPECT_EQ(readBytes(file("1234.MOV")), account1234);
    EXPECT_EQ(readBytes(file("1234.MOR")), le16(1));
}

TEST_F(Opening, ADisplayCurrencyChangeRelistsTheMovementsAndThePanels) {
    settings("123");
    MDIForm1& w = load();
    Form9* form = formHost().loaded<Form9>();
    ASSERT_NE(form, nullptr);
    auto lineOf = [form](int numero) {
        for (const ListItem& item : form->ElencoMovim->items())
            if (item.data == numero) return item.text;
        return QString();
    };
    EXPECT_TRUE(lineOf(1).contains("        1.000,00")) << lineOf(1).toStdString();

    const int dollaro = w.Combo1->findLine("Dollaro - USA");
    ASSERT_GE(dollaro, 0);
    w.Combo1->setCurrentIndex(dollaro);
    emit w.Combo1->activated(dollaro);
    EXPECT_EQ(stato().FattoreValuta, 2);
    EXPECT_TRUE(lineOf(1).contains("        2.000,00")) << lineOf(1).toStdString();
    EXPECT_EQ(w.Saldi[4]->text(), "1.900,00");
    EXPECT_EQ(w.Saldi[2]->text(), "1.000,00");
}

TEST_F(Opening, SavedSettingsRefreshTheListAndThePanelsInTheNewFormat) {
    settings("123");
    MDIForm1& w = load();
    Form9* form = formHost().loaded<Form9>();
    ASSERT_NE(form, nullptr);

    Form23& prefs = formHost().form<Form23>();
    prefs.decimali->setText("0");
    prefs.Salva->click();
    EXPECT_EQ(stato().FormatoImporti, "#,###,###,##0");
    EXPECT_EQ(w.Saldi[4]->text(), "950");
    EXPECT_EQ(w.Saldi[2]->text(), "500");
    EXPECT_EQ(w.Saldi[0]->text(), "1.100");
    ASSERT_EQ(form->ElencoMovim->count(), 3);
    for (const ListItem& item : form->ElencoMovim->items())
        EXPECT_FALSE(item.text.contains(',')) << item.text.toStdString();
}

TEST_F(Opening, ChoosingAnAccountEmptiesAnOpenMovementForm) {
    settings("123");
    load();
    Form9* form = formHost().loaded<Form9>();
    ASSERT_NE(form, nullptr);
    form->DataOper->setTesto("05/12/2026");
    form->Causale->setText("BON");
    form->DescMovim->setText("mezzo scritto");

    // Made when first asked for, its list filled from the accounts the start-up loaded.
    Form7* choice = &formHost().form<Form7>();
    ASSERT_EQ(choice->List1->count(), 2);
    choice->List1->setCurrentRow(1);
    choice->OK->setEnabled(true);
    choice->OK->click();
    ASSERT_NE(formHost().loaded<Form10>(), nullptr);
    EXPECT_EQ(form->DataOper->testo(), "__/__/____");
    EXPECT_EQ(form->Causale->text(), "");
    EXPECT_EQ(form->DescMovim->text(), "");
    EXPECT_EQ(form->NrOper->text(), "3");
}

TEST_F(Opening, TheMovementsButtonShowsTheFormAgain) {
    settings("123");
    MDIForm1& w = load();
    Form9* form = formHost().loaded<Form9>();
    ASSERT_NE(form, nullptr);
    form->Esc->click();
    EXPECT_FALSE(form->isShown());
    EXPECT_EQ(stato().Form9Aperta, 0);

    w.PulsMovimenti->click();
    EXPECT_TRUE(form->isShown());
    EXPECT_EQ(stato().Form9Aperta, 1);
    form->Esc->click();
    w.MenMovimenti->trigger();
    EXPECT_TRUE(form->isShown());
    EXPECT_EQ(form->ElencoMovim->count(), 3);
}

} // namespace
} // namespace qv::test
