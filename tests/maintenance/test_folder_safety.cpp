// A data folder whose closing was killed midway, then copied, moved or kept under a path
// with a line break, is put back where it is found; a roll-back writes back only what
// the closing wrote; an account whose code would name files outside its folder is
// neither copied nor opened.
#include "maintenance_fixture.h"
#include "support/esito_test.h"

#include "support/faults.h"

#include "common/file_names.h"
#include "common/folder_lock.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/account_loader.h"
#include "maintenance/backup.h"
#include "maintenance/closing.h"

#include <QDir>
#include <QFileInfo>

namespace qv::test {
namespace {

class FolderSafety : public MaintenanceTest {
protected:
    // Every file under `cartella` but the lock of the program that uses it.
    static std::map<QString, QByteArray> file(const QString& cartella) {
        auto tutti = fileSotto(cartella);
        tutti.erase(QString(FileBloccoCartella));
        return tutti;
    }

    // The closing of the open account on 30/11/2026, stopped at its write `passo` as a
    // killed program stops.
    void chiusuraUccisa(int passo) {
        const PianoChiusura piano = calcolaChiusura(datiChiusuraContoAperto("30/11/2026"));
        const GuastoAlPasso guasto(passo, GuastoSimulato::Interruzione);
        EXPECT_FALSE(scriviChiusura(piano, stato().PercorsoDati, QStringLiteral("CC1")).ok());
        EXPECT_TRUE(guasto.scattato());
    }

