#pragma once
// The interest and cost conditions of an account: five one-record files beside its
// other files (".Iat" credit rates, ".Ipa" debit rates, ".Opz" options, ".Onp"
// commissions and withholding tax, ".spe" fees) and their copies in the shared state
// (DatiInteressiCreditori, DatiInteressiDebitori, DatiOpzioni, DatiOneriPassivi,
// DatiSpeseVarie), which hold the conditions of the account loaded last. The
// conditions editor, the staffa and the interest statement load them; only the
// editor saves them.

#include "common/esito.h"
#include "common/file_names.h"
#include "common/records.h"

#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <array>

namespace qv {

// The five records of one account, in the order of their files.
struct CondizioniConto {
    InteressiCreditori creditori;
    InteressiDebitori debitori;
    Opzioni opzioni;
    OneriPassivi oneri;
    SpeseVarie spese;
    bool operator==(const CondizioniConto&) const = default;
};

// The extensions of the five files, in load and save order.
inline constexpr std::array<QLatin1String, 5> EstensioniCondizioni{ExtIat, ExtIpa, ExtOpz, ExtOnp,
                                                                   ExtSpe};

// Rates that no computation may count: not finite, which only a damaged record holds.
// The statements count such a rate as 0, and the editor shows it as 0.
bool tassoUtilizzabile(float tasso);

// The name the user knows a rate field by (its objectName `campo`: PerC1 to PerC5, PerD1 to
// PerD10, Per1 to Per7): its tab, column and row, or the caption of its row. The free
// commissions Per4 and Per5 are named by `libera1` and `libera2` (the texts of Descr3
// and Descr4), "Campo libero 1" and "Campo libero 2" when those are blank.
QString nomeTasso(const QString& campo, const QString& libera1, const QString& libera2);

// The caption of fee `i` (0 to 6, `importoSpesa` i); the free fees 5 and 6 are named by
// `libera1` and `libera2`, "Campo libero 1" and "Campo libero 2" when those are blank.
QString nomeSpesa(int i, const QString& libera1, const QString& libera2);

// What the user is told about the values of `c` that no computation may count: the
// rates that are not finite (tassoUtilizzabile) and the fees that importoUtilizzabile
// refuses, each named, and counted as 0. One line for the rates and one for the fees;
// empty when there are none.
QStringList avvisiCondizioni(const CondizioniConto& c);

// The five shared records, read and replaced together.
CondizioniConto condizioniInMemoria();
void impostaCondizioniInMemoria(const CondizioniConto& condizioni);

// Reads record 1 of each of the five files of account `codice` in `cartella`; a file
// that is missing (or shorter than its record) reads as zeros, and a 70-byte ".Ipa"
// gives rates beyond the credit line of 0. Failed, with the reason, when a file exists
// but cannot be read.
Esito leggiCondizioni(const QString& cartella, const QString& codice, CondizioniConto* condizioni);

// Writes the five records as record 1 of the five files of account `codice`: all of
// them or, when one cannot be written, none (the files written before it are put
// back). Failed, with the reason, then.
Esito scriviCondizioni(const QString& cartella, const QString& codice,
                       const CondizioniConto& condizioni);

// Loads the open account's conditions into the five shared records. A missing file is
// created empty and reads as zeros (rates, amounts and counts 0, texts empty). When a
// file cannot be read, or no account is open, the shared records keep what they held
// and the result fails with the reason (refused with no account). When they are loaded,
// the result is done, its warning what the user is to be told of them (avvisiCondizioni,
// one line each; empty when nothing).
Esito CaricaCondizioni();

// Loads only the open account's options (".Opz") into DatiOpzioni, as the web browser
// does when it opens. Only looks: a missing file reads as zeros and is not created.
// With no account open, or a file that cannot be read, DatiOpzioni keeps what it held
// and the result says why.
Esito CaricaOpzioni();

// Writes the five shared records as the open account's conditions, all five files or
// none. Failed, with the reason, when a file cannot be written (every file is as it
// was then) or no account is open (nothing is written: the files of no account would
// be named by their extension alone).
Esito SalvaCondizioni();

} // namespace qv
