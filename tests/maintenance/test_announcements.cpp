// What the maintenance operations say of the open account, run with no window at all:
// before they change anything, that its movements are about to go (a held movement goes
// back, the windows that show them close); once their writes are done, that the
// movements changed. A refused operation says nothing.
#include "maintenance_fixture.h"

#include "support/bytes.h"

#include "common/shared_state.h"
#include "ledger/open_account.h"
#include "maintenance/backup.h"
#include "maintenance/closing.h"
#include "maintenance/closing_restore.h"
#include "maintenance/reorder.h"

#include <QFile>
#include <QSignalSpy>
#include <QStringList>

namespace qv::test {
namespace {

// Each signal of the open account about its movements, in the order said, with the
// bytes of one file of the account at that moment.
class Annunci {
public:
    explicit Annunci(QString percorso) : percorso_(std::move(percorso)) {
        QObject::connect(&contoAperto(), &ContoAperto::movimentiInCancellazione, &contesto_,
                         [this] { annota(QStringLiteral("in cancellazione")); });
        QObject::connect(&contoAperto(), &ContoAperto::movimentiCambiati, &contesto_,
                         [this] { annota(QStringLiteral("cambiati")); });
    }
    QStringList detti;
    QList<QByteArray> bytes;

private:
    void annota(const QString& detto) {
        detti << detto;
        bytes << readBytes(percorso_);
    }
    QString percorso_;
    QObject contesto_;
};

class Announcements : public MaintenanceTest {};

TEST_F(Announcements, EachOperationSaysTheMovementsChangedOnceItsWritesAreDone) {
    struct Caso {
        const char* nome;
        const char* estensione; // the file the operation rewrites
        std::function<void()> prepara;
        std::function<Esito()> esegui;
    };
    const std::vector<Caso> casi = {
        {"closing", ".MOV", [] {},
         [this] {
             const PianoChiusura piano = calcolaChiusura(datiChiusuraContoAperto("30/11/2026"));
             return scriviChiusura(piano, dataFolder(), stato().CodiceContoAttivo);
         }},
        {"restore of the closing", ".MOV",
         [this] { chiudiConto("30/11/2026"); },
         [this] { return RipristinaChiusuraPrecedente(dataFolder(), "CC1"); }},
        {"reorder", ".FOG",
         [this] {
             // Leaf 1 under book 2: the reorder puts it back under book 1.
             QByteArray fog = fogBytes();
             fog.replace(4, 2, le16(2));
             writeBytes(file(".FOG"), fog);
             apri("CC1");
         },
         [] { return RiordinaArchivi(); }},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        // The account as written, never closed.
        QFile::remove(file(".chi"));
        scriviConto(QStringLiteral("CC1"));
        apri("CC1");
        caso.prepara();
        const QByteArray prima = readBytes(file(caso.estensione));
        QSignalSpy cambiati(&contoAperto(), &ContoAperto::movimentiCambiati);
        Annunci annunci(file(caso.estensione));

        const Esito esito = caso.esegui();

        ASSERT_TRUE(esito.ok()) << esito.testo.toStdString();
        EXPECT_EQ(cambiati.count(), 1);
        ASSERT_EQ(annunci.detti, QStringList({"in cancellazione", "cambiati"}));
        const QByteArray dopo = readBytes(file(caso.estensione));
        EXPECT_NE(dopo, prima);
        // Said before anything changed, then once everything was written.
        EXPECT_EQ(annunci.bytes[0], prima);
        EXPECT_EQ(annunci.bytes[1], dopo);
    }
}

TEST_F(Announcements, ARefusedOperationSaysNothing) {
    struct Caso {
        const char* nome;
        std::function<Esito()> esegui;
    };
    const std::vector<Caso> casi = {
        {"restore of a closing never made",
         [this] { return RipristinaChiusuraPrecedente(dataFolder(), "CC1"); }},
        {"restore of copies from a folder that is not there",
         [this] {
             return RipristinaCopie(dataFolder() + "mancante/", CopiaDi::ContoAttivo);
         }},
        {"reorder with no account open",
         [] {
             ChiudiConto();
             return RiordinaArchivi();
         }},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        apri("CC1");
        const auto prima = tuttiIFile();
        QSignalSpy inCancellazione(&contoAperto(), &ContoAperto::movimentiInCancellazione);
        QSignalSpy cambiati(&contoAperto(), &ContoAperto::movimentiCambiati);

        const Esito esito = caso.esegui();

        EXPECT_FALSE(esito.ok());
        EXPECT_FALSE(esito.fallito()) << esito.testo.toStdString();
        EXPECT_EQ(inCancellazione.count(), 0);
        EXPECT_EQ(cambiati.count(), 0);
        EXPECT_EQ(tuttiIFile(), prima);
    }
}

} // namespace
} // namespace qv::test
