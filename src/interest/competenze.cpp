#include "interest/competenze.h"

#include "common/amounts.h"
#include "common/dates.h"
#include "common/shared_state.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace qv {

namespace {

constexpr int kRighe = 5; // lines of a rate record
constexpr qint64 kSenzaFine = std::numeric_limits<qint64>::max();

// Where one rate line applies: from its start to the start of the line that follows it
// in time, for the rows whose date (the day before dal counted as dal) lies in between.
struct Validita {
    bool impostata = false;
    qint64 inizio = 0;
    qint64 fine = kSenzaFine;
};

// The periods of a rate record's five start dates. A line whose date is not a date is
// not set. Each set line ends at the earliest other set date later than its own, or at
// once when a later line has the same date, so that empty lines between set ones, dates
// out of order and dates given twice never count a day twice: every day of the period
// lies in exactly one line's period, that of the latest start on or before it. Line 1
// has no lower bound (it runs from the start of the statement, its date having been
// checked against dal); its own date still ends the lines that start before it.
std::array<Validita, kRighe + 1> validita(const std::array<QString, 6>& date, qint64 dal) {
    std::array<Validita, kRighe + 1> v{};
    std::array<qint64, kRighe + 1> inizi{};
    for (int k = 1; k <= kRighe; ++k) {
        const std::optional<QDate> data = dataDelPeriodo(date[size_t(k)]);
        if (k == 1) {
            inizi[1] = data && data->toJulianDay() <= dal ? data->toJulianDay() : dal - 1;
            v[1] = {true, std::numeric_limits<qint64>::min(), kSenzaFine};
        } else if (data) {
            inizi[size_t(k)] = data->toJulianDay();
            v[size_t(k)] = {true, inizi[size_t(k)], kSenzaFine};
        }
    }
    for (int k = 1; k <= kRighe; ++k) {
        if (!v[size_t(k)].impostata) continue;
        for (int q = 1; q <= kRighe; ++q) {
            if (q == k || !v[size_t(q)].impostata) continue;
            const qint64 altro = inizi[size_t(q)];
            const qint64 proprio = inizi[size_t(k)];
            if (altro > proprio || (altro == proprio && q > k))
                v[size_t(k)].fine = std::min(v[size_t(k)].fine, altro);
        }
    }
    return v;
}

// The line whose period holds a row: rows are placed by their date, the row of the day
// before dal (the opening balance) by dal.
int rigaTasso(const std::array<Validita, kRighe + 1>& v, qint64 giorno) {
    for (int k = 1; k <= kRighe; ++k) {
        const Validita& x = v[size_t(k)];
        if (x.impostata && x.inizio <= giorno && giorno < x.fine) return k;
    }
    return 1; // not reached: line 1 holds every day from dal on that no later line takes
}

// Whether a line's period is shown: it is set and does not end before the statement.
bool mostrato(const Validita& v, qint64 dal) {
    return v.impostata && v.fine > dal;
}

QString decorrenza(int k, const QString& stored, QDate inizioPrimoPeriodo) {
    return k == 1 ? testoDaData(inizioPrimoPeriodo) : stored;
}

double intero(double valore) {
    return std::floor(valore);
}

// The statement's figures that come from its period and options alone: the day bases of
// the two interests, whether it closes the year (the annual fees are charged then) and
// the day before dal, where the first rate period starts.
void impostaPeriodo(RisultatoCompetenze& r, const ParametriCompetenze& p) {
    const CondizioniConto& c = p.condizioni;
    r.giorniBaseCreditori = giorniBase(c.opzioni.baseGiorniCreditori);
    r.giorniBaseDebitori = giorniBase(c.opzioni.baseGiorniDebitori);
    r.chiusuraFineAnno =
        p.staffa.al.isValid() && p.staffa.al.day() == 31 && p.staffa.al.month() == 12;
    r.inizioPrimoPeriodo = p.staffa.dal.addDays(-1);
}

// The staffa of the period, with a row at every set start date of either rate record,
// so that no row spans a rate change.
RisultatoStaffa staffaConCambiDiTasso(std::span<const Movimento> movimenti,
                                      const ParametriCompetenze& p) {
    const CondizioniConto& c = p.condizioni;
    ParametriStaffa ps = p.staffa;
    for (int k = 1; k <= kRighe; ++k)
        for (const QString* data :
             {&c.creditori.dataDecorrenza[size_t(k)], &c.debitori.dataDecorrenza[size_t(k)]})
            if (const std::optional<QDate> d = dataDelPeriodo(*data))
                ps.dateAggiuntive.push_back(*d);
    return calcolaStaffa(movimenti, ps);
}

// The divisor of the numbers over 100, which turns numbers × rate / days into interest.
double fattoreDivisore(const ParametriStaffa& ps) {
    const int divisore = ps.divisoreNumeri > 0 ? ps.divisoreNumeri : DivisoreNumeri(0);
    return divisore / 100.0;
}

// The numbers of each rate line, credit and debit (beyond the credit line apart).
struct NumeriPerPeriodo {
    std::array<PeriodoTasso, kRighe + 1> creditori{};
    std::array<PeriodoTasso, kRighe + 1> debitori{};
};

// One walk over the staffa's rows: the largest overdraft and the row that reached it, the
// totals of the numbers, and each row's numbers added to the rate line in force on its
// date (the row of the day before dal counted at dal).
NumeriPerPeriodo sommaNumeri(RisultatoCompetenze& r,
                             const std::array<Validita, kRighe + 1>& creditori,
                             const std::array<Validita, kRighe + 1>& debitori, qint64 dal) {
    const RisultatoStaffa& st = r.staffa;
    const double fattore = st.parametri.fattoreValuta;
    NumeriPerPeriodo n;
    for (size_t k = 0; k < st.righe.size(); ++k) {
        const RigaStaffa& riga = st.righe[k];
        const double saldo = fattore * riga.saldo;
        if (saldo < r.massimoScoperto) {
            r.massimoScoperto = saldo;
            r.dataMassimoScoperto = k == 0 ? std::nullopt : std::optional<QDate>(riga.data);
        }
        r.totaleNumeriCreditori += riga.numeriCreditori();
        r.totaleNumeriDebitori -= riga.numeriDebitori();
        if (riga.oltreFido) {
            r.totaleNumeriDebitori -= riga.numeriEccedenza;
            r.totaleNumeriFuoriFido -= riga.numeriEccedenza;
        }
        const qint64 giorno = std::max(riga.data.toJulianDay(), dal);
        n.creditori[size_t(rigaTasso(creditori, giorno))].numeri += riga.numeriCreditori();
        PeriodoTasso& d = n.debitori[size_t(rigaTasso(debitori, giorno))];
        d.numeri += riga.numeriDebitori();
        if (riga.oltreFido) d.numeriFuoriFido += riga.numeriEccedenza;
    }
    r.massimaEccedenza = st.massimaEccedenza;
    return n;
}

// The credit interest of each rate line shown, and their total.
void interessiCreditori(RisultatoCompetenze& r, const CondizioniConto& c,
                        const std::array<Validita, kRighe + 1>& creditori,
                        const std::array<PeriodoTasso, kRighe + 1>& numeri, qint64 dal) {
    for (int k = 1; k <= kRighe; ++k) {
        if (!mostrato(creditori[size_t(k)], dal)) continue;
        PeriodoTasso x = numeri[size_t(k)];
        x.indice = k;
        x.decorrenza = decorrenza(k, c.creditori.dataDecorrenza[size_t(k)], r.inizioPrimoPeriodo);
        x.tasso = tassoDecimale(c.creditori.tasso[size_t(k)]);
        x.interessi = x.tasso * x.numeri / r.giorniBaseCreditori * r.fattoreDivisore;
        r.totaleInteressiCreditori += x.interessi;
        r.periodiCreditori.push_back(x);
    }
}

// The withholding tax on the credit interest (none below 1; the taxable figure shown as
// 0 below 100) and the net interest.
void ritenutaFiscale(RisultatoCompetenze& r, const CondizioniConto& c) {
    r.aliquotaRitenuta = tassoDecimale(c.oneri.ritenutaFiscale);
    r.imponibileRitenuta = r.totaleInteressiCreditori < 100 ? 0.0 : r.totaleInteressiCreditori;
    r.ritenutaCalcolata = r.aliquotaRitenuta * r.totaleInteressiCreditori / 100;
    if (r.ritenutaCalcolata < 1) r.ritenutaCalcolata = 0;
    r.interessiCreditoriNetti = r.totaleInteressiCreditori - r.ritenutaCalcolata;
}

// The debit interest of each rate line shown, within and beyond the credit line, and
// their total.
void interessiDebitori(RisultatoCompetenze& r, const CondizioniConto& c,
                       const std::array<Validita, kRighe + 1>& debitori,
                       const std::array<PeriodoTasso, kRighe + 1>& numeri, qint64 dal) {
    for (int k = 1; k <= kRighe; ++k) {
        if (!mostrato(debitori[size_t(k)], dal)) continue;
        PeriodoTasso x = numeri[size_t(k)];
        x.indice = k;
        x.decorrenza = decorrenza(k, c.debitori.dataDecorrenza[size_t(k)], r.inizioPrimoPeriodo);
        x.tasso = tassoDecimale(c.debitori.tassoEntroFido[size_t(k)]);
        x.tassoFuoriFido = tassoDecimale(c.debitori.tassoFuoriFido[size_t(k)]);
        x.interessi = x.tasso * x.numeri / r.giorniBaseDebitori * r.fattoreDivisore;
        x.interessiFuoriFido =
            x.tassoFuoriFido * x.numeriFuoriFido / r.giorniBaseDebitori * r.fattoreDivisore;
        r.totaleInteressiDebitori = r.totaleInteressiDebitori + x.interessi + x.interessiFuoriFido;
        r.periodiDebitori.push_back(x);
    }
}

// Maximum-overdraft commission: beyond the credit line, the line itself at the EF rate
// and the largest excess, in whole units, at the FF and FFGG rates; within the line,
// the largest overdraft at the EF rate.
void commissioneMassimoScoperto(RisultatoCompetenze& r, const CondizioniConto& c) {
    r.fidoValuta = r.staffa.parametri.fattoreValuta * r.staffa.parametri.fido;
    r.scopertoMassimo = -r.massimoScoperto + 0.0;
    r.eccedenza = -r.massimaEccedenza + 0.0;
    r.scoperto = r.massimaEccedenza < 0  ? Scoperto::OltreFido
                 : r.massimoScoperto < 0 ? Scoperto::EntroFido
                                         : Scoperto::Mai;
    r.aliquotaMassimoScoperto = tassoDecimale(c.oneri.aliquotaMassimoScoperto);
    r.aliquotaScopertoFuoriFido = tassoDecimale(c.oneri.aliquotaScopertoFuoriFido);
    r.aliquotaScopertoFuoriFidoGiorni = tassoDecimale(c.oneri.aliquotaScopertoFuoriFidoGiorni);
    double& ms = r.importiCompetenze[1];
    switch (r.scoperto) {
    case Scoperto::OltreFido:
        r.baseEntroFido = intero(r.fidoValuta);
        r.importoEntroFido = r.fidoValuta * r.aliquotaMassimoScoperto / 100;
        r.baseFuoriFido = intero(r.eccedenza);
        r.importoFuoriFido = intero(r.eccedenza * r.aliquotaScopertoFuoriFido / 100);
        r.importoFuoriFidoGiorni = intero(r.eccedenza * r.aliquotaScopertoFuoriFidoGiorni / 100);
        ms = r.importoEntroFido + r.importoFuoriFido + r.importoFuoriFidoGiorni;
        break;
    case Scoperto::EntroFido:
        r.baseEntroFido = intero(r.scopertoMassimo);
        r.importoEntroFido = intero(r.scopertoMassimo * r.aliquotaMassimoScoperto / 100);
        ms = r.scopertoMassimo * r.aliquotaMassimoScoperto / 100;
        break;
    case Scoperto::Mai:
        break;
    }
}

// A free commission on the base its code names (its rate set, its description not
// blank). The maximum overdraft ("6") is the largest overdraft, within the credit line
// or beyond it; any other code has no base and charges nothing.
void applicaCommissioneLibera(CommissioneLibera& l, const RisultatoCompetenze& r) {
    const QChar codice = l.base.size() == 1 ? l.base[0] : QChar();
    if (codice == u'1') {
        l.imponibile = r.totaleInteressiCreditori;
        l.importo = l.aliquota * l.imponibile / 100;
    } else if (codice == u'2') {
        l.imponibile = r.totaleInteressiDebitori;
        l.importo = l.aliquota * l.imponibile / 100;
    } else if (codice == u'3') {
        l.imponibile = r.eccedenza;
        l.importo = l.aliquota * l.imponibile / 100;
    } else if (codice == u'4') {
        l.imponibile = r.totaleNumeriCreditori;
        l.importo = l.aliquota * l.imponibile / r.giorniBaseCreditori * r.fattoreDivisore;
    } else if (codice == u'5') {
        l.imponibile = -r.totaleNumeriDebitori + 0.0;
        l.importo = l.aliquota * l.imponibile / r.giorniBaseDebitori * r.fattoreDivisore;
    } else if (codice == u'6') {
        l.imponibile = r.scopertoMassimo;
        l.importo = l.imponibile * l.aliquota / 100;
    }
}

// The two free commissions, each applied only when its description is not blank; their
// amounts are entries 2 and 3 of the summary.
void commissioniLibere(RisultatoCompetenze& r, const CondizioniConto& c) {
    const std::array<const QString*, 2> descrizioni{&c.oneri.descrizioneLibera1,
                                                    &c.oneri.descrizioneLibera2};
    const std::array<const QString*, 2> basi{&c.oneri.baseLibera1, &c.oneri.baseLibera2};
    const std::array<float, 2> aliquote{c.oneri.aliquotaLibera1, c.oneri.aliquotaLibera2};
    for (size_t i = 0; i < 2; ++i) {
        CommissioneLibera& l = r.libere[i];
        l.descrizione = descrizioni[i]->trimmed();
        if (!l.applicata()) continue;
        l.base = *basi[i];
        l.aliquota = tassoDecimale(aliquote[i]);
        applicaCommissioneLibera(l, r);
        r.importiCompetenze[2 + i] = l.importo;
    }
}

// Whether fee `k` of the fees record is charged by this statement.
bool spesaDovutaQui(const SpeseVarie& sv, int k, const RisultatoCompetenze& r) {
    return spesaDovuta(sv.addebitoTrimestrale[size_t(k)], r.chiusuraFineAnno);
}

// Fee `k` of the fees record in the display currency.
double importoSpesa(const SpeseVarie& sv, int k, const RisultatoCompetenze& r) {
    return importoContabile(sv.importoSpesa[size_t(k)]) * r.staffa.parametri.fattoreValuta;
}

// The movements of the period whose causale is subject to cost: each matching causale
// counts once for each movement. The codes of those causali are sorted and looked up
// once per movement, so that the count grows as n log n.
qint64 operazioniSoggette(std::span<const VoceCausale> causali,
                          std::span<const Movimento> movimenti, const std::vector<int>& periodo) {
    const auto codice = [](const QString& testo) {
        const QStringView v = QStringView(testo).trimmed();
        return std::u16string_view(reinterpret_cast<const char16_t*>(v.utf16()), size_t(v.size()));
    };
    std::vector<std::u16string_view> soggette;
    for (const VoceCausale& v : causali)
        if (v.soggettoCosto == u"1") soggette.push_back(codice(v.codiceCausale));
    std::sort(soggette.begin(), soggette.end());
    qint64 conteggio = 0;
    for (const int i : periodo) {
        const auto [da, a] = std::equal_range(soggette.begin(), soggette.end(),
                                              codice(movimenti[size_t(i)].codiceCausale));
        conteggio += a - da;
    }
    return conteggio;
}

// The fee per operation (summary entry 4), when due at this statement: on the movements
// whose causale is subject to cost, none when they are fewer than the minimum.
void costoOperazioni(RisultatoCompetenze& r, const CondizioniConto& c,
                     std::span<const VoceCausale> causali, std::span<const Movimento> movimenti) {
    const SpeseVarie& sv = c.spese;
    if (!spesaDovutaQui(sv, 2, r)) return;
    r.operazioniAddebitate = true;
    const qint64 conteggio = operazioniSoggette(causali, movimenti, r.staffa.movimentiPeriodo);
    r.numeroOperazioni = conteggio < c.opzioni.minimoMovimenti ? 0 : int(conteggio);
    r.costoOperazione = importoSpesa(sv, 2, r);
    r.importiCompetenze[4] = r.costoOperazione * r.numeroOperazioni;
}

// The fixed fees due at this statement, in the order they are shown: closing, account
// keeping, credit-line keeping, the flat refund when the operations are fewer than the
// minimum, and the two fees the user named.
void speseFisse(RisultatoCompetenze& r, const CondizioniConto& c) {
    const SpeseVarie& sv = c.spese;
    r.descrizioneSpesa1 = sv.descrizioneSpesa1;
    r.descrizioneSpesa2 = sv.descrizioneSpesa2;
    const auto dovuta = [&](int k) { return spesaDovutaQui(sv, k, r); };
    const auto addebita = [&](int spesa, int voce) {
        r.importiCompetenze[size_t(voce)] = importoSpesa(sv, spesa, r);
        r.speseFisse.push_back({voce, r.importiCompetenze[size_t(voce)]});
    };
    if (dovuta(0)) addebita(0, 5);
    if (dovuta(1)) addebita(1, 6);
    if (dovuta(3)) addebita(3, 7);
    if (r.numeroOperazioni < c.opzioni.minimoMovimenti && dovuta(4)) addebita(4, 8);
    if (!sv.descrizioneSpesa1.trimmed().isEmpty() && dovuta(5)) addebita(5, 9);
    if (!sv.descrizioneSpesa2.trimmed().isEmpty() && dovuta(6)) addebita(6, 10);
}

// Summary of competences: the fees, every charge with the debit interest, and the
// balance against the net credit interest (charges equal to it stay on the credit side).
void riepilogoCompetenze(RisultatoCompetenze& r) {
    for (int k = 4; k <= 10; ++k)
        r.totaleSpese += r.importiCompetenze[size_t(k)];
    for (int k = 1; k <= 10; ++k)
        r.totaleAddebiti += r.importiCompetenze[size_t(k)];
    r.totaleAddebiti += r.totaleInteressiDebitori;
    r.competenzeACredito = r.totaleAddebiti <= r.interessiCreditoriNetti;
    r.saldoCompetenze = r.competenzeACredito ? r.interessiCreditoriNetti - r.totaleAddebiti
                                             : r.totaleAddebiti - r.interessiCreditoriNetti;
}

// Commission on the excess, in whole units, charged when the balance went beyond the
// credit line, and the final result with it charged.
void commissioneEccedenza(RisultatoCompetenze& r, const CondizioniConto& c) {
    r.aliquotaEccedenza = tassoDecimale(c.oneri.aliquotaEccedenza);
    if (!r.conEccedenza()) return;
    r.commissioneEccedenza = intero(r.aliquotaEccedenza * r.eccedenza / 100);
    const double addebiti = r.totaleAddebiti + r.commissioneEccedenza;
    // Charges equal to the net interest stay on the credit side, as in the summary.
    r.finaliACredito = addebiti <= r.interessiCreditoriNetti;
    r.competenzeFinali = r.finaliACredito ? r.interessiCreditoriNetti - addebiti
                                          : addebiti - r.interessiCreditoriNetti;
}

} // namespace

