#include "program_files.h"

#include "common/file_names.h"
#include "common/random_file.h"
#include "common/shared_state.h"

#include <cmath>

namespace qv {

QString percorsoImpostazioni() {
    return stato().PercorsoProgramma + ImpostaFile;
}
QString percorsoValute() {
    return stato().PercorsoProgramma + ValuteFile;
}
QString percorsoColori() {
    return stato().PercorsoProgramma + ColoriFile;
}

Impostazioni leggiImpostazioni() {
    return leggiRecord<Impostazioni>(percorsoImpostazioni(), 1);
}

namespace {
template <class R> Esito scrivi(const QString& percorso, int k, const R& record) {
    QString motivo;
    if (scriviRecord(percorso, k, record, &motivo)) return Esito::fatto();
    return Esito::fallito(motivo);
}
} // namespace

Esito scriviImpostazioni(const Impostazioni& imp) {
    return scrivi(percorsoImpostazioni(), 1, imp);
}

Colori leggiColori() {
    return leggiRecord<Colori>(percorsoColori(), 1);
}

Colori coloriIniziali(const Colori& colori) {
    const QString flag = colori.coloriPredefiniti.trimmed();
    if (flag == QLatin1String("S") || flag == QLatin1String("N")) return colori;
    Colori iniziali = colori;
    iniziali.coloreSfondo = 16777215; // white
    iniziali.coloreCarattere = 0;     // black
    return iniziali;
}

Esito scriviColori(const Colori& colori) {
    return scrivi(percorsoColori(), 1, colori);
}

void caricaTabellaValute() {
    const auto letti = leggiRecords<Valuta>(percorsoValute(), 15);
    auto& tabella = stato().TabellaValute;
    for (int slot = 1; slot <= 15; ++slot) {
        tabella[slot] = slot - 1 < int(letti.size()) ? letti[slot - 1] : Valuta{};
        // A rate that is not a number (a damaged record) is a rate not set: no amount
        // is ever shown or converted with it. The file keeps what it holds.
        if (!std::isfinite(tabella[slot].cambio)) tabella[slot].cambio = 0;
    }
}

Esito scriviValuta(int slot) {
    return scrivi(percorsoValute(), slot, stato().TabellaValute[slot]);
}

QString lineaValuta(const Valuta& v) {
    return v.nomeValuta.trimmed() + QStringLiteral(" - ") + v.paese.trimmed();
}

std::optional<int> slotDellaLinea(const QString& linea) {
    const QString cercata = linea.trimmed();
    for (int slot = 1; slot <= 15; ++slot)
        if (lineaValuta(stato().TabellaValute[slot]).trimmed() == cercata) return slot;
    return std::nullopt;
}

} // namespace qv
