// The conditions editor Form26 and its "Altre opzioni" dialog Form28, driven through
// their fields: what they show, what "Conferma" writes, what "Uscita " and the refusals
// leave, the Enter chain and the printed sheet.
#include "conditions_fixture.h"

#include "common/amounts.h"
#include "common/dates.h"
#include "conditions/conditions.h"
#include "conditions/conditions_form.h"
#include "conditions/other_options_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <limits>

namespace qv {
namespace {

using namespace test;

class ConditionsForm : public ConditionsTest {
protected:
    // Opens the editor as the main window does; the test acts on it while it is shown.
    Form26& apri() {
        formHost().setModalHook([](Form&) {});
        mostraCondizioni();
        formHost().setModalHook({});
        Form26* f = formHost().loaded<Form26>();
        EXPECT_NE(f, nullptr);
        QApplication::setActiveWindow(f);
        return *f;
    }

    static void scrivi(QLineEdit* campo, const QString& testo) {
        campo->setFocus();
        campo->selectAll();
        QTest::keyClick(campo, Qt::Key_Delete);
        QTest::keyClicks(campo, testo);
    }

    static void scriviData(DateField* campo, const char* cifre) {
        campo->setTesto(QString());
        campo->setFocus();
        campo->setCursorPosition(0);
        QTest::keyClicks(campo, QString::fromLatin1(cifre));
    }

    static bool caricato() { return formHost().loaded<Form26>() != nullptr; }
};

TEST_F(ConditionsForm, ANewAccountOpensWithTheDefaultsAndMustGetItsFirstDates) {
    Form26& f = apri();
    EXPECT_EQ(f.caption(), "Dati calcolo interessi");
    EXPECT_EQ(f.banca->text(), "Banca di Prova");
    for (const char* ext : {".Iat", ".Ipa", ".Opz", ".Onp", ".spe"})
        EXPECT_TRUE(QFile::exists(file(ext))) << ext;

    EXPECT_EQ(f.DataC1->testo(), "__/__/____");
    EXPECT_EQ(f.DATAD5->testo(), "__/__/____");
    EXPECT_EQ(f.PerC1->text(), "0,000");
    EXPECT_EQ(f.PerD10->text(), "0,000");
    EXPECT_EQ(f.Per7->text(), "0,000");
    EXPECT_EQ(f.IMPORTO1->text(), "0,00");
    EXPECT_EQ(f.Descr1->text(), "");
    EXPECT_EQ(f.Descr4->text(), "");
    for (QRadioButton* trim :
         {f.Option1, f.Option3, f.Option5, f.Option7, f.Option9, f.Option11, f.Option13})
        EXPECT_TRUE(trim->isChecked()) << trim->objectName().toStdString();
    EXPECT_TRUE(f.divisore[2]->isChecked());
    EXPECT_TRUE(f.giorni[1]->isChecked());
    EXPECT_TRUE(f.giorni[3]->isChecked());
    EXPECT_TRUE(f.Tri->isChecked());
    EXPECT_EQ(f.NrScritt->text(), "0");
    EXPECT_EQ(f.IndInter->text(), "");

    // "Conferma" refuses until the first debit date is set, and saves nothing.
    f.SSTab1->setCurrentIndex(4);
    f.OKi->click();
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text, testoDataErrata());
    EXPECT_EQ(messages.shown()[0].title, "Errore");
    EXPECT_EQ(f.SSTab1->currentIndex(), 1);
    EXPECT_EQ(f.focusWidget(), f.DATAD1);
    EXPECT_TRUE(caricato());
    for (const char* ext : {".Iat", ".Ipa", ".Opz", ".Onp", ".spe"})
        EXPECT_EQ(readBytes(file(ext)).size(), 0) << ext;

