#include "keys.h"

#include "desktop.h"
#include "form_host.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace qv {

namespace {

bool isEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// The KeyPress code of a key event, or -1 for a key that types nothing (arrows,
// function keys, Tab, Delete) and for the editing keys: Ctrl (or Meta) with a letter
// selects, copies, cuts, pastes and undoes, and no key filter may take those away.
// AltGr, which some systems report as Ctrl with Alt, still types its character.
int keyAsciiOf(const QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = e->modifiers();
    if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier)) return -1;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    const QString text = e->text();
    if (text.isEmpty()) return -1;
    // Control characters other than the three above come from editing chords.
    if (text.at(0).unicode() < 0x20) return -1;
    return text.at(0).unicode();
}

class EnterFilter : public QObject {
public:
    EnterFilter(QWidget* from, QWidget* to) : QObject(from), to_(to) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* e = static_cast<QKeyEvent*>(event);
        if (!isEnter(e)) return false;
        if (to_ && to_->isEnabled() && to_->isVisibleTo(to_->window()))
            to_->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QPointer<QWidget> to_;
};

class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QWidget* w, std::function<void(int&)> handler)
        : QObject(w), handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || resending_) return false;
        auto* e = static_cast<QKeyEvent*>(event);
        const int original = keyAsciiOf(e);
        if (original < 0) return false;
        int code = original;
        runAsHandler(watched, [&] { handler_(code); });
        if (code == original) return false;
        if (code <= 0 || code > 0xFFFF) return true;
        // Type the changed character in place of the original one.
        const QChar c(static_cast<char16_t>(code));
        int key = c.toUpper().unicode();
        if (code == 13)
            key = Qt::Key_Return;
        else if (code == 8)
            key = Qt::Key_Backspace;
        else if (code == 27)
            key = Qt::Key_Escape;
        QKeyEvent replacement(QEvent::KeyPress, key, e->modifiers() & Qt::ShiftModifier,
                              QString(c));
        resending_ = true;
        QCoreApplication::sendEvent(watched, &replacement);
        resending_ = false;
        return true;
    }

private:
    std::function<void(int&)> handler_;
    bool resending_ = false;
};

class KeyUpFilter : public QObject {
public:
    KeyUpFilter(QWidget* w, std::function<void(int)> handler)
        : QObject(w), handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyRelease) return false;
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->isAutoRepeat()) return false;
        const int key = e->key();
        runAsHandler(watched, [&] { handler_(key); });
        return false;
    }

private:
    std::function<void(int)> handler_;
};

class FocusFilter : public QObject {
public:
    FocusFilter(QWidget* w, QEvent::Type type, std::function<void()> handler)
        : QObject(w), type_(type), handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != type_) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        runAsHandler(watched, handler_);
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> handler_;
};

// A text field that is full takes no further character: the key is refused with
// a beep instead of being dropped without a sound.
class FullFieldFilter : public QObject {
public:
    FullFieldFilter(QLineEdit* field, int width) : QObject(field), field_(field), width_(width) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int code = keyAsciiOf(static_cast<QKeyEvent*>(event));
        if (code < 32 || code == 127) return false;
        const int width = width_ > 0 ? width_ : field_->maxLength();
        if (field_->hasSelectedText() || field_->text().size() < width) return false;
        beep();
        return true;
    }

private:
    QLineEdit* field_;
    int width_;
};

// Enter on a focused push button presses it, in every window of the program, as the
// original's buttons did. Buttons that Qt already presses on Enter (the default and
// auto-default buttons of dialogs and message boxes) are left to Qt.
class ButtonEnterFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* e = static_cast<QKeyEvent*>(event);
        if (!isEnter(e) || (e->modifiers() & ~Qt::KeypadModifier)) return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || button->autoDefault() || button->isDefault()) return false;
        if (!button->isEnabled() || !button->isVisible() || e->isAutoRepeat()) return true;
        button->click();
        return true;
    }
};

} // namespace

void enterPressesFocusedButtons() {
    static QPointer<ButtonEnterFilter> filter;
    if (filter || !qApp) return;
    filter = new ButtonEnterFilter(qApp);
    qApp->installEventFilter(filter);
}

void refuseWhenFull(QLineEdit* field, int width) {
    if (field) field->installEventFilter(new FullFieldFilter(field, width));
}

void enterMovesFocus(QWidget* from, QWidget* to) {
    if (from) from->installEventFilter(new EnterFilter(from, to));
}

void enterMovesAlong(std::initializer_list<QWidget*> chain) {
    for (auto it = chain.begin(); it + 1 < chain.end(); ++it)
        enterMovesFocus(*it, *(it + 1));
}

void onKeyPress(QWidget* w, std::function<void(int& keyAscii)> handler) {
    if (w && handler) w->installEventFilter(new KeyPressFilter(w, std::move(handler)));
}

void onKeyUp(QWidget* w, std::function<void(int key)> handler) {
    if (w && handler) w->installEventFilter(new KeyUpFilter(w, std::move(handler)));
}

void onGotFocus(QWidget* w, std::function<void()> handler) {
    if (w && handler)
        w->installEventFilter(new FocusFilter(w, QEvent::FocusIn, std::move(handler)));
}

void onLostFocus(QWidget* w, std::function<void()> handler) {
    if (w && handler)
        w->installEventFilter(new FocusFilter(w, QEvent::FocusOut, std::move(handler)));
}

} // namespace qv
