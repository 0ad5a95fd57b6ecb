#include "ledger/movement_reading.h"

#include "archives/causali.h"
#include "common/amounts.h"
#include "common/date_check.h"
#include "common/dates.h"
#include "common/shared_state.h"
#include "shell/display_currency.h"

namespace qv {

namespace {

const QString kErrore = QStringLiteral("ERRORE");

bool dataVuota(const QString& testo) {
    return testo.isEmpty() || testo == QLatin1String("__/__/____");
}

Esito obbligatorio(const QString& testo, const QString& campo) {
    return Esito::rifiutato(testo, kErrore, campo).conBeep();
}

QString dueCifre(const DateParts& p) {
    return QStringLiteral("%1/%2/%3")
        .arg(int(p.giorno), 2, 10, QLatin1Char('0'))
        .arg(int(p.mese), 2, 10, QLatin1Char('0'))
        .arg(int(p.anno), 4, 10, QLatin1Char('0'));
}

// The text of a one-letter flag that must read `primo` or `secondo`, in capitals.
std::optional<QString> flag(const QString& testo, const QString& primo, const QString& secondo) {
    const QString valore = testo.trimmed().toUpper();
    if (valore == primo || valore == secondo) return valore;
    return std::nullopt;
}

// The two dates are required. An empty operation date in the alignment (nothing loaded,
// or nothing typed) only takes the focus back; the other forms say the field is required.
Esito controllaDateObbligatorie(const TestiMovimento& testi, ModuloMovimento modulo) {
    if (dataVuota(testi.dataOperazione)) {
        if (modulo == ModuloMovimento::Allineamento)
            return Esito::rifiutato({}, {}, QStringLiteral("DataOper"));
        return obbligatorio(QStringLiteral("Campo data operazione obbligatorio"),
                            QStringLiteral("DataOper"));
    }
    if (dataVuota(testi.dataValuta))
        return obbligatorio(QStringLiteral("Campo data Valuta obbligatorio"),
                            QStringLiteral("DataValuta"));
    return Esito::fatto();
}

// Each date checked, operation date first. The change of a listed movement checks day,
// month and year as the text holds them and writes the date back with two-digit day and
// month into `riscritti`; the other forms check the whole text.
Esito controllaDate(const TestiMovimento& testi, ModuloMovimento modulo,
                    TestiMovimento& riscritti) {
    const std::pair<const QString*, QString*> date[] = {
        {&testi.dataOperazione, &riscritti.dataOperazione},
        {&testi.dataValuta, &riscritti.dataValuta}};
    const QString campiData[] = {QStringLiteral("DataOper"), QStringLiteral("DataValuta")};
    for (int i = 0; i < 2; ++i) {
        const QString& testo = *date[i].first;
        if (modulo == ModuloMovimento::Modifica) {
            const DateParts p = splitDateText(testo);
            const Esito e = esitoValoriData(p.giorno, p.mese, p.anno, campiData[i]);
            if (!e.ok()) return e;
            *date[i].second = dueCifre(p);
        } else {
            const Esito e = esitoTestoData(testo, campiData[i]);
            if (!e.ok()) return e;
        }
    }
    return Esito::fatto();
}

// The amount is required (its value is read after the causale in the movement form).
Esito controllaImportoObbligatorio(const TestiMovimento& testi) {
    if (testi.importo.trimmed().isEmpty())
        return Esito::rifiutato(QStringLiteral("Campo Importo obbligatorio"), QString(),
                                QStringLiteral("IMPORTO"));
    return Esito::fatto();
}

// Reads the causale into the reading (which then shows what was found, refused or not);
// refused when the code names none.
Esito leggiCausaleRichiesta(LetturaMovimento& l, const TestiMovimento& testi,
                            ModuloMovimento modulo, const ContestoLettura& contesto) {
    l.causaleLetta = true;
    l.causale = leggiCausale(testi, modulo, contesto);
    return l.causale.voce ? Esito::fatto() : rifiutoCausaleNonPresente();
}

// The three flags typed in the change of a listed movement, in field order: each must
// read one of its two letters; `riscritti` gets them in capitals.
Esito controllaFlag(const TestiMovimento& testi, TestiMovimento& riscritti) {
    const struct {
        const QString& testo;
        const char* campo;
        const char* primo;
        const char* secondo;
        QString messaggio;
        QString* riscritto;
    } flags[] = {
        {testi.sospeso, "Sospeso", "S", "N", messaggioSospesoErrato(), &riscritti.sospeso},
        {testi.entrataUscita, "D_A", "E", "U", messaggioEntrataUscitaErrata(),
         &riscritti.entrataUscita},
        {testi.annullato, "Annullato", "S", "N", messaggioAnnullatoErrato(), &riscritti.annullato},
    };
    for (const auto& f : flags) {
        const auto valore = flag(f.testo, QLatin1String(f.primo), QLatin1String(f.secondo));
        if (!valore) return Esito::rifiutato(f.messaggio, kErrore, QString::fromLatin1(f.campo));
        *f.riscritto = *valore;
    }
    return Esito::fatto();
}

// The display rate must be one an amount can be divided by; the alignment says so in
// its own words.
Esito controllaCambio(ModuloMovimento modulo) {
    if (cambioUtilizzabile(stato().FattoreValuta)) return Esito::fatto();
    return Esito::rifiutato(modulo == ModuloMovimento::Allineamento
                                ? QStringLiteral("Il cambio della valuta di visualizzazione non è "
                                                 "utilizzabile: scegliere un'altra valuta.")
                                : messaggioCambioNonImpostato(),
                            kErrore);
}

// The movement read: the dates (rewritten by the change of a listed movement), the
// causale's code, the amount in Euro (the stored one when the figure confirmed is the
// one shown for it), document and description, and the flags (the causale's, or those
// typed in the change of a listed movement, where the others give annullato "N").
Movimento componiMovimento(const LetturaMovimento& l, const TestiMovimento& testi,
                           ModuloMovimento modulo, const ContestoLettura& contesto,
                           double importo) {
    const bool modifica = modulo == ModuloMovimento::Modifica;
    const double fattore = stato().FattoreValuta;
    Movimento m;
    m.dataOperazione = modifica ? l.riscritti.dataOperazione : testi.dataOperazione;
    m.dataValuta = modifica ? l.riscritti.dataValuta : testi.dataValuta;
    m.codiceCausale = l.causale.codice;
    m.importo = contesto.importoMemorizzato
                    ? importoConfermato(importo, *contesto.importoMemorizzato, fattore,
                                        stato().FormatoImporti)
                    : importo / fattore;
    m.numeroDocumento = testi.numeroDocumento;
    m.descrizione = testi.descrizione;
    m.sospeso = modifica ? l.riscritti.sospeso : l.causale.sospeso;
    m.entrataUscita = modifica ? l.riscritti.entrataUscita : l.causale.entrataUscita;
    m.annullato = modifica ? l.riscritti.annullato : QStringLiteral("N");
    return m;
}

} // namespace

std::optional<VoceCausale> causaleDigitata(const QString& codice) {
    if (normalizzaCodiceCausale(codice).isEmpty()) return std::nullopt;
    if (const int riga = trovaCausale(codice); riga > 0)
        return stato().TabellaCausali[size_t(riga)];
    return causaleRiservata(codice);
}

QString messaggioSospesoErrato() {
    return QStringLiteral("Campo Sos. errato: inserire S (movimento sospeso) oppure N "
                          "(movimento allineato).");
}

QString messaggioEntrataUscitaErrata() {
    return QStringLiteral("Campo E/U errato: inserire E (entrata) oppure U (uscita).");
}

QString messaggioAnnullatoErrato() {
    return QStringLiteral("Campo Ann. errato: inserire S (movimento annullato) oppure N.");
}

Esito rifiutoCausaleNonPresente() {
    return Esito::rifiutato(QStringLiteral("CODICE CAUSALE NON PRESENTE!"), kErrore,
                            QStringLiteral("Causale"));
}

CausaleLetta leggiCausale(const TestiMovimento& testi, ModuloMovimento modulo,
                          const ContestoLettura& contesto) {
    CausaleLetta c;
    const auto& s = stato();
    if (modulo == ModuloMovimento::Modifica) {
        // Only a causale of the archive; the flags are typed.
        if (const int riga = trovaCausale(testi.causale); riga > 0)
            c.voce = s.TabellaCausali[size_t(riga)];
        c.sospeso = testi.sospeso;
        c.entrataUscita = testi.entrataUscita;
    } else {
        c.voce = causaleDigitata(testi.causale);
    }
    const QString codice = c.voce ? normalizzaCodiceCausale(c.voce->codiceCausale) : QString();
    c.codice = codice;
    const bool giroconto = codice == u"GC";
    switch (modulo) {
    case ModuloMovimento::Immissione: {
        // A movement loaded for change keeps its "N" (already aligned) over the default.
        const bool tieniAllineato = contesto.inModifica && testi.sospeso == u"N";
        c.sospeso =
            tieniAllineato ? testi.sospeso : (c.voce ? c.voce->sospeso.trimmed() : QString());
        // A transfer takes its direction from the transfer; with one account there is
        // none, and the causale's default applies.
        if (!c.voce)
            c.entrataUscita.clear();
        else if (!giroconto || s.NumeroConti <= 1)
            c.entrataUscita = c.voce->entrataUscita.trimmed();
        else
            c.entrataUscita = testi.entrataUscita;
        break;
    }
    case ModuloMovimento::Allineamento:
        c.sospeso = testi.sospeso;
        // Another causale than the one shown gives its direction; a transfer keeps the
        // direction it was entered with.
        if (!c.voce)
            c.entrataUscita.clear();
        else if (codice != contesto.causaleMostrata &&
                 (!giroconto || testi.entrataUscita.isEmpty()))
            c.entrataUscita = c.voce->entrataUscita.trimmed();
        else
            c.entrataUscita = testi.entrataUscita;
        break;
    case ModuloMovimento::Modifica:
        break;
    }
    return c;
}

LetturaMovimento leggiMovimento(const TestiMovimento& testi, ModuloMovimento modulo,
                                const ContestoLettura& contesto) {
    LetturaMovimento l;
    // Each check sets the outcome; the first refusal ends the reading.
    const auto rifiutato = [&l](const Esito& esito) {
        l.esito = esito;
        return !esito.ok();
    };
    const auto causale = [&] { return leggiCausaleRichiesta(l, testi, modulo, contesto); };
    if (rifiutato(controllaDateObbligatorie(testi, modulo))) return l;
    if (rifiutato(controllaDate(testi, modulo, l.riscritti))) return l;
    if (rifiutato(controllaImportoObbligatorio(testi))) return l;
    if (modulo == ModuloMovimento::Immissione && rifiutato(causale())) return l;
    if (const QString rifiuto = amountRefusalMessage(testi.importo, stato().FattoreValuta);
        !rifiuto.isEmpty() &&
        rifiutato(Esito::rifiutato(rifiuto, kErrore, QStringLiteral("IMPORTO"))))
        return l;
    const std::optional<double> importo = parseAmount(testi.importo);
    if (modulo == ModuloMovimento::Modifica &&
        (rifiutato(causale()) || rifiutato(controllaFlag(testi, l.riscritti))))
        return l;
    if (rifiutato(controllaCambio(modulo))) return l;
    if (modulo == ModuloMovimento::Allineamento && rifiutato(causale())) return l;
    l.movimento = componiMovimento(l, testi, modulo, contesto, *importo);
    l.esito = Esito::fatto();
    return l;
}

} // namespace qv
