// The main window's "Interessi e costi": the editor of the open account, its printed
// sheet headed by the open account's bank and the display currency, and the editor
// unloaded when the account is closed.
#include "support/main_window_fixture.h"

#include "conditions/conditions_form.h"
#include "ledger/open_account.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "staffa/staffa_form.h"
#include "support/condition_bytes.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <limits>
namespace qv::test {
namespace {

class ConditionsWiring : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        avvia({{"44", "ALTRA BANCA"}, {"55", "BANCA DEL CONTO"}}, "55");
    }
};

TEST_F(ConditionsWiring, InteressiECostiEditsAndPrintsTheOpenAccount) {
    ASSERT_TRUE(window->chiusure->isEnabled());
    QString banca;
    formHost().setModalHook([&](Form& f) {
        auto& editor = static_cast<Form26&>(f);
        banca = editor.banca->text();
        editor.PulStampe->click();
    });
    window->IntCost->trigger();
    formHost().setModalHook({});
    EXPECT_EQ(banca, "BANCA DEL CONTO");
    ASSERT_EQ(printed.documents().size(), 1U);
    const PrintedPage& pagina = printed.lastDocument().at(0);
    ASSERT_EQ(pagina.size(), 67U);
    EXPECT_EQ(pagina[3].text, "  BANCA DEL CONTO");
    EXPECT_EQ(pagina[5].text, "  Valuta: " + window->Combo1->currentText());
    EXPECT_FALSE(window->Combo1->currentText().isEmpty());
    EXPECT_TRUE(QFile::exists(dataFolder() + "55.Opz"));
}

TEST_F(ConditionsWiring, ClosingTheAccountUnloadsTheEditor) {
    formHost().setModalHook([](Form&) {});
    window->IntCost->trigger();
    formHost().setModalHook({});
    ASSERT_NE(formHost().loaded<Form26>(), nullptr);
    ChiudiConto();
    EXPECT_EQ(formHost().loaded<Form26>(), nullptr);
    // Without an account the menu that holds the item is off.
    EXPECT_FALSE(window->chiusure->isEnabled());
}

TEST_F(ConditionsWiring, TheStaffaNamesTheRatesItCountsAsZero) {
    writeBytes(dataFolder() + "55.Ipa",
               debitoriBytes({"01/01/2026", "__/__/____", "__/__/____", "__/__/____", "__/__/____"},
                             {std::numeric_limits<float>::infinity(), 0, 0, 0, 0}, {}));
    window->stf->trigger();
    ASSERT_NE(formHost().loaded<Staffa>(), nullptr);
    EXPECT_EQ(messages.texts(),
              QStringList{"Tasso non valido nelle condizioni del conto (Interessi Debitori entro "
                          "fido riga 1): è contato come zero nel conteggio delle competenze. "
                          "Correggere il tasso in \"Dati calcolo interessi\"."});
}

} // namespace
} // namespace qv::test
