#include "cheques/cheque_books.h"

#include "cheques/cheque_lists.h"
#include "common/count_file.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/account_loader.h"
#include "ledger/balances.h"
#include "ledger/movement_files.h"
#include "ledger/open_account_announce.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace qv {

namespace {

const QString CausaleAssegno = QStringLiteral("AS");
const QString CausaleCarnet = QStringLiteral("CA");

void componi(QString* errore, const QStringList& parti) {
    if (errore) *errore = parti.join(u'\n');
}

Esito rifiuto(const QStringList& parti) {
    return Esito::rifiutato(parti.join(u'\n'), QStringLiteral("ERRORE"));
}

Esito guasto(const QStringList& parti) {
    return Esito::fallito(parti.join(u'\n'));
}

QString messaggioNessunConto() {
    return QStringLiteral("Nessun conto aperto.");
}

// Whether an account is open; when none is, errore says so.
bool richiediConto(QString* errore) {
    if (contoAttivoAperto()) return true;
    componi(errore, {messaggioNessunConto()});
    return false;
}

// The number of books of the open account when one is open and `riga` is one of its
// books; 0, with the reason in errore, otherwise.
int carnetDelConto(int riga, QString* errore) {
    if (!richiediConto(errore)) return 0;
    const auto& s = stato();
    const int nc = std::clamp<int>(s.NumeroCarnet, 0, int(s.TabellaCarnet.size()) - 1);
    if (riga < 1 || riga > nc) {
        componi(errore, {QStringLiteral("Nessun carnet selezionato.")});
        return 0;
    }
    return nc;
}

// Rows 1 to count of a shared table, as a vector numbered from 0.
template <class R> std::vector<R> righe(const std::vector<R>& tabella, int count) {
    const int n = std::clamp<int>(count, 0, int(tabella.size()) - 1);
    return std::vector<R>(tabella.begin() + 1, tabella.begin() + 1 + n);
}

// A shared table made of row 0 and `records` as rows 1, 2, ...
template <class R> void assegnaTabella(std::vector<R>& tabella, const std::vector<R>& records) {
    R zero = tabella.empty() ? R{} : tabella.front();
    tabella.assign(1, zero);
    tabella.insert(tabella.end(), records.begin(), records.end());
}

// Several files of the open account rewritten whole as one change (common/
// transaction.h): when one cannot be written, those already written are put back, and a
// program stopped midway has them put back when the account is next opened.
class Riscrittura {
public:
    void aggiungi(const QString& percorso, QByteArray contenuto) {
        voci_.push_back({percorso, std::move(contenuto)});
    }
    template <class R> void aggiungiRecords(const QString& percorso, const std::vector<R>& recs) {
        aggiungi(percorso, recordsToBytes(recs));
    }
    void aggiungiContatore(const QString& percorso, int valore) {
        aggiungi(percorso, Contatore{qint16(valore)}.toBytes());
    }

    // False, with the reason and the files left changed should putting them back fail.
    bool esegui(QString* errore) {
        Transaction modifica(stato().PercorsoDati);
        bool fatto = true;
        for (const Voce& v : voci_)
            if (!(fatto = modifica.rewrite(v.percorso, v.contenuto))) break;
        if (fatto && modifica.commit()) return true;
        componi(errore, {modifica.message() + annullaModifica(modifica)});
        return false;
    }

private:
    struct Voce {
        QString percorso;
        QByteArray contenuto;
    };
    std::vector<Voce> voci_;
};

// The movement of each leaf (index 0 to fogli.size() - 1), found as
// trovaMovimentoFoglio finds it, all at once: first every leaf whose link names its
// own "AS" movement keeps it (a movement claimed twice stays with the first leaf);
// then each other booked leaf, in table order, takes the first unclaimed "AS"
// movement carrying its cheque number.
std::vector<int> collegamentiFogli(const std::vector<FoglioAssegno>& fogli,
                                   const std::vector<Movimento>& movimenti, int numeroMovimenti) {
    const int nm = std::clamp<int>(numeroMovimenti, 0, int(movimenti.size()) - 1);
    std::vector<int> link(fogli.size(), 0);
    std::vector<bool> preso(size_t(std::max(nm, 0)) + 1, false);
    std::vector<size_t> daCercare;
    for (size_t j = 0; j < fogli.size(); ++j) {
        const FoglioAssegno& f = fogli[j];
        if (f.movimento == 0) continue; // never booked
        const int m = f.movimento;
        if (m >= 1 && m <= nm && !preso[size_t(m)] &&
            eMovimentoDelFoglio(movimenti[size_t(m)], f.numeroAssegno)) {
            link[j] = m;
            preso[size_t(m)] = true;
        } else {
            daCercare.push_back(j);
        }
    }
    if (daCercare.empty()) return link;
    // The "AS" movements by the value of their document number, in movement order.
    std::map<qint64, std::vector<int>> perDocumento;
    for (int m = 1; m <= nm; ++m) {
        const Movimento& mov = movimenti[size_t(m)];
        if (mov.codiceCausale.trimmed() != CausaleAssegno) continue;
        const qint64 valore = valoreDocumento(mov.numeroDocumento);
        if (valore >= 0) perDocumento[valore].push_back(m);
    }
    for (size_t j : daCercare) {
        const auto it =
            perDocumento.find(valoreDocumento(documentoAssegno(fogli[j].numeroAssegno)));
        if (it == perDocumento.end()) continue;
        for (int m : it->second) {
            if (preso[size_t(m)]) continue;
            link[j] = m;
            preso[size_t(m)] = true;
            break;
        }
    }
    return link;
}

// The movement of each book, as trovaMovimentoCarnet finds it.
std::vector<int> collegamentiCarnet(const std::vector<CarnetAssegni>& carnet,
                                    const std::vector<Movimento>& movimenti, int numeroMovimenti) {
    std::vector<int> link(carnet.size(), 0);
    for (size_t i = 0; i < carnet.size(); ++i)
        link[i] = trovaMovimentoCarnet(carnet[i], movimenti, numeroMovimenti);
    return link;
}

QString testoLimite(int limite, const QString& cosa) {
    return QStringLiteral("Il conto ha già %1 %2: il carnet non può essere registrato.")
        .arg(limite)
        .arg(cosa);
}

} // namespace

// --- Document numbers and links ---------------------------------------------------

