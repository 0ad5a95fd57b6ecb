#include "reports/report_frame.h"

#include "common/amounts.h"
#include "common/dates.h"
#include "common/shared_state.h"
#include "common/today.h"

#include <QDir>
#include <QRegularExpression>

namespace qv {

QString righello(int trattini) {
    return QLatin1Char(' ') + QString(trattini, QLatin1Char('-'));
}

QString numeroConSegno(int numero) {
    return (numero < 0 ? QStringLiteral("-") : QStringLiteral(" ")) +
           QString::number(qAbs(qint64(numero)));
}

QString numeroStampato(int numero) {
    return numeroConSegno(numero) + QLatin1Char(' ');
}

PrintedLine inCorpo(const QString& testo) {
    return PrintedLine{testo, FontCorpo, CorpoTesto, false};
}

ReportHeader intestazioneComune(const IntestazioneComune& parti) {
    ReportHeader righe;
    const auto titolo = [&](const QString& testo) {
        righe.push_back({testo, FontTitoli, CorpoTitolo, false});
    };
    titolo(QString());
    titolo(parti.titolo);
    titolo(parti.sottotitolo);
    for (const QString& testo : parti.righeConto)
        righe.push_back({testo, FontTitoli, CorpoConto, false});
    righe.push_back({parti.selezione, FontCorpo, CorpoTesto, parti.selezioneInGrassetto});
    righe.push_back(inCorpo(righello(94)));
    righe.push_back(inCorpo(parti.colonne));
    righe.push_back(inCorpo(righello(94)));
    righe.push_back(inCorpo(QString()));
    return righe;
}

ReportFrame::ReportFrame(ReportLayout layout, ReportHeader header)
    : layout_(std::move(layout)), header_(std::move(header)) {
    documento_.emplace_back();
    intestazione();
}

void ReportFrame::intestazione() {
    PrintedPage& pagina = documento_.back();
    pagina.insert(pagina.end(), header_.begin(), header_.end());
}

void ReportFrame::riga(const QString& testo) {
    documento_.back().push_back(inCorpo(testo));
}

void ReportFrame::rigaCorpo(const QString& testo) {
    if (++contatore_ >= layout_.soglia) {
        riga(righello(95));
        if (layout_.rigaVuotaAlSalto) riga(QString());
        riga(QString(42, QLatin1Char(' ')) + QStringLiteral("Pagina ") + numeroStampato(pagina_));
        documento_.emplace_back();
        intestazione();
        contatore_ = 1;
        ++pagina_;
    }
    riga(testo);
}

void ReportFrame::rigaContata(const QString& testo) {
    ++contatore_;
    riga(testo);
}

PrintedDocument ReportFrame::chiudi() {
    for (int i = contatore_; i < layout_.righeChiusura; ++i)
        riga(QString());
    if (layout_.rigaVuotaFinale) riga(QString());
    riga(righello(layout_.trattiniFinali));
    riga(QString());
    riga(QString(layout_.spaziPaginaFinale, QLatin1Char(' ')) + QStringLiteral("Pagina ") +
         numeroStampato(pagina_) + layout_.fineStampa);
    return std::move(documento_);
}

ContestoStampa contestoStampaCorrente() {
    const auto& s = stato();
    ContestoStampa contesto;
    contesto.descConto = s.TestoDescConto;
    contesto.valuta = s.TestoValuta;
    contesto.oggi = oggi();
    contesto.fattoreValuta = s.FattoreValuta;
    contesto.formatoImporti = s.FormatoImporti;
    return contesto;
}

QString rigaConto(const ContestoStampa& contesto) {
    return contesto.descConto + QStringLiteral("  ") + QString(23, QLatin1Char(' ')) +
           QStringLiteral("Stampato il ") + contesto.oggi.toString(QStringLiteral("dd-MM-yyyy"));
}

QString importoStampato(const ContestoStampa& contesto, double importo, int larghezza) {
    return rightAlign(formatAmount(importo, contesto.fattoreValuta, contesto.formatoImporti),
                      larghezza);
}

std::optional<QDate> dataStampa(const QString& testo) {
    static const QRegularExpression forma(
        QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})\\s*$"));
    const QRegularExpressionMatch m = forma.match(testo);
    if (!m.hasMatch()) return std::nullopt;
    const int giorno = m.captured(1).toInt();
    const int mese = m.captured(2).toInt();
    const int anno = m.captured(3).toInt();
    if (!dataValida(giorno, mese, anno)) return std::nullopt;
    return QDate(anno, mese, giorno);
}

bool dataNelPeriodo(const QString& data, const QString& dal, const QString& al) {
    const auto giorno = dataStampa(data);
    const auto da = dataStampa(dal);
    const auto a = dataStampa(al);
    if (!giorno || !da || !a) return true;
    return *giorno >= *da && *giorno <= *a;
}

QString campo(const QString& testo, int larghezza) {
    return testo.leftJustified(larghezza, QLatin1Char(' '), true);
}

QString messaggioLetturaStampa(const QString& percorso, const QString& motivo) {
    return QStringLiteral("Impossibile leggere il file %1: %2.\n\nLa stampa non è stata eseguita.")
        .arg(QDir::toNativeSeparators(percorso), motivo);
}

} // namespace qv
