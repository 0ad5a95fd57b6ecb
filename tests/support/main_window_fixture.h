#pragma once
// The main window started as a user starts it: a program folder used before, the Euro as
// display currency and account "55" of "BANCA" opened at start-up. Header only: it is for
// the test programs that link the main window.

#include "common/random_file.h"
#include "common/shared_state.h"
#include "fixture.h"
#include "platform/form_host.h"
#include "platform/program_end.h"
#include "shell/flags.h"
#include "shell/main_window.h"
#include "shell/program_files.h"

#include <memory>

namespace qv::test {

class MainWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        initShellResources();
        resetProgramEnd();
        setEndProgramHook([] {});
        ASSERT_TRUE(scriviContatore(programFolder() + "RecCausa.dat", 0));
        writeCurrency(15, "Euro", "Unione Europea", 1.0);
        Impostazioni imp;
        imp.percorsoDati = "0";
        imp.numeroDecimali = 2;
        imp.contoAvvio = "55";
        ASSERT_TRUE(scriviImpostazioni(imp));
        writeAccount(1, "55", "BANCA");
        ASSERT_TRUE(scriviContatore(dataFolder() + "RecConti.dat", 1));
        window = std::make_unique<MDIForm1>();
        window->Load();
        ASSERT_EQ(stato().CodiceContoAttivo, "55");
    }
    void TearDown() override {
        formHost().resetForTests();
        window.reset();
        resetProgramEnd();
        ProgramTest::TearDown();
    }
    std::unique_ptr<MDIForm1> window;
};

} // namespace qv::test
