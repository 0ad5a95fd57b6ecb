#pragma once
// Masked input fields: the date field with its "##/##/####" mask, and the amount
// field with its display format.

#include <QLineEdit>

namespace qv {

// The width that shows `characters` characters of text whole in `field`, even in wide
// capitals, with the field's frame and margins.
int fieldWidthFor(const QWidget* field, int characters);

// A date typed as eight digits into "__/__/____". Its text, testo(), reads as
// the screen shows it: "__/__/____" when empty, "01/06/____" when half typed; that
// text, and nothing else, is what the forms check and store. A digit typed over a
// filled date replaces the digit at the cursor, a selection is replaced by what is
// typed, and a digit that finds no place left (the cursor after the year) is refused
// with a beep rather than dropped without a sound.
class DateField : public QLineEdit {
    Q_OBJECT
public:
    // The text of an empty field.
    static QString emptyText();

    explicit DateField(const QString& name = QString(), QWidget* parent = nullptr);

    QString testo() const;
    // Sets the text: "DD/MM/YYYY", or digits and "_" in those places; an empty
    // text or "__/__/____" empties the field.
    void setTesto(const QString& text);
    bool isBlank() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// An amount as typed, with an optional display format: when the field is left
// holding a number typed the Italian way, the number is shown in that format. When
// the focus enters the field while it shows an amount, the whole text is selected,
// so that what is typed replaces it instead of being appended to it.
class AmountField : public QLineEdit {
    Q_OBJECT
public:
    explicit AmountField(const QString& name = QString(), QWidget* parent = nullptr);

    // Shows a value in the given pattern (see formatNumber).
    void setImporto(double shown, const QString& pattern);
    // The display format; empty (the default) leaves the text as typed.
    void setFormato(const QString& pattern) { formato_ = pattern; }
    QString formato() const { return formato_; }
    // The text as it stands.
    QString testo() const { return text(); }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString formato_;
    bool selectOnRelease_ = false; // focus came by a click: select once the click ends
};

} // namespace qv
