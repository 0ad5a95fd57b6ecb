#include "desktop.h"

#include "message_box.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>

namespace qv {

namespace {

struct Hooks {
    std::function<void()> beep;
    std::function<bool(const QString&)> starter;
    QStringList searchPaths;
    ColorChooser colorChooser;
    std::function<bool(QPrinter&)> printSetup;
};

Hooks& hooks() {
    static Hooks h;
    return h;
}

// Override cursors this file has pushed, and a count that moves on each time
// setHourglass(false) takes them all away.
int hourglassDepth = 0;
bool hourglassFlag = false;
quint64 hourglassGeneration = 0;

void pushHourglass() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++hourglassDepth;
}

QPointer<QTextBrowser>& viewer() {
    static QPointer<QTextBrowser> v;
    return v;
}

} // namespace

void beep() {
    if (hooks().beep)
        hooks().beep();
    else
        QApplication::beep();
}

void setBeepHook(std::function<void()> hook) {
    hooks().beep = std::move(hook);
}

Hourglass::Hourglass() : generation_(hourglassGeneration) {
    pushHourglass();
}

Hourglass::~Hourglass() {
    if (generation_ != hourglassGeneration || hourglassDepth == 0)
        return; // already taken away by setHourglass(false)
    QApplication::restoreOverrideCursor();
    --hourglassDepth;
}

void setHourglass(bool on) {
    if (on) {
        if (!hourglassFlag) {
            pushHourglass();
            hourglassFlag = true;
        }
        return;
    }
    while (hourglassDepth > 0) {
        QApplication::restoreOverrideCursor();
        --hourglassDepth;
    }
    hourglassFlag = false;
    ++hourglassGeneration;
}

bool hourglassShown() {
    return hourglassDepth > 0;
}

QString calculatorMissingMessage() {
    return QStringLiteral("Calcolatrice non disponibile su questo sistema.\n"
                          "Installare uno di questi programmi: gnome-calculator, kcalc, "
                          "galculator, xcalc.");
}

void setProgramStarter(std::function<bool(const QString&)> starter) {
    hooks().starter = std::move(starter);
}

void setProgramSearchPaths(const QStringList& paths) {
    hooks().searchPaths = paths;
}

bool launchCalculator() {
    static const char* const candidates[] = {"gnome-calculator", "kcalc", "galculator", "xcalc"};
    for (const char* name : candidates) {
        const QString path =
            QStandardPaths::findExecutable(QLatin1String(name), hooks().searchPaths);
        if (path.isEmpty()) continue;
        const bool started =
            hooks().starter ? hooks().starter(path) : QProcess::startDetached(path, {});
        if (started) return true;
    }
    messageBox(calculatorMissingMessage(), MessageButtons::Ok, MessageIcon::Exclamation,
               QStringLiteral("Calcolatrice"));
    return false;
}

std::optional<QColor> chooseColor(const QColor& initial, QWidget* parent) {
    if (hooks().colorChooser) return hooks().colorChooser(initial);
    const QColor c = QColorDialog::getColor(initial, parent, QStringLiteral("Colore"));
    if (!c.isValid()) return std::nullopt;
    return c;
}

void setColorChooser(ColorChooser chooser) {
    hooks().colorChooser = std::move(chooser);
}

void showHelpDocument(const QString& source) {
    QPointer<QTextBrowser>& v = viewer();
    if (!v) {
        v = new QTextBrowser;
        v->setAttribute(Qt::WA_DeleteOnClose);
        v->setObjectName(QStringLiteral("GuidaProgramma"));
        v->setWindowTitle(applicationTitle() + QStringLiteral(" - Guida"));
        v->setOpenExternalLinks(true);
        v->resize(720, 560);
    }
    const bool isPath = source.startsWith(QLatin1Char(':')) ||
                        source.startsWith(QLatin1String("qrc:")) ||
                        source.startsWith(QLatin1Char('/'));
    if (isPath) {
        const QString file = source.startsWith(QLatin1String("qrc:")) ? source.mid(3) : source;
        if (QFileInfo::exists(file)) {
            v->setSource(file.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + file)
                                                           : QUrl::fromLocalFile(file));
        } else {
            v->setPlainText(QStringLiteral("Guida non disponibile: ") + file);
        }
    } else {
        v->setHtml(source);
    }
    v->show();
    v->raise();
    v->activateWindow();
}

QTextBrowser* helpViewer() {
    return viewer();
}

bool printSetup(QPrinter& printer, QWidget* parent) {
    if (hooks().printSetup) return hooks().printSetup(printer);
    // The print dialog in setup mode: it chooses the printer as well as the paper
    // and orientation (its Properties), which a page setup dialog alone does not
    // do on this platform. Nothing is printed from it.
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Imposta stampante"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto* box = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    return dialog.exec() == QDialog::Accepted;
}

void setPrintSetupHook(std::function<bool(QPrinter&)> hook) {
    hooks().printSetup = std::move(hook);
}

void resetDesktopHooks() {
    hooks() = Hooks{};
    setHourglass(false);
    if (QPointer<QTextBrowser>& v = viewer()) delete v.data();
}

} // namespace qv
