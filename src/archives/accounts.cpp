#include "archives/accounts.h"

#include "common/count_file.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "common/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr int kLarghezzaCodice = 12;
constexpr int kLarghezzaBanca = 45;

const QString& titoloErrore() {
    static const QString titolo = QStringLiteral("ERRORE");
    return titolo;
}

Esito errore(const QString& testo) {
    return Esito::rifiutato(testo, titoloErrore());
}

Esito fallito(const QString& testo) {
    return Esito::fallito(testo, titoloErrore());
}

// The last row of the table that holds an account.
int ultimaRiga() {
    const StatoProgramma& s = stato();
    return std::clamp<int>(s.NumeroConti, 0, int(s.TabellaConti.size()) - 1);
}

// The base names of the archive's own files: an account named so would have
// them among its files.
bool nomeRiservato(const QString& codice) {
    const QString base = codice.trimmed();
    return base.compare(QStringLiteral("Conti"), Qt::CaseInsensitive) == 0 ||
           base.compare(QStringLiteral("RecConti"), Qt::CaseInsensitive) == 0;
}

bool carattereAmmesso(QChar c) {
    static const QString vietati = QStringLiteral("./\\:*?\"<>|");
    if (vietati.contains(c)) return false;
    if (c.category() == QChar::Other_Control || c.isSurrogate()) return false;
    // A character the archive cannot hold would come back as "?".
    return toCp1252(QString(c)).at(0) != '?';
}

EsameConteggio esaminaArchivio() {
    return esaminaConteggio(percorsoRecConti(), percorsoConti(), Conto::Lunghezza);
}

// Whether the archive on disk is still the one the table was loaded with. A table
// that no longer matches its folder (a load that failed, files changed by
// another program) must not be written back over the archive, nor may an archive
// whose count cannot be trusted be written at all: a new account would take the
// place of account 1.
Esito archivioAllineato() {
    if (stato().PercorsoDati.isEmpty()) return fallito(testoNessunaCartellaDati());
    const EsameConteggio esame = esaminaArchivio();
    if (!esame.utilizzabile())
        return fallito(descriviDanno(esame) +
                       QStringLiteral("\nL'archivio dei conti non può essere modificato finché "
                                      "il numero dei conti non è ricostruito: scegliere di nuovo "
                                      "la cartella dei dati. Nulla è stato modificato."));
    if (esame.conteggio == stato().NumeroConti) return Esito::fatto();
    return fallito(QStringLiteral("L'archivio dei conti della cartella dei dati è cambiato "
                                  "dall'ultima lettura: nulla è stato modificato. Scegliere di "
                                  "nuovo la cartella dei dati per rileggerlo e riprovare."));
}

// The account as the archive holds it: each field cut to its width, trailing
// blanks gone, characters the file cannot hold as "?".
Conto comeInArchivio(const Conto& conto) {
    return Conto::fromBytes(conto.toBytes());
}

Esito rifiutoCodice(EsitoCodice esito) {
    // The code is what has to change: the focus goes back to it, emptied when it is the
    // code of another account.
    Esito e = errore(messaggioCodiceConto(esito));
    e.campo = QStringLiteral("CodConto");
    e.svuotaCampo = esito == EsitoCodice::Duplicato;
    return e;
}

void azzeraTabella() {
    StatoProgramma& s = stato();
    s.NumeroConti = 0;
    s.TabellaConti.assign(1, Conto{});
}

} // namespace

QString percorsoConti() {
    return stato().PercorsoDati + ContiFile;
}

QString percorsoRecConti() {
    return stato().PercorsoDati + RecContiFile;
}

QString lineaConto(const Conto& conto) {
    return conto.codiceConto.leftJustified(kLarghezzaCodice, QLatin1Char(' '), true) +
           QStringLiteral(" - ") +
           conto.nomeBanca.leftJustified(kLarghezzaBanca, QLatin1Char(' '), true);
}

QString codiceDellaLinea(const QString& linea) {
    return linea.left(kLarghezzaCodice).trimmed();
}

