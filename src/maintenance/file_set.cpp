#include "maintenance/file_set.h"

#include "common/file_errors.h"
#include "common/file_names.h"
#include "common/records.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <future>

#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif

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

namespace {

#if defined(__x86_64__)
// SHA-256 with the processor's own instructions, where it has them: the copies of a
// backup or a closing are hashed whole, and the portable code takes longer than writing
// them. The result is the same as QCryptographicHash's.
bool istruzioniSha() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSE4_1) || !(c & bit_SSSE3)) return false;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return (b & bit_SHA) != 0;
}

alignas(16) constexpr quint32 kK[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// The 64-byte blocks of `dati` added to the state (a, b, ..., h).
__attribute__((target("sha,sse4.1,ssse3"))) void blocchiSha(quint32 stato[8], const uchar* dati,
                                                            qsizetype blocchi) {
    const __m128i ordine = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i tmp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&stato[0]));
    __m128i stato1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&stato[4]));
    tmp = _mm_shuffle_epi32(tmp, 0xB1);               // CDAB
    stato1 = _mm_shuffle_epi32(stato1, 0x1B);         // EFGH
    __m128i stato0 = _mm_alignr_epi8(tmp, stato1, 8); // ABEF
    stato1 = _mm_blend_epi16(stato1, tmp, 0xF0);      // CDGH
    for (; blocchi > 0; --blocchi, dati += 64) {
        const __m128i abef = stato0;
        const __m128i cdgh = stato1;
        __m128i w[4];
        for (int g = 0; g < 16; ++g) {
            __m128i parole;
            if (g < 4) {
                parole = _mm_shuffle_epi8(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(dati + 16 * g)), ordine);
            } else {
                // W[t] = s1(W[t-2]) + W[t-7] + s0(W[t-15]) + W[t-16], four at a time.
                const __m128i& meno4 = w[g % 4];
                const __m128i& meno3 = w[(g + 1) % 4];
                const __m128i& meno2 = w[(g + 2) % 4];
                const __m128i& meno1 = w[(g + 3) % 4];
                parole = _mm_add_epi32(_mm_sha256msg1_epu32(meno4, meno3),
                                       _mm_alignr_epi8(meno1, meno2, 4));
                parole = _mm_sha256msg2_epu32(parole, meno1);
            }
            w[g % 4] = parole;
            __m128i giro =
                _mm_add_epi32(parole, _mm_load_si128(reinterpret_cast<const __m128i*>(&kK[4 * g])));
            stato1 = _mm_sha256rnds2_epu32(stato1, stato0, giro);
            giro = _mm_shuffle_epi32(giro, 0x0E);
            stato0 = _mm_sha256rnds2_epu32(stato0, stato1, giro);
        }
        stato0 = _mm_add_epi32(stato0, abef);
        stato1 = _mm_add_epi32(stato1, cdgh);
    }
    tmp = _mm_shuffle_epi32(stato0, 0x1B);       // FEBA
    stato1 = _mm_shuffle_epi32(stato1, 0xB1);    // DCHG
    stato0 = _mm_blend_epi16(tmp, stato1, 0xF0); // DCBA
    stato1 = _mm_alignr_epi8(stato1, tmp, 8);    // ABEF
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&stato[0]), stato0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&stato[4]), stato1);
}

QByteArray sha256Veloce(const QByteArray& contenuto) {
    quint32 stato[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    const auto* dati = reinterpret_cast<const uchar*>(contenuto.constData());
    const qsizetype interi = contenuto.size() / 64;
    blocchiSha(stato, dati, interi);
    // The last bytes, a 1 bit, zeros, and the length in bits (big-endian) in one or two
    // blocks.
    uchar coda[128] = {};
    const qsizetype resto = contenuto.size() - interi * 64;
    memcpy(coda, dati + interi * 64, size_t(resto));
    coda[resto] = 0x80;
    const qsizetype fine = resto < 56 ? 64 : 128;
    const quint64 bit = quint64(contenuto.size()) * 8;
    for (int i = 0; i < 8; ++i)
        coda[fine - 1 - i] = uchar(bit >> (8 * i));
    blocchiSha(stato, coda, fine / 64);
    QByteArray risultato(32, Qt::Uninitialized);
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j)
            risultato[4 * i + j] = char(stato[i] >> (24 - 8 * j));
    return risultato;
}
#endif

} // namespace

QString impronta(const QByteArray& contenuto) {
#if defined(__x86_64__)
    static const bool veloce = istruzioniSha();
    if (veloce) return QString::fromLatin1(sha256Veloce(contenuto).toHex());
#endif
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
    // The SHA-256 of each file is worked out beside the writing of the copies, which
    // spends its time waiting for the disk.
    std::vector<std::future<QString>> impronte;
    impronte.reserve(file.size());
    for (const FileLetto& f : file)
        impronte.push_back(f.contenuto ? std::async(std::launch::async,
                                                    [&c = *f.contenuto] { return impronta(c); })
                                       : std::future<QString>());
    if (!modifica.creaCartella(cartella)) return false;
    QString elenco =
        kIntestazioneElenco + u'\n' + QStringLiteral("conto\t") + codice.trimmed() + u'\n';
    for (const FileLetto& f : file)
        if (!modifica.ripristina(resolveFile(cartella, nomeCopia(f.estensione)), f.contenuto))
            return false;
    for (size_t i = 0; i < file.size(); ++i) {
        const FileLetto& f = file[i];
        elenco += f.estensione.toUpper() + u'\t' +
                  (f.contenuto ? QString::number(f.contenuto->size()) + u'\t' + impronte[i].get()
                               : QString(kNonPresente)) +
                  u'\n';
    }
    return modifica.riscrivi(resolveFile(cartella, ElencoCopia), elenco.toUtf8());
}

LetturaCopia leggiCopia(const QString& cartella, const QString& codice) {
    LetturaCopia lettura;
    const auto incompleta = [&](const QString& perche) {
        lettura.esito = Esito::rifiutato(perche, QStringLiteral("Errore"));
        lettura.valore.clear();
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
                lettura.valore.clear();
                return lettura;
            }
            if (!letto.contenuto) return incompleta(QStringLiteral("manca il file %1").arg(nome));
            if (!numero || letto.contenuto->size() != attesa)
                return incompleta(QStringLiteral("il file %1 non è completo").arg(nome));
            if (!firma.isEmpty() &&
                firma.compare(impronta(*letto.contenuto), Qt::CaseInsensitive) != 0)
                return incompleta(QStringLiteral("il file %1 è danneggiato").arg(nome));
        }
        lettura.valore.push_back(std::move(letto));
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
