// The account editor and the account choice are made when first opened, not at the
// start-up; whenever they open, their lists are the accounts of the archive, whatever
// changed it before: an account added or deleted in the editor, another data folder
// chosen, the archive read again (as a restore does).
#include "support/main_window_fixture.h"

#include "support/bytes.h"

#include "archives/account_form.h"
#include "archives/account_selection_form.h"
#include "common/shared_state.h"
#include "platform/list_box.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace qv::test {
namespace {

class ElenchiContiDifferiti : public MainWindowTest {
protected:
    // "Gestione conto" from the main window's menu.
    Form2& gestione() {
        window->NuovoConto->trigger();
        Form2* f = formHost().loaded<Form2>();
        EXPECT_NE(f, nullptr);
        EXPECT_TRUE(f && f->isShown());
        return *f;
    }
    // "Apri conto" from the main window's menu.
    Form7& scelta() {
        window->ApriConto->trigger();
        Form7* f = formHost().loaded<Form7>();
        EXPECT_NE(f, nullptr);
        EXPECT_TRUE(f && f->isShown());
        return *f;
    }
    // The codes of a list's lines, in the list's order, each with the row it carries.
    static QStringList codici(const ListBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->text(i).left(12).trimmed() + QLatin1Char('@') +
                       QString::number(list->data(i));
        return out;
    }
    static void click(Form& f, const char* name) {
        auto* b = f.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    static void pick(Form2& f, const QString& code) {
        for (int row = 0; row < f.ListaConti->count(); ++row) {
            if (f.ListaConti->text(row).left(12).trimmed() == code) {
                f.ListaConti->setCurrentRow(row);
                emit f.ListaConti->rowDoubleClicked(row);
                return;
            }
        }
        ADD_FAILURE() << "no line for " << code.toStdString();
    }
    // An archive of two accounts in a new folder beside the data folder.
    QString altraCartella() {
        const QString path = root_.path() + QStringLiteral("/altra/");
        EXPECT_TRUE(QDir().mkpath(path));
        writeRecordAt(path + "Conti.dat", 1,
                      contoBytes({.numero = 1, .codice = "77", .banca = "BANCA SETTE"}));
        writeRecordAt(path + "Conti.dat", 2,
                      contoBytes({.numero = 2, .codice = "66", .banca = "BANCA SEI"}));
        EXPECT_TRUE(scriviContatore(path + "RecConti.dat", 2));
        return path;
    }
};

TEST_F(ElenchiContiDifferiti, NeitherAccountWindowIsMadeAtTheStartUp) {
    avvia({{"12", "BANCA UNO"}, {"34", "BANCA DUE"}}, "");
    EXPECT_EQ(formHost().loaded<Form2>(), nullptr);
    EXPECT_EQ(formHost().loaded<Form7>(), nullptr);

    // Opened, each lists the archive's accounts.
    const QStringList archivio{"12@1", "34@2"};
    EXPECT_EQ(codici(gestione().ListaConti), archivio);
    EXPECT_EQ(formHost().loaded<Form7>(), nullptr);
    EXPECT_EQ(codici(scelta().List1), archivio);
}

TEST_F(ElenchiContiDifferiti, AnAccountWindowMadeLaterStartsFromTheLoadedAccounts) {
    avvia({{"34", "BANCA DUE"}, {"12", "BANCA UNO"}}, "");
    // Made but not yet shown (its activation reads the archive again): the accounts
    // loaded at the start-up, sorted, each line with its row.
    EXPECT_EQ(codici(formHost().form<Form2>().ListaConti), (QStringList{"12@2", "34@1"}));
    EXPECT_EQ(codici(formHost().form<Form7>().List1), (QStringList{"12@2", "34@1"}));
}

TEST_F(ElenchiContiDifferiti, AnAccountAddedOrDeletedInTheEditorIsWhatTheChoiceLists) {
    avvia({{"12", "BANCA UNO"}, {"34", "BANCA DUE"}}, "");
    Form2& editor = gestione();
    QTest::keyClicks(editor.CodConto, QStringLiteral("56"));
    QTest::keyClicks(editor.NomeBanca, QStringLiteral("BANCA TRE"));
    click(editor, "AddAnItem");
    EXPECT_EQ(codici(editor.ListaConti), (QStringList{"12@1", "34@2", "56@3"}));
    click(editor, "esci");

    // The choice, first opened after the addition.
    Form7& lista = scelta();
    EXPECT_EQ(codici(lista.List1), (QStringList{"12@1", "34@2", "56@3"}));
    click(lista, "Command2");
    QApplication::processEvents();

    // Deleted in the editor opened again: the choice made once more lists the rest.
    Form2& ancora = gestione();
    EXPECT_EQ(codici(ancora.ListaConti), (QStringList{"12@1", "34@2", "56@3"}));
    pick(ancora, QStringLiteral("34"));
    messages.answer(MessageAnswer::Ok);
    click(ancora, "Del");
    EXPECT_EQ(codici(ancora.ListaConti), (QStringList{"12@1", "56@2"}));
    click(ancora, "esci");
    EXPECT_EQ(codici(scelta().List1), (QStringList{"12@1", "56@2"}));
}

TEST_F(ElenchiContiDifferiti, AnAccountChangedInTheEditorShowsInTheChoiceMadeBefore) {
    avvia({{"12", "BANCA UNO"}}, "");
    Form7& lista = scelta();
    Form2& editor = gestione();
    pick(editor, QStringLiteral("12"));
    editor.NomeBanca->setText(QString());
    QTest::keyClicks(editor.NomeBanca, QStringLiteral("BANCA NUOVA"));
    click(editor, "AddAnItem");
    ASSERT_EQ(lista.List1->count(), 1);
    EXPECT_TRUE(lista.List1->text(0).startsWith(QStringLiteral("12           - BANCA NUOVA")));
}

TEST_F(ElenchiContiDifferiti, TheEditorFirstOpenedAfterAnotherFolderWasChosenListsThatFolder) {
    avvia({{"12", "BANCA UNO"}}, "");
    const QString altra = altraCartella();
    Form7& lista = scelta();
    lista.Dir1->setCurrentIndex(lista.Cartelle->index(QDir::cleanPath(altra)));
    ASSERT_EQ(stato().PercorsoDati, altra);
    EXPECT_EQ(codici(lista.List1), (QStringList{"66@2", "77@1"}));
    EXPECT_EQ(formHost().loaded<Form2>(), nullptr);

    // Made now, before its activation: already the new folder's accounts.
    EXPECT_EQ(codici(formHost().form<Form2>().ListaConti), (QStringList{"66@2", "77@1"}));
    Form2& editor = gestione();
    EXPECT_EQ(codici(editor.ListaConti), (QStringList{"66@2", "77@1"}));
    EXPECT_EQ(editor.cartellaScelta(), altra);
}

TEST_F(ElenchiContiDifferiti, TheArchiveReadAgainIsWhatTheWindowsMadeAfterList) {
    avvia({{"12", "BANCA UNO"}}, "");
    // The archive as a restore puts it back, then read again as the restore asks.
    writeAccount(2, "90", "BANCA NOVANTA");
    ASSERT_TRUE(scriviContatore(dataFolder() + "RecConti.dat", 2));
    CaricaElencoConti();
    EXPECT_EQ(formHost().loaded<Form2>(), nullptr);
    EXPECT_EQ(codici(formHost().form<Form2>().ListaConti), (QStringList{"12@1", "90@2"}));
    EXPECT_EQ(codici(scelta().List1), (QStringList{"12@1", "90@2"}));
}

} // namespace
} // namespace qv::test
