// quorvanta: the current-account program. Sets the application's identity (which
// also fixes the per-user program folder) and opens the main window.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvanta"));

    QMainWindow window;
    window.setObjectName(QStringLiteral("MDIForm1"));
    window.setWindowTitle(QStringLiteral("Quorvanta - gestione conti correnti"));
    window.setCentralWidget(new QMdiArea(&window));
    window.resize(1024, 720);
    window.show();
    return app.exec();
}
