#include "platform/controls.h"

#include <QLabel>
#include <QPushButton>

namespace qv {

QPushButton* namedButton(QWidget* parent, const QString& name, const QString& caption,
                         const QString& toolTip) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Enter on a focused button is the platform's (enterPressesFocusedButtons), never a
    // default button of Qt's: no field passes Enter on to a button by itself.
    button->setAutoDefault(false);
    if (!toolTip.isEmpty()) button->setToolTip(toolTip);
    return button;
}

QLabel* namedLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace qv
