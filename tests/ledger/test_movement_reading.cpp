// One reading of a typed movement for the movement form, the alignment and the change of
// a listed movement: the checks of each in its order, the refusals with their words and
// fields, and the movement read.
#include "ledger/movement_reading.h"

#include "common/amounts.h"
#include "common/shared_state.h"
#include "support/fixture.h"
#include "support/open_account.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

using M = ModuloMovimento;

const QString kLunga = QStringLiteral(" Data Errata; Inserire la data nel formato GGMMAAAA "
                                      "immettendo lo zero davanti ai numeri con una sola cifra.");
const QString kBreve = QStringLiteral(" Data Errata; Inserire la data nel formato GGMMAA "
                                      "immettendo lo zero davanti ai numeri con una sola cifra.");

class MovementReading : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        openTestAccount("CC1", "Banca");
        setCausali({causaleEntry(1, "PR", "PRELIEVO", "N", "U"),
                    causaleEntry(2, "VE", "VERSAMENTO", "S", "E")});
    }

    // A movement typed well in every field.
    static TestiMovimento buono() {
        TestiMovimento t;
        t.dataOperazione = QStringLiteral("05/12/2026");
        t.dataValuta = QStringLiteral("06/12/2026");
        t.causale = QStringLiteral("VE");
        t.importo = QStringLiteral("1.234,50");
        t.numeroDocumento = QStringLiteral("77");
        t.descrizione = QStringLiteral("stipendio");
        t.sospeso = QStringLiteral("s");
        t.entrataUscita = QStringLiteral("e");
        t.annullato = QStringLiteral("n");
        return t;
    }
};

struct Rifiuto {
    const char* caso;
    M modulo;
    TestiMovimento testi;
    QString testo;
    QString titolo;
    QString campo;
    bool svuota;
    bool beep;
};

// Each form refuses its first wrong field with its own words, title and field.
TEST_F(MovementReading, EachFormRefusesItsFirstWrongFieldWithItsWords) {
    const auto con = [](auto modifica) {
        TestiMovimento t = buono();
        modifica(t);
        return t;
    };
    const QString obbl = QStringLiteral("Campo data operazione obbligatorio");
    const QString obblV = QStringLiteral("Campo data Valuta obbligatorio");
    const QString importo = QStringLiteral("Campo Importo obbligatorio");
    const QString causale = QStringLiteral("CODICE CAUSALE NON PRESENTE!");
    const QString e = QStringLiteral("ERRORE");
    const auto vuotaOp = con([](TestiMovimento& t) { t.dataOperazione = "__/__/____"; });
    const auto vuotaVal = con([](TestiMovimento& t) { t.dataValuta = "__/__/____"; });
    const auto incompleta = con([](TestiMovimento& t) { t.dataOperazione = "05/12/20__"; });
    const auto errata = con([](TestiMovimento& t) { t.dataValuta = "31/04/2026"; });
    const auto senzaImporto = con([](TestiMovimento& t) { t.importo = "  "; });
    // Two faults at once: which is named first is each form's order.
    const auto importoECausale = con([](TestiMovimento& t) {
        t.importo = "abc";
        t.causale = "ZZ";
    });
    const auto riservata = con([](TestiMovimento& t) { t.causale = "AS"; });
    const auto nonNumero = con([](TestiMovimento& t) { t.importo = "12a"; });
    const auto negativo = con([](TestiMovimento& t) { t.importo = "-5"; });
    const auto grande = con([](TestiMovimento& t) { t.importo = "10.000.000.000.000"; });
    const std::vector<Rifiuto> casi = {
        {"data op. vuota", M::Immissione, vuotaOp, obbl, e, "DataOper", false, true},
        {"data op. vuota", M::Modifica, vuotaOp, obbl, e, "DataOper", false, true},
        {"data op. vuota", M::Allineamento, vuotaOp, "", "", "DataOper", false, false},
        {"valuta vuota", M::Immissione, vuotaVal, obblV, e, "DataValuta", false, true},
        {"valuta vuota", M::Allineamento, vuotaVal, obblV, e, "DataValuta", false, true},
        {"incompleta", M::Immissione, incompleta, kBreve, "Errore", "DataOper", true, false},
        {"incompleta", M::Allineamento, incompleta, kBreve, "Errore", "DataOper", true, false},
        {"incompleta", M::Modifica, incompleta, kLunga, "Errore", "DataOper", true, false},
        {"errata", M::Immissione, errata, kLunga, "Errore", "DataValuta", true, false},
        {"errata", M::Modifica, errata, kLunga, "Errore", "DataValuta", true, false},
        {"senza importo", M::Immissione, senzaImporto, importo, "", "IMPORTO", false, false},
        {"senza importo", M::Modifica, senzaImporto, importo, "", "IMPORTO", false, false},
        {"importo e causale", M::Immissione, importoECausale, causale, e, "Causale", false, false},
        {"importo e causale", M::Modifica, importoECausale, amountErrorMessage(), e, "IMPORTO",
         false, false},
        {"importo e causale", M::Allineamento, importoECausale, amountErrorMessage(), e, "IMPORTO",
         false, false},
        {"riservata", M::Modifica, riservata, causale, e, "Causale", false, false},
        {"non un numero", M::Immissione, nonNumero, amountErrorMessage(), e, "IMPORTO", false,
         false},
        {"negativo", M::Modifica, negativo, amountErrorMessage(), e, "IMPORTO", false, false},
        {"troppo grande", M::Immissione, grande, amountTooLargeMessage(), e, "IMPORTO", false,
         false},
        {"troppo grande", M::Modifica, grande, amountTooLargeMessage(), e, "IMPORTO", false,
         false},
    };
    for (const Rifiuto& c : casi) {
        const LetturaMovimento l = leggiMovimento(c.testi, c.modulo);
        EXPECT_TRUE(l.esito.rifiutato()) << c.caso << int(c.modulo);
        EXPECT_EQ(l.esito.testo, c.testo) << c.caso << int(c.modulo);
        EXPECT_EQ(l.esito.titolo, c.titolo) << c.caso << int(c.modulo);
        EXPECT_EQ(l.esito.campo, c.campo) << c.caso << int(c.modulo);
        EXPECT_EQ(l.esito.svuotaCampo, c.svuota) << c.caso << int(c.modulo);
        EXPECT_EQ(l.esito.beep, c.beep) << c.caso << int(c.modulo);
        EXPECT_EQ(l.esito.icona, IconaEsito::Avviso) << c.caso;
    }
}

