#pragma once
// The record layouts of the previous release, which wrote every date as eight
// characters "DD/MM/YY", and how each old record becomes a record of the current
// layouts (common/records.h). Old records are only read.

#include "common/records.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace qv {

// An account of the old CONTI.DAT.
struct ContoVecchio {
    static constexpr int Lunghezza = 195;
    qint16 numero = 0;
    QString codiceConto; // 12
    QString tipoConto;   // 30
    QString nomeBanca;   // 45
    QString indirizzo;   // 45
    QString cap;         // 5
    QString localita;    // 25
    QString provincia;   // 2
    QString riservato20; // 20, not carried over
    double fido = 0.0;
    QString riservato; // 1

    static ContoVecchio fromBytes(QByteArrayView bytes);
};

// The other old records, which are only converted, never decoded. Their fields are
// those of the current records (common/records.h) in the same order, each date two
// characters shorter; the closing record's account code has eight characters instead
// of twelve, and the debit rates have no rates beyond the credit line. The table of
// every old layout is in importa/old_layouts.h.
struct MovimentoVecchio { // ".mov" and ".ord"
    static constexpr int Lunghezza = 72;
};
struct TotaliVecchi { // ".tot"
    static constexpr int Lunghezza = 64;
};
struct CarnetVecchio { // ".CAR"
    static constexpr int Lunghezza = 34;
};
struct FoglioAssegnoVecchio { // ".FOG"
    static constexpr int Lunghezza = 89;
};
struct InteressiVecchi { // ".Iat" (credit) and ".Ipa" (debit): five dates, five rates
    static constexpr int Lunghezza = 60;
};
struct RiportoPrecedenteVecchio { // ".chi"
    static constexpr int Lunghezza = 24;
};
struct RiportoVecchio { // ".rip"
    static constexpr int Lunghezza = 16;
};

// The marker of a converted folder, record 1 of "Conv.con".
struct MarcaConversione {
    static constexpr int Lunghezza = 25;
    QString dataConversione; // 12: "DD/MM/YYYY" and two blanks
    QString riservato;       // 11, written as blanks
    QString convertito;      // 1: "S" once the folder is converted
    QByteArray riservato2;   // 1 byte, written back as it was read

    static MarcaConversione fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
};

// The date rule: an old date of eight characters "DD/MM/YY" becomes "DD/MM/YYYY".
// Years 00 to 49 get the century "20", years 50 to 99 "19"; "00/00/00" (no date)
// becomes "00/00/0000" and the empty mask "__/__/__" becomes "__/__/____"; a year
// part that is not two digits keeps "19". A date of only blanks or NULs becomes
// the empty text.
QString convertiData(const QString& vecchia);

// The conversions of the old records. Each takes the bytes of one old record (bytes
// missing at its end read as zeros) and gives the bytes of the current one. Every field
// keeps its bytes exactly: a text its characters, blanks and NULs as they are (a leaf
// never issued keeps its payee of NULs), a number its bits. Only the layouts change:
// each date is widened by the date rule (eight NULs become ten), and a field the old
// record lacks is blank.
QByteArray convertiConto(QByteArrayView vecchio);     // 195 bytes: Conto, 205
QByteArray convertiMovimento(QByteArrayView vecchio); // 72: Movimento, 76
// The four dates by the date rule; each one whose numeric value is then 0 (blank,
// NULs, "00/00/0000", "__/__/____") becomes `oggi`.
QByteArray convertiTotali(QByteArrayView vecchio, const QString& oggi); // 64: TotaliConto, 72
QByteArray convertiCarnet(QByteArrayView vecchio);                      // 34: CarnetAssegni, 36
QByteArray convertiFoglio(QByteArrayView vecchio);                      // 89: FoglioAssegno, 91
QByteArray convertiInteressiCreditori(QByteArrayView vecchio); // 60: InteressiCreditori, 70
// The old single rate of each period holds within and beyond the credit line.
QByteArray convertiInteressiDebitori(QByteArrayView vecchio); // 60: InteressiDebitori, 90
// The old release cut the account code to eight characters: the closing record gets
// the account's whole code (codiceConto, trimmed) when its first eight characters are
// the old code, else the old eight characters.
QByteArray convertiRiportoPrecedente(QByteArrayView vecchio, // 24: RiportoPrecedente, 30
                                     const QString& codiceConto);
QByteArray convertiRiporto(QByteArrayView vecchio); // 16: Riporto, 18

} // namespace qv
