#include "common/records.h"

#include "common/text_codec.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qv {

// --- Impostazioni ---

Impostazioni Impostazioni::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    Impostazioni r;
    r.percorsoDati = in.text(35);
    r.contoAvvio = in.text(12);
    r.valutaPredefinita = in.text(25);
    r.numeroDecimali = in.int16();
    r.nomeUtente = in.text(30);
    r.passwordUtente = in.text(10);
    r.accessoConPassword = in.int16();
    return r;
}

QByteArray Impostazioni::toBytes() const {
    FieldWriter out(Lunghezza);
    out.text(percorsoDati, 35);
    out.text(contoAvvio, 12);
    out.text(valutaPredefinita, 25);
    out.int16(numeroDecimali);
    out.text(nomeUtente, 30);
    out.text(passwordUtente, 10);
    out.int16(accessoConPassword);
    return out.bytes();
}

// --- Valuta ---

Valuta Valuta::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    Valuta r;
    r.numero = in.int16();
    r.nomeValuta = in.text(25);
    r.cambio = in.real();
    r.paese = in.text(25);
    return r;
}

QByteArray Valuta::toBytes() const {
    FieldWriter out(Lunghezza);
    out.int16(numero);
    out.text(nomeValuta, 25);
    out.real(cambio);
    out.text(paese, 25);
    return out.bytes();
}

// --- Colori ---

Colori Colori::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    Colori r;
    r.coloreSfondo = in.real();
    r.coloreCarattere = in.real();
    r.coloriPredefiniti = in.text(1);
    r.riservato = in.raw(1);
    return r;
}

QByteArray Colori::toBytes() const {
    FieldWriter out(Lunghezza);
    out.real(coloreSfondo);
    out.real(coloreCarattere);
    out.text(coloriPredefiniti, 1);
    out.raw(riservato, 1);
    return out.bytes();
}

// --- Contatore ---

Contatore Contatore::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    return Contatore{in.int16()};
}

QByteArray Contatore::toBytes() const {
    FieldWriter out(Lunghezza);
    out.int16(valore);
    return out.bytes();
}

// --- Conto ---

Conto Conto::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    Conto r;
    r.numero = in.int16();
    r.codiceConto = in.text(12);
    r.tipoConto = in.text(30);
    r.nomeBanca = in.text(45);
    r.indirizzo = in.text(45);
    r.cap = in.text(5);
    r.localita = in.text(25);
    r.provincia = in.text(2);
    r.fido = in.real();
    r.riservato = in.text(1);
    r.codiceAbi = in.text(10);
    r.codiceCab = in.text(10);
    r.idBanca = in.text(10);
    return r;
}

QByteArray Conto::toBytes() const {
    FieldWriter out(Lunghezza);
    out.int16(numero);
    out.text(codiceConto, 12);
    out.text(tipoConto, 30);
    out.text(nomeBanca, 45);
    out.text(indirizzo, 45);
    out.text(cap, 5);
    out.text(localita, 25);
    out.text(provincia, 2);
    out.real(fido);
    out.text(riservato, 1);
    out.text(codiceAbi, 10);
    out.text(codiceCab, 10);
    out.text(idBanca, 10);
    return out.bytes();
}

// --- VoceCausale ---

VoceCausale VoceCausale::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    VoceCausale r;
    r.numero = in.int16();
    r.codiceCausale = in.text(5);
    r.descrizione = in.text(25);
    r.sospeso = in.text(1);
    r.entrataUscita = in.text(1);
    r.soggettoCosto = in.text(1);
    return r;
}

QByteArray VoceCausale::toBytes() const {
    FieldWriter out(Lunghezza);
    out.int16(numero);
    out.text(codiceCausale, 5);
    out.text(descrizione, 25);
    out.text(sospeso, 1);
    out.text(entrataUscita, 1);
    out.text(soggettoCosto, 1);
    return out.bytes();
}

// --- Movimento ---

Movimento Movimento::fromBytes(QByteArrayView bytes) {
    return fromBytes(bytes, nullptr);
}

Movimento Movimento::fromBytes(QByteArrayView bytes, TextBlock* block) {
    FieldReader in(bytes, block);
    Movimento r;
    r.numero = in.int16();
    r.dataOperazione = in.text(10);
    r.dataValuta = in.text(10);
    r.codiceCausale = in.text(5);
    r.importo = in.real();
    r.numeroDocumento = in.text(8);
    r.descrizione = in.text(30);
    r.sospeso = in.text(1);
    r.entrataUscita = in.text(1);
    r.annullato = in.text(1);
    return r;
}

