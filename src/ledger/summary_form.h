#pragma once
// Form22: "Riepilogo Conti", the summary of all accounts.

#include "ledger/summary.h"
#include "platform/form_host.h"

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qv {

class ListBox;

class Form22 : public Form {
    Q_OBJECT
public:
    explicit Form22(QWidget* parent = nullptr);

    void Form_Load() override;

    // The balance the options choose.
    SaldoRiepilogo saldoScelto() const;
    // Builds the list and the totals line again from the archive and the totals files.
    void costruisci();

    // What "Stampa" prints (the printed summary, connected by the main window), given
    // the balance chosen and the date the window shows.
    using AzioneStampa = std::function<void(SaldoRiepilogo scelta, const QString& dataVis)>;
    static void impostaStampa(AzioneStampa azione);

    // What a double click on an account's line opens: its sheet, to read (the archives'
    // window, opened by the main window), given the account's row in TabellaConti.
    using RichiestaScheda = std::function<void(int riga)>;
    static void impostaRichiestaScheda(RichiestaScheda richiesta);

    void Dataop_Click(int index);
    void PulStampe_Click();
    void List1_DblClick();
    void Command3D8_Click();

    QFrame* Panel3D1 = nullptr;
    std::array<QRadioButton*, 2> Dataop{}; // 0 "Data Op.", 1 "Data Valuta"
    QLabel* DataVis = nullptr;
    QLabel* intestazione = nullptr; // the column heads over the list
    ListBox* List1 = nullptr;
    QLabel* Totali = nullptr;
    QPushButton* PulStampe = nullptr; // "Stampa": the printed summary
    QPushButton* Command3D8 = nullptr;

private:
    // The parts the window is built from, in this order.
    void creaPannello();
    void creaElenco();
    void creaPulsanti();
    void disponi();
    void collegaControlli();
};

// Shows the summary modeless, built afresh (the main window's "Totale conti").
void mostraRiepilogoConti();

} // namespace qv
