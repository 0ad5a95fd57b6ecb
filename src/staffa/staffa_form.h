#pragma once
// Staffa: the window "staffa", the value-date balance statement of the open account.

#include "platform/form_host.h"
#include "staffa/staffa.h"
#include "staffa/staffa_text.h"

#include <QDate>

#include <QStringList>

#include <array>
#include <functional>
#include <utility>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qv {

class DateField;
class ListBox;

class Staffa : public Form {
    Q_OBJECT
public:
    explicit Staffa(QWidget* parent = nullptr);

    // Loads the open account's conditions, chooses the period the staffa opens with and
    // computes it.
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;

    // Computes the staffa of the period in dal and al, with the movements that Tutti or
    // NSospesi choose, into List1 and its work list List2, and shows List1.
    void CalcoloStaffa();
    // Prints the staffa of the period in the fields, then computes it again on screen.
    // A period field that holds no date is refused as via refuses it, and nothing is
    // printed.
    void StampaStaffa();

    // The staffa last computed on screen.
    const RisultatoStaffa& staffaMostrata() const { return staffa_; }

    // The display currency changed: what the window shows, the staffa or the interest
    // statement, is computed again for the period and movements it was computed for, so
    // that its figures are in the currency that "Stampa" prints in.
    void valutaCambiata();

    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command3D4_Click();
    void via_Click();
    // The interest and cost statement of the period in dal and al (interest/), shown in
    // List3 in place of List1.
    void Interessi_Click();
    void Stampa_Click();
    // Prints the interest and cost statement of the period in the fields (interest/).
    void StampaCompetenze();
    void Command2_Click();

    // The interest and cost statement that this window shows and prints belongs to the
    // subsystem above it: the main window puts it here (collegaInteressi). Without it the
    // two buttons do nothing.
    // The period and choice of movements of a statement shown in List3.
    struct PeriodoProspetto {
        QDate dal;
        QDate al;
        bool tutti = true;
    };
    struct ProspettoInteressi {
        std::function<void(Staffa&)> mostra; // Interessi: shown in List3
        std::function<void(Staffa&)> stampa; // Stampa while List3 shows it
        // The statement shown, computed again in List3 (a change of display currency).
        std::function<void(Staffa&, const PeriodoProspetto&)> ricalcola;
    };
    static void impostaProspettoInteressi(ProspettoInteressi prospetto);

    // What the statement uses of the window. The check of via: each field that holds no
    // date gets the date message, is reset to the account's earliest (dal) or latest
    // (al) operation date and takes the focus.
    bool controllaPeriodo();
    // List2 holds the work-list items of these rows' dates.
    void riempiDate(const std::vector<RigaStaffa>& righe);
    // Names the movements a staffa leaves out, once for each set of them.
    void segnalaSenzaData(const std::vector<qint16>& numeri);
    // The page header of a printout of this window: bank, date, currency and period.
    IntestazioneStampaStaffa intestazioneStampa() const;
    // Shows `righe`, the statement of `periodo`, in List3, in place of List1 and its
    // headings, under `titolo`.
    void mostraInLista3(const QString& titolo, const QStringList& righe,
                        const PeriodoProspetto& periodo);

    QLabel* SSPanel1 = nullptr;
    QLabel* Label5 = nullptr; // "Dal"
    DateField* dal = nullptr;
    // Label1(0) to Label1(3): headings of List1; Label1(4): "Al".
    std::array<QLabel*, 5> Label1{};
    DateField* al = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command3D4 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Tutti = nullptr;
    QRadioButton* NSospesi = nullptr;
    QPushButton* via = nullptr;
    QPushButton* Interessi = nullptr;
    QPushButton* Stampa = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label2 = nullptr; // heading "Data valuta"
    QLabel* Label3 = nullptr; // heading "Saldi per Valuta"
    QLabel* mostra = nullptr;
    ListBox* List1 = nullptr;
    ListBox* List2 = nullptr;
    ListBox* List3 = nullptr;

private:
    // The parts the window is built from, in this order.
    void creaTitoloEPeriodo();
    void creaComandi();
    void creaElenchi();
    void disponi();
    void collegaControlli();

    // Sets the period to the quarter (1 to 4) of the current year.
    void trimestre(int numero);
    RisultatoStaffa calcola() const;
    // Shows staffa_ in List1 in place of List3.
    void mostraStaffa();

    RisultatoStaffa staffa_;
    // The period of the statement List3 shows.
    PeriodoProspetto periodoLista3_;
    // The column headings of List1, shown with it.
    QWidget* intestazioni_ = nullptr;
    // The earliest and latest date of the movements, for the button "T".
    std::pair<QDate, QDate> tutteLeDate_;
    // The movements without dates named to the user last, so that the message is not
    // repeated at every computation.
    std::vector<qint16> senzaDataSegnalati_;
};

// Sends printed lines to the printer as one document.
void stampaRighe(const std::vector<RigaStampaStaffa>& righe);

} // namespace qv
