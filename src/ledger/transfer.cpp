#include "ledger/transfer.h"

#include "common/amounts.h"
#include "common/count_file.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/today.h"
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

// The file's content as it is now, or the reason it cannot be read.
bool copia(const QString& percorso, CopiaFile* copia, QString* errore) {
    copia->percorso = percorso;
    const QFileInfo info(percorso);
    copia->esisteva = info.exists();
    if (!copia->esisteva) return true;
    QFile file(percorso);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        *errore = QStringLiteral("impossibile leggere il file %1").arg(percorso);
        return false;
    }
    copia->contenuto = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *errore = QStringLiteral("impossibile leggere il file %1").arg(percorso);
        return false;
    }
    return true;
}

bool ripristina(const CopiaFile& copia, QString* errore) {
    if (copia.esisteva) return rewriteFile(copia.percorso, copia.contenuto, errore);
    if (!QFileInfo::exists(copia.percorso) || QFile::remove(copia.percorso)) return true;
    *errore = QStringLiteral("impossibile eliminare il file %1").arg(copia.percorso);
    return false;
}

bool ripristinaTutto(const std::vector<CopiaFile>& copie, QString* errore) {
    bool tutto = true;
    QStringList motivi;
    // Backwards: the count goes back before the movements, so that an account only
    // half put back never counts a movement it no longer holds.
    for (auto it = copie.rbegin(); it != copie.rend(); ++it) {
        QString motivo;
        if (!ripristina(*it, &motivo)) {
            tutto = false;
            motivi << motivo;
        }
    }
    if (errore) *errore = motivi.join(QLatin1Char('\n'));
    return tutto;
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

bool ricalcolaTotaliConto(const QString& cartella, const QString& codice, QString* errore) {
    const auto file = [&](QLatin1String ext) { return accountFile(cartella, codice, ext); };
    QString motivo;
    const auto fallito = [&] {
        if (errore) *errore = motivo;
        return false;
    };
    const auto letturaFallita = [&](QLatin1String ext) {
        motivo = QStringLiteral("impossibile leggere il file %1: %2")
                     .arg(QDir::toNativeSeparators(file(ext)), motivo);
        return fallito();
    };
    const EsameConteggio esame = esaminaConteggio(file(ExtMOR), file(ExtMOV), Movimento::Lunghezza);
    if (!esame.utilizzabile()) {
        motivo = descriviDanno(esame);
        return fallito();
    }
    const std::vector<Movimento> movimenti =
        leggiRecords<Movimento>(esame.fileRecord, esame.conteggio, &motivo);
    if (!motivo.isEmpty()) return letturaFallita(ExtMOV);
    const Riporto riporto = leggiRecord<Riporto>(file(ExtRIP), 1, &motivo);
    if (!motivo.isEmpty()) return letturaFallita(ExtRIP);
    const TotaliConto precedente = leggiRecord<TotaliConto>(file(ExtTOT), 1, &motivo);
    if (!motivo.isEmpty()) return letturaFallita(ExtTOT);
    const TotaliConto totali = calcolaTotali(movimenti, riporto, DataOggi(), precedente);
    if (!scriviRecord(file(ExtTOT), 1, totali, &motivo)) {
        motivo = testoErroreScrittura(file(ExtTOT), motivo);
        return fallito();
    }
    if (errore) errore->clear();
    return true;
}

bool scriviGiroconto(const QString& cartella, const QString& codiceDestinazione,
                     const QString& codiceOrigine, const Movimento& pendente,
                     GirocontoScritto* scritto, QString* errore) {
    const QString codice = codiceDestinazione.trimmed();
    QString motivo;
    std::vector<CopiaFile> copie;
    const auto fallito = [&] {
        QString nonRipristinato;
        if (!copie.empty() && !ripristinaTutto(copie, &nonRipristinato))
            motivo += QStringLiteral("\nAttenzione: impossibile ripristinare i file del conto "
                                     "%1:\n%2")
                          .arg(codice, nonRipristinato);
        if (errore) *errore = motivo;
        return false;
    };
    if (codice.isEmpty()) {
        motivo = QStringLiteral("nessun conto di destinazione");
        return fallito();
    }

    const QString mov = accountFile(cartella, codice, ExtMOV);
    const QString mor = accountFile(cartella, codice, ExtMOR);
    const QString tot = accountFile(cartella, codice, ExtTOT);
    std::vector<CopiaFile> prima(3);
    if (!copia(mov, &prima[0], &motivo) || !copia(mor, &prima[1], &motivo) ||
        !copia(tot, &prima[2], &motivo))
        return fallito();

    if (!importoUtilizzabile(pendente.importo)) {
        motivo = testoImportoNonMemorizzabile();
        return fallito();
    }
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
    copie = std::move(prima);
    QString causa;
    if (!scriviRecord(mov, numero, entrata, &causa)) {
        motivo =
            QStringLiteral("impossibile scrivere il movimento nel file %1 (%2)").arg(mov, causa);
        return fallito();
    }
    if (!scriviContatore(mor, numero, &causa)) {
        motivo = QStringLiteral("impossibile scrivere il numero dei movimenti nel file %1 (%2)")
                     .arg(mor, causa);
        return fallito();
    }
    if (!ricalcolaTotaliConto(cartella, codice, &causa)) {
        motivo =
            QStringLiteral("impossibile aggiornare i saldi del conto %1 (%2)").arg(codice, causa);
        return fallito();
    }

    if (scritto) {
        scritto->cartella = cartella;
        scritto->codiceDestinazione = codice;
        scritto->numero = numero;
        scritto->entrata = entrata;
        scritto->copie = std::move(copie);
    }
    if (errore) errore->clear();
    return true;
}

bool annullaGiroconto(const GirocontoScritto& scritto, QString* errore) {
    return ripristinaTutto(scritto.copie, errore);
}

QString messaggioStessoConto() {
    return QStringLiteral("il conto selezionato è lo stesso conto attualmente aperto");
}

QString messaggioGirocontoNonRiuscito(const QString& motivo) {
    return QStringLiteral("Il giroconto non è stato eseguito:\n%1").arg(motivo);
}

} // namespace qv
