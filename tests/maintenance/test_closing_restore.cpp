// The restore of the previous closing: the account's files back byte for byte from its
// own copy set, another account's copies never used, a copy set missing or incomplete
// refused with nothing changed.
#include "maintenance_fixture.h"

#include "support/faults.h"

#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "maintenance/closing.h"
#include "maintenance/closing_restore.h"
#include "maintenance/maintenance_form.h"

#include <QDir>
#include <QFile>

namespace qv::test {
namespace {

class RestoreClosing : public MaintenanceTest {
protected:
    // The files of account `codice` (its own and its copies), by relative path.
    std::map<QString, QByteArray> fileDelConto(const QString& codice) const {
        std::map<QString, QByteArray> file;
        for (const auto& [nome, bytes] : tuttiIFile())
            if (nome.startsWith(codice + u'.') || nome.startsWith("Bak/" + codice + u'/'))
                file[nome] = bytes;
        return file;
    }
    // The account's own files, without its copies.
    std::map<QString, QByteArray> propri(const QString& codice) const {
        std::map<QString, QByteArray> file;
        for (const auto& [nome, bytes] : fileDelConto(codice))
            if (!nome.startsWith("Bak/")) file[nome] = bytes;
        return file;
    }
};

TEST_F(RestoreClosing, PutsTheFilesBackByteForByteAndOnlyOnce) {
    const auto prima = propri("CC1");
    chiudiConto("30/11/2026");
    ASSERT_EQ(stato().NumeroMovimenti, 4);

    eseguiRipristinoChiusura();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, avvisoRipristinoChiusura());
    EXPECT_EQ(messages.shown()[0].title, "AVVERTIMENTO!");
    EXPECT_EQ(propri("CC1"), prima);
    EXPECT_EQ(stato().NumeroMovimenti, 19);
    EXPECT_EQ(stato().TabellaRiporto[1].dataRiporto, "30/06/2026");
    // The copy set stays; the closing record is gone, so a second restore is refused.
    EXPECT_TRUE(QFile::exists(dataFolder() + "Bak/CC1/Bak.MOV"));
    // ... at once, without the warning first.
    messages.clear();
    eseguiRipristinoChiusura();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, testoChiusuraDiAltroConto());
    EXPECT_EQ(messages.shown()[0].title, "Errore");
    EXPECT_EQ(propri("CC1"), prima);
}

TEST_F(RestoreClosing, CancelChangesNothing) {
    chiudiConto("30/11/2026");
    const auto chiuso = tuttiIFile();
    messages.answer(MessageAnswer::Cancel);
    eseguiRipristinoChiusura();
    EXPECT_EQ(tuttiIFile(), chiuso);
}

TEST_F(RestoreClosing, EachAccountHasItsOwnCopySet) {
    scriviConto("CC2");
    apri("CC2");
    apri("CC1");
    const auto primaA = propri("CC1");

    chiudiConto("30/11/2026");
    apri("CC2");
    chiudiConto("31/10/2026");
    const auto chiusoB = fileDelConto("CC2");
    ASSERT_FALSE(chiusoB.empty());
    apri("CC1");

    EXPECT_TRUE(RipristinaChiusuraPrecedente(dataFolder(), "CC1").ok());
    EXPECT_EQ(propri("CC1"), primaA);
    EXPECT_EQ(fileDelConto("CC2"), chiusoB);
}

