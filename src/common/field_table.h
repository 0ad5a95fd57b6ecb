#pragma once
// A record layout as one table of fields: each field's name, offset, width and kind,
// and which member of the record it holds. The one reader and the one writer below
// walk the table, so every layout is written down once. A table must cover its
// record exactly, field after field with no gap and no overlap, and each number
// must have the width of its kind: the reader and the writer refuse to build a
// table that does not (static_assert).

#include "common/text_codec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <type_traits>
#include <utility>

namespace qv {

enum class FieldKind {
    Text,    // Windows-1252 text of the field's width
    Date,    // a date as text, "DD/MM/YYYY" (the old layouts: "DD/MM/YY")
    Integer, // 16-bit integer
    Long,    // 32-bit integer
    Single,  // IEEE single precision
    Double,  // IEEE double precision
    Bytes,   // bytes kept exactly as read
};

// The width that a kind always has; 0 for the kinds of any width.
constexpr int kindWidth(FieldKind kind) {
    switch (kind) {
    case FieldKind::Integer:
        return 2;
    case FieldKind::Long:
    case FieldKind::Single:
        return 4;
    case FieldKind::Double:
        return 8;
    default:
        return 0;
    }
}

constexpr bool isText(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::Date;
}

// A field as the table describes it. `index` is the element of an array member
// (dataDecorrenza(1) to (5)), -1 for a plain member.
struct FieldInfo {
    std::string_view name;
    int offset = 0;
    int width = 0;
    FieldKind kind = FieldKind::Text;
    int index = -1;
};

// A field of record R: its description and how its value is read into and written from
// the record.
template <class R> struct Field : FieldInfo {
    void (*read)(R& record, FieldReader& in, int width) = nullptr;
    void (*write)(const R& record, FieldWriter& out, int width) = nullptr;
};

// The table of record R: a specialisation with `static constexpr auto fields`, an
// std::array of Field<R> (or of FieldInfo for a layout that is only copied).
template <class R> struct Layout;

// Whether the fields follow one another from offset 0 and end at `length`, each
// number with the width of its kind and each field at least one byte wide.
template <class Fields> constexpr bool coversExactly(const Fields& fields, int length) {
    int end = 0;
    for (const FieldInfo& f : fields) {
        const int fixed = kindWidth(f.kind);
        if (f.offset != end || f.width <= 0 || (fixed != 0 && f.width != fixed)) return false;
        end += f.width;
    }
    return end == length;
}

// The field named `name` (the first element, for an array).
template <class Fields>
constexpr FieldInfo fieldNamed(const Fields& fields, std::string_view name) {
    for (const FieldInfo& f : fields)
        if (f.name == name) return f;
    return {};
}

namespace detail {

// The value of each kind, read and written.
inline void readValue(FieldReader& in, int width, QString& v) {
    v = in.text(width);
}
inline void readValue(FieldReader& in, int, qint16& v) {
    v = in.int16();
}
inline void readValue(FieldReader& in, int, qint32& v) {
    v = in.int32();
}
inline void readValue(FieldReader& in, int, float& v) {
    v = in.single();
}
inline void readValue(FieldReader& in, int, double& v) {
    v = in.real();
}
inline void readValue(FieldReader& in, int width, QByteArray& v) {
    v = in.raw(width);
}

inline void writeValue(FieldWriter& out, int width, const QString& v) {
    out.text(v, width);
}
inline void writeValue(FieldWriter& out, int, qint16 v) {
    out.int16(v);
}
inline void writeValue(FieldWriter& out, int, qint32 v) {
    out.int32(v);
}
inline void writeValue(FieldWriter& out, int, float v) {
    out.single(v);
}
inline void writeValue(FieldWriter& out, int, double v) {
    out.real(v);
}
inline void writeValue(FieldWriter& out, int width, const QByteArray& v) {
    out.raw(v, width);
}

// The kind a member of type T has unless the table says otherwise.
template <class T> constexpr FieldKind kindOf() {
    if constexpr (std::is_same_v<T, QString>)
        return FieldKind::Text;
    else if constexpr (std::is_same_v<T, qint16>)
        return FieldKind::Integer;
    else if constexpr (std::is_same_v<T, qint32>)
        return FieldKind::Long;
    else if constexpr (std::is_same_v<T, float>)
        return FieldKind::Single;
    else if constexpr (std::is_same_v<T, double>)
        return FieldKind::Double;
    else {
        static_assert(std::is_same_v<T, QByteArray>, "a field is text, number or bytes");
        return FieldKind::Bytes;
    }
}

// Member M of its record, and element I of an array member M.
template <auto M> struct Member;
template <class R, class T, T R::*M> struct Member<M> {
    using Record = R;
    using Value = T;
    template <class Q> static auto& of(Q& r) { return r.*M; }
};
template <auto M, std::size_t I> struct Element;
template <class R, class T, std::size_t N, std::array<T, N> R::*M, std::size_t I>
struct Element<M, I> {
    static_assert(I < N);
    using Record = R;
    using Value = T;
    template <class Q> static auto& of(Q& r) { return (r.*M)[I]; }
};

template <class A> void readWith(typename A::Record& r, FieldReader& in, int width) {
    readValue(in, width, A::of(r));
}
template <class A> void writeWith(const typename A::Record& r, FieldWriter& out, int width) {
    writeValue(out, width, A::of(r));
}

template <class A>
constexpr Field<typename A::Record> makeField(std::string_view name, int offset, int width,
                                              FieldKind kind, int index) {
    Field<typename A::Record> c;
    c.name = name;
    c.offset = offset;
    c.width = width;
    c.kind = kind;
    c.index = index;
    c.read = &readWith<A>;
    c.write = &writeWith<A>;
    return c;
}

// A date is a text; any other kind is the member's own. A table that gives a member
// another kind does not compile (a throw cannot be evaluated at compile time).
template <class T> constexpr void requireKind(FieldKind kind) {
    if (kind != kindOf<T>() && !(kind == FieldKind::Date && std::is_same_v<T, QString>))
        throw "the kind of a field does not fit its member";
}

} // namespace detail

// The field of member M: field<&Movimento::importo>("importo", 27, 8). A text member
// may be declared a date (FieldKind::Date).
template <auto M>
constexpr auto field(std::string_view name, int offset, int width,
                     FieldKind kind = detail::kindOf<typename detail::Member<M>::Value>()) {
    using A = detail::Member<M>;
    detail::requireKind<typename A::Value>(kind);
    return detail::makeField<A>(name, offset, width, kind, -1);
}

// Elements First to First+Count-1 of array member M, each `width` wide, the first
// at `offset`.
template <auto M, std::size_t First, std::size_t Count>
constexpr auto
elements(std::string_view name, int offset, int width,
         FieldKind kind = detail::kindOf<typename detail::Element<M, First>::Value>()) {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        detail::requireKind<typename detail::Element<M, First>::Value>(kind);
        return std::array{detail::makeField<detail::Element<M, First + I>>(
            name, offset + int(I) * width, width, kind, int(First + I))...};
    }
    (std::make_index_sequence<Count>{});
}

