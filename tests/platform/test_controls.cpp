// Masked fields, list boxes, combo boxes, key handling and the desktop helpers.
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/keys.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "support/list_lines.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ListBoxTest, SortedListKeepsWindowsOrderWhateverTheOrderOfAdding) {
    qv::ListBox list(QStringLiteral("List1"));
    list.setSorted(true);
    const QStringList added{QStringLiteral("ROSSI"),   QStringLiteral("Abete"),
                            QStringLiteral("bianchi"), QStringLiteral("ABC - r"),
                            QStringLiteral("12"),      QStringLiteral("AB - q"),
                            QStringLiteral(" - zero"), QStringLiteral("abete")};
    for (int i = 0; i < added.size(); ++i)
        list.addItem(added[i], 100 + i);

    // Blanks before letters, digits before letters, case ignored, and lower case
    // first between lines that differ only in case.
    const QStringList expected{QStringLiteral(" - zero"), QStringLiteral("12"),
                               QStringLiteral("AB - q"),  QStringLiteral("ABC - r"),
                               QStringLiteral("abete"),   QStringLiteral("Abete"),
                               QStringLiteral("bianchi"), QStringLiteral("ROSSI")};
    EXPECT_EQ(qv::test::listLines(&list), expected);
    // Each line keeps the number it was added with.
    for (int i = 0; i < list.count(); ++i)
        EXPECT_EQ(list.data(i), 100 + added.indexOf(list.text(i))) << list.text(i).toStdString();

    list.removeRow(0);
    EXPECT_EQ(list.text(0), QStringLiteral("12"));
    EXPECT_EQ(list.data(0), 104);
    list.setCurrentRow(2);
    EXPECT_EQ(list.currentRow(), 2);
    list.setCurrentRow(-1);
    EXPECT_EQ(list.currentRow(), -1);
}

TEST(ListBoxTest, BulkFillOfThirtyThousandLinesSortsAndCarriesTheRecordNumbers) {
    qv::ListBox plain(QStringLiteral("ElencoMovim"));
    qv::ListBox sorted(QStringLiteral("List1"));
    sorted.setSorted(true);
    std::vector<qv::ListItem> items;
    for (int k = 30000; k >= 1; --k)
        items.push_back({QStringLiteral("riga %1").arg(k, 5, 10, QLatin1Char('0')), k});
    plain.setItems(items);
    sorted.setItems(items);

    ASSERT_EQ(plain.count(), 30000);
    EXPECT_EQ(plain.text(0), QStringLiteral("riga 30000"));
    EXPECT_EQ(plain.data(29999), 1);
    ASSERT_EQ(sorted.count(), 30000);
    EXPECT_EQ(sorted.text(0), QStringLiteral("riga 00001"));
    EXPECT_EQ(sorted.data(0), 1);
    EXPECT_EQ(sorted.text(12344), QStringLiteral("riga 12345"));
    EXPECT_EQ(sorted.data(12344), 12345);
    // A line added afterwards still goes to its place.
    EXPECT_EQ(sorted.addItem(QStringLiteral("riga 12345a"), -7), 12345);
    sorted.clear();
    EXPECT_EQ(sorted.count(), 0);
}

