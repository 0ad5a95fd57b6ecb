// The open account after a committed closing: memory taken from what the closing wrote
// ends exactly as the files read back and ordered again leave it (every table, count,
// balance, bound and mark a load sets, the announcements, the results, and every file of
// the folder byte for byte), account by account.
#include "maintenance_fixture.h"

#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/account_memory.h"
#include "ledger/balances.h"
#include "ledger/movement_files.h"
#include "ledger/open_account.h"
#include "maintenance/closing.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace qv::test {
namespace {

std::string testo(const QString& t) {
    return '"' + t.toStdString() + '"';
}

// A double by its bits: NaN and -0 are told apart as the files hold them.
std::string bit(double v) {
    return std::to_string(std::bit_cast<quint64>(v));
}

std::string descrivi(const Movimento& m) {
    return std::to_string(m.numero) + '|' + testo(m.dataOperazione) + '|' + testo(m.dataValuta) +
           '|' + testo(m.codiceCausale) + '|' + bit(m.importo) + '|' + testo(m.numeroDocumento) +
           '|' + testo(m.descrizione) + '|' + testo(m.sospeso) + '|' + testo(m.entrataUscita) +
           '|' + testo(m.annullato);
}

std::string descrivi(const CarnetAssegni& c) {
    return std::to_string(c.movimentoCosto) + '|' + std::to_string(c.numeroCarnet) + '|' +
           testo(c.dataRitiro) + '|' + bit(c.costo) + '|' + std::to_string(c.primoAssegno) + '|' +
           std::to_string(c.ultimoAssegno) + '|' + testo(c.esaurito) + '|' +
           std::to_string(c.fogliDaAllineare) + '|' + testo(c.allineato) + '|' +
           c.riservato.toHex().toStdString();
}

std::string descrivi(const FoglioAssegno& f) {
    return std::to_string(f.movimento) + '|' + std::to_string(f.progressivo) + '|' +
           std::to_string(f.numeroCarnet) + '|' + std::to_string(f.numeroAssegno) + '|' +
           testo(f.dataAssegno) + '|' + bit(f.importo) + '|' + testo(f.traenteAssegno) + '|' +
           (f.traenteNullo ? "nullo" : "-") + '|' + testo(f.noteAssegno) + '|' +
           testo(f.allineato) + '|' + testo(f.riservato) + '|' + testo(f.annullato);
}

std::string descrivi(const Riporto& r) {
    return testo(r.dataRiporto) + '|' + bit(r.saldoRiporto);
}

std::string descrivi(const RiportoPrecedente& r) {
    return testo(r.dataRiporto) + '|' + bit(r.saldoRiporto) + '|' + testo(r.codiceConto);
}

std::string descrivi(const TotaliConto& t) {
    return bit(t.saldoNonSospesi) + '|' + bit(t.saldoValutaOggi) + '|' +
           bit(t.saldoOperazioneOggi) + '|' + bit(t.saldoContabile) + '|' +
           testo(t.primaDataOperazione) + '|' + testo(t.ultimaDataOperazione) + '|' +
           testo(t.primaDataValuta) + '|' + testo(t.ultimaDataValuta);
}

std::string descrivi(const EstremiDate& e) {
    const auto giorno = [](const std::optional<float>& g) {
        return g ? std::to_string(std::bit_cast<quint32>(*g)) : std::string("-");
    };
    return giorno(e.minimo) + '|' + giorno(e.massimo) + '|' + testo(e.prima) + '|' +
           testo(e.ultima);
}

// Everything of the shared state that a load of the open account sets or keeps, and the
// ledger's marks, each by its name.
using Stato = std::vector<std::pair<std::string, std::string>>;

template <class R>
void tabella(Stato& st, const char* nome, const std::vector<R>& righe, qint16 numero) {
    st.emplace_back(std::string(nome) + ".numero", std::to_string(numero));
    st.emplace_back(std::string(nome) + ".righe", std::to_string(righe.size()));
    for (size_t i = 0; i < righe.size(); ++i)
        st.emplace_back(std::string(nome) + '[' + std::to_string(i) + ']', descrivi(righe[i]));
}

Stato statoCaricato() {
    const auto& s = stato();
    Stato st;
    st.emplace_back("CodiceContoAttivo", testo(s.CodiceContoAttivo));
    st.emplace_back("IndiceContoAttivo", std::to_string(s.IndiceContoAttivo));
    tabella(st, "TabellaMovimenti", s.TabellaMovimenti, s.NumeroMovimenti);
    // The room left for the movements typed next.
    st.emplace_back("TabellaMovimenti.capacita", std::to_string(s.TabellaMovimenti.capacity()));
    tabella(st, "TabellaMovimentiOrdinati", s.TabellaMovimentiOrdinati, 0);
    st.emplace_back("IndiceMovimentoScelto", std::to_string(s.IndiceMovimentoScelto));
    tabella(st, "TabellaCarnet", s.TabellaCarnet, s.NumeroCarnet);
    st.emplace_back("IndiceCarnetScelto", std::to_string(s.IndiceCarnetScelto));
    tabella(st, "TabellaFogli", s.TabellaFogli, s.NumeroFogli);
    st.emplace_back("IndiceFoglioScelto", std::to_string(s.IndiceFoglioScelto));
    for (size_t i = 0; i < s.TabellaRiporto.size(); ++i)
        st.emplace_back("TabellaRiporto[" + std::to_string(i) + ']', descrivi(s.TabellaRiporto[i]));
    for (size_t i = 0; i < s.TabellaRiportoPrecedente.size(); ++i)
        st.emplace_back("TabellaRiportoPrecedente[" + std::to_string(i) + ']',
                        descrivi(s.TabellaRiportoPrecedente[i]));
    st.emplace_back("SaldoContabile", bit(s.SaldoContabile));
    st.emplace_back("SaldoNonSospesi", bit(s.SaldoNonSospesi));
    st.emplace_back("SaldoOperazioneOggi", bit(s.SaldoOperazioneOggi));
    st.emplace_back("SaldoValutaOggi", bit(s.SaldoValutaOggi));
    st.emplace_back("PrimaDataOperazione", testo(s.PrimaDataOperazione));
    st.emplace_back("UltimaDataOperazione", testo(s.UltimaDataOperazione));
    st.emplace_back("PrimaDataValuta", testo(s.PrimaDataValuta));
    st.emplace_back("UltimaDataValuta", testo(s.UltimaDataValuta));
    st.emplace_back("TotaliContoAttivo", descrivi(s.TotaliContoAttivo));
    std::string trattenuti;
    for (const auto& [finestra, numero] : s.MovimentiTrattenuti)
        trattenuti += finestra.toStdString() + '=' + std::to_string(numero) + ';';
    st.emplace_back("MovimentiTrattenuti", trattenuti);
    st.emplace_back("ContoMovimentiTrattenuti", testo(s.ContoMovimentiTrattenuti));
    st.emplace_back("AvvisiContoMostrati", s.AvvisiContoMostrati.join(u'#').toStdString());
    // The ledger's marks: memory holds the account as its files are (later showings read
    // nothing), and what the next append knows of ".Ord".
    st.emplace_back("contoInvariatoDalCaricamento", contoInvariatoDalCaricamento() ? "si" : "no");
    const IndiceAccodamento* indice = indiceAccodamento();
    st.emplace_back("indiceAccodamento", indice ? std::to_string(indice->ultimo) + '|' +
                                                      descrivi(indice->operazione) + '|' +
                                                      descrivi(indice->valuta)
                                                : std::string("nessuno"));
    return st;
}

// What one reload after the closing leaves.
struct Esito2 {
    Stato stato;
    std::map<QString, QByteArray> file;
    std::string caricamento, ordine; // each result: done or not, and its text
    std::string annunci;             // how many times each announcement was said
};

std::string descrivi(const Esito& e) {
    return std::string(e.ok()        ? "ok"
                       : e.fallito() ? "fallito"
                                     : "rifiutato") +
           '|' + e.testo.toStdString() + '|' + e.titolo.toStdString();
}

struct Caso {
    const char* nome;
    // The account's files, written before it is opened; empty keeps the test account.
    std::map<QString, QByteArray> file;
    const char* data;
    size_t eliminati;
    size_t rimasti;
    // Done to memory once the account is open (what the windows may have typed or hold).
    std::function<void()> prepara;
    // Done to the folder once the closing is written, before the reload.
    std::function<void()> dopoScrittura;
};

class ClosingReload : public MaintenanceTest {
protected:
    // Opens CC1 as the program does, warnings or not.
    void apriCC1() {
        auto& s = stato();
        s.IndiceContoAttivo = 1;
        s.CodiceContoAttivo = QStringLiteral("CC1");
        ApriArchiviConto();
        SalvaOrdine();
    }