    // Then the first credit date.
    scriviData(f.DATAD1, "01012026");
    f.OKi->click();
    ASSERT_EQ(messages.shown().size(), 2U);
    EXPECT_EQ(f.focusWidget(), f.DataC1);
    EXPECT_EQ(f.SSTab1->currentIndex(), 0);
    EXPECT_EQ(readBytes(file(".Ipa")).size(), 0);
}

TEST_F(ConditionsForm, EveryTabLaysOutItsFieldsWithoutOverlap) {
    Form26& f = apri();
    f.resize(f.sizeHint());
    for (int scheda = 0; scheda < f.SSTab1->count(); ++scheda) {
        f.SSTab1->setCurrentIndex(scheda);
        QCoreApplication::processEvents();
        QWidget* pagina = f.SSTab1->widget(scheda);
        std::vector<QWidget*> campi;
        for (QWidget* w : pagina->findChildren<QWidget*>())
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QRadioButton*>(w)) campi.push_back(w);
        ASSERT_FALSE(campi.empty());
        for (size_t i = 0; i < campi.size(); ++i) {
            const QRect a(campi[i]->mapTo(pagina, QPoint()), campi[i]->size());
            EXPECT_TRUE(campi[i]->isVisible()) << campi[i]->objectName().toStdString();
            for (size_t j = i + 1; j < campi.size(); ++j) {
                const QRect b(campi[j]->mapTo(pagina, QPoint()), campi[j]->size());
                EXPECT_FALSE(a.intersects(b)) << campi[i]->objectName().toStdString() << " "
                                              << campi[j]->objectName().toStdString();
            }
        }
    }
}

TEST_F(ConditionsForm, StoredConditionsShowAndConfirmingThemChangesNoByte) {
    for (const double fattore : {1.0, 1936.27}) {
        SCOPED_TRACE(fattore);
        scriviCondizioniComplete();
        stato().FattoreValuta = fattore;
        stato().FormatoImporti =
            fattore == 1.0 ? QStringLiteral("#,###,###,##0.00") : QStringLiteral("#,###,###,##0");
        Form26& f = apri();
        EXPECT_EQ(f.DataC2->testo(), "01/07/2001");
        EXPECT_EQ(f.PerC1->text(), "2,063");
        EXPECT_EQ(f.PerD6->text(), "14,063");
        EXPECT_EQ(f.Per3->text(), "27,000");
        EXPECT_EQ(f.IMPORTO1->text(), fattore == 1.0 ? "25,82" : "49.994");
        EXPECT_EQ(f.Descr2->text(), "Invio estratto conto");
        EXPECT_EQ(f.Descr3->text(), "Commissione fido");
        EXPECT_TRUE(f.Option4->isChecked()); // fee 1 yearly
        EXPECT_TRUE(f.Option13->isChecked() == false && f.Option14->isChecked());
        EXPECT_TRUE(f.Ann->isChecked()); // the stored closing period "3"
        EXPECT_TRUE(f.divisore[3]->isChecked());
        EXPECT_TRUE(f.giorni[0]->isChecked());
        EXPECT_TRUE(f.giorni[3]->isChecked());
        EXPECT_EQ(f.IndInter->text(), "http://www.bancadiprova.it");
        EXPECT_EQ(f.NrScritt->text(), "12");

        // Going through every rate and fee field changes nothing either.
        for (QLineEdit* campo : {static_cast<QLineEdit*>(f.PerC1), static_cast<QLineEdit*>(f.Per2),
                                 static_cast<QLineEdit*>(f.IMPORTO1)}) {
            campo->setFocus();
            f.OKi->setFocus();
        }
        f.OKi->click();
        EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
        EXPECT_FALSE(caricato());
        EXPECT_EQ(readBytes(file(".Iat")), iatCompleto());
        EXPECT_EQ(readBytes(file(".Ipa")), ipaCompleto());
        EXPECT_EQ(readBytes(file(".Opz")), opzCompleto());
        EXPECT_EQ(readBytes(file(".Onp")), onpCompleto());
        EXPECT_EQ(readBytes(file(".spe")), speCompleto());
        QCoreApplication::processEvents();
    }
}

