#pragma once
// Why a file operation failed, in the program's words: the system's error number
// turned into an Italian reason. The reason never names the file: the message that
// shows it names the file once.

#include <QString>

namespace qv {

// The reason for the system error `osErrno` (errno). An error number without words of
// its own gives `altrimenti` (the text Qt gave), or a generic reason when that is empty
// or says nothing ("Unknown error").
QString motivoErroreFile(int osErrno, const QString& altrimenti = QString());

// The reason of a write that put fewer bytes on the disk than it was given: the error
// number when there is one, else a full disk (the only cause of a short write to a
// regular file without one).
QString motivoScritturaIncompleta(int osErrno);

} // namespace qv
