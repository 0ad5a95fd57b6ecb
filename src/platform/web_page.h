#pragma once
// The web page of the browser window: the web engine's view, made by a module of its
// own that is loaded the first time a browser window opens. The program does not link
// the web engine: loading it (its libraries and the OpenGL context it shares with the
// view) costs tens of megabytes and a good part of the start-up, and only the browser
// window uses it.

#include "common/esito.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QObject;
class QPageLayout;
class QPrinter;
class QWebEngineView;
class QWidget;

namespace qv {

// What the view tells its window; each runs in the window's context (the context
// object given at creation), so that nothing arrives once the window is gone.
struct WebPageEvents {
    std::function<void()> loadStarted;
    std::function<void(bool ok)> loadFinished;
    std::function<void(bool ok)> printFinished;
    std::function<void(const QString& path, bool ok)> pdfPrintingFinished;
};

// The operations of the view the browser window uses. The view itself is a child of
// the parent given at creation, which owns it; this object only drives it.
class WebPage {
public:
    virtual ~WebPage() = default;

    virtual QWidget* widget() = 0;
    virtual QWebEngineView* view() = 0;

    virtual void load(const QUrl& url) = 0;
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual void stop() = 0;
    virtual void reload() = 0;
    virtual QString title() const = 0;
    virtual QUrl url() const = 0;
    virtual void print(QPrinter* printer) = 0;
    virtual void printToPdf(const QString& path, const QPageLayout& layout) = 0;
};

// The web page of a new view, child of `parent`, reporting to `events` in the context
// of `context`. The first call loads the web engine. When it cannot be loaded the
// result fails, saying why in the program's words, and holds no page.
EsitoCon<std::unique_ptr<WebPage>> createWebPage(QWidget* parent, QObject* context,
                                                 WebPageEvents events);

// Why the web engine cannot be started for this user, in the program's words; "" when
// it can. The engine's sandbox refuses the administrator (root) and the engine then ends
// the whole program, with whatever the user had typed in its windows; so the browser
// stays closed unless the sandbox was turned off on purpose
// (QTWEBENGINE_DISABLE_SANDBOX, or "--no-sandbox" in QTWEBENGINE_CHROMIUM_FLAGS).
QString webEngineRefusal(bool administrator, bool sandboxDisabled);

// Whether the web engine has been loaded into the program.
bool webEngineLoaded();

// The name of the function the module exports, and its type.
inline constexpr const char* WebPageFactoryName = "qv_create_web_page";
using WebPageFactory = WebPage* (*)(QWidget* parent, QObject* context, WebPageEvents* events);

} // namespace qv
