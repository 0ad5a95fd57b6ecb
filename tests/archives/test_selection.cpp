// Choosing the data folder and an account, and opening the account from its sheet.

#include "support/fixture.h"

#include "archives/account_selection_form.h"
#include "archives/account_sheet_form.h"
#include "archives/accounts.h"
#include "common/folder_lock.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace qv::test {
namespace {

Conto conto(const QString& codice, const QString& banca, double fido = 0) {
    Conto c;
    c.codiceConto = codice;
    c.nomeBanca = banca;
    c.tipoConto = QStringLiteral("ORDINARIO");
    c.indirizzo = QStringLiteral("VIA ROMA 1");
    c.cap = QStringLiteral("20100");
    c.localita = QStringLiteral("MILANO");
    c.provincia = QStringLiteral("MI");
    c.codiceAbi = QStringLiteral("03069");
    c.fido = fido;
    return c;
}

// The names of every entry of a folder, hidden ones included, but for the lock file
// that the program keeps in the data folder it uses.
QStringList entries(const QString& folder) {
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeAll(FileBloccoCartella);
    return names;
}

class SelectionTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        main = std::make_unique<MDIForm1>();
        main->show();
        stato().FormatoImporti = QStringLiteral("#,###,###,##0.00");
    }
    void TearDown() override {
        formHost().resetForTests();
        main.reset();
        ProgramTest::TearDown();
    }

    // Writes an archive of the given accounts (row k = record k) into folder.
    static void scriviArchivio(const QString& folder, const std::vector<Conto>& conti) {
        std::vector<Conto> numerati = conti;
        for (size_t i = 0; i < numerati.size(); ++i)
            numerati[i].numero = qint16(i + 1);
        ASSERT_TRUE(scriviRecords(folder + QStringLiteral("Conti.dat"), 1, numerati));
        ASSERT_TRUE(
            scriviContatore(folder + QStringLiteral("RecConti.dat"), qint16(numerati.size())));
    }

    QString nuovaCartella(const QString& name) {
        const QString path = root_.path() + QLatin1Char('/') + name + QLatin1Char('/');
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }

    Form7& selezione() {
        Form7& f = formHost().form<Form7>();
        formHost().show(f);
        QApplication::processEvents();
        return f;
    }

    static void clickRow(ListBox* list, int row) {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    // As a person double-clicks: the first click selects, the second opens.
    static void doubleClickRow(ListBox* list, int row) {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    static int rowOf(ListBox* list, const QString& code) {
        for (int i = 0; i < list->count(); ++i)
            if (list->text(i).left(12).trimmed() == code) return i;
        return -1;
    }

    // The ten controls that need an open account, each with its state.
    std::vector<bool> comandiConto() const {
        return {main->Files->isEnabled(),
                main->Stampe->menuAction()->isEnabled(),
                main->Visualizza->menuAction()->isEnabled(),
                main->Immissioni->menuAction()->isEnabled(),
                main->PulStampe->isEnabled(),
                main->PulsMovimenti->isEnabled(),
                main->Sicur->isEnabled(),
                main->BottCarnet->isEnabled(),
                main->Vista->isEnabled(),
                main->chiusure->menuAction()->isEnabled()};
    }

    std::unique_ptr<MDIForm1> main;
};

// Every account command.
const std::vector<bool> kTutti(10, true);
const std::vector<bool> kNessuno(10, false);

TEST_F(SelectionTest, AnotherFolderClosesTheOpenAccountAndListsItsAccounts) {
    scriviArchivio(dataFolder(), {conto("10", "BANCA UNO"), conto("20", "BANCA DUE")});
    const QString altra = nuovaCartella(QStringLiteral("altra"));
    scriviArchivio(altra, {conto("30", "BANCA TRE"), conto("05", "BANCA CINQUE")});

    Form7& f = selezione();
    ASSERT_EQ(f.List1->count(), 2);
    EXPECT_EQ(f.NomeFile->text(), QStringLiteral("Percorso: ") + dataFolder());
    ASSERT_TRUE(apriContoDellaRiga(1));
    ASSERT_EQ(comandiConto(), kTutti);

    f.Dir1->setCurrentIndex(f.Cartelle->index(QDir::cleanPath(altra)));

    EXPECT_EQ(stato().PercorsoDati, altra);
    EXPECT_EQ(f.NomeFile->text(), QStringLiteral("Percorso: ") + altra);
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    EXPECT_EQ(stato().IndiceContoAttivo, 0);
    EXPECT_EQ(comandiConto(), kNessuno);
    EXPECT_EQ(main->Codice->text(), altra);
    EXPECT_TRUE(main->DescConto->text().isEmpty());

    // The other folder's accounts, in code order, each line carrying its row.
    ASSERT_EQ(f.List1->count(), 2);
    EXPECT_EQ(f.List1->text(0), QStringLiteral("05           - BANCA CINQUE") + QString(33, ' '));
    EXPECT_EQ(f.List1->data(0), 2);
    EXPECT_TRUE(f.List1->text(1).startsWith(QStringLiteral("30           - BANCA TRE")));
    EXPECT_EQ(f.List1->data(1), 1);
    EXPECT_FALSE(f.OK->isEnabled());
}

TEST_F(SelectionTest, FolderWithoutArchiveListsNoneAndGainsNoFile) {
    scriviArchivio(dataFolder(), {conto("10", "BANCA UNO")});
    const QString vuota = nuovaCartella(QStringLiteral("vuota"));
    QDir().mkpath(vuota + QStringLiteral("sotto"));

    Form7& f = selezione();
    ASSERT_EQ(f.List1->count(), 1);
    f.Dir1->setCurrentIndex(f.Cartelle->index(QDir::cleanPath(vuota)));
    EXPECT_EQ(stato().PercorsoDati, vuota);
    EXPECT_EQ(f.List1->count(), 0);
    EXPECT_EQ(stato().NumeroConti, 0);

    // Walking on into a subfolder and showing the form again adds nothing either.
    f.Dir1->setCurrentIndex(f.Cartelle->index(vuota + QStringLiteral("sotto")));
    EXPECT_EQ(stato().PercorsoDati, vuota + QStringLiteral("sotto/"));
    formHost().hide(f);
    formHost().show(f);
    QApplication::processEvents();
    EXPECT_EQ(entries(vuota), QStringList{QStringLiteral("sotto")});
    EXPECT_TRUE(entries(vuota + QStringLiteral("sotto")).isEmpty());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SelectionTest, PickedAndConfirmedAccountBecomesTheOpenAccount) {
    scriviArchivio(dataFolder(),
                   {conto("20", "BANCA DUE", 1000), conto("10", "BANCA UNO", 2500.5)});
    stato().FattoreValuta = 2;

    Form7& f = selezione();
    EXPECT_FALSE(f.OK->isEnabled());
    const int row = rowOf(f.List1, QStringLiteral("10"));
    ASSERT_EQ(row, 0);
    clickRow(f.List1, row);
    ASSERT_TRUE(f.OK->isEnabled());
    f.OK->click();

    EXPECT_FALSE(f.isShown());
    Form10* sheet = formHost().loaded<Form10>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isShown());
    EXPECT_EQ(stato().IndiceContoAttivo, 2);
    EXPECT_EQ(sheet->CodConto->text(), QStringLiteral("10"));
    EXPECT_EQ(sheet->NomeBanca->text(), QStringLiteral("BANCA UNO"));
    EXPECT_EQ(sheet->LocBanca->text(), QStringLiteral("MILANO"));
    EXPECT_EQ(sheet->Fido->text(), QStringLiteral("5.001,00"));
    EXPECT_TRUE(sheet->Saldi->isEnabled());
    // Nothing is open until the sheet confirms.
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    EXPECT_EQ(comandiConto(), kNessuno);

    sheet->Saldi->click();

    EXPECT_EQ(stato().CodiceContoAttivo, QStringLiteral("10"));
    EXPECT_EQ(stato().IndiceContoAttivo, 2);
    EXPECT_EQ(main->Codice->text(), dataFolder() + QStringLiteral("10"));
    EXPECT_EQ(main->DescConto->text(), QStringLiteral("BANCA UNO"));
    EXPECT_EQ(main->Saldi[2]->text(), QStringLiteral("5.001,00"));
    EXPECT_EQ(comandiConto(), kTutti);
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);
    // Opening shows the movement form, which loads the account and writes its
    // list-order copy and totals; no other file of the account is made.
    EXPECT_EQ(entries(dataFolder()),
              (QStringList{QStringLiteral("10.Ord"), QStringLiteral("10.TOT"),
                           QStringLiteral("Conti.dat"), QStringLiteral("RecConti.dat")}));
}

