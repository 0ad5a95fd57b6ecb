#include "ledger/account_loader.h"

#include "common/file_names.h"
#include "common/numeric_value.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "ledger/balances.h"
#include "ledger/movement_files.h"

#include <QStringList>

#include <algorithm>

namespace qv {

namespace {

std::function<void()>& dopoApriArchivi() {
    static std::function<void()> azione;
    return azione;
}

QString testoErroreLettura(const QString& percorso, const QString& motivo) {
    return QStringLiteral("Impossibile leggere il file %1: %2.").arg(percorso, motivo);
}

// The records of the open account that a count file counts (a negative count reads
// as none). A file that cannot be read adds its message to errori; *letti turns
// false when the records themselves could not be read.
template <class R>
std::vector<R> leggiConContatore(const QString& estContatore, const QString& estRecord,
                                 QStringList& errori, bool* letti = nullptr) {
    QString motivo;
    const QString contatore = fileContoAttivo(estContatore);
    const qint16 n = std::max<qint16>(leggiContatore(contatore, &motivo), 0);
    if (!motivo.isEmpty()) errori << testoErroreLettura(contatore, motivo);
    const QString archivio = fileContoAttivo(estRecord);
    std::vector<R> righe = leggiRecords<R>(archivio, n, &motivo);
    if (!motivo.isEmpty()) errori << testoErroreLettura(archivio, motivo);
    if (letti) *letti = motivo.isEmpty();
    return righe;
}

// Reads a count file and its records into a table of rows 0 to the count.
template <class R>
void caricaTabella(const QString& estContatore, const QString& estRecord, qint16& numero,
                   std::vector<R>& tabella, QStringList& errori) {
    riempiTabella(tabella, numero, leggiConContatore<R>(estContatore, estRecord, errori));
}

} // namespace

void impostaDopoApriArchiviConto(std::function<void()> azione) {
    dopoApriArchivi() = std::move(azione);
}

bool ApriArchiviConto(QString* errore) {
    auto& s = stato();
    QStringList errori;
    QString motivo;
    if (!contoAttivoAperto()) {
        if (errore) *errore = testoNessunContoAperto();
        return false;
    }

    // Holds made for another account mean nothing here.
    if (s.ContoMovimentiTrattenuti != s.CodiceContoAttivo.trimmed()) dimenticaMovimentiTrattenuti();

    const QString rip = fileContoAttivo(ExtRIP);
    s.TabellaRiporto[1] = leggiRecord<Riporto>(rip, 1, &motivo);
    if (!motivo.isEmpty()) errori << testoErroreLettura(rip, motivo);

    const QString tot = fileContoAttivo(ExtTOT);
    s.TotaliContoAttivo = leggiRecord<TotaliConto>(tot, 1, &motivo);
    if (!motivo.isEmpty()) errori << testoErroreLettura(tot, motivo);
    const TotaliConto& t = s.TotaliContoAttivo;
    auto oSeVuota = [](const QString& data) {
        return valoreNumerico(data) == 0 ? DataOggi() : data;
    };
    s.PrimaDataOperazione = oSeVuota(t.primaDataOperazione);
    s.UltimaDataOperazione = oSeVuota(t.ultimaDataOperazione);
    s.PrimaDataValuta = t.primaDataValuta;
    s.UltimaDataValuta = t.ultimaDataValuta;

    if (!CaricaMovimenti(true, &motivo)) errori << motivo;

    caricaTabella(ExtNRC, ExtCAR, s.NumeroCarnet, s.TabellaCarnet, errori);
    caricaTabella(ExtNRF, ExtFOG, s.NumeroFogli, s.TabellaFogli, errori);

    if (dopoApriArchivi()) dopoApriArchivi()();

    if (errore) *errore = errori.join(u'\n');
    return errori.isEmpty();
}

bool CaricaMovimenti(bool aggiornaPannelli, QString* errore) {
    auto& s = stato();
    QStringList errori;
    QString motivo;
    if (!contoAttivoAperto()) {
        if (errore) *errore = testoNessunContoAperto();
        return false;
    }

    bool letti = true;
    std::vector<Movimento> movimenti = leggiConContatore<Movimento>(ExtMOR, ExtMOV, errori, &letti);
    // Unread records must not look like an empty account that later writes could
    // overwrite: the table stays empty.
    if (!letti) movimenti.clear();

    // The movements held out of the balances by windows stay out.
    std::vector<Movimento> nelSaldo;
    nelSaldo.reserve(movimenti.size());
    for (int i = 0; i < int(movimenti.size()); ++i)
        if (!movimentoFuoriDaiSaldi(qint16(i + 1))) nelSaldo.push_back(movimenti[size_t(i)]);
    const Saldi saldi = calcolaSaldi(nelSaldo, s.TabellaRiporto[1].saldoRiporto, DataOggi());

    riempiTabella(s.TabellaMovimenti, s.NumeroMovimenti, std::move(movimenti));
    s.SaldoContabile = saldi.contabile;
    s.SaldoNonSospesi = saldi.nonSospesi;
    s.SaldoOperazioneOggi = saldi.operazioneOggi;
    s.SaldoValutaOggi = saldi.valutaOggi;

    // The bounds are recomputed from the movements as ".TOT" is written.
    if (!scriviTotali(&motivo)) errori << motivo;
    if (aggiornaPannelli) mostraSaldi();

    if (errore) *errore = errori.join(u'\n');
    return errori.isEmpty();
}

} // namespace qv
