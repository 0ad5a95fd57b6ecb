// Child of the start-up benchmark: quorvanta's start-up as main() does it, then the
// report of its memory once the main window is up.
#include "app/avvio.h"
#include "riporto_avvio.h"
#include "shell/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto finestra = qv::avviaQuorvanta();
    qv::bench::riportaQuandoPronto();
    return app.exec();
}
