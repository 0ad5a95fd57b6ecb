#pragma once
// A test that starts with account "CC1" of "Banca di Prova" open (amounts in euro, two
// decimals), whose files are the test's to write and compare.

#include "common/shared_state.h"
#include "fixture.h"
#include "open_account.h"

#include <map>

namespace qv::test {

class OpenAccountTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        openTestAccount("CC1", "Banca di Prova");
        stato().ImpostazioniCorrenti.numeroDecimali = 2;
    }

    // The path of a file of the account: "CC1" and the extension.
    QString file(const char* ext) const { return dataFolder() + QStringLiteral("CC1") + ext; }

    // Every file of the data folder with its content.
    std::map<QString, QByteArray> cartella() const { return dataFiles(); }
};

} // namespace qv::test
