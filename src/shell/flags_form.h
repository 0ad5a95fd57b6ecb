#pragma once
// Forms side of the shell: the files it ships as resources (the fifteen currency flags,
// the help text on the causali, the program's help document and its "about" page).

#include <QPixmap>
#include <QString>

namespace qv {

// Registers the shell's resources (they live in a static library, so nothing
// else pulls them in). Safe to call more than once.
void initShellResources();

// The flag of the currency whose line (trimmed name, " - ", trimmed country, as
// every currency list shows it) is given: "Lira - Italia", "Fiorino - Olanada".
// A null pixmap for an empty or unknown line.
QPixmap bandieraValuta(const QString& lineaValuta);

// The number (1 to 15) of a currency line's flag picture, 0 when there is none:
// the position of the line among the fifteen lines in list order.
int numeroBandiera(const QString& lineaValuta);

// Resource paths of the shipped documents.
inline constexpr const char* HelpDocumentResource = ":/help/quorvanta.html";
inline constexpr const char* HelpTextResource = ":/Help01.txt";
inline constexpr const char* AboutPageResource = ":/about.html";

} // namespace qv
