// The settings window: what it stores in Imposta.DAT, what it shows again, the
// limits of its boxes, its key filter and Enter chain, and refused saves.
#include "common/shared_state.h"
#include "platform/desktop.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "shell/main_window.h"
#include "shell/program_files.h"
#include "shell/settings.h"
#include "shell/settings_form.h"
#include "shell/startup.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

using qv::Form23;
using qv::formHost;
using qv::stato;
using qv::test::text;

class SettingsTest : public qv::test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        qv::setBeepHook([this] { ++beeps; });
        // Euro in slot 15, two francs with different rates, the rest empty.
        auto& t = stato().TabellaValute;
        t[15] = qv::Valuta{15, QStringLiteral("Euro"), 1.0, QStringLiteral("Unione Europea")};
        t[3] = qv::Valuta{3, QStringLiteral("Franco"), 40.3399, QStringLiteral("Belgio")};
        t[7] = qv::Valuta{7, QStringLiteral("Franco"), 6.55957, QStringLiteral("Francia")};
        for (int slot : {3, 7, 15})
            ASSERT_TRUE(qv::test::riuscito(qv::scriviValuta(slot)));
        t = {};
    }

    QString impostaPath() const { return programFolder() + QStringLiteral("Imposta.DAT"); }

    Form23& open() { return formHost().form<Form23>(); }

    static QLineEdit* box(Form23& f, const char* name) {
        auto* b = f.findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }

    static void retype(QLineEdit* b, const QString& text) {
        b->clear();
        QTest::keyClicks(b, text);
    }

    int beeps = 0;
};

TEST_F(SettingsTest, SavedSettingsGiveTheRecordLayoutAndShowAgain) {
    Form23& f = open();
    EXPECT_EQ(f.caption(), QStringLiteral("Impostazioni"));
    retype(box(f, "PerAvv_1"), QStringLiteral("/home/mario/conti"));
    retype(box(f, "contAvv_0"), QStringLiteral("C123"));
    auto* combo = f.findChild<qv::ComboBox*>(QStringLiteral("Combo1"));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(combo->findLine(QStringLiteral("Euro - Unione Europea")));
    retype(box(f, "decimali"), QStringLiteral("2"));
    retype(box(f, "NomeUt"), QStringLiteral(" Mario"));
    retype(box(f, "PassW"), QStringLiteral("segreto"));
    f.findChild<QCheckBox*>(QStringLiteral("accesso"))->setChecked(true);
    f.findChild<QPushButton*>(QStringLiteral("Salva"))->click();

    QByteArray expected;
    expected += text("/home/mario/conti/", 35);    // 0
    expected += text("C123", 12);                  // 35
    expected += text("Euro - Unione Europea", 25); // 47
    expected += QByteArray("\x02\x00", 2);         // 72
    expected += text(" Mario", 30);                // 74
    expected += text("segreto", 10);               // 104
    expected += QByteArray("\xFF\xFF", 2);         // 114
    ASSERT_EQ(expected.size(), 116);
    EXPECT_EQ(readBytes(impostaPath()), expected);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(formHost().loaded<Form23>(), nullptr);
    EXPECT_EQ(stato().ImpostazioniCorrenti.contoAvvio, QStringLiteral("C123"));
    EXPECT_EQ(stato().FormatoImporti, QStringLiteral("#,###,###,##0.00"));

    stato().ImpostazioniCorrenti = {};
    Form23& again = open();
    EXPECT_EQ(box(again, "PerAvv_1")->text(), QStringLiteral("/home/mario/conti/"));
    EXPECT_EQ(box(again, "contAvv_0")->text(), QStringLiteral("C123"));
    EXPECT_EQ(again.Combo1->currentText(), QStringLiteral("Euro - Unione Europea"));
    EXPECT_EQ(box(again, "decimali")->text(), QStringLiteral("2"));
    EXPECT_EQ(box(again, "NomeUt")->text(), QStringLiteral("Mario"));
    EXPECT_EQ(box(again, "PassW")->text(), QStringLiteral("segreto"));
    EXPECT_TRUE(again.accesso->isChecked());
}