TEST_F(SelectionTest, SheetOverModalListTakesInput) {
    scriviArchivio(dataFolder(), {conto("10", "BANCA UNO")});
    Form7& f = formHost().form<Form7>();
    bool modalDuringPick = false;
    formHost().setModalHook([&](Form& shown) {
        ASSERT_EQ(&shown, &f);
        modalDuringPick = QApplication::activeModalWidget() == &f;
        clickRow(f.List1, 0);
        f.OK->click();
    });
    formHost().showModal(f);
    formHost().setModalHook({});

    EXPECT_TRUE(modalDuringPick);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    Form10* sheet = formHost().loaded<Form10>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isShown());
    sheet->Saldi->click();
    EXPECT_EQ(stato().CodiceContoAttivo, QStringLiteral("10"));
}

TEST_F(SelectionTest, DoubleClickOpensTheSheetUnlessTheCodeMatchesNoRow) {
    scriviArchivio(dataFolder(), {conto("10", "BANCA UNO"), conto("20", "BANCA DUE")});
    Form7& f = selezione();
    // A line left from an archive that has changed since, carrying a row past the end.
    f.List1->addItem(lineaConto(conto("99", "SPARITA")), 3);
    const int row = rowOf(f.List1, QStringLiteral("99"));
    doubleClickRow(f.List1, row);
    f.OK->click();

    EXPECT_EQ(stato().IndiceContoAttivo, 0);
    EXPECT_TRUE(f.isShown());
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);

    // A line whose row no longer holds its code finds the row that does.
    EXPECT_EQ(rigaDellaLinea({lineaConto(conto("20", "BANCA DUE")), 1}), 2);
    EXPECT_EQ(rigaDellaLinea({QString(), 1}), 0);

    // A double-click on a sound line hides the list and shows that account's sheet.
    doubleClickRow(f.List1, rowOf(f.List1, QStringLiteral("20")));
    EXPECT_FALSE(f.isShown());
    EXPECT_TRUE(f.isLoaded());
    Form10* sheet = formHost().loaded<Form10>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->CodConto->text(), QStringLiteral("20"));
    EXPECT_EQ(stato().IndiceContoAttivo, 2);
}