// The descriptions of `Count` elements of an array, numbered from `first`, for the
// layouts that are only copied.
template <std::size_t Count>
constexpr std::array<FieldInfo, Count> series(std::string_view name, int offset, int width,
                                              FieldKind kind, int first) {
    std::array<FieldInfo, Count> out{};
    for (std::size_t i = 0; i < Count; ++i)
        out[i] = {name, offset + int(i) * width, width, kind, first + int(i)};
    return out;
}

// Tables joined one after the other.
template <class T, std::size_t... N> constexpr auto join(const std::array<T, N>&... parts) {
    std::array<T, (N + ...)> out{};
    std::size_t k = 0;
    ((std::copy(parts.begin(), parts.end(), out.begin() + k), k += N), ...);
    return out;
}

// The reader and the writer of every record with a table.
template <class R> R readFields(QByteArrayView bytes, TextBlock* block = nullptr) {
    static_assert(coversExactly(Layout<R>::fields, R::Lunghezza));
    FieldReader in(bytes, block);
    R r;
    // Unrolled over the table, so that each field's reading is known when compiling.
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        constexpr const auto& fields = Layout<R>::fields;
        (fields[I].read(r, in, fields[I].width), ...);
    }
    (std::make_index_sequence<Layout<R>::fields.size()>{});
    return r;
}

template <class R> QByteArray writeFields(const R& r) {
    static_assert(coversExactly(Layout<R>::fields, R::Lunghezza));
    FieldWriter out(R::Lunghezza);
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        constexpr const auto& fields = Layout<R>::fields;
        (fields[I].write(r, out, fields[I].width), ...);
    }
    (std::make_index_sequence<Layout<R>::fields.size()>{});
    return out.bytes();
}

} // namespace qv
