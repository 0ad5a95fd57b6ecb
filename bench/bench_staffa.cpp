// The staffa of a ten-year account with the largest number of movements the files allow
// (32767), measured in one run next to its floor: a plain sort of the movements' value
// dates as day numbers, which any statement by value date has to beat. The engine alone
// should stay within 3 times the floor, the staffa window with its lists filled within 10.
#include "common/dates.h"
#include "common/records.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "ledger/movement_files.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
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
        benchmark::DoNotOptimize(finestra.List1->count());
    }
    state.counters["righe"] = double(finestra.List1->count());
    qv::formHost().unload(finestra);
}
BENCHMARK(BM_Staffa10Anni_Finestra)->Unit(benchmark::kMillisecond);

} // namespace