EsitoCodice controllaCodiceConto(const QString& codice, int rigaEsclusa) {
    const QString campo = codice.left(kLarghezzaCodice);
    const QString chiave = campo.trimmed();
    if (chiave.isEmpty()) return EsitoCodice::Vuoto;

    // A code that cannot name a file in the folder is refused whatever else is true of
    // it, a code already in the archive too.
    if (!accountCodeNamesFile(chiave)) return EsitoCodice::NonValido;

    const StatoProgramma& s = stato();
    const int ultima = ultimaRiga();
    for (int i = 1; i <= ultima; ++i) {
        if (i == rigaEsclusa) continue;
        if (s.TabellaConti[size_t(i)].codiceConto.trimmed().compare(chiave, Qt::CaseInsensitive) ==
            0)
            return EsitoCodice::Duplicato;
    }

    if (campo.at(0).isSpace()) return EsitoCodice::NonValido;
    if (!std::all_of(campo.begin(), campo.end(), carattereAmmesso)) return EsitoCodice::NonValido;
    if (nomeRiservato(chiave)) return EsitoCodice::Riservato;
    return EsitoCodice::Valido;
}

QString messaggioCodiceConto(EsitoCodice esito) {
    switch (esito) {
    case EsitoCodice::Valido:
        return {};
    case EsitoCodice::Vuoto:
        return testoCodiceObbligatorio();
    case EsitoCodice::Duplicato:
        return testoContoEsistente();
    case EsitoCodice::NonValido:
        return QStringLiteral("Il nr. di conto non può cominciare con uno spazio né contenere i "
                              "caratteri . / \\ : * ? \" < > | o caratteri di controllo, i dati "
                              "inseriti non possono essere salvati. Cambiare il nr. di conto e "
                              "riprovare.");
    case EsitoCodice::Riservato:
        return QStringLiteral("I nomi Conti e RecConti sono riservati ai file dell'archivio dei "
                              "conti, i dati inseriti non possono essere salvati. Cambiare il nr. "
                              "di conto e riprovare.");
    }
    return {};
}

QString testoContoEsistente() {
    return QStringLiteral("Si è inserito un numero di conto già esistente, i dati inseriti non "
                          "possono essere salvati. Cambiare il nr. di conto e riprovare.");
}

QString testoCodiceObbligatorio() {
    return QStringLiteral("Nr. di conto obbligatorio");
}

QString testoConfermaCancellazione() {
    return QStringLiteral("Attenzione il conto selezionato verrà cancellato") +
           QStringLiteral(" tutti i dati verranno irrimediabilmente persi. Vuoi continuare ?");
}

QString testoContoAperto() {
    return QStringLiteral(
        "Non si può cancellare il conto sul quale si lavora, devi prima chiudere il conto");
}

QString testoNessunContoScelto() {
    return QStringLiteral("Nessun conto selezionato: fare doppio clic sul conto da cancellare "
                          "nell'elenco dei conti.");
}

QString testoArchivioPieno() {
    return QStringLiteral("L'archivio contiene già %1 conti, il numero massimo: non si possono "
                          "aggiungere altri conti.")
        .arg(MassimoConti);
}

std::vector<Conto> contiSenzaRiga(const std::vector<Conto>& tabella, int numeroConti, int riga) {
    std::vector<Conto> rimasti;
    const int ultima = std::min<int>(numeroConti, int(tabella.size()) - 1);
    rimasti.reserve(size_t(std::max(ultima, 0)));
    for (int i = 1; i <= ultima; ++i) {
        if (i == riga) continue;
        Conto conto = tabella[size_t(i)];
        conto.numero = qint16(rimasti.size() + 1);
        rimasti.push_back(conto);
    }
    return rimasti;
}

std::vector<RigaConto> righeConti() {
    const StatoProgramma& s = stato();
    std::vector<RigaConto> linee;
    const int ultima = ultimaRiga();
    linee.reserve(size_t(ultima));
    for (int i = 1; i <= ultima; ++i)
        linee.push_back({lineaConto(s.TabellaConti[size_t(i)]), i});
    return linee;
}

QString testoNessunaCartellaDati() {
    return QStringLiteral("Nessuna cartella dei dati è in uso: sceglierne una in \"Apri conto\".");
}

LetturaConti leggiArchivioConti() {
    StatoProgramma& s = stato();
    LetturaConti lettura;
    if (s.PercorsoDati.isEmpty()) {
        azzeraTabella();
        lettura.stato = LetturaConti::Stato::NessunaCartella;
        return lettura;
    }
    // A change of the folder's files that a kill stopped midway is put back first.
    lettura.ripristino = testoRipristino(recoverInterrupted(s.PercorsoDati));
    // What a rewrite stopped midway left behind is not part of the archive.
    removeRewriteTemporaries(s.PercorsoDati, {QString(ContiFile), QString(RecContiFile)});

    // The count judged with the archive: a damaged count is rebuilt only when the user
    // says so, else nothing is loaded and the archive stays as it is.
    lettura.esame = esaminaArchivio();
    const EsameConteggio& esame = lettura.esame;
    if (esame.danneggiato()) {
        azzeraTabella();
        lettura.stato = LetturaConti::Stato::Danneggiato;
        return lettura;
    }
    int numero = esame.conteggio;
    if (esame.stato == StatoConteggio::Eccessivo)
        lettura.avviso = testoConteggioEccessivo(esame, QStringLiteral("conti"));

    // An archive that cannot be read is read again to learn why (the error dialog gives
    // its number); what was not read is no account.
    RecordFile archivio(percorsoConti(), Conto::Lunghezza);
    const bool illeggibile = esame.stato == StatoConteggio::RecordIlleggibili;
    const QByteArray bytes = archivio.readRange(1, illeggibile ? 1 : numero);
    if (!archivio.ok()) {
        azzeraTabella();
        lettura.stato = LetturaConti::Stato::Illeggibile;
        lettura.osErrno = archivio.osErrno();
        lettura.errore = archivio.error();
        return lettura;
    }
    if (illeggibile) numero = 0;

    s.TabellaConti.assign(size_t(numero) + 1, Conto{});
    for (int i = 0; i < numero; ++i)
        s.TabellaConti[size_t(i) + 1] = Conto::fromBytes(
            QByteArrayView(bytes).sliced(qsizetype(i) * Conto::Lunghezza, Conto::Lunghezza));
    s.NumeroConti = qint16(numero);
    return lettura;
}

QString domandaRicostruzioneConti(const EsameConteggio& esame) {
    return domandaRicostruzione({{esame, QStringLiteral("conti")}},
                                QStringLiteral("l'archivio dei conti"));
}

Esito ricostruisciConteggioConti(const EsameConteggio& esame) {
    const Esito ricostruito = ricostruisciConteggio(esame);
    if (ricostruito.ok()) return Esito::fatto();
    return fallito(ricostruito.testo +
                   QStringLiteral("\nL'archivio dei conti non è stato aperto."));
}

Esito AggiungiConto(const Conto& nuovo, EsitoCodice* esitoCodice) {
    StatoProgramma& s = stato();
    const EsitoCodice esito = controllaCodiceConto(nuovo.codiceConto);
    if (esitoCodice) *esitoCodice = esito;
    if (esito != EsitoCodice::Valido) return rifiutoCodice(esito);
    if (s.NumeroConti >= MassimoConti) return errore(testoArchivioPieno());
    if (Esito allineato = archivioAllineato(); !allineato.ok()) return allineato;

    const int riga = s.NumeroConti + 1;
    Conto conto = nuovo;
    conto.numero = qint16(riga);
    conto = comeInArchivio(conto);

    QString motivo;
    if (!scriviRecord(percorsoConti(), riga, conto, &motivo))
        return fallito(QStringLiteral("Il conto non è stato salvato: non è stato possibile "
                                      "scrivere l'archivio dei conti (") +
                       motivo + QStringLiteral(")."));
    // Until the count is written the new record lies beyond it and is not an account.
    if (!scriviContatore(percorsoRecConti(), qint16(riga), &motivo))
        return fallito(QStringLiteral("Il conto non è stato salvato: non è stato possibile "
                                      "scrivere il numero dei conti (") +
                       motivo + QStringLiteral(")."));

    if (int(s.TabellaConti.size()) <= riga) s.TabellaConti.resize(size_t(riga) + 1);
    s.TabellaConti[size_t(riga)] = conto;
    s.NumeroConti = qint16(riga);
    return Esito::fatto();
}

Esito AggiornaConto(const Conto& campi, EsitoCodice* esitoCodice) {
    StatoProgramma& s = stato();
    const int riga = s.IndiceContoAttivo;
    if (riga < 1 || riga > ultimaRiga())
        return errore(QStringLiteral("Nessun conto selezionato: fare doppio clic sul conto da "
                                     "modificare nell'elenco dei conti."));
    if (esitoCodice) *esitoCodice = EsitoCodice::Valido;
    const Conto& attuale = s.TabellaConti[size_t(riga)];
    // An account keeps the code it was stored with; a changed code must be a
    // code a new account could have.
    if (campi.codiceConto.left(kLarghezzaCodice).trimmed() != attuale.codiceConto.trimmed()) {
        const EsitoCodice esito = controllaCodiceConto(campi.codiceConto, riga);
        if (esitoCodice) *esitoCodice = esito;
        if (esito != EsitoCodice::Valido) return rifiutoCodice(esito);
    }
    if (Esito allineato = archivioAllineato(); !allineato.ok()) return allineato;

    Conto conto = campi;
    conto.numero = qint16(riga);
    conto.riservato = attuale.riservato;
    conto = comeInArchivio(conto);

    QString motivo;
    if (!scriviRecord(percorsoConti(), riga, conto, &motivo))
        return fallito(QStringLiteral("Le modifiche non sono state salvate: non è stato "
                                      "possibile scrivere l'archivio dei conti (") +
                       motivo + QStringLiteral(")."));
    s.TabellaConti[size_t(riga)] = conto;
    s.IndiceContoAttivo = 0;
    return Esito::fatto();
}

Esito controllaContoDaCancellare() {
    const StatoProgramma& s = stato();
    const int riga = s.IndiceContoAttivo;
    if (riga < 1 || riga > ultimaRiga() ||
        s.TabellaConti[size_t(riga)].codiceConto.trimmed().isEmpty())
        return errore(testoNessunContoScelto());
    return Esito::fatto();
}

Esito CancellaConto() {
    StatoProgramma& s = stato();
    if (Esito scelto = controllaContoDaCancellare(); !scelto.ok()) return scelto;
    const int riga = s.IndiceContoAttivo;
    const QString codice = s.TabellaConti[size_t(riga)].codiceConto.trimmed();
    const QString aperto = s.CodiceContoAttivo.trimmed();
    if (!aperto.isEmpty() && aperto.compare(codice, Qt::CaseInsensitive) == 0)
        return Esito::rifiutato(testoContoAperto(), QStringLiteral("attenzione"))
            .conIcona(IconaEsito::Nessuna);
    if (Esito allineato = archivioAllineato(); !allineato.ok()) return allineato;

    // One change: the archive, its count and the account's files go together or not at
    // all.
    const std::vector<Conto> rimasti = contiSenzaRiga(s.TabellaConti, s.NumeroConti, riga);
    const QString nonCancellato = QStringLiteral("Il conto non è stato cancellato: ");
    Transaction modifica(s.PercorsoDati);
    const auto nonRiuscito = [&](const QString& passo) {
        const QString motivo = modifica.error();
        return fallito(nonCancellato + passo + QStringLiteral(" (") + motivo +
                       QStringLiteral(").") + annullaModifica(modifica));
    };
    // Every file it touches is protected at once: one marker for the whole deletion.
    const QStringList fileConto = accountFilesIn(s.PercorsoDati, codice);
    if (!modifica.protect(QStringList{percorsoConti(), percorsoRecConti()} + fileConto))
        return nonRiuscito(QStringLiteral("non è stato possibile prepararne la cancellazione"));
    if (!modifica.rewrite(percorsoConti(), recordsToBytes(rimasti)))
        return nonRiuscito(QStringLiteral("non è stato possibile riscrivere l'archivio dei conti"));
    if (!modifica.writeCount(percorsoRecConti(), qint16(rimasti.size())))
        return nonRiuscito(QStringLiteral("non è stato possibile scrivere il numero dei conti"));
    for (const QString& file : fileConto)
        if (!modifica.remove(file))
            return nonRiuscito(QStringLiteral("non è stato possibile eliminare i suoi file"));
    if (!modifica.commit())
        return nonRiuscito(QStringLiteral("la modifica non ha potuto essere completata"));

    riempiTabella(s.TabellaConti, s.NumeroConti, rimasti);
    return Esito::fatto();
}

} // namespace qv
