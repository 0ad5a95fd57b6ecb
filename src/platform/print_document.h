#pragma once
// Prints lines computed by a report (common/print_lines.h) as one document.

#include "common/print_lines.h"

namespace qv {

class LinePrinter;

// Prints each line in its own font, then ends the document. The printer keeps the
// font of the last line afterwards.
void stampaDocumento(LinePrinter& stampante, const RigheStampa& righe);

} // namespace qv
