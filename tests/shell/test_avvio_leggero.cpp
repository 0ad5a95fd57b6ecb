// The start-up makes neither account form; made, their folder trees read nothing until
// the forms are first shown; shown after the start-up they show the data folder.
#include "support/main_window_fixture.h"

#include "archives/account_form.h"
#include "archives/account_selection_form.h"
#include "common/shared_state.h"
#include "platform/list_box.h"

#include <QAction>
#include <QFileSystemModel>
#include <QLabel>
#include <gtest/gtest.h>

namespace qv::test {
namespace {

class AvvioLeggero : public MainWindowTest {};

// Every folder above the tree's choice is open.
void apertaFinoAllaScelta(const FolderTree& tree) {
    const QModelIndex scelta = tree.currentIndex();
    ASSERT_TRUE(scelta.isValid());
    for (QModelIndex su = scelta.parent(); su.isValid(); su = su.parent())
        EXPECT_TRUE(tree.isExpanded(su)) << tree.folders()->filePath(su).toStdString();
}

TEST_F(AvvioLeggero, TheAccountFormsAreNotMadeAtStartUp) {
    avvia({{"12", "BANCA UNO"}}, "");
    // Neither the account choice nor the account editor is made before it is opened, so
    // neither folder tree reads anything.
    EXPECT_EQ(formHost().loaded<Form7>(), nullptr);
    EXPECT_EQ(formHost().loaded<Form2>(), nullptr);
    // Made then, their lists and captions are filled all the same.
    Form7& scelta = formHost().form<Form7>();
    Form2& gestione = formHost().form<Form2>();
    EXPECT_EQ(scelta.Cartelle->rowCount(), 0);
    EXPECT_EQ(gestione.Cartelle->rowCount(), 0);
    EXPECT_EQ(scelta.List1->count(), 1);
    EXPECT_EQ(gestione.ListaConti->count(), 1);
    EXPECT_EQ(scelta.NomeFile->text(), "Percorso: " + dataFolder());
}

TEST_F(AvvioLeggero, TheAccountChoiceOpenedAfterTheStartUpShowsTheDataFolder) {
    avvia({{"12", "BANCA UNO"}, {"34", "BANCA DUE"}}, "");
    window->ApriConto->trigger();
    Form7* scelta = formHost().loaded<Form7>();
    ASSERT_NE(scelta, nullptr);
    ASSERT_TRUE(scelta->isShown());
    EXPECT_EQ(scelta->NomeFile->text(), "Percorso: " + dataFolder());
    EXPECT_EQ(scelta->cartellaScelta(), dataFolder());
    apertaFinoAllaScelta(*scelta->Dir1);
    EXPECT_EQ(scelta->List1->count(), 2);
    EXPECT_EQ(stato().PercorsoDati, dataFolder());
}

TEST_F(AvvioLeggero, TheAccountEditorOpenedAfterTheStartUpShowsTheDataFolder) {
    avvia({{"12", "BANCA UNO"}}, "");
    window->NuovoConto->trigger();
    Form2* gestione = formHost().loaded<Form2>();
    ASSERT_NE(gestione, nullptr);
    ASSERT_TRUE(gestione->isShown());
    EXPECT_EQ(gestione->cartellaScelta(), dataFolder());
    apertaFinoAllaScelta(*gestione->Dir1);
    EXPECT_EQ(gestione->ListaConti->count(), 1);
    EXPECT_EQ(stato().PercorsoDati, dataFolder());
}

} // namespace
} // namespace qv::test
