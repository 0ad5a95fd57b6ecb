#pragma once
// passWord: the login dialog "Quorvanta - PassWord" shown at start-up.

#include "platform/form_host.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class passWord : public Form {
    Q_OBJECT
public:
    explicit passWord(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Unload(bool& cancel) override;

    void cmdOK_Click();
    void cmdCancel_Click();

    // True once a correct user name and password were given.
    bool loggedIn() const { return accepted_; }
    // Rejected attempts so far (user name and password alike).
    int failures() const { return failures_; }

    std::array<QLabel*, 2> lblLabels{};
    QLineEdit* txtUserName = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fail();

    qint16 failures_ = 0;
    bool accepted_ = false;
};

// Shows the login modally, as the start-up does when the settings ask for it.
// Returns true when the user logged in; false when the program is ending
// (fourth failure, "Annulla", or the dialog closed by its frame).
bool askLogin();

} // namespace qv
