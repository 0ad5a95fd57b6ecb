// quorvanta: the current-account program. The application, then the main window's
// start-up (app/avvio.h), then the event loop.
#include "app/avvio.h"
#include "platform/program_end.h"
#include "shell/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The web browser window needs shared OpenGL contexts, set before the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const auto window = qv::avviaQuorvanta();
    // The login may have ended the program before the event loop starts.
    if (qv::programEnding()) return 0;
    return app.exec();
}
