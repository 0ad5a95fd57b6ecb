#include "cheques/cheque_issue.h"

#include "cheques/cheque_books.h"
#include "common/amounts.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/account_loader.h"
#include "ledger/movement_files.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

int ultimaRigaFogli() {
    const StatoProgramma& s = stato();
    return std::clamp<int>(s.NumeroFogli, 0, int(s.TabellaFogli.size()) - 1);
}

} // namespace

QString testoAssegnoNonSelezionato() {
    return QStringLiteral("Assegno non selezionato, seleziona prima l'assegno con un doppio "
                          "click del mouse dalla lista");
}

QString lineaFoglioCarnet(const FoglioAssegno& foglio, double fattoreValuta,
                          const QString& formato) {
    return QString::number(foglio.numeroAssegno).leftJustified(11) +
           foglio.dataAssegno.leftJustified(10, QLatin1Char(' '), true) + QLatin1Char(' ') +
           rightAlign(formatAmount(foglio.importo, fattoreValuta, formato), 14);
}

std::vector<FoglioElencato> fogliDelCarnet(qint16 numeroCarnet) {
    const StatoProgramma& s = stato();
    std::vector<FoglioElencato> fogli;
    const int ultima = ultimaRigaFogli();
    for (int j = 1; j <= ultima; ++j) {
        const FoglioAssegno& f = s.TabellaFogli[size_t(j)];
        if (f.numeroCarnet != numeroCarnet) continue;
        fogli.push_back({f.dataAssegno, f.importo * s.FattoreValuta, f.traenteAssegno.left(20),
                         f.numeroAssegno, qint16(j), f.movimento});
    }
    return fogli;
}

Movimento movimentoAssegno(const DatiAssegno& dati, qint32 numeroAssegno, qint16 numero,
                           double importoMemorizzato, const QString& sospeso) {
    Movimento m;
    m.numero = numero;
    m.dataOperazione = dati.data;
    m.dataValuta = dati.data;
    m.codiceCausale = QStringLiteral("AS");
    m.importo = importoMemorizzato;
    m.numeroDocumento = documentoAssegno(numeroAssegno);
    m.descrizione = dati.traente.left(30);
    m.sospeso = sospeso;
    m.entrataUscita = QStringLiteral("U");
    m.annullato = QStringLiteral("N");
    return m;
}

Esito salvaAssegno(const DatiAssegno& dati, int* numeroMovimento) {
    StatoProgramma& s = stato();
    if (numeroMovimento) *numeroMovimento = 0;
    auto rifiuta = [](const QString& testo) {
        return Esito::rifiutato(testo, QStringLiteral("ERRORE"));
    };
    auto fallisce = [](const QString& testo) { return Esito::fallito(testo); };
    if (dati.foglio < 1 || dati.foglio > ultimaRigaFogli())
        return rifiuta(testoAssegnoNonSelezionato());
    if (!cambioUtilizzabile(s.FattoreValuta))
        return rifiuta(QStringLiteral("Il cambio della valuta di visualizzazione non è "
                                      "utilizzabile: l'assegno non è stato registrato."));
    const FoglioAssegno vecchio = s.TabellaFogli[size_t(dati.foglio)];
    // An amount confirmed as the leaf shows it keeps the leaf's stored amount.
    const double importo = dati.annullato ? 0.0
                                          : importoConfermato(dati.importo, vecchio.importo,
                                                              s.FattoreValuta, s.FormatoImporti);
    if (!std::isfinite(importo) || importo < 0) return rifiuta(amountErrorMessage());

    FoglioAssegno nuovo = vecchio;
    nuovo.dataAssegno = dati.data;
    nuovo.importo = importo;
    nuovo.traenteAssegno = dati.traente;
    nuovo.traenteNullo = false; // an issued cheque's payee is what was typed, blanks if none
    nuovo.noteAssegno = dati.note;
    nuovo.annullato = dati.annullato ? QStringLiteral("S") : QStringLiteral("N");

    // The movement already booked for this cheque, when its link (or a look-up by
    // causale and document number) finds it; else a new one is appended.
    const int esistente = vecchio.movimento != 0 ? movimentoDelFoglio(dati.foglio) : 0;
    const bool appendi = esistente == 0;
    if (appendi && !spazioPerNuovoMovimento()) return rifiuta(messaggioContoPieno());
    const qint16 numero = appendi ? qint16(s.NumeroMovimenti + 1) : qint16(esistente);
    QString sospeso = QStringLiteral("S");
    if (!appendi) {
        // An aligned cheque stays aligned: its movement keeps its state.
        const QString attuale = s.TabellaMovimenti[size_t(esistente)].sospeso;
        if (attuale == QLatin1String("N")) sospeso = attuale;
    }
    nuovo.movimento = numero;
    const Movimento movimento =
        movimentoAssegno(dati, nuovo.numeroAssegno, numero, importo, sospeso);

    // The leaf and its movement: one change.
    Transaction modifica(s.PercorsoDati);
    if (!modifica.writeRecord(fileContoAttivo(ExtFOG), FoglioAssegno::Lunghezza, dati.foglio,
                              nuovo.toBytes()))
        return fallisce(modifica.message() + annullaModifica(modifica));
    const Esito scritto = appendi ? SalvaNuovoMovimento(movimento, &modifica)
                                  : riscriviMovimento(movimento, &modifica);
    QString avviso = scritto.testo;
    // The movement could not be stored: the leaf goes back to what it was.
    if (!scritto.ok()) return fallisce(avviso + annullaModifica(modifica));
    s.TabellaFogli[size_t(dati.foglio)] = nuovo;
    if (!appendi) {
        // A rewritten movement changes the balances: they are recomputed from the file.
        const QString ricarica = CaricaMovimenti(true).testo;
        if (!ricarica.isEmpty())
            avviso += (avviso.isEmpty() ? QString() : QStringLiteral("\n")) + ricarica;
    }
    if (numeroMovimento) *numeroMovimento = numero;
    return Esito::fatto(avviso);
}

} // namespace qv
