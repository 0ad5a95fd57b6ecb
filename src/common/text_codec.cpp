#include "common/text_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>

namespace qv {

namespace {

// Characters of the bytes 0x80-0x9F. The undefined bytes keep their own value.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

char encodeChar(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Appends at most `limit` encoded characters (limit < 0: no limit). A surrogate pair
// is one character, written as one "?".
void encodeInto(QByteArray& out, const QString& text, qsizetype limit) {
    qsizetype written = 0;
    for (qsizetype i = 0; i < text.size() && (limit < 0 || written < limit); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            out.append('?');
        } else {
            out.append(encodeChar(ch.unicode()));
        }
        ++written;
    }
}

// The one-character texts: the flags of the records ("S", "N", "E", "U") are decoded
// tens of thousands of times when an account is read. Each is a text over characters
// that live as long as the program (each followed by a NUL), like a literal's: making
// and copying one costs neither an allocation nor a reference count.
QString singleCharacter(quint8 byte) {
    static const std::array<std::array<char16_t, 2>, 256> characters = [] {
        std::array<std::array<char16_t, 2>, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)][0] = (b >= 0x80 && b <= 0x9F) ? kHighTable[size_t(b - 0x80)] : char16_t(b);
        return t;
    }();
    return QString::fromRawData(reinterpret_cast<const QChar*>(characters[byte].data()), 1);
}

} // namespace

QString fromCp1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<quint8>(bytes[i]);
        dst[i] = (b >= 0x80 && b <= 0x9F) ? QChar(kHighTable[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray toCp1252(const QString& text, int width) {
    QByteArray out;
    if (width <= 0) return out;
    out.reserve(width);
    encodeInto(out, text, width);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

QByteArray toCp1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    encodeInto(out, text, -1);
    return out;
}

QString textField(QByteArrayView bytes) {
    qsizetype end = bytes.size();
    while (end > 0 && (bytes[end - 1] == ' ' || bytes[end - 1] == '\0'))
        --end;
    if (end == 0) return QString();
    if (end == 1) return singleCharacter(static_cast<quint8>(bytes[0]));
    return fromCp1252(bytes.first(end));
}

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

// --- FieldReader ---

quint8 FieldReader::byteAt(qsizetype i) const {
    return i >= 0 && i < m_bytes.size() ? static_cast<quint8>(m_bytes[i]) : 0;
}

quint64 FieldReader::unsignedLe(int width) {
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value |= quint64(byteAt(m_pos + i)) << (8 * i);
    m_pos += width;
    return value;
}

qint16 FieldReader::int16() {
    return static_cast<qint16>(unsignedLe(2));
}

qint32 FieldReader::int32() {
    return static_cast<qint32>(unsignedLe(4));
}

float FieldReader::single() {
    return std::bit_cast<float>(static_cast<quint32>(unsignedLe(4)));
}

double FieldReader::real() {
    return std::bit_cast<double>(unsignedLe(8));
}

QString FieldReader::text(int width) {
    // Decoded straight from the record's bytes: the bytes past its end read as NULs,
    // which the field loses with its trailing blanks anyway.
    const qsizetype from = std::min(m_pos, m_bytes.size());
    const qsizetype to = std::min(m_pos + std::max(width, 0), m_bytes.size());
    m_pos += width;
    const QByteArrayView field = m_bytes.sliced(from, to - from);
    return m_block ? m_block->field(field) : textField(field);
}

TextBlock::TextBlock(qsizetype characters) {
    if (characters <= 0) return;
    m_block = QString(characters, Qt::Uninitialized);
    m_chars = reinterpret_cast<char16_t*>(m_block.data());
}

QString TextBlock::field(QByteArrayView bytes) {
    qsizetype end = bytes.size();
    while (end > 0 && (bytes[end - 1] == ' ' || bytes[end - 1] == '\0'))
        --end;
    // Empty and one-character texts cost no allocation anyway.
    if (end <= 1 || m_used + end + 1 > m_block.size()) return textField(bytes);
    char16_t* out = m_chars + m_used;
    for (qsizetype i = 0; i < end; ++i) {
        const auto b = static_cast<quint8>(bytes[i]);
        out[i] = (b >= 0x80 && b <= 0x9F) ? kHighTable[size_t(b - 0x80)] : char16_t(b);
    }
    // Each text ends with a NUL, as the characters of a QString do.
    out[end] = u'\0';
    m_used += end + 1;
    QString::DataPointer shared(std::as_const(m_block).data_ptr());
    shared.ptr = out;
    shared.size = end;
    return QString(std::move(shared));
}

QByteArray FieldReader::raw(int width) {
    QByteArray out(width, '\0');
    for (int i = 0; i < width; ++i)
        out[i] = static_cast<char>(byteAt(m_pos + i));
    m_pos += width;
    return out;
}

// --- FieldWriter ---

void FieldWriter::unsignedLe(quint64 value, int width) {
    for (int i = 0; i < width; ++i)
        m_bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void FieldWriter::int16(qint16 value) {
    unsignedLe(static_cast<quint16>(value), 2);
}

void FieldWriter::int32(qint32 value) {
    unsignedLe(static_cast<quint32>(value), 4);
}

void FieldWriter::single(float value) {
    unsignedLe(std::bit_cast<quint32>(value), 4);
}

void FieldWriter::real(double value) {
    unsignedLe(std::bit_cast<quint64>(value), 8);
}

void FieldWriter::text(const QString& value, int width) {
    if (width <= 0) return;
    // Encoded straight into the record, as toCp1252(value, width) encodes it: a file of
    // thousands of records makes no text of its own for each field.
    const qsizetype start = m_bytes.size();
    m_bytes.resize(start + width);
    char* out = m_bytes.data() + start;
    const QChar* in = value.constData();
    const qsizetype n = value.size();
    qsizetype written = 0;
    for (qsizetype i = 0; i < n && written < width; ++i) {
        const QChar ch = in[i];
        if (ch.isHighSurrogate() && i + 1 < n && in[i + 1].isLowSurrogate()) {
            ++i;
            out[written++] = '?';
        } else {
            out[written++] = encodeChar(ch.unicode());
        }
    }
    std::fill(out + written, out + width, ' ');
}

void FieldWriter::raw(const QByteArray& value, int width) {
    m_bytes.append(value.left(width));
    if (value.size() < width) m_bytes.append(width - value.size(), '\0');
}

QByteArray FieldWriter::bytes() const {
    QByteArray out = m_bytes.left(m_length);
    if (out.size() < m_length) out.append(m_length - out.size(), '\0');
    return out;
}

} // namespace qv
