// passWord: the login dialog "Quorvanta - PassWord" shown at start-up.
#include "login_form.h"

#include "common/shared_state.h"
#include "platform/message_box.h"
#include "platform/program_end.h"
#include "settings.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

passWord::passWord(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("passWord"));
    setCaption(QStringLiteral("Quorvanta - PassWord"));

    lblLabels[0] = new QLabel(QStringLiteral("&Nome utente:"), this);
    lblLabels[0]->setObjectName(QStringLiteral("lblLabels_0"));
    lblLabels[1] = new QLabel(QStringLiteral("&Password:"), this);
    lblLabels[1]->setObjectName(QStringLiteral("lblLabels_1"));
    txtUserName = new QLineEdit(this);
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    lblLabels[0]->setBuddy(txtUserName);
    lblLabels[1]->setBuddy(txtPassword);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Annulla"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // A button that has the focus is the one Enter presses, as in any dialog.
    cmdCancel->setAutoDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(lblLabels[0], 0, 0);
    grid->addWidget(txtUserName, 0, 1);
    grid->addWidget(lblLabels[1], 1, 0);
    grid->addWidget(txtPassword, 1, 1);
    grid->setColumnMinimumWidth(1, 200);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, handler([this] { cmdOK_Click(); }));
    connect(cmdCancel, &QPushButton::clicked, this, handler([this] { cmdCancel_Click(); }));
}

void passWord::Form_Load() {
    failures_ = 0;
    accepted_ = false;
    txtUserName->setFocus();
}

void passWord::keyPressEvent(QKeyEvent* event) {
    // The text boxes leave Enter and Esc to the dialog: Enter is "OK", Esc is
    // "Annulla".
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        (cmdCancel->hasFocus() ? cmdCancel : cmdOK)->click();
        return;
    case Qt::Key_Escape:
        event->accept();
        cmdCancel->click();
        return;
    default:
        Form::keyPressEvent(event);
    }
}

void passWord::cmdOK_Click() {
    const QString title = QStringLiteral("Accesso");
    switch (checkLogin(stato().ImpostazioniCorrenti, txtUserName->text(), txtPassword->text())) {
    case LoginCheck::WrongUserName:
        messageBox(QStringLiteral("Nome utente non valido. Riprovare"), MessageButtons::Ok,
                   MessageIcon::None, title);
        fail();
        if (programEnding()) return;
        txtUserName->clear();
        txtUserName->setFocus();
        return;
    case LoginCheck::WrongPassword:
        messageBox(QStringLiteral("Password non valida. Riprovare"), MessageButtons::Ok,
                   MessageIcon::None, title);
        // The whole password selected, ready to be typed again.
        txtPassword->setFocus();
        txtPassword->selectAll();
        fail();
        return;
    case LoginCheck::Accepted:
        accepted_ = true;
        formHost().hide(*this);
        return;
    }
}

void passWord::fail() {
    ++failures_;
    if (failures_ < 4) return;
    messageBox(QStringLiteral("Tentativo di aprire il programma fallito!!!"), MessageButtons::Ok,
               MessageIcon::None, QStringLiteral("Errore"));
    formHost().hide(*this);
    endProgram();
}

void passWord::cmdCancel_Click() {
    formHost().hide(*this);
    endProgram();
}

void passWord::Form_Unload(bool& cancel) {
    // Closed by its frame before a correct login: the login must not be bypassed,
    // so this ends the program as "Annulla" does.
    (void)cancel;
    if (!accepted_ && !programEnding()) endProgram();
}

bool askLogin() {
    QPointer<passWord> dialog = &formHost().form<passWord>();
    formHost().showModal(*dialog);
    if (programEnding()) return false;
    return dialog && dialog->loggedIn();
}

} // namespace qv
