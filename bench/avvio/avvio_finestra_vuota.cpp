// Child of the start-up benchmark, its floor: a bare Qt Widgets window of the main
// window's size, shown, then the report of its memory.
#include "riporto_avvio.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow finestra;
    finestra.resize(1024, 768);
    finestra.show();
    qv::bench::riportaQuandoPronto();
    return app.exec();
}