    // From the folder `iniziali`, the account opened and closed as `c` says, then read
    // back by the closing's reload (`inMemoria`) or by a load of its files.
    Esito2 chiudiERicarica(const Caso& c, const std::map<QString, QByteArray>& iniziali,
                           bool inMemoria) {
        ChiudiConto();
        rimetti(iniziali);
        apriCC1();
        if (c.prepara) c.prepara();
        const DatiChiusura dati = datiChiusuraContoAperto(QString::fromLatin1(c.data));
        PianoChiusura piano = calcolaChiusura(dati);
        EXPECT_EQ(piano.eliminati.size(), c.eliminati) << c.nome;
        EXPECT_EQ(piano.rimasti.size(), c.rimasti) << c.nome;
        const Esito scritta = scriviChiusura(piano, dataFolder(), dati.codice);
        EXPECT_TRUE(scritta.ok()) << c.nome << scritta.testo.toStdString();
        if (c.dopoScrittura) c.dopoScrittura();

        QSignalSpy caricato(&contoAperto(), &ContoAperto::caricato);
        QSignalSpy saldi(&contoAperto(), &ContoAperto::saldiCambiati);
        QSignalSpy movimenti(&contoAperto(), &ContoAperto::movimentiCambiati);
        QSignalSpy assegni(&contoAperto(), &ContoAperto::assegniCambiati);
        QSignalSpy cancellazione(&contoAperto(), &ContoAperto::movimentiInCancellazione);
        QSignalSpy chiuso(&contoAperto(), &ContoAperto::chiuso);
        Esito2 r;
        r.caricamento = descrivi(inMemoria ? caricaContoChiuso(std::move(piano), dati.codice)
                                           : ApriArchiviConto());
        r.ordine = descrivi(SalvaOrdine());
        r.annunci = std::to_string(caricato.count()) + ' ' + std::to_string(saldi.count()) + ' ' +
                    std::to_string(movimenti.count()) + ' ' + std::to_string(assegni.count()) +
                    ' ' + std::to_string(cancellazione.count()) + ' ' +
                    std::to_string(chiuso.count());
        r.stato = statoCaricato();
        r.file = tuttiIFile();
        return r;
    }
};

// The test account's files with some movements or tables changed.
std::map<QString, QByteArray> contoCon(QByteArray mov, int nMov, QByteArray car, int nCar,
                                       QByteArray fog, int nFog, QByteArray rip) {
    return {{"CC1.MOV", std::move(mov)}, {"CC1.MOR", le16(qint16(nMov))},
            {"CC1.CAR", std::move(car)}, {"CC1.NRC", le16(qint16(nCar))},
            {"CC1.FOG", std::move(fog)}, {"CC1.NRF", le16(qint16(nFog))},
            {"CC1.RIP", std::move(rip)}};
}

TEST_F(ClosingReload, MemoryFromTheClosingIsWhatReadingItsFilesBackGives) {
    // Movements 1 to 18 of the test account (without the one marked to go).
    const QByteArray tutti = movBytes();
    const QByteArray senzaAnnullato = tutti.left(18 * Movimento::Lunghezza);
    // Settled movements only, no cheque book: a closing after them all leaves nothing.
    const QByteArray soloSaldati =
        movimentoBytes({1, "05/10/2026", "05/10/2026", "VE", 100.0, "", "Stipendio", "N", "E"}) +
        movimentoBytes({2, "10/10/2026", "10/10/2026", "PR", 30.0, "", "Bancomat", "N", "U"}) +
        movimentoBytes({3, "30/11/2026", "30/11/2026", "PR", 20.0, "", "Bancomat", "N", "U"});
    // A movement kept whose amount no sum may count.
    const QByteArray conImportoGuasto =
        tutti.left(17 * Movimento::Lunghezza) +
        movimentoBytes({18, "01/12/2026", "01/12/2026", "VE",
                        std::numeric_limits<double>::quiet_NaN(), "", "Bonifico", "N", "E"});
    const QString dati = dataFolder();
    const auto aggiungiMovimento = [dati] {
        // Someone else appends a movement between the closing and its reload.
        QFile mov(dati + "CC1.MOV");
        ASSERT_TRUE(mov.open(QIODevice::Append));
        mov.write(
            movimentoBytes({5, "03/12/2026", "03/12/2026", "VE", 9.0, "", "Aggiunto", "N", "E"}));
        mov.close();
        writeBytes(dati + "CC1.MOR", le16(5));
    };
    const auto cartellaAlPostoDi = [dati](const char* nome) {
        return [dati, nome] {
            QFile::remove(dati + nome);
            QDir(dati).mkdir(nome);
        };
    };

    const Caso casi[] = {
        {"the test account: carry-forward, books (one finished), cheques, suspended, marked",
         {},
         "30/11/2026",
         15,
         4,
         {},
         {}},
        {"nothing removed",
         contoCon(senzaAnnullato, 18, carBytes(), 2, fogBytes(), 20,
                  ripBytes("30/06/2026", 1000.0)),
         "30/06/2026",
         0,
         18,
         {},
         {}},
        {"everything removed, no cheque book",
         contoCon(soloSaldati, 3, {}, 0, {}, 0, ripBytes("30/06/2026", -12.5)),
         "31/12/2026",
         3,
         0,
         {},
         {}},
        {"a kept amount no sum may count",
         contoCon(conImportoGuasto, 18, carBytes(), 2, fogBytes(), 20, ripBytes("", 0.0)),
         "30/11/2026",
         14,
         4,
         {},
         {}},
        {"texts typed that the file cannot hold as they are",
         {},
         "30/11/2026",
         15,
         4,
         [] {
             auto& t = stato().TabellaMovimenti;
             t[18].descrizione = QStringLiteral("Bonifico € ł   ");
             t[16].numeroDocumento = QStringLiteral("20100000000");
             t[5].descrizione = QString(QChar(0x81)) + QStringLiteral("Conferma") + QChar(0);
             t[2].sospeso = QStringLiteral("S ");
         },
         {}},
        {"a movement held out of the balances by a window",
         {},
         "30/11/2026",
         15,
         4,
         [] { trattieniMovimento(QStringLiteral("Form3"), 2); },
         {}},
        {"a file appended to after the closing", {}, "30/11/2026", 15, 4, {}, aggiungiMovimento},
        {"the carry-forward rewritten after the closing",
         {},
         "30/11/2026",
         15,
         4,
         {},
         [dati] { writeBytes(dati + "CC1.RIP", ripBytes("30/11/2026", 5.0)); }},
        {"\".TOT\" cannot be read or written",
         {},
         "30/11/2026",
         15,
         4,
         {},
         cartellaAlPostoDi("CC1.TOT")},
        {"\".Ord\" cannot be written", {}, "30/11/2026", 15, 4, {}, cartellaAlPostoDi("CC1.Ord")},
    };
    const auto contoDiProva = tuttiIFile();
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::map<QString, QByteArray> iniziali = contoDiProva;
        for (const auto& [nome, bytes] : c.file)
            iniziali[nome] = bytes;
        // Without its ".TOT" and ".Ord", which the first opening writes.
        if (!c.file.empty()) iniziali.erase("CC1.TOT"), iniziali.erase("CC1.Ord");

        const Esito2 letto = chiudiERicarica(c, iniziali, false);
        const Esito2 inMemoria = chiudiERicarica(c, iniziali, true);

        EXPECT_EQ(inMemoria.caricamento, letto.caricamento);
        EXPECT_EQ(inMemoria.ordine, letto.ordine);
        EXPECT_EQ(inMemoria.annunci, letto.annunci);
        ASSERT_EQ(inMemoria.stato.size(), letto.stato.size());
        for (size_t i = 0; i < letto.stato.size(); ++i) {
            EXPECT_EQ(inMemoria.stato[i].first, letto.stato[i].first);
            EXPECT_EQ(inMemoria.stato[i].second, letto.stato[i].second) << letto.stato[i].first;
        }
        ASSERT_EQ(inMemoria.file.size(), letto.file.size());
        for (const auto& [nome, bytes] : letto.file) {
            ASSERT_TRUE(inMemoria.file.count(nome)) << nome.toStdString();
            EXPECT_EQ(printable(inMemoria.file.at(nome)), printable(bytes)) << nome.toStdString();
        }
        // The account stays open and loaded: nothing here closed it.
        EXPECT_EQ(stato().CodiceContoAttivo, "CC1");
    }
}

// The closing's reload of an account that is no longer the open one reads the open
// account's files, as the reload always did.
TEST_F(ClosingReload, AnotherOpenAccountIsReadFromItsFiles) {
    scriviConto(QStringLiteral("CC2"));
    PianoChiusura piano = calcolaChiusura(datiChiusuraContoAperto(QStringLiteral("30/11/2026")));
    ASSERT_TRUE(scriviChiusura(piano, dataFolder(), QStringLiteral("CC1")).ok());
    apri("CC2");
    stato().TabellaMovimenti[3].descrizione = QStringLiteral("Cambiato in memoria");
    const Esito esito = caricaContoChiuso(std::move(piano), QStringLiteral("CC1"));
    EXPECT_TRUE(esito.ok()) << esito.testo.toStdString();
    EXPECT_EQ(stato().CodiceContoAttivo, "CC2");
    EXPECT_EQ(stato().NumeroMovimenti, 19);
    EXPECT_EQ(stato().TabellaMovimenti[3].descrizione, "Stipendio");
}

} // namespace
} // namespace qv::test
