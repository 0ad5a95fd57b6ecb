#pragma once
// Form26: "Dati calcolo interessi", the editor of the open account's interest and cost
// conditions, on five tabs, with its printed conditions sheet.

#include "conditions/conditions_editor.h"
#include "platform/form_host.h"

#include <array>

class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace qv {

class AmountField;
class DateField;

class Form26 : public Form {
    Q_OBJECT
public:
    explicit Form26(QWidget* parent = nullptr);

    // Loads the open account's conditions into the shared records and the fields.
    void Form_Load() override;
    // "Altre opzioni" goes with the editor, however the editor is closed.
    void Form_Unload(bool& cancel) override;

    void OKi_Click();
    void Esc_Click();
    void PulStampe_Click();
    void Descr3_DblClick();
    void Descr4_DblClick();

    // The fields as they stand.
    CampiCondizioni campi() const;

    QLabel* banca = nullptr;
    QTabWidget* SSTab1 = nullptr;
    DateField *DataC1 = nullptr, *DataC2 = nullptr, *DataC3 = nullptr, *DataC4 = nullptr,
              *DataC5 = nullptr;
    AmountField *PerC1 = nullptr, *PerC2 = nullptr, *PerC3 = nullptr, *PerC4 = nullptr,
                *PerC5 = nullptr;
    DateField *DATAD1 = nullptr, *DATAD2 = nullptr, *DATAD3 = nullptr, *DATAD4 = nullptr,
              *DATAD5 = nullptr;
    AmountField *PerD1 = nullptr, *PerD2 = nullptr, *PerD3 = nullptr, *PerD4 = nullptr,
                *PerD5 = nullptr;
    AmountField *PerD6 = nullptr, *PerD7 = nullptr, *PerD8 = nullptr, *PerD9 = nullptr,
                *PerD10 = nullptr;
    AmountField *IMPORTO1 = nullptr, *IMPORTO2 = nullptr, *IMPORTO3 = nullptr, *IMPORTO4 = nullptr;
    AmountField *IMPORTO5 = nullptr, *IMPORTO6 = nullptr, *IMPORTO7 = nullptr;
    // "Trim." (odd) and "Ann." (even) of the seven fee rows.
    QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr, *Option4 = nullptr;
    QRadioButton *Option5 = nullptr, *Option6 = nullptr, *Option7 = nullptr, *Option8 = nullptr;
    QRadioButton *Option9 = nullptr, *Option10 = nullptr, *Option11 = nullptr, *Option12 = nullptr;
    QRadioButton *Option13 = nullptr, *Option14 = nullptr;
    QLineEdit* Descr1 = nullptr;
    QLineEdit* Descr2 = nullptr;
    AmountField *Per1 = nullptr, *Per2 = nullptr, *Per3 = nullptr, *Per4 = nullptr;
    AmountField *Per5 = nullptr, *Per6 = nullptr, *Per7 = nullptr;
    QLineEdit* Descr3 = nullptr;
    QLineEdit* Descr4 = nullptr;
    std::array<QRadioButton*, 4> divisore{};
    std::array<QRadioButton*, 4> giorni{};
    QRadioButton* Tri = nullptr;
    QRadioButton* Seme = nullptr;
    QRadioButton* Ann = nullptr;
    QLineEdit* IndInter = nullptr;
    QLineEdit* NrScritt = nullptr;
    QPushButton* OKi = nullptr;
    QPushButton* Esc = nullptr;
    QPushButton* PulStampe = nullptr;

private:
    QWidget* tabCreditori();
    QWidget* tabDebitori();
    QWidget* tabSpese();
    void aggiungiRigaSpesa(QGridLayout* g, QWidget* riquadro, int k,
                           const std::array<QString, 5>& voci);
    QWidget* descrizioneSpesa(QWidget* riquadro, int k, const std::array<QString, 5>& voci);
    QFrame* addebitoSpesa(QWidget* riquadro, int k);
    QWidget* tabOneri();
    void creaCampiOneri(QWidget* riquadro);
    int disponiOneri(QGridLayout* g, QWidget* riquadro);
    void ordineTabOneri();
    QWidget* tabOpzioni();
    void collegaTasti();
    void mostraCampi(const CampiCondizioni& c);
    void scegliBase(QString& base);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The numbered controls in arrays numbered as they are (element 0 unused).
    std::array<DateField*, 6> dataC_{};
    std::array<AmountField*, 6> perC_{};
    std::array<DateField*, 6> dataD_{};
    std::array<AmountField*, 11> perD_{};
    std::array<AmountField*, 8> importo_{};
    std::array<QRadioButton*, 15> option_{};
    std::array<AmountField*, 8> per_{};

    CampiCondizioni mostrati_;
    QString baseLibera1_; // the free commissions' bases, kept here until "Conferma"
    QString baseLibera2_;
};

// The main window's "Interessi e costi": Form26 shown modally.
void mostraCondizioni();

} // namespace qv
