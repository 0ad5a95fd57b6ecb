// The rules of the conditions editor apart from its widgets: how the five records show
// in its fields, the checks of "Conferma" and the records made of the fields.
#include "conditions_fixture.h"
#include "support/esito_test.h"

#include "common/amounts.h"
#include "common/dates.h"
#include "conditions/conditions_editor.h"

#include <QFile>

#include <functional>

namespace qv {
namespace {

using namespace test;

constexpr double kLira = 1936.27;
const QString kFormatoEuro = QStringLiteral("#,###,###,##0.00");
const QString kFormatoLire = QStringLiteral("#,###,###,##0");

class ConditionsEditor : public ConditionsTest {
protected:
    // The fields of the complete set changed by `cambia`, read back at `fattore`.
    static Esito leggi(const std::function<void(CampiCondizioni&)>& cambia, CondizioniConto* nuove,
                       double fattore = 1.0, const QString& formato = kFormatoEuro) {
        const CampiCondizioni mostrati = campiDaCondizioni(condizioniComplete(), fattore, formato);
        CampiCondizioni campi = mostrati;
        cambia(campi);
        *nuove = condizioniComplete();
        return condizioniDaCampi(campi, mostrati, condizioniComplete(), fattore, nuove);
    }
};

TEST_F(ConditionsEditor, RatesAndAmountsShowInTheirPatterns) {
    const struct {
        float tasso;
        const char* testo;
    } tassi[] = {{2.0625F, "2,063"}, {5.5F, "5,500"},        {0, "0,000"},
                 {-1.5F, "(1,500)"}, {1234.5F, "1.234,500"}, {0.0005F, "0,001"}};
    for (const auto& t : tassi) {
        CondizioniConto c;
        c.creditori.tasso[3] = t.tasso;
        c.oneri.aliquotaLibera2 = t.tasso;
        const CampiCondizioni f = campiDaCondizioni(c, 1.0, kFormatoEuro);
        EXPECT_EQ(f.tassoCreditori[3], t.testo) << t.tasso;
        EXPECT_EQ(f.per[5], t.testo) << t.tasso;
    }

    // Fees in the display currency: euro, and lire without decimals.
    const CampiCondizioni euro = campiDaCondizioni(condizioniComplete(), 1.0, kFormatoEuro);
    EXPECT_EQ(euro.importo[1], "25,82");
    EXPECT_EQ(euro.importo[7], "0,10");
    const CampiCondizioni lire = campiDaCondizioni(condizioniComplete(), kLira, kFormatoLire);
    EXPECT_EQ(lire.importo[1], "49.994");
    EXPECT_EQ(lire.importo[4], "20.002");
    EXPECT_EQ(lire.importo[7], "194");

    // The other fields of the complete set.
    EXPECT_EQ(euro.tassoDebitori[1], "12,125");
    EXPECT_EQ(euro.tassoDebitori[6], "14,063");
    EXPECT_EQ(euro.dataDebitori[2], "15/03/2001");
    EXPECT_EQ(euro.descr2, "Invio estratto conto");
    EXPECT_EQ(euro.descr3, "Commissione fido");
    EXPECT_EQ(euro.baseLibera2, "6");
    EXPECT_EQ(euro.indInter, "http://www.bancadiprova.it");
    EXPECT_EQ(euro.nrScritt, "12");
    const std::array<bool, 8> trimestrali{false, true, false, true, false, true, true, false};
    EXPECT_EQ(euro.trimestrale, trimestrali);
}

TEST_F(ConditionsEditor, CodesChooseTheirOptionsAndUnknownCodesTheInitialOnes) {
    const struct {
        const char* periodicita;
        int chiusura;
        qint16 divisore;
        int elemento;
        const char* base;
        bool base360;
    } casi[] = {{"1", 0, 1, 0, "1", true}, {"2", 1, 2, 1, "2", false}, {"3", 2, 3, 2, "", false},
                {"", 0, 4, 3, " ", false}, {"9", 0, 0, 2, "3", false}, {"X", 0, 5, 2, "1", true}};
    for (const auto& c : casi) {
        CondizioniConto r;
        r.opzioni.periodicitaChiusura = QString::fromLatin1(c.periodicita);
        r.opzioni.codiceDivisore = c.divisore;
        r.opzioni.baseGiorniDebitori = QString::fromLatin1(c.base);
        r.opzioni.baseGiorniCreditori = QString::fromLatin1(c.base);
        const CampiCondizioni f = campiDaCondizioni(r, 1.0, kFormatoEuro);
        EXPECT_EQ(f.chiusura, c.chiusura) << c.periodicita;
        EXPECT_EQ(f.divisore, c.elemento) << c.divisore;
        EXPECT_EQ(f.giorniDebitori360, c.base360) << c.base;
        EXPECT_EQ(f.giorniCreditori360, c.base360) << c.base;
    }

    // A fee's flag: yearly exactly when it is a digit other than "1".
    const struct {
        const char* flag;
        bool annuale;
    } flags[] = {{"1", false}, {"0", true}, {"", false}, {" ", false}, {"5", true}, {"A", false}};
    for (const auto& f : flags)
        EXPECT_EQ(addebitoAnnuale(QString::fromLatin1(f.flag)), f.annuale) << f.flag;
}

// One change to the start dates and the field it is refused at ("" when accepted).
struct CasoDate {
    const char* nome;
    std::function<void(CampiCondizioni&)> cambia;
    const char* campo;
};

// Each case refused at its field with `testo` and `titolo` (the field emptied when
// `svuota`), or accepted.
void verificaDate(const std::vector<CasoDate>& casi, const QString& testo, const QString& titolo,
                  bool svuota) {
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        CondizioniConto nuove;
        const CampiCondizioni mostrati = campiDaCondizioni(ConditionsTest::condizioniComplete(),
                                                           1.0, QStringLiteral("#,###,###,##0.00"));
        CampiCondizioni campi = mostrati;
        c.cambia(campi);
        const Esito e =
            condizioniDaCampi(campi, mostrati, ConditionsTest::condizioniComplete(), 1.0, &nuove);
        EXPECT_EQ(e.campo, c.campo);
        if (*c.campo == 0) {
            EXPECT_TRUE(e.ok());
            continue;
        }
        EXPECT_EQ(e.stato, Esito::Stato::Rifiutato);
        EXPECT_EQ(e.testo, testo);
        EXPECT_EQ(e.titolo, titolo);
        EXPECT_EQ(e.svuotaCampo, svuota);
    }
}

TEST_F(ConditionsEditor, StartDatesMustBeRealAndFirstDatesSet) {
    const QString vuota = QStringLiteral("__/__/____");
    verificaDate(
        {
            {"complete set", [](CampiCondizioni&) {}, ""},
            {"first debit date empty", [&](CampiCondizioni& c) { c.dataDebitori[1] = vuota; },
             "DATAD1"},
            {"first credit date empty", [&](CampiCondizioni& c) { c.dataCreditori[1] = vuota; },
             "DataC1"},
            {"31 April after an empty date",
             [&](CampiCondizioni& c) {
                 c.dataDebitori[3] = vuota;
                 c.dataDebitori[4] = "31/04/2001";
             },
             "DATAD4"},
            {"a debit date before any credit date",
             [&](CampiCondizioni& c) {
                 c.dataCreditori[1] = vuota;
                 c.dataDebitori[2] = "29/02/2001";
             },
             "DATAD2"},
            {"half typed", [](CampiCondizioni& c) { c.dataCreditori[4] = "01/06/20__"; }, "DataC4"},
            {"day only", [](CampiCondizioni& c) { c.dataCreditori[4] = "1_/06/2002"; }, "DataC4"},
            {"year below 1000", [](CampiCondizioni& c) { c.dataCreditori[1] = "01/01/0999"; },
             "DataC1"},
            {"29 February of a leap year",
             [](CampiCondizioni& c) { c.dataCreditori[4] = "29/02/2004"; }, ""},
        },
        testoDataErrata(), QStringLiteral("Errore"), true);
}

TEST_F(ConditionsEditor, SetStartDatesMustAscendWithinTheirSeries) {
    const QString vuota = QStringLiteral("__/__/____");
    verificaDate(
        {
            {"same date twice", [](CampiCondizioni& c) { c.dataDebitori[2] = "01/01/2001"; },
             "DATAD2"},
            {"earlier debit date", [](CampiCondizioni& c) { c.dataDebitori[2] = "31/12/2000"; },
             "DATAD2"},
            {"empty dates between",
             [&](CampiCondizioni& c) {
                 c.dataDebitori[2] = vuota;
                 c.dataDebitori[4] = "01/02/2001";
             },
             ""},
            {"earlier after an empty one",
             [&](CampiCondizioni& c) {
                 c.dataDebitori[3] = vuota;
                 c.dataDebitori[4] = "14/03/2001";
             },
             "DATAD4"},
            {"credit dates on their own",
             [](CampiCondizioni& c) { c.dataCreditori[3] = "30/06/2001"; }, "DataC3"},
            {"the two series do not meet",
             [](CampiCondizioni& c) { c.dataCreditori[1] = "01/01/1999"; }, ""},
        },
        QStringLiteral("Le date di decorrenza devono essere in ordine crescente"),
        QStringLiteral("ERRORE"), false);
}

TEST_F(ConditionsEditor, NumbersAreReadTheItalianWayAndUntouchedOnesKeptExactly) {
    const struct {
        const char* nome;
        std::function<void(CampiCondizioni&)> cambia;
        double fattore;
        std::function<void(const CondizioniConto&)> verifica;
    } casi[] = {
        {"left as shown at rate 1", [](CampiCondizioni&) {}, 1.0,
         [](const CondizioniConto& n) { EXPECT_TRUE(n == condizioniComplete()); }},
        {"left as shown in lire", [](CampiCondizioni&) {}, kLira,
         [](const CondizioniConto& n) { EXPECT_TRUE(n == condizioniComplete()); }},
        {"tabbed through: the same text again",
         [](CampiCondizioni& c) { c.tassoCreditori[1] = QStringLiteral("2,063"); }, 1.0,
         [](const CondizioniConto& n) { EXPECT_EQ(n.creditori.tasso[1], 2.0625F); }},
        {"emptied",
         [](CampiCondizioni& c) {
             c.per[3].clear();
             c.importo[2] = " ";
         },
         1.0,
         [](const CondizioniConto& n) {
             EXPECT_EQ(n.oneri.ritenutaFiscale, 27.0F);
             EXPECT_EQ(n.spese.importoSpesa[1], 5.16);
         }},
        {"typed rates",
         [](CampiCondizioni& c) {
             c.tassoCreditori[2] = "5,5";
             c.tassoDebitori[7] = "(1,250)";
             c.tassoDebitori[3] = "-0,5";
             c.per[1] = "1.000";
             c.per[7] = "(0,000)";
             c.per[2] = "9.999.999";
             c.per[3] = "-9999999,4";
         },
         1.0,
         [](const CondizioniConto& n) {
             EXPECT_EQ(n.creditori.tasso[2], 5.5F);
             EXPECT_EQ(n.debitori.tassoFuoriFido[2], -1.25F);
             EXPECT_EQ(n.debitori.tassoEntroFido[3], -0.5F);
             EXPECT_EQ(n.oneri.aliquotaEccedenza, 1000.0F);
             EXPECT_EQ(n.oneri.aliquotaScopertoFuoriFidoGiorni, 0.0F);
             EXPECT_FALSE(std::signbit(n.oneri.aliquotaScopertoFuoriFidoGiorni));
             EXPECT_EQ(n.oneri.aliquotaMassimoScoperto, TassoMassimo);
             EXPECT_EQ(n.oneri.ritenutaFiscale, -TassoMassimo);
         }},
        {"typed amounts at rate 2",
         [](CampiCondizioni& c) {
             c.importo[1] = "100";
             c.importo[5] = "1.234,5";
         },
         2.0,
         [](const CondizioniConto& n) {
             EXPECT_EQ(n.spese.importoSpesa[0], 50.0);
             EXPECT_EQ(n.spese.importoSpesa[4], 617.25);
             EXPECT_EQ(n.spese.importoSpesa[1], 5.16); // untouched
         }},
        {"minimum of movements, halves to even", [](CampiCondizioni& c) { c.nrScritt = "2,5"; },
         1.0, [](const CondizioniConto& n) { EXPECT_EQ(n.opzioni.minimoMovimenti, 2); }},
        {"minimum of movements rounded up", [](CampiCondizioni& c) { c.nrScritt = "3,5"; }, 1.0,
         [](const CondizioniConto& n) { EXPECT_EQ(n.opzioni.minimoMovimenti, 4); }},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        CondizioniConto nuove;
        const Esito e =
            leggi(c.cambia, &nuove, c.fattore, c.fattore == kLira ? kFormatoLire : kFormatoEuro);
        ASSERT_TRUE(e.ok()) << e.testo.toStdString();
        c.verifica(nuove);
    }
}

TEST_F(ConditionsEditor, TextThatIsNoNumberIsRefusedAtItsField) {
    // A rate is refused naming its field as the user knows it.
    EXPECT_EQ(testoTassoNonValido("Ritenuta fiscale"),
              "Tasso non valido (Ritenuta fiscale); inserire una percentuale con la virgola per "
              "i decimali, ad esempio 3,25 o -0,5, da -9.999.999 a 9.999.999.");
    const auto tasso = [](const char* nome) { return testoTassoNonValido(nome); };
    const struct {
        std::function<void(CampiCondizioni&)> cambia;
        const char* campo;
        QString testo;
    } casi[] = {
        {[](CampiCondizioni& c) { c.tassoCreditori[2] = "abc"; }, "PerC2",
         tasso("Interessi Creditori riga 2")},
        {[](CampiCondizioni& c) { c.tassoDebitori[4] = "1,5a"; }, "PerD4",
         tasso("Interessi Debitori entro fido riga 4")},
        {[](CampiCondizioni& c) { c.tassoDebitori[8] = "5.5"; }, "PerD8",
         tasso("Interessi Debitori fuori fido riga 3")},
        {[](CampiCondizioni& c) { c.per[1] = "x"; }, "Per1",
         tasso("Commissione eccedenza / Extra Fido")},
        {[](CampiCondizioni& c) { c.per[3] = "ventisette"; }, "Per3", tasso("Ritenuta fiscale")},
        {[](CampiCondizioni& c) { c.per[6] = "3,2%"; }, "Per6",
         tasso("Commissione massimo scoperto fuori fido")},
        {[](CampiCondizioni& c) { c.per[7] = "-"; }, "Per7",
         tasso("Commissione massimo scoperto fuori fido più gg")},
        // The free commissions by the names typed beside them, or their default ones.
        {[](CampiCondizioni& c) {
             c.descr3 = "  Diritti fissi ";
             c.per[4] = "1,2,3";
         },
         "Per4", tasso("Diritti fissi")},
        {[](CampiCondizioni& c) {
             c.descr4 = "";
             c.per[5] = "o,5";
         },
         "Per5", tasso("Campo libero 2")},
        // Beyond what a rate field shows whole, either way.
        {[](CampiCondizioni& c) { c.per[2] = "10.000.000"; }, "Per2",
         tasso("Commissione massimo scoperto entro fido")},
        {[](CampiCondizioni& c) { c.tassoCreditori[5] = "(9999999,6)"; }, "PerC5",
         tasso("Interessi Creditori riga 5")},
        {[](CampiCondizioni& c) { c.importo[3] = "12a"; }, "IMPORTO3", amountErrorMessage()},
        {[](CampiCondizioni& c) { c.importo[6] = "-5"; }, "IMPORTO6", amountErrorMessage()},
        // An amount the program cannot count is too large, not badly typed.
        {[](CampiCondizioni& c) { c.importo[2] = "10.000.000.000.000"; }, "IMPORTO2",
         amountTooLargeMessage()},
        {[](CampiCondizioni& c) { c.nrScritt = "dieci"; }, "NrScritt",
         testoMinimoMovimentiErrato()},
        {[](CampiCondizioni& c) { c.nrScritt = "40000"; }, "NrScritt",
         testoMinimoMovimentiErrato()},
        {[](CampiCondizioni& c) { c.nrScritt = "-1"; }, "NrScritt", testoMinimoMovimentiErrato()},
        // The first bad field in the order of the tabs.
        {[](CampiCondizioni& c) {
             c.nrScritt = "x";
             c.per[1] = "x";
             c.importo[7] = "x";
         },
         "IMPORTO7", amountErrorMessage()},
    };
    for (const auto& c : casi) {
        CondizioniConto nuove = condizioniComplete();
        const Esito e = leggi(c.cambia, &nuove);
        EXPECT_EQ(e.stato, Esito::Stato::Rifiutato) << c.campo;
        EXPECT_EQ(e.campo, c.campo);
        EXPECT_EQ(e.testo, c.testo) << c.campo;
        EXPECT_EQ(e.titolo, "ERRORE") << c.campo;
        EXPECT_TRUE(nuove == condizioniComplete()) << c.campo;
    }
}

TEST_F(ConditionsEditor, ChoicesAndTextsMakeTheRecords) {
    CondizioniConto n;
    ASSERT_TRUE(leggi(
                    [](CampiCondizioni& c) {
                        c.chiusura = 1;
                        c.divisore = 0;
                        c.giorniDebitori360 = false;
                        c.giorniCreditori360 = true;
                        c.trimestrale[2] = true;
                        c.trimestrale[1] = false;
                        c.baseLibera1 = "5";
                        c.baseLibera2 = "";
                        c.descr1 = "Spese di invio estratti conto trimestrali";
                        c.descr4 = "";
                        c.indInter = "  www.banca.it";
                        c.dataCreditori[5] = "01/01/2003";
                    },
                    &n)
                    .ok());
    EXPECT_EQ(n.opzioni.periodicitaChiusura, "2");
    EXPECT_EQ(n.opzioni.codiceDivisore, 1);
    EXPECT_EQ(n.opzioni.baseGiorniDebitori, "2");
    EXPECT_EQ(n.opzioni.baseGiorniCreditori, "1");
    EXPECT_EQ(n.spese.addebitoTrimestrale[0], "0");
    EXPECT_EQ(n.spese.addebitoTrimestrale[1], "1");
    EXPECT_EQ(n.oneri.baseLibera1, "5");
    EXPECT_EQ(n.oneri.baseLibera2, "");
    EXPECT_EQ(n.spese.descrizioneSpesa1, "Spese di invio estratti c");
    EXPECT_EQ(n.oneri.descrizioneLibera2, "");
    EXPECT_EQ(n.opzioni.indirizzoInternet, "  www.banca.it");
    EXPECT_EQ(n.creditori.dataDecorrenza[5], "01/01/2003");
    EXPECT_EQ(n.creditori.dataDecorrenza[4], "__/__/____");

    // A web address shown trimmed and left so keeps its stored blanks.
    CondizioniConto caricate = condizioniComplete();
    caricate.opzioni.indirizzoInternet = QStringLiteral(" http://x.it");
    const CampiCondizioni mostrati = campiDaCondizioni(caricate, 1.0, kFormatoEuro);
    EXPECT_EQ(mostrati.indInter, "http://x.it");
    ASSERT_TRUE(condizioniDaCampi(mostrati, mostrati, caricate, 1.0, &n).ok());
    EXPECT_EQ(n.opzioni.indirizzoInternet, " http://x.it");
}

TEST_F(ConditionsEditor, ConfirmingWithNoChangeLeavesTheFilesByteForByte) {
    for (const double fattore : {1.0, kLira}) {
        scriviCondizioniComplete();
        stato().FattoreValuta = fattore;
        stato().FormatoImporti = fattore == 1.0 ? kFormatoEuro : kFormatoLire;
        ASSERT_TRUE(test::riuscito(CaricaCondizioni()));
        const CampiCondizioni mostrati =
            campiDaCondizioni(condizioniInMemoria(), fattore, stato().FormatoImporti);
        const Esito e = confermaCondizioni(mostrati, mostrati);
        ASSERT_TRUE(e.ok()) << e.testo.toStdString();
        EXPECT_EQ(readBytes(file(".Iat")), iatCompleto()) << fattore;
        EXPECT_EQ(readBytes(file(".Ipa")), ipaCompleto()) << fattore;
        EXPECT_EQ(readBytes(file(".Opz")), opzCompleto()) << fattore;
        EXPECT_EQ(readBytes(file(".Onp")), onpCompleto()) << fattore;
        EXPECT_EQ(readBytes(file(".spe")), speCompleto()) << fattore;
    }
}

TEST_F(ConditionsEditor, ARefusedOrFailedConfirmationChangesNoFileAndNoRecord) {
    scriviCondizioniComplete();
    ASSERT_TRUE(test::riuscito(CaricaCondizioni()));
    const CondizioniConto prima = condizioniInMemoria();
    const auto filePrima = cartella();
    const CampiCondizioni mostrati = campiDaCondizioni(prima, 1.0, kFormatoEuro);

    CampiCondizioni campi = mostrati;
    campi.tassoCreditori[1] = "7";
    campi.dataDebitori[2] = "01/01/2000";
    EXPECT_EQ(confermaCondizioni(campi, mostrati).stato, Esito::Stato::Rifiutato);
    EXPECT_EQ(cartella(), filePrima);
    EXPECT_TRUE(condizioniInMemoria() == prima);

    // ".spe" cannot be written: the other four are put back, the records too.
    ASSERT_TRUE(QFile::remove(file(".spe")));
    ASSERT_TRUE(QDir().mkdir(file(".spe")));
    const auto fileConCartella = cartella();
    campi = mostrati;
    campi.tassoCreditori[1] = "7";
    const Esito e = confermaCondizioni(campi, mostrati);
    EXPECT_EQ(e.stato, Esito::Stato::Fallito);
    EXPECT_TRUE(e.testo.startsWith("Impossibile salvare le condizioni del conto"));
    EXPECT_EQ(cartella(), fileConCartella);
    EXPECT_TRUE(condizioniInMemoria() == prima);
}

} // namespace
} // namespace qv
