// The main window: the start-up as the user meets it, the menus and toolbar, the
// display currency and the exit.
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"

#include "archives/account_form.h"
#include "archives/account_selection_form.h"
#include "archives/causali_form.h"
#include "common/shared_state.h"
#include "ledger/entry_form.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/program_end.h"
#include "shell/flags_form.h"
#include "shell/help_form.h"
#include "shell/login_form.h"
#include "shell/main_window.h"
#include "shell/notice_form.h"
#include "shell/program_files.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <memory>

namespace qv::test {
namespace {

class MainWindow : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        initShellResources();
        resetProgramEnd();
        setEndProgramHook([this] { ++ends; });
        setBeepHook([this] { ++beeps; });
    }
    void TearDown() override {
        window.reset();
        resetProgramEnd();
        ProgramTest::TearDown();
    }

    // A program folder that has been used before: no first run.
    void notFirstRun() { writeBytes(programFolder() + "RecCausa.dat", le16(0)); }

    void settings(int decimals, const char* startAccount = "", const char* currency = "",
                  bool login = false) {
        Impostazioni imp;
        imp.percorsoDati = "0";
        imp.numeroDecimali = qint16(decimals);
        imp.contoAvvio = QString::fromLatin1(startAccount);
        imp.valutaPredefinita = QString::fromLatin1(currency);
        imp.nomeUtente = "mario";
        imp.passwordUtente = "segreta";
        imp.accessoConPassword = login ? -1 : 0;
        ASSERT_TRUE(test::riuscito(scriviImpostazioni(imp)));
    }

    // The one account of the archive.
    void account(const char* code, const char* bank, double fido) {
        writeAccount(1, code, bank, fido);
        writeBytes(dataFolder() + "RecConti.dat", le16(1));
    }

    MDIForm1& load() {
        window = std::make_unique<MDIForm1>();
        window->Load();
        return *window;
    }

    void choose(const QString& line) {
        const int index = window->Combo1->findLine(line);
        ASSERT_GE(index, 0) << line.toStdString();
        window->Combo1->setCurrentIndex(index);
        emit window->Combo1->activated(index);
    }

    std::unique_ptr<MDIForm1> window;
    int ends = 0;
    int beeps = 0;
};

TEST_F(MainWindow, FirstRunOnEmptyFolders) {
    QDir(dataFolder()).removeRecursively();
    MDIForm1& w = load();

    Form1* notice = formHost().loaded<Form1>();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isShown());
    EXPECT_TRUE(QDir(dataFolder()).exists());
    EXPECT_EQ(stato().PercorsoDati, dataFolder());
    EXPECT_EQ(w.Codice->text(), dataFolder());

    const QByteArray causali = le16(1) + text("AS", 5) + text("ASSEGNO", 25) + "SU1" + le16(2) +
                               text("CA", 5) + text("CARNET", 25) + "SU1" + le16(3) +
                               text("GC", 5) + text("GIROCONTO", 25) + "SU1";
    EXPECT_EQ(readBytes(programFolder() + "Causali.DAT"), causali);
    EXPECT_EQ(readBytes(programFolder() + "RecCausa.dat"), le16(3));
    const QByteArray valute = QByteArray(14 * 60, '\0') + le16(15) + text("Euro", 25) +
                              leDouble(1.0) + text("Unione Europea", 25);
    EXPECT_EQ(readBytes(programFolder() + "Valute.DAT"), valute);

    EXPECT_EQ(stato().NumeroCausali, 3);
    EXPECT_EQ(w.Combo1->count(), 15);
    EXPECT_EQ(w.Combo1->text(0), " - ");
    EXPECT_EQ(w.Combo1->currentText(), "Euro - Unione Europea");
    EXPECT_EQ(stato().FattoreValuta, 1.0);
    EXPECT_FALSE(w.flag->pixmap().isNull());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(MainWindow, SecondStartShowsNoNotice) {
    load();
    window.reset();
    formHost().resetForTests();
    load();
    EXPECT_EQ(formHost().loaded<Form1>(), nullptr);
}

