#include "ledger/period_list.h"

#include "archives/causali.h"
#include "common/amounts.h"
#include "common/file_names.h"
#include "common/list_order.h"
#include "common/numeric_value.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "ledger/movement_files.h"
#include "ledger/movement_lists.h"

#include <QDir>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// The pattern of the Euro amounts of the closing lines.
const QString kFormatoEuro = QStringLiteral("#,###,###,##0.00");

// A text field as the record holds it: padded with blanks to its width.
QString comeRegistrato(const QString& testo, int larghezza) {
    return testo.leftJustified(larghezza, QLatin1Char(' '), true);
}

// The debit or credit column (positions 23 to 49) for an amount already formatted.
QString colonnaDareAvere(const QString& importo, bool avere) {
    if (avere) return QString(12, QLatin1Char(' ')) + rightAlign(importo, 15);
    return QLatin1Char(' ') + rightAlign(importo, 15) + QString(11, QLatin1Char(' '));
}

// The movement's amount with its sign; a damaged amount counts as 0, as in the balances.
double conSegno(const Movimento& m) {
    const double importo = importoContabile(m.importo);
    return m.entrataUscita == u"E" ? importo : -importo;
}

// The cheque leaves (rows of TabellaFogli, in order) by cheque number.
QHash<qint32, std::vector<int>> fogliPerNumero() {
    const auto& s = stato();
    QHash<qint32, std::vector<int>> mappa;
    const int n = std::min<int>(s.NumeroFogli, int(s.TabellaFogli.size()) - 1);
    for (int i = 1; i <= n; ++i)
        mappa[s.TabellaFogli[size_t(i)].numeroAssegno].push_back(i);
    return mappa;
}

} // namespace

std::optional<QString> codiceFiltroCausale(const QString& testoFiltro) {
    const QString testo = withoutTrailingBlanks(testoFiltro);
    if (testo == TutteLeCausali) return std::nullopt;
    const auto& s = stato();
    const int n = std::min<int>(s.NumeroCausali, int(s.TabellaCausali.size()) - 1);
    for (int i = 1; i <= n; ++i) {
        const VoceCausale& voce = s.TabellaCausali[size_t(i)];
        if (voce.descrizione.trimmed() == testo.trimmed()) return voce.codiceCausale.trimmed();
    }
    return QString();
}

std::vector<QString> vociFiltroCausale() {
    const auto& s = stato();
    std::vector<QString> linee;
    const int n = std::min<int>(s.NumeroCausali, int(s.TabellaCausali.size()) - 1);
    for (int i = 1; i <= n; ++i)
        linee.push_back(lineaCausale(s.TabellaCausali[size_t(i)]));
    // The order of the causali lists: the sorted order of their lines.
    std::stable_sort(linee.begin(), linee.end(),
                     [](const QString& a, const QString& b) { return compareListText(a, b) < 0; });
    std::vector<QString> voci{TutteLeCausali};
    for (const QString& linea : linee)
        voci.push_back(linea.mid(9, 30));
    return voci;
}

QString importoInColonna(double valore, int larghezza) {
    return rightAlign(formatNumber(valore, stato().FormatoImporti), larghezza);
}