qint64 valoreDocumento(const QString& numeroDocumento) {
    const QStringView testo = QStringView(numeroDocumento).trimmed();
    if (testo.isEmpty() || testo.size() > 18) return -1;
    qint64 valore = 0;
    for (QChar c : testo) {
        if (c < u'0' || c > u'9') return -1;
        valore = valore * 10 + (c.unicode() - u'0');
    }
    return valore;
}

QString documentoAssegno(qint32 numeroAssegno) {
    const QString testo = QString::number(numeroAssegno);
    return testo.size() > 8 ? testo.right(8) : testo;
}

QString documentoCarnet(qint16 numeroCarnet) {
    return QString::number(numeroCarnet);
}

QString descrizioneCostoCarnet(qint16 numeroCarnet, qint32 primoAssegno) {
    return (QStringLiteral("Carnet nr. ") + QString::number(numeroCarnet) + u'-' +
            QString::number(primoAssegno))
        .left(30);
}

bool eMovimentoDelCarnet(const Movimento& m, qint16 numeroCarnet) {
    return m.codiceCausale.trimmed() == CausaleCarnet &&
           valoreDocumento(m.numeroDocumento) == numeroCarnet;
}

bool eMovimentoDelFoglio(const Movimento& m, qint32 numeroAssegno) {
    return m.codiceCausale.trimmed() == CausaleAssegno &&
           valoreDocumento(m.numeroDocumento) == valoreDocumento(documentoAssegno(numeroAssegno));
}

int trovaMovimentoCarnet(const CarnetAssegni& carnet, const std::vector<Movimento>& movimenti,
                         int numeroMovimenti) {
    const int nm = std::clamp<int>(numeroMovimenti, 0, int(movimenti.size()) - 1);
    const int link = carnet.movimentoCosto;
    if (link >= 1 && link <= nm &&
        eMovimentoDelCarnet(movimenti[size_t(link)], carnet.numeroCarnet))
        return link;
    for (int m = 1; m <= nm; ++m)
        if (eMovimentoDelCarnet(movimenti[size_t(m)], carnet.numeroCarnet)) return m;
    return 0;
}

int trovaMovimentoFoglio(const std::vector<FoglioAssegno>& fogli, int numeroFogli, int riga,
                         const std::vector<Movimento>& movimenti, int numeroMovimenti) {
    const int nf = std::clamp<int>(numeroFogli, 0, int(fogli.size()) - 1);
    if (riga < 1 || riga > nf) return 0;
    return collegamentiFogli(righe(fogli, nf), movimenti, numeroMovimenti)[size_t(riga - 1)];
}

int movimentoDelCarnet(int riga) {
    const auto& s = stato();
    if (riga < 1 || riga > s.NumeroCarnet || size_t(riga) >= s.TabellaCarnet.size()) return 0;
    return trovaMovimentoCarnet(s.TabellaCarnet[size_t(riga)], s.TabellaMovimenti,
                                s.NumeroMovimenti);
}

int movimentoDelFoglio(int riga) {
    const auto& s = stato();
    return trovaMovimentoFoglio(s.TabellaFogli, s.NumeroFogli, riga, s.TabellaMovimenti,
                                s.NumeroMovimenti);
}

Esito aggiornaCollegamentiAssegni() {
    auto& s = stato();
    if (!contoAttivoAperto()) return Esito::fatto();
    std::vector<FoglioAssegno> fogli = righe(s.TabellaFogli, s.NumeroFogli);
    std::vector<CarnetAssegni> carnet = righe(s.TabellaCarnet, s.NumeroCarnet);
    const std::vector<int> linkFogli =
        collegamentiFogli(fogli, s.TabellaMovimenti, s.NumeroMovimenti);
    const std::vector<int> linkCarnet =
        collegamentiCarnet(carnet, s.TabellaMovimenti, s.NumeroMovimenti);
    bool fogliCambiati = false;
    bool carnetCambiati = false;
    for (size_t j = 0; j < fogli.size(); ++j) {
        if (fogli[j].movimento == linkFogli[j]) continue;
        fogli[j].movimento = qint16(linkFogli[j]);
        fogliCambiati = true;
    }
    for (size_t i = 0; i < carnet.size(); ++i) {
        if (carnet[i].movimentoCosto == linkCarnet[i]) continue;
        carnet[i].movimentoCosto = qint16(linkCarnet[i]);
        carnetCambiati = true;
    }
    if (!fogliCambiati && !carnetCambiati) return Esito::fatto();
    Riscrittura scrittura;
    if (fogliCambiati) scrittura.aggiungiRecords(fileContoAttivo(ExtFOG), fogli);
    if (carnetCambiati) scrittura.aggiungiRecords(fileContoAttivo(ExtCAR), carnet);
    if (QString motivo; !scrittura.esegui(&motivo)) return guasto({motivo});
    assegnaTabella(s.TabellaFogli, fogli);
    assegnaTabella(s.TabellaCarnet, carnet);
    return Esito::fatto();
}

// --- Loading ----------------------------------------------------------------------

Esito CaricaCarnet() {
    auto& s = stato();
    QStringList errori;
    std::vector<CarnetAssegni> carnet;
    if (contoAttivoAperto()) {
        QString motivo;
        // The count judged with its file: a count larger than the books is taken as the
        // books, a damaged one loads none (the account's loading closes such an account).
        const EsameConteggio esame = esaminaConteggio(
            fileContoAttivo(ExtNRC), fileContoAttivo(ExtCAR), CarnetAssegni::Lunghezza);
        if (!esame.utilizzabile()) errori << descriviDanno(esame);
        const QString car = esame.fileRecord;
        carnet = leggiRecords<CarnetAssegni>(car, esame.conteggio, &motivo);
        if (!motivo.isEmpty()) {
            // Books that could not be read must not look like free numbers.
            errori << QStringLiteral("Impossibile leggere il file %1: %2.")
                          .arg(QDir::toNativeSeparators(car), motivo);
            carnet.clear();
        }
    }
    assegnaTabella(s.TabellaCarnet, carnet);
    s.NumeroCarnet = qint16(carnet.size());
    // The cheque-book picker follows the table.
    ElencaSituazioneAssegni();
    return errori.isEmpty() ? Esito::fatto() : guasto(errori);
}

