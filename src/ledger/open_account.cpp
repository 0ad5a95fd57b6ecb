#include "ledger/open_account.h"

#include "ledger/open_account_announce.h"
#include "common/file_names.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/account_memory.h"
#include "ledger/balances.h"
#include "shell/startup.h"

namespace qv {

ContoAperto& ContoAperto::istanza() {
    static ContoAperto conto;
    return conto;
}

void ContoAperto::cambiaCartellaDati(const QString& cartella) {
    impostaPercorsoDati(cartella);
    emit cartellaDatiCambiata();
}

bool ContoAperto::apri(int riga) {
    auto& s = stato();
    if (riga < 1 || riga > s.NumeroConti || riga >= int(s.TabellaConti.size())) return false;
    const QString codice = s.TabellaConti[size_t(riga)].codiceConto.trimmed();
    if (codice.isEmpty()) return false;
    s.CodiceContoAttivo = codice;
    s.IndiceContoAttivo = qint16(riga);
    // The account is read afresh when its movements are shown, the same one too.
    dimenticaMemoriaConto();
    emit aperto();
    return true;
}

void ChiudiConto() {
    ContoAperto& conto = contoAperto();
    emit conto.inChiusura();
    auto& s = stato();
    s.CodiceContoAttivo.clear();
    s.IndiceContoAttivo = 0;
    s.Form9Aperta = 0;
    // The windows that held movements out of the balances are gone with the account.
    dimenticaMovimentiTrattenuti();
    dimenticaMemoriaConto();
    // Opened again, the account says again what its load finds wrong.
    s.AvvisiContoMostrati.clear();
    emit conto.chiuso();
}

QString avvisoCancellaMovimenti() {
    return QStringLiteral("Questa azione elimina tutti i movimenti senza \n"
                          "eliminare il conto, si raccomanda, pertanto \n"
                          "di eseguire prima la copia di Backup al fine \n"
                          "di evitare la perdita di dati importanti.\n"
                          "\n"
                          "...ESEGUI PRIMA IL BACKUP DEI DATI...");
}

QString confermaCancellaMovimenti() {
    return QStringLiteral("SEI PROPRIO SICURO DI VOLER CONTINUARE?");
}

Esito cancellaMovimentiConto() {
    auto& s = stato();
    s.CodiceContoAttivo = s.CodiceContoAttivo.trimmed();
    // The menu item needs an open account: without one there is nothing to say.
    if (s.CodiceContoAttivo.isEmpty()) return Esito::rifiutato({}, {});
    // A movement held for change goes back first, while its files still exist; the
    // other windows showing the account's data close, giving back what they hold,
    // since what they show is about to go.
    AnnunciContoAperto::cancellazioneMovimenti();
    // The account's own files only (its code and an extension the program writes), as one
    // change: all of them go, or none.
    Transaction modifica(s.PercorsoDati);
    for (const QString& file : accountFilesIn(s.PercorsoDati, s.CodiceContoAttivo)) {
        if (modifica.remove(file)) continue;
        return Esito::fallito(modifica.message() + annullaModifica(modifica),
                              QStringLiteral("Errore"))
            .conIcona(IconaEsito::Errore);
    }
    if (!modifica.commit())
        return Esito::fallito(modifica.message() + testoFileNonRipristinati(modifica.leftChanged()),
                              QStringLiteral("Errore"))
            .conIcona(IconaEsito::Errore);
    dimenticaMovimentiTrattenuti();
    return Esito::fatto();
}

} // namespace qv
