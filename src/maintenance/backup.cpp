#include "maintenance/backup.h"

#include "archives/accounts.h"
#include "common/count_file.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "ledger/open_account_announce.h"
#include "reports/report_frame.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <optional>

namespace qv {

const std::array<QLatin1String, 6> EstensioniFacoltative{ExtIat, ExtIpa, ExtOpz,
                                                         ExtOnp, ExtSpe, ExtChi};

namespace {

constexpr QLatin1String kIntestazioneElenco{"Quorvanta: copie di sicurezza"};

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

QString testoConti(qsizetype numero) {
    return numero == 1 ? QStringLiteral("1 conto") : QStringLiteral("%1 conti").arg(numero);
}

// How an operation that was done ends: what it did, then what the user should know.
Esito fattoConAvvisi(const QString& fatto, const QString& titolo, const QStringList& avvisi) {
    QStringList testi{fatto};
    for (const QString& a : avvisi)
        if (!a.isEmpty()) testi << a;
    if (testi.size() == 1) return Esito::fatto(fatto, titolo).conIcona(IconaEsito::Informazione);
    return Esito::fatto(testi.join(QStringLiteral("\n\n")), QStringLiteral("Attenzione"));
}

// A folder of copies whose interrupted change could not be put back holds files of two
// different times: nothing is read from it, nothing is written into it.
QString testoCartellaNonRipristinata(const QString& cartella, const RecoveryResult& r) {
    return QStringLiteral("La cartella %1 contiene una modifica delle copie che era stata "
                          "interrotta e che non è stato possibile annullare: le copie che "
                          "contiene non sono affidabili e non sono state usate.\n")
               .arg(QDir::toNativeSeparators(cartella)) +
           testoRipristino(r);
}

// One copy named by the list of the copies.
struct VoceElenco {
    QString nome;
    qint64 dimensione = 0;
    QString firma;
};
// By name in lower case: the folder may spell a name otherwise.
using ElencoCopie = std::map<QString, VoceElenco>;

// Reads the list of the copies of `cartella` into `elenco`; `presente` says whether the
// folder has one. False, with the reason, when it cannot be read or is not one of ours.
bool leggiElenco(const QString& cartella, ElencoCopie& elenco, bool& presente, QString& motivo) {
    elenco.clear();
    presente = false;
    FileLetto letto;
    GuastoFile guasto;
    if (!leggiFile(resolveFile(cartella, ElencoCopieSicurezza), letto, &guasto)) {
        motivo = guasto.motivo;
        return false;
    }
    if (!letto.contenuto) return true;
    presente = true;
    const QString danneggiato = QDir::toNativeSeparators(letto.percorso) +
                                QStringLiteral(": elenco delle copie danneggiato");
    const QStringList righe = QString::fromUtf8(*letto.contenuto).split(u'\n');
    if (righe.isEmpty() || righe[0] != kIntestazioneElenco) {
        motivo = danneggiato;
        return false;
    }
    for (qsizetype i = 1; i < righe.size(); ++i) {
        if (righe[i].isEmpty()) continue;
        const QStringList campi = righe[i].split(u'\t');
        bool numero = false;
        const qint64 dimensione = campi.value(1).toLongLong(&numero);
        if (campi.size() != 3 || campi[0].isEmpty() || !numero || campi[2].size() != 64) {
            motivo = danneggiato;
            return false;
        }
        elenco[campi[0].toLower()] = {campi[0], dimensione, campi[2].toLower()};
    }
    return true;
}

QByteArray testoElenco(const ElencoCopie& elenco) {
    QString testo = kIntestazioneElenco + u'\n';
    for (const auto& [chiave, voce] : elenco)
        testo += voce.nome + u'\t' + QString::number(voce.dimensione) + u'\t' + voce.firma + u'\n';
    return testo.toUtf8();
}

void annota(ElencoCopie& elenco, const QString& nome, const QByteArray& contenuto) {
    elenco[nome.toLower()] = {nome, contenuto.size(), impronta(contenuto)};
}

// Why the copy `nome` does not match the list ("" when it does, or when the list does
// not name it: a copy made before the list was kept).
QString controllaCopia(const ElencoCopie& elenco, const QString& nome, const QByteArray& bytes) {
    const auto voce = elenco.find(nome.toLower());
    if (voce == elenco.end()) return {};
    if (voce->second.dimensione != bytes.size())
        return QStringLiteral("la copia %1 non ha la lunghezza registrata").arg(nome);
    if (voce->second.firma != impronta(bytes))
        return QStringLiteral("la copia %1 è danneggiata").arg(nome);
    return {};
}

// What the restore of all accounts reads from the folder's archive.
struct ArchivioCopie {
    Esito esito;
    std::vector<Conto> conti;
    QByteArray conteggio; // the bytes of "RecConti.dat" and "Conti.dat" as read
    QByteArray archivio;
    QString percorsoConteggio;
    QString percorsoArchivio;
};

ArchivioCopie leggiArchivioCopie(const QString& cartella) {
    ArchivioCopie a;
    const QString titolo = QStringLiteral("Attenzione");
    a.percorsoArchivio = resolveFile(cartella, ContiFile);
    a.percorsoConteggio = resolveFile(cartella, RecContiFile);
    if (!QFileInfo::exists(a.percorsoArchivio)) {
        a.esito = Esito::rifiutato(
            QStringLiteral("La cartella %1 non contiene la copia di tutti i conti (manca il file "
                           "%2): non c'è nulla da ripristinare.")
                .arg(QDir::toNativeSeparators(cartella), QString(ContiFile)),
            titolo);
        return a;
    }
    FileLetto conteggio, archivio;
    GuastoFile guasto;
    if (!leggiFile(a.percorsoConteggio, conteggio, &guasto) ||
        !leggiFile(a.percorsoArchivio, archivio, &guasto)) {
        a.esito = Esito::fallito(guasto.motivo + u'.');
        return a;
    }
    a.conteggio = conteggio.contenuto.value_or(QByteArray());
    a.archivio = archivio.contenuto.value_or(QByteArray());
    const int numero =
        a.conteggio.size() >= Contatore::Lunghezza ? Contatore::fromBytes(a.conteggio).valore : 0;
    const int presenti = int(a.archivio.size() / Conto::Lunghezza);
    for (int i = 0; i < std::clamp(numero, 0, presenti); ++i)
        a.conti.push_back(Conto::fromBytes(
            QByteArrayView(a.archivio).sliced(qsizetype(i) * Conto::Lunghezza, Conto::Lunghezza)));
    return a;
}

// One account's copy as read: its nine files and the others it has.
struct CopiaConto {
    QString codice;
    FileLetti file;
};

// The copies a backup of the accounts `codici` (and of the archive, when `archivio`)
// writes into `cartella`, or removes there, as the data folder now has them: each under
// the name its file has in the data folder, and the list of the copies. A link standing
// in a copy's place is left out: the link goes before its file is protected.
QStringList copieDaScrivere(Transaction& nomi, const QString& cartella, const QString& dati,
                            const QStringList& codici, bool archivio) {
    QStringList copie;
    const auto aggiungi = [&](const QString& nome) {
        const QString percorso = nomi.resolve(cartella + nome);
        if (!QFileInfo(percorso).isSymLink()) copie << percorso;
    };
    if (archivio) {
        aggiungi(RecContiFile);
        aggiungi(ContiFile);
    }
    for (const QString& codice : codici) {
        if (!codiceUtilizzabile(codice)) continue;
        for (const QLatin1String& estensione : EstensioniCopia) {
            const QFileInfo file(accountFile(dati, codice, estensione));
            aggiungi(file.exists() ? file.fileName() : codice + estensione);
        }
        for (const QLatin1String& estensione : EstensioniFacoltative) {
            const QFileInfo file(accountFile(dati, codice, estensione));
            if (file.exists()) {
                aggiungi(file.fileName());
                continue;
            }
            const QFileInfo vecchia(nomi.resolve(cartella + codice + estensione));
            if (vecchia.exists() || vecchia.isSymLink()) aggiungi(vecchia.fileName());
        }
    }
    aggiungi(ElencoCopieSicurezza);
    return copie;
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

Esito controllaCopieDaRipristinare(const QString& scelta, CopiaDi copia) {
    const auto& s = stato();
    const QString titolo = QStringLiteral("Attenzione");
    if (Esito cartellaValida = controllaCartellaCopie(scelta, s.PercorsoDati); !cartellaValida.ok())
        return cartellaValida;
    const QString cartella = conBarra(scelta);
    if (copia == CopiaDi::TuttiConti) {
        if (QFileInfo::exists(resolveFile(cartella, ContiFile))) return Esito::fatto();
        return Esito::rifiutato(
            QStringLiteral("La cartella %1 non contiene la copia di tutti i conti (manca il file "
                           "%2): non c'è nulla da ripristinare.")
                .arg(QDir::toNativeSeparators(cartella), QString(ContiFile)),
            titolo);
    }
    if (!contoAttivoAperto()) return Esito::rifiutato(testoNessunContoAperto(), titolo);
    const QString codice = s.CodiceContoAttivo.trimmed();
    for (const QLatin1String& estensione : EstensioniCopia)
        if (QFileInfo::exists(resolveFile(cartella, codice + estensione))) return Esito::fatto();
    return Esito::rifiutato(QStringLiteral("La cartella %1 non contiene la copia del conto %2: "
                                           "non c'è nulla da ripristinare.")
                                .arg(QDir::toNativeSeparators(cartella), codice),
                            titolo);
}

namespace {

// The start of a backup and of a restore: the folder checked, and an interrupted change
// of its copies put back. A refusal, or the folder with what its recovery did.
struct CartellaCopie {
    std::optional<Esito> rifiuto;
    QString cartella;
    RecoveryResult recupero;
};

CartellaCopie apriCartellaCopie(const QString& scelta, CopiaDi copia, const QString& nonEseguito) {
    const auto& s = stato();
    const QString titolo = QStringLiteral("Attenzione");
    CartellaCopie c;
    if (Esito cartellaValida = controllaCartellaCopie(scelta, s.PercorsoDati);
        !cartellaValida.ok()) {
        c.rifiuto = cartellaValida;
        return c;
    }
    if (copia == CopiaDi::ContoAttivo && !contoAttivoAperto()) {
        c.rifiuto = Esito::rifiutato(testoNessunContoAperto(), titolo);
        return c;
    }
    c.cartella = conBarra(scelta);
    c.recupero = recoverInterrupted(c.cartella);
    if (c.recupero.found && !c.recupero.restored)
        c.rifiuto = Esito::rifiutato(
            testoCartellaNonRipristinata(c.cartella, c.recupero) + u'\n' + nonEseguito, titolo);
    return c;
}

// The accounts a backup copies: the open one, or every account of the archive.
QStringList codiciDaCopiare(CopiaDi copia) {
    const auto& s = stato();
    QStringList codici;
    if (copia == CopiaDi::ContoAttivo) {
        codici << s.CodiceContoAttivo.trimmed();
    } else {
        for (const Conto& conto : righeTabella(s.TabellaConti, s.NumeroConti))
            codici << conto.codiceConto.trimmed();
    }
    return codici;
}

// The copies a backup writes into its folder, each noted in the list of the copies. The
// names come from one reading of each folder, the change's.
class ScritturaCopie {
public:
    ScritturaCopie(ModificaFile& modifica, const QString& cartella, ElencoCopie& elenco)
        : modifica_(modifica), nomi_(modifica.transazione()), cartella_(cartella), elenco_(elenco) {
    }

    bool copiaArchivio(const std::vector<Conto>& conti) {
        return copiaFile(RecContiFile, Contatore{qint16(conti.size())}.toBytes()) &&
               copiaFile(ContiFile, recordsToBytes(conti));
    }

    bool copiaConto(const QString& dati, const QString& codice) {
        FileLetti letti;
        if (!leggiFileConto(modifica_, dati, codice, letti)) return false;
        for (const FileLetto& f : letti) {
            // The copy bears the name the file has in the data folder.
            const QString nome =
                f.contenuto ? QFileInfo(f.percorso).fileName() : codice + f.estensione;
            if (!copiaFile(nome, f.contenuto.value_or(QByteArray()))) return false;
        }
        for (const QLatin1String& estensione : EstensioniFacoltative)
            if (!copiaFacoltativo(dati, codice, estensione)) return false;
        return true;
    }

    // The list last: a folder whose list does not name a copy holds it from before.
    bool concludi() {
        return modifica_.sostituisci(nomi_.resolve(cartella_ + ElencoCopieSicurezza),
                                     testoElenco(elenco_)) &&
               modifica_.concludi();
    }

private:
    bool copiaFile(const QString& nome, const QByteArray& contenuto) {
        const QString percorso = nomi_.resolve(cartella_ + nome);
        if (!modifica_.sostituisci(percorso, contenuto)) return false;
        annota(elenco_, QFileInfo(nomi_.resolve(percorso)).fileName(), contenuto);
        return true;
    }

    bool copiaFacoltativo(const QString& dati, const QString& codice, QLatin1String estensione) {
        FileLetto f;
        if (!modifica_.leggi(accountFile(dati, codice, estensione), f)) return false;
        if (f.contenuto) return copiaFile(QFileInfo(f.percorso).fileName(), *f.contenuto);
        // An older copy of a file the account no longer has would come back with it.
        const QString vecchia = nomi_.resolve(cartella_ + codice + estensione);
        const QFileInfo info(vecchia);
        if (info.exists() || info.isSymLink()) {
            if (!modifica_.rimuovi(vecchia)) return false;
            elenco_.erase(info.fileName().toLower());
        }
        return true;
    }

    ModificaFile& modifica_;
    Transaction& nomi_;
    const QString& cartella_;
    ElencoCopie& elenco_;
};

Esito esitoCopia(CopiaDi copia, qsizetype copiati, const QStringList& codici,
                 const RecoveryResult& recupero, const QStringList& lasciati) {
    const QString fatto =
        copia == CopiaDi::TuttiConti
            ? QStringLiteral("Copia di sicurezza eseguita: %1.").arg(testoConti(copiati))
            : QStringLiteral("Copia di sicurezza del conto %1 eseguita.").arg(codici.value(0));
    return fattoConAvvisi(
        fatto, QStringLiteral("Backup dati"),
        {testoRipristino(recupero), testoLasciati(QStringLiteral("Conti non copiati:"), lasciati)});
}

} // namespace

Esito EseguiCopie(const QString& scelta, CopiaDi copia, const Riprova& riprova) {
    const auto& s = stato();
    const QString nonEseguita = QStringLiteral("La copia di sicurezza non è stata eseguita.");
    const CartellaCopie aperta = apriCartellaCopie(scelta, copia, nonEseguita);
    if (aperta.rifiuto) return *aperta.rifiuto;
    const QString& cartella = aperta.cartella;
    const QStringList codici = codiciDaCopiare(copia);

    // The list the folder holds keeps the copies of the accounts not copied now; one that
    // cannot be read is made again from what is copied now.
    ElencoCopie elenco;
    bool conElenco = false;
    QString motivo;
    if (!leggiElenco(cartella, elenco, conElenco, motivo)) elenco.clear();

    ModificaFile modifica(cartella, riprova);
    ScritturaCopie scrittura(modifica, cartella, elenco);
    // Every copy the backup will write or remove, protected at once: one list of them on
    // the disk for the whole backup, and no copy of a file that is not there yet.
    if (!modifica.proteggi(copieDaScrivere(modifica.transazione(), cartella, s.PercorsoDati, codici,
                                           copia == CopiaDi::TuttiConti)))
        return modifica.fallita(nonEseguita);
    if (copia == CopiaDi::TuttiConti &&
        !scrittura.copiaArchivio(righeTabella(s.TabellaConti, s.NumeroConti)))
        return modifica.fallita(nonEseguita);
    QStringList lasciati;
    qsizetype copiati = 0;
    for (const QString& codice : codici) {
        if (!codiceUtilizzabile(codice)) {
            lasciati << testoCodiceInutilizzabile(codice);
            continue;
        }
        if (!scrittura.copiaConto(s.PercorsoDati, codice)) return modifica.fallita(nonEseguita);
        ++copiati;
    }
    if (!scrittura.concludi()) return modifica.fallita(nonEseguita);
    return esitoCopia(copia, copiati, codici, aperta.recupero, lasciati);
}

namespace {

QString testoRipristinoNonEseguito() {
    return QStringLiteral("Il ripristino non è stato eseguito.");
}

// What a restore gathers from the copies before it writes anything.
struct Ripristino {
    CopiaDi copia = CopiaDi::ContoAttivo;
    QString cartella;
    ElencoCopie elenco;
    QStringList codici;     // the accounts of the copies
    ArchivioCopie archivio; // the folder's archive, for the restore of all accounts
    QStringList danni;      // the copies that do not match their list
    std::vector<CopiaConto> copie;
    QStringList lasciati;        // the accounts left out, and why
    std::vector<Conto> aggiunti; // the accounts the data folder's archive gains
    int contiPresenti = 0;       // the accounts the data folder's archive has
};

void controllaCopiaArchivio(Ripristino& r, const QString& percorso, const QByteArray& bytes) {
    const QString danno = controllaCopia(r.elenco, QFileInfo(percorso).fileName(), bytes);
    if (!danno.isEmpty()) r.danni << danno;
}

// The accounts of the copies: the open one, or the folder's own archive.
std::optional<Esito> codiciDaRipristinare(Ripristino& r) {
    if (r.copia == CopiaDi::ContoAttivo) {
        r.codici << stato().CodiceContoAttivo.trimmed();
        return std::nullopt;
    }
    r.archivio = leggiArchivioCopie(r.cartella);
    if (r.archivio.esito.fallito())
        return Esito::fallito(testoRipristinoNonEseguito() + u'\n' + r.archivio.esito.testo);
    if (!r.archivio.esito.ok()) return r.archivio.esito;
    controllaCopiaArchivio(r, r.archivio.percorsoConteggio, r.archivio.conteggio);
    controllaCopiaArchivio(r, r.archivio.percorsoArchivio, r.archivio.archivio);
    for (const Conto& conto : r.archivio.conti)
        r.codici << conto.codiceConto.trimmed();
    return std::nullopt;
}

// The files of the copy of account `codice` that the folder lacks, by their names.
QStringList copieMancanti(const QString& cartella, const QString& codice) {
    QStringList mancanti;
    for (const QLatin1String& estensione : EstensioniCopia)
        if (!QFileInfo::exists(resolveFile(cartella, codice + estensione)))
            mancanti << codice + QString(estensione).toUpper();
    return mancanti;
}

// An account whose copy lacks files: left out of the restore of all accounts, the
// restore refused for the open one.
std::optional<Esito> copiaIncompleta(Ripristino& r, const QString& codice,
                                     const QStringList& mancanti) {
    const bool nessuno = mancanti.size() == qsizetype(EstensioniCopia.size());
    const QString perche =
        nessuno ? QStringLiteral("%1: la cartella non ne contiene la copia").arg(codice)
                : QStringLiteral("%1: mancano i file %2")
                      .arg(codice, mancanti.join(QStringLiteral(", ")));
    if (r.copia == CopiaDi::ContoAttivo)
        return Esito::rifiutato(
            nessuno ? QStringLiteral("La cartella %1 non contiene la copia del conto %2: "
                                     "operazione annullata.")
                          .arg(QDir::toNativeSeparators(r.cartella), codice)
                    : QStringLiteral("La copia del conto nella cartella %1 è incompleta "
                                     "(%2): operazione annullata.")
                          .arg(QDir::toNativeSeparators(r.cartella), perche),
            QStringLiteral("Attenzione"));
    r.lasciati << perche;
    return std::nullopt;
}

// Reads the copies of account `codice` that the folder has, each checked against the
// list of the copies.
bool leggiCopiaConto(ModificaFile& modifica, Ripristino& r, const QString& codice) {
    CopiaConto letta{codice, {}};
    const auto leggi = [&](const QLatin1String& estensione) {
        FileLetto f;
        if (!modifica.leggi(resolveFile(r.cartella, codice + estensione), f)) return false;
        f.estensione = estensione;
        if (f.contenuto) {
            const QString danno =
                controllaCopia(r.elenco, QFileInfo(f.percorso).fileName(), *f.contenuto);
            if (!danno.isEmpty()) r.danni << danno;
            letta.file.push_back(std::move(f));
        }
        return true;
    };
    for (const QLatin1String& estensione : EstensioniCopia)
        if (!leggi(estensione)) return false;
    for (const QLatin1String& estensione : EstensioniFacoltative)
        if (!leggi(estensione)) return false;
    r.copie.push_back(std::move(letta));
    return true;
}

// Each account whole or not at all: what its copy lacks is known before anything is
// read.
std::optional<Esito> leggiCopieConti(ModificaFile& modifica, Ripristino& r) {
    for (const QString& codice : r.codici) {
        if (!codiceUtilizzabile(codice)) {
            r.lasciati << testoCodiceInutilizzabile(codice);
            continue;
        }
        const QStringList mancanti = copieMancanti(r.cartella, codice);
        if (!mancanti.isEmpty()) {
            if (auto rifiuto = copiaIncompleta(r, codice, mancanti)) return rifiuto;
            continue;
        }
        if (!leggiCopiaConto(modifica, r, codice))
            return modifica.fallita(testoRipristinoNonEseguito());
    }
    return std::nullopt;
}

Esito rifiutoCopieDanneggiate(const Ripristino& r) {
    return Esito::rifiutato(
        QStringLiteral("Le copie della cartella %1 non corrispondono al loro elenco (%2): "
                       "sono state modificate o danneggiate dopo la copia di sicurezza.\n")
                .arg(QDir::toNativeSeparators(r.cartella), QString(ElencoCopieSicurezza)) +
            r.danni.join(u'\n') + u'\n' + testoRipristinoNonEseguito() +
            QStringLiteral(" Nessun file è stato "
                           "modificato."),
        QStringLiteral("Attenzione"));
}

// The accounts of the copies that `presenti` (the data folder's archive) lacks, numbered
// after its end.
void aggiungiContiNuovi(Ripristino& r, const std::vector<Conto>& presenti) {
    for (const CopiaConto& c : r.copie) {
        const auto stesso = [&](const Conto& conto) {
            return conto.codiceConto.trimmed().compare(c.codice, Qt::CaseInsensitive) == 0;
        };
        if (std::any_of(presenti.begin(), presenti.end(), stesso) ||
            std::any_of(r.aggiunti.begin(), r.aggiunti.end(), stesso))
            continue;
        const auto dallaCopia =
            std::find_if(r.archivio.conti.begin(), r.archivio.conti.end(), stesso);
        Conto conto = *dallaCopia;
        conto.numero = qint16(r.contiPresenti + int(r.aggiunti.size()) + 1);
        r.aggiunti.push_back(conto);
    }
}

// The accounts of the copies that the data folder's archive lacks are added at its
// end; the accounts it has stay as they are.
std::optional<Esito> contiDaAggiungere(Ripristino& r, const QString& contiDati,
                                       const QString& recContiDati) {
    const QString titolo = QStringLiteral("Attenzione");
    const QString nonEseguito = testoRipristinoNonEseguito();
    const EsameConteggio esame = esaminaConteggio(recContiDati, contiDati, Conto::Lunghezza);
    if (!esame.utilizzabile())
        return Esito::rifiutato(nonEseguito + u'\n' + descriviDanno(esame) +
                                    QStringLiteral("\nL'archivio dei conti della cartella "
                                                   "dei dati non può ricevere i conti delle "
                                                   "copie. Nessun file è stato modificato."),
                                titolo);
    r.contiPresenti = esame.conteggio;
    QString errore;
    const std::vector<Conto> presenti = leggiRecords<Conto>(contiDati, r.contiPresenti, &errore);
    if (!errore.isEmpty())
        return Esito::fallito(nonEseguito + u'\n' + QDir::toNativeSeparators(contiDati) +
                              QStringLiteral(": ") + errore + u'.');
    aggiungiContiNuovi(r, presenti);
    if (r.contiPresenti + int(r.aggiunti.size()) > MassimoConti)
        return Esito::rifiutato(nonEseguito + u'\n' + testoArchivioPieno(), titolo);
    return std::nullopt;
}

// Every file the restore writes, for protecting them at once: one list of them on the
// disk. A link standing in a file's place is left out.
QStringList fileDaRipristinare(const Ripristino& r, const QString& dati, const QString& contiDati,
                               const QString& recContiDati) {
    QStringList daScrivere;
    for (const CopiaConto& c : r.copie)
        for (const FileLetto& f : c.file) {
            const QString percorso = accountFile(dati, c.codice, f.estensione);
            if (!QFileInfo(percorso).isSymLink()) daScrivere << percorso;
        }
    if (!r.aggiunti.empty()) daScrivere << contiDati << recContiDati;
    return daScrivere;
}

// Writes the copies over the data folder's files, then the accounts the archive gains
// and its count.
bool scriviRipristino(ModificaFile& modifica, const Ripristino& r, const QString& dati,
                      const QString& contiDati, const QString& recContiDati) {
    for (const CopiaConto& c : r.copie)
        for (const FileLetto& f : c.file)
            if (!modifica.sostituisci(accountFile(dati, c.codice, f.estensione),
                                      f.contenuto.value_or(QByteArray())))
                return false;
    for (const Conto& conto : r.aggiunti)
        if (!modifica.scriviRecord(contiDati, Conto::Lunghezza, conto.numero, conto.toBytes()))
            return false;
    if (!r.aggiunti.empty() &&
        !modifica.scriviContatore(recContiDati, qint16(r.contiPresenti + int(r.aggiunti.size()))))
        return false;
    return modifica.concludi();
}

Esito esitoRipristino(const Ripristino& r, const RecoveryResult& recupero) {
    QString fatto =
        r.copia == CopiaDi::TuttiConti
            ? QStringLiteral("Ripristino eseguito: %1.").arg(testoConti(r.copie.size()))
            : QStringLiteral("Ripristino del conto %1 eseguito.").arg(r.codici.value(0));
    if (!r.aggiunti.empty()) {
        QStringList nomi;
        for (const Conto& conto : r.aggiunti)
            nomi << conto.codiceConto.trimmed();
        fatto += QStringLiteral("\nConti aggiunti all'elenco dei conti: %1.")
                     .arg(nomi.join(QStringLiteral(", ")));
    }
    return fattoConAvvisi(fatto, QStringLiteral("Ripristina Dati"),
                          {testoRipristino(recupero),
                           testoLasciati(QStringLiteral("Conti non ripristinati:"), r.lasciati)});
}

} // namespace

Esito RipristinaCopie(const QString& scelta, CopiaDi copia, const Riprova& riprova) {
    const auto& s = stato();
    const QString nonEseguito = testoRipristinoNonEseguito();
    const CartellaCopie aperta = apriCartellaCopie(scelta, copia, nonEseguito);
    if (aperta.rifiuto) return *aperta.rifiuto;
    Ripristino r;
    r.copia = copia;
    r.cartella = aperta.cartella;
    bool conElenco = false;
    QString motivo;
    if (!leggiElenco(r.cartella, r.elenco, conElenco, motivo))
        return Esito::rifiutato(nonEseguito + u'\n' + motivo + u'.', QStringLiteral("Attenzione"));
    if (auto rifiuto = codiciDaRipristinare(r)) return *rifiuto;

    ModificaFile modifica(s.PercorsoDati, riprova);
    if (auto rifiuto = leggiCopieConti(modifica, r)) return *rifiuto;
    if (!r.danni.isEmpty()) return rifiutoCopieDanneggiate(r);
    const QString contiDati = resolveFile(s.PercorsoDati, ContiFile);
    const QString recContiDati = resolveFile(s.PercorsoDati, RecContiFile);
    if (copia == CopiaDi::TuttiConti)
        if (auto rifiuto = contiDaAggiungere(r, contiDati, recContiDati)) return *rifiuto;

    const QStringList daScrivere = fileDaRipristinare(r, s.PercorsoDati, contiDati, recContiDati);
    // A movement held out of the balances goes back before the files are protected, so
    // that a restore that fails leaves it in the balances; the windows that show the
    // movements close.
    if (contoAttivoAperto()) AnnunciContoAperto::cancellazioneMovimenti();
    if (!modifica.proteggi(daScrivere) ||
        !scriviRipristino(modifica, r, s.PercorsoDati, contiDati, recContiDati))
        return modifica.fallita(nonEseguito);
    if (contoAttivoAperto()) AnnunciContoAperto::movimenti();
    return esitoRipristino(r, aperta.recupero);
}

} // namespace qv