QString lineaCarnet(const CarnetAssegni& c) {
    const QString numero = QString::number(c.numeroCarnet).rightJustified(4, u'0');
    const QString daAllineare =
        c.fogliDaAllineare == 0 ? QString() : QString::number(c.fogliDaAllineare);
    return numero + u' ' + c.dataRitiro.leftJustified(10, u' ', true) + u' ' +
           QString::number(c.primoAssegno).rightJustified(11, u' ') + u' ' +
           QString::number(c.ultimoAssegno).rightJustified(11, u' ') + u' ' + daAllineare;
}

// --- Registering a book -------------------------------------------------------------

RifiutoCarnet verificaNumeriCarnet(const DatiCarnet& dati, int escludi) {
    const qint64 primo = dati.primoAssegno;
    const qint64 ultimo = primo + FogliPerCarnet - 1;
    if (primo < 0 || ultimo > LimiteNumeroAssegno) return RifiutoCarnet::NumeroTroppoAlto;
    const auto& s = stato();
    const int nc = std::min<int>(s.NumeroCarnet, int(s.TabellaCarnet.size()) - 1);
    for (int i = 1; i <= nc; ++i) {
        if (i == escludi) continue;
        const CarnetAssegni& c = s.TabellaCarnet[size_t(i)];
        const qint64 da = std::min<qint64>(c.primoAssegno, c.ultimoAssegno);
        const qint64 a = std::max<qint64>(c.primoAssegno, c.ultimoAssegno);
        if (primo <= a && ultimo >= da) return RifiutoCarnet::Esistente;
    }
    // Leaves left over from a book that is no longer in the table count as well.
    const int nf = std::min<int>(s.NumeroFogli, int(s.TabellaFogli.size()) - 1);
    const qint16 proprio =
        escludi >= 1 && escludi <= nc ? s.TabellaCarnet[size_t(escludi)].numeroCarnet : 0;
    for (int j = 1; j <= nf; ++j) {
        const FoglioAssegno& f = s.TabellaFogli[size_t(j)];
        if (proprio != 0 && f.numeroCarnet == proprio) continue;
        if (f.numeroAssegno >= primo && f.numeroAssegno <= ultimo) return RifiutoCarnet::Esistente;
    }
    return RifiutoCarnet::Nessuno;
}

QString testoRifiutoCarnet(RifiutoCarnet rifiuto) {
    switch (rifiuto) {
    case RifiutoCarnet::Nessuno:
        return {};
    case RifiutoCarnet::Esistente:
        return QStringLiteral("Carnet già esistente");
    case RifiutoCarnet::NumeroTroppoAlto:
        return QStringLiteral("Numero iniziale troppo alto: il numero dell'ultimo assegno del "
                              "carnet non può superare le 8 cifre");
    }
    return {};
}

CarnetAssegni nuovoCarnet(const DatiCarnet& dati, qint16 numeroCarnet, qint16 movimentoCosto) {
    CarnetAssegni c;
    c.movimentoCosto = movimentoCosto;
    c.numeroCarnet = numeroCarnet;
    c.dataRitiro = dati.dataRitiro;
    c.costo = dati.costo;
    c.primoAssegno = dati.primoAssegno;
    c.ultimoAssegno = dati.primoAssegno + FogliPerCarnet - 1;
    c.esaurito = QStringLiteral("N");
    c.fogliDaAllineare = FogliPerCarnet;
    c.allineato = QStringLiteral("N");
    c.riservato = QByteArray(2, '\0');
    return c;
}

std::vector<FoglioAssegno> CreaFogliCarnet(qint16 numeroCarnet, qint32 primoAssegno,
                                           int primoProgressivo) {
    std::vector<FoglioAssegno> fogli;
    fogli.reserve(FogliPerCarnet);
    for (int i = 0; i < FogliPerCarnet; ++i) {
        FoglioAssegno f;
        f.movimento = 0;
        f.progressivo = qint16(primoProgressivo + i);
        f.numeroCarnet = numeroCarnet;
        f.numeroAssegno = primoAssegno + i;
        f.dataAssegno = QStringLiteral("00/00/0000");
        f.importo = 0;
        f.allineato = QStringLiteral("N");
        f.riservato = QStringLiteral("S");
        f.annullato = QStringLiteral("N");
        fogli.push_back(f);
    }
    return fogli;
}

Movimento movimentoCostoCarnet(const CarnetAssegni& carnet) {
    Movimento m;
    m.numero = carnet.movimentoCosto;
    m.dataOperazione = carnet.dataRitiro;
    m.dataValuta = carnet.dataRitiro;
    m.codiceCausale = CausaleCarnet;
    m.importo = carnet.costo;
    m.numeroDocumento = documentoCarnet(carnet.numeroCarnet);
    m.descrizione = descrizioneCostoCarnet(carnet.numeroCarnet, carnet.primoAssegno);
    m.sospeso = QStringLiteral("S");
    m.entrataUscita = QStringLiteral("U");
    m.annullato = QStringLiteral("N");
    return m;
}

