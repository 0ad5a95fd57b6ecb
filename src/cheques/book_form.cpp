// Form3: "Immissione Carnet Assegni", registering, changing and deleting cheque books.
#include "cheques/book_form.h"

#include "cheques/book_list_form.h"
#include "cheques/cheque_books.h"
#include "cheques/situation_form.h"
#include "common/amounts.h"
#include "common/dates.h"
#include "common/shared_state.h"
#include "ledger/movement_files.h"
#include "ledger/open_account.h"
#include "platform/controls.h"
#include "platform/date_check_dialog.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/requests.h"
#include "platform/result_box.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

void impostaRichiesteAssegni(RichiesteAssegni r) {
    Requests<RichiesteAssegni>::set(std::move(r));
}

const RichiesteAssegni& richiesteAssegni() {
    return Requests<RichiesteAssegni>::get();
}

namespace {

QLabel* casella(const QString& nome, QWidget* parent, int larghezza) {
    auto* label = new QLabel(parent);
    label->setObjectName(nome);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(larghezza);
    return label;
}

// The book as it will be stored. A cost confirmed as the loaded book shows it keeps the
// book's stored cost: the figure is rounded to the cost's decimals, and dividing it back
// by the display rate would move the cost and its movement.
DatiCarnet datiCarnet(int caricato, const QString& data, double costo, qlonglong primo) {
    const auto& s = stato();
    const double costoMemorizzato =
        caricato == 0 ? costo / s.FattoreValuta
                      : importoConfermato(costo, s.TabellaCarnet[size_t(caricato)].costo,
                                          s.FattoreValuta, Form3::formatoCosto());
    return DatiCarnet{data, costoMemorizzato, qint32(primo)};
}

// Writes the book, new or changed, and brings what shows the books up to date. False
// when nothing was written: the user is told why, and what they typed stays for another
// try. `errore` gets the write's own text.
bool registraCarnet(int caricato, const DatiCarnet& dati, QString& errore) {
    Hourglass attesa;
    const Esito esito = caricato == 0 ? SalvaNuovoCarnet(dati) : ModificaCarnet(caricato, dati);
    errore = esito.testo;
    const bool fatto = esito.ok();
    if (!fatto) {
        setHourglass(false);
        avvisaErroreFile(errore);
        return false;
    }
    avvisaErroreFile(aggiornaDopoModificaCarnet());
    return true;
}

// The caption of a field, beside it.
QLabel* etichetta(QWidget* parent, const QString& testo, QWidget* campo) {
    auto* l = new QLabel(testo, parent);
    l->setBuddy(campo);
    return l;
}

bool cifra(int codice) {
    return codice >= '0' && codice <= '9';
}

} // namespace

Form3::Form3(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form3"));
    setCaption(QStringLiteral("Immissione Carnet Assegni"));
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });

    creaCampi();
    creaPulsanti();
    collegaControlli();
    disponi();

    setTabOrder(DataCarnet, CostoCarnet);
    setTabOrder(CostoCarnet, NrInf);
    setTabOrder(NrInf, Salva);
}

// The account, the book's number and the fields of the book.
void Form3::creaCampi() {
    NrConto = casella(QStringLiteral("NrConto"), this, 110);
    banca = casella(QStringLiteral("banca"), this, 260);
    NrCarnet = casella(QStringLiteral("NrCarnet"), this, 60);
    NrCarnet->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    DataCarnet = new DateField(QStringLiteral("DataCarnet"), this);
    DataCarnet->setFixedWidth(DataCarnet->fontMetrics().horizontalAdvance(QString(14, u'0')));
    // An amount: entering it selects the cost shown, so that what is typed replaces it.
    CostoCarnet = new AmountField(QStringLiteral("CostoCarnet"), this);
    CostoCarnet->setAlignment(Qt::AlignRight);
    CostoCarnet->setFixedWidth(DataCarnet->width());
    NrInf = new QLineEdit(this);
    NrInf->setObjectName(QStringLiteral("NrInf"));
    NrInf->setAlignment(Qt::AlignRight);
    NrInf->setFixedWidth(DataCarnet->width());
    NrFinale = casella(QStringLiteral("NrFinale"), this, DataCarnet->width());
    NrFinale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    NrFogli = casella(QStringLiteral("NrFogli"), this, 40);
    NrFogli->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    NrFogli->setText(QStringLiteral("10"));
}

