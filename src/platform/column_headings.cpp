#include "column_headings.h"

#include "list_box.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QStyle>

namespace qv {

ColumnHeadings::ColumnHeadings(ListBox* list, QWidget* parent, int margin)
    : QWidget(parent), list_(list), margin_(margin) {}

void ColumnHeadings::add(QLabel* heading, int column, bool endsAtColumn) {
    heading->setParent(this);
    headings_.push_back({heading, column, endsAtColumn});
}

QSize ColumnHeadings::sizeHint() const {
    return {0, QFontMetrics(list_->font()).height() + margin_};
}

void ColumnHeadings::resizeEvent(QResizeEvent*) {
    arrange();
}

void ColumnHeadings::showEvent(QShowEvent*) {
    arrange();
}

void ColumnHeadings::arrange() {
    const QFont font = list_->font();
    // The width of n characters, measured whole: a character's advance need not be a
    // whole number of pixels, and rounding it drifts by several columns across a line.
    const QFontMetricsF metrics(font);
    const auto larghezza = [&metrics](int n) {
        return n > 0 ? qRound(metrics.horizontalAdvance(QString(n, QLatin1Char('0')))) : 0;
    };
    // Where the list draws the first character of a line.
    const int start = list_->frameWidth() +
                      list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
    for (const Heading& h : headings_) {
        h.label->setFont(font);
        h.label->adjustSize();
        const int x = h.endsAtColumn ? start + larghezza(h.column) - h.label->width()
                                     : start + larghezza(h.column - 1);
        h.label->move(x, 0);
    }
}

} // namespace qv
