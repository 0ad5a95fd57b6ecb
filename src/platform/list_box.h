#pragma once
// List boxes and combo boxes, plain or sorted, whose lines may carry a number
// (the record a line stands for). The list box is a model/view list with
// uniform line heights, so that tens of thousands of lines stay instant.

#include "common/list_order.h" // compareListText, the order of a sorted list

#include <QAbstractListModel>
#include <QColor>
#include <QComboBox>
#include <QListView>

#include <vector>

namespace qv {

// A platform colour value (red + 256 × green + 65536 × blue, held as a double in
// the colours file) and back. Only the low 24 bits of the rounded value count.
QColor fromWindowsColor(double value);
double toWindowsColor(const QColor& color);

struct ListItem {
    QString text;
    qint32 data = 0;
};

// The lines of a ListBox.
class ListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void setSorted(bool sorted) { sorted_ = sorted; }
    bool isSorted() const { return sorted_; }
    int add(const QString& text, qint32 data);
    void assign(std::vector<ListItem> items);
    void removeAt(int row);
    const std::vector<ListItem>& items() const { return items_; }

private:
    std::vector<ListItem> items_;
    bool sorted_ = false;
};

class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(const QString& name = QString(), QWidget* parent = nullptr);

    // A sorted list keeps its lines in ascending order (compareListText) whatever
    // the order of adding; switching it on sorts the lines it holds.
    void setSorted(bool sorted);
    bool isSorted() const { return model_->isSorted(); }
    // The fixed-pitch font "Courier New", in the list's current size.
    void setFixedPitch(bool fixed);

    // Adds a line (at its sorted place, or at the end) and returns its row.
    int addItem(const QString& text, qint32 data = 0);
    // Replaces all lines at once; the fast way to fill a long list.
    void setItems(std::vector<ListItem> items);
    void clear();
    void removeRow(int row);

    int count() const;
    QString text(int row) const;
    qint32 data(int row) const;
    const std::vector<ListItem>& items() const { return model_->items(); }

    // The selected row, -1 when none; setCurrentRow(-1) deselects.
    int currentRow() const;
    void setCurrentRow(int row);

    void setColors(const QColor& text, const QColor& background);

signals:
    // The user picked a row, with the mouse or the keyboard.
    void rowClicked(int row);
    void rowDoubleClicked(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ListModel* model_;
};

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(const QString& name = QString(), QWidget* parent = nullptr);

    void setSorted(bool sorted) { sorted_ = sorted; }
    bool isSorted() const { return sorted_; }

    // Adds a line at its sorted place (or at the end) and returns its index.
    int addItem(const QString& text, qint32 data = 0);
    QString text(int index) const { return itemText(index); }
    qint32 data(int index) const;
    // The index of the line whose text is exactly text, -1 when none.
    int findLine(const QString& text) const;

private:
    bool sorted_ = false;
};

} // namespace qv
