#pragma once
// A transfer between two accounts ("giroconto"): the open account's new movement goes
// out, and its mirror comes into another account of the archive. This file holds the
// work on the files; the dialog that asks for the other account is Giroconto.
//
// Order of the work: the other account gets its incoming movement first (".MOV", then
// ".MOR", then its ".TOT" recomputed), and only then does the open account save its own
// outgoing movement. The two halves are one change of the data folder (common/
// transaction.h): when any write fails, or the program stops midway, every file is put
// back, so the money is never in one account only.

#include "common/esito.h"
#include "common/records.h"
#include "common/transaction.h"
#include "ledger/balances.h"

#include <QString>

#include <memory>

namespace qv {

// The description of the incoming movement: "da: ", the source code, a blank and the
// trimmed description, cut to 30 characters.
QString descrizioneGirocontoEntrata(const QString& codiceOrigine, const QString& descrizione);
// The description of the outgoing movement: "> ", the destination code, a blank and
// the trimmed description, cut to 30 characters.
QString descrizioneGirocontoUscita(const QString& codiceDestinazione, const QString& descrizione);

// The incoming movement that mirrors the pending outgoing one: same dates, causale,
// amount (already in Euro: never read back from formatted text), document number and
// suspended flag ("S" unless it is "N"); numbered `numero`; "E"; not cancelled.
Movimento movimentoGirocontoEntrata(const Movimento& pendente, const QString& codiceOrigine,
                                    qint16 numero);

// The totals of the account `codice` of the data folder `cartella` computed from its own
// files (".MOR", ".MOV", ".RIP", ".TOT") with calcolaTotali (balances.h). The open
// account's shared tables are not touched. Failed, with the reason (no totals), when a
// file cannot be read or the count of movements cannot be trusted.
EsitoCon<TotaliConto> totaliDaiFile(const QString& cartella, const QString& codice);

// What a transfer wrote into the other account: the first half of the change, which the
// open account's own movement completes (SalvaNuovoMovimento with `modifica`).
struct GirocontoScritto {
    QString cartella;
    QString codiceDestinazione;
    qint16 numero = 0; // the incoming movement's number in the other account
    Movimento entrata;
    // The change under way, rolled back when dropped. It stays open only while the entry
    // form's confirmation runs (the transfer dialog is modal), when nothing else of the
    // program reads the data folder.
    std::unique_ptr<Transaction> modifica;
};

// Writes the transfer's incoming movement into the account `codiceDestinazione` of
// `cartella`: record n of its ".MOV" (n its count plus 1), n into its ".MOR", then its
// ".TOT" recomputed, as the first half of one change. On success fills `scritto` (the
// caller completes the change with the open account's movement, or undoes it with
// annullaGiroconto) and is done. On failure, or when that account already holds the
// most movements, puts back whatever it wrote and fails with the reason in
// Italian (with the files left changed, should putting them back fail).
Esito scriviGiroconto(const QString& cartella, const QString& codiceDestinazione,
                      const QString& codiceOrigine, const Movimento& pendente,
                      GirocontoScritto* scritto);

// Puts every file the transfer changed back as it was before scriviGiroconto: the open
// account could not save its own movement. Failed when some files cannot be put back;
// the text then names them (testoFileNonRipristinati, to append to the failure's text).
Esito annullaGiroconto(GirocontoScritto& scritto);

// The texts of the transfer's messages.
QString messaggioStessoConto();                               // the open account chosen
QString messaggioGirocontoNonRiuscito(const QString& motivo); // a write failed

} // namespace qv
