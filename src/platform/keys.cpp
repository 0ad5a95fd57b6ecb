#include "keys.h"

#include "form_host.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace qv {

namespace {

bool isEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// The KeyPress code of a key event, or -1 for a key that types nothing (arrows,
// function keys, Tab, Delete).
int keyAsciiOf(const QKeyEvent* e) {
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

} // namespace

void enterMovesFocus(QWidget* from, QWidget* to) {
    if (from) from->installEventFilter(new EnterFilter(from, to));
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
