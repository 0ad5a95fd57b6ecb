#include "conditions/conditions_editor.h"

#include "common/amounts.h"
#include "common/dates.h"
#include "common/shared_state.h"

#include <cfenv>
#include <cmath>
#include <limits>
#include <optional>

namespace qv {

namespace {

const QString kErrore = QStringLiteral("ERRORE");

QString dataVuota() {
    return QStringLiteral("__/__/____");
}

// A stored rate as its field shows it: one no computation may count shows as 0.
QString testoTassoContabile(float tasso) {
    return formatNumber(tassoUtilizzabile(tasso) ? double(tasso) : 0.0, FormatoTassi);
}

// A rate as typed or as shown: the Italian way, negative with "-" or in parentheses.
std::optional<double> leggiTasso(const QString& testo) {
    const QString t = testo.trimmed();
    if (t.size() >= 2 && t.startsWith(u'(') && t.endsWith(u')')) {
        const auto valore = parseAmount(t.mid(1, t.size() - 2));
        if (!valore) return std::nullopt;
        return *valore == 0 ? 0.0 : -*valore; // "(0,000)" is 0, never a negative zero
    }
    return parseAmount(t, true);
}

Esito rifiuto(const QString& testo, const QString& titolo, const QString& campo,
              bool svuota = false) {
    Esito esito = Esito::rifiutato(testo, titolo, campo);
    esito.svuotaCampo = svuota;
    return esito;
}

QString nomeCampo(const char* prefisso, int k) {
    return QLatin1String(prefisso) + QString::number(k);
}

// A start date is good when it is complete and real.
bool dataBuona(const QString& testo) {
    if (!isCompleteDateText(testo)) return false;
    const DateParts p = splitDateText(testo);
    return dateValuesValid(p.giorno, p.mese, p.anno);
}

// Checks one series of five start dates: the first always, the others when set.
std::optional<Esito> controllaDate(const std::array<QString, 6>& date, const char* prefisso) {
    for (int k = 1; k <= 5; ++k) {
        const QString& d = date[size_t(k)];
        if (k > 1 && d == dataVuota()) continue;
        if (!dataBuona(d))
            return rifiuto(testoDataErrata(), QStringLiteral("Errore"), nomeCampo(prefisso, k),
                           true);
    }
    return std::nullopt;
}

// Each set date after the previous set one; empty ones between them are skipped.
std::optional<Esito> controllaOrdine(const std::array<QString, 6>& date, const char* prefisso) {
    std::optional<QDate> precedente;
    for (int k = 1; k <= 5; ++k) {
        const auto data = dataDaTesto(date[size_t(k)]);
        if (!data) continue;
        if (precedente && *data <= *precedente)
            return rifiuto(testoDateNonCrescenti(), kErrore, nomeCampo(prefisso, k));
        precedente = data;
    }
    return std::nullopt;
}

// Reads the numeric fields into a record under construction. Each reader keeps the
// stored value for a field left as shown or emptied, and remembers the first field
// whose text is no number.
class Lettore {
public:
    explicit Lettore(double fattoreValuta) : fattore_(fattoreValuta) {}

    void tasso(const QString& testo, const QString& mostrato, const QString& campo,
               const QString& nome, float& valore) {
        if (esito_) return;
        if (invariato(testo, mostrato)) {
            // A rate no computation may count was shown as 0, and is kept as shown.
            if (!tassoUtilizzabile(valore)) valore = 0;
            return;
        }
        const auto letto = tassoDaTesto(testo);
        if (!letto) {
            esito_ = rifiuto(testoTassoNonValido(nome), kErrore, campo);
            return;
        }
        valore = *letto;
    }