void Form3::creaPulsanti() {
    Salva = namedButton(this, QStringLiteral("Salva"), QStringLiteral("Conferma"));
    esci = namedButton(this, QStringLiteral("esci"), QStringLiteral("Uscita"));
    Visualizza = namedButton(this, QStringLiteral("Visualizza"), QStringLiteral("Archivio"));
    Command3D1 =
        namedButton(this, QStringLiteral("Command3D1"), QStringLiteral("Cancella Immissione"));
    Del = namedButton(this, QStringLiteral("Del"), QStringLiteral(" Cancella "));
    Del->setEnabled(false);
    Command3D9 =
        namedButton(this, QStringLiteral("Command3D9"), QStringLiteral("Situazione assegni"));
}

// The buttons' and the fields' handlers.
void Form3::collegaControlli() {
    connect(Salva, &QPushButton::clicked, this, handler([this] { Salva_Click(); }));
    connect(esci, &QPushButton::clicked, this, handler([this] { esci_Click(); }));
    connect(Visualizza, &QPushButton::clicked, this, handler([this] { Visualizza_Click(); }));
    connect(Command3D1, &QPushButton::clicked, this, handler([this] { Command3D1_Click(); }));
    connect(Del, &QPushButton::clicked, this, handler([this] { Del_Click(); }));
    connect(Command3D9, &QPushButton::clicked, this, handler([this] { Command3D9_Click(); }));
    onKeyPress(DataCarnet, [this](int& k) { DataCarnet_KeyPress(k); });
    onKeyPress(CostoCarnet, [this](int& k) { CostoCarnet_KeyPress(k); });
    onLostFocus(CostoCarnet, [this] { CostoCarnet_LostFocus(); });
    onKeyPress(NrInf, [this](int& k) { NrInf_KeyPress(k); });
    // A full first number stays (Enter goes on to "Conferma"): a key typed past its end
    // must not land on a button.
    refuseWhenFull(NrInf, 8);
    onGotFocus(Salva, [this] { Salva_GotFocus(); });
}

// The account above, the book in a frame, the buttons below.
void Form3::disponi() {
    QLayout* conto = disponiConto();
    QWidget* riquadro = disponiCarnet();
    QLayout* pulsanti = disponiPulsanti();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(conto);
    layout->addWidget(riquadro);
    layout->addLayout(pulsanti);
}

QLayout* Form3::disponiConto() {
    auto* conto = new QHBoxLayout;
    conto->addWidget(etichetta(this, QStringLiteral("nr. conto"), NrConto));
    conto->addWidget(NrConto);
    conto->addWidget(banca, 1);
    return conto;
}

QWidget* Form3::disponiCarnet() {
    auto* riquadro = new QGroupBox(this);
    auto* griglia = new QGridLayout(riquadro);
    griglia->setHorizontalSpacing(10);
    griglia->setVerticalSpacing(8);
    griglia->addWidget(etichetta(this, QStringLiteral("nr. carnet"), NrCarnet), 0, 0);
    griglia->addWidget(NrCarnet, 0, 1, Qt::AlignLeft);
    griglia->addWidget(etichetta(this, QStringLiteral("Data ritiro"), DataCarnet), 1, 0);
    griglia->addWidget(DataCarnet, 1, 1, Qt::AlignLeft);
    griglia->addWidget(etichetta(this, QStringLiteral("Costo"), CostoCarnet), 1, 2);
    griglia->addWidget(CostoCarnet, 1, 3, Qt::AlignLeft);
    griglia->addWidget(etichetta(this, QStringLiteral("dal nr."), NrInf), 2, 0);
    griglia->addWidget(NrInf, 2, 1, Qt::AlignLeft);
    griglia->addWidget(etichetta(this, QStringLiteral("al nr."), NrFinale), 2, 2);
    griglia->addWidget(NrFinale, 2, 3, Qt::AlignLeft);
    griglia->addWidget(etichetta(this, QStringLiteral("nr.fogli"), NrFogli), 2, 4);
    griglia->addWidget(NrFogli, 2, 5, Qt::AlignLeft);
    griglia->setColumnStretch(6, 1);
    return riquadro;
}

