#pragma once
// Form1: "Conversione dati", importa's one window: the folder to convert, its
// accounts, "Conferma" and "Uscita".

#include "platform/form_host.h"

class QFileSystemModel;
class QLabel;
class QPushButton;

namespace qv {

class FolderTree;
class ListBox;

class Form1 : public Form {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    void Form_Activate() override;
    // The user picked another folder in the tree.
    void Dir1_Change();
    void ListaConti_DblClick();
    void AddAnItem_Click();
    void esci_Click();

    // Refills ListaConti with the accounts of PercorsoConversione.
    void CaricaListaConti();
    // Takes folder as the folder to convert: shows it in the tree and in NomeFile,
    // and lists its accounts.
    void prendiCartella(const QString& folder);

    // The folder to convert, ending in "/".
    QString PercorsoConversione;

    // Folder tree in place of the drive and folder lists.
    FolderTree* Dir1 = nullptr;
    QFileSystemModel* Cartelle = nullptr;
    QLabel* NomeFile = nullptr;
    ListBox* ListaConti = nullptr;
    QPushButton* AddAnItem = nullptr;
    QPushButton* esci = nullptr;
};

} // namespace qv