TEST(ListBoxTest, LinesMadeWhenShownReadAsTheirTextsEverywhere) {
    qv::ListBox list(QStringLiteral("ElencoMovim"));
    int made = 0;
    QString prefix = QStringLiteral("mov");
    list.setLines({30, 10, 20}, [&](qint32 k) {
        ++made;
        return QStringLiteral("%1 %2").arg(prefix).arg(k, 4, 10, QLatin1Char('0'));
    });
    EXPECT_EQ(made, 0); // nothing is made until something reads or shows a line
    ASSERT_EQ(list.count(), 3);
    EXPECT_TRUE(list.listModel()->madeWhenShown());
    EXPECT_EQ(list.text(0), QStringLiteral("mov 0030"));
    EXPECT_EQ(list.data(2), 20);
    EXPECT_EQ(list.model()->data(list.model()->index(1, 0)).toString(), QStringLiteral("mov 0010"));
    EXPECT_EQ(list.model()->data(list.model()->index(1, 0), Qt::UserRole).toInt(), 10);
    EXPECT_EQ(qv::test::listLines(&list),
              (QStringList{QStringLiteral("mov 0030"), QStringLiteral("mov 0010"),
                           QStringLiteral("mov 0020")}));

    // One line inserted at its row; the others stay.
    QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
    list.insertLine(1, 15);
    EXPECT_EQ(inserted.count(), 1);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.items()[1].text, QStringLiteral("mov 0015"));
    EXPECT_EQ(list.items()[2].data, 10);

    // Made afresh after refreshTexts, which tells the views.
    QSignalSpy changed(list.model(), &QAbstractItemModel::dataChanged);
    prefix = QStringLiteral("MOV");
    list.refreshTexts();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(list.text(3), QStringLiteral("MOV 0020"));
    EXPECT_EQ(list.items()[0].text, QStringLiteral("MOV 0030"));

    // A line removed, then one added as text: the list keeps every line as it read.
    list.removeRow(0);
    EXPECT_EQ(list.addItem(QStringLiteral("altro"), 99), 3);
    EXPECT_FALSE(list.listModel()->madeWhenShown());
    EXPECT_EQ(qv::test::listLines(&list),
              (QStringList{QStringLiteral("MOV 0015"), QStringLiteral("MOV 0010"),
                           QStringLiteral("MOV 0020"), QStringLiteral("altro")}));
    list.setItems({{QStringLiteral("b"), 2}});
    EXPECT_EQ(list.text(0), QStringLiteral("b"));
}

TEST(ListBoxTest, ClicksAndKeysReportTheRowButSettingItInCodeDoesNot) {
    qv::ListBox list(QStringLiteral("List1"));
    list.resize(200, 200);
    list.show();
    list.addItem(QStringLiteral("uno"), 1);
    list.addItem(QStringLiteral("due"), 2);
    QSignalSpy clicked(&list, &qv::ListBox::rowClicked);
    QSignalSpy doubled(&list, &qv::ListBox::rowDoubleClicked);

    list.setCurrentRow(0);
    EXPECT_EQ(clicked.count(), 0);
    QTest::keyClick(&list, Qt::Key_Down);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);

    const QPoint first = list.visualRect(list.model()->index(0, 0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(1).at(0).toInt(), 0);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, first);
    ASSERT_EQ(doubled.count(), 1);
    EXPECT_EQ(doubled.at(0).at(0).toInt(), 0);
}

TEST(ComboBoxTest, SortedComboInsertsAtItsPlaceAndFindsWholeLines) {
    qv::ComboBox combo(QStringLiteral("Combo1"));
    combo.setSorted(true);
    combo.addItem(QStringLiteral("Lira - Italia"), 2);
    combo.addItem(QStringLiteral("Euro - Europa"), 1);
    combo.addItem(QStringLiteral("dollaro - USA"), 3);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.text(0), QStringLiteral("dollaro - USA"));
    EXPECT_EQ(combo.text(1), QStringLiteral("Euro - Europa"));
    EXPECT_EQ(combo.data(1), 1);
    EXPECT_EQ(combo.findLine(QStringLiteral("Lira - Italia")), 2);
    EXPECT_EQ(combo.findLine(QStringLiteral("Lira")), -1);
    EXPECT_EQ(combo.findLine(QStringLiteral("lira - italia")), -1);
}

TEST(ColorTest, WindowsColourValuesAreRedGreenBlueFromTheLowByte) {
    EXPECT_EQ(qv::fromWindowsColor(255 + 256 * 128 + 65536 * 1), QColor(255, 128, 1));
    EXPECT_EQ(qv::fromWindowsColor(16777215.4), QColor(255, 255, 255));
    EXPECT_EQ(qv::toWindowsColor(QColor(1, 2, 3)), 1 + 256 * 2 + 65536 * 3);
}