Esito SalvaNuovoCarnet(const DatiCarnet& dati, int* riga) {
    auto& s = stato();
    if (riga) *riga = 0;
    const QString nonRegistrato = QStringLiteral("Il carnet non è stato registrato.");
    if (QString motivo; !richiediConto(&motivo)) return rifiuto({motivo});
    const int nc = std::clamp<int>(s.NumeroCarnet, 0, int(s.TabellaCarnet.size()) - 1);
    const int nf = std::clamp<int>(s.NumeroFogli, 0, int(s.TabellaFogli.size()) - 1);
    if (nc >= LimiteCarnet) return rifiuto({testoLimite(LimiteCarnet, QStringLiteral("carnet"))});
    if (nf + FogliPerCarnet > LimiteFogli)
        return rifiuto({testoLimite(nf, QStringLiteral("fogli di assegni"))});
    if (!spazioPerNuovoMovimento()) return rifiuto({messaggioContoPieno(), nonRegistrato});
    if (const RifiutoCarnet r = verificaNumeriCarnet(dati, 0); r != RifiutoCarnet::Nessuno)
        return rifiuto({testoRifiutoCarnet(r)});

    const qint16 numero = qint16(nc + 1);
    const CarnetAssegni carnet = nuovoCarnet(dati, numero, qint16(s.NumeroMovimenti + 1));
    const std::vector<FoglioAssegno> fogli = CreaFogliCarnet(numero, dati.primoAssegno, nf + 1);

    // The book, its leaves, their counts and the cost movement: one change.
    Transaction modifica(s.PercorsoDati);
    auto fallito = [&](const QString& motivo) {
        return guasto({motivo + annullaModifica(modifica), nonRegistrato});
    };
    if (!modifica.writeRecord(fileContoAttivo(ExtCAR), CarnetAssegni::Lunghezza, numero,
                              carnet.toBytes()) ||
        !modifica.writeRecords(fileContoAttivo(ExtFOG), FoglioAssegno::Lunghezza, nf + 1,
                               recordsToBytes(fogli)) ||
        !modifica.writeCount(fileContoAttivo(ExtNRF), qint16(nf + FogliPerCarnet)) ||
        !modifica.writeCount(fileContoAttivo(ExtNRC), numero))
        return fallito(modifica.message());

    // Without its cost movement the book is not registered.
    const Esito costo = SalvaNuovoMovimento(movimentoCostoCarnet(carnet), &modifica);
    const QString avviso = costo.testo;
    if (!costo.ok()) return fallito(avviso);

    s.TabellaCarnet.resize(size_t(nc) + 1);
    s.TabellaCarnet.push_back(carnet);
    s.NumeroCarnet = numero;
    s.TabellaFogli.resize(size_t(nf) + 1);
    s.TabellaFogli.insert(s.TabellaFogli.end(), fogli.begin(), fogli.end());
    s.NumeroFogli = qint16(nf + FogliPerCarnet);
    if (riga) *riga = numero;
    return Esito::fatto(avviso);
}

// --- Changing a book ---------------------------------------------------------------------

namespace {

// The leaves of book `numero` in table order take the numbers from `primo`, and the "AS"
// movement of each (found from the numbers before the change) follows its leaf.
void rinumeraFogliCarnet(std::vector<FoglioAssegno>& fogli, std::vector<Movimento>& movimenti,
                         const std::vector<int>& linkFogli, qint16 numero, qint32 primo) {
    qint32 prossimo = primo;
    for (size_t j = 0; j < fogli.size(); ++j) {
        FoglioAssegno& f = fogli[j];
        if (f.numeroCarnet != numero) continue;
        f.numeroAssegno = prossimo++;
        f.movimento = qint16(linkFogli[j]);
        if (linkFogli[j] == 0) continue;
        movimenti[size_t(linkFogli[j])].numeroDocumento = documentoAssegno(f.numeroAssegno);
    }
}

// The cost movement of book `c`: rewritten where it is (`costo`), or appended when the
// book has none (`costo` 0). A cost movement already aligned with the bank statement
// stays aligned.
void scriviCostoCarnet(CarnetAssegni& c, int costo, std::vector<Movimento>& movimenti) {
    const bool accodato = costo == 0;
    if (accodato) {
        c.movimentoCosto = qint16(movimenti.size());
        movimenti.emplace_back();
    } else {
        c.movimentoCosto = qint16(costo);
    }
    Movimento& mc = movimenti[size_t(c.movimentoCosto)];
    const QString sospeso = accodato ? QStringLiteral("S") : mc.sospeso;
    mc = movimentoDaSalvare(movimentoCostoCarnet(c), c.movimentoCosto, QStringLiteral("U"));
    if (sospeso == u"N") mc.sospeso = sospeso;
}

// The changed book's files in one change: the movements (from 1), their count when one
// was appended, the leaves and the books.
bool scriviCarnetModificato(const std::vector<Movimento>& daScrivere, bool accodato,
                            const std::vector<FoglioAssegno>& fogli,
                            const std::vector<CarnetAssegni>& carnet, QString* motivo) {
    Riscrittura scrittura;
    scrittura.aggiungiRecords(fileContoAttivo(ExtMOV), daScrivere);
    if (accodato) scrittura.aggiungiContatore(fileContoAttivo(ExtMOR), int(daScrivere.size()));
    scrittura.aggiungiRecords(fileContoAttivo(ExtFOG), fogli);
    scrittura.aggiungiRecords(fileContoAttivo(ExtCAR), carnet);
    return scrittura.esegui(motivo);
}

void aggiornaTabelleCarnetModificato(const std::vector<Movimento>& movimenti,
                                     const std::vector<FoglioAssegno>& fogli,
                                     const std::vector<CarnetAssegni>& carnet) {
    auto& s = stato();
    s.TabellaMovimenti.resize(std::max(s.TabellaMovimenti.size(), movimenti.size()));
    std::copy(movimenti.begin() + 1, movimenti.end(), s.TabellaMovimenti.begin() + 1);
    s.NumeroMovimenti = qint16(movimenti.size() - 1);
    assegnaTabella(s.TabellaFogli, fogli);
    assegnaTabella(s.TabellaCarnet, carnet);
}

} // namespace

Esito ModificaCarnet(int riga, const DatiCarnet& dati) {
    auto& s = stato();
    const QString nonModificato = QStringLiteral("Il carnet non è stato modificato.");
    QString motivo;
    const int nc = carnetDelConto(riga, &motivo);
    if (nc == 0) return rifiuto({motivo});
    if (const RifiutoCarnet r = verificaNumeriCarnet(dati, riga); r != RifiutoCarnet::Nessuno)
        return rifiuto({testoRifiutoCarnet(r)});

    const int nm = std::clamp<int>(s.NumeroMovimenti, 0, int(s.TabellaMovimenti.size()) - 1);
    std::vector<Movimento> movimenti(s.TabellaMovimenti.begin(),
                                     s.TabellaMovimenti.begin() + nm + 1);
    std::vector<FoglioAssegno> fogli = righe(s.TabellaFogli, s.NumeroFogli);
    std::vector<CarnetAssegni> carnet = righe(s.TabellaCarnet, nc);
    const std::vector<int> linkFogli = collegamentiFogli(fogli, movimenti, nm);

    CarnetAssegni& c = carnet[size_t(riga - 1)];
    const int costo = trovaMovimentoCarnet(c, movimenti, nm);
    c.dataRitiro = dati.dataRitiro;
    c.costo = dati.costo;
    c.primoAssegno = dati.primoAssegno;
    c.ultimoAssegno = dati.primoAssegno + FogliPerCarnet - 1;
    rinumeraFogliCarnet(fogli, movimenti, linkFogli, c.numeroCarnet, dati.primoAssegno);
    const bool accodato = costo == 0;
    if (accodato && !spazioPerNuovoMovimento())
        return rifiuto({messaggioContoPieno(), nonModificato});
    scriviCostoCarnet(c, costo, movimenti);

    const std::vector<Movimento> daScrivere(movimenti.begin() + 1, movimenti.end());
    if (!scriviCarnetModificato(daScrivere, accodato, fogli, carnet, &motivo))
        return guasto({motivo, nonModificato});
    aggiornaTabelleCarnetModificato(movimenti, fogli, carnet);
    return Esito::fatto();
}

