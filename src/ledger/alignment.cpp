#include "ledger/alignment.h"

#include "archives/causali.h"
#include "common/amounts.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/balances.h"
#include "ledger/movement_files.h"
#include "ledger/open_account_announce.h"

#include <QStringList>

#include <algorithm>

namespace qv {

namespace {

const QString finestra() {
    return QString::fromLatin1(FinestraAllineamento);
}

// The cheque number a document number stands for; 0 when it is none.
qint32 numeroAssegnoDelDocumento(const QString& documento) {
    bool ok = false;
    const qint32 numero = documento.trimmed().toInt(&ok);
    return ok && numero > 0 ? numero : 0;
}

bool stessoFoglio(const FoglioAssegno& foglio, qint16 movimento, qint32 assegno) {
    return foglio.movimento == movimento && foglio.numeroAssegno == assegno;
}

// Whether the movement a leaf links to is that cheque's "AS" movement.
bool collegamentoValido(const FoglioAssegno& foglio) {
    const auto& s = stato();
    if (foglio.movimento < 1 || foglio.movimento > s.NumeroMovimenti ||
        size_t(foglio.movimento) >= s.TabellaMovimenti.size())
        return false;
    const Movimento& m = s.TabellaMovimenti[size_t(foglio.movimento)];
    return normalizzaCodiceCausale(m.codiceCausale) == u"AS" &&
           numeroAssegnoDelDocumento(m.numeroDocumento) == foglio.numeroAssegno;
}

QString testoErroreLettura(const QString& percorso, const QString& motivo) {
    return QStringLiteral("Impossibile leggere il file %1: %2.").arg(percorso, motivo);
}

// What aligning a cheque movement changes in the cheque files: the leaf (row
// `riga` of TabellaFogli) and, when it belongs to a registered book, that book (row
// `carnet` of TabellaCarnet, 0 for none).
struct AssegnoAllineato {
    int riga = 0;
    FoglioAssegno foglio;
    int carnet = 0;
    CarnetAssegni libretto;
};

// Marks the cheque leaf of the movement stored as `salvato` aligned with the amount
// `importo`, then its book's count of leaves to align, both through `modifica`. Each
// record is read from its file, checked to be the one the tables name, and written back
// with only those fields changed; the tables are left to the caller, once the whole
// change is done. `allineato` tells what was written (riga 0: the movement has no leaf).
// False, with the reason, at the first failure.
bool allineaAssegno(const Movimento& salvato, double importo, Transaction& modifica,
                    AssegnoAllineato& allineato, QStringList& errori) {
    const auto& s = stato();
    const int riga = foglioDelMovimento(salvato);
    if (riga == 0) return true; // no leaf for this movement: only the movement is written

    const QString fog = fileContoAttivo(ExtFOG);
    QString motivo;
    FoglioAssegno foglio = leggiRecord<FoglioAssegno>(fog, riga, &motivo);
    if (!motivo.isEmpty()) {
        errori << testoErroreLettura(fog, motivo);
        return false;
    }
    const qint32 assegno = numeroAssegnoDelDocumento(salvato.numeroDocumento);
    const FoglioAssegno& inTabella = s.TabellaFogli[size_t(riga)];
    if (foglio.numeroAssegno != assegno || foglio.numeroCarnet != inTabella.numeroCarnet ||
        foglio.movimento != inTabella.movimento) {
        errori << QStringLiteral("Il file %1 non contiene più l'assegno nr. %2 al foglio %3: "
                                 "riaprire il conto e ripetere l'allineamento.")
                      .arg(fog)
                      .arg(assegno)
                      .arg(riga);
        return false;
    }
    foglio.movimento = salvato.numero; // mends a link left behind
    foglio.allineato = QStringLiteral("S");
    foglio.importo = importo;
    if (!modifica.writeRecord(fog, FoglioAssegno::Lunghezza, riga, foglio.toBytes())) {
        errori << modifica.message();
        return false;
    }
    allineato.riga = riga;
    allineato.foglio = foglio;

    // The book's aligned leaves, this one counted as it is now.
    const qint16 carnet = foglio.numeroCarnet;
    const int fogli = std::min<int>(s.NumeroFogli, int(s.TabellaFogli.size()) - 1);
    int allineati = 0;
    for (int i = 1; i <= fogli; ++i) {
        const FoglioAssegno& f = i == riga ? foglio : s.TabellaFogli[size_t(i)];
        if (f.numeroCarnet == carnet && f.allineato.trimmed() == u"S") ++allineati;
    }
    const int carnets = std::min<int>(s.NumeroCarnet, int(s.TabellaCarnet.size()) - 1);
    if (carnet < 1 || carnet > carnets) return true; // a leaf of no registered book

    const QString car = fileContoAttivo(ExtCAR);
    CarnetAssegni libretto = leggiRecord<CarnetAssegni>(car, carnet, &motivo);
    if (!motivo.isEmpty()) {
        errori << testoErroreLettura(car, motivo);
        return false;
    }
    libretto = carnetAggiornato(libretto, allineati);
    if (!modifica.writeRecord(car, CarnetAssegni::Lunghezza, carnet, libretto.toBytes())) {
        errori << modifica.message();
        return false;
    }
    allineato.carnet = carnet;
    allineato.libretto = libretto;
    return true;
}

} // namespace

QString lineaMovimentoSospeso(const Movimento& m) {
    const auto& s = stato();
    QString causale(20, u' ');
    if (const int riga = trovaCausale(m.codiceCausale))
        causale = s.TabellaCausali[size_t(riga)].descrizione.left(20).leftJustified(20);
    return m.dataOperazione.leftJustified(10) + u' ' + m.dataValuta.leftJustified(10) + u' ' +
           QStringLiteral("%1").arg(m.numero, 4, 10, QLatin1Char('0')) + u' ' + causale +
           QStringLiteral("   ") + m.entrataUscita.leftJustified(1) + QStringLiteral("  ") +
           m.numeroDocumento.leftJustified(8) + u' ' +
           rightAlign(formatAmount(importoContabile(m.importo), s.FattoreValuta, s.FormatoImporti),
                      16);
}

std::vector<RigaMovimento> ElencaMovimentiSospesi() {
    const auto& s = stato();
    std::vector<RigaMovimento> righe;
    const int n = std::min<int>(s.NumeroMovimenti, int(s.TabellaMovimenti.size()) - 1);
    for (int i = 1; i <= n; ++i) {
        const Movimento& m = s.TabellaMovimenti[size_t(i)];
        if (m.sospeso.trimmed() != u"S") continue;
        righe.push_back({lineaMovimentoSospeso(m), qint16(i)});
    }
    return righe;
}

EsitoCon<Movimento> RichiamaMovimentoDaAllineare(qint16 numero) {
    const auto& s = stato();
    if (numero < 1 || numero > s.NumeroMovimenti || size_t(numero) >= s.TabellaMovimenti.size() ||
        s.TabellaMovimenti[size_t(numero)].sospeso.trimmed() != u"S")
        return Esito::rifiutato({}, QStringLiteral("ERRORE"));
    const Esito tenuto = trattieniFuoriDaiSaldi(finestra(), numero);
    return {Esito::fatto(tenuto.testo), stato().TabellaMovimenti[size_t(numero)]};
}

int foglioDelMovimento(const Movimento& m) {
    const auto& s = stato();
    const qint32 assegno = numeroAssegnoDelDocumento(m.numeroDocumento);
    if (m.numero < 1 || assegno == 0) return 0;
    const int n = std::min<int>(s.NumeroFogli, int(s.TabellaFogli.size()) - 1);
    // The leaf linked to the movement, when it carries the movement's cheque number.
    for (int i = 1; i <= n; ++i)
        if (stessoFoglio(s.TabellaFogli[size_t(i)], m.numero, assegno)) return i;
    // Else a booked leaf of that cheque number whose link names no cheque movement of
    // its number (a link left behind by a renumbering).
    for (int i = 1; i <= n; ++i) {
        const FoglioAssegno& f = s.TabellaFogli[size_t(i)];
        if (f.numeroAssegno != assegno || f.movimento == 0) continue;
        if (!collegamentoValido(f)) return i;
    }
    return 0;
}

CarnetAssegni carnetAggiornato(CarnetAssegni carnet, int fogliAllineati) {
    carnet.fogliDaAllineare = qint16(std::max(0, 10 - fogliAllineati));
    if (carnet.fogliDaAllineare == 0) carnet.allineato = QStringLiteral("S");
    return carnet;
}

Esito AllineaMovimento(qint16 numero, const Movimento& corretto) {
    auto& s = stato();
    if (numero < 1 || numero > s.NumeroMovimenti || size_t(numero) >= s.TabellaMovimenti.size() ||
        movimentoTrattenuto(finestra()) != numero)
        return Esito::rifiutato({}, QStringLiteral("ERRORE"));

    Movimento salvato = s.TabellaMovimenti[size_t(numero)];
    salvato.numero = numero;
    Movimento nuovo = corretto;
    nuovo.numero = numero;
    nuovo.sospeso = QStringLiteral("N");
    nuovo.annullato = QStringLiteral("N");

    // The cheque's leaf and book and the movement are one change: a failure anywhere
    // puts every file back, and the tables and the hold stay as they were.
    QStringList errori;
    const QString nonAllineato = QStringLiteral("Il movimento non è stato allineato.");
    Transaction modifica(s.PercorsoDati);
    AssegnoAllineato assegno;
    if (normalizzaCodiceCausale(nuovo.codiceCausale) == u"AS" &&
        !allineaAssegno(salvato, nuovo.importo, modifica, assegno, errori)) {
        errori << nonAllineato;
        const QString nonRipristinati = annullaModifica(modifica);
        return Esito::fallito(errori.join(u'\n') + nonRipristinati);
    }

    // A movement with no cheque file changed is one record: it needs no snapshot.
    Transaction* perMovimento = modifica.active() ? &modifica : nullptr;
    const Esito scritto = riscriviMovimento(nuovo, perMovimento);
    const QString motivo = scritto.testo;
    if (!scritto.ok()) {
        const QString nonRipristinati = annullaModifica(modifica);
        return Esito::fallito(motivo + nonRipristinati);
    }
    if (!motivo.isEmpty()) errori << motivo;
    // Written as a whole: the cheque tables follow the files.
    if (assegno.riga != 0) s.TabellaFogli[size_t(assegno.riga)] = assegno.foglio;
    if (assegno.carnet != 0) s.TabellaCarnet[size_t(assegno.carnet)] = assegno.libretto;

    // The row now holds the aligned movement: it goes back into the balances so.
    if (const Esito saldi = restituisciAiSaldi(finestra()); !saldi.ok()) errori << saldi.testo;
    // The cheque books and the cheque lists with the main window's counters follow the
    // leaf and the book just aligned.
    AnnunciContoAperto::assegni();
    return Esito::fatto(errori.join(u'\n'));
}

Esito rinunciaAllineamento() {
    if (movimentoTrattenuto(finestra()) == 0) return Esito::fatto();
    return restituisciAiSaldi(finestra());
}

} // namespace qv