TEST_F(MainWindow, MenusAndButtonsCarryTheirNamesAndCaptions) {
    notFirstRun();
    MDIForm1& w = load();
    const std::vector<std::pair<const char*, const char*>> actions{
        {"NuovoConto", "&Gestione conto"},
        {"ApriConto", "&Apri conto esitente"},
        {"GestCaus", "Gestione causali"},
        {"gestval", "Gestione valute"},
        {"close", "Chiudi"},
        {"color", "Imposta colori"},
        {"ImpStamp", "Imposta stampante"},
        {"pref", "Preferenze"},
        {"movimenti", "&Movimenti"},
        {"CausaliIns", "&Causali"},
        {"ElencoConti", "&Elenco conti"},
        {"TotConti", "Totale conti"},
        {"Esci", "Esci"},
        {"MenMovimenti", "&Movimenti"},
        {"Assegni", "&Assegni"},
        {"Carnet", "&Carnet"},
        {"VisMovimenti", "&Movimenti"},
        {"VisAssFuori", "Assegni fuori"},
        {"AssAnn", "Assegni annullati"},
        {"stf", "Staffa/Interessi"},
        {"AnnualeSimulata", "Elimina periodi"},
        {"IntCost", "Interessi e costi"},
        {"AllConto", "Allineamento conto"},
        {"RiprChiu", "Ripristina chiusura prec."},
        {"Sicur", "Esegui copie di sicurezza"},
        {"RipCopie", "Ripristina copie"},
        {"CancMov", "Cancella Movimenti"},
        {"RioArch", "Riordina archivi"},
        {"CVV", "Conversione valute"},
        {"calco", "Calcolatrice"},
        {"Sovra", "Sovrapponi"},
        {"AffOriz", "Affianca orizzontalmente"},
        {"AffVert", "Affianca verticalmente"},
        {"DispIcon", "Disponi icone"},
        {"sommario", "Sommario"}};
    for (const auto& [name, caption] : actions) {
        auto* a = w.findChild<QAction*>(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), QString::fromUtf8(caption)) << name;
    }
    const std::vector<std::pair<const char*, const char*>> menus{{"File", "&File"},
                                                                 {"Stampe", "&Stampe"},
                                                                 {"Immissioni", "Immissioni"},
                                                                 {"Visualizza", "&Visualizza"},
                                                                 {"chiusure", "Servizi"},
                                                                 {"Manut", "&Manutenzioni"},
                                                                 {"UT", "Utilità"},
                                                                 {"Finestre", "Finestra"},
                                                                 {"Guida", "?"}};
    for (const auto& [name, caption] : menus) {
        auto* m = w.findChild<QMenu*>(name);
        ASSERT_NE(m, nullptr) << name;
        EXPECT_EQ(m->title(), QString::fromUtf8(caption)) << name;
    }
    const std::vector<std::pair<const char*, const char*>> buttons{
        {"SSCommand1", "Gestione Valute"},
        {"BottCarnet", " Carnet "},
        {"Files", " Allinea "},
        {"Command3D2", " Apri "},
        {"PulStampe", " Stampe "},
        {"browse", "Internet"},
        {"PulsMovimenti", " Movimenti "},
        {"Command3D4", " Causali "},
        {"Vista", " Lista Movimenti "},
        {"SSCommand2", " Uscita "}};
    for (const auto& [name, caption] : buttons) {
        auto* b = w.SSPanel1->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromUtf8(caption)) << name;
    }
    // The File menu ends with its print submenu, a separator and Esci.
    const QList<QAction*> file = w.File->actions();
    ASSERT_GE(file.size(), 3);
    EXPECT_EQ(file[file.size() - 3], w.Stampe->menuAction());
    EXPECT_TRUE(file[file.size() - 2]->isSeparator());
    EXPECT_EQ(file.last(), w.Esci);
}

