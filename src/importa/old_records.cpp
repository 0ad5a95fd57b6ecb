#include "importa/old_records.h"

#include "common/numeric_value.h"
#include "common/text_codec.h"

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

// An old date (eight bytes) in the current layout (ten).
QByteArray dataNuova(const QByteArray& vecchia) {
    if (soloNul(vecchia)) return allarga(vecchia, 10);
    return toCp1252(convertiData(fromCp1252(vecchia)), 10);
}

// Copies an old record field by field into the current layout: the bytes of each field
// as they are, the dates widened, the new fields added.
class Trasposizione {
public:
    Trasposizione(QByteArrayView vecchio, int lunghezza) : in_(vecchio), lunghezza_(lunghezza) {
        out_.reserve(lunghezza);
    }

    // A field of `larghezza` bytes carried unchanged.
    void copia(int larghezza) { out_.append(in_.raw(larghezza)); }
    // A field not carried over.
    void salta(int larghezza) { in_.skip(larghezza); }
    // A date, by the date rule.
    void data() { out_.append(dataNuova(in_.raw(8))); }
    // The next `larghezza` bytes of the old record, for the caller to convert.
    QByteArray leggi(int larghezza) { return in_.raw(larghezza); }
    // Bytes of the current record.
    void scrivi(const QByteArray& bytes) { out_.append(bytes); }

    QByteArray bytes() const {
        Q_ASSERT(out_.size() == lunghezza_);
        return out_;
    }

private:
    FieldReader in_;
    int lunghezza_;
    QByteArray out_;
};

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

QByteArray convertiConto(QByteArrayView vecchio) {
    Trasposizione t(vecchio, Conto::Lunghezza);
    t.copia(2);  // numero
    t.copia(12); // codiceConto
    t.copia(30); // tipoConto
    t.copia(45); // nomeBanca
    t.copia(45); // indirizzo
    t.copia(5);  // cap
    t.copia(25); // localita
    t.copia(2);  // provincia
    t.salta(20); // riservato20, not carried over
    t.copia(8);  // fido
    t.copia(1);  // riservato
    // The bank codes (codiceAbi, codiceCab, idBanca) did not exist: blank.
    t.scrivi(QByteArray(30, ' '));
    return t.bytes();
}

QByteArray convertiMovimento(QByteArrayView vecchio) {
    Trasposizione t(vecchio, Movimento::Lunghezza);
    t.copia(2);  // numero
    t.data();    // dataOperazione
    t.data();    // dataValuta
    t.copia(5);  // codiceCausale
    t.copia(8);  // importo
    t.copia(8);  // numeroDocumento
    t.copia(30); // descrizione
    t.copia(1);  // sospeso
    t.copia(1);  // entrataUscita
    t.copia(1);  // annullato
    return t.bytes();
}

QByteArray convertiTotali(QByteArrayView vecchio, const QString& oggi) {
    Trasposizione t(vecchio, TotaliConto::Lunghezza);
    t.copia(8); // saldoNonSospesi
    t.copia(8); // saldoValutaOggi
    t.copia(8); // saldoOperazioneOggi
    t.copia(8); // saldoContabile
    // primaDataOperazione, ultimaDataOperazione, primaDataValuta, ultimaDataValuta
    for (int i = 0; i < 4; ++i) {
        const QByteArray nuova = dataNuova(t.leggi(8));
        t.scrivi(valoreNumerico(fromCp1252(nuova)) == 0 ? toCp1252(oggi, 10) : nuova);
    }
    return t.bytes();
}

QByteArray convertiCarnet(QByteArrayView vecchio) {
    Trasposizione t(vecchio, CarnetAssegni::Lunghezza);
    t.copia(2); // movimentoCosto
    t.copia(2); // numeroCarnet
    t.data();   // dataRitiro
    t.copia(8); // costo
    t.copia(4); // primoAssegno
    t.copia(4); // ultimoAssegno
    t.copia(1); // esaurito
    t.copia(2); // fogliDaAllineare
    t.copia(1); // allineato
    t.copia(2); // riservato
    return t.bytes();
}

QByteArray convertiFoglio(QByteArrayView vecchio) {
    Trasposizione t(vecchio, FoglioAssegno::Lunghezza);
    t.copia(2);  // movimento
    t.copia(2);  // progressivo
    t.copia(2);  // numeroCarnet
    t.copia(4);  // numeroAssegno
    t.data();    // dataAssegno
    t.copia(8);  // importo
    t.copia(30); // traenteAssegno
    t.copia(30); // noteAssegno
    t.copia(1);  // allineato
    t.copia(1);  // riservato
    t.copia(1);  // annullato
    return t.bytes();
}

QByteArray convertiInteressiCreditori(QByteArrayView vecchio) {
    Trasposizione t(vecchio, InteressiCreditori::Lunghezza);
    for (int i = 1; i <= 5; ++i)
        t.data();   // dataDecorrenza 1 to 5
    t.copia(5 * 4); // tasso 1 to 5
    return t.bytes();
}

QByteArray convertiInteressiDebitori(QByteArrayView vecchio) {
    Trasposizione t(vecchio, InteressiDebitori::Lunghezza);
    for (int i = 1; i <= 5; ++i)
        t.data(); // dataDecorrenza 1 to 5
    const QByteArray tassi = t.leggi(5 * 4);
    t.scrivi(tassi); // tassoEntroFido 1 to 5
    t.scrivi(tassi); // tassoFuoriFido 1 to 5
    return t.bytes();
}

QByteArray convertiRiportoPrecedente(QByteArrayView vecchio, const QString& codiceConto) {
    Trasposizione t(vecchio, RiportoPrecedente::Lunghezza);
    t.data();   // dataRiporto
    t.copia(8); // saldoRiporto
    const QByteArray codiceVecchio = t.leggi(8);
    const QString letto = textField(codiceVecchio);
    const QString codice = codiceConto.trimmed();
    const bool tagliato = !letto.isEmpty() && withoutTrailingBlanks(codice.left(8)) == letto;
    t.scrivi(tagliato ? toCp1252(codice, 12) : allarga(codiceVecchio, 12));
    return t.bytes();
}

QByteArray convertiRiporto(QByteArrayView vecchio) {
    Trasposizione t(vecchio, Riporto::Lunghezza);
    t.data();   // dataRiporto
    t.copia(8); // saldoRiporto
    return t.bytes();
}

} // namespace qv
