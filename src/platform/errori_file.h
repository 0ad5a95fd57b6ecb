#pragma once
// The file-error dialog "Errore Disco": turns the number of a failed file, drive
// or folder operation into a message and the user's answer into an action code.
// The numbers are the original's run-time error numbers; numeroErroreFile maps
// the errors of this system onto them.

#include <QFileDevice>
#include <QString>

namespace qv {

// The number of a denied access: a file or folder the user may not read or write
// (permissions, a read-only disk).
inline constexpr qint32 kErroreAccessoNegato = 75;

// Shows the message of error numeroErrore (exclamation icon, title "Errore
// Disco") and returns: 0 Retry, 1 Ignore, 2 OK, Cancel or Abort, 3 any other
// answer. A number the dialog does not know shows nothing and gives 3. `file` is
// the file or folder the failed operation was about: a denied access names it.
qint16 ErroriFile(qint32 numeroErrore, const QString& file = QString());

// The message ErroriFile shows for a number (and file); an empty text for a number
// it does not know.
QString testoErroreFile(qint32 numeroErrore, const QString& file = QString());

// The original's error number for an errno of a failed file operation. isPath
// tells that the name was a folder (or a folder along the path was missing), so
// that a missing name reads "Il percorso non esiste" rather than "Il file non
// esiste.". Permission errors and a read-only disk give kErroreAccessoNegato.
qint32 numeroErroreFile(int osErrno, bool isPath = false);
// The same for a Qt file error when no errno is at hand.
qint32 numeroErroreFile(QFileDevice::FileError error);

// The messages the callers end a failed operation with, by the code ErroriFile
// returned: 2 irrecoverable, 3 not recognised (the program's own spelling),
// anything else internal.
inline constexpr const char16_t* kErroreIrrecuperabile = u"Errore irrecuperabile";
inline constexpr const char16_t* kEroreNonRiconosciuto = u"Erore non riconosciuto";
inline constexpr const char16_t* kErroreInterno = u"Errore interno";
QString closingMessage(qint16 codice);

} // namespace qv
