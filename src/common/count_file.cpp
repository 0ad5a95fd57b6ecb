#include "common/count_file.h"

#include "common/disk_sync.h"
#include "common/file_errors.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace qv {

namespace {

QString nativo(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Whole records of a file that can be read; false, with the reason, for one that
// exists and cannot.
bool misuraRecord(const QString& path, int lunghezza, int* record, QString* motivo) {
    *record = 0;
    const QFileInfo info(path);
    if (!info.exists()) return true;
    QFile file(path);
    noteFileRead(path);
    errno = 0;
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        *motivo =
            info.isDir() ? motivoErroreFile(EISDIR) : motivoErroreFile(errno, file.errorString());
        return false;
    }
    *record = int(qMin<qint64>(info.size() / lunghezza, std::numeric_limits<int>::max()));
    return true;
}

} // namespace

bool EsameConteggio::danneggiato() const {
    return stato == StatoConteggio::Mancante || stato == StatoConteggio::Illeggibile ||
           stato == StatoConteggio::Incompleto || stato == StatoConteggio::Negativo;
}

bool EsameConteggio::utilizzabile() const {
    return stato == StatoConteggio::Valido || stato == StatoConteggio::Eccessivo;
}

EsameConteggio esaminaConteggio(const QString& fileConteggio, const QString& fileRecord,
                                int lunghezzaRecord) {
    EsameConteggio e;
    e.fileConteggio = resolvePath(fileConteggio);
    e.fileRecord = resolvePath(fileRecord);
    e.lunghezzaRecord = lunghezzaRecord > 0 ? lunghezzaRecord : 1;
    if (!misuraRecord(e.fileRecord, e.lunghezzaRecord, &e.record, &e.motivo)) {
        e.stato = StatoConteggio::RecordIlleggibili;
        return e;
    }

    // The count as the file holds it.
    const QFileInfo info(e.fileConteggio);
    if (!info.exists()) {
        e.stato = StatoConteggio::Mancante;
    } else {
        QFile file(e.fileConteggio);
        noteFileRead(e.fileConteggio);
        errno = 0;
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            e.stato = StatoConteggio::Illeggibile;
            e.motivo = info.isDir() ? motivoErroreFile(EISDIR)
                                    : motivoErroreFile(errno, file.errorString());
        } else {
            const QByteArray bytes = file.read(Contatore::Lunghezza);
            if (file.error() != QFileDevice::NoError) {
                e.stato = StatoConteggio::Illeggibile;
                e.motivo = motivoErroreFile(errno, file.errorString());
            } else if (bytes.size() < Contatore::Lunghezza) {
                e.stato = StatoConteggio::Incompleto;
            } else {
                e.suDisco = Contatore::fromBytes(bytes).valore;
                e.stato = e.suDisco < 0 ? StatoConteggio::Negativo : StatoConteggio::Valido;
            }
        }
    }

    if (e.stato != StatoConteggio::Valido) {
        // Without records there is nothing a write could land on: the pair is empty.
        if (e.record == 0) {
            e.stato = StatoConteggio::Valido;
            e.motivo.clear();
        }
        e.conteggio = 0;
        return e;
    }
    if (e.suDisco > e.record) {
        e.stato = StatoConteggio::Eccessivo;
        e.conteggio = e.record;
    } else {
        e.conteggio = e.suDisco;
    }
    return e;
}

QString descriviDanno(const EsameConteggio& e) {
    switch (e.stato) {
    case StatoConteggio::Valido:
    case StatoConteggio::Eccessivo:
        return {};
    case StatoConteggio::Mancante:
        return QStringLiteral("Il file %1 manca.").arg(nativo(e.fileConteggio));
    case StatoConteggio::Illeggibile:
        return QStringLiteral("Il file %1 non può essere letto: %2.")
            .arg(nativo(e.fileConteggio), e.motivo);
    case StatoConteggio::Incompleto:
        return QStringLiteral("Il file %1 è incompleto.").arg(nativo(e.fileConteggio));
    case StatoConteggio::Negativo:
        return QStringLiteral("Il file %1 contiene un numero negativo (%2).")
            .arg(nativo(e.fileConteggio))
            .arg(e.suDisco);
    case StatoConteggio::RecordIlleggibili:
        return QStringLiteral("Il file %1 non può essere letto: %2.")
            .arg(nativo(e.fileRecord), e.motivo);
    }
    return {};
}

