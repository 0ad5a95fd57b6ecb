#pragma once
// Putting written data on the disk before the program goes on: a record before
// the count that makes it visible, a file's new content before the folder entry
// that names it. Without these a power loss could leave a count naming a record
// that never reached the disk.

#include <QString>

#include <functional>

class QFileDevice;

namespace qv {

// Flushes the open file's buffers to the disk (fdatasync). False when the system
// refuses; the reason goes to `error`.
bool syncOpenFile(QFileDevice& file, QString* error = nullptr);

// Opens the file at `path` and syncs it. A missing file is an error.
bool syncFile(const QString& path, QString* error = nullptr);

// Syncs a folder, so that files created, renamed or removed in it stay so after a
// power loss.
bool syncFolder(const QString& folder, QString* error = nullptr);

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

} // namespace qv
