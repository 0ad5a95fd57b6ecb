#pragma once
// FORM12: the causale picker "Elenco Causali".

#include "common/records.h"
#include "platform/form_host.h"

#include <optional>

class QPushButton;

namespace qv {

class ListBox;

class FORM12 : public Form {
    Q_OBJECT
public:
    explicit FORM12(QWidget* parent = nullptr);

    void Form_Load() override;

    void List1_Click();
    void List1_DblClick();
    void OK_Click();
    void Command2_Click();

    // Hands the causale of the selected line to the form that opened the picker, as
    // ModoElencoCausali names it (0 the movement form, 1 the alignment form, 2 the
    // change of a listed movement), through causaleScelta. In mode 0 (and any mode
    // other than 1 and 2) IndiceCausaleScelta becomes 0. False when no line is
    // selected or its causale is no longer in the table.
    bool RiportaCausaleScelta();

    ListBox* List1 = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Command2 = nullptr;

signals:
    // A causale was picked for the caller of mode `modo`: code and description with
    // trailing blanks removed, the flags as stored. The caller copies what it shows
    // and moves its focus on (the movement form: code, description, suspended and
    // in/out; the alignment form and the change of a listed movement: code,
    // description and in/out).
    void causaleScelta(qint16 modo, const qv::VoceCausale& causale);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::optional<VoceCausale> causaleSelezionata() const;
    void prendiScelta();
};

} // namespace qv