ParametriCompetenze parametriCompetenzeContoAperto(QDate dal, QDate al, bool tutti) {
    const StatoProgramma& s = stato();
    ParametriCompetenze p;
    p.staffa = parametriContoAperto(dal, al, tutti);
    p.condizioni = condizioniInMemoria();
    const size_t n =
        size_t(std::clamp<qsizetype>(s.NumeroCausali, 0, qsizetype(s.TabellaCausali.size()) - 1));
    p.causali = std::span<const VoceCausale>(s.TabellaCausali).subspan(1, n);
    return p;
}

std::optional<RifiutoCompetenze> controllaDecorrenze(const CondizioniConto& condizioni,
                                                     const QString& dal) {
    const std::optional<QDate> inizio = dataDelPeriodo(dal);
    const auto successiva = [&](const QString& decorrenza) {
        const std::optional<QDate> data = dataDelPeriodo(decorrenza);
        return !inizio || !data || *data > *inizio;
    };
    const auto rifiuto = [](const char* tassi) {
        return RifiutoCompetenze{
            QStringLiteral("La prima data decorrenza dei tassi interessi %1 è successiva alla "
                           "data inizio movimenti; correggi i dati e ripeti la procedura.")
                .arg(QLatin1String(tassi)),
            QStringLiteral("Attenzione")};
    };
    if (successiva(condizioni.creditori.dataDecorrenza[1])) return rifiuto("creditori");
    if (successiva(condizioni.debitori.dataDecorrenza[1])) return rifiuto("debitori");
    return std::nullopt;
}

