#pragma once
// The tables of fields of the previous release's records (importa/old_records.h), as
// those of the current records (common/record_layouts.h). A field keeps the name of
// the current field it becomes; each date is a date of eight characters "DD/MM/YY".

#include "common/field_table.h"
#include "importa/old_records.h"

namespace qv {

template <> struct Layout<ContoVecchio> {
    using R = ContoVecchio;
    static constexpr auto fields = std::array{
        field<&R::numero>("numero", 0, 2),
        field<&R::codiceConto>("codiceConto", 2, 12),
        field<&R::tipoConto>("tipoConto", 14, 30),
        field<&R::nomeBanca>("nomeBanca", 44, 45),
        field<&R::indirizzo>("indirizzo", 89, 45),
        field<&R::cap>("cap", 134, 5),
        field<&R::localita>("localita", 139, 25),
        field<&R::provincia>("provincia", 164, 2),
        field<&R::riservato20>("riservato20", 166, 20),
        field<&R::fido>("fido", 186, 8),
        field<&R::riservato>("riservato", 194, 1),
    };
};

template <> struct Layout<MovimentoVecchio> {
    static constexpr auto fields = std::array<FieldInfo, 10>{{
        {"numero", 0, 2, FieldKind::Integer},
        {"dataOperazione", 2, 8, FieldKind::Date},
        {"dataValuta", 10, 8, FieldKind::Date},
        {"codiceCausale", 18, 5, FieldKind::Text},
        {"importo", 23, 8, FieldKind::Double},
        {"numeroDocumento", 31, 8, FieldKind::Text},
        {"descrizione", 39, 30, FieldKind::Text},
        {"sospeso", 69, 1, FieldKind::Text},
        {"entrataUscita", 70, 1, FieldKind::Text},
        {"annullato", 71, 1, FieldKind::Text},
    }};
};

template <> struct Layout<TotaliVecchi> {
    static constexpr auto fields = std::array<FieldInfo, 8>{{
        {"saldoNonSospesi", 0, 8, FieldKind::Double},
        {"saldoValutaOggi", 8, 8, FieldKind::Double},
        {"saldoOperazioneOggi", 16, 8, FieldKind::Double},
        {"saldoContabile", 24, 8, FieldKind::Double},
        {"primaDataOperazione", 32, 8, FieldKind::Date},
        {"ultimaDataOperazione", 40, 8, FieldKind::Date},
        {"primaDataValuta", 48, 8, FieldKind::Date},
        {"ultimaDataValuta", 56, 8, FieldKind::Date},
    }};
};

template <> struct Layout<CarnetVecchio> {
    static constexpr auto fields = std::array<FieldInfo, 10>{{
        {"movimentoCosto", 0, 2, FieldKind::Integer},
        {"numeroCarnet", 2, 2, FieldKind::Integer},
        {"dataRitiro", 4, 8, FieldKind::Date},
        {"costo", 12, 8, FieldKind::Double},
        {"primoAssegno", 20, 4, FieldKind::Long},
        {"ultimoAssegno", 24, 4, FieldKind::Long},
        {"esaurito", 28, 1, FieldKind::Text},
        {"fogliDaAllineare", 29, 2, FieldKind::Integer},
        {"allineato", 31, 1, FieldKind::Text},
        {"riservato", 32, 2, FieldKind::Bytes},
    }};
};

template <> struct Layout<FoglioAssegnoVecchio> {
    static constexpr auto fields = std::array<FieldInfo, 11>{{
        {"movimento", 0, 2, FieldKind::Integer},
        {"progressivo", 2, 2, FieldKind::Integer},
        {"numeroCarnet", 4, 2, FieldKind::Integer},
        {"numeroAssegno", 6, 4, FieldKind::Long},
        {"dataAssegno", 10, 8, FieldKind::Date},
        {"importo", 18, 8, FieldKind::Double},
        {"traenteAssegno", 26, 30, FieldKind::Text},
        {"noteAssegno", 56, 30, FieldKind::Text},
        {"allineato", 86, 1, FieldKind::Text},
        {"riservato", 87, 1, FieldKind::Text},
        {"annullato", 88, 1, FieldKind::Text},
    }};
};

// Credit and debit rates alike: one rate a period.
template <> struct Layout<InteressiVecchi> {
    static constexpr auto fields = join(series<5>("dataDecorrenza", 0, 8, FieldKind::Date, 1),
                                        series<5>("tasso", 40, 4, FieldKind::Single, 1));
};

template <> struct Layout<RiportoPrecedenteVecchio> {
    static constexpr auto fields = std::array<FieldInfo, 3>{{
        {"dataRiporto", 0, 8, FieldKind::Date},
        {"saldoRiporto", 8, 8, FieldKind::Double},
        {"codiceConto", 16, 8, FieldKind::Text},
    }};
};

template <> struct Layout<RiportoVecchio> {
    static constexpr auto fields = std::array<FieldInfo, 2>{{
        {"dataRiporto", 0, 8, FieldKind::Date},
        {"saldoRiporto", 8, 8, FieldKind::Double},
    }};
};

// The marker of a converted folder is read and written, as the current records are.
template <> struct Layout<MarcaConversione> {
    using R = MarcaConversione;
    static constexpr auto fields = std::array{
        field<&R::dataConversione>("dataConversione", 0, 12),
        field<&R::riservato>("riservato", 12, 11),
        field<&R::convertito>("convertito", 23, 1),
        field<&R::riservato2>("riservato2", 24, 1),
    };
};

} // namespace qv
