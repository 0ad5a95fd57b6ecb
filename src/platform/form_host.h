#pragma once
// The form host: every window of the program is a Form with one default
// instance, loaded on first use, shown as a child of the main window's MDI area
// (modeless) or as a modal dialog, hidden with its state kept, or unloaded with
// its state discarded.
//
// Activate rule: a form's Form_Activate runs when it is first shown and each
// time it becomes the active window coming from another window of the program
// (another form or the main window). It does not run again when one of its own
// message boxes or dialogs closes (those are not forms, so the form that was
// active before them is still the last one activated), nor when a modal form
// opened by it closes, and never while one of its own handlers is running: an
// activation that arrives then waits until the handler has ended.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

#include <concepts>
#include <functional>
#include <map>
#include <typeindex>
#include <utility>
#include <vector>

class QEventLoop;

namespace qv {

class Form;

// Held while a handler of a form runs; the host defers the form's activation
// until the outermost scope ends.
class HandlerScope {
public:
    explicit HandlerScope(Form* form);
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    QPointer<Form> form_;
};

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // The form's events. Form_Unload may set cancel to keep the form loaded.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Unload(bool& cancel) {}

    QString caption() const { return windowTitle(); }
    void setCaption(const QString& text) { setWindowTitle(text); }

    // What the window's close box does: unload the form (the default) or hide it.
    void setCloseHides(bool hides) { closeHides_ = hides; }

    bool isLoaded() const { return loaded_; }
    // Shown by the host and not hidden since (whether or not the screen shows it).
    bool isShown() const;
    bool handlerRunning() const { return handlerDepth_ > 0; }

    // Runs body as a handler of this form: inside a HandlerScope, and with any
    // exception stopped here and reported to the user.
    void runHandler(const std::function<void()>& body);

    // Wraps a callable so that it runs as a handler of this form; use it for
    // every signal connection of the form:
    //   connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    // Signal arguments the callable does not take are dropped.
    template <class Fn> auto handler(Fn fn);

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class FormHost;
    friend class HandlerScope;

    bool loaded_ = false;
    bool closeHides_ = false;
    bool pendingActivate_ = false;
    int handlerDepth_ = 0;
    quint64 shownSerial_ = 0;
    QPointer<QMdiSubWindow> subWindow_;
    QEventLoop* modalLoop_ = nullptr;
};

namespace detail {
template <class Fn> struct FormHandler {
    QPointer<Form> form;
    mutable Fn fn;
    template <class... A>
    requires std::invocable<Fn&, A...>
    void operator()(A&&... args) const {
        if (!form) return;
        form->runHandler([&] { std::invoke(fn, std::forward<A>(args)...); });
    }
};
} // namespace detail

template <class Fn> auto Form::handler(Fn fn) {
    return detail::FormHandler<Fn>{this, std::move(fn)};
}

// The form a widget belongs to (the nearest Form among it and its parents).
Form* formOf(QObject* object);

// Runs body as a handler of the form that object belongs to, or on its own when
// it belongs to none; no exception leaves it either way.
void runAsHandler(QObject* object, const std::function<void()>& body);

// Gives the activation back to `window` (the top-level window of the widget), as it
// was before a message box or a modal form took it: the window becomes the active one
// at once, and the window system is asked to follow. Does nothing for a window that is
// gone or hidden, or while another modal window is open.
void reactivateWindow(QWidget* window);

// Moves and, where it must, shrinks a window so that it lies wholly inside `space`
// (the main window's child-window area, or the screen), its top-left corner first.
QRect fitInside(const QRect& window, const QRect& space);

// The four arrangements of the main window's child windows.
enum class WindowArrangement { Cascade, TileHorizontal, TileVertical, ArrangeIcons };
void arrangeWindows(QMdiArea* area, WindowArrangement how);

class FormHost : public QObject {
    Q_OBJECT
public:
    // The default instance of form F, loaded (Form_Load run) on first use.
    template <class F> F& form() {
        static_assert(std::is_base_of_v<Form, F>, "a form derives from qv::Form");
        if (Form* f = find(typeid(F))) return static_cast<F&>(*f);
        F* f = new F();
        adopt(typeid(F), f);
        return *f;
    }
    // The default instance of F when it is loaded, else nullptr.
    template <class F> F* loaded() const { return static_cast<F*>(find(typeid(F))); }

    // The main window and its MDI area. Without an area, modeless forms are
    // top-level windows.
    void setMainWindow(QWidget* window);
    QWidget* mainWindow() const { return mainWindow_; }
    void setMdiArea(QMdiArea* area);
    QMdiArea* mdiArea() const { return mdiArea_; }

    // Shows the form modeless and makes it the active window.
    void show(Form& form);
    // Shows the form as a modal dialog and returns when it is hidden or unloaded.
    // With a modal hook set (tests), calls the hook instead of waiting: when the
    // hook returns, the modal part ends, and the form is closed if the hook hid or
    // unloaded it.
    void showModal(Form& form);
    // Hides the form; it stays loaded with its state.
    void hide(Form& form);
    // Runs Form_Unload; unless cancelled, discards the form (deleted once the
    // current event has been handled, so a form may unload itself from its own
    // handler). Returns false when the form cancelled.
    bool unload(Form& form);
    // Discards every loaded form without asking them.
    void unloadAll();
    // Lets every loaded form go, as the end of the program does: each form's
    // Form_Unload runs (giving back what it holds: a movement out of the balances goes
    // back into them and into ".TOT"), whatever it answers, and the form is discarded.
    void letAllGo();

    // What switching to a window does: it becomes the active window, and the
    // Activate rule applies.
    void activate(Form& form);
    void activateMainWindow();
    // The form activated last, nullptr when it is the main window or none.
    Form* activeForm() const;

    void setModalHook(std::function<void(Form&)> hook);
    // Unloads every form, clears the hooks and the activation record.
    void resetForTests();

    std::vector<Form*> loadedForms() const;

signals:
    // A form's default instance was made, just before its Load runs: the main window
    // connects there what the form asks of the windows of other subsystems.
    void formCreated(qv::Form* form);

private:
    friend FormHost& formHost();
    friend class Form;
    friend class HandlerScope;
    FormHost();

    struct Modal {
        QPointer<Form> form;
        quint64 serial = 0;
        QPointer<QObject> previous;
    };

    Form* find(std::type_index type) const;
    void adopt(std::type_index type, Form* form);
    void discard(Form* form);
    void requestActivate(Form* form);
    void runActivate(Form* form);
    void handlerEnded(Form* form);
    void formHidden(Form* form);
    void closeRequested(Form* form);
    bool blockedByModal(const Form* form) const;
    void windowFocusChanged(QWidget* old, QWidget* now);
    void subWindowActivated(QMdiSubWindow* sub);
    void placeInArea(Form* form);
    void placeTopLevel(Form* form, bool modal);
    void fitOnScreen(Form* form);

    std::map<std::type_index, QPointer<Form>> forms_;
    QPointer<QWidget> mainWindow_;
    QPointer<QMdiArea> mdiArea_;
    QMetaObject::Connection areaConnection_;
    QPointer<QObject> lastActive_;
    std::vector<Modal> modals_;
    std::function<void(Form&)> modalHook_;
    quint64 serial_ = 0;
    bool reparenting_ = false;
};

FormHost& formHost();

// What a window does when the data it shows go: it unloads, when it is loaded.
void unloadIfLoaded(Form& form);

} // namespace qv
