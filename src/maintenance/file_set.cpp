#include "maintenance/file_set.h"

#include "common/file_errors.h"
#include "common/file_names.h"
#include "common/records.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace qv {

const std::array<QLatin1String, 9> EstensioniCopia{ExtOrd, ExtFOG, ExtMOV, ExtMOR, ExtTOT,
                                                   ExtNRC, ExtCAR, ExtNRF, ExtRIP};

namespace {

constexpr QLatin1String kIntestazioneElenco{"Quorvanta: copia dei file del conto"};
constexpr QLatin1String kNonPresente{"-"};

bool cartellaMancante(const QString& percorso) {
    return !QFileInfo(QFileInfo(percorso).absolutePath()).isDir();
}

QString conPercorso(const QString& percorso, const QString& motivo) {
    return QDir::toNativeSeparators(percorso) + QStringLiteral(": ") + motivo;
}

} // namespace

bool leggiFile(const QString& dato, FileLetto& letto, GuastoFile* guasto) {
    const QString percorso = resolvePath(dato);
    letto.percorso = percorso;
    letto.contenuto.reset();
    if (!QFileInfo::exists(percorso)) return true;
    QFile file(percorso);
    errno = 0;
    QByteArray bytes;
    bool fatto = file.open(QIODevice::ReadOnly);
    if (fatto) {
        bytes = file.readAll();
        fatto = file.error() == QFileDevice::NoError;
    }
    if (fatto) {
        letto.contenuto = std::move(bytes);
        return true;
    }
    if (guasto)
        *guasto = {percorso, errno, cartellaMancante(percorso),
                   conPercorso(percorso, motivoErroreFile(errno, file.errorString()))};
    return false;
}

// --- A change with its steps retried -----------------------------------------------------

ModificaFile::ModificaFile(const QString& cartella, Riprova riprova)
    : transazione_(cartella), riprova_(std::move(riprova)) {}

template <class Passo> bool ModificaFile::tenta(const QString& percorso, Passo passo) {
    for (;;) {
        if (interrotta_) return false;
        errno = 0;
        GuastoFile guasto;
        if (passo(guasto)) return true;
        if (guasto.motivo.isEmpty()) {
            const int numero = errno;
            guasto = {resolvePath(percorso), numero, cartellaMancante(percorso),
                      transazione_.error()};
        }
        motivo_ = guasto.motivo;
        // A change stopped as a kill stops it goes no further and puts nothing back.
        if (!transazione_.protectedFiles().isEmpty() && !transazione_.active()) {
            interrotta_ = true;
            return false;
        }
        if (!riprova_ || !riprova_(guasto)) return false;
    }
}

bool ModificaFile::proteggi(const QStringList& percorsi) {
    return tenta(percorsi.value(0), [&](GuastoFile&) { return transazione_.protect(percorsi); });
}

bool ModificaFile::riscrivi(const QString& percorso, const QByteArray& contenuto) {
    return tenta(percorso, [&](GuastoFile&) { return transazione_.rewrite(percorso, contenuto); });
}

bool ModificaFile::sostituisci(const QString& dato, const QByteArray& contenuto) {
    const QString percorso = resolvePath(dato);
    if (QFileInfo(percorso).isSymLink()) {
        // The link goes, never what it points to: the change takes no file outside its
        // folder, so the link is removed before the file is protected, and made again
        // should the change be given up.
        const QString destinazione = QFile::symLinkTarget(percorso);
        if (!tenta(percorso, [&](GuastoFile& guasto) {
                if (QFile::remove(percorso)) return true;
                guasto = {percorso, errno, false,
                          conPercorso(percorso, QStringLiteral("impossibile eliminare il "
                                                               "collegamento"))};
                return false;
            }))
            return false;
        collegamentiRimossi_.push_back({percorso, destinazione});
    }
    return riscrivi(percorso, contenuto);
}

bool ModificaFile::scriviRecord(const QString& percorso, int lunghezza, int k,
                                const QByteArray& record) {
    return tenta(percorso, [&](GuastoFile&) {
        return transazione_.writeRecord(percorso, lunghezza, k, record);
    });
}

bool ModificaFile::scriviContatore(const QString& percorso, qint16 valore) {
    return tenta(percorso, [&](GuastoFile&) { return transazione_.writeCount(percorso, valore); });
}

bool ModificaFile::rimuovi(const QString& percorso) {
    return tenta(percorso, [&](GuastoFile&) { return transazione_.remove(percorso); });
}

bool ModificaFile::ripristina(const QString& percorso, const std::optional<QByteArray>& contenuto) {
    return contenuto ? riscrivi(percorso, *contenuto) : rimuovi(percorso);
}

bool ModificaFile::creaCartella(const QString& cartella) {
    return tenta(cartella, [&](GuastoFile& guasto) {
        if (QDir().mkpath(cartella)) return true;
        guasto = {cartella, errno, true,
                  conPercorso(cartella, QStringLiteral("impossibile creare la cartella"))};
        return false;
    });
}

bool ModificaFile::leggi(const QString& percorso, FileLetto& letto) {
    return tenta(percorso, [&](GuastoFile& guasto) { return leggiFile(percorso, letto, &guasto); });
}

bool ModificaFile::concludi() {
    if (interrotta_) return false;
    if (transazione_.commit()) return true;
    motivo_ = transazione_.error();
    return false;
}

