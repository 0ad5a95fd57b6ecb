#include "ledger/movement_lists.h"

#include "archives/causali.h"
#include "common/amounts.h"
#include "common/dates.h"
#include "common/shared_state.h"
#include "ledger/balances.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <tuple>

namespace qv {

namespace {

QString colonna(const QString& testo, int larghezza) {
    return testo.leftJustified(larghezza, u' ', true);
}

QString componiLinea(const Movimento& m, OrdineMovimenti ordine, double fattore,
                     const NumberFormat& formato, const QHash<QString, QString>& causali) {
    const bool perValuta = ordine == OrdineMovimenti::Valuta;
    const float giorno = giornoDellaData(perValuta ? m.dataValuta : m.dataOperazione);

    QString linea;
    linea.reserve(96);
    linea += rightAlign(u' ' + QString::number(qint64(giorno)), 7);
    linea += QLatin1String("  ");
    linea += colonna(m.dataOperazione, 10);
    linea += u' ';
    linea += colonna(m.dataValuta, 10);
    linea += u' ';
    linea += QString::number(m.numero).rightJustified(4, u'0');
    linea += u' ';
    linea += colonna(causali.value(m.codiceCausale.trimmed()).left(20), 20);
    linea += QLatin1String("  ");
    linea += colonna(m.sospeso, 1);
    linea += QLatin1String("   ");
    linea += colonna(m.entrataUscita, 1);
    linea += QLatin1String("  ");
    linea += rightAlign(m.numeroDocumento.trimmed(), 8);
    // A damaged amount shows as it counts in the balances: 0.
    linea += rightAlign(formato(importoContabile(m.importo) * fattore), 16);
    if (perValuta && m.annullato == u"S") linea += QLatin1String(" *");
    if (m.sospeso == u"N") linea += QLatin1String(" *");
    return linea;
}

// The sort key of a movement in a list: the list's date, the operation date, the
// value date (as day numbers) and the number.
using Chiave = std::tuple<float, float, float, qint16>;

Chiave chiave(const Movimento& m, OrdineMovimenti ordine) {
    const float op = giornoDellaData(m.dataOperazione);
    const float val = giornoDellaData(m.dataValuta);
    return {ordine == OrdineMovimenti::Valuta ? val : op, op, val, m.numero};
}

// Day number of a range bound, or nothing when the text is not a valid date.
std::optional<float> limite(const QString& testo) {
    const QString t = testo.trimmed();
    if (!dataDaTesto(t)) return std::nullopt;
    return DataInNumero(t);
}

// The numbers of the movements (rows 1 to NumeroMovimenti) whose list date lies in the
// bounds, sorted by their keys.
std::vector<qint16> numeriInOrdine(OrdineMovimenti ordine, const std::optional<float>& dal,
                                   const std::optional<float>& al) {
    const auto& s = stato();
    const int n = std::min<int>(s.NumeroMovimenti, int(s.TabellaMovimenti.size()) - 1);
    // The keys as four plain fields and the row, compared in that order (the row decides
    // only between equal keys): 16 bytes a movement. The buffer stays from one sort to the
    // next, so that sorting a long list again allocates nothing.
    struct Voce {
        float data, operazione, valuta;
        qint16 numero, riga;
        bool operator<(const Voce& b) const {
            return std::tie(data, operazione, valuta, numero, riga) <
                   std::tie(b.data, b.operazione, b.valuta, b.numero, b.riga);
        }
    };
    static std::vector<Voce> voci;
    voci.clear();
    voci.reserve(size_t(std::max(n, 0)));
    for (int i = 1; i <= n; ++i) {
        const Chiave k = chiave(s.TabellaMovimenti[size_t(i)], ordine);
        const float data = std::get<0>(k);
        if ((dal && data < *dal) || (al && data > *al)) continue;
        voci.push_back({data, std::get<1>(k), std::get<2>(k), std::get<3>(k), qint16(i)});
    }
    std::sort(voci.begin(), voci.end());
    std::vector<qint16> numeri;
    numeri.reserve(voci.size());
    for (const Voce& v : voci)
        numeri.push_back(v.riga);
    return numeri;
}

ElencoMovimenti elenco(OrdineMovimenti ordine, const std::optional<float>& dal,
                       const std::optional<float>& al) {
    ElencoMovimenti e;
    e.ordine = ordine;
    e.numeri = numeriInOrdine(ordine, dal, al);
    e.formato = std::make_shared<const FormatoRighe>();
    return e;
}

std::vector<RigaMovimento> righe(const ElencoMovimenti& e) {
    std::vector<RigaMovimento> risultato;
    risultato.reserve(e.numeri.size());
    for (qint16 k : e.numeri)
        risultato.push_back({e.riga(k), stato().TabellaMovimenti[size_t(k)].numero});
    return risultato;
}

} // namespace

FormatoRighe::FormatoRighe()
    : fattore_(stato().FattoreValuta), schema_(stato().FormatoImporti), formato_(schema_),
      causali_(descrizioniCausali()) {}

QString FormatoRighe::linea(const Movimento& m, OrdineMovimenti ordine) const {
    return componiLinea(m, ordine, fattore_, formato_, causali_);
}

bool FormatoRighe::operator==(const FormatoRighe& altro) const {
    // The rate compared bit for bit: a rate that differs at all may round differently.
    return std::memcmp(&fattore_, &altro.fattore_, sizeof fattore_) == 0 &&
           schema_ == altro.schema_ && causali_ == altro.causali_;
}

QString ElencoMovimenti::riga(qint16 numero) const {
    const auto& tabella = stato().TabellaMovimenti;
    if (numero < 1 || size_t(numero) >= tabella.size() || !formato) return {};
    return formato->linea(tabella[size_t(numero)], ordine);
}

bool ElencoMovimenti::operator==(const ElencoMovimenti& altro) const {
    if (ordine != altro.ordine || numeri != altro.numeri) return false;
    if (formato == altro.formato) return true;
    return formato && altro.formato && *formato == *altro.formato;
}

ElencoMovimenti elencoMovimenti(OrdineMovimenti ordine) {
    return elenco(ordine, std::nullopt, std::nullopt);
}

ElencoMovimenti elencoMovimenti(OrdineMovimenti ordine, const QString& dal, const QString& al) {
    return elenco(ordine, limite(dal), limite(al));
}

QString lineaMovimento(const Movimento& m, OrdineMovimenti ordine) {
    return FormatoRighe().linea(m, ordine);
}

bool precedeNellElenco(const Movimento& a, const Movimento& b, OrdineMovimenti ordine) {
    return chiave(a, ordine) < chiave(b, ordine);
}

std::vector<qint16> movimentiInOrdine(OrdineMovimenti ordine) {
    return numeriInOrdine(ordine, std::nullopt, std::nullopt);
}

bool nelPeriodo(const Movimento& m, OrdineMovimenti ordine, const QString& dal, const QString& al) {
    const float data = std::get<0>(chiave(m, ordine));
    const auto da = limite(dal);
    const auto a = limite(al);
    return !(da && data < *da) && !(a && data > *a);
}

std::vector<RigaMovimento> righeElenco(OrdineMovimenti ordine) {
    return righe(elencoMovimenti(ordine));
}

std::vector<RigaMovimento> righeElenco(OrdineMovimenti ordine, const QString& dal,
                                       const QString& al) {
    return righe(elencoMovimenti(ordine, dal, al));
}

std::size_t posizioneNellElenco(const std::vector<qint16>& nellElenco, qint16 numero,
                                OrdineMovimenti ordine) {
    const auto& tabella = stato().TabellaMovimenti;
    auto riga = [&](qint16 k) -> const Movimento& {
        static const Movimento vuoto;
        return k >= 0 && size_t(k) < tabella.size() ? tabella[size_t(k)] : vuoto;
    };
    const Chiave nuovo = chiave(riga(numero), ordine);
    const auto it =
        std::lower_bound(nellElenco.begin(), nellElenco.end(), nuovo,
                         [&](qint16 k, const Chiave& c) { return chiave(riga(k), ordine) < c; });
    return size_t(it - nellElenco.begin());
}

QString titoloElenco(OrdineMovimenti ordine) {
    return ordine == OrdineMovimenti::Valuta
               ? QStringLiteral("Elenco Movimenti per data valuta")
               : QStringLiteral("Elenco Movimenti per data operazione");
}

} // namespace qv