TEST_F(ConditionsForm, EveryRecordWrittenFromTheFields) {
    stato().FattoreValuta = 2.0;
    Form26& f = apri();
    // Credit rates: a date typed digit by digit, a rate "5,5".
    scriviData(f.DataC1, "01012026");
    scrivi(f.PerC1, "5,5");
    scriviData(f.DataC2, "01072026");
    scrivi(f.PerC2, "0,25");
    // Debit rates within and beyond the credit line.
    scriviData(f.DATAD1, "15012026");
    scrivi(f.PerD1, "12,75");
    scrivi(f.PerD6, "(1,5)");
    scriviData(f.DATAD5, "31122026");
    scrivi(f.PerD5, "9");
    // Fees at display rate 2, and their charging.
    scrivi(f.IMPORTO1, "100");
    scrivi(f.IMPORTO3, "1.234,50");
    f.Option4->setChecked(true);
    scrivi(f.Descr2, "Bollo statale");
    scrivi(f.IMPORTO7, "4");
    f.Option14->setChecked(true);
    // Commissions with a base chosen in "Altre opzioni".
    scrivi(f.Per1, "0,5");
    scrivi(f.Per7, "0,375");
    scrivi(f.Descr3, "Commissione fido");
    scrivi(f.Per4, "1");
    formHost().setModalHook([](Form& d) {
        auto& altre = static_cast<Form28&>(d);
        altre.Option1[4]->setChecked(true);
        altre.OK->click();
    });
    QTest::mouseDClick(f.Descr3, Qt::LeftButton);
    formHost().setModalHook({});
    // Options.
    f.Seme->setChecked(true);
    f.divisore[1]->setChecked(true);
    f.giorni[0]->setChecked(true);
    scrivi(f.IndInter, "www.banca.it");
    scrivi(f.NrScritt, "25");

    f.OKi->click();
    ASSERT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_FALSE(caricato());
    EXPECT_EQ(readBytes(file(".Iat")),
              creditoriBytes({"01/01/2026", "01/07/2026", "__/__/____", "__/__/____", "__/__/____"},
                             {5.5F, 0.25F, 0, 0, 0}));
    EXPECT_EQ(readBytes(file(".Ipa")),
              debitoriBytes({"15/01/2026", "__/__/____", "__/__/____", "__/__/____", "31/12/2026"},
                            {12.75F, 0, 0, 0, 9.0F}, {-1.5F, 0, 0, 0, 0}));
    EXPECT_EQ(readBytes(file(".Opz")), opzioniBytes({"2", 25, "www.banca.it", "1", "2", 2}));
    EXPECT_EQ(readBytes(file(".Onp")),
              oneriBytes({0.5F, 0, 0, 1.0F, 0, 0, 0.375F, "Commissione fido", "", "5", ""}));
    EXPECT_EQ(readBytes(file(".spe")),
              speseBytes({{50, 0, 617.25, 0, 0, 0, 2}, "1011110", "", "Bollo statale"}));
    EXPECT_EQ(stato().DatiSpeseVarie.importoSpesa[2], 617.25);
    EXPECT_EQ(stato().DatiOneriPassivi.baseLibera1, "5");
}

TEST_F(ConditionsForm, RateFieldsShowWholeEveryRateTheyTakeAndReadBackWhatTheyShow) {
    const DateCondizioni date{"01/01/2001", "__/__/____", "__/__/____", "__/__/____", "__/__/____"};
    // A damaged file's rate beyond what can be typed shows whole too.
    writeBytes(file(".Iat"), creditoriBytes(date, {9999999.0F, 0, -123456792.0F, 0, 0}));
    writeBytes(file(".Ipa"), debitoriBytes(date, {0, 0, 0, 0, 0}, {0, 0, 0, 0, -9999999.0F}));
    Form26& f = apri();
    EXPECT_EQ(f.PerC1->text(), "9.999.999,000");
    EXPECT_EQ(f.PerD10->text(), "(9.999.999,000)");
    EXPECT_EQ(f.PerC3->text(), "(123.456.792,000)");

    // The longest text a rate field makes, typed into each: it is held and shown whole.
    QStringList nomi;
    for (int k = 1; k <= 5; ++k)
        nomi << QStringLiteral("PerC%1").arg(k);
    for (int k = 1; k <= 10; ++k)
        nomi << QStringLiteral("PerD%1").arg(k);
    for (int k = 1; k <= 7; ++k)
        nomi << QStringLiteral("Per%1").arg(k);
    for (const QString& nome : nomi) {
        SCOPED_TRACE(nome.toStdString());
        auto* campo = f.findChild<QLineEdit*>(nome);
        ASSERT_NE(campo, nullptr);
        for (int i = 0; i < f.SSTab1->count(); ++i)
            if (f.SSTab1->widget(i)->isAncestorOf(campo)) f.SSTab1->setCurrentIndex(i);
        scrivi(campo, "-9999999");
        f.OKi->setFocus();
        ASSERT_EQ(campo->text(), "(9.999.999,000)");
        // Nothing of it is scrolled out of sight, from either end.
        campo->setCursorPosition(int(campo->text().size()));
        campo->repaint();
        EXPECT_EQ(campo->cursorPositionAt(QPoint(1, campo->height() / 2)), 0);
        campo->setCursorPosition(0);
        campo->repaint();
        EXPECT_EQ(campo->cursorPositionAt(QPoint(campo->width() - 2, campo->height() / 2)),
                  campo->text().size());
    }
    f.Esc->click();
    QCoreApplication::processEvents();

    // A negative rate typed with "-" shows in parentheses and is saved as typed; the
    // stored rates left as shown stay as they are.
    Form26& g = apri();
    g.SSTab1->setCurrentIndex(3);
    scrivi(g.Per3, "-27");
    g.Per1->setFocus();
    EXPECT_EQ(g.Per3->text(), "(27,000)");
    g.OKi->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_FALSE(caricato());
    EXPECT_EQ(readBytes(file(".Onp")).mid(8, 4), QByteArray("\x00\x00\xd8\xc1", 4)); // -27
    EXPECT_EQ(readBytes(file(".Iat")), creditoriBytes(date, {9999999.0F, 0, -123456792.0F, 0, 0}));
    EXPECT_EQ(readBytes(file(".Ipa")),
              debitoriBytes(date, {0, 0, 0, 0, 0}, {0, 0, 0, 0, -9999999.0F}));
}

