#include "interest/competenze_text.h"

#include "common/amounts.h"
#include "common/dates.h"

#include <cmath>

namespace qv {

namespace {

const QString kArial = QStringLiteral("Arial");
const QString kCourier = QStringLiteral("Courier New");
constexpr double kTitolo = 14;
constexpr double kConto = 12;
constexpr double kCorpo = 8;

QString spazi(int n) {
    return QString(n, QLatin1Char(' '));
}

QString ripeti(char c, int n) {
    return QString(n, QLatin1Char(c));
}

const QString kRiga4 = spazi(4);
const QString kChiusura = ripeti('_', 66);
const QString kSottolineatura = spazi(47) + ripeti('_', 19);
const QString kDoppia = ripeti('=', 66);

QString tasso(double valore) {
    return formatNumber(valore, QStringLiteral("00.000"));
}

// A date of the statement in its ten columns.
QString dieci(const QString& data) {
    return data.leftJustified(10, QLatin1Char(' '), true);
}

// The text of a free commission's base after its name; the screen and the paper name
// the maximum overdraft differently.
QString testoBase(const QString& codice, bool carta) {
    if (codice == u"1") return QStringLiteral(" applicato sugli Interessi creditori");
    if (codice == u"2") return QStringLiteral(" applicato sugli interessi debitori");
    if (codice == u"3") return QStringLiteral(" applicato sull'eccedenza fido");
    if (codice == u"4") return QStringLiteral(" applicato sui numeri creditori");
    if (codice == u"5") return QStringLiteral(" applicato sui numeri debitori");
    if (codice == u"6")
        return carta ? QStringLiteral(" applicato alla massima scopertura")
                     : QStringLiteral(" applicato al massima scopertura");
    return {};
}

// One line of the statement and whether the paper prints it in bold.
struct Riga {
    QString testo;
    bool grassetto = false;
};

// The body of the statement, from its first heading to the five closing blank lines,
// for the screen or for the paper: the same figures, the same order, each version's own
// columns.
class Corpo {
public:
    Corpo(const RisultatoCompetenze& r, const QString& formato, bool carta)
        : r_(r), formato_(formato), carta_(carta) {}

    std::vector<Riga> righe() {
        creditori();
        debitori();
        massimoScoperto();
        libere();
        spese();
        riepilogo();
        finale();
        return std::move(righe_);
    }

private:
    void riga(const QString& testo, bool grassetto = false) {
        righe_.push_back({testo, grassetto});
    }
    // Bold on paper only; the screen has no bold.
    void titolo(const QString& testo) { riga(testo, carta_); }

    QString importo(double valore, int larghezza) const {
        return rightAlign(formatNumber(valore, formato_), larghezza);
    }
    // A zero the paper prints as the plain text "0".
    QString zero(int larghezza) const {
        return rightAlign(carta_ ? QStringLiteral("0") : formatNumber(0, formato_), larghezza);
    }

    void creditori() {
        for (const char* t :
             {"ELEMENTI PER IL CONTEGGIO DELLE COMPETENZE", "    ", "    INTERESSI CREDITORI",
              "    ", "       DECORRENZA    TASSO   NUMERI CREDITORI  INTERESSI CREDITORI", "    "})
            titolo(QString::fromLatin1(t));
        for (const PeriodoTasso& p : r_.periodiCreditori)
            riga(spazi(carta_ ? 6 : 4) + dieci(p.decorrenza) + spazi(carta_ ? 5 : 6) +
                 tasso(p.tasso) + spazi(2) + importo(p.numeri, 16) + spazi(carta_ ? 4 : 5) +
                 importo(p.interessi, 16));
        riga(kSottolineatura);
        riga((carta_ ? QStringLiteral("                                 Totale Lordo    ")
                     : QStringLiteral("                               Totale Lordo      ")) +
             importo(r_.totaleInteressiCreditori, 16));
        riga(QStringLiteral(" "));
        riga(QStringLiteral("   RIT. FISCALE ") +
             formatNumber(r_.aliquotaRitenuta, QStringLiteral("##,00")) +
             QStringLiteral("% Imponibile:") + importo(r_.imponibileRitenuta, 13) +
             QStringLiteral("  Totale") + importo(r_.ritenutaCalcolata, 13));
        riga(kSottolineatura);
        riga(QStringLiteral("                               Totale Netto       ") +
             importo(r_.interessiCreditoriNetti, 15));
        riga(kChiusura);
    }

