// What the backup copies bring back and how they are guarded: the condition files and the
// closing record travel with the account, the accounts of a copy of all accounts join
// the data folder's archive, the list of the copies catches a damaged copy, a folder
// whose interrupted change could not be put back is not read, links in place of files
// are replaced and never written through, and the form says what it did.
#include "maintenance_fixture.h"
#include "support/esito_test.h"

#include "support/faults.h"

#include "archives/account_selection_form.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/open_account.h"
#include "maintenance/backup.h"
#include "maintenance/backup_form.h"
#include "maintenance/closing.h"
#include "maintenance/file_set.h"
#include "platform/folder_tree.h"
#include "platform/form_host.h"
#include "platform/list_box.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace qv::test {
namespace {

const char* const kNove[] = {".Ord", ".FOG", ".MOV", ".MOR", ".TOT",
                             ".NRC", ".CAR", ".NRF", ".RIP"};
const char* const kCondizioni[] = {".Iat", ".Ipa", ".Opz", ".Onp", ".spe"};

class CopieSicurezza : public MaintenanceTest {
protected:
    void SetUp() override {
        MaintenanceTest::SetUp();
        scriviConto("CC2");
        apri("CC2");
        apri("CC1");
        writeAccount(1, "CC1", "Banca di Prova");
        writeAccount(2, "CC2", "Banca di Prova");
        writeBytes(dataFolder() + "RecConti.dat", le16(2));
        cartella = root_.path() + "/copie/";
        QDir().mkpath(cartella);
    }

    // Condition files of the record lengths (70, 90, 107, 80, 113) and a closing record,
    // each with bytes of its own for `codice`.
    void scriviCondizioni(const QString& codice, char segno) const {
        const int lunghezze[] = {70, 90, 107, 80, 113};
        for (int i = 0; i < 5; ++i)
            writeBytes(dataFolder() + codice + kCondizioni[i],
                       QByteArray(lunghezze[i], char(segno + i)));
        writeBytes(dataFolder() + codice + ".chi",
                   chiBytes("30/06/2026", 900.0, codice.toLatin1().constData()));
    }

    // The account's files: the nine, and the condition files and closing record it has.
    std::map<QString, QByteArray> fileConto(const QString& base, const QString& codice) const {
        std::map<QString, QByteArray> file;
        for (const char* ext : kNove)
            file[codice + ext] = readBytes(base + codice + ext);
        for (const char* ext : kCondizioni)
            if (QFile::exists(base + codice + ext))
                file[codice + ext] = readBytes(base + codice + ext);
        if (QFile::exists(base + codice + ".chi"))
            file[codice + ".chi"] = readBytes(base + codice + ".chi");
        return file;
    }

    // Runs Form18 in `modo` with the folder `scelta` and the option `tutti`, pressing
    // "Conferma"; `risposte` answer its boxes.
    void conferma(ModoCopie modo, const QString& scelta, bool tutti) {
        formHost().setModalHook([&](Form& f) {
            auto& form = dynamic_cast<Form18&>(f);
            QApplication::setActiveWindow(form.window());
            form.Dir1->showFolder(scelta);
            form.Dir1_Change();
            (tutti ? form.TuttiConti : form.ContoAttivo)->click();
            form.Salva->click();
            if (formHost().loaded<Form18>()) form.esci->click();
        });
        mostraCopieSicurezza(modo);
        formHost().setModalHook({});
    }

    // Something else in every file of both accounts.
    void cambiaConti() {
        for (const char* codice : {"CC1", "CC2"}) {
            apri(codice);
            chiudiConto("30/11/2026");
        }
        apri("CC1");
    }