Esito ModificaFile::fallita(const QString& cosa) {
    QString testo = cosa;
    if (!motivo_.isEmpty()) testo += u'\n' + motivo_ + u'.';
    if (interrotta_) return Esito::fallito(testo);
    const QString rimasti = annullaModifica(transazione_);
    // The links a replacement removed stand again where the roll-back left no file.
    for (const auto& [percorso, destinazione] : collegamentiRimossi_)
        if (!QFileInfo::exists(percorso) && !QFileInfo(percorso).isSymLink())
            QFile::link(destinazione, percorso);
    if (rimasti.isEmpty())
        testo += QStringLiteral("\nI file sono com'erano prima dell'operazione.");
    return Esito::fallito(testo + rimasti);
}

// --- Copies in a folder of their own ---------------------------------------------------

QString impronta(const QByteArray& contenuto) {
    return QString::fromLatin1(
        QCryptographicHash::hash(contenuto, QCryptographicHash::Sha256).toHex());
}

QString nomeCopia(const QString& estensione) {
    return QStringLiteral("Bak") + estensione.toUpper();
}

QStringList fileCopia(const QString& cartella) {
    QStringList percorsi;
    for (const QLatin1String& estensione : EstensioniCopia)
        percorsi << resolveFile(cartella, nomeCopia(estensione));
    percorsi << resolveFile(cartella, ElencoCopia);
    return percorsi;
}

bool scriviCopia(ModificaFile& modifica, const QString& cartella, const QString& codice,
                 const FileLetti& file) {
    if (!modifica.creaCartella(cartella)) return false;
    QString elenco =
        kIntestazioneElenco + u'\n' + QStringLiteral("conto\t") + codice.trimmed() + u'\n';
    for (const FileLetto& f : file) {
        if (!modifica.ripristina(resolveFile(cartella, nomeCopia(f.estensione)), f.contenuto))
            return false;
        elenco +=
            f.estensione.toUpper() + u'\t' +
            (f.contenuto ? QString::number(f.contenuto->size()) + u'\t' + impronta(*f.contenuto)
                         : QString(kNonPresente)) +
            u'\n';
    }
    return modifica.riscrivi(resolveFile(cartella, ElencoCopia), elenco.toUtf8());
}

LetturaCopia leggiCopia(const QString& cartella, const QString& codice) {
    LetturaCopia lettura;
    const auto incompleta = [&](const QString& perche) {
        lettura.esito = Esito::rifiutato(perche, QStringLiteral("Errore"));
        lettura.file.clear();
        return lettura;
    };
    FileLetto elenco;
    GuastoFile guasto;
    if (!leggiFile(resolveFile(cartella, ElencoCopia), elenco, &guasto)) {
        lettura.esito = Esito::fallito(guasto.motivo);
        return lettura;
    }
    if (!elenco.contenuto) return incompleta(QStringLiteral("la copia non c'è"));
    const QStringList righe = QString::fromUtf8(*elenco.contenuto).split(u'\n');
    if (righe.size() < 2 || righe[0] != kIntestazioneElenco ||
        righe[1].section(u'\t', 1).compare(codice.trimmed(), Qt::CaseInsensitive) != 0)
        return incompleta(QStringLiteral("l'elenco dei file della copia non è del conto"));
    for (const QLatin1String& estensione : EstensioniCopia) {
        const QString ext = QString(estensione).toUpper();
        const QString nome = nomeCopia(ext);
        QString dimensione;
        QString firma; // empty in a list written before it was recorded
        for (qsizetype i = 2; i < righe.size(); ++i)
            if (righe[i].section(u'\t', 0, 0) == ext) {
                dimensione = righe[i].section(u'\t', 1, 1);
                firma = righe[i].section(u'\t', 2, 2);
            }
        if (dimensione.isEmpty())
            return incompleta(
                QStringLiteral("l'elenco dei file della copia non nomina %1").arg(nome));
        FileLetto letto;
        letto.estensione = estensione;
        if (dimensione != kNonPresente) {
            bool numero = false;
            const qint64 attesa = dimensione.toLongLong(&numero);
            const QString percorso = resolveFile(cartella, nome);
            if (!leggiFile(percorso, letto, &guasto)) {
                lettura.esito = Esito::fallito(guasto.motivo);
                lettura.file.clear();
                return lettura;
            }
            if (!letto.contenuto) return incompleta(QStringLiteral("manca il file %1").arg(nome));
            if (!numero || letto.contenuto->size() != attesa)
                return incompleta(QStringLiteral("il file %1 non è completo").arg(nome));
            if (!firma.isEmpty() &&
                firma.compare(impronta(*letto.contenuto), Qt::CaseInsensitive) != 0)
                return incompleta(QStringLiteral("il file %1 è danneggiato").arg(nome));
        }
        lettura.file.push_back(std::move(letto));
    }
    return lettura;
}

bool leggiFileConto(ModificaFile& modifica, const QString& cartellaDati, const QString& codice,
                    FileLetti& file) {
    file.clear();
    for (const QLatin1String& estensione : EstensioniCopia) {
        FileLetto letto;
        if (!modifica.leggi(accountFile(cartellaDati, codice, estensione), letto)) return false;
        letto.estensione = estensione;
        file.push_back(std::move(letto));
    }
    return true;
}

} // namespace qv