TEST_F(SettingsTest, DataFolderBoxRules) {
    // Empty: "0" is stored and the box shows empty again.
    {
        Form23& f = open();
        retype(box(f, "PerAvv_1"), QString());
        f.Salva->click();
        EXPECT_EQ(readBytes(impostaPath()).left(35), text("0", 35));
        EXPECT_TRUE(box(open(), "PerAvv_1")->text().isEmpty());
        formHost().unload(open());
    }
    // A typed "\" becomes "/", and the final "/" is added.
    {
        Form23& f = open();
        retype(box(f, "PerAvv_1"), QStringLiteral("\\srv\\conti\\2026"));
        EXPECT_EQ(box(f, "PerAvv_1")->text(), QStringLiteral("/srv/conti/2026"));
        f.Salva->click();
        EXPECT_EQ(readBytes(impostaPath()).left(35), text("/srv/conti/2026/", 35));
    }
    // Typed with its final "/", stored unchanged.
    {
        Form23& f = open();
        retype(box(f, "PerAvv_1"), QStringLiteral("/srv/dati/"));
        f.Salva->click();
        EXPECT_EQ(readBytes(impostaPath()).left(35), text("/srv/dati/", 35));
    }
    // 35 characters leave no room for the separator: refused, nothing written.
    {
        const QByteArray before = readBytes(impostaPath());
        Form23& f = open();
        const QString full = QStringLiteral("/") + QString(34, QLatin1Char('a'));
        retype(box(f, "PerAvv_1"), full + QStringLiteral("bcd"));
        EXPECT_EQ(box(f, "PerAvv_1")->text(), full);
        f.Salva->click();
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Attenzione"));
        EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("35 caratteri")));
        EXPECT_EQ(formHost().loaded<Form23>(), &f);
        EXPECT_EQ(readBytes(impostaPath()), before);
    }
}

// A folder typed without a leading "/" is one inside the program folder, and the stored
// text names it whole; one whose whole path does not fit the record is stored as typed,
// and still names the folder inside the program folder.
TEST_F(SettingsTest, AFolderWithoutALeadingSlashIsInsideTheProgramFolder) {
    QTemporaryDir corta(QStringLiteral("/tmp/qvXXXXXX"));
    ASSERT_TRUE(corta.isValid());
    const QString programma = corta.path() + QStringLiteral("/");
    ASSERT_TRUE(QFile::copy(programFolder() + QStringLiteral("Valute.DAT"),
                            programma + QStringLiteral("Valute.DAT")));
    stato().PercorsoProgramma = programma;
    struct Caso {
        const char* digitato;
        QString memorizzato;
    };
    const std::vector<Caso> casi = {
        {"archivio", programma + QStringLiteral("archivio/")},
        {"conti\\2026\\", programma + QStringLiteral("conti/2026/")},
        {"./vecchi/../conti", programma + QStringLiteral("conti/")},
        {"/srv/conti", QStringLiteral("/srv/conti/")},
    };
    for (const Caso& c : casi) {
        Form23& f = open();
        retype(box(f, "PerAvv_1"), QString::fromUtf8(c.digitato));
        f.Salva->click();
        EXPECT_TRUE(messages.shown().empty()) << c.digitato;
        EXPECT_EQ(readBytes(programma + QStringLiteral("Imposta.DAT")).left(35),
                  text(c.memorizzato.toLatin1(), 35))
            << c.digitato;
        EXPECT_EQ(box(open(), "PerAvv_1")->text().trimmed(), c.memorizzato) << c.digitato;
        formHost().unload(open());
    }

    // Too long once inside the program folder: the relative text is stored, which
    // start-up takes inside the program folder all the same.
    Form23& f = open();
    const QString lunga = QString(35 - programma.size(), QLatin1Char('c'));
    retype(box(f, "PerAvv_1"), lunga);
    f.Salva->click();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(readBytes(programma + QStringLiteral("Imposta.DAT")).left(35),
              text((lunga + QStringLiteral("/")).toLatin1(), 35));
    EXPECT_EQ(qv::cartellaDatiImpostata(lunga + QStringLiteral("/"), programma),
              programma + lunga + QStringLiteral("/"));
}