    QString cartella;
};

TEST_F(CopieSicurezza, AllAccountsComeBackIntoAnEmptyDataFolderListedWithTheirConditions) {
    scriviCondizioni("CC1", 'a');
    scriviCondizioni("CC2", 'k');
    const auto uno = fileConto(dataFolder(), "CC1");
    const auto due = fileConto(dataFolder(), "CC2");
    ASSERT_EQ(uno.size(), 15u);
    conferma(ModoCopie::Backup, cartella, true);
    ASSERT_EQ(messages.texts(), QStringList{"Copia di sicurezza eseguita: 2 conti."});
    messages.clear();

    // A new, empty data folder, no account open.
    const QString nuova = root_.path() + "/nuovi/";
    QDir().mkpath(nuova);
    auto& s = stato();
    s.PercorsoDati = nuova;
    s.CodiceContoAttivo.clear();
    s.IndiceContoAttivo = 0;
    s.TabellaConti.assign(1, Conto{});
    s.NumeroConti = 0;
    CaricaElencoConti();

    messages.answer(MessageAnswer::Ok);
    conferma(ModoCopie::Ripristino, cartella, true);
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(messages.shown()[0].title, "AVVERTIMENTO!");
    EXPECT_EQ(messages.texts()[1], "Ripristino eseguito: 2 conti.\n"
                                   "Conti aggiunti all'elenco dei conti: CC1, CC2.");

    // The archive of the new folder lists both, and so does the account selection.
    EXPECT_EQ(readBytes(nuova + "RecConti.dat"), le16(2));
    EXPECT_EQ(readBytes(nuova + "Conti.dat"),
              contoBytes({.numero = 1, .codice = "CC1", .banca = "Banca di Prova"}) +
                  contoBytes({.numero = 2, .codice = "CC2", .banca = "Banca di Prova"}));
    EXPECT_EQ(s.NumeroConti, 2);
    EXPECT_EQ(formHost().form<Form7>().List1->count(), 2);

    // Each opens with its movements, its conditions and its closing record as they were.
    for (int riga : {1, 2}) {
        ASSERT_TRUE(ContoAperto::istanza().apri(riga));
        QString errore;
        ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore)) << errore.toStdString();
        EXPECT_EQ(s.NumeroMovimenti, 19);
    }
    EXPECT_EQ(fileConto(nuova, "CC1"), uno);
    EXPECT_EQ(fileConto(nuova, "CC2"), due);
}

// With no account open (a new data folder), the form offers every account only; with
// one open, both choices.
TEST_F(CopieSicurezza, WithNoAccountOpenOnlyEveryAccountCanBeRestored) {
    const auto scelte = [&] {
        std::pair<bool, bool> stato{};
        formHost().setModalHook([&](Form& f) {
            auto& form = dynamic_cast<Form18&>(f);
            stato = {form.ContoAttivo->isEnabled(), form.TuttiConti->isChecked()};
            form.esci->click();
        });
        mostraCopieSicurezza(ModoCopie::Ripristino);
        formHost().setModalHook({});
        return stato;
    };
    EXPECT_EQ(scelte(), std::make_pair(true, false));
    auto& s = stato();
    s.CodiceContoAttivo.clear();
    s.IndiceContoAttivo = 0;
    EXPECT_EQ(scelte(), std::make_pair(false, true));
}

TEST_F(CopieSicurezza, RestoringIntoAnEmptyDataFolderFailsOrStopsWhole) {
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::TuttiConti).ok());
    const QString nuova = root_.path() + "/nuovi/";
    QDir().mkpath(nuova);
    auto& s = stato();
    s.PercorsoDati = nuova;
    s.CodiceContoAttivo.clear();
    s.IndiceContoAttivo = 0;
    s.TabellaConti.assign(1, Conto{});
    s.NumeroConti = 0;
    ProvaModifica prova;
    prova.cartella = nuova;
    prova.prepara = [&] { rimettiSotto(nuova, {}); };
    prova.esegui = comeProva([&] { return RipristinaCopie(cartella, CopiaDi::TuttiConti); });
    prova.riapri = [&] { recoverInterrupted(nuova); };
    prova.file = [&] { return fileSotto(nuova); };
    // Eighteen files, two accounts added to the archive and its count.
    EXPECT_EQ(provaModifica(prova), 21);
}

