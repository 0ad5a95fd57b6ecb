#pragma once
// Showing what a procedure answered (common/esito.h) in the program's message boxes:
// the one place where a result becomes a box, a beep and the focus on a control.

#include "common/esito.h"

#include <QString>

class QWidget;

namespace qv {

// Shows the result: a beep first when it asks for one, then its text in a box with one
// OK button, its title and its icon (nothing when the text is empty); then, when `form`
// is given and the result names a control (by objectName, among `form`'s children), the
// control is emptied when asked and takes the focus.
void showResult(const Esito& result, QWidget* form = nullptr);

// A text that says why a file could not be read or written (title "ERRORE", the
// exclamation icon, OK); nothing for "".
void avvisaErroreFile(const QString& testo);

} // namespace qv
