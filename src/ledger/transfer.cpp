#include "ledger/transfer.h"

#include "common/amounts.h"
#include "common/count_file.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/today.h"
#include "common/transaction.h"
#include "ledger/balances.h"
#include "ledger/movement_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qv {

namespace {

QString unisci(const QString& prefisso, const QString& codice, const QString& descrizione) {
    return (prefisso + codice.trimmed() + QLatin1Char(' ') + descrizione.trimmed()).left(30);
}

} // namespace

QString descrizioneGirocontoEntrata(const QString& codiceOrigine, const QString& descrizione) {
    return unisci(QStringLiteral("da: "), codiceOrigine, descrizione);
}

QString descrizioneGirocontoUscita(const QString& codiceDestinazione, const QString& descrizione) {
    return unisci(QStringLiteral("> "), codiceDestinazione, descrizione);
}

Movimento movimentoGirocontoEntrata(const Movimento& pendente, const QString& codiceOrigine,
                                    qint16 numero) {
    Movimento m = pendente;
    m.descrizione = descrizioneGirocontoEntrata(codiceOrigine, pendente.descrizione);
    m.entrataUscita = QStringLiteral("E");
    // Stored as every new movement is: flags only "S"/"N" and "E"/"U", not cancelled.
    return movimentoDaSalvare(m, numero);
}

EsitoCon<TotaliConto> totaliDaiFile(const QString& cartella, const QString& codice) {
    const auto file = [&](QLatin1String ext) { return accountFile(cartella, codice, ext); };
    QString motivo;
    const auto letturaFallita = [&](QLatin1String ext) {
        return Esito::fallito(QStringLiteral("impossibile leggere il file %1: %2")
                                  .arg(QDir::toNativeSeparators(file(ext)), motivo));
    };
    const EsameConteggio esame = esaminaConteggio(file(ExtMOR), file(ExtMOV), Movimento::Lunghezza);
    if (!esame.utilizzabile()) return Esito::fallito(descriviDanno(esame));
    const std::vector<Movimento> movimenti =
        leggiRecords<Movimento>(esame.fileRecord, esame.conteggio, &motivo);
    if (!motivo.isEmpty()) return letturaFallita(ExtMOV);
    const Riporto riporto = leggiRecord<Riporto>(file(ExtRIP), 1, &motivo);
    if (!motivo.isEmpty()) return letturaFallita(ExtRIP);
    const TotaliConto precedente = leggiRecord<TotaliConto>(file(ExtTOT), 1, &motivo);
    if (!motivo.isEmpty()) return letturaFallita(ExtTOT);
    return {Esito::fatto(), calcolaTotali(movimenti, riporto, DataOggi(), precedente)};
}

namespace {

// Why the movement cannot go to account `codice` at all ("" when it can).
QString motivoGirocontoImpossibile(const QString& codice, const Movimento& pendente) {
    if (codice.isEmpty()) return QStringLiteral("nessun conto di destinazione");
    if (!importoUtilizzabile(pendente.importo)) return testoImportoNonMemorizzabile();
    return {};
}

// The number of movements of account `codice` into `conteggio`; why it cannot take one
// more ("" when it can). The count is judged with the movements: a damaged one would put
// the transfer over its first movement. It is mended by opening that account.
QString contaMovimentiDestinazione(const QString& cartella, const QString& codice, int* conteggio) {
    const EsameConteggio esame =
        esaminaConteggio(accountFile(cartella, codice, ExtMOR),
                         accountFile(cartella, codice, ExtMOV), Movimento::Lunghezza);
    if (!esame.utilizzabile()) {
        QString motivo = descriviDanno(esame);
        if (esame.danneggiato())
            motivo += QStringLiteral(" Aprire il conto %1 per ricostruire il numero dei "
                                     "movimenti.")
                          .arg(codice);
        return motivo;
    }
    *conteggio = esame.conteggio;
    if (*conteggio >= LimiteMovimentiConto)
        return QStringLiteral("il conto %1 ha già il numero massimo di movimenti (%2)")
            .arg(codice)
            .arg(LimiteMovimentiConto);
    return {};
}

// Writes `entrata` as movement `numero` of account `codice`, its count and its balances;
// why it could not ("" when it did).
QString scriviEntrata(Transaction& modifica, const QString& cartella, const QString& codice,
                      qint16 numero, const Movimento& entrata) {
    const QString mov = accountFile(cartella, codice, ExtMOV);
    const QString mor = accountFile(cartella, codice, ExtMOR);
    const QString tot = accountFile(cartella, codice, ExtTOT);
    if (!modifica.writeRecord(mov, Movimento::Lunghezza, numero, entrata.toBytes()))
        return QStringLiteral("impossibile scrivere il movimento nel file %1 (%2)")
            .arg(QDir::toNativeSeparators(mov), modifica.error());
    if (!modifica.writeCount(mor, numero))
        return QStringLiteral("impossibile scrivere il numero dei movimenti nel file %1 (%2)")
            .arg(QDir::toNativeSeparators(mor), modifica.error());
    const EsitoCon<TotaliConto> totali = totaliDaiFile(cartella, codice);
    if (!totali.ok() ||
        !modifica.writeRecord(tot, TotaliConto::Lunghezza, 1, totali.valore.toBytes())) {
        const QString causa = totali.ok() ? modifica.error() : totali.esito.testo;
        return QStringLiteral("impossibile aggiornare i saldi del conto %1 (%2)")
            .arg(codice, causa);
    }
    return {};
}

} // namespace

Esito scriviGiroconto(const QString& cartella, const QString& codiceDestinazione,
                      const QString& codiceOrigine, const Movimento& pendente,
                      GirocontoScritto* scritto) {
    const QString codice = codiceDestinazione.trimmed();
    auto modifica = std::make_unique<Transaction>(cartella);
    const auto fallito = [&](const QString& motivo) {
        return Esito::fallito(motivo + annullaModifica(*modifica));
    };
    if (QString motivo = motivoGirocontoImpossibile(codice, pendente); !motivo.isEmpty())
        return fallito(motivo);
    int conteggio = 0;
    if (QString motivo = contaMovimentiDestinazione(cartella, codice, &conteggio);
        !motivo.isEmpty())
        return fallito(motivo);
    const qint16 numero = qint16(conteggio + 1);
    const Movimento entrata = movimentoGirocontoEntrata(pendente, codiceOrigine, numero);

    // From here on every failure puts the other account back as it was.
    if (QString motivo = scriviEntrata(*modifica, cartella, codice, numero, entrata);
        !motivo.isEmpty())
        return fallito(motivo);

    if (scritto) {
        scritto->cartella = cartella;
        scritto->codiceDestinazione = codice;
        scritto->numero = numero;
        scritto->entrata = entrata;
        scritto->modifica = std::move(modifica);
    } else if (!modifica->commit()) {
        return Esito::fallito(modifica->message() +
                              testoFileNonRipristinati(modifica->leftChanged()));
    }
    return Esito::fatto();
}

Esito annullaGiroconto(GirocontoScritto& scritto) {
    if (!scritto.modifica) return Esito::fatto();
    const QString rimasti = annullaModifica(*scritto.modifica);
    scritto.modifica.reset();
    return rimasti.isEmpty() ? Esito::fatto() : Esito::fallito(rimasti);
}

QString messaggioStessoConto() {
    return QStringLiteral("il conto selezionato è lo stesso conto attualmente aperto");
}

QString messaggioGirocontoNonRiuscito(const QString& motivo) {
    return QStringLiteral("Il giroconto non è stato eseguito:\n%1").arg(motivo);
}

} // namespace qv
