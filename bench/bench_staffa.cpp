// The staffa of a ten-year account with the largest number of movements the files allow
// (32767), measured in one run next to its floor: a plain sort of the movements' value
// dates as day numbers, which any statement by value date has to beat. The engine alone
// should stay within 3 times the floor, the staffa window with its lists filled within 10.
// The interest and cost statement of the same account and period follows, beside them.
#include "common/dates.h"
#include "common/records.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "conditions/conditions.h"
#include "interest/competenze.h"
#include "interest/competenze_text.h"
#include "interest/interessi_form.h"
#include "ledger/movement_files.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "shell/main_window.h"
#include "staffa/staffa.h"
#include "staffa/staffa_form.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

namespace {

constexpr int Movimenti = qv::LimiteMovimentiConto;
const QDate Inizio(2016, 1, 1);
const QDate Fine(2025, 12, 31);
// The lines a list of the window shows at once.
constexpr int RigheVisibili = 40;

// The widgets of the window need an application; the benchmarks run without a display.
void applicazione() {
    if (QApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nome[] = "quorvanta_bench";
    static char* argv[] = {nome, nullptr};
    // Kept to the end of the process: the program's own singletons outlive main().
    new QApplication(argc, argv);
}

// Account "DIECI": 32767 movements from 2016 to 2025 in the order they were entered (by
// operation date), value dates a few days either side, in and out, some suspended, a
// credit line the balance goes beyond now and then, a carry-forward at 31/12/2015.
class ContoDieciAnni {
public:
    ContoDieciAnni() {
        qv::resetStato();
        qv::fissaOggi(QDate(2026, 12, 9));
        auto& s = qv::stato();
        s.PercorsoDati = dir_.path() + u'/';
        s.FormatoImporti = QStringLiteral("#,###,###,##0.00");
        s.FattoreValuta = 1.0;
        qv::Conto conto;
        conto.numero = 1;
        conto.codiceConto = QStringLiteral("DIECI");
        conto.nomeBanca = QStringLiteral("Banca di Prova");
        conto.fido = 5000;
        s.TabellaConti = {qv::Conto{}, conto};
        s.NumeroConti = 1;
        s.IndiceContoAttivo = 1;
        s.CodiceContoAttivo = conto.codiceConto;
        s.TabellaRiporto[1].dataRiporto = QStringLiteral("31/12/2015");
        s.TabellaRiporto[1].saldoRiporto = 2000;
        s.DatiOpzioni.codiceDivisore = 3;

        std::mt19937 caso(20261209);
        const qint64 giorni = Inizio.daysTo(Fine) + 1;
        std::vector<qv::Movimento> righe;
        righe.reserve(Movimenti);
        for (int i = 1; i <= Movimenti; ++i) {
            const QDate op = Inizio.addDays(qint64(i - 1) * giorni / Movimenti);
            const QDate valuta = std::clamp(op.addDays(int(caso() % 6) - 2), Inizio, Fine);
            qv::Movimento m;
            m.numero = qint16(i);
            m.dataOperazione = qv::testoDaData(op);
            m.dataValuta = qv::testoDaData(valuta);
            m.codiceCausale = i % 3 ? QStringLiteral("PR") : QStringLiteral("VE");
            m.importo = double(caso() % 300000) / 100.0;
            m.descrizione = QStringLiteral("movimento %1").arg(i);
            m.sospeso = i % 11 ? QStringLiteral("N") : QStringLiteral("S");
            m.entrataUscita = i % 3 ? QStringLiteral("U") : QStringLiteral("E");
            m.annullato = QStringLiteral("N");
            // Outflows a little over twice the inflows in count: the balance wanders both
            // ways across the credit line.
            if (m.entrataUscita == u"E") m.importo *= 2.02;
            righe.push_back(m);
            giorniValuta_.push_back(valuta.toJulianDay());
        }
        qv::riempiTabella(s.TabellaMovimenti, s.NumeroMovimenti, std::move(righe));
    }
    ~ContoDieciAnni() {
        qv::fissaOggi(std::nullopt);
        qv::resetStato();
    }

    const std::vector<qint64>& giorniValuta() const { return giorniValuta_; }

private:
    QTemporaryDir dir_;
    std::vector<qint64> giorniValuta_;
};

// The floor: the value dates' day numbers (read beforehand), copied and sorted.
void BM_Staffa10Anni_SortGiorniValuta(benchmark::State& state) {
    ContoDieciAnni conto;
    for (auto _ : state) {
        std::vector<qint64> giorni = conto.giorniValuta();
        std::sort(giorni.begin(), giorni.end());
        benchmark::DoNotOptimize(giorni.data());
    }
}
BENCHMARK(BM_Staffa10Anni_SortGiorniValuta)->Unit(benchmark::kMillisecond);

// The engine alone: dates read from the movement table, the selection, one sort, the
// rows with their days, numbers and excess, the totals.
void BM_Staffa10Anni_Motore(benchmark::State& state) {
    ContoDieciAnni conto;
    const qv::ParametriStaffa p = qv::parametriContoAperto(Inizio, Fine, true);
    for (auto _ : state) {
        const qv::RisultatoStaffa st = qv::calcolaStaffa(qv::movimentiContoAperto(), p);
        benchmark::DoNotOptimize(st.righe.data());
    }
    state.counters["date"] = double(qv::calcolaStaffa(qv::movimentiContoAperto(), p).righe.size());
}
BENCHMARK(BM_Staffa10Anni_Motore)->Unit(benchmark::kMillisecond);

// The window: the staffa computed and both of its lists filled, as the button "via" does
// once the period is checked.
void BM_Staffa10Anni_Finestra(benchmark::State& state) {
    applicazione();
    ContoDieciAnni conto;
    auto& finestra = qv::formHost().form<qv::Staffa>();
    finestra.Command3D4_Click();
    for (auto _ : state) {
        finestra.CalcoloStaffa();
        // The lines the list shows at once, made as the view asks for them.
        for (int riga = 0; riga < RigheVisibili && riga < finestra.List1->count(); ++riga)
            benchmark::DoNotOptimize(finestra.List1->text(riga));
    }
    if (finestra.List1->count() == 0) state.SkipWithError("no staffa was shown");
    state.counters["righe"] = double(finestra.List1->count());
    qv::formHost().unload(finestra);
}
BENCHMARK(BM_Staffa10Anni_Finestra)->Unit(benchmark::kMillisecond);

// Conditions with five rate changes over the ten years on both sides, every commission
// and fee, and the causali the fee per operation counts.
void condizioniDieciAnni() {
    auto& s = qv::stato();
    qv::CondizioniConto c;
    const char* date[] = {"01/01/2015", "01/01/2018", "01/07/2020", "01/01/2023", "01/01/2025"};
    for (size_t k = 1; k <= 5; ++k) {
        c.creditori.dataDecorrenza[k] = QLatin1String(date[k - 1]);
        c.creditori.tasso[k] = 0.5F * float(k);
        c.debitori.dataDecorrenza[k] = QLatin1String(date[k - 1]);
        c.debitori.tassoEntroFido[k] = 8.0F + float(k);
        c.debitori.tassoFuoriFido[k] = 12.0F + float(k);
    }
    c.opzioni.minimoMovimenti = 10;
    c.opzioni.baseGiorniCreditori = QStringLiteral("2");
    c.opzioni.baseGiorniDebitori = QStringLiteral("1");
    c.opzioni.codiceDivisore = 3;
    c.oneri = {2,
               0.5F,
               26,
               0.1F,
               1,
               1.5F,
               0.25F,
               QStringLiteral("Commissione fido"),
               QStringLiteral("Diritti"),
               QStringLiteral("6"),
               QStringLiteral("5")};
    c.spese.importoSpesa = {5, 10, 0.5, 4, 2, 9, 1};
    for (QString& f : c.spese.addebitoTrimestrale)
        f = QStringLiteral("1");
    c.spese.descrizioneSpesa1 = QStringLiteral("Bollo");
    qv::impostaCondizioniInMemoria(c);
    qv::VoceCausale pr;
    pr.codiceCausale = QStringLiteral("PR");
    pr.soggettoCosto = QStringLiteral("1");
    qv::VoceCausale ve = pr;
    ve.codiceCausale = QStringLiteral("VE");
    qv::riempiTabella(s.TabellaCausali, s.NumeroCausali, {pr, ve});
}

// The statement's engine: its staffa with a row at each rate change, the rate periods,
// interest, commissions, fees and summary.
void BM_Competenze10Anni_Motore(benchmark::State& state) {
    ContoDieciAnni conto;
    condizioniDieciAnni();
    const qv::ParametriCompetenze p = qv::parametriCompetenzeContoAperto(Inizio, Fine, true);
    for (auto _ : state) {
        const qv::RisultatoCompetenze r = qv::calcolaCompetenze(qv::movimentiContoAperto(), p);
        benchmark::DoNotOptimize(r.competenzeFinali);
    }
}
BENCHMARK(BM_Competenze10Anni_Motore)->Unit(benchmark::kMillisecond);

// The engine and both layouts: the list's lines and the printed lines.
void BM_Competenze10Anni_Testi(benchmark::State& state) {
    ContoDieciAnni conto;
    condizioniDieciAnni();
    const qv::ParametriCompetenze p = qv::parametriCompetenzeContoAperto(Inizio, Fine, true);
    const QString formato = qv::stato().FormatoImporti;
    for (auto _ : state) {
        const qv::RisultatoCompetenze r = qv::calcolaCompetenze(qv::movimentiContoAperto(), p);
        const QStringList lista = qv::righeListaCompetenze(r, formato);
        const auto stampa = qv::stampaCompetenze(r, {}, formato);
        benchmark::DoNotOptimize(lista.size() + qsizetype(stampa.size()));
    }
}
BENCHMARK(BM_Competenze10Anni_Testi)->Unit(benchmark::kMillisecond);

// The window: "Interessi" with the period checked, the statement in List3 and the work
// list of its dates filled. The statement is put into the window as the main window puts
// it; a run in which no statement is shown (nothing put there, a refusal, a message)
// fails rather than report the time of doing nothing.
void BM_Competenze10Anni_Finestra(benchmark::State& state) {
    applicazione();
    ContoDieciAnni conto;
    qv::collegaRichiesteFinestre();
    int messaggi = 0;
    qv::setMessageResponder([&](const qv::MessageRecord&) {
        ++messaggi;
        return qv::MessageAnswer::Ok;
    });
    auto& finestra = qv::formHost().form<qv::Staffa>();
    condizioniDieciAnni();
    finestra.Command3D4_Click();
    for (auto _ : state) {
        finestra.Interessi_Click();
        if (finestra.List3->isHidden() || finestra.List3->count() == 0 || messaggi > 0) {
            state.SkipWithError("no interest and cost statement was shown");
            break;
        }
        benchmark::DoNotOptimize(finestra.List3->count());
    }
    state.counters["righe"] = double(finestra.List3->count());
    state.counters["date"] = double(finestra.List2->count());
    qv::formHost().unload(finestra);
    qv::setMessageResponder({});
    qv::Staffa::impostaProspettoInteressi({});
}
BENCHMARK(BM_Competenze10Anni_Finestra)->Unit(benchmark::kMillisecond);

} // namespace
