#pragma once
// Qt's own texts in Italian: the buttons of the questions ("Annulla"), the headings over
// the folder trees, the print, page and colour dialogs.

namespace qv {

// Loads Qt's Italian translation (qtbase_it, from Qt's translations folder) into the
// application, whatever the machine's locale: the program speaks Italian everywhere, as
// it formats numbers the Italian way everywhere. Returns false when the translation is
// not installed (Debian package qt6-translations-l10n); Qt's texts then stay English.
// Calling it again does nothing more.
bool installItalianTranslation();

} // namespace qv
