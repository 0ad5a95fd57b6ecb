#pragma once
// Loading the open account: its movements, carry-forward, totals, cheque books and
// cheque leaves into the shared tables, with the balances recomputed.

#include "common/esito.h"
#include "common/records.h"

#include <QString>

#include <vector>

namespace qv {

// Reads every file of the open account (PercorsoDati, CodiceContoAttivo) into the
// shared state: ".MOR" and ".MOV" (one read), ".RIP" into TabellaRiporto row 1,
// ".TOT" into TotaliContoAttivo and the date bounds (an operation-date bound that
// holds no date becomes today), the balances as CaricaMovimenti computes them, then
// ".NRC" and ".CAR" into NumeroCarnet and TabellaCarnet, ".NRF" and ".FOG" into
// NumeroFogli and TabellaFogli (tables sized to their counts plus row 0). Last,
// ContoAperto::caricato is said (the cheque lists and counters follow it).
// Movements held out of the balances by windows stay out when the account is the
// one they were held for; for another account they are forgotten.
// First, the temporary files a stopped rewrite left of the account's files are
// removed, and every count is judged with its file (account_check.h). A count larger
// than its records is taken as the records. When a count is damaged or a file other
// than ".TOT" cannot be read, nothing is written: the account is closed (tables
// emptied, CodiceContoAttivo cleared, then ChiudiConto, which closes its windows) and
// the result fails with the reason (refused when no account is open).
// Done with a warning to show when ".TOT" cannot be written, and the first time a load
// finds a count larger than its records or amounts that no balance can count (named,
// and counted as 0): the account is loaded.
Esito ApriArchiviConto();

// What the program has just written, as one change that was committed, as the whole of
// the open account's movements (".MOV" and ".MOR"), cheque books (".CAR" and ".NRC"),
// leaves (".FOG" and ".NRF") and carry-forward (".RIP").
struct TabelleScritte {
    std::vector<Movimento> movimenti; // records 1 to n, in the order of the file
    std::vector<CarnetAssegni> carnet;
    std::vector<FoglioAssegno> fogli;
    Riporto riporto;
};

// ApriArchiviConto for an account whose files were just written from `tabelle` (taken):
// memory ends as a load of those files leaves it, with the same announcements, ".TOT"
// written the same and the same messages, without the records being read and decoded
// again (each record is what reading its bytes gives: a movement that is not, such as one
// with a text the file cannot hold as it is, goes through its bytes). ".TOT" and ".RIP"
// are read, as the load reads them. ".Ord" is written too, as SalvaOrdine writes it,
// before the balances: the date bounds it notes serve them, and the SalvaOrdine that
// follows finds nothing to do (when it could not be written, that one writes it and tells
// why, as after a load). When the folder holds an unfinished change, or the counts, the
// sizes of the record files or the carry-forward are not those `tabelle` gives (someone
// changed them since), the files are read by ApriArchiviConto itself.
Esito ApriArchiviContoScritto(TabelleScritte tabelle);

// ApriArchiviConto when the account may have changed since it was last loaded; when
// nothing changed (contoInvariatoDalCaricamento: no file of the account written by the
// program or by anyone else, the same tables in memory) no file is read: the date
// bounds are taken again from TotaliContoAttivo, which holds what ".TOT" holds, and
// the balances are worked out again from the movements in memory, said and written to
// ".TOT", as the load does. The entry form's activation loads the account this way.
Esito ApriArchiviContoSeCambiato();

// Rereads ".MOR" and ".MOV" into NumeroMovimenti and TabellaMovimenti (rows 1 to
// the count, one read), recomputes the four balances from every movement not held
// out by a window plus the carry-forward of TabellaRiporto row 1 (amounts no sum
// may count, importoUtilizzabile, count as 0), recomputes the date bounds from the
// movements and rewrites ".TOT". With `aggiornaPannelli` the new balances are said too
// (mostraSaldi: the main window's panels follow). A damaged ".MOR" or an unreadable ".MOV" closes
// the account as ApriArchiviConto does, with nothing written; the rest as there.
Esito CaricaMovimenti(bool aggiornaPannelli = true);

} // namespace qv
