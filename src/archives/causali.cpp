#include "causali.h"

#include "common/file_names.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "common/transaction.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace qv {

namespace {

// The table sized for `count` causali: row 0 unused, rows 1 to count.
void dimensionaTabella(int count) {
    auto& tabella = stato().TabellaCausali;
    tabella.resize(static_cast<size_t>(count) + 1);
}

} // namespace

QString percorsoCausali() {
    return resolveFile(stato().PercorsoProgramma, CausaliFile);
}

QString percorsoRecCausa() {
    return resolveFile(stato().PercorsoProgramma, RecCausaFile);
}

QString normalizzaCodiceCausale(const QString& codice) {
    return withoutTrailingBlanks(codice.left(5));
}

QString lineaCausale(const VoceCausale& voce) {
    return normalizzaCodiceCausale(voce.codiceCausale).leftJustified(6) + QStringLiteral(" - ") +
           voce.descrizione.leftJustified(25, QLatin1Char(' '), true);
}

QString lineaManutenzione(const VoceCausale& voce) {
    return voce.codiceCausale.leftJustified(5, QLatin1Char(' '), true) + QStringLiteral(" - ") +
           voce.descrizione.leftJustified(25, QLatin1Char(' '), true);
}

VoceCausale comeNelFile(const VoceCausale& voce) {
    return VoceCausale::fromBytes(voce.toBytes());
}

int trovaCausale(const QString& codice, int esclusa) {
    const QString cercato = normalizzaCodiceCausale(codice);
    const auto& s = stato();
    const int n = std::min<int>(s.NumeroCausali, static_cast<int>(s.TabellaCausali.size()) - 1);
    for (int riga = 1; riga <= n; ++riga) {
        if (riga == esclusa) continue;
        if (normalizzaCodiceCausale(s.TabellaCausali[static_cast<size_t>(riga)].codiceCausale) ==
            cercato)
            return riga;
    }
    return 0;
}

QHash<QString, QString> descrizioniCausali() {
    const auto& s = stato();
    QHash<QString, QString> mappa;
    const int n = std::min<int>(s.NumeroCausali, int(s.TabellaCausali.size()) - 1);
    for (int i = 1; i <= n; ++i)
        mappa.insert(s.TabellaCausali[size_t(i)].codiceCausale.trimmed(),
                     s.TabellaCausali[size_t(i)].descrizione);
    return mappa;
}

std::optional<VoceCausale> causaleRiservata(const QString& codice) {
    const QString c = normalizzaCodiceCausale(codice);
    QString descrizione;
    if (c == QLatin1String("AS"))
        descrizione = QStringLiteral("ASSEGNO");
    else if (c == QLatin1String("CA"))
        descrizione = QStringLiteral("CARNET");
    else if (c == QLatin1String("GC"))
        descrizione = QStringLiteral("GIROCONTO");
    else
        return std::nullopt;
    VoceCausale voce;
    voce.codiceCausale = c;
    voce.descrizione = descrizione;
    voce.sospeso = QStringLiteral("S");
    voce.entrataUscita = QStringLiteral("U");
    voce.soggettoCosto = QStringLiteral("1");
    return voce;
}

namespace {
// Names the file a low-level reason is about.
void conFile(const QString& percorso, QString* error) {
    if (error) *error = QDir::toNativeSeparators(percorso) + QStringLiteral(": ") + *error;
}
} // namespace
bool causaleNecessaria(const QString& codice) {
    return causaleRiservata(codice).has_value();
}

Esito rileggiCausali() {
    auto& s = stato();
    const int n = std::max<int>(0, s.NumeroCausali);
    QString motivo;
    const std::vector<VoceCausale> voci = leggiRecords<VoceCausale>(percorsoCausali(), n, &motivo);
    if (!motivo.isEmpty()) {
        // What could not be read stays as the table holds it.
        conFile(percorsoCausali(), &motivo);
        return Esito::fallito(motivo);
    }
    dimensionaTabella(n);
    std::copy(voci.begin(), voci.end(), s.TabellaCausali.begin() + 1);
    return Esito::fatto();
}

namespace {
const QString TitoloCausali = QStringLiteral("ERRORE");

Esito causaleDuplicata() {
    return Esito::rifiutato(messaggioCausaleDuplicata(), TitoloCausali,
                            QStringLiteral("CodCausale"));
}

// A file of the archive could not be written: `motivo` with the file it names.
Esito scritturaFallita(const QString& percorso, QString motivo) {
    conFile(percorso, &motivo);
    return Esito::fallito(messaggioErroreCausali(motivo), TitoloCausali);
}
} // namespace

