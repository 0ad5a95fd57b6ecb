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

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Movimenti = qv::LimiteMovimentiConto;

// A synthetic data folder with one account "BENCH": 32767 movements spread over
// twenty years, in and out, suspended and aligned, a carry-forward and a causali table.
class ContoGrande {
public:
    ContoGrande() {
        qv::resetStato();
        qv::fissaOggi(QDate(2026, 12, 9));
        auto& s = qv::stato();
        s.PercorsoDati = dir_.path() + u'/';
        s.CodiceContoAttivo = QStringLiteral("BENCH");
        s.FormatoImporti = QStringLiteral("#,###,###,##0.00");
        s.FattoreValuta = 1.0;
        const char* codici[] = {"VE", "PR", "BON", "AS", "CA"};
        s.TabellaCausali.assign(1, qv::VoceCausale{});
        for (const char* c : codici) {
            qv::VoceCausale v;
            v.codiceCausale = QLatin1String(c);
            v.descrizione = QStringLiteral("Causale %1").arg(QLatin1String(c));
            s.TabellaCausali.push_back(v);
        }
        s.NumeroCausali = qint16(s.TabellaCausali.size() - 1);

        std::vector<qv::Movimento> righe;
        righe.reserve(Movimenti);
        QDate data(2006, 1, 2);
        for (int i = 1; i <= Movimenti; ++i) {
            // Dates not in record order, so that the sort has work to do.
            const QDate op = data.addDays((i * 7919) % 7300);
            qv::Movimento m;
            m.numero = qint16(i);
            m.dataOperazione = op.toString(QStringLiteral("dd/MM/yyyy"));
            m.dataValuta = op.addDays(i % 5).toString(QStringLiteral("dd/MM/yyyy"));
            m.codiceCausale = QLatin1String(codici[i % 5]);
            m.importo = (i % 1000) * 12.34 + 0.5;
            m.numeroDocumento = QString::number(i);
            m.descrizione = QStringLiteral("movimento %1").arg(i);
            m.sospeso = i % 4 ? QStringLiteral("N") : QStringLiteral("S");
            m.entrataUscita = i % 3 ? QStringLiteral("E") : QStringLiteral("U");
            m.annullato = QStringLiteral("N");
            righe.push_back(m);
        }
        qv::scriviRecords(file(qv::ExtMOV), 1, righe);
        qv::scriviContatore(file(qv::ExtMOR), qint16(Movimenti));
        qv::Riporto riporto;
        riporto.dataRiporto = QStringLiteral("31/12/2005");
        riporto.saldoRiporto = 1000;
        qv::scriviRecord(file(qv::ExtRIP), 1, riporto);
    }
    ~ContoGrande() {
        qv::fissaOggi(std::nullopt);
        qv::resetStato();
    }

    QString file(const QString& ext) const {
        return qv::accountFile(qv::stato().PercorsoDati, qv::stato().CodiceContoAttivo, ext);
    }

private:
    QTemporaryDir dir_;
};

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
