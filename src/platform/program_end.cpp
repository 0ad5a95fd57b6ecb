#include "program_end.h"

#include "form_host.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

namespace qv {

namespace {
bool ending = false;
std::function<void()>& hook() {
    static std::function<void()> h;
    return h;
}
} // namespace

void endProgram() {
    // A form that ends the program from its own unload, while the forms are let go,
    // adds nothing: the ending is already under way.
    static bool running = false;
    if (running) return;
    const QScopedValueRollback<bool> guard(running, true);
    ending = true;
    // Every form lets go of what it holds before the program ends: a movement held
    // out of the balances for a change goes back into them and into ".TOT".
    formHost().letAllGo();
    if (hook()) {
        hook()();
        return;
    }
    formHost().unloadAll();
    QCoreApplication::exit(0);
}

bool programEnding() { return ending; }

void setEndProgramHook(std::function<void()> h) { hook() = std::move(h); }

void resetProgramEnd() {
    ending = false;
    hook() = nullptr;
}

} // namespace qv