TEST_F(ConditionsForm, FeeFieldsShowWholeEveryFeeTheyTakeAndTellOnesTooLarge) {
    scriviCondizioniComplete();
    const auto prima = cartella();
    Form26& f = apri();
    f.SSTab1->setCurrentIndex(2);

    // A fee the program cannot count stays as typed and is refused as too large.
    scrivi(f.IMPORTO1, "10000000000000");
    f.OKi->setFocus();
    EXPECT_EQ(f.IMPORTO1->text(), "10000000000000");
    f.OKi->click();
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text, amountTooLargeMessage());
    EXPECT_EQ(f.focusWidget(), f.IMPORTO1);
    EXPECT_EQ(cartella(), prima);

    // The largest it can count shows whole in the amount pattern, and is saved.
    scrivi(f.IMPORTO1, "9999999999999,99");
    f.OKi->setFocus();
    ASSERT_EQ(f.IMPORTO1->text(), "9.999.999.999.999,99");
    f.IMPORTO1->setCursorPosition(int(f.IMPORTO1->text().size()));
    f.IMPORTO1->repaint();
    EXPECT_EQ(f.IMPORTO1->cursorPositionAt(QPoint(1, f.IMPORTO1->height() / 2)), 0);
    f.OKi->click();
    EXPECT_FALSE(caricato());
    EXPECT_EQ(readBytes(file(".spe")),
              speseBytes({{9999999999999.99, 5.16, 0.62, 10.33, 12.91, 1.03, 0.1},
                          "1010110",
                          "Bollo",
                          "Invio estratto conto"}));
}

TEST_F(ConditionsForm, RatesAndFeesNoComputationMayCountAreNamedShownAsZeroAndSavedSo) {
    scriviCondizioniComplete();
    const DateCondizioni date{"01/01/2001", "01/07/2001", "01/01/2002", "__/__/____", "__/__/____"};
    writeBytes(file(".Iat"), creditoriBytes(date, {2.0625F, std::numeric_limits<float>::quiet_NaN(),
                                                   0.75F, 0, 0}));
    writeBytes(file(".spe"), speseBytes({{25.82, std::numeric_limits<double>::infinity(), 0.62,
                                          10.33, 12.91, 1.03, 0.1},
                                         "1010110",
                                         "Bollo",
                                         "Invio estratto conto"}));
    Form26& f = apri();
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text,
              "Tasso non valido nelle condizioni del conto (Interessi Creditori riga 2): è "
              "contato come zero nel conteggio delle competenze. Correggere il tasso in \"Dati "
              "calcolo interessi\".\nImporto non valido nelle spese del conto (Tenuta conto): è "
              "contato come zero nel conteggio delle competenze. Correggere l'importo in \"Dati "
              "calcolo interessi\".");
    EXPECT_EQ(messages.shown()[0].title, "ERRORE");
    EXPECT_TRUE(f.OKi->isEnabled());
    EXPECT_EQ(f.PerC2->text(), "0,000");
    EXPECT_EQ(f.IMPORTO2->text(), "0,00");

    // Confirmed as shown, they are saved as 0; the rest stays as it was.
    f.OKi->click();
    EXPECT_FALSE(caricato());
    EXPECT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(readBytes(file(".Iat")), creditoriBytes(date, {2.0625F, 0, 0.75F, 0, 0}));
    EXPECT_EQ(readBytes(file(".spe")),
              speCompleto().left(8) + QByteArray(8, '\0') + speCompleto().mid(16));
}