// --- Deleting a book --------------------------------------------------------------------

QString testoConfermaEliminaCarnet() {
    return QStringLiteral("Verranno eliminati anche movimenti relativi") +
           QStringLiteral(" agli assegni emessi da questo carnet") +
           QStringLiteral("...Vuoi Continuare?");
}

namespace {

// What the deletion of a book makes of the open account's movements, books and leaves.
struct CarnetEliminato {
    std::vector<bool> via;        // by movement number, the movements that go
    std::vector<int> nuovoNumero; // by movement number, its new one (0 for those that go)
    std::vector<Movimento> movimenti;
    std::vector<CarnetAssegni> carnet;
    std::vector<FoglioAssegno> fogli;
    std::map<qint16, qint16> nuovoCarnet; // the books' new numbers by the old ones
};

// The movements that go: the "AS" movements of the leaves of book `numero` and its own
// "CA" (`linkCosto`).
std::vector<bool> movimentiDelCarnet(const std::vector<FoglioAssegno>& fogli,
                                     const std::vector<int>& linkFogli, qint16 numero,
                                     int linkCosto, int nm) {
    std::vector<bool> via(size_t(nm) + 1, false);
    for (size_t j = 0; j < fogli.size(); ++j)
        if (fogli[j].numeroCarnet == numero && linkFogli[j] != 0) via[size_t(linkFogli[j])] = true;
    if (linkCosto != 0) via[size_t(linkCosto)] = true;
    return via;
}

// The movements that stay, renumbered from 1.
void rinumeraMovimentiRestanti(CarnetEliminato& e, const std::vector<Movimento>& tutti, int nm) {
    e.nuovoNumero.assign(size_t(nm) + 1, 0);
    e.movimenti.reserve(size_t(nm));
    for (int m = 1; m <= nm; ++m) {
        if (e.via[size_t(m)]) continue;
        Movimento mov = tutti[size_t(m)];
        mov.numero = qint16(e.movimenti.size() + 1);
        e.nuovoNumero[size_t(m)] = mov.numero;
        e.movimenti.push_back(mov);
    }
}

// The books other than the one at `riga`, renumbered from 1; their "CA" movements carry
// the new numbers.
void rinumeraCarnetRestanti(CarnetEliminato& e, const std::vector<CarnetAssegni>& carnet,
                            const std::vector<int>& linkCarnet, int riga) {
    for (size_t i = 0; i < carnet.size(); ++i) {
        if (int(i) == riga - 1) continue;
        CarnetAssegni c = carnet[i];
        const qint16 vecchio = c.numeroCarnet;
        c.numeroCarnet = qint16(e.carnet.size() + 1);
        e.nuovoCarnet[vecchio] = c.numeroCarnet;
        const int link = linkCarnet[i] != 0 ? e.nuovoNumero[size_t(linkCarnet[i])] : 0;
        c.movimentoCosto = qint16(link);
        if (link != 0 && c.numeroCarnet != vecchio) {
            Movimento& mov = e.movimenti[size_t(link - 1)];
            mov.numeroDocumento = documentoCarnet(c.numeroCarnet);
            if (mov.descrizione == descrizioneCostoCarnet(vecchio, c.primoAssegno))
                mov.descrizione = descrizioneCostoCarnet(c.numeroCarnet, c.primoAssegno);
        }
        e.carnet.push_back(c);
    }
}

// The leaves of the other books, renumbered from 1, following their books and movements.
void rinumeraFogliRestanti(CarnetEliminato& e, const std::vector<FoglioAssegno>& fogli,
                           const std::vector<int>& linkFogli, qint16 numero) {
    for (size_t j = 0; j < fogli.size(); ++j) {
        FoglioAssegno f = fogli[j];
        if (f.numeroCarnet == numero) continue;
        f.progressivo = qint16(e.fogli.size() + 1);
        if (const auto it = e.nuovoCarnet.find(f.numeroCarnet); it != e.nuovoCarnet.end())
            f.numeroCarnet = it->second;
        f.movimento = qint16(linkFogli[j] != 0 ? e.nuovoNumero[size_t(linkFogli[j])] : 0);
        e.fogli.push_back(f);
    }
}

// The movements, leaves and books that stay, with their counts, in one change.
bool scriviCarnetEliminato(const CarnetEliminato& e, QString* motivo) {
    Riscrittura scrittura;
    scrittura.aggiungiRecords(fileContoAttivo(ExtMOV), e.movimenti);
    scrittura.aggiungiContatore(fileContoAttivo(ExtMOR), int(e.movimenti.size()));
    scrittura.aggiungiRecords(fileContoAttivo(ExtFOG), e.fogli);
    scrittura.aggiungiContatore(fileContoAttivo(ExtNRF), int(e.fogli.size()));
    scrittura.aggiungiRecords(fileContoAttivo(ExtCAR), e.carnet);
    scrittura.aggiungiContatore(fileContoAttivo(ExtNRC), int(e.carnet.size()));
    return scrittura.esegui(motivo);
}

void aggiornaTabelleCarnetEliminato(const CarnetEliminato& e, int nm) {
    auto& s = stato();
    // Windows holding a movement follow it to its new number (or let go of it).
    for (int m = nm; m >= 1; --m)
        if (e.via[size_t(m)]) rinumeraMovimentiTrattenuti(m);
    assegnaTabella(s.TabellaMovimenti, e.movimenti);
    s.NumeroMovimenti = qint16(e.movimenti.size());
    s.IndiceMovimentoScelto = 0;
    assegnaTabella(s.TabellaFogli, e.fogli);
    s.NumeroFogli = qint16(e.fogli.size());
    assegnaTabella(s.TabellaCarnet, e.carnet);
    s.NumeroCarnet = qint16(e.carnet.size());
}

} // namespace

