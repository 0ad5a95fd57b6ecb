#pragma once
// Giroconto: "Giroconto", the dialog that moves a new movement to another account.

#include "ledger/transfer.h"
#include "platform/form_host.h"

class QLabel;
class QPushButton;

namespace qv {

class ComboBox;

class Giroconto : public Form {
    Q_OBJECT
public:
    explicit Giroconto(QWidget* parent = nullptr);

    void Form_Load() override;

    // The movement to transfer and where the outcome goes; chiediGiroconto sets them
    // before showing the dialog.
    void preparaGiroconto(Movimento* pendente, EsitoCon<GirocontoScritto>* esito);

    void OK_Click();
    void Command3D1_Click();

    QLabel* Label1 = nullptr;
    QLabel* contoAperto = nullptr;
    ComboBox* Combo1 = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Command3D1 = nullptr;

private:
    // The row of Combo1 of the first account other than the open one.
    int primoAltroConto() const;

    Movimento* pendente_ = nullptr;
    EsitoCon<GirocontoScritto>* esito_ = nullptr;
};

// The line of Combo1 for an account: the trimmed code, blanks up to 13 characters (at
// least one), " - ", the bank name as stored (45 characters). Each line carries its
// row of TabellaConti as item data.
QString lineaGiroconto(const Conto& conto);

// Shows Giroconto modally for the open account's pending outgoing movement (its new
// row, already filled from the entry form, amount in Euro) and returns what it did.
// Done only when the incoming movement is written into the other account (its ".MOV",
// ".MOR" and recomputed ".TOT"): `pendente` gets the description "> destination
// description" and "U", and the value tells what to take back; the caller then saves
// `pendente` and, should that fail, calls annullaGiroconto(esito.valore). Refused, with
// nothing to say, when the user leaves the dialog (having picked the open account or
// not); failed when a write fails (the dialog has told the user why). Then nothing is
// written anywhere and `pendente` is unchanged.
EsitoCon<GirocontoScritto> chiediGiroconto(Movimento& pendente);

} // namespace qv
