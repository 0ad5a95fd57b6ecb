#include "importa/conversion.h"

#include "common/file_errors.h"
#include "common/file_names.h"
#include "common/folder_lock.h"
#include "common/paths.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/today.h"
#include "common/transaction.h"
#include "importa/old_records.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <optional>
#include <vector>

namespace qv {

namespace {

const QString kNessunFileModificato =
    QStringLiteral("Nessun file della cartella è stato modificato.");

// A file of the folder with the content the conversion gives it.
struct FileNuovo {
    QString path;
    QByteArray contenuto;
};

// The records of a file of fixed-length records, decoded.
template <class R> std::vector<R> decodifica(const QByteArray& bytes, int quanti) {
    std::vector<R> records;
    records.reserve(quanti > 0 ? quanti : 0);
    for (int i = 0; i < quanti; ++i)
        records.push_back(
            R::fromBytes(QByteArrayView(bytes).sliced(qsizetype(i) * R::Lunghezza, R::Lunghezza)));
    return records;
}

// Converts each of the first `quanti` old records of `lunghezza` bytes and gives the
// bytes of the new ones, one after another.
template <class Fn> QByteArray converti(const QByteArray& bytes, int lunghezza, int quanti, Fn fn) {
    QByteArray out;
    for (int i = 0; i < quanti; ++i) {
        const QByteArray nuovo =
            fn(QByteArrayView(bytes).sliced(qsizetype(i) * lunghezza, lunghezza));
        if (i == 0) out.reserve(qsizetype(quanti) * nuovo.size());
        out.append(nuovo);
    }
    return out;
}

// Reads the folder for the conversion, stopping at the first file that keeps it from
// being converted; the reason goes into the outcome.
class Lettore {
public:
    explicit Lettore(EsitoConversione& esito) : esito_(esito) {}

    bool ok() const { return ok_; }

    // Records 1 to `quanti` of the file at `path` (zeros past its end). False when the
    // file is missing or cannot be read (then ok() turns false).
    bool leggi(const QString& path, int lunghezza, int quanti, QByteArray* bytes) {
        const QFileInfo info(path);
        if (!info.exists()) return false;
        if (!info.isFile()) {
            fallita(path, motivoErroreFile(EISDIR), EISDIR);
            return false;
        }
        RecordFile file(path, lunghezza);
        *bytes = file.readRange(1, quanti);
        if (!file.ok()) {
            fallita(path, file.errorString(), file.osErrno());
            return false;
        }
        return true;
    }

    // As leggi, for a file to be rewritten: it must also hold whole records of the old
    // layout. A file of another size is not one the previous release wrote (a folder
    // in the current layouts, or a damaged file): converting it would destroy it.
    bool leggiVecchio(const QString& path, int lunghezza, int quanti, QByteArray* bytes) {
        if (!leggi(path, lunghezza, quanti, bytes)) return false;
        if (QFileInfo(path).size() % lunghezza != 0) {
            rifiutata(QStringLiteral("I dati selezionati non hanno il formato della versione "
                                     "precedente: il file %1 non può essere convertito.\n")
                          .arg(QDir::toNativeSeparators(path)) +
                      kNessunFileModificato);
            return false;
        }
        return true;
    }

    // As leggiVecchio, for a file of as many records as the count file `fileConteggio`
    // says: it must hold them all. The records missing from a file cut short are lost,
    // and converting it would make blank records of them; a missing file holds none.
    // Only a missing list order (`ordine`) is let through: Quorvanta rebuilds it from
    // the movements. A count of 0 gives an empty file: records past the count are stale.
    bool leggiContati(const QString& path, int lunghezza, int quanti, const QString& fileConteggio,
                      bool ordine, QByteArray* bytes) {
        if (!QFileInfo::exists(path)) {
            if (quanti > 0 && !ordine)
                fallita(path,
                        QStringLiteral("il file non esiste, ma %1 conta %2 record")
                            .arg(QDir::toNativeSeparators(fileConteggio))
                            .arg(quanti),
                        ENOENT);
            return false;
        }
        if (!leggiVecchio(path, lunghezza, quanti, bytes)) return false;
        const qint64 interi = QFileInfo(path).size() / lunghezza;
        if (interi < quanti) {
            guasto(EsitoConversione::Guasto::FineFile, path,
                   QStringLiteral("il file contiene %1 record interi, ma %2 ne conta %3")
                       .arg(interi)
                       .arg(QDir::toNativeSeparators(fileConteggio))
                       .arg(quanti));
            return false;
        }
        return true;
    }

