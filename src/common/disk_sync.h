#pragma once
// Putting written data on the disk before the program goes on: a record before
// the count that makes it visible, a file's new content before the folder entry
// that names it. Without these a power loss could leave a count naming a record
// that never reached the disk.

#include <QString>

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

} // namespace qv
