#pragma once
// Form9: "Immissione / Modifica Movimenti", the movement entry form of the open account.

#include "common/records.h"
#include "ledger/movement_lists.h"
#include "ledger/movement_reading.h"
#include "platform/form_host.h"

#include <QPointer>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class AmountField;
class DateField;
class ListBox;

class Form9 : public Form {
    Q_OBJECT
public:
    // The order of the list that shows: by operation date (ElencoMovim, Command1
    // disabled) or by value date (elencoValuta, Command2 disabled). Every relist and
    // every added line follows it; only Command1, Command2 and impostaOrdineAttivo
    // change it.
    enum class Ordine { Operazione, Valuta };

    explicit Form9(QWidget* parent = nullptr);
    ~Form9() override;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool& cancel) override;
    // The display currency has just changed from the one of rate `prima`: the figure in
    // IMPORTO is shown in the new one, standing for the same amount.
    void valutaCambiata(double prima);

    // --- What other windows call -------------------------------------------------

    Ordine ordineAttivo() const { return ordine_; }
    // Makes `ordine` the active order: the buttons, the list shown and Label25.
    // The lists are not rebuilt (elencaNellOrdineAttivo does that).
    void impostaOrdineAttivo(Ordine ordine);

    // Rebuilds the list of the active order from the movement table, within the
    // range fields (all movements while Ag is enabled).
    void elencaNellOrdineAttivo();
    // Rebuilds the list in operation-date order and shows it; that order becomes the
    // active one.
    void elencaOperazione();
    // Adds the line of movement `numero` (just appended) to the list of the active
    // order, widening the range fields to its date when it lies outside them.
    void aggiungiMovimentoSalvato(int numero);

    // Empties the entry fields (dates to "__/__/____", texts and labels empty),
    // disables Del with the caption "Del". A movement held for change is given
    // back to the balances first, as "Cancella immissione" does.
    void svuotaImmissione();

    // The movement loaded for change, 0 while a new one is typed. Form9 keeps its
    // own: the shared IndiceMovimentoScelto is not used by this form.
    int movimentoInModifica() const { return inModifica_; }

    // The cheque side: what Form9 does when a cheque or cheque-book movement is
    // typed or loaded ("AS" / "CA" causale, its cheque buttons). Empty until the
    // cheque forms register their actions; with nothing registered the step is
    // left out.
    struct AzioniAssegni {
        std::function<void()> apriAssegno;      // "AS" chosen or loaded: cheque form, modeless
        std::function<void()> apriCarnet;       // "CA" chosen or loaded: cheque-book form, modeless
        std::function<void()> gestioneAssegni;  // Assegno button
        std::function<void()> gestioneCarnet;   // BottCarnet button
        std::function<void()> assegniAnnullati; // AssAnnull button
        std::function<void()> archivioCarnet;   // SSCommand1 button
        std::function<void()> situazioneAssegni; // after a movement is saved
    };
    static void impostaAzioniAssegni(AzioniAssegni azioni);
    static const AzioniAssegni& azioniAssegni();

    // --- Handlers --------------------------------------------------------------

    void OK_Click();
    void pulisci_Click();
    void Esc_Click();
    void Del_Click();
    void ElencoMovim_DblClick();
    void elencoValuta_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Ag_Click();
    void Assegno_Click();
    void BottCarnet_Click();
    void AssAnnull_Click();
    void SSCommand1_Click();
    void Command3D1_Click();
    void IMPORTO_GotFocus();
    void DataOper_GotFocus();
    void DataOper_KeyPress(int& keyAscii);
    void DataOper_KeyUp(int key);
    void DataValuta_GotFocus();
    void DataValuta_KeyPress(int& keyAscii);
    void DataValuta_KeyUp(int key);
    void Causale_LostFocus();
    void NrDoc_Change();
    void DataInizSel_LostFocus();
    void DataFineSel_LostFocus();

    // --- Controls --------------------------------------------------------------

    DateField* DataOper = nullptr;
    DateField* DataValuta = nullptr;
    QLineEdit* Causale = nullptr;
    QLabel* DescrCausale = nullptr;
    QLabel* Sospeso = nullptr;
    QLabel* D_A = nullptr;
    AmountField* IMPORTO = nullptr;
    QLineEdit* NrDoc = nullptr;
    QLineEdit* DescMovim = nullptr;
    QLabel* NrOper = nullptr;

    ListBox* ElencoMovim = nullptr;
    ListBox* elencoValuta = nullptr;
    QLabel* Label25 = nullptr;
    // Column headings over the lists.
    QLabel* Label13 = nullptr; // "Data Op."
    QLabel* Label14 = nullptr; // "Data val."
    QLabel* Label15 = nullptr; // "Causale"
    QLabel* Label16 = nullptr; // "Nr.op."
    QLabel* Label17 = nullptr; // "Sos."
    QLabel* Label18 = nullptr; // "E/U"
    QLabel* Label19 = nullptr; // "Nr. Doc."
    QLabel* Label20 = nullptr; // "Importo"

    DateField* DataInizSel = nullptr;
    DateField* DataFineSel = nullptr;
    QPushButton* Ag = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;

    QPushButton* OK = nullptr;
    QPushButton* pulisci = nullptr;
    QPushButton* Esc = nullptr;
    QPushButton* Del = nullptr;
    QPushButton* Assegno = nullptr;
    QPushButton* BottCarnet = nullptr;
    QPushButton* AssAnnull = nullptr;
    QPushButton* SSCommand1 = nullptr;
    QPushButton* Command3D1 = nullptr;

