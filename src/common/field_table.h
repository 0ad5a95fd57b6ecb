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

enum class TipoCampo {
    Testo,   // Windows-1252 text of the field's width
    Data,    // a date as text, "DD/MM/YYYY" (the old layouts: "DD/MM/YY")
    Intero,  // 16-bit integer
    Lungo,   // 32-bit integer
    Singolo, // IEEE single precision
    Doppio,  // IEEE double precision
    Byte,    // bytes kept exactly as read
};

// The width that a kind always has; 0 for the kinds of any width.
constexpr int larghezzaDelTipo(TipoCampo tipo) {
    switch (tipo) {
    case TipoCampo::Intero:
        return 2;
    case TipoCampo::Lungo:
    case TipoCampo::Singolo:
        return 4;
    case TipoCampo::Doppio:
        return 8;
    default:
        return 0;
    }
}

constexpr bool eTesto(TipoCampo tipo) {
    return tipo == TipoCampo::Testo || tipo == TipoCampo::Data;
}

// A field as the table describes it. `indice` is the element of an array member
// (dataDecorrenza(1) to (5)), -1 for a plain member.
struct DescrizioneCampo {
    std::string_view nome;
    int inizio = 0;
    int larghezza = 0;
    TipoCampo tipo = TipoCampo::Testo;
    int indice = -1;
};

// A field of record R: its description and how its value is read into and written from
// the record.
template <class R> struct Campo : DescrizioneCampo {
    void (*leggi)(R& record, FieldReader& in, int larghezza) = nullptr;
    void (*scrivi)(const R& record, FieldWriter& out, int larghezza) = nullptr;
};

// The table of record R: a specialisation with `static constexpr auto campi`, an
// std::array of Campo<R> (or of DescrizioneCampo for a layout that is only copied).
template <class R> struct Tracciato;

// Whether the fields follow one another from offset 0 and end at `lunghezza`, each
// number with the width of its kind and each field at least one byte wide.
template <class Campi> constexpr bool copreEsattamente(const Campi& campi, int lunghezza) {
    int fine = 0;
    for (const DescrizioneCampo& c : campi) {
        const int fissa = larghezzaDelTipo(c.tipo);
        if (c.inizio != fine || c.larghezza <= 0 || (fissa != 0 && c.larghezza != fissa))
            return false;
        fine += c.larghezza;
    }
    return fine == lunghezza;
}

// The field named `nome` (the first element, for an array).
template <class Campi>
constexpr DescrizioneCampo campoDi(const Campi& campi, std::string_view nome) {
    for (const DescrizioneCampo& c : campi)
        if (c.nome == nome) return c;
    return {};
}

namespace dettaglio {

// The value of each kind, read and written.
inline void leggiValore(FieldReader& in, int larghezza, QString& v) {
    v = in.text(larghezza);
}
inline void leggiValore(FieldReader& in, int, qint16& v) {
    v = in.int16();
}
inline void leggiValore(FieldReader& in, int, qint32& v) {
    v = in.int32();
}
inline void leggiValore(FieldReader& in, int, float& v) {
    v = in.single();
}
inline void leggiValore(FieldReader& in, int, double& v) {
    v = in.real();
}
inline void leggiValore(FieldReader& in, int larghezza, QByteArray& v) {
    v = in.raw(larghezza);
}

inline void scriviValore(FieldWriter& out, int larghezza, const QString& v) {
    out.text(v, larghezza);
}
inline void scriviValore(FieldWriter& out, int, qint16 v) {
    out.int16(v);
}
inline void scriviValore(FieldWriter& out, int, qint32 v) {
    out.int32(v);
}
inline void scriviValore(FieldWriter& out, int, float v) {
    out.single(v);
}
inline void scriviValore(FieldWriter& out, int, double v) {
    out.real(v);
}
inline void scriviValore(FieldWriter& out, int larghezza, const QByteArray& v) {
    out.raw(v, larghezza);
}

// The kind a member of type T has unless the table says otherwise.
template <class T> constexpr TipoCampo tipoDi() {
    if constexpr (std::is_same_v<T, QString>)
        return TipoCampo::Testo;
    else if constexpr (std::is_same_v<T, qint16>)
        return TipoCampo::Intero;
    else if constexpr (std::is_same_v<T, qint32>)
        return TipoCampo::Lungo;
    else if constexpr (std::is_same_v<T, float>)
        return TipoCampo::Singolo;
    else if constexpr (std::is_same_v<T, double>)
        return TipoCampo::Doppio;
    else {
        static_assert(std::is_same_v<T, QByteArray>, "a field is text, number or bytes");
        return TipoCampo::Byte;
    }
}

// Member M of its record, and element I of an array member M.
template <auto M> struct Membro;
template <class R, class T, T R::*M> struct Membro<M> {
    using Record = R;
    using Valore = T;
    template <class Q> static auto& di(Q& r) { return r.*M; }
};
template <auto M, std::size_t I> struct Elemento;
template <class R, class T, std::size_t N, std::array<T, N> R::*M, std::size_t I>
struct Elemento<M, I> {
    static_assert(I < N);
    using Record = R;
    using Valore = T;
    template <class Q> static auto& di(Q& r) { return (r.*M)[I]; }
};

template <class A> void leggiCon(typename A::Record& r, FieldReader& in, int larghezza) {
    leggiValore(in, larghezza, A::di(r));
}
template <class A> void scriviCon(const typename A::Record& r, FieldWriter& out, int larghezza) {
    scriviValore(out, larghezza, A::di(r));
}

template <class A>
constexpr Campo<typename A::Record> campoCon(std::string_view nome, int inizio, int larghezza,
                                             TipoCampo tipo, int indice) {
    Campo<typename A::Record> c;
    c.nome = nome;
    c.inizio = inizio;
    c.larghezza = larghezza;
    c.tipo = tipo;
    c.indice = indice;
    c.leggi = &leggiCon<A>;
    c.scrivi = &scriviCon<A>;
    return c;
}

// A date is a text; any other kind is the member's own. A table that gives a member
// another kind does not compile (a throw cannot be evaluated at compile time).
template <class T> constexpr void richiediTipo(TipoCampo tipo) {
    if (tipo != tipoDi<T>() && !(tipo == TipoCampo::Data && std::is_same_v<T, QString>))
        throw "the kind of a field does not fit its member";
}

} // namespace dettaglio