TEST_F(SelectionTest, SheetIsReadOnlyAndOpensOnlyTheRowChosen) {
    scriviArchivio(dataFolder(), {conto("10", "BANCA UNO"), conto("20", "BANCA DUE")});
    CaricaElencoConti();
    stato().IndiceContoAttivo = 1;
    Form10& sheet = formHost().form<Form10>();
    sheet.mostraConto(1, Form10::Modo::Apertura);
    formHost().show(sheet);
    for (QLineEdit* field :
         {sheet.CodConto, sheet.TipoConto, sheet.NomeBanca, sheet.IndBanca, sheet.CapBanca,
          sheet.LocBanca, sheet.ProvBanca, sheet.abi, sheet.Fido})
        EXPECT_TRUE(field->isReadOnly()) << field->objectName().toStdString();
    sheet.CodConto->setFocus();
    QTest::keyClicks(sheet.CodConto, QStringLiteral("77"));
    EXPECT_EQ(sheet.CodConto->text(), QStringLiteral("10"));

    // A code that is not the chosen row's opens nothing and creates nothing.
    sheet.CodConto->setText(QStringLiteral("77"));
    sheet.Saldi->click();
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    EXPECT_EQ(comandiConto(), kNessuno);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("il nr. di conto non esiste. ricontrollare i dati inseriti"));
    EXPECT_EQ(entries(dataFolder()).size(), 2);
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);
    for (int riga : {0, 3, -1})
        EXPECT_FALSE(apriContoDellaRiga(riga)) << riga;
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
}

