// The main window's items reach the windows of the ledger and the cheques, and
// the cheque counters follow every load of the open account.
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/main_window_fixture.h"

#include "archives/account_sheet_form.h"
#include "cheques/book_form.h"
#include "cheques/cheque_books.h"
#include "common/random_file.h"
#include "common/today.h"
#include "ledger/account_loader.h"
#include "ledger/alignment_form.h"
#include "ledger/entry_form.h"
#include "ledger/open_account.h"
#include "ledger/period_list_form.h"
#include "ledger/summary_form.h"
#include "platform/form_host.h"
#include "platform/program_end.h"
#include "shell/flags_form.h"
#include "shell/main_window.h"
#include "shell/program_files.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <memory>

namespace qv::test {
namespace {

class Wiring : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // Account "55" opened at start-up.
        avvia({{"55", "BANCA"}}, "55");
        ASSERT_NE(formHost().loaded<Form9>(), nullptr);
    }
};

TEST_F(Wiring, ListItemsShowTheirWindows) {
    window->Vista->click();
    ASSERT_NE(formHost().loaded<Form11>(), nullptr);
    EXPECT_TRUE(formHost().loaded<Form11>()->isShown());
    window->TotConti->trigger();
    ASSERT_NE(formHost().loaded<Form22>(), nullptr);
    EXPECT_TRUE(formHost().loaded<Form22>()->isShown());
    window->Files->click();
    ASSERT_NE(formHost().loaded<Form4>(), nullptr);
    EXPECT_TRUE(formHost().loaded<Form4>()->isShown());

    std::vector<QString> modal;
    formHost().setModalHook([&](Form& f) { modal.push_back(f.objectName()); });
    window->BottCarnet->click();
    window->VisAssFuori->trigger();
    window->AssAnn->trigger();
    EXPECT_EQ(modal, (std::vector<QString>{"Form3", "Form13", "Form17"}));
}

TEST_F(Wiring, ChequeCountersFollowTheLoadAndTheClearing) {
    QString errore;
    ASSERT_TRUE(test::riuscito(SalvaNuovoCarnet({DataOggi(), 1.5, 100}), &errore))
        << errore.toStdString();
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore)) << errore.toStdString();
    EXPECT_EQ(window->AssMano->text(), "10");
    EXPECT_EQ(window->AssFuori->text(), "0");

    // Clearing the movements closes the windows that showed the account's data,
    // keeps the movement form, and the reload empties the counters.
    window->Files->click();
    ASSERT_NE(formHost().loaded<Form4>(), nullptr);
    messages.answer(MessageAnswer::Ok);
    messages.answer(MessageAnswer::Ok);
    window->CancMov->trigger();
    EXPECT_EQ(formHost().loaded<Form4>(), nullptr);
    EXPECT_NE(formHost().loaded<Form9>(), nullptr);
    EXPECT_EQ(stato().NumeroCarnet, 0);
    EXPECT_EQ(window->AssMano->text(), "0");
}

// The account's sheet, which the main window binds to the open account, closes when the
// account's movements go and when the account closes.
TEST_F(Wiring, TheSheetClosesWhenTheMovementsGoAndWhenTheAccountCloses) {
    auto mostraScheda = [] {
        Form10& scheda = formHost().form<Form10>();
        scheda.mostraConto(1, Form10::Modo::Lettura);
        formHost().show(scheda);
    };
    mostraScheda();
    messages.answer(MessageAnswer::Ok);
    messages.answer(MessageAnswer::Ok);
    window->CancMov->trigger();
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);
    EXPECT_EQ(stato().CodiceContoAttivo, "55");

    mostraScheda();
    ChiudiConto();
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);
}

TEST_F(Wiring, ClearingMovementsAsksTwiceAndCancelAtEitherKeepsEveryFile) {
    QString errore;
    ASSERT_TRUE(test::riuscito(SalvaNuovoCarnet({DataOggi(), 1.5, 100}), &errore))
        << errore.toStdString();
    const auto prima = dataFiles();
    messages.answer(MessageAnswer::Cancel);
    window->CancMov->trigger();
    messages.answer(MessageAnswer::Ok);
    messages.answer(MessageAnswer::Cancel);
    window->CancMov->trigger();
    EXPECT_EQ(dataFiles(), prima);
    ASSERT_EQ(messages.shown().size(), 3u);
    for (const MessageRecord& box : messages.shown()) {
        EXPECT_EQ(box.title, "AVVERTIMENTO!");
        EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
        EXPECT_EQ(box.defaultButton, MessageAnswer::Cancel);
    }
    EXPECT_TRUE(messages.shown()[0].text.endsWith("...ESEGUI PRIMA IL BACKUP DEI DATI..."));
    EXPECT_EQ(messages.shown()[1].text, messages.shown()[0].text);
    EXPECT_EQ(messages.shown()[2].text, "SEI PROPRIO SICURO DI VOLER CONTINUARE?");
}

// An account carried over from an old data folder with the name of the account archive:
// "Cancella Movimenti" leaves the archive and its count byte for byte.
TEST_F(MainWindowTest, ClearingTheMovementsOfAnAccountNamedContiKeepsTheArchive) {
    avvia({{"55", "BANCA"}, {"Conti", "VECCHIA"}}, "Conti");
    const QByteArray archivio = readBytes(dataFolder() + "Conti.dat");
    const QByteArray conteggio = readBytes(dataFolder() + "RecConti.dat");
    ASSERT_EQ(conteggio, le16(2));
    messages.answer(MessageAnswer::Ok);
    messages.answer(MessageAnswer::Ok);
    window->CancMov->trigger();
    EXPECT_EQ(readBytes(dataFolder() + "Conti.dat"), archivio);
    EXPECT_EQ(readBytes(dataFolder() + "RecConti.dat"), conteggio);
    EXPECT_EQ(stato().NumeroConti, 2);
    EXPECT_EQ(stato().CodiceContoAttivo, "Conti");
}

} // namespace
} // namespace qv::test
