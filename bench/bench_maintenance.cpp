// The period closing of the fullest account (32767 movements, half of them removed, the
// printout into the capture printer), beside the time it takes to read the account's
// files and write them once, safely, as any change of them must.
#include "conto_grande.h"

#include "common/file_names.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/movement_files.h"
#include "maintenance/closing.h"
#include "maintenance/file_set.h"
#include "platform/line_printer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <array>

#include <benchmark/benchmark.h>

namespace {

using qv::bench::ContoGrande;

// The fullest account with every other movement marked to go, and its files as they
// are before the closing, to put back between runs.
struct ContoDaChiudere {
    ContoDaChiudere() {
        std::vector<qv::Movimento> righe = conto.righe();
        for (size_t i = 0; i < righe.size(); i += 2)
            righe[i].annullato = QStringLiteral("S");
        qv::scriviRecords(conto.file(qv::ExtMOV), 1, righe);
        qv::ApriArchiviConto();
        qv::SalvaOrdine();
        for (const QLatin1String& ext : qv::EstensioniCopia) {
            QFile f(conto.file(ext));
            if (f.open(QIODevice::ReadOnly)) originali[ext] = f.readAll();
        }
    }
    // The account's files as they were, no copy set, no closing record; then opened.
    void rimetti() {
        QDir(qv::stato().PercorsoDati + QStringLiteral("Bak")).removeRecursively();
        QFile::remove(conto.file(qv::ExtChi));
        for (const auto& [ext, bytes] : originali)
            qv::rewriteDerivedFile(conto.file(ext), bytes);
        qv::ApriArchiviConto();
    }

