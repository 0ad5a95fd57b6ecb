// Reading and formatting a full account: 32767 movements, the most the 16-bit
// counts of the file format allow.
#include "common/amounts.h"
#include "common/dates.h"
#include "common/random_file.h"
#include "common/records.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int MaxMovimenti = 32767;

QString makeMovementFile(const QTemporaryDir& dir) {
    const QString path = dir.path() + QStringLiteral("/BENCH.MOV");
    std::vector<qv::Movimento> rows;
    rows.reserve(MaxMovimenti);
    for (int i = 1; i <= MaxMovimenti; ++i) {
        qv::Movimento m;
        m.numero = static_cast<qint16>(i);
        m.dataOperazione = QStringLiteral("%1/%2/2025").arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                               .arg(1 + i % 12, 2, 10, QLatin1Char('0'));
        m.dataValuta = m.dataOperazione;
        m.codiceCausale = QStringLiteral("VER");
        m.importo = i * 1.25;
        m.descrizione = QStringLiteral("movimento di prova");
        m.sospeso = QStringLiteral("N");
        m.entrataUscita = (i % 3) ? QStringLiteral("E") : QStringLiteral("U");
        m.annullato = QStringLiteral("N");
        rows.push_back(m);
    }
    qv::scriviRecords(path, 1, rows);
    return path;
}

void BM_ReadFullMovementFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeMovementFile(dir);
    for (auto _ : state) {
        auto rows = qv::leggiRecords<qv::Movimento>(path, MaxMovimenti);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_ReadFullMovementFile)->Unit(benchmark::kMillisecond);

void BM_FormatAmountsAndDates(benchmark::State& state) {
    const QString pattern = qv::formatoImporti(2);
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < MaxMovimenti; ++i) {
            const QString s = qv::formatNumber(i * 1.25, pattern);
            sum += s.size() + qv::DataInNumero(QStringLiteral("15/06/2025"));
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_FormatAmountsAndDates)->Unit(benchmark::kMillisecond);

} // namespace
