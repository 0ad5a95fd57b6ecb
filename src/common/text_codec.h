#pragma once
// Windows-1252 text and the packed little-endian fields of the data files.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace qv {

// Decodes Windows-1252 bytes. Every byte maps to one character; the five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the code points
// of the same value, so that any byte read comes back unchanged when written.
QString fromCp1252(QByteArrayView bytes);

// Encodes text as exactly `width` bytes: cut at the width, blank-padded on the right.
// A character that Windows-1252 cannot hold is written as "?".
QByteArray toCp1252(const QString& text, int width);

// Encodes text of any length, one byte per character, same rules as above.
QByteArray toCp1252(const QString& text);

// Decodes a fixed-width text field: trailing blanks and NULs are removed, leading
// blanks are kept (the readers trim them where the program wants it).
QString textField(QByteArrayView bytes);

// The texts of many records decoded into one block of characters: each text is a
// QString that shares the block instead of having an allocation of its own, so reading
// tens of thousands of records costs one allocation, not one per field. The texts are
// ordinary QStrings: changing one copies it first (the block is shared), and the block
// goes when the last text that shares it goes. A text the block has no more room for
// gets its own allocation.
class TextBlock {
public:
    // Room for `characters` characters (each text takes its length plus one).
    explicit TextBlock(qsizetype characters);

    // textField(bytes), sharing the block.
    QString field(QByteArrayView bytes);

private:
    QString m_block;             // holds the block; never changed once texts share it
    char16_t* m_chars = nullptr; // its characters, taken before anything shared them
    qsizetype m_used = 0;
};

// The text without its trailing blanks (leading blanks and NULs are kept): a field
// as the forms show it.
QString withoutTrailingBlanks(const QString& text);

// Reads the fields of a record in order. Bytes beyond the given ones read as zero, so
// a short record yields zeros and empty texts.
class FieldReader {
public:
    // With a `block`, the texts read are made in it (see TextBlock).
    explicit FieldReader(QByteArrayView bytes, TextBlock* block = nullptr)
        : m_bytes(bytes), m_block(block) {}

    qint16 int16();
    qint32 int32();
    float single(); // IEEE 754 single precision
    double real();  // IEEE 754 double precision
    QString text(int width);
    QByteArray raw(int width); // bytes carried unchanged (zero-filled past the end)

private:
    quint8 byteAt(qsizetype i) const;
    quint64 unsignedLe(int width);

    QByteArrayView m_bytes;
    TextBlock* m_block = nullptr;
    qsizetype m_pos = 0;
};

// Builds a record field by field; `bytes()` gives exactly the declared length,
// zero-filled when fewer bytes were written.
class FieldWriter {
public:
    explicit FieldWriter(int length) : m_length(length) { m_bytes.reserve(length); }

    void int16(qint16 value);
    void int32(qint32 value);
    void single(float value);
    void real(double value);
    void text(const QString& value, int width);
    void raw(const QByteArray& value, int width); // cut or zero-filled to width
    QByteArray bytes() const;

private:
    void unsignedLe(quint64 value, int width);

    int m_length;
    QByteArray m_bytes;
};

} // namespace qv
