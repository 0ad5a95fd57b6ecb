#pragma once
// The program folder's own files as the main window and the settings, currency
// and colour forms use them: the settings record, the list colours and the
// fifteen currency slots with the lines that every currency list shows.

#include "common/esito.h"
#include "common/records.h"

#include <QString>
#include <optional>

namespace qv {

QString percorsoImpostazioni(); // PercorsoProgramma + "Imposta.DAT"
QString percorsoValute();       // PercorsoProgramma + "Valute.DAT"
QString percorsoColori();       // PercorsoProgramma + "colori.col"

Impostazioni leggiImpostazioni();
Esito scriviImpostazioni(const Impostazioni& imp);
Colori leggiColori();
// The colours the colour form starts from. A record never stored (its flag neither
// "S" nor "N", as a missing colori.col reads) holds zeros, black on black, which
// "Conferma" would make every list unreadable with: such a record starts from the
// lists' own colours, black text on white. A stored record is returned as it is.
Colori coloriIniziali(const Colori& colori);
Esito scriviColori(const Colori& colori);

// Reads the fifteen slots of Valute.DAT into TabellaValute (rows 1 to 15; a slot
// never written reads as zeros and blanks; a rate that is not a finite number reads
// as 0, a rate not set).
void caricaTabellaValute();
// Writes one slot of TabellaValute as its record. The writes fail with the reason the
// file could not be written.
Esito scriviValuta(int slot);

// The currency line of a slot: trimmed name, " - ", trimmed country (" - " for an
// empty slot).
QString lineaValuta(const Valuta& v);
// The first slot (1 to 15) of TabellaValute whose line equals the trimmed text,
// exactly; nullopt when none does.
std::optional<int> slotDellaLinea(const QString& linea);

} // namespace qv
