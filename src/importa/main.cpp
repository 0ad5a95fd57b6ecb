// importa: converts the data folder of the previous release into the current
// record layouts. It shares only the data files with quorvanta.
#include "importa/conversion_form.h"
#include "platform/translation.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("importa"));
    // Qt's own texts in Italian, as every text of the program.
    qv::installItalianTranslation();

    qv::Form1& window = qv::formHost().form<qv::Form1>();
    // Closing the window, or "Uscita", unloads it: that ends the program.
    QObject::connect(&window, &QObject::destroyed, &app, &QCoreApplication::quit);
    window.resize(960, 560);
    qv::formHost().show(window);
    return app.exec();
}