Esito eliminaCarnet(int riga) {
    auto& s = stato();
    const QString nonEliminato = QStringLiteral("Il carnet non è stato cancellato.");
    QString motivo;
    const int nc = carnetDelConto(riga, &motivo);
    if (nc == 0) return rifiuto({motivo});
    const int nm = std::clamp<int>(s.NumeroMovimenti, 0, int(s.TabellaMovimenti.size()) - 1);
    const std::vector<Movimento>& tutti = s.TabellaMovimenti;
    const std::vector<FoglioAssegno> fogli = righe(s.TabellaFogli, s.NumeroFogli);
    const std::vector<CarnetAssegni> carnet = righe(s.TabellaCarnet, nc);
    const std::vector<int> linkFogli = collegamentiFogli(fogli, tutti, nm);
    const std::vector<int> linkCarnet = collegamentiCarnet(carnet, tutti, nm);
    const qint16 numero = carnet[size_t(riga - 1)].numeroCarnet;

    CarnetEliminato e;
    e.via = movimentiDelCarnet(fogli, linkFogli, numero, linkCarnet[size_t(riga - 1)], nm);
    rinumeraMovimentiRestanti(e, tutti, nm);
    rinumeraCarnetRestanti(e, carnet, linkCarnet, riga);
    rinumeraFogliRestanti(e, fogli, linkFogli, numero);
    if (!scriviCarnetEliminato(e, &motivo)) return guasto({motivo, nonEliminato});
    aggiornaTabelleCarnetEliminato(e, nm);
    return Esito::fatto();
}

// --- Rebuild at a period closing, links after a closing or a reorder --------------------

namespace {

int numeroRimasto(const NuoviNumeri& nuovi, int vecchio) {
    return vecchio >= 1 && vecchio < int(nuovi.size()) ? nuovi[size_t(vecchio)] : 0;
}

NuoviNumeri numeriInvariati(int numeroMovimenti) {
    NuoviNumeri nuovi(size_t(std::max(numeroMovimenti, 0)) + 1, 0);
    for (int m = 1; m <= numeroMovimenti; ++m)
        nuovi[size_t(m)] = m;
    return nuovi;
}

int movimentiValidi(const std::vector<Movimento>& movimenti, int numeroMovimenti) {
    return std::clamp<int>(numeroMovimenti, 0, int(movimenti.size()) - 1);
}

// The last remaining movement of `causale` for each value of its document number, in
// the numbers the movements had.
std::map<qint64, int> ultimiPerDocumento(const std::vector<Movimento>& movimenti, int nm,
                                         const NuoviNumeri& nuovi, const QString& causale) {
    std::map<qint64, int> ultimi;
    for (int m = 1; m <= nm; ++m) {
        if (numeroRimasto(nuovi, m) == 0) continue;
        const Movimento& mov = movimenti[size_t(m)];
        if (QStringView(mov.codiceCausale).trimmed() != causale) continue;
        const qint64 valore = valoreDocumento(mov.numeroDocumento);
        if (valore >= 0) ultimi[valore] = m;
    }
    return ultimi;
}

// The link rule over `records`, whose movements have causale `causale`: the stored link
// (`link`, an old number) when it remains and `proprio` says it is the record's own
// movement, else the last remaining one whose document number reads as `documento`.
template <class R, class Link, class Documento, class Proprio>
std::vector<qint16>
collegamentiRimasti(const std::vector<R>& records, const std::vector<Movimento>& movimenti,
                    int numeroMovimenti, const NuoviNumeri& nuovi, const QString& causale,
                    Link link, Documento documento, Proprio proprio) {
    if (records.empty()) return {};
    const int nm = movimentiValidi(movimenti, numeroMovimenti);
    const auto ultimi = ultimiPerDocumento(movimenti, nm, nuovi, causale);
    std::vector<qint16> collegati;
    collegati.reserve(records.size());
    for (const R& r : records) {
        const int m = link(r);
        if (m >= 1 && m <= nm && numeroRimasto(nuovi, m) != 0 && proprio(movimenti[size_t(m)], r)) {
            collegati.push_back(qint16(numeroRimasto(nuovi, m)));
            continue;
        }
        const auto it = ultimi.find(documento(r));
        collegati.push_back(it == ultimi.end() ? 0 : qint16(numeroRimasto(nuovi, it->second)));
    }
    return collegati;
}

// For each leaf, the index of the last book in `carnet` (among those `considera`
// admits) whose range holds its cheque number; -1 when none does.
template <class Considera>
std::vector<int> carnetDeiFogli(const std::vector<CarnetAssegni>& carnet,
                                const std::vector<FoglioAssegno>& fogli, Considera considera) {
    struct Intervallo {
        qint64 primo;
        qint64 ultimo;
        int indice;
    };
    std::vector<Intervallo> intervalli;
    qint64 ampiezza = 0;
    for (size_t i = 0; i < carnet.size(); ++i) {
        if (!considera(carnet[i])) continue;
        const qint64 primo = carnet[i].primoAssegno;
        const qint64 ultimo = carnet[i].ultimoAssegno;
        if (ultimo < primo) continue;
        intervalli.push_back({primo, ultimo, int(i)});
        ampiezza = std::max(ampiezza, ultimo - primo);
    }
    std::sort(intervalli.begin(), intervalli.end(),
              [](const Intervallo& a, const Intervallo& b) { return a.primo < b.primo; });
    std::vector<int> libro(fogli.size(), -1);
    for (size_t j = 0; j < fogli.size(); ++j) {
        const qint64 n = fogli[j].numeroAssegno;
        // The books starting at n or before, back to the widest range's reach.
        auto it = std::upper_bound(intervalli.begin(), intervalli.end(), n,
                                   [](qint64 v, const Intervallo& b) { return v < b.primo; });
        while (it != intervalli.begin()) {
            --it;
            if (it->primo < n - ampiezza) break;
            if (n <= it->ultimo) libro[j] = std::max(libro[j], it->indice);
        }
    }
    return libro;
}

} // namespace

