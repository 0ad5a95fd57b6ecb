#include "list_box.h"

#include <QKeyEvent>

#include <algorithm>
#include <cmath>

namespace qv {

QColor fromWindowsColor(double value) {
    if (!std::isfinite(value)) return QColor(0, 0, 0);
    const auto v = static_cast<qint64>(std::llround(std::fmod(value, 4294967296.0)));
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

double toWindowsColor(const QColor& color) {
    const QColor c = color.toRgb();
    return c.red() + 256.0 * c.green() + 65536.0 * c.blue();
}

// ---------------------------------------------------------------------------
// ListModel

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
    const ListItem& item = items_[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole) return item.text;
    if (role == Qt::UserRole) return item.data;
    return {};
}

int ListModel::add(const QString& text, qint32 data) {
    auto pos = items_.end();
    if (sorted_)
        pos = std::upper_bound(items_.begin(), items_.end(), text,
                               [](const QString& t, const ListItem& item) {
                                   return compareListText(t, item.text) < 0;
                               });
    const int row = static_cast<int>(pos - items_.begin());
    beginInsertRows(QModelIndex(), row, row);
    items_.insert(pos, ListItem{text, data});
    endInsertRows();
    return row;
}

void ListModel::assign(std::vector<ListItem> items) {
    if (sorted_)
        std::stable_sort(items.begin(), items.end(), [](const ListItem& x, const ListItem& y) {
            return compareListText(x.text, y.text) < 0;
        });
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

void ListModel::removeAt(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows(QModelIndex(), row, row);
    items_.erase(items_.begin() + row);
    endRemoveRows();
}

// ---------------------------------------------------------------------------
// ListBox

ListBox::ListBox(const QString& name, QWidget* parent)
    : QListView(parent), model_(new ListModel(this)) {
    setObjectName(name);
    setModel(model_);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit rowClicked(index.row());
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit rowDoubleClicked(index.row());
    });
}

void ListBox::setSorted(bool sorted) {
    if (sorted == model_->isSorted()) return;
    model_->setSorted(sorted);
    if (sorted) model_->assign(model_->items());
}

void ListBox::setFixedPitch(bool fixed) {
    QFont f = font();
    if (fixed) {
        f.setFamily(QStringLiteral("Courier New"));
        f.setStyleHint(QFont::TypeWriter);
        f.setFixedPitch(true);
    } else {
        f = QFont();
    }
    setFont(f);
}

int ListBox::addItem(const QString& text, qint32 data) {
    return model_->add(text, data);
}

void ListBox::setItems(std::vector<ListItem> items) {
    model_->assign(std::move(items));
}

void ListBox::clear() {
    model_->assign({});
}

void ListBox::removeRow(int row) {
    model_->removeAt(row);
}

int ListBox::count() const {
    return model_->rowCount();
}

QString ListBox::text(int row) const {
    if (row < 0 || row >= count()) return {};
    return model_->items()[static_cast<size_t>(row)].text;
}

qint32 ListBox::data(int row) const {
    if (row < 0 || row >= count()) return 0;
    return model_->items()[static_cast<size_t>(row)].data;
}

int ListBox::currentRow() const {
    const QModelIndex index = currentIndex();
    if (!index.isValid() || !selectionModel()->isSelected(index)) return -1;
    return index.row();
}

void ListBox::setCurrentRow(int row) {
    if (row < 0 || row >= count()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex index = model_->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void ListBox::setColors(const QColor& text, const QColor& background) {
    QPalette p = palette();
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Base, background);
    setPalette(p);
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListView::keyPressEvent(event);
    const int after = currentRow();
    if (after >= 0 && after != before) emit rowClicked(after);
}

// ---------------------------------------------------------------------------
// ComboBox

ComboBox::ComboBox(const QString& name, QWidget* parent) : QComboBox(parent) {
    setObjectName(name);
}

int ComboBox::addItem(const QString& text, qint32 data) {
    int pos = count();
    if (sorted_) {
        // First line that sorts after the new one.
        int lo = 0;
        int hi = count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (compareListText(text, itemText(mid)) < 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        pos = lo;
    }
    insertItem(pos, text, data);
    return pos;
}

qint32 ComboBox::data(int index) const {
    return itemData(index).toInt();
}

int ComboBox::findLine(const QString& text) const {
    return findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

} // namespace qv
