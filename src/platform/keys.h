#pragma once
// Keyboard and focus events of single controls, as the forms use them: Enter
// moving the focus along a form's fixed chain, KeyPress filters that see the
// character code of a key and may drop or change it, KeyUp, GotFocus and
// LostFocus. Handlers run as handlers of the form the control belongs to.
//
// Each call installs one event filter on the control; when several act on the
// same control, the one installed last sees the key first.

#include <functional>
#include <initializer_list>

class QLineEdit;
class QWidget;

namespace qv {

// Enter (Return or the keypad's Enter) in `from` moves the focus to `to`; the
// key goes no further. A `to` that cannot take the focus just swallows the key.
void enterMovesFocus(QWidget* from, QWidget* to);

// enterMovesFocus along a chain: Enter in each control moves to the next one.
void enterMovesAlong(std::initializer_list<QWidget*> chain);

// Calls handler for every key that types a character in w, with the code the
// original's KeyPress saw: 13 Enter, 8 Backspace, 27 Escape, else the
// character's code. Setting keyAscii to 0 drops the key; another code types that
// character instead. The editing keys (Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z, Home,
// End, the arrows with or without Shift, Delete) type no character: they are never
// shown to the handler and always do their work.
void onKeyPress(QWidget* w, std::function<void(int& keyAscii)> handler);

// Enter (or the keypad's Enter) on a focused push button clicks it, in every window
// of the program. Installed once on the application by the form host.
void enterPressesFocusedButtons();

// A field whose text has reached `width` characters (its maximum length when `width`
// is 0) refuses a further character with a beep; a selection is still replaced as
// usual. Fields that fill up never push the focus onto a button: they stay, and Enter
// moves on.
void refuseWhenFull(QLineEdit* field, int width = 0);

// Calls handler when a key is released in w (auto-repeat excluded), with the
// key's code (Qt::Key; for digits and letters the character's code).
void onKeyUp(QWidget* w, std::function<void(int key)> handler);

// Calls handler when w gets or loses the focus within its window; a focus change
// that only comes from switching windows (a message box opening or closing, the
// user going to another window) is not reported.
void onGotFocus(QWidget* w, std::function<void()> handler);
void onLostFocus(QWidget* w, std::function<void()> handler);

} // namespace qv
