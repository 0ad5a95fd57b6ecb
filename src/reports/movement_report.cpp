#include "reports/movement_report.h"

#include "common/amounts.h"
#include "common/file_names.h"
#include "common/numeric_value.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/text_codec.h"

#include <QHash>

#include <cmath>

namespace qv {

namespace {

const QString Tutte = QStringLiteral(" TUTTE");

// The pattern of the Euro amounts of the totals.
const QString FormatoEuro = QStringLiteral("#,###,###,##0.00");

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

// The debit or credit column for an amount already right-aligned: an inflow stands
// under "Mov. Avere", anything else under "Mov. Dare".
QString colonnaDareAvere(const QString& importo, bool avere) {
    if (avere) return blanks(12) + importo;
    return QLatin1Char(' ') + importo + blanks(11);
}

double conSegno(const Movimento& m) {
    const double importo = importoContabile(m.importo);
    return m.entrataUscita == u"E" ? importo : -importo;
}

} // namespace

ReportLayout layoutMovimenti() {
    ReportLayout layout;
    layout.soglia = 53;
    layout.rigaVuotaAlSalto = false;
    layout.righeChiusura = 48;
    return layout;
}

ReportHeader IntestazioneMovimenti(const ContestoStampa& contesto,
                                   const SelezioneMovimenti& selezione) {
    IntestazioneComune parti;
    parti.titolo = blanks(37) + QStringLiteral("Elenco Movimenti ");
    // The account line is set one place in from the margin, the currency after it.
    parti.righeConto = {QLatin1Char(' ') + rigaConto(contesto) + blanks(9) +
                            QStringLiteral("Valuta: ") + contesto.valuta,
                        QString()};
    parti.selezione = QStringLiteral("    dal ") + selezione.dal + QStringLiteral(" al ") +
                      selezione.al + QStringLiteral("  Causali selezionate: ") +
                      withoutTrailingBlanks(selezione.causale) +
                      QStringLiteral("  * movimenti non sospesi");
    parti.colonne = QStringLiteral("    Data       Valuta        Mov. Dare  Mov. Avere       "
                                   "Saldo    Descr. Movimento");
    return intestazioneComune(parti);
}

std::optional<QString> codiceCausaleScelto(const std::vector<VoceCausale>& causali,
                                           const QString& scelta) {
    const QString testo = withoutTrailingBlanks(scelta);
    if (testo == Tutte) return std::nullopt;
    for (const VoceCausale& voce : causali)
        if (voce.descrizione.trimmed() == testo.trimmed()) return voce.codiceCausale.trimmed();
    return QString();
}

namespace {

using FogliPerNumero = QHash<qint32, std::vector<const FoglioAssegno*>>;

// The carry-forward of the last closing: a positive balance under "Mov. Avere",
// anything else (an account never closed too) under "Mov. Dare".
void stampaRiporto(ReportFrame& frame, const ContestoStampa& contesto, const Riporto& riporto,
                   double saldo) {
    const QString saldoRiporto = importoStampato(contesto, saldo, 15);
    frame.riga(QLatin1Char(' ') + campo(riporto.dataRiporto, 10) + blanks(12) +
               colonnaDareAvere(saldoRiporto, saldo > 0) + saldoRiporto +
               QStringLiteral(" Riporto Chiusura precedente"));
}

// The causali by code as stored (a later row of the same code wins).
QHash<QString, QString> descrizioniPerCodice(const std::vector<VoceCausale>& causali) {
    QHash<QString, QString> descrizioni;
    for (const VoceCausale& voce : causali)
        descrizioni.insert(voce.codiceCausale, voce.descrizione.left(20));
    return descrizioni;
}

// The leaves by cheque number, in table order.
FogliPerNumero fogliPerNumero(const std::vector<FoglioAssegno>& fogli) {
    FogliPerNumero perNumero;
    for (const FoglioAssegno& f : fogli)
        perNumero[f.numeroAssegno].push_back(&f);
    return perNumero;
}

// The line of movement `m`, with the balance after it. A code that is in no causale row
// shows no description.
QString rigaMovimento(const ContestoStampa& contesto, const Movimento& m, double saldo,
                      const QHash<QString, QString>& descrizioni) {
    const auto importo = [&](double valore) { return importoStampato(contesto, valore, 15); };
    const QString descrizione = descrizioni.value(m.codiceCausale).trimmed();
    return QLatin1Char(' ') + campo(m.dataOperazione, 10) + QLatin1Char(' ') +
           campo(m.dataValuta, 10) +
           (m.sospeso == u"N" ? QStringLiteral("*") : QStringLiteral(" ")) +
           colonnaDareAvere(importo(importoContabile(m.importo)), m.entrataUscita == u"E") +
           importo(saldo) + QLatin1Char(' ') + descrizione + QLatin1Char(' ') +
           m.numeroDocumento.trimmed() + QLatin1Char(' ') + campo(m.descrizione, 20);
}

// The notes of the leaves that carry the cheque number of movement `m`.
void stampaNoteAssegno(ReportFrame& frame, const Movimento& m, const FogliPerNumero& fogli) {
    const std::optional<qint32> numero = numeroIntero(m.numeroDocumento);
    if (!numero) return;
    const auto it = fogli.constFind(*numero);
    if (it == fogli.cend()) return;
    for (const FoglioAssegno* f : *it)
        frame.rigaContata(blanks(68) + f->noteAssegno.trimmed());
}

// The closing lines: the movements left out, the book balance and how many are listed.
void stampaTotali(ReportFrame& frame, const ContestoStampa& contesto, double saldo,
                  double nonElencati, int elencati) {
    const auto importo = [&](double valore) { return importoStampato(contesto, valore, 15); };
    const double contabile = saldo + nonElencati;
    frame.riga(righello(94));
    frame.riga(QStringLiteral("    Importo dei movimenti non elencati") + blanks(12) +
               importo(nonElencati) + QStringLiteral("  = Euro ") +
               formatNumber(nonElencati, FormatoEuro));
    frame.riga(righello(94));
    frame.riga(QStringLiteral(" Saldo Contabile       ") + blanks(27) + importo(contabile) +
               QStringLiteral("   Nr. Movimenti: ") + QString::number(elencati));
    frame.riga(blanks(46) + QStringLiteral("  = Euro ") + formatNumber(contabile, FormatoEuro));
}

} // namespace

PrintedDocument StampaMovimenti(const ContestoStampa& contesto, const SelezioneMovimenti& selezione,
                                const DatiMovimenti& dati) {
    ReportFrame frame(layoutMovimenti(), IntestazioneMovimenti(contesto, selezione));
    const double riporto = importoContabile(dati.riporto.saldoRiporto);
    stampaRiporto(frame, contesto, dati.riporto, riporto);

    const std::optional<QString> codiceScelto =
        codiceCausaleScelto(dati.causali, selezione.causale);
    const QHash<QString, QString> descrizioni = descrizioniPerCodice(dati.causali);
    const FogliPerNumero fogli = fogliPerNumero(dati.fogli);
    double saldo = riporto;
    double nonElencati = 0;
    int elencati = 0;
    for (const Movimento& m : dati.ordinati) {
        const QString codice = m.codiceCausale.trimmed();
        const bool elencato = dataNelPeriodo(m.dataOperazione, selezione.dal, selezione.al) &&
                              (!codiceScelto || codice == *codiceScelto);
        if (!elencato) {
            nonElencati += conSegno(m);
            continue;
        }
        ++elencati;
        saldo += conSegno(m);
        frame.rigaCorpo(rigaMovimento(contesto, m, saldo, descrizioni));
        if (codice == u"AS") stampaNoteAssegno(frame, m, fogli);
    }
    stampaTotali(frame, contesto, saldo, nonElencati, elencati);
    return frame.chiudi();
}

EsitoStampa stampaMovimentiContoAperto(const ContestoStampa& contesto,
                                       const SelezioneMovimenti& selezione) {
    const auto& s = stato();
    DatiMovimenti dati;
    const QString errore = leggiPerStampa(accountFile(s.PercorsoDati, s.CodiceContoAttivo, ExtOrd),
                                          s.NumeroMovimenti, dati.ordinati);
    if (!errore.isEmpty()) return Esito::fallito(errore);
    dati.riporto = s.TabellaRiporto[1];
    dati.causali = righeTabella(s.TabellaCausali, s.NumeroCausali);
    dati.fogli = righeTabella(s.TabellaFogli, s.NumeroFogli);
    return {Esito::fatto(), StampaMovimenti(contesto, selezione, dati)};
}

} // namespace qv
