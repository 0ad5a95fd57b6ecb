// The ledger at the file format's limit (32767 movements in one account): opening it and
// listing it, switching the list's order, saving one movement. Each is measured beside a
// floor in the same run, what no implementation can do better than:
//   BM_PavimentoLettura        reading the bytes of ".MOV", nothing else;
//   BM_PavimentoDecodifica     reading them and decoding every record into a flat struct
//                              of fixed-width fields (no string, no allocation per field);
//   BM_PavimentoSalvataggio    writing one record and the count, each synced to the disk.
// The figures to compare: BM_ApriContoEdElenco against BM_LeggiFileConto (the program's
// own read and decode), BM_LeggiFileConto against BM_PavimentoDecodifica,
// BM_ElencoPerValuta (a re-sort) against BM_LeggiFileConto, BM_SalvaNuovoMovimento
// against BM_PavimentoSalvataggio.
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "ledger/account_loader.h"
#include "ledger/movement_files.h"
#include "ledger/movement_lists.h"
#include "platform/list_box.h"

#include "conto_grande.h"

#include <QFile>
#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using qv::bench::ContoGrande;
constexpr int Movimenti = ContoGrande::Movimenti;
// The lines a list box of the entry form shows at once, made when it is shown.
constexpr int RigheVisibili = 40;

// The list box's model filled with `elenco`, and the lines the view shows first made.
void mostra(qv::ListModel& modello, const qv::ElencoMovimenti& elenco) {
    qv::ElencoMovimenti forma;
    forma.ordine = elenco.ordine;
    forma.formato = elenco.formato;
    modello.assignLines(std::vector<qint32>(elenco.numeri.begin(), elenco.numeri.end()),
                        [forma](qint32 k) { return forma.riga(qint16(k)); });
    for (int riga = 0; riga < RigheVisibili && riga < modello.rowCount(); ++riga)
        benchmark::DoNotOptimize(modello.data(modello.index(riga), Qt::DisplayRole));
}

// --- Floors ------------------------------------------------------------------------

// The bytes of the account's ".MOV", read whole with nothing else done.
QByteArray byteMovimenti(const ContoGrande& conto, benchmark::State& state) {
    QFile file(conto.file(qv::ExtMOV));
    if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("no .MOV");
    return file.readAll();
}

void BM_PavimentoLettura(benchmark::State& state) {
    ContoGrande conto;
    for (auto _ : state) {
        const QByteArray bytes = byteMovimenti(conto, state);
        benchmark::DoNotOptimize(bytes.constData());
    }
}
BENCHMARK(BM_PavimentoLettura)->Unit(benchmark::kMillisecond);

// A movement as plain bytes: the fields at their widths, nothing decoded into text.
struct MovimentoPiatto {
    qint16 numero;
    char dataOperazione[10], dataValuta[10], codiceCausale[5];
    double importo;
    char numeroDocumento[8], descrizione[30], sospeso, entrataUscita, annullato;
};

void BM_PavimentoDecodifica(benchmark::State& state) {
    ContoGrande conto;
    for (auto _ : state) {
        const QByteArray bytes = byteMovimenti(conto, state);
        std::vector<MovimentoPiatto> righe(size_t(bytes.size() / qv::Movimento::Lunghezza));
        const char* r = bytes.constData();
        for (MovimentoPiatto& m : righe) {
            std::memcpy(&m.numero, r, 2);
            std::memcpy(m.dataOperazione, r + 2, 10);
            std::memcpy(m.dataValuta, r + 12, 10);
            std::memcpy(m.codiceCausale, r + 22, 5);
            std::memcpy(&m.importo, r + 27, 8);
            std::memcpy(m.numeroDocumento, r + 35, 8);
            std::memcpy(m.descrizione, r + 43, 30);
            m.sospeso = r[73];
            m.entrataUscita = r[74];
            m.annullato = r[75];
            r += qv::Movimento::Lunghezza;
        }
        benchmark::DoNotOptimize(righe.data());
    }
}
BENCHMARK(BM_PavimentoDecodifica)->Unit(benchmark::kMillisecond);

void BM_PavimentoSalvataggio(benchmark::State& state) {
    ContoGrande conto;
    const QByteArray record = conto.righe().back().toBytes();
    for (auto _ : state) {
        qv::RecordFile mov(conto.file(qv::ExtMOV), qv::Movimento::Lunghezza);
        qv::RecordFile mor(conto.file(qv::ExtMOR), 2);
        benchmark::DoNotOptimize(mov.write(Movimenti, record));
        benchmark::DoNotOptimize(mor.write(1, QByteArray("\xff\x7f", 2)));
    }
}
BENCHMARK(BM_PavimentoSalvataggio)->Unit(benchmark::kMillisecond);

