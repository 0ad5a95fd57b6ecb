#pragma once
// List boxes and combo boxes, plain or sorted, whose lines may carry a number
// (the record a line stands for). The list box is a model/view list with
// uniform line heights, so that tens of thousands of lines stay instant.

#include "common/list_order.h" // compareListText, the order of a sorted list

#include <QAbstractListModel>
#include <QColor>
#include <QComboBox>
#include <QListView>

#include <functional>
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

// How the text of a line is made from its number, for a list whose lines are made only
// when they are shown.
using LineText = std::function<QString(qint32 data)>;

// The lines of a ListBox: each a text and a number, or, for a long list, only the
// numbers in order and the way to make a line's text from its number (made each time
// the line is shown or read).
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
    // The lines as numbers in their order, their texts made by `text`. A sorted list
    // stops sorting: the numbers come in the order the caller gives them.
    void assignLines(std::vector<qint32> data, LineText text);
    // Inserts one line of number `data` at `row` (of a list made by assignLines).
    void insertLine(int row, qint32 data);
    // Tells the views that every line may read differently now (the texts are made
    // afresh the next time they are shown).
    void refreshTexts();
    void removeAt(int row);

    QString textAt(int row) const;
    qint32 dataAt(int row) const;
    // Every line with its text. For a list made by assignLines the texts are made here.
    const std::vector<ListItem>& items() const;
    // Whether the texts are made when shown (assignLines).
    bool madeWhenShown() const { return bool(text_); }

private:
    // A list made by assignLines becomes one of texts and numbers (before add).
    void makeTexts();

    std::vector<ListItem> items_;
    std::vector<qint32> data_;                // the numbers of a list made by assignLines
    LineText text_;                           // how its texts are made; empty otherwise
    mutable std::vector<ListItem> madeItems_; // items() of such a list, made on demand
    mutable bool madeItemsValid_ = false;
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
    // Replaces all lines with lines whose texts are made only when shown or read:
    // `data` the number of each line in order, `text` how a line's text is made from
    // it. The way to show a list of tens of thousands of records.
    void setLines(std::vector<qint32> data, LineText text);
    // Inserts one line at `row` in a list filled by setLines.
    void insertLine(int row, qint32 data);
    // Shows the lines again, their texts made afresh.
    void refreshTexts();
    void clear();
    void removeRow(int row);

    int count() const;
    QString text(int row) const;
    qint32 data(int row) const;
    const std::vector<ListItem>& items() const { return model_->items(); }
    ListModel* listModel() const { return model_; }

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
