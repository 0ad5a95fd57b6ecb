// Form15: "Gestione Assegni", issuing, changing and annulling the open account's cheques.
#include "cheques/cheque_form.h"

#include "cheques/book_form.h"
#include "cheques/book_list_form.h"
#include "cheques/cheque_books.h"
#include "cheques/cheque_lists.h"
#include "cheques/situation_form.h"
#include "common/amounts.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/numeric_value.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/movement_files.h"
#include "ledger/open_account.h"
#include "platform/controls.h"
#include "platform/date_check_dialog.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/message_box.h"
#include "platform/result_box.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const QString kErrore = QStringLiteral("ERRORE");

int ultimaRigaFogli() {
    const StatoProgramma& s = stato();
    return std::clamp<int>(s.NumeroFogli, 0, int(s.TabellaFogli.size()) - 1);
}

int ultimaRigaCarnet() {
    const StatoProgramma& s = stato();
    return std::clamp<int>(s.NumeroCarnet, 0, int(s.TabellaCarnet.size()) - 1);
}

// A number the way a plain number-to-text conversion shows it, with "," as the
// decimal mark: "250", "1500,5".
QString testoSemplice(double valore) {
    return formatNumber(valore, QString());
}

QLabel* etichettaValore(const QString& nome, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(nome);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(80);
    return label;
}

} // namespace

// --- The form ----------------------------------------------------------------------

Form15::Form15(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form15"));
    setCaption(QStringLiteral("Gestione Assegni"));
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });

    creaTestata();
    QGroupBox* elenco = creaElenco();
    creaCampiAssegno();
    creaPulsanti();
    disponi(elenco);
    collegaControlli();
}

// The account and the book shown above.
void Form15::creaTestata() {
    NrConto = etichettaValore(QStringLiteral("NrConto"), this);
    banca = etichettaValore(QStringLiteral("banca"), this);
    banca->setMinimumWidth(260);
    NrCarnet = etichettaValore(QStringLiteral("NrCarnet"), this);
    NrFogliCarnet = etichettaValore(QStringLiteral("NrFogliCarnet"), this);
    NrFogliCarnet->setMinimumWidth(40);
}

// The book's cheques, with their column headings, in a frame of their own.
QGroupBox* Form15::creaElenco() {
    auto* elenco = new QGroupBox(QStringLiteral("Elenco Assegni"), this);
    List1 = new ListBox(QStringLiteral("List1"), elenco);
    List1->setFixedPitch(true);
    List1->setToolTip(QStringLiteral("elenco assegni del carnet selezionato"));
    const QFontMetrics metriche(List1->font());
    List1->setMinimumWidth(metriche.horizontalAdvance(QString(40, QLatin1Char('0'))));
    List1->setMinimumHeight(metriche.height() * 11);
    // Over "501        05/11/2000            250": the cheque number's 11 places, the
    // date and the amount's 14.
    auto* colonne = new QLabel(QStringLiteral("Nr. Ass.").leftJustified(11) +
                                   QStringLiteral("Data").leftJustified(11) +
                                   QStringLiteral("Importo").rightJustified(14),
                               elenco);
    QFont intestazione = List1->font();
    intestazione.setBold(true);
    colonne->setFont(intestazione);
    // The headings start where the list's text does, inside its frame.
    colonne->setContentsMargins(List1->frameWidth() + 3, 0, 0, 0);
    auto* layoutElenco = new QVBoxLayout(elenco);
    layoutElenco->addWidget(colonne);
    layoutElenco->addWidget(List1, 1);
    return elenco;
}

void Form15::creaCampiAssegno() {
    NrAssegno = etichettaValore(QStringLiteral("NrAssegno"), this);
    DataAssegno = new DateField(QStringLiteral("DataAssegno"), this);
    DataAssegno->setMaximumWidth(120);
    IMPORTO = new AmountField(QStringLiteral("IMPORTO"), this);
    IMPORTO->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    IMPORTO->setMaximumWidth(160);
    traente = new QLineEdit(this);
    traente->setObjectName(QStringLiteral("traente"));
    traente->setMaxLength(30);
    NoteAss = new QLineEdit(this);
    NoteAss->setObjectName(QStringLiteral("NoteAss"));
    NoteAss->setMaxLength(30);
    const int larghezzaTesti = QFontMetrics(traente->font()).horizontalAdvance(QString(32, 'M'));
    traente->setMinimumWidth(larghezzaTesti);
}

