#include "maintenance/closing.h"

#include "cheques/cheque_books.h"
#include "common/amounts.h"
#include "common/date_check.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/balances.h"
#include "ledger/open_account_announce.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <future>

namespace qv {

namespace {

const QString CampoData = QStringLiteral("DataChiusura");

// The page frame of the printout: 57 body lines a page; a full page ends with the rule
// of 95, an empty line and its number; the last one is filled with empty lines to its
// 57 lines and an empty line more, then the rule, an empty line, its number and the
// end of the printout.
constexpr int RighePagina = 57;
constexpr int RigheUltimaPagina = 58;
constexpr int TrattiniPiede = 95;
constexpr int SpaziPagina = 42;

// The net that a removed movement adds: "E" adds its amount, any other flag takes it away.
double nettoDi(const Movimento& m) {
    const double valore = importoContabile(m.importo);
    return m.entrataUscita == u"E" ? valore : -valore;
}

} // namespace

QString cartellaCopiaChiusura(const QString& cartellaDati, const QString& codice) {
    QString cartella = cartellaDati;
    if (!cartella.isEmpty() && !cartella.endsWith(u'/')) cartella += u'/';
    return cartella + QStringLiteral("Bak/") + codice.trimmed() + u'/';
}

Esito controllaDataChiusura(const QString& testo, const Riporto& riporto) {
    if (testo == QStringLiteral("__/__/____"))
        return Esito::rifiutato(QStringLiteral("Campo data obbligatorio"), QStringLiteral("ERRORE"),
                                CampoData)
            .conBeep();
    if (Esito data = esitoTestoData(testo, CampoData); !data.ok()) return data.svuotando();
    const auto chiusura = dataDaTesto(testo);
    const auto ultima = dataDaTesto(riporto.dataRiporto.trimmed());
    if (chiusura && ultima && *chiusura < *ultima)
        return Esito::rifiutato(
            QStringLiteral("La nuova chiusura non può essere anteriore all'ultima chiusura, del "
                           "%1: quella chiusura non potrebbe più essere ripristinata.")
                .arg(riporto.dataRiporto.trimmed()),
            QStringLiteral("ERRORE"), CampoData);
    return Esito::fatto();
}

QString avvisoChiusura() {
    return QStringLiteral("L'azione appena intrapresa eliminerà tutti i\n"
                          "movimenti registrati prima della data che avete\n"
                          "indicato, essi non potranno essere più recupe-\n"
                          "rati, pertanto, verrà eseguita una stampa per\n"
                          "l'archiviazione.\n"
                          "\n"
                          "se vuoi continuare accendi la stampante.");
}

DatiChiusura datiChiusuraContoAperto(const QString& dataChiusura) {
    // A movement held out of the balances goes back before the tables are read; the
    // windows that show the movements close.
    if (contoAttivoAperto()) AnnunciContoAperto::cancellazioneMovimenti();
    const auto& s = stato();
    DatiChiusura dati;
    dati.dataChiusura = dataChiusura;
    dati.codice = s.CodiceContoAttivo.trimmed();
    dati.tabella = &s.TabellaMovimenti;
    dati.numeroMovimenti = s.NumeroMovimenti;
    dati.carnet = righeTabella(s.TabellaCarnet, s.NumeroCarnet);
    dati.fogli = righeTabella(s.TabellaFogli, s.NumeroFogli);
    dati.causali = righeTabella(s.TabellaCausali, s.NumeroCausali);
    dati.riporto = s.TabellaRiporto[1];
    return dati;
}

int DatiChiusura::ultimoMovimento() const {
    if (!tabella) return int(movimenti.size()) - 1;
    return std::clamp<int>(numeroMovimenti, 0, int(tabella->size()) - 1);
}

PianoChiusura calcolaChiusura(const DatiChiusura& dati) {
    PianoChiusura piano;
    const std::vector<Movimento>& movimenti = dati.righeMovimenti();
    if (movimenti.empty()) return piano;
    const int nm = dati.ultimoMovimento();
    const CarnetEsauriti esauriti =
        carnetEsauriti(dati.carnet, dati.fogli, movimenti, nm, dati.dataChiusura);

    // The closing day number, taken to a whole number.
    const double chiusura = std::round(double(DataInNumero(dati.dataChiusura)));
    piano.nuovi.assign(size_t(nm) + 1, 0);
    piano.rimasti.reserve(size_t(nm));
    for (int m = 1; m <= nm; ++m) {
        const Movimento& mov = movimenti[size_t(m)];
        bool via = mov.annullato == u"S" || esauriti.movimentiDaEliminare[size_t(m)];
        if (!via && mov.sospeso == u"N") {
            // Settled movements by their date; cheques and cheque-book costs go only
            // with their book.
            const QStringView causale = QStringView(mov.codiceCausale).trimmed();
            via = causale != u"AS" && causale != u"CA" &&
                  double(giornoDellaData(mov.dataOperazione)) <= chiusura;
        }
        if (via) {
            const double importo = importoContabile(mov.importo);
            piano.netto += mov.entrataUscita == u"E" ? importo : -importo;
            piano.eliminati.push_back(mov);
            continue;
        }
        Movimento resta = mov;
        resta.numero = qint16(piano.rimasti.size() + 1);
        piano.nuovi[size_t(m)] = resta.numero;
        piano.rimasti.push_back(std::move(resta));
    }

    AssegniRicostruiti assegni =
        assegniDopoChiusura(esauriti.carnet, dati.fogli, movimenti, nm, piano.nuovi, piano.rimasti);
    piano.carnet = std::move(assegni.carnet);
    piano.fogli = std::move(assegni.fogli);

    piano.chiusura.dataRiporto = dati.riporto.dataRiporto;
    piano.chiusura.saldoRiporto = dati.riporto.saldoRiporto;
    piano.chiusura.codiceConto = dati.codice;
    piano.riporto.dataRiporto = dati.dataChiusura;
    piano.riporto.saldoRiporto = importoContabile(dati.riporto.saldoRiporto) + piano.netto;
    return piano;
}

// --- The printout ------------------------------------------------------------------------

ReportHeader IntestazioneMovimentiEliminati(const ContestoStampa& contesto,
                                            const QString& dataChiusura) {
    ReportHeader righe;
    const auto titolo = [&](const QString& testo, double punti) {
        righe.push_back({testo, FontTitoli, punti, false});
    };
    titolo(QString(), CorpoTitolo);
    titolo(QString(34, QLatin1Char(' ')) + QStringLiteral("Elenco Movimenti Eliminati"),
           CorpoTitolo);
    titolo(QString(), CorpoTitolo);
    titolo(rigaConto(contesto), CorpoConto);
    titolo(QString(), CorpoConto);
    righe.push_back({QStringLiteral("  al ") + dataChiusura, FontCorpo, CorpoTesto, true});
    righe.push_back(inCorpo(righello(95)));
    righe.push_back(inCorpo(QStringLiteral("     Data      Valuta      Mov. Dare  Mov. Avere     "
                                           "Saldo   Descr. Movimento")));
    righe.push_back(inCorpo(righello(95)));
    righe.push_back(inCorpo(QString()));
    return righe;
}

PagineMovimentiEliminati::PagineMovimentiEliminati(const ContestoStampa& contesto,
                                                   const QString& dataChiusura,
                                                   const std::vector<Movimento>& eliminati,
                                                   const std::vector<VoceCausale>& causali)
    : eliminati_(eliminati), contesto_(contesto),
      intestazione_(IntestazioneMovimentiEliminati(contesto, dataChiusura)),
      formato_(contesto.formatoImporti) {
    for (const VoceCausale& c : causali) {
        const QString codice = campo(c.codiceCausale, 5);
        const QString descrizione = c.descrizione.left(20).trimmed();
        const auto stesso = std::find_if(descrizioni_.begin(), descrizioni_.end(),
                                         [&](const auto& d) { return d.first == codice; });
        if (stesso == descrizioni_.end())
            descrizioni_.emplace_back(codice, descrizione);
        else
            stesso->second = descrizione;
    }
    // One page when nothing was removed; the net is summed in the order the lines print
    // it, so that each page starts from the figure the page before ended on.
    const size_t pagine = std::max<size_t>(1, (eliminati.size() + RighePagina - 1) / RighePagina);
    nettoPrima_.reserve(pagine);
    double netto = 0;
    for (size_t m = 0; m < eliminati.size(); ++m) {
        if (m % RighePagina == 0) nettoPrima_.push_back(netto);
        netto += nettoDi(eliminati[m]);
    }
    if (nettoPrima_.empty()) nettoPrima_.push_back(0);
}

QStringView PagineMovimentiEliminati::descrizioneCausale(const QString& codice) const {
    const QStringView cinque = QStringView(codice).left(5);
    for (const auto& [c, d] : descrizioni_)
        if (QStringView(c).left(cinque.size()) == cinque &&
            QStringView(c).mid(cinque.size()).trimmed().isEmpty())
            return d;
    return {};
}

PrintedPage PagineMovimentiEliminati::pagina(int k) const {
    PrintedPage righe;
    if (k < 0 || k >= pagine()) return righe;
    const bool ultima = k + 1 == pagine();
    const size_t primo = size_t(k) * RighePagina;
    const size_t fine = std::min(eliminati_.size(), primo + RighePagina);
    righe.reserve(intestazione_.size() + RigheUltimaPagina + 4);
    righe.insert(righe.end(), intestazione_.begin(), intestazione_.end());

    const auto corpo = [&](QString testo) {
        righe.push_back(PrintedLine{std::move(testo), FontCorpo, CorpoTesto, false});
    };
    // Blanks appended without a text of their own: a closing prints thousands of lines.
    const auto spazi = [](QString& riga, qsizetype n) {
        if (n > 0) riga.resize(riga.size() + n, u' ');
    };
    // A field as stored: cut at, or padded with blanks to, its width.
    const auto aggiungiCampo = [&](QString& riga, const QString& testo, int larghezza) {
        const QStringView parte = QStringView(testo).left(larghezza);
        riga += parte;
        spazi(riga, larghezza - parte.size());
    };
    const auto aggiungiImporto = [&](QString& riga, double valore) {
        formato_.appendRightAligned(riga, valore * contesto_.fattoreValuta, 15);
    };

    double netto = nettoPrima_[size_t(k)];
    for (size_t m = primo; m < fine; ++m) {
        const Movimento& mov = eliminati_[m];
        const double valore = importoContabile(mov.importo);
        const bool entrata = mov.entrataUscita == u"E";
        netto += entrata ? valore : -valore;
        QString riga;
        riga.reserve(140);
        riga += u' ';
        aggiungiCampo(riga, mov.dataOperazione, 10);
        riga += u' ';
        aggiungiCampo(riga, mov.dataValuta, 10);
        if (entrata) {
            spazi(riga, 12);
            aggiungiImporto(riga, valore);
        } else {
            riga += u' ';
            aggiungiImporto(riga, valore);
            spazi(riga, 11);
        }
        aggiungiImporto(riga, netto);
        riga += u' ';
        riga += descrizioneCausale(mov.codiceCausale);
        riga += u' ';
        riga += QStringView(mov.numeroDocumento).trimmed();
        riga += u' ';
        aggiungiCampo(riga, mov.descrizione, 30);
        corpo(std::move(riga));
    }

    const QString numero =
        QString(SpaziPagina, u' ') + QStringLiteral("Pagina ") + numeroStampato(k + 1);
    if (!ultima) {
        corpo(righello(TrattiniPiede));
        corpo(QString());
        corpo(numero);
        return righe;
    }
    for (size_t r = fine - primo; r < size_t(RigheUltimaPagina); ++r)
        corpo(QString());
    corpo(righello(TrattiniPiede));
    corpo(QString());
    corpo(numero + QString(17, u' ') + QStringLiteral("....fine stampa"));
    return righe;
}

PrintedDocument StampaMovimentiEliminati(const ContestoStampa& contesto,
                                         const QString& dataChiusura,
                                         const std::vector<Movimento>& eliminati,
                                         const std::vector<VoceCausale>& causali) {
    const PagineMovimentiEliminati stampa(contesto, dataChiusura, eliminati, causali);
    PrintedDocument documento;
    documento.reserve(size_t(stampa.pagine()));
    for (int k = 0; k < stampa.pagine(); ++k)
        documento.push_back(stampa.pagina(k));
    return documento;
}

// --- Writing -----------------------------------------------------------------------------

Esito scriviChiusura(const PianoChiusura& piano, const QString& cartellaDati, const QString& codice,
                     const Riprova& riprova) {
    const QString nonEseguita = QStringLiteral("La chiusura non è stata eseguita.");
    ModificaFile modifica(cartellaDati, riprova);
    const auto file = [&](const QString& estensione) {
        return accountFile(cartellaDati, codice, estensione);
    };
    // Every file the closing writes is protected at once: one list of them on the disk.
    const QString cartellaCopia = cartellaCopiaChiusura(cartellaDati, codice);
    QStringList percorsi = fileCopia(cartellaCopia);
    for (const QLatin1String& estensione :
         {ExtMOV, ExtMOR, ExtFOG, ExtNRF, ExtCAR, ExtNRC, ExtChi, ExtRIP})
        percorsi << file(estensione);
    // The new movement file is made while the copies are written, which wait for the disk.
    std::future<QByteArray> mov =
        std::async(std::launch::async, [&piano] { return recordsToBytes(piano.rimasti); });
    FileLetti attuali;
    const bool fatto =
        leggiFileConto(modifica, cartellaDati, codice, attuali) && modifica.proteggi(percorsi) &&
        scriviCopia(modifica, cartellaCopia, codice, attuali) &&
        modifica.riscrivi(file(ExtMOV), mov.get()) &&
        modifica.scriviContatore(file(ExtMOR), qint16(piano.rimasti.size())) &&
        modifica.riscrivi(file(ExtFOG), recordsToBytes(piano.fogli)) &&
        modifica.scriviContatore(file(ExtNRF), qint16(piano.fogli.size())) &&
        modifica.riscrivi(file(ExtCAR), recordsToBytes(piano.carnet)) &&
        modifica.scriviContatore(file(ExtNRC), qint16(piano.carnet.size())) &&
        modifica.scriviRecord(file(ExtChi), RiportoPrecedente::Lunghezza, 1,
                              piano.chiusura.toBytes()) &&
        modifica.scriviRecord(file(ExtRIP), Riporto::Lunghezza, 1, piano.riporto.toBytes()) &&
        modifica.concludi();
    if (!fatto) return modifica.fallita(nonEseguita);
    if (contoAttivoAperto()) AnnunciContoAperto::movimenti();
    return Esito::fatto();
}

Esito caricaContoChiuso(PianoChiusura&& piano, const QString& codice) {
    if (!contoAttivoAperto() || stato().CodiceContoAttivo.trimmed() != codice.trimmed())
        return ApriArchiviConto();
    TabelleScritte scritte;
    scritte.movimenti = std::move(piano.rimasti);
    scritte.carnet = std::move(piano.carnet);
    scritte.fogli = std::move(piano.fogli);
    scritte.riporto = piano.riporto;
    return ApriArchiviContoScritto(std::move(scritte));
}

} // namespace qv