    void debitori() {
        for (const char* t :
             {"    INTERESSI DEBITORI", "    ",
              "       DECORRENZA    TASSO    NUMERI DEBITORI   INTERESSI DEBITORI", "    "})
            titolo(QString::fromLatin1(t));
        const QString gap = spazi(carta_ ? 4 : 5);
        for (const PeriodoTasso& p : r_.periodiDebitori) {
            riga((carta_ ? QStringLiteral(" EF   ") : QStringLiteral(" EF  ")) +
                 dieci(p.decorrenza) + spazi(5) + tasso(p.tasso) + spazi(2) +
                 importo(p.numeri, 16) + gap + importo(p.interessi, 16));
            riga(QStringLiteral(" FF") + spazi(carta_ ? 18 : 17) + tasso(p.tassoFuoriFido) +
                 spazi(2) + importo(p.numeriFuoriFido, 16) + gap +
                 importo(p.interessiFuoriFido, 16));
        }
        riga(kSottolineatura);
        riga(spazi(38) + QStringLiteral("Totale") + spazi(8) +
             importo(r_.totaleInteressiDebitori, 13));
        // The paper puts the legend right under the total; the screen leaves a line.
        if (!carta_) riga(QStringLiteral(" "));
        riga(QStringLiteral("EF = Entro Fido - FF = Fuori Fido"));
        riga(kChiusura);
    }

    void massimoScoperto() {
        titolo(QStringLiteral("    COMMISSIONE MASSIMO SCOPERTO"));
        titolo(kRiga4);
        titolo(
            QStringLiteral("          DATA      ALIQUOTA  BASE DI CALCOLO  IMPORTO COMMISSIONE"));
        riga(kRiga4);

        const QString data = r_.dataMassimoScoperto ? testoDaData(*r_.dataMassimoScoperto)
                                                    : QStringLiteral("__/__/____");
        const bool mai = r_.scoperto == Scoperto::Mai;
        const bool oltre = r_.conEccedenza();
        // Never overdrawn: the EF commission is the plain text "0" on both versions; the
        // screen formats its base, the paper does not.
        const QString baseEF = mai ? zero(16) : importo(r_.baseEntroFido, 16);
        const QString importoEF =
            mai ? rightAlign(QStringLiteral("0"), 16) : importo(r_.importoEntroFido, 16);
        const QString baseFF = oltre ? importo(r_.baseFuoriFido, 16) : zero(16);
        const QString importoFF = oltre ? importo(r_.importoFuoriFido, 16) : zero(16);
        const QString importoFFGG = oltre ? importo(r_.importoFuoriFidoGiorni, 16) : zero(16);
        const QString prima = spazi(carta_ ? 5 : 4);
        const QString dopo = spazi(carta_ ? 4 : 5);
        const int etichetta = carta_ ? 21 : 20;
        riga(QStringLiteral(" EF   ") + data + prima + tasso(r_.aliquotaMassimoScoperto) +
             spazi(2) + baseEF + dopo + importoEF);
        riga(QStringLiteral(" FF").leftJustified(etichetta) + tasso(r_.aliquotaScopertoFuoriFido) +
             spazi(2) + baseFF + dopo + importoFF);
        riga(QStringLiteral(" FFGG").leftJustified(etichetta) +
             tasso(r_.aliquotaScopertoFuoriFidoGiorni) + spazi(2) + baseFF + dopo + importoFFGG);
        riga(kSottolineatura);
        riga(spazi(49) + importo(r_.importiCompetenze[1], 16));
    }

