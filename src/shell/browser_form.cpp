// brow: the small web browser that opens the bank's site of the open account.
#include "browser_form.h"

#include "common/shared_state.h"
#include "conditions/conditions.h"
#include "flags_form.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/qt_printer.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace qv {

QString caricaIndirizzoBanca() {
    // With no account open there is no options file to read: the window opens
    // blank and no file named by the extension alone is touched. Options that
    // cannot be read open no page either, rather than the last account's.
    if (!CaricaOpzioni()) return {};
    return stato().DatiOpzioni.indirizzoInternet.trimmed();
}

QUrl paginaProgramma() {
    return QUrl(QStringLiteral("qrc") + QLatin1String(AboutPageResource));
}

QUrl indirizzoDaTesto(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    return QUrl::fromUserInput(t);
}

namespace {

struct ToolButton {
    const char* key;
    const char* tooltip;
    const char* text;
    QStyle::StandardPixmap icon;
};

constexpr ToolButton Pulsanti[] = {
    {"Back", "Indietro", "Indietro", QStyle::SP_ArrowBack},
    {"Forward", "Avanti", "Avanti", QStyle::SP_ArrowForward},
    {"Stop", "Termina", "Termina", QStyle::SP_BrowserStop},
    {"Refresh", "Aggiorna", "Aggiorna", QStyle::SP_BrowserReload},
    {"Home", "Pagina iniziale", "Inizio", QStyle::SP_DirHomeIcon},
    {"Search", "connetti all'indirizzo della banca", "Banca", QStyle::SP_DriveNetIcon},
    {"Cerca", "Home page programma", "Programma", QStyle::SP_FileDialogInfoView},
    {"Stampa", "Stampa", "Stampa", QStyle::SP_FileDialogDetailedView},
    {"Chiudi", "Esci", "Esci", QStyle::SP_DialogCloseButton},
};

} // namespace

brow::brow(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("brow"));
    setCaption(QStringLiteral("Internet"));
    initShellResources();

    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbToolBar->setIconSize(QSize(24, 24));
    for (const ToolButton& b : Pulsanti) {
        QAction* action =
            tbToolBar->addAction(style()->standardIcon(b.icon), QString::fromUtf8(b.text));
        action->setObjectName(QLatin1String(b.key));
        action->setToolTip(QString::fromUtf8(b.tooltip));
        const QString key = QLatin1String(b.key);
        connect(action, &QAction::triggered, this,
                handler([this, key] { tbToolBar_ButtonClick(key); }));
        if (key == QLatin1String("Home") || key == QLatin1String("Stampa"))
            tbToolBar->addSeparator();
    }

    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lblAddress = new QLabel(QStringLiteral("&Indirizzo:"), picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    // The list holds only the start address; navigating adds no lines.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    lblAddress->setBuddy(cboAddress);
    auto* addressLayout = new QVBoxLayout(picAddress);
    addressLayout->setContentsMargins(0, 0, 0, 0);
    addressLayout->setSpacing(1);
    addressLayout->addWidget(lblAddress);
    addressLayout->addWidget(cboAddress);

    brwWebBrowser = new QWebEngineView(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    brwWebBrowser->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(5);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tbToolBar);
    layout->addWidget(picAddress);
    layout->addWidget(brwWebBrowser, 1);
    resize(800, 600);

    connect(cboAddress, &QComboBox::activated, this, handler([this] { cboAddress_Click(); }));
    onKeyPress(cboAddress->lineEdit(), [this](int& keyAscii) { cboAddress_KeyPress(keyAscii); });
    connect(timTimer, &QTimer::timeout, this, handler([this] { timTimer_Timer(); }));
    connect(brwWebBrowser, &QWebEngineView::loadStarted, this, handler([this] {
                busy_ = true;
                timTimer->start();
                setCaption(QStringLiteral("Attendere..."));
            }));
    connect(brwWebBrowser, &QWebEngineView::loadFinished, this, handler([this] {
                busy_ = false;
                brwWebBrowser_DownloadComplete();
            }));
    connect(brwWebBrowser, &QWebEngineView::printFinished, this, handler([this](bool ok) {
                printing_ = false;
                if (!ok)
                    messageBox(QStringLiteral("La stampa della pagina non è riuscita."),
                               MessageButtons::Ok, MessageIcon::Critical);
            }));
    connect(brwWebBrowser, &QWebEngineView::pdfPrintingFinished, this,
            handler([this](const QString& path, bool ok) {
                printing_ = false;
                if (ok)
                    messageBox(QStringLiteral("Nessuna stampante disponibile.\nLa pagina è stata "
                                              "salvata nel file:\n") +
                                   QDir::toNativeSeparators(path),
                               MessageButtons::Ok, MessageIcon::Information);
                else
                    messageBox(QStringLiteral("Impossibile salvare la pagina nel file:\n%1\n\n"
                                              "La stampa non è stata eseguita.")
                                   .arg(QDir::toNativeSeparators(path)),
                               MessageButtons::Ok, MessageIcon::Critical);
            }));
}

