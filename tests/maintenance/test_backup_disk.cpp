// What a backup of every account into an empty folder asks of the disk: each copy synced
// once (no copy of a file that was not there, one list of the change's files), and each
// folder's names read once, however many accounts there are. And the SHA-256 the lists
// of copies record, whichever way it is computed.
#include "maintenance_fixture.h"

#include "common/disk_sync.h"
#include "common/file_names.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "maintenance/backup.h"

#include <QCryptographicHash>
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

// The digests of the standard's examples, then every length around the 64-byte blocks and
// a large copy against Qt's own SHA-256.
TEST(ImprontaCopie, IsTheSha256OfTheContent) {
    EXPECT_EQ(impronta(QByteArray()),
              QStringLiteral("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"));
    EXPECT_EQ(impronta(QByteArray("abc")),
              QStringLiteral("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    EXPECT_EQ(impronta(QByteArray("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              QStringLiteral("248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"));
    QByteArray bytes;
    for (int n = 0; n < 3 * 64 + 2; ++n) {
        EXPECT_EQ(impronta(bytes),
                  QString::fromLatin1(
                      QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()))
            << n;
        bytes.append(char(n * 37 + 11));
    }
    QByteArray grande(1 << 20, '\0');
    for (qsizetype i = 0; i < grande.size(); ++i)
        grande[i] = char((i * 2654435761u) >> 13);
    EXPECT_EQ(
        impronta(grande),
        QString::fromLatin1(QCryptographicHash::hash(grande, QCryptographicHash::Sha256).toHex()));
}

} // namespace
} // namespace qv::test
