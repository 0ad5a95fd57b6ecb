// The currency table form and the converter: what each slot button stores, what is
// refused, and how amounts are converted through the Euro.
#include "common/shared_state.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "shell/converter_form.h"
#include "shell/currencies.h"
#include "shell/currency_form.h"
#include "support/bytes.h"
#include "support/fixture.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <limits>
#include <map>

namespace {

using qv::AmountField;
using qv::ComboBox;
using qv::Convertore;
using qv::Form25;
using qv::formHost;
using qv::stato;
using qv::test::text;

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// One 60-byte record: numero (little-endian), name, the rate's eight bytes, country.
QByteArray record(const char* numero, const QByteArray& name, const char* rate,
                  const QByteArray& country) {
    return hex(numero) + text(name, 25) + hex(rate) + text(country, 25);
}

const char* const kLira = "AE47E17A14419E40";   // 1936.27
const char* const kOne = "000000000000F03F";    // 1.0
const char* const kGulden = "FEF15EB532A10140"; // 2.20371

class CurrenciesTest : public qv::test::ProgramTest {
protected:
    QString valute() const { return programFolder() + QStringLiteral("Valute.DAT"); }

    // Fifteen records that the forms must never touch unless asked: each record k is
    // 60 bytes of the letter 'a' + k, except those given.
    QByteArray fillValute(std::map<int, QByteArray> given = {}) {
        QByteArray bytes;
        for (int k = 1; k <= 15; ++k)
            bytes += given.count(k) ? given[k] : QByteArray(60, char('a' + k));
        writeBytes(valute(), bytes);
        return bytes;
    }

