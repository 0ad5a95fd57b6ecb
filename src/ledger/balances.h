#pragma once
// The four running balances of the open account, its four date bounds and the
// totals file ".TOT", plus the movements that windows hold out of the balances
// while the user changes them.

#include "common/esito.h"
#include "common/records.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <span>
#include <vector>

namespace qv {

// DataInNumero of a date text, with a quick path for a complete "DD/MM/YYYY" text
// (what the files hold): the same value, without building substrings. Loading and
// sorting tens of thousands of movements reads every date this way.
float giornoDellaData(const QString& data);

// The earliest and latest valid date of one date field over some movements: the text
// of the first movement (in row order) with the smallest day number, and of the first
// with the largest. Empty while no movement has a valid date there.
struct EstremiDate {
    std::optional<float> minimo, massimo;
    QString prima, ultima;
    bool vuoto() const { return !minimo; }
};

// --- Balances -------------------------------------------------------------------

// The four sums of a set of movements.
struct Saldi {
    double contabile = 0;      // every movement
    double nonSospesi = 0;     // movements with sospeso "N"
    double operazioneOggi = 0; // operation date today or earlier
    double valutaOggi = 0;     // value date today or earlier
};

// Adds one movement to `saldi` with `segno` +1 (apply) or -1 (take out): its amount
// counts negative when entrataUscita is "U", positive otherwise. `oggi` is today's
// day number (DataInNumero of today's date text).
void applicaAiSaldi(Saldi& saldi, const QString& dataValuta, const QString& dataOperazione,
                    double importo, const QString& entrataUscita, const QString& sospeso,
                    float oggi, int segno = 1);

// The balances of a list of movements and a carry-forward amount.
Saldi calcolaSaldi(const std::vector<Movimento>& movimenti, double saldoRiporto,
                   const QString& dataOggi);
Saldi calcolaSaldi(std::span<const Movimento> movimenti, double saldoRiporto,
                   const QString& dataOggi);

// Applies one movement to the shared balances, says so (mostraSaldi: the main window's
// panels follow) and rewrites ".TOT" (totals and date bounds, the bounds recomputed from the
// movements). An amount of 0 changes no balance
// and only refreshes the panels and ".TOT". Failed, with the reason, when ".TOT"
// cannot be written (the balances in memory are right all the same).
Esito AggiungiMovimentoAiSaldi(const QString& dataValuta, const QString& dataOperazione,
                               double importo, const QString& entrataUscita,
                               const QString& sospeso);

// Takes one movement out of the shared balances and rewrites ".TOT"; the panels
// are not refreshed.
Esito StornaMovimentoDaiSaldi(const QString& dataValuta, const QString& dataOperazione,
                              double importo, const QString& entrataUscita, const QString& sospeso);

// Applies the movement just appended as row NumeroMovimenti to the shared balances,
// with the date bounds given (those of every movement, that one included: the caller
// knows them without going over all the movements), refreshes the panels and rewrites
// ".TOT". The result is the same as AggiungiMovimentoAiSaldi's for that movement.
Esito AggiungiNuovoMovimentoAiSaldi(const Movimento& m, const EstremiDate& operazione,
                                    const EstremiDate& valuta);

// Says that the balances changed (ContoAperto::saldiCambiati): the main window's
// balance panels and "Saldo al:" date show them again.
void mostraSaldi();

// --- Date bounds -----------------------------------------------------------------
// The bounds come from the movements' valid dates only; with no movement that has
// one they are left as they are. Forms copy them into their own range fields.

EstremiDate estremiDate(std::span<const Movimento> movimenti, QString Movimento::*campo);
// Adds one movement that comes after all those already counted in `estremi`: the same
// as counting all of them again with it.
void aggiungiAgliEstremi(EstremiDate& estremi, const Movimento& m, QString Movimento::*campo);

// PrimaDataOperazione and UltimaDataOperazione: the earliest and latest operation date.
void CalcolaDateOperazioneEstreme();
// PrimaDataValuta and UltimaDataValuta: the earliest and latest value date.
void CalcolaDateValutaEstreme();
// Both of the above.
void ricalcolaDateEstreme();
// Raises UltimaDataOperazione to `dataOper` (the operation date typed in the entry
// form) when that is a complete, valid date later than it; anything else changes
// nothing.
void AggiornaDateEstreme(const QString& dataOper);

// --- Totals file -----------------------------------------------------------------

// Fills TotaliContoAttivo from the four balances and the date bounds (recomputed
// from the movements first) and writes it at record 1 of the open account's ".TOT".
// Failed, with the reason, when the file cannot be written.
Esito scriviTotali();

// The totals record of any account computed from its movements (records 1 to the
// count) and its carry-forward: the four balances as calcolaSaldi sums them, and the
// earliest and latest valid operation and value dates, by the same rule as the open
// account's bounds. `oggi` is today's date text. A bound no movement gives is taken
// from `precedente` (today's date for an operation-date bound that holds no date
// there either).
TotaliConto calcolaTotali(const std::vector<Movimento>& movimenti, const Riporto& riporto,
                          const QString& oggi, const TotaliConto& precedente = {});

// --- Movements held out of the balances ----------------------------------------------
// A window that loads a movement for change takes its effect out of the balances
// until it confirms or gives up. It says so here, under its own name ("Form9",
// "Form4", ...), so that a reload of the account (CaricaMovimenti) leaves that
// movement out too and the later confirmation does not count it twice. Each
// window holds at most one movement. The holds belong to the open account: loading
// another account forgets them.

// Records that `finestra` holds movement `numero` (replacing what it held).
void trattieniMovimento(const QString& finestra, qint16 numero);
// `finestra` holds nothing any more (the balances are not touched).
void rilasciaMovimento(const QString& finestra);
// The movement `finestra` holds, 0 when none.
qint16 movimentoTrattenuto(const QString& finestra);
// Whether some window holds movement `numero`.
bool movimentoFuoriDaiSaldi(qint16 numero);
// After movement `cancellato` was deleted and the later ones renumbered: a hold on
// the deleted movement ends, holds on later movements follow their new numbers.
void rinumeraMovimentiTrattenuti(int cancellato);
// Forgets every hold (the account is closed or cleared).
void dimenticaMovimentiTrattenuti();

// The usual pair for a window. trattieniFuoriDaiSaldi: a movement the window held
// before is given back first; then movement `numero` (1 to NumeroMovimenti) is taken
// out of the balances with its stored values (StornaMovimentoDaiSaldi) and held.
// restituisciAiSaldi: the movement the window holds is applied again with the values
// its row holds now (the stored ones after a cancel, the new ones after a change that
// was written with riscriviMovimento) and the hold ends; with none held, the panels
// and ".TOT" are only refreshed. Both fail, with the reason, when ".TOT"
// cannot be written.
Esito trattieniFuoriDaiSaldi(const QString& finestra, qint16 numero);
Esito restituisciAiSaldi(const QString& finestra);

} // namespace qv
