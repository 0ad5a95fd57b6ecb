// "Riordina archivi": the cheque links mended in place, the reorder's own safety copies
// beside the closing's copy set, which stays as it was.
#include "maintenance_fixture.h"

#include "support/faults.h"

#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/open_account.h"
#include "maintenance/maintenance_form.h"
#include "maintenance/reorder.h"

#include <QDir>
#include <QFile>

#include <cerrno>

namespace qv::test {
namespace {

class Reorder : public MaintenanceTest {
protected:
    // Links gone astray: leaf 1 under book 2, leaf 11 naming no movement, leaf 12
    // naming book 2's cost, book 2 naming a deposit.
    void guastaCollegamenti() {
        QByteArray fog = fogBytes();
        fog.replace(4, 2, le16(2));
        fog.replace(10 * 91, 2, le16(99));
        fog.replace(11 * 91, 2, le16(2));
        writeBytes(file(".FOG"), fog);
        QByteArray car = carBytes();
        car.replace(36, 2, le16(5));
        writeBytes(file(".CAR"), car);
        apri("CC1");
    }
};

TEST_F(Reorder, MendsTheLinksAndKeepsItsOwnCopies) {
    chiudiConto("30/11/2026");
    std::map<QString, QByteArray> copiaChiusura;
    for (const auto& [nome, bytes] : tuttiIFile())
        if (nome.startsWith("Bak/CC1/Bak.")) copiaChiusura[nome] = bytes;
    ASSERT_EQ(copiaChiusura.size(), 10u);
    // Back to the account as written, its links broken.
    QFile::remove(file(".chi"));
    scriviConto("CC1");
    guastaCollegamenti();
    const QByteArray fogGuasto = readBytes(file(".FOG"));
    const QByteArray carGuasto = readBytes(file(".CAR"));

    eseguiRiordinoArchivi();
    // The user is told that it is done, and of nothing else.
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Riordino degli archivi completato."));
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(printable(readBytes(file(".FOG"))), printable(fogBytes()));
    EXPECT_EQ(printable(readBytes(file(".CAR"))), printable(carBytes()));
    EXPECT_EQ(stato().TabellaFogli[11].movimento, 16);
    EXPECT_EQ(stato().TabellaCarnet[2].movimentoCosto, 2);

    // Its safety copies hold the files as they were; the closing's set is untouched.
    const QString copie = dataFolder() + "Bak/CC1/riordino/";
    EXPECT_EQ(readBytes(copie + "Bak.FOG"), fogGuasto);
    EXPECT_EQ(readBytes(copie + "Bak.CAR"), carGuasto);
    EXPECT_EQ(readBytes(copie + "Bak.MOV"), movBytes());
    for (const auto& [nome, bytes] : copiaChiusura)
        EXPECT_EQ(readBytes(dataFolder() + nome), bytes) << nome.toStdString();

    // Twice is once.
    const auto unaVolta = tuttiIFile();
    eseguiRiordinoArchivi();
    auto dueVolte = tuttiIFile();
    for (const auto& [nome, bytes] : unaVolta) {
        if (nome.startsWith("Bak/CC1/riordino/")) continue;
        EXPECT_EQ(dueVolte[nome], bytes) << nome.toStdString();
    }
}

TEST_F(Reorder, WithoutAnOpenAccountIsRefused) {
    ChiudiConto();
    const auto prima = tuttiIFile();
    eseguiRiordinoArchivi();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, testoNessunContoAperto());
    EXPECT_EQ(tuttiIFile(), prima);
}

// A file the user may not write (its permissions, a read-only disk) is asked about as a
// denied access naming it; giving up ends with "Errore irrecuperabile".
TEST_F(Reorder, ADeniedWriteNamesTheFileAndEndsIrrecoverably) {
    for (int numero : {EACCES, EPERM, EROFS}) {
        messages.clear();
        messages.answer(MessageAnswer::Cancel);
        RispostaErrori risposta;
        const Riprova riprova = riprovaConErroriFile(risposta);
        EXPECT_FALSE(riprova(GuastoFile{file(".FOG"), numero, false, QStringLiteral("negato")}));
        EXPECT_EQ(risposta.codice, 2) << numero;
        mostraEsitoManutenzione(Esito::fallito(QStringLiteral("Il riordino non è stato eseguito.")),
                                risposta);
        ASSERT_EQ(messages.shown().size(), 2u) << numero;
        EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Errore Disco"));
        EXPECT_EQ(messages.shown()[0].text,
                  QStringLiteral("Accesso negato: il file o la cartella non si può leggere o "
                                 "scrivere.\n") +
                      QDir::toNativeSeparators(file(".FOG")));
        EXPECT_EQ(messages.shown()[1].text,
                  QStringLiteral("Errore irrecuperabile\n\nIl riordino non è stato eseguito."));
    }
}

TEST_F(Reorder, FailureOrKillAtEachWriteLeavesEveryFileAsItWas) {
    guastaCollegamenti();
    const auto fogli = stato().TabellaFogli;
    const auto riordina = [&fogli] {
        const Esito e = RiordinaArchivi();
        if (!e.ok()) {
            EXPECT_EQ(stato().TabellaFogli, fogli);
        }
        return e;
    };
    EXPECT_EQ(provaModifica(provaSulContoAperto(dataFolder(), comeProva(riordina), true)), 12);
}

} // namespace
} // namespace qv::test