TEST_F(ConditionsForm, LeavingWithUscitaKeepsEveryFileAndRecord) {
    scriviCondizioniComplete();
    Form26& f = apri();
    const CondizioniConto caricate = condizioniInMemoria();
    const auto prima = cartella();
    scrivi(f.PerC1, "9");
    scrivi(f.IMPORTO2, "1");
    f.Tri->setChecked(true);
    // A base chosen in "Altre opzioni" stays in the editor.
    formHost().setModalHook([](Form& d) {
        auto& altre = static_cast<Form28&>(d);
        EXPECT_TRUE(altre.Option1[5]->isChecked()); // the stored "6"
        altre.Option1[0]->setChecked(true);
        altre.OK->click();
    });
    QTest::mouseDClick(f.Descr4, Qt::LeftButton);
    formHost().setModalHook({});
    EXPECT_EQ(stato().DatiOneriPassivi.baseLibera2, "6");

    f.Esc->click();
    EXPECT_FALSE(caricato());
    EXPECT_EQ(formHost().loaded<Form28>(), nullptr);
    EXPECT_EQ(cartella(), prima);
    EXPECT_TRUE(condizioniInMemoria() == caricate);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ConditionsForm, TheCloseBoxLeavesLikeUscita) {
    scriviCondizioniComplete();
    Form26& f = apri();
    const auto prima = cartella();
    scrivi(f.Per2, "3");
    formHost().setModalHook([](Form& d) { static_cast<Form28&>(d).Esc->click(); });
    f.Descr4_DblClick();
    formHost().setModalHook({});
    ASSERT_NE(formHost().loaded<Form28>(), nullptr);
    f.close();
    EXPECT_FALSE(caricato());
    EXPECT_EQ(formHost().loaded<Form28>(), nullptr);
    EXPECT_EQ(cartella(), prima);
}

TEST_F(ConditionsForm, AltreOpzioniShowsTheBaseAndItsUscitaChangesNothing) {
    scriviCondizioniComplete();
    Form26& f = apri();
    std::vector<int> scelte;
    auto scelta = [&](Form28& d) {
        for (int i = 0; i < 6; ++i)
            if (d.Option1[size_t(i)]->isChecked()) scelte.push_back(i);
    };
    // Descr3's stored base "3" is shown; " Uscita " leaves it.
    formHost().setModalHook([&](Form& d) {
        auto& altre = static_cast<Form28&>(d);
        EXPECT_EQ(altre.caption(), "Altre opzioni");
        scelta(altre);
        altre.Option1[1]->setChecked(true);
        altre.Esc->click();
    });
    f.Descr3_DblClick();
    // "Conferma" of the dialog, then the editor's: the base reaches the file.
    formHost().setModalHook([&](Form& d) {
        auto& altre = static_cast<Form28&>(d);
        scelta(altre);
        altre.Option1[1]->setChecked(true);
        altre.OK->click();
    });
    f.Descr3_DblClick();
    formHost().setModalHook({});
    EXPECT_EQ(scelte, (std::vector<int>{2, 2}));
    f.OKi->click();
    EXPECT_EQ(readBytes(file(".Onp")).mid(78, 2), "26");
}

