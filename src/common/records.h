#pragma once
// The record layouts of the data files. Each record is a plain value with its length
// on disk and its byte codec: fields packed in order, little-endian, 16-bit integers,
// IEEE floating point, Windows-1252 text blank-padded to the field's width.
// fromBytes accepts any number of bytes: what is missing reads as zeros and blanks.
// toBytes gives exactly Lunghezza bytes. The offset, width and kind of every field are
// in one table per record (common/record_layouts.h), which both of them walk.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

namespace qv {

class TextBlock;

// Settings, record 1 of Imposta.DAT.
struct Impostazioni {
    static constexpr int Lunghezza = 116;
    QString percorsoDati;      // 35
    QString contoAvvio;        // 12
    QString valutaPredefinita; // 25
    qint16 numeroDecimali = 0;
    QString nomeUtente;            // 30
    QString passwordUtente;        // 10
    qint16 accessoConPassword = 0; // -1 True, 0 False

    static Impostazioni fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const Impostazioni&) const = default;
};

// One currency slot of Valute.DAT (record k = slot k).
struct Valuta {
    static constexpr int Lunghezza = 60;
    qint16 numero = 0;
    QString nomeValuta; // 25
    double cambio = 0.0;
    QString paese; // 25

    static Valuta fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const Valuta&) const = default;
};

// List colours, record 1 of colori.col.
struct Colori {
    static constexpr int Lunghezza = 18;
    double coloreSfondo = 0.0;
    double coloreCarattere = 0.0;
    QString coloriPredefiniti; // 1: "S" or "N"
    QByteArray riservato;      // 1 byte, written back exactly as read

    static Colori fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const Colori&) const = default;
};

// A one-record count file (RecConti.dat, RecCausa.dat, ".MOR", ".NRC", ".NRF").
struct Contatore {
    static constexpr int Lunghezza = 2;
    qint16 valore = 0;

    static Contatore fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const Contatore&) const = default;
};

// An account of Conti.dat.
struct Conto {
    static constexpr int Lunghezza = 205;
    qint16 numero = 0;
    QString codiceConto; // 12
    QString tipoConto;   // 30
    QString nomeBanca;   // 45
    QString indirizzo;   // 45
    QString cap;         // 5
    QString localita;    // 25
    QString provincia;   // 2
    double fido = 0.0;
    QString riservato; // 1
    QString codiceAbi; // 10
    QString codiceCab; // 10
    QString idBanca;   // 10

    static Conto fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const Conto&) const = default;
};

// A causale of Causali.DAT.
struct VoceCausale {
    static constexpr int Lunghezza = 35;
    qint16 numero = 0;
    QString codiceCausale; // 5
    QString descrizione;   // 25
    QString sospeso;       // 1: "S" / "N"
    QString entrataUscita; // 1: "E" / "U"
    QString soggettoCosto; // 1: "1" / "0"

    static VoceCausale fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const VoceCausale&) const = default;
};

// A movement of ".MOV" and ".Ord".
struct Movimento {
    static constexpr int Lunghezza = 76;
    qint16 numero = 0;
    QString dataOperazione; // 10
    QString dataValuta;     // 10
    QString codiceCausale;  // 5
    double importo = 0.0;
    QString numeroDocumento; // 8
    QString descrizione;     // 30
    QString sospeso;         // 1
    QString entrataUscita;   // 1
    QString annullato;       // 1

    static Movimento fromBytes(QByteArrayView bytes);
    // The same, its texts made in `block` (reading many records at once).
    static Movimento fromBytes(QByteArrayView bytes, TextBlock* block);
    QByteArray toBytes() const;
    bool operator==(const Movimento&) const = default;

    // Turns the Lunghezza bytes of a stored record, in place, into the bytes toBytes
    // gives for the record fromBytes reads from them: in each text field the blanks and
    // NULs that end it all become blanks; nothing else changes. A stored movement is
    // copied to another file this way without being decoded and encoded again.
    static void normalizzaBytes(char* record);
};

// The balances and date bounds of an account, record 1 of ".TOT".
struct TotaliConto {
    static constexpr int Lunghezza = 72;
    double saldoNonSospesi = 0.0;
    double saldoValutaOggi = 0.0;
    double saldoOperazioneOggi = 0.0;
    double saldoContabile = 0.0;
    QString primaDataOperazione;  // 10
    QString ultimaDataOperazione; // 10
    QString primaDataValuta;      // 10
    QString ultimaDataValuta;     // 10

    static TotaliConto fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const TotaliConto&) const = default;
};