QLayout* Form3::disponiPulsanti() {
    auto* pulsanti = new QGridLayout;
    pulsanti->addWidget(Salva, 0, 0);
    pulsanti->addWidget(Command3D1, 0, 1);
    pulsanti->addWidget(Del, 0, 2);
    pulsanti->addWidget(Visualizza, 1, 0);
    pulsanti->addWidget(Command3D9, 1, 1);
    pulsanti->addWidget(esci, 1, 2);
    return pulsanti;
}

QString Form3::formatoCosto() {
    const int decimali = std::clamp<int>(stato().ImpostazioniCorrenti.numeroDecimali, 0, 4);
    QString formato = QStringLiteral("##,##0");
    if (decimali > 0) formato += u'.' + QString(decimali, u'0');
    return formato;
}

void Form3::Form_Load() {
    mostraConto();
    if (caricato_ == 0) mostraProssimoNumero();
}

void Form3::Form_Activate() {
    mostraConto();
    if (caricato_ == 0) mostraProssimoNumero();
    DataCarnet->setFocus();
}

void Form3::mostraConto() {
    const auto& s = stato();
    const int riga = s.IndiceContoAttivo;
    if (riga >= 1 && size_t(riga) < s.TabellaConti.size()) {
        const Conto& conto = s.TabellaConti[size_t(riga)];
        NrConto->setText(conto.codiceConto.trimmed());
        banca->setText(conto.nomeBanca.trimmed());
    } else {
        NrConto->setText(s.CodiceContoAttivo.trimmed());
        banca->clear();
    }
}

void Form3::mostraProssimoNumero() {
    const auto& s = stato();
    const int n = std::min<int>(s.NumeroCarnet, int(s.TabellaCarnet.size()) - 1);
    const int ultimo = n >= 1 ? s.TabellaCarnet[size_t(n)].numeroCarnet : 0;
    NrCarnet->setText(QString::number(ultimo + 1));
}

void Form3::svuotaCampi() {
    DataCarnet->setTesto(QString());
    CostoCarnet->clear();
    NrInf->clear();
    NrFinale->clear();
}

void Form3::tornaANuovoCarnet() {
    caricato_ = 0;
    mostraProssimoNumero();
    Del->setEnabled(false);
}

void Form3::mostraCarnet(int riga) {
    const auto& s = stato();
    if (riga < 1 || riga > s.NumeroCarnet || size_t(riga) >= s.TabellaCarnet.size()) return;
    const CarnetAssegni& c = s.TabellaCarnet[size_t(riga)];
    const DateParts data = splitDateText(c.dataRitiro);
    DataCarnet->setTesto(QStringLiteral("%1/%2/%3")
                             .arg(qint64(data.giorno), 2, 10, QChar(u'0'))
                             .arg(qint64(data.mese), 2, 10, QChar(u'0'))
                             .arg(qint64(data.anno), 4, 10, QChar(u'0')));
    CostoCarnet->setText(formatNumber(c.costo * s.FattoreValuta, formatoCosto()));
    NrInf->setText(QString::number(c.primoAssegno));
    NrCarnet->setText(QString::number(c.numeroCarnet));
    NrFinale->setText(QString::number(c.ultimoAssegno));
    NrFogli->setText(QStringLiteral("10"));
    caricato_ = riga;
    Del->setEnabled(true);
}

void Form3::preparaNuovoCarnet() {
    svuotaCampi();
    NrFogli->setText(QStringLiteral("10"));
    tornaANuovoCarnet();
}