    Form25& openTable() {
        auto& form = formHost().form<Form25>();
        formHost().show(form);
        return form;
    }
    AmountField* box(Form25& form, int index) {
        return form.findChild<AmountField*>(QStringLiteral("Box_%1").arg(index));
    }
    QPushButton* button(QWidget& form, const char* name) {
        return form.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void unlock(Form25& form) {
        auto* check = form.findChild<QCheckBox*>(QStringLiteral("Check1"));
        ASSERT_NE(check, nullptr);
        check->click();
        ASSERT_FALSE(check->isChecked());
    }
    void typeRate(Form25& form, int index, const QString& text) {
        AmountField* b = box(form, index);
        ASSERT_NE(b, nullptr);
        b->clear();
        QTest::keyClicks(b, text);
    }
};

TEST_F(CurrenciesTest, TableShowsStoredRatesLockedAndNamesItsControls) {
    fillValute({{7, record("0700", "Lira", kLira, "Italia")},
                {11, record("0B00", "Fiorino", kGulden, "Olanada")},
                {1, QByteArray(60, '\0')}});
    Form25& form = openTable();

    EXPECT_EQ(form.caption(), QStringLiteral("Valute"));
    EXPECT_EQ(box(form, 6)->text(), QStringLiteral("1936,27"));
    EXPECT_EQ(box(form, 10)->text(), QStringLiteral("2,20371"));
    EXPECT_EQ(box(form, 0)->text(), QStringLiteral("0"));
    EXPECT_EQ(box(form, 6)->toolTip(), QStringLiteral("Rapporto di parità con l'Euro"));
    EXPECT_EQ(box(form, 6)->formato(), QStringLiteral("###,##0.######"));

    const std::map<const char*, const char*> captions{
        {"SSCommand1", "Lira - Italia"},       {"SSCommand10", "Fiorino - Olanda"},
        {"SSCommand12", "Franco-Lussemburgo"}, {"SSCommand15", "Sterlina - U.K."},
        {"SSCommand9", "Scellino - Austria"},  {"SSCommand14", "Yen - Giappone"}};
    for (const auto& [name, text] : captions) {
        ASSERT_NE(button(form, name), nullptr) << name;
        EXPECT_EQ(button(form, name)->text(), QString::fromUtf8(text)) << name;
    }
    EXPECT_EQ(button(form, "SSCommand13"), nullptr);
    EXPECT_EQ(button(form, "Command3D8")->text(), QStringLiteral("Uscita"));

    // Locked at open; the check box unlocks and locks all fourteen boxes.
    auto* check = form.findChild<QCheckBox*>(QStringLiteral("Check1"));
    EXPECT_EQ(check->text(), QStringLiteral("blocca i dati"));
    EXPECT_TRUE(check->isChecked());
    for (int i = 0; i < 14; ++i)
        EXPECT_FALSE(box(form, i)->isEnabled()) << i;
    check->click();
    for (int i = 0; i < 14; ++i)
        EXPECT_TRUE(box(form, i)->isEnabled()) << i;
    check->click();
    EXPECT_FALSE(box(form, 13)->isEnabled());
}

TEST_F(CurrenciesTest, SlotButtonStoresOnlyItsOwnRecordAndRow) {
    const QByteArray before = fillValute();
    Form25& form = openTable();
    unlock(form);
    typeRate(form, 6, QStringLiteral("1936,27"));
    button(form, "SSCommand1")->click();

    EXPECT_TRUE(messages.shown().empty());
    const QByteArray lira = hex("0700") + "Lira                     " + hex("AE47E17A14419E40") +
                            "Italia                   ";
    ASSERT_EQ(lira.size(), 60);
    const QByteArray after = readBytes(valute());
    ASSERT_EQ(after.size(), 900);
    EXPECT_EQ(after.mid(6 * 60, 60), lira);
    EXPECT_EQ(after.left(6 * 60), before.left(6 * 60));
    EXPECT_EQ(after.mid(7 * 60), before.mid(7 * 60));

    const qv::Valuta& row = stato().TabellaValute[7];
    EXPECT_EQ(row.numero, 7);
    EXPECT_EQ(row.cambio, 1936.27);
    EXPECT_EQ(row.nomeValuta.trimmed(), QStringLiteral("Lira"));
    EXPECT_EQ(row.paese.trimmed(), QStringLiteral("Italia"));
}

TEST_F(CurrenciesTest, GuldenKeepsItsStoredCountryInEveryList) {
    Form25& form = openTable();
    unlock(form);
    typeRate(form, 10, QStringLiteral("2,20371"));
    button(form, "SSCommand10")->click();

    const QByteArray after = readBytes(valute());
    ASSERT_EQ(after.size(), 11 * 60); // a missing file is created up to the record written
    EXPECT_EQ(after.mid(10 * 60), record("0B00", "Fiorino", kGulden, "Olanada"));
    EXPECT_EQ(after.left(10 * 60), QByteArray(10 * 60, '\0'));

    auto& conv = formHost().form<Convertore>();
    auto* combo = conv.findChild<ComboBox*>(QStringLiteral("Combo1"));
    EXPECT_GE(combo->findLine(QStringLiteral("Fiorino - Olanada")), 0);
    EXPECT_EQ(combo->findLine(QStringLiteral("Fiorino - Olanda")), -1);
}

TEST_F(CurrenciesTest, RefusedRatesWriteNothing) {
    const QByteArray before = fillValute({{7, record("0700", "Lira", kLira, "Italia")}});
    Form25& form = openTable();
    unlock(form);
    const qv::Valuta rowBefore = stato().TabellaValute[7];

    for (const char* typed : {"abc", "0", "-3", "", "1936.27"}) {
        messages.clear();
        typeRate(form, 6, QString::fromLatin1(typed));
        button(form, "SSCommand1")->click();
        ASSERT_EQ(messages.shown().size(), 1u) << typed;
        EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Attenzione")) << typed;
        EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("Cambio non valido")));
        EXPECT_EQ(readBytes(valute()), before) << typed;
        EXPECT_EQ(stato().TabellaValute[7], rowBefore) << typed;
    }
}

TEST_F(CurrenciesTest, TypingWithoutPressingStoresNothing) {
    const QByteArray before = fillValute({{7, record("0700", "Lira", kLira, "Italia")}});
    Form25& form = openTable();
    unlock(form);
    typeRate(form, 6, QStringLiteral("2000"));
    button(form, "Command3D8")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(formHost().loaded<Form25>(), nullptr);
    EXPECT_EQ(readBytes(valute()), before);
    EXPECT_EQ(stato().TabellaValute[7].cambio, 1936.27);

    // Opened again, the form shows the stored rate; pressing while locked stores it.
    Form25& again = openTable();
    EXPECT_EQ(box(again, 6)->text(), QStringLiteral("1936,27"));
    button(again, "SSCommand1")->click();
    EXPECT_EQ(readBytes(valute()), before);
}

