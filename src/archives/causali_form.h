#pragma once
// Form6: the causali window "Gestione Causali".

#include "platform/form_host.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

class ListBox;
struct VoceCausale;

class Form6 : public Form {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;

    void CodCausale_Change();
    void ElencoCausali_Click();
    void OK_Click();
    void pulisci_Click();
    void esci_Click();
    void SSCommand1_Click();

    // Loads the causale of the selected line into the form and sets
    // IndiceCausaleScelta.
    void RichiamaCausaleSelezionata();
    // Appends the causale entered in the form (or refuses it).
    void AggiungiCausale();
    // Rewrites the causale at IndiceCausaleScelta from the form.
    void AggiornaCausale();

    QLabel* Label1 = nullptr; // "codice"
    QLabel* Label2 = nullptr; // "descrizione"
    QLabel* Label3 = nullptr; // "Elenco causali presenti"
    QLineEdit* CodCausale = nullptr;
    QLineEdit* DescCausale = nullptr;
    QGroupBox* DareAvere = nullptr; // "Tipo": DarAver 0 and 1
    QGroupBox* Frame1 = nullptr;    // "Soggetto a costo": DarAver 2 and 3
    QGroupBox* sospesp = nullptr;   // "Sospeso": SospesoSiNo 0 and 1
    std::array<QRadioButton*, 4> DarAver{};
    std::array<QRadioButton*, 2> SospesoSiNo{};
    ListBox* ElencoCausali = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* pulisci = nullptr;
    QPushButton* esci = nullptr;
    QPushButton* SSCommand1 = nullptr;

private:
    void creaCampi();
    void creaElencoEPulsanti();
    void collegaControlli();
    void disponiControlli();
    // The causale the form shows, with the normalised code.
    VoceCausale causaleDelForm() const;
    void mostraCausale(const VoceCausale& voce);
    void svuotaCampi();
};

// Fills Form6.ElencoCausali and FORM12.List1 afresh from TabellaCausali (rows 1 to
// NumeroCausali), each line carrying its row. Only forms already loaded are touched:
// each of the two fills its list from the table when it loads.
void riempiElenchiCausali();

} // namespace qv