TEST_F(CopieSicurezza, TheOpenAccountComesBackWithTheConditionsItsCopyHas) {
    scriviCondizioni("CC1", 'a');
    const auto prima = fileConto(dataFolder(), "CC1");
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::ContoAttivo).ok());
    // Other conditions and another closing record since.
    scriviCondizioni("CC1", 'p');
    chiudiConto("30/11/2026");
    const Esito e = RipristinaCopie(cartella, CopiaDi::ContoAttivo);
    ASSERT_TRUE(e.ok()) << e.testo.toStdString();
    EXPECT_EQ(e.testo, "Ripristino del conto CC1 eseguito.");
    EXPECT_EQ(fileConto(dataFolder(), "CC1"), prima);

    // A copy made without them (as before they were copied) leaves the account's own.
    for (const char* ext : kCondizioni)
        QFile::remove(cartella + "CC1" + ext);
    QFile::remove(cartella + "CC1.chi");
    QFile::remove(cartella + "Copie.lst");
    scriviCondizioni("CC1", 'p');
    const auto condizioni = fileConto(dataFolder(), "CC1");
    ASSERT_TRUE(RipristinaCopie(cartella, CopiaDi::ContoAttivo).ok());
    for (const char* ext : kCondizioni)
        EXPECT_EQ(readBytes(file(ext)), condizioni.at(QString("CC1") + ext)) << ext;

    // An account without conditions leaves none of an older copy behind in the folder.
    for (const char* ext : kCondizioni)
        QFile::remove(file(ext));
    QFile::remove(file(".chi"));
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::ContoAttivo).ok());
    for (const char* ext : kCondizioni)
        EXPECT_FALSE(QFile::exists(cartella + "CC1" + ext)) << ext;
    EXPECT_FALSE(QFile::exists(cartella + "CC1.chi"));
}

TEST_F(CopieSicurezza, EachEndSaysWhatItDidAndAnEmptyFolderIsToldBeforeTheWarning) {
    // A folder with no copy: said at once, no warning, nothing changed.
    const QString vuota = root_.path() + "/vuota/";
    QDir().mkpath(vuota);
    const auto prima = tuttiIFile();
    for (bool tutti : {false, true}) {
        messages.clear();
        conferma(ModoCopie::Ripristino, vuota, tutti);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].title, "Attenzione");
        EXPECT_EQ(messages.texts()[0],
                  tutti ? "La cartella " + vuota +
                              " non contiene la copia di tutti i conti (manca il file "
                              "Conti.dat): non c'è nulla da ripristinare."
                        : "La cartella " + vuota +
                              " non contiene la copia del conto CC1: non c'è nulla da "
                              "ripristinare.");
    }
    EXPECT_EQ(tuttiIFile(), prima);

    messages.clear();
    conferma(ModoCopie::Backup, cartella, false);
    EXPECT_EQ(messages.texts(), QStringList{"Copia di sicurezza del conto CC1 eseguita."});
    messages.clear();
    messages.answer(MessageAnswer::Ok);
    conferma(ModoCopie::Ripristino, cartella, false);
    EXPECT_EQ(messages.texts().value(1), "Ripristino del conto CC1 eseguito.");
    EXPECT_EQ(formHost().loaded<Form18>(), nullptr);
}

TEST_F(CopieSicurezza, TheTreeOpensOnTheFolderItsCaptionNames) {
    // A home folder deep in a tree, among many folders, inside a hidden one (as the data
    // folder is): the tree shows it, open down to it, and scrolls to it.
    for (int i = 0; i < 60; ++i)
        QDir().mkpath(root_.path() + QString("/c%1").arg(i, 2, 10, QChar('0')));
    const QString casa = root_.path() + "/c57/.locale/documenti/";
    QDir().mkpath(casa);
    const QByteArray vecchiaCasa = qgetenv("HOME");
    qputenv("HOME", casa.chopped(1).toUtf8());
    formHost().setModalHook([&](Form& f) {
        auto& form = dynamic_cast<Form18&>(f);
        form.window()->show();
        EXPECT_EQ(form.NomeFile->text(), "Percorso: " + casa);
        EXPECT_EQ(form.Dir1->chosenFolder(), casa);
        const QModelIndex scelta = form.Dir1->currentIndex();
        ASSERT_TRUE(scelta.isValid());
        for (QModelIndex su = scelta.parent(); su.isValid(); su = su.parent())
            EXPECT_TRUE(form.Dir1->isExpanded(su))
                << form.Dir1->folders()->filePath(su).toStdString();
        // Once the folders along the way are read, the chosen one is in view.
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return form.Dir1->viewport()->rect().contains(
                form.Dir1->visualRect(form.Dir1->currentIndex()));
        })) << form.Dir1->visualRect(form.Dir1->currentIndex()).y();
        form.esci->click();
    });
    mostraCopieSicurezza(ModoCopie::Backup);
    formHost().setModalHook({});
    qputenv("HOME", vecchiaCasa);
}

