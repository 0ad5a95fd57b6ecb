#pragma once
// A tree of the machine's folders from "/", in place of a drive list and a
// folder list: picking a folder in it is one click.

#include <QTreeView>

class QFileSystemModel;

namespace qv {

// The caption above a folder tree: "Percorso: " and the folder.
QString percorsoDi(const QString& folder);

class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

    // The folders the tree shows, read in the background as they are opened.
    QFileSystemModel* folders() const { return folders_; }

    // Selects folder, opens the tree down to it and brings it into view without
    // emitting folderChosen. Before the tree is first read (shown, or asked for its
    // choice) the folder is kept and selected then.
    // A folder the tree cannot find leaves the selection as it was.
    void showFolder(const QString& folder);
    // The selected folder, ending in "/"; empty when none is selected.
    QString chosenFolder() const;

signals:
    // The selection moved to another folder, other than through showFolder.
    void folderChosen();

protected:
    // A tree with no folder selected does not take its first folder when it gets the
    // focus, as item views do: only the user chooses a folder.
    void focusInEvent(QFocusEvent* event) override;
    // A tree shown with a folder selected brings it into view.
    void showEvent(QShowEvent* event) override;

private:
    void bringChoiceIntoView();
    // The first reading of the folders, from "/", and the selection of the folder kept
    // for it; nothing once done.
    void leggi();

    QFileSystemModel* folders_;
    bool showing_ = false;
    bool letto_ = false;
    // The folder showFolder was given before the first reading.
    QString daMostrare_;
};

} // namespace qv
