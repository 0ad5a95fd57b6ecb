#pragma once
// Form3: "Immissione Carnet Assegni", registering, changing and deleting cheque books.

#include "platform/form_host.h"

#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

// What the cheque windows ask of the movement form, which is not theirs; the main window
// answers.
struct RichiesteAssegni {
    // A cheque window closed: the movement form empties its entry and, when shown, takes
    // the focus on its operation date.
    std::function<void()> immissioneDaRiprendere;
    // Cheque books are about to go: a movement the movement form holds for change goes
    // back (it may be one of those that go, or be renumbered).
    std::function<void()> movimentoInModificaDaLasciare;
    // The cheque's movement `numero` was written: the movement form lets it go if it held
    // it, shows it in its list and leaves nothing to delete.
    std::function<void(int numero)> assegnoRegistrato;
};
void impostaRichiesteAssegni(RichiesteAssegni richieste);
const RichiesteAssegni& richiesteAssegni();

class AmountField;
class DateField;

class Form3 : public Form {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;

    // The row of TabellaCarnet of the book shown for change, 0 while a new book is
    // typed. The form keeps its own: picks made for the cheque form do not touch it.
    int carnetCaricato() const { return caricato_; }

    // Shows book row `riga` for change (a pick in the picker): withdrawal date, cost
    // in the display currency with the cost pattern, first and last cheque, its number.
    void mostraCarnet(int riga);
    // New-book entry with every field empty and NrFogli "10" (the movement form's
    // cheque-book button does this before showing the form).
    void preparaNuovoCarnet();

    // The cost pattern: "##,##0" with as many decimals as the settings give.
    static QString formatoCosto();

    void Salva_Click();
    void esci_Click();
    void Visualizza_Click();
    void Command3D1_Click();
    void Del_Click();
    void Command3D9_Click();
    void DataCarnet_KeyPress(int& keyAscii);
    void CostoCarnet_KeyPress(int& keyAscii);
    void CostoCarnet_LostFocus();
    void NrInf_KeyPress(int& keyAscii);
    void Salva_GotFocus();

    QLabel* NrConto = nullptr;
    QLabel* banca = nullptr;
    QLabel* NrCarnet = nullptr;
    DateField* DataCarnet = nullptr;
    AmountField* CostoCarnet = nullptr;
    QLineEdit* NrInf = nullptr;
    QLabel* NrFinale = nullptr;
    QLabel* NrFogli = nullptr;
    QPushButton* Salva = nullptr;
    QPushButton* esci = nullptr;
    QPushButton* Visualizza = nullptr;
    QPushButton* Command3D1 = nullptr;
    QPushButton* Del = nullptr;
    QPushButton* Command3D9 = nullptr;

private:
    // The parts the window is built from, in the order the constructor calls them.
    void creaCampi();
    void creaPulsanti();
    void collegaControlli();
    void disponi();
    QLayout* disponiConto();
    QWidget* disponiCarnet();
    QLayout* disponiPulsanti();

    // The checks of "Conferma", in the order it makes them: each one that refuses tells
    // the user and gives the focus.
    bool numeriLiberi(bool numeroLetto, qlonglong primo, int caricato);
    bool campiObbligatoriPresenti(const QString& testoPrimo);
    bool dataRitiroValida(const QString& data);
    bool costoDigitato(double& costo);

    void mostraConto();
    void mostraProssimoNumero();
    void svuotaCampi();
    void tornaANuovoCarnet();
    void rifiuta(const QString& testo, QWidget* campo);

    int caricato_ = 0; // the book shown for change, 0 during new-book entry
};

// The main window's "&Carnet" and " Carnet ": Form3 shown modally as it stands.
void mostraFormCarnet();
// The movement form's " Gestione carnet ": new-book entry, then Form3 shown modally.
void gestioneCarnet();
// The causale "CA" chosen or loaded in the movement form: Form3 shown modeless.
void mostraFormCarnetNonModale();

// The cheque-book form's " Cancella ", once its own question is answered: with book row
// `riga` loaded (1 to NumeroCarnet), asks the second confirmation
// (testoConfermaEliminaCarnet); on OK gives back the movement the movement form holds
// for change, deletes the book (eliminaCarnet), tells the user of a failure, and
// refreshes the cheque lists, the books, the movements and their list. True when the
// book was deleted.
bool EliminaCarnet(int riga);

} // namespace qv
