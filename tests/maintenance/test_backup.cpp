// Backup and restore (Form18): one account and all accounts round-trip byte for byte, a
// missing file is copied empty, an account whose copy lacks a file is left out whole,
// and the data folder itself is refused as the copies' folder.
#include "maintenance_fixture.h"

#include "support/faults.h"

#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "maintenance/backup.h"
#include "maintenance/backup_form.h"
#include "platform/folder_tree.h"
#include "platform/form_host.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace qv::test {
namespace {

class Backup : public MaintenanceTest {
protected:
    void SetUp() override {
        MaintenanceTest::SetUp();
        scriviConto("CC2");
        apri("CC2");
        apri("CC1");
        // The data folder's archive as the table holds it.
        writeAccount(1, "CC1", "Banca di Prova");
        writeAccount(2, "CC2", "Banca di Prova");
        writeBytes(dataFolder() + "RecConti.dat", le16(2));
        cartella = root_.path() + "/copie/";
        QDir().mkpath(cartella);
    }

    // The nine files of account `codice` in the data folder.
    std::map<QString, QByteArray> noveFile(const QString& codice) const {
        std::map<QString, QByteArray> file;
        for (const char* ext :
             {".Ord", ".FOG", ".MOV", ".MOR", ".TOT", ".NRC", ".CAR", ".NRF", ".RIP"})
            file[codice + ext] = readBytes(dataFolder() + codice + ext);
        return file;
    }
    // Something else in every file of both accounts.
    void cambiaTutto() {
        for (const char* codice : {"CC1", "CC2"}) {
            apri(codice);
            chiudiConto("30/11/2026");
        }
        apri("CC1");
    }

    QString cartella;
};

TEST_F(Backup, OneAccountRoundTrips) {
    const auto prima = noveFile("CC1");
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::ContoAttivo).ok());
    const auto copie = fileSotto(cartella);
    // The nine copies and their list.
    ASSERT_EQ(copie.size(), 10u);
    EXPECT_TRUE(copie.count("Copie.lst"));
    for (const auto& [nome, bytes] : prima)
        EXPECT_EQ(copie.at(nome), bytes) << nome.toStdString();

    cambiaTutto();
    const auto altro = noveFile("CC2");
    ASSERT_TRUE(RipristinaCopie(cartella, CopiaDi::ContoAttivo).ok());
    EXPECT_EQ(noveFile("CC1"), prima);
    EXPECT_EQ(noveFile("CC2"), altro);
}

TEST_F(Backup, AllAccountsRoundTripWithTheArchive) {
    const auto primaUno = noveFile("CC1");
    const auto primaDue = noveFile("CC2");
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::TuttiConti).ok());
    EXPECT_EQ(readBytes(cartella + "RecConti.dat"), le16(2));
    EXPECT_EQ(readBytes(cartella + "Conti.dat"),
              contoBytes({.numero = 1, .codice = "CC1", .banca = "Banca di Prova"}) +
                  contoBytes({.numero = 2, .codice = "CC2", .banca = "Banca di Prova"}));
    EXPECT_EQ(fileSotto(cartella).size(), 2u + 18u + 1u);
    EXPECT_EQ(stato().CodiceContoAttivo, "CC1");

    cambiaTutto();
    // The restore reads the folder's archive into a table of its own.
    stato().TabellaConti.resize(2);
    stato().NumeroConti = 1;
    ASSERT_TRUE(RipristinaCopie(cartella, CopiaDi::TuttiConti).ok());
    EXPECT_EQ(noveFile("CC1"), primaUno);
    EXPECT_EQ(noveFile("CC2"), primaDue);
    EXPECT_EQ(stato().NumeroConti, 1);
    EXPECT_EQ(stato().CodiceContoAttivo, "CC1");
}

