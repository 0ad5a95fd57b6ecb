#pragma once
// Closing the open account, and clearing all of its movements.

#include <QString>

namespace qv {

class Form;

// Marks a form as a window that shows the open account's data: closing the
// account unloads it, so that nothing acted on afterwards reaches the files of
// the next account. Each such form calls this once, in its constructor.
void legaAlContoAperto(Form& form);
bool legataAlContoAperto(const Form& form);

// Returns the program to the no-account state: unloads every window bound to the
// open account, empties the account and balance labels of the main window (the
// data folder stays in its place), forgets the account and disables the controls
// that need one. Works whether or not an account is open; the data folder, the
// display currency and the archives are not touched.
void ChiudiConto();

// The two warnings asked before the movements are cleared.
QString avvisoCancellaMovimenti();
QString confermaCancellaMovimenti();

// "Cancella Movimenti": after two confirmations (OK and Cancel, Cancel stops with
// nothing changed) deletes every file of the open account in the data folder; its
// record in the account archive stays. A movement the movement form holds for
// change is given back first, and no window holds a movement afterwards. Returns
// true when the files were deleted (the caller then reloads the emptied account);
// a file that cannot be deleted is named to the user and gives false.
bool cancellaMovimentiConto();

} // namespace qv
