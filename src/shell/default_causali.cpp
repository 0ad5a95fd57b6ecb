#include "default_causali.h"

#include <QDir>

#include "common/file_names.h"
#include "common/random_file.h"
#include "common/shared_state.h"

#include <vector>

namespace qv {

namespace {
VoceCausale riservata(qint16 numero, const char* codice, const char* descrizione) {
    VoceCausale v;
    v.numero = numero;
    v.codiceCausale = QString::fromLatin1(codice);
    v.descrizione = QString::fromLatin1(descrizione);
    v.sospeso = QStringLiteral("S");
    v.entrataUscita = QStringLiteral("U");
    v.soggettoCosto = QStringLiteral("1");
    return v;
}
} // namespace

Esito CreaCausaliPredefinite() {
    const std::vector<VoceCausale> riservate{riservata(1, "AS", "ASSEGNO"),
                                             riservata(2, "CA", "CARNET"),
                                             riservata(3, "GC", "GIROCONTO")};
    const QString cartella = stato().PercorsoProgramma;
    QString motivo;
    const QString archivio = resolveFile(cartella, CausaliFile);
    const QString contatore = resolveFile(cartella, RecCausaFile);
    const bool scritto = scriviRecords(archivio, 1, riservate, &motivo);
    if (!scritto || !scriviContatore(contatore, 3, &motivo)) {
        return Esito::fallito(
            QStringLiteral("Impossibile scrivere il file %1: %2.")
                .arg(QDir::toNativeSeparators(scritto ? contatore : archivio), motivo));
    }
    auto& tabella = stato().TabellaCausali;
    if (tabella.size() < 4) tabella.resize(4);
    for (size_t i = 0; i < riservate.size(); ++i)
        tabella[i + 1] = riservate[i];
    stato().NumeroCausali = 3;
    return Esito::fatto();
}

} // namespace qv