TEST_F(SettingsTest, BoxesHoldNoMoreThanTheirFields) {
    Form23& f = open();
    retype(box(f, "PassW"), QStringLiteral("abcdefghijKL"));
    EXPECT_EQ(box(f, "PassW")->text(), QStringLiteral("abcdefghij"));
    EXPECT_EQ(box(f, "PassW")->echoMode(), QLineEdit::Password);
    retype(box(f, "contAvv_0"), QStringLiteral("1234567890123"));
    EXPECT_EQ(box(f, "contAvv_0")->text(), QStringLiteral("123456789012"));
    retype(box(f, "NomeUt"), QString(31, QLatin1Char('n')));
    EXPECT_EQ(box(f, "NomeUt")->text(), QString(30, QLatin1Char('n')));
    f.Salva->click();
    const QByteArray bytes = readBytes(impostaPath());
    EXPECT_EQ(bytes.mid(104, 10), QByteArray("abcdefghij"));
    EXPECT_EQ(bytes.mid(35, 12), QByteArray("123456789012"));
}

TEST_F(SettingsTest, DecimalsFilterAndEmptyBoxKeepsPreviousValue) {
    qv::Impostazioni stored;
    stored.numeroDecimali = 3;
    stored.percorsoDati = QStringLiteral("0");
    writeBytes(impostaPath(), stored.toBytes());
    stato().FormatoImporti = QStringLiteral("#,###,###,##0.00");

    Form23& f = open();
    QLineEdit* dec = box(f, "decimali");
    EXPECT_EQ(dec->text(), QStringLiteral("3"));
    dec->clear();
    QTest::keyClicks(dec, QStringLiteral("a9-"));
    EXPECT_EQ(dec->text(), QString());
    EXPECT_EQ(beeps, 3);
    QTest::keyClicks(dec, QStringLiteral("1"));
    QTest::keyClick(dec, Qt::Key_Backspace);
    EXPECT_EQ(dec->text(), QString());
    EXPECT_EQ(beeps, 3);

    f.Salva->click();
    EXPECT_EQ(readBytes(impostaPath()).mid(72, 2), QByteArray("\x03\x00", 2));
    EXPECT_EQ(stato().ImpostazioniCorrenti.numeroDecimali, 3);
    EXPECT_EQ(stato().FormatoImporti, QStringLiteral("#,###,###,##0.000"));
}

TEST_F(SettingsTest, DecimalsOutsideTheTableLeaveTheFormatAlone) {
    qv::Impostazioni stored;
    stored.numeroDecimali = 7;
    writeBytes(impostaPath(), stored.toBytes());
    stato().FormatoImporti = QStringLiteral("#,###,###,##0.00");
    Form23& f = open();
    EXPECT_EQ(box(f, "decimali")->text(), QStringLiteral("7"));
    f.Salva->click();
    EXPECT_EQ(readBytes(impostaPath()).mid(72, 2), QByteArray("\x07\x00", 2));
    EXPECT_EQ(stato().FormatoImporti, QStringLiteral("#,###,###,##0.00"));
}

