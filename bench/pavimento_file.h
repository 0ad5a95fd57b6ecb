#pragma once
// The floor of the operations that write many files: the same bytes read and written
// into new files, each file synced to the disk once (as a file that must survive a
// crash has to be, however it is written), nothing else.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

namespace qv::bench {

// Copies every file of `sorgente` into `destinazione` (made when missing), one write
// and one fsync per file. The bytes copied, or -1 on a failure.
inline qint64 copiaConUnaSincronizzazionePerFile(const QString& sorgente,
                                                 const QString& destinazione) {
    QDir().mkpath(destinazione);
    qint64 totale = 0;
    const QDir dir(sorgente);
    for (const QString& nome : dir.entryList(QDir::Files, QDir::Name)) {
        QFile in(dir.filePath(nome));
        if (!in.open(QIODevice::ReadOnly)) return -1;
        const QByteArray bytes = in.readAll();
        const QByteArray percorso = QFile::encodeName(QDir(destinazione).filePath(nome));
        const int fd = ::open(percorso.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return -1;
        const bool scritto = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        const bool sincronizzato = ::fsync(fd) == 0;
        ::close(fd);
        if (!scritto || !sincronizzato) return -1;
        totale += bytes.size();
    }
    return totale;
}

} // namespace qv::bench
