#pragma once
// Ending the program from inside a handler ("Esci", the login's fourth failure,
// the causali maintenance). The program ends at once, without questions: each form
// only lets go of what it holds (its Form_Unload runs and cannot refuse). Tests
// replace the ending with a hook that records it.

#include <functional>

namespace qv {

// Lets every form go, then leaves the event loop (or, before the loop has started,
// tells main() not to start it).
void endProgram();

// True once endProgram has been called: code that called something which may end
// the program (the start-up after the login) stops there.
bool programEnding();

// Tests: the hook runs instead of ending; programEnding() still turns true.
void setEndProgramHook(std::function<void()> hook);
void resetProgramEnd();

} // namespace qv