    void importo(const QString& testo, const QString& mostrato, const QString& campo,
                 double& valore) {
        if (esito_) return;
        if (invariato(testo, mostrato)) {
            // An amount no computation may count was shown as 0, and is kept as shown.
            valore = importoContabile(valore);
            return;
        }
        const auto letto = parseAmount(testo);
        if (!letto) {
            esito_ = rifiuto(amountErrorMessage(), kErrore, campo);
            return;
        }
        if (!cambioUtilizzabile(fattore_)) {
            esito_ = rifiuto(QStringLiteral("Il cambio della valuta scelta non è utilizzabile: "
                                            "l'importo non può essere convertito. Scegliere "
                                            "un'altra valuta e riprovare."),
                             kErrore, campo);
            return;
        }
        const double euro = *letto / fattore_;
        if (!importoUtilizzabile(euro)) {
            esito_ = rifiuto(amountTooLargeMessage(), kErrore, campo);
            return;
        }
        valore = euro;
    }

    void conteggio(const QString& testo, const QString& mostrato, const QString& campo,
                   qint16& valore) {
        if (esito_ || invariato(testo, mostrato)) return;
        const auto letto = parseAmount(testo);
        if (!letto) {
            esito_ = rifiuto(testoMinimoMovimentiErrato(), kErrore, campo);
            return;
        }
        // Rounded to the nearest whole number, halves to the even one.
        const int modo = std::fegetround();
        std::fesetround(FE_TONEAREST);
        const double intero = std::nearbyint(*letto);
        std::fesetround(modo);
        if (intero > 32767) {
            esito_ = rifiuto(testoMinimoMovimentiErrato(), kErrore, campo);
            return;
        }
        valore = qint16(intero);
    }

    const std::optional<Esito>& esito() const { return esito_; }

private:
    static bool invariato(const QString& testo, const QString& mostrato) {
        return testo == mostrato || testo.trimmed().isEmpty();
    }

