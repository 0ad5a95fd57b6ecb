#pragma once
// Qt's own texts (the buttons of message boxes and dialogs: "Riprova", "Annulla")
// in Italian, whatever the machine's language, from the translations Qt ships.

class QTranslator;

namespace qv {

// Installs Qt's Italian translations in the running application, which owns them;
// nullptr when they are not installed on the machine (Qt's English texts stay then).
QTranslator* installItalianQtTexts();

} // namespace qv