void Form15::creaPulsanti() {
    Salva = namedButton(this, QStringLiteral("Salva"), QStringLiteral("Conferma"),
                        QStringLiteral("Conferma"));
    Command3D8 = namedButton(this, QStringLiteral("Command3D8"), QStringLiteral("Uscita"),
                             QStringLiteral("Uscita"));
    Command3D1 = namedButton(this, QStringLiteral("Command3D1"), QStringLiteral("Archivio carnet"),
                             QStringLiteral("Archivio carnet"));
    Command3D9 =
        namedButton(this, QStringLiteral("Command3D9"), QStringLiteral("Situazione assegni"),
                    QStringLiteral("Situazione assegna"));
}

void Form15::disponi(QGroupBox* elenco) {
    // The account and the book.
    auto* testata = new QGridLayout;
    testata->addWidget(new QLabel(QStringLiteral("Conto nr."), this), 0, 0);
    testata->addWidget(NrConto, 0, 1);
    testata->addWidget(banca, 0, 2, 1, 3);
    testata->addWidget(new QLabel(QStringLiteral("Nr. Carnet"), this), 1, 0);
    testata->addWidget(NrCarnet, 1, 1);
    testata->addWidget(NrFogliCarnet, 1, 2, Qt::AlignLeft);
    testata->addWidget(new QLabel(QStringLiteral("fogli"), this), 1, 3, Qt::AlignLeft);
    testata->setColumnStretch(4, 1);

    // The cheque.
    auto* assegno = new QGridLayout;
    assegno->addWidget(new QLabel(QStringLiteral("Ass. Numero"), this), 0, 0);
    assegno->addWidget(NrAssegno, 0, 1, Qt::AlignLeft);
    assegno->addWidget(new QLabel(QStringLiteral("Data"), this), 1, 0);
    assegno->addWidget(DataAssegno, 1, 1, Qt::AlignLeft);
    assegno->addWidget(new QLabel(QStringLiteral("Importo"), this), 2, 0);
    assegno->addWidget(IMPORTO, 2, 1, Qt::AlignLeft);
    assegno->addWidget(new QLabel(QStringLiteral("a favore di"), this), 3, 0);
    assegno->addWidget(traente, 3, 1);
    assegno->addWidget(new QLabel(QStringLiteral("Note"), this), 4, 0);
    assegno->addWidget(NoteAss, 4, 1);
    assegno->setRowStretch(5, 1);
    // The fields are read by the texts of the labels beside them.
    DataAssegno->setAccessibleName(QStringLiteral("Data"));
    IMPORTO->setAccessibleName(QStringLiteral("Importo"));
    traente->setAccessibleName(QStringLiteral("a favore di"));
    NoteAss->setAccessibleName(QStringLiteral("Note"));

    auto* centro = new QHBoxLayout;
    centro->addWidget(elenco, 1);
    centro->addSpacing(8);
    centro->addLayout(assegno);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(Salva);
    pulsanti->addWidget(Command3D1);
    pulsanti->addWidget(Command3D9);
    pulsanti->addStretch(1);
    pulsanti->addWidget(Command3D8);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(testata);
    layout->addSpacing(6);
    layout->addLayout(centro, 1);
    layout->addSpacing(6);
    layout->addLayout(pulsanti);
}