TEST_F(MainWindow, StatusLabelsHaveTheirCaptionsAndTooltips) {
    notFirstRun();
    MDIForm1& w = load();
    EXPECT_EQ(w.Label5->text(), " conto");
    EXPECT_EQ(w.Label9->text(), "Disponibilità:");
    EXPECT_EQ(w.Label4->text(), "Saldo al: ");
    EXPECT_EQ(w.findChild<QLabel*>("Saldi_5")->toolTip(),
              "Disponibilità comprensiva di fido per data operazione");
    EXPECT_EQ(w.AssFuori->toolTip(), "nr di assegni emessi e non ancora pervenuti in banca");
    EXPECT_EQ(w.Combo1->toolTip(), "Seleziona valute");

    QTest::mouseClick(w.Saldi[3], Qt::LeftButton);
    QTest::mouseClick(w.Label10, Qt::LeftButton);
    EXPECT_EQ(beeps, 2);
    QTest::mouseClick(w.DescConto, Qt::LeftButton);
    EXPECT_EQ(beeps, 2);
}

TEST_F(MainWindow, AccountControlsStartDisabled) {
    notFirstRun();
    MDIForm1& w = load();
    for (QPushButton* b : {w.Files, w.PulStampe, w.PulsMovimenti, w.BottCarnet, w.Vista})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    for (QMenu* m : {w.Stampe, w.Visualizza, w.Immissioni, w.chiusure})
        EXPECT_FALSE(m->menuAction()->isEnabled()) << m->objectName().toStdString();
    // Of the maintenance, only the restore of every account is within reach.
    for (QAction* a : {w.AllConto, w.RiprChiu, w.Sicur, w.CancMov})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(w.Manut->menuAction()->isEnabled());
    EXPECT_TRUE(w.RipCopie->isEnabled());
    for (QPushButton* b : {w.Command3D2, w.Command3D4, w.SSCommand1, w.browse, w.SSCommand2})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    for (QMenu* m : {w.File, w.UT, w.Finestre, w.Guida})
        EXPECT_TRUE(m->menuAction()->isEnabled()) << m->objectName().toStdString();
}

TEST_F(MainWindow, MaintenanceItemsFollowTheOpenAccount) {
    notFirstRun();
    settings(2, "A123");
    account("A123", "BANCA ALFA", 100);
    MDIForm1& w = load();
    ASSERT_TRUE(w.PulsMovimenti->isEnabled());
    for (QAction* a :
         {w.AnnualeSimulata, w.RiprChiu,   w.Sicur,      w.RipCopie,     w.RioArch,     w.TotConti,
          w.MenMovimenti,    w.Assegni,    w.Carnet,     w.VisMovimenti, w.VisAssFuori, w.AssAnn,
          w.AllConto,        w.CancMov,    w.CVV,        w.calco,        w.IntCost,     w.stf,
          w.movimenti,       w.CausaliIns, w.ElencoConti})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    for (QPushButton* b : {w.Files, w.BottCarnet, w.Vista, w.Command3D2, w.PulStampe})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();

    // Without an account the closing, its restore and the backup are out of reach;
    // "Ripristina copie" stays, for every account only; "Riordina archivi" stays and says
    // why it cannot run.
    w.close->trigger();
    EXPECT_FALSE(w.chiusure->isEnabled());
    EXPECT_FALSE(w.Sicur->isEnabled());
    EXPECT_FALSE(w.RiprChiu->isEnabled());
    EXPECT_TRUE(w.RipCopie->isEnabled());
    EXPECT_TRUE(w.RioArch->isEnabled());
    messages.clear();
    w.RioArch->trigger();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Nessun conto aperto.");
}

TEST_F(MainWindow, ExitAsksAndEndsOnlyOnOk) {
    notFirstRun();
    MDIForm1& w = load();
    messages.answer(MessageAnswer::Cancel);
    w.Esci->trigger();
    EXPECT_EQ(ends, 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Sei Sicuro di Voler Uscire?");
    EXPECT_EQ(messages.shown()[0].title, "AVVERTIMENTO!");
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown()[0].defaultButton, MessageAnswer::Cancel);

    messages.answer(MessageAnswer::Ok);
    w.SSCommand2->click();
    EXPECT_EQ(ends, 1);
}

