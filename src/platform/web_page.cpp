#include "platform/web_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibrary>
#include <QOpenGLContext>

#include <unistd.h>

// Qt's own setter of the context that every OpenGL context of the program shares with
// (exported by QtGui, not declared in its public headers).
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE

namespace qv {

namespace {

// The file name of the module, as the build makes it, and where the build put it.
constexpr const char* ModuleFileName = QV_WEB_ENGINE_MODULE_NAME;
constexpr const char* ModuleBuildPath = QV_WEB_ENGINE_MODULE_PATH;

struct Engine {
    WebPageFactory factory = nullptr;
    QString error;
    bool tried = false;
};

Engine& engine() {
    static Engine e;
    return e;
}

QOpenGLContext* sharedContext = nullptr;

void dropSharedContext() {
    if (QOpenGLContext::globalShareContext() == sharedContext)
        qt_gl_set_global_share_context(nullptr);
    delete sharedContext;
    sharedContext = nullptr;
}

// The web engine draws its pages with OpenGL contexts of its own that share their
// textures with the view's through the program's global shared context. A program
// that links the engine gets that context when its application starts; this one makes
// it here, once, before the engine's libraries come in, and the engine finds it. Without
// OpenGL (the offscreen platform) the context stays invalid and the engine draws in
// software.
void prepareSharedContext() {
    if (QOpenGLContext::globalShareContext()) return;
    sharedContext = new QOpenGLContext;
    sharedContext->setFormat(QSurfaceFormat::defaultFormat());
    sharedContext->create();
    qAddPostRoutine(dropSharedContext);
    qt_gl_set_global_share_context(sharedContext);
}

bool sandboxDisabled() {
    return !qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX") ||
           qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--no-sandbox");
}

void loadEngine() {
    Engine& e = engine();
    if (e.tried) return;
    e.tried = true;
    e.error = webEngineRefusal(::geteuid() == 0, sandboxDisabled());
    if (!e.error.isEmpty()) return;
    // Next to the program first (a copied build), then where the build made it.
    const QStringList places = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(ModuleFileName)),
        QString::fromUtf8(ModuleBuildPath)};
    QString errors;
    for (const QString& place : places) {
        if (!QFileInfo::exists(place)) continue;
        prepareSharedContext();
        // Kept loaded to the end of the program: the pages made by it live until then.
        auto* library = new QLibrary(place, qApp);
        if (auto f = reinterpret_cast<WebPageFactory>(library->resolve(WebPageFactoryName))) {
            e.factory = f;
            return;
        }
        errors += library->errorString() + u'\n';
    }
    e.error = errors.isEmpty()
                  ? QStringLiteral("Il componente del browser (%1) non è stato trovato.")
                        .arg(QLatin1String(ModuleFileName))
                  : QStringLiteral("Il componente del browser non può essere caricato:\n") +
                        errors.trimmed();
}

} // namespace

EsitoCon<std::unique_ptr<WebPage>> createWebPage(QWidget* parent, QObject* context,
                                                 WebPageEvents events) {
    loadEngine();
    const Engine& e = engine();
    if (!e.factory) return Esito::fallito(e.error);
    return {Esito::fatto(), std::unique_ptr<WebPage>(e.factory(parent, context, &events))};
}

QString webEngineRefusal(bool administrator, bool sandboxDisabled) {
    if (!administrator || sandboxDisabled) return {};
    return QStringLiteral("Il browser non può essere aperto dall'utente amministratore (root): "
                          "il suo componente lo rifiuta e chiuderebbe il programma.\n"
                          "Avviare il programma con il proprio utente.");
}

bool webEngineLoaded() {
    return engine().factory != nullptr;
}

} // namespace qv
