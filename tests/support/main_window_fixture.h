#pragma once
// The main window started on a program folder used before (no causali, the Euro as the
// only currency) and on the accounts of the data folder, one of them opened at start-up.
// Header only: the main window lives in the subsystems' library, which the support
// library does not link; the test programs that include this do.

#include "fixture.h"
#include "support/esito_test.h"

#include "common/random_file.h"
#include "platform/form_host.h"
#include "platform/program_end.h"
#include "shell/flags_form.h"
#include "shell/main_window.h"
#include "shell/program_files.h"

#include <initializer_list>
#include <memory>

namespace qv::test {

class MainWindowTest : public ProgramTest {
protected:
    struct ContoIniziale {
        const char* codice;
        const char* banca;
    };

    // Writes the accounts (rows 1, 2, ...) and starts the main window with `avvio` as the
    // start-up account of the settings.
    void avvia(std::initializer_list<ContoIniziale> conti, const char* avvio) {
        initShellResources();
        resetProgramEnd();
        setEndProgramHook([] {});
        ASSERT_TRUE(scriviContatore(programFolder() + "RecCausa.dat", 0));
        writeCurrency(15, "Euro", "Unione Europea", 1.0);
        Impostazioni imp;
        imp.percorsoDati = "0";
        imp.numeroDecimali = 2;
        imp.contoAvvio = avvio;
        ASSERT_TRUE(test::riuscito(scriviImpostazioni(imp)));
        int riga = 0;
        for (const ContoIniziale& c : conti)
            writeAccount(++riga, c.codice, c.banca);
        ASSERT_TRUE(scriviContatore(dataFolder() + "RecConti.dat", qint16(riga)));
        window = std::make_unique<MDIForm1>();
        window->Load();
        ASSERT_EQ(stato().CodiceContoAttivo, avvio);
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