    double fattore_;
    std::optional<Esito> esito_;
};

// A text field: as stored when left as shown, else the text cut to the field.
QString testoCampo(const QString& testo, const QString& mostrato, const QString& memorizzato,
                   int larghezza) {
    if (testo == mostrato) return memorizzato;
    return testo.left(larghezza);
}

} // namespace

QString testoTasso(float tasso) {
    return formatNumber(double(tasso), FormatoTassi);
}

std::optional<float> tassoDaTesto(const QString& testo) {
    const auto letto = leggiTasso(testo);
    if (!letto || std::fabs(*letto) > double(std::numeric_limits<float>::max())) return {};
    const float tasso = float(*letto);
    if (std::fabs(tasso) > TassoMassimo) return std::nullopt;
    return tasso;
}

bool addebitoAnnuale(const QString& flag) {
    return flag.size() == 1 && flag[0].isDigit() && flag[0] != u'1';
}

QString testoDateNonCrescenti() {
    return QStringLiteral("Le date di decorrenza devono essere in ordine crescente");
}

QString testoMinimoMovimentiErrato() {
    return QStringLiteral("Numero di movimenti non valido; inserire un numero intero da 0 a "
                          "32767.");
}

QString testoTassoNonValido(const QString& nome) {
    const QString massimo = formatNumber(double(TassoMassimo), QStringLiteral("#,##0"));
    return QStringLiteral("Tasso non valido (%1); inserire una percentuale con la virgola per i "
                          "decimali, ad esempio 3,25 o -0,5, da -%2 a %2.")
        .arg(nome, massimo);
}

CampiCondizioni campiDaCondizioni(const CondizioniConto& c, double fattoreValuta,
                                  const QString& formatoImporti) {
    CampiCondizioni f;
    for (size_t k = 1; k <= 5; ++k) {
        f.dataCreditori[k] = c.creditori.dataDecorrenza[k];
        f.tassoCreditori[k] = testoTassoContabile(c.creditori.tasso[k]);
        f.dataDebitori[k] = c.debitori.dataDecorrenza[k];
        f.tassoDebitori[k] = testoTassoContabile(c.debitori.tassoEntroFido[k]);
        f.tassoDebitori[k + 5] = testoTassoContabile(c.debitori.tassoFuoriFido[k]);
    }
    for (size_t i = 0; i < 7; ++i) {
        f.importo[i + 1] =
            formatAmount(importoContabile(c.spese.importoSpesa[i]), fattoreValuta, formatoImporti);
        f.trimestrale[i + 1] = !addebitoAnnuale(c.spese.addebitoTrimestrale[i]);
    }
    f.descr1 = c.spese.descrizioneSpesa1;
    f.descr2 = c.spese.descrizioneSpesa2;

    const OneriPassivi& o = c.oneri;
    f.per = {QString(),
             testoTassoContabile(o.aliquotaEccedenza),
             testoTassoContabile(o.aliquotaMassimoScoperto),
             testoTassoContabile(o.ritenutaFiscale),
             testoTassoContabile(o.aliquotaLibera1),
             testoTassoContabile(o.aliquotaLibera2),
             testoTassoContabile(o.aliquotaScopertoFuoriFido),
             testoTassoContabile(o.aliquotaScopertoFuoriFidoGiorni)};
    f.descr3 = o.descrizioneLibera1;
    f.descr4 = o.descrizioneLibera2;
    f.baseLibera1 = o.baseLibera1;
    f.baseLibera2 = o.baseLibera2;

    const Opzioni& op = c.opzioni;
    if (op.codiceDivisore >= 1 && op.codiceDivisore <= 4) f.divisore = op.codiceDivisore - 1;
    f.giorniDebitori360 = op.baseGiorniDebitori == QLatin1String("1");
    f.giorniCreditori360 = op.baseGiorniCreditori == QLatin1String("1");
    if (op.periodicitaChiusura == QLatin1String("2"))
        f.chiusura = 1;
    else if (op.periodicitaChiusura == QLatin1String("3"))
        f.chiusura = 2;
    f.indInter = op.indirizzoInternet.trimmed();
    f.nrScritt = QString::number(op.minimoMovimenti);
    return f;
}

namespace {

// A rate field, named for its messages as the form names it (the free rates by the
// descriptions typed for them).
void leggiTasso(Lettore& leggi, const CampiCondizioni& campi, const QString& testo,
                const QString& mostrato, const QString& campo, float& valore) {
    leggi.tasso(testo, mostrato, campo, nomeTasso(campo, campi.descr3, campi.descr4), valore);
}

// The credit, then the debit rates with their dates.
void leggiInteressi(Lettore& leggi, const CampiCondizioni& campi, const CampiCondizioni& mostrati,
                    CondizioniConto& c) {
    for (size_t k = 1; k <= 5; ++k) {
        c.creditori.dataDecorrenza[k] = campi.dataCreditori[k];
        leggiTasso(leggi, campi, campi.tassoCreditori[k], mostrati.tassoCreditori[k],
                   nomeCampo("PerC", int(k)), c.creditori.tasso[k]);
    }
    for (size_t k = 1; k <= 5; ++k) {
        c.debitori.dataDecorrenza[k] = campi.dataDebitori[k];
        leggiTasso(leggi, campi, campi.tassoDebitori[k], mostrati.tassoDebitori[k],
                   nomeCampo("PerD", int(k)), c.debitori.tassoEntroFido[k]);
        leggiTasso(leggi, campi, campi.tassoDebitori[k + 5], mostrati.tassoDebitori[k + 5],
                   nomeCampo("PerD", int(k + 5)), c.debitori.tassoFuoriFido[k]);
    }
}

// The seven fees, how often each is charged, and the descriptions of the free ones.
void leggiSpese(Lettore& leggi, const CampiCondizioni& campi, const CampiCondizioni& mostrati,
                SpeseVarie& s) {
    for (size_t i = 0; i < 7; ++i) {
        leggi.importo(campi.importo[i + 1], mostrati.importo[i + 1],
                      nomeCampo("IMPORTO", int(i + 1)), s.importoSpesa[i]);
        s.addebitoTrimestrale[i] =
            campi.trimestrale[i + 1] ? QStringLiteral("1") : QStringLiteral("0");
    }
    s.descrizioneSpesa1 = testoCampo(campi.descr1, mostrati.descr1, s.descrizioneSpesa1, 25);
    s.descrizioneSpesa2 = testoCampo(campi.descr2, mostrati.descr2, s.descrizioneSpesa2, 25);
}

// The commissions, the withholding tax and the free rates with their descriptions and
// bases.
void leggiOneri(Lettore& leggi, const CampiCondizioni& campi, const CampiCondizioni& mostrati,
                OneriPassivi& o) {
    const std::array<std::pair<int, float*>, 7> aliquote{{{1, &o.aliquotaEccedenza},
                                                          {2, &o.aliquotaMassimoScoperto},
                                                          {6, &o.aliquotaScopertoFuoriFido},
                                                          {7, &o.aliquotaScopertoFuoriFidoGiorni},
                                                          {3, &o.ritenutaFiscale},
                                                          {4, &o.aliquotaLibera1},
                                                          {5, &o.aliquotaLibera2}}};
    for (const auto& [k, aliquota] : aliquote)
        leggiTasso(leggi, campi, campi.per[size_t(k)], mostrati.per[size_t(k)], nomeCampo("Per", k),
                   *aliquota);
    o.descrizioneLibera1 = testoCampo(campi.descr3, mostrati.descr3, o.descrizioneLibera1, 25);
    o.descrizioneLibera2 = testoCampo(campi.descr4, mostrati.descr4, o.descrizioneLibera2, 25);
    o.baseLibera1 = campi.baseLibera1.left(1);
    o.baseLibera2 = campi.baseLibera2.left(1);
}

void leggiOpzioni(Lettore& leggi, const CampiCondizioni& campi, const CampiCondizioni& mostrati,
                  Opzioni& op) {
    op.periodicitaChiusura = QString::number(qBound(0, campi.chiusura, 2) + 1);
    leggi.conteggio(campi.nrScritt, mostrati.nrScritt, QStringLiteral("NrScritt"),
                    op.minimoMovimenti);
    op.indirizzoInternet = testoCampo(campi.indInter, mostrati.indInter, op.indirizzoInternet, 100);
    op.baseGiorniDebitori = campi.giorniDebitori360 ? QStringLiteral("1") : QStringLiteral("2");
    op.baseGiorniCreditori = campi.giorniCreditori360 ? QStringLiteral("1") : QStringLiteral("2");
    op.codiceDivisore = qint16(qBound(0, campi.divisore, 3) + 1);
}

} // namespace

Esito condizioniDaCampi(const CampiCondizioni& campi, const CampiCondizioni& mostrati,
                        const CondizioniConto& caricate, double fattoreValuta,
                        CondizioniConto* nuove) {
    if (auto e = controllaDate(campi.dataDebitori, "DATAD")) return *e;
    if (auto e = controllaDate(campi.dataCreditori, "DataC")) return *e;
    if (auto e = controllaOrdine(campi.dataDebitori, "DATAD")) return *e;
    if (auto e = controllaOrdine(campi.dataCreditori, "DataC")) return *e;

    CondizioniConto c = caricate;
    Lettore leggi(fattoreValuta);
    // Fields in the order of the tabs and, within a tab, from top to bottom.
    leggiInteressi(leggi, campi, mostrati, c);
    leggiSpese(leggi, campi, mostrati, c.spese);
    leggiOneri(leggi, campi, mostrati, c.oneri);
    leggiOpzioni(leggi, campi, mostrati, c.opzioni);
    if (leggi.esito()) return *leggi.esito();
    *nuove = std::move(c);
    return {};
}

Esito confermaCondizioni(const CampiCondizioni& campi, const CampiCondizioni& mostrati) {
    const CondizioniConto prima = condizioniInMemoria();
    CondizioniConto nuove;
    Esito esito = condizioniDaCampi(campi, mostrati, prima, stato().FattoreValuta, &nuove);
    if (!esito.ok()) return esito;

    impostaCondizioniInMemoria(nuove);
    const Esito salvate = SalvaCondizioni();
    if (salvate.ok()) return esito;
    // The files are as they were, and so are the records that mirror them.
    impostaCondizioniInMemoria(prima);
    return Esito::fallito(QStringLiteral("Impossibile salvare le condizioni del conto; nessuna "
                                         "modifica è stata registrata.\n") +
                              salvate.testo,
                          QStringLiteral("Errore"));
}

} // namespace qv
