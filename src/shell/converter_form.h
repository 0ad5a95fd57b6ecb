#pragma once
// Convertore, "Conversione valute": converts an amount between two currencies of the table.

#include "platform/form_host.h"

class QLabel;
class QPushButton;

namespace qv {

class AmountField;
class ComboBox;

class Convertore : public Form {
    Q_OBJECT
public:
    explicit Convertore(QWidget* parent = nullptr);

    void Form_Load() override;

    QLabel* SSPanel1 = nullptr;
    ComboBox* Combo1 = nullptr;
    ComboBox* Combo2 = nullptr;
    AmountField* ImDa = nullptr;
    AmountField* Euros = nullptr;
    AmountField* ImA = nullptr;
    QPushButton* SSCommand1 = nullptr;

    void SSCommand1_Click();
};

} // namespace qv
