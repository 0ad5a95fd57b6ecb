#pragma once
// Putting written data on the disk before the program goes on: a record before
// the count that makes it visible, a file's new content before the folder entry
// that names it. Without these a power loss could leave a count naming a record
// that never reached the disk.

#include <QString>
#include <QtGlobal>

#include <functional>

class QFileDevice;

namespace qv {

// Flushes the open file's buffers to the disk (fdatasync). False when the system
// refuses; the reason goes to `error`.
bool syncOpenFile(QFileDevice& file, QString* error = nullptr);

// The same for a file open at the system's descriptor `fd`.
bool syncFileDescriptor(int fd, QString* error = nullptr);

// Opens the file at `path` and syncs it. A missing file is an error.
bool syncFile(const QString& path, QString* error = nullptr);

// Syncs a folder, so that files created, renamed or removed in it stay so after a
// power loss.
bool syncFolder(const QString& folder, QString* error = nullptr);

// How many times a file or a folder has been synced so far (the tests' way of seeing that
// a change waits for the disk no more than it needs).
quint64 diskSyncCount();

// The moments at which the record files and the safe rewrite have put data on the
// disk: a record file's write synced, a safe rewrite's new content complete but not
// yet in place, a safe rewrite's file replaced (renamed and its folder synced). An
// observer set here is called at each of them; the tests use it to stop a program at
// a chosen moment, as a crash or a power loss would.
enum class DiskPoint { FileSynced, BeforeReplace, Replaced };
using DiskObserver = std::function<void(DiskPoint point, const QString& path)>;
// Sets the observer (an empty one removes it).
void setDiskObserver(DiskObserver observer);
// Tells the observer, when there is one, that `path` reached `point`.
void reachDiskPoint(DiskPoint point, const QString& path);

// How many times the program's file layer has changed a file in `folder` so far: a record
// written, a file rewritten, removed or renamed (attempts that failed count too). What
// the program keeps of a folder's files in memory notes this number, and knows that it
// wrote nothing there since while the number stays the same.
quint64 fileWriteCount(const QString& folder);
// Called by the file layer before each such change of the file at `path`.
void noteFileWrite(const QString& path);

// The tests' way of seeing which files an operation reads: the observer is called with
// the path each time a record file is opened for reading (an empty one removes it).
using ReadObserver = std::function<void(const QString& path)>;
void setReadObserver(ReadObserver observer);
// Tells the read observer, when there is one, that `path` is being read.
void noteFileRead(const QString& path);

} // namespace qv
