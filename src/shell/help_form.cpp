// Help1, "help": the help text on the causali, read from Help01.txt.
#include "help_form.h"

#include "common/file_names.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "flags_form.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qv {

QString testoAiuto() {
    // The program folder's own Help01.txt comes first; the shipped copy stands in
    // for it only when the folder has none. Nothing is created either way.
    QString path = resolveFile(stato().PercorsoProgramma, Help01File);
    if (!QFileInfo(path).isFile()) {
        initShellResources();
        path = QString::fromLatin1(HelpTextResource);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QString text = fromCp1252(file.readAll());
    // A Windows text file ends its lines with CR LF; a lone CR or LF also breaks
    // the line, as the text box shows it.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

Help1::Help1(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Help1"));
    setCaption(QStringLiteral("help"));

    Label1 = new QLabel(QStringLiteral("GESTIONE CAUSALI"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    Label1->setFont(heading);

    help01 = new QPlainTextEdit(this);
    help01->setObjectName(QStringLiteral("help01"));
    help01->setReadOnly(true);
    help01->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    help01->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Label1->setBuddy(help01);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(help01, 1);
    resize(640, 480);
}

void Help1::Form_Load() {
    help01->setPlainText(testoAiuto());
}

} // namespace qv