QByteArray Movimento::toBytes() const {
    FieldWriter out(Lunghezza);
    out.int16(numero);
    out.text(dataOperazione, 10);
    out.text(dataValuta, 10);
    out.text(codiceCausale, 5);
    out.real(importo);
    out.text(numeroDocumento, 8);
    out.text(descrizione, 30);
    out.text(sospeso, 1);
    out.text(entrataUscita, 1);
    out.text(annullato, 1);
    return out.bytes();
}

void Movimento::normalizzaBytes(char* record) {
    // Offset and width of each text field, in the order of the layout.
    static constexpr std::array<std::pair<int, int>, 8> testi{
        {{2, 10}, {12, 10}, {22, 5}, {35, 8}, {43, 30}, {73, 1}, {74, 1}, {75, 1}}};
    for (const auto& [inizio, larghezza] : testi)
        for (int i = inizio + larghezza - 1; i >= inizio && (record[i] == ' ' || record[i] == '\0');
             --i)
            record[i] = ' ';
}

// --- TotaliConto ---

TotaliConto TotaliConto::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    TotaliConto r;
    r.saldoNonSospesi = in.real();
    r.saldoValutaOggi = in.real();
    r.saldoOperazioneOggi = in.real();
    r.saldoContabile = in.real();
    r.primaDataOperazione = in.text(10);
    r.ultimaDataOperazione = in.text(10);
    r.primaDataValuta = in.text(10);
    r.ultimaDataValuta = in.text(10);
    return r;
}

QByteArray TotaliConto::toBytes() const {
    FieldWriter out(Lunghezza);
    out.real(saldoNonSospesi);
    out.real(saldoValutaOggi);
    out.real(saldoOperazioneOggi);
    out.real(saldoContabile);
    out.text(primaDataOperazione, 10);
    out.text(ultimaDataOperazione, 10);
    out.text(primaDataValuta, 10);
    out.text(ultimaDataValuta, 10);
    return out.bytes();
}

// --- CarnetAssegni ---

CarnetAssegni CarnetAssegni::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    CarnetAssegni r;
    r.movimentoCosto = in.int16();
    r.numeroCarnet = in.int16();
    r.dataRitiro = in.text(10);
    r.costo = in.real();
    r.primoAssegno = in.int32();
    r.ultimoAssegno = in.int32();
    r.esaurito = in.text(1);
    r.fogliDaAllineare = in.int16();
    r.allineato = in.text(1);
    r.riservato = in.raw(2);
    return r;
}

QByteArray CarnetAssegni::toBytes() const {
    FieldWriter out(Lunghezza);
    out.int16(movimentoCosto);
    out.int16(numeroCarnet);
    out.text(dataRitiro, 10);
    out.real(costo);
    out.int32(primoAssegno);
    out.int32(ultimoAssegno);
    out.text(esaurito, 1);
    out.int16(fogliDaAllineare);
    out.text(allineato, 1);
    out.raw(riservato, 2);
    return out.bytes();
}

// --- FoglioAssegno ---

FoglioAssegno FoglioAssegno::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    FoglioAssegno r;
    r.movimento = in.int16();
    r.progressivo = in.int16();
    r.numeroCarnet = in.int16();
    r.numeroAssegno = in.int32();
    r.dataAssegno = in.text(10);
    r.importo = in.real();
    const int inizioTraente = in.position();
    r.traenteAssegno = in.text(30);
    // Bytes missing at the end of a short record read as zeros, as every field does.
    const QByteArrayView primi =
        bytes.size() > inizioTraente
            ? bytes.sliced(inizioTraente, std::min<qsizetype>(25, bytes.size() - inizioTraente))
            : QByteArrayView();
    r.traenteNullo = primi.count('\0') == primi.size();
    r.noteAssegno = in.text(30);
    r.allineato = in.text(1);
    r.riservato = in.text(1);
    r.annullato = in.text(1);
    return r;
}

QByteArray FoglioAssegno::toBytes() const {
    FieldWriter out(Lunghezza);
    out.int16(movimento);
    out.int16(progressivo);
    out.int16(numeroCarnet);
    out.int32(numeroAssegno);
    out.text(dataAssegno, 10);
    out.real(importo);
    if (traenteNullo && traenteAssegno.isEmpty())
        out.raw(QByteArray(30, '\0'), 30);
    else
        out.text(traenteAssegno, 30);
    out.text(noteAssegno, 30);
    out.text(allineato, 1);
    out.text(riservato, 1);
    out.text(annullato, 1);
    return out.bytes();
}

// --- InteressiCreditori ---

InteressiCreditori InteressiCreditori::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    InteressiCreditori r;
    for (int i = 1; i <= 5; ++i)
        r.dataDecorrenza[i] = in.text(10);
    for (int i = 1; i <= 5; ++i)
        r.tasso[i] = in.single();
    return r;
}