// The buttons' and the fields' handlers.
void Form15::collegaControlli() {
    connect(Salva, &QPushButton::clicked, this, handler([this] { Salva_Click(); }));
    connect(Command3D8, &QPushButton::clicked, this, handler([this] { Command3D8_Click(); }));
    connect(Command3D1, &QPushButton::clicked, this, handler([this] { Command3D1_Click(); }));
    connect(Command3D9, &QPushButton::clicked, this, handler([this] { Command3D9_Click(); }));
    connect(List1, &ListBox::rowClicked, this, handler([this] { List1_Click(); }));
    onKeyPress(DataAssegno, [this](int& k) { DataAssegno_KeyPress(k); });
    onGotFocus(IMPORTO, [this] { IMPORTO_GotFocus(); });
    connect(IMPORTO, &QLineEdit::textEdited, this, handler([this] { IMPORTO_Change(); }));
    onKeyPress(IMPORTO, [this](int& k) { IMPORTO_KeyPress(k); });
    onGotFocus(traente, [this] { traente_GotFocus(); });
    connect(traente, &QLineEdit::textEdited, this, handler([this] { traente_Change(); }));
    onKeyPress(traente, [this](int& k) { traente_KeyPress(k); });
    // A full note stays (Enter goes on to "Conferma"): a key typed past its end must not
    // land on a button.
    refuseWhenFull(NoteAss, 30);
    onKeyPress(NoteAss, [this](int& k) { NoteAss_KeyPress(k); });
}

void Form15::Form_Load() {
    applicaColoriElenchi({List1});
    IMPORTO->setFormato(stato().FormatoImporti);
    mostraConto();
}

void Form15::Form_Activate() {
    const StatoProgramma& s = stato();
    svuotaCampi();
    mostraConto();
    if (contoMostrato_ != s.CodiceContoAttivo) {
        // Another account was opened since the last showing: nothing of the old
        // account's books stays on the form.
        contoMostrato_ = s.CodiceContoAttivo;
        CarnetScelto = 0;
        List1->clear();
        FogliElencati.clear();
        NrCarnet->clear();
        NrFogliCarnet->clear();
        NrAssegno->clear();
        stato().IndiceFoglioScelto = 0;
    }

    if (s.NumeroCarnet <= 0) {
        messageBox(QStringLiteral("Nessun Carnet in memoria; devi prima caricare il carnet"),
                   MessageButtons::Ok, MessageIcon::Exclamation, kErrore);
        formHost().hide(*this);
        return;
    }
    // A book deleted meanwhile is no longer shown.
    const double mostrato = valoreNumerico(NrCarnet->text().trimmed());
    const bool carnetSparito = !NrCarnet->text().isEmpty() && mostrato > s.NumeroCarnet;
    if (CarnetScelto == 0 || carnetSparito) {
        // Until the user picks a book, the first cheque not yet booked of the newest
        // book is proposed.
        mostraCarnet(s.NumeroCarnet);
    } else if (!NrCarnet->text().isEmpty()) {
        // The book last shown stays; its lines are brought up to date.
        const int foglio = foglioSelezionato();
        ElencaFogliCarnet();
        for (int r = 0; r < List1->count(); ++r)
            if (foglio != 0 && List1->data(r) == foglio) List1->setCurrentRow(r);
    }
    DataAssegno->setFocus();
}

void Form15::svuotaCampi() {
    IMPORTO->setFormato(stato().FormatoImporti);
    IMPORTO->setText(QStringLiteral("0"));
    DataAssegno->setTesto(QString());
    traente->clear();
    NoteAss->clear();
}

void Form15::mostraConto() {
    const StatoProgramma& s = stato();
    const int riga = s.IndiceContoAttivo;
    if (riga >= 1 && riga < int(s.TabellaConti.size())) {
        banca->setText(s.TabellaConti[size_t(riga)].nomeBanca.trimmed());
        NrConto->setText(s.TabellaConti[size_t(riga)].codiceConto.trimmed());
    } else {
        banca->clear();
        NrConto->setText(s.CodiceContoAttivo.trimmed());
    }
}

