#pragma once
// Form10: "Selezione Conto", the sheet of one account, which opens it.

#include "platform/form_host.h"

class QLineEdit;
class QPushButton;

namespace qv {

class Form10 : public Form {
    Q_OBJECT
public:
    // Opening: "Conferma" opens the account shown. Lettura: the sheet is only
    // looked at (the summary of all accounts), and "Conferma" just closes it.
    enum class Modo { Apertura, Lettura };

    explicit Form10(QWidget* parent = nullptr);

    void Form_Activate() override;

    // Fills the fields from row riga of TabellaConti and keeps the row and the
    // mode for "Conferma". A row outside 1..NumeroConti empties the fields.
    void mostraConto(int riga, Modo modo);
    // Empties the fields; "Conferma" then opens nothing (the account was deleted).
    void svuotaCampi();
    Modo modo() const { return modo_; }
    // The open account is closing, or its movements are about to go: the sheet, which
    // shows one of its accounts, closes (the main window tells it).
    void contoInChiusura();
    int rigaConto() const { return riga_; }

    void Saldi_Click();
    void Command3_Click();
    void selezione_Click();
    void CodConto_KeyPress(int& keyAscii);

    QLineEdit* CodConto = nullptr;
    QLineEdit* TipoConto = nullptr;
    QLineEdit* NomeBanca = nullptr;
    QLineEdit* IndBanca = nullptr;
    QLineEdit* CapBanca = nullptr;
    QLineEdit* LocBanca = nullptr;
    QLineEdit* ProvBanca = nullptr;
    QLineEdit* abi = nullptr;
    QLineEdit* Fido = nullptr;
    QPushButton* Saldi = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* selezione = nullptr;

signals:
    // The account was opened: the movement form is to show it (the main window shows it).
    void movimentiRichiesti();

private:
    int riga_ = 0;
    Modo modo_ = Modo::Lettura;
};

// Makes row riga of TabellaConti the open account (RichiesteConti::apriConto):
// CodiceContoAttivo (the trimmed code), IndiceContoAttivo, then the main window's account
// labels and its account-dependent controls. Returns false, changing nothing, when riga
// is not an account of the table, or when the requests are not set. The account's files
// are judged first (RichiesteConti::esaminaConto): files that cannot be read are named
// and the account stays closed; damaged counts are named and rebuilt only when the user
// answers Sì (No, or a rebuild that fails, leaves the account closed).
bool apriContoDellaRiga(int riga);

} // namespace qv
