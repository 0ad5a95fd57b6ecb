#pragma once
// Form11: "Elenco Movimenti", the open account's movements of a period with the
// carry-forward and the running balance.

#include "common/records.h"
#include "ledger/period_list.h"
#include "platform/form_host.h"

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;

namespace qv {

class ColumnHeadings;
class ComboBox;
class DateField;
class ListBox;

class Form11 : public Form {
    Q_OBJECT
public:
    explicit Form11(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool& cancel) override;

    // Rebuilds List1 from DataOper, DataFinale and Combo1. A bound that holds no date
    // (an impossible or half-typed one) is never listed from: the list then keeps the
    // period it was last built with (only "Conferma" tells the user, see OK_Click).
    void ElencaMovimentiPerPeriodo();

    // The list as last built: its count of listed movements and the movement table
    // it was built from (rows 1 to NumeroMovimenti at that time).
    const ElencoPeriodo& elencoMostrato() const { return elenco_; }
    // Whether the movement table still holds what the list was built from.
    bool elencoAggiornato() const;
    // Whether building the list now would give the lines it shows: the same movements,
    // carry-forward, display rate, amount format, causali, cheque leaves, period and
    // filter as at its last build.
    bool elencoInvariato() const;

    // What "Stampa" prints (the movement report, connected by the main window), given
    // the range and the causale choice of the list.
    using AzioneStampa =
        std::function<void(const QString& dal, const QString& al, const QString& causale)>;
    static void impostaStampa(AzioneStampa azione);

    // The range the entry form lists (its "Dal" and "Al") and the operation date typed
    // in it, which the list opens on. Asked of the main window, which answers from the
    // entry form; nothing when that form is not loaded.
    struct SelezioneMovimenti {
        QString dataOper; // the entry form's operation date
        QString dal, al;  // the range the entry form lists
    };
    using RichiestaSelezione = std::function<std::optional<SelezioneMovimenti>()>;
    static void impostaRichiestaSelezione(RichiestaSelezione richiesta);

    void OK_Click();
    void Tutti_Click();
    void PulStampe_Click();
    void Esc_Click();
    void List1_DblClick();

    QLabel* Panel3D1 = nullptr;
    DateField* DataOper = nullptr;
    DateField* DataFinale = nullptr;
    QLabel* Label7 = nullptr;
    ComboBox* Combo1 = nullptr;
    QLabel* Label1 = nullptr; // "Data"
    QLabel* Label2 = nullptr; // "Valuta"
    QLabel* Label3 = nullptr; // "Mov. Dare"
    QLabel* Label4 = nullptr; // "Mov. Avere"
    QLabel* Label5 = nullptr; // "Saldo"
    QLabel* Label6 = nullptr; // "Descr. Operazione"
    ListBox* List1 = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Tutti = nullptr;
    QPushButton* PulStampe = nullptr; // "Stampa": the printed movement report
    QPushButton* Esc = nullptr;

private:
    // The parts the window is built from, in this order.
    void creaTitolo();
    void creaCampi();
    void creaPulsanti();
    void creaElenco();
    void disponi();
    void collegaControlli();

    void riempiFiltroCausali();

    // What the lines of the list are made from besides the movements.
    struct AltriDati {
        Riporto riporto;
        double fattore = 0;
        QString formato;
        std::vector<VoceCausale> causali;
        std::vector<FoglioAssegno> fogli;
        QString dal, al, filtro; // the fields as the list read them
        bool operator==(const AltriDati&) const = default;
    };
    AltriDati altriDatiAttuali() const;

    ColumnHeadings* intestazioni_ = nullptr; // the heads of List1's columns
    ElencoPeriodo elenco_;
    QString dal_, al_;                       // the period of the list shown
    std::vector<Movimento> tabellaElencata_; // TabellaMovimenti rows 1..n at the last build
    AltriDati datiElencati_;                 // the rest, at the last build
};

// Rebuilds the period list when Form11 is loaded (the entry form calls it on its
// activation while Form11Aperta is 1); nothing otherwise.
void ElencaMovimentiPerPeriodo();
// The same, only when Form11 is loaded and its list is out of date (elencoInvariato):
// the entry form's activation, which would otherwise read ".Ord" again for nothing.
void AggiornaElencoPerPeriodo();

// The message shown when a line is double-clicked while the list leaves some movement
// out.
QString messaggioElencoIncompleto();

} // namespace qv
