#pragma once
// Modal message boxes, the one way the program asks and tells the user.
// Tests install a responder that answers and records every box instead of
// showing it, so that no test ever blocks on a real dialog.

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace qv {

enum class MessageButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageAnswer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

struct MessageRecord {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    std::optional<MessageAnswer> defaultButton; // none: the first button
};

// The title boxes get when the caller gives none: the application's name.
QString applicationTitle();

// Shows a modal box and returns the button pressed. An empty title means the
// application's title. Closing the box with Escape or the window's close button
// answers Cancel where there is one, else the box's only or last button.
// defaultButton is the button that Enter presses; none means the first.
MessageAnswer messageBox(const QString& text, MessageButtons buttons = MessageButtons::Ok,
                         MessageIcon icon = MessageIcon::None, const QString& title = QString(),
                         std::optional<MessageAnswer> defaultButton = std::nullopt);

// Replaces the real dialog (tests). The responder sees each box and returns the
// answer; an empty function restores the real dialog.
using MessageResponder = std::function<MessageAnswer(const MessageRecord&)>;
void setMessageResponder(MessageResponder responder);

} // namespace qv
