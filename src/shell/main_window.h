#pragma once
// MDIForm1: the main window "Quorvanta - gestione conti correnti".

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QFrame;
class QLabel;
class QMdiArea;
class QMenu;
class QPushButton;

namespace qv {

class ComboBox;
class Form;

class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* parent = nullptr);
    ~MDIForm1() override;

    // The main window of the program, nullptr while there is none.
    static MDIForm1* instance();

    // The start-up: shows the window, reads the colours, the settings and the
    // archives, does the first-run work, fills the display-currency list and
    // selects the default currency, asks for the login when the settings want it
    // and looks up the start-up account. Stops as soon as the program is ending.
    void Load();

    // Enables or disables together the ten controls that need an open account ("Riordina
    // archivi", in "Utilità", stays enabled and refuses without one).
    void abilitaComandiConto(bool abilita);
    // Writes the open account's labels: the data folder with the account code, the
    // bank name and the credit line.
    void mostraContoAperto();
    // Empties the account and balance labels; the data folder alone stays shown.
    void svuotaPannelloConto();
    // Writes the six balance labels and the last movement date from the shared
    // balances in the display currency.
    void aggiornaSaldi();
    // Writes only the credit-line label (after a change of number format).
    void aggiornaFido();
    // Shows the movement form Form9 for the open account; when it is showing
    // already it is hidden first. Its activation loads the account: the files, the
    // balances on this window, the date bounds, the list by operation date and the
    // list-order file.
    static void mostraMovimenti();

    // The display-currency change, run when the user picks a line of Combo1 and
    // when the start-up selects one.
    void Combo1_Click();

    // Handlers of this window's menus and buttons.
    void NuovoConto_Click();
    void ApriConto_Click();
    void Command3D2_Click();
    void GestCaus_Click();
    void Command3D4_Click();
    void Esci_Click();
    void SSCommand2_Click();
    void close_Click();
    void CancMov_Click();
    void MenMovimenti_Click();
    void Assegni_Click();
    void Carnet_Click();
    void BottCarnet_Click();
    void VisMovimenti_Click();
    void Vista_Click();
    void VisAssFuori_Click();
    void AssAnn_Click();
    void IntCost_Click();
    void TotConti_Click();
    void AllConto_Click();
    void stf_Click();
    void AnnualeSimulata_Click();
    void RiprChiu_Click();
    void RioArch_Click();
    void Sicur_Click();
    void RipCopie_Click();
    void Files_Click();
    void PulsMovimenti_Click();
    void gestval_Click();
    void SSCommand1_Click();
    void color_Click();
    void ImpStamp_Click();
    void movimenti_Click();
    void CausaliIns_Click();
    void ElencoConti_Click();
    void PulStampe_Click();
    void pref_Click();
    void CVV_Click();
    void calco_Click();
    void browse_Click();
    void sommario_Click();
    void Sovra_Click();
    void AffOriz_Click();
    void AffVert_Click();
    void DispIcon_Click();

    QMdiArea* mdiArea() const { return area_; }

    // Menus and their items.
    QMenu* File = nullptr;
    QAction* NuovoConto = nullptr;
    QAction* ApriConto = nullptr;
    QAction* GestCaus = nullptr;
    QAction* gestval = nullptr;
    QAction* close = nullptr;
    QAction* color = nullptr;
    QAction* ImpStamp = nullptr;
    QAction* pref = nullptr;
    QMenu* Stampe = nullptr;
    QAction* movimenti = nullptr;
    QAction* CausaliIns = nullptr;
    QAction* ElencoConti = nullptr;
    QAction* TotConti = nullptr;
    QAction* Esci = nullptr;
    QMenu* Immissioni = nullptr;
    QAction* MenMovimenti = nullptr;
    QAction* Assegni = nullptr;
    QAction* Carnet = nullptr;
    QMenu* Visualizza = nullptr;
    QAction* VisMovimenti = nullptr;
    QAction* VisAssFuori = nullptr;
    QAction* AssAnn = nullptr;
    QMenu* chiusure = nullptr;
    QAction* stf = nullptr;
    QAction* AnnualeSimulata = nullptr;
    QAction* IntCost = nullptr;
    QMenu* Manut = nullptr;
    QAction* AllConto = nullptr;
    QAction* RiprChiu = nullptr;
    QAction* Sicur = nullptr;
    QAction* RipCopie = nullptr;
    QAction* CancMov = nullptr;
    QMenu* UT = nullptr;
    QAction* RioArch = nullptr;
    QAction* CVV = nullptr;
    QAction* calco = nullptr;
    QMenu* Finestre = nullptr;
    QAction* Sovra = nullptr;
    QAction* AffOriz = nullptr;
    QAction* AffVert = nullptr;
    QAction* DispIcon = nullptr;
    QMenu* Guida = nullptr;
    QAction* sommario = nullptr;

    // The toolbar panel and its buttons.
    QFrame* SSPanel1 = nullptr;
    QPushButton* Command3D2 = nullptr;
    QPushButton* PulsMovimenti = nullptr;
    QPushButton* Vista = nullptr;
    QPushButton* Files = nullptr;
    QPushButton* BottCarnet = nullptr;
    QPushButton* PulStampe = nullptr;
    QPushButton* Command3D4 = nullptr;
    QPushButton* SSCommand1 = nullptr;
    QPushButton* browse = nullptr;
    QPushButton* SSCommand2 = nullptr;

    // The status panel: captions, values and the display currency.
    QLabel* Label5 = nullptr;
    QLabel* Codice = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* DescConto = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* UltimaData = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* AssFuori = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* AssMano = nullptr;
    std::array<QLabel*, 6> Saldi{};
    QLabel* Label6 = nullptr;
    ComboBox* Combo1 = nullptr;
    QLabel* flag = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusPanel();
    void wire();
    void confermaUscita();
    // What the windows of the subsystems ask of each other, and what the open account's
    // changes show here (main_window_wiring.cpp).
    void collegaFinestre();
    void collegaFinestra(Form* form);
    void aggiornaContatoriAssegni();
    void dopoCambioFormato();
    void riempiValute();
    void selezionaValutaIniziale();
    void apriContoAvvio();
    std::function<void()> handler(void (MDIForm1::*method)());

    QMdiArea* area_ = nullptr;
    QString lineaValutaCorrente_;
};

// What the windows of one subsystem ask of another's: the requests and actions that the
// main window answers for them. The main window sets them as it starts; a test of a
// window that runs without the main window sets them itself.
void collegaRichiesteFinestre();

} // namespace qv