Esito aggiungiCausale(const VoceCausale& voce) {
    auto& s = stato();
    if (trovaCausale(voce.codiceCausale) != 0) return causaleDuplicata();
    if (s.NumeroCausali >= MassimoCausali)
        return Esito::rifiutato(messaggioArchivioCausaliPieno(), TitoloCausali);

    const qint16 nuovo = static_cast<qint16>(std::max<int>(0, s.NumeroCausali) + 1);
    VoceCausale riga = comeNelFile(voce);
    riga.codiceCausale = normalizzaCodiceCausale(voce.codiceCausale);
    riga.numero = nuovo;

    // The record first: until the count says so, a record past the count is never read.
    QString motivo;
    if (!scriviRecord(percorsoCausali(), nuovo, riga, &motivo))
        return scritturaFallita(percorsoCausali(), motivo);
    if (!scriviContatore(percorsoRecCausa(), nuovo, &motivo))
        return scritturaFallita(percorsoRecCausa(), motivo);

    dimensionaTabella(nuovo);
    s.TabellaCausali[static_cast<size_t>(nuovo)] = riga;
    s.NumeroCausali = nuovo;
    return Esito::fatto();
}

Esito aggiornaCausale(int riga, const VoceCausale& voce) {
    auto& s = stato();
    if (riga < 1 || riga > s.NumeroCausali || riga >= static_cast<int>(s.TabellaCausali.size()))
        return Esito::fallito(
            messaggioErroreCausali(QStringLiteral("la causale scelta non è più in archivio")),
            TitoloCausali);
    if (trovaCausale(voce.codiceCausale, riga) != 0) return causaleDuplicata();

    VoceCausale nuova = comeNelFile(voce);
    nuova.codiceCausale = normalizzaCodiceCausale(voce.codiceCausale);
    nuova.numero = static_cast<qint16>(riga);
    if (QString motivo; !scriviRecord(percorsoCausali(), riga, nuova, &motivo))
        return scritturaFallita(percorsoCausali(), motivo);
    s.TabellaCausali[static_cast<size_t>(riga)] = nuova;
    return Esito::fatto();
}

Esito riscriviArchivioCausali(const std::vector<int>& righe) {
    auto& s = stato();
    if (righe.size() > static_cast<size_t>(MassimoCausali))
        return Esito::rifiutato(messaggioArchivioCausaliPieno(), QStringLiteral("ERRORE"));
    std::vector<VoceCausale> nuove;
    nuove.reserve(righe.size());
    for (const int riga : righe) {
        if (riga < 1 || riga >= static_cast<int>(s.TabellaCausali.size()))
            return Esito::rifiutato(QStringLiteral("una causale dell'elenco non è più in archivio"),
                                    QStringLiteral("ERRORE"));
        nuove.push_back(s.TabellaCausali[static_cast<size_t>(riga)]);
    }

    // The archive and its count as one change of the program folder: both, or neither.
    Transaction modifica(s.PercorsoProgramma);
    const auto nuovoConto = static_cast<qint16>(nuove.size());
    if (!modifica.rewrite(percorsoCausali(), recordsToBytes(nuove)) ||
        !modifica.writeCount(percorsoRecCausa(), nuovoConto) || !modifica.commit()) {
        // The files left changed, should putting them back fail, are named.
        return Esito::fallito(modifica.error() + annullaModifica(modifica));
    }

    dimensionaTabella(nuovoConto);
    std::copy(nuove.begin(), nuove.end(), s.TabellaCausali.begin() + 1);
    s.NumeroCausali = nuovoConto;
    return Esito::fatto();
}

QString messaggioCausaleDuplicata() {
    return QStringLiteral("Nr di causale già presente");
}

QString messaggioArchivioCausaliPieno() {
    return QStringLiteral("L'archivio delle causali è pieno: non si possono registrare "
                          "altre causali.");
}

QString messaggioNessunaCausaleDaRegistrare() {
    return QStringLiteral("Nessuna causale da registrare: con un doppio clic portare "
                          "nell'elenco \"Causali da registrare\" le causali da conservare.");
}

QString messaggioErroreCausali(const QString& motivo) {
    return QStringLiteral("Impossibile scrivere l'archivio delle causali, nulla è stato "
                          "registrato: %1")
        .arg(motivo);
}

} // namespace qv
