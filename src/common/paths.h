#pragma once
// The program's folders. The program folder is the per-user application data
// folder; the data folder comes from the settings, with the rules that make a
// folder stored by the Windows release usable here.

#include <QString>

namespace qv {

// "Quorvanta/" under the user's data folder ($XDG_DATA_HOME, else ~/.local/share),
// ending in "/".
QString defaultProgramFolder();

// The path with "\" turned into "/" and a final "/" added when missing; empty stays empty.
QString folderWithSlash(const QString& path);

// Whether the text holds a control character (a NUL, a line break, ...): no folder name
// the user could mean has one.
bool hasControlCharacter(const QString& text);

// The data folder to use for the stored setting: the stored folder when it is not
// empty and not "0" (backslashes become "/", a final "/" is added), else
// programFolder + "dati/". A Windows drive path ("C:\...") cannot exist here and
// falls back to the default as well, and so does a stored folder holding a control
// character (a damaged settings record).
QString dataFolderFromSetting(const QString& percorsoDati, const QString& programFolder);

} // namespace qv
