#pragma once
// An account's files judged before they are used: its three counts with their record
// files (".MOR" and ".MOV", ".NRC" and ".CAR", ".NRF" and ".FOG") and its carry-forward
// ".RIP". An account whose count is damaged, or whose files cannot be read, is not
// used as it is: every write would trust what could not be read.

#include "common/count_file.h"
#include "common/esito.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

struct EsameFileConto {
    QString codice;
    EsameConteggio movimenti; // ".MOR" and ".MOV"
    EsameConteggio carnet;    // ".NRC" and ".CAR"
    EsameConteggio fogli;     // ".NRF" and ".FOG"
    QString riporto;          // ".RIP" when it exists and cannot be read
    QString motivoRiporto;
    bool codiceNonValido = false; // the code cannot name a file: nothing was looked at

    // The damaged counts, each with the name of what its file holds.
    std::vector<ConteggioDanneggiato> danni() const;
    // A count is damaged: the account can be used once the counts are rebuilt.
    bool danneggiato() const { return !danni().empty(); }
    // Some file cannot be read: the account cannot be used.
    bool illeggibile() const;
    // What cannot be read, one line a file; empty when everything can.
    QString testoIlleggibili() const;
    // The warnings for counts larger than their records, one line each.
    QStringList avvisiEccessivi() const;
};

// Judges the files of the account `codice` in `cartella`; creates no file. A code that
// cannot name a file of the folder (accountCodeNamesFile) makes the account unreadable,
// and nothing is looked at.
EsameFileConto esaminaFileConto(const QString& cartella, const QString& codice);

// The question asked before the damaged counts of an account are rebuilt.
QString domandaRicostruzioneConto(const EsameFileConto& esame);

// Rebuilds every damaged count of the account from the whole records of its file,
// keeping each damaged count file beside it (ricostruisciConteggio). Stops at the first
// failure, with the reason.
Esito ricostruisciConteggiConto(const EsameFileConto& esame);

// Removes the temporary files that a rewrite of the account's files left behind when
// the program was stopped midway ("123.Ord.aB3dE9"); returns their names. None for a
// code that cannot name a file.
QStringList rimuoviTemporaneiConto(const QString& cartella, const QString& codice);

// What an account whose code cannot name a file is answered with.
QString testoCodiceSenzaFile(const QString& codice);

// The text with which an account that cannot be used is closed: what is wrong, and
// that nothing was changed.
QString testoContoNonUtilizzabile(const QString& codice, const QString& problemi);

} // namespace qv
