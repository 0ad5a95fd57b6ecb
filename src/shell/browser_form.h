#pragma once
// brow: the small web browser that opens the bank's site of the open account.

#include "platform/form_host.h"

#include <QUrl>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QTimer;
class QToolBar;
class QWebEngineView;

namespace qv {

class WebPage;
struct WebPageEvents;

class brow : public Form {
    Q_OBJECT
public:
    explicit brow(QWidget* parent = nullptr);
    ~brow() override;

    void Form_Load() override;

    // The bank's address of the open account, which its options hold: a file of the
    // conditions, a subsystem above the shell, so the main window answers. Unset, the
    // window opens blank.
    using RichiestaIndirizzo = std::function<QString()>;
    static void impostaRichiestaIndirizzo(RichiestaIndirizzo richiesta);

    void cboAddress_Click();
    void cboAddress_KeyPress(int& keyAscii);
    // The toolbar button of the given key ("Back", "Forward", "Stop", "Refresh",
    // "Home", "Search", "Cerca", "Stampa", "Chiudi").
    void tbToolBar_ButtonClick(const QString& key);
    void timTimer_Timer();
    void brwWebBrowser_DownloadComplete();

    QWidget* picAddress = nullptr;
    QLabel* lblAddress = nullptr;
    QComboBox* cboAddress = nullptr;
    QToolBar* tbToolBar = nullptr;
    // The web engine's view, made when the window is first created (the engine is
    // loaded then); null when the engine could not be loaded, and a label says why.
    QWebEngineView* brwWebBrowser = nullptr;
    QTimer* timTimer = nullptr;

    bool busy() const { return busy_; }

private:
    void creaBarra();
    void creaIndirizzo();
    WebPageEvents eventiPagina();
    QWidget* creaPagina();
    void navigate(const QString& address);
    void navigate(const QUrl& url);
    void printPage();
    QString locationName() const;

    std::unique_ptr<WebPage> page_;
    QString startAddress_;
    bool busy_ = false;
    bool printing_ = false;
};

// The start address of the browser, as brow's request answers it: the trimmed web
// address of the open account's options, read into DatiOpzioni (".Opz", record 1). With
// no account open, or no request set, it reads nothing and gives an empty address.
// Creates no file.
QString caricaIndirizzoBanca();

// The address of the page about the program ("Home page programma").
QUrl paginaProgramma();

// An address as typed by the user ("www.banca.it", "file:///...") as a URL.
QUrl indirizzoDaTesto(const QString& text);

} // namespace qv