class ConverterTest : public CurrenciesTest {
protected:
    void SetUp() override {
        CurrenciesTest::SetUp();
        // Lira and Euro set; every other slot empty.
        QByteArray bytes(900, '\0');
        bytes.replace(6 * 60, 60, record("0700", "Lira", kLira, "Italia"));
        bytes.replace(14 * 60, 60, record("0F00", "Euro", kOne, "Unione Europea"));
        writeBytes(valute(), bytes);
    }
    Convertore& open() {
        auto& form = formHost().form<Convertore>();
        formHost().show(form);
        return form;
    }
    void convert(Convertore& form, const QString& from, const QString& to, const QString& amount) {
        auto* c1 = form.findChild<ComboBox*>(QStringLiteral("Combo1"));
        auto* c2 = form.findChild<ComboBox*>(QStringLiteral("Combo2"));
        ASSERT_GE(c1->findLine(from), 0) << from.toStdString();
        ASSERT_GE(c2->findLine(to), 0) << to.toStdString();
        c1->setCurrentIndex(c1->findLine(from));
        c2->setCurrentIndex(c2->findLine(to));
        auto* da = field(form, "ImDa");
        da->clear();
        QTest::keyClicks(da, amount);
        button(form, "SSCommand1")->click();
    }
    AmountField* field(Convertore& form, const char* name) {
        return form.findChild<AmountField*>(QString::fromLatin1(name));
    }
    QString euros(Convertore& form) { return field(form, "Euros")->text(); }
    QString result(Convertore& form) { return field(form, "ImA")->text(); }
};

TEST_F(ConverterTest, ListsHoldFifteenSortedLinesWithTheFirstSelected) {
    Convertore& form = open();
    EXPECT_EQ(form.caption(), QStringLiteral("Conversione valute"));
    EXPECT_EQ(button(form, "SSCommand1")->text(), QStringLiteral("Calcola"));
    for (const char* name : {"Combo1", "Combo2"}) {
        auto* combo = form.findChild<ComboBox*>(QString::fromLatin1(name));
        ASSERT_EQ(combo->count(), 15) << name;
        EXPECT_EQ(combo->currentIndex(), 0) << name;
        EXPECT_EQ(combo->text(12), QStringLiteral(" - ")) << name;
        EXPECT_EQ(combo->text(13), QStringLiteral("Euro - Unione Europea"));
        EXPECT_EQ(combo->text(14), QStringLiteral("Lira - Italia"));
    }
    EXPECT_EQ(field(form, "ImDa")->formato(), QStringLiteral("###,###,###,##0.00"));
}