// The field of member M: campo<&Movimento::importo>("importo", 27, 8). A text member
// may be declared a date (TipoCampo::Data).
template <auto M>
constexpr auto campo(std::string_view nome, int inizio, int larghezza,
                     TipoCampo tipo = dettaglio::tipoDi<typename dettaglio::Membro<M>::Valore>()) {
    using A = dettaglio::Membro<M>;
    dettaglio::richiediTipo<typename A::Valore>(tipo);
    return dettaglio::campoCon<A>(nome, inizio, larghezza, tipo, -1);
}

// Elements Primo to Primo+Quanti-1 of array member M, each `larghezza` wide, the first
// at `inizio`.
template <auto M, std::size_t Primo, std::size_t Quanti>
constexpr auto
elementi(std::string_view nome, int inizio, int larghezza,
         TipoCampo tipo = dettaglio::tipoDi<typename dettaglio::Elemento<M, Primo>::Valore>()) {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        dettaglio::richiediTipo<typename dettaglio::Elemento<M, Primo>::Valore>(tipo);
        return std::array{dettaglio::campoCon<dettaglio::Elemento<M, Primo + I>>(
            nome, inizio + int(I) * larghezza, larghezza, tipo, int(Primo + I))...};
    }
    (std::make_index_sequence<Quanti>{});
}

// The descriptions of `Quanti` elements of an array, numbered from `primo`, for the
// layouts that are only copied.
template <std::size_t Quanti>
constexpr std::array<DescrizioneCampo, Quanti> serie(std::string_view nome, int inizio,
                                                     int larghezza, TipoCampo tipo, int primo) {
    std::array<DescrizioneCampo, Quanti> out{};
    for (std::size_t i = 0; i < Quanti; ++i)
        out[i] = {nome, inizio + int(i) * larghezza, larghezza, tipo, primo + int(i)};
    return out;
}

// Tables joined one after the other.
template <class T, std::size_t... N> constexpr auto unisci(const std::array<T, N>&... parti) {
    std::array<T, (N + ...)> out{};
    std::size_t k = 0;
    ((std::copy(parti.begin(), parti.end(), out.begin() + k), k += N), ...);
    return out;
}

// The reader and the writer of every record with a table.
template <class R> R leggiCampi(QByteArrayView bytes, TextBlock* block = nullptr) {
    static_assert(copreEsattamente(Tracciato<R>::campi, R::Lunghezza));
    FieldReader in(bytes, block);
    R r;
    // Unrolled over the table, so that each field's reading is known when compiling.
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        constexpr const auto& campi = Tracciato<R>::campi;
        (campi[I].leggi(r, in, campi[I].larghezza), ...);
    }(std::make_index_sequence<Tracciato<R>::campi.size()>{});
    return r;
}

template <class R> QByteArray scriviCampi(const R& r) {
    static_assert(copreEsattamente(Tracciato<R>::campi, R::Lunghezza));
    FieldWriter out(R::Lunghezza);
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        constexpr const auto& campi = Tracciato<R>::campi;
        (campi[I].scrivi(r, out, campi[I].larghezza), ...);
    }(std::make_index_sequence<Tracciato<R>::campi.size()>{});
    return out.bytes();
}

} // namespace qv
