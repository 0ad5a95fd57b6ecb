#pragma once
// Issuing the open account's cheques: the leaves of a cheque book as the cheque form
// lists them, and a confirmed cheque written into its leaf and its "AS" movement.

#include "common/esito.h"
#include "common/records.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace qv {

// The message for a cheque confirmed with no leaf selected.
QString testoAssegnoNonSelezionato();

// One listed leaf of Form15 (a row of FogliElencati): the leaf's date, its amount in
// the display currency, the first 20 characters of its payee, its cheque number, its
// row of TabellaFogli (progressivo) and its movement.
struct FoglioElencato {
    QString dataAssegno;
    double importo = 0;
    QString traente;
    qint32 numeroAssegno = 0;
    qint16 progressivo = 0;
    qint16 movimento = 0;
};

// The line of a leaf in Form15's list: the cheque number left-aligned in 11, the
// date, a blank, the amount × fattoreValuta in `formato` right-aligned in 14 (longer
// numbers widen the line): "501        05/11/2000            250".
QString lineaFoglioCarnet(const FoglioAssegno& foglio, double fattoreValuta,
                          const QString& formato);

// The leaves of book `numeroCarnet` in table order (rows 1 to NumeroFogli), as
// FogliElencati holds them, and their lines, each carrying the leaf's row.
std::vector<FoglioElencato> fogliDelCarnet(qint16 numeroCarnet);

// A cheque as the user confirms it: the leaf (row of TabellaFogli), the date
// "DD/MM/YYYY", the amount in the display currency (0 for an annulled cheque), payee,
// note, and whether it is annulled.
struct DatiAssegno {
    int foglio = 0;
    QString data;
    double importo = 0;
    QString traente;
    QString note;
    bool annullato = false;
};

// The "AS" movement of a cheque numbered `numero`: dates from the cheque, the amount
// in stored units, the document number documentoAssegno, the payee as description,
// outgoing, suspended as `sospeso` says, not cancelled.
Movimento movimentoAssegno(const DatiAssegno& dati, qint32 numeroAssegno, qint16 numero,
                           double importoMemorizzato, const QString& sospeso);

// Writes a confirmed cheque. The leaf's record of ".FOG" is written first; then its
// "AS" movement: the movement the leaf is linked to, when the link is right or the
// movement is found by causale and document number, is rewritten at its own number
// with its `sospeso` kept; a leaf without a movement gets a new one appended
// (SalvaNuovoMovimento) and is linked to it. The two are one change: should the movement
// fail, the leaf's record is put back. The leaf's row changes only once both are written; after a
// rewrite the movements are reloaded (balances, ".TOT").
// Done, with `numero` the movement's number and maybe a warning; failed, saying why,
// when nothing was stored (`numero` then 0). Refuses, writing nothing: a leaf row
// out of range, an unusable display rate, an account with no room for a movement.
Esito salvaAssegno(const DatiAssegno& dati, int* numero = nullptr);

} // namespace qv
