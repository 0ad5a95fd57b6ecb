#include "fields.h"

#include "common/amounts.h"
#include "desktop.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace qv {

int fieldWidthFor(const QWidget* field, int characters) {
    return field->fontMetrics().horizontalAdvance(QString(characters, u'M')) + 16;
}

QString DateField::emptyText() {
    return QStringLiteral("__/__/____");
}

DateField::DateField(const QString& name, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    setInputMask(QStringLiteral("00/00/0000;_"));
}

QString DateField::testo() const {
    return displayText();
}

bool DateField::isBlank() const {
    return displayText() == emptyText();
}

void DateField::setTesto(const QString& text) {
    // The mask takes digits only; a "_" stands for a place not typed, which the
    // mask shows as its blank.
    QString digits;
    for (QChar c : text)
        if (c.isDigit() || c == QLatin1Char('_') || c == QLatin1Char(' '))
            digits += c.isDigit() ? c : QLatin1Char(' ');
    if (digits.trimmed().isEmpty()) {
        clear();
        return;
    }
    digits = digits.left(8).leftJustified(8, QLatin1Char(' '));
    setText(digits.left(2) + QLatin1Char('/') + digits.mid(2, 2) + QLatin1Char('/') +
            digits.mid(4, 4));
}

void DateField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Typing starts at the first place not yet filled (the start when none is),
    // however the field got the focus, except where the mouse put the cursor.
    if (event->reason() == Qt::MouseFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    const int blank = displayText().indexOf(QLatin1Char('_'));
    deselect();
    setCursorPosition(blank < 0 ? 0 : blank);
}

void DateField::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool digit = typed.size() == 1 && typed.at(0).isDigit() &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (digit && !hasSelectedText()) {
        // The places still ahead of the cursor; the separators are skipped.
        const QString shown = displayText();
        bool place = false;
        for (int i = cursorPosition(); i < shown.size() && !place; ++i)
            place = shown.at(i) != QLatin1Char('/');
        if (!place) {
            beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void DateField::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    // A click past the places already filled puts the cursor on the first one
    // still free, so that digits typed after it fill the date from its start.
    const int blank = displayText().indexOf(QLatin1Char('_'));
    if (!hasSelectedText() && blank >= 0 && cursorPosition() > blank)
        setCursorPosition(blank);
}

AmountField::AmountField(const QString& name, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
}

void AmountField::setImporto(double shown, const QString& pattern) {
    setText(formatNumber(shown, pattern));
}

void AmountField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    selectOnRelease_ = false;
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (text().isEmpty()) return;
    if (reason == Qt::MouseFocusReason) {
        // The click that brought the focus would place the cursor and undo a
        // selection made now: the text is selected when the click ends.
        selectOnRelease_ = true;
        return;
    }
    selectAll();
}

void AmountField::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    // A drag that selected part of the text keeps that selection.
    if (selectOnRelease_ && !hasSelectedText() && !text().isEmpty()) selectAll();
    selectOnRelease_ = false;
}

void AmountField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (formato_.isEmpty() || event->reason() == Qt::ActiveWindowFocusReason ||
        event->reason() == Qt::PopupFocusReason)
        return;
    if (const auto value = parseAmount(text(), true)) setText(formatNumber(*value, formato_));
}

} // namespace qv