    // The count of a count file; 0 when the file is missing or empty (opening a missing
    // file made it empty). A count file cut short, or a negative count, is no count of
    // records: it stops the conversion, which would otherwise leave the file it counts
    // in the old layout in a folder marked converted.
    int conteggio(const QString& path) {
        QByteArray bytes;
        if (!leggi(path, Contatore::Lunghezza, 1, &bytes)) return 0;
        const qint64 dimensione = QFileInfo(path).size();
        if (dimensione > 0 && dimensione < Contatore::Lunghezza) {
            guasto(EsitoConversione::Guasto::FineFile, path,
                   QStringLiteral("il file ha %1 byte e non contiene un conteggio intero")
                       .arg(dimensione));
            return 0;
        }
        const int valore = Contatore::fromBytes(bytes).valore;
        if (valore < 0) {
            guasto(EsitoConversione::Guasto::Conteggio, path,
                   QStringLiteral("il conteggio che contiene è negativo (%1)").arg(valore));
            return 0;
        }
        return valore;
    }

    void rifiutata(const QString& testo) {
        ok_ = false;
        esito_.esito.stato = Esito::Stato::Rifiutato;
        esito_.esito.testo = testo;
        esito_.esito.titolo = QString::fromUtf16(kTitoloAttenzione);
    }

private:
    void fallita(const QString& path, const QString& motivo, int osErrno) {
        guasto(EsitoConversione::Guasto::Sistema, path, motivo);
        esito_.osErrno = osErrno;
    }

    void guasto(EsitoConversione::Guasto tipo, const QString& path, const QString& motivo) {
        ok_ = false;
        esito_.esito.stato = Esito::Stato::Fallito;
        esito_.guasto = tipo;
        esito_.esito.testo =
            QStringLiteral("Impossibile leggere %1: %2.\nLa conversione non è stata "
                           "eseguita. ")
                .arg(QDir::toNativeSeparators(path), motivo) +
            kNessunFileModificato;
    }

