#pragma once
// The summary of all accounts: one line per account of the archive with its balance
// (by operation date or by value date, as its totals file holds it), its credit line
// and the amount available, and the totals of the three columns. Reading only: every
// account's totals go into a record of their own, never into the open account's
// totals buffer, and no missing file is created.

#include "common/esito.h"
#include "common/records.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

// Which balance of the totals file the summary shows.
enum class SaldoRiepilogo {
    Operazione, // saldoOperazioneOggi ("Data Op.")
    Valuta,     // saldoValutaOggi ("Data Valuta")
};

// The totals record of the account `codice` (record 1 of its ".TOT" in the data
// folder), read into a record of its own: zeros and blanks when the file is missing,
// which is not created. Failed, with the reason, when the file exists but cannot be
// read; the record is then what could be read of it.
EsitoCon<TotaliConto> leggiTotaliConto(const QString& codice);

// The balance of `totali` that `scelta` names.
double saldoScelto(const TotaliConto& totali, SaldoRiepilogo scelta);

// The line of an account (amounts in the base unit, shown × FattoreValuta in
// FormatoImporti):
//   1-12   the trimmed code, right-aligned;  13 blank
//   14-41  the first 28 characters of the bank name;  42 blank
//   43-57  balance, 59-73 credit line, 75-89 credit line + balance, each
//          right-aligned in 15 and followed by one blank (a longer amount is not cut
//          and pushes the rest to the right).
QString lineaRiepilogo(const Conto& conto, double saldo);

// The totals line: 16 blanks, "Totali ", then the three sums, each right-aligned in
// 15 and followed by one blank. The sums are in the base unit and converted once.
QString lineaTotaliRiepilogo(double saldi, double fidi, double disponibili);

struct RigaRiepilogo {
    QString testo;
    int rigaConto = 0; // the row of TabellaConti the line stands for
};

struct Riepilogo {
    std::vector<RigaRiepilogo> righe; // in archive order (the list sorts them)
    double sommaSaldi = 0;
    double sommaFidi = 0;
    double sommaDisponibili = 0;
    QString totali;     // lineaTotaliRiepilogo of the three sums
    QStringList errori; // files that exist but could not be read
};

// Rereads records 1 to NumeroConti of Conti.dat into the same rows of TabellaConti
// (the count is not reread; a file that cannot be read leaves the table as it was),
// then builds one line per account (rows whose code is blank are no account), with
// each account's totals read by leggiTotaliConto. Writes no file and leaves the
// open account's TotaliContoAttivo untouched.
Riepilogo costruisciRiepilogo(SaldoRiepilogo scelta);

// The row of TabellaConti a summary line stands for: `rigaConto` while that row
// still holds the code at the start of the line, else the first row 1 to
// NumeroConti whose trimmed code equals the line's first 12 characters, trimmed;
// 0 when none does.
int rigaContoDelRiepilogo(const QString& linea, int rigaConto);

} // namespace qv
