#pragma once
// The start-up of the program as plain steps over the shared state: colours,
// settings and number format, the data folder, the first run, the account and
// causali archives, and the search for the start-up account. The main window runs
// them in order and shows what they produce.

#include "common/esito.h"

#include <QString>

namespace qv {

// Reads colori.col into ColoriElenchi and Imposta.DAT into ImpostazioniCorrenti,
// and sets FormatoImporti from the settings' decimals (0 to 4; any other count
// leaves it empty).
void leggiColoriEImpostazioni();

// The data folder a stored setting names (dataFolderFromSetting): the default folder
// "dati/" under the program folder when it names none, and a folder stored without a
// leading "/" taken inside the program folder, never in the folder the program was
// started from.
QString cartellaDatiImpostata(const QString& percorsoDati, const QString& cartellaProgramma);

// The data folder the settings name (cartellaDatiImpostata of PercorsoProgramma).
QString percorsoDatiDalleImpostazioni();

// Makes `cartella` the data folder (PercorsoDati; the printouts saved as PDF go to its
// folder "stampe/"). Every change of data folder goes through here.
// An empty folder means none: another program holds the one the settings name.
void impostaPercorsoDati(const QString& cartella);

// Makes the data folder (PercorsoDati) when it does not exist, as the first run makes
// "dati/": the user named it in the preferences, and without it every window that
// takes the data folder refuses it ("Il percorso non esiste") and moves to another.
// Returns what to tell the user when it cannot be made (empty when it exists or was
// made, or when there is no data folder).
QString creaCartellaDatiMancante();

// The data folder belongs to one running Quorvanta at a time (dataFolderLock).

// Takes the lock of `cartella` before it becomes the data folder; the lock of the
// folder used before is let go only once the new one is held. Done when the folder may
// be used, with what to tell the user first (empty for nothing). When another running
// Quorvanta holds it, the folder is not taken (refused), the old lock stays and the text
// is testoCartellaInUso. A folder that cannot hold a lock file (read-only) is used
// without one, and said once per folder (testoCartellaSenzaBlocco): every write then
// fails with its own message. A folder that does not exist is taken without a lock
// and without a word (the old lock is let go): nothing can be written there.
Esito bloccaCartellaDati(const QString& cartella);

// Whether another running program holds the lock of `cartella`; never for the folder
// this program holds. Takes no lock.
bool cartellaInUsoAltrove(const QString& cartella);

// Whether this is the program's first run: the program folder holds no causali
// count file. The first-run work writes that file, so the first run happens once;
// the settings file is no sign, because it exists only after the user has saved
// the settings, and repeating the first run would cut the causali back to three.
bool primoAvvio();

// The first-run work: creates the data folder, writes the three reserved causali
// and the Euro as slot 15 of Valute.DAT (number 15, rate 1, "Unione Europea"); the
// other slots are not touched. Fails, with the reason, when a file could not be
// written; every step is tried.
Esito eseguiPrimoAvvio();

// Reads the account count and archive of PercorsoDati into NumeroConti and
// TabellaConti (rows 1 to the count; a count larger than the records is taken as the
// records; a damaged one, see count_file.h, reads as no account). The program's
// start-up loads the archive through CaricaElencoConti, which also asks about a
// damaged count.
void caricaConti();
// Reads the causali count and archive of the program folder into NumeroCausali and
// TabellaCausali (rows 1 to the count; a negative count reads as 0).
void caricaCausali();

// Whether the settings name an account to open at start-up: its trimmed code is
// neither empty nor "0".
bool contoAvvioDaAprire(const QString& contoAvvio);

// The row (1 to NumeroConti) of the first account whose trimmed code equals the
// trimmed code given, exactly; 0 when none does.
int cercaConto(const QString& codice);

// What the start-up says when the start-up account is not in the archive.
QString messaggioContoNonTrovato();

} // namespace qv
