// The period closing: the form, what goes and what stays, the files and the copy set
// against bytes written out here, the printout line by line, and every file left as it
// was by a failure or a kill at any of its writes.
#include "maintenance_fixture.h"

#include "support/faults.h"

#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/account_loader.h"
#include "ledger/balances.h"
#include "ledger/entry_form.h"
#include "maintenance/closing.h"
#include "maintenance/closing_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace qv::test {
namespace {

class Closing : public MaintenanceTest {
protected:
    // Shows Form19 as "Elimina periodi" does, types `data` and confirms.
    void chiudi(const char* data) {
        formHost().setModalHook([&](Form& f) {
            auto& form = dynamic_cast<Form19&>(f);
            QApplication::setActiveWindow(form.window());
            form.DataChiusura->setTesto(QString());
            QTest::keyClicks(form.DataChiusura, QString::fromLatin1(data));
            QTest::keyClick(form.DataChiusura, Qt::Key_Return);
            ASSERT_TRUE(form.OK->hasFocus());
            form.OK->click();
        });
        mostraChiusuraPeriodica();
        formHost().setModalHook({});
    }

    // The expected files after the closing on 30/11/2026.
    static QByteArray movDopo() {
        return movimentoBytes(
                   {1, "02/10/2026", "02/10/2026", "CA", 3.0, "1", "Carnet nr. 1-201", "S", "U"}) +
               movimentoBytes({2, "15/10/2026", "15/10/2026", "VE", 50.0, "",
                               "Bonifico da confermare", "S", "E"}) +
               movimentoBytes(
                   {3, "25/10/2026", "25/10/2026", "AS", 40.0, "201", "Rossi", "N", "U"}) +
               movimentoBytes(
                   {4, "01/12/2026", "01/12/2026", "VE", 200.0, "", "Bonifico", "N", "E"});
    }
    static QByteArray fogDopo() {
        QByteArray b = foglioBytes({3, 1, 1, 201, "25/10/2026", 40.0, "Rossi", "", "N", "S"});
        for (int i = 1; i < 10; ++i)
            b += foglioBytes({0, qint16(1 + i), 1, 201 + i, "00/00/0000", 0.0, "", "", "N", "S"});
        return b;
    }
};

// The body lines: dates and amounts, then causale, document and description.
const QStringList kCorpo = {
    " 01/10/2026 01/10/2026            2,00                     -2,00"
    " Carnet assegni 1 Carnet nr. 1-101              ",
    " 05/10/2026 05/10/2026                     100,00          98,00"
    " Versamento  Stipendio                     ",
    " 10/10/2026 10/10/2026           30,00                     68,00"
    " Prelievo contanti al  Bancomat                      ",
    " 20/10/2026 20/10/2026           10,00                     58,00"
    " Assegno 101 Fornitore                     ",
    " 20/10/2026 20/10/2026           10,00                     48,00"
    " Assegno 102 Fornitore                     ",
    " 20/10/2026 20/10/2026           10,00                     38,00"
    " Assegno 103 Fornitore                     ",
    " 20/10/2026 20/10/2026           10,00                     28,00"
    " Assegno 104 Fornitore                     ",
    " 20/10/2026 20/10/2026           10,00                     18,00"
    " Assegno 105 Fornitore                     ",
    " 20/10/2026 20/10/2026           10,00                      8,00"
    " Assegno 106 Fornitore                     ",
    " 20/10/2026 20/10/2026           10,00                     -2,00"
    " Assegno 107 Fornitore                     ",
    " 20/10/2026 20/10/2026           10,00                    -12,00"
    " Assegno 108 Fornitore                     ",
    " 20/10/2026 20/10/2026           10,00                    -22,00"
    " Assegno 109 Fornitore                     ",
    " 20/10/2026 20/10/2026           10,00                    -32,00"
    " Assegno 110 Fornitore                     ",
    " 30/11/2026 30/11/2026           20,00                    -52,00"
    " Prelievo contanti al  Bancomat                      ",
    " 05/12/2026 05/12/2026            7,00                    -59,00"
    " Prelievo contanti al  Prelievo errato               ",
};

const QString kRighello = QStringLiteral(" ") + QString(95, u'-');

QStringList intestazione(const char* data) {
    return {
        "",        "                                  Elenco Movimenti Eliminati",
        "",        "Banca di Prova                         Stampato il 09-12-2026",
        "",        QStringLiteral("  al ") + QString::fromLatin1(data),
        kRighello, "     Data      Valuta      Mov. Dare  Mov. Avere     Saldo   Descr. Movimento",
        kRighello, ""};
}

// A page's end: the empty lines up to 57 body lines, the rule and the page number.
QStringList fine(int righeCorpo, int pagina, bool ultima) {
    QStringList righe;
    if (ultima)
        for (int i = righeCorpo; i < 58; ++i)
            righe << "";
    righe << kRighello << "" << QString(42, u' ') + "Pagina  " + QString::number(pagina) + " ";
    if (ultima) righe.back() += QString(17, u' ') + "....fine stampa";
    return righe;
}

TEST_F(Closing, FormClosesThePeriodWithItsFilesCopiesAndPrintout) {
    const auto prima = tuttiIFile();
    ASSERT_EQ(prima.at("CC1.Ord"), movBytes());
    const auto& s = stato();
    const double saldi[] = {s.SaldoContabile, s.SaldoNonSospesi, s.SaldoOperazioneOggi,
                            s.SaldoValutaOggi};

    chiudi("30112026");

    // Only the warning was asked.
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "AVVERTIMENTO!");
    EXPECT_EQ(messages.shown()[0].text, avvisoChiusura());
    EXPECT_FALSE(formHost().loaded<Form19>()->isShown());

