// The printed conditions sheet "Elenco Costi e condizioni", line by line with its fonts.
#include "conditions_fixture.h"

#include "conditions/conditions_sheet.h"

#include <limits>

namespace qv {
namespace {

using namespace test;

RigaStampa arial18(const QString& t) {
    return {t, QStringLiteral("Arial"), 18, true};
}
RigaStampa courier975(const QString& t) {
    return {t, QStringLiteral("Courier New"), 9.75, true};
}
RigaStampa titolo(const QString& t) {
    return {t, QStringLiteral("Courier New"), 10, true};
}
RigaStampa corpo(const QString& t = QString()) {
    return {t, QStringLiteral("Courier New"), 10, false};
}
QString trattini(int n) {
    return QStringLiteral("  ") + QString(n, u'-');
}

class ConditionsSheet : public ConditionsTest {};

TEST_F(ConditionsSheet, EveryFieldSetInLire) {
    const RigheStampa righe = righeFoglioCondizioni(
        condizioniComplete(), QStringLiteral("Banca di Prova"), QStringLiteral("Lira italiana"),
        1936.27, QStringLiteral("#,###,###,##0"));
    const RigheStampa attese{
        arial18(""),
        arial18(QString(41, u' ') + "Elenco Costi e condizioni "),
        arial18(""),
        arial18("  Banca di Prova"),
        {"", "Arial", 12, true},
        courier975("  Valuta: Lira italiana"),
        courier975(trattini(94)),
        courier975(""),
        titolo("  Interessi creditori"),
        corpo(),
        corpo("  dalla data: 01/01/2001 Interessi: 02,06%"), // line 11
        corpo(" "),
        corpo("  dalla data: 01/07/2001 Interessi: 01,50%"),
        corpo(),
        corpo("  dalla data: 01/01/2002 Interessi: 00,75%"), // line 15
        corpo(),
        corpo("  dalla data: __/__/____ Interessi: 00,00%"),
        corpo(),
        corpo("  dalla data: __/__/____ Interessi: 00,00%"),
        corpo(), // line 20
        corpo(),
        titolo("  Interessi Debitori"),
        corpo(),
        corpo(),
        corpo("  dalla data: 01/01/2001 Interessi: 12,13%"), // line 25
        corpo(" "),
        corpo("  dalla data: 15/03/2001 Interessi: 11,50%"),
        corpo(),
        corpo("  dalla data: __/__/____ Interessi: 00,00%"),
        corpo(), // line 30
        corpo("  dalla data: __/__/____ Interessi: 00,00%"),
        corpo(),
        corpo("  dalla data: __/__/____ Interessi: 00,00%"),
        corpo(),
        corpo(), // line 35
        titolo("  Spese Varie"),
        corpo(),
        corpo("  Spese fisse di chiusura    Lire        49.994  Addebito Trimestrale"),
        corpo("  Tenuta conto               Lire         9.991  Addebito Annuale"),
        corpo("  Costo scrittura movimenti  Lire         1.200  Addebito Trimestrale"), // 40
        corpo("  Costo tenuta fido          Lire        20.002  Addebito Annuale"),
        corpo("  Rimborso forfettario       Lire        24.997  Addebito Trimestrale"),
        corpo("  Bollo                      Lire         1.994  Addebito Trimestrale"),
        corpo("  Invio estratto conto       Lire           194  Addebito Annuale"),
        corpo(), // line 45
        corpo(trattini(67)),
        titolo("  Oneri passivi"),
        corpo(),
        corpo("  Commissione eccedenza / E.F.    00,50%"),
        corpo("  Commissione massimo scoperto    00,13%"), // line 50
        corpo("  Ritenuta fiscale                27,00%"),
        corpo("  Commissione fido                01,06%"),
        corpo("  Diritti di urgenza              02,50%"),
        corpo(),
        corpo(), // line 55
        corpo("  Nr. movimenti sotto il quale si applica il rimborso fofettario: 12"),
        corpo(),
        corpo(),
        corpo(),
        corpo(), // line 60
        corpo(),
        corpo(),
        corpo(),
        corpo(),
        corpo(trattini(94)), // line 65
        corpo(),
        corpo(QString(43, u' ') + "Pagina 1" + QString(17, u' ') + ".....fine stampa"),
    };
    ASSERT_EQ(attese.size(), 67U);
    ASSERT_EQ(righe.size(), attese.size());
    for (size_t i = 0; i < attese.size(); ++i) {
        EXPECT_EQ(righe[i].testo, attese[i].testo) << "line " << i + 1;
        EXPECT_EQ(righe[i].font, attese[i].font) << "line " << i + 1;
        EXPECT_EQ(righe[i].punti, attese[i].punti) << "line " << i + 1;
        EXPECT_EQ(righe[i].grassetto, attese[i].grassetto) << "line " << i + 1;
    }
}

TEST_F(ConditionsSheet, ValuesThatMoveTheColumns) {
    CondizioniConto c; // a record never saved: blank dates, flags and descriptions
    c.creditori.tasso[1] = 100.0F;
    c.creditori.tasso[2] = 5.5F;
    c.creditori.dataDecorrenza[2] = QStringLiteral("01/01/2000");
    c.spese.importoSpesa[0] = 12345678901.5;
    c.spese.importoSpesa[6] = 1.005;
    c.spese.addebitoTrimestrale = {"0", "1", " ", "7", "", "A", "1"};
    c.oneri.aliquotaLibera1 = 0.125F;
    const RigheStampa r = righeFoglioCondizioni(c, QString(), QStringLiteral("Euro"), 1.0,
                                                QStringLiteral("#,###,###,##0.00"));
    ASSERT_EQ(r.size(), 67U);
    const struct {
        int riga;
        const char* testo;
    } attese[] = {
        {4, "  "},
        {6, "  Valuta: Euro"},
        {11, "  dalla data:            Interessi: 100,00%"},
        {13, "  dalla data: 01/01/2000 Interessi: 05,50%"},
        {38, "  Spese fisse di chiusura    Lire 12.345.678.901,50  Addebito Annuale"},
        {39, "  Tenuta conto               Lire          0,00  Addebito Trimestrale"},
        {40, "  Costo scrittura movimenti  Lire          0,00  Addebito Trimestrale"},
        {41, "  Costo tenuta fido          Lire          0,00  Addebito Annuale"},
        {42, "  Rimborso forfettario       Lire          0,00  Addebito Trimestrale"},
        {43, "                             Lire          0,00  Addebito Trimestrale"},
        {44, "                             Lire          1,01  Addebito Trimestrale"},
        {52, "                                  00,13%"},
        {53, "                                  00,00%"},
        {56, "  Nr. movimenti sotto il quale si applica il rimborso fofettario: 0"},
    };
    for (const auto& a : attese)
        EXPECT_EQ(r[size_t(a.riga - 1)].testo, a.testo) << "line " << a.riga;
}

TEST_F(ConditionsSheet, RatesAndFeesNoComputationMayCountPrintAsZero) {
    CondizioniConto c = condizioniComplete();
    c.creditori.tasso[2] = std::numeric_limits<float>::quiet_NaN();
    c.oneri.ritenutaFiscale = -std::numeric_limits<float>::infinity();
    c.spese.importoSpesa[1] = std::numeric_limits<double>::infinity();
    c.spese.importoSpesa[3] = 2e13;
    const RigheStampa r = righeFoglioCondizioni(c, QString(), QStringLiteral("Euro"), 1.0,
                                                QStringLiteral("#,###,###,##0.00"));
    ASSERT_EQ(r.size(), 67U);
    EXPECT_EQ(r[12].testo, "  dalla data: 01/07/2001 Interessi: 00,00%");
    EXPECT_EQ(r[38].testo, "  Tenuta conto               Lire          0,00  Addebito Annuale");
    EXPECT_EQ(r[40].testo, "  Costo tenuta fido          Lire          0,00  Addebito Annuale");
    EXPECT_EQ(r[50].testo, "  Ritenuta fiscale                00,00%");
}

TEST_F(ConditionsSheet, TheBankIsTheOpenAccounts) {
    EXPECT_EQ(bancaContoAperto(), "Banca di Prova");
    stato().TabellaConti[1].nomeBanca = QStringLiteral("  Banca Nuova  ");
    EXPECT_EQ(bancaContoAperto(), "Banca Nuova");
    stato().CodiceContoAttivo.clear();
    stato().IndiceContoAttivo = 0;
    EXPECT_EQ(bancaContoAperto(), "");
}

} // namespace
} // namespace qv
