// "Cancella Movimenti": only the open account's own files go, as one change.
#include "support/account_change.h"
#include "support/bytes.h"
#include "support/fixture.h"
#include "support/open_account.h"

#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/open_account.h"

#include <QFile>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

class Clearing : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // An account carried over from an old data folder, named as the account archive.
        openTestAccount("Conti", "BANCA VECCHIA");
        archivio = contoBytes({.numero = 1, .codice = "Conti", .banca = "BANCA VECCHIA"});
        writeBytes(dataFolder() + "Conti.dat", archivio);
        writeBytes(dataFolder() + "RecConti.dat", le16(1));
        writeBytes(dataFolder() + "Conti.MOV", movimentoBytes({1, "01/12/2026", "01/12/2026", "VS",
                                                               100, "", "", "N", "E", "N"}));
        writeBytes(dataFolder() + "Conti.MOR", le16(1));
        writeBytes(dataFolder() + "CONTI.tot", QByteArray(72, '\0'));
        // The user's own files beside them.
        writeBytes(dataFolder() + "Conti.txt", "note");
        writeBytes(dataFolder() + "Conti.MOV.bak", "copia");
    }
    bool esiste(const char* nome) const { return QFile::exists(dataFolder() + nome); }

    QByteArray archivio;
};

TEST_F(Clearing, AnAccountNamedContiKeepsTheAccountArchiveAndTheUsersFiles) {
    ASSERT_TRUE(cancellaMovimentiConto().ok());
    EXPECT_EQ(readBytes(dataFolder() + "Conti.dat"), archivio);
    EXPECT_EQ(readBytes(dataFolder() + "RecConti.dat"), le16(1));
    EXPECT_EQ(readBytes(dataFolder() + "Conti.txt"), "note");
    EXPECT_EQ(readBytes(dataFolder() + "Conti.MOV.bak"), "copia");
    for (const char* nome : {"Conti.MOV", "Conti.MOR", "CONTI.tot"})
        EXPECT_FALSE(esiste(nome)) << nome;
    EXPECT_EQ(stato().CodiceContoAttivo, "Conti"); // the account stays open, empty
}

// Every file goes, or none: a failure at any removal, a roll-back that cannot put a file
// back, a program stopped midway leave the account as it was, put back at its opening.
TEST_F(Clearing, TheFilesGoAsOneChange) {
    const ProvaModifica prova = provaSulContoAperto(dataFolder(), [](QString* testo) {
        const Esito esito = cancellaMovimentiConto();
        *testo = esito.testo;
        return esito.ok();
    });
    // ".MOV", ".MOR" and ".TOT" (the account's ".TOT" as its opening writes it).
    EXPECT_EQ(provaModifica(prova), 3);
}

} // namespace
} // namespace qv::test