QString testoConteggioEccessivo(const EsameConteggio& e, const QString& cosa) {
    return QStringLiteral("Il numero di %1 indicato dal file %2 (%3) è maggiore di quelli presenti "
                          "nel file %4 (%5): vengono usati soltanto quelli presenti. Il numero "
                          "sarà corretto al prossimo salvataggio.")
        .arg(cosa, nativo(e.fileConteggio))
        .arg(e.suDisco)
        .arg(nativo(e.fileRecord))
        .arg(e.record);
}

QString nomeCopiaDanneggiata(const QString& fileConteggio) {
    const QString base = fileConteggio + QStringLiteral(".danneggiato");
    QString nome = base;
    for (int n = 2; QFileInfo::exists(nome) || QFileInfo(nome).isSymLink(); ++n)
        nome = base + QString::number(n);
    return nome;
}

Esito ricostruisciConteggio(const EsameConteggio& e, QString* copia) {
    const auto fallito = [](const QString& motivo) { return Esito::fallito(motivo); };
    if (copia) copia->clear();
    if (e.stato == StatoConteggio::RecordIlleggibili) return fallito(descriviDanno(e));
    // Renamed, not copied: the damaged file keeps its bytes exactly, even when they
    // cannot be read.
    QString conservato;
    if (QFileInfo::exists(e.fileConteggio)) {
        conservato = nomeCopiaDanneggiata(e.fileConteggio);
        noteFileWrite(e.fileConteggio);
        if (!QDir().rename(e.fileConteggio, conservato))
            return fallito(QStringLiteral("Impossibile rinominare il file %1 in %2.")
                               .arg(nativo(e.fileConteggio), nativo(conservato)));
    }
    RecordFile file(e.fileConteggio, Contatore::Lunghezza);
    // Counts are 16-bit: a file of more records than that keeps the rest past the count.
    const qint16 nuovo = qint16(std::min(e.record, 32767));
    if (!file.write(1, Contatore{nuovo}.toBytes())) {
        const QString motivo = QStringLiteral("Impossibile scrivere il file %1: %2.")
                                   .arg(nativo(e.fileConteggio), file.errorString());
        QFile::remove(e.fileConteggio);
        if (!conservato.isEmpty()) QDir().rename(conservato, e.fileConteggio);
        return fallito(motivo);
    }
    QString ignorato;
    syncFolder(QFileInfo(e.fileConteggio).absolutePath(), &ignorato);
    if (copia) *copia = conservato;
    return Esito::fatto();
}

QString domandaRicostruzione(const std::vector<ConteggioDanneggiato>& danni,
                             const QString& oggetto) {
    QStringList righe;
    for (const ConteggioDanneggiato& d : danni)
        righe << descriviDanno(d.esame) + u' ' +
                     QStringLiteral("Numero di %1 presenti nel file %2: %3.")
                         .arg(d.cosa, nativo(d.esame.fileRecord))
                         .arg(d.esame.record);
    righe << QString()
          << QStringLiteral("Ricostruire il numero da quanto contengono i file? Un file "
                            "danneggiato viene conservato accanto all'originale, con il nome "
                            "seguito da \".danneggiato\".")
          << QString() << QStringLiteral("Sì: ricostruisce il numero e apre %1.").arg(oggetto)
          << QStringLiteral("No: %1 non viene aperto e nulla viene modificato.").arg(oggetto);
    return righe.join(u'\n');
}

} // namespace qv