    const auto dopo = tuttiIFile();
    const auto voce = [](const char* ext, const QByteArray& b) {
        return ext + ('\t' + QByteArray::number(b.size())) + '\t' +
               QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex() + '\n';
    };
    const std::map<QString, QByteArray> attesi = {
        {"CC1.MOV", movDopo()},
        {"CC1.MOR", le16(4)},
        {"CC1.Ord", movDopo()},
        {"CC1.TOT", totaliBytes(1101, 1148, 1148, 1148, "02/10/2026", "01/12/2026", "02/10/2026",
                                "01/12/2026")},
        {"CC1.CAR", carnetBytes({1, 1, "02/10/2026", 3.0, 201, 210, "N", 1, "N"})},
        {"CC1.NRC", le16(1)},
        {"CC1.FOG", fogDopo()},
        {"CC1.NRF", le16(10)},
        {"CC1.RIP", ripBytes("30/11/2026", 941.0)},
        {"CC1.chi", chiBytes("30/06/2026", 1000.0, "CC1")},
        {"Bak/CC1/Bak.ORD", movBytes()},
        {"Bak/CC1/Bak.FOG", fogBytes()},
        {"Bak/CC1/Bak.MOV", movBytes()},
        {"Bak/CC1/Bak.MOR", le16(19)},
        {"Bak/CC1/Bak.TOT", prima.at("CC1.TOT")},
        {"Bak/CC1/Bak.NRC", le16(2)},
        {"Bak/CC1/Bak.CAR", carBytes()},
        {"Bak/CC1/Bak.NRF", le16(20)},
        {"Bak/CC1/Bak.RIP", ripBytes("30/06/2026", 1000.0)},
        // Each copy with its size and SHA-256.
        {"Bak/CC1/Bak.lst",
         "Quorvanta: copia dei file del conto\nconto\tCC1\n" + voce(".ORD", movBytes()) +
             voce(".FOG", fogBytes()) + voce(".MOV", movBytes()) + voce(".MOR", le16(19)) +
             voce(".TOT", prima.at("CC1.TOT")) + voce(".NRC", le16(2)) + voce(".CAR", carBytes()) +
             voce(".NRF", le16(20)) + voce(".RIP", ripBytes("30/06/2026", 1000.0))},
    };
    ASSERT_EQ(dopo.size(), attesi.size());
    for (const auto& [nome, bytes] : attesi) {
        ASSERT_TRUE(dopo.count(nome)) << nome.toStdString();
        EXPECT_EQ(printable(dopo.at(nome)), printable(bytes)) << nome.toStdString();
    }

    // The balances stay: what went is in the carry-forward.
    EXPECT_EQ(s.NumeroMovimenti, 4);
    EXPECT_DOUBLE_EQ(s.TabellaRiporto[1].saldoRiporto, 941.0);
    const double dopoSaldi[] = {s.SaldoContabile, s.SaldoNonSospesi, s.SaldoOperazioneOggi,
                                s.SaldoValutaOggi};
    for (int i = 0; i < 4; ++i)
        EXPECT_DOUBLE_EQ(dopoSaldi[i], saldi[i]) << i;