    ContoGrande conto;
    std::map<QString, QByteArray> originali;
};

// The whole closing as the user waits for it: computed, printed (each page made as the
// printer takes it), written as one change with the copy set, and the open account taken
// from what the closing wrote (caricaContoChiuso, then the list order, as the closing's
// reload does it). Its floor in the same run: BM_LeggiEScriviByteConto. The counters give each
// step's share, in milliseconds a closing.
void BM_ChiusuraPeriodica(benchmark::State& state) {
    ContoDaChiudere c;
    qv::CapturePrinter stampante;
    size_t eliminati = 0;
    size_t pagine = 0;
    enum Passo { Calcolo, Stampa, Scrittura, Rilettura, Passi };
    std::array<qint64, Passi> tempi{};
    qint64 chiusure = 0;
    for (auto _ : state) {
        state.PauseTiming();
        c.rimetti();
        stampante.clear();
        state.ResumeTiming();
        QElapsedTimer orologio;
        orologio.start();
        const auto passo = [&](Passo p) {
            tempi[p] += orologio.nsecsElapsed();
            orologio.restart();
        };
        const qv::DatiChiusura dati = qv::datiChiusuraContoAperto(QStringLiteral("31/12/2005"));
        qv::PianoChiusura piano = qv::calcolaChiusura(dati);
        passo(Calcolo);
        const qv::PagineMovimentiEliminati stampa(qv::contestoStampaCorrente(), dati.dataChiusura,
                                                  piano.eliminati, dati.causali);
        stampante.printPages(stampa.pagine(), [&](int k) { return stampa.pagina(k); });
        passo(Stampa);
        if (!qv::scriviChiusura(piano, qv::stato().PercorsoDati, dati.codice).ok())
            state.SkipWithError("the closing was not written");
        passo(Scrittura);
        qv::caricaContoChiuso(std::move(piano), dati.codice);
        qv::SalvaOrdine();
        passo(Rilettura);
        eliminati = piano.eliminati.size();
        pagine = stampante.lastDocument().size();
        ++chiusure;
    }
    state.counters["eliminati"] = double(eliminati);
    state.counters["pagine"] = double(pagine);
    const char* nomi[Passi] = {"ms_calcolo", "ms_stampa", "ms_scrittura", "ms_rilettura"};
    for (int p = 0; p < Passi; ++p)
        state.counters[nomi[p]] = chiusure ? double(tempi[size_t(p)]) / 1e6 / double(chiusure) : 0;
}
BENCHMARK(BM_ChiusuraPeriodica)->Unit(benchmark::kMillisecond);

// The closing's change alone: the copy set and the account's files written as one change,
// its plan computed beforehand.
void BM_ChiusuraScrittura(benchmark::State& state) {
    ContoDaChiudere c;
    for (auto _ : state) {
        state.PauseTiming();
        c.rimetti();
        const qv::DatiChiusura dati = qv::datiChiusuraContoAperto(QStringLiteral("31/12/2005"));
        const qv::PianoChiusura piano = qv::calcolaChiusura(dati);
        state.ResumeTiming();
        if (!qv::scriviChiusura(piano, qv::stato().PercorsoDati, dati.codice).ok())
            state.SkipWithError("the closing was not written");
    }
}
BENCHMARK(BM_ChiusuraScrittura)->Unit(benchmark::kMillisecond);

// The account read again from its files and its list order written, as every reload of
// the maintenance does it but the closing's.
void BM_ChiusuraRilettura(benchmark::State& state) {
    ContoDaChiudere c;
    for (auto _ : state) {
        qv::ApriArchiviConto();
        qv::SalvaOrdine();
    }
}
BENCHMARK(BM_ChiusuraRilettura)->Unit(benchmark::kMillisecond);

// The computation and the printout alone, without a file read or written.
void BM_ChiusuraCalcoloEStampa(benchmark::State& state) {
    ContoDaChiudere c;
    qv::CapturePrinter stampante;
    for (auto _ : state) {
        stampante.clear();
        const qv::DatiChiusura dati = qv::datiChiusuraContoAperto(QStringLiteral("31/12/2005"));
        const qv::PianoChiusura piano = qv::calcolaChiusura(dati);
        const qv::PagineMovimentiEliminati stampa(qv::contestoStampaCorrente(), dati.dataChiusura,
                                                  piano.eliminati, dati.causali);
        stampante.printPages(stampa.pagine(), [&](int k) { return stampa.pagina(k); });
        benchmark::DoNotOptimize(piano.rimasti.data());
    }
}
BENCHMARK(BM_ChiusuraCalcoloEStampa)->Unit(benchmark::kMillisecond);

// Reading the account's files and writing them once, as the program reads and writes
// them: every file read into the tables (opening the account), then the movements, the
// cheque files, the counts and the carry-forward written back, each replaced safely.
void BM_LeggiEScriviFileConto(benchmark::State& state) {
    ContoDaChiudere c;
    const auto& s = qv::stato();
    for (auto _ : state) {
        qv::ApriArchiviConto();
        const auto riscrivi = [&](const QString& ext, const QByteArray& bytes) {
            if (!qv::rewriteFile(c.conto.file(ext), bytes))
                state.SkipWithError("a file was not written");
        };
        const auto righe = [](const auto& tabella, int n) {
            return std::vector(tabella.begin() + 1, tabella.begin() + 1 + n);
        };
        riscrivi(qv::ExtMOV, qv::recordsToBytes(righe(s.TabellaMovimenti, s.NumeroMovimenti)));
        riscrivi(qv::ExtMOR, qv::Contatore{s.NumeroMovimenti}.toBytes());
        riscrivi(qv::ExtFOG, qv::recordsToBytes(righe(s.TabellaFogli, s.NumeroFogli)));
        riscrivi(qv::ExtNRF, qv::Contatore{s.NumeroFogli}.toBytes());
        riscrivi(qv::ExtCAR, qv::recordsToBytes(righe(s.TabellaCarnet, s.NumeroCarnet)));
        riscrivi(qv::ExtNRC, qv::Contatore{s.NumeroCarnet}.toBytes());
        riscrivi(qv::ExtRIP, s.TabellaRiporto[1].toBytes());
        qv::SalvaOrdine();
    }
}
BENCHMARK(BM_LeggiEScriviFileConto)->Unit(benchmark::kMillisecond);

// The same as bytes alone: the nine files read and written back, each replaced safely.
void BM_LeggiEScriviByteConto(benchmark::State& state) {
    ContoDaChiudere c;
    for (auto _ : state) {
        std::vector<std::pair<QString, QByteArray>> letti;
        for (const QLatin1String& ext : qv::EstensioniCopia) {
            QFile f(c.conto.file(ext));
            if (f.open(QIODevice::ReadOnly)) letti.emplace_back(f.fileName(), f.readAll());
        }
        for (const auto& [percorso, bytes] : letti)
            if (!qv::rewriteFile(percorso, bytes)) state.SkipWithError("a file was not written");
    }
}
BENCHMARK(BM_LeggiEScriviByteConto)->Unit(benchmark::kMillisecond);

} // namespace
