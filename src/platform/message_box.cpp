#include "message_box.h"

#include "form_host.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace qv {

namespace {

MessageResponder& responder() {
    static MessageResponder r;
    return r;
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    MessageAnswer answer;
};

std::vector<ButtonSpec> buttonsOf(MessageButtons b) {
    switch (b) {
    case MessageButtons::Ok:
        return {{QMessageBox::Ok, MessageAnswer::Ok}};
    case MessageButtons::OkCancel:
        return {{QMessageBox::Ok, MessageAnswer::Ok}, {QMessageBox::Cancel, MessageAnswer::Cancel}};
    case MessageButtons::AbortRetryIgnore:
        return {{QMessageBox::Abort, MessageAnswer::Abort},
                {QMessageBox::Retry, MessageAnswer::Retry},
                {QMessageBox::Ignore, MessageAnswer::Ignore}};
    case MessageButtons::YesNoCancel:
        return {{QMessageBox::Yes, MessageAnswer::Yes},
                {QMessageBox::No, MessageAnswer::No},
                {QMessageBox::Cancel, MessageAnswer::Cancel}};
    case MessageButtons::YesNo:
        return {{QMessageBox::Yes, MessageAnswer::Yes}, {QMessageBox::No, MessageAnswer::No}};
    case MessageButtons::RetryCancel:
        return {{QMessageBox::Retry, MessageAnswer::Retry},
                {QMessageBox::Cancel, MessageAnswer::Cancel}};
    }
    return {{QMessageBox::Ok, MessageAnswer::Ok}};
}

QMessageBox::Icon iconOf(MessageIcon i) {
    switch (i) {
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// The real box, modal; returns the button pressed.
MessageAnswer showBox(const MessageRecord& record) {
    const auto specs = buttonsOf(record.buttons);
    QMessageBox box(iconOf(record.icon), record.title, record.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    for (const auto& s : specs)
        box.addButton(s.button);
    box.setDefaultButton(specs.front().button);
    for (const auto& s : specs)
        if (record.defaultButton && s.answer == *record.defaultButton)
            box.setDefaultButton(s.button);
    // The box waits for the user: it shows the normal pointer even while an operation
    // holds the hourglass, which comes back when the box closes.
    const bool clessidra = QApplication::overrideCursor() != nullptr;
    if (clessidra) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int pressed = box.exec();
    if (clessidra) QApplication::restoreOverrideCursor();
    for (const auto& s : specs)
        if (s.button == pressed) return s.answer;
    for (const auto& s : specs)
        if (s.answer == MessageAnswer::Cancel) return s.answer;
    return specs.back().answer;
}

} // namespace

QString applicationTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Quorvanta") : name;
}

void setMessageResponder(MessageResponder r) {
    responder() = std::move(r);
}

MessageAnswer messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                         const QString& title, std::optional<MessageAnswer> defaultButton) {
    const MessageRecord record{text, title.isEmpty() ? applicationTitle() : title, buttons, icon,
                               defaultButton};
    // The box takes the activation from the window it was asked from; that window
    // gets it back as soon as the box closes.
    const QPointer<QWidget> previous = QApplication::activeWindow();
    const MessageAnswer answer = responder() ? responder()(record) : showBox(record);
    reactivateWindow(previous);
    return answer;
}

} // namespace qv
