#pragma once
// The table of fields of every record of common/records.h: name, offset, width and kind
// of each field, in the order of the bytes on disk. fromBytes and toBytes walk these
// tables (common/field_table.h); nothing else lists the fields.

#include "common/field_table.h"
#include "common/records.h"

namespace qv {

template <> struct Tracciato<Impostazioni> {
    using R = Impostazioni;
    static constexpr auto campi = std::array{
        campo<&R::percorsoDati>("percorsoDati", 0, 35),
        campo<&R::contoAvvio>("contoAvvio", 35, 12),
        campo<&R::valutaPredefinita>("valutaPredefinita", 47, 25),
        campo<&R::numeroDecimali>("numeroDecimali", 72, 2),
        campo<&R::nomeUtente>("nomeUtente", 74, 30),
        campo<&R::passwordUtente>("passwordUtente", 104, 10),
        campo<&R::accessoConPassword>("accessoConPassword", 114, 2),
    };
};

template <> struct Tracciato<Valuta> {
    using R = Valuta;
    static constexpr auto campi = std::array{
        campo<&R::numero>("numero", 0, 2),
        campo<&R::nomeValuta>("nomeValuta", 2, 25),
        campo<&R::cambio>("cambio", 27, 8),
        campo<&R::paese>("paese", 35, 25),
    };
};

template <> struct Tracciato<Colori> {
    using R = Colori;
    static constexpr auto campi = std::array{
        campo<&R::coloreSfondo>("coloreSfondo", 0, 8),
        campo<&R::coloreCarattere>("coloreCarattere", 8, 8),
        campo<&R::coloriPredefiniti>("coloriPredefiniti", 16, 1),
        campo<&R::riservato>("riservato", 17, 1),
    };
};

template <> struct Tracciato<Contatore> {
    using R = Contatore;
    static constexpr auto campi = std::array{
        campo<&R::valore>("valore", 0, 2),
    };
};

template <> struct Tracciato<Conto> {
    using R = Conto;
    static constexpr auto campi = std::array{
        campo<&R::numero>("numero", 0, 2),
        campo<&R::codiceConto>("codiceConto", 2, 12),
        campo<&R::tipoConto>("tipoConto", 14, 30),
        campo<&R::nomeBanca>("nomeBanca", 44, 45),
        campo<&R::indirizzo>("indirizzo", 89, 45),
        campo<&R::cap>("cap", 134, 5),
        campo<&R::localita>("localita", 139, 25),
        campo<&R::provincia>("provincia", 164, 2),
        campo<&R::fido>("fido", 166, 8),
        campo<&R::riservato>("riservato", 174, 1),
        campo<&R::codiceAbi>("codiceAbi", 175, 10),
        campo<&R::codiceCab>("codiceCab", 185, 10),
        campo<&R::idBanca>("idBanca", 195, 10),
    };
};

template <> struct Tracciato<VoceCausale> {
    using R = VoceCausale;
    static constexpr auto campi = std::array{
        campo<&R::numero>("numero", 0, 2),
        campo<&R::codiceCausale>("codiceCausale", 2, 5),
        campo<&R::descrizione>("descrizione", 7, 25),
        campo<&R::sospeso>("sospeso", 32, 1),
        campo<&R::entrataUscita>("entrataUscita", 33, 1),
        campo<&R::soggettoCosto>("soggettoCosto", 34, 1),
    };
};

template <> struct Tracciato<Movimento> {
    using R = Movimento;
    static constexpr auto campi = std::array{
        campo<&R::numero>("numero", 0, 2),
        campo<&R::dataOperazione>("dataOperazione", 2, 10, TipoCampo::Data),
        campo<&R::dataValuta>("dataValuta", 12, 10, TipoCampo::Data),
        campo<&R::codiceCausale>("codiceCausale", 22, 5),
        campo<&R::importo>("importo", 27, 8),
        campo<&R::numeroDocumento>("numeroDocumento", 35, 8),
        campo<&R::descrizione>("descrizione", 43, 30),
        campo<&R::sospeso>("sospeso", 73, 1),
        campo<&R::entrataUscita>("entrataUscita", 74, 1),
        campo<&R::annullato>("annullato", 75, 1),
    };
};

template <> struct Tracciato<TotaliConto> {
    using R = TotaliConto;
    static constexpr auto campi = std::array{
        campo<&R::saldoNonSospesi>("saldoNonSospesi", 0, 8),
        campo<&R::saldoValutaOggi>("saldoValutaOggi", 8, 8),
        campo<&R::saldoOperazioneOggi>("saldoOperazioneOggi", 16, 8),
        campo<&R::saldoContabile>("saldoContabile", 24, 8),
        campo<&R::primaDataOperazione>("primaDataOperazione", 32, 10, TipoCampo::Data),
        campo<&R::ultimaDataOperazione>("ultimaDataOperazione", 42, 10, TipoCampo::Data),
        campo<&R::primaDataValuta>("primaDataValuta", 52, 10, TipoCampo::Data),
        campo<&R::ultimaDataValuta>("ultimaDataValuta", 62, 10, TipoCampo::Data),
    };
};

template <> struct Tracciato<CarnetAssegni> {
    using R = CarnetAssegni;
    static constexpr auto campi = std::array{
        campo<&R::movimentoCosto>("movimentoCosto", 0, 2),
        campo<&R::numeroCarnet>("numeroCarnet", 2, 2),
        campo<&R::dataRitiro>("dataRitiro", 4, 10, TipoCampo::Data),
        campo<&R::costo>("costo", 14, 8),
        campo<&R::primoAssegno>("primoAssegno", 22, 4),
        campo<&R::ultimoAssegno>("ultimoAssegno", 26, 4),
        campo<&R::esaurito>("esaurito", 30, 1),
        campo<&R::fogliDaAllineare>("fogliDaAllineare", 31, 2),
        campo<&R::allineato>("allineato", 33, 1),
        campo<&R::riservato>("riservato", 34, 2),
    };
};

// traenteNullo is no field: it says how the payee's bytes were (FoglioAssegno).
template <> struct Tracciato<FoglioAssegno> {
    using R = FoglioAssegno;
    static constexpr auto campi = std::array{
        campo<&R::movimento>("movimento", 0, 2),
        campo<&R::progressivo>("progressivo", 2, 2),
        campo<&R::numeroCarnet>("numeroCarnet", 4, 2),
        campo<&R::numeroAssegno>("numeroAssegno", 6, 4),
        campo<&R::dataAssegno>("dataAssegno", 10, 10, TipoCampo::Data),
        campo<&R::importo>("importo", 20, 8),
        campo<&R::traenteAssegno>("traenteAssegno", 28, 30),
        campo<&R::noteAssegno>("noteAssegno", 58, 30),
        campo<&R::allineato>("allineato", 88, 1),
        campo<&R::riservato>("riservato", 89, 1),
        campo<&R::annullato>("annullato", 90, 1),
    };
};

template <> struct Tracciato<InteressiCreditori> {
    using R = InteressiCreditori;
    static constexpr auto campi =
        unisci(elementi<&R::dataDecorrenza, 1, 5>("dataDecorrenza", 0, 10, TipoCampo::Data),
               elementi<&R::tasso, 1, 5>("tasso", 50, 4));
};

template <> struct Tracciato<InteressiDebitori> {
    using R = InteressiDebitori;
    static constexpr auto campi =
        unisci(elementi<&R::dataDecorrenza, 1, 5>("dataDecorrenza", 0, 10, TipoCampo::Data),
               elementi<&R::tassoEntroFido, 1, 5>("tassoEntroFido", 50, 4),
               elementi<&R::tassoFuoriFido, 1, 5>("tassoFuoriFido", 70, 4));
};

template <> struct Tracciato<Opzioni> {
    using R = Opzioni;
    static constexpr auto campi = std::array{
        campo<&R::periodicitaChiusura>("periodicitaChiusura", 0, 1),
        campo<&R::minimoMovimenti>("minimoMovimenti", 1, 2),
        campo<&R::indirizzoInternet>("indirizzoInternet", 3, 100),
        campo<&R::baseGiorniDebitori>("baseGiorniDebitori", 103, 1),
        campo<&R::baseGiorniCreditori>("baseGiorniCreditori", 104, 1),
        campo<&R::codiceDivisore>("codiceDivisore", 105, 2),
    };
};

template <> struct Tracciato<OneriPassivi> {
    using R = OneriPassivi;
    static constexpr auto campi = std::array{
        campo<&R::aliquotaEccedenza>("aliquotaEccedenza", 0, 4),
        campo<&R::aliquotaMassimoScoperto>("aliquotaMassimoScoperto", 4, 4),
        campo<&R::ritenutaFiscale>("ritenutaFiscale", 8, 4),
        campo<&R::aliquotaLibera1>("aliquotaLibera1", 12, 4),
        campo<&R::aliquotaLibera2>("aliquotaLibera2", 16, 4),
        campo<&R::aliquotaScopertoFuoriFido>("aliquotaScopertoFuoriFido", 20, 4),
        campo<&R::aliquotaScopertoFuoriFidoGiorni>("aliquotaScopertoFuoriFidoGiorni", 24, 4),
        campo<&R::descrizioneLibera1>("descrizioneLibera1", 28, 25),
        campo<&R::descrizioneLibera2>("descrizioneLibera2", 53, 25),
        campo<&R::baseLibera1>("baseLibera1", 78, 1),
        campo<&R::baseLibera2>("baseLibera2", 79, 1),
    };
};

template <> struct Tracciato<SpeseVarie> {
    using R = SpeseVarie;
    static constexpr auto campi =
        unisci(elementi<&R::importoSpesa, 0, 7>("importoSpesa", 0, 8),
               elementi<&R::addebitoTrimestrale, 0, 7>("addebitoTrimestrale", 56, 1),
               std::array{campo<&R::descrizioneSpesa1>("descrizioneSpesa1", 63, 25),
                          campo<&R::descrizioneSpesa2>("descrizioneSpesa2", 88, 25)});
};

template <> struct Tracciato<Riporto> {
    using R = Riporto;
    static constexpr auto campi = std::array{
        campo<&R::dataRiporto>("dataRiporto", 0, 10, TipoCampo::Data),
        campo<&R::saldoRiporto>("saldoRiporto", 10, 8),
    };
};

template <> struct Tracciato<RiportoPrecedente> {
    using R = RiportoPrecedente;
    static constexpr auto campi = std::array{
        campo<&R::dataRiporto>("dataRiporto", 0, 10, TipoCampo::Data),
        campo<&R::saldoRiporto>("saldoRiporto", 10, 8),
        campo<&R::codiceConto>("codiceConto", 18, 12),
    };
};

} // namespace qv
