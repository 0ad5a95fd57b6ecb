#include "common/records.h"

#include "common/record_layouts.h"
#include "common/text_codec.h"

#include <algorithm>

namespace qv {

// Every record is read and written by walking its table (common/record_layouts.h).

Impostazioni Impostazioni::fromBytes(QByteArrayView bytes) {
    return leggiCampi<Impostazioni>(bytes);
}

QByteArray Impostazioni::toBytes() const {
    return scriviCampi(*this);
}

Valuta Valuta::fromBytes(QByteArrayView bytes) {
    return leggiCampi<Valuta>(bytes);
}

QByteArray Valuta::toBytes() const {
    return scriviCampi(*this);
}

Colori Colori::fromBytes(QByteArrayView bytes) {
    return leggiCampi<Colori>(bytes);
}

QByteArray Colori::toBytes() const {
    return scriviCampi(*this);
}

Contatore Contatore::fromBytes(QByteArrayView bytes) {
    return leggiCampi<Contatore>(bytes);
}

QByteArray Contatore::toBytes() const {
    return scriviCampi(*this);
}

Conto Conto::fromBytes(QByteArrayView bytes) {
    return leggiCampi<Conto>(bytes);
}

QByteArray Conto::toBytes() const {
    return scriviCampi(*this);
}

VoceCausale VoceCausale::fromBytes(QByteArrayView bytes) {
    return leggiCampi<VoceCausale>(bytes);
}

QByteArray VoceCausale::toBytes() const {
    return scriviCampi(*this);
}

TotaliConto TotaliConto::fromBytes(QByteArrayView bytes) {
    return leggiCampi<TotaliConto>(bytes);
}

QByteArray TotaliConto::toBytes() const {
    return scriviCampi(*this);
}

CarnetAssegni CarnetAssegni::fromBytes(QByteArrayView bytes) {
    return leggiCampi<CarnetAssegni>(bytes);
}

QByteArray CarnetAssegni::toBytes() const {
    return scriviCampi(*this);
}

InteressiCreditori InteressiCreditori::fromBytes(QByteArrayView bytes) {
    return leggiCampi<InteressiCreditori>(bytes);
}

QByteArray InteressiCreditori::toBytes() const {
    return scriviCampi(*this);
}

InteressiDebitori InteressiDebitori::fromBytes(QByteArrayView bytes) {
    return leggiCampi<InteressiDebitori>(bytes);
}

QByteArray InteressiDebitori::toBytes() const {
    return scriviCampi(*this);
}

Opzioni Opzioni::fromBytes(QByteArrayView bytes) {
    return leggiCampi<Opzioni>(bytes);
}

QByteArray Opzioni::toBytes() const {
    return scriviCampi(*this);
}

OneriPassivi OneriPassivi::fromBytes(QByteArrayView bytes) {
    return leggiCampi<OneriPassivi>(bytes);
}

QByteArray OneriPassivi::toBytes() const {
    return scriviCampi(*this);
}

SpeseVarie SpeseVarie::fromBytes(QByteArrayView bytes) {
    return leggiCampi<SpeseVarie>(bytes);
}

QByteArray SpeseVarie::toBytes() const {
    return scriviCampi(*this);
}

Riporto Riporto::fromBytes(QByteArrayView bytes) {
    return leggiCampi<Riporto>(bytes);
}

QByteArray Riporto::toBytes() const {
    return scriviCampi(*this);
}

RiportoPrecedente RiportoPrecedente::fromBytes(QByteArrayView bytes) {
    return leggiCampi<RiportoPrecedente>(bytes);
}

QByteArray RiportoPrecedente::toBytes() const {
    return scriviCampi(*this);
}

// --- Movimento ---

Movimento Movimento::fromBytes(QByteArrayView bytes) {
    return leggiCampi<Movimento>(bytes);
}

Movimento Movimento::fromBytes(QByteArrayView bytes, TextBlock* block) {
    return leggiCampi<Movimento>(bytes, block);
}

QByteArray Movimento::toBytes() const {
    return scriviCampi(*this);
}

void Movimento::normalizzaBytes(char* record) {
    for (const DescrizioneCampo& c : Tracciato<Movimento>::campi) {
        if (!eTesto(c.tipo)) continue;
        for (int i = c.inizio + c.larghezza - 1;
             i >= c.inizio && (record[i] == ' ' || record[i] == '\0'); --i)
            record[i] = ' ';
    }
}

// --- FoglioAssegno ---

namespace {
constexpr DescrizioneCampo kTraente = campoDi(Tracciato<FoglioAssegno>::campi, "traenteAssegno");
// The bytes of the payee that say a leaf never issued when they are all NUL.
constexpr int kTraenteNulloLarghezza = 25;
} // namespace

FoglioAssegno FoglioAssegno::fromBytes(QByteArrayView bytes) {
    FoglioAssegno r = leggiCampi<FoglioAssegno>(bytes);
    // Bytes missing at the end of a short record read as zeros, as every field does.
    const QByteArrayView primi =
        bytes.size() > kTraente.inizio
            ? bytes.sliced(kTraente.inizio, std::min<qsizetype>(kTraenteNulloLarghezza,
                                                                bytes.size() - kTraente.inizio))
            : QByteArrayView();
    r.traenteNullo = primi.count('\0') == primi.size();
    return r;
}

QByteArray FoglioAssegno::toBytes() const {
    QByteArray out = scriviCampi(*this);
    if (traenteNullo && traenteAssegno.isEmpty())
        out.replace(kTraente.inizio, kTraente.larghezza, QByteArray(kTraente.larghezza, '\0'));
    return out;
}

} // namespace qv