void Form3::rifiuta(const QString& testo, QWidget* campo) {
    setHourglass(false);
    messageBox(testo, MessageButtons::Ok, MessageIcon::Exclamation);
    if (campo) campo->setFocus();
}

void Form3::Salva_Click() {
    const auto& s = stato();
    const int caricato = caricato_ >= 1 && caricato_ <= s.NumeroCarnet ? caricato_ : 0;
    const QString testoPrimo = NrInf->text().trimmed();
    bool numeroLetto = false;
    const qlonglong primo = testoPrimo.toLongLong(&numeroLetto);

    if (!testoPrimo.isEmpty() && !numeriLiberi(numeroLetto, primo, caricato)) return;
    if (!campiObbligatoriPresenti(testoPrimo)) return;
    const QString data = DataCarnet->testo();
    if (!dataRitiroValida(data)) return;
    double costo = 0;
    if (!costoDigitato(costo)) return;
    NrFinale->setText(QString::number(primo + FogliPerCarnet - 1));

    const DatiCarnet dati = datiCarnet(caricato, data, costo, primo);
    QString errore;
    if (!registraCarnet(caricato, dati, errore)) return;
    setHourglass(false);
    avvisaErroreFile(errore);
    svuotaCampi();
    tornaANuovoCarnet();
    DataCarnet->setFocus();
}

// The ten numbers from `primo` must be free and fit the document number of their
// movements; a refused first number is emptied.
bool Form3::numeriLiberi(bool numeroLetto, qlonglong primo, int caricato) {
    const RifiutoCarnet r = !numeroLetto || primo < 0 || primo > LimiteNumeroAssegno
                                ? RifiutoCarnet::NumeroTroppoAlto
                                : verificaNumeriCarnet({QString(), 0, qint32(primo)}, caricato);
    if (r == RifiutoCarnet::Nessuno) return true;
    NrInf->clear();
    rifiuta(testoRifiutoCarnet(r), NrInf);
    return false;
}

// The withdrawal date and the first number must be there.
bool Form3::campiObbligatoriPresenti(const QString& testoPrimo) {
    if (DataCarnet->isBlank()) {
        rifiuta(QStringLiteral("Campo Data obbligatorio"), DataCarnet);
        return false;
    }
    if (testoPrimo.isEmpty()) {
        rifiuta(QStringLiteral("Campo obbligatorio"), NrInf);
        return false;
    }
    return true;
}

// A withdrawal date typed whole and possible; else it is emptied and takes the focus.
bool Form3::dataRitiroValida(const QString& data) {
    if (data.size() != 8 && data.size() != 10) {
        MsgDataErrataBreve();
        DataCarnet->setTesto(QString());
        DataCarnet->setFocus();
        return false;
    }
    const DateParts parti = splitDateText(data);
    qint16 esito = 1;
    ControllaData(parti.giorno, parti.mese, parti.anno, esito);
    if (esito == 0) {
        DataCarnet->setTesto(QString());
        DataCarnet->setFocus();
        return false;
    }
    return true;
}

// The cost as typed, in the display currency ("0" when left empty); false after a
// refusal.
bool Form3::costoDigitato(double& costo) {
    if (CostoCarnet->text().trimmed().isEmpty()) CostoCarnet->setText(QStringLiteral("0"));
    const std::optional<double> letto = parseAmount(CostoCarnet->text());
    if (const QString rifiuto = amountRefusalMessage(CostoCarnet->text(), stato().FattoreValuta);
        !rifiuto.isEmpty()) {
        rifiuta(rifiuto, CostoCarnet);
        return false;
    }
    costo = *letto;
    return true;
}

void Form3::esci_Click() {
    formHost().unload(*this);
    if (const auto& riprendi = richiesteAssegni().immissioneDaRiprendere) riprendi();
}

void Form3::Visualizza_Click() {
    mostraElencoCarnet(ElencoPerCarnet);
    Del->setEnabled(caricato_ != 0);
}

void Form3::Command3D1_Click() {
    svuotaCampi();
    tornaANuovoCarnet();
    DataCarnet->setFocus();
}

