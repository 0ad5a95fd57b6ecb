#include "ledger/account_loader.h"

#include "common/amounts.h"
#include "common/file_names.h"
#include "common/numeric_value.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "common/transaction.h"
#include "ledger/account_check.h"
#include "ledger/account_memory.h"
#include "ledger/balances.h"
#include "ledger/movement_files.h"
#include "ledger/open_account_announce.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <span>

namespace qv {

namespace {

QString testoErroreLettura(const QString& percorso, const QString& motivo) {
    return QStringLiteral("Impossibile leggere il file %1: %2.")
        .arg(QDir::toNativeSeparators(percorso), motivo);
}

// Records 1 to the usable count of a pair the examination passed; false, with the
// reason in errori, when they cannot be read.
template <class R>
bool leggiCoppia(const EsameConteggio& esame, std::vector<R>& righe, QStringList& errori) {
    QString motivo;
    righe = leggiRecords<R>(esame.fileRecord, esame.conteggio, &motivo);
    if (motivo.isEmpty()) return true;
    errori << testoErroreLettura(esame.fileRecord, motivo);
    righe.clear();
    return false;
}

// Room left in the movement table after a load, as the original program sized it: the
// movements typed before the next load need no new table.
constexpr std::size_t RigheLibere = 500;

// The movements of a pair the examination passed, as the movement table holds them:
// row 0 blank, then records 1 to the usable count, with room for RigheLibere more.
// False, with the reason in errori, when they cannot be read.
bool leggiTabellaMovimenti(const EsameConteggio& esame, std::vector<Movimento>& tabella,
                           QStringList& errori) {
    tieniMemoriaTraCaricamenti();
    tabella.clear();
    tabella.reserve(1 + size_t(std::max(esame.conteggio, 0)) + RigheLibere);
    tabella.emplace_back();
    QString motivo;
    aggiungiRecords<Movimento>(esame.fileRecord, esame.conteggio, tabella, &motivo);
    if (motivo.isEmpty()) return true;
    errori << testoErroreLettura(esame.fileRecord, motivo);
    tabella.assign(1, Movimento{});
    return false;
}

// Rows 1 to the end of a table.
std::span<const Movimento> righe(const std::vector<Movimento>& tabella) {
    return std::span<const Movimento>(tabella).subspan(tabella.empty() ? 0 : 1);
}

// An account whose files cannot be used is closed before anything is written: the
// tables empty, the account forgotten, and the program's windows told.
Esito contoNonUtilizzabile(const QString& problemi) {
    auto& s = stato();
    dimenticaMemoriaConto();
    const QString codice = s.CodiceContoAttivo.trimmed();
    s.CodiceContoAttivo.clear();
    s.IndiceContoAttivo = 0;
    riempiTabella(s.TabellaMovimenti, s.NumeroMovimenti, {});
    riempiTabella(s.TabellaCarnet, s.NumeroCarnet, {});
    riempiTabella(s.TabellaFogli, s.NumeroFogli, {});
    s.TabellaRiporto[1] = Riporto{};
    s.SaldoContabile = s.SaldoNonSospesi = s.SaldoOperazioneOggi = s.SaldoValutaOggi = 0;
    s.AvvisiContoMostrati.clear();
    dimenticaMovimentiTrattenuti();
    // Its windows close as they do when the user closes the account.
    ChiudiConto();
    return Esito::fallito(testoContoNonUtilizzabile(codice, problemi));
}

Esito nessunConto() {
    return Esito::rifiutato(testoNessunContoAperto(), QStringLiteral("ERRORE"));
}

// Done; what went wrong after the account was read, and the warnings, to be told.
Esito fattoConAvvisi(const QStringList& errori) {
    return Esito::fatto(errori.join(u'\n'));
}

// The movements whose amounts no sum may count, named for the user.
QStringList avvisiImporti(std::span<const Movimento> movimenti, const Riporto& riporto,
                          const QString& fileRiporto) {
    QStringList righe;
    QStringList nomi;
    int altri = 0;
    for (const Movimento& m : movimenti) {
        if (importoUtilizzabile(m.importo)) continue;
        if (nomi.size() < 10)
            nomi << QStringLiteral("n. %1 del %2 (%3)")
                        .arg(m.numero)
                        .arg(m.dataOperazione.trimmed(), m.descrizione.trimmed());
        else
            ++altri;
    }
    if (!nomi.isEmpty()) {
        QString elenco = nomi.join(QStringLiteral(", "));
        if (altri > 0) elenco += QStringLiteral(" e altri %1").arg(altri);
        righe << QStringLiteral("Importo non valido nei movimenti %1: sono contati come zero "
                                "nei saldi. Correggere l'importo di questi movimenti.")
                     .arg(elenco);
    }
    if (!importoUtilizzabile(riporto.saldoRiporto))
        righe << QStringLiteral("Il saldo riportato nel file %1 non è valido: è contato come "
                                "zero nei saldi.")
                     .arg(QDir::toNativeSeparators(fileRiporto));
    return righe;
}

// The warnings of a load, each said once while the account stays open: a reload that
// finds the same says nothing more.
void aggiungiAvvisi(const QStringList& avvisi, QStringList& errori) {
    QStringList& mostrati = stato().AvvisiContoMostrati;
    for (const QString& avviso : avvisi) {
        if (mostrati.contains(avviso)) continue;
        mostrati << avviso;
        errori << avviso;
    }
}

// The balances of the movements of the table, from the movements themselves.
void ricalcolaSaldi(bool aggiornaPannelli, QStringList& errori) {
    auto& s = stato();
    const int n = std::min<int>(s.NumeroMovimenti, int(s.TabellaMovimenti.size()) - 1);
    const std::span<const Movimento> movimenti =
        std::span<const Movimento>(s.TabellaMovimenti).subspan(1, size_t(std::max(n, 0)));
    Saldi saldi;
    if (s.MovimentiTrattenuti.empty()) {
        saldi = calcolaSaldi(movimenti, s.TabellaRiporto[1].saldoRiporto, DataOggi());
    } else {
        // The movements held out of the balances by windows stay out.
        std::vector<Movimento> nelSaldo;
        nelSaldo.reserve(movimenti.size());
        for (int i = 0; i < int(movimenti.size()); ++i)
            if (!movimentoFuoriDaiSaldi(qint16(i + 1))) nelSaldo.push_back(movimenti[size_t(i)]);
        saldi = calcolaSaldi(nelSaldo, s.TabellaRiporto[1].saldoRiporto, DataOggi());
    }
    s.SaldoContabile = saldi.contabile;
    s.SaldoNonSospesi = saldi.nonSospesi;
    s.SaldoOperazioneOggi = saldi.operazioneOggi;
    s.SaldoValutaOggi = saldi.valutaOggi;

    // The bounds are recomputed from the movements as ".TOT" is written.
    if (const Esito totali = scriviTotali(); !totali.ok()) errori << totali.testo;
    if (aggiornaPannelli) mostraSaldi();
}

// The open account's movements (`tabella`: row 0 blank, then the movements) in the
// table and their balances; ".TOT" rewritten. With `ordine`, ".Ord" is written first, as
// SalvaOrdine writes it: the date bounds it notes are then those of the balances, which
// are not worked out again, and the SalvaOrdine that follows the load finds it done (when
// it cannot be written, that one tries again and tells why).
void applicaMovimenti(std::vector<Movimento> tabella, bool aggiornaPannelli, QStringList& errori,
                      bool ordine = false) {
    auto& s = stato();
    // Whatever the program knew of the table it had goes with it.
    dimenticaIndiceAccodamento();
    if (tabella.empty()) tabella.emplace_back();
    s.NumeroMovimenti = qint16(tabella.size() - 1);
    s.TabellaMovimenti = std::move(tabella);
    if (ordine) SalvaOrdine();
    ricalcolaSaldi(aggiornaPannelli, errori);
}

// The date bounds from TotaliContoAttivo, as the load reads them from ".TOT": an
// operation-date bound that holds no date becomes today.
void prendiDateDaiTotali() {
    auto& s = stato();
    const TotaliConto& t = s.TotaliContoAttivo;
    auto oSeVuota = [](const QString& data) {
        return valoreNumerico(data) == 0 ? DataOggi() : data;
    };
    s.PrimaDataOperazione = oSeVuota(t.primaDataOperazione);
    s.UltimaDataOperazione = oSeVuota(t.ultimaDataOperazione);
    s.PrimaDataValuta = t.primaDataValuta;
    s.UltimaDataValuta = t.ultimaDataValuta;
}

// The end of a load, once every file of the account `codice` was read (or is known as it
// was just written): the tables, counts, carry-forward, totals and balances in memory,
// ".TOT" written, the windows told, the warnings (`avvisiConteggi`, those of the
// movements' amounts) given once, and memory marked as holding the account.
Esito prendiTabelle(const QString& codice, const Riporto& riporto, std::vector<Movimento> movimenti,
                    std::vector<CarnetAssegni> carnet, std::vector<FoglioAssegno> fogli,
                    const QStringList& avvisiConteggi, const RecoveryResult& ripristino,
                    bool ordine = false) {
    auto& s = stato();
    QStringList errori;
    QString motivo;
    // Holds made for another account mean nothing here.
    if (s.ContoMovimentiTrattenuti != codice) dimenticaMovimentiTrattenuti();

    // ".TOT" is the program's own summary: when it cannot be read, the dates it would
    // give are recomputed from the movements and the file is written again.
    const QString tot = fileContoAttivo(ExtTOT);
    s.TotaliContoAttivo = leggiRecord<TotaliConto>(tot, 1, &motivo);
    if (!motivo.isEmpty()) errori << testoErroreLettura(tot, motivo);
    prendiDateDaiTotali();

    s.TabellaRiporto[1] = riporto;
    const QStringList avvisi =
        avvisiConteggi + avvisiImporti(righe(movimenti), riporto, fileContoAttivo(ExtRIP));
    applicaMovimenti(std::move(movimenti), true, errori, ordine);
    riempiTabella(s.TabellaCarnet, s.NumeroCarnet, std::move(carnet));
    riempiTabella(s.TabellaFogli, s.NumeroFogli, std::move(fogli));

    // The cheque lists and counters follow the tables just read.
    AnnunciContoAperto::caricamento();

    aggiungiAvvisi(avvisi, errori);
    // What was put back before the load is told with the rest.
    if (ripristino.found) errori.prepend(testoRipristino(ripristino));
    // Memory now holds the account as its files are: until something changes, showing
    // the movements again needs no reading.
    if (errori.isEmpty())
        segnaCaricamento();
    else
        dimenticaMemoriaConto();
    return fattoConAvvisi(errori);
}

// Whether a pair was found just as `n` records were written to it.
bool comeScritto(const EsameConteggio& esame, size_t n) {
    return esame.stato == StatoConteggio::Valido && esame.motivo.isEmpty() &&
           esame.suDisco == int(n) && esame.record == int(n) && esame.conteggio == int(n);
}

// Whether a text is what reading it back from a field `larghezza` wide gives: no longer
// than the field, no blank at its end, and only characters that Windows-1252 writes and
// reads back as themselves (taken narrowly: ASCII but NUL, and U+00A0 to U+00FF; a text
// with any other goes through its bytes, which is always right).
bool testoComeLetto(const QString& testo, int larghezza) {
    const qsizetype n = testo.size();
    if (n == 0) return true;
    if (n > larghezza) return false;
    const char16_t* c = reinterpret_cast<const char16_t*>(testo.constData());
    if (c[n - 1] == u' ') return false;
    // Without a branch a character: 0x01-0x7F or 0xA0-0xFF.
    bool tutti = true;
    for (qsizetype i = 0; i < n; ++i)
        tutti &= (unsigned(c[i]) - 1u < 0x7Fu) | (unsigned(c[i]) - 0xA0u < 0x60u);
    return tutti;
}

// Whether a movement is the one reading its record gives (its numbers are stored as
// they are).
bool movimentoComeLetto(const Movimento& m) {
    return testoComeLetto(m.dataOperazione, 10) && testoComeLetto(m.dataValuta, 10) &&
           testoComeLetto(m.codiceCausale, 5) && testoComeLetto(m.numeroDocumento, 8) &&
           testoComeLetto(m.descrizione, 30) && testoComeLetto(m.sospeso, 1) &&
           testoComeLetto(m.entrataUscita, 1) && testoComeLetto(m.annullato, 1);
}

} // namespace

Esito ApriArchiviContoSeCambiato() {
    if (!contoInvariatoDalCaricamento()) return ApriArchiviConto();
    // Memory holds the account as its files are: what a load would read is here already.
    prendiDateDaiTotali();
    QStringList errori;
    ricalcolaSaldi(true, errori);
    return fattoConAvvisi(errori);
}

Esito ApriArchiviConto() {
    auto& s = stato();
    if (!contoAttivoAperto()) return nessunConto();
    const QString cartella = s.PercorsoDati;
    const QString codice = s.CodiceContoAttivo.trimmed();
    // The folder's names are read once for all the files looked up below.
    const FolderNamesScope nomi;

    // A change of several files that the program did not finish (it was stopped midway)
    // is put back before anything is read. Told once; when it cannot be put back, the
    // account is not used.
    const RecoveryResult ripristino = recoverInterrupted(cartella);
    if (ripristino.found && !ripristino.restored) {
        contoNonUtilizzabile(QString());
        return Esito::fallito(testoRipristino(ripristino));
    }

    // A code that cannot name a file of the folder opens nothing and writes nothing.
    if (!accountCodeNamesFile(codice)) return contoNonUtilizzabile(testoCodiceSenzaFile(codice));

    // What a rewrite stopped midway left behind is not part of the account.
    rimuoviTemporaneiConto(cartella, codice);

    // Everything is read before anything changes: an account whose files cannot all be
    // read, or whose counts cannot be trusted, is not used and nothing is written.
    const EsameFileConto esame = esaminaFileConto(cartella, codice);
    if (esame.illeggibile()) return contoNonUtilizzabile(esame.testoIlleggibili());
    if (esame.danneggiato()) {
        QStringList danni;
        for (const ConteggioDanneggiato& d : esame.danni())
            danni << descriviDanno(d.esame);
        danni << QStringLiteral("Riaprire il conto per ricostruire il numero.");
        return contoNonUtilizzabile(danni.join(u'\n'));
    }
    QStringList errori;
    QString motivo;
    std::vector<Movimento> movimenti;
    std::vector<CarnetAssegni> carnet;
    std::vector<FoglioAssegno> fogli;
    const QString rip = fileContoAttivo(ExtRIP);
    const Riporto riporto = leggiRecord<Riporto>(rip, 1, &motivo);
    if (!motivo.isEmpty()) errori << testoErroreLettura(rip, motivo);
    leggiTabellaMovimenti(esame.movimenti, movimenti, errori);
    leggiCoppia(esame.carnet, carnet, errori);
    leggiCoppia(esame.fogli, fogli, errori);
    if (!errori.isEmpty()) return contoNonUtilizzabile(errori.join(u'\n'));

    return prendiTabelle(codice, riporto, std::move(movimenti), std::move(carnet), std::move(fogli),
                         esame.avvisiEccessivi(), ripristino);
}

Esito ApriArchiviContoScritto(TabelleScritte tabelle) {
    if (!contoAttivoAperto()) return nessunConto();
    const QString cartella = stato().PercorsoDati;
    const QString codice = stato().CodiceContoAttivo.trimmed();
    const FolderNamesScope nomi;
    // A change left unfinished in the folder, or a code that names no file, is dealt with
    // as the load deals with it.
    if (hasInterruptedChange(cartella) || !accountCodeNamesFile(codice)) return ApriArchiviConto();
    rimuoviTemporaneiConto(cartella, codice);
    // The files must be as they were written: every count the number of records given,
    // each record file that many records, every file readable, the carry-forward the one
    // given. Otherwise they are read.
    const EsameFileConto esame = esaminaFileConto(cartella, codice);
    if (!comeScritto(esame.movimenti, tabelle.movimenti.size()) ||
        !comeScritto(esame.carnet, tabelle.carnet.size()) ||
        !comeScritto(esame.fogli, tabelle.fogli.size()) || esame.illeggibile())
        return ApriArchiviConto();
    QString motivo;
    const Riporto riporto = leggiRecord<Riporto>(fileContoAttivo(ExtRIP), 1, &motivo);
    if (!motivo.isEmpty() || riporto.toBytes() != tabelle.riporto.toBytes())
        return ApriArchiviConto();

    // The records as reading their bytes gives them. A movement that is already so (the
    // movements of a load, kept by the change) is taken as it is; the few others, and the
    // short tables, go through their bytes.
    tieniMemoriaTraCaricamenti();
    std::vector<Movimento> movimenti;
    movimenti.reserve(1 + tabelle.movimenti.size() + RigheLibere);
    movimenti.emplace_back();
    for (Movimento& m : tabelle.movimenti) {
        if (!movimentoComeLetto(m)) m = Movimento::fromBytes(m.toBytes());
        movimenti.push_back(std::move(m));
    }
    tabelle.movimenti = {};
    for (CarnetAssegni& c : tabelle.carnet)
        c = CarnetAssegni::fromBytes(c.toBytes());
    for (FoglioAssegno& f : tabelle.fogli)
        f = FoglioAssegno::fromBytes(f.toBytes());
    return prendiTabelle(codice, riporto, std::move(movimenti), std::move(tabelle.carnet),
                         std::move(tabelle.fogli), {}, RecoveryResult{}, true);
}

Esito CaricaMovimenti(bool aggiornaPannelli) {
    auto& s = stato();
    if (!contoAttivoAperto()) return nessunConto();

    // Nothing changed since the account was loaded: the movements in memory are those of
    // the files, and only the balances are worked out again from them.
    if (contoInvariatoDalCaricamento()) {
        QStringList errori;
        ricalcolaSaldi(aggiornaPannelli, errori);
        return fattoConAvvisi(errori);
    }

    const EsameConteggio esame =
        esaminaConteggio(fileContoAttivo(ExtMOR), fileContoAttivo(ExtMOV), Movimento::Lunghezza);
    if (!esame.utilizzabile()) {
        QString problema = descriviDanno(esame);
        if (esame.danneggiato())
            problema += u'\n' + QStringLiteral("Riaprire il conto per ricostruire il numero.");
        return contoNonUtilizzabile(problema);
    }
    QStringList errori;
    std::vector<Movimento> movimenti;
    if (!leggiTabellaMovimenti(esame, movimenti, errori))
        return contoNonUtilizzabile(errori.join(u'\n'));

    QStringList avvisi;
    if (esame.stato == StatoConteggio::Eccessivo)
        avvisi << testoConteggioEccessivo(esame, QStringLiteral("movimenti"));
    avvisi << avvisiImporti(righe(movimenti), s.TabellaRiporto[1], fileContoAttivo(ExtRIP));
    applicaMovimenti(std::move(movimenti), aggiornaPannelli, errori);
    aggiungiAvvisi(avvisi, errori);
    return fattoConAvvisi(errori);
}

} // namespace qv