private:
    // The parts the window is built from, in the order costruisci() calls them.
    void costruisci();
    void creaCampiImmissione();
    QLayout* disponiCampiImmissione();
    QLayout* costruisciComandi();
    QLayout* costruisciIntervallo();
    QWidget* costruisciElenchi();
    QWidget* costruisciIntestazioni();
    QLayout* costruisciPulsantiAssegni();
    void impostaOrdineTab();
    void collega();
    void collegaPulsanti();
    void collegaCampiImmissione();
    void collegaIntervallo();
    void elenca(Ordine ordine);
    void mostraElenco(Ordine ordine, ElencoMovimenti elenco);
    ElencoMovimenti& elencoMostrato(Ordine ordine);
    void riempiIntervallo();
    void richiamaMovimento(int numero);
    bool leggiImmissione(Movimento& m);
    void confermaNuovo(Movimento m);
    void confermaModifica(const Movimento& campi);
    void ricominciaImmissione();
    TestiMovimento testiImmissione() const;
    ContestoLettura contesto() const;
    void mostraCausale(const CausaleLetta& causale);
    bool cercaCausale();
    void svuotaCampi();
    void restituisciMovimento();
    void mostraProssimoNumero();
    void aggiornaPulsantiAssegni();
    void completaData(DateField* campo, QString& buffer, QWidget* prossimo);
    ListBox* lista(Ordine ordine) const;

    Ordine ordine_ = Ordine::Operazione;
    // What each list box shows: its movements' numbers in list order and the format
    // its lines are made in (each line is made when the list shows it).
    ElencoMovimenti elencoOperazione_, elencoValuta_;
    int inModifica_ = 0;                // the movement held for change, 0 none
    QString bufferDataOper_;            // keys typed since DataOper got the focus
    QString bufferDataValuta_;          // the same for DataValuta
    QPointer<QObject> pickerCollegato_; // the causale picker whose choice comes here
};

// The causale picker ("Elenco Causali") is not a window of the ledger: the main window
// opens it, modal. What it hands back (the mode it was opened for, ModoElencoCausali, and
// the causale) reaches `scelta` for as long as `chiamante` lives, bound once to each
// picker: `collegato` keeps the picker bound last.
using SceltaCausale = std::function<void(qint16 modo, const VoceCausale& voce)>;
using RichiestaElencoCausali =
    std::function<void(QObject* chiamante, QPointer<QObject>& collegato, SceltaCausale scelta)>;
void impostaRichiestaElencoCausali(RichiestaElencoCausali richiesta);
void apriElencoCausali(QObject* chiamante, QPointer<QObject>& collegato, SceltaCausale scelta);

// The list procedure of the entry form, for the windows that refresh it: it creates
// Form9 when it is not loaded yet, and rebuilds its list in its active order.
void ElencaMovimentiOrdineAttivo();

} // namespace qv
