// The login dialog: wrong user name, wrong password, the shared failure counter,
// "Annulla", Esc, the close box, and the comparison with the stored settings.
#include "common/shared_state.h"
#include "platform/form_host.h"
#include "platform/program_end.h"
#include "shell/login_form.h"
#include "shell/settings.h"
#include "support/bytes.h"
#include "support/fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using qv::formHost;
using qv::passWord;

class LoginTest : public qv::test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        qv::resetProgramEnd();
        qv::setEndProgramHook([this] { ++ends; });
        // The record as it lies on disk: name and password blank-padded.
        using namespace qv::test;
        const QByteArray bytes = text("0", 35) + text("", 12) + text("", 25) + le16(0) +
                                 text("Mario", 30) + text("Pw12", 10) + le16(-1);
        stato().ImpostazioniCorrenti = qv::Impostazioni::fromBytes(bytes);
    }
    void TearDown() override {
        qv::resetProgramEnd();
        ProgramTest::TearDown();
    }

    static qv::StatoProgramma& stato() { return qv::stato(); }

    passWord& dialog() { return formHost().form<passWord>(); }

    void attempt(passWord& d, const QString& user, const QString& password) {
        d.txtUserName->setText(user);
        d.txtPassword->setText(password);
        d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    }

    int ends = 0;
};

TEST_F(LoginTest, WrongUserNameEmptiesOnlyTheNameBox) {
    passWord& d = dialog();
    EXPECT_EQ(d.caption(), QStringLiteral("Quorvanta - PassWord"));
    attempt(d, QStringLiteral("Luigi"), QStringLiteral("Pw12"));
    ASSERT_EQ(messages.shown().size(), 1u);
    const qv::MessageRecord& box = messages.shown()[0];
    EXPECT_EQ(box.text, QStringLiteral("Nome utente non valido. Riprovare"));
    EXPECT_EQ(box.title, QStringLiteral("Accesso"));
    EXPECT_EQ(box.buttons, qv::MessageButtons::Ok);
    EXPECT_EQ(box.icon, qv::MessageIcon::None);
    EXPECT_TRUE(d.txtUserName->text().isEmpty());
    EXPECT_EQ(d.txtPassword->text(), QStringLiteral("Pw12"));
    EXPECT_EQ(d.failures(), 1);
    EXPECT_FALSE(d.loggedIn());
    EXPECT_EQ(ends, 0);
}

TEST_F(LoginTest, WrongPasswordSelectsItForRetyping) {
    passWord& d = dialog();
    formHost().show(d);
    QApplication::setActiveWindow(&d);
    attempt(d, QStringLiteral("Mario"), QStringLiteral("pw12"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Password non valida. Riprovare")});
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Accesso"));
    EXPECT_TRUE(d.txtPassword->hasFocus());
    EXPECT_EQ(d.txtPassword->selectedText(), QStringLiteral("pw12"));
    EXPECT_EQ(d.txtUserName->text(), QStringLiteral("Mario"));
    EXPECT_EQ(d.failures(), 1);
    EXPECT_EQ(ends, 0);
}

TEST_F(LoginTest, FourthFailureEndsTheProgramWithOneCounterForBoth) {
    passWord& d = dialog();
    for (int i = 0; i < 3; ++i)
        attempt(d, QStringLiteral("mario"), QString());
    EXPECT_EQ(ends, 0);
    attempt(d, QStringLiteral("Mario"), QStringLiteral("sbagliata"));
    EXPECT_EQ(messages.texts(),
              (QStringList{QStringLiteral("Nome utente non valido. Riprovare"),
                           QStringLiteral("Nome utente non valido. Riprovare"),
                           QStringLiteral("Nome utente non valido. Riprovare"),
                           QStringLiteral("Password non valida. Riprovare"),
                           QStringLiteral("Tentativo di aprire il programma fallito!!!")}));
    EXPECT_EQ(messages.shown().back().title, QStringLiteral("Errore"));
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(qv::programEnding());
    EXPECT_FALSE(d.loggedIn());
}

TEST_F(LoginTest, AnnullaEscAndTheCloseBoxEndTheProgram) {
    dialog().findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(messages.shown().empty());
    formHost().resetForTests();

    qv::resetProgramEnd();
    qv::setEndProgramHook([this] { ++ends; });
    QTest::keyClick(dialog().txtUserName, Qt::Key_Escape);
    EXPECT_EQ(ends, 2);
    formHost().resetForTests();

    qv::resetProgramEnd();
    qv::setEndProgramHook([this] { ++ends; });
    passWord& d = dialog();
    formHost().show(d);
    d.close();
    EXPECT_EQ(ends, 3);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(LoginTest, StoredNameMatchesOnlyAsTypedWithoutBlanks) {
    passWord& d = dialog();
    attempt(d, QStringLiteral("Mario "), QStringLiteral("Pw12"));
    attempt(d, QStringLiteral(" Mario"), QStringLiteral("Pw12"));
    EXPECT_EQ(d.failures(), 2);
    attempt(d, QStringLiteral("Mario"), QStringLiteral("Pw12"));
    EXPECT_TRUE(d.loggedIn());
    EXPECT_FALSE(d.isShown());
    EXPECT_EQ(ends, 0);
    // Unloading after the login does not end the program.
    formHost().unload(d);
    EXPECT_EQ(ends, 0);
}

TEST_F(LoginTest, EnterInTheNameBoxPressesOk) {
    passWord& d = dialog();
    QTest::keyClicks(d.txtUserName, QStringLiteral("Mario"));
    QTest::keyClick(d.txtUserName, Qt::Key_Return);
    // The empty password was compared.
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Password non valida. Riprovare")});
}

TEST_F(LoginTest, AskLoginReportsTheOutcomeToTheStartUp) {
    formHost().setModalHook([this](qv::Form& f) {
        attempt(static_cast<passWord&>(f), QStringLiteral("Mario"), QStringLiteral("Pw12"));
    });
    EXPECT_TRUE(qv::askLogin());
    EXPECT_EQ(ends, 0);
    formHost().resetForTests();

    formHost().setModalHook([](qv::Form& f) { static_cast<passWord&>(f).cmdCancel->click(); });
    EXPECT_FALSE(qv::askLogin());
    EXPECT_EQ(ends, 1);
}

TEST(LoginCheck, EmptyStoredValuesMatchOnlyEmptyBoxes) {
    qv::Impostazioni imp;
    EXPECT_EQ(qv::checkLogin(imp, QString(), QString()), qv::LoginCheck::Accepted);
    EXPECT_EQ(qv::checkLogin(imp, QStringLiteral(" "), QString()), qv::LoginCheck::WrongUserName);
    EXPECT_EQ(qv::checkLogin(imp, QString(), QStringLiteral("x")), qv::LoginCheck::WrongPassword);
    imp.passwordUtente = QStringLiteral("abcdefghij");
    EXPECT_EQ(qv::checkLogin(imp, QString(), QStringLiteral("abcdefghij")),
              qv::LoginCheck::Accepted);
    EXPECT_EQ(qv::checkLogin(imp, QString(), QStringLiteral("abcdefghijKL")),
              qv::LoginCheck::WrongPassword);
}

} // namespace