// Each way a copy set can be missing or incomplete refuses the restore.
TEST_F(RestoreClosing, MissingOrIncompleteCopySetIsRefused) {
    const QString copia = dataFolder() + "Bak/CC1/";
    struct Caso {
        const char* nome;
        std::function<void()> guasta;
        const char* perche;
    };
    const std::vector<Caso> casi = {
        {"no copy set", [&] { QDir(copia).removeRecursively(); }, "la copia non c'è"},
        {"a copy missing", [&] { QFile::remove(copia + "Bak.MOV"); }, "manca il file Bak.MOV"},
        {"a copy cut short",
         [&] { writeBytes(copia + "Bak.FOG", readBytes(copia + "Bak.FOG").left(91)); },
         "il file Bak.FOG non è completo"},
        {"no list", [&] { QFile::remove(copia + "Bak.lst"); }, "la copia non c'è"},
        {"another account's list",
         [&] {
             writeBytes(copia + "Bak.lst",
                        readBytes(copia + "Bak.lst").replace("conto\tCC1", "conto\tCC2"));
         },
         "l'elenco dei file della copia non è del conto"},
    };
    chiudiConto("30/11/2026");
    const auto chiuso = tuttiIFile();
    for (const Caso& c : casi) {
        rimetti(chiuso);
        c.guasta();
        const auto guasto = tuttiIFile();
        const Esito e = RipristinaChiusuraPrecedente(dataFolder(), "CC1");
        EXPECT_TRUE(e.rifiutato()) << c.nome;
        EXPECT_EQ(e.testo,
                  QStringLiteral("La copia dei file fatta dall'ultima chiusura del conto CC1 "
                                 "manca o è incompleta (%1): operazione annullata.")
                      .arg(QString::fromUtf8(c.perche)))
            << c.nome;
        EXPECT_EQ(tuttiIFile(), guasto) << c.nome;
    }
}

TEST_F(RestoreClosing, FailureOrKillAtEachWriteLeavesEveryFileAsItWas) {
    chiudiConto("30/11/2026");
    const auto ripristina = [this] { return RipristinaChiusuraPrecedente(dataFolder(), "CC1"); };
    // The nine files and ".chi".
    EXPECT_EQ(provaModifica(provaSulContoAperto(dataFolder(), comeProva(ripristina), true)), 10);
}

TEST_F(RestoreClosing, AnAccountNeverClosedIsRefused) {
    const auto prima = tuttiIFile();
    const Esito e = RipristinaChiusuraPrecedente(dataFolder(), "CC1");
    EXPECT_TRUE(e.rifiutato());
    EXPECT_EQ(e.testo, testoChiusuraDiAltroConto());
    EXPECT_EQ(tuttiIFile(), prima);
}

// With nothing to put back, the menu item says so at once: no warning about the movements
// that would be lost comes first, and no file changes.
TEST_F(RestoreClosing, NothingToRestoreIsSaidAtOnceWithoutTheWarning) {
    const QString copia = dataFolder() + "Bak/CC1/";
    struct Caso {
        const char* nome;
        std::function<void()> prepara;
        QString atteso;
    };
    const QString senzaCopia =
        QStringLiteral("La copia dei file fatta dall'ultima chiusura del conto CC1 manca o è "
                       "incompleta (la copia non c'è): operazione annullata.");
    const std::vector<Caso> casi = {
        {"never closed", [] {}, testoChiusuraDiAltroConto()},
        {"closing record of another account",
         [&] { writeBytes(file(".chi"), chiBytes("30/06/2026", 1000, "CC2")); },
         testoChiusuraDiAltroConto()},
        {"closed, copies gone",
         [&] {
             chiudiConto("30/11/2026");
             QDir(copia).removeRecursively();
         },
         senzaCopia},
    };
    const auto iniziali = tuttiIFile();
    for (const Caso& c : casi) {
        rimetti(iniziali);
        apri("CC1");
        c.prepara();
        const auto prima = tuttiIFile();
        messages.clear();
        messages.answer(MessageAnswer::Ok);
        eseguiRipristinoChiusura();
        ASSERT_EQ(messages.shown().size(), 1u) << c.nome;
        EXPECT_EQ(messages.shown()[0].text, c.atteso) << c.nome;
        EXPECT_EQ(messages.shown()[0].title, "Errore") << c.nome;
        EXPECT_EQ(tuttiIFile(), prima) << c.nome;
    }
}

} // namespace
} // namespace qv::test