TEST_F(MainWindow, AccountAndCausaliEntriesOpenTheirForms) {
    notFirstRun();
    account("12", "BANCA UNO", 0);
    MDIForm1& w = load();
    ASSERT_EQ(stato().NumeroConti, 1);

    // The account editor lists the archive loaded at start-up.
    w.NuovoConto->trigger();
    Form2* editor = formHost().loaded<Form2>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isShown());
    ASSERT_EQ(editor->ListaConti->count(), 1);
    EXPECT_TRUE(editor->ListaConti->text(0).startsWith(
        QStringLiteral("12") + QString(10, QLatin1Char(' ')) + " - BANCA UNO"));

    w.ApriConto->trigger();
    ASSERT_NE(formHost().loaded<Form7>(), nullptr);
    EXPECT_TRUE(formHost().loaded<Form7>()->isShown());

    // The causali form and the " Apri " choice are modal.
    std::vector<QString> modal;
    formHost().setModalHook([&](Form& f) { modal.push_back(f.objectName()); });
    w.Command3D4->click();
    w.Command3D2->click();
    ASSERT_EQ(modal.size(), 2u);
    EXPECT_EQ(modal[0], "Form6");
    EXPECT_EQ(modal[1], "Form7");
}

TEST_F(MainWindow, TheToolbarApriAfterTheMenuItemLeavesNoEmptyWindow) {
    notFirstRun();
    account("12", "BANCA UNO", 0);
    MDIForm1& w = load();
    w.ApriConto->trigger(); // the choice as a child window
    Form7* scelta = formHost().loaded<Form7>();
    ASSERT_NE(scelta, nullptr);
    ASSERT_TRUE(scelta->isShown());

    // " Apri " shows the same choice as a modal window: only it and the main window show.
    QStringList finestre;
    formHost().setModalHook([&](Form& f) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible()) finestre << top->objectName();
        EXPECT_EQ(f.window(), &f);
    });
    w.Command3D2->click();
    finestre.sort();
    EXPECT_EQ(finestre, (QStringList{QStringLiteral("Form7"), QStringLiteral("MDIForm1")}));
}

TEST_F(MainWindow, AChildWindowBiggerThanTheAreaOpensWhollyInsideIt) {
    notFirstRun();
    MDIForm1& w = load();
    w.resize(700, 420);
    QCoreApplication::processEvents();
    Help1& aiuto = formHost().form<Help1>();
    formHost().show(aiuto);
    QMdiSubWindow* finestra = w.mdiArea()->subWindowList().constLast();
    ASSERT_EQ(finestra->widget(), &aiuto);
    const QRect area = w.mdiArea()->viewport()->rect();
    EXPECT_TRUE(area.contains(finestra->geometry()))
        << finestra->geometry().width() << "x" << finestra->geometry().height() << " in "
        << area.width() << "x" << area.height();
}