TEST_F(SettingsTest, EnterMovesAlongTheChain) {
    Form23& f = open();
    formHost().show(f);
    QApplication::setActiveWindow(f.window());
    f.PerAvv[1]->setFocus();
    const std::vector<std::pair<QWidget*, QWidget*>> chain = {{f.PerAvv[1], f.contAvv[0]},
                                                              {f.contAvv[0], f.Salva},
                                                              {f.decimali, f.NomeUt},
                                                              {f.NomeUt, f.PassW},
                                                              {f.PassW, f.PerAvv[1]}};
    for (auto [from, to] : chain) {
        from->setFocus();
        ASSERT_TRUE(from->hasFocus()) << from->objectName().toStdString();
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_TRUE(to->hasFocus()) << from->objectName().toStdString();
    }
    // Enter on the decimals box passed the filter without a beep and typed nothing.
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_FALSE(QFile::exists(impostaPath()));
    // The chain ends on "Conferma", which Enter then presses.
    f.contAvv[0]->setFocus();
    QTest::keyClick(f.contAvv[0], Qt::Key_Return);
    QTest::keyClick(f.Salva, Qt::Key_Return);
    EXPECT_EQ(formHost().loaded<Form23>(), nullptr);
    EXPECT_EQ(readBytes(impostaPath()).size(), 116);
}

TEST_F(SettingsTest, CurrencyListSortedAndDefaultFoundByItsWholeLine) {
    qv::Impostazioni stored;
    stored.valutaPredefinita = QStringLiteral("Franco - Francia");
    writeBytes(impostaPath(), stored.toBytes());
    Form23& f = open();
    ASSERT_EQ(f.Combo1->count(), 15);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(f.Combo1->text(i), QStringLiteral(" - "));
    EXPECT_EQ(f.Combo1->text(12), QStringLiteral("Euro - Unione Europea"));
    EXPECT_EQ(f.Combo1->text(13), QStringLiteral("Franco - Belgio"));
    EXPECT_EQ(f.Combo1->currentText(), QStringLiteral("Franco - Francia"));
    formHost().unload(f);

    // A default that is no line selects none, and saving stores no default.
    stored.valutaPredefinita = QStringLiteral("Lira - Italia");
    writeBytes(impostaPath(), stored.toBytes());
    Form23& g = open();
    EXPECT_EQ(g.Combo1->currentIndex(), -1);
    g.Salva->click();
    EXPECT_EQ(readBytes(impostaPath()).mid(47, 25), text("", 25));

    // No default: the line the start-up would use, the first with a rate.
    EXPECT_EQ(open().Combo1->currentText(), QStringLiteral("Euro - Unione Europea"));
}

TEST_F(SettingsTest, AnEmptyCurrencySlotIsRefusedAsDefault) {
    Form23& f = open();
    f.Combo1->setCurrentIndex(0); // " - "
    f.Salva->click();
    ASSERT_EQ(messages.texts(),
              QStringList{QStringLiteral("Cambio non impostato per questa valuta")});
    EXPECT_FALSE(QFile::exists(impostaPath()));
    EXPECT_NE(formHost().loaded<Form23>(), nullptr);
}

TEST_F(SettingsTest, UscitaWritesNothing) {
    qv::Impostazioni stored;
    stored.contoAvvio = QStringLiteral("A1");
    writeBytes(impostaPath(), stored.toBytes());
    const QByteArray before = readBytes(impostaPath());
    Form23& f = open();
    retype(box(f, "contAvv_0"), QStringLiteral("B2"));
    retype(box(f, "NomeUt"), QStringLiteral("Altro"));
    f.findChild<QPushButton*>(QStringLiteral("Command3D8"))->click();
    EXPECT_EQ(formHost().loaded<Form23>(), nullptr);
    EXPECT_EQ(readBytes(impostaPath()), before);
    EXPECT_EQ(stato().ImpostazioniCorrenti.contoAvvio, QStringLiteral("A1"));
}

