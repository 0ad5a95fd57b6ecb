#pragma once
// The table of fields of every record of common/records.h: name, offset, width and kind
// of each field, in the order of the bytes on disk. fromBytes and toBytes walk these
// tables (common/field_table.h); nothing else lists the fields.

#include "common/field_table.h"
#include "common/records.h"

namespace qv {

template <> struct Layout<Impostazioni> {
    using R = Impostazioni;
    static constexpr auto fields = std::array{
        field<&R::percorsoDati>("percorsoDati", 0, 35),
        field<&R::contoAvvio>("contoAvvio", 35, 12),
        field<&R::valutaPredefinita>("valutaPredefinita", 47, 25),
        field<&R::numeroDecimali>("numeroDecimali", 72, 2),
        field<&R::nomeUtente>("nomeUtente", 74, 30),
        field<&R::passwordUtente>("passwordUtente", 104, 10),
        field<&R::accessoConPassword>("accessoConPassword", 114, 2),
    };
};

template <> struct Layout<Valuta> {
    using R = Valuta;
    static constexpr auto fields = std::array{
        field<&R::numero>("numero", 0, 2),
        field<&R::nomeValuta>("nomeValuta", 2, 25),
        field<&R::cambio>("cambio", 27, 8),
        field<&R::paese>("paese", 35, 25),
    };
};

template <> struct Layout<Colori> {
    using R = Colori;
    static constexpr auto fields = std::array{
        field<&R::coloreSfondo>("coloreSfondo", 0, 8),
        field<&R::coloreCarattere>("coloreCarattere", 8, 8),
        field<&R::coloriPredefiniti>("coloriPredefiniti", 16, 1),
        field<&R::riservato>("riservato", 17, 1),
    };
};

template <> struct Layout<Contatore> {
    using R = Contatore;
    static constexpr auto fields = std::array{
        field<&R::valore>("valore", 0, 2),
    };
};

template <> struct Layout<Conto> {
    using R = Conto;
    static constexpr auto fields = std::array{
        field<&R::numero>("numero", 0, 2),
        field<&R::codiceConto>("codiceConto", 2, 12),
        field<&R::tipoConto>("tipoConto", 14, 30),
        field<&R::nomeBanca>("nomeBanca", 44, 45),
        field<&R::indirizzo>("indirizzo", 89, 45),
        field<&R::cap>("cap", 134, 5),
        field<&R::localita>("localita", 139, 25),
        field<&R::provincia>("provincia", 164, 2),
        field<&R::fido>("fido", 166, 8),
        field<&R::riservato>("riservato", 174, 1),
        field<&R::codiceAbi>("codiceAbi", 175, 10),
        field<&R::codiceCab>("codiceCab", 185, 10),
        field<&R::idBanca>("idBanca", 195, 10),
    };
};

template <> struct Layout<VoceCausale> {
    using R = VoceCausale;
    static constexpr auto fields = std::array{
        field<&R::numero>("numero", 0, 2),
        field<&R::codiceCausale>("codiceCausale", 2, 5),
        field<&R::descrizione>("descrizione", 7, 25),
        field<&R::sospeso>("sospeso", 32, 1),
        field<&R::entrataUscita>("entrataUscita", 33, 1),
        field<&R::soggettoCosto>("soggettoCosto", 34, 1),
    };
};

template <> struct Layout<Movimento> {
    using R = Movimento;
    static constexpr auto fields = std::array{
        field<&R::numero>("numero", 0, 2),
        field<&R::dataOperazione>("dataOperazione", 2, 10, FieldKind::Date),
        field<&R::dataValuta>("dataValuta", 12, 10, FieldKind::Date),
        field<&R::codiceCausale>("codiceCausale", 22, 5),
        field<&R::importo>("importo", 27, 8),
        field<&R::numeroDocumento>("numeroDocumento", 35, 8),
        field<&R::descrizione>("descrizione", 43, 30),
        field<&R::sospeso>("sospeso", 73, 1),
        field<&R::entrataUscita>("entrataUscita", 74, 1),
        field<&R::annullato>("annullato", 75, 1),
    };
};

template <> struct Layout<TotaliConto> {
    using R = TotaliConto;
    static constexpr auto fields = std::array{
        field<&R::saldoNonSospesi>("saldoNonSospesi", 0, 8),
        field<&R::saldoValutaOggi>("saldoValutaOggi", 8, 8),
        field<&R::saldoOperazioneOggi>("saldoOperazioneOggi", 16, 8),
        field<&R::saldoContabile>("saldoContabile", 24, 8),
        field<&R::primaDataOperazione>("primaDataOperazione", 32, 10, FieldKind::Date),
        field<&R::ultimaDataOperazione>("ultimaDataOperazione", 42, 10, FieldKind::Date),
        field<&R::primaDataValuta>("primaDataValuta", 52, 10, FieldKind::Date),
        field<&R::ultimaDataValuta>("ultimaDataValuta", 62, 10, FieldKind::Date),
    };
};

template <> struct Layout<CarnetAssegni> {
    using R = CarnetAssegni;
    static constexpr auto fields = std::array{
        field<&R::movimentoCosto>("movimentoCosto", 0, 2),
        field<&R::numeroCarnet>("numeroCarnet", 2, 2),
        field<&R::dataRitiro>("dataRitiro", 4, 10, FieldKind::Date),
        field<&R::costo>("costo", 14, 8),
        field<&R::primoAssegno>("primoAssegno", 22, 4),
        field<&R::ultimoAssegno>("ultimoAssegno", 26, 4),
        field<&R::esaurito>("esaurito", 30, 1),
        field<&R::fogliDaAllineare>("fogliDaAllineare", 31, 2),
        field<&R::allineato>("allineato", 33, 1),
        field<&R::riservato>("riservato", 34, 2),
    };
};

// traenteNullo is no field: it says how the payee's bytes were (FoglioAssegno).
template <> struct Layout<FoglioAssegno> {
    using R = FoglioAssegno;
    static constexpr auto fields = std::array{
        field<&R::movimento>("movimento", 0, 2),
        field<&R::progressivo>("progressivo", 2, 2),
        field<&R::numeroCarnet>("numeroCarnet", 4, 2),
        field<&R::numeroAssegno>("numeroAssegno", 6, 4),
        field<&R::dataAssegno>("dataAssegno", 10, 10, FieldKind::Date),
        field<&R::importo>("importo", 20, 8),
        field<&R::traenteAssegno>("traenteAssegno", 28, 30),
        field<&R::noteAssegno>("noteAssegno", 58, 30),
        field<&R::allineato>("allineato", 88, 1),
        field<&R::riservato>("riservato", 89, 1),
        field<&R::annullato>("annullato", 90, 1),
    };
};

template <> struct Layout<InteressiCreditori> {
    using R = InteressiCreditori;
    static constexpr auto fields =
        join(elements<&R::dataDecorrenza, 1, 5>("dataDecorrenza", 0, 10, FieldKind::Date),
             elements<&R::tasso, 1, 5>("tasso", 50, 4));
};

template <> struct Layout<InteressiDebitori> {
    using R = InteressiDebitori;
    static constexpr auto fields =
        join(elements<&R::dataDecorrenza, 1, 5>("dataDecorrenza", 0, 10, FieldKind::Date),
             elements<&R::tassoEntroFido, 1, 5>("tassoEntroFido", 50, 4),
             elements<&R::tassoFuoriFido, 1, 5>("tassoFuoriFido", 70, 4));
};

template <> struct Layout<Opzioni> {
    using R = Opzioni;
    static constexpr auto fields = std::array{
        field<&R::periodicitaChiusura>("periodicitaChiusura", 0, 1),
        field<&R::minimoMovimenti>("minimoMovimenti", 1, 2),
        field<&R::indirizzoInternet>("indirizzoInternet", 3, 100),
        field<&R::baseGiorniDebitori>("baseGiorniDebitori", 103, 1),
        field<&R::baseGiorniCreditori>("baseGiorniCreditori", 104, 1),
        field<&R::codiceDivisore>("codiceDivisore", 105, 2),
    };
};

template <> struct Layout<OneriPassivi> {
    using R = OneriPassivi;
    static constexpr auto fields = std::array{
        field<&R::aliquotaEccedenza>("aliquotaEccedenza", 0, 4),
        field<&R::aliquotaMassimoScoperto>("aliquotaMassimoScoperto", 4, 4),
        field<&R::ritenutaFiscale>("ritenutaFiscale", 8, 4),
        field<&R::aliquotaLibera1>("aliquotaLibera1", 12, 4),
        field<&R::aliquotaLibera2>("aliquotaLibera2", 16, 4),
        field<&R::aliquotaScopertoFuoriFido>("aliquotaScopertoFuoriFido", 20, 4),
        field<&R::aliquotaScopertoFuoriFidoGiorni>("aliquotaScopertoFuoriFidoGiorni", 24, 4),
        field<&R::descrizioneLibera1>("descrizioneLibera1", 28, 25),
        field<&R::descrizioneLibera2>("descrizioneLibera2", 53, 25),
        field<&R::baseLibera1>("baseLibera1", 78, 1),
        field<&R::baseLibera2>("baseLibera2", 79, 1),
    };
};

template <> struct Layout<SpeseVarie> {
    using R = SpeseVarie;
    static constexpr auto fields =
        join(elements<&R::importoSpesa, 0, 7>("importoSpesa", 0, 8),
             elements<&R::addebitoTrimestrale, 0, 7>("addebitoTrimestrale", 56, 1),
             std::array{field<&R::descrizioneSpesa1>("descrizioneSpesa1", 63, 25),
                        field<&R::descrizioneSpesa2>("descrizioneSpesa2", 88, 25)});
};

template <> struct Layout<Riporto> {
    using R = Riporto;
    static constexpr auto fields = std::array{
        field<&R::dataRiporto>("dataRiporto", 0, 10, FieldKind::Date),
        field<&R::saldoRiporto>("saldoRiporto", 10, 8),
    };
};

template <> struct Layout<RiportoPrecedente> {
    using R = RiportoPrecedente;
    static constexpr auto fields = std::array{
        field<&R::dataRiporto>("dataRiporto", 0, 10, FieldKind::Date),
        field<&R::saldoRiporto>("saldoRiporto", 10, 8),
        field<&R::codiceConto>("codiceConto", 18, 12),
    };
};

} // namespace qv
