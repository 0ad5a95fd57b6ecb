#include "conditions/conditions.h"

#include "common/amounts.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/transaction.h"

#include <QByteArray>

#include <cmath>

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

bool tassoUtilizzabile(float tasso) {
    return std::isfinite(tasso);
}

QString nomeTasso(const QString& campo, const QString& libera1, const QString& libera2) {
    const auto numero = [&](qsizetype prefisso) { return campo.mid(prefisso).toInt(); };
    if (campo.startsWith(QLatin1String("PerC")))
        return QStringLiteral("Interessi Creditori riga %1").arg(numero(4));
    if (campo.startsWith(QLatin1String("PerD"))) {
        const int k = numero(4);
        return k <= 5 ? QStringLiteral("Interessi Debitori entro fido riga %1").arg(k)
                      : QStringLiteral("Interessi Debitori fuori fido riga %1").arg(k - 5);
    }
    switch (numero(3)) {
    case 1:
        return QStringLiteral("Commissione eccedenza / Extra Fido");
    case 2:
        return QStringLiteral("Commissione massimo scoperto entro fido");
    case 3:
        return QStringLiteral("Ritenuta fiscale");
    case 4:
        return libera1.trimmed().isEmpty() ? QStringLiteral("Campo libero 1") : libera1.trimmed();
    case 5:
        return libera2.trimmed().isEmpty() ? QStringLiteral("Campo libero 2") : libera2.trimmed();
    case 6:
        return QStringLiteral("Commissione massimo scoperto fuori fido");
    case 7:
        return QStringLiteral("Commissione massimo scoperto fuori fido più gg");
    default:
        return campo;
    }
}

QString nomeSpesa(int i, const QString& libera1, const QString& libera2) {
    static const std::array<const char*, 5> voci{"Spese fisse di chiusura", "Tenuta conto",
                                                 "Costo movimenti", "Costo tenuta fido",
                                                 "Rimborso forfettario"};
    if (i >= 0 && i < 5) return QString::fromLatin1(voci[size_t(i)]);
    const QString& libera = i == 5 ? libera1 : libera2;
    return libera.trimmed().isEmpty() ? QStringLiteral("Campo libero %1").arg(i - 4)
                                      : libera.trimmed();
}

QStringList avvisiCondizioni(const CondizioniConto& c) {
    QStringList tassi;
    const auto tasso = [&](const QString& campo, float valore) {
        if (!tassoUtilizzabile(valore))
            tassi << nomeTasso(campo, c.oneri.descrizioneLibera1, c.oneri.descrizioneLibera2);
    };
    for (size_t k = 1; k <= 5; ++k)
        tasso(QStringLiteral("PerC%1").arg(k), c.creditori.tasso[k]);
    for (size_t k = 1; k <= 5; ++k)
        tasso(QStringLiteral("PerD%1").arg(k), c.debitori.tassoEntroFido[k]);
    for (size_t k = 1; k <= 5; ++k)
        tasso(QStringLiteral("PerD%1").arg(k + 5), c.debitori.tassoFuoriFido[k]);
    const OneriPassivi& o = c.oneri;
    // In the order of the rows of "Oneri passivi".
    tasso(QStringLiteral("Per1"), o.aliquotaEccedenza);
    tasso(QStringLiteral("Per2"), o.aliquotaMassimoScoperto);
    tasso(QStringLiteral("Per6"), o.aliquotaScopertoFuoriFido);
    tasso(QStringLiteral("Per7"), o.aliquotaScopertoFuoriFidoGiorni);
    tasso(QStringLiteral("Per3"), o.ritenutaFiscale);
    tasso(QStringLiteral("Per4"), o.aliquotaLibera1);
    tasso(QStringLiteral("Per5"), o.aliquotaLibera2);

    QStringList spese;
    for (int i = 0; i < 7; ++i)
        if (!importoUtilizzabile(c.spese.importoSpesa[size_t(i)]))
            spese << nomeSpesa(i, c.spese.descrizioneSpesa1, c.spese.descrizioneSpesa2);

    QStringList avvisi;
    if (tassi.size() == 1)
        avvisi << QStringLiteral("Tasso non valido nelle condizioni del conto (%1): è contato "
                                 "come zero nel conteggio delle competenze. Correggere il tasso "
                                 "in \"Dati calcolo interessi\".")
                      .arg(tassi[0]);
    else if (tassi.size() > 1)
        avvisi << QStringLiteral("Tassi non validi nelle condizioni del conto (%1): sono contati "
                                 "come zero nel conteggio delle competenze. Correggere questi "
                                 "tassi in \"Dati calcolo interessi\".")
                      .arg(tassi.join(QStringLiteral(", ")));
    if (spese.size() == 1)
        avvisi << QStringLiteral("Importo non valido nelle spese del conto (%1): è contato come "
                                 "zero nel conteggio delle competenze. Correggere l'importo in "
                                 "\"Dati calcolo interessi\".")
                      .arg(spese[0]);
    else if (spese.size() > 1)
        avvisi << QStringLiteral("Importi non validi nelle spese del conto (%1): sono contati "
                                 "come zero nel conteggio delle competenze. Correggere questi "
                                 "importi in \"Dati calcolo interessi\".")
                      .arg(spese.join(QStringLiteral(", ")));
    return avvisi;
}

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

