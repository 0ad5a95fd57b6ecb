#include "form_host.h"

#include "keys.h"
#include "message_box.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHideEvent>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <exception>

namespace qv {

// ---------------------------------------------------------------------------
// HandlerScope and Form

HandlerScope::HandlerScope(Form* form) : form_(form) {
    if (form) ++form->handlerDepth_;
}

HandlerScope::~HandlerScope() {
    if (!form_) return;
    if (--form_->handlerDepth_ == 0) formHost().handlerEnded(form_);
}

Form::Form(QWidget* parent) : QWidget(parent) {}

Form::~Form() = default;

bool Form::isShown() const {
    if (subWindow_) return !subWindow_->isHidden() && !isHidden();
    return !isHidden();
}

void Form::runHandler(const std::function<void()>& body) {
    HandlerScope scope(this);
    QString failure;
    try {
        body();
        return;
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    // A handler that fails must not take the program down with it; the user is
    // told, and the form stays as the handler left it.
    qWarning("Handler of %s stopped: %s", qPrintable(objectName()), qPrintable(failure));
    QString text = QStringLiteral("Errore interno");
    if (!failure.isEmpty()) text += QStringLiteral(": ") + failure;
    messageBox(text, MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Errore"));
}

void Form::closeEvent(QCloseEvent* event) {
    if (!loaded_) {
        QWidget::closeEvent(event);
        return;
    }
    // The close box hides or unloads through the host; the widget itself never
    // closes on its own.
    event->ignore();
    formHost().closeRequested(this);
}

void Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous() && loaded_) formHost().formHidden(this);
}

Form* formOf(QObject* object) {
    for (QObject* o = object; o; o = o->parent())
        if (Form* f = qobject_cast<Form*>(o)) return f;
    return nullptr;
}

void runAsHandler(QObject* object, const std::function<void()>& body) {
    if (Form* f = formOf(object)) {
        f->runHandler(body);
        return;
    }
    try {
        body();
    } catch (const std::exception& e) {
        qWarning("Handler stopped: %s", e.what());
    } catch (...) {
        qWarning("Handler stopped");
    }
}

void reactivateWindow(QWidget* window) {
    if (!window || !qApp) return;
    window = window->window();
    if (!window->isVisible()) return;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->window() != window)
        return;
    // A window system without a window manager gives the keyboard to no window when a
    // dialog closes: the keys would still reach the fields, but no field would hear of
    // the focus coming or going. Qt is told at once which window is active again.
    if (QApplication::activeWindow() != window) {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(window);
        QT_WARNING_POP
    }
    window->activateWindow();
}

QRect fitInside(const QRect& window, const QRect& space) {
    if (!space.isValid()) return window;
    QRect r = window;
    r.setWidth(std::min(r.width(), space.width()));
    r.setHeight(std::min(r.height(), space.height()));
    r.moveLeft(std::clamp(r.left(), space.left(), space.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), space.top(), space.bottom() - r.height() + 1));
    return r;
}

// ---------------------------------------------------------------------------
// Window arrangement

void arrangeWindows(QMdiArea* area, WindowArrangement how) {
    if (!area) return;
    if (how == WindowArrangement::Cascade) {
        area->cascadeSubWindows();
        return;
    }
    const QRect space = area->viewport()->rect();
    std::vector<QMdiSubWindow*> normal;
    std::vector<QMdiSubWindow*> minimized;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isHidden()) continue;
        (sub->isMinimized() ? minimized : normal).push_back(sub);
    }
    if (how == WindowArrangement::ArrangeIcons) {
        // Minimised windows in rows along the bottom edge, left to right.
        int x = 0;
        int rowBottom = space.height();
        int rowHeight = 0;
        for (QMdiSubWindow* sub : minimized) {
            const QSize s = sub->size();
            if (x > 0 && x + s.width() > space.width()) {
                x = 0;
                rowBottom -= rowHeight;
                rowHeight = 0;
            }
            sub->move(x, rowBottom - s.height());
            x += s.width();
            rowHeight = std::max(rowHeight, s.height());
        }
        return;
    }
    if (normal.empty()) return;
    // Horizontal tiling stacks the windows one above the other, each as wide as
    // the area; vertical tiling puts them side by side.
    const int n = static_cast<int>(normal.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* sub = normal[static_cast<size_t>(i)];
        if (sub->isMaximized()) sub->showNormal();
        QRect r;
        if (how == WindowArrangement::TileHorizontal) {
            const int top = space.height() * i / n;
            const int bottom = space.height() * (i + 1) / n;
            r = QRect(0, top, space.width(), bottom - top);
        } else {
            const int left = space.width() * i / n;
            const int right = space.width() * (i + 1) / n;
            r = QRect(left, 0, right - left, space.height());
        }
        sub->setGeometry(r);
    }
}

