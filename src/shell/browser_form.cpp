// brow: the small web browser that opens the bank's site of the open account.
#include "browser_form.h"

#include "common/shared_state.h"
#include "flags_form.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/qt_printer.h"
#include "platform/requests.h"
#include "platform/web_page.h"

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

namespace qv {

namespace {
using IndirizzoBanca = Requests<brow::RichiestaIndirizzo, brow>;
} // namespace

void brow::impostaRichiestaIndirizzo(RichiestaIndirizzo richiesta) {
    IndirizzoBanca::set(std::move(richiesta));
}

QString caricaIndirizzoBanca() {
    const auto& indirizzo = IndirizzoBanca::get();
    return indirizzo ? indirizzo() : QString();
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

    creaBarra();
    creaIndirizzo();
    QWidget* pagina = creaPagina();

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(5);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tbToolBar);
    layout->addWidget(picAddress);
    layout->addWidget(pagina, 1);
    resize(800, 600);

    connect(cboAddress, &QComboBox::activated, this, handler([this] { cboAddress_Click(); }));
    // The combo box keeps the focus and hands the keys typed to its line edit directly, so
    // the key handler watches both: the box for the keyboard, the line edit for text sent
    // to it.
    onKeyPress(cboAddress, [this](int& keyAscii) { cboAddress_KeyPress(keyAscii); });
    onKeyPress(cboAddress->lineEdit(), [this](int& keyAscii) { cboAddress_KeyPress(keyAscii); });
    connect(timTimer, &QTimer::timeout, this, handler([this] { timTimer_Timer(); }));
}

// The toolbar: one action a button, each named by its key.
void brow::creaBarra() {
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
}

// The address box with its caption.
void brow::creaIndirizzo() {
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
}

// What the page tells the window: loading, loaded, printed.
WebPageEvents brow::eventiPagina() {
    WebPageEvents events;
    events.loadStarted = handler([this] {
        busy_ = true;
        timTimer->start();
        setCaption(QStringLiteral("Attendere..."));
    });
    events.loadFinished = handler([this](bool) {
        busy_ = false;
        brwWebBrowser_DownloadComplete();
    });
    events.printFinished = handler([this](bool ok) {
        printing_ = false;
        if (!ok)
            messageBox(QStringLiteral("La stampa della pagina non è riuscita."), MessageButtons::Ok,
                       MessageIcon::Critical);
    });
    events.pdfPrintingFinished = handler([this](const QString& path, bool ok) {
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
    });
    return events;
}

// The view of the web engine, which is loaded now, the first time a browser opens; a label
// saying why when it cannot be.
QWidget* brow::creaPagina() {
    EsitoCon<std::unique_ptr<WebPage>> creata = createWebPage(this, this, eventiPagina());
    page_ = std::move(creata.valore);
    QWidget* pageWidget = nullptr;
    if (page_) {
        brwWebBrowser = page_->view();
        pageWidget = page_->widget();
    } else {
        auto* missing = new QLabel(creata.esito.testo, this);
        missing->setAlignment(Qt::AlignCenter);
        missing->setWordWrap(true);
        pageWidget = missing;
    }
    pageWidget->setObjectName(QStringLiteral("brwWebBrowser"));
    pageWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return pageWidget;
}

brow::~brow() = default;

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
    if (page_) page_->load(url);
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
    if (!page_ && key != QLatin1String("Chiudi")) return;
    if (key == QLatin1String("Back")) {
        page_->back();
    } else if (key == QLatin1String("Forward")) {
        page_->forward();
    } else if (key == QLatin1String("Stop")) {
        timTimer->stop();
        page_->stop();
        busy_ = false;
        setCaption(locationName());
    } else if (key == QLatin1String("Refresh")) {
        page_->reload();
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
    if (!page_) return caption();
    const QString title = page_->title();
    if (!title.isEmpty()) return title;
    const QUrl url = page_->url();
    return url.isEmpty() ? caption() : url.toDisplayString();
}

// The page goes to the printer chosen in "Imposta stampante"; on a machine
// without a printer it becomes a PDF file in the print folder, as every other
// print of the program does.
void brow::printPage() {
    if (printing_ || !page_ || page_->url().isEmpty()) return;
    page_->widget()->setFocus();
    if (qtPrinter().printsToPrinter()) {
        printing_ = true;
        page_->print(&sharedPrinter());
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
    page_->printToPdf(freshPdfName(folder, QStringLiteral("pagina-")),
                      sharedPrinter().pageLayout());
}

} // namespace qv
