#pragma once
// A test that opens windows without the main window, with what they ask of other
// subsystems' windows and computations answered as the main window answers it (closing
// and opening the account, the data folder, the bank's address, ...). Header only: the
// test programs that use it link the main window, the support library does not.

#include "fixture.h"

#include "shell/main_window.h"

namespace qv::test {

class WiredProgramTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        collegaRichiesteFinestre();
    }
};

} // namespace qv::test
