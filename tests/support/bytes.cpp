#include "bytes.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace qv::test {

QByteArray text(const QByteArray& s, int width) {
    return s.leftJustified(width, ' ', true);
}

namespace {

template <class T> QByteArray littleEndian(T v) {
    QByteArray b(sizeof(T), '\0');
    qToLittleEndian<T>(v, b.data());
    return b;
}

} // namespace

QByteArray le16(qint16 v) {
    return littleEndian(v);
}
QByteArray le32(qint32 v) {
    return littleEndian(v);
}
QByteArray leFloat(float v) {
    return littleEndian(v);
}
QByteArray leDouble(double v) {
    return littleEndian(v);
}

QByteArray movimentoBytes(const MovimentoFields& m) {
    const QByteArray b = le16(m.numero) + text(m.dataOperazione, 10) + text(m.dataValuta, 10) +
                         text(m.causale, 5) + leDouble(m.importo) + text(m.documento, 8) +
                         text(m.descrizione, 30) + text(m.sospeso, 1) + text(m.entrataUscita, 1) +
                         text(m.annullato, 1);
    EXPECT_EQ(b.size(), 76);
    return b;
}

QByteArray foglioBytes(const FoglioFields& f) {
    const QByteArray b = le16(f.movimento) + le16(f.progressivo) + le16(f.carnet) +
                         le32(f.assegno) + text(f.data, 10) + leDouble(f.importo) +
                         text(f.traente, 30) + text(f.note, 30) + text(f.allineato, 1) +
                         text(f.riservato, 1) + text(f.annullato, 1);
    EXPECT_EQ(b.size(), 91);
    return b;
}

QByteArray carnetBytes(const CarnetFields& c) {
    const QByteArray b = le16(c.movimentoCosto) + le16(c.numero) + text(c.dataRitiro, 10) +
                         leDouble(c.costo) + le32(c.primoAssegno) + le32(c.ultimoAssegno) +
                         text(c.esaurito, 1) + le16(c.fogliDaAllineare) + text(c.allineato, 1) +
                         c.riservato;
    EXPECT_EQ(b.size(), 36);
    return b;
}

QByteArray contoBytes(const ContoFields& c) {
    const QByteArray b = le16(c.numero) + text(c.codice, 12) + text(c.tipo, 30) +
                         text(c.banca, 45) + text(c.indirizzo, 45) + text(c.cap, 5) +
                         text(c.localita, 25) + text(c.provincia, 2) + leDouble(c.fido) +
                         text(c.riservato, 1) + text(c.abi, 10) + text(c.cab, 10) +
                         text(c.idBanca, 10);
    EXPECT_EQ(b.size(), 205);
    return b;
}

QByteArray causaleBytes(qint16 numero, const char* codice, const char* descrizione,
                        const char* flags) {
    const QByteArray b = le16(numero) + text(codice, 5) + text(descrizione, 25) + text(flags, 3);
    EXPECT_EQ(b.size(), 35);
    return b;
}

QByteArray valutaBytes(qint16 numero, const QByteArray& nome, double cambio,
                       const QByteArray& paese) {
    const QByteArray b = le16(numero) + text(nome, 25) + leDouble(cambio) + text(paese, 25);
    EXPECT_EQ(b.size(), 60);
    return b;
}

QByteArray totaliBytes(double nonSospesi, double valutaOggi, double operazioneOggi,
                       double contabile, const char* primaOperazione, const char* ultimaOperazione,
                       const char* primaValuta, const char* ultimaValuta) {
    const QByteArray b = leDouble(nonSospesi) + leDouble(valutaOggi) + leDouble(operazioneOggi) +
                         leDouble(contabile) + text(primaOperazione, 10) +
                         text(ultimaOperazione, 10) + text(primaValuta, 10) +
                         text(ultimaValuta, 10);
    EXPECT_EQ(b.size(), 72);
    return b;
}

QByteArray recordAt(const QByteArray& file, int k, int length) {
    return file.mid(qsizetype(k - 1) * length, length);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void writeRecordAt(const QString& path, int k, const QByteArray& record) {
    QByteArray bytes = readBytes(path);
    const qsizetype at = qsizetype(k - 1) * record.size();
    if (bytes.size() < at) bytes.append(at - bytes.size(), '\0');
    bytes.replace(at, record.size(), record);
    writeBytes(path, bytes);
}

std::string printable(const QByteArray& bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127)
            out += c;
        else
            out += "<" + QByteArray::number(u, 16).rightJustified(2, '0').toStdString() + ">";
    }
    return out;
}

} // namespace qv::test
