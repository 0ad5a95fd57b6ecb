#include "ledger/movement_delete.h"

#include "common/disk_sync.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/balances.h"
#include "ledger/movement_files.h"

#include <QFile>
#include <QtEndian>

#include <vector>

namespace qv {

namespace {

// The content of a file the deletion rewrites ("" for a missing one); false, with the
// reason, when it exists and cannot be read.
bool leggiContenuto(const QString& percorso, QByteArray* contenuto, QString* errore) {
    QFile f(percorso);
    if (!f.exists()) return true;
    noteFileRead(percorso);
    if (!f.open(QIODevice::ReadOnly)) {
        if (errore)
            *errore = QStringLiteral("Impossibile leggere il file %1: %2.")
                          .arg(percorso, f.errorString());
        return false;
    }
    *contenuto = f.readAll();
    return true;
}

// The records of a file (of `lunghezza` bytes) with the 16-bit movement reference
// at the start of each of the first `quanti` records fixed; false when none changed.
bool correggiRiferimenti(QByteArray& contenuto, int lunghezza, int quanti, int cancellato) {
    bool cambiato = false;
    const qsizetype interi = contenuto.size() / lunghezza;
    const qsizetype n = std::min<qsizetype>(quanti, interi);
    for (qsizetype k = 0; k < n; ++k) {
        uchar* p = reinterpret_cast<uchar*>(contenuto.data()) + k * lunghezza;
        const qint16 prima = qFromLittleEndian<qint16>(p);
        const qint16 dopo = riferimentoDopoCancellazione(prima, cancellato);
        if (dopo != prima) {
            qToLittleEndian<qint16>(dopo, p);
            cambiato = true;
        }
    }
    return cambiato;
}

} // namespace

QString testoConfermaCancellazioneMovimento() {
    return QStringLiteral("Attenzione il movimento selezionato verrà cancellato,") +
           QStringLiteral(" ...Vuoi Continuare?");
}

qint16 riferimentoDopoCancellazione(qint16 riferimento, int cancellato) {
    if (cancellato < 1 || riferimento < cancellato) return riferimento;
    if (riferimento == cancellato) return 0;
    return qint16(riferimento - 1);
}

Esito eliminaMovimento(int numero) {
    auto& s = stato();
    const int conteggio = s.NumeroMovimenti;
    if (numero < 1 || numero > conteggio || size_t(conteggio) >= s.TabellaMovimenti.size()) {
        return Esito::rifiutato(QStringLiteral("Il movimento %1 non esiste.").arg(numero),
                                QStringLiteral("ERRORE"));
    }

    // The movements that stay, renumbered from 1.
    std::vector<Movimento> restanti;
    restanti.reserve(size_t(conteggio));
    for (int i = 1; i <= conteggio; ++i) {
        if (i == numero) continue;
        Movimento m = s.TabellaMovimenti[size_t(i)];
        m.numero = qint16(restanti.size() + 1);
        restanti.push_back(m);
    }

    // The references of the cheque leaves and books follow the renumbered movements.
    const QString mov = fileContoAttivo(ExtMOV);
    const QString mor = fileContoAttivo(ExtMOR);
    const QString fog = fileContoAttivo(ExtFOG);
    const QString car = fileContoAttivo(ExtCAR);
    QByteArray fogli, carnet;
    QString motivo;
    if (!leggiContenuto(fog, &fogli, &motivo) || !leggiContenuto(car, &carnet, &motivo))
        return Esito::fallito(motivo);
    const bool fogliCambiati = correggiRiferimenti(fogli, FoglioAssegno::Lunghezza,
                                                   leggiContatore(fileContoAttivo(ExtNRF)), numero);
    const bool carnetCambiati = correggiRiferimenti(
        carnet, CarnetAssegni::Lunghezza, leggiContatore(fileContoAttivo(ExtNRC)), numero);

    // One change: every file written, or every file as it was.
    Transaction modifica(s.PercorsoDati);
    const auto fallito = [&] {
        const QString testo =
            modifica.message() + QStringLiteral("\nIl movimento non è stato cancellato.");
        return Esito::fallito(testo + annullaModifica(modifica));
    };
    // The new ".MOV" replaces the old one only once it is whole.
    if (!modifica.rewrite(mov, recordsToBytes(restanti))) return fallito();
    if (!modifica.writeCount(mor, qint16(restanti.size()))) return fallito();
    if (fogliCambiati && !modifica.rewrite(fog, fogli)) return fallito();
    if (carnetCambiati && !modifica.rewrite(car, carnet)) return fallito();
    if (!modifica.commit()) return fallito();

    // The files are written: memory follows.
    s.TabellaMovimenti.erase(s.TabellaMovimenti.begin() + numero);
    for (int i = numero; i < conteggio && size_t(i) < s.TabellaMovimenti.size(); ++i)
        s.TabellaMovimenti[size_t(i)].numero = qint16(i);
    s.NumeroMovimenti = qint16(conteggio - 1);
    for (int k = 1; k <= s.NumeroFogli && size_t(k) < s.TabellaFogli.size(); ++k) {
        auto& f = s.TabellaFogli[size_t(k)];
        f.movimento = riferimentoDopoCancellazione(f.movimento, numero);
    }
    for (int k = 1; k <= s.NumeroCarnet && size_t(k) < s.TabellaCarnet.size(); ++k) {
        auto& c = s.TabellaCarnet[size_t(k)];
        c.movimentoCosto = riferimentoDopoCancellazione(c.movimentoCosto, numero);
    }
    rinumeraMovimentiTrattenuti(numero);
    return Esito::fatto();
}

} // namespace qv
