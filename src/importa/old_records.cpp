#include "importa/old_records.h"

#include "common/numeric_value.h"
#include "common/record_layouts.h"
#include "common/text_codec.h"
#include "importa/old_layouts.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace qv {

namespace {

bool soloDigits(const QString& text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !text.isEmpty();
}

bool soloNul(QByteArrayView bytes) {
    return bytes.count('\0') == bytes.size();
}

// A text field made wider: its bytes, then NULs when it holds only NULs (it stays a
// field never written), else blanks.
QByteArray allarga(const QByteArray& campo, int larghezza) {
    QByteArray out = campo.left(larghezza);
    out.append(larghezza - out.size(), soloNul(campo) ? '\0' : ' ');
    return out;
}

// An old date (eight bytes) in the current layout's width.
QByteArray dataNuova(const QByteArray& vecchia, int larghezza) {
    if (soloNul(vecchia)) return allarga(vecchia, larghezza);
    return toCp1252(convertiData(fromCp1252(vecchia)), larghezza);
}

// The bytes of field `c` of a record, zeros where the record ends before it does.
QByteArray grezzo(QByteArrayView record, const DescrizioneCampo& c) {
    QByteArray out(c.larghezza, '\0');
    const qsizetype presenti = std::clamp<qsizetype>(record.size() - c.inizio, 0, c.larghezza);
    if (presenti > 0) std::memcpy(out.data(), record.data() + c.inizio, size_t(presenti));
    return out;
}

// The name of the old field that a current field comes from: the same name.
struct StessoNome {
    constexpr std::string_view operator()(std::string_view nome) const { return nome; }
};

// For each field of the current layout Nuovo, the index of the field of the old layout
// Vecchio that it comes from (same name by `origine`, same element), or -1 for a field
// the old layout lacks. Only a text may be new; a field and its origin must have the
// same kind and width, but for a date (eight characters, now ten) and a text, which may
// be widened. A pairing that breaks these rules does not compile.
template <class Vecchio, class Nuovo, class Origine = StessoNome>
constexpr auto accoppia(Origine origine = {}) {
    const auto& vecchi = Tracciato<Vecchio>::campi;
    const auto& nuovi = Tracciato<Nuovo>::campi;
    std::array<int, std::tuple_size_v<std::remove_cvref_t<decltype(nuovi)>>> da{};
    for (std::size_t i = 0; i < nuovi.size(); ++i) {
        const DescrizioneCampo& n = nuovi[i];
        da[i] = -1;
        for (std::size_t j = 0; j < vecchi.size(); ++j)
            if (vecchi[j].nome == origine(n.nome) && vecchi[j].indice == n.indice) da[i] = int(j);
        if (da[i] < 0) {
            if (n.tipo != TipoCampo::Testo) throw "only a text may be new in a layout";
            continue;
        }
        const DescrizioneCampo& v = vecchi[std::size_t(da[i])];
        const bool data = v.tipo == TipoCampo::Data && n.tipo == TipoCampo::Data &&
                          v.larghezza == 8 && n.larghezza == 10;
        const bool uguale = v.tipo == n.tipo && v.tipo != TipoCampo::Data &&
                            (v.larghezza == n.larghezza || v.tipo == TipoCampo::Testo);
        if (!data && !uguale) throw "a field does not fit the old field it comes from";
    }
    return da;
}

// No field wants a rule of its own.
struct SenzaRegola {
    void operator()(const DescrizioneCampo&, QByteArray&) const {}
};

// Copies an old record into the current layout, walking the current table: each field
// gets the bytes of the old field it comes from (`da`, from accoppia) as they are, a
// date widened by the date rule, a text widened by `allarga`; a new field is blank.
// `regola` may then change the bytes of a field.
template <class Vecchio, class Nuovo, std::size_t N, class Regola = SenzaRegola>
QByteArray trasponiCon(QByteArrayView vecchio, const std::array<int, N>& da, Regola regola = {}) {
    static_assert(copreEsattamente(Tracciato<Vecchio>::campi, Vecchio::Lunghezza));
    static_assert(copreEsattamente(Tracciato<Nuovo>::campi, Nuovo::Lunghezza));
    QByteArray out;
    out.reserve(Nuovo::Lunghezza);
    for (std::size_t i = 0; i < N; ++i) {
        const DescrizioneCampo& n = Tracciato<Nuovo>::campi[i];
        QByteArray campo;
        if (da[i] < 0) {
            campo = QByteArray(n.larghezza, ' ');
        } else {
            const QByteArray bytes = grezzo(vecchio, Tracciato<Vecchio>::campi[size_t(da[i])]);
            if (n.tipo == TipoCampo::Data)
                campo = dataNuova(bytes, n.larghezza);
            else if (bytes.size() == n.larghezza)
                campo = bytes;
            else
                campo = allarga(bytes, n.larghezza);
        }
        regola(n, campo);
        out.append(campo);
    }
    Q_ASSERT(out.size() == Nuovo::Lunghezza);
    return out;
}

// The same, each field from the old field of its own name.
template <class Vecchio, class Nuovo> constexpr auto kStessiNomi = accoppia<Vecchio, Nuovo>();
template <class Vecchio, class Nuovo, class Regola = SenzaRegola>
QByteArray trasponi(QByteArrayView vecchio, Regola regola = {}) {
    return trasponiCon<Vecchio, Nuovo>(vecchio, kStessiNomi<Vecchio, Nuovo>, regola);
}

} // namespace