void Form15::mostraCarnet(qint16 numeroCarnet, bool soloLibero) {
    const StatoProgramma& s = stato();
    NrCarnet->setText(QString::number(numeroCarnet));
    ElencaFogliCarnet();
    if (soloLibero) {
        NrAssegno->clear();
        stato().IndiceFoglioScelto = 0;
        List1->setCurrentRow(-1);
    }
    int fogli = 0;
    if (numeroCarnet >= 1 && numeroCarnet <= ultimaRigaCarnet()) {
        const CarnetAssegni& c = s.TabellaCarnet[size_t(numeroCarnet)];
        fogli = c.ultimoAssegno - c.primoAssegno + 1;
    }
    NrFogliCarnet->setText(QString::number(fogli));
    const int n = std::min<int>(fogli, int(FogliElencati.size()));
    for (int i = 0; i < n; ++i) {
        if (FogliElencati[size_t(i)].movimento != 0) continue;
        NrAssegno->setText(QString::number(FogliElencati[size_t(i)].numeroAssegno));
        stato().IndiceFoglioScelto = FogliElencati[size_t(i)].progressivo;
        List1->setCurrentRow(i);
        break;
    }
}

int Form15::foglioSelezionato() const {
    const StatoProgramma& s = stato();
    const int riga = s.IndiceFoglioScelto;
    if (riga < 1 || riga > ultimaRigaFogli()) return 0;
    if (NrAssegno->text().trimmed().isEmpty()) return 0;
    const FoglioAssegno& f = s.TabellaFogli[size_t(riga)];
    if (f.numeroAssegno != valoreNumerico(NrAssegno->text().trimmed())) return 0;
    if (f.numeroCarnet != valoreNumerico(NrCarnet->text().trimmed())) return 0;
    return riga;
}

void Form15::mostraFoglio(const FoglioAssegno& foglio) {
    const QString data = foglio.dataAssegno.trimmed();
    DataAssegno->setTesto(data == QLatin1String("00/00/0000") ? QString() : data);
    IMPORTO->setText(testoSemplice(foglio.importo * stato().FattoreValuta));
    traente->setText(foglio.traenteAssegno);
    NoteAss->setText(foglio.noteAssegno);
    NrCarnet->setText(QString::number(foglio.numeroCarnet));
    NrAssegno->setText(QString::number(foglio.numeroAssegno));
}

void Form15::rifiuta(const QString& testo, bool beepPrima) {
    setHourglass(false);
    if (beepPrima) beep();
    messageBox(testo, MessageButtons::Ok, MessageIcon::Exclamation, kErrore);
    DataAssegno->setFocus();
}

void Form15::Salva_Click() {
    CarnetScelto = 1;

    if (DataAssegno->isBlank() || DataAssegno->testo().trimmed().isEmpty()) {
        rifiuta(QStringLiteral("Campo data operazione obbligatorio"), true);
        return;
    }
    const int foglio = foglioSelezionato();
    if (foglio == 0) {
        rifiuta(testoAssegnoNonSelezionato(), true);
        return;
    }
    const QString data = DataAssegno->testo();
    if (!dataAssegnoValida(data)) return;
    const int carnet = stato().TabellaFogli[size_t(foglio)].numeroCarnet;
    if (!dataNonPrimaDelRitiro(carnet, data)) return;
    double importo = 0;
    if (!importoDigitato(importo)) return;
    bool annullato = false;
    if (importo == 0) {
        if (!annullamentoConfermato()) return;
        annullato = true;
        traente->setText(QStringLiteral("Annullato"));
    }

    Hourglass clessidra;
    int numero = 0;
    const Esito salvato = salvaAssegno(datiAssegno(foglio, data, importo, annullato), &numero);
    const QString errore = salvato.testo;
    if (!salvato.ok()) {
        setHourglass(false);
        avvisaErroreFile(errore);
        DataAssegno->setFocus();
        return;
    }
    aggiornaDopoAssegno(numero, carnet, errore);
}

// A possible date; else it is emptied and takes the focus.
bool Form15::dataAssegnoValida(const QString& data) {
    const DateParts parti = splitDateText(data);
    qint16 esito = 1;
    ControllaData(parti.giorno, parti.mese, parti.anno, esito);
    if (esito != 0) return true;
    DataAssegno->setTesto(QString());
    DataAssegno->setFocus();
    setHourglass(false);
    return false;
}