    void libere() {
        for (const CommissioneLibera& l : r_.libere) {
            if (!l.applicata()) continue;
            riga(kRiga4 + l.descrizione + testoBase(l.base, carta_));
            if (!carta_) riga(kRiga4);
            riga(QStringLiteral(
                "                    ALIQUOTA  BASE DI CALCOLO              IMPORTO"));
            riga(kRiga4);
            riga(spazi(21) + tasso(l.aliquota) + spazi(5) + importo(l.imponibile, 13) + spazi(4) +
                 importo(l.importo, 16));
            if (!carta_) riga(spazi(13));
        }
        riga(kChiusura);
    }

    void spese() {
        titolo(QStringLiteral("    SPESE"));
        if (r_.operazioniAddebitate) {
            riga(QStringLiteral(
                "                              QUANTITA'      A LIRE        IMPORTO"));
            riga(kRiga4);
            riga(QStringLiteral("        OPERAZIONI  ") +
                 rightAlign(formatNumber(r_.numeroOperazioni, QStringLiteral("###0")), 16) +
                 spazi(7) + importo(r_.costoOperazione, 7) + spazi(8) +
                 importo(r_.importiCompetenze[4], 7));
        }
        for (const SpesaFissa& s : r_.speseFisse)
            riga(etichettaSpesa(s.voce) + importo(s.importo, 16));
        riga(kSottolineatura);
        riga(QStringLiteral("                               Totale Spese      ") +
             importo(r_.totaleSpese, 16));
    }

    QString etichettaSpesa(int voce) const {
        switch (voce) {
        case 5:
            return QStringLiteral("        SPESE FISSE DI CHIUSURA                  ");
        case 6:
            return QStringLiteral("        SPESE TENUTA CONTO                       ");
        case 7:
            return QStringLiteral("        COSTO TENUTA FIDO                        ");
        case 8:
            return QStringLiteral("        RIMBORSO FORFETTARIO                     ");
        case 9:
            return spazi(8) + r_.descrizioneSpesa1.leftJustified(25, u' ', true) + spazi(16);
        default:
            return spazi(8) + r_.descrizioneSpesa2.leftJustified(25, u' ', true) + spazi(16);
        }
    }

    void riepilogo() {
        riga(spazi(9));
        riga(kChiusura);
        titolo(QStringLiteral("RIEPILOGO COMPETENZE                      A DEBITO      A CREDITO"));
        riga(spazi(9));
        riga(QStringLiteral("  INTERESSI NETTI A CREDITO       ") + spazi(15) +
             importo(r_.interessiCreditoriNetti, 16));
        riga(QStringLiteral("  INTERESSI NETTI A DEBITO        ") +
             importo(r_.totaleInteressiDebitori, 16));
        riga(QStringLiteral("  COMMISSIONE DI MASSIMO SCOPERTO ") +
             importo(r_.importiCompetenze[1], 16));
        for (size_t i = 0; i < 2; ++i) {
            const double valore = r_.importiCompetenze[2 + i];
            if (valore == 0) continue;
            riga(QStringLiteral("  ") + r_.libere[i].descrizione.leftJustified(25, u' ', true) +
                 spazi(7) + importo(valore, 16));
        }
        riga(QStringLiteral("  SPESE                           ") + importo(r_.totaleSpese, 16));
        riga(QStringLiteral("                                    ______________  ______________"));
        riga(QStringLiteral("                            TOTALI") + importo(r_.totaleAddebiti, 16) +
             importo(r_.interessiCreditoriNetti, 15));
        titolo(r_.competenzeACredito ? QStringLiteral("COMPETENZE A CREDITO") + spazi(30) +
                                           importo(r_.saldoCompetenze, 15)
                                     : QStringLiteral("SBILANCIO COMPETENZE") + spazi(15) +
                                           importo(r_.saldoCompetenze, 15));
    }

