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

Esito scriviGiroconto(const QString& cartella, const QString& codiceDestinazione,
                      const QString& codiceOrigine, const Movimento& pendente,
                      GirocontoScritto* scritto) {
    const QString codice = codiceDestinazione.trimmed();
    QString motivo;
    auto modifica = std::make_unique<Transaction>(cartella);
    const auto fallito = [&] {
        motivo += annullaModifica(*modifica);
        return Esito::fallito(motivo);
    };
    if (codice.isEmpty()) {
        motivo = QStringLiteral("nessun conto di destinazione");
        return fallito();
    }
    if (!importoUtilizzabile(pendente.importo)) {
        motivo = testoImportoNonMemorizzabile();
        return fallito();
    }
    const QString mov = accountFile(cartella, codice, ExtMOV);
    const QString mor = accountFile(cartella, codice, ExtMOR);
    const QString tot = accountFile(cartella, codice, ExtTOT);
    // The other account's count judged with its movements: a damaged one would put the
    // transfer over its first movement. It is mended by opening that account.
    const EsameConteggio esame = esaminaConteggio(mor, mov, Movimento::Lunghezza);
    if (!esame.utilizzabile()) {
        motivo = descriviDanno(esame);
        if (esame.danneggiato())
            motivo += QStringLiteral(" Aprire il conto %1 per ricostruire il numero dei "
                                     "movimenti.")
                          .arg(codice);
        return fallito();
    }
    const int conteggio = esame.conteggio;
    if (conteggio >= LimiteMovimentiConto) {
        motivo = QStringLiteral("il conto %1 ha già il numero massimo di movimenti (%2)")
                     .arg(codice)
                     .arg(LimiteMovimentiConto);
        return fallito();
    }
    const qint16 numero = qint16(conteggio + 1);
    const Movimento entrata = movimentoGirocontoEntrata(pendente, codiceOrigine, numero);

    // From here on every failure puts the other account back as it was.
    if (!modifica->writeRecord(mov, Movimento::Lunghezza, numero, entrata.toBytes())) {
        motivo = QStringLiteral("impossibile scrivere il movimento nel file %1 (%2)")
                     .arg(QDir::toNativeSeparators(mov), modifica->error());
        return fallito();
    }
    if (!modifica->writeCount(mor, numero)) {
        motivo = QStringLiteral("impossibile scrivere il numero dei movimenti nel file %1 (%2)")
                     .arg(QDir::toNativeSeparators(mor), modifica->error());
        return fallito();
    }
    const EsitoCon<TotaliConto> totali = totaliDaiFile(cartella, codice);
    if (!totali.ok() ||
        !modifica->writeRecord(tot, TotaliConto::Lunghezza, 1, totali.valore.toBytes())) {
        const QString causa = totali.ok() ? modifica->error() : totali.esito.testo;
        motivo =
            QStringLiteral("impossibile aggiornare i saldi del conto %1 (%2)").arg(codice, causa);
        return fallito();
    }

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
