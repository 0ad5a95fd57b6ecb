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
    if (parent.isValid()) return 0;
    return static_cast<int>(text_ ? data_.size() : items_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole) return textAt(index.row());
    if (role == Qt::UserRole) return dataAt(index.row());
    return {};
}

QString ListModel::textAt(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    if (text_) return text_(data_[static_cast<size_t>(row)]);
    return items_[static_cast<size_t>(row)].text;
}

qint32 ListModel::dataAt(int row) const {
    if (row < 0 || row >= rowCount()) return 0;
    if (text_) return data_[static_cast<size_t>(row)];
    return items_[static_cast<size_t>(row)].data;
}

const std::vector<ListItem>& ListModel::items() const {
    if (!text_) return items_;
    if (!madeItemsValid_) {
        madeItems_.clear();
        madeItems_.reserve(data_.size());
        for (qint32 d : data_)
            madeItems_.push_back(ListItem{text_(d), d});
        madeItemsValid_ = true;
    }
    return madeItems_;
}

void ListModel::makeTexts() {
    if (!text_) return;
    std::vector<ListItem> made = items();
    text_ = nullptr;
    data_.clear();
    madeItems_.clear();
    madeItemsValid_ = false;
    items_ = std::move(made);
}

void ListModel::assignLines(std::vector<qint32> data, LineText text) {
    beginResetModel();
    items_.clear();
    madeItems_.clear();
    madeItemsValid_ = false;
    data_ = std::move(data);
    text_ = text ? std::move(text) : LineText([](qint32) { return QString(); });
    endResetModel();
}

void ListModel::insertLine(int row, qint32 data) {
    if (!text_) {
        row = std::clamp(row, 0, rowCount());
        beginInsertRows(QModelIndex(), row, row);
        items_.insert(items_.begin() + row, ListItem{QString(), data});
        endInsertRows();
        return;
    }
    row = std::clamp(row, 0, rowCount());
    beginInsertRows(QModelIndex(), row, row);
    data_.insert(data_.begin() + row, data);
    madeItemsValid_ = false;
    endInsertRows();
}

void ListModel::refreshTexts() {
    madeItemsValid_ = false;
    if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
}

int ListModel::add(const QString& text, qint32 data) {
    makeTexts();
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
    text_ = nullptr;
    data_.clear();
    madeItems_.clear();
    madeItemsValid_ = false;
    items_ = std::move(items);
    endResetModel();
}

void ListModel::removeAt(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows(QModelIndex(), row, row);
    if (text_) {
        data_.erase(data_.begin() + row);
        madeItemsValid_ = false;
    } else {
        items_.erase(items_.begin() + row);
    }
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
    if (sorted) model_->assign(std::vector<ListItem>(model_->items()));
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

void ListBox::setLines(std::vector<qint32> data, LineText text) {
    model_->assignLines(std::move(data), std::move(text));
}

void ListBox::insertLine(int row, qint32 data) {
    model_->insertLine(row, data);
}

void ListBox::refreshTexts() {
    model_->refreshTexts();
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
    return model_->textAt(row);
}

qint32 ListBox::data(int row) const {
    return model_->dataAt(row);
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
