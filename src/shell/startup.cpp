#include "startup.h"

#include "common/amounts.h"
#include "common/count_file.h"
#include "common/file_names.h"
#include "common/folder_lock.h"
#include "common/paths.h"
#include "common/random_file.h"
#include "common/shared_state.h"
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

QString cartellaDatiImpostata(const QString& percorsoDati, const QString& cartellaProgramma) {
    const QString cartella = dataFolderFromSetting(percorsoDati, cartellaProgramma);
    // A folder stored without a leading "/" lies inside the program folder, wherever
    // the program was started from.
    if (cartella.isEmpty() || !QDir::isRelativePath(cartella)) return cartella;
    return folderWithSlash(QDir::cleanPath(folderWithSlash(cartellaProgramma) + cartella));
}

QString percorsoDatiDalleImpostazioni() {
    return cartellaDatiImpostata(stato().ImpostazioniCorrenti.percorsoDati,
                                 stato().PercorsoProgramma);
}

void impostaPercorsoDati(const QString& cartella) {
    stato().PercorsoDati = folderWithSlash(cartella);
}

QString creaCartellaDatiMancante() {
    const QString cartella = stato().PercorsoDati;
    if (cartella.isEmpty() || QFileInfo(cartella).isDir()) return QString();
    if (QDir().mkpath(cartella)) return QString();
    return QStringLiteral("La cartella dei dati indicata nelle preferenze non esiste e non "
                          "può essere creata:\n%1\nScegliere un'altra cartella con \"Apri "
                          "conto esitente\" o correggere le preferenze.")
        .arg(QDir::toNativeSeparators(cartella));
}

namespace {

QString cartellaCanonica(const QString& cartella) {
    const QString canonica = QFileInfo(cartella).canonicalFilePath();
    return canonica.isEmpty() ? QDir::cleanPath(QFileInfo(cartella).absoluteFilePath()) : canonica;
}

// The folders already told that they cannot hold a lock file.
QStringList& cartelleSenzaBloccoSegnalate() {
    static QStringList cartelle;
    return cartelle;
}

} // namespace

Esito bloccaCartellaDati(const QString& cartella) {
    const QString titolo = QStringLiteral("Attenzione");
    FolderLock& blocco = dataFolderLock();
    if (!QFileInfo(cartella).isDir()) {
        blocco.unlock();
        return Esito::fatto({}, titolo);
    }
    switch (blocco.lock(cartella)) {
    case FolderLock::Result::Locked:
        break;
    case FolderLock::Result::InUse:
        return Esito::rifiutato(testoCartellaInUso(cartella), titolo);
    case FolderLock::Result::Unavailable: {
        const QString canonica = cartellaCanonica(cartella);
        if (!cartelleSenzaBloccoSegnalate().contains(canonica)) {
            cartelleSenzaBloccoSegnalate() << canonica;
            return Esito::fatto(testoCartellaSenzaBlocco(cartella), titolo);
        }
        break;
    }
    }
    return Esito::fatto({}, titolo);
}

bool cartellaInUsoAltrove(const QString& cartella) {
    if (!QFileInfo(cartella).isDir()) return false;
    const FolderLock& nostro = dataFolderLock();
    if (nostro.locked() && nostro.folder() == cartellaCanonica(cartella)) return false;
    FolderLock prova; // let go again when it ends
    return prova.lock(cartella) == FolderLock::Result::InUse;
}

bool primoAvvio() {
    return !QFileInfo::exists(resolveFile(stato().PercorsoProgramma, RecCausaFile));
}

Esito eseguiPrimoAvvio() {
    QStringList problemi;
    const QString dati = stato().PercorsoDati;
    if (!dati.isEmpty() && !QDir().mkpath(dati))
        problemi << QStringLiteral("Impossibile creare la cartella dei dati ") + dati;

    if (const Esito causali = CreaCausaliPredefinite(); !causali.ok()) problemi << causali.testo;

    Valuta euro;
    euro.numero = 15;
    euro.nomeValuta = QStringLiteral("Euro");
    euro.cambio = 1.0;
    euro.paese = QStringLiteral("Unione Europea");
    const Valuta prima = stato().TabellaValute[15];
    stato().TabellaValute[15] = euro;
    if (const Esito valuta = scriviValuta(15); !valuta.ok()) {
        stato().TabellaValute[15] = prima;
        problemi << QStringLiteral("Impossibile scrivere il file %1: %2.")
                        .arg(QDir::toNativeSeparators(percorsoValute()), valuta.testo);
    }
    if (problemi.isEmpty()) return Esito::fatto();
    return Esito::fallito(problemi.join(QLatin1Char('\n')));
}

void caricaConti() {
    auto& s = stato();
    const QString cartella = s.PercorsoDati;
    const EsameConteggio esame =
        esaminaConteggio(cartella + RecContiFile, cartella + ContiFile, Conto::Lunghezza);
    riempiTabella(s.TabellaConti, s.NumeroConti,
                  leggiRecords<Conto>(esame.fileRecord, esame.conteggio));
}

void caricaCausali() {
    auto& s = stato();
    const QString cartella = s.PercorsoProgramma;
    // A count larger than the records of Causali.DAT names causali that are not there:
    // only the records the file holds are causali (no blank lines in the lists, and the
    // next causale is written right after them).
    const EsameConteggio esame =
        esaminaConteggio(cartella + RecCausaFile, cartella + CausaliFile, VoceCausale::Lunghezza);
    const int numero = esame.stato == StatoConteggio::Eccessivo
                           ? esame.conteggio
                           : std::max<qint16>(0, leggiContatore(cartella + RecCausaFile));
    riempiTabella(s.TabellaCausali, s.NumeroCausali,
                  leggiRecords<VoceCausale>(esame.fileRecord, numero));
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
