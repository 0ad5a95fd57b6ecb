#include "accounts.h"

#include "account_form.h"
#include "account_selection_form.h"
#include "account_sheet_form.h"
#include "common/count_file.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/safe_write.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "platform/desktop.h"
#include "platform/errori_file.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/message_box.h"

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

void mostraErrore(const QString& testo) {
    messageBox(testo, MessageButtons::Ok, MessageIcon::Exclamation, titoloErrore());
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

// The original's error number for a failed read or write of a record file.
qint32 numeroErrore(const RecordFile& file) {
    return file.osErrno() != 0 ? numeroErroreFile(file.osErrno()) : numeroErroreFile(file.error());
}

enum class DopoErrore { Riprova, Continua, Fine };

// Asks whether the damaged count of the archive is to be rebuilt from the accounts
// Conti.dat holds, and rebuilds it on Sì. False when the user said No or the count
// could not be written (the reason is shown).
bool ricostruireConteggioConti(const EsameConteggio& esame) {
    setHourglass(false);
    const QString domanda = domandaRicostruzione({{esame, QStringLiteral("conti")}},
                                                 QStringLiteral("l'archivio dei conti"));
    if (messageBox(domanda, MessageButtons::YesNo, MessageIcon::Exclamation,
                   QStringLiteral("Attenzione"), MessageAnswer::No) != MessageAnswer::Yes)
        return false;
    QString errore;
    if (ricostruisciConteggio(esame, nullptr, &errore)) return true;
    mostraErrore(errore + QStringLiteral("\nL'archivio dei conti non è stato aperto."));
    return false;
}

DopoErrore chiediDopoErrore(const RecordFile& file) {
    const qint16 codice = ErroriFile(numeroErrore(file));
    if (codice == 0) return DopoErrore::Riprova;
    if (codice == 1) return DopoErrore::Continua;
    setHourglass(false);
    messageBox(closingMessage(codice));
    return DopoErrore::Fine;
}

EsameConteggio esaminaArchivio() {
    return esaminaConteggio(percorsoRecConti(), percorsoConti(), Conto::Lunghezza);
}

// Whether the archive on disk is still the one the table was loaded with. A table
// that no longer matches its folder (a load that failed, files changed by
// another program) must not be written back over the archive, nor may an archive
// whose count cannot be trusted be written at all: a new account would take the
// place of account 1.
bool archivioAllineato() {
    if (stato().PercorsoDati.isEmpty()) {
        mostraErrore(testoNessunaCartellaDati());
        return false;
    }
    const EsameConteggio esame = esaminaArchivio();
    if (!esame.utilizzabile()) {
        mostraErrore(descriviDanno(esame) +
                     QStringLiteral("\nL'archivio dei conti non può essere modificato finché "
                                    "il numero dei conti non è ricostruito: scegliere di nuovo "
                                    "la cartella dei dati. Nulla è stato modificato."));
        return false;
    }
    if (esame.conteggio == stato().NumeroConti) return true;
    mostraErrore(QStringLiteral("L'archivio dei conti della cartella dei dati è cambiato "
                                "dall'ultima lettura: nulla è stato modificato. Scegliere di "
                                "nuovo la cartella dei dati per rileggerlo e riprovare."));
    return false;
}

// The account as the archive holds it: each field cut to its width, trailing
// blanks gone, characters the file cannot hold as "?".
Conto comeInArchivio(const Conto& conto) {
    return Conto::fromBytes(conto.toBytes());
}

std::vector<ListItem> lineeConti() {
    const StatoProgramma& s = stato();
    std::vector<ListItem> linee;
    const int ultima = ultimaRiga();
    linee.reserve(size_t(ultima));
    for (int i = 1; i <= ultima; ++i)
        linee.push_back(ListItem{lineaConto(s.TabellaConti[size_t(i)]), i});
    return linee;
}

void aggiungiLinea(const Conto& conto, int riga) {
    const QString linea = lineaConto(conto);
    formHost().form<Form2>().ListaConti->addItem(linea, riga);
    formHost().form<Form7>().List1->addItem(linea, riga);
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

bool eliminaFileConto(const QString& cartella, const QString& codice, QStringList* nonEliminati) {
    if (!nomeRiservato(codice)) return deleteAccountFiles(cartella, codice, nonEliminati);

    // The account's own extensions only: Conti.dat and RecConti.dat stay.
    const auto& estensioni = EstensioniConto;
    const QString base = codice.trimmed();
    const QDir dir(cartella.isEmpty() ? QStringLiteral(".") : cartella);
    bool tutti = true;
    for (const QString& nome : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const bool delConto = std::any_of(estensioni.begin(), estensioni.end(), [&](auto ext) {
            return nome.compare(base + ext, Qt::CaseInsensitive) == 0;
        });
        if (!delConto || QFile::remove(dir.filePath(nome))) continue;
        tutti = false;
        if (nonEliminati) nonEliminati->append(nome);
    }
    return tutti;
}

void riempiListeConti() {
    std::vector<ListItem> linee = lineeConti();
    formHost().form<Form2>().ListaConti->setItems(linee);
    formHost().form<Form7>().List1->setItems(std::move(linee));
}

QString testoNessunaCartellaDati() {
    return QStringLiteral("Nessuna cartella dei dati è in uso: sceglierne una in \"Apri conto\".");
}

void CaricaElencoConti() {
    StatoProgramma& s = stato();
    for (;;) {
        formHost().form<Form2>().ListaConti->clear();
        formHost().form<Form7>().List1->clear();
        if (s.PercorsoDati.isEmpty()) {
            azzeraTabella();
            return;
        }
        // What a rewrite stopped midway left behind is not part of the archive.
        removeRewriteTemporaries(s.PercorsoDati, {QString(ContiFile), QString(RecContiFile)});

        // The count judged with the archive: a damaged count is rebuilt only when the
        // user says so, else nothing is loaded and the archive stays as it is.
        const EsameConteggio esame = esaminaArchivio();
        if (esame.danneggiato()) {
            if (!ricostruireConteggioConti(esame)) {
                azzeraTabella();
                return;
            }
            continue;
        }
        int numero = esame.conteggio;
        if (esame.stato == StatoConteggio::Eccessivo)
            messageBox(testoConteggioEccessivo(esame, QStringLiteral("conti")), MessageButtons::Ok,
                       MessageIcon::Exclamation, QStringLiteral("Attenzione"));

        // An archive that cannot be read is read again to learn why (the error
        // dialog gives its number); what was not read is no account.
        RecordFile archivio(percorsoConti(), Conto::Lunghezza);
        const bool illeggibile = esame.stato == StatoConteggio::RecordIlleggibili;
        const QByteArray bytes = archivio.readRange(1, illeggibile ? 1 : numero);
        if (!archivio.ok()) {
            const DopoErrore dopo = chiediDopoErrore(archivio);
            if (dopo == DopoErrore::Riprova) continue;
            azzeraTabella();
            return;
        }
        if (illeggibile) numero = 0;

        s.TabellaConti.assign(size_t(numero) + 1, Conto{});
        for (int i = 0; i < numero; ++i)
            s.TabellaConti[size_t(i) + 1] = Conto::fromBytes(
                QByteArrayView(bytes).sliced(qsizetype(i) * Conto::Lunghezza, Conto::Lunghezza));
        s.NumeroConti = qint16(numero);
        riempiListeConti();
        return;
    }
}

EsitoConto AggiungiConto(const Conto& nuovo, EsitoCodice* esitoCodice) {
    StatoProgramma& s = stato();
    const EsitoCodice esito = controllaCodiceConto(nuovo.codiceConto);
    if (esitoCodice) *esitoCodice = esito;
    if (esito != EsitoCodice::Valido) {
        mostraErrore(messaggioCodiceConto(esito));
        return EsitoConto::CodiceRifiutato;
    }
    if (s.NumeroConti >= MassimoConti) {
        mostraErrore(testoArchivioPieno());
        return EsitoConto::Rifiutato;
    }
    if (!archivioAllineato()) return EsitoConto::Errore;

    const int riga = s.NumeroConti + 1;
    Conto conto = nuovo;
    conto.numero = qint16(riga);
    conto = comeInArchivio(conto);

    QString errore;
    if (!scriviRecord(percorsoConti(), riga, conto, &errore)) {
        mostraErrore(QStringLiteral("Il conto non è stato salvato: non è stato possibile "
                                    "scrivere l'archivio dei conti (") +
                     errore + QStringLiteral(")."));
        return EsitoConto::Errore;
    }
    // Until the count is written the new record lies beyond it and is not an account.
    if (!scriviContatore(percorsoRecConti(), qint16(riga), &errore)) {
        mostraErrore(QStringLiteral("Il conto non è stato salvato: non è stato possibile "
                                    "scrivere il numero dei conti (") +
                     errore + QStringLiteral(")."));
        return EsitoConto::Errore;
    }

    if (int(s.TabellaConti.size()) <= riga) s.TabellaConti.resize(size_t(riga) + 1);
    s.TabellaConti[size_t(riga)] = conto;
    s.NumeroConti = qint16(riga);
    aggiungiLinea(conto, riga);
    return EsitoConto::Fatto;
}

EsitoConto AggiornaConto(const Conto& campi, EsitoCodice* esitoCodice) {
    StatoProgramma& s = stato();
    const int riga = s.IndiceContoAttivo;
    if (riga < 1 || riga > ultimaRiga()) {
        mostraErrore(QStringLiteral("Nessun conto selezionato: fare doppio clic sul conto da "
                                    "modificare nell'elenco dei conti."));
        return EsitoConto::Rifiutato;
    }
    if (esitoCodice) *esitoCodice = EsitoCodice::Valido;
    const Conto& attuale = s.TabellaConti[size_t(riga)];
    // An account keeps the code it was stored with; a changed code must be a
    // code a new account could have.
    if (campi.codiceConto.left(kLarghezzaCodice).trimmed() != attuale.codiceConto.trimmed()) {
        const EsitoCodice esito = controllaCodiceConto(campi.codiceConto, riga);
        if (esitoCodice) *esitoCodice = esito;
        if (esito != EsitoCodice::Valido) {
            mostraErrore(messaggioCodiceConto(esito));
            return EsitoConto::CodiceRifiutato;
        }
    }
    if (!archivioAllineato()) return EsitoConto::Errore;

    Conto conto = campi;
    conto.numero = qint16(riga);
    conto.riservato = attuale.riservato;
    conto = comeInArchivio(conto);

    QString errore;
    if (!scriviRecord(percorsoConti(), riga, conto, &errore)) {
        mostraErrore(QStringLiteral("Le modifiche non sono state salvate: non è stato possibile "
                                    "scrivere l'archivio dei conti (") +
                     errore + QStringLiteral(")."));
        return EsitoConto::Errore;
    }
    s.TabellaConti[size_t(riga)] = conto;
    riempiListeConti();
    s.IndiceContoAttivo = 0;
    return EsitoConto::Fatto;
}

EsitoConto CancellaConto() {
    StatoProgramma& s = stato();
    const int riga = s.IndiceContoAttivo;
    if (riga < 1 || riga > ultimaRiga() ||
        s.TabellaConti[size_t(riga)].codiceConto.trimmed().isEmpty()) {
        mostraErrore(testoNessunContoScelto());
        return EsitoConto::Rifiutato;
    }
    // Cancel is the default, as at every deletion: Enter keeps the account.
    if (messageBox(testoConfermaCancellazione(), MessageButtons::OkCancel, MessageIcon::Exclamation,
                   QStringLiteral("AVVERTIMENTO!"), MessageAnswer::Cancel) != MessageAnswer::Ok)
        return EsitoConto::Annullato;

    const QString codice = s.TabellaConti[size_t(riga)].codiceConto.trimmed();
    const QString aperto = s.CodiceContoAttivo.trimmed();
    if (!aperto.isEmpty() && aperto.compare(codice, Qt::CaseInsensitive) == 0) {
        messageBox(testoContoAperto(), MessageButtons::Ok, MessageIcon::None,
                   QStringLiteral("attenzione"));
        return EsitoConto::Rifiutato;
    }
    if (!archivioAllineato()) return EsitoConto::Errore;

    // The archive as it is, to put back should the count fail to follow.
    const QString pathConti = resolvePath(percorsoConti());
    const bool esisteva = QFileInfo::exists(pathConti);
    QByteArray primaDellaCancellazione;
    if (esisteva) {
        QFile file(pathConti);
        if (!file.open(QIODevice::ReadOnly)) {
            mostraErrore(QStringLiteral("Il conto non è stato cancellato: non è stato possibile "
                                        "leggere l'archivio dei conti (") +
                         file.errorString() + QStringLiteral(")."));
            return EsitoConto::Errore;
        }
        primaDellaCancellazione = file.readAll();
    }

    const std::vector<Conto> rimasti = contiSenzaRiga(s.TabellaConti, s.NumeroConti, riga);
    QString errore;
    if (!rewriteRecords(pathConti, rimasti, &errore)) {
        mostraErrore(QStringLiteral("Il conto non è stato cancellato: non è stato possibile "
                                    "riscrivere l'archivio dei conti (") +
                     errore + QStringLiteral(")."));
        return EsitoConto::Errore;
    }
    if (!scriviContatore(percorsoRecConti(), qint16(rimasti.size()), &errore)) {
        QString ripristino;
        const bool ripristinato = esisteva
                                      ? rewriteFile(pathConti, primaDellaCancellazione, &ripristino)
                                      : QFile::remove(pathConti);
        QString testo = QStringLiteral("Il conto non è stato cancellato: non è stato possibile "
                                       "scrivere il numero dei conti (") +
                        errore + QStringLiteral(").");
        if (!ripristinato)
            testo += QStringLiteral(" Non è stato possibile neppure ripristinare l'archivio dei "
                                    "conti: controllare la cartella dei dati.");
        mostraErrore(testo);
        return EsitoConto::Errore;
    }

    riempiTabella(s.TabellaConti, s.NumeroConti, rimasti);
    riempiListeConti();
    if (Form10* scheda = formHost().loaded<Form10>()) scheda->svuotaCampi();

    QStringList nonEliminati;
    if (!eliminaFileConto(s.PercorsoDati, codice, &nonEliminati)) {
        mostraErrore(QStringLiteral("Il conto %1 è stato cancellato dall'archivio, ma non è stato "
                                    "possibile eliminare i suoi file: %2.")
                         .arg(codice, nonEliminati.join(QStringLiteral(", "))));
        return EsitoConto::Errore;
    }
    return EsitoConto::Fatto;
}

} // namespace qv
