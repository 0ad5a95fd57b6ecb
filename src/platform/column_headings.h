#pragma once
// Headings over the columns of a fixed-pitch list: each heading stands over a
// character column of the list's lines, in the list's font, wherever the list's
// frame and margins put the text.

#include <QWidget>

#include <vector>

class QLabel;

namespace qv {

class ListBox;

class ColumnHeadings : public QWidget {
public:
    // The row is one line of the list's font high, plus `margin` pixels.
    explicit ColumnHeadings(ListBox* list, QWidget* parent = nullptr, int margin = 2);

    // Takes heading as a child. It starts at `column` of the list's lines
    // (counted from 1), or ends there when `endsAtColumn` (a right-aligned
    // column such as an amount).
    void add(QLabel* heading, int column, bool endsAtColumn = false);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void arrange();

    struct Heading {
        QLabel* label;
        int column;
        bool endsAtColumn;
    };
    ListBox* list_;
    int margin_;
    std::vector<Heading> headings_;
};

} // namespace qv