// A cheque cannot be dated before its book was withdrawn.
bool Form15::dataNonPrimaDelRitiro(int carnet, const QString& data) {
    const StatoProgramma& s = stato();
    if (carnet >= 1 && carnet <= ultimaRigaCarnet() &&
        DataInNumero(s.TabellaCarnet[size_t(carnet)].dataRitiro) > DataInNumero(data)) {
        rifiuta(QStringLiteral("Data Movimento precedente rispetto alla data di prelievo del "
                               "Carnet; Correggi i dati e riprova"),
                false);
        DataAssegno->setTesto(QString());
        return false;
    }
    return true;
}

// The amount, read the Italian way ("0" when left empty); false after a refusal.
bool Form15::importoDigitato(double& importo) {
    if (IMPORTO->text().trimmed().isEmpty()) IMPORTO->setText(QStringLiteral("0"));
    const std::optional<double> letto = parseAmount(IMPORTO->text());
    if (const QString rifiuto = amountRefusalMessage(IMPORTO->text(), stato().FattoreValuta);
        !rifiuto.isEmpty()) {
        setHourglass(false);
        messageBox(rifiuto, MessageButtons::Ok, MessageIcon::Exclamation, kErrore);
        IMPORTO->setFocus();
        return false;
    }
    importo = *letto;
    return true;
}

// A zero amount annuls the cheque, once the user confirms it.
bool Form15::annullamentoConfermato() {
    setHourglass(false);
    const MessageAnswer risposta = messageBox(
        QStringLiteral("Attenzione non è stato inserito l'importo dell'assegno,") +
            QStringLiteral(" se si tratta di un assegno annullato conferma l'inserimento"),
        MessageButtons::OkCancel, MessageIcon::Exclamation, QStringLiteral("AVVERTIMENTO!"),
        MessageAnswer::Cancel);
    if (risposta == MessageAnswer::Ok) return true;
    DataAssegno->setFocus();
    return false;
}

// The cheque as it will be written on leaf `foglio`.
DatiAssegno Form15::datiAssegno(int foglio, const QString& data, double importo,
                                bool annullato) const {
    DatiAssegno dati;
    dati.foglio = foglio;
    dati.data = data;
    dati.importo = importo;
    dati.traente = traente->text();
    dati.note = NoteAss->text();
    dati.annullato = annullato;
    return dati;
}

// The cheque of book `carnet` is booked as movement `numero`; `errore` is what its write
// had to say.
void Form15::aggiornaDopoAssegno(int numero, int carnet, const QString& errore) {
    // The movement form shows the cheque's movement in its list; a movement it held
    // for change is the one just written, so it lets it go.
    if (const auto& registrato = richiesteAssegni().assegnoRegistrato) registrato(numero);
    ElencaSituazioneAssegni();
    // An annulment (or its reversal) shows at once in the annulled cheques.
    ElencaAssegniAnnullati();

    // The entry starts afresh on the book's first leaf never booked, as when the form
    // opens, so that the next cheque typed does not overwrite this one; with every leaf
    // booked none is selected, and "Conferma" asks for one.
    svuotaCampi();
    mostraCarnet(qint16(carnet), true);
    setHourglass(false);
    if (!errore.isEmpty()) avvisaErroreFile(errore);
    DataAssegno->setFocus();
}

void Form15::Command3D8_Click() {
    formHost().hide(*this);
    if (const auto& riprendi = richiesteAssegni().immissioneDaRiprendere) riprendi();
}

void Form15::Command3D1_Click() {
    const int riga = mostraElencoCarnet(ElencoPerAssegni);
    if (riga >= 1 && riga <= ultimaRigaCarnet()) {
        mostraCarnet(stato().TabellaCarnet[size_t(riga)].numeroCarnet);
        CarnetScelto = 1;
    }
    // No cheque is selected until the user clicks one in the list.
    IMPORTO->clear();
    traente->clear();
    NrAssegno->clear();
    stato().IndiceFoglioScelto = 0;
    List1->setCurrentRow(-1);
}

