#include "maintenance/closing.h"

#include "cheques/cheque_books.h"
#include "common/amounts.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "ledger/balances.h"
#include "ledger/date_check.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const QString CampoData = QStringLiteral("DataChiusura");

// The page frame of the printout: 57 lines a page, the rule of 95 and the page number
// at the foot of each, the last page filled to its 57 lines before its end.
ReportLayout layoutEliminati() {
    ReportLayout layout;
    layout.soglia = 58;
    layout.rigaVuotaAlSalto = true;
    layout.righeChiusura = 58;
    layout.rigaVuotaFinale = false;
    layout.trattiniFinali = 95;
    layout.spaziPaginaFinale = 42;
    layout.fineStampa = QString(17, QLatin1Char(' ')) + QStringLiteral("....fine stampa");
    return layout;
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
    const auto& s = stato();
    DatiChiusura dati;
    dati.dataChiusura = dataChiusura;
    dati.codice = s.CodiceContoAttivo.trimmed();
    const int nm = std::clamp<int>(s.NumeroMovimenti, 0, int(s.TabellaMovimenti.size()) - 1);
    dati.movimenti.assign(s.TabellaMovimenti.begin(), s.TabellaMovimenti.begin() + nm + 1);
    dati.carnet = righeTabella(s.TabellaCarnet, s.NumeroCarnet);
    dati.fogli = righeTabella(s.TabellaFogli, s.NumeroFogli);
    dati.causali = righeTabella(s.TabellaCausali, s.NumeroCausali);
    dati.riporto = s.TabellaRiporto[1];
    return dati;
}

PianoChiusura calcolaChiusura(const DatiChiusura& dati) {
    PianoChiusura piano;
    if (dati.movimenti.empty()) return piano;
    const int nm = int(dati.movimenti.size()) - 1;
    const CarnetEsauriti esauriti =
        carnetEsauriti(dati.carnet, dati.fogli, dati.movimenti, nm, dati.dataChiusura);

    // The closing day number, taken to a whole number.
    const double chiusura = std::round(double(DataInNumero(dati.dataChiusura)));
    piano.nuovi.assign(size_t(nm) + 1, 0);
    piano.rimasti.reserve(size_t(nm));
    for (int m = 1; m <= nm; ++m) {
        const Movimento& mov = dati.movimenti[size_t(m)];
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

    AssegniRicostruiti assegni = assegniDopoChiusura(esauriti.carnet, dati.fogli, dati.movimenti,
                                                     nm, piano.nuovi, piano.rimasti);
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

PrintedDocument StampaMovimentiEliminati(const ContestoStampa& contesto,
                                         const QString& dataChiusura,
                                         const std::vector<Movimento>& eliminati,
                                         const std::vector<VoceCausale>& causali) {
    // The description of each code: the last causale that has it, its first 20
    // characters (codes compared as their five characters).
    std::vector<std::pair<QString, QString>> descrizioni;
    for (const VoceCausale& c : causali) {
        const QString codice = campo(c.codiceCausale, 5);
        const QString descrizione = c.descrizione.left(20).trimmed();
        const auto stesso = std::find_if(descrizioni.begin(), descrizioni.end(),
                                         [&](const auto& d) { return d.first == codice; });
        if (stesso == descrizioni.end())
            descrizioni.emplace_back(codice, descrizione);
        else
            stesso->second = descrizione;
    }
    const auto descrizioneDi = [&](const QString& codice) -> QStringView {
        const QStringView cinque = QStringView(codice).left(5);
        for (const auto& [c, d] : descrizioni)
            if (QStringView(c).left(cinque.size()) == cinque &&
                QStringView(c).mid(cinque.size()).trimmed().isEmpty())
                return d;
        return {};
    };
    // A field as stored: cut at, or padded with blanks to, its width.
    const auto aggiungiCampo = [](QString& riga, const QString& testo, int larghezza) {
        const QStringView parte = QStringView(testo).left(larghezza);
        riga += parte;
        riga.append(QString(larghezza - parte.size(), u' '));
    };
    const NumberFormat formato(contesto.formatoImporti);
    const auto importo = [&](double valore) {
        return rightAlign(formato(valore * contesto.fattoreValuta), 15);
    };

    ReportFrame pagine(layoutEliminati(), IntestazioneMovimentiEliminati(contesto, dataChiusura));
    double netto = 0;
    QString riga;
    for (const Movimento& m : eliminati) {
        const double valore = importoContabile(m.importo);
        const bool entrata = m.entrataUscita == u"E";
        netto += entrata ? valore : -valore;
        riga.clear();
        riga.reserve(140);
        riga += u' ';
        aggiungiCampo(riga, m.dataOperazione, 10);
        riga += u' ';
        aggiungiCampo(riga, m.dataValuta, 10);
        if (entrata) {
            riga.append(QString(12, u' '));
            riga += importo(valore);
        } else {
            riga += u' ';
            riga += importo(valore);
            riga.append(QString(11, u' '));
        }
        riga += importo(netto);
        riga += u' ';
        riga += descrizioneDi(m.codiceCausale);
        riga += u' ';
        riga += QStringView(m.numeroDocumento).trimmed();
        riga += u' ';
        aggiungiCampo(riga, m.descrizione, 30);
        pagine.rigaCorpo(riga);
    }
    return pagine.chiudi();
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
    FileLetti attuali;
    const bool fatto =
        leggiFileConto(modifica, cartellaDati, codice, attuali) && modifica.proteggi(percorsi) &&
        scriviCopia(modifica, cartellaCopia, codice, attuali) &&
        modifica.riscrivi(file(ExtMOV), recordsToBytes(piano.rimasti)) &&
        modifica.scriviContatore(file(ExtMOR), qint16(piano.rimasti.size())) &&
        modifica.riscrivi(file(ExtFOG), recordsToBytes(piano.fogli)) &&
        modifica.scriviContatore(file(ExtNRF), qint16(piano.fogli.size())) &&
        modifica.riscrivi(file(ExtCAR), recordsToBytes(piano.carnet)) &&
        modifica.scriviContatore(file(ExtNRC), qint16(piano.carnet.size())) &&
        modifica.scriviRecord(file(ExtChi), RiportoPrecedente::Lunghezza, 1,
                              piano.chiusura.toBytes()) &&
        modifica.scriviRecord(file(ExtRIP), Riporto::Lunghezza, 1, piano.riporto.toBytes()) &&
        modifica.concludi();
    return fatto ? Esito::fatto() : modifica.fallita(nonEseguita);
}

} // namespace qv
