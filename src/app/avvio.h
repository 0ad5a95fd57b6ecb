#pragma once
// The start-up of quorvanta once its QApplication exists, shared by main() and by the
// benchmark that measures it.

#include <memory>

namespace qv {

class MDIForm1;

// Names the application (which also fixes the per-user program folder), installs Qt's
// Italian texts and the shell's resources, makes the program folder, then creates the
// main window and runs its start-up (Load). The login may have ended the program by
// then (programEnding()).
std::unique_ptr<MDIForm1> avviaQuorvanta();

} // namespace qv