void Form15::Command3D9_Click() {
    mostraSituazioneAssegni();
}

void Form15::List1_Click() {
    RichiamaFoglioSelezionato();
}

void Form15::DataAssegno_KeyPress(int& keyAscii) {
    const bool cifra = keyAscii >= '0' && keyAscii <= '9';
    if (cifra || keyAscii == '/' || keyAscii == 8) return;
    beep();
    keyAscii = 0;
}

void Form15::IMPORTO_GotFocus() {
    if (IMPORTO->text() == QLatin1String("0")) IMPORTO->clear();
}

void Form15::IMPORTO_Change() {
    if (IMPORTO->text().size() == 10) traente->setFocus();
}

void Form15::IMPORTO_KeyPress(int& keyAscii) {
    if (keyAscii == 13) {
        if (!IMPORTO->text().isEmpty()) traente->setFocus();
        keyAscii = 0;
        return;
    }
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8) return;
    // One decimal comma, when the amounts have decimals.
    if (keyAscii == ',' && stato().ImpostazioniCorrenti.numeroDecimali > 0 &&
        !IMPORTO->text().contains(QLatin1Char(',')))
        return;
    keyAscii = 0;
}

void Form15::traente_GotFocus() {
    if (const std::optional<double> valore = parseAmount(IMPORTO->text()))
        IMPORTO->setText(formatNumber(*valore, stato().FormatoImporti));
}

void Form15::traente_Change() {
    if (traente->text().size() >= 30) NoteAss->setFocus();
}

void Form15::traente_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    if (!traente->text().isEmpty()) NoteAss->setFocus();
}

void Form15::NoteAss_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    if (!traente->text().isEmpty()) Salva->setFocus();
}

// --- Procedures ----------------------------------------------------------------------

void ElencaFogliCarnet() {
    Form15& form = formHost().form<Form15>();
    const StatoProgramma& s = stato();
    const auto numero = qint16(valoreNumerico(form.NrCarnet->text().trimmed()));
    form.FogliElencati = fogliDelCarnet(numero);
    std::vector<ListItem> righe;
    righe.reserve(form.FogliElencati.size());
    for (const FoglioElencato& f : form.FogliElencati)
        righe.push_back({lineaFoglioCarnet(s.TabellaFogli[size_t(f.progressivo)], s.FattoreValuta,
                                           s.FormatoImporti),
                         f.progressivo});
    form.List1->setItems(std::move(righe));
}

void RichiamaFoglioSelezionato() {
    Form15& form = formHost().form<Form15>();
    const StatoProgramma& s = stato();
    const int riga = form.List1->currentRow();
    const int foglio = riga >= 0 ? form.List1->data(riga) : 0;
    // The line must still stand for the leaf it was listed for.
    const bool valida = foglio >= 1 && foglio <= ultimaRigaFogli() &&
                        riga < int(form.FogliElencati.size()) &&
                        form.FogliElencati[size_t(riga)].numeroAssegno ==
                            s.TabellaFogli[size_t(foglio)].numeroAssegno;
    if (!valida) {
        messageBox(testoAssegnoNonSelezionato(), MessageButtons::Ok, MessageIcon::Exclamation,
                   kErrore);
        return;
    }
    stato().IndiceFoglioScelto = qint16(foglio);
    form.mostraFoglio(s.TabellaFogli[size_t(foglio)]);
    form.DataAssegno->setFocus();
}

void mostraFormAssegni() {
    formHost().showModal(formHost().form<Form15>());
}

void gestioneAssegni() {
    Form15& form = formHost().form<Form15>();
    form.DataAssegno->setTesto(QString());
    form.IMPORTO->clear();
    form.traente->clear();
    form.NrAssegno->clear();
    formHost().showModal(form);
}

void mostraFormAssegniNonModale() {
    formHost().show(formHost().form<Form15>());
}

} // namespace qv