TEST(DateFieldTest, ReadsAsTheScreenShowsItAndFillsLeftToRight) {
    QWidget window;
    auto* data = new qv::DateField(QStringLiteral("DataOper"), &window);
    window.show();
    EXPECT_EQ(data->objectName(), QStringLiteral("DataOper"));
    EXPECT_EQ(data->testo(), QStringLiteral("__/__/____"));
    EXPECT_TRUE(data->isBlank());

    data->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(data, QStringLiteral("0106"));
    EXPECT_EQ(data->testo(), QStringLiteral("01/06/____"));
    QTest::keyClicks(data, QStringLiteral("2001"));
    EXPECT_EQ(data->testo(), QStringLiteral("01/06/2001"));

    data->setTesto(QStringLiteral("__/__/____"));
    EXPECT_TRUE(data->isBlank());
    data->setTesto(QStringLiteral("15/08/2023"));
    EXPECT_EQ(data->testo(), QStringLiteral("15/08/2023"));
    // Letters are not taken by the mask.
    data->setTesto(QString());
    data->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(data, QStringLiteral("a1"));
    EXPECT_EQ(data->testo(), QStringLiteral("1_/__/____"));

    // A click in the middle of an empty field still fills it from its start.
    data->setTesto(QString());
    QTest::mouseClick(data, Qt::LeftButton, {}, QPoint(data->width() - 4, data->height() / 2));
    QTest::keyClicks(data, QStringLiteral("0105"));
    EXPECT_EQ(data->testo(), QStringLiteral("01/05/____"));
}

