#include "ledger/movement_files.h"

#include "common/amounts.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/account_memory.h"
#include "ledger/balances.h"
#include "ledger/movement_lists.h"

#include <QDir>

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>

namespace qv {

namespace {

Esito rifiuto(const QStringList& parti) {
    return Esito::rifiutato(parti.join(u'\n'), QStringLiteral("ERRORE"));
}

Esito guasto(const QStringList& parti) {
    return Esito::fallito(parti.join(u'\n'));
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
    return amountTooLargeMessage();
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

// Rows 1 to NumeroMovimenti of the movement table.
std::span<const Movimento> movimentiDelConto() {
    const auto& s = stato();
    const int n = std::min<int>(s.NumeroMovimenti, int(s.TabellaMovimenti.size()) - 1);
    if (n <= 0) return {};
    return std::span<const Movimento>(s.TabellaMovimenti).subspan(1, size_t(n));
}

// The content of ".Ord" for the movements `ordine` (numbers in list order): each record
// as ".MOV" stores it, copied without being decoded or encoded again (normalised as
// toBytes writes a record). When ".MOV" cannot give them all, the records are encoded
// from the table.
QByteArray contenutoOrdine(const std::vector<qint16>& ordine) {
    const auto& s = stato();
    constexpr int L = Movimento::Lunghezza;
    QByteArray contenuto(qsizetype(ordine.size()) * L, Qt::Uninitialized);
    const int ultimo = ordine.empty() ? 0 : *std::max_element(ordine.begin(), ordine.end());
    RecordFile mov(fileContoAttivo(ExtMOV), L);
    const QByteArray memorizzati = ultimo > 0 ? mov.readRange(1, ultimo) : QByteArray();
    const bool copiabili = mov.ok() && mov.recordCount() >= ultimo;
    char* dove = contenuto.data();
    for (qint16 k : ordine) {
        if (copiabili) {
            std::memcpy(dove, memorizzati.constData() + qsizetype(k - 1) * L, L);
            Movimento::normalizzaBytes(dove);
        } else {
            std::memcpy(dove, s.TabellaMovimenti[size_t(k)].toBytes().constData(), L);
        }
        dove += L;
    }
    return contenuto;
}

// Writes `contenuto` as the whole ".Ord"; false, with the text for the user, on failure.
bool riscriviOrdine(const QByteArray& contenuto, QString* errore) {
    const QString percorso = fileContoAttivo(ExtOrd);
    QString motivo;
    // ".Ord" is rebuilt from the movements at every load: it need not wait for the disk.
    if (scritturaDerivata(percorso,
                          [&] { return rewriteDerivedFile(percorso, contenuto, &motivo); }))
        return true;
    if (errore) *errore = testoErroreScrittura(percorso, motivo);
    return false;
}

// Puts movement `m`, which ends the list by operation date, after the records of ".Ord"
// as record m.numero; false, with the text for the user, on failure.
bool accodaOrdine(const Movimento& m, QString* errore) {
    const QString percorso = fileContoAttivo(ExtOrd);
    RecordFile ord(percorso, Movimento::Lunghezza);
    ord.setSyncToDisk(false);
    if (scritturaDerivata(percorso, [&] { return ord.write(m.numero, m.toBytes()); })) return true;
    if (errore) *errore = testoErroreScrittura(percorso, ord.errorString());
    return false;
}

// SalvaOrdine, giving what the next append needs to know (the movement now last, the
// bounds of them all), which is noted too; nothing when ".Ord" could not be written.
std::optional<IndiceAccodamento> salvaOrdine(QString* errore) {
    const std::vector<qint16> ordine = movimentiInOrdine(OrdineMovimenti::Operazione);
    if (!riscriviOrdine(contenutoOrdine(ordine), errore)) return std::nullopt;
    IndiceAccodamento indice;
    indice.ultimo = ordine.empty() ? qint16(0) : ordine.back();
    indice.operazione = estremiDate(movimentiDelConto(), &Movimento::dataOperazione);
    indice.valuta = estremiDate(movimentiDelConto(), &Movimento::dataValuta);
    segnaIndiceAccodamento(indice);
    return indice;
}

// ".Ord" and the index for appending, once the movement `m` was appended (row m.numero)
// with `prima` the index that held for the others, if any: a movement that ends the list
// by operation date is put at the end of ".Ord"; otherwise ".Ord" is written whole.
// Gives the date bounds of every movement.
IndiceAccodamento aggiornaOrdine(const Movimento& m, const std::optional<IndiceAccodamento>& prima,
                                 QStringList& avvisi) {
    const auto& s = stato();
    QString motivo;
    if (prima && (prima->ultimo > 0 || m.numero == 1) &&
        size_t(prima->ultimo) < s.TabellaMovimenti.size()) {
        IndiceAccodamento dopo = *prima;
        aggiungiAgliEstremi(dopo.operazione, m, &Movimento::dataOperazione);
        aggiungiAgliEstremi(dopo.valuta, m, &Movimento::dataValuta);
        const bool inFondo =
            prima->ultimo == 0 || precedeNellElenco(s.TabellaMovimenti[size_t(prima->ultimo)], m,
                                                    OrdineMovimenti::Operazione);
        if (inFondo) {
            dopo.ultimo = m.numero;
            if (accodaOrdine(m, &motivo))
                segnaIndiceAccodamento(dopo);
            else
                avvisi << motivo;
            return dopo;
        }
    }
    if (auto tutti = salvaOrdine(&motivo)) return *tutti;
    avvisi << motivo;
    IndiceAccodamento tutti;
    tutti.operazione = estremiDate(movimentiDelConto(), &Movimento::dataOperazione);
    tutti.valuta = estremiDate(movimentiDelConto(), &Movimento::dataValuta);
    return tutti;
}

} // namespace

Esito SalvaNuovoMovimento(const Movimento& nuovo, Transaction* modifica) {
    auto& s = stato();
    if (!contoAttivoAperto()) {
        return rifiuto({testoNessunContoAperto()});
    }
    if (!spazioPerNuovoMovimento()) {
        return rifiuto({messaggioContoPieno()});
    }
    if (!importoUtilizzabile(nuovo.importo)) {
        return rifiuto({testoImportoNonMemorizzabile(),
                        QStringLiteral("Il movimento non è stato registrato.")});
    }
    const qint16 n = qint16(s.NumeroMovimenti + 1);
    const Movimento m = movimentoDaSalvare(nuovo, n);
    // What the appending needs to know of the movements already there, when the program
    // still knows it from its last change of them.
    std::optional<IndiceAccodamento> indice;
    if (const IndiceAccodamento* i = indiceAccodamento()) indice = *i;
    // Whether memory held the account as its files are: it still does once the record and
    // the count it holds are written, and the entry form need not read them back.
    const bool memoriaValida = contoInvariatoDalCaricamento();

    QString motivo;
    const QString nonRegistrato = QStringLiteral("Il movimento non è stato registrato.");
    const QString mov = fileContoAttivo(ExtMOV);
    if (!scriviMovimento(mov, n, m, &motivo, modifica)) {
        return guasto({motivo, nonRegistrato});
    }
    // A record past the count is never read: with the count unchanged the account is
    // as it was.
    if (!scriviConteggio(fileContoAttivo(ExtMOR), n, &motivo, modifica)) {
        return guasto({motivo, nonRegistrato});
    }
    if (!concludi(modifica, &motivo)) {
        return guasto({motivo, nonRegistrato});
    }

    if (s.TabellaMovimenti.size() <= size_t(n)) s.TabellaMovimenti.resize(size_t(n) + 1);
    s.TabellaMovimenti[size_t(n)] = m;
    s.NumeroMovimenti = n;
    if (memoriaValida) segnaCaricamento();

    QStringList avvisi;
    const IndiceAccodamento dopo = aggiornaOrdine(m, indice, avvisi);
    if (const Esito saldi = AggiungiNuovoMovimentoAiSaldi(m, dopo.operazione, dopo.valuta);
        !saldi.ok())
        avvisi << saldi.testo;
    if (avvisi.isEmpty()) return Esito::fatto();
    avvisi << QStringLiteral("Il movimento è stato registrato.");
    return Esito::fatto(avvisi.join(u'\n'));
}

Esito riscriviMovimento(const Movimento& movimento, Transaction* modifica) {
    auto& s = stato();
    const qint16 k = movimento.numero;
    if (!contoAttivoAperto()) {
        return rifiuto({testoNessunContoAperto()});
    }
    if (k < 1 || k > s.NumeroMovimenti || size_t(k) >= s.TabellaMovimenti.size()) {
        return rifiuto({QStringLiteral("Il movimento %1 non esiste.").arg(k)});
    }
    if (!importoUtilizzabile(movimento.importo)) {
        return rifiuto({testoImportoNonMemorizzabile(),
                        QStringLiteral("Il movimento non è stato modificato.")});
    }
    Movimento m = movimento;
    const QString eu = m.entrataUscita.trimmed().toUpper();
    m.entrataUscita = eu == u"U" ? QStringLiteral("U") : QStringLiteral("E");
    m = Movimento::fromBytes(m.toBytes());

    QString motivo;
    const QString nonModificato = QStringLiteral("Il movimento non è stato modificato.");
    const QString mov = fileContoAttivo(ExtMOV);
    if (!scriviMovimento(mov, k, m, &motivo, modifica)) {
        return guasto({motivo, nonModificato});
    }
    if (!concludi(modifica, &motivo)) {
        return guasto({motivo, nonModificato});
    }
    s.TabellaMovimenti[size_t(k)] = m;
    ricalcolaDateEstreme();
    if (const Esito ordine = SalvaOrdine(); !ordine.ok())
        return Esito::fatto(ordine.testo + u'\n' +
                            QStringLiteral("Il movimento è stato modificato."));
    return Esito::fatto();
}

Esito SalvaOrdine() {
    if (!contoAttivoAperto()) return Esito::fatto();
    // ".Ord" is still what the program last wrote for these very movements, and nothing
    // was written since: it already holds what would be written.
    if (indiceAccodamento()) return Esito::fatto();
    QString motivo;
    if (salvaOrdine(&motivo)) return Esito::fatto();
    return Esito::fallito(motivo);
}

} // namespace qv
