#include "maintenance/reorder.h"

#include "cheques/cheque_books.h"
#include "common/file_names.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "ledger/open_account_announce.h"
#include "maintenance/closing.h"
#include "reports/report_frame.h"

namespace qv {

QString cartellaCopiaRiordino(const QString& cartellaDati, const QString& codice) {
    return cartellaCopiaChiusura(cartellaDati, codice) + QStringLiteral("riordino/");
}

Esito RiordinaArchivi(const Riprova& riprova) {
    auto& s = stato();
    if (!contoAttivoAperto())
        return Esito::rifiutato(testoNessunContoAperto(), QStringLiteral("Attenzione"));
    // A movement held out of the balances goes back before the tables are read; the
    // windows that show the movements close.
    AnnunciContoAperto::cancellazioneMovimenti();
    const QString cartella = s.PercorsoDati;
    const QString codice = s.CodiceContoAttivo.trimmed();
    const int nm = std::clamp<int>(s.NumeroMovimenti, 0, int(s.TabellaMovimenti.size()) - 1);
    const AssegniRicostruiti riordinati =
        assegniRiordinati(righeTabella(s.TabellaCarnet, s.NumeroCarnet),
                          righeTabella(s.TabellaFogli, s.NumeroFogli), s.TabellaMovimenti, nm);

    ModificaFile modifica(cartella, riprova);
    // Every file the reorder writes is protected at once: one list of them on the disk.
    const QString cartellaCopia = cartellaCopiaRiordino(cartella, codice);
    QStringList percorsi = fileCopia(cartellaCopia);
    percorsi << accountFile(cartella, codice, ExtFOG) << accountFile(cartella, codice, ExtCAR);
    FileLetti attuali;
    const bool fatto = leggiFileConto(modifica, cartella, codice, attuali) &&
                       modifica.proteggi(percorsi) &&
                       scriviCopia(modifica, cartellaCopia, codice, attuali) &&
                       modifica.riscrivi(accountFile(cartella, codice, ExtFOG),
                                         recordsToBytes(riordinati.fogli)) &&
                       modifica.riscrivi(accountFile(cartella, codice, ExtCAR),
                                         recordsToBytes(riordinati.carnet)) &&
                       modifica.concludi();
    if (!fatto) return modifica.fallita(QStringLiteral("Il riordino non è stato eseguito."));

    riempiTabella(s.TabellaFogli, s.NumeroFogli, riordinati.fogli);
    riempiTabella(s.TabellaCarnet, s.NumeroCarnet, riordinati.carnet);
    AnnunciContoAperto::movimenti();
    return Esito::fatto();
}

QString testoRiordinoEseguito() {
    return QStringLiteral("Riordino degli archivi completato.");
}

} // namespace qv
