#include "program_end.h"

#include "form_host.h"

#include <QCoreApplication>

namespace qv {

namespace {
bool ending = false;
std::function<void()>& hook() {
    static std::function<void()> h;
    return h;
}
} // namespace

void endProgram() {
    ending = true;
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