// --- The program -------------------------------------------------------------------

// The program's own reading: the count and every movement record decoded, in one read.
// The rows read take the place of those of the previous reading, as the movement table's
// do at a load (freeing them first would give the memory back to the system each time,
// and a load never does that).
void BM_LeggiFileConto(benchmark::State& state) {
    ContoGrande conto;
    std::vector<qv::Movimento> tabella;
    for (auto _ : state) {
        const qint16 n = qv::leggiContatore(conto.file(qv::ExtMOR));
        auto righe = qv::leggiRecords<qv::Movimento>(conto.file(qv::ExtMOV), n);
        benchmark::DoNotOptimize(righe.data());
        tabella.swap(righe);
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

// Opening the account and showing its whole list by operation date: sorted, given to
// the list box's model, and the lines in view made.
void BM_ApriContoEdElenco(benchmark::State& state) {
    ContoGrande conto;
    qv::ListModel modello;
    for (auto _ : state) {
        qv::ApriArchiviConto();
        mostra(modello, qv::elencoMovimenti(qv::OrdineMovimenti::Operazione));
    }
}
BENCHMARK(BM_ApriContoEdElenco)->Unit(benchmark::kMillisecond);

// Switching to the list by value date (the button "data val."): the re-sort and the
// lines in view.
void BM_ElencoPerValuta(benchmark::State& state) {
    ContoGrande conto;
    qv::ApriArchiviConto();
    qv::ListModel modello;
    for (auto _ : state)
        mostra(modello, qv::elencoMovimenti(qv::OrdineMovimenti::Valuta));
}
BENCHMARK(BM_ElencoPerValuta)->Unit(benchmark::kMillisecond);

// Every line of the list made at once, as a reader of all the texts (a test, a copy of
// the list) costs.
void BM_TutteLeRigheElenco(benchmark::State& state) {
    ContoGrande conto;
    qv::ApriArchiviConto();
    for (auto _ : state) {
        auto righe = qv::righeElenco(qv::OrdineMovimenti::Operazione);
        benchmark::DoNotOptimize(righe.data());
    }
}
BENCHMARK(BM_TutteLeRigheElenco)->Unit(benchmark::kMillisecond);

// Rewriting the list-order file with every movement (after a change that is not an
// append).
void BM_SalvaOrdine(benchmark::State& state) {
    ContoGrande conto;
    qv::ApriArchiviConto();
    for (auto _ : state) {
        // A change of ".MOV" since: the file is written whole again.
        state.PauseTiming();
        qv::scriviContatore(conto.file(qv::ExtMOR), qint16(Movimenti));
        state.ResumeTiming();
        benchmark::DoNotOptimize(qv::SalvaOrdine());
    }
}
BENCHMARK(BM_SalvaOrdine)->Unit(benchmark::kMillisecond);

// One typed movement saved in a full account, as the entry form does after its
// activation (the account loaded, ".Ord" written): its record and the count (synced),
// ".Ord", the balances and bounds, ".TOT". `dataOperazione` decides whether it ends the
// list by operation date (".Ord" takes one record at its end) or not (".Ord" is written
// again from the stored records).
void salvaInContoPieno(benchmark::State& state, const QString& dataOperazione) {
    ContoGrande conto;
    auto& s = qv::stato();
    qv::Movimento nuovo = conto.righe().back();
    nuovo.dataOperazione = dataOperazione;
    nuovo.dataValuta = dataOperazione;
    for (auto _ : state) {
        state.PauseTiming();
        qv::scriviContatore(conto.file(qv::ExtMOR), qint16(Movimenti - 1));
        qv::ApriArchiviConto();
        qv::SalvaOrdine();
        state.ResumeTiming();
        benchmark::DoNotOptimize(qv::SalvaNuovoMovimento(nuovo));
    }
    if (s.NumeroMovimenti != Movimenti) state.SkipWithError("the movement was not saved");
}

void BM_SalvaNuovoMovimento(benchmark::State& state) {
    salvaInContoPieno(state, QStringLiteral("09/12/2026"));
}
BENCHMARK(BM_SalvaNuovoMovimento)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_SalvaNuovoMovimentoInMezzo(benchmark::State& state) {
    salvaInContoPieno(state, QStringLiteral("15/06/2010"));
}
BENCHMARK(BM_SalvaNuovoMovimentoInMezzo)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace
