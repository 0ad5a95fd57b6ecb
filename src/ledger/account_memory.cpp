#include "ledger/account_memory.h"

#include "common/disk_sync.h"
#include "common/file_names.h"
#include "common/shared_state.h"
#include "common/today.h"

#include <QFile>
#include <QFileInfo>

#include <map>
#include <optional>
#include <sys/stat.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace qv {

namespace {

// What tells one state of a file from another: its size, its times to the nanosecond
// and its inode (a file replaced by a rename has a new one).
struct StatoFile {
    qint64 dimensione = 0;
    qint64 inode = 0;
    qint64 modificaSec = 0, modificaNsec = 0;
    qint64 cambioSec = 0, cambioNsec = 0;
    bool operator==(const StatoFile&) const = default;
};

std::optional<StatoFile> statoFile(const QString& percorso) {
    struct stat st {};
    if (::stat(QFile::encodeName(percorso).constData(), &st) != 0) return std::nullopt;
    return StatoFile{qint64(st.st_size),        qint64(st.st_ino),
                     qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec),
                     qint64(st.st_ctim.tv_sec), qint64(st.st_ctim.tv_nsec)};
}

// The account's files by name (letter case ignored), each with its state.
using StatiFile = std::map<QString, StatoFile>;

QString chiaveFile(const QString& percorso) {
    return QFileInfo(percorso).fileName().toLower();
}

StatiFile statiFileConto(const QString& cartella, const QString& codice) {
    StatiFile stati;
    for (const QString& percorso : accountFilesIn(cartella, codice))
        if (const auto st = statoFile(percorso)) stati[chiaveFile(percorso)] = *st;
    return stati;
}

} // namespace

void tieniMemoriaTraCaricamenti() {
#if defined(__GLIBC__)
    static const bool fatto = [] {
        constexpr int Trattenuta = 64 * 1024 * 1024;
        // Blocks up to 32 MB come from the heap (and so are kept), not from mappings of
        // their own that are given back when freed.
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, Trattenuta);
        return true;
    }();
    Q_UNUSED(fatto);
#endif
}

struct MemoriaConto {
    struct Caricamento {
        QString cartella, codice, oggi;
        quint64 scritture = 0;
        const Movimento* tabella = nullptr;
        qint16 movimenti = 0, carnet = 0, fogli = 0;
        StatiFile file;
    };
    struct Indice {
        QString cartella, codice;
        quint64 scritture = 0;
        const Movimento* tabella = nullptr;
        qint16 movimenti = 0;
        std::optional<StatoFile> ord;
        IndiceAccodamento dati;
    };
    std::optional<Caricamento> caricamento;
    std::optional<Indice> indice;
};

namespace {

MemoriaConto& memoria() {
    auto& m = stato().MemoriaContoAttivo;
    if (!m) m = std::make_shared<MemoriaConto>();
    return *m;
}

} // namespace

void segnaCaricamento() {
    const auto& s = stato();
    MemoriaConto::Caricamento c;
    c.cartella = s.PercorsoDati;
    c.codice = s.CodiceContoAttivo.trimmed();
    c.oggi = DataOggi();
    c.scritture = fileWriteCount(c.cartella);
    c.tabella = s.TabellaMovimenti.data();
    c.movimenti = s.NumeroMovimenti;
    c.carnet = s.NumeroCarnet;
    c.fogli = s.NumeroFogli;
    c.file = statiFileConto(c.cartella, c.codice);
    memoria().caricamento = std::move(c);
}

bool contoInvariatoDalCaricamento() {
    const auto& s = stato();
    const auto& c = memoria().caricamento;
    if (!c || !contoAttivoAperto()) return false;
    return c->cartella == s.PercorsoDati && c->codice == s.CodiceContoAttivo.trimmed() &&
           c->oggi == DataOggi() && c->scritture == fileWriteCount(c->cartella) &&
           c->tabella == s.TabellaMovimenti.data() && c->movimenti == s.NumeroMovimenti &&
           c->carnet == s.NumeroCarnet && c->fogli == s.NumeroFogli &&
           c->file == statiFileConto(c->cartella, c->codice);
}

bool scritturaDerivata(const QString& percorso, const std::function<bool()>& scrivi) {
    const QString cartella = stato().PercorsoDati;
    const quint64 prima = fileWriteCount(cartella);
    if (!scrivi()) return false;
    const quint64 dopo = fileWriteCount(cartella);
    MemoriaConto& m = memoria();
    const auto st = statoFile(percorso);
    if (m.caricamento && m.caricamento->scritture == prima) {
        m.caricamento->scritture = dopo;
        if (st)
            m.caricamento->file[chiaveFile(percorso)] = *st;
        else
            m.caricamento->file.erase(chiaveFile(percorso));
    }
    if (m.indice && m.indice->scritture == prima) {
        m.indice->scritture = dopo;
        if (chiaveFile(percorso) == chiaveFile(fileContoAttivo(ExtOrd))) m.indice->ord = st;
    }
    return true;
}

const IndiceAccodamento* indiceAccodamento() {
    const auto& s = stato();
    const auto& i = memoria().indice;
    if (!i || !contoAttivoAperto()) return nullptr;
    const bool valido =
        i->cartella == s.PercorsoDati && i->codice == s.CodiceContoAttivo.trimmed() &&
        i->scritture == fileWriteCount(i->cartella) && i->tabella == s.TabellaMovimenti.data() &&
        i->movimenti == s.NumeroMovimenti &&
        s.TabellaMovimenti.size() > size_t(std::max<int>(s.NumeroMovimenti, 0)) &&
        i->ord == statoFile(fileContoAttivo(ExtOrd));
    return valido ? &i->dati : nullptr;
}

void segnaIndiceAccodamento(IndiceAccodamento indice) {
    const auto& s = stato();
    MemoriaConto::Indice i;
    i.cartella = s.PercorsoDati;
    i.codice = s.CodiceContoAttivo.trimmed();
    i.scritture = fileWriteCount(i.cartella);
    i.tabella = s.TabellaMovimenti.data();
    i.movimenti = s.NumeroMovimenti;
    i.ord = statoFile(fileContoAttivo(ExtOrd));
    i.dati = std::move(indice);
    memoria().indice = std::move(i);
}

void dimenticaMemoriaConto() {
    stato().MemoriaContoAttivo.reset();
}

void dimenticaIndiceAccodamento() {
    memoria().indice.reset();
}

} // namespace qv
