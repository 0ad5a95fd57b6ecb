#include "condition_bytes.h"

#include "bytes.h"

#include <gtest/gtest.h>

namespace qv::test {

namespace {

QByteArray dateBytes(const DateCondizioni& date) {
    QByteArray b;
    for (const char* d : date)
        b += text(d, 10);
    return b;
}

QByteArray tassiBytes(const TassiCondizioni& tassi) {
    QByteArray b;
    for (float t : tassi)
        b += leFloat(t);
    return b;
}

} // namespace

QByteArray creditoriBytes(const DateCondizioni& date, const TassiCondizioni& tassi) {
    const QByteArray b = dateBytes(date) + tassiBytes(tassi);
    EXPECT_EQ(b.size(), 70);
    return b;
}

QByteArray debitoriBytes(const DateCondizioni& date, const TassiCondizioni& entroFido,
                         const TassiCondizioni& fuoriFido) {
    const QByteArray b = dateBytes(date) + tassiBytes(entroFido) + tassiBytes(fuoriFido);
    EXPECT_EQ(b.size(), 90);
    return b;
}

QByteArray opzioniBytes(const OpzioniFields& o) {
    const QByteArray b = text(o.periodicita, 1) + le16(o.minimoMovimenti) + text(o.indirizzo, 100) +
                         text(o.baseDebitori, 1) + text(o.baseCreditori, 1) + le16(o.divisore);
    EXPECT_EQ(b.size(), 107);
    return b;
}

QByteArray oneriBytes(const OneriFields& o) {
    const QByteArray b = leFloat(o.eccedenza) + leFloat(o.massimoScoperto) + leFloat(o.ritenuta) +
                         leFloat(o.libera1) + leFloat(o.libera2) + leFloat(o.fuoriFido) +
                         leFloat(o.fuoriFidoGiorni) + text(o.descrizione1, 25) +
                         text(o.descrizione2, 25) + text(o.base1, 1) + text(o.base2, 1);
    EXPECT_EQ(b.size(), 80);
    return b;
}

QByteArray speseBytes(const SpeseFields& s) {
    QByteArray b;
    for (double importo : s.importi)
        b += leDouble(importo);
    b += text(s.addebiti, 7) + text(s.descrizione1, 25) + text(s.descrizione2, 25);
    EXPECT_EQ(b.size(), 113);
    return b;
}

} // namespace qv::test
