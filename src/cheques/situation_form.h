#pragma once
// Form13: "Situazione Assegni emessi", the cheques out and the cheques in hand.

#include "platform/form_host.h"

class QPushButton;

namespace qv {

class ListBox;

class Form13 : public Form {
    Q_OBJECT
public:
    explicit Form13(QWidget* parent = nullptr);

    void Form_Load() override;

    // Fills the two lists with the cheques out and in hand of the leaf table.
    void riempiElenchi();

    void Command3D4_Click();

    ListBox* List1 = nullptr; // cheques out
    ListBox* List2 = nullptr; // cheques in hand
    QPushButton* Command3D4 = nullptr;
};

// The main window's "Assegni fuori" and the situation buttons of the cheque forms:
// Form13 shown modally.
void mostraSituazioneAssegni();

} // namespace qv