// The rate of the display currency is checked last but for the alignment's causale, with
// the alignment's own words.
TEST_F(MovementReading, AnUnusableRateIsRefusedInEachFormsWords) {
    stato().FattoreValuta = 0;
    for (M modulo : {M::Immissione, M::Modifica, M::Allineamento}) {
        const LetturaMovimento l = leggiMovimento(buono(), modulo);
        ASSERT_TRUE(l.esito.rifiutato());
        EXPECT_TRUE(l.esito.campo.isEmpty());
        EXPECT_EQ(l.esito.testo, modulo == M::Allineamento
                                     ? QStringLiteral("Il cambio della valuta di "
                                                      "visualizzazione non è utilizzabile: "
                                                      "scegliere un'altra valuta.")
                                     : QStringLiteral("Cambio non impostato per questa valuta"));
    }
}

// Read well, a movement has the amount in Euro and the flags its form gives it.
TEST_F(MovementReading, AMovementReadTakesItsFlagsFromTheCausaleOrAsTyped) {
    stato().FattoreValuta = 2;
    const LetturaMovimento entrata = leggiMovimento(buono(), M::Immissione);
    ASSERT_TRUE(entrata.esito.ok());
    const Movimento& m = entrata.movimento;
    EXPECT_EQ(m.dataOperazione, "05/12/2026");
    EXPECT_EQ(m.dataValuta, "06/12/2026");
    EXPECT_EQ(m.codiceCausale, "VE");
    EXPECT_DOUBLE_EQ(m.importo, 617.25);
    EXPECT_EQ(m.numeroDocumento, "77");
    EXPECT_EQ(m.descrizione, "stipendio");
    EXPECT_EQ(m.sospeso, "S"); // the causale's default
    EXPECT_EQ(m.entrataUscita, "E");
    EXPECT_EQ(m.annullato, "N");

    // The change of a listed movement keeps what is typed, capitalised, and rewrites the
    // dates with two digits.
    TestiMovimento t = buono();
    t.dataOperazione = QStringLiteral("5/12/2026");
    const LetturaMovimento modifica = leggiMovimento(t, M::Modifica);
    ASSERT_TRUE(modifica.esito.ok());
    EXPECT_EQ(modifica.movimento.dataOperazione, "05/12/2026");
    EXPECT_EQ(modifica.riscritti.dataOperazione, "05/12/2026");
    EXPECT_EQ(modifica.movimento.sospeso, "S");
    EXPECT_EQ(modifica.movimento.entrataUscita, "E");
    EXPECT_EQ(modifica.movimento.annullato, "N");

    // A flag that is neither letter is refused in its field; the ones before it passed.
    t.entrataUscita = QStringLiteral("x");
    const LetturaMovimento errata = leggiMovimento(t, M::Modifica);
    EXPECT_EQ(errata.esito.testo, messaggioEntrataUscitaErrata());
    EXPECT_EQ(errata.esito.campo, "D_A");
    EXPECT_EQ(errata.riscritti.sospeso, "S");
    EXPECT_TRUE(errata.riscritti.annullato.isEmpty());
}

