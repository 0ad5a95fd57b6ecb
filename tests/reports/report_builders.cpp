#include "report_builders.h"

#include "reports/archive_reports.h"
#include "reports/cheque_reports.h"
#include "reports/movement_report.h"

namespace qv::test {

QStringList texts(const PrintedPage& page) {
    QStringList out;
    for (const PrintedLine& l : page)
        out << l.text;
    return out;
}

namespace {

std::vector<Movimento> movements(int n, const char* causale) {
    std::vector<Movimento> out;
    for (int i = 1; i <= n; ++i) {
        Movimento m;
        m.dataOperazione = "02/01/2026";
        m.dataValuta = "03/01/2026";
        m.codiceCausale = causale;
        m.importo = 1234567.89 + i;
        m.numeroDocumento = QString::number(10000000 + i);
        m.descrizione = QStringLiteral("Pagamento fornitura n. %1 del mese").arg(i).left(30);
        m.sospeso = i % 2 ? "N" : "S";
        m.entrataUscita = i % 3 ? "E" : "U";
        out.push_back(m);
    }
    return out;
}

std::vector<FoglioAssegno> leaves(int n) {
    std::vector<FoglioAssegno> out;
    for (int i = 1; i <= n; ++i) {
        FoglioAssegno f;
        f.numeroCarnet = qint16(i);
        f.numeroAssegno = 10000000 + i;
        f.dataAssegno = "04/01/2026";
        f.importo = 999999.99;
        f.traenteAssegno = "Impresa edile Rossi e figli srl";
        f.noteAssegno = QStringLiteral("nota del foglio %1").arg(i);
        f.allineato = "N";
        f.annullato = "S";
        out.push_back(f);
    }
    return out;
}

std::vector<VoceCausale> causali(int n) {
    std::vector<VoceCausale> out;
    for (int i = 1; i <= n; ++i) {
        VoceCausale v;
        v.codiceCausale = QStringLiteral("C%1").arg(i);
        v.descrizione = QStringLiteral("Descrizione lunga n. %1").arg(i);
        v.entrataUscita = "E";
        v.sospeso = "N";
        out.push_back(v);
    }
    return out;
}

Conto conto(int i) {
    Conto k;
    k.codiceConto = QStringLiteral("CONTO%1").arg(i, 7, 10, QChar('0'));
    k.tipoConto = "Conto corrente ordinario";
    k.nomeBanca = "Banca Popolare di Sondrio Societa Cooperativa";
    k.fido = 12345678.9;
    k.codiceAbi = "0569600000";
    k.codiceCab = "1100000000";
    k.idBanca = "POSOIT22XX";
    return k;
}

} // namespace

std::vector<ReportUnderTest> reportsUnderTest() {
    const ContestoStampa c{"BANCA POPOLARE DI SONDRIO SOCIETA COOPERATIVA", "Euro - Unione Europea",
                           QDate(2026, 12, 9), 1.0, "#,###,###,##0.00"};
    const PeriodoStampa periodo{"01/01/2026", "31/12/2026"};
    std::vector<VoceCausale> tabellaCausali = causali(20);
    tabellaCausali[1].codiceCausale = "AS";
    return {
        {"movimenti", 53, false, 48, 11, 5,
         [=](int n) {
             return StampaMovimenti(
                 c, {"01/01/2026", "31/12/2026", " TUTTE"},
                 {movements(n, "C1"), {"31/12/2025", 12345.6}, tabellaCausali, leaves(3)});
         }},
        {"assegni", 57, true, 52, 10, 0,
         [=](int n) { return StampaAssegni(c, periodo, movements(n, "AS"), leaves(n)); }},
        {"annullati", 57, true, 52, 10, 0,
         [=](int n) { return StampaAssegniAnnullati(c, leaves(n)); }},
        {"carnet", 57, true, 52, 10, 0,
         [=](int n) {
             std::vector<CarnetAssegni> out;
             for (int i = 1; i <= n; ++i) {
                 CarnetAssegni k;
                 k.dataRitiro = "05/01/2026";
                 k.primoAssegno = 1000000000 + i * 10;
                 k.ultimoAssegno = k.primoAssegno + 9;
                 k.fogliDaAllineare = 10;
                 k.esaurito = "N";
                 out.push_back(k);
             }
             return StampaCarnet(c, periodo, out);
         }},
        {"situazione", 57, true, 56, 10, 0,
         [=](int n) { return StampaSituazioneAssegni(c, periodo, leaves(n)); }},
        {"causali", 57, true, 52, 10, 0,
         [=](int n) { return StampaCausali(c, periodo, causali(n)); }},
        {"conti", 57, true, 52, 10, 0,
         [=](int n) {
             std::vector<Conto> out;
             for (int i = 1; i <= n; ++i)
                 out.push_back(conto(i));
             return StampaElencoConti(c, out);
         }},
        {"riepilogo", 57, true, 54, 10, 3,
         [=](int n) {
             std::vector<ContoRiepilogato> out;
             for (int i = 1; i <= n; ++i) {
                 TotaliConto t;
                 t.saldoOperazioneOggi = -987654321.5;
                 out.push_back({conto(i), t});
             }
             return StampaRiepilogoConti(c, "09-12-2026", false, out);
         }},
    };
}

} // namespace qv::test
