#include "folder_tree.h"

#include "common/paths.h"

#include <QDir>
#include <QFileSystemModel>

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

} // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent) {
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setReadOnly(true);
    folders_->setRootPath(QStringLiteral("/"));

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
        if (!showing_) emit folderChosen();
    });
}

void FolderTree::showFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(folderWithSlash(folder));
    if (clean.isEmpty()) return;
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
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return QString();
    return folderWithSlash(folders_->filePath(index));
}

} // namespace qv