NuoviNumeri numeriSenzaAnnullati(const std::vector<Movimento>& movimenti, int numeroMovimenti) {
    const int nm = movimentiValidi(movimenti, numeroMovimenti);
    NuoviNumeri nuovi = numeriInvariati(nm);
    for (int m = 1; m <= nm; ++m)
        if (movimenti[size_t(m)].annullato == u"S") nuovi[size_t(m)] = 0;
    return nuovi;
}

std::vector<qint16> collegamentiFogliRimasti(const std::vector<FoglioAssegno>& fogli,
                                             const std::vector<Movimento>& movimenti,
                                             int numeroMovimenti, const NuoviNumeri& nuovi) {
    return collegamentiRimasti(
        fogli, movimenti, numeroMovimenti, nuovi, CausaleAssegno,
        [](const FoglioAssegno& f) { return int(f.movimento); },
        [](const FoglioAssegno& f) { return valoreDocumento(documentoAssegno(f.numeroAssegno)); },
        [](const Movimento& m, const FoglioAssegno& f) {
            return eMovimentoDelFoglio(m, f.numeroAssegno);
        });
}

std::vector<qint16> collegamentiCarnetRimasti(const std::vector<CarnetAssegni>& carnet,
                                              const std::vector<Movimento>& movimenti,
                                              int numeroMovimenti, const NuoviNumeri& nuovi) {
    return collegamentiRimasti(
        carnet, movimenti, numeroMovimenti, nuovi, CausaleCarnet,
        [](const CarnetAssegni& c) { return int(c.movimentoCosto); },
        [](const CarnetAssegni& c) { return qint64(c.numeroCarnet); },
        [](const Movimento& m, const CarnetAssegni& c) {
            return eMovimentoDelCarnet(m, c.numeroCarnet);
        });
}

CarnetEsauriti carnetEsauriti(const std::vector<CarnetAssegni>& carnet,
                              const std::vector<FoglioAssegno>& fogli,
                              const std::vector<Movimento>& movimenti, int numeroMovimenti,
                              const QString& dataChiusura) {
    const int nm = movimentiValidi(movimenti, numeroMovimenti);
    CarnetEsauriti esito{carnet, std::vector<bool>(size_t(nm) + 1, false)};

    // The leaves dated on or before the closing, by book number.
    const qint64 chiusura = qint64(DataInNumero(dataChiusura));
    std::map<qint16, int> datati;
    for (const FoglioAssegno& f : fogli)
        if (qint64(DataInNumero(f.dataAssegno)) <= chiusura) ++datati[f.numeroCarnet];
    for (CarnetAssegni& c : esito.carnet) {
        if (c.fogliDaAllineare != 0 || qint64(DataInNumero(c.dataRitiro)) > chiusura) continue;
        const auto it = datati.find(c.numeroCarnet);
        const int n = it == datati.end() ? 0 : it->second;
        c.esaurito = n == FogliPerCarnet ? QStringLiteral("S") : QStringLiteral("N");
    }

    // Their movements, found among every movement.
    const NuoviNumeri tutti = numeriInvariati(nm);
    const std::vector<qint16> linkCarnet = collegamentiCarnetRimasti(carnet, movimenti, nm, tutti);
    const std::vector<qint16> linkFogli = collegamentiFogliRimasti(fogli, movimenti, nm, tutti);

    // A book whose cost or one of whose cheques is still suspended (not yet seen on the
    // bank statement) waits for a later closing: removing a suspended movement would
    // move its amount into the carry-forward, which counts as settled, and so change
    // the aligned balance.
    const auto sospeso = [&movimenti](qint16 numero) {
        return numero != 0 && movimenti[size_t(numero)].sospeso == u"S";
    };
    std::set<qint16> inSospeso;
    for (size_t i = 0; i < esito.carnet.size(); ++i)
        if (sospeso(linkCarnet[i])) inSospeso.insert(esito.carnet[i].numeroCarnet);
    for (size_t j = 0; j < fogli.size(); ++j)
        if (sospeso(linkFogli[j])) inSospeso.insert(fogli[j].numeroCarnet);
    for (CarnetAssegni& c : esito.carnet)
        if (c.esaurito == u"S" && inSospeso.count(c.numeroCarnet)) c.esaurito = QStringLiteral("N");

    std::set<qint16> finiti;
    for (size_t i = 0; i < esito.carnet.size(); ++i) {
        if (esito.carnet[i].esaurito != u"S") continue;
        finiti.insert(esito.carnet[i].numeroCarnet);
        if (linkCarnet[i] != 0) esito.movimentiDaEliminare[size_t(linkCarnet[i])] = true;
    }
    for (size_t j = 0; j < fogli.size(); ++j)
        if (linkFogli[j] != 0 && finiti.count(fogli[j].numeroCarnet))
            esito.movimentiDaEliminare[size_t(linkFogli[j])] = true;
    return esito;
}

AssegniRicostruiti assegniDopoChiusura(const std::vector<CarnetAssegni>& carnet,
                                       const std::vector<FoglioAssegno>& fogli,
                                       const std::vector<Movimento>& movimenti, int numeroMovimenti,
                                       const NuoviNumeri& nuovi,
                                       std::vector<Movimento>& rinumerati) {
    const int nm = movimentiValidi(movimenti, numeroMovimenti);
    const std::vector<qint16> linkCarnet = collegamentiCarnetRimasti(carnet, movimenti, nm, nuovi);
    const std::vector<qint16> linkFogli = collegamentiFogliRimasti(fogli, movimenti, nm, nuovi);
    const auto restante = [](const CarnetAssegni& c) { return c.esaurito != u"S"; };

    AssegniRicostruiti esito;
    std::vector<qint16> nuovoCarnet(carnet.size(), 0);
    for (size_t i = 0; i < carnet.size(); ++i) {
        if (!restante(carnet[i])) continue;
        CarnetAssegni c = carnet[i];
        const qint16 vecchio = c.numeroCarnet;
        c.numeroCarnet = qint16(esito.carnet.size() + 1);
        c.movimentoCosto = linkCarnet[i];
        nuovoCarnet[i] = c.numeroCarnet;
        // Its cost movement carries the book's new number.
        const int link = c.movimentoCosto;
        if (link >= 1 && link <= int(rinumerati.size()) && c.numeroCarnet != vecchio) {
            Movimento& mov = rinumerati[size_t(link - 1)];
            mov.numeroDocumento = documentoCarnet(c.numeroCarnet);
            if (mov.descrizione == descrizioneCostoCarnet(vecchio, c.primoAssegno))
                mov.descrizione = descrizioneCostoCarnet(c.numeroCarnet, c.primoAssegno);
        }
        esito.carnet.push_back(c);
    }

    // The leaves of each kept book, book after book.
    const std::vector<int> libro = carnetDeiFogli(carnet, fogli, restante);
    std::vector<std::vector<size_t>> perCarnet(carnet.size());
    for (size_t j = 0; j < fogli.size(); ++j)
        if (libro[j] >= 0) perCarnet[size_t(libro[j])].push_back(j);
    for (size_t i = 0; i < carnet.size(); ++i) {
        for (size_t j : perCarnet[i]) {
            FoglioAssegno f = fogli[j];
            f.numeroCarnet = nuovoCarnet[i];
            f.progressivo = qint16(esito.fogli.size() + 1);
            f.movimento = linkFogli[j];
            esito.fogli.push_back(f);
        }
    }
    return esito;
}

