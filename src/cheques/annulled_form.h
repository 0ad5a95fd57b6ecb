#pragma once
// Form17: "Assegni annullati", the list of the annulled cheques.

#include "platform/form_host.h"

class QPushButton;

namespace qv {

class ListBox;

class Form17 : public Form {
    Q_OBJECT
public:
    explicit Form17(QWidget* parent = nullptr);

    void Form_Load() override;

    void Command3D1_Click();

    ListBox* List1 = nullptr;
    // "Stampa": prints the annulled cheques (the printed list belongs to the reports).
    QPushButton* PulStampe = nullptr;
    QPushButton* Command3D1 = nullptr;
};

// The main window's "Assegni annullati" and the movement form's "Visualizza Assegni
// annullati ": the annulled list rebuilt, then Form17 shown modally.
void mostraAssegniAnnullati();

} // namespace qv
