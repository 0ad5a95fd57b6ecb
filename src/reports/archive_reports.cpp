#include "reports/archive_reports.h"

#include "common/amounts.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/shared_state.h"

namespace qv {

namespace {

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

// The records of an archive of `cartella` (leggiPerStampa).
template <class R>
QString leggiArchivio(const QString& cartella, const QString& nome, int count,
                      std::vector<R>& righe) {
    return leggiPerStampa(resolveFile(cartella, nome), count, righe);
}

} // namespace

// --- Causali -------------------------------------------------------------------------

ReportHeader IntestazioneCausali(const ContestoStampa& contesto, const PeriodoStampa& periodo) {
    IntestazioneComune parti;
    parti.titolo = blanks(41) + QStringLiteral("Elenco Causali");
    parti.righeConto = {rigaConto(contesto), QString()};
    parti.selezione = QStringLiteral("    dal ") + periodo.dal + QStringLiteral(" al ") +
                      periodo.al + QStringLiteral("     * = Movimenti non sospesi");
    parti.colonne = QStringLiteral("  Cod. Causale  Descrizione                        E/U        "
                                   "Mov. Sospeso");
    return intestazioneComune(parti);
}

PrintedDocument StampaCausali(const ContestoStampa& contesto, const PeriodoStampa& periodo,
                              const std::vector<VoceCausale>& causali) {
    ReportFrame frame(ReportLayout{}, IntestazioneCausali(contesto, periodo));
    for (const VoceCausale& v : causali)
        frame.rigaCorpo(blanks(5) + campo(v.codiceCausale, 5) + blanks(6) +
                        campo(v.descrizione, 25) + blanks(17) + campo(v.entrataUscita, 1) +
                        blanks(13) + campo(v.sospeso, 1));
    return frame.chiudi();
}

// --- Accounts ------------------------------------------------------------------------

ReportHeader IntestazioneElencoConti(const ContestoStampa& contesto) {
    IntestazioneComune parti;
    parti.titolo = blanks(41) + QStringLiteral("Elenco Conti ");
    parti.sottotitolo = blanks(69);
    parti.righeConto = {QString(), QString()};
    parti.selezione = QStringLiteral(" Valuta: ") + contesto.valuta;
    parti.selezioneInGrassetto = false;
    parti.colonne = QStringLiteral(" N° conto     Tipo Conto       Banca                          "
                                   "    Fido Codice ABI-CAB-ID");
    return intestazioneComune(parti);
}

PrintedDocument StampaElencoConti(const ContestoStampa& contesto, const std::vector<Conto>& conti) {
    ReportFrame frame(ReportLayout{}, IntestazioneElencoConti(contesto));
    for (const Conto& c : conti)
        frame.rigaCorpo(QLatin1Char(' ') + campo(c.codiceConto, 12) + QLatin1Char(' ') +
                        campo(c.tipoConto, 15) + blanks(2) + campo(c.nomeBanca, 25) +
                        QLatin1Char(' ') + importoStampato(contesto, importoContabile(c.fido), 13) +
                        QLatin1Char(' ') + c.codiceAbi.trimmed() + QLatin1Char('-') +
                        c.codiceCab.trimmed() + QLatin1Char('-') + c.idBanca.trimmed());
    return frame.chiudi();
}

// --- Summary -------------------------------------------------------------------------

ReportHeader IntestazioneRiepilogoConti(const ContestoStampa& contesto, const QString& dataVis) {
    IntestazioneComune parti;
    parti.titolo = blanks(42) + QStringLiteral("Riepilogo Conti ");
    parti.sottotitolo = QString();
    parti.righeConto = {QString(), QString()};
    parti.selezione = QStringLiteral("    al ") + dataVis + blanks(20) +
                      QStringLiteral("Valuta: ") + contesto.valuta;
    parti.colonne = QStringLiteral(" Conto   Descrizione                           Saldo         "
                                   "Fido       Disponibilità");
    return intestazioneComune(parti);
}

PrintedDocument StampaRiepilogoConti(const ContestoStampa& contesto, const QString& dataVis,
                                     bool perValuta, const std::vector<ContoRiepilogato>& conti) {
    ReportLayout layout;
    layout.righeChiusura = 54;
    ReportFrame frame(layout, IntestazioneRiepilogoConti(contesto, dataVis));
    const auto importo = [&](double valore) { return importoStampato(contesto, valore, 13); };

    double saldi = 0;
    double fidi = 0;
    double disponibili = 0;
    for (const ContoRiepilogato& r : conti) {
        const QString codice = r.conto.codiceConto.trimmed();
        const double saldo =
            importoContabile(perValuta ? r.totali.saldoValutaOggi : r.totali.saldoOperazioneOggi);
        const double fido = importoContabile(r.conto.fido);
        saldi += saldo;
        fidi += fido;
        disponibili += saldo + fido;
        frame.rigaCorpo(rightAlign(codice, 8) + QLatin1Char(' ') + campo(r.conto.nomeBanca, 32) +
                        QLatin1Char(' ') + importo(saldo) + QLatin1Char(' ') + importo(fido) +
                        QLatin1Char(' ') + importo(saldo + fido));
    }
    frame.riga(QString());
    frame.riga(righello(95));
    frame.riga(blanks(35) + QStringLiteral("Totali ") + importo(saldi) + QLatin1Char(' ') +
               importo(fidi) + QLatin1Char(' ') + importo(disponibili) + QLatin1Char(' '));
    return frame.chiudi();
}

// --- From the archive files -----------------------------------------------------------

EsitoStampa stampaCausaliArchivio(const ContestoStampa& contesto, const PeriodoStampa& periodo) {
    const auto& s = stato();
    std::vector<VoceCausale> causali;
    const QString errore =
        leggiArchivio(s.PercorsoProgramma, CausaliFile, s.NumeroCausali, causali);
    if (!errore.isEmpty()) return Esito::fallito(errore);
    return {Esito::fatto(), StampaCausali(contesto, periodo, causali)};
}

EsitoStampa stampaElencoContiArchivio(const ContestoStampa& contesto) {
    const auto& s = stato();
    std::vector<Conto> conti;
    const QString errore = leggiArchivio(s.PercorsoDati, ContiFile, s.NumeroConti, conti);
    if (!errore.isEmpty()) return Esito::fallito(errore);
    return {Esito::fatto(), StampaElencoConti(contesto, conti)};
}

EsitoStampa stampaRiepilogoContiArchivio(const ContestoStampa& contesto, const QString& dataVis,
                                         bool perValuta) {
    const auto& s = stato();
    std::vector<Conto> conti;
    QString errore = leggiArchivio(s.PercorsoDati, ContiFile, s.NumeroConti, conti);
    if (!errore.isEmpty()) return Esito::fallito(errore);
    std::vector<ContoRiepilogato> righe;
    righe.reserve(conti.size());
    for (const Conto& c : conti) {
        ContoRiepilogato r{c, {}};
        // A row without a code names no file: it shows a zero balance.
        if (!c.codiceConto.trimmed().isEmpty()) {
            const QString percorso = accountFile(s.PercorsoDati, c.codiceConto, ExtTOT);
            QString motivo;
            r.totali = leggiRecord<TotaliConto>(percorso, 1, &motivo);
            if (!motivo.isEmpty())
                return Esito::fallito(messaggioLetturaStampa(percorso, motivo));
        }
        righe.push_back(std::move(r));
    }
    return {Esito::fatto(), StampaRiepilogoConti(contesto, dataVis, perValuta, righe)};
}

} // namespace qv
