#include "staffa/staffa.h"

#include "common/amounts.h"
#include "common/dates.h"
#include "common/shared_state.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// The day count of a Gregorian date (the Julian day number, as QDate counts days).
qint64 numeroGiuliano(int anno, int mese, int giorno) {
    const int primi = mese <= 2 ? 1 : 0;
    const qint64 a = qint64(anno) + 4800 - primi;
    const int m = mese + 12 * primi - 3;
    return giorno + (153 * m + 2) / 5 + 365 * a + a / 4 - a / 100 + a / 400 - 32045;
}

// A date as a day count; 0 (a day long before the year 1000) stands for no date. The
// dates of the records are read digit by digit: a statement reads every movement's.
qint64 giornoDi(const QString& testo) {
    if (testo.size() == 10 && testo[2] == u'/' && testo[5] == u'/') {
        const QChar* c = testo.constData();
        unsigned cifre[10];
        bool numerico = true;
        for (int i : {0, 1, 3, 4, 6, 7, 8, 9}) {
            cifre[i] = unsigned(c[i].unicode()) - unsigned(u'0');
            numerico = numerico && cifre[i] < 10;
        }
        if (numerico) {
            const int giorno = int(cifre[0] * 10 + cifre[1]);
            const int mese = int(cifre[3] * 10 + cifre[4]);
            const int anno = int(((cifre[6] * 10 + cifre[7]) * 10 + cifre[8]) * 10 + cifre[9]);
            return dataValida(giorno, mese, anno) ? numeroGiuliano(anno, mese, giorno) : 0;
        }
    }
    if (const std::optional<QDate> d = dataDelPeriodo(testo)) return d->toJulianDay();
    return 0;
}

qint64 giornoDelMovimento(const Movimento& m) {
    if (const qint64 g = giornoDi(m.dataValuta)) return g;
    return giornoDi(m.dataOperazione);
}

// A movement of the period: its day and its amount with its sign, stored units.
struct VocePeriodo {
    qint64 giorno;
    double importo;
};

// The movements of one date of the period: their sum, in table order, and their count.
struct GiornoPeriodo {
    qint64 giorno;
    double somma;
    int quanti;
};

// The dates of the movements of the period in ascending order, each with the sum of its
// movements added up in table order (as `periodo` holds them). A period no longer than
// a few times the number of movements is ordered by counting over its days; a longer
// one by sorting the movements.
std::vector<GiornoPeriodo> inOrdineDiData(const std::vector<VocePeriodo>& periodo, qint64 dal,
                                          qint64 al) {
    std::vector<GiornoPeriodo> giorni;
    if (periodo.empty()) return giorni;
    const qint64 durata = al - dal + 1;
    if (durata <= 2 * qint64(periodo.size()) + 366) {
        std::vector<GiornoPeriodo> calendario(size_t(durata), GiornoPeriodo{0, 0.0, 0});
        for (const VocePeriodo& v : periodo) {
            GiornoPeriodo& g = calendario[size_t(v.giorno - dal)];
            g.somma += v.importo;
            ++g.quanti;
        }
        for (qint64 k = 0; k < durata; ++k) {
            const GiornoPeriodo& g = calendario[size_t(k)];
            if (g.quanti > 0) giorni.push_back({dal + k, g.somma, g.quanti});
        }
        return giorni;
    }
    std::vector<VocePeriodo> ordinati = periodo;
    std::stable_sort(
        ordinati.begin(), ordinati.end(),
        [](const VocePeriodo& a, const VocePeriodo& b) { return a.giorno < b.giorno; });
    for (const VocePeriodo& v : ordinati) {
        if (giorni.empty() || giorni.back().giorno != v.giorno)
            giorni.push_back({v.giorno, 0.0, 0});
        giorni.back().somma += v.importo;
        ++giorni.back().quanti;
    }
    return giorni;
}

// The display rate a staffa works with. A rate that could not be a display rate is never
// made current; should one come here all the same, amounts stay in Euro rather than turn
// into infinities.
double fattoreUtilizzabile(double fattore) {
    return std::isfinite(fattore) && fattore != 0 ? fattore : 1.0;
}

// The divisor of the numbers: the one given, or the default one for a divisor that could
// not divide (an options record never saved).
int divisoreUtilizzabile(int divisore) {
    return divisore > 0 ? divisore : DivisoreNumeri(0);
}

// Selection: the movements of the period, with their signed amounts in stored units, in
// table order (their indices go to `st.movimentiPeriodo`), and the opening balance of the
// earlier ones in the display currency, suspended or not, whatever the choice. A
// movement without any date is left out and named, so that the user can correct it.
std::vector<VocePeriodo> selezionaMovimenti(std::span<const Movimento> movimenti,
                                            RisultatoStaffa& st) {
    const ParametriStaffa& p = st.parametri;
    const double fattore = p.fattoreValuta;
    const qint64 dal = p.dal.toJulianDay();
    const qint64 al = p.al.toJulianDay();
    std::vector<VocePeriodo> periodo;
    periodo.reserve(movimenti.size());
    st.movimentiPeriodo.reserve(movimenti.size());
    for (size_t i = 0; i < movimenti.size(); ++i) {
        const Movimento& m = movimenti[i];
        const qint64 giorno = giornoDelMovimento(m);
        if (giorno == 0) {
            st.movimentiSenzaData.push_back(m.numero);
            continue;
        }
        const bool entrata = m.entrataUscita == u"E";
        if (giorno < dal) {
            const double importo = fattore * importoContabile(m.importo);
            st.saldoInizialePeriodo += entrata ? importo : -importo;
        } else if (giorno <= al && (p.tutti || m.sospeso == u"N")) {
            const double importo = importoContabile(m.importo);
            periodo.push_back({giorno, entrata ? importo : -importo});
            st.movimentiPeriodo.push_back(int(i));
        }
    }
    return periodo;
}

