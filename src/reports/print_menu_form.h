#pragma once
// Form21: "Stampe", the print menu of the open account; and the printing of every
// report of the menu, the main window and the list windows: each reads what its
// window holds, lets the report compute its pages and sends them to the printer.

#include "platform/form_host.h"
#include "reports/cheque_reports.h"
#include "reports/movement_report.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

namespace qv {

class ComboBox;
class DateField;

class Form21 : public Form {
    Q_OBJECT
public:
    explicit Form21(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;

    // What the fields hold: the range and the causale choice of the movement report.
    SelezioneMovimenti selezione() const;
    PeriodoStampa periodo() const;

    // Whether the range can be printed: a date typed in part or impossible ("31/02")
    // is refused with the date message and takes the focus; a blank date leaves that
    // end of the range open.
    bool periodoStampabile();

    void Command3D4_Click();
    void Saldi_Click();
    void Command3D3_Click();
    void AssAnn_Click();
    void Command3D2_Click();
    void Command3D1_Click();
    void Command3D5_Click();
    void conti_Click();
    void PulStampe_Click();
    void Esc_Click();

    QGroupBox* Panel3D2 = nullptr; // "Stampa Movimenti"
    QFrame* Panel3D3 = nullptr;
    QLabel* Label3 = nullptr; // "Intervallo di stampa"
    QLabel* Label2 = nullptr; // "Dal"
    DateField* dal = nullptr;
    QLabel* Label1 = nullptr; // "Al"
    DateField* al = nullptr;
    QLabel* Label4 = nullptr; // "Selezione causali da stampare"
    ComboBox* Combo1 = nullptr;
    QPushButton* Saldi = nullptr;      // "Conferma": the movement report
    QPushButton* Command3D4 = nullptr; // "Tutte le date"
    QLabel* Label5 = nullptr;          // "Stampa archivi"
    QPushButton* Command3D3 = nullptr; // the cheques
    QPushButton* AssAnn = nullptr;     // the annulled cheques
    QPushButton* Command3D2 = nullptr; // the cheque books
    QPushButton* Command3D1 = nullptr; // the cheque situation
    QPushButton* Command3D5 = nullptr; // the causali
    QPushButton* conti = nullptr;      // the accounts
    QPushButton* PulStampe = nullptr;  // "Imposta stampante"
    QPushButton* Esc = nullptr;        // "Uscita"

private:
    // The parts the window is built from, in the order the constructor calls them.
    void costruisciStampaMovimenti();
    void costruisciStampaArchivi();
    QLayout* costruisciPulsantiFondo();
    void impostaOrdineTab();
    void collegaPulsanti();
};

// The print menu, shown as a modal dialog (the main window's "Movimenti" and
// " Stampe ").
void mostraMenuStampe();

// The reports, each printed as one document; when its data cannot be read the user
// is told why and nothing is printed.
void stampaMovimenti(const SelezioneMovimenti& selezione);
void stampaAssegniAnnullati();
// The period line of the causali shows the print menu's fields while it is open,
// else two empty fields.
void stampaCausali();
void stampaElencoConti();
void stampaRiepilogoConti(bool perValuta, const QString& dataVis);

} // namespace qv