TEST_F(CopieSicurezza, ACopiesFolderWhoseChangeCouldNotBePutBackIsNotRead) {
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::TuttiConti).ok());
    cambiaConti();
    const auto cambiati = tuttiIFile();

    for (GuastoSimulato tipo : {GuastoSimulato::Errore, GuastoSimulato::Interruzione}) {
        recoverInterrupted(cartella);
        {
            // The backup fails at its sixth write and its ".MOV", written by then, cannot
            // be put back.
            GuastoAlPasso guasto(6, tipo, "CC1.MOV");
            const Esito e = EseguiCopie(cartella, CopiaDi::TuttiConti);
            ASSERT_TRUE(guasto.scattato());
            EXPECT_FALSE(e.ok());
        }
        ASSERT_TRUE(hasInterruptedChange(cartella));
        // The folder still refuses to be put back (full, or read-only).
        GuastoAlPasso ancora(1000, GuastoSimulato::Errore, "CC1.MOV");
        for (CopiaDi copia : {CopiaDi::ContoAttivo, CopiaDi::TuttiConti}) {
            const Esito e = RipristinaCopie(cartella, copia);
            EXPECT_TRUE(e.rifiutato());
            EXPECT_TRUE(e.testo.startsWith("La cartella " + cartella +
                                           " contiene una modifica delle copie che era stata "
                                           "interrotta e che non è stato possibile annullare"))
                << e.testo.toStdString();
            EXPECT_TRUE(e.testo.endsWith("Il ripristino non è stato eseguito."));
            EXPECT_EQ(tuttiIFile(), cambiati);
        }
        const Esito copia = EseguiCopie(cartella, CopiaDi::TuttiConti);
        EXPECT_TRUE(copia.rifiutato());
        EXPECT_TRUE(copia.testo.endsWith("La copia di sicurezza non è stata eseguita."));
    }
    // Once the folder can be put back, the copies are those of the first backup again.
    ASSERT_TRUE(RipristinaCopie(cartella, CopiaDi::TuttiConti).ok());
    EXPECT_FALSE(hasInterruptedChange(cartella));
    EXPECT_EQ(readBytes(file(".MOR")), le16(19));
}

TEST_F(CopieSicurezza, ALinkInPlaceOfAFileIsReplacedNeverWrittenThrough) {
    const QString fuori = root_.path() + "/fuori.dat";
    writeBytes(fuori, "non toccare");
    const QString assente = root_.path() + "/assente.dat";
    ASSERT_TRUE(QFile::link(fuori, cartella + "CC1.MOV"));
    ASSERT_TRUE(QFile::link(assente, cartella + "CC1.TOT"));
    ASSERT_TRUE(QFile::link(fuori, cartella + "Copie.lst"));
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::ContoAttivo).ok());
    EXPECT_EQ(readBytes(fuori), "non toccare");
    EXPECT_FALSE(QFileInfo::exists(assente));
    for (const char* nome : {"CC1.MOV", "CC1.TOT", "Copie.lst"}) {
        EXPECT_FALSE(QFileInfo(cartella + nome).isSymLink()) << nome;
        EXPECT_TRUE(QFileInfo(cartella + nome).isFile()) << nome;
    }
    EXPECT_EQ(readBytes(cartella + "CC1.MOV"), readBytes(file(".MOV")));

    // The restore replaces a link of the data folder in the same way.
    const QByteArray mov = readBytes(file(".MOV"));
    QFile::remove(file(".MOV"));
    ASSERT_TRUE(QFile::link(fuori, file(".MOV")));
    ASSERT_TRUE(RipristinaCopie(cartella, CopiaDi::ContoAttivo).ok());
    EXPECT_EQ(readBytes(fuori), "non toccare");
    EXPECT_FALSE(QFileInfo(file(".MOV")).isSymLink());
    EXPECT_EQ(readBytes(file(".MOV")), mov);

    // A backup given up puts the link back where it stood, still pointing where it did.
    QFile::remove(cartella + "CC1.MOV");
    ASSERT_TRUE(QFile::link(fuori, cartella + "CC1.MOV"));
    {
        GuastoAlPasso guasto(4);
        EXPECT_FALSE(EseguiCopie(cartella, CopiaDi::ContoAttivo).ok());
        ASSERT_TRUE(guasto.scattato());
        ASSERT_TRUE(guasto.scritture().filter("CC1.MOV").size() == 1);
    }
    EXPECT_TRUE(QFileInfo(cartella + "CC1.MOV").isSymLink());
    EXPECT_EQ(QFile::symLinkTarget(cartella + "CC1.MOV"), fuori);
    EXPECT_EQ(readBytes(fuori), "non toccare");
}