bool EliminaCarnet(int riga) {
    const auto& s = stato();
    if (riga < 1 || riga > s.NumeroCarnet) return false;
    if (messageBox(testoConfermaEliminaCarnet(), MessageButtons::OkCancel, MessageIcon::Exclamation,
                   QStringLiteral("AVVERTIMENTO!"), MessageAnswer::Cancel) != MessageAnswer::Ok)
        return false;
    // A movement the entry form holds for change goes back first: it may be one of
    // those that go, or be renumbered.
    if (const auto& lascia = richiesteAssegni().movimentoInModificaDaLasciare) lascia();
    const Esito eliminato = eliminaCarnet(riga);
    const bool fatto = eliminato.ok();
    if (!fatto) avvisaErroreFile(eliminato.testo);
    avvisaErroreFile(aggiornaDopoModificaCarnet());
    return fatto;
}

void Form3::Del_Click() {
    const int riga = caricato_;
    if (riga != 0 &&
        messageBox(QStringLiteral("Attenzione il Carnet selezionato verrà cancellato,") +
                       QStringLiteral(" ...Vuoi Continuare?"),
                   MessageButtons::OkCancel, MessageIcon::Exclamation,
                   QStringLiteral("AVVERTIMENTO!"), MessageAnswer::Cancel) == MessageAnswer::Ok)
        EliminaCarnet(riga);
    // The fields are emptied whatever the answer, so the form goes back to a new book:
    // a later "Conferma" must not change a book the user no longer sees.
    svuotaCampi();
    tornaANuovoCarnet();
    DataCarnet->setFocus();
}

void Form3::Command3D9_Click() {
    formHost().showModal(formHost().form<Form13>());
}

void Form3::DataCarnet_KeyPress(int& keyAscii) {
    if (keyAscii == 13) {
        if (!DataCarnet->testo().isEmpty()) {
            keyAscii = 0;
            CostoCarnet->setFocus();
        }
        return;
    }
    if (!cifra(keyAscii) && keyAscii != 8 && keyAscii != '/') {
        keyAscii = 0;
        beep();
    }
}

void Form3::CostoCarnet_KeyPress(int& keyAscii) {
    if (keyAscii == 13) {
        if (!CostoCarnet->text().isEmpty()) NrInf->setFocus();
        keyAscii = 0;
        return;
    }
    // Digits, and one decimal comma when the settings give decimals.
    const bool virgola = keyAscii == ',' && stato().ImpostazioniCorrenti.numeroDecimali > 0 &&
                         !CostoCarnet->text().contains(u',');
    if (!cifra(keyAscii) && keyAscii != 8 && !virgola) keyAscii = 0;
}

void Form3::CostoCarnet_LostFocus() {
    if (CostoCarnet->text().trimmed().isEmpty()) CostoCarnet->setText(QStringLiteral("0"));
    if (const auto valore = parseAmount(CostoCarnet->text()))
        CostoCarnet->setText(formatNumber(*valore, formatoCosto()));
}

void Form3::NrInf_KeyPress(int& keyAscii) {
    if (keyAscii == 13) {
        if (!NrInf->text().isEmpty()) Salva->setFocus();
        keyAscii = 0;
        return;
    }
    if (!cifra(keyAscii) && keyAscii != 8) keyAscii = 0;
}

void Form3::Salva_GotFocus() {
    bool letto = false;
    const qlonglong primo = NrInf->text().trimmed().toLongLong(&letto);
    if (letto)
        NrFinale->setText(QString::number(primo + NrFogli->text().toLongLong() - 1));
    else
        NrFinale->clear();
}

void mostraFormCarnet() {
    formHost().showModal(formHost().form<Form3>());
}

void gestioneCarnet() {
    Form3& form = formHost().form<Form3>();
    form.preparaNuovoCarnet();
    formHost().showModal(form);
}

void mostraFormCarnetNonModale() {
    formHost().show(formHost().form<Form3>());
}

} // namespace qv
