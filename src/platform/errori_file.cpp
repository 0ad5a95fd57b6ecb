#include "errori_file.h"

#include "message_box.h"

#include <QDir>

#include <cerrno>

namespace qv {

namespace {

struct ErrorEntry {
    qint32 number;
    const char16_t* text;
    MessageButtons buttons;
};

const ErrorEntry* entryFor(qint32 number) {
    static const ErrorEntry table[] = {
        {52, u"Nome o numero di file non valido", MessageButtons::Ok},
        {53, u"Il file non esiste.", MessageButtons::Ok},
        {54, u"Modalità di file non valida.", MessageButtons::AbortRetryIgnore},
        {55, u"File già aperto.", MessageButtons::Ok},
        {57, u"Errore di I/O di periferica", MessageButtons::RetryCancel},
        {61, u"Disco pieno. Continuare?", MessageButtons::AbortRetryIgnore},
        {62,
         u"Input oltre la fine del file; è stata "
         u"raggiunta la fine del file e non si "
         u"può continuare con la lettura.",
         MessageButtons::Ok},
        {64, u"Nome o numero di file non valido", MessageButtons::Ok},
        {68, u"Periferica non disponibile.", MessageButtons::RetryCancel},
        {71, u"Disco non pronto. Inserire un dischetto", MessageButtons::RetryCancel},
        {76, u"Il percorso non esiste", MessageButtons::Ok},
        // A file or folder the user may not read or write (its permissions, a disk
        // mounted read-only): Retry after putting it right.
        {kErroreAccessoNegato,
         u"Accesso negato: il file o la cartella non si può leggere o "
         u"scrivere.",
         MessageButtons::RetryCancel},
    };
    for (const ErrorEntry& e : table)
        if (e.number == number) return &e;
    return nullptr;
}

} // namespace

QString testoErroreFile(qint32 numeroErrore, const QString& file) {
    const ErrorEntry* e = entryFor(numeroErrore);
    if (!e) return QString();
    QString testo = QString::fromUtf16(e->text);
    // A denied access names what was denied: the user has to put that file right.
    if (numeroErrore == kErroreAccessoNegato && !file.isEmpty())
        testo += u'\n' + QDir::toNativeSeparators(file);
    return testo;
}

qint16 ErroriFile(qint32 numeroErrore, const QString& file) {
    const ErrorEntry* e = entryFor(numeroErrore);
    if (!e) return 3;
    switch (messageBox(testoErroreFile(numeroErrore, file), e->buttons, MessageIcon::Exclamation,
                       QStringLiteral("Errore Disco"))) {
    case MessageAnswer::Retry:
        return 0;
    case MessageAnswer::Ignore:
        return 1;
    case MessageAnswer::Ok:
    case MessageAnswer::Cancel:
    case MessageAnswer::Abort:
        return 2;
    default:
        return 3;
    }
}

qint32 numeroErroreFile(int osErrno, bool isPath) {
    switch (osErrno) {
    case ENOENT:
        return isPath ? 76 : 53;
    case ENOTDIR:
        return 76;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return 61;
    case EIO:
        return 57;
    case ENXIO:
    case ENODEV:
        return 68;
    case EBUSY:
    case ETXTBSY:
        return 55;
    case EINVAL:
    case ENAMETOOLONG:
        return 52;
    case EACCES:
    case EPERM:
    case EROFS:
        return kErroreAccessoNegato;
    default:
        return 57;
    }
}

qint32 numeroErroreFile(QFileDevice::FileError error) {
    switch (error) {
    case QFileDevice::NoError:
        return 0;
    case QFileDevice::OpenError:
        return 53;
    case QFileDevice::ResourceError: // Qt's report of a full disk
    case QFileDevice::ResizeError:
        return 61;
    case QFileDevice::PermissionsError:
    case QFileDevice::RemoveError:
    case QFileDevice::RenameError:
        return kErroreAccessoNegato;
    default:
        return 57;
    }
}

QString closingMessage(qint16 codice) {
    if (codice == 2) return QString::fromUtf16(kErroreIrrecuperabile);
    if (codice == 3) return QString::fromUtf16(kEroreNonRiconosciuto);
    return QString::fromUtf16(kErroreInterno);
}

} // namespace qv
