#include "display_currency.h"

#include "common/amounts.h"
#include "common/shared_state.h"
#include "shell/program_files.h"

namespace qv {

std::optional<double> cambioVisualizzazione(const QString& linea) {
    const auto slot = slotDellaLinea(linea);
    if (!slot) return std::nullopt;
    const double cambio = stato().TabellaValute[*slot].cambio;
    if (!cambioUtilizzabile(cambio)) return std::nullopt;
    return cambio;
}

int indiceValutaIniziale(const QStringList& righe, const QString& valutaPredefinita) {
    const QString cercata = valutaPredefinita.trimmed();
    if (!cercata.isEmpty()) {
        for (int i = 0; i < righe.size(); ++i)
            if (righe[i].trimmed() == cercata) {
                if (cambioVisualizzazione(righe[i])) return i;
                break; // the default has no rate: fall back to the first line that has one
            }
    }
    for (int i = 0; i < righe.size(); ++i)
        if (cambioVisualizzazione(righe[i])) return i;
    return -1;
}

QString messaggioCambioNonImpostato() {
    return QStringLiteral("Cambio non impostato per questa valuta");
}

double calcolaDisponibilita(double fido, double saldoOperazioneOggi, double fattoreValuta) {
    return (fido + saldoOperazioneOggi) * fattoreValuta;
}

namespace {
const Conto* contoAperto() {
    const auto& s = stato();
    if (s.IndiceContoAttivo < 1 || s.IndiceContoAttivo >= qsizetype(s.TabellaConti.size()))
        return nullptr;
    return &s.TabellaConti[size_t(s.IndiceContoAttivo)];
}
} // namespace

QString testoFido() {
    const Conto* conto = contoAperto();
    if (!conto) return {};
    return formatNumber(stato().FattoreValuta * conto->fido, stato().FormatoImporti);
}

TestiSaldi testiSaldi() {
    const auto& s = stato();
    const double f = s.FattoreValuta;
    const QString& formato = s.FormatoImporti;
    TestiSaldi t;
    t.saldi[0] = formatNumber(s.SaldoNonSospesi * f, formato);
    t.saldi[1] = formatNumber(s.SaldoOperazioneOggi * f, formato);
    t.saldi[3] = formatNumber(s.SaldoValutaOggi * f, formato);
    t.saldi[4] = formatNumber(s.SaldoContabile * f, formato);
    t.ultimaData = s.UltimaDataOperazione;
    if (const Conto* conto = contoAperto()) {
        t.saldi[2] = testoFido();
        t.saldi[5] =
            formatNumber(calcolaDisponibilita(conto->fido, s.SaldoOperazioneOggi, f), formato);
    }
    return t;
}

} // namespace qv