TEST_F(CopieSicurezza, ADamagedCopyOfTheRightSizeIsNotRestored) {
    scriviCondizioni("CC1", 'a');
    ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::TuttiConti).ok());
    cambiaConti();
    const auto cambiati = tuttiIFile();
    for (const char* nome : {"CC1.MOV", "CC2.FOG", "CC1.Iat", "Conti.dat"}) {
        const QByteArray buono = readBytes(cartella + nome);
        ASSERT_GT(buono.size(), 10) << nome;
        QByteArray guasto = buono;
        guasto[10] = char(guasto[10] ^ 0x20);
        writeBytes(cartella + nome, guasto);
        for (CopiaDi copia : {CopiaDi::ContoAttivo, CopiaDi::TuttiConti}) {
            const bool riguarda = copia == CopiaDi::TuttiConti || QString(nome).startsWith("CC1");
            if (!riguarda) continue;
            const Esito e = RipristinaCopie(cartella, copia);
            EXPECT_TRUE(e.rifiutato()) << nome;
            EXPECT_TRUE(e.testo.contains(QString("la copia %1 è danneggiata").arg(nome)))
                << e.testo.toStdString();
            EXPECT_EQ(tuttiIFile(), cambiati) << nome;
        }
        writeBytes(cartella + nome, buono);
    }
    // A folder without the list (copies made before it was kept) is restored as it is.
    QFile::remove(cartella + "Copie.lst");
    QByteArray mov = readBytes(cartella + "CC1.MOV");
    mov[10] = char(mov[10] ^ 0x20);
    writeBytes(cartella + "CC1.MOV", mov);
    ASSERT_TRUE(RipristinaCopie(cartella, CopiaDi::ContoAttivo).ok());
    EXPECT_EQ(readBytes(file(".MOV")), mov);
}

TEST_F(CopieSicurezza, TheClosingsCopyIsCheckedByItsSha256AndAnOldListStillReads) {
    chiudiConto("30/11/2026");
    const QString copia = cartellaCopiaChiusura(dataFolder(), "CC1");
    ASSERT_TRUE(leggiCopia(copia, "CC1").esito.ok());
    const QString lista = QString::fromUtf8(readBytes(copia + "Bak.lst"));
    // Each file of the account with its size and the SHA-256 of its bytes, by hand.
    const QByteArray mov = readBytes(copia + "Bak.MOV");
    ASSERT_GT(mov.size(), 20);
    EXPECT_TRUE(lista.contains(
        QString(".MOV\t%1\t%2\n")
            .arg(mov.size())
            .arg(QString(QCryptographicHash::hash(mov, QCryptographicHash::Sha256).toHex()))));

    QByteArray guasto = mov;
    guasto[20] = char(guasto[20] ^ 0x01);
    writeBytes(copia + "Bak.MOV", guasto);
    const LetturaCopia danneggiata = leggiCopia(copia, "CC1");
    EXPECT_TRUE(danneggiata.esito.rifiutato());
    EXPECT_EQ(danneggiata.esito.testo, "il file Bak.MOV è danneggiato");

    // A list of sizes only, as written before: read by the sizes.
    QStringList righe = lista.split('\n');
    for (QString& r : righe)
        if (r.count('\t') == 2 && !r.startsWith("conto")) r = r.section('\t', 0, 1);
    writeBytes(copia + "Bak.lst", righe.join('\n').toUtf8());
    const LetturaCopia vecchia = leggiCopia(copia, "CC1");
    ASSERT_TRUE(vecchia.esito.ok()) << vecchia.esito.testo.toStdString();
    ASSERT_EQ(vecchia.valore.size(), 9u);
    EXPECT_EQ(vecchia.valore[2].contenuto.value_or(QByteArray()), guasto);
}

} // namespace
} // namespace qv::test
