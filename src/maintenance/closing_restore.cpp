#include "maintenance/closing_restore.h"

#include "common/file_names.h"
#include "common/records.h"
#include "common/shared_state.h"
#include "ledger/open_account_announce.h"
#include "maintenance/closing.h"

namespace qv {

QString avvisoRipristinoChiusura() {
    return QStringLiteral("L'azione appena intrapresa eliminerà tutti i\n"
                          "movimenti registrati dopo l'ultima chiusura, \n"
                          "essi non potranno essere più recuperati.\n"
                          "\n"
                          "Vuoi continuare ?");
}

QString testoChiusuraDiAltroConto() {
    return QStringLiteral(" I dati che si tenta di recuperare appartengono ad un altro conto, "
                          "operazione annullata");
}

namespace {

// What a restore puts back, read and checked before anything changes.
struct DatiRipristino {
    Esito esito;
    RiportoPrecedente chiusura;
    LetturaCopia copia;
};

DatiRipristino leggiDatiRipristino(const QString& cartellaDati, const QString& codice) {
    DatiRipristino dati;
    const QString nonEseguito = QStringLiteral("Il ripristino non è stato eseguito.");

    // The closing record must be the account's own.
    FileLetto chi;
    GuastoFile guasto;
    if (!leggiFile(accountFile(cartellaDati, codice, ExtChi), chi, &guasto)) {
        dati.esito = Esito::fallito(nonEseguito + u'\n' + guasto.motivo + u'.');
        return dati;
    }
    dati.chiusura = RiportoPrecedente::fromBytes(chi.contenuto.value_or(QByteArray()));
    if (dati.chiusura.codiceConto.trimmed() != codice.trimmed()) {
        dati.esito = Esito::rifiutato(testoChiusuraDiAltroConto(), QStringLiteral("Errore"));
        return dati;
    }

    // Every copy read and checked.
    dati.copia = leggiCopia(cartellaCopiaChiusura(cartellaDati, codice), codice);
    if (dati.copia.esito.fallito())
        dati.esito = Esito::fallito(nonEseguito + u'\n' + dati.copia.esito.testo + u'.');
    else if (!dati.copia.esito.ok())
        dati.esito = Esito::rifiutato(
            QStringLiteral("La copia dei file fatta dall'ultima chiusura del conto %1 manca o è "
                           "incompleta (%2): operazione annullata.")
                .arg(codice.trimmed(), dati.copia.esito.testo),
            QStringLiteral("Errore"));
    return dati;
}

} // namespace

Esito controllaRipristinoChiusura(const QString& cartellaDati, const QString& codice) {
    return leggiDatiRipristino(cartellaDati, codice).esito;
}

Esito RipristinaChiusuraPrecedente(const QString& cartellaDati, const QString& codice,
                                   const Riprova& riprova) {
    const QString nonEseguito = QStringLiteral("Il ripristino non è stato eseguito.");
    const auto file = [&](const QString& estensione) {
        return accountFile(cartellaDati, codice, estensione);
    };

    DatiRipristino dati = leggiDatiRipristino(cartellaDati, codice);
    if (!dati.esito.ok()) return dati.esito;
    // A movement held out of the balances goes back (its ".TOT" is restored from the
    // copy with the rest); the windows that show the movements close.
    if (contoAttivoAperto()) AnnunciContoAperto::cancellazioneMovimenti();
    const RiportoPrecedente& chiusura = dati.chiusura;
    LetturaCopia& copia = dati.copia;

    // The carry-forward of the closing record; the copy's bytes stay as they are when
    // they already hold it.
    Riporto riporto;
    riporto.dataRiporto = chiusura.dataRiporto;
    riporto.saldoRiporto = chiusura.saldoRiporto;
    for (FileLetto& f : copia.valore) {
        if (f.estensione != ExtRIP) continue;
        const QByteArray copiato = f.contenuto.value_or(QByteArray());
        if (Riporto::fromBytes(copiato) == riporto) break;
        QByteArray contenuto = copiato;
        contenuto.replace(0, qMin<qsizetype>(contenuto.size(), Riporto::Lunghezza),
                          riporto.toBytes());
        f.contenuto = contenuto;
    }

    ModificaFile modifica(cartellaDati, riprova);
    // Every file the restore writes or removes is protected at once: one list of them on
    // the disk.
    QStringList percorsi;
    for (const FileLetto& f : copia.valore)
        percorsi << file(f.estensione);
    percorsi << file(ExtChi);
    if (!modifica.proteggi(percorsi)) return modifica.fallita(nonEseguito);
    for (const FileLetto& f : copia.valore)
        if (!modifica.ripristina(file(f.estensione), f.contenuto))
            return modifica.fallita(nonEseguito);
    if (!modifica.rimuovi(file(ExtChi)) || !modifica.concludi())
        return modifica.fallita(nonEseguito);
    if (contoAttivoAperto()) AnnunciContoAperto::movimenti();
    return Esito::fatto();
}

} // namespace qv
