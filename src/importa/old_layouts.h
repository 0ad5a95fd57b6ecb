#pragma once
// The tables of fields of the previous release's records (importa/old_records.h), as
// those of the current records (common/record_layouts.h). A field keeps the name of
// the current field it becomes; each date is a date of eight characters "DD/MM/YY".

#include "common/field_table.h"
#include "importa/old_records.h"

namespace qv {

template <> struct Tracciato<ContoVecchio> {
    using R = ContoVecchio;
    static constexpr auto campi = std::array{
        campo<&R::numero>("numero", 0, 2),
        campo<&R::codiceConto>("codiceConto", 2, 12),
        campo<&R::tipoConto>("tipoConto", 14, 30),
        campo<&R::nomeBanca>("nomeBanca", 44, 45),
        campo<&R::indirizzo>("indirizzo", 89, 45),
        campo<&R::cap>("cap", 134, 5),
        campo<&R::localita>("localita", 139, 25),
        campo<&R::provincia>("provincia", 164, 2),
        campo<&R::riservato20>("riservato20", 166, 20),
        campo<&R::fido>("fido", 186, 8),
        campo<&R::riservato>("riservato", 194, 1),
    };
};

template <> struct Tracciato<MovimentoVecchio> {
    static constexpr auto campi = std::array<DescrizioneCampo, 10>{{
        {"numero", 0, 2, TipoCampo::Intero},
        {"dataOperazione", 2, 8, TipoCampo::Data},
        {"dataValuta", 10, 8, TipoCampo::Data},
        {"codiceCausale", 18, 5, TipoCampo::Testo},
        {"importo", 23, 8, TipoCampo::Doppio},
        {"numeroDocumento", 31, 8, TipoCampo::Testo},
        {"descrizione", 39, 30, TipoCampo::Testo},
        {"sospeso", 69, 1, TipoCampo::Testo},
        {"entrataUscita", 70, 1, TipoCampo::Testo},
        {"annullato", 71, 1, TipoCampo::Testo},
    }};
};

template <> struct Tracciato<TotaliVecchi> {
    static constexpr auto campi = std::array<DescrizioneCampo, 8>{{
        {"saldoNonSospesi", 0, 8, TipoCampo::Doppio},
        {"saldoValutaOggi", 8, 8, TipoCampo::Doppio},
        {"saldoOperazioneOggi", 16, 8, TipoCampo::Doppio},
        {"saldoContabile", 24, 8, TipoCampo::Doppio},
        {"primaDataOperazione", 32, 8, TipoCampo::Data},
        {"ultimaDataOperazione", 40, 8, TipoCampo::Data},
        {"primaDataValuta", 48, 8, TipoCampo::Data},
        {"ultimaDataValuta", 56, 8, TipoCampo::Data},
    }};
};

template <> struct Tracciato<CarnetVecchio> {
    static constexpr auto campi = std::array<DescrizioneCampo, 10>{{
        {"movimentoCosto", 0, 2, TipoCampo::Intero},
        {"numeroCarnet", 2, 2, TipoCampo::Intero},
        {"dataRitiro", 4, 8, TipoCampo::Data},
        {"costo", 12, 8, TipoCampo::Doppio},
        {"primoAssegno", 20, 4, TipoCampo::Lungo},
        {"ultimoAssegno", 24, 4, TipoCampo::Lungo},
        {"esaurito", 28, 1, TipoCampo::Testo},
        {"fogliDaAllineare", 29, 2, TipoCampo::Intero},
        {"allineato", 31, 1, TipoCampo::Testo},
        {"riservato", 32, 2, TipoCampo::Byte},
    }};
};

template <> struct Tracciato<FoglioAssegnoVecchio> {
    static constexpr auto campi = std::array<DescrizioneCampo, 11>{{
        {"movimento", 0, 2, TipoCampo::Intero},
        {"progressivo", 2, 2, TipoCampo::Intero},
        {"numeroCarnet", 4, 2, TipoCampo::Intero},
        {"numeroAssegno", 6, 4, TipoCampo::Lungo},
        {"dataAssegno", 10, 8, TipoCampo::Data},
        {"importo", 18, 8, TipoCampo::Doppio},
        {"traenteAssegno", 26, 30, TipoCampo::Testo},
        {"noteAssegno", 56, 30, TipoCampo::Testo},
        {"allineato", 86, 1, TipoCampo::Testo},
        {"riservato", 87, 1, TipoCampo::Testo},
        {"annullato", 88, 1, TipoCampo::Testo},
    }};
};

// Credit and debit rates alike: one rate a period.
template <> struct Tracciato<InteressiVecchi> {
    static constexpr auto campi = unisci(serie<5>("dataDecorrenza", 0, 8, TipoCampo::Data, 1),
                                         serie<5>("tasso", 40, 4, TipoCampo::Singolo, 1));
};

template <> struct Tracciato<RiportoPrecedenteVecchio> {
    static constexpr auto campi = std::array<DescrizioneCampo, 3>{{
        {"dataRiporto", 0, 8, TipoCampo::Data},
        {"saldoRiporto", 8, 8, TipoCampo::Doppio},
        {"codiceConto", 16, 8, TipoCampo::Testo},
    }};
};

template <> struct Tracciato<RiportoVecchio> {
    static constexpr auto campi = std::array<DescrizioneCampo, 2>{{
        {"dataRiporto", 0, 8, TipoCampo::Data},
        {"saldoRiporto", 8, 8, TipoCampo::Doppio},
    }};
};

// The marker of a converted folder is read and written, as the current records are.
template <> struct Tracciato<MarcaConversione> {
    using R = MarcaConversione;
    static constexpr auto campi = std::array{
        campo<&R::dataConversione>("dataConversione", 0, 12),
        campo<&R::riservato>("riservato", 12, 11),
        campo<&R::convertito>("convertito", 23, 1),
        campo<&R::riservato2>("riservato2", 24, 1),
    };
};

} // namespace qv
