// Opening an account from its sheet asks the open account (the ledger's, answered by the
// main window) to judge the account's files, to rebuild them and to open it: in that
// order, and only as far as the user and the files let it go.

#include "support/fixture.h"

#include "archives/account_selection_form.h"
#include "archives/account_sheet_form.h"
#include "common/shared_state.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace qv::test {
namespace {

class AccountRequests : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StatoProgramma& s = stato();
        s.TabellaConti.resize(3);
        s.TabellaConti[1].codiceConto = QStringLiteral("10");
        s.TabellaConti[2].codiceConto = QStringLiteral("20");
        s.NumeroConti = 2;
    }
    void TearDown() override {
        impostaRichiesteConti({});
        ProgramTest::TearDown();
    }

    // Requests that log every call and answer the judgement `esame`, the rebuild with
    // `ricostruito` and the opening with true.
    void rispondi(const EsameApertura& esame, const Esito& ricostruito) {
        impostaRichiesteConti({
            .chiudiConto = [this] { chiamate << QStringLiteral("chiudi"); },
            .cambiaCartellaDati = [this](const QString& c) { chiamate << "cartella " + c; },
            .esaminaConto =
                [this, esame, ricostruito](const QString& cartella, const QString& codice) {
                    chiamate << QStringLiteral("esamina %1 %2").arg(cartella, codice);
                    EsameApertura e = esame;
                    if (e.domandaRicostruzione) {
                        e.ricostruisci = [this, ricostruito] {
                            chiamate << QStringLiteral("ricostruisci");
                            return ricostruito;
                        };
                    }
                    return e;
                },
            .apriConto =
                [this](int riga) {
                    chiamate << QStringLiteral("apri %1").arg(riga);
                    return true;
                },
        });
    }

    QStringList chiamate;
};

TEST_F(AccountRequests, WithNoRequestsNoAccountOpensAndNothingIsAsked) {
    EXPECT_FALSE(apriContoDellaRiga(1));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(AccountRequests, TheFilesAreJudgedThenRebuiltOnlyWhenTheUserSaysSoThenTheAccountOpens) {
    const QString danno = QStringLiteral("Il conteggio dei movimenti è danneggiato.");
    const QString illeggibile = QStringLiteral("Il file 20.MOV non può essere letto.");
    struct Caso {
        const char* nome;
        int riga;
        std::optional<QString> illeggibili;
        std::optional<QString> domanda;
        std::optional<MessageAnswer> risposta;
        Esito ricostruito;
        bool aperto;
        QStringList dopoEsame; // the calls after the judgement
        QStringList testi;     // the boxes shown
    };
    const Esito guasto = Esito::fallito(QStringLiteral("Scrittura non riuscita."));
    // clang-format off
    const std::vector<Caso> casi = {
        {"sound files", 1, {}, {}, {}, Esito::fatto(), true, {"apri 1"}, {}},
        {"unreadable", 2, illeggibile, {}, {}, Esito::fatto(), false, {},
         {illeggibile + "\nIl conto non è stato aperto e nessun file è stato modificato."}},
        {"damaged, No", 1, {}, danno, MessageAnswer::No, Esito::fatto(), false, {}, {danno}},
        {"damaged, Sì", 1, {}, danno, MessageAnswer::Yes, Esito::fatto(), true,
         {"ricostruisci", "apri 1"}, {danno}},
        {"damaged, Sì, rebuild fails", 1, {}, danno, MessageAnswer::Yes, guasto, false,
         {"ricostruisci"}, {danno, "Scrittura non riuscita.\nIl conto non è stato aperto."}},
    };
    // clang-format on
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        chiamate.clear();
        messages.clear();
        if (c.risposta) messages.answer(*c.risposta);
        rispondi({.illeggibili = c.illeggibili, .domandaRicostruzione = c.domanda}, c.ricostruito);

        EXPECT_EQ(apriContoDellaRiga(c.riga), c.aperto);
        const QString codice = stato().TabellaConti[size_t(c.riga)].codiceConto;
        EXPECT_EQ(chiamate,
                  QStringList{QStringLiteral("esamina %1 %2").arg(stato().PercorsoDati, codice)} +
                      c.dopoEsame);
        EXPECT_EQ(messages.texts(), c.testi);
        for (const MessageRecord& box : messages.shown())
            EXPECT_EQ(box.title, QStringLiteral("Attenzione"));
    }
}

TEST_F(AccountRequests, ARowThatHoldsNoAccountAsksNothing) {
    rispondi({}, Esito::fatto());
    for (int riga : {0, 3, -1})
        EXPECT_FALSE(apriContoDellaRiga(riga)) << riga;
    EXPECT_TRUE(chiamate.isEmpty());
    EXPECT_TRUE(messages.shown().empty());
}

} // namespace
} // namespace qv::test