double tassoDecimale(float tasso) {
    if (!std::isfinite(tasso)) return 0;
    char buf[32];
    const auto scritto = std::to_chars(buf, buf + sizeof buf, tasso);
    double valore = double(tasso);
    if (scritto.ec == std::errc()) std::from_chars(buf, scritto.ptr, valore);
    return valore;
}

int giorniBase(const QString& codice) {
    return codice == u"1" ? 360 : 365;
}

bool spesaDovuta(const QString& addebitoTrimestrale, bool chiusuraFineAnno) {
    const bool cifra = addebitoTrimestrale.size() == 1 && addebitoTrimestrale[0] >= u'0' &&
                       addebitoTrimestrale[0] <= u'9';
    if (!cifra || addebitoTrimestrale == u"1") return true;
    return chiusuraFineAnno;
}

RisultatoCompetenze calcolaCompetenze(std::span<const Movimento> movimenti,
                                      const ParametriCompetenze& p) {
    RisultatoCompetenze r;
    impostaPeriodo(r, p);
    r.staffa = staffaConCambiDiTasso(movimenti, p);
    r.fattoreDivisore = fattoreDivisore(r.staffa.parametri);
    if (!p.staffa.dal.isValid() || !p.staffa.al.isValid()) return r;
    const qint64 dal = p.staffa.dal.toJulianDay();
    const CondizioniConto& c = p.condizioni;
    const auto creditori = validita(c.creditori.dataDecorrenza, dal);
    const auto debitori = validita(c.debitori.dataDecorrenza, dal);
    const NumeriPerPeriodo numeri = sommaNumeri(r, creditori, debitori, dal);
    interessiCreditori(r, c, creditori, numeri.creditori, dal);
    ritenutaFiscale(r, c);
    interessiDebitori(r, c, debitori, numeri.debitori, dal);
    commissioneMassimoScoperto(r, c);
    commissioniLibere(r, c);
    costoOperazioni(r, c, p.causali, movimenti);
    speseFisse(r, c);
    riepilogoCompetenze(r);
    commissioneEccedenza(r, c);
    return r;
}

} // namespace qv
