// quorvanta: the current-account program. Sets the application's identity (which
// also fixes the per-user program folder), then the main window runs the start-up.
#include "common/paths.h"
#include "common/shared_state.h"
#include "platform/program_end.h"
#include "platform/translation.h"
#include "shell/flags_form.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    // The web browser window needs shared OpenGL contexts, set before the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvanta"));
    qv::installItalianTranslation();
    qv::initShellResources();

    qv::stato().PercorsoProgramma = qv::defaultProgramFolder();
    QDir().mkpath(qv::stato().PercorsoProgramma);

    qv::MDIForm1 window;
    window.Load();
    // The login may have ended the program before the event loop starts.
    if (qv::programEnding()) return 0;
    return app.exec();
}