    EsitoConversione& esito_;
    bool ok_ = true;
};

// Whether a trimmed account code can be the base name of files in the folder.
bool codiceUsabile(const QString& codice) {
    if (codice.isEmpty()) return false;
    for (const QChar c : codice)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20) return false;
    return true;
}

// Reads one account's files and adds their new contents to `piano`.
void pianificaConto(Lettore& in, const QString& cartella, const ContoVecchio& conto,
                    std::vector<FileNuovo>& piano) {
    const QString codice = conto.codiceConto.trimmed();
    const auto file = [&](const QString& ext) { return accountFile(cartella, codice, ext); };
    QByteArray bytes;

    const QString fileMovimenti = file(ExtMOR);
    const int movimenti = in.conteggio(fileMovimenti);
    for (const QString& ext : {QString(ExtMOV), QString(ExtOrd)}) {
        if (!in.ok()) break;
        if (in.leggiContati(file(ext), MovimentoVecchio::Lunghezza, movimenti, fileMovimenti,
                            ext == ExtOrd, &bytes))
            piano.push_back({file(ext), converti(bytes, MovimentoVecchio::Lunghezza, movimenti,
                                                 convertiMovimento)});
    }
    if (!in.ok()) return;

    if (in.leggiVecchio(file(ExtTOT), TotaliVecchi::Lunghezza, 1, &bytes)) {
        const QString oggi = DataOggi();
        piano.push_back({file(ExtTOT), convertiTotali(bytes, oggi)});
    }
    if (!in.ok()) return;

    const int carnet = in.conteggio(file(ExtNRC));
    if (in.ok() && in.leggiContati(file(ExtCAR), CarnetVecchio::Lunghezza, carnet, file(ExtNRC),
                                   false, &bytes))
        piano.push_back(
            {file(ExtCAR), converti(bytes, CarnetVecchio::Lunghezza, carnet, convertiCarnet)});
    if (!in.ok()) return;

    const int fogli = in.conteggio(file(ExtNRF));
    if (in.ok() && in.leggiContati(file(ExtFOG), FoglioAssegnoVecchio::Lunghezza, fogli,
                                   file(ExtNRF), false, &bytes))
        piano.push_back({file(ExtFOG),
                         converti(bytes, FoglioAssegnoVecchio::Lunghezza, fogli, convertiFoglio)});
    if (!in.ok()) return;

    if (in.leggiVecchio(file(ExtIat), InteressiVecchi::Lunghezza, 1, &bytes))
        piano.push_back({file(ExtIat), convertiInteressiCreditori(bytes)});
    if (!in.ok()) return;
    if (in.leggiVecchio(file(ExtIpa), InteressiVecchi::Lunghezza, 1, &bytes))
        piano.push_back({file(ExtIpa), convertiInteressiDebitori(bytes)});
    if (!in.ok()) return;

    if (in.leggiVecchio(file(ExtChi), RiportoPrecedenteVecchio::Lunghezza, 1, &bytes))
        piano.push_back({file(ExtChi), convertiRiportoPrecedente(bytes, codice)});
    if (!in.ok()) return;

    if (in.leggiVecchio(file(ExtRIP), RiportoVecchio::Lunghezza, 1, &bytes))
        piano.push_back({file(ExtRIP), convertiRiporto(bytes)});
}

QString elenco(const QStringList& files) {
    QStringList nomi;
    for (const QString& f : files)
        nomi << QDir::toNativeSeparators(f);
    return nomi.join(QStringLiteral(", "));
}

// Whether the folder chosen is there; the outcome says so when it is not.
bool cartellaEsistente(const QString& cartella, EsitoConversione& esito) {
    if (!cartella.isEmpty() && QFileInfo(cartella).isDir()) return true;
    esito.esito.stato = Esito::Stato::Fallito;
    esito.osErrno = ENOENT;
    esito.percorso = true;
    esito.esito.testo =
        QStringLiteral("La cartella %1 non esiste.").arg(QDir::toNativeSeparators(cartella));
    return false;
}

// Takes the folder's lock for the conversion. Refused when Quorvanta (or another
// conversion) has the folder open, or when no lock can be made there.
bool riservaCartella(FolderLock& blocco, const QString& cartella, EsitoConversione& esito) {
    switch (blocco.lock(cartella)) {
    case FolderLock::Result::Locked:
        return true;
    case FolderLock::Result::InUse:
        esito.esito.stato = Esito::Stato::Rifiutato;
        esito.esito.titolo = QString::fromUtf16(kTitoloAttenzione);
        esito.esito.testo = testoCartellaInUso(cartella);
        return false;
    case FolderLock::Result::Unavailable:
        esito.esito.stato = Esito::Stato::Rifiutato;
        esito.esito.titolo = QString::fromUtf16(kTitoloAttenzione);
        esito.esito.testo = QStringLiteral("Impossibile riservare la cartella %1 (cartella in sola "
                                           "lettura?): la conversione non è stata eseguita.")
                                .arg(QDir::toNativeSeparators(cartella));
        return false;
    }
    return true;
}

// A conversion that never finished left its snapshots: the originals go back before
// anything is read. False, with the outcome saying which files stayed changed, when
// they cannot all go back.
bool ripristinaConversioneInterrotta(const QString& cartella, EsitoConversione& esito) {
    const RecoveryResult ripristino = recoverInterrupted(cartella);
    esito.ripristinati = ripristino.files;
    if (ripristino.restored) return true;
    esito.esito.stato = Esito::Stato::Fallito;
    esito.nonRipristinati = ripristino.leftChanged;
    esito.esito.testo = QStringLiteral("Una modifica precedente dei dati di questa cartella si è "
                                       "interrotta e non è stato possibile ripristinarne i file "
                                       "(%1).\nLa conversione non è stata eseguita.")
                            .arg(ripristino.error);
    return false;
}

// The conversion marker of the folder (blank when there is none). Nothing when it
// cannot be read, or when it says the folder is converted already: a second conversion
// would read the new layouts as old ones.
std::optional<MarcaConversione> leggiMarca(Lettore& in, const QString& fileMarca) {
    QByteArray bytes;
    MarcaConversione marca =
        MarcaConversione::fromBytes(QByteArray(MarcaConversione::Lunghezza, 0));
    if (in.leggi(fileMarca, MarcaConversione::Lunghezza, 1, &bytes))
        marca = MarcaConversione::fromBytes(bytes);
    if (!in.ok()) return std::nullopt;
    if (marca.convertito.trimmed() == QLatin1String("S")) {
        in.rifiutata(QString::fromUtf16(kDatiGiaConvertiti));
        return std::nullopt;
    }
    return marca;
}

// The marker as the conversion leaves it: converted today.
QByteArray marcaConvertita(MarcaConversione marca) {
    marca.dataConversione = DataOggi();
    marca.riservato.clear();
    marca.convertito = QStringLiteral("S");
    return marca.toBytes();
}

// Reads the account archive (`numeroConti` accounts) and every account's files, and adds
// their new contents to `piano`, the archive last. False when an account's code cannot
// name its files or a file stops the conversion (the outcome says why).
bool pianificaConti(Lettore& in, const QString& cartella, int numeroConti,
                    std::vector<FileNuovo>& piano) {
    const QString fileConti = resolveFile(cartella, ContiFile);
    QByteArray contiVecchi(qsizetype(numeroConti) * ContoVecchio::Lunghezza, 0);
    in.leggiVecchio(fileConti, ContoVecchio::Lunghezza, numeroConti, &contiVecchi);
    if (!in.ok()) return false;
    const std::vector<ContoVecchio> conti = decodifica<ContoVecchio>(contiVecchi, numeroConti);

    QByteArray archivio;
    archivio.reserve(qsizetype(numeroConti) * Conto::Lunghezza);
    for (int j = 0; j < numeroConti; ++j) {
        const ContoVecchio& conto = conti[size_t(j)];
        if (!codiceUsabile(conto.codiceConto.trimmed())) {
            in.rifiutata(QStringLiteral("Il conto %1 dell'archivio dei conti non ha un codice che "
                                        "possa dare il nome ai suoi file (\"%2\"): la cartella "
                                        "non può essere convertita.\n")
                             .arg(j + 1)
                             .arg(conto.codiceConto) +
                         kNessunFileModificato);
            return false;
        }
        pianificaConto(in, cartella, conto, piano);
        if (!in.ok()) return false;
        archivio.append(convertiConto(
            QByteArrayView(contiVecchi)
                .sliced(qsizetype(j) * ContoVecchio::Lunghezza, ContoVecchio::Lunghezza)));
    }
    piano.push_back({fileConti, archivio});
    return true;
}

// Everything is read and converted before the first file is written: the plan holds
// every file's new content, the marker last. Gives the number of accounts planned; 0
// when the folder holds none (nothing to write) or the reading stopped (the outcome
// says why).
int pianificaCartella(const QString& cartella, EsitoConversione& esito,
                      std::vector<FileNuovo>& piano) {
    Lettore in(esito);
    const QString fileMarca = resolveFile(cartella, FileMarcaConversione);
    const std::optional<MarcaConversione> marca = leggiMarca(in, fileMarca);
    if (!marca) return 0;
    const int numeroConti = in.conteggio(resolveFile(cartella, RecContiFile));
    if (!in.ok() || numeroConti <= 0) return 0;
    if (!pianificaConti(in, cartella, numeroConti, piano)) return 0;
    piano.push_back({fileMarca, marcaConvertita(*marca)});
    return numeroConti;
}

// A write of the conversion failed: every original goes back, and the outcome says why
// and which files, if any, could not be put back.
void scritturaFallita(Transaction& modifica, int osErrno, EsitoConversione& esito) {
    const QString motivo = modifica.error();
    modifica.rollback();
    esito.esito.stato = Esito::Stato::Fallito;
    esito.osErrno = osErrno;
    esito.nonRipristinati = modifica.leftChanged();
    esito.esito.testo = QStringLiteral("Impossibile scrivere %1.\nLa conversione non è stata "
                                       "eseguita. ")
                            .arg(motivo);
    if (esito.nonRipristinati.isEmpty())
        esito.esito.testo +=
            QStringLiteral("Ogni file della cartella è stato ripristinato com'era.");
    else
        esito.esito.testo += QStringLiteral("Non è stato possibile ripristinare questi file: %1; "
                                            "saranno ripristinati alla prossima conversione.")
                                 .arg(elenco(esito.nonRipristinati));
}

// Writes the plan as one change. Every original is copied into the snapshot folder
// before anything is replaced (all at once: one marker write instead of one per file);
// the files are then rewritten in the plan's order, Conv.con last, so that a folder is
// marked only when all of it is converted. `avanzamento` hears of each file written.
bool scriviPiano(const QString& cartella, const std::vector<FileNuovo>& piano,
                 const AvanzamentoConversione& avanzamento, EsitoConversione& esito) {
    Transaction modifica(cartella);
    QStringList daProteggere;
    for (const FileNuovo& f : piano)
        daProteggere << f.path;
    errno = 0;
    if (!modifica.protect(daProteggere)) {
        scritturaFallita(modifica, errno, esito);
        return false;
    }
    for (const FileNuovo& f : piano) {
        errno = 0;
        if (!modifica.rewrite(f.path, f.contenuto)) {
            scritturaFallita(modifica, errno, esito); // errno: what the failed call left
            return false;
        }
        if (avanzamento) avanzamento(f.path);
    }
    errno = 0;
    if (!modifica.commit()) {
        scritturaFallita(modifica, errno, esito);
        return false;
    }
    return true;
}

} // namespace