void brow::Form_Load() {
    startAddress_ = caricaIndirizzoBanca();
    if (startAddress_.isEmpty()) return; // the window opens blank
    cboAddress->addItem(startAddress_);
    cboAddress->setEditText(startAddress_);
    navigate(startAddress_);
}

void brow::navigate(const QString& address) {
    navigate(indirizzoDaTesto(address));
}

void brow::navigate(const QUrl& url) {
    if (!url.isValid() || url.isEmpty()) return;
    busy_ = true;
    timTimer->start();
    setCaption(QStringLiteral("Attendere..."));
    brwWebBrowser->load(url);
}

void brow::cboAddress_Click() {
    navigate(cboAddress->currentText());
}

void brow::cboAddress_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    cboAddress_Click();
}

void brow::tbToolBar_ButtonClick(const QString& key) {
    timTimer->start();
    if (key == QLatin1String("Back")) {
        brwWebBrowser->back();
    } else if (key == QLatin1String("Forward")) {
        brwWebBrowser->forward();
    } else if (key == QLatin1String("Stop")) {
        timTimer->stop();
        brwWebBrowser->stop();
        busy_ = false;
        setCaption(locationName());
    } else if (key == QLatin1String("Refresh")) {
        brwWebBrowser->reload();
    } else if (key == QLatin1String("Home")) {
        // The start page is the one the window opened on.
        navigate(startAddress_);
    } else if (key == QLatin1String("Search")) {
        if (!stato().CodiceContoAttivo.trimmed().isEmpty())
            navigate(stato().DatiOpzioni.indirizzoInternet.trimmed());
    } else if (key == QLatin1String("Cerca")) {
        navigate(paginaProgramma());
    } else if (key == QLatin1String("Stampa")) {
        printPage();
    } else if (key == QLatin1String("Chiudi")) {
        timTimer->stop();
        formHost().unload(*this);
    }
}

void brow::timTimer_Timer() {
    if (!busy_) {
        timTimer->stop();
        setCaption(locationName());
    } else {
        setCaption(QStringLiteral("Attendere..."));
    }
}

void brow::brwWebBrowser_DownloadComplete() {
    setCaption(locationName());
}

QString brow::locationName() const {
    const QString title = brwWebBrowser->title();
    if (!title.isEmpty()) return title;
    const QUrl url = brwWebBrowser->url();
    return url.isEmpty() ? caption() : url.toDisplayString();
}

// The page goes to the printer chosen in "Imposta stampante"; on a machine
// without a printer it becomes a PDF file in the print folder, as every other
// print of the program does.
void brow::printPage() {
    if (printing_ || brwWebBrowser->url().isEmpty()) return;
    brwWebBrowser->setFocus();
    if (qtPrinter().printsToPrinter()) {
        printing_ = true;
        brwWebBrowser->print(&sharedPrinter());
        return;
    }
    const QString folder = qtPrinter().pdfFolder();
    if (!QDir().mkpath(folder)) {
        messageBox(QStringLiteral("Nessuna stampante disponibile e impossibile creare la cartella "
                                  "delle stampe:\n%1\n\nLa stampa non è stata eseguita.")
                       .arg(QDir::toNativeSeparators(folder)),
                   MessageButtons::Ok, MessageIcon::Critical);
        return;
    }
    printing_ = true;
    brwWebBrowser->printToPdf(freshPdfName(folder, QStringLiteral("pagina-")),
                              sharedPrinter().pageLayout());
}

} // namespace qv
