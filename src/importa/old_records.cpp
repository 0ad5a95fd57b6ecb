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
QByteArray rawField(QByteArrayView record, const FieldInfo& c) {
    QByteArray out(c.width, '\0');
    const qsizetype present = std::clamp<qsizetype>(record.size() - c.offset, 0, c.width);
    if (present > 0) std::memcpy(out.data(), record.data() + c.offset, size_t(present));
    return out;
}

// The name of the old field that a current field comes from: the same name.
struct SameName {
    constexpr std::string_view operator()(std::string_view name) const { return name; }
};

// For each field of the current layout New, the index of the field of the old layout
// Old that it comes from (same name by `origin`, same element), or -1 for a field
// the old layout lacks. Only a text may be new; a field and its origin must have the
// same kind and width, but for a date (eight characters, now ten) and a text, which may
// be widened. A pairing that breaks these rules does not compile.
template <class Old, class New, class Origin = SameName>
constexpr auto pairFields(Origin origin = {}) {
    const auto& oldFields = Layout<Old>::fields;
    const auto& newFields = Layout<New>::fields;
    std::array<int, std::tuple_size_v<std::remove_cvref_t<decltype(newFields)>>> from{};
    for (std::size_t i = 0; i < newFields.size(); ++i) {
        const FieldInfo& n = newFields[i];
        from[i] = -1;
        for (std::size_t j = 0; j < oldFields.size(); ++j)
            if (oldFields[j].name == origin(n.name) && oldFields[j].index == n.index)
                from[i] = int(j);
        if (from[i] < 0) {
            if (n.kind != FieldKind::Text) throw "only a text may be new in a layout";
            continue;
        }
        const FieldInfo& v = oldFields[std::size_t(from[i])];
        const bool date =
            v.kind == FieldKind::Date && n.kind == FieldKind::Date && v.width == 8 && n.width == 10;
        const bool same = v.kind == n.kind && v.kind != FieldKind::Date &&
                          (v.width == n.width || v.kind == FieldKind::Text);
        if (!date && !same) throw "a field does not fit the old field it comes from";
    }
    return from;
}

// No field wants a rule of its own.
struct NoRule {
    void operator()(const FieldInfo&, QByteArray&) const {}
};

// Copies an old record into the current layout, walking the current table: each field
// gets the bytes of the old field it comes from (`from`, from pairFields) as they are, a
// date widened by the date rule, a text widened by `allarga`; a new field is blank.
// `rule` may then change the bytes of a field.
template <class Old, class New, std::size_t N, class Rule = NoRule>
QByteArray transposeWith(QByteArrayView old, const std::array<int, N>& from, Rule rule = {}) {
    static_assert(coversExactly(Layout<Old>::fields, Old::Lunghezza));
    static_assert(coversExactly(Layout<New>::fields, New::Lunghezza));
    QByteArray out;
    out.reserve(New::Lunghezza);
    for (std::size_t i = 0; i < N; ++i) {
        const FieldInfo& n = Layout<New>::fields[i];
        QByteArray value;
        if (from[i] < 0) {
            value = QByteArray(n.width, ' ');
        } else {
            const QByteArray bytes = rawField(old, Layout<Old>::fields[size_t(from[i])]);
            if (n.kind == FieldKind::Date)
                value = dataNuova(bytes, n.width);
            else if (bytes.size() == n.width)
                value = bytes;
            else
                value = allarga(bytes, n.width);
        }
        rule(n, value);
        out.append(value);
    }
    Q_ASSERT(out.size() == New::Lunghezza);
    return out;
}

// The same, each field from the old field of its own name.
template <class Old, class New> constexpr auto kSameNames = pairFields<Old, New>();
template <class Old, class New, class Rule = NoRule>
QByteArray transpose(QByteArrayView old, Rule rule = {}) {
    return transposeWith<Old, New>(old, kSameNames<Old, New>, rule);
}

} // namespace

// --- Old layouts ---

ContoVecchio ContoVecchio::fromBytes(QByteArrayView bytes) {
    return readFields<ContoVecchio>(bytes);
}

MarcaConversione MarcaConversione::fromBytes(QByteArrayView bytes) {
    return readFields<MarcaConversione>(bytes);
}

QByteArray MarcaConversione::toBytes() const {
    return writeFields(*this);
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
    return transpose<ContoVecchio, Conto>(vecchio);
}

QByteArray convertiMovimento(QByteArrayView vecchio) {
    return transpose<MovimentoVecchio, Movimento>(vecchio);
}

QByteArray convertiTotali(QByteArrayView vecchio, const QString& oggi) {
    return transpose<TotaliVecchi, TotaliConto>(
        vecchio, [&oggi](const FieldInfo& c, QByteArray& bytes) {
            if (c.kind == FieldKind::Date && valoreNumerico(fromCp1252(bytes)) == 0)
                bytes = toCp1252(oggi, c.width);
        });
}

QByteArray convertiCarnet(QByteArrayView vecchio) {
    return transpose<CarnetVecchio, CarnetAssegni>(vecchio);
}

QByteArray convertiFoglio(QByteArrayView vecchio) {
    return transpose<FoglioAssegnoVecchio, FoglioAssegno>(vecchio);
}

QByteArray convertiInteressiCreditori(QByteArrayView vecchio) {
    return transpose<InteressiVecchi, InteressiCreditori>(vecchio);
}

QByteArray convertiInteressiDebitori(QByteArrayView vecchio) {
    // The old rate of each period, within and beyond the credit line.
    static constexpr auto from =
        pairFields<InteressiVecchi, InteressiDebitori>([](std::string_view name) {
            return name == "tassoEntroFido" || name == "tassoFuoriFido" ? std::string_view("tasso")
                                                                        : name;
        });
    return transposeWith<InteressiVecchi, InteressiDebitori>(vecchio, from);
}

QByteArray convertiRiportoPrecedente(QByteArrayView vecchio, const QString& codiceConto) {
    return transpose<RiportoPrecedenteVecchio, RiportoPrecedente>(
        vecchio, [&codiceConto](const FieldInfo& c, QByteArray& bytes) {
            if (c.name != "codiceConto") return;
            // The old eight characters, widened: the whole code when they are its start.
            const QString letto = textField(bytes);
            const QString codice = codiceConto.trimmed();
            if (!letto.isEmpty() && withoutTrailingBlanks(codice.left(8)) == letto)
                bytes = toCp1252(codice, c.width);
        });
}

QByteArray convertiRiporto(QByteArrayView vecchio) {
    return transpose<RiportoVecchio, Riporto>(vecchio);
}

} // namespace qv
