#include "common/file_errors.h"

#include <cerrno>

namespace qv {

QString motivoErroreFile(int osErrno, const QString& altrimenti) {
    switch (osErrno) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("il disco è pieno");
    case EFBIG:
        return QStringLiteral("il file ha raggiunto la dimensione massima consentita");
    case EACCES:
    case EPERM:
        return QStringLiteral("accesso negato, il file o la cartella sono protetti");
    case EROFS:
        return QStringLiteral("il disco è protetto in scrittura");
    case ENOENT:
        return QStringLiteral("il file o la cartella non esiste");
    case ENOTDIR:
        return QStringLiteral("il percorso non esiste");
    case EISDIR:
        return QStringLiteral("al posto del file c'è una cartella con lo stesso nome");
    case EIO:
        return QStringLiteral("errore di I/O del disco");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case ENAMETOOLONG:
        return QStringLiteral("il nome del file è troppo lungo");
    default:
        break;
    }
    const QString qt = altrimenti.trimmed();
    if (qt.isEmpty() || qt.compare(QLatin1String("Unknown error"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("errore del disco");
    return qt;
}

QString motivoScritturaIncompleta(int osErrno) {
    return osErrno != 0 ? motivoErroreFile(osErrno) : motivoErroreFile(ENOSPC);
}

} // namespace qv
