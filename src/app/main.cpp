// quorvanta: the current-account program. The application, then the main window's
// start-up, then the event loop.
//
// No OpenGL context is asked for here: the browser window loads the web engine, and
// makes the context the engine shares with its view, the first time it opens.
#include "app/avvio.h"
#include "platform/program_end.h"
#include "shell/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto window = qv::avviaQuorvanta();
    // The login may have ended the program before the event loop starts.
    if (qv::programEnding()) return 0;
    return app.exec();
}
