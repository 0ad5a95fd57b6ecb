#pragma once
// Push buttons and labels made the way every form makes them: owned by their window and
// named, so that the form's member, its objectName and the tests agree.

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace qv {

// A push button with the given objectName and caption, and a tooltip when one is given.
// Whether Enter presses it is left to Qt's default; a form that wants otherwise says so.
QPushButton* namedButton(QWidget* parent, const QString& name, const QString& caption,
                         const QString& toolTip = {});

// A label with the given objectName and text.
QLabel* namedLabel(QWidget* parent, const QString& name, const QString& text);

} // namespace qv
