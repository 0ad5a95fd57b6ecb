#include "folder_tree.h"

#include "common/paths.h"

#include <QAbstractFileIconProvider>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>

#include <utility>

namespace qv {

QString percorsoDi(const QString& folder) {
    return QStringLiteral("Percorso: ") + folder;
}

namespace {

// Whether folder is path itself or lies below it.
bool isWithin(const QString& path, const QString& folder) {
    if (folder == path) return true;
    const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    return folder.startsWith(prefix);
}

// The icons and types of the model's entries: a folder's as Qt gives them, none for a
// file. The tree lists folders only, and its type column is hidden, yet the model asks
// for every entry of each folder it reads; for a file Qt would look its type up in the
// MIME database, which is most of the cost of opening the tree.
class IconeSoloCartelle : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QAbstractFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override {
        return info.isDir() ? QAbstractFileIconProvider::icon(info) : QIcon();
    }
    QString type(const QFileInfo& info) const override {
        return info.isDir() ? QAbstractFileIconProvider::type(info) : QString();
    }
};

} // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent) {
    folders_ = new QFileSystemModel(this);
    // One provider for every tree, kept to the end: the model and its reading thread
    // hold a pointer to it.
    static auto* const icone = new IconeSoloCartelle;
    folders_->setIconProvider(icone);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setReadOnly(true);
    // The folders are read from "/" only once the tree is first shown or asked for its
    // choice (leggi): a form that holds a tree is often made long before it shows, at
    // the program's start-up.

    setModel(folders_);
    setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column)
        hideColumn(column);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    // The model reads folders in the background: once a folder along the
    // selected one is read, bring the selection back into view. Folders the
    // user opens elsewhere leave the view where the user put it.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && isWithin(path, folders_->filePath(current))) bringChoiceIntoView();
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (showing_) return;
        // A choice made before the first reading replaces the folder kept for it.
        daMostrare_.clear();
        emit folderChosen();
    });
}

void FolderTree::leggi() {
    if (letto_) return;
    letto_ = true;
    folders_->setRootPath(QStringLiteral("/"));
    if (!daMostrare_.isEmpty()) showFolder(std::exchange(daMostrare_, QString()));
}

void FolderTree::showFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(folderWithSlash(folder));
    if (clean.isEmpty()) return;
    if (!letto_) {
        // Kept for the first reading; one the tree could not find would leave the
        // selection as it was, so it leaves the folder kept.
        if (QFileInfo(clean).isDir()) daMostrare_ = clean;
        return;
    }
    // A folder inside a hidden one (the data folder under ~/.local/share) can only be
    // shown when the tree lists hidden folders too.
    if (clean.contains(QStringLiteral("/.")) && !(folders_->filter() & QDir::Hidden))
        folders_->setFilter(folders_->filter() | QDir::Hidden);
    const QModelIndex index = folders_->index(clean);
    if (!index.isValid()) return;
    showing_ = true;
    // The tree opens down to the folder, so that it shows the folder its caption names.
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        expand(up);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    showing_ = false;
}

void FolderTree::bringChoiceIntoView() {
    // After the rows just read are laid out: scrolling before would stop short of them.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QModelIndex current = currentIndex();
            if (current.isValid()) scrollTo(current, QAbstractItemView::PositionAtCenter);
        },
        Qt::QueuedConnection);
}

void FolderTree::showEvent(QShowEvent* event) {
    leggi();
    QTreeView::showEvent(event);
    bringChoiceIntoView();
}

void FolderTree::focusInEvent(QFocusEvent* event) {
    if (currentIndex().isValid()) {
        QTreeView::focusInEvent(event);
        return;
    }
    showing_ = true;
    QTreeView::focusInEvent(event);
    // What the view selected by itself is no choice.
    if (currentIndex().isValid()) setCurrentIndex(QModelIndex());
    showing_ = false;
}

QString FolderTree::chosenFolder() const {
    // The choice is the one the tree shows once read.
    const_cast<FolderTree*>(this)->leggi();
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return QString();
    return folderWithSlash(folders_->filePath(index));
}

} // namespace qv