TEST_F(MainWindow, ClosingTheWindowEndsWithoutAsking) {
    notFirstRun();
    MDIForm1& w = load();
    static_cast<QWidget&>(w).close();
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(MainWindow, ChoosingACurrencyChangesRateFlagAndCreditLine) {
    notFirstRun();
    settings(2, "55", "Euro - Unione Europea");
    writeCurrency(15, "Euro", "Unione Europea", 1.0);
    writeCurrency(12, "Dollaro", "USA", 2.0);
    account("55", "BANCA DI PROVA", 100);
    MDIForm1& w = load();
    EXPECT_EQ(w.Saldi[2]->text(), "100,00");
    const QImage euroFlag = w.flag->pixmap().toImage();

    stato().Form9Aperta = 1;
    stato().SaldoOperazioneOggi = -25.5;
    choose("Dollaro - USA");
    EXPECT_EQ(stato().FattoreValuta, 2.0);
    EXPECT_FALSE(w.flag->pixmap().isNull());
    EXPECT_NE(w.flag->pixmap().toImage(), euroFlag);
    EXPECT_EQ(w.Saldi[2]->text(), "200,00");
    EXPECT_EQ(w.Saldi[5]->text(), "149,00");
    EXPECT_EQ(w.Saldi[1]->text(), "-51,00");
}

// An amount typed in the movement form follows the currency chosen: it keeps standing for
// the same amount, in the new currency.
TEST_F(MainWindow, ChoosingACurrencyShowsATypedAmountInIt) {
    notFirstRun();
    settings(2, "55", "Euro - Unione Europea");
    writeCurrency(15, "Euro", "Unione Europea", 1.0);
    writeCurrency(12, "Dollaro", "USA", 2.0);
    account("55", "BANCA", 100);
    load();
    ASSERT_EQ(stato().Form9Aperta, 1);
    Form9& movimenti = formHost().form<Form9>();
    movimenti.IMPORTO->setText(QStringLiteral("100,5"));
    choose("Dollaro - USA");
    EXPECT_EQ(movimenti.IMPORTO->text(), QStringLiteral("201"));
    choose("Euro - Unione Europea");
    EXPECT_EQ(movimenti.IMPORTO->text(), QStringLiteral("100,5"));
}

TEST_F(MainWindow, TheAvailableAmountShowsTheCents) {
    notFirstRun();
    settings(2, "55", "Euro - Unione Europea");
    writeCurrency(15, "Euro", "Unione Europea", 1.0);
    account("55", "BANCA DI PROVA", 2000);
    writeBytes(dataFolder() + "55.MOV",
               movimentoBytes({1, "01/12/2026", "01/12/2026", "VS", 32.66, "", "", "N", "E"}));
    writeBytes(dataFolder() + "55.MOR", le16(1));
    MDIForm1& w = load();
    ASSERT_EQ(stato().CodiceContoAttivo, "55");
    EXPECT_EQ(w.Saldi[1]->text(), "32,66");
    EXPECT_EQ(w.Saldi[2]->text(), "2.000,00");
    EXPECT_EQ(w.Saldi[5]->text(), "2.032,66");
}

TEST_F(MainWindow, WithTheMovementFormClosedTheLabelsKeepTheirCurrency) {
    notFirstRun();
    settings(2, "55", "Euro - Unione Europea");
    writeCurrency(15, "Euro", "Unione Europea", 1.0);
    writeCurrency(12, "Dollaro", "USA", 2.0);
    account("55", "BANCA", 100);
    MDIForm1& w = load();
    // The start-up account opens the movement form; the user closes it.
    ASSERT_EQ(stato().Form9Aperta, 1);
    formHost().unload(formHost().form<Form9>());
    ASSERT_EQ(stato().Form9Aperta, 0);
    choose("Dollaro - USA");
    EXPECT_EQ(stato().FattoreValuta, 2.0);
    EXPECT_EQ(w.Saldi[2]->text(), "100,00");
}

TEST_F(MainWindow, ALineWithoutRateKeepsThePreviousCurrency) {
    notFirstRun();
    settings(2);
    writeCurrency(15, "Euro", "Unione Europea", 1.0);
    writeCurrency(5, "Franco", "Francia", 0.0);
    writeCurrency(2, "Franco", "Belgio", 40.3399);
    MDIForm1& w = load();
    EXPECT_EQ(w.Combo1->currentText(), "Euro - Unione Europea"); // not the empty " - "
    choose("Franco - Belgio");
    EXPECT_EQ(stato().FattoreValuta, 40.3399);

    choose("Franco - Francia");
    EXPECT_EQ(stato().FattoreValuta, 40.3399);
    EXPECT_EQ(w.Combo1->currentText(), "Franco - Belgio");
    ASSERT_EQ(messages.texts(), QStringList{"Cambio non impostato per questa valuta"});

    choose(" - ");
    EXPECT_EQ(stato().FattoreValuta, 40.3399);
    EXPECT_EQ(w.Combo1->currentText(), "Franco - Belgio");
}

TEST_F(MainWindow, DefaultCurrencyIsFoundByItsWholeLine) {
    notFirstRun();
    settings(2, "", "Franco - Francia");
    writeCurrency(15, "Euro", "Unione Europea", 1.0);
    writeCurrency(2, "Franco", "Belgio", 40.3399);
    writeCurrency(5, "Franco", "Francia", 6.55957);
    MDIForm1& w = load();
    EXPECT_EQ(w.Combo1->currentText(), "Franco - Francia");
    EXPECT_EQ(stato().FattoreValuta, 6.55957);
}

TEST_F(MainWindow, StartupAccountNotFound) {
    notFirstRun();
    settings(2, "999");
    account("55", "BANCA", 100);
    MDIForm1& w = load();
    EXPECT_EQ(messages.texts(),
              QStringList{"il nr. di conto non esiste. ricontrollare i dati inseriti"});
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(w.PulsMovimenti->isEnabled());
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    EXPECT_EQ(stato().IndiceContoAttivo, 0);
}

TEST_F(MainWindow, StartupAccountWithALetterIsOpenedAndChiudiClosesIt) {
    notFirstRun();
    settings(2, "A123");
    account("A123", "BANCA ALFA", 100);
    MDIForm1& w = load();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(stato().CodiceContoAttivo, "A123");
    EXPECT_EQ(w.Codice->text(), dataFolder() + "A123");
    EXPECT_EQ(w.DescConto->text(), "BANCA ALFA");
    EXPECT_TRUE(w.PulsMovimenti->isEnabled());
    EXPECT_TRUE(w.Sicur->isEnabled());

    w.close->trigger();
    EXPECT_EQ(w.Codice->text(), dataFolder());
    EXPECT_EQ(w.DescConto->text(), "");
    EXPECT_EQ(w.Saldi[2]->text(), "");
    EXPECT_FALSE(w.PulsMovimenti->isEnabled());
    EXPECT_FALSE(w.Sicur->isEnabled());
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
}

TEST_F(MainWindow, LoginIsAskedOnlyWhenTheSettingsWantIt) {
    notFirstRun();
    settings(2, "", "", true);
    QStringList asked;
    formHost().setModalHook([&](Form& f) {
        asked << f.objectName();
        auto* login = qobject_cast<passWord*>(&f);
        ASSERT_NE(login, nullptr);
        login->txtUserName->setText("mario");
        login->txtPassword->setText("segreta");
        login->cmdOK->click();
    });
    load();
    EXPECT_EQ(asked.size(), 1);
    EXPECT_EQ(ends, 0);

    window.reset();
    formHost().resetForTests();
    asked.clear();
    settings(2);
    formHost().setModalHook([&](Form& f) { asked << f.objectName(); });
    load();
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MainWindow, FailedLoginStopsTheStartup) {
    notFirstRun();
    settings(2, "999", "", true);
    account("55", "BANCA", 0);
    formHost().setModalHook([](Form& f) {
        auto* login = qobject_cast<passWord*>(&f);
        ASSERT_NE(login, nullptr);
        login->cmdCancel->click();
    });
    load();
    EXPECT_EQ(ends, 1);
    // The start-up account is not looked for once the program is ending.
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(MainWindow, UtilityItemsReachTheDesktop) {
    notFirstRun();
    MDIForm1& w = load();
    int setups = 0;
    setPrintSetupHook([&](QPrinter&) {
        ++setups;
        return false;
    });
    w.ImpStamp->trigger();
    EXPECT_EQ(setups, 1);

    // A calculator of our own on the search path.
    const QString bin = root_.path() + "/bin";
    QDir().mkpath(bin);
    writeBytes(bin + "/xcalc", "#!/bin/sh\n");
    QFile::setPermissions(bin + "/xcalc", QFile::ReadOwner | QFile::ExeOwner);
    setProgramSearchPaths({bin});
    QStringList started;
    setProgramStarter([&](const QString& program) {
        started << program;
        return true;
    });
    w.calco->trigger();
    EXPECT_EQ(started, QStringList{bin + "/xcalc"});
    EXPECT_TRUE(messages.shown().empty());

    w.sommario->trigger();
    ASSERT_NE(helpViewer(), nullptr);
    EXPECT_FALSE(helpViewer()->toPlainText().startsWith("Guida non disponibile"));
    helpViewer()->close();
}

} // namespace
} // namespace qv::test