    // The printout: one page.
    ASSERT_EQ(printed.documents().size(), 1u);
    const PrintedDocument& doc = printed.lastDocument();
    ASSERT_EQ(doc.size(), 1u);
    const QStringList pagina = intestazione("30/11/2026") + kCorpo + fine(15, 1, true);
    EXPECT_EQ(CapturePrinter::texts(doc[0]), pagina);
    EXPECT_EQ(doc[0][1].fontName, "Arial");
    EXPECT_EQ(doc[0][1].fontSize, 18);
    EXPECT_EQ(doc[0][3].fontSize, 12);
    EXPECT_TRUE(doc[0][5].bold);
    EXPECT_EQ(doc[0][5].fontName, "Courier New");
    EXPECT_FALSE(doc[0][6].bold);

    // The form shows the new previous closing the next time.
    formHost().setModalHook([](Form& f) {
        auto& form = dynamic_cast<Form19&>(f);
        EXPECT_EQ(form.ChiusPrec->text(), "30/11/2026");
        form.esci->click();
    });
    mostraChiusuraPeriodica();
    formHost().setModalHook({});
}

TEST_F(Closing, FormControlsAndKeys) {
    formHost().setModalHook([](Form& f) {
        auto& form = dynamic_cast<Form19&>(f);
        QApplication::setActiveWindow(form.window());
        EXPECT_EQ(form.caption(), "Chiusura periodica");
        EXPECT_EQ(form.Label1->text(), "Nuova chiusura al:");
        EXPECT_EQ(form.Label2->text(), "data chiusura precedente:");
        EXPECT_EQ(form.OK->text(), "Conferma");
        EXPECT_EQ(form.esci->text(), "Uscita");
        for (const char* nome :
             {"DataChiusura", "ChiusPrec", "Label1", "Label2", "OK", "esci", "Panel3D1"})
            EXPECT_NE(form.findChild<QWidget*>(nome), nullptr) << nome;
        EXPECT_EQ(form.DataChiusura->testo(), "__/__/____");
        EXPECT_EQ(form.ChiusPrec->text(), "30/06/2026");
        EXPECT_TRUE(form.DataChiusura->hasFocus());
        // Enter on the empty field goes on to "Conferma", which refuses it.
        QTest::keyClick(form.DataChiusura, Qt::Key_Return);
        EXPECT_TRUE(form.OK->hasFocus());
        form.OK->click();
        EXPECT_TRUE(form.DataChiusura->hasFocus());
        // Esc leaves as "Uscita" does.
        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_FALSE(form.isShown());
    });
    mostraChiusuraPeriodica();
    formHost().setModalHook({});
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Campo data obbligatorio");
    EXPECT_EQ(messages.shown()[0].title, "ERRORE");
}

// Which movements a closing on 15/03/2026 removes, one case each.
TEST_F(Closing, WhatGoesAndWhatStays) {
    struct Caso {
        const char* nome;
        const char* data;
        const char* causale;
        const char* sospeso;
        const char* annullato;
        bool va;
    };
    const Caso casi[] = {
        {"on the closing date", "15/03/2026", "VE", "N", "N", true},
        {"the day after", "16/03/2026", "VE", "N", "N", false},
        {"well before", "01/01/2025", "PR", "N", "N", true},
        {"suspended", "01/03/2026", "VE", "S", "N", false},
        {"a cheque", "01/03/2026", "AS", "N", "N", false},
        {"a book's cost", "01/03/2026", "CA", "N", "N", false},
        {"marked to go, later", "01/04/2026", "VE", "S", "S", true},
    };
    for (const Caso& c : casi) {
        DatiChiusura dati;
        dati.dataChiusura = "15/03/2026";
        dati.codice = "CC1";
        Movimento m;
        m.numero = 1;
        m.dataOperazione = m.dataValuta = c.data;
        m.codiceCausale = c.causale;
        m.importo = 5;
        m.sospeso = c.sospeso;
        m.entrataUscita = "E";
        m.annullato = c.annullato;
        dati.movimenti = {Movimento{}, m};
        const PianoChiusura piano = calcolaChiusura(dati);
        EXPECT_EQ(piano.eliminati.size(), c.va ? 1u : 0u) << c.nome;
        EXPECT_EQ(piano.rimasti.size(), c.va ? 0u : 1u) << c.nome;
        EXPECT_DOUBLE_EQ(piano.riporto.saldoRiporto, c.va ? 5.0 : 0.0) << c.nome;
        EXPECT_EQ(piano.riporto.dataRiporto, "15/03/2026") << c.nome;
    }
}

