// What a backup of every account into an empty folder asks of the disk: each copy synced
// once (no copy of a file that was not there, one list of the change's files), and each
// folder's names read once, however many accounts there are.
#include "maintenance_fixture.h"

#include "common/disk_sync.h"
#include "common/file_names.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "maintenance/backup.h"

#include <QDir>

namespace qv::test {
namespace {

class BackupDisk : public MaintenanceTest {
protected:
    // `numero` accounts in the data folder and the table, each with the test account's
    // files.
    void contiNellaTabella(int numero) {
        auto& s = stato();
        s.TabellaConti.assign(1, Conto{});
        for (int j = 1; j <= numero; ++j) {
            const QString codice = QStringLiteral("K%1").arg(j);
            scriviConto(codice);
            Conto c;
            c.numero = qint16(j);
            c.codiceConto = codice;
            c.nomeBanca = QStringLiteral("Banca di Prova");
            s.TabellaConti.push_back(c);
        }
        s.NumeroConti = qint16(numero);
    }
};

TEST_F(BackupDisk, AllAccountsIntoAnEmptyFolderSyncEachCopyOnceAndListEachFolderOnce) {
    // The syncs beyond one per copy: the change's list and its folder, the folders at the
    // end, the list's removal.
    constexpr quint64 piuDiUnoPerCopia = 6;
    constexpr quint64 lettureCartelle = 4;
    for (const int numero : {3, 12}) {
        SCOPED_TRACE(numero);
        contiNellaTabella(numero);
        const QString cartella = root_.path() + QStringLiteral("/copie%1/").arg(numero);
        ASSERT_TRUE(QDir().mkpath(cartella));

        const quint64 sincronie = diskSyncCount();
        const quint64 letture = folderListingCount();
        ASSERT_TRUE(EseguiCopie(cartella, CopiaDi::TuttiConti).ok());
        const quint64 fatte = diskSyncCount() - sincronie;
        const quint64 lette = folderListingCount() - letture;

        // The archive's two files, nine for each account, and the list of the copies.
        const auto copie = fileSotto(cartella);
        const quint64 file = 2 + 9 * quint64(numero) + 1;
        ASSERT_EQ(copie.size(), file);
        EXPECT_FALSE(hasInterruptedChange(cartella));
        EXPECT_GE(fatte, file); // every copy reached the disk
        EXPECT_LE(fatte, file + piuDiUnoPerCopia);
        EXPECT_LE(lette, lettureCartelle);
    }
}

} // namespace
} // namespace qv::test
