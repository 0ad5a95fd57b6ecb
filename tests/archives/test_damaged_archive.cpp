// The account archive with a damaged count, read as the program reads it at start-up:
// a count that is missing, unreadable or negative next to accounts is rebuilt only when
// the user says so, and until then nothing writes the archive; a count larger than the
// accounts takes the accounts there.
#include "support/started_program.h"

#include "archives/account_selection_form.h"
#include "archives/accounts.h"
#include "common/folder_lock.h"
#include "common/shared_state.h"
#include "platform/form_host.h"
#include "platform/list_box.h"

#include <QDir>
#include <QFile>

#include <map>

namespace qv::test {
namespace {

const QByteArray kConti = contoBytes({.numero = 1, .codice = "123", .banca = "BANCA CENTO"}) +
                          contoBytes({.numero = 2, .codice = "77", .banca = "BANCA SETTE"});

enum class Danno { Mancante, Negativo, Illeggibile };

class DamagedArchive : public StartedProgram, public ::testing::WithParamInterface<Danno> {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        settings("0", "77");
        writeBytes(dataFolder() + "Conti.dat", kConti);
        switch (GetParam()) {
        case Danno::Mancante:
            break;
        case Danno::Negativo:
            writeBytes(dataFolder() + "RecConti.dat", le16(-3));
            break;
        case Danno::Illeggibile:
            QDir(dataFolder()).mkdir("RecConti.dat");
            break;
        }
    }
    std::map<QString, QByteArray> folder() const { return contentsOf(dataFolder()); }

    static Conto nuovoConto() {
        Conto c;
        c.codiceConto = QStringLiteral("NUOVO");
        c.nomeBanca = QStringLiteral("BANCA NUOVA");
        return c;
    }
};

TEST_P(DamagedArchive, NoLoadsNothingAndRefusesEveryWrite) {
    const auto before = folder();
    messages.answer(MessageAnswer::No);
    load();
    ASSERT_GE(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(
        messages.shown()[0].text.contains(QDir::toNativeSeparators(dataFolder() + "RecConti.dat")));
    EXPECT_TRUE(messages.shown()[0].text.contains("Numero di conti presenti nel file"));
    EXPECT_EQ(stato().NumeroConti, 0);
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());

    // The next new account would have taken the place of account 1: refused.
    messages.clear();
    const Esito aggiunto = AggiungiConto(nuovoConto());
    EXPECT_TRUE(aggiunto.fallito());
    EXPECT_TRUE(aggiunto.testo.contains("RecConti.dat"));
    EXPECT_EQ(folder(), before);
}

TEST_P(DamagedArchive, YesRebuildsTheCountFromTheAccountsThere) {
    messages.answer(MessageAnswer::Yes);
    load();
    EXPECT_EQ(messages.shown().size(), 1u) << messages.texts().join('|').toStdString();
    EXPECT_EQ(stato().NumeroConti, 2);
    EXPECT_EQ(stato().CodiceContoAttivo, "77"); // the start-up account opens
    EXPECT_EQ(readBytes(dataFolder() + "RecConti.dat"), le16(2));
    EXPECT_EQ(QFile::exists(dataFolder() + "RecConti.dat.danneggiato"),
              GetParam() != Danno::Mancante);
    EXPECT_EQ(readBytes(dataFolder() + "Conti.dat"), kConti);

    ASSERT_TRUE(AggiungiConto(nuovoConto()).ok());
    EXPECT_EQ(readBytes(dataFolder() + "Conti.dat").left(2 * 205), kConti);
    EXPECT_EQ(readBytes(dataFolder() + "Conti.dat").size(), 3 * 205);
    EXPECT_EQ(readBytes(dataFolder() + "RecConti.dat"), le16(3));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedArchive,
                         ::testing::Values(Danno::Mancante, Danno::Negativo, Danno::Illeggibile));

class LargeArchiveCount : public DamagedArchive {};

TEST_P(LargeArchiveCount, TakesTheAccountsThere) {
    writeBytes(dataFolder() + "RecConti.dat", le16(4));
    load();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(messages.shown()[0].text.contains("(4)"));
    EXPECT_EQ(stato().NumeroConti, 2);
    EXPECT_EQ(formHost().form<Form7>().List1->count(), 2);

    ASSERT_TRUE(AggiungiConto(nuovoConto()).ok());
    const QByteArray terzo = contoBytes({.numero = 3, .codice = "NUOVO", .banca = "BANCA NUOVA"});
    EXPECT_EQ(printable(readBytes(dataFolder() + "Conti.dat")), printable(kConti + terzo));
    EXPECT_EQ(readBytes(dataFolder() + "RecConti.dat"), le16(3));
}

INSTANTIATE_TEST_SUITE_P(OverTwo, LargeArchiveCount, ::testing::Values(Danno::Mancante));

} // namespace
} // namespace qv::test
