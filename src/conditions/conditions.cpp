#include "conditions/conditions.h"

#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/transaction.h"

#include <QByteArray>

namespace qv {

namespace {

// Record 1 of one condition file; a missing file is created empty first, as every
// account's conditions exist once they have been looked at. Creation is not needed
// to read (a missing file reads as zeros), so a folder where it fails still reads.
template <class R> bool leggiUno(const QString& path, bool crea, R* record, QString* errore) {
    RecordFile file(path, R::Lunghezza);
    if (crea && !file.exists()) file.ensureExists();
    const QByteArray bytes = file.read(1);
    if (!file.ok()) {
        if (errore) *errore = file.path() + QStringLiteral(": ") + file.errorString();
        return false;
    }
    *record = R::fromBytes(bytes);
    return true;
}

bool leggi(const QString& cartella, const QString& codice, bool crea, CondizioniConto* c,
           QString* errore) {
    const auto path = [&](QLatin1String ext) { return accountFile(cartella, codice, ext); };
    CondizioniConto letti;
    if (!leggiUno(path(ExtIat), crea, &letti.creditori, errore) ||
        !leggiUno(path(ExtIpa), crea, &letti.debitori, errore) ||
        !leggiUno(path(ExtOpz), crea, &letti.opzioni, errore) ||
        !leggiUno(path(ExtOnp), crea, &letti.oneri, errore) ||
        !leggiUno(path(ExtSpe), crea, &letti.spese, errore))
        return false;
    *c = std::move(letti);
    return true;
}

} // namespace

CondizioniConto condizioniInMemoria() {
    const StatoProgramma& s = stato();
    return {s.DatiInteressiCreditori, s.DatiInteressiDebitori, s.DatiOpzioni, s.DatiOneriPassivi,
            s.DatiSpeseVarie};
}

void impostaCondizioniInMemoria(const CondizioniConto& c) {
    StatoProgramma& s = stato();
    s.DatiInteressiCreditori = c.creditori;
    s.DatiInteressiDebitori = c.debitori;
    s.DatiOpzioni = c.opzioni;
    s.DatiOneriPassivi = c.oneri;
    s.DatiSpeseVarie = c.spese;
}

bool leggiCondizioni(const QString& cartella, const QString& codice, CondizioniConto* condizioni,
                     QString* errore) {
    return leggi(cartella, codice, false, condizioni, errore);
}

bool scriviCondizioni(const QString& cartella, const QString& codice, const CondizioniConto& c,
                      QString* errore) {
    const auto path = [&](QLatin1String ext) { return accountFile(cartella, codice, ext); };
    Transaction tx(cartella);
    const bool scritto =
        tx.writeRecord(path(ExtIat), InteressiCreditori::Lunghezza, 1, c.creditori.toBytes()) &&
        tx.writeRecord(path(ExtIpa), InteressiDebitori::Lunghezza, 1, c.debitori.toBytes()) &&
        tx.writeRecord(path(ExtOpz), Opzioni::Lunghezza, 1, c.opzioni.toBytes()) &&
        tx.writeRecord(path(ExtOnp), OneriPassivi::Lunghezza, 1, c.oneri.toBytes()) &&
        tx.writeRecord(path(ExtSpe), SpeseVarie::Lunghezza, 1, c.spese.toBytes()) && tx.commit();
    if (scritto) return true;
    // A file that failed is as it was; those written before it are put back.
    QString motivo = tx.error();
    if (tx.active()) tx.rollback();
    if (!tx.leftChanged().isEmpty())
        motivo += QStringLiteral("\nNon è stato possibile ripristinare: ") +
                  tx.leftChanged().join(QStringLiteral(", "));
    if (errore) *errore = motivo;
    return false;
}

bool CaricaCondizioni(QString* errore) {
    if (!contoAttivoAperto()) {
        if (errore) *errore = testoNessunContoAperto();
        return false;
    }
    CondizioniConto letti;
    if (!leggi(stato().PercorsoDati, stato().CodiceContoAttivo, true, &letti, errore)) return false;
    impostaCondizioniInMemoria(letti);
    return true;
}

bool CaricaOpzioni(QString* errore) {
    if (!contoAttivoAperto()) {
        if (errore) *errore = testoNessunContoAperto();
        return false;
    }
    return leggiUno(fileContoAttivo(ExtOpz), false, &stato().DatiOpzioni, errore);
}

bool SalvaCondizioni(QString* errore) {
    if (!contoAttivoAperto()) {
        if (errore) *errore = testoNessunContoAperto();
        return false;
    }
    return scriviCondizioni(stato().PercorsoDati, stato().CodiceContoAttivo, condizioniInMemoria(),
                            errore);
}

} // namespace qv
