#pragma once
// Form28: "Altre opzioni", what a free commission of the conditions editor is computed on.

#include "platform/form_host.h"

#include <QString>

#include <array>
#include <optional>

class QPushButton;
class QRadioButton;

namespace qv {

class Form28 : public Form {
    Q_OBJECT
public:
    explicit Form28(QWidget* parent = nullptr);

    // Before the dialog is shown: selects the element of `codice` ("1" to "6"); any
    // other code leaves the selection the dialog has. Forgets the last confirmation.
    void preparaScelta(const QString& codice);
    // The code confirmed by "Conferma" since preparaScelta; none after " Uscita ".
    std::optional<QString> sceltaConfermata() const { return confermata_; }

    void OK_Click();
    void Esc_Click();

    std::array<QRadioButton*, 6> Option1{};
    QPushButton* OK = nullptr;
    QPushButton* Esc = nullptr;

private:
    std::optional<QString> confermata_;
};

} // namespace qv
