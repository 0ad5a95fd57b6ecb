#pragma once
// The record layouts of the previous release, which wrote every date as eight
// characters "DD/MM/YY", and how each old record becomes a record of the current
// layouts (common/records.h). Old records are only read: each has its length on
// disk and a decoder that accepts any number of bytes (missing bytes read as zeros).
// Date fields keep their eight characters exactly as stored, NULs included, because
// the date rule works on the characters as they are.

#include "common/records.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

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

// A movement of the old ".mov" and ".ord".
struct MovimentoVecchio {
    static constexpr int Lunghezza = 72;
    qint16 numero = 0;
    QString dataOperazione; // 8, as stored
    QString dataValuta;     // 8, as stored
    QString codiceCausale;  // 5
    double importo = 0.0;
    QString numeroDocumento; // 8
    QString descrizione;     // 30
    QString sospeso;         // 1
    QString entrataUscita;   // 1
    QString annullato;       // 1

    static MovimentoVecchio fromBytes(QByteArrayView bytes);
};

// The old totals of ".tot".
struct TotaliVecchi {
    static constexpr int Lunghezza = 64;
    double saldoNonSospesi = 0.0;
    double saldoValutaOggi = 0.0;
    double saldoOperazioneOggi = 0.0;
    double saldoContabile = 0.0;
    QString primaDataOperazione;  // 8, as stored
    QString ultimaDataOperazione; // 8
    QString primaDataValuta;      // 8
    QString ultimaDataValuta;     // 8

    static TotaliVecchi fromBytes(QByteArrayView bytes);
};

// An old cheque book of ".CAR".
struct CarnetVecchio {
    static constexpr int Lunghezza = 34;
    qint16 movimentoCosto = 0;
    qint16 numeroCarnet = 0;
    QString dataRitiro; // 8, as stored
    double costo = 0.0;
    qint32 primoAssegno = 0;
    qint32 ultimoAssegno = 0;
    QString esaurito; // 1
    qint16 fogliDaAllineare = 0;
    QString allineato;    // 1
    QByteArray riservato; // 2 bytes without meaning, carried over

    static CarnetVecchio fromBytes(QByteArrayView bytes);
};

// An old cheque leaf of ".FOG".
struct FoglioAssegnoVecchio {
    static constexpr int Lunghezza = 89;
    qint16 movimento = 0;
    qint16 progressivo = 0;
    qint16 numeroCarnet = 0;
    qint32 numeroAssegno = 0;
    QString dataAssegno; // 8, as stored
    double importo = 0.0;
    QString traenteAssegno; // 30
    QString noteAssegno;    // 30
    QString allineato;      // 1
    QString riservato;      // 1
    QString annullato;      // 1

    static FoglioAssegnoVecchio fromBytes(QByteArrayView bytes);
};

// The old rates of ".Iat" (credit) and ".Ipa" (debit): five start dates, five rates.
struct InteressiVecchi {
    static constexpr int Lunghezza = 60;
    std::array<QString, 6> dataDecorrenza; // 1..5, 8 each, as stored
    std::array<float, 6> tasso{};          // 1..5

    static InteressiVecchi fromBytes(QByteArrayView bytes);
};

// The old closing record of ".chi": its account code had eight characters.
struct RiportoPrecedenteVecchio {
    static constexpr int Lunghezza = 24;
    QString dataRiporto; // 8, as stored
    double saldoRiporto = 0.0;
    QString codiceConto; // 8

    static RiportoPrecedenteVecchio fromBytes(QByteArrayView bytes);
};

// The old carry-forward of ".rip".
struct RiportoVecchio {
    static constexpr int Lunghezza = 16;
    QString dataRiporto; // 8, as stored
    double saldoRiporto = 0.0;

    static RiportoVecchio fromBytes(QByteArrayView bytes);
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
// the empty text, written as ten blanks.
QString convertiData(const QString& vecchia);

Conto convertiConto(const ContoVecchio& vecchio);
Movimento convertiMovimento(const MovimentoVecchio& vecchio);
// The four dates by the date rule; each one whose numeric value is 0 (blank,
// "00/00/0000", "__/__/____") becomes `oggi`.
TotaliConto convertiTotali(const TotaliVecchi& vecchi, const QString& oggi);
CarnetAssegni convertiCarnet(const CarnetVecchio& vecchio);
FoglioAssegno convertiFoglio(const FoglioAssegnoVecchio& vecchio);
InteressiCreditori convertiInteressiCreditori(const InteressiVecchi& vecchi);
// The old single rate of each period holds within and beyond the credit line.
InteressiDebitori convertiInteressiDebitori(const InteressiVecchi& vecchi);
// The old release cut the account code to eight characters: the closing record
// gets the account's whole code (codiceConto, trimmed) when its first eight
// characters are the old code, else the old eight characters.
RiportoPrecedente convertiRiportoPrecedente(const RiportoPrecedenteVecchio& vecchio,
                                            const QString& codiceConto);
Riporto convertiRiporto(const RiportoVecchio& vecchio);

} // namespace qv
