#pragma once
// A program the test starts as the user does: the main window's Load over the test's
// folders, with a program folder used before (no first run), the Euro as slot 15 and
// settings in two decimals with the default data folder. Header only: the test
// programs that use it link the main window, the support library does not.

#include "bytes.h"
#include "fixture.h"
#include "support/esito_test.h"

#include "common/folder_lock.h"
#include "common/shared_state.h"
#include "platform/program_end.h"
#include "shell/main_window.h"
#include "shell/program_files.h"

#include <QDir>

#include <map>
#include <memory>

namespace qv::test {

// Every entry of a folder with its bytes (a folder within has none), but for the lock
// file of the program that uses the folder: what a test compares before and after.
inline std::map<QString, QByteArray> contentsOf(const QString& folder) {
    std::map<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        if (name != FileBloccoCartella) files[name] = readBytes(dir.filePath(name));
    return files;
}

class StartedProgram : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        resetProgramEnd();
        setEndProgramHook([] {});
        writeBytes(programFolder() + "RecCausa.dat", le16(0)); // not a first run
        writeCurrency(15, "Euro", "Unione Europea", 1);
        settings("0");
    }
    void TearDown() override {
        window.reset();
        resetProgramEnd();
        ProgramTest::TearDown();
    }

    // Imposta.DAT: the data folder as stored ("0" for the default), the start-up
    // account, two decimals, the Euro as display currency.
    void settings(const QString& folder, const char* startAccount = "") {
        Impostazioni imp;
        imp.percorsoDati = folder;
        imp.numeroDecimali = 2;
        imp.contoAvvio = QString::fromLatin1(startAccount);
        imp.valutaPredefinita = QStringLiteral("Euro - Unione Europea");
        ASSERT_TRUE(test::riuscito(scriviImpostazioni(imp)));
    }

    // The program started: the main window and its Load.
    MDIForm1& load() {
        window = std::make_unique<MDIForm1>();
        window->Load();
        return *window;
    }

    std::unique_ptr<MDIForm1> window;
};

} // namespace qv::test
