#include "reports/cheque_reports.h"

#include "common/amounts.h"
#include "common/file_names.h"
#include "common/numeric_value.h"
#include "common/random_file.h"
#include "common/shared_state.h"

#include <QHash>

#include <cmath>

namespace qv {

namespace {

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

QString valuta(const ContestoStampa& contesto) {
    return blanks(21) + QStringLiteral("Valuta: ") + contesto.valuta;
}

QString periodo(const PeriodoStampa& p) {
    return QStringLiteral("    dal ") + p.dal + QStringLiteral(" al ") + p.al;
}

// The header of the cheque reports, with the usual account line ending in the date.
ReportHeader intestazioneAssegni(const ContestoStampa& contesto, const QString& titolo,
                                 const QString& selezione, const QString& colonne) {
    IntestazioneComune parti;
    parti.titolo = titolo;
    parti.righeConto = {rigaConto(contesto), QString()};
    parti.selezione = selezione;
    parti.colonne = colonne;
    return intestazioneComune(parti);
}

// The records of a file of the open account (leggiPerStampa).
template <class R>
QString leggiFileConto(const QString& estensione, int count, std::vector<R>& righe) {
    const auto& s = stato();
    return leggiPerStampa(accountFile(s.PercorsoDati, s.CodiceContoAttivo, estensione), count,
                          righe);
}

} // namespace

// --- Cheques -------------------------------------------------------------------------

ReportHeader IntestazioneAssegni(const ContestoStampa& contesto, const PeriodoStampa& p) {
    return intestazioneAssegni(contesto, blanks(37) + QStringLiteral("Elenco Assegni "),
                               periodo(p) + valuta(contesto),
                               QStringLiteral("     Data    Valuta         Importo      Nr. Ass.  "
                                              "Traente                  Nr. Carnet    Sosp."));
}

PrintedDocument StampaAssegni(const ContestoStampa& contesto, const PeriodoStampa& p,
                              const std::vector<Movimento>& ordinati,
                              const std::vector<FoglioAssegno>& fogli) {
    ReportFrame frame(ReportLayout{}, IntestazioneAssegni(contesto, p));
    // The book of each cheque number: the last leaf in table order that carries it.
    QHash<qint32, qint16> carnetDi;
    for (const FoglioAssegno& f : fogli)
        carnetDi.insert(f.numeroAssegno, f.numeroCarnet);

    for (const Movimento& m : ordinati) {
        if (!dataNelPeriodo(m.dataOperazione, p.dal, p.al)) continue;
        if (m.codiceCausale.trimmed() != u"AS") continue;
        // A cheque that no leaf carries has no book: 0.
        const std::optional<qint32> numero = numeroIntero(m.numeroDocumento);
        const qint16 carnet = numero ? carnetDi.value(*numero, 0) : 0;
        frame.rigaCorpo(
            QLatin1Char(' ') + campo(m.dataOperazione, 10) + QLatin1Char(' ') +
            campo(m.dataValuta, 10) + importoStampato(contesto, importoContabile(m.importo), 15) +
            rightAlign(m.numeroDocumento.trimmed(), 13) + blanks(3) + campo(m.descrizione, 22) +
            blanks(7) + rightAlign(numeroConSegno(carnet), 3) + blanks(8) +
            (m.sospeso == u"N" ? QStringLiteral("N") : QStringLiteral("S")));
    }
    return frame.chiudi();
}

// --- Annulled cheques ---------------------------------------------------------------

ReportHeader IntestazioneAssegniAnnullati(const ContestoStampa& contesto) {
    return intestazioneAssegni(contesto, blanks(32) + QStringLiteral("Elenco assegni annullati"),
                               blanks(65),
                               QStringLiteral("    Data                 Importo      Nr. Ass.      "
                                              "                      Nr. Carnet    Scaric."));
}

PrintedDocument StampaAssegniAnnullati(const ContestoStampa& contesto,
                                       const std::vector<FoglioAssegno>& fogli) {
    ReportFrame frame(ReportLayout{}, IntestazioneAssegniAnnullati(contesto));
    for (const FoglioAssegno& f : fogli) {
        if (f.annullato != u"S") continue;
        // An annulled cheque's amount does not count: the column always shows 0.
        frame.rigaCorpo(QLatin1Char(' ') + campo(f.dataAssegno, 10) + blanks(9) + blanks(12) +
                        QLatin1Char('0') + rightAlign(QString::number(f.numeroAssegno), 13) +
                        blanks(3) + campo(f.noteAssegno, 22) + blanks(7) +
                        numeroConSegno(f.numeroCarnet) + blanks(11) + campo(f.allineato, 1));
    }
    return frame.chiudi();
}

// --- Cheque books ------------------------------------------------------------------

ReportHeader IntestazioneCarnet(const ContestoStampa& contesto, const PeriodoStampa& p) {
    return intestazioneAssegni(contesto, blanks(41) + QStringLiteral("Elenco Carnet "), periodo(p),
                               QStringLiteral("    Data ritiro       Nr. Iniziale       Nr. Fogli "
                                              "   Nr. Finale        Nr.Ass.Fuori      Sosp."));
}

PrintedDocument StampaCarnet(const ContestoStampa& contesto, const PeriodoStampa& p,
                             const std::vector<CarnetAssegni>& carnet) {
    ReportFrame frame(ReportLayout{}, IntestazioneCarnet(contesto, p));
    for (const CarnetAssegni& c : carnet) {
        if (!dataNelPeriodo(c.dataRitiro, p.dal, p.al)) continue;
        // The leaves still out: one place more in front of a single figure.
        QString fuori = numeroConSegno(c.fogliDaAllineare);
        if (fuori.trimmed().size() == 1) fuori.prepend(QLatin1Char(' '));
        frame.rigaCorpo(QLatin1Char(' ') + blanks(4) + campo(c.dataRitiro, 10) + blanks(6) +
                        rightAlign(QString::number(c.primoAssegno), 13) + blanks(11) +
                        QStringLiteral("10") + blanks(4) +
                        rightAlign(QString::number(c.ultimoAssegno), 13) + blanks(12) + fuori +
                        blanks(13) + campo(c.esaurito, 1));
    }
    return frame.chiudi();
}

// --- Cheque situation --------------------------------------------------------------

ReportHeader IntestazioneSituazioneAssegni(const ContestoStampa& contesto, const PeriodoStampa& p) {
    return intestazioneAssegni(contesto, blanks(37) + QStringLiteral("Situazione assegni "),
                               periodo(p) + valuta(contesto),
                               QStringLiteral("   Data         Importo        Nr. Ass. Traente   "
                                              "                 Nr. Carnet    "));
}

PrintedDocument StampaSituazioneAssegni(const ContestoStampa& contesto, const PeriodoStampa& p,
                                        const std::vector<FoglioAssegno>& fogli) {
    ReportLayout layout;
    layout.righeChiusura = 56;
    ReportFrame frame(layout, IntestazioneSituazioneAssegni(contesto, p));
    for (const FoglioAssegno& f : fogli) {
        if (!dataNelPeriodo(f.dataAssegno, p.dal, p.al)) continue;
        if (f.allineato != u"N") continue;
        const QString traente = f.traenteNullo ? QStringLiteral("Assegno non Emesso       ")
                                               : campo(f.traenteAssegno, 25);
        frame.rigaCorpo(QLatin1Char(' ') + campo(f.dataAssegno, 10) +
                        importoStampato(contesto, importoContabile(f.importo), 15) +
                        rightAlign(QString::number(f.numeroAssegno), 13) + blanks(3) + traente +
                        blanks(7) + rightAlign(numeroConSegno(f.numeroCarnet), 3) + blanks(8));
    }
    return frame.chiudi();
}

// --- The open account ----------------------------------------------------------------

EsitoStampa stampaAssegniContoAperto(const ContestoStampa& contesto, const PeriodoStampa& p) {
    const auto& s = stato();
    std::vector<Movimento> ordinati;
    const QString errore = leggiFileConto(ExtOrd, s.NumeroMovimenti, ordinati);
    if (!errore.isEmpty()) return Esito::fallito(errore);
    return {Esito::fatto(), StampaAssegni(contesto, p, ordinati, righeTabella(s.TabellaFogli, s.NumeroFogli))};
}

EsitoStampa stampaAssegniAnnullatiContoAperto(const ContestoStampa& contesto) {
    const auto& s = stato();
    return {Esito::fatto(), StampaAssegniAnnullati(contesto, righeTabella(s.TabellaFogli, s.NumeroFogli))};
}

EsitoStampa stampaCarnetContoAperto(const ContestoStampa& contesto, const PeriodoStampa& p) {
    std::vector<CarnetAssegni> carnet;
    const QString errore = leggiFileConto(ExtCAR, stato().NumeroCarnet, carnet);
    if (!errore.isEmpty()) return Esito::fallito(errore);
    return {Esito::fatto(), StampaCarnet(contesto, p, carnet)};
}

EsitoStampa stampaSituazioneAssegniContoAperto(const ContestoStampa& contesto,
                                               const PeriodoStampa& p) {
    std::vector<FoglioAssegno> fogli;
    const QString errore = leggiFileConto(ExtFOG, stato().NumeroFogli, fogli);
    if (!errore.isEmpty()) return Esito::fallito(errore);
    return {Esito::fatto(), StampaSituazioneAssegni(contesto, p, fogli)};
}

} // namespace qv