// The extra dates that fall in the period (dal to al), in ascending order.
std::vector<qint64> dateAggiuntiveDelPeriodo(const ParametriStaffa& p) {
    const qint64 dal = p.dal.toJulianDay();
    const qint64 al = p.al.toJulianDay();
    std::vector<qint64> aggiuntive;
    aggiuntive.reserve(p.dateAggiuntive.size());
    for (const QDate& x : p.dateAggiuntive)
        if (x.isValid() && x.toJulianDay() >= dal && x.toJulianDay() <= al)
            aggiuntive.push_back(x.toJulianDay());
    std::sort(aggiuntive.begin(), aggiuntive.end());
    return aggiuntive;
}

// The dates of the staffa with the balance in force from each, in stored units: the day
// before dal with the carry-forward and the opening balance, dal when the first movement
// comes later, one date per value date of the period, al when the last movement comes
// earlier. Each extra date gets its row as the walk passes it, unless a row of that
// date is already there.
std::vector<RigaStaffa> dateDellaStaffa(const std::vector<GiornoPeriodo>& giorni,
                                        const RisultatoStaffa& st) {
    const ParametriStaffa& p = st.parametri;
    const qint64 dal = p.dal.toJulianDay();
    const qint64 al = p.al.toJulianDay();
    std::vector<RigaStaffa> righe;
    righe.reserve(giorni.size() + 3 + p.dateAggiuntive.size());
    double saldo = p.saldoRiporto + st.saldoInizialePeriodo / p.fattoreValuta;
    const auto aggiungi = [&](qint64 giorno, int quanti) {
        RigaStaffa r;
        r.data = QDate::fromJulianDay(giorno);
        r.saldo = saldo;
        r.movimenti = quanti;
        righe.push_back(r);
    };
    const std::vector<qint64> aggiuntive = dateAggiuntiveDelPeriodo(p);
    size_t prossimaAggiuntiva = 0;
    const auto aggiungiPrimaDi = [&](qint64 limite) {
        for (; prossimaAggiuntiva < aggiuntive.size() && aggiuntive[prossimaAggiuntiva] < limite;
             ++prossimaAggiuntiva)
            if (aggiuntive[prossimaAggiuntiva] > righe.back().data.toJulianDay())
                aggiungi(aggiuntive[prossimaAggiuntiva], 0);
    };

    aggiungi(dal - 1, 0);
    if (giorni.empty() || (p.rigaDal && giorni.front().giorno > dal)) aggiungi(dal, 0);
    for (const GiornoPeriodo& g : giorni) {
        aggiungiPrimaDi(g.giorno);
        saldo = g.somma + saldo;
        aggiungi(g.giorno, g.quanti);
    }
    aggiungiPrimaDi(al + 1);
    if (al > righe.back().data.toJulianDay()) aggiungi(al, 0);
    return righe;
}

// Each row's figures: the balance in the display currency capped at the credit line,
// the excess beyond it, the days to the next date within the period and the numbers.
void calcolaRighe(std::vector<RigaStaffa>& righe, const ParametriStaffa& p) {
    const double fattore = p.fattoreValuta;
    const int divisore = divisoreUtilizzabile(p.divisoreNumeri);
    const qint64 al = p.al.toJulianDay();
    const double limite = fattore * p.fido;
    for (size_t k = 0; k < righe.size(); ++k) {
        RigaStaffa& r = righe[k];
        r.saldoRiga = fattore * r.saldo;
        if (r.saldoRiga < -limite) {
            r.oltreFido = true;
            r.eccedenza = r.saldoRiga + limite;
            // Without a credit line the cap is 0, not -0: the row shows a zero balance.
            r.saldoRiga = -limite + 0.0;
        }
        if (k + 1 < righe.size()) {
            const qint64 prossimo = righe[k + 1].data.toJulianDay();
            if (prossimo <= al) r.giorni = int(prossimo - r.data.toJulianDay());
        }
        r.numeri = r.giorni * r.saldoRiga / divisore;
        if (r.oltreFido) r.numeriEccedenza = -(r.giorni * r.eccedenza / divisore) + 0.0;
    }
}

