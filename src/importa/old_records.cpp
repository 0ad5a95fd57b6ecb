#include "importa/old_records.h"

#include "common/numeric_value.h"
#include "common/text_codec.h"

namespace qv {

namespace {

// An old date field: its eight characters exactly as stored.
QString dataVecchia(FieldReader& in) {
    return fromCp1252(in.raw(8));
}

bool soloDigits(const QString& text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !text.isEmpty();
}

} // namespace

// --- Old layouts ---

ContoVecchio ContoVecchio::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    ContoVecchio r;
    r.numero = in.int16();
    r.codiceConto = in.text(12);
    r.tipoConto = in.text(30);
    r.nomeBanca = in.text(45);
    r.indirizzo = in.text(45);
    r.cap = in.text(5);
    r.localita = in.text(25);
    r.provincia = in.text(2);
    r.riservato20 = in.text(20);
    r.fido = in.real();
    r.riservato = in.text(1);
    return r;
}

MovimentoVecchio MovimentoVecchio::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    MovimentoVecchio r;
    r.numero = in.int16();
    r.dataOperazione = dataVecchia(in);
    r.dataValuta = dataVecchia(in);
    r.codiceCausale = in.text(5);
    r.importo = in.real();
    r.numeroDocumento = in.text(8);
    r.descrizione = in.text(30);
    r.sospeso = in.text(1);
    r.entrataUscita = in.text(1);
    r.annullato = in.text(1);
    return r;
}

TotaliVecchi TotaliVecchi::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    TotaliVecchi r;
    r.saldoNonSospesi = in.real();
    r.saldoValutaOggi = in.real();
    r.saldoOperazioneOggi = in.real();
    r.saldoContabile = in.real();
    r.primaDataOperazione = dataVecchia(in);
    r.ultimaDataOperazione = dataVecchia(in);
    r.primaDataValuta = dataVecchia(in);
    r.ultimaDataValuta = dataVecchia(in);
    return r;
}

CarnetVecchio CarnetVecchio::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    CarnetVecchio r;
    r.movimentoCosto = in.int16();
    r.numeroCarnet = in.int16();
    r.dataRitiro = dataVecchia(in);
    r.costo = in.real();
    r.primoAssegno = in.int32();
    r.ultimoAssegno = in.int32();
    r.esaurito = in.text(1);
    r.fogliDaAllineare = in.int16();
    r.allineato = in.text(1);
    r.riservato = in.raw(2);
    return r;
}

FoglioAssegnoVecchio FoglioAssegnoVecchio::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    FoglioAssegnoVecchio r;
    r.movimento = in.int16();
    r.progressivo = in.int16();
    r.numeroCarnet = in.int16();
    r.numeroAssegno = in.int32();
    r.dataAssegno = dataVecchia(in);
    r.importo = in.real();
    r.traenteAssegno = in.text(30);
    r.noteAssegno = in.text(30);
    r.allineato = in.text(1);
    r.riservato = in.text(1);
    r.annullato = in.text(1);
    return r;
}

InteressiVecchi InteressiVecchi::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    InteressiVecchi r;
    for (int i = 1; i <= 5; ++i)
        r.dataDecorrenza[i] = dataVecchia(in);
    for (int i = 1; i <= 5; ++i)
        r.tasso[i] = in.single();
    return r;
}

RiportoPrecedenteVecchio RiportoPrecedenteVecchio::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    RiportoPrecedenteVecchio r;
    r.dataRiporto = dataVecchia(in);
    r.saldoRiporto = in.real();
    r.codiceConto = in.text(8);
    return r;
}

RiportoVecchio RiportoVecchio::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    RiportoVecchio r;
    r.dataRiporto = dataVecchia(in);
    r.saldoRiporto = in.real();
    return r;
}

MarcaConversione MarcaConversione::fromBytes(QByteArrayView bytes) {
    FieldReader in(bytes);
    MarcaConversione r;
    r.dataConversione = in.text(12);
    r.riservato = in.text(11);
    r.convertito = in.text(1);
    r.riservato2 = in.raw(1);
    return r;
}

