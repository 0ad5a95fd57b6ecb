#pragma once
// The causali archive: Causali.DAT and its count RecCausa.dat in the program folder,
// held in memory as TabellaCausali (rows 1 to NumeroCausali) with the lines that the
// causale lists show. Procedures over records and the shared table only: the forms
// read their controls, call these and write their controls back.

#include "common/esito.h"
#include "common/records.h"

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace qv {

QString percorsoCausali();  // PercorsoProgramma + "Causali.DAT"
QString percorsoRecCausa(); // PercorsoProgramma + "RecCausa.dat"

// The most causali the archive can count: its count is a 16-bit number.
inline constexpr int MassimoCausali = 32767;

// A code as the archive keeps it: cut to five characters, trailing blanks removed.
QString normalizzaCodiceCausale(const QString& codice);

// The line of a causale in Form6.ElencoCausali and FORM12.List1: the code with
// trailing blanks removed, padded to six characters, " - ", the description padded
// to its 25 characters.
QString lineaCausale(const VoceCausale& voce);

// The line of a causale in the maintenance lists: the code padded to its five
// characters, " - ", the description padded to its 25 characters.
QString lineaManutenzione(const VoceCausale& voce);

// The record as the file gives it back: each text cut to its width and with its
// trailing blanks removed.
VoceCausale comeNelFile(const VoceCausale& voce);

// The row (1 to NumeroCausali) of the first causale whose code equals the normalised
// code, skipping row `esclusa`; 0 when none does.
int trovaCausale(const QString& codice, int esclusa = 0);

// The descriptions of TabellaCausali by trimmed code; a code listed twice keeps
// its last description, as a scan of the whole archive would.
QHash<QString, QString> descrizioniCausali();

// "AS", "CA" and "GC" (the normalised code, letter case counting): the causale the
// program needs under that code, whatever was typed with it.
std::optional<VoceCausale> causaleRiservata(const QString& codice);

// Whether the program needs the causale of this code ("AS", "CA", "GC"): the
// maintenance keeps such causali in the archive whatever the user chose.
bool causaleNecessaria(const QString& codice);

// Records 1 to NumeroCausali read again from Causali.DAT into TabellaCausali, the
// count left as it is (the maintenance form's Load). Creates no file; fails, with the
// reason, when the file exists but cannot be read.
Esito rileggiCausali();

// Saving one causale: done when written and in the table; refused when another row
// already has the code (messaggioCausaleDuplicata, the code's field CodCausale to take
// the focus) or there is no room for another one (messaggioArchivioCausaliPieno);
// failed when a file could not be written (messaggioErroreCausali): nothing changed.

// Appends the causale as row and record NumeroCausali + 1, then writes the count.
// The table changes only when both writes succeeded.
Esito aggiungiCausale(const VoceCausale& voce);

// Rewrites row and record `riga` (1 to NumeroCausali) with the causale; the count is
// not touched. A code equal to another row's is refused.
Esito aggiornaCausale(int riga, const VoceCausale& voce);

// The archive rebuilt from the rows to keep, in the given order: Causali.DAT is
// replaced as a whole with those rows (each written unchanged, numero included), then
// the count is written, as one change (common/transaction.h). On failure the archive
// files and the table are as they were, and the result says why; should putting the
// files back fail, it names the files left changed (the next start puts them back).
Esito riscriviArchivioCausali(const std::vector<int>& righe);

// The messages of the causali forms.
QString messaggioCausaleDuplicata(); // "Nr di causale già presente"
QString messaggioArchivioCausaliPieno();
QString messaggioNessunaCausaleDaRegistrare(); // the maintenance with nothing chosen
QString messaggioErroreCausali(const QString& motivo);

} // namespace qv
