#include "ledger/balances.h"

#include "common/amounts.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "ledger/account_memory.h"
#include "ledger/movement_files.h"
#include "ledger/open_account_announce.h"

#include <algorithm>
#include <optional>
#include <span>

namespace qv {

namespace {

// Fills TotaliContoAttivo from the balances and bounds as they stand and writes it.
Esito scriviRecordTotali();

int cifra(QChar c) {
    return c.unicode() - u'0';
}

bool cifre(const QString& t, int da, int n) {
    for (int i = da; i < da + n; ++i)
        if (t[i] < u'0' || t[i] > u'9') return false;
    return true;
}

// Day, month and year of a complete "DD/MM/YYYY" text.
bool partiRapide(const QString& t, int& g, int& m, int& a) {
    if (t.size() != 10 || t[2] != u'/' || t[5] != u'/' || !cifre(t, 0, 2) || !cifre(t, 3, 2) ||
        !cifre(t, 6, 4))
        return false;
    g = cifra(t[0]) * 10 + cifra(t[1]);
    m = cifra(t[3]) * 10 + cifra(t[4]);
    a = ((cifra(t[6]) * 10 + cifra(t[7])) * 10 + cifra(t[8])) * 10 + cifra(t[9]);
    return true;
}

// Whether `testo`, trimmed, is the one letter `lettera` (as testo.trimmed() == lettera,
// without making the trimmed text: the balances ask it twice per movement).
bool soloLettera(const QString& testo, char16_t lettera) {
    qsizetype inizio = 0, fine = testo.size();
    while (inizio < fine && testo.at(inizio).isSpace())
        ++inizio;
    while (fine > inizio && testo.at(fine - 1).isSpace())
        --fine;
    return fine - inizio == 1 && testo.at(inizio) == lettera;
}

void aggiungi(Saldi& saldi, const QString& dataValuta, const QString& dataOperazione,
              double importo, const QString& entrataUscita, const QString& sospeso, float oggi,
              int segno) {
    // A damaged amount (not finite, or beyond what two decimals can hold) counts as 0.
    const double conto = importoContabile(importo);
    const double valore = (soloLettera(entrataUscita, u'U') ? -conto : conto) * segno;
    saldi.contabile += valore;
    if (soloLettera(sospeso, u'N')) saldi.nonSospesi += valore;
    if (giornoDellaData(dataOperazione) <= oggi) saldi.operazioneOggi += valore;
    if (giornoDellaData(dataValuta) <= oggi) saldi.valutaOggi += valore;
}

Saldi saldiCorrenti() {
    const auto& s = stato();
    return {s.SaldoContabile, s.SaldoNonSospesi, s.SaldoOperazioneOggi, s.SaldoValutaOggi};
}

void impostaSaldi(const Saldi& saldi) {
    auto& s = stato();
    s.SaldoContabile = saldi.contabile;
    s.SaldoNonSospesi = saldi.nonSospesi;
    s.SaldoOperazioneOggi = saldi.operazioneOggi;
    s.SaldoValutaOggi = saldi.valutaOggi;
}

float giornoDiOggi() {
    return DataInNumero(DataOggi());
}

// The day number of a valid date text; nothing for anything else.
std::optional<float> giornoValido(const QString& testo) {
    int g, m, a;
    if (partiRapide(testo, g, m, a))
        return dataValida(g, m, a) ? std::optional<float>(giornoDellaData(testo)) : std::nullopt;
    const DateParts p = splitDateText(testo);
    if (!dateValuesValid(p.giorno, p.mese, p.anno)) return std::nullopt;
    return DataInNumero(testo);
}

// Earliest and latest valid date of one date field of the movements; the earlier
// movement wins on equal days. False when no movement has a valid date.
bool estremi(std::span<const Movimento> movimenti, QString Movimento::*campo, QString& prima,
             QString& ultima) {
    const EstremiDate e = estremiDate(movimenti, campo);
    if (e.vuoto()) return false;
    prima = e.prima;
    ultima = e.ultima;
    return true;
}

// Rows 1 to NumeroMovimenti of the open account's movement table.
std::span<const Movimento> movimentiDelConto() {
    const auto& s = stato();
    const int n = std::min<int>(s.NumeroMovimenti, int(s.TabellaMovimenti.size()) - 1);
    if (n <= 0) return {};
    return std::span<const Movimento>(s.TabellaMovimenti).subspan(1, size_t(n));
}

// The four balances as the totals record holds them.
void riportaSaldi(TotaliConto& t, const Saldi& saldi) {
    t.saldoContabile = saldi.contabile;
    t.saldoNonSospesi = saldi.nonSospesi;
    t.saldoOperazioneOggi = saldi.operazioneOggi;
    t.saldoValutaOggi = saldi.valutaOggi;
}

Esito applicaEScrivi(const QString& dataValuta, const QString& dataOperazione, double importo,
                     const QString& entrataUscita, const QString& sospeso, int segno,
                     bool pannelli) {
    Saldi saldi = saldiCorrenti();
    aggiungi(saldi, dataValuta, dataOperazione, importo, entrataUscita, sospeso, giornoDiOggi(),
             segno);
    impostaSaldi(saldi);
    ricalcolaDateEstreme();
    if (pannelli) mostraSaldi();
    return scriviRecordTotali();
}

// The bounds as CalcolaDate*Estreme set them: unchanged while no movement has a date.
void impostaEstremi(const EstremiDate& e, QString& prima, QString& ultima) {
    if (e.vuoto()) return;
    prima = e.prima;
    ultima = e.ultima;
}

const Movimento* rigaMovimento(qint16 numero) {
    const auto& s = stato();
    if (numero < 1 || numero > s.NumeroMovimenti || size_t(numero) >= s.TabellaMovimenti.size())
        return nullptr;
    return &s.TabellaMovimenti[size_t(numero)];
}

} // namespace

float giornoDellaData(const QString& data) {
    static constexpr int primaDelMese[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    int g, m, a;
    if (!partiRapide(data, g, m, a)) return DataInNumero(data);
    int giorni = 0;
    // AnnoBisestile for a whole year of four digits, without going through doubles.
    const bool bisestile = a % 4 == 0 && (a % 100 != 0 || a % 400 == 0);
    if (m >= 1 && m <= 12) giorni = primaDelMese[m - 1] + (m >= 3 && bisestile ? 1 : 0);
    return float(double(a) * 366 + giorni + g);
}

// ---------------------------------------------------------------------------
// Balances

void applicaAiSaldi(Saldi& saldi, const QString& dataValuta, const QString& dataOperazione,
                    double importo, const QString& entrataUscita, const QString& sospeso,
                    float oggi, int segno) {
    aggiungi(saldi, dataValuta, dataOperazione, importo, entrataUscita, sospeso, oggi, segno);
}

Saldi calcolaSaldi(const std::vector<Movimento>& movimenti, double saldoRiporto,
                   const QString& dataOggi) {
    return calcolaSaldi(std::span<const Movimento>(movimenti), saldoRiporto, dataOggi);
}

Saldi calcolaSaldi(std::span<const Movimento> movimenti, double saldoRiporto,
                   const QString& dataOggi) {
    const float oggi = DataInNumero(dataOggi);
    Saldi saldi;
    for (const Movimento& m : movimenti)
        aggiungi(saldi, m.dataValuta, m.dataOperazione, m.importo, m.entrataUscita, m.sospeso, oggi,
                 1);
    const double riporto = importoContabile(saldoRiporto);
    saldi.contabile += riporto;
    saldi.nonSospesi += riporto;
    saldi.operazioneOggi += riporto;
    saldi.valutaOggi += riporto;
    return saldi;
}

Esito AggiungiMovimentoAiSaldi(const QString& dataValuta, const QString& dataOperazione,
                               double importo, const QString& entrataUscita,
                               const QString& sospeso) {
    return applicaEScrivi(dataValuta, dataOperazione, importo, entrataUscita, sospeso, 1, true);
}

Esito AggiungiNuovoMovimentoAiSaldi(const Movimento& m, const EstremiDate& operazione,
                                    const EstremiDate& valuta) {
    auto& s = stato();
    Saldi saldi = saldiCorrenti();
    aggiungi(saldi, m.dataValuta, m.dataOperazione, m.importo, m.entrataUscita, m.sospeso,
             giornoDiOggi(), 1);
    impostaSaldi(saldi);
    impostaEstremi(operazione, s.PrimaDataOperazione, s.UltimaDataOperazione);
    impostaEstremi(valuta, s.PrimaDataValuta, s.UltimaDataValuta);
    mostraSaldi();
    return scriviRecordTotali();
}

Esito StornaMovimentoDaiSaldi(const QString& dataValuta, const QString& dataOperazione,
                              double importo, const QString& entrataUscita,
                              const QString& sospeso) {
    return applicaEScrivi(dataValuta, dataOperazione, importo, entrataUscita, sospeso, -1, false);
}

void mostraSaldi() {
    AnnunciContoAperto::saldi();
}

// ---------------------------------------------------------------------------
// Date bounds

EstremiDate estremiDate(std::span<const Movimento> movimenti, QString Movimento::*campo) {
    EstremiDate e;
    for (const Movimento& m : movimenti)
        aggiungiAgliEstremi(e, m, campo);
    return e;
}

void aggiungiAgliEstremi(EstremiDate& e, const Movimento& m, QString Movimento::*campo) {
    const auto giorno = giornoValido(m.*campo);
    if (!giorno) return;
    // On equal days the movement counted first stays.
    if (!e.minimo || *giorno < *e.minimo) {
        e.minimo = giorno;
        e.prima = m.*campo;
    }
    if (!e.massimo || *giorno > *e.massimo) {
        e.massimo = giorno;
        e.ultima = m.*campo;
    }
}

void CalcolaDateOperazioneEstreme() {
    auto& s = stato();
    // The bounds the last change of the movements worked out, while they still hold.
    const IndiceAccodamento* noti = indiceAccodamento();
    impostaEstremi(noti ? noti->operazione
                        : estremiDate(movimentiDelConto(), &Movimento::dataOperazione),
                   s.PrimaDataOperazione, s.UltimaDataOperazione);
}

void CalcolaDateValutaEstreme() {
    auto& s = stato();
    const IndiceAccodamento* noti = indiceAccodamento();
    impostaEstremi(noti ? noti->valuta : estremiDate(movimentiDelConto(), &Movimento::dataValuta),
                   s.PrimaDataValuta, s.UltimaDataValuta);
}

void ricalcolaDateEstreme() {
    CalcolaDateOperazioneEstreme();
    CalcolaDateValutaEstreme();
}

void AggiornaDateEstreme(const QString& dataOper) {
    auto& s = stato();
    if (!dataDaTesto(dataOper)) return;
    if (DataInNumero(dataOper) > DataInNumero(s.UltimaDataOperazione))
        s.UltimaDataOperazione = dataOper;
}

// ---------------------------------------------------------------------------
// Totals file

TotaliConto calcolaTotali(const std::vector<Movimento>& movimenti, const Riporto& riporto,
                          const QString& oggi, const TotaliConto& precedente) {
    TotaliConto t = precedente;
    riportaSaldi(t, calcolaSaldi(movimenti, riporto.saldoRiporto, oggi));
    estremi(movimenti, &Movimento::dataOperazione, t.primaDataOperazione, t.ultimaDataOperazione);
    estremi(movimenti, &Movimento::dataValuta, t.primaDataValuta, t.ultimaDataValuta);
    // As the account's loading reads them: an operation-date bound without a date is today.
    if (qint64(DataInNumero(t.primaDataOperazione)) == 0) t.primaDataOperazione = oggi;
    if (qint64(DataInNumero(t.ultimaDataOperazione)) == 0) t.ultimaDataOperazione = oggi;
    return t;
}

Esito scriviTotali() {
    ricalcolaDateEstreme();
    return scriviRecordTotali();
}

namespace {
Esito scriviRecordTotali() {
    auto& s = stato();
    if (!contoAttivoAperto()) return Esito::fatto();
    TotaliConto& t = s.TotaliContoAttivo;
    riportaSaldi(t, saldiCorrenti());
    t.primaDataOperazione = s.PrimaDataOperazione;
    t.ultimaDataOperazione = s.UltimaDataOperazione;
    t.primaDataValuta = s.PrimaDataValuta;
    t.ultimaDataValuta = s.UltimaDataValuta;
    const QString percorso = fileContoAttivo(ExtTOT);
    QString motivo;
    // ".TOT" is rebuilt from the movements at every load: it need not wait for the disk.
    if (scritturaDerivata(percorso, [&] { return scriviRecordDerivato(percorso, 1, t, &motivo); }))
        return Esito::fatto();
    return Esito::fallito(testoErroreScrittura(percorso, motivo));
}
} // namespace

// ---------------------------------------------------------------------------
// Movements held out of the balances

void trattieniMovimento(const QString& finestra, qint16 numero) {
    auto& s = stato();
    const QString conto = s.CodiceContoAttivo.trimmed();
    if (s.ContoMovimentiTrattenuti != conto) {
        s.MovimentiTrattenuti.clear();
        s.ContoMovimentiTrattenuti = conto;
    }
    if (numero > 0)
        s.MovimentiTrattenuti[finestra] = numero;
    else
        s.MovimentiTrattenuti.erase(finestra);
}

void rilasciaMovimento(const QString& finestra) {
    stato().MovimentiTrattenuti.erase(finestra);
}

qint16 movimentoTrattenuto(const QString& finestra) {
    const auto& tenuti = stato().MovimentiTrattenuti;
    const auto it = tenuti.find(finestra);
    return it == tenuti.end() ? 0 : it->second;
}

bool movimentoFuoriDaiSaldi(qint16 numero) {
    const auto& tenuti = stato().MovimentiTrattenuti;
    return std::any_of(tenuti.begin(), tenuti.end(),
                       [numero](const auto& voce) { return voce.second == numero; });
}

void rinumeraMovimentiTrattenuti(int cancellato) {
    auto& tenuti = stato().MovimentiTrattenuti;
    for (auto it = tenuti.begin(); it != tenuti.end();) {
        if (it->second == cancellato) {
            it = tenuti.erase(it);
            continue;
        }
        if (it->second > cancellato) --it->second;
        ++it;
    }
}

void dimenticaMovimentiTrattenuti() {
    auto& s = stato();
    s.MovimentiTrattenuti.clear();
    s.ContoMovimentiTrattenuti.clear();
}

Esito trattieniFuoriDaiSaldi(const QString& finestra, qint16 numero) {
    Esito scritto = Esito::fatto();
    if (movimentoTrattenuto(finestra) != 0) scritto = restituisciAiSaldi(finestra);
    const Movimento* m = rigaMovimento(numero);
    if (!m) return scritto;
    // Another window may already hold it out: it stays out once.
    const bool giaFuori = movimentoFuoriDaiSaldi(numero);
    trattieniMovimento(finestra, numero);
    if (giaFuori) return scritto;
    Esito storno = StornaMovimentoDaiSaldi(m->dataValuta, m->dataOperazione, m->importo,
                                           m->entrataUscita, m->sospeso);
    if (!storno.ok()) return storno;
    return scritto;
}

Esito restituisciAiSaldi(const QString& finestra) {
    const qint16 numero = movimentoTrattenuto(finestra);
    rilasciaMovimento(finestra);
    const Movimento* m = numero ? rigaMovimento(numero) : nullptr;
    // Still held by another window: it stays out until that one gives it back.
    if (!m || movimentoFuoriDaiSaldi(numero)) return AggiungiMovimentoAiSaldi({}, {}, 0, {}, {});
    return AggiungiMovimentoAiSaldi(m->dataValuta, m->dataOperazione, m->importo, m->entrataUscita,
                                    m->sospeso);
}

} // namespace qv
