#include "maintenance/backup.h"

#include "archives/accounts.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "reports/report_frame.h"

#include <QDir>
#include <QFileInfo>

namespace qv {

namespace {

QString conBarra(const QString& cartella) {
    return cartella.endsWith(u'/') ? cartella : cartella + u'/';
}

// A code that names its files inside the folder and nowhere else (the archive's own
// rules for a new code; a code already in the archive is one).
bool codiceUtilizzabile(const QString& codice) {
    const EsitoCodice esito = controllaCodiceConto(codice.left(12));
    return esito == EsitoCodice::Valido || esito == EsitoCodice::Duplicato;
}

QString testoCodiceInutilizzabile(const QString& codice) {
    return QStringLiteral("%1: il codice non può dare il nome ai file del conto")
        .arg(codice.isEmpty() ? QStringLiteral("(senza codice)") : codice);
}

// The accounts left out, for the end of the operation.
QString testoLasciati(const QString& inizio, const QStringList& lasciati) {
    if (lasciati.isEmpty()) return {};
    return inizio + u'\n' + lasciati.join(u'\n');
}

// What an interrupted earlier change of the copies' folder left: put back first.
QString ripristinaCartellaCopie(const QString& cartella) {
    return testoRipristino(recoverInterrupted(cartella));
}

Esito fattoConAvvisi(const QStringList& avvisi) {
    QStringList testi;
    for (const QString& a : avvisi)
        if (!a.isEmpty()) testi << a;
    return Esito::fatto(testi.join(QStringLiteral("\n\n")), QStringLiteral("Attenzione"));
}

} // namespace

Esito controllaCartellaCopie(const QString& cartella, const QString& cartellaDati) {
    const QString titolo = QStringLiteral("Attenzione");
    if (cartella.trimmed().isEmpty())
        return Esito::rifiutato(QStringLiteral("Scegliere la cartella delle copie di sicurezza."),
                                titolo);
    const QFileInfo scelta(cartella);
    if (!scelta.isDir())
        return Esito::rifiutato(
            QStringLiteral("La cartella %1 non esiste.").arg(QDir::toNativeSeparators(cartella)),
            titolo);
    if (scelta.canonicalFilePath() == QFileInfo(cartellaDati).canonicalFilePath())
        return Esito::rifiutato(QStringLiteral("La cartella scelta è la cartella dei dati: le "
                                               "copie di sicurezza vanno in un'altra cartella."),
                                titolo);
    return Esito::fatto();
}

QString avvisoRipristinoCopie() {
    return QStringLiteral("I dati che si stanno ripristinando sostituiranno \n"
                          "quelli presenti nel disco rigido, eventuali \n"
                          "modifiche effettuate dopo la creazione delle \n"
                          "copie di Backup verranno perse.\n\n");
}

Esito EseguiCopie(const QString& scelta, CopiaDi copia, const Riprova& riprova) {
    const auto& s = stato();
    if (Esito cartellaValida = controllaCartellaCopie(scelta, s.PercorsoDati); !cartellaValida.ok())
        return cartellaValida;
    if (copia == CopiaDi::ContoAttivo && !contoAttivoAperto())
        return Esito::rifiutato(testoNessunContoAperto(), QStringLiteral("Attenzione"));
    const QString cartella = conBarra(scelta);
    const QString ripristino = ripristinaCartellaCopie(cartella);

    QStringList codici;
    if (copia == CopiaDi::ContoAttivo) {
        codici << s.CodiceContoAttivo.trimmed();
    } else {
        for (const Conto& conto : righeTabella(s.TabellaConti, s.NumeroConti))
            codici << conto.codiceConto.trimmed();
    }

    const QString nonEseguita = QStringLiteral("La copia di sicurezza non è stata eseguita.");
    ModificaFile modifica(cartella, riprova);
    if (copia == CopiaDi::TuttiConti) {
        const std::vector<Conto> conti = righeTabella(s.TabellaConti, s.NumeroConti);
        if (!modifica.riscrivi(resolveFile(cartella, RecContiFile),
                               Contatore{qint16(conti.size())}.toBytes()) ||
            !modifica.riscrivi(resolveFile(cartella, ContiFile), recordsToBytes(conti)))
            return modifica.fallita(nonEseguita);
    }
    QStringList lasciati;
    for (const QString& codice : codici) {
        if (!codiceUtilizzabile(codice)) {
            lasciati << testoCodiceInutilizzabile(codice);
            continue;
        }
        FileLetti letti;
        if (!leggiFileConto(modifica, s.PercorsoDati, codice, letti))
            return modifica.fallita(nonEseguita);
        for (const FileLetto& f : letti) {
            // The copy bears the name the file has in the data folder.
            const QString nome =
                f.contenuto ? QFileInfo(f.percorso).fileName() : codice + f.estensione;
            if (!modifica.riscrivi(resolveFile(cartella, nome), f.contenuto.value_or(QByteArray())))
                return modifica.fallita(nonEseguita);
        }
    }
    if (!modifica.concludi()) return modifica.fallita(nonEseguita);
    return fattoConAvvisi(
        {ripristino, testoLasciati(QStringLiteral("Conti non copiati:"), lasciati)});
}

Esito RipristinaCopie(const QString& scelta, CopiaDi copia, const Riprova& riprova) {
    const auto& s = stato();
    const QString titolo = QStringLiteral("Attenzione");
    if (Esito cartellaValida = controllaCartellaCopie(scelta, s.PercorsoDati); !cartellaValida.ok())
        return cartellaValida;
    if (copia == CopiaDi::ContoAttivo && !contoAttivoAperto())
        return Esito::rifiutato(testoNessunContoAperto(), titolo);
    const QString cartella = conBarra(scelta);
    const QString nonEseguito = QStringLiteral("Il ripristino non è stato eseguito.");
    const QString ripristino = ripristinaCartellaCopie(cartella);

    // The accounts of the copies: the open one, or the folder's own archive.
    QStringList codici;
    if (copia == CopiaDi::ContoAttivo) {
        codici << s.CodiceContoAttivo.trimmed();
    } else {
        const QString archivio = resolveFile(cartella, ContiFile);
        if (!QFileInfo::exists(archivio))
            return Esito::rifiutato(
                QStringLiteral("La cartella %1 non contiene la copia di tutti i conti (manca il "
                               "file %2).")
                    .arg(QDir::toNativeSeparators(cartella), QString(ContiFile)),
                titolo);
        QString motivo;
        const int numero = leggiContatore(resolveFile(cartella, RecContiFile), &motivo);
        const int presenti = RecordFile(archivio, Conto::Lunghezza).recordCount();
        const std::vector<Conto> conti =
            leggiRecords<Conto>(archivio, std::clamp(numero, 0, presenti), &motivo);
        if (!motivo.isEmpty())
            return Esito::fallito(nonEseguito + u'\n' + QDir::toNativeSeparators(archivio) +
                                  QStringLiteral(": ") + motivo + u'.');
        for (const Conto& conto : conti)
            codici << conto.codiceConto.trimmed();
    }

    // Each account whole or not at all: what its copy lacks is known before anything is
    // read.
    struct Copia {
        QString codice;
        FileLetti file;
    };
    std::vector<Copia> copie;
    QStringList lasciati;
    ModificaFile modifica(s.PercorsoDati, riprova);
    for (const QString& codice : codici) {
        if (!codiceUtilizzabile(codice)) {
            lasciati << testoCodiceInutilizzabile(codice);
            continue;
        }
        QStringList mancanti;
        for (const QLatin1String& estensione : EstensioniCopia)
            if (!QFileInfo::exists(resolveFile(cartella, codice + estensione)))
                mancanti << codice + QString(estensione).toUpper();
        if (!mancanti.isEmpty()) {
            const bool nessuno = mancanti.size() == qsizetype(EstensioniCopia.size());
            const QString perche =
                nessuno ? QStringLiteral("%1: la cartella non ne contiene la copia").arg(codice)
                        : QStringLiteral("%1: mancano i file %2")
                              .arg(codice, mancanti.join(QStringLiteral(", ")));
            if (copia == CopiaDi::ContoAttivo)
                return Esito::rifiutato(
                    nessuno ? QStringLiteral("La cartella %1 non contiene la copia del conto %2: "
                                             "operazione annullata.")
                                  .arg(QDir::toNativeSeparators(cartella), codice)
                            : QStringLiteral("La copia del conto nella cartella %1 è incompleta "
                                             "(%2): operazione annullata.")
                                  .arg(QDir::toNativeSeparators(cartella), perche),
                    titolo);
            lasciati << perche;
            continue;
        }
        Copia letta{codice, {}};
        for (const QLatin1String& estensione : EstensioniCopia) {
            FileLetto f;
            if (!modifica.leggi(resolveFile(cartella, codice + estensione), f))
                return modifica.fallita(nonEseguito);
            f.estensione = estensione;
            letta.file.push_back(std::move(f));
        }
        copie.push_back(std::move(letta));
    }

    for (const Copia& c : copie)
        for (const FileLetto& f : c.file)
            if (!modifica.riscrivi(accountFile(s.PercorsoDati, c.codice, f.estensione),
                                   f.contenuto.value_or(QByteArray())))
                return modifica.fallita(nonEseguito);
    if (!modifica.concludi()) return modifica.fallita(nonEseguito);
    return fattoConAvvisi(
        {ripristino, testoLasciati(QStringLiteral("Conti non ripristinati:"), lasciati)});
}

} // namespace qv
