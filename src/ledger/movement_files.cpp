#include "ledger/movement_files.h"

#include "common/amounts.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/balances.h"
#include "ledger/movement_lists.h"

#include <QDir>

namespace qv {

namespace {

void componiErrore(QString* errore, const QStringList& parti) {
    if (errore) *errore = parti.join(u'\n');
}

} // namespace

bool spazioPerNuovoMovimento() {
    return stato().NumeroMovimenti < LimiteMovimentiConto;
}

QString messaggioContoPieno() {
    return QStringLiteral("Il conto contiene già il numero massimo di %1 movimenti: "
                          "il movimento non può essere registrato.")
        .arg(LimiteMovimentiConto);
}

QString testoImportoNonMemorizzabile() {
    return QStringLiteral("Importo non valido: un importo deve essere inferiore a "
                          "10.000.000.000.000 (in euro).");
}

QString testoErroreScrittura(const QString& percorso, const QString& motivo) {
    QString testo =
        QStringLiteral("Impossibile scrivere il file %1").arg(QDir::toNativeSeparators(percorso));
    if (!motivo.isEmpty()) testo += QStringLiteral(": ") + motivo;
    return testo + u'.';
}

Movimento movimentoDaSalvare(Movimento m, qint16 numero, const QString& entrataUscitaPredefinita) {
    m.numero = numero;
    m.annullato = QStringLiteral("N");
    const QString eu = m.entrataUscita.trimmed().toUpper();
    if (eu == u"E" || eu == u"U")
        m.entrataUscita = eu;
    else
        m.entrataUscita =
            entrataUscitaPredefinita == u"U" ? QStringLiteral("U") : QStringLiteral("E");
    const QString sosp = m.sospeso.trimmed().toUpper();
    m.sospeso = sosp == u"N" ? QStringLiteral("N") : QStringLiteral("S");
    // In memory exactly as on disk: texts cut to their widths and trimmed.
    return Movimento::fromBytes(m.toBytes());
}

namespace {

// Writes record `k` of the open account's ".MOV", through the change when there is one;
// false, with what to tell the user in `testo`.
bool scriviMovimento(const QString& mov, int k, const Movimento& m, QString* testo,
                     Transaction* modifica) {
    if (modifica) {
        if (modifica->writeRecord(mov, Movimento::Lunghezza, k, m.toBytes())) return true;
        *testo = modifica->message();
        return false;
    }
    QString motivo;
    if (scriviRecord(mov, k, m, &motivo)) return true;
    *testo = testoErroreScrittura(mov, motivo);
    return false;
}

// The same for the count of ".MOR".
bool scriviConteggio(const QString& mor, qint16 n, QString* testo, Transaction* modifica) {
    if (modifica) {
        if (modifica->writeCount(mor, n)) return true;
        *testo = modifica->message();
        return false;
    }
    QString motivo;
    if (scriviContatore(mor, n, &motivo)) return true;
    *testo = testoErroreScrittura(mor, motivo);
    return false;
}

// Commits the change a movement completes; false, with the reason and the files left
// changed, when it cannot be (it is rolled back then).
bool concludi(Transaction* modifica, QString* testo) {
    if (!modifica || modifica->commit()) return true;
    *testo = modifica->message() + testoFileNonRipristinati(modifica->leftChanged());
    return false;
}

} // namespace

bool SalvaNuovoMovimento(const Movimento& nuovo, QString* errore, Transaction* modifica) {
    auto& s = stato();
    if (!contoAttivoAperto()) {
        componiErrore(errore, {testoNessunContoAperto()});
        return false;
    }
    if (!spazioPerNuovoMovimento()) {
        componiErrore(errore, {messaggioContoPieno()});
        return false;
    }
    if (!importoUtilizzabile(nuovo.importo)) {
        componiErrore(errore, {testoImportoNonMemorizzabile(),
                               QStringLiteral("Il movimento non è stato registrato.")});
        return false;
    }
    const qint16 n = qint16(s.NumeroMovimenti + 1);
    const Movimento m = movimentoDaSalvare(nuovo, n);

    QString motivo;
    const QString nonRegistrato = QStringLiteral("Il movimento non è stato registrato.");
    const QString mov = fileContoAttivo(ExtMOV);
    if (!scriviMovimento(mov, n, m, &motivo, modifica)) {
        componiErrore(errore, {motivo, nonRegistrato});
        return false;
    }
    // A record past the count is never read: with the count unchanged the account is
    // as it was.
    if (!scriviConteggio(fileContoAttivo(ExtMOR), n, &motivo, modifica)) {
        componiErrore(errore, {motivo, nonRegistrato});
        return false;
    }
    if (!concludi(modifica, &motivo)) {
        componiErrore(errore, {motivo, nonRegistrato});
        return false;
    }

    if (s.TabellaMovimenti.size() <= size_t(n)) s.TabellaMovimenti.resize(size_t(n) + 1);
    s.TabellaMovimenti[size_t(n)] = m;
    s.NumeroMovimenti = n;

    QStringList avvisi;
    if (!SalvaOrdine(&motivo)) avvisi << motivo;
    if (!AggiungiMovimentoAiSaldi(m.dataValuta, m.dataOperazione, m.importo, m.entrataUscita,
                                  m.sospeso, &motivo))
        avvisi << motivo;
    if (!avvisi.isEmpty()) {
        avvisi << QStringLiteral("Il movimento è stato registrato.");
        componiErrore(errore, avvisi);
    } else if (errore) {
        errore->clear();
    }
    return true;
}

bool riscriviMovimento(const Movimento& movimento, QString* errore, Transaction* modifica) {
    auto& s = stato();
    const qint16 k = movimento.numero;
    if (!contoAttivoAperto()) {
        componiErrore(errore, {testoNessunContoAperto()});
        return false;
    }
    if (k < 1 || k > s.NumeroMovimenti || size_t(k) >= s.TabellaMovimenti.size()) {
        componiErrore(errore, {QStringLiteral("Il movimento %1 non esiste.").arg(k)});
        return false;
    }
    if (!importoUtilizzabile(movimento.importo)) {
        componiErrore(errore, {testoImportoNonMemorizzabile(),
                               QStringLiteral("Il movimento non è stato modificato.")});
        return false;
    }
    Movimento m = movimento;
    const QString eu = m.entrataUscita.trimmed().toUpper();
    m.entrataUscita = eu == u"U" ? QStringLiteral("U") : QStringLiteral("E");
    m = Movimento::fromBytes(m.toBytes());

    QString motivo;
    const QString nonModificato = QStringLiteral("Il movimento non è stato modificato.");
    const QString mov = fileContoAttivo(ExtMOV);
    if (!scriviMovimento(mov, k, m, &motivo, modifica)) {
        componiErrore(errore, {motivo, nonModificato});
        return false;
    }
    if (!concludi(modifica, &motivo)) {
        componiErrore(errore, {motivo, nonModificato});
        return false;
    }
    s.TabellaMovimenti[size_t(k)] = m;
    ricalcolaDateEstreme();
    if (!SalvaOrdine(&motivo)) {
        componiErrore(errore, {motivo, QStringLiteral("Il movimento è stato modificato.")});
    } else if (errore) {
        errore->clear();
    }
    return true;
}

bool SalvaOrdine(QString* errore) {
    const auto& s = stato();
    if (!contoAttivoAperto()) return true;
    const std::vector<qint16> ordine = movimentiInOrdine(OrdineMovimenti::Operazione);
    QByteArray contenuto;
    contenuto.reserve(qsizetype(ordine.size()) * Movimento::Lunghezza);
    for (qint16 k : ordine)
        contenuto.append(s.TabellaMovimenti[size_t(k)].toBytes());
    const QString percorso = fileContoAttivo(ExtOrd);
    QString motivo;
    // ".Ord" is rebuilt from the movements at every load: it need not wait for the disk.
    if (rewriteDerivedFile(percorso, contenuto, &motivo)) return true;
    if (errore) *errore = testoErroreScrittura(percorso, motivo);
    return false;
}

} // namespace qv