    void finale() {
        if (r_.conEccedenza()) {
            const QString etichetta = r_.finaliACredito
                                          ? QStringLiteral("COMPETENZE FINALI A CREDITO  ")
                                          : QStringLiteral("SBILANCIO COMPETENZE A DEBITO");
            const QString intestazione =
                QStringLiteral("   ALIQUOTA    BASE DI CALCOLO  IMPORTO COMMISSIONE");
            const QString titoloEccedenza = QStringLiteral(" - COMMISSIONE ECCEDENZA O EXTRAFIDO ");
            // The paper prints the commission's base as it is; the screen shows it in
            // whole units.
            if (carta_) {
                riga(spazi(27));
                titolo(titoloEccedenza);
                riga(intestazione);
                riga(spazi(5) + tasso(r_.aliquotaEccedenza) + spazi(4) + importo(r_.eccedenza, 16) +
                     spazi(3) + importo(r_.commissioneEccedenza, 16));
                riga(spazi(8));
                titolo(spazi(5) + etichetta + importo(r_.competenzeFinali, 16));
                titolo(kDoppia);
            } else {
                for (const QString& t : {QStringLiteral(" "), kChiusura, titoloEccedenza,
                                         QStringLiteral(" "), intestazione, QStringLiteral(" ")})
                    riga(t);
                riga(kRiga4 + tasso(r_.aliquotaEccedenza) + spazi(4) +
                     importo(std::floor(r_.eccedenza), 16) + spazi(4) +
                     importo(r_.commissioneEccedenza, 16));
                riga(QStringLiteral(" "));
                riga(etichetta + spazi(5) + importo(r_.competenzeFinali, 16));
                riga(kDoppia);
            }
        } else {
            riga(kDoppia);
        }
        for (int i = 0; i < 5; ++i)
            riga(QStringLiteral(" "));
    }

    const RisultatoCompetenze& r_;
    const QString& formato_;
    const bool carta_;
    std::vector<Riga> righe_;
};

} // namespace

QStringList righeListaCompetenze(const RisultatoCompetenze& r, const QString& formato) {
    QStringList righe;
    for (Riga& riga : Corpo(r, formato, false).righe())
        righe << std::move(riga.testo);
    return righe;
}

std::vector<RigaStampaStaffa> stampaCompetenze(const RisultatoCompetenze& r,
                                               const IntestazioneStampaStaffa& i,
                                               const QString& formato) {
    std::vector<RigaStampaStaffa> stampa;
    const auto riga = [&](const QString& testo, const QString& carattere, double punti,
                          bool grassetto = false) {
        stampa.push_back({testo, carattere, punti, grassetto, false});
    };
    riga(QString(), kArial, kTitolo);
    riga(QStringLiteral("                              Calcolo interessi e costi "), kArial,
         kTitolo);
    riga(spazi(37), kArial, kTitolo);
    riga(i.banca + spazi(2) + spazi(23) + QStringLiteral("Stampato il ") +
             i.stampatoIl.toString(QStringLiteral("dd-MM-yyyy")) + spazi(9) +
             QStringLiteral("Valuta: ") + i.valuta,
         kArial, kConto);
    riga(QString(), kArial, kConto);
    riga(QStringLiteral("    dal ") + i.dal + QStringLiteral(" al ") + i.al + spazi(3), kCourier,
         kCorpo, true);
    riga(QLatin1Char(' ') + ripeti('-', 80), kCourier, kCorpo);
    for (Riga& x : Corpo(r, formato, true).righe())
        riga(x.testo, kCourier, kCorpo, x.grassetto);
    riga(QLatin1Char(' ') + ripeti('-', 94), kCourier, kCorpo);
    riga(spazi(55) + QStringLiteral(".....fine stampa"), kCourier, kCorpo);
    return stampa;
}

} // namespace qv
