// The conversion of a large folder of the previous release: 100 accounts, each with
// 1000 movements in ".mov" and ".ord", 50 cheque books and 500 leaves, totals, both
// rate files, a closing and a carry-forward (the most the previous release held),
// and, in the second case, one account of 32767 movements. Beside them in the same
// run, their floor: the old folder's files copied into a fresh folder, one sync per
// file, as any conversion that keeps the data safe has to write them at least.
#include "pavimento_file.h"

#include "common/text_codec.h"
#include "common/today.h"
#include "importa/conversion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QByteArray data8(int i) {
    return QStringLiteral("%1/%2/%3")
        .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
        .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
        .arg((90 + i) % 100, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

QByteArray conteggio(int n) {
    qv::FieldWriter out(2);
    out.int16(qint16(n));
    return out.bytes();
}

void scrivi(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Writes one old-layout account with `movimenti` movements.
void scriviConto(const QString& dir, int j, int movimenti, QByteArray& archivio) {
    const QString codice = QStringLiteral("C%1").arg(j, 3, 10, QLatin1Char('0'));
    const auto file = [&](const char* ext) { return dir + codice + QLatin1String(ext); };

    qv::FieldWriter conto(195);
    conto.int16(qint16(j));
    conto.text(codice, 12);
    conto.text(QStringLiteral("Conto corrente"), 30);
    conto.text(QStringLiteral("Banca %1").arg(j), 45);
    conto.text(QStringLiteral("Via Roma %1").arg(j), 45);
    conto.text(QStringLiteral("00100"), 5);
    conto.text(QStringLiteral("Roma"), 25);
    conto.text(QStringLiteral("RM"), 2);
    conto.text(QString(), 20);
    conto.real(1000.0 * j);
    conto.text(QString(), 1);
    archivio += conto.bytes();

    QByteArray mov;
    mov.reserve(qsizetype(movimenti) * 72);
    for (int i = 1; i <= movimenti; ++i) {
        qv::FieldWriter m(72);
        m.int16(qint16(i));
        m.raw(data8(i), 8);
        m.raw(data8(i + 2), 8);
        m.text(QStringLiteral("VE"), 5);
        m.real(i * 1.25);
        m.text(QString::number(i), 8);
        m.text(QStringLiteral("movimento di prova"), 30);
        m.text(QStringLiteral("N"), 1);
        m.text(i % 3 ? QStringLiteral("E") : QStringLiteral("U"), 1);
        m.text(QStringLiteral("N"), 1);
        mov += m.bytes();
    }
    scrivi(file(".mor"), conteggio(movimenti));
    scrivi(file(".mov"), mov);
    scrivi(file(".ord"), mov);

    qv::FieldWriter tot(64);
    for (int k = 0; k < 4; ++k)
        tot.real(100.0 * k);
    for (int k = 0; k < 4; ++k)
        tot.raw(data8(k), 8);
    scrivi(file(".tot"), tot.bytes());

    QByteArray car, fog;
    for (int c = 1; c <= 50; ++c) {
        qv::FieldWriter b(34);
        b.int16(qint16(c));
        b.int16(qint16(c));
        b.raw(data8(c), 8);
        b.real(2.5);
        b.int32(1000 * c);
        b.int32(1000 * c + 9);
        b.text(QStringLiteral("N"), 1);
        b.int16(10);
        b.text(QStringLiteral("N"), 1);
        b.raw(QByteArray(2, '\0'), 2);
        car += b.bytes();
    }
    for (int f = 1; f <= 500; ++f) {
        qv::FieldWriter l(89);
        l.int16(qint16(f));
        l.int16(qint16(f));
        l.int16(qint16(1 + (f - 1) / 10));
        l.int32(1000 + f);
        l.raw(data8(f), 8);
        l.real(f * 3.5);
        l.text(QStringLiteral("Traente"), 30);
        l.text(QStringLiteral("Nota"), 30);
        l.text(QStringLiteral("N"), 1);
        l.text(QString(), 1);
        l.text(QStringLiteral("N"), 1);
        fog += l.bytes();
    }
    scrivi(file(".NRC"), conteggio(50));
    scrivi(file(".CAR"), car);
    scrivi(file(".NRF"), conteggio(500));
    scrivi(file(".FOG"), fog);

    qv::FieldWriter tassi(60);
    for (int k = 0; k < 5; ++k)
        tassi.raw(data8(k), 8);
    for (int k = 0; k < 5; ++k)
        tassi.single(1.5F + float(k));
    scrivi(file(".Iat"), tassi.bytes());
    scrivi(file(".Ipa"), tassi.bytes());

    qv::FieldWriter chi(24);
    chi.raw(data8(3), 8);
    chi.real(12.5);
    chi.text(codice, 8);
    scrivi(file(".chi"), chi.bytes());
    qv::FieldWriter rip(16);
    rip.raw(data8(4), 8);
    rip.real(25.0);
    scrivi(file(".rip"), rip.bytes());
}

// A generated folder, copied afresh before each conversion (a folder converts once).
class CartellaVecchia {
public:
    CartellaVecchia(int conti, int movimenti) {
        QByteArray archivio;
        for (int j = 1; j <= conti; ++j)
            scriviConto(modello(), j, movimenti, archivio);
        scrivi(modello() + QStringLiteral("RecConti.dat"), conteggio(conti));
        scrivi(modello() + QStringLiteral("CONTI.DAT"), archivio);
    }
    QString modello() const { return dir_.path() + QStringLiteral("/modello/"); }
    QString lavoro() const { return dir_.path() + QStringLiteral("/lavoro/"); }

    void prepara() const {
        QDir(lavoro()).removeRecursively();
        QDir().mkpath(lavoro());
        for (const QString& name : QDir(modello()).entryList(QDir::Files))
            QFile::copy(modello() + name, lavoro() + name);
    }

private:
    QTemporaryDir dir_;
    bool creata_ = QDir().mkpath(dir_.path() + QStringLiteral("/modello"));
};

void convertiCartellaVecchia(benchmark::State& state, int conti, int movimenti) {
    qv::fissaOggi(QDate(2026, 12, 9));
    const CartellaVecchia cartella(conti, movimenti);
    for (auto _ : state) {
        state.PauseTiming();
        cartella.prepara();
        state.ResumeTiming();
        const qv::EsitoConversione esito = qv::convertiCartella(cartella.lavoro());
        if (!esito.esito.ok()) state.SkipWithError(qPrintable(esito.esito.testo));
    }
    qv::fissaOggi(std::nullopt);
}

void BM_ConversioneCentoConti(benchmark::State& state) {
    convertiCartellaVecchia(state, 100, 1000);
}
BENCHMARK(BM_ConversioneCentoConti)->Unit(benchmark::kMillisecond);

void pavimentoCartellaVecchia(benchmark::State& state, int conti, int movimenti) {
    const CartellaVecchia cartella(conti, movimenti);
    const QString copia = cartella.lavoro() + QStringLiteral("copia/");
    qint64 byte = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cartella.prepara();
        state.ResumeTiming();
        byte = qv::bench::copiaConUnaSincronizzazionePerFile(cartella.lavoro(), copia);
        if (byte < 0) state.SkipWithError("a file was not copied");
    }
    state.counters["file"] = double(QDir(copia).entryList(QDir::Files).size());
    state.counters["MB"] = double(byte) / 1e6;
}

void BM_ConversioneCentoConti_Pavimento(benchmark::State& state) {
    pavimentoCartellaVecchia(state, 100, 1000);
}
BENCHMARK(BM_ConversioneCentoConti_Pavimento)->Unit(benchmark::kMillisecond);

void BM_ConversioneContoMassimo(benchmark::State& state) {
    convertiCartellaVecchia(state, 1, 32767);
}
BENCHMARK(BM_ConversioneContoMassimo)->Unit(benchmark::kMillisecond);

} // namespace