TEST_F(ConditionsForm, RefusalsFocusTheirFieldAndSaveNothing) {
    scriviCondizioniComplete();
    const auto prima = cartella();
    const struct {
        std::function<void(Form26&)> cambia;
        const char* campo;
        const char* testo;
        int scheda;
        bool svuotato;
    } casi[] = {
        {[](Form26& f) {
             f.DATAD3->setTesto(QString());
             f.DATAD4->setTesto("31/04/2001");
         },
         "DATAD4", " Data Errata", 1, true},
        {[](Form26& f) { f.DataC3->setTesto("30/06/2001"); }, "DataC3",
         "Le date di decorrenza devono essere in ordine crescente", 0, false},
        {[](Form26& f) { f.IMPORTO3->setText("abc"); }, "IMPORTO3", "Importo non valido", 2, false},
        {[](Form26& f) { f.Per6->setText("1,2,3"); }, "Per6",
         "Tasso non valido (Commissione massimo scoperto fuori fido)", 3, false},
        {[](Form26& f) { f.IMPORTO1->setText("10000000000000"); }, "IMPORTO1",
         "Importo troppo grande", 2, false},
        {[](Form26& f) { f.NrScritt->setText("molti"); }, "NrScritt",
         "Numero di movimenti non valido", 4, false},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.campo);
        Form26& f = apri();
        messages.clear();
        c.cambia(f);
        f.OKi->click();
        ASSERT_EQ(messages.shown().size(), 1U);
        EXPECT_TRUE(messages.shown()[0].text.startsWith(QString::fromUtf8(c.testo)))
            << messages.shown()[0].text.toStdString();
        QWidget* campo = f.findChild<QWidget*>(QString::fromLatin1(c.campo));
        ASSERT_NE(campo, nullptr);
        EXPECT_EQ(f.focusWidget(), campo);
        EXPECT_EQ(f.SSTab1->currentIndex(), c.scheda);
        if (auto* data = qobject_cast<DateField*>(campo)) {
            EXPECT_EQ(data->isBlank(), c.svuotato);
        }
        EXPECT_TRUE(caricato());
        EXPECT_EQ(cartella(), prima);
        f.Esc->click();
        QCoreApplication::processEvents();
    }
}

TEST_F(ConditionsForm, EnterMovesAlongTheFeesAndTheCommissionsAndOnToTheNextTab) {
    Form26& f = apri();
    const std::vector<std::pair<QWidget*, QWidget*>> catena = {
        {f.PerC5, f.DATAD1},      {f.PerD10, f.IMPORTO1},   {f.IMPORTO1, f.IMPORTO2},
        {f.IMPORTO2, f.IMPORTO3}, {f.IMPORTO3, f.IMPORTO4}, {f.IMPORTO4, f.IMPORTO5},
        {f.IMPORTO5, f.Descr1},   {f.Descr1, f.IMPORTO6},   {f.IMPORTO6, f.Descr2},
        {f.Descr2, f.IMPORTO7},   {f.IMPORTO7, f.Per1},     {f.Per1, f.Per2},
        {f.Per2, f.Per3},         {f.Per3, f.Descr3},       {f.Descr3, f.Per4},
        {f.Per4, f.Descr4},       {f.Descr4, f.Per5},       {f.Per5, f.IndInter},
        {f.NrScritt, f.OKi}};
    const auto schedaDi = [&f](QWidget* w) {
        for (int i = 0; i < f.SSTab1->count(); ++i)
            if (f.SSTab1->widget(i)->isAncestorOf(w)) return i;
        return -1;
    };
    for (auto [da, a] : catena) {
        f.SSTab1->setCurrentIndex(schedaDi(da));
        da->setFocus();
        ASSERT_EQ(f.focusWidget(), da) << da->objectName().toStdString();
        QTest::keyClick(da, Qt::Key_Return);
        EXPECT_EQ(f.focusWidget(), a) << da->objectName().toStdString();
        if (a != f.OKi) {
            EXPECT_EQ(f.SSTab1->currentIndex(), schedaDi(a)) << da->objectName().toStdString();
        }
    }
    // The key went no further: nothing was typed, nothing confirmed.
    EXPECT_EQ(f.IMPORTO7->text(), "0,00");
    EXPECT_TRUE(caricato());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ConditionsForm, EnterSavesOnlyOnTheFocusedConferma) {
    scriviCondizioniComplete();
    const auto prima = cartella();
    Form26& f = apri();
    // Enter all the way along the fees: it goes on to the commissions, and saves nothing.
    f.SSTab1->setCurrentIndex(2);
    f.IMPORTO1->setFocus();
    QStringList percorso;
    for (int i = 0; i < 16 && caricato(); ++i) {
        QWidget* campo = QApplication::focusWidget();
        ASSERT_NE(campo, nullptr);
        percorso << campo->objectName();
        QTest::keyClick(campo, Qt::Key_Return);
    }
    EXPECT_EQ(percorso.join(' '), "IMPORTO1 IMPORTO2 IMPORTO3 IMPORTO4 IMPORTO5 Descr1 IMPORTO6 "
                                  "Descr2 IMPORTO7 Per1 Per2 Per3 Descr3 Per4 Descr4 Per5");
    EXPECT_EQ(QApplication::focusWidget(), f.IndInter);
    EXPECT_EQ(f.SSTab1->currentIndex(), 4);
    ASSERT_TRUE(caricato());
    EXPECT_EQ(cartella(), prima);

    // Enter in a field without a next one, on an option or on the tab bar presses nothing.
    for (QWidget* w : std::vector<QWidget*>{f.IndInter, f.DataC1, f.PerC1, f.DATAD3, f.Per6, f.Per7,
                                            f.Option2, f.divisore[0], f.SSTab1->tabBar()}) {
        for (int i = 0; i < f.SSTab1->count(); ++i)
            if (f.SSTab1->widget(i)->isAncestorOf(w)) f.SSTab1->setCurrentIndex(i);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        ASSERT_TRUE(caricato()) << w->objectName().toStdString();
    }
    EXPECT_EQ(cartella(), prima);
    EXPECT_TRUE(messages.shown().empty());

    // From the last field of the last tab Enter reaches "Conferma"; the next Enter saves.
    f.SSTab1->setCurrentIndex(4);
    f.NrScritt->setFocus();
    QTest::keyClicks(f.NrScritt, "4");
    QTest::keyClick(f.NrScritt, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), f.OKi);
    EXPECT_TRUE(caricato());
    EXPECT_EQ(cartella(), prima);
    QTest::keyClick(f.OKi, Qt::Key_Return);
    EXPECT_FALSE(caricato());
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(readBytes(file(".Opz")).mid(1, 2), QByteArray("\x7c\x00", 2)); // 124
}

