#pragma once
// What the program takes from the desktop: the beep, the hourglass pointer, the
// calculator, the colour choice, the help viewer and the printer setup. Every
// dialog here has a hook, so that tests answer it instead of a person.

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPrinter;
class QTextBrowser;
class QWidget;

namespace qv {

void beep();
// Replaces the sound (tests count beeps); an empty function restores it.
void setBeepHook(std::function<void()> hook);

// The hourglass pointer for the lifetime of the object, restored however the
// scope ends.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    quint64 generation_;
};
// Shows or takes away the hourglass, as the original's mouse pointer setting
// did: setHourglass(false) gives the normal pointer back at once, whatever
// Hourglass objects are still alive.
void setHourglass(bool on);
bool hourglassShown();

// Starts the first desktop calculator found (gnome-calculator, kcalc,
// galculator, xcalc) without waiting for it; when none can be started, tells the
// user. Returns whether one was started.
bool launchCalculator();
// Replaces the starting of programs (tests): gets the program's path, returns
// whether it started. An empty function restores the real start.
void setProgramStarter(std::function<bool(const QString& program)> starter);
// Where the calculators are looked for; empty (the default) means the PATH.
void setProgramSearchPaths(const QStringList& paths);
QString calculatorMissingMessage();

// The colour dialog opened on `initial`; nullopt when the user cancels.
std::optional<QColor> chooseColor(const QColor& initial, QWidget* parent = nullptr);
using ColorChooser = std::function<std::optional<QColor>(const QColor& initial)>;
void setColorChooser(ColorChooser chooser);

// Shows the help document in the help window (one for the program): `source` is
// a resource or file path (":/help/guida.html", "/path/file.html") or HTML text.
void showHelpDocument(const QString& source);
// The help window, nullptr until shown.
QTextBrowser* helpViewer();

// The printer setup dialog on `printer` (printer, paper, orientation); returns
// true when the user confirmed, false when cancelled (the printer is then left
// as it was).
bool printSetup(QPrinter& printer, QWidget* parent = nullptr);
void setPrintSetupHook(std::function<bool(QPrinter&)> hook);

// Clears every hook of this file (tests).
void resetDesktopHooks();

} // namespace qv