    // Opens CC1 of `cartella` as the program opens an account; its text.
    static QString apriIn(const QString& cartella) {
        stato().PercorsoDati = cartella;
        stato().CodiceContoAttivo = QStringLiteral("CC1");
        stato().IndiceContoAttivo = 1;
        QString testo;
        testo = ApriArchiviConto().testo;
        return testo;
    }
};

const QString kAnnullata = QStringLiteral("è stata annullata");

// Killed after the copies and the new movements, the folder copied: opening the copy puts
// back the copy's own files, byte for byte, and leaves the original as the kill left it;
// the original, moved elsewhere and opened there, is put back too.
TEST_F(FolderSafety, AClosingKilledMidwayIsPutBackInTheFolderWhereItIsOpened) {
    const QString dati = dataFolder();
    const auto prima = file(dati);
    chiusuraUccisa(12);
    const auto uccisa = file(dati);
    ASSERT_FALSE(uccisa == prima);

    const QString copia = root_.path() + QStringLiteral("/copia/");
    rimettiSotto(copia, fileSotto(dati));
    EXPECT_TRUE(apriIn(copia).contains(kAnnullata));
    EXPECT_TRUE(file(copia) == prima);
    EXPECT_FALSE(hasInterruptedChange(copia));
    EXPECT_TRUE(file(dati) == uccisa);
    EXPECT_TRUE(hasInterruptedChange(dati));

    const QString spostata = root_.path() + QStringLiteral("/spostata/");
    ASSERT_TRUE(QDir().rename(dati, spostata));
    EXPECT_TRUE(apriIn(spostata).contains(kAnnullata));
    EXPECT_TRUE(file(spostata) == prima);
    EXPECT_FALSE(hasInterruptedChange(spostata));
}

// A line break or a tab in the data folder's path: the change stopped midway is put back
// at the next opening, every account usable again.
TEST_F(FolderSafety, AFolderWhosePathHoldsControlCharactersIsPutBackAfterAKill) {
    const QString cartella = root_.path() + QStringLiteral("/dati\nnuovi\tbis/");
    rimettiSotto(cartella, file(dataFolder()));
    EXPECT_TRUE(apriIn(cartella).isEmpty());
    const auto prima = file(cartella);
    for (const int passo : {1, 11, 18}) {
        chiusuraUccisa(passo);
        ASSERT_TRUE(hasInterruptedChange(cartella));
        EXPECT_TRUE(apriIn(cartella).contains(kAnnullata)) << passo;
        EXPECT_TRUE(file(cartella) == prima) << passo;
        EXPECT_FALSE(hasInterruptedChange(cartella)) << passo;
    }
}

// The closing's first write fails (a full disk) and the account's own files could not be
// written back now: none of them was written, so none needs to be, and the closing is
// undone whole.
TEST_F(FolderSafety, AFailedClosingWritesBackOnlyTheFilesItWrote) {
    const auto prima = file(dataFolder());
    const PianoChiusura piano = calcolaChiusura(datiChiusuraContoAperto("30/11/2026"));
    Esito esito;
    {
        const GuastoAlPasso guasto(1, GuastoSimulato::Errore, QStringLiteral("CC1.MOV"));
        esito = scriviChiusura(piano, dataFolder(), QStringLiteral("CC1"));
    }
    EXPECT_FALSE(esito.ok());
    EXPECT_TRUE(esito.testo.contains(QStringLiteral("I file sono com'erano prima")))
        << esito.testo.toStdString();
    EXPECT_FALSE(hasInterruptedChange(dataFolder()));
    EXPECT_TRUE(file(dataFolder()) == prima);
}

// An archive holding the code "../EVIL" (a folder from elsewhere): the backup of all
// accounts leaves it out, named, and writes nothing outside the folder of copies.
TEST_F(FolderSafety, ACodeThatCannotNameAFileIsNotCopied) {
    const QString sopra = QFileInfo(dataFolder() + QStringLiteral("..")).absoluteFilePath();
    for (const char* ext : {".MOV", ".MOR", ".TOT", ".Ord", ".FOG", ".NRF", ".CAR", ".NRC", ".RIP"})
        writeBytes(sopra + QStringLiteral("/EVIL") + ext, "altrui");
    const auto fuori = file(sopra);
    Conto cattivo;
    cattivo.numero = 3;
    cattivo.codiceConto = QStringLiteral("../EVIL");
    stato().TabellaConti.push_back(cattivo);
    stato().NumeroConti = 3;

    const QString copie = root_.path() + QStringLiteral("/copie/una/");
    QDir().mkpath(copie);
    const Esito esito = EseguiCopie(copie, CopiaDi::TuttiConti);
    EXPECT_TRUE(esito.ok()) << esito.testo.toStdString();
    EXPECT_TRUE(esito.testo.contains(QStringLiteral("../EVIL"))) << esito.testo.toStdString();
    EXPECT_TRUE(file(sopra) == fuori);
    EXPECT_FALSE(QFileInfo::exists(root_.path() + QStringLiteral("/copie/EVIL.MOV")));
    EXPECT_TRUE(QFileInfo::exists(copie + QStringLiteral("CC1.MOV")));
}

// A folder of copies brought from elsewhere holds a marker that names files outside it:
// "Ripristina copie" restores the copies, writes, removes and copies nothing outside,
// and says that the marker was refused.
TEST_F(FolderSafety, APlantedMarkerInAFolderOfCopiesTouchesNothingOutside) {
    const QString copie = root_.path() + QStringLiteral("/copie/");
    QDir().mkpath(copie);
    ASSERT_TRUE(EseguiCopie(copie, CopiaDi::TuttiConti).ok());
    const QString vittima = root_.path() + QStringLiteral("/vittima");
    const QString segreto = root_.path() + QStringLiteral("/segreto");
    const QByteArray copiaMov = readBytes(copie + QStringLiteral("CC1.MOV"));
    for (const QByteArray& riga :
         {"1\t" + vittima.toUtf8(), "-\t" + vittima.toUtf8(), QByteArray("1\t../vittima"),
          QByteArray("1\t..\\vittima"), QByteArray("../segreto\tCC1.MOV")}) {
        SCOPED_TRACE(riga.toStdString());
        writeBytes(vittima, "vittima");
        writeBytes(segreto, "segreto");
        QDir().mkpath(copie + CartellaTransazione);
        writeBytes(copie + CartellaTransazione + QStringLiteral("/1"), "piantato");
        writeBytes(copie + CartellaTransazione + QStringLiteral("/marcatore"),
                   "Quorvanta: modifica in corso\n" + riga + "\n");

        const Esito esito = RipristinaCopie(copie, CopiaDi::TuttiConti);
        EXPECT_TRUE(esito.testo.contains(QStringLiteral("Nessun file è stato toccato")))
            << esito.testo.toStdString();
        EXPECT_EQ(readBytes(vittima), QByteArray("vittima"));
        EXPECT_EQ(readBytes(segreto), QByteArray("segreto"));
        EXPECT_EQ(readBytes(copie + QStringLiteral("CC1.MOV")), copiaMov);
        EXPECT_EQ(readBytes(dataFolder() + QStringLiteral("CC1.MOV")), copiaMov);
    }
}

// Opening an account whose files are not all there, in a folder of many files: the
// folder's names are read once, not at every file that is missing.
TEST_F(FolderSafety, OpeningAnAccountReadsTheFolderNamesOnce) {
    for (int i = 1; i <= 300; ++i)
        writeBytes(dataFolder() + QStringLiteral("X%1.MOV").arg(i), "x");
    writeBytes(dataFolder() + QStringLiteral("cc3.mov"), QByteArray());
    const quint64 prima = folderListingCount();
    stato().CodiceContoAttivo = QStringLiteral("CC3");
    QString testo;
    EXPECT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &testo)) << testo.toStdString();
    EXPECT_LE(folderListingCount() - prima, 1u);
    // The movements file found under its own spelling, no second one made.
    EXPECT_FALSE(QFileInfo::exists(dataFolder() + QStringLiteral("CC3.MOV")));
    EXPECT_TRUE(QFileInfo::exists(dataFolder() + QStringLiteral("CC3.TOT")));
}

} // namespace
} // namespace qv::test