EsitoConversione convertiCartella(const QString& cartellaScelta,
                                  const AvanzamentoConversione& avanzamento) {
    EsitoConversione esito;
    const QString cartella = folderWithSlash(cartellaScelta);
    if (!cartellaEsistente(cartella, esito)) return esito;
    // The folder is ours until the end: Quorvanta cannot open it meanwhile.
    FolderLock blocco;
    if (!riservaCartella(blocco, cartella, esito)) return esito;
    if (!ripristinaConversioneInterrotta(cartella, esito)) return esito;
    // The folder's names are read once for every file the conversion looks up.
    const FolderNamesScope nomi;
    std::vector<FileNuovo> piano;
    const int numeroConti = pianificaCartella(cartella, esito, piano);
    if (numeroConti <= 0) return esito;
    if (!scriviPiano(cartella, piano, avanzamento, esito)) return esito;
    esito.contiConvertiti = numeroConti;
    return esito;
}

ListaContiCartella leggiListaConti(const QString& cartellaScelta) {
    ListaContiCartella lista;
    const QString cartella = folderWithSlash(cartellaScelta);
    if (cartella.isEmpty()) return lista;

    RecordFile fileConteggio(resolveFile(cartella, RecContiFile), Contatore::Lunghezza);
    const int numero = Contatore::fromBytes(fileConteggio.read(1)).valore;
    if (!fileConteggio.ok()) {
        lista.esito = Esito::fallito(fileConteggio.errorString());
        lista.osErrno = fileConteggio.osErrno();
        return lista;
    }
    if (numero <= 0) return lista;

    // A folder converted already holds the current account records: the code and the
    // bank name lie at the same places, only the record length differs.
    const QString fileConti = resolveFile(cartella, ContiFile);
    const qint64 dimensione = QFileInfo(fileConti).size();
    const MarcaConversione marca = MarcaConversione::fromBytes(
        RecordFile(resolveFile(cartella, FileMarcaConversione), MarcaConversione::Lunghezza)
            .read(1));
    const bool attuale =
        marca.convertito.trimmed() == QLatin1String("S") ||
        (dimensione % ContoVecchio::Lunghezza != 0 && dimensione % Conto::Lunghezza == 0);
    const int lunghezza = attuale ? Conto::Lunghezza : ContoVecchio::Lunghezza;

    RecordFile conti(fileConti, lunghezza);
    const QByteArray bytes = conti.readRange(1, numero);
    if (!conti.ok()) {
        lista.esito = Esito::fallito(conti.errorString());
        lista.osErrno = conti.osErrno();
        return lista;
    }
    for (int j = 0; j < numero; ++j) {
        const ContoVecchio conto = ContoVecchio::fromBytes(
            QByteArrayView(bytes).sliced(qsizetype(j) * lunghezza, lunghezza));
        lista.righe << conto.codiceConto.leftJustified(12, QLatin1Char(' '), true) +
                           QStringLiteral(" - ") +
                           conto.nomeBanca.leftJustified(45, QLatin1Char(' '), true);
    }
    return lista;
}

} // namespace qv
