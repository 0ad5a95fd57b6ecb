// Qt's own texts in Italian, whatever the machine's locale.
#include "platform/translation.h"

#include <QFileSystemModel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(TranslationTest, QtsOwnTextsAreItalianOnAMachineInEnglish) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(qv::installItalianTranslation());
    EXPECT_TRUE(qv::installItalianTranslation()); // once is enough

    // The exit question as the user sees it.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("AVVERTIMENTO!"),
                    QStringLiteral("Sei Sicuro di Voler Uscire?"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Annulla"));

    // The headings over the folder trees.
    QFileSystemModel folders;
    QStringList headings;
    for (int column = 0; column < folders.columnCount(); ++column)
        headings << folders.headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headings, (QStringList{QStringLiteral("Nome"), QStringLiteral("Dimensione"),
                                     QStringLiteral("Tipo"), QStringLiteral("Data di modifica")}));
    QLocale::setDefault(QLocale::c());
}

} // namespace
