#pragma once
// Form17: "Assegni annullati", the list of the annulled cheques.

#include "platform/form_host.h"

#include <functional>

class QPushButton;

namespace qv {

class ListBox;

class Form17 : public Form {
    Q_OBJECT
public:
    explicit Form17(QWidget* parent = nullptr);

    void Form_Load() override;

    // Fills List1 with the annulled cheques of the leaf table.
    void riempiElenco();

    // What "Stampa" prints (the annulled cheques report, connected by the main window).
    static void impostaStampa(std::function<void()> azione);

    void PulStampe_Click();
    void Command3D1_Click();

    ListBox* List1 = nullptr;
    QPushButton* PulStampe = nullptr; // "Stampa": the printed list of annulled cheques
    QPushButton* Command3D1 = nullptr;
};

// The main window's "Assegni annullati" and the movement form's "Visualizza Assegni
// annullati ": the annulled list rebuilt, then Form17 shown modally.
void mostraAssegniAnnullati();

} // namespace qv