namespace {

// The carry-forward, always the first line.
RigaPeriodo rigaRiporto(const Riporto& riporto, double saldoRiporto, double fattore) {
    const QString importoRiporto = importoInColonna(saldoRiporto * fattore);
    return {comeRegistrato(riporto.dataRiporto, 10) + QString(12, QLatin1Char(' ')) +
                colonnaDareAvere(importoRiporto, saldoRiporto > 0) + importoRiporto +
                QStringLiteral("  Riporto Chiusura precedente"),
            0};
}

// The line of movement `m`, with the balance after it.
QString lineaMovimento(const Movimento& m, double saldo, double fattore,
                       const QHash<QString, QString>& causali) {
    QString linea = comeRegistrato(m.dataOperazione, 10) + QStringLiteral("  ") +
                    comeRegistrato(m.dataValuta, 10);
    linea += colonnaDareAvere(importoInColonna(importoContabile(m.importo) * fattore),
                              m.entrataUscita == u"E");
    linea += importoInColonna(saldo * fattore);
    linea += QStringLiteral("  ") + causali.value(m.codiceCausale.trimmed()).left(20).trimmed();
    linea += QStringLiteral("  ") + m.numeroDocumento.trimmed();
    linea += QLatin1Char(' ') + comeRegistrato(m.descrizione, 30);
    return linea;
}

// The notes of the cheque leaves with the cheque number of movement `m`.
void aggiungiNoteAssegni(ElencoPeriodo& elenco, const Movimento& m,
                         const QHash<qint32, std::vector<int>>& fogli) {
    const std::optional<qint32> assegno = numeroIntero(m.numeroDocumento);
    if (!assegno) return;
    const auto it = fogli.constFind(*assegno);
    if (it == fogli.cend()) return;
    for (int riga : *it)
        elenco.righe.push_back({QString(66, QLatin1Char(' ')) +
                                    stato().TabellaFogli[size_t(riga)].noteAssegno.trimmed(),
                                0});
}

// The closing lines: the movements left out, the book balance and how many are listed.
void aggiungiTotali(ElencoPeriodo& elenco, double fattore) {
    const double totale = elenco.saldo + elenco.nonElencati;
    const QString trattini(86, QLatin1Char('-'));
    elenco.righe.push_back({trattini, 0});
    elenco.righe.push_back(
        {QStringLiteral("Riporto saldo movimenti non elencati ") + QString(12, QLatin1Char(' ')) +
             importoInColonna(elenco.nonElencati * fattore) + QStringLiteral("  = Euro ") +
             formatNumber(elenco.nonElencati, kFormatoEuro),
         0});
    elenco.righe.push_back({trattini, 0});
    elenco.righe.push_back({QStringLiteral("Saldo Contabile         ") +
                                QString(27, QLatin1Char(' ')) +
                                importoInColonna(totale * fattore, 13) +
                                QStringLiteral("  = Euro ") + formatNumber(totale, kFormatoEuro),
                            0});
    elenco.righe.push_back({QString(68, QLatin1Char(' ')) + QStringLiteral("nr. movimenti: ") +
                                QString::number(elenco.elencati),
                            0});
    elenco.righe.push_back({QStringLiteral("  "), 0});
}

} // namespace

ElencoPeriodo componiElencoPeriodo(const std::vector<Movimento>& inOrdine, const Riporto& riporto,
                                   const QString& dataIniziale, const QString& dataFinale,
                                   const QString& filtro) {
    const double fattore = stato().FattoreValuta;
    ElencoPeriodo elenco;
    elenco.righe.reserve(inOrdine.size() + 8);
    const double saldoRiporto = importoContabile(riporto.saldoRiporto);
    elenco.righe.push_back(rigaRiporto(riporto, saldoRiporto, fattore));
    elenco.saldo = saldoRiporto;

    const std::optional<QString> codiceFiltro = codiceFiltroCausale(filtro);
    const QHash<QString, QString> causali = descrizioniCausali();
    const QHash<qint32, std::vector<int>> fogli = fogliPerNumero();
    for (const Movimento& m : inOrdine) {
        const QString codice = m.codiceCausale.trimmed();
        const bool elencato =
            nelPeriodo(m, OrdineMovimenti::Operazione, dataIniziale, dataFinale) &&
            (!codiceFiltro || codice == *codiceFiltro);
        if (!elencato) {
            elenco.nonElencati += conSegno(m);
            continue;
        }
        ++elenco.elencati;
        elenco.saldo += conSegno(m);
        elenco.righe.push_back({lineaMovimento(m, elenco.saldo, fattore, causali), m.numero});
        if (codice == u"AS") aggiungiNoteAssegni(elenco, m, fogli);
    }
    aggiungiTotali(elenco, fattore);
    return elenco;
}

Esito leggiMovimentiOrdinati() {
    auto& s = stato();
    const int n = std::max<int>(s.NumeroMovimenti, 0);
    QString motivo;
    const QString ord = fileContoAttivo(ExtOrd);
    std::vector<Movimento> letti = leggiRecords<Movimento>(ord, n, &motivo);
    s.TabellaMovimentiOrdinati.assign(size_t(n) + 2, Movimento{});
    if (!motivo.isEmpty())
        return Esito::fallito(QStringLiteral("Impossibile leggere il file %1: %2.")
                                  .arg(QDir::toNativeSeparators(ord), motivo));
    std::move(letti.begin(), letti.end(), s.TabellaMovimentiOrdinati.begin() + 1);
    return Esito::fatto();
}

EsitoCon<ElencoPeriodo> ElencaMovimentiPerPeriodo(const QString& dataIniziale,
                                                  const QString& dataFinale,
                                                  const QString& filtro) {
    Esito letti = leggiMovimentiOrdinati();
    const auto& s = stato();
    const auto& tabella = s.TabellaMovimentiOrdinati;
    const std::vector<Movimento> inOrdine(tabella.begin() + 1, tabella.end() - 1);
    return {std::move(letti),
            componiElencoPeriodo(inOrdine, s.TabellaRiporto[1], dataIniziale, dataFinale, filtro)};
}

} // namespace qv