TEST_F(SettingsTest, FailedWriteIsReportedAndTheFormStaysOpen) {
    // A folder where the file should be: the record cannot be written.
    ASSERT_TRUE(QDir(programFolder()).mkdir(QStringLiteral("Imposta.DAT")));
    stato().FormatoImporti = QStringLiteral("#,###,###,##0.00");
    Form23& f = open();
    retype(box(f, "decimali"), QStringLiteral("0"));
    retype(box(f, "NomeUt"), QStringLiteral("Mario"));
    f.Salva->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Errore"));
    EXPECT_TRUE(messages.shown()[0].text.startsWith(
        QStringLiteral("Impossibile salvare le impostazioni: ")));
    EXPECT_EQ(formHost().loaded<Form23>(), &f);
    EXPECT_TRUE(stato().ImpostazioniCorrenti.nomeUtente.isEmpty());
    EXPECT_EQ(stato().FormatoImporti, QStringLiteral("#,###,###,##0.00"));
}

TEST_F(SettingsTest, CreditLinePanelFollowsTheNewFormatWhileTheMovementFormIsOpen) {
    auto window = std::make_unique<qv::MDIForm1>();
    auto& st = stato();
    st.TabellaConti.resize(2);
    st.TabellaConti[1].codiceConto = QStringLiteral("100");
    st.TabellaConti[1].fido = 100;
    st.IndiceContoAttivo = 1;
    st.CodiceContoAttivo = QStringLiteral("100");
    st.FattoreValuta = 2;
    QLabel* fido = window->findChild<QLabel*>(QStringLiteral("Saldi_2"));
    ASSERT_NE(fido, nullptr);
    fido->setText(QStringLiteral("200,00"));

    // Movement form closed: only the file and the format change.
    Form23& f = open();
    retype(box(f, "decimali"), QStringLiteral("3"));
    f.Salva->click();
    EXPECT_EQ(st.FormatoImporti, QStringLiteral("#,###,###,##0.000"));
    EXPECT_EQ(fido->text(), QStringLiteral("200,00"));

    st.Form9Aperta = 1;
    Form23& g = open();
    retype(box(g, "decimali"), QStringLiteral("1"));
    g.Salva->click();
    EXPECT_EQ(fido->text(), QStringLiteral("200,0"));
}

TEST(SettingsTexts, RefusesWhatTheRecordCannotHold) {
    qv::resetStato();
    qv::SettingsTexts typed;
    typed.passwordUtente = QStringLiteral("pałac"); // "ł" has no code in the file
    auto out = qv::settingsFromTexts(typed, {});
    EXPECT_EQ(out.field, qv::SettingsField::Password);
    EXPECT_FALSE(out.ok());

    typed.passwordUtente = QStringLiteral("caffè€");
    typed.valutaPredefinita = QStringLiteral("Corona norvegese - Norvegia"); // 27
    out = qv::settingsFromTexts(typed, {});
    EXPECT_EQ(out.field, qv::SettingsField::Valuta);

    typed.valutaPredefinita.clear();
    typed.decimali = QStringLiteral("x");
    EXPECT_EQ(qv::settingsFromTexts(typed, {}).field, qv::SettingsField::Decimali);

    typed.decimali = QStringLiteral(" 1 ");
    typed.nomeUtente = QStringLiteral("  Anna ");
    out = qv::settingsFromTexts(typed, {});
    ASSERT_TRUE(out.ok()) << out.esito.testo.toStdString();
    EXPECT_EQ(out.record.numeroDecimali, 1);
    EXPECT_EQ(out.record.nomeUtente, QStringLiteral("  Anna "));
    EXPECT_EQ(out.record.passwordUtente, QStringLiteral("caffè€"));
    EXPECT_EQ(out.record.percorsoDati, QStringLiteral("0"));
    EXPECT_EQ(out.record.accessoConPassword, 0);
}

TEST(SettingsTexts, LoginBoxTickedOnlyForMinusOne) {
    qv::Impostazioni imp;
    imp.accessoConPassword = 1;
    imp.percorsoDati = QStringLiteral(" 0");
    const qv::SettingsTexts t = qv::settingsTexts(imp);
    EXPECT_FALSE(t.accessoConPassword);
    EXPECT_TRUE(t.percorsoDati.isEmpty());
    imp.accessoConPassword = -1;
    EXPECT_TRUE(qv::settingsTexts(imp).accessoConPassword);
}

} // namespace
