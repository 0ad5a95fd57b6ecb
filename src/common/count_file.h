#pragma once
// A count file (".MOR", ".NRC", ".NRF", RecConti.dat: one 16-bit count in record 1)
// judged together with the record file whose valid records it counts, before either
// is used. The rules keep what old data rely on: a count of 0, or a count lower than
// the records of the file, is sound (the records past it are what a deletion left
// behind). A count larger than the whole records of the file names records that are
// not there: only the records the file holds are used. A count that is missing,
// unreadable, cut short or negative next to a file that holds records is damage: the
// records cannot be told from leftovers, and a write that trusted such a count would
// land on record 1.

#include "common/esito.h"

#include <QString>

#include <vector>

namespace qv {

enum class StatoConteggio {
    Valido,            // the count names records the file holds (or there are none)
    Eccessivo,         // larger than the whole records of the file
    Mancante,          // no count file, next to records
    Illeggibile,       // the count file cannot be read, next to records
    Incompleto,        // the count file holds less than a whole count, next to records
    Negativo,          // a negative count, next to records
    RecordIlleggibili, // the record file cannot be read
};

struct EsameConteggio {
    QString fileConteggio; // as found on disk (letter case ignored), or as given
    QString fileRecord;
    int lunghezzaRecord = 1;
    StatoConteggio stato = StatoConteggio::Valido;
    int suDisco = 0;   // the count the file holds (0 when it holds none)
    int record = 0;    // whole records of the record file
    int conteggio = 0; // the count to use: as stored, or the records when it is larger;
                       // 0 when the pair cannot be used
    QString motivo;    // why a file cannot be read

    // A count that cannot be trusted next to records: the pair is unusable until the
    // count is rebuilt.
    bool danneggiato() const;
    // The pair can be read and written (Valido or Eccessivo).
    bool utilizzabile() const;
};

// Reads the count and measures the record file (`lunghezzaRecord` bytes a record);
// creates no file.
EsameConteggio esaminaConteggio(const QString& fileConteggio, const QString& fileRecord,
                                int lunghezzaRecord);

// What is wrong with an unusable pair, naming the file at fault: "Il file X manca",
// "... non può essere letto (motivo)", "... è incompleto", "... contiene un numero
// negativo (-3)"; empty for a usable pair.
QString descriviDanno(const EsameConteggio& esame);

// The warning for a count larger than the records: what the count says, what the file
// holds, and that only those are used. `cosa` names the records in the plural
// ("movimenti", "conti").
QString testoConteggioEccessivo(const EsameConteggio& esame, const QString& cosa);

// The name under which a damaged count file is kept: its own name and ".danneggiato"
// (a number follows when that name is taken).
QString nomeCopiaDanneggiata(const QString& fileConteggio);

// Rebuilds a damaged count from the whole records of the record file: the damaged
// count file (when there is one) is kept beside it under nomeCopiaDanneggiata, then
// the new count is written and synced to the disk. On failure the damaged file is
// put back and the result fails, saying why; `copia` receives the name the damaged file
// was kept under (empty when there was none).
Esito ricostruisciConteggio(const EsameConteggio& esame, QString* copia = nullptr);

// A damaged pair with the name of what its file holds, in the plural ("movimenti").
struct ConteggioDanneggiato {
    EsameConteggio esame;
    QString cosa;
};

// The question asked before damaged counts are rebuilt: each damage named, what the
// file beside it holds, and what the two answers do. `oggetto` is what opens
// ("il conto 123", "l'archivio dei conti").
QString domandaRicostruzione(const std::vector<ConteggioDanneggiato>& danni,
                             const QString& oggetto);

} // namespace qv
