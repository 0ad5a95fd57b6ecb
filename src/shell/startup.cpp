#include "startup.h"

#include "common/amounts.h"
#include "common/file_names.h"
#include "common/paths.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "platform/qt_printer.h"
#include "shell/default_causali.h"
#include "shell/program_files.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace qv {

void leggiColoriEImpostazioni() {
    auto& s = stato();
    s.ColoriElenchi = leggiColori();
    s.ImpostazioniCorrenti = leggiImpostazioni();
    s.FormatoImporti = formatoImporti(s.ImpostazioniCorrenti.numeroDecimali);
}

QString percorsoDatiDalleImpostazioni() {
    return dataFolderFromSetting(stato().ImpostazioniCorrenti.percorsoDati,
                                 stato().PercorsoProgramma);
}

void impostaPercorsoDati(const QString& cartella) {
    stato().PercorsoDati = folderWithSlash(cartella);
    qtPrinter().setPdfFolder(stato().PercorsoDati + QStringLiteral("stampe/"));
}

bool primoAvvio() {
    return !QFileInfo::exists(resolveFile(stato().PercorsoProgramma, RecCausaFile));
}

bool eseguiPrimoAvvio(QString* errore) {
    QStringList problemi;
    const QString dati = stato().PercorsoDati;
    if (!dati.isEmpty() && !QDir().mkpath(dati))
        problemi << QStringLiteral("Impossibile creare la cartella dei dati ") + dati;

    QString motivo;
    if (!CreaCausaliPredefinite(&motivo)) problemi << motivo;

    Valuta euro;
    euro.numero = 15;
    euro.nomeValuta = QStringLiteral("Euro");
    euro.cambio = 1.0;
    euro.paese = QStringLiteral("Unione Europea");
    const Valuta prima = stato().TabellaValute[15];
    stato().TabellaValute[15] = euro;
    motivo.clear();
    if (!scriviValuta(15, &motivo)) {
        stato().TabellaValute[15] = prima;
        problemi << motivo;
    }
    if (errore) *errore = problemi.join(QLatin1Char('\n'));
    return problemi.isEmpty();
}

void caricaConti() {
    auto& s = stato();
    const QString cartella = s.PercorsoDati;
    const qint16 numero = std::max<qint16>(0, leggiContatore(cartella + RecContiFile));
    riempiTabella(s.TabellaConti, s.NumeroConti, leggiRecords<Conto>(cartella + ContiFile, numero));
}

void caricaCausali() {
    auto& s = stato();
    const QString cartella = s.PercorsoProgramma;
    const qint16 numero = std::max<qint16>(0, leggiContatore(cartella + RecCausaFile));
    riempiTabella(s.TabellaCausali, s.NumeroCausali,
                  leggiRecords<VoceCausale>(cartella + CausaliFile, numero));
}

bool contoAvvioDaAprire(const QString& contoAvvio) {
    const QString codice = contoAvvio.trimmed();
    return !codice.isEmpty() && codice != QLatin1String("0");
}

int cercaConto(const QString& codice) {
    const QString cercato = codice.trimmed();
    const auto& s = stato();
    const int ultimo = std::min<int>(s.NumeroConti, int(s.TabellaConti.size()) - 1);
    for (int riga = 1; riga <= ultimo; ++riga)
        if (s.TabellaConti[size_t(riga)].codiceConto.trimmed() == cercato) return riga;
    return 0;
}

QString messaggioContoNonTrovato() {
    return QStringLiteral("il nr. di conto non esiste. ricontrollare i dati inseriti");
}

} // namespace qv