// The totals of the rows, in row order: debit numbers (those beyond the credit line
// included), credit numbers, the largest excess and the largest overdraft.
void sommaTotali(RisultatoStaffa& st) {
    for (const RigaStaffa& r : st.righe) {
        if (r.debitoria())
            st.totaleNumeriDebitori += -r.numeri;
        else
            st.totaleNumeriCreditori += r.numeri;
        if (r.oltreFido) {
            st.totaleNumeriDebitori += r.numeriEccedenza;
            st.massimaEccedenza = std::min(st.massimaEccedenza, r.eccedenza);
        }
        st.massimoScoperto = std::min(st.massimoScoperto, r.saldoRiga);
    }
}

} // namespace

int DivisoreNumeri(qint16 codiceDivisore) {
    switch (codiceDivisore) {
    case 1:
        return 1;
    case 2:
        return 10;
    case 3:
        return 100;
    case 4:
        return 1000;
    default:
        return 100;
    }
}

std::optional<QDate> dataDelPeriodo(const QString& testo) {
    // A complete "DD/MM/YYYY" (what the fields and the records hold) without building
    // pieces of text; anything else as the date check splits it.
    if (isCompleteDateText(testo)) return dataDaTesto(testo);
    const DateParts p = splitDateText(testo);
    if (!dateValuesValid(p.giorno, p.mese, p.anno)) return std::nullopt;
    return QDate(int(p.anno), int(p.mese), int(p.giorno));
}

std::optional<QDate> dataDelMovimento(const Movimento& m) {
    if (const qint64 g = giornoDelMovimento(m)) return QDate::fromJulianDay(g);
    return std::nullopt;
}

ParametriStaffa parametriContoAperto(QDate dal, QDate al, bool tutti) {
    const auto& s = stato();
    ParametriStaffa p;
    p.dal = dal;
    p.al = al;
    p.tutti = tutti;
    p.fattoreValuta = s.FattoreValuta;
    if (s.IndiceContoAttivo >= 1 && s.IndiceContoAttivo < qsizetype(s.TabellaConti.size()))
        p.fido = importoContabile(s.TabellaConti[size_t(s.IndiceContoAttivo)].fido);
    p.saldoRiporto = importoContabile(s.TabellaRiporto[1].saldoRiporto);
    p.divisoreNumeri = DivisoreNumeri(s.DatiOpzioni.codiceDivisore);
    return p;
}

std::span<const Movimento> movimentiContoAperto() {
    const auto& s = stato();
    const size_t n = size_t(
        std::clamp<qsizetype>(s.NumeroMovimenti, 0, qsizetype(s.TabellaMovimenti.size()) - 1));
    return std::span<const Movimento>(s.TabellaMovimenti).subspan(1, n);
}

double RisultatoStaffa::saldoFinale() const {
    if (righe.empty()) return 0;
    return parametri.fattoreValuta * righe.back().saldo;
}

RisultatoStaffa calcolaStaffa(std::span<const Movimento> movimenti, const ParametriStaffa& p) {
    RisultatoStaffa st;
    st.parametri = p;
    st.parametri.fattoreValuta = fattoreUtilizzabile(p.fattoreValuta);
    if (!p.dal.isValid() || !p.al.isValid()) return st;
    const std::vector<VocePeriodo> periodo = selezionaMovimenti(movimenti, st);
    const std::vector<GiornoPeriodo> giorni =
        inOrdineDiData(periodo, p.dal.toJulianDay(), p.al.toJulianDay());
    st.righe = dateDellaStaffa(giorni, st);
    calcolaRighe(st.righe, st.parametri);
    sommaTotali(st);
    return st;
}

std::optional<std::pair<QDate, QDate>> estremiStaffa(std::span<const Movimento> movimenti) {
    qint64 primo = 0;
    qint64 ultimo = 0;
    for (const Movimento& m : movimenti) {
        const qint64 g = giornoDelMovimento(m);
        if (g == 0) continue;
        if (primo == 0 || g < primo) primo = g;
        if (g > ultimo) ultimo = g;
    }
    if (primo == 0) return std::nullopt;
    return std::pair{QDate::fromJulianDay(primo), QDate::fromJulianDay(ultimo)};
}

std::pair<QDate, QDate> periodoIniziale(std::span<const Movimento> movimenti,
                                        const QString& dataRiporto, QDate oggi) {
    const std::optional<QDate> chiusura = dataDelPeriodo(dataRiporto);
    const auto estremi = estremiStaffa(movimenti);
    if (!estremi) return {chiusura.value_or(oggi), oggi};
    return {chiusura.value_or(estremi->first), estremi->second};
}

QString messaggioMovimentiSenzaData(const std::vector<qint16>& numeri) {
    if (numeri.empty()) return {};
    constexpr size_t kElencati = 20;
    QStringList elenco;
    for (size_t i = 0; i < numeri.size() && i < kElencati; ++i)
        elenco << QString::number(numeri[i]);
    QString testo = QStringLiteral("I seguenti movimenti non hanno né una data valuta né una "
                                   "data operazione valida e non sono compresi nella staffa: "
                                   "nr. ") +
                    elenco.join(QStringLiteral(", "));
    if (numeri.size() > kElencati)
        testo += QStringLiteral(" e altri %1").arg(numeri.size() - kElencati);
    return testo + QStringLiteral(".\nCorreggi le date di questi movimenti.");
}

} // namespace qv
