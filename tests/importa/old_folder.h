#pragma once
// Folders of the previous release written byte by byte, and what their conversion
// must give, also written out by hand: nothing here goes through importa's codecs.

#include "support/bytes.h"

#include <QByteArray>
#include <QString>

#include <map>

namespace qv::test {

// --- Old records, field by field ---------------------------------------------------------

// An old account of CONTI.DAT (195 bytes).
QByteArray contoVecchioBytes(qint16 numero, const char* codice, const char* tipo, const char* banca,
                             const char* indirizzo, const char* cap, const char* localita,
                             const char* provincia, const char* riservato20, double fido,
                             const char* riservato);
// An old movement of ".mov" and ".ord" (72 bytes); dates of 8 characters.
QByteArray movimentoVecchioBytes(qint16 numero, const char* dataOp, const char* dataVal,
                                 const char* causale, double importo, const char* documento,
                                 const char* descrizione, const char* sospeso,
                                 const char* entrataUscita, const char* annullato);
// Old totals of ".tot" (64 bytes): four balances, four dates of 8 characters given raw.
QByteArray totaliVecchiBytes(double nonSospesi, double valutaOggi, double operazioneOggi,
                             double contabile, const QByteArray& prima, const QByteArray& ultima,
                             const QByteArray& primaValuta, const QByteArray& ultimaValuta);
// An old cheque book of ".CAR" (34 bytes), its last two bytes given.
QByteArray carnetVecchioBytes(qint16 movimentoCosto, qint16 numero, const char* dataRitiro,
                              double costo, qint32 primo, qint32 ultimo, const char* esaurito,
                              qint16 daAllineare, const char* allineato,
                              const QByteArray& riservato);
// An old cheque leaf of ".FOG" (89 bytes).
QByteArray foglioVecchioBytes(qint16 movimento, qint16 progressivo, qint16 carnet, qint32 assegno,
                              const char* data, double importo, const char* traente,
                              const char* note, const char* allineato, const char* riservato,
                              const char* annullato);
// Old rates of ".Iat" or ".Ipa" (60 bytes): five dates of 8, five singles.
QByteArray interessiVecchiBytes(const char* const (&date)[5], const float (&tassi)[5]);
// The old closing record ".chi" (24 bytes) and carry-forward ".rip" (16 bytes).
QByteArray chiVecchioBytes(const char* data, double saldo, const char* codice);
QByteArray ripVecchioBytes(const char* data, double saldo);

// --- Current records the tests expect, field by field -------------------------------------

QByteArray iatBytes(const char* const (&date)[5], const float (&tassi)[5]); // 70
QByteArray ipaBytes(const char* const (&date)[5], const float (&entro)[5],
                    const float (&fuori)[5]);                            // 90
QByteArray chiBytes(const char* data, double saldo, const char* codice); // 30
QByteArray ripBytes(const char* data, double saldo);                     // 18
QByteArray convConBytes(const char* data, const QByteArray& riservato2); // 25

// --- Folders -----------------------------------------------------------------------------

// Every file under a folder (hidden ones and subfolders included) by its path
// relative to the folder, with its bytes.
std::map<QString, QByteArray> folderContents(const QString& folder);

// The old folder of the tests, written in `folder` (ending in "/"):
// - "RecConti.dat" 2 and "CONTI.DAT" with accounts "A1" and "CONTOLUNGO12" and a stale
//   third record beyond the count;
// - "A1": three movements of 1998, 2000 and 2003 (and a stale fourth record) in ".mov"
//   and ".ord", totals with a blank and a "00/00/00" date, one cheque book, two
//   leaves, both rate files, a closing and a carry-forward, and an ".Opz" that the
//   conversion leaves alone;
// - "CONTOLUNGO12": one movement of 29/02/00, no cheque books and no rate files, a
//   closing whose code the previous release cut to "CONTOLUN", a carry-forward.
void writeOldFolder(const QString& folder);

// What the conversion of that folder gives on `oggi` ("DD/MM/YYYY"), by file name
// (the names the old folder has), with Conv.con.
std::map<QString, QByteArray> convertedOldFolder(const char* oggi);

} // namespace qv::test