TEST_F(SelectionTest, ReadOnlySheetOpensNothing) {
    scriviArchivio(dataFolder(), {conto("10", "BANCA UNO", 100), conto("20", "BANCA DUE", 700)});
    CaricaElencoConti();
    ASSERT_TRUE(apriContoDellaRiga(1));
    const QString fido = main->Saldi[2]->text();

    Form10& sheet = formHost().form<Form10>();
    sheet.mostraConto(2, Form10::Modo::Lettura);
    formHost().show(sheet);
    EXPECT_EQ(sheet.NomeBanca->text(), QStringLiteral("BANCA DUE"));
    EXPECT_EQ(sheet.Fido->text(), QStringLiteral("700,00"));
    sheet.Saldi->click();

    EXPECT_EQ(stato().CodiceContoAttivo, QStringLiteral("10"));
    EXPECT_EQ(stato().IndiceContoAttivo, 1);
    EXPECT_EQ(main->DescConto->text(), QStringLiteral("BANCA UNO"));
    EXPECT_EQ(main->Saldi[2]->text(), fido);
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);

    // The next sheet starts in neither mode left over: a sheet filled for
    // opening opens.
    Form10& next = formHost().form<Form10>();
    next.mostraConto(2, Form10::Modo::Apertura);
    next.Saldi->click();
    EXPECT_EQ(stato().CodiceContoAttivo, QStringLiteral("20"));
}

TEST_F(SelectionTest, ArchivioShowsTheListAgainAndClosesTheAccount) {
    scriviArchivio(dataFolder(), {conto("10", "BANCA UNO"), conto("20", "BANCA DUE")});
    Form7& f = selezione();
    ASSERT_TRUE(apriContoDellaRiga(1));
    clickRow(f.List1, rowOf(f.List1, QStringLiteral("20")));
    f.OK->click();
    Form10* sheet = formHost().loaded<Form10>();
    ASSERT_NE(sheet, nullptr);

    sheet->selezione->click();
    QApplication::processEvents();

    EXPECT_TRUE(f.isShown());
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    EXPECT_EQ(comandiConto(), kNessuno);
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);
    EXPECT_EQ(f.List1->count(), 2);
}

TEST_F(SelectionTest, UscitaUnloadsListAndSheet) {
    scriviArchivio(dataFolder(), {conto("10", "BANCA UNO")});
    Form7& f = selezione();
    clickRow(f.List1, 0);
    f.OK->click();
    ASSERT_NE(formHost().loaded<Form10>(), nullptr);
    formHost().show(f);
    f.Command2->click();
    EXPECT_EQ(formHost().loaded<Form7>(), nullptr);
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);

    // The sheet's own Uscita opens nothing.
    Form10& sheet = formHost().form<Form10>();
    sheet.mostraConto(1, Form10::Modo::Apertura);
    sheet.Command3->click();
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);
}

TEST_F(SelectionTest, MissingDataFolderFallsBackToTheHomeFolder) {
    const QString home = nuovaCartella(QStringLiteral("casa"));
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QDir::cleanPath(home).toUtf8());
    const QString assente = root_.path() + QStringLiteral("/assente/");
    stato().PercorsoDati = assente;
    Form7& f = selezione();
    qputenv("HOME", oldHome);

    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Il percorso non esiste"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Errore Disco"));
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("Errore irrecuperabile"));
    EXPECT_EQ(stato().PercorsoDati, home);
    EXPECT_EQ(f.NomeFile->text(), QStringLiteral("Percorso: ") + home);
    EXPECT_EQ(f.List1->count(), 0);
    EXPECT_TRUE(entries(home).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(assente));
}

} // namespace
} // namespace qv::test
