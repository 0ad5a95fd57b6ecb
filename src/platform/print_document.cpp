#include "print_document.h"

#include "line_printer.h"

namespace qv {

void stampaDocumento(LinePrinter& stampante, const RigheStampa& righe) {
    for (const RigaStampa& r : righe) {
        stampante.setFontName(r.font);
        stampante.setFontSize(r.punti);
        stampante.setBold(r.grassetto);
        stampante.printLine(r.testo);
    }
    stampante.endDoc();
}

} // namespace qv
