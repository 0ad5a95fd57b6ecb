#pragma once
// Help1, "help": the help text on the causali, read from Help01.txt.

#include "platform/form_host.h"

class QLabel;
class QPlainTextEdit;

namespace qv {

class Help1 : public Form {
    Q_OBJECT
public:
    explicit Help1(QWidget* parent = nullptr);

    void Form_Load() override;

    QLabel* Label1 = nullptr;
    QPlainTextEdit* help01 = nullptr;
};

// The text of Help01.txt: the program folder's file when there is one, else the
// copy shipped with the program; Windows-1252 bytes, line ends as line breaks.
// Creates nothing.
QString testoAiuto();

} // namespace qv