TEST_F(ConditionsForm, PrintingShowsTheStoredConditionsNotTheTypedOnes) {
    scriviCondizioniComplete();
    Form26& f = apri();
    scrivi(f.PerC1, "9");
    scrivi(f.IMPORTO1, "1");
    f.PulStampe->click();
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(printed.documents().size(), 1U);
    ASSERT_EQ(printed.lastDocument().size(), 1U);
    const PrintedPage& pagina = printed.lastDocument()[0];
    ASSERT_EQ(pagina.size(), 67U);
    EXPECT_EQ(pagina[3], (PrintedLine{"  Banca di Prova", "Arial", 18, true}));
    EXPECT_EQ(pagina[10], (PrintedLine{"  dalla data: 01/01/2001 Interessi: 02,06%", "Courier New",
                                       10, false}));
    EXPECT_EQ(pagina[37].text,
              "  Spese fisse di chiusura    Lire         25,82  Addebito Trimestrale");
    EXPECT_EQ(pagina[66].text,
              QString(43, u' ') + "Pagina 1" + QString(17, u' ') + ".....fine stampa");
    EXPECT_FALSE(printed.documentOpen());
    // The editor stays as it was.
    EXPECT_TRUE(caricato());
    EXPECT_EQ(f.PerC1->text(), "9,000");
    EXPECT_EQ(stato().DatiInteressiCreditori.tasso[1], 2.0625F);
}

TEST_F(ConditionsForm, ConditionsThatCannotBeReadCannotBeSavedOrPrinted) {
    ASSERT_TRUE(QDir().mkdir(file(".Onp")));
    stato().DatiOneriPassivi.ritenutaFiscale = 20.0F; // another account's, loaded before
    Form26& f = apri();
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("Impossibile leggere le condizioni del conto"));
    EXPECT_FALSE(f.OKi->isEnabled());
    EXPECT_FALSE(f.PulStampe->isEnabled());
    EXPECT_EQ(f.Per3->text(), "0,000");
    EXPECT_EQ(stato().DatiOneriPassivi.ritenutaFiscale, 20.0F);
}

} // namespace
} // namespace qv