// ---------------------------------------------------------------------------
// FormHost

FormHost& formHost() {
    // Never destroyed: forms may still refer to the host while the application
    // object goes away.
    static FormHost* host = new FormHost;
    return *host;
}

FormHost::FormHost() {
    // On a real desktop the window system tells which window became active. The
    // offscreen and minimal platforms deliver activations late and in bulk, so
    // there only the host's own calls (show, showModal, activate) count.
    const QString platform = QGuiApplication::platformName();
    if (qApp && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget* old, QWidget* now) { windowFocusChanged(old, now); });
    }
    enterPressesFocusedButtons();
}

Form* FormHost::find(std::type_index type) const {
    auto it = forms_.find(type);
    if (it == forms_.end() || !it->second || !it->second->loaded_) return nullptr;
    return it->second;
}

void FormHost::adopt(std::type_index type, Form* form) {
    forms_[type] = form;
    form->loaded_ = true;
    emit formCreated(form);
    form->runHandler([form] { form->Form_Load(); });
}

std::vector<Form*> FormHost::loadedForms() const {
    std::vector<Form*> out;
    for (const auto& [type, f] : forms_)
        if (f && f->loaded_) out.push_back(f);
    return out;
}

void FormHost::setMainWindow(QWidget* window) {
    mainWindow_ = window;
}

void FormHost::setMdiArea(QMdiArea* area) {
    if (areaConnection_) disconnect(areaConnection_);
    mdiArea_ = area;
    if (area)
        areaConnection_ = connect(area, &QMdiArea::subWindowActivated, this,
                                  [this](QMdiSubWindow* sub) { subWindowActivated(sub); });
}

void FormHost::setModalHook(std::function<void(Form&)> hook) {
    modalHook_ = std::move(hook);
}

Form* FormHost::activeForm() const {
    return qobject_cast<Form*>(lastActive_.data());
}

bool FormHost::blockedByModal(const Form* form) const {
    // While a modal form runs, the windows under it cannot become active; only
    // the modal form and what was shown after it can.
    if (modals_.empty()) return false;
    const Modal& top = modals_.back();
    if (top.form == form) return false;
    return form->shownSerial_ < top.serial;
}

void FormHost::requestActivate(Form* form) {
    if (!form || !form->loaded_ || !form->isShown()) return;
    if (blockedByModal(form)) return;
    if (lastActive_ == form) return; // still the same window: its own box or dialog closed
    lastActive_ = form;
    if (form->handlerDepth_ > 0) {
        form->pendingActivate_ = true;
        return;
    }
    runActivate(form);
}

void FormHost::runActivate(Form* form) {
    form->pendingActivate_ = false;
    form->runHandler([form] { form->Form_Activate(); });
}

void FormHost::handlerEnded(Form* form) {
    if (!form->pendingActivate_) return;
    form->pendingActivate_ = false;
    if (form->loaded_ && form->isShown() && lastActive_ == form && !blockedByModal(form))
        runActivate(form);
}

void FormHost::placeInArea(Form* form) {
    QMdiSubWindow* sub = form->subWindow_;
    if (sub && sub->mdiArea() == mdiArea_) return;
    reparenting_ = true;
    const QSize size = form->testAttribute(Qt::WA_Resized) ? form->size() : form->sizeHint();
    if (form->isWindow()) form->hide();
    form->setWindowModality(Qt::NonModal);
    if (sub) {
        form->setParent(nullptr);
        sub->deleteLater();
    }
    sub = mdiArea_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    if (size.isValid()) sub->resize(size + (sub->size() - sub->contentsRect().size()));
    form->subWindow_ = sub;
    reparenting_ = false;
}

