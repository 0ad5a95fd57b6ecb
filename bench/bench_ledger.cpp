// Opening the largest account the file format allows (32767 movements) and building
// its movement list, next to the time it takes just to read the account's files.
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "ledger/account_loader.h"
#include "ledger/movement_files.h"
#include "ledger/movement_lists.h"

#include "conto_grande.h"

#include <benchmark/benchmark.h>

namespace {

using qv::bench::ContoGrande;
constexpr int Movimenti = ContoGrande::Movimenti;

// Only reading the files: the count and every movement record, in one read.
void BM_LeggiFileConto(benchmark::State& state) {
    ContoGrande conto;
    for (auto _ : state) {
        const qint16 n = qv::leggiContatore(conto.file(qv::ExtMOR));
        auto righe = qv::leggiRecords<qv::Movimento>(conto.file(qv::ExtMOV), n);
        benchmark::DoNotOptimize(righe.data());
    }
}
BENCHMARK(BM_LeggiFileConto)->Unit(benchmark::kMillisecond);

// Opening the account: every file read, the balances and bounds recomputed, ".TOT"
// written.
void BM_ApriArchiviConto(benchmark::State& state) {
    ContoGrande conto;
    for (auto _ : state) {
        qv::ApriArchiviConto();
        benchmark::DoNotOptimize(qv::stato().SaldoContabile);
    }
}
BENCHMARK(BM_ApriArchiviConto)->Unit(benchmark::kMillisecond);

// Opening the account and building its whole list by operation date.
void BM_ApriContoEdElenco(benchmark::State& state) {
    ContoGrande conto;
    for (auto _ : state) {
        qv::ApriArchiviConto();
        auto righe = qv::righeElenco(qv::OrdineMovimenti::Operazione);
        benchmark::DoNotOptimize(righe.data());
    }
}
BENCHMARK(BM_ApriContoEdElenco)->Unit(benchmark::kMillisecond);

// Building the list by value date alone (the other order button).
void BM_ElencoPerValuta(benchmark::State& state) {
    ContoGrande conto;
    qv::ApriArchiviConto();
    for (auto _ : state) {
        auto righe = qv::righeElenco(qv::OrdineMovimenti::Valuta);
        benchmark::DoNotOptimize(righe.data());
    }
}
BENCHMARK(BM_ElencoPerValuta)->Unit(benchmark::kMillisecond);

// Rewriting the list-order file with every movement.
void BM_SalvaOrdine(benchmark::State& state) {
    ContoGrande conto;
    qv::ApriArchiviConto();
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::SalvaOrdine());
}
BENCHMARK(BM_SalvaOrdine)->Unit(benchmark::kMillisecond);

// What one typed movement costs in a full account: its record, the count, the
// list-order file, the balances and ".TOT".
void BM_SalvaNuovoMovimento(benchmark::State& state) {
    ContoGrande conto;
    qv::ApriArchiviConto();
    auto& s = qv::stato();
    const qv::Movimento ultimo = s.TabellaMovimenti[Movimenti];
    for (auto _ : state) {
        state.PauseTiming();
        s.NumeroMovimenti = Movimenti - 1;
        state.ResumeTiming();
        benchmark::DoNotOptimize(qv::SalvaNuovoMovimento(ultimo));
    }
}
BENCHMARK(BM_SalvaNuovoMovimento)->Unit(benchmark::kMillisecond);

} // namespace