struct CasoCausale {
    const char* caso;
    M modulo;
    const char* codice;
    const char* sospesoMostrato;
    const char* direzioneMostrata;
    bool inModifica;
    const char* causaleMostrata;
    int conti;
    bool trovata;
    const char* sospeso;
    const char* direzione;
};

// What a causale gives the movement in each form.
TEST_F(MovementReading, TheCausaleGivesTheSuspendedFlagAndTheDirectionAsEachFormWants) {
    const std::vector<CasoCausale> casi = {
        {"defaults", M::Immissione, "PR", "", "", false, "", 1, true, "N", "U"},
        {"blanks cut", M::Immissione, "VE   ", "", "", false, "", 1, true, "S", "E"},
        {"held N kept", M::Immissione, "VE", "N", "", true, "", 1, true, "N", "E"},
        {"N of a new entry", M::Immissione, "VE", "N", "", false, "", 1, true, "S", "E"},
        {"reserved", M::Immissione, "AS", "", "", false, "", 1, true, "S", "U"},
        {"transfer, one account", M::Immissione, "GC", "", "E", false, "", 1, true, "S", "U"},
        {"transfer, two accounts", M::Immissione, "GC", "", "E", false, "", 2, true, "S", "E"},
        {"unknown", M::Immissione, "ZZ", "S", "E", false, "", 1, false, "", ""},
        {"unknown, held N", M::Immissione, "ZZ", "N", "E", true, "", 1, false, "N", ""},
        {"case counts", M::Immissione, "ve", "", "", false, "", 1, false, "", ""},
        {"same as shown", M::Allineamento, "PR", "", "E", false, "PR", 1, true, "", "E"},
        {"other than shown", M::Allineamento, "PR", "", "E", false, "VE", 1, true, "", "U"},
        {"transfer keeps", M::Allineamento, "GC", "", "E", false, "VE", 1, true, "", "E"},
        {"transfer without", M::Allineamento, "GC", "", "", false, "VE", 1, true, "", "U"},
        {"archive only", M::Modifica, "GC", "S", "E", false, "", 1, false, "S", "E"},
    };
    for (const CasoCausale& c : casi) {
        stato().NumeroConti = qint16(c.conti);
        TestiMovimento t;
        t.causale = QString::fromLatin1(c.codice);
        t.sospeso = QString::fromLatin1(c.sospesoMostrato);
        t.entrataUscita = QString::fromLatin1(c.direzioneMostrata);
        ContestoLettura contesto;
        contesto.inModifica = c.inModifica;
        contesto.causaleMostrata = QString::fromLatin1(c.causaleMostrata);
        const CausaleLetta l = leggiCausale(t, c.modulo, contesto);
        EXPECT_EQ(l.voce.has_value(), c.trovata) << c.caso;
        EXPECT_EQ(l.codice, c.trovata ? QString::fromLatin1(c.codice).trimmed() : QString())
            << c.caso;
        EXPECT_EQ(l.sospeso, QString::fromLatin1(c.sospeso)) << c.caso;
        EXPECT_EQ(l.entrataUscita, QString::fromLatin1(c.direzione)) << c.caso;
    }
}

// A movement changed in Lire keeps its stored Euro amount when its figure is confirmed as
// shown; a figure typed anew is divided by the rate. Without a stored amount (a new
// movement) the figure is always divided.
TEST_F(MovementReading, AFigureConfirmedAsShownKeepsTheStoredAmount) {
    stato().FattoreValuta = 1936.27;
    stato().FormatoImporti = QStringLiteral("#,##0");
    const double memorizzato = 250.50; // shown as 485.036 Lire
    struct Caso {
        const char* caso;
        const char* digitato;
        bool conMemorizzato;
        double atteso;
    };
    const Caso casi[] = {
        {"as shown", "485.036", true, memorizzato},
        {"typed anew", "485.000", true, 485000 / 1936.27},
        {"new movement", "485.036", false, 485036 / 1936.27},
    };
    for (M modulo : {M::Immissione, M::Modifica, M::Allineamento}) {
        for (const Caso& c : casi) {
            TestiMovimento t = buono();
            t.causale = QStringLiteral("PR");
            t.importo = QString::fromLatin1(c.digitato);
            ContestoLettura contesto;
            contesto.inModifica = c.conMemorizzato;
            contesto.causaleMostrata = QStringLiteral("PR");
            if (c.conMemorizzato) contesto.importoMemorizzato = memorizzato;
            const LetturaMovimento l = leggiMovimento(t, modulo, contesto);
            ASSERT_TRUE(l.esito.ok()) << c.caso << " " << int(modulo);
            EXPECT_EQ(l.movimento.importo, c.atteso) << c.caso << " " << int(modulo);
        }
    }
}

} // namespace
} // namespace qv::test
