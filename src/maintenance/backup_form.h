#pragma once
// Form18: "Backup dati" / "Ripristina Dati", the backup copies of the data files in a
// folder the user chooses, and their restore.

#include "platform/form_host.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qv {

class FolderTree;

// What Form18 does: the menu that shows it says.
enum class ModoCopie { Backup, Ripristino };

class Form18 : public Form {
    Q_OBJECT
public:
    explicit Form18(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;

    // Backup ("Esegui copie di sicurezza") or restore ("Ripristina copie").
    void impostaModo(ModoCopie modo) { modo_ = modo; }
    ModoCopie modo() const { return modo_; }

    void Dir1_Change();
    void TuttiConti_Click();
    void ContoAttivo_Click();
    void Salva_Click();
    void esci_Click();

    QGroupBox* Panel3D1 = nullptr; // "Copie di sicurezza"
    QLabel* NomeFile = nullptr;    // "Percorso: " and the folder
    // One folder tree stands in for the drive and the folder lists.
    FolderTree* Dir1 = nullptr;
    QGroupBox* Frame3D1 = nullptr; // "Opzioni"
    QRadioButton* TuttiConti = nullptr;
    QRadioButton* ContoAttivo = nullptr;
    QPushButton* Salva = nullptr; // "Conferma"
    QPushButton* esci = nullptr;  // "Uscita"

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void mostraPercorso();

    ModoCopie modo_ = ModoCopie::Backup;
};

// "Esegui copie di sicurezza" (Backup) and "Ripristina copie" (Ripristino): Form18 in
// that mode, as a modal dialog.
void mostraCopieSicurezza(ModoCopie modo);

} // namespace qv