// A cheque book of ".CAR".
struct CarnetAssegni {
    static constexpr int Lunghezza = 36;
    qint16 movimentoCosto = 0;
    qint16 numeroCarnet = 0;
    QString dataRitiro; // 10
    double costo = 0.0;
    qint32 primoAssegno = 0;
    qint32 ultimoAssegno = 0;
    QString esaurito; // 1
    qint16 fogliDaAllineare = 0;
    QString allineato;    // 1
    QByteArray riservato; // 2 bytes, zero in a new record, carried unchanged

    static CarnetAssegni fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const CarnetAssegni&) const = default;
};

// A cheque leaf of ".FOG".
struct FoglioAssegno {
    static constexpr int Lunghezza = 91;
    qint16 movimento = 0;
    qint16 progressivo = 0;
    qint16 numeroCarnet = 0;
    qint32 numeroAssegno = 0;
    QString dataAssegno; // 10
    double importo = 0.0;
    QString traenteAssegno; // 30
    // The payee's first 25 bytes are all NUL, as a leaf never issued may hold them
    // (the cheque situation prints "Assegno non Emesso" for it; a payee of blanks
    // prints blanks). While traenteAssegno stays empty the payee is written back as
    // NUL bytes; whoever gives the leaf a payee clears the flag.
    bool traenteNullo = false;
    QString noteAssegno; // 30
    QString allineato;   // 1
    QString riservato;   // 1
    QString annullato;   // 1

    static FoglioAssegno fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const FoglioAssegno&) const = default;
};

// The condition records, one record each in ".Iat", ".Ipa", ".Opz", ".Onp", ".spe".
// The arrays numbered from 1 (rates and their start dates) use elements 1 to 5;
// element 0 is not stored and stays unused.

struct InteressiCreditori {
    static constexpr int Lunghezza = 70;
    std::array<QString, 6> dataDecorrenza; // 1..5, 10 each
    std::array<float, 6> tasso{};          // 1..5

    static InteressiCreditori fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const InteressiCreditori&) const = default;
};

// A 70-byte file (the older layout) reads with every tassoFuoriFido 0.
struct InteressiDebitori {
    static constexpr int Lunghezza = 90;
    std::array<QString, 6> dataDecorrenza; // 1..5, 10 each
    std::array<float, 6> tassoEntroFido{}; // 1..5
    std::array<float, 6> tassoFuoriFido{}; // 1..5

    static InteressiDebitori fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const InteressiDebitori&) const = default;
};

struct Opzioni {
    static constexpr int Lunghezza = 107;
    QString periodicitaChiusura; // 1
    qint16 minimoMovimenti = 0;
    QString indirizzoInternet;   // 100
    QString baseGiorniDebitori;  // 1
    QString baseGiorniCreditori; // 1
    qint16 codiceDivisore = 0;

    static Opzioni fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const Opzioni&) const = default;
};

struct OneriPassivi {
    static constexpr int Lunghezza = 80;
    float aliquotaEccedenza = 0.0F;
    float aliquotaMassimoScoperto = 0.0F;
    float ritenutaFiscale = 0.0F;
    float aliquotaLibera1 = 0.0F;
    float aliquotaLibera2 = 0.0F;
    float aliquotaScopertoFuoriFido = 0.0F;
    float aliquotaScopertoFuoriFidoGiorni = 0.0F;
    QString descrizioneLibera1; // 25
    QString descrizioneLibera2; // 25
    QString baseLibera1;        // 1
    QString baseLibera2;        // 1

    static OneriPassivi fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const OneriPassivi&) const = default;
};

// Fees 0 to 6, with how each one is charged.
struct SpeseVarie {
    static constexpr int Lunghezza = 113;
    std::array<double, 7> importoSpesa{};
    std::array<QString, 7> addebitoTrimestrale; // 1 each: "1" quarterly, "0" yearly
    QString descrizioneSpesa1;                  // 25
    QString descrizioneSpesa2;                  // 25

    static SpeseVarie fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const SpeseVarie&) const = default;
};

// The carry-forward of ".RIP".
struct Riporto {
    static constexpr int Lunghezza = 18;
    QString dataRiporto; // 10
    double saldoRiporto = 0.0;

    static Riporto fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const Riporto&) const = default;
};

// The carry-forward before the last closing, ".chi".
struct RiportoPrecedente {
    static constexpr int Lunghezza = 30;
    QString dataRiporto; // 10
    double saldoRiporto = 0.0;
    QString codiceConto; // 12

    static RiportoPrecedente fromBytes(QByteArrayView bytes);
    QByteArray toBytes() const;
    bool operator==(const RiportoPrecedente&) const = default;
};

} // namespace qv
