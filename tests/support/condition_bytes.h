#pragma once
// The five condition records of an account written out by hand, field by field, in the
// order and widths of their files (".Iat" 70 bytes, ".Ipa" 90, ".Opz" 107, ".Onp" 80,
// ".spe" 113).

#include <QByteArray>

#include <array>

namespace qv::test {

// Five start dates (texts of 10) and five rates (singles).
using DateCondizioni = std::array<const char*, 5>;
using TassiCondizioni = std::array<float, 5>;

QByteArray creditoriBytes(const DateCondizioni& date, const TassiCondizioni& tassi);
QByteArray debitoriBytes(const DateCondizioni& date, const TassiCondizioni& entroFido,
                         const TassiCondizioni& fuoriFido);

struct OpzioniFields {
    const char* periodicita = "";
    qint16 minimoMovimenti = 0;
    const char* indirizzo = "";
    const char* baseDebitori = "";
    const char* baseCreditori = "";
    qint16 divisore = 0;
};
QByteArray opzioniBytes(const OpzioniFields& o);

struct OneriFields {
    float eccedenza = 0;
    float massimoScoperto = 0;
    float ritenuta = 0;
    float libera1 = 0;
    float libera2 = 0;
    float fuoriFido = 0;
    float fuoriFidoGiorni = 0;
    const char* descrizione1 = "";
    const char* descrizione2 = "";
    const char* base1 = "";
    const char* base2 = "";
};
QByteArray oneriBytes(const OneriFields& o);

struct SpeseFields {
    std::array<double, 7> importi{};
    const char* addebiti = ""; // the seven one-letter flags, blank-padded
    const char* descrizione1 = "";
    const char* descrizione2 = "";
};
QByteArray speseBytes(const SpeseFields& s);

} // namespace qv::test
