// importa: converts the data folder of the previous release into the current
// record layouts. It shares only the data files with quorvanta.
#include "platform/translation.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("importa"));
    // Qt's own texts in Italian, as every text of the program.
    qv::installItalianTranslation();

    QWidget window;
    window.setObjectName(QStringLiteral("Form1"));
    window.setWindowTitle(QStringLiteral("Conversione dati"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Conversione dati"), &window));
    window.resize(480, 320);
    window.show();
    return app.exec();
}
