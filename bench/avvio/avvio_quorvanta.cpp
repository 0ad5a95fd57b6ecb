// Child of the start-up benchmark: quorvanta's start-up as main() does it, then the
// report of its memory once the main window is up. The data folder's lock is let go
// before the child ends, as the program's own end does: a lock left behind by a child
// ended at once would make every later start take it over from a dead owner, which a
// user's start after a normal end never does.
#include "app/avvio.h"
#include "common/folder_lock.h"
#include "riporto_avvio.h"
#include "shell/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto finestra = qv::avviaQuorvanta();
    qv::bench::riportaQuandoPronto([] { qv::dataFolderLock().unlock(); });
    return app.exec();
}
