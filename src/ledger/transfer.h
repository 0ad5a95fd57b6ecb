#pragma once
// A transfer between two accounts ("giroconto"): the open account's new movement goes
// out, and its mirror comes into another account of the archive. This file holds the
// work on the files; the dialog that asks for the other account is Giroconto.
//
// Order of the work: the other account gets its incoming movement first (".MOV", then
// ".MOR", then its ".TOT" recomputed), and only then does the open account save its own
// outgoing movement. Every write is checked; when any of them fails, what was already
// written into the other account is put back, so the money is never in one account only.

#include "common/records.h"
#include "ledger/balances.h"

#include <QByteArray>
#include <QString>

#include <vector>

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

// Recomputes the totals of the account `codice` of the data folder `cartella` from its
// own files (".MOR", ".MOV", ".RIP", ".TOT") with calcolaTotali (balances.h) and writes
// its ".TOT". The open account's shared tables are not touched. False, with the
// reason, when a file cannot be read or written.
bool ricalcolaTotaliConto(const QString& cartella, const QString& codice,
                          QString* errore = nullptr);

// A file's content before a transfer touched it, to put it back.
struct CopiaFile {
    QString percorso;
    bool esisteva = false;
    QByteArray contenuto;
};

// What a transfer wrote into the other account, with the files as they were before.
struct GirocontoScritto {
    QString cartella;
    QString codiceDestinazione;
    qint16 numero = 0; // the incoming movement's number in the other account
    Movimento entrata;
    std::vector<CopiaFile> copie; // ".MOV", ".MOR", ".TOT" of the other account
};

// Writes the transfer's incoming movement into the account `codiceDestinazione` of
// `cartella`: record n of its ".MOV" (n its count plus 1), n into its ".MOR", then its
// ".TOT" recomputed. On success fills `scritto` (to undo it with annullaGiroconto) and
// returns true. On failure, or when that account already holds the most movements,
// puts back whatever it wrote, returns false and gives the reason in Italian.
bool scriviGiroconto(const QString& cartella, const QString& codiceDestinazione,
                     const QString& codiceOrigine, const Movimento& pendente,
                     GirocontoScritto* scritto, QString* errore = nullptr);

// Puts the other account's files back as they were before scriviGiroconto: the open
// account could not save its own movement. False, with the reason, when a file
// cannot be put back.
bool annullaGiroconto(const GirocontoScritto& scritto, QString* errore = nullptr);

// The texts of the transfer's messages.
QString messaggioStessoConto();                               // the open account chosen
QString messaggioGirocontoNonRiuscito(const QString& motivo); // a write failed

} // namespace qv
