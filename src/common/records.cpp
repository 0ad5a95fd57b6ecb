#include "common/records.h"

#include "common/record_layouts.h"
#include "common/text_codec.h"

#include <algorithm>

namespace qv {

// Every record is read and written by walking its table (common/record_layouts.h).

Impostazioni Impostazioni::fromBytes(QByteArrayView bytes) {
    return readFields<Impostazioni>(bytes);
}

QByteArray Impostazioni::toBytes() const {
    return writeFields(*this);
}

Valuta Valuta::fromBytes(QByteArrayView bytes) {
    return readFields<Valuta>(bytes);
}

QByteArray Valuta::toBytes() const {
    return writeFields(*this);
}

Colori Colori::fromBytes(QByteArrayView bytes) {
    return readFields<Colori>(bytes);
}

QByteArray Colori::toBytes() const {
    return writeFields(*this);
}

Contatore Contatore::fromBytes(QByteArrayView bytes) {
    return readFields<Contatore>(bytes);
}

QByteArray Contatore::toBytes() const {
    return writeFields(*this);
}

Conto Conto::fromBytes(QByteArrayView bytes) {
    return readFields<Conto>(bytes);
}

QByteArray Conto::toBytes() const {
    return writeFields(*this);
}

VoceCausale VoceCausale::fromBytes(QByteArrayView bytes) {
    return readFields<VoceCausale>(bytes);
}

QByteArray VoceCausale::toBytes() const {
    return writeFields(*this);
}

TotaliConto TotaliConto::fromBytes(QByteArrayView bytes) {
    return readFields<TotaliConto>(bytes);
}

QByteArray TotaliConto::toBytes() const {
    return writeFields(*this);
}

CarnetAssegni CarnetAssegni::fromBytes(QByteArrayView bytes) {
    return readFields<CarnetAssegni>(bytes);
}

QByteArray CarnetAssegni::toBytes() const {
    return writeFields(*this);
}

InteressiCreditori InteressiCreditori::fromBytes(QByteArrayView bytes) {
    return readFields<InteressiCreditori>(bytes);
}

QByteArray InteressiCreditori::toBytes() const {
    return writeFields(*this);
}

InteressiDebitori InteressiDebitori::fromBytes(QByteArrayView bytes) {
    return readFields<InteressiDebitori>(bytes);
}

QByteArray InteressiDebitori::toBytes() const {
    return writeFields(*this);
}

Opzioni Opzioni::fromBytes(QByteArrayView bytes) {
    return readFields<Opzioni>(bytes);
}

QByteArray Opzioni::toBytes() const {
    return writeFields(*this);
}

OneriPassivi OneriPassivi::fromBytes(QByteArrayView bytes) {
    return readFields<OneriPassivi>(bytes);
}

QByteArray OneriPassivi::toBytes() const {
    return writeFields(*this);
}

SpeseVarie SpeseVarie::fromBytes(QByteArrayView bytes) {
    return readFields<SpeseVarie>(bytes);
}

QByteArray SpeseVarie::toBytes() const {
    return writeFields(*this);
}

Riporto Riporto::fromBytes(QByteArrayView bytes) {
    return readFields<Riporto>(bytes);
}

QByteArray Riporto::toBytes() const {
    return writeFields(*this);
}

RiportoPrecedente RiportoPrecedente::fromBytes(QByteArrayView bytes) {
    return readFields<RiportoPrecedente>(bytes);
}

QByteArray RiportoPrecedente::toBytes() const {
    return writeFields(*this);
}

// --- Movimento ---

Movimento Movimento::fromBytes(QByteArrayView bytes) {
    return readFields<Movimento>(bytes);
}

Movimento Movimento::fromBytes(QByteArrayView bytes, TextBlock* block) {
    return readFields<Movimento>(bytes, block);
}

QByteArray Movimento::toBytes() const {
    return writeFields(*this);
}

void Movimento::normalizzaBytes(char* record) {
    for (const FieldInfo& c : Layout<Movimento>::fields) {
        if (!isText(c.kind)) continue;
        for (int i = c.offset + c.width - 1;
             i >= c.offset && (record[i] == ' ' || record[i] == '\0'); --i)
            record[i] = ' ';
    }
}

// --- FoglioAssegno ---

namespace {
constexpr FieldInfo kPayee = fieldNamed(Layout<FoglioAssegno>::fields, "traenteAssegno");
// The bytes of the payee that say a leaf never issued when they are all NUL.
constexpr int kUnissuedPayeeWidth = 25;
} // namespace

FoglioAssegno FoglioAssegno::fromBytes(QByteArrayView bytes) {
    FoglioAssegno r = readFields<FoglioAssegno>(bytes);
    // Bytes missing at the end of a short record read as zeros, as every field does.
    const QByteArrayView primi =
        bytes.size() > kPayee.offset
            ? bytes.sliced(kPayee.offset,
                           std::min<qsizetype>(kUnissuedPayeeWidth, bytes.size() - kPayee.offset))
            : QByteArrayView();
    r.traenteNullo = primi.count('\0') == primi.size();
    return r;
}

QByteArray FoglioAssegno::toBytes() const {
    QByteArray out = writeFields(*this);
    if (traenteNullo && traenteAssegno.isEmpty())
        out.replace(kPayee.offset, kPayee.width, QByteArray(kPayee.width, '\0'));
    return out;
}

} // namespace qv