TEST(AmountFieldTest, TypedNumberTakesTheDisplayFormatWhenLeft) {
    QWidget window;
    auto* importo = new qv::AmountField(QStringLiteral("IMPORTO"), &window);
    auto* other = new QLineEdit(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    importo->setImporto(1234567.891, QStringLiteral("#,###,###,##0.00"));
    EXPECT_EQ(importo->testo(), QStringLiteral("1.234.567,89"));

    importo->setFormato(QStringLiteral("#,###,###,##0.00"));
    importo->clear();
    importo->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(importo, QStringLiteral("1234,5"));
    EXPECT_EQ(importo->testo(), QStringLiteral("1234,5"));
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(importo->testo(), QStringLiteral("1.234,50"));

    // Text that is no number stays as typed, for the form to refuse.
    importo->setFocus(Qt::TabFocusReason);
    importo->setText(QStringLiteral("12a"));
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(importo->testo(), QStringLiteral("12a"));
}

// A form whose handlers the key helpers run in.
class KeyForm : public qv::Form {
public:
    KeyForm() {
        Causale = new QLineEdit(this);
        IMPORTO = new QLineEdit(this);
        NrDoc = new QLineEdit(this);
    }
    QLineEdit* Causale;
    QLineEdit* IMPORTO;
    QLineEdit* NrDoc;
};

TEST(KeysTest, EnterMovesFocusAlongTheChainAndIsConsumed) {
    KeyForm form;
    form.show();
    QApplication::setActiveWindow(&form);
    qv::enterMovesFocus(form.Causale, form.IMPORTO);
    QSignalSpy returned(form.Causale, &QLineEdit::returnPressed);

    form.Causale->setFocus();
    QTest::keyClicks(form.Causale, QStringLiteral("AS"));
    QTest::keyClick(form.Causale, Qt::Key_Return);
    EXPECT_EQ(form.focusWidget(), form.IMPORTO);
    EXPECT_EQ(returned.count(), 0);
    EXPECT_EQ(form.Causale->text(), QStringLiteral("AS"));
    // The keypad's Enter counts as Enter; other keys go on as usual.
    form.Causale->setFocus();
    QTest::keyClick(form.Causale, Qt::Key_Enter);
    EXPECT_EQ(form.focusWidget(), form.IMPORTO);
}

TEST(KeysTest, KeyPressSeesTheCharacterCodeAndMayDropOrChangeIt) {
    KeyForm form;
    form.show();
    std::vector<int> seen;
    bool insideHandler = false;
    // Digits only; lower-case letters typed as capitals; anything else dropped.
    qv::onKeyPress(form.NrDoc, [&](int& k) {
        seen.push_back(k);
        insideHandler = form.handlerRunning();
        if (k >= 'a' && k <= 'z')
            k = k - 'a' + 'A';
        else if (!(k >= '0' && k <= '9') && k != 8)
            k = 0;
    });
    form.NrDoc->setFocus();
    QTest::keyClicks(form.NrDoc, QStringLiteral("1b-2"));
    QTest::keyClick(form.NrDoc, Qt::Key_Return);
    QTest::keyClick(form.NrDoc, Qt::Key_Backspace);
    QTest::keyClick(form.NrDoc, Qt::Key_Left); // types nothing: no KeyPress

    EXPECT_EQ(seen, (std::vector<int>{'1', 'b', '-', '2', 13, 8}));
    EXPECT_EQ(form.NrDoc->text(), QStringLiteral("1B"));
    EXPECT_TRUE(insideHandler);
}

TEST(KeysTest, FocusHandlersIgnoreSwitchingWindows) {
    KeyForm form;
    form.show();
    int got = 0;
    int lost = 0;
    qv::onGotFocus(form.IMPORTO, [&] { ++got; });
    qv::onLostFocus(form.IMPORTO, [&] { ++lost; });

    QFocusEvent inFromWindow(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QFocusEvent outToBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(form.IMPORTO, &inFromWindow);
    QApplication::sendEvent(form.IMPORTO, &outToBox);
    EXPECT_EQ(got, 0);
    EXPECT_EQ(lost, 0);

    QFocusEvent inByTab(QEvent::FocusIn, Qt::TabFocusReason);
    QFocusEvent outByMouse(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(form.IMPORTO, &inByTab);
    QApplication::sendEvent(form.IMPORTO, &outByMouse);
    EXPECT_EQ(got, 1);
    EXPECT_EQ(lost, 1);
}

TEST(DesktopTest, HourglassIsRestoredWhicheverWayTheScopeEnds) {
    {
        qv::Hourglass outer;
        {
            qv::Hourglass inner;
            EXPECT_TRUE(qv::hourglassShown());
        }
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        qv::setHourglass(false);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        qv::Hourglass during;
        throw std::runtime_error("fallito");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(qv::hourglassShown());
}

TEST(DesktopTest, CalculatorIsTheFirstFoundElseTheUserIsTold) {
    std::vector<qv::MessageRecord> boxes;
    qv::setMessageResponder([&](const qv::MessageRecord& r) {
        boxes.push_back(r);
        return qv::MessageAnswer::Ok;
    });
    QStringList started;
    qv::setProgramStarter([&](const QString& p) {
        started << p;
        return true;
    });
    QTemporaryDir dir;
    qv::setProgramSearchPaths({dir.path()});

    EXPECT_FALSE(qv::launchCalculator());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, qv::calculatorMissingMessage());
    EXPECT_TRUE(started.isEmpty());

    for (const char* name : {"xcalc", "galculator"}) {
        QFile f(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    }
    EXPECT_TRUE(qv::launchCalculator());
    EXPECT_EQ(started, QStringList{dir.filePath(QStringLiteral("galculator"))});
    EXPECT_EQ(boxes.size(), 1u);

    qv::resetDesktopHooks();
    qv::setMessageResponder({});
}

TEST(DesktopTest, ColourChoiceCancelledGivesNothing) {
    QColor offered;
    qv::setColorChooser([&](const QColor& initial) -> std::optional<QColor> {
        offered = initial;
        return std::nullopt;
    });
    EXPECT_FALSE(qv::chooseColor(QColor(10, 20, 30)).has_value());
    EXPECT_EQ(offered, QColor(10, 20, 30));
    qv::setColorChooser([](const QColor&) { return std::optional<QColor>(Qt::red); });
    EXPECT_EQ(qv::chooseColor(Qt::black), QColor(Qt::red));
    qv::resetDesktopHooks();
}

TEST(NamedControlsTest, ButtonAndLabelCarryTheirNameTextAndParent) {
    QWidget window;
    QPushButton* button = qv::namedButton(&window, QStringLiteral("OK"), QStringLiteral("Conferma"),
                                          QStringLiteral("Conferma i dati"));
    QLabel* label = qv::namedLabel(&window, QStringLiteral("Label1"), QStringLiteral("Dal"));

    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("OK")), button);
    EXPECT_EQ(button->text(), QStringLiteral("Conferma"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Conferma i dati"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Label1")), label);
    EXPECT_EQ(label->text(), QStringLiteral("Dal"));
}

} // namespace