Esito leggiCondizioni(const QString& cartella, const QString& codice, CondizioniConto* condizioni) {
    QString motivo;
    if (leggi(cartella, codice, false, condizioni, &motivo)) return Esito::fatto();
    return Esito::fallito(motivo);
}

Esito scriviCondizioni(const QString& cartella, const QString& codice, const CondizioniConto& c) {
    const auto path = [&](QLatin1String ext) { return accountFile(cartella, codice, ext); };
    Transaction tx(cartella);
    const bool scritto =
        tx.writeRecord(path(ExtIat), InteressiCreditori::Lunghezza, 1, c.creditori.toBytes()) &&
        tx.writeRecord(path(ExtIpa), InteressiDebitori::Lunghezza, 1, c.debitori.toBytes()) &&
        tx.writeRecord(path(ExtOpz), Opzioni::Lunghezza, 1, c.opzioni.toBytes()) &&
        tx.writeRecord(path(ExtOnp), OneriPassivi::Lunghezza, 1, c.oneri.toBytes()) &&
        tx.writeRecord(path(ExtSpe), SpeseVarie::Lunghezza, 1, c.spese.toBytes()) && tx.commit();
    if (scritto) return Esito::fatto();
    // A file that failed is as it was; those written before it are put back.
    QString motivo = tx.error();
    if (tx.active()) tx.rollback();
    if (!tx.leftChanged().isEmpty())
        motivo += QStringLiteral("\nNon è stato possibile ripristinare: ") +
                  tx.leftChanged().join(QStringLiteral(", "));
    return Esito::fallito(motivo);
}

namespace {
Esito nessunConto() {
    return Esito::rifiutato(testoNessunContoAperto(), QStringLiteral("ERRORE"));
}
} // namespace

Esito CaricaCondizioni() {
    if (!contoAttivoAperto()) return nessunConto();
    CondizioniConto letti;
    QString motivo;
    if (!leggi(stato().PercorsoDati, stato().CodiceContoAttivo, true, &letti, &motivo))
        return Esito::fallito(motivo);
    impostaCondizioniInMemoria(letti);
    return Esito::fatto(avvisiCondizioni(letti).join(u'\n'));
}

Esito CaricaOpzioni() {
    if (!contoAttivoAperto()) return nessunConto();
    QString motivo;
    if (leggiUno(fileContoAttivo(ExtOpz), false, &stato().DatiOpzioni, &motivo))
        return Esito::fatto();
    return Esito::fallito(motivo);
}

Esito SalvaCondizioni() {
    if (!contoAttivoAperto()) return nessunConto();
    return scriviCondizioni(stato().PercorsoDati, stato().CodiceContoAttivo, condizioniInMemoria());
}

} // namespace qv
