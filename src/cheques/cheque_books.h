#pragma once
// The open account's cheque books (".CAR", ".NRC") and their leaves (".FOG", ".NRF"):
// loading, registering a book with its ten blank leaves and its cost movement,
// changing and deleting a book, the rebuild of both files at a period closing, and
// the links between books and leaves and the movements that book them.
//
// Links. A book's `movimentoCosto` names its "CA" movement, whose document number is
// the book's number; a leaf's `movimento` names its "AS" movement, whose document
// number is the leaf's cheque number (documentoAssegno). A link is trusted only when
// the movement it names has the right causale and document number; otherwise the
// movement is looked up by causale and document number. Every writer of movements
// that renumbers them keeps the links up to date (aggiornaCollegamentiAssegni).
//
// Every procedure here checks each write. A procedure that changes several files does
// it as one change (common/transaction.h): the account is either changed as a whole or
// left as it was, also when the program stops midway; the tables in memory change only
// after the files have.

#include "common/esito.h"
#include "common/records.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <vector>

namespace qv {

// --- Limits ---------------------------------------------------------------------

inline constexpr int FogliPerCarnet = 10;
// Counts and record numbers of the cheque files are 16-bit.
inline constexpr int LimiteCarnet = 32767;
inline constexpr int LimiteFogli = 32767;
// A cheque number must fit the movement's 8-character document number.
inline constexpr qint32 LimiteNumeroAssegno = 99999999;

// --- Document numbers and links ---------------------------------------------------

// The numeric value of a document number: its trimmed text read as digits; blank,
// non-numeric text (or text with anything after the digits) is worth -1, which no
// cheque or book number matches. "0105" is 105.
qint64 valoreDocumento(const QString& numeroDocumento);

// The document number of a cheque's "AS" movement: the cheque number in decimal
// digits; a number longer than eight characters keeps its last eight. The same rule
// serves when the movement is appended and when it is rewritten.
QString documentoAssegno(qint32 numeroAssegno);
// The document number of a book's "CA" movement: the book number in decimal digits.
QString documentoCarnet(qint16 numeroCarnet);

// The description of a book's cost movement: "Carnet nr. " + book number + "-" +
// first cheque number, cut to 30 characters.
QString descrizioneCostoCarnet(qint16 numeroCarnet, qint32 primoAssegno);

// Whether `m` is the "CA" movement of book `numeroCarnet` / the "AS" movement of
// cheque `numeroAssegno` (causale compared trimmed, document number by value).
bool eMovimentoDelCarnet(const Movimento& m, qint16 numeroCarnet);
bool eMovimentoDelFoglio(const Movimento& m, qint32 numeroAssegno);

// The movement of book row `riga` of TabellaCarnet: its `movimentoCosto` when that
// names the book's "CA" movement, else the first "CA" movement carrying the book's
// number; 0 when there is none.
int movimentoDelCarnet(int riga);
// The movement of leaf row `riga` of TabellaFogli: its `movimento` when that names
// the leaf's "AS" movement, else the first "AS" movement carrying its cheque number
// that no other leaf of the table is validly linked to; 0 when there is none, and
// always 0 for a leaf never booked (`movimento` 0).
int movimentoDelFoglio(int riga);

// The same look-ups over any movement table (rows 1 to numeroMovimenti) and leaves.
int trovaMovimentoCarnet(const CarnetAssegni& carnet, const std::vector<Movimento>& movimenti,
                         int numeroMovimenti);
int trovaMovimentoFoglio(const std::vector<FoglioAssegno>& fogli, int numeroFogli, int riga,
                         const std::vector<Movimento>& movimenti, int numeroMovimenti);

// Relinks every book and leaf of the shared tables whose link is not right (after a
// compaction or renumbering of the movements): the link becomes the movement found
// as above, or 0 when there is none. Writes ".FOG" and ".CAR" whole when something
// changed. Failed, with the reason, when a file cannot be written (the tables and files
// stay as they were then).
Esito aggiornaCollegamentiAssegni();

// --- Loading ----------------------------------------------------------------------

// Reads ".NRC" and ".CAR" into NumeroCarnet and TabellaCarnet (rows 1 to the count,
// the table sized to count + 1) and refills the list of the cheque-book picker
// (Form14) when it is loaded. Failed, with the reason, when a file exists but cannot
// be read.
Esito CaricaCarnet();

// The picker's line of a book: number as "0000", blank, withdrawal date (10), blank,
// first cheque right-aligned in 11, blank, last cheque right-aligned in 11, blank,
// leaves still to align as "##" (empty for 0). Longer numbers are not cut.
QString lineaCarnet(const CarnetAssegni& carnet);

// --- Registering a book -------------------------------------------------------------

// What the cheque-book form gives for a book: withdrawal date "DD/MM/YYYY", cost in
// stored units (already divided by FattoreValuta), first cheque number.
struct DatiCarnet {
    QString dataRitiro;
    double costo = 0;
    qint32 primoAssegno = 0;
};

// Why a book is refused before anything is written; Nessuno when it may be saved.
enum class RifiutoCarnet {
    Nessuno,
    Esistente,       // its ten numbers meet another book's: "Carnet già esistente"
    NumeroTroppoAlto // its last cheque would not fit the 8-character document number
};
// Checks the ten numbers of `dati` against every book except row `escludi` (0: none).
RifiutoCarnet verificaNumeriCarnet(const DatiCarnet& dati, int escludi);
QString testoRifiutoCarnet(RifiutoCarnet rifiuto);

// The book, its ten blank leaves and its cost movement as a new book numbered
// NumeroCarnet + 1 would have them.
CarnetAssegni nuovoCarnet(const DatiCarnet& dati, qint16 numeroCarnet, qint16 movimentoCosto);
std::vector<FoglioAssegno> CreaFogliCarnet(qint16 numeroCarnet, qint32 primoAssegno,
                                           int primoProgressivo);
Movimento movimentoCostoCarnet(const CarnetAssegni& carnet);

// Registers a new book: room checked (books, leaves, movements), then record
// NumeroCarnet + 1 of ".CAR", its ten leaves after the last of ".FOG", the new
// ".NRF" and ".NRC", and only then the cost movement through SalvaNuovoMovimento, all
// as one change: should any of them fail, every file is put back and the book does not
// exist.
// On success the tables hold the book and its leaves, `riga` gets the new book's row
// and the result may carry a warning; the caller refreshes lists and balances.
// Refused or failed, saying why, when nothing was registered (`riga` then gets 0).
Esito SalvaNuovoCarnet(const DatiCarnet& dati, int* riga = nullptr);

// --- Changing a book -------------------------------------------------------------------

// Writes `dati` into book row `riga` (its number stays): the book's record; its leaves
// (those whose numeroCarnet is the book's), renumbered from the new first cheque in
// table order; the "AS" movements of those leaves, each renumbered once from its old
// cheque number to the new one at the same place; the book's "CA" movement rewritten
// with the cost values (appended, and linked, when the book has none). Files change
// as a whole or not at all. The caller refreshes lists and balances.
Esito ModificaCarnet(int riga, const DatiCarnet& dati);

// --- Deleting a book --------------------------------------------------------------------

QString testoConfermaEliminaCarnet();

// Deletes book row `riga` without asking: the "AS" movements of its leaves and its
// own "CA" movement (no other), its leaves and its record. Movements, leaves and
// books are compacted and renumbered; the later books' leaves and "CA" movements
// follow their new numbers, and every remaining link names the same movement as
// before. ".MOV", ".MOR", ".FOG", ".NRF", ".CAR", ".NRC" are rewritten whole and
// safely; on a failure every file is put back. Movements held out of the balances by
// windows follow their new numbers. The caller refreshes lists and balances.
Esito eliminaCarnet(int riga);

// What the cheque-book form asks before EliminaCarnet deletes ("AVVERTIMENTO!",
// OK/Cancel, Cancel the default): the second confirmation.

// --- Rebuild at a period closing, links after a closing or a reorder --------------------
//
// The link rule of a closing and of a reorder: a stored link stands when it names a
// remaining movement of the right kind (a leaf's "AS" movement whose document number
// reads as its cheque number, a book's "CA" movement whose document number reads as
// its book number); otherwise the last remaining movement of that kind is taken, also
// for a leaf never booked; with none the link is 0. Links are given in the movements'
// new numbers.

// Which movements remain after a change and their numbers: nuovoNumero[m] for the
// movement that was number m (1 to the old count), 0 for one that goes. Index 0 is
// unused.
using NuoviNumeri = std::vector<int>;
// Every movement 1 to numeroMovimenti stays with its number except those whose
// annullato is "S" (marked to go).
NuoviNumeri numeriSenzaAnnullati(const std::vector<Movimento>& movimenti, int numeroMovimenti);

// The movement of each leaf and of each book by the link rule, over the movements 1 to
// numeroMovimenti of `movimenti` (row 0 unused) as they were, in new numbers.
std::vector<qint16> collegamentiFogliRimasti(const std::vector<FoglioAssegno>& fogli,
                                             const std::vector<Movimento>& movimenti,
                                             int numeroMovimenti, const NuoviNumeri& nuovi);
std::vector<qint16> collegamentiCarnetRimasti(const std::vector<CarnetAssegni>& carnet,
                                              const std::vector<Movimento>& movimenti,
                                              int numeroMovimenti, const NuoviNumeri& nuovi);

// The books a closing on `dataChiusura` finishes, and the movements that go with them.
struct CarnetEsauriti {
    // Every book as it was, with esaurito "S" for a book whose cheques are all aligned
    // (fogliDaAllineare 0), withdrawn on or before the closing date and whose ten leaves
    // (by numeroCarnet) are dated on or before it and whose cost and cheque movements
    // are none of them suspended, "N" for any other book with fogliDaAllineare 0
    // withdrawn by then; the other books keep their flag.
    std::vector<CarnetAssegni> carnet;
    // For movement rows 0 to numeroMovimenti: the "CA" movement and the leaves' "AS"
    // movements (by the link rule over every movement) of the finished books.
    std::vector<bool> movimentiDaEliminare;
};
CarnetEsauriti carnetEsauriti(const std::vector<CarnetAssegni>& carnet,
                              const std::vector<FoglioAssegno>& fogli,
                              const std::vector<Movimento>& movimenti, int numeroMovimenti,
                              const QString& dataChiusura);

// The cheque files a closing leaves. `carnet` holds esaurito as carnetEsauriti gave it;
// `movimenti` are the movements as they were and `nuovi` their new numbers. The books
// with esaurito "N", in order, are numbered 1, 2, ... and linked to their "CA" movement;
// the leaves whose cheque number lies in such a book's range, book after book in table
// order, are numbered from 1 (progressivo), take their book's new number and are linked
// to their "AS" movement (a leaf in no kept book's range, or of a finished book, goes).
// `rinumerati` holds the movements in their new numbers (row k - 1 is movement k): the
// "CA" movement of each kept book takes the book's new number as document number, and
// its description follows while it is still the one the book's creation wrote.
struct AssegniRicostruiti {
    std::vector<CarnetAssegni> carnet;
    std::vector<FoglioAssegno> fogli;
};
AssegniRicostruiti assegniDopoChiusura(const std::vector<CarnetAssegni>& carnet,
                                       const std::vector<FoglioAssegno>& fogli,
                                       const std::vector<Movimento>& movimenti, int numeroMovimenti,
                                       const NuoviNumeri& nuovi,
                                       std::vector<Movimento>& rinumerati);

// What a reorder of the archives makes of the cheque files: each leaf takes the number
// of the book whose range holds its cheque number (a leaf in no range keeps its own),
// then every leaf and book is linked by the link rule over every movement. The records
// keep their order and their numbers.
AssegniRicostruiti assegniRiordinati(const std::vector<CarnetAssegni>& carnet,
                                     const std::vector<FoglioAssegno>& fogli,
                                     const std::vector<Movimento>& movimenti, int numeroMovimenti);

// The two rebuilds of the cheque files as a closing runs them on the shared tables,
// while the movements still carry their old numbers (the closing rewrites the movement
// file afterwards). RicostruisciFogli: the books carnetEsauriti finishes get esaurito
// "S" in TabellaCarnet, their movements annullato "S" in TabellaMovimenti, and ".FOG"
// and ".NRF" are rewritten with the leaves assegniDopoChiusura keeps, linked among the
// movements not marked to go (still in their old numbers). RicostruisciCarnet: ".CAR"
// and ".NRC" are rewritten with the books it keeps, and their "CA" movements take the
// new book numbers in TabellaMovimenti. Failed, with the reason, when a file cannot be
// written (nothing changed then).
Esito RicostruisciFogli(const QString& dataChiusura);
Esito RicostruisciCarnet();

// --- Refreshing -------------------------------------------------------------------------

// After a book was registered, changed or deleted: the cheque situation and annulled
// lists, the picker, the movements (balances and ".TOT"), the list-order file and the
// entry form's list in its active order (ContoAperto::movimentiCambiati). Returns what
// could not be read or written ("" when everything could).
QString aggiornaDopoModificaCarnet();

} // namespace qv
