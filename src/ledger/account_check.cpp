#include "ledger/account_check.h"

#include "common/disk_sync.h"
#include "common/file_errors.h"
#include "common/file_names.h"
#include "common/records.h"
#include "common/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace qv {

namespace {

EsameConteggio esamina(const QString& cartella, const QString& codice, QLatin1String contatore,
                       QLatin1String archivio, int lunghezza) {
    return esaminaConteggio(accountFile(cartella, codice, contatore),
                            accountFile(cartella, codice, archivio), lunghezza);
}

} // namespace

std::vector<ConteggioDanneggiato> EsameFileConto::danni() const {
    std::vector<ConteggioDanneggiato> elenco;
    if (movimenti.danneggiato()) elenco.push_back({movimenti, QStringLiteral("movimenti")});
    if (carnet.danneggiato()) elenco.push_back({carnet, QStringLiteral("carnet")});
    if (fogli.danneggiato()) elenco.push_back({fogli, QStringLiteral("assegni")});
    return elenco;
}

bool EsameFileConto::illeggibile() const {
    return codiceNonValido || !riporto.isEmpty() ||
           movimenti.stato == StatoConteggio::RecordIlleggibili ||
           carnet.stato == StatoConteggio::RecordIlleggibili ||
           fogli.stato == StatoConteggio::RecordIlleggibili;
}

QString EsameFileConto::testoIlleggibili() const {
    if (codiceNonValido) return testoCodiceSenzaFile(codice);
    QStringList righe;
    for (const EsameConteggio* e : {&movimenti, &carnet, &fogli})
        if (e->stato == StatoConteggio::RecordIlleggibili) righe << descriviDanno(*e);
    if (!riporto.isEmpty())
        righe << QStringLiteral("Il file %1 non può essere letto: %2.")
                     .arg(QDir::toNativeSeparators(riporto), motivoRiporto);
    return righe.join(u'\n');
}

QStringList EsameFileConto::avvisiEccessivi() const {
    QStringList righe;
    if (movimenti.stato == StatoConteggio::Eccessivo)
        righe << testoConteggioEccessivo(movimenti, QStringLiteral("movimenti"));
    if (carnet.stato == StatoConteggio::Eccessivo)
        righe << testoConteggioEccessivo(carnet, QStringLiteral("carnet"));
    if (fogli.stato == StatoConteggio::Eccessivo)
        righe << testoConteggioEccessivo(fogli, QStringLiteral("assegni"));
    return righe;
}

EsameFileConto esaminaFileConto(const QString& cartella, const QString& codice) {
    EsameFileConto e;
    e.codice = codice.trimmed();
    if (!accountCodeNamesFile(e.codice)) {
        e.codiceNonValido = true;
        return e;
    }
    e.movimenti = esamina(cartella, e.codice, ExtMOR, ExtMOV, Movimento::Lunghezza);
    e.carnet = esamina(cartella, e.codice, ExtNRC, ExtCAR, CarnetAssegni::Lunghezza);
    e.fogli = esamina(cartella, e.codice, ExtNRF, ExtFOG, FoglioAssegno::Lunghezza);
    const QString rip = accountFile(cartella, e.codice, ExtRIP);
    const QFileInfo info(rip);
    if (info.exists()) {
        QFile file(rip);
        noteFileRead(rip);
        errno = 0;
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            e.riporto = rip;
            e.motivoRiporto = info.isDir() ? motivoErroreFile(EISDIR)
                                           : motivoErroreFile(errno, file.errorString());
        }
    }
    return e;
}

QString domandaRicostruzioneConto(const EsameFileConto& esame) {
    return domandaRicostruzione(esame.danni(), QStringLiteral("il conto %1").arg(esame.codice));
}

Esito ricostruisciConteggiConto(const EsameFileConto& esame) {
    for (const ConteggioDanneggiato& d : esame.danni())
        if (Esito e = ricostruisciConteggio(d.esame); !e.ok()) return e;
    return Esito::fatto();
}

QStringList rimuoviTemporaneiConto(const QString& cartella, const QString& codice) {
    const QString base = codice.trimmed();
    if (!accountCodeNamesFile(base)) return {};
    QStringList nomi;
    for (QLatin1String ext : EstensioniConto)
        nomi << base + ext;
    return removeRewriteTemporaries(cartella, nomi);
}

QString testoCodiceSenzaFile(const QString& codice) {
    QString mostrato;
    for (const QChar c : codice)
        mostrato += c.category() == QChar::Other_Control ? QChar(u'?') : c;
    return QStringLiteral("Il nr. di conto \"%1\" non può dare il nome ai file del conto (contiene "
                          "/, \\ o caratteri di controllo): il conto non può essere aperto.")
        .arg(mostrato);
}

QString testoContoNonUtilizzabile(const QString& codice, const QString& problemi) {
    return problemi + u'\n' +
           QStringLiteral("Il conto %1 non può essere usato finché i suoi file non sono "
                          "integri: è stato chiuso e nessun file è stato modificato.")
               .arg(codice.trimmed());
}

} // namespace qv
