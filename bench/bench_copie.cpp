// The backup of "tutti i conti": 100 accounts of 1300 movements, 50 cheque books and
// 500 leaves each, their nine files and the archive (902 files, about 25 MB), beside
// its floor in the same run: the same bytes copied into a fresh folder, one sync per
// file.
#include "pavimento_file.h"

#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "maintenance/backup.h"
#include "maintenance/file_set.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Conti = 100;
constexpr int Movimenti = 1300;

// A data folder of 100 full accounts and its archive; the shared state points at it.
class CentoConti {
public:
    CentoConti() {
        qv::resetStato();
        qv::fissaOggi(QDate(2026, 12, 9));
        auto& s = qv::stato();
        s.PercorsoDati = dati();
        QDir().mkpath(dati());
        std::vector<qv::Conto> conti;
        for (int j = 1; j <= Conti; ++j) {
            qv::Conto c;
            c.numero = qint16(j);
            c.codiceConto = QStringLiteral("C%1").arg(j, 3, 10, QLatin1Char('0'));
            c.nomeBanca = QStringLiteral("Banca %1").arg(j);
            conti.push_back(c);
            scriviConto(c.codiceConto);
        }
        qv::scriviRecords(dati() + QStringLiteral("Conti.dat"), 1, conti);
        qv::scriviContatore(dati() + QStringLiteral("RecConti.dat"), qint16(Conti));
        s.TabellaConti.assign(1, qv::Conto{});
        s.TabellaConti.insert(s.TabellaConti.end(), conti.begin(), conti.end());
        s.NumeroConti = qint16(Conti);
    }
    ~CentoConti() {
        qv::fissaOggi(std::nullopt);
        qv::resetStato();
    }

    QString dati() const { return dir_.path() + QStringLiteral("/dati/"); }
    QString copie() const { return dir_.path() + QStringLiteral("/copie/"); }
    QString pavimento() const { return dir_.path() + QStringLiteral("/pavimento/"); }

private:
    void scriviConto(const QString& codice) {
        const auto file = [&](const QString& ext) { return qv::accountFile(dati(), codice, ext); };
        std::vector<qv::Movimento> righe;
        for (int i = 1; i <= Movimenti; ++i) {
            qv::Movimento m;
            m.numero = qint16(i);
            m.dataOperazione = QStringLiteral("%1/%2/2025")
                                   .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                   .arg(1 + i % 12, 2, 10, QLatin1Char('0'));
            m.dataValuta = m.dataOperazione;
            m.codiceCausale = QStringLiteral("VE");
            m.importo = i * 1.25;
            m.descrizione = QStringLiteral("movimento %1").arg(i);
            m.sospeso = QStringLiteral("N");
            m.entrataUscita = i % 3 ? QStringLiteral("E") : QStringLiteral("U");
            m.annullato = QStringLiteral("N");
            righe.push_back(m);
        }
        qv::scriviRecords(file(qv::ExtMOV), 1, righe);
        qv::scriviRecords(file(qv::ExtOrd), 1, righe);
        qv::scriviContatore(file(qv::ExtMOR), qint16(Movimenti));
        std::vector<qv::CarnetAssegni> carnet(50);
        std::vector<qv::FoglioAssegno> fogli(500);
        for (size_t k = 0; k < carnet.size(); ++k)
            carnet[k].numeroCarnet = qint16(k + 1);
        for (size_t k = 0; k < fogli.size(); ++k)
            fogli[k].numeroAssegno = qint32(1000 + k);
        qv::scriviRecords(file(qv::ExtCAR), 1, carnet);
        qv::scriviContatore(file(qv::ExtNRC), qint16(carnet.size()));
        qv::scriviRecords(file(qv::ExtFOG), 1, fogli);
        qv::scriviContatore(file(qv::ExtNRF), qint16(fogli.size()));
        qv::scriviRecord(file(qv::ExtTOT), 1, qv::TotaliConto{});
        qv::Riporto riporto;
        riporto.dataRiporto = QStringLiteral("31/12/2024");
        qv::scriviRecord(file(qv::ExtRIP), 1, riporto);
    }

    QTemporaryDir dir_;
};

qint64 byteCartella(const QString& cartella) {
    qint64 n = 0;
    for (const QFileInfo& f : QDir(cartella).entryInfoList(QDir::Files))
        n += f.size();
    return n;
}

// "Esegui copie di sicurezza" of every account into an empty folder.
void BM_CopieTuttiIConti(benchmark::State& state) {
    CentoConti cartella;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(cartella.copie()).removeRecursively();
        QDir().mkpath(cartella.copie());
        state.ResumeTiming();
        const qv::Esito esito = qv::EseguiCopie(cartella.copie(), qv::CopiaDi::TuttiConti);
        if (!esito.ok()) state.SkipWithError("the backup was not made");
    }
    state.counters["file"] = double(QDir(cartella.copie()).entryList(QDir::Files).size());
    state.counters["MB"] = double(byteCartella(cartella.copie())) / 1e6;
}
BENCHMARK(BM_CopieTuttiIConti)->Unit(benchmark::kMillisecond);

// The floor: the data folder's files copied into an empty folder, one sync per file.
void BM_CopieTuttiIConti_Pavimento(benchmark::State& state) {
    CentoConti cartella;
    qint64 byte = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(cartella.pavimento()).removeRecursively();
        state.ResumeTiming();
        byte = qv::bench::copiaConUnaSincronizzazionePerFile(cartella.dati(),
                                                            cartella.pavimento());
        if (byte < 0) state.SkipWithError("a file was not copied");
    }
    state.counters["file"] = double(QDir(cartella.pavimento()).entryList(QDir::Files).size());
    state.counters["MB"] = double(byte) / 1e6;
}
BENCHMARK(BM_CopieTuttiIConti_Pavimento)->Unit(benchmark::kMillisecond);

} // namespace