TEST_F(ConverterTest, ConvertsThroughTheEuro) {
    Convertore& form = open();
    convert(form, QStringLiteral("Lira - Italia"), QStringLiteral("Euro - Unione Europea"),
            QStringLiteral("1936,27"));
    EXPECT_EQ(euros(form), QStringLiteral("1,00"));
    EXPECT_EQ(result(form), QStringLiteral("1,00"));

    convert(form, QStringLiteral("Lira - Italia"), QStringLiteral("Lira - Italia"),
            QStringLiteral("1.234.567,89"));
    EXPECT_EQ(euros(form), QStringLiteral("637,60"));
    EXPECT_EQ(result(form), QStringLiteral("1.234.567,89"));

    convert(form, QStringLiteral("Euro - Unione Europea"), QStringLiteral("Lira - Italia"),
            QStringLiteral("10"));
    EXPECT_EQ(euros(form), QStringLiteral("10,00"));
    EXPECT_EQ(result(form), QStringLiteral("19.362,70"));

    // An empty slot as currency 2 has rate 0.
    convert(form, QStringLiteral("Euro - Unione Europea"), QStringLiteral(" - "),
            QStringLiteral("10"));
    EXPECT_EQ(euros(form), QStringLiteral("10,00"));
    EXPECT_EQ(result(form), QStringLiteral("0,00"));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ConverterTest, UnusableInputLeavesOutputsAloneOrEmpty) {
    Convertore& form = open();
    convert(form, QStringLiteral("Lira - Italia"), QStringLiteral("Euro - Unione Europea"),
            QStringLiteral("1936,27"));
    ASSERT_EQ(result(form), QStringLiteral("1,00"));

    // Empty amount: nothing happens.
    convert(form, QStringLiteral("Euro - Unione Europea"), QStringLiteral("Lira - Italia"),
            QString());
    EXPECT_EQ(euros(form), QStringLiteral("1,00"));
    EXPECT_EQ(result(form), QStringLiteral("1,00"));
    EXPECT_TRUE(messages.shown().empty());

    // An empty slot as currency 1 has no rate to divide by.
    convert(form, QStringLiteral(" - "), QStringLiteral("Euro - Unione Europea"),
            QStringLiteral("100"));
    EXPECT_TRUE(euros(form).isEmpty());
    EXPECT_TRUE(result(form).isEmpty());
    EXPECT_TRUE(messages.shown().empty());

    convert(form, QStringLiteral("Lira - Italia"), QStringLiteral("Euro - Unione Europea"),
            QStringLiteral("1936,27"));
    convert(form, QStringLiteral("Lira - Italia"), QStringLiteral("Euro - Unione Europea"),
            QStringLiteral("12abc"));
    EXPECT_TRUE(euros(form).isEmpty());
    EXPECT_TRUE(result(form).isEmpty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Attenzione"));
}

// A rate that is not a number (a damaged record) is a rate not set: as currency 2 it
// gives 0, as currency 1 nothing, and the table shows it as 0.
TEST_F(ConverterTest, ARateThatIsNotANumberIsARateNotSet) {
    QByteArray bytes = readBytes(valute());
    bytes.replace(5 * 60, 60, record("0600", "Marco", "000000000000F87F", "Germania")); // NaN
    writeBytes(valute(), bytes);
    Convertore& form = open();
    convert(form, QStringLiteral("Euro - Unione Europea"), QStringLiteral("Marco - Germania"),
            QStringLiteral("10"));
    EXPECT_EQ(euros(form), QStringLiteral("10,00"));
    EXPECT_EQ(result(form), QStringLiteral("0,00"));
    convert(form, QStringLiteral("Marco - Germania"), QStringLiteral("Euro - Unione Europea"),
            QStringLiteral("10"));
    EXPECT_TRUE(euros(form).isEmpty());
    EXPECT_TRUE(result(form).isEmpty());
    EXPECT_TRUE(messages.shown().empty());

    Form25& table = formHost().form<Form25>();
    auto* box = table.findChild<AmountField*>(QStringLiteral("Box_5"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("0"));
    EXPECT_EQ(readBytes(valute()), bytes);
}

TEST_F(ConverterTest, ReadsTheTableAndWritesNothing) {
    QFile::remove(valute());
    const QString folder = stato().PercorsoProgramma;
    Convertore& form = open();
    auto* combo = form.findChild<ComboBox*>(QStringLiteral("Combo1"));
    ASSERT_EQ(combo->count(), 15);
    EXPECT_EQ(combo->currentText(), QStringLiteral(" - "));
    convert(form, QStringLiteral(" - "), QStringLiteral(" - "), QStringLiteral("5"));
    EXPECT_TRUE(result(form).isEmpty());
    EXPECT_FALSE(QFile::exists(valute()));
    EXPECT_EQ(stato().PercorsoProgramma, folder);
}

TEST(CurrencyComputations, RateTextIsPlainItalianDecimal) {
    EXPECT_EQ(qv::testoCambio(1936.27), QStringLiteral("1936,27"));
    EXPECT_EQ(qv::testoCambio(0), QStringLiteral("0"));
    EXPECT_EQ(qv::testoCambio(1e-7), QStringLiteral("0,0000001"));
    EXPECT_EQ(qv::testoCambio(2.5e20), QStringLiteral("250000000000000000000"));
    EXPECT_TRUE(qv::testoCambio(std::numeric_limits<double>::quiet_NaN()).isEmpty());
}

TEST(CurrencyComputations, ConversionNeedsAPositiveFirstRate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {0.0, -2.0, nan, inf})
        EXPECT_FALSE(qv::convertiImporto(100, bad, 1).has_value()) << bad;
    EXPECT_FALSE(qv::convertiImporto(nan, 1, 1).has_value());
    const auto c = qv::convertiImporto(-50, 2, 4);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->euro, -25);
    EXPECT_EQ(c->risultato, -100);
}

} // namespace