TEST_F(Closing, NetOfRemovedMovementsAndPages) {
    // 57 removed movements fill one page; the 58th opens the second; none gives one page.
    for (const int quanti : {0, 57, 58}) {
        std::vector<Movimento> eliminati;
        for (int i = 0; i < quanti; ++i) {
            Movimento m;
            m.dataOperazione = m.dataValuta = "01/02/2026";
            m.codiceCausale = "VE";
            m.importo = i == 0 ? 100 : 30;
            m.entrataUscita = i == 0 ? "E" : "U";
            eliminati.push_back(m);
        }
        const PrintedDocument doc =
            StampaMovimentiEliminati(contestoStampaCorrente(), "31/01/2026", eliminati,
                                     righeTabella(stato().TabellaCausali, 4));
        ASSERT_EQ(doc.size(), quanti == 58 ? 2u : 1u) << quanti;
        if (quanti == 0) {
            EXPECT_EQ(CapturePrinter::texts(doc[0]), intestazione("31/01/2026") + fine(0, 1, true));
            continue;
        }
        const QStringList prima = CapturePrinter::texts(doc[0]);
        // 100 "E" then 30 "U": the running net reads 100, then 70.
        EXPECT_EQ(prima[10].mid(49, 15), "         100,00");
        EXPECT_EQ(prima[11].mid(49, 15), "          70,00");
        if (quanti == 57) {
            EXPECT_EQ(prima.size(), 10 + 57 + 1 + 3);
            EXPECT_EQ(prima.mid(67), fine(57, 1, true));
        } else {
            EXPECT_EQ(prima.size(), 10 + 57 + 3);
            EXPECT_EQ(prima.mid(67), fine(57, 1, false));
            const QStringList seconda = CapturePrinter::texts(doc[1]);
            EXPECT_EQ(seconda.mid(0, 10), intestazione("31/01/2026"));
            EXPECT_EQ(seconda.mid(11), fine(1, 2, true));
        }
    }
}

TEST_F(Closing, APageOfThePrintoutMadeAloneIsThatPageOfTheWholePrintout) {
    // 130 removed movements: three pages, the net carried from each page to the next.
    std::vector<Movimento> eliminati;
    for (int i = 0; i < 130; ++i) {
        Movimento m;
        m.dataOperazione = m.dataValuta = "01/02/2026";
        m.codiceCausale = "VE";
        m.importo = i == 0 ? 100 : 30;
        m.entrataUscita = i == 0 ? "E" : "U";
        eliminati.push_back(m);
    }
    const auto causali = righeTabella(stato().TabellaCausali, 4);
    const PrintedDocument tutta =
        StampaMovimentiEliminati(contestoStampaCorrente(), "31/01/2026", eliminati, causali);
    const PagineMovimentiEliminati pagine(contestoStampaCorrente(), "31/01/2026", eliminati,
                                          causali);
    ASSERT_EQ(pagine.pagine(), 3);
    ASSERT_EQ(tutta.size(), 3u);
    // Made out of order, each page is the same.
    for (const int k : {2, 0, 1})
        EXPECT_EQ(pagine.pagina(k), tutta[size_t(k)]) << k;
    EXPECT_TRUE(pagine.pagina(3).empty());
    // The first line of page 2 is the 58th movement: 100 - 57 x 30; of page 3 the 115th.
    EXPECT_EQ(CapturePrinter::texts(tutta[1])[10].mid(49, 15), "      -1.610,00");
    EXPECT_EQ(CapturePrinter::texts(tutta[2])[10].mid(49, 15), "      -3.320,00");
    EXPECT_EQ(CapturePrinter::texts(tutta[2]).mid(11 + 15), fine(16, 3, true));
}

