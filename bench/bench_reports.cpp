// The movement report of the fullest account (32767 movements, about 630 pages):
// building its lines from the files, and the whole job printed as a PDF.
#include "conto_grande.h"

#include "platform/message_box.h"
#include "platform/qt_printer.h"
#include "reports/movement_report.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using qv::bench::ContoGrande;

// The account with its list-order file, and what the print menu would pass.
struct ReportContoGrande {
    ReportContoGrande() {
        QFile::copy(conto.file(qv::ExtMOV), conto.file(qv::ExtOrd));
        auto& s = qv::stato();
        s.NumeroMovimenti = qint16(ContoGrande::Movimenti);
        s.TabellaRiporto[1].dataRiporto = QStringLiteral("31/12/2005");
        s.TabellaRiporto[1].saldoRiporto = 1000;
        contesto = {QStringLiteral("BANCA DI PROVA"), QStringLiteral("Euro - Unione Europea"),
                    QDate(2026, 12, 9), 1.0, s.FormatoImporti};
    }
    ContoGrande conto;
    qv::ContestoStampa contesto;
    const qv::SelezioneMovimenti selezione{QStringLiteral("01/01/2006"),
                                           QStringLiteral("31/12/2026"), QStringLiteral(" TUTTE")};
};

// Reading ".Ord" and laying out every page of the report.
void BM_RigheStampaMovimenti(benchmark::State& state) {
    ReportContoGrande r;
    size_t pagine = 0;
    for (auto _ : state) {
        const qv::EsitoStampa esito = qv::stampaMovimentiContoAperto(r.contesto, r.selezione);
        pagine = esito.valore.size();
        benchmark::DoNotOptimize(esito.valore.data());
    }
    state.counters["pagine"] = double(pagine);
}
BENCHMARK(BM_RigheStampaMovimenti)->Unit(benchmark::kMillisecond);

// The same, then the document printed as a PDF file (what the user waits for).
void BM_PdfStampaMovimenti(benchmark::State& state) {
    ReportContoGrande r;
    QTemporaryDir cartella;
    qv::QtLinePrinter pdf;
    pdf.setPdfOnly(true);
    pdf.setPdfFolder(cartella.path());
    qv::setMessageResponder([](const qv::MessageRecord&) { return qv::MessageAnswer::Ok; });
    size_t pagine = 0;
    for (auto _ : state) {
        const qv::EsitoStampa esito = qv::stampaMovimentiContoAperto(r.contesto, r.selezione);
        pagine = esito.valore.size();
        if (!pdf.print(esito.valore)) state.SkipWithError("the PDF was not written");
        state.PauseTiming();
        QFile::remove(pdf.lastPdfPath());
        state.ResumeTiming();
    }
    qv::setMessageResponder({});
    state.counters["pagine"] = double(pagine);
}
BENCHMARK(BM_PdfStampaMovimenti)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
