#pragma once
// Bytes of the data files written out by hand, for the tests to write files with and to
// compare files against: fields built from explicit values and widths, little-endian
// and packed, in the order the records hold them. Nothing here goes through the
// program's own record writers, so a fault in those cannot hide in the expected bytes.

#include <QByteArray>
#include <QString>

#include <string>

namespace qv::test {

// --- Fields ----------------------------------------------------------------------------

// A text field: the bytes as given (Windows-1252, so "\x80" is the euro sign), cut at
// `width` and padded with blanks up to it.
QByteArray text(const QByteArray& s, int width);

// Little-endian numbers as the records hold them: Integer, Long, Single and Double.
QByteArray le16(qint16 v);
QByteArray le32(qint32 v);
QByteArray leFloat(float v);
QByteArray leDouble(double v);

// --- Records ---------------------------------------------------------------------------
// Each builder lays out its record field by field and checks that the widths add up to
// the record's length.

// A movement of ".MOV" and ".Ord" (76 bytes).
struct MovimentoFields {
    qint16 numero = 0;
    const char* dataOperazione = "";
    const char* dataValuta = "";
    const char* causale = "";
    double importo = 0;
    const char* documento = "";
    const char* descrizione = "";
    const char* sospeso = "N";
    const char* entrataUscita = "";
    const char* annullato = "N";
};
QByteArray movimentoBytes(const MovimentoFields& m);

// A cheque leaf of ".FOG" (91 bytes).
struct FoglioFields {
    qint16 movimento = 0;
    qint16 progressivo = 0;
    qint16 carnet = 0;
    qint32 assegno = 0;
    const char* data = "";
    double importo = 0;
    const char* traente = "";
    const char* note = "";
    const char* allineato = "N";
    const char* riservato = " ";
    const char* annullato = "N";
};
QByteArray foglioBytes(const FoglioFields& f);

// A cheque book of ".CAR" (36 bytes); its last two bytes are reserved.
struct CarnetFields {
    qint16 movimentoCosto = 0;
    qint16 numero = 0;
    const char* dataRitiro = "";
    double costo = 0;
    qint32 primoAssegno = 0;
    qint32 ultimoAssegno = 0;
    const char* esaurito = "N";
    qint16 fogliDaAllineare = 0;
    const char* allineato = "N";
    QByteArray riservato = QByteArray(2, '\0');
};
QByteArray carnetBytes(const CarnetFields& c);

// An account of Conti.dat (205 bytes).
struct ContoFields {
    qint16 numero = 0;
    const char* codice = "";
    const char* tipo = "";
    const char* banca = "";
    const char* indirizzo = "";
    const char* cap = "";
    const char* localita = "";
    const char* provincia = "";
    double fido = 0;
    const char* riservato = "";
    const char* abi = "";
    const char* cab = "";
    const char* idBanca = "";
};
QByteArray contoBytes(const ContoFields& c);

// A causale of Causali.DAT (35 bytes); `flags` are suspended, in/out and cost subject.
QByteArray causaleBytes(qint16 numero, const char* codice, const char* descrizione,
                        const char* flags);

// A currency of Valute.DAT (60 bytes).
QByteArray valutaBytes(qint16 numero, const QByteArray& nome, double cambio,
                       const QByteArray& paese);

// The totals of ".TOT" (72 bytes): the four balances, then the first and last operation
// dates and the first and last value dates.
QByteArray totaliBytes(double nonSospesi, double valutaOggi, double operazioneOggi,
                       double contabile, const char* primaOperazione, const char* ultimaOperazione,
                       const char* primaValuta, const char* ultimaValuta);

// --- Files -----------------------------------------------------------------------------

// Record k (from 1) of a file of records of `length` bytes.
QByteArray recordAt(const QByteArray& file, int k, int length);

// Writes raw bytes to a file, replacing it; a failure fails the test.
void writeBytes(const QString& path, const QByteArray& bytes);
// The bytes of a file; none when it cannot be read.
QByteArray readBytes(const QString& path);
// Writes `record` as record k (from 1) of a file of records of its length, keeping the
// others; a gap before it is filled with zeros, as the program's files are.
void writeRecordAt(const QString& path, int k, const QByteArray& record);

// Bytes as text, each byte that is not printable ASCII shown as <nn>, so that a
// difference between two files reads at a glance.
std::string printable(const QByteArray& bytes);

} // namespace qv::test
