#pragma once
// ManutCaus: the causali maintenance window "Manutenzione causali".

#include "platform/form_host.h"

#include <functional>

class QLabel;
class QPushButton;

namespace qv {

class ListBox;

class ManutCaus : public Form {
    Q_OBJECT
public:
    explicit ManutCaus(QWidget* parent = nullptr);

    void Form_Load() override;

    void ElencoCausali_DblClick();
    void List1_DblClick();
    void Saldi_Click();
    void esci_Click();
    void SSCommand1_Click();

    // What the help button opens: the help on the causali, the shell's window, which
    // the main window opens.
    static void impostaRichiestaAiuto(std::function<void()> richiesta);

    QLabel* Label1 = nullptr; // "Causali presenti in archivio"
    QLabel* Label2 = nullptr; // "Causali da registrare"
    ListBox* ElencoCausali = nullptr;
    ListBox* List1 = nullptr;
    QPushButton* Saldi = nullptr;
    QPushButton* esci = nullptr;
    QPushButton* SSCommand1 = nullptr;
};

} // namespace qv