TEST_F(Backup, AMissingFileIsCopiedEmptyAndAnIncompleteAccountIsLeftOut) {
    // An account never closed may have no carry-forward file.
    QFile::remove(dataFolder() + "CC2.RIP");
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::TuttiConti).ok());
    ASSERT_TRUE(QFile::exists(cartella + "CC2.RIP"));
    EXPECT_TRUE(readBytes(cartella + "CC2.RIP").isEmpty());

    const auto primaUno = noveFile("CC1");
    QFile::remove(cartella + "CC2.MOV");
    cambiaTutto();
    const auto cambiatoDue = noveFile("CC2");
    const Esito e = RipristinaCopie(cartella, CopiaDi::TuttiConti);
    ASSERT_TRUE(e.ok());
    EXPECT_EQ(e.testo, "Ripristino eseguito: 1 conto.\n\nConti non ripristinati:\nCC2: mancano i "
                       "file CC2.MOV");
    EXPECT_EQ(noveFile("CC1"), primaUno);
    EXPECT_EQ(noveFile("CC2"), cambiatoDue);

    // The open account lacking a file refuses the restore of that account.
    apri("CC2");
    const Esito solo = RipristinaCopie(cartella, CopiaDi::ContoAttivo);
    EXPECT_TRUE(solo.rifiutato());
    EXPECT_EQ(noveFile("CC2"), cambiatoDue);
}

TEST_F(Backup, FailureOrKillAtEachWriteLeavesEveryFileAsItWas) {
    // The backup, in the copies' folder: the archive and two accounts' nine files.
    ProvaModifica copia;
    copia.cartella = cartella;
    copia.prepara = [this] {
        QDir(cartella).removeRecursively();
        QDir().mkpath(cartella);
    };
    copia.esegui = comeProva([this] { return EseguiCopie(cartella, CopiaDi::TuttiConti); });
    copia.riapri = [this] { recoverInterrupted(cartella); };
    copia.file = [this] { return fileSotto(cartella); };
    // The archive, the eighteen copies, the list of the copies.
    EXPECT_EQ(provaModifica(copia), 21);

    // The restore, in the data folder.
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::TuttiConti).ok());
    cambiaTutto();
    const auto ripristina = [this] { return RipristinaCopie(cartella, CopiaDi::TuttiConti); };
    EXPECT_EQ(provaModifica(provaSulContoAperto(dataFolder(), comeProva(ripristina), true)), 18);
}

TEST_F(Backup, TheDataFolderItselfIsRefused) {
    const auto prima = tuttiIFile();
    for (const Esito& e : {EseguiCopie(dataFolder(), CopiaDi::TuttiConti),
                           RipristinaCopie(dataFolder(), CopiaDi::ContoAttivo)}) {
        EXPECT_TRUE(e.rifiutato());
        EXPECT_EQ(e.testo, "La cartella scelta è la cartella dei dati: le copie di sicurezza "
                           "vanno in un'altra cartella.");
    }
    EXPECT_EQ(tuttiIFile(), prima);
}

TEST_F(Backup, FormShowsItsModeAndACancelledRestoreChangesNothing) {
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::ContoAttivo).ok());
    cambiaTutto();
    const auto prima = tuttiIFile();
    formHost().setModalHook([&](Form& f) {
        auto& form = dynamic_cast<Form18&>(f);
        QApplication::setActiveWindow(form.window());
        EXPECT_EQ(form.caption(), "Ripristina Dati");
        EXPECT_EQ(form.Panel3D1->title(), "Copie di sicurezza");
        EXPECT_EQ(form.Frame3D1->title(), "Opzioni");
        EXPECT_EQ(form.TuttiConti->text(), "tutti i conti");
        EXPECT_EQ(form.ContoAttivo->text(), "conto attivo");
        EXPECT_TRUE(form.ContoAttivo->isChecked());
        EXPECT_EQ(form.Salva->text(), "Conferma");
        EXPECT_EQ(form.esci->text(), "Uscita");
        EXPECT_EQ(form.NomeFile->text(), "Percorso: " + QDir::homePath() + "/");
        form.Dir1->showFolder(cartella);
        form.Dir1_Change();
        EXPECT_EQ(form.NomeFile->text(), "Percorso: " + cartella);
        messages.answer(MessageAnswer::Cancel);
        form.Salva->click();
        EXPECT_TRUE(form.isShown());
        EXPECT_EQ(tuttiIFile(), prima);
        form.Salva->click(); // OK this time
    });
    mostraCopieSicurezza(ModoCopie::Ripristino);
    formHost().setModalHook({});
    EXPECT_EQ(formHost().loaded<Form18>(), nullptr);
    EXPECT_NE(tuttiIFile(), prima);
    EXPECT_EQ(stato().NumeroMovimenti, 19);
}

} // namespace
} // namespace qv::test