QByteArray MarcaConversione::toBytes() const {
    FieldWriter out(Lunghezza);
    out.text(dataConversione, 12);
    out.text(riservato, 11);
    out.text(convertito, 1);
    out.raw(riservato2, 1);
    return out.bytes();
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

Conto convertiConto(const ContoVecchio& v) {
    Conto r;
    r.numero = v.numero;
    r.codiceConto = v.codiceConto;
    r.tipoConto = v.tipoConto;
    r.nomeBanca = v.nomeBanca;
    r.indirizzo = v.indirizzo;
    r.cap = v.cap;
    r.localita = v.localita;
    r.provincia = v.provincia;
    r.fido = v.fido;
    r.riservato = v.riservato;
    // The bank codes did not exist in the previous release: blank.
    return r;
}

Movimento convertiMovimento(const MovimentoVecchio& v) {
    Movimento r;
    r.numero = v.numero;
    r.dataOperazione = convertiData(v.dataOperazione);
    r.dataValuta = convertiData(v.dataValuta);
    r.codiceCausale = v.codiceCausale;
    r.importo = v.importo;
    r.numeroDocumento = v.numeroDocumento;
    r.descrizione = v.descrizione;
    r.sospeso = v.sospeso;
    r.entrataUscita = v.entrataUscita;
    r.annullato = v.annullato;
    return r;
}

TotaliConto convertiTotali(const TotaliVecchi& v, const QString& oggi) {
    const auto data = [&oggi](const QString& vecchia) {
        const QString nuova = convertiData(vecchia);
        return valoreNumerico(nuova) == 0 ? oggi : nuova;
    };
    TotaliConto r;
    r.saldoNonSospesi = v.saldoNonSospesi;
    r.saldoValutaOggi = v.saldoValutaOggi;
    r.saldoOperazioneOggi = v.saldoOperazioneOggi;
    r.saldoContabile = v.saldoContabile;
    r.primaDataOperazione = data(v.primaDataOperazione);
    r.ultimaDataOperazione = data(v.ultimaDataOperazione);
    r.primaDataValuta = data(v.primaDataValuta);
    r.ultimaDataValuta = data(v.ultimaDataValuta);
    return r;
}

CarnetAssegni convertiCarnet(const CarnetVecchio& v) {
    CarnetAssegni r;
    r.movimentoCosto = v.movimentoCosto;
    r.numeroCarnet = v.numeroCarnet;
    r.dataRitiro = convertiData(v.dataRitiro);
    r.costo = v.costo;
    r.primoAssegno = v.primoAssegno;
    r.ultimoAssegno = v.ultimoAssegno;
    r.esaurito = v.esaurito;
    r.fogliDaAllineare = v.fogliDaAllineare;
    r.allineato = v.allineato;
    r.riservato = v.riservato;
    return r;
}

FoglioAssegno convertiFoglio(const FoglioAssegnoVecchio& v) {
    FoglioAssegno r;
    r.movimento = v.movimento;
    r.progressivo = v.progressivo;
    r.numeroCarnet = v.numeroCarnet;
    r.numeroAssegno = v.numeroAssegno;
    r.dataAssegno = convertiData(v.dataAssegno);
    r.importo = v.importo;
    r.traenteAssegno = v.traenteAssegno;
    r.noteAssegno = v.noteAssegno;
    r.allineato = v.allineato;
    r.riservato = v.riservato;
    r.annullato = v.annullato;
    return r;
}

InteressiCreditori convertiInteressiCreditori(const InteressiVecchi& v) {
    InteressiCreditori r;
    for (int i = 1; i <= 5; ++i) {
        r.dataDecorrenza[i] = convertiData(v.dataDecorrenza[i]);
        r.tasso[i] = v.tasso[i];
    }
    return r;
}

InteressiDebitori convertiInteressiDebitori(const InteressiVecchi& v) {
    InteressiDebitori r;
    for (int i = 1; i <= 5; ++i) {
        r.dataDecorrenza[i] = convertiData(v.dataDecorrenza[i]);
        r.tassoEntroFido[i] = v.tasso[i];
        r.tassoFuoriFido[i] = v.tasso[i];
    }
    return r;
}

RiportoPrecedente convertiRiportoPrecedente(const RiportoPrecedenteVecchio& v,
                                            const QString& codiceConto) {
    RiportoPrecedente r;
    r.dataRiporto = convertiData(v.dataRiporto);
    r.saldoRiporto = v.saldoRiporto;
    const QString codice = codiceConto.trimmed();
    const bool tagliato =
        !v.codiceConto.isEmpty() && withoutTrailingBlanks(codice.left(8)) == v.codiceConto;
    r.codiceConto = tagliato ? codice : v.codiceConto;
    return r;
}

Riporto convertiRiporto(const RiportoVecchio& v) {
    Riporto r;
    r.dataRiporto = convertiData(v.dataRiporto);
    r.saldoRiporto = v.saldoRiporto;
    return r;
}

} // namespace qv