// --- Old layouts ---

ContoVecchio ContoVecchio::fromBytes(QByteArrayView bytes) {
    return leggiCampi<ContoVecchio>(bytes);
}

MarcaConversione MarcaConversione::fromBytes(QByteArrayView bytes) {
    return leggiCampi<MarcaConversione>(bytes);
}

QByteArray MarcaConversione::toBytes() const {
    return scriviCampi(*this);
}

// --- The date rule ---

QString convertiData(const QString& vecchia) {
    bool vuota = true;
    for (const QChar c : vecchia)
        if (c != QLatin1Char(' ') && c != QChar(0)) vuota = false;
    if (vuota) return QString();
    if (vecchia == QLatin1String("00/00/00")) return QStringLiteral("00/00/0000");
    const QString anno = vecchia.right(2);
    if (anno == QLatin1String("__")) return vecchia.left(6) + QStringLiteral("____");
    // The previous release kept two digits of the year: 00-49 are this century.
    QString secolo = QStringLiteral("19");
    if (anno.size() == 2 && soloDigits(anno) && anno.toInt() < 50) secolo = QStringLiteral("20");
    return vecchia.left(6) + secolo + anno;
}

// --- Old records into current ones ---

QByteArray convertiConto(QByteArrayView vecchio) {
    // riservato20 is not carried over; the bank codes did not exist: blank.
    return trasponi<ContoVecchio, Conto>(vecchio);
}

QByteArray convertiMovimento(QByteArrayView vecchio) {
    return trasponi<MovimentoVecchio, Movimento>(vecchio);
}

QByteArray convertiTotali(QByteArrayView vecchio, const QString& oggi) {
    return trasponi<TotaliVecchi, TotaliConto>(
        vecchio, [&oggi](const DescrizioneCampo& c, QByteArray& campo) {
            if (c.tipo == TipoCampo::Data && valoreNumerico(fromCp1252(campo)) == 0)
                campo = toCp1252(oggi, c.larghezza);
        });
}

QByteArray convertiCarnet(QByteArrayView vecchio) {
    return trasponi<CarnetVecchio, CarnetAssegni>(vecchio);
}

QByteArray convertiFoglio(QByteArrayView vecchio) {
    return trasponi<FoglioAssegnoVecchio, FoglioAssegno>(vecchio);
}

QByteArray convertiInteressiCreditori(QByteArrayView vecchio) {
    return trasponi<InteressiVecchi, InteressiCreditori>(vecchio);
}

QByteArray convertiInteressiDebitori(QByteArrayView vecchio) {
    // The old rate of each period, within and beyond the credit line.
    static constexpr auto da =
        accoppia<InteressiVecchi, InteressiDebitori>([](std::string_view nome) {
            return nome == "tassoEntroFido" || nome == "tassoFuoriFido" ? std::string_view("tasso")
                                                                        : nome;
        });
    return trasponiCon<InteressiVecchi, InteressiDebitori>(vecchio, da);
}

QByteArray convertiRiportoPrecedente(QByteArrayView vecchio, const QString& codiceConto) {
    return trasponi<RiportoPrecedenteVecchio, RiportoPrecedente>(
        vecchio, [&codiceConto](const DescrizioneCampo& c, QByteArray& campo) {
            if (c.nome != "codiceConto") return;
            // The old eight characters, widened: the whole code when they are its start.
            const QString letto = textField(campo);
            const QString codice = codiceConto.trimmed();
            if (!letto.isEmpty() && withoutTrailingBlanks(codice.left(8)) == letto)
                campo = toCp1252(codice, c.larghezza);
        });
}

QByteArray convertiRiporto(QByteArrayView vecchio) {
    return trasponi<RiportoVecchio, Riporto>(vecchio);
}

} // namespace qv
