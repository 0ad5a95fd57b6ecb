#include "conditions/conditions_sheet.h"

#include "common/amounts.h"
#include "common/shared_state.h"
#include "conditions/conditions_editor.h"

namespace qv {

namespace {

const QString kArial = QStringLiteral("Arial");
const QString kCourier = QStringLiteral("Courier New");

// A rate that no computation may count prints as 0, as it is counted.
QString tasso(float valore) {
    return formatNumber(tassoUtilizzabile(valore) ? double(valore) : 0.0, QStringLiteral("00.00")) +
           QLatin1Char('%');
}

QString venticinque(const QString& descrizione) {
    return descrizione.leftJustified(25, u' ', true);
}

class Foglio {
public:
    void font(const QString& nome, double punti, bool grassetto) {
        font_ = nome;
        punti_ = punti;
        grassetto_ = grassetto;
    }
    void grassetto(bool on) { grassetto_ = on; }
    void riga(const QString& testo = QString()) {
        righe_.push_back({testo, font_, punti_, grassetto_});
    }
    void vuote(int n) {
        for (int i = 0; i < n; ++i)
            riga();
    }
    void titolo(const QString& testo) {
        grassetto(true);
        riga(testo);
        grassetto(false);
    }
    RigheStampa righe() && { return std::move(righe_); }

private:
    RigheStampa righe_;
    QString font_;
    double punti_ = 10;
    bool grassetto_ = false;
};

// The five rate lines of a series; the line after the first holds a single blank.
void righeTassi(Foglio& f, const std::array<QString, 6>& date, const std::array<float, 6>& tassi) {
    for (size_t k = 1; k <= 5; ++k) {
        f.riga(QStringLiteral("  dalla data: ") + date[k].leftJustified(10, u' ', true) +
               QStringLiteral(" Interessi: ") + tasso(tassi[k]));
        if (k == 1)
            f.riga(QStringLiteral(" "));
        else if (k < 5)
            f.riga();
    }
}

} // namespace

QString bancaContoAperto() {
    const StatoProgramma& s = stato();
    if (!contoAttivoAperto() || s.IndiceContoAttivo < 1 ||
        s.IndiceContoAttivo >= qsizetype(s.TabellaConti.size()))
        return {};
    return s.TabellaConti[size_t(s.IndiceContoAttivo)].nomeBanca.trimmed();
}

namespace {

QString riga94() {
    return QStringLiteral("  ") + QString(94, u'-');
}

// The title, the bank and the currency.
void intestazioneFoglio(Foglio& f, const QString& banca, const QString& valuta) {
    f.font(kArial, 18, true);
    f.riga();
    f.riga(QString(41, u' ') + QStringLiteral("Elenco Costi e condizioni "));
    f.riga();
    f.riga(QStringLiteral("  ") + banca);
    f.font(kArial, 12, true);
    f.riga();
    f.font(kCourier, 9.75, true);
    f.riga(QStringLiteral("  Valuta: ") + valuta);
    f.riga(riga94());
    f.riga();
}

// The credit and the debit rates.
void righeInteressi(Foglio& f, const CondizioniConto& c) {
    f.font(kCourier, 10, true);
    f.riga(QStringLiteral("  Interessi creditori"));
    f.grassetto(false);
    f.riga();
    righeTassi(f, c.creditori.dataDecorrenza, c.creditori.tasso);
    f.vuote(2);
    f.titolo(QStringLiteral("  Interessi Debitori"));
    f.vuote(2);
    righeTassi(f, c.debitori.dataDecorrenza, c.debitori.tassoEntroFido);
    f.vuote(2);
}

// The seven fees, each with its amount and how often it is charged.
void righeSpese(Foglio& f, const SpeseVarie& s, double fattoreValuta,
                const QString& formatoImporti) {
    f.titolo(QStringLiteral("  Spese Varie"));
    f.riga();
    const std::array<QString, 7> voci{
        QStringLiteral("  Spese fisse di chiusura    Lire "),
        QStringLiteral("  Tenuta conto               Lire "),
        QStringLiteral("  Costo scrittura movimenti  Lire "),
        QStringLiteral("  Costo tenuta fido          Lire "),
        QStringLiteral("  Rimborso forfettario       Lire "),
        QStringLiteral("  ") + venticinque(s.descrizioneSpesa1) + QStringLiteral("  Lire "),
        QStringLiteral("  ") + venticinque(s.descrizioneSpesa2) + QStringLiteral("  Lire ")};
    for (size_t i = 0; i < 7; ++i)
        f.riga(voci[i] +
               rightAlign(
                   formatAmount(importoContabile(s.importoSpesa[i]), fattoreValuta, formatoImporti),
                   13) +
               QStringLiteral("  Addebito ") +
               (addebitoAnnuale(s.addebitoTrimestrale[i]) ? QStringLiteral("Annuale")
                                                          : QStringLiteral("Trimestrale")));
    f.riga();
    f.riga(QStringLiteral("  ") + QString(67, u'-'));
}

// The commissions, the withholding tax and the free rates, then the number of movements
// under which the flat refund applies.
void righeOneri(Foglio& f, const CondizioniConto& c) {
    f.titolo(QStringLiteral("  Oneri passivi"));
    f.riga();
    const OneriPassivi& o = c.oneri;
    const QString sette(7, u' ');
    f.riga(QStringLiteral("  Commissione eccedenza / E.F.    ") + tasso(o.aliquotaEccedenza));
    f.riga(QStringLiteral("  Commissione massimo scoperto    ") + tasso(o.aliquotaMassimoScoperto));
    f.riga(QStringLiteral("  Ritenuta fiscale                ") + tasso(o.ritenutaFiscale));
    f.riga(QStringLiteral("  ") + venticinque(o.descrizioneLibera1) + sette +
           tasso(o.aliquotaLibera1));
    f.riga(QStringLiteral("  ") + venticinque(o.descrizioneLibera2) + sette +
           tasso(o.aliquotaLibera2));
    f.vuote(2);
    f.riga(QStringLiteral("  Nr. movimenti sotto il quale si applica il rimborso fofettario: ") +
           QString::number(c.opzioni.minimoMovimenti));
}

void chiusuraFoglio(Foglio& f) {
    f.vuote(8);
    f.riga(riga94());
    f.riga();
    f.riga(QString(43, u' ') + QStringLiteral("Pagina 1") + QString(17, u' ') +
           QStringLiteral(".....fine stampa"));
}

} // namespace

RigheStampa righeFoglioCondizioni(const CondizioniConto& c, const QString& banca,
                                  const QString& valuta, double fattoreValuta,
                                  const QString& formatoImporti) {
    Foglio f;
    intestazioneFoglio(f, banca, valuta);
    righeInteressi(f, c);
    righeSpese(f, c.spese, fattoreValuta, formatoImporti);
    righeOneri(f, c);
    chiusuraFoglio(f);
    return std::move(f).righe();
}

} // namespace qv