void FormHost::placeTopLevel(Form* form, bool modal) {
    reparenting_ = true;
    if (QMdiSubWindow* sub = form->subWindow_) {
        // The form leaves its child window first, so that the child window no longer
        // follows the form's showing; the empty child window is then hidden and goes.
        // (Taken out of its area while it still held the form, it would become a
        // window of its own and show up empty over the main window.)
        sub->setWidget(nullptr);
        form->setParent(nullptr, Qt::Window);
        sub->hide();
        if (sub->mdiArea()) sub->mdiArea()->removeSubWindow(sub);
        sub->hide();
        sub->deleteLater();
        form->subWindow_ = nullptr;
    }
    const Qt::WindowType type = modal ? Qt::Dialog : Qt::Window;
    const Qt::WindowModality modality = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (form->parentWidget() || form->windowType() != type || form->windowModality() != modality) {
        form->hide();
        form->setParent(nullptr, type);
        form->setWindowModality(modality);
    }
    reparenting_ = false;
    if (!modal) return;
    // A modal form stays above the window it was opened from and starts centred
    // on it.
    QWidget* owner = nullptr;
    for (auto it = modals_.rbegin(); it != modals_.rend(); ++it)
        if (it->form && it->form != form && it->form->isShown()) {
            owner = it->form;
            break;
        }
    if (!owner) owner = mainWindow_;
    if (owner && owner->window()) {
        form->winId();
        if (QWindow* w = form->windowHandle())
            w->setTransientParent(owner->window()->windowHandle());
        const QRect area = owner->window()->frameGeometry();
        const QSize size = form->testAttribute(Qt::WA_Resized) ? form->size() : form->sizeHint();
        form->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
    }
}

void FormHost::show(Form& form) {
    if (!form.loaded_) return;
    for (const Modal& m : modals_)
        if (m.form == &form) {
            form.raise();
            return;
        }
    const bool wasShown = form.isShown();
    if (mdiArea_)
        placeInArea(&form);
    else
        placeTopLevel(&form, false);
    if (!wasShown) form.shownSerial_ = ++serial_;
    form.show();
    if (form.subWindow_) form.subWindow_->show();
    if (!wasShown) fitOnScreen(&form);
    activate(form);
}

void FormHost::fitOnScreen(Form* form) {
    if (QMdiSubWindow* sub = form->subWindow_) {
        if (!sub->mdiArea()) return;
        const QRect space = sub->mdiArea()->viewport()->rect();
        const QRect fitted = fitInside(sub->geometry(), space);
        if (fitted != sub->geometry()) sub->setGeometry(fitted);
        return;
    }
    QScreen* screen = form->screen();
    if (!screen) return;
    const QRect frame = form->frameGeometry();
    const QRect fitted = fitInside(frame, screen->availableGeometry());
    if (fitted == frame) return;
    const QSize border = frame.size() - form->size();
    form->resize(fitted.size() - border);
    form->move(fitted.topLeft());
}

void FormHost::showModal(Form& form) {
    if (!form.loaded_) return;
    for (const Modal& m : modals_)
        if (m.form == &form) return;
    QPointer<Form> guard(&form);
    const quint64 serial = ++serial_;
    modals_.push_back(Modal{&form, serial, lastActive_});
    form.shownSerial_ = serial;
    placeTopLevel(&form, true);
    form.show();
    fitOnScreen(&form);
    form.raise();
    form.activateWindow();
    requestActivate(&form);

    if (modalHook_) {
        auto hook = modalHook_;
        hook(form);
    } else if (guard && guard->loaded_ && guard->isShown()) {
        QEventLoop loop;
        guard->modalLoop_ = &loop;
        loop.exec(QEventLoop::DialogExec);
        if (guard) guard->modalLoop_ = nullptr;
    }

    QPointer<QObject> previous;
    // The form may be gone by now (unloaded and deleted while the loop ran).
    for (auto it = modals_.begin(); it != modals_.end(); ++it)
        if (it->serial == serial) {
            previous = it->previous;
            modals_.erase(it);
            break;
        }
    // Back to the window the modal form was opened from: that window had been
    // active before, so its Activate does not run again.
    if (guard && guard->loaded_ && guard->isShown()) return; // a test hook left the form open
    if (Form* f = qobject_cast<Form*>(previous.data()); f && (!f->loaded_ || !f->isShown()))
        previous = mainWindow_.data();
    lastActive_ = previous;
    // The window it was opened from takes the keyboard back.
    if (QWidget* w = qobject_cast<QWidget*>(previous.data())) reactivateWindow(w);
}

