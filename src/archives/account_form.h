#pragma once
// Form2: "Immissione dati conto", the account editor and the choice of the data folder.

#include "platform/folder_tree.h"
#include "platform/form_host.h"

class QFileSystemModel;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class AmountField;
class ListBox;
struct Conto;

class Form2 : public Form {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;
    // The display currency has just changed from the one of rate `prima`: the credit line
    // in Fido is shown in the new one, standing for the same amount.
    void valutaCambiata(double prima);

    // The user took the folder selected in the tree.
    void Dir1_Change();
    void ListaConti_DblClick();
    // Loads the account of the selected line into the fields (edit mode).
    void RichiamaContoSelezionato();
    void AddAnItem_Click();
    void CLR_Click();
    void Del_Click();
    void esci_Click();

    void CodConto_KeyPress(int& keyAscii);
    void CapBanca_KeyPress(int& keyAscii);
    void Fido_KeyPress(int& keyAscii);
    void LocBanca_GotFocus();
    void ProvBanca_LostFocus();

    // The main window's "&Gestione conto" after it has closed the open account:
    // every field but Cab and id emptied, no account picked, the code enabled.
    void preparaNuovoConto();
    // Selects folder in the tree without taking it as the data folder.
    void mostraCartella(const QString& folder);
    // The folder the tree has selected, ending in "/"; empty when none.
    QString cartellaScelta() const;

    ListBox* ListaConti = nullptr;
    // One folder tree stands in for the drive and the folder lists.
    FolderTree* Dir1 = nullptr;
    QFileSystemModel* Cartelle = nullptr;
    QLabel* NomeFile = nullptr;

    QLineEdit* CodConto = nullptr;
    QLineEdit* TipoConto = nullptr;
    QLineEdit* NomeBanca = nullptr;
    QLineEdit* IndBanca = nullptr;
    QLineEdit* CapBanca = nullptr;
    QLineEdit* LocBanca = nullptr;
    QLineEdit* ProvBanca = nullptr;
    QLineEdit* abi = nullptr;
    QLineEdit* Cab = nullptr;
    QLineEdit* id = nullptr;
    AmountField* Fido = nullptr;

    QPushButton* AddAnItem = nullptr;
    QPushButton* CLR = nullptr;
    QPushButton* Del = nullptr;
    QPushButton* esci = nullptr;

private:
    // The parts the window is built from, in this order.
    void creaElenchi();
    QGridLayout* creaCampi();
    void creaPulsanti();
    void collegaCatena();
    void disponi(QGridLayout* grid);

    void prendiCartella(const QString& folder, bool clearList);

    // The steps of "Conferma", in this order. The code is there, else the user is told.
    bool codicePresente();
    // The account as the fields give it, without its credit line.
    Conto contoDaiCampi() const;
    // Puts the credit line typed into conto (kept as stored when it is the one of the
    // account picked, `richiamato`, left as shown); false when it is refused, as said.
    bool prendiFido(Conto& conto, bool richiamato);
    // Changes the account picked (modifica) or adds conto; false when refused, as said.
    bool salvaConto(const Conto& conto, bool modifica);
    // Every field emptied, no account picked, the code enabled.
    void prontoPerNuovoConto();

    void svuotaCampi(); // the nine fields "Elimina immissione" empties
    void dimenticaFido();

    // The credit line as shown for the account picked, so that saving it unchanged
    // stores the amount exactly as it was.
    int rigaRichiamata_ = 0;
    QString fidoMostrato_;
    double fidoRichiamato_ = 0.0;
};

// "&Gestione conto": closes the open account, empties the editor's fields (Cab and
// id keep theirs) and shows the editor.
void apriGestioneConto();

} // namespace qv