TEST_F(Closing, DateChecks) {
    Riporto ultima;
    ultima.dataRiporto = "30/06/2026";
    struct Caso {
        const char* testo;
        const char* messaggio; // "" for accepted
        bool svuota;
    };
    const Caso casi[] = {
        {"__/__/____", "Campo data obbligatorio", false},
        {"31/02/2026", " Data Errata;", true},
        {"12/__/____", "", true},
        {"29/06/2026",
         "La nuova chiusura non può essere anteriore all'ultima chiusura, del "
         "30/06/2026",
         false},
        {"30/06/2026", "", false},
        {"01/07/2026", "", false},
    };
    for (const Caso& c : casi) {
        const Esito e = controllaDataChiusura(c.testo, ultima);
        const bool accettata = QString(c.messaggio).isEmpty() && !c.svuota;
        EXPECT_EQ(e.ok(), accettata) << c.testo;
        if (accettata) continue;
        EXPECT_TRUE(e.testo.startsWith(QString::fromUtf8(c.messaggio))) << c.testo;
        EXPECT_EQ(e.campo, "DataChiusura") << c.testo;
        EXPECT_EQ(e.svuotaCampo, c.svuota) << c.testo;
    }
    // Through the form: nothing asked, nothing printed, nothing changed.
    const auto prima = tuttiIFile();
    chiudi("29062026");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "ERRORE");
    EXPECT_TRUE(formHost().loaded<Form19>()->DataChiusura->hasFocus());
    EXPECT_EQ(tuttiIFile(), prima);
    EXPECT_TRUE(printed.documents().empty());
}

TEST_F(Closing, FailureOrKillAtEachWriteLeavesEveryFileAsItWas) {
    const auto chiudi = [this] {
        const PianoChiusura piano = calcolaChiusura(datiChiusuraContoAperto("30/11/2026"));
        return scriviChiusura(piano, dataFolder(), "CC1");
    };
    // The nine copies and their list, then eight files of the account; the next opening
    // of the account puts an unfinished closing back.
    EXPECT_EQ(provaModifica(provaSulContoAperto(dataFolder(), comeProva(chiudi), true)), 18);
}

TEST_F(Closing, PrinterNotThereChangesNothing) {
    const auto prima = tuttiIFile();
    printed.setUnavailable("La stampante \"Ufficio\" non è disponibile.");
    chiudi("30112026");
    printed.setUnavailable({});
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].text,
              "La stampante \"Ufficio\" non è disponibile.\n\nLa chiusura non è stata eseguita.");
    EXPECT_EQ(tuttiIFile(), prima);
    EXPECT_TRUE(printed.documents().empty());
}

TEST_F(Closing, RetryGoesOnAndAnyOtherAnswerPutsEveryFileBack) {
    const auto prima = tuttiIFile();
    // The third write fails once: Retry writes it again and the closing is done.
    int contate = 0;
    impostaGuastoModifiche([&](MomentoModifica m, const QString&) {
        return m == MomentoModifica::Scrittura && ++contate == 3 ? GuastoSimulato::Errore
                                                                 : GuastoSimulato::Nessuno;
    });
    messages.answer(MessageAnswer::Ok);    // the warning
    messages.answer(MessageAnswer::Retry); // "Errore Disco"
    chiudi("30112026");
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].title, "Errore Disco");
    EXPECT_EQ(readBytes(file(".MOV")), movDopo());

    // Cancel gives the closing up: every file back, the message says so.
    rimetti(prima);
    apri("CC1");
    messages.clear();
    contate = 0;
    messages.answer(MessageAnswer::Ok);
    messages.answer(MessageAnswer::Cancel);
    chiudi("30112026");
    impostaGuastoModifiche({});
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_TRUE(messages.shown()[2].text.startsWith(
        "Errore irrecuperabile\n\nLa chiusura non è stata eseguita."));
    EXPECT_TRUE(messages.shown()[2].text.contains("I file sono com'erano prima dell'operazione."));
    EXPECT_EQ(tuttiIFile(), prima);
}

TEST_F(Closing, AMovementHeldForChangeIsLetGoFirst) {
    Form9& f = formHost().form<Form9>();
    formHost().show(f);
    QApplication::setActiveWindow(f.window());
    ListBox* lista = f.ElencoMovim;
    int riga = -1;
    for (int i = 0; i < lista->count(); ++i)
        if (lista->data(i) == 18) riga = i;
    ASSERT_GE(riga, 0);
    lista->setCurrentRow(riga);
    const QRect r = lista->visualRect(lista->model()->index(riga, 0));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(f.movimentoInModifica(), 18);

    chiudi("30112026");
    EXPECT_EQ(f.movimentoInModifica(), 0);
    EXPECT_EQ(movimentoTrattenuto("Form9"), 0);
    EXPECT_DOUBLE_EQ(stato().SaldoContabile, 1148.0);
    // The list shows the four movements left, by their new numbers; the next is 5.
    EXPECT_EQ(lista->count(), 4);
    EXPECT_EQ(f.NrOper->text(), "5");
}

} // namespace
} // namespace qv::test
