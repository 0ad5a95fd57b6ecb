#pragma once
// Form14: "Elenco Carnet", the list of the open account's cheque books to pick from.

#include "platform/form_host.h"

#include <QtGlobal>

class QLabel;
class QPushButton;

namespace qv {

class ListBox;

// Who opened the picker, and so what a pick does.
enum ModoElencoCarnet : qint16 {
    ElencoPerCarnet = 0,    // the cheque-book form: a pick loads the book into Form3
    ElencoPerAssegni = 1,   // the cheque form: a pick is handed back to it
    ElencoPerMovimenti = 4, // the movement form: look only, nothing is picked
};

class Form14 : public Form {
    Q_OBJECT
public:
    explicit Form14(QWidget* parent = nullptr);

    void Form_Load() override;

    // Refills List1 from TabellaCarnet, one line per book (lineaCarnet), each line
    // carrying its book's row.
    void riempiElenco();

    // The caller of the current showing (ModoElencoCarnet), and the row of the book
    // picked in mode 1 during it (0 when none).
    qint16 modo() const { return modo_; }
    void impostaModo(qint16 modo);
    int carnetRiportato() const { return riportato_; }

    void List1_Click();
    void List1_DblClick();
    void Command3D2_Click();
    void Command3D1_Click();

    QLabel* Label1 = nullptr; // "Nr.Car."
    QLabel* Label2 = nullptr; // "Data Ritiro"
    QLabel* Label3 = nullptr; // "Nr. Iniziale"
    QLabel* Label4 = nullptr; // "Nr. Finale"
    QLabel* Label5 = nullptr; // "Ass.F."
    ListBox* List1 = nullptr;
    QPushButton* Command3D2 = nullptr; // "Conferma"
    QPushButton* Command3D1 = nullptr; // "Uscita"

private:
    friend void RiportaCarnetScelto();
    qint16 modo_ = ElencoPerCarnet;
    int riportato_ = 0;
};

// Copies the book of the selected line into its caller: in mode 0 (or any mode but
// 1) into the cheque-book form (Form3::mostraCarnet); in mode 1 it becomes the
// picker's carnetRiportato() for the cheque form, and the mode returns to 0.
void RiportaCarnetScelto();

// Shows the picker modally for `modo` and returns, for mode 1, the row of
// TabellaCarnet of the book picked (0 when the user left without a pick); the cheque
// form then lists that book's leaves. For the other modes returns 0.
int mostraElencoCarnet(qint16 modo);

} // namespace qv