QByteArray InteressiCreditori::toBytes() const {
    FieldWriter out(Lunghezza);
    for (int i = 1; i <= 5; ++i)
        out.text(dataDecorrenza[i], 10);
    for (int i = 1; i <= 5; ++i)
        out.single(tasso[i]);
    return out.bytes();
}

// --- InteressiDebitori ---

InteressiDebitori InteressiDebitori::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    InteressiDebitori r;
    for (int i = 1; i <= 5; ++i)
        r.dataDecorrenza[i] = in.text(10);
    for (int i = 1; i <= 5; ++i)
        r.tassoEntroFido[i] = in.single();
    for (int i = 1; i <= 5; ++i)
        r.tassoFuoriFido[i] = in.single();
    return r;
}

QByteArray InteressiDebitori::toBytes() const {
    FieldWriter out(Lunghezza);
    for (int i = 1; i <= 5; ++i)
        out.text(dataDecorrenza[i], 10);
    for (int i = 1; i <= 5; ++i)
        out.single(tassoEntroFido[i]);
    for (int i = 1; i <= 5; ++i)
        out.single(tassoFuoriFido[i]);
    return out.bytes();
}

// --- Opzioni ---

Opzioni Opzioni::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    Opzioni r;
    r.periodicitaChiusura = in.text(1);
    r.minimoMovimenti = in.int16();
    r.indirizzoInternet = in.text(100);
    r.baseGiorniDebitori = in.text(1);
    r.baseGiorniCreditori = in.text(1);
    r.codiceDivisore = in.int16();
    return r;
}

QByteArray Opzioni::toBytes() const {
    FieldWriter out(Lunghezza);
    out.text(periodicitaChiusura, 1);
    out.int16(minimoMovimenti);
    out.text(indirizzoInternet, 100);
    out.text(baseGiorniDebitori, 1);
    out.text(baseGiorniCreditori, 1);
    out.int16(codiceDivisore);
    return out.bytes();
}

// --- OneriPassivi ---

OneriPassivi OneriPassivi::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    OneriPassivi r;
    r.aliquotaEccedenza = in.single();
    r.aliquotaMassimoScoperto = in.single();
    r.ritenutaFiscale = in.single();
    r.aliquotaLibera1 = in.single();
    r.aliquotaLibera2 = in.single();
    r.aliquotaScopertoFuoriFido = in.single();
    r.aliquotaScopertoFuoriFidoGiorni = in.single();
    r.descrizioneLibera1 = in.text(25);
    r.descrizioneLibera2 = in.text(25);
    r.baseLibera1 = in.text(1);
    r.baseLibera2 = in.text(1);
    return r;
}

QByteArray OneriPassivi::toBytes() const {
    FieldWriter out(Lunghezza);
    out.single(aliquotaEccedenza);
    out.single(aliquotaMassimoScoperto);
    out.single(ritenutaFiscale);
    out.single(aliquotaLibera1);
    out.single(aliquotaLibera2);
    out.single(aliquotaScopertoFuoriFido);
    out.single(aliquotaScopertoFuoriFidoGiorni);
    out.text(descrizioneLibera1, 25);
    out.text(descrizioneLibera2, 25);
    out.text(baseLibera1, 1);
    out.text(baseLibera2, 1);
    return out.bytes();
}

// --- SpeseVarie ---

SpeseVarie SpeseVarie::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    SpeseVarie r;
    for (double& importo : r.importoSpesa)
        importo = in.real();
    for (QString& addebito : r.addebitoTrimestrale)
        addebito = in.text(1);
    r.descrizioneSpesa1 = in.text(25);
    r.descrizioneSpesa2 = in.text(25);
    return r;
}

QByteArray SpeseVarie::toBytes() const {
    FieldWriter out(Lunghezza);
    for (double importo : importoSpesa)
        out.real(importo);
    for (const QString& addebito : addebitoTrimestrale)
        out.text(addebito, 1);
    out.text(descrizioneSpesa1, 25);
    out.text(descrizioneSpesa2, 25);
    return out.bytes();
}

// --- Riporto ---

Riporto Riporto::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    Riporto r;
    r.dataRiporto = in.text(10);
    r.saldoRiporto = in.real();
    return r;
}

QByteArray Riporto::toBytes() const {
    FieldWriter out(Lunghezza);
    out.text(dataRiporto, 10);
    out.real(saldoRiporto);
    return out.bytes();
}

// --- RiportoPrecedente ---

RiportoPrecedente RiportoPrecedente::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    RiportoPrecedente r;
    r.dataRiporto = in.text(10);
    r.saldoRiporto = in.real();
    r.codiceConto = in.text(12);
    return r;
}

QByteArray RiportoPrecedente::toBytes() const {
    FieldWriter out(Lunghezza);
    out.text(dataRiporto, 10);
    out.real(saldoRiporto);
    out.text(codiceConto, 12);
    return out.bytes();
}

} // namespace qv