AssegniRicostruiti assegniRiordinati(const std::vector<CarnetAssegni>& carnet,
                                     const std::vector<FoglioAssegno>& fogli,
                                     const std::vector<Movimento>& movimenti, int numeroMovimenti) {
    const int nm = movimentiValidi(movimenti, numeroMovimenti);
    AssegniRicostruiti esito{carnet, fogli};
    const std::vector<int> libro =
        carnetDeiFogli(carnet, fogli, [](const CarnetAssegni&) { return true; });
    for (size_t j = 0; j < esito.fogli.size(); ++j)
        if (libro[j] >= 0) esito.fogli[j].numeroCarnet = carnet[size_t(libro[j])].numeroCarnet;
    const NuoviNumeri tutti = numeriInvariati(nm);
    const std::vector<qint16> linkFogli =
        collegamentiFogliRimasti(esito.fogli, movimenti, nm, tutti);
    const std::vector<qint16> linkCarnet = collegamentiCarnetRimasti(carnet, movimenti, nm, tutti);
    for (size_t j = 0; j < esito.fogli.size(); ++j)
        esito.fogli[j].movimento = linkFogli[j];
    for (size_t i = 0; i < esito.carnet.size(); ++i)
        esito.carnet[i].movimentoCosto = linkCarnet[i];
    return esito;
}

Esito RicostruisciFogli(const QString& dataChiusura) {
    auto& s = stato();
    QString motivo;
    if (!richiediConto(&motivo)) return rifiuto({motivo});
    const int nm = movimentiValidi(s.TabellaMovimenti, s.NumeroMovimenti);
    const std::vector<FoglioAssegno> fogli = righe(s.TabellaFogli, s.NumeroFogli);
    const std::vector<CarnetAssegni> carnet = righe(s.TabellaCarnet, s.NumeroCarnet);
    const CarnetEsauriti esauriti =
        carnetEsauriti(carnet, fogli, s.TabellaMovimenti, nm, dataChiusura);

    // The movements still carry their old numbers: those marked to go are left out.
    std::vector<Movimento> segnati(s.TabellaMovimenti.begin(), s.TabellaMovimenti.begin() + nm + 1);
    for (int m = 1; m <= nm; ++m)
        if (esauriti.movimentiDaEliminare[size_t(m)])
            segnati[size_t(m)].annullato = QStringLiteral("S");
    std::vector<Movimento> rinumerati(segnati.begin() + 1, segnati.end());
    const AssegniRicostruiti restanti = assegniDopoChiusura(
        esauriti.carnet, fogli, segnati, nm, numeriSenzaAnnullati(segnati, nm), rinumerati);

    Riscrittura scrittura;
    scrittura.aggiungiRecords(fileContoAttivo(ExtFOG), restanti.fogli);
    scrittura.aggiungiContatore(fileContoAttivo(ExtNRF), int(restanti.fogli.size()));
    if (!scrittura.esegui(&motivo)) return guasto({motivo});

    std::copy(segnati.begin() + 1, segnati.end(), s.TabellaMovimenti.begin() + 1);
    for (size_t i = 0; i < esauriti.carnet.size(); ++i)
        s.TabellaCarnet[i + 1].esaurito = esauriti.carnet[i].esaurito;
    assegnaTabella(s.TabellaFogli, restanti.fogli);
    s.NumeroFogli = qint16(restanti.fogli.size());
    return Esito::fatto();
}

Esito RicostruisciCarnet() {
    auto& s = stato();
    QString motivo;
    if (!richiediConto(&motivo)) return rifiuto({motivo});
    const int nm = movimentiValidi(s.TabellaMovimenti, s.NumeroMovimenti);
    const std::vector<CarnetAssegni> carnet = righe(s.TabellaCarnet, s.NumeroCarnet);
    std::vector<Movimento> rinumerati(s.TabellaMovimenti.begin() + 1,
                                      s.TabellaMovimenti.begin() + nm + 1);
    const AssegniRicostruiti restanti =
        assegniDopoChiusura(carnet, {}, s.TabellaMovimenti, nm,
                            numeriSenzaAnnullati(s.TabellaMovimenti, nm), rinumerati);

    Riscrittura scrittura;
    scrittura.aggiungiRecords(fileContoAttivo(ExtCAR), restanti.carnet);
    scrittura.aggiungiContatore(fileContoAttivo(ExtNRC), int(restanti.carnet.size()));
    if (!scrittura.esegui(&motivo)) return guasto({motivo});

    std::copy(rinumerati.begin(), rinumerati.end(), s.TabellaMovimenti.begin() + 1);
    assegnaTabella(s.TabellaCarnet, restanti.carnet);
    s.NumeroCarnet = qint16(restanti.carnet.size());
    return Esito::fatto();
}

// --- Refreshing -------------------------------------------------------------------------

QString aggiornaDopoModificaCarnet() {
    QStringList errori;
    ElencaAssegniAnnullati();
    if (const Esito carnet = CaricaCarnet(); !carnet.ok()) errori << carnet.testo;
    ElencaSituazioneAssegni();
    if (const Esito caricato = CaricaMovimenti(true); !caricato.testo.isEmpty())
        errori << caricato.testo;
    if (const Esito ordine = SalvaOrdine(); !ordine.ok()) errori << ordine.testo;
    AnnunciContoAperto::movimenti();
    return errori.join(u'\n');
}

} // namespace qv