void FormHost::hide(Form& form) {
    if (!form.loaded_) return;
    if (lastActive_ == &form) lastActive_ = mainWindow_.data();
    if (form.subWindow_) {
        form.subWindow_->hide();
    } else {
        form.hide();
    }
}

void FormHost::formHidden(Form* form) {
    if (reparenting_ || !form->isHidden()) return;
    if (lastActive_ == form) lastActive_ = mainWindow_.data();
    if (form->modalLoop_) form->modalLoop_->quit();
    if (QMdiSubWindow* sub = form->subWindow_) {
        // The form hid itself inside its child window: hide the child window
        // instead, so that no empty frame stays behind.
        // (The child window shows itself again when its widget is shown, so the
        // widget comes back first.)
        reparenting_ = true;
        form->show();
        sub->hide();
        reparenting_ = false;
    }
}

void FormHost::closeRequested(Form* form) {
    if (form->closeHides_)
        hide(*form);
    else
        unload(*form);
}

bool FormHost::unload(Form& form) {
    if (!form.loaded_) return true;
    bool cancel = false;
    form.runHandler([&form, &cancel] { form.Form_Unload(cancel); });
    if (cancel) return false;
    if (form.loaded_) discard(&form);
    return true;
}

void FormHost::discard(Form* form) {
    form->loaded_ = false;
    form->pendingActivate_ = false;
    for (auto it = forms_.begin(); it != forms_.end();) {
        if (it->second == form || !it->second)
            it = forms_.erase(it);
        else
            ++it;
    }
    if (lastActive_ == form) lastActive_ = mainWindow_.data();
    if (form->modalLoop_) form->modalLoop_->quit();
    reparenting_ = true;
    if (QMdiSubWindow* sub = form->subWindow_) {
        sub->hide();
        if (sub->mdiArea()) sub->mdiArea()->removeSubWindow(sub);
        sub->deleteLater();
    } else {
        form->hide();
        form->deleteLater();
    }
    reparenting_ = false;
}

void FormHost::unloadAll() {
    for (Form* f : loadedForms())
        discard(f);
}

void FormHost::letAllGo() {
    for (Form* f : loadedForms()) {
        QPointer<Form> form(f);
        bool ignored = false;
        form->runHandler([form, &ignored] {
            if (form) form->Form_Unload(ignored);
        });
        if (form && form->loaded_) discard(form);
    }
}

void FormHost::activate(Form& form) {
    if (!form.loaded_ || !form.isShown()) return;
    if (form.subWindow_ && form.subWindow_->mdiArea()) {
        form.subWindow_->mdiArea()->setActiveSubWindow(form.subWindow_);
    } else {
        form.raise();
        form.activateWindow();
    }
    requestActivate(&form);
}

void FormHost::activateMainWindow() {
    if (!modals_.empty()) return;
    if (mainWindow_) {
        mainWindow_->raise();
        mainWindow_->activateWindow();
    }
    lastActive_ = mainWindow_.data();
}

void FormHost::resetForTests() {
    unloadAll();
    modalHook_ = nullptr;
    modals_.clear();
    lastActive_ = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void FormHost::windowFocusChanged(QWidget* old, QWidget* now) {
    if (!now) return;
    QWidget* window = now->window();
    if (old && old->window() == window)
        return; // focus moved inside one window; child windows report themselves
    if (Form* f = qobject_cast<Form*>(window)) {
        requestActivate(f);
        return;
    }
    if (window != mainWindow_) return; // a message box, a dialog, the help viewer: not a form
    if (mdiArea_)
        if (QMdiSubWindow* sub = mdiArea_->currentSubWindow())
            if (Form* f = qobject_cast<Form*>(sub->widget()); f && f->isShown()) {
                requestActivate(f);
                return;
            }
    if (modals_.empty()) lastActive_ = mainWindow_.data();
}

void FormHost::subWindowActivated(QMdiSubWindow* sub) {
    if (!sub) return;
    if (Form* f = qobject_cast<Form*>(sub->widget())) requestActivate(f);
}

void unloadIfLoaded(Form& form) {
    if (form.isLoaded()) formHost().unload(form);
}

} // namespace qv
