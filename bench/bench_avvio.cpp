// The start-up of quorvanta with no account open, beside its floor in the same run: a
// bare Qt Widgets window. Each is a fresh process (bench/avvio/) that reports its
// resident memory once its window is up and ends; the time is from starting it to its
// end. The program folder is a fresh one, through its first run once before the timing.
// The platform is the benchmarks' own (offscreen unless QT_QPA_PLATFORM says otherwise;
// under X, "xcb", the OpenGL context of the web engine would show in the memory).
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>

namespace {

struct EsitoAvvio {
    bool fatto = false;
    std::map<QByteArray, double> valori; // VmRSS, VmHWM in kB
};

EsitoAvvio avvia(const QString& programma, const QString& cartellaUtente) {
    QProcess figlio;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("XDG_DATA_HOME"), cartellaUtente);
    figlio.setProcessEnvironment(ambiente);
    figlio.setProcessChannelMode(QProcess::SeparateChannels);
    figlio.start(programma, {});
    EsitoAvvio esito;
    if (!figlio.waitForFinished(60000) || figlio.exitCode() != 0) return esito;
    for (const QByteArray& riga : figlio.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parti = riga.split(' ');
        if (parti.size() == 2) esito.valori[parti[0]] = parti[1].toDouble();
    }
    esito.fatto = esito.valori.count("VmRSS") == 1;
    return esito;
}

void avvio(benchmark::State& state, const QString& programma) {
    QTemporaryDir cartellaUtente;
    if (!avvia(programma, cartellaUtente.path()).fatto) {
        state.SkipWithError("the start-up did not report");
        return;
    }
    EsitoAvvio ultimo;
    double rss = 0;
    for (auto _ : state) {
        QElapsedTimer tempo;
        tempo.start();
        ultimo = avvia(programma, cartellaUtente.path());
        state.SetIterationTime(double(tempo.nsecsElapsed()) / 1e9);
        if (!ultimo.fatto) {
            state.SkipWithError("the start-up did not report");
            return;
        }
        rss += ultimo.valori["VmRSS"];
    }
    state.counters["rss_MB"] = rss / double(state.iterations()) / 1024.0;
    state.counters["picco_MB"] = ultimo.valori["VmHWM"] / 1024.0;
}

// The program's start-up: settings, currencies, causali, the account list, the main
// window shown; no account is named to open.
void BM_AvvioSenzaConto(benchmark::State& state) {
    avvio(state, QStringLiteral(QV_BENCH_AVVIO_QUORVANTA));
}
BENCHMARK(BM_AvvioSenzaConto)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The floor: a bare Qt Widgets window of the same size, shown.
void BM_AvvioFinestraVuota(benchmark::State& state) {
    avvio(state, QStringLiteral(QV_BENCH_AVVIO_FINESTRA_VUOTA));
}
BENCHMARK(BM_AvvioFinestraVuota)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
