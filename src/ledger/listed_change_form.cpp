// Form20: "Modifica Movimenti", the change of a movement of the period list.
#include "ledger/listed_change_form.h"

#include "archives/causali.h"
#include "common/amounts.h"
#include "common/dates.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "ledger/balances.h"
#include "ledger/entry_form.h"
#include "ledger/movement_files.h"
#include "ledger/movement_reading.h"
#include "ledger/open_account.h"
#include "ledger/period_list_form.h"
#include "platform/controls.h"
#include "platform/date_check_dialog.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/result_box.h"
#include "shell/display_currency.h"
#include "shell/program_files.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// The name under which this form holds a movement out of the balances.
const QString kFinestra = QStringLiteral("Form20");

// The row of movement `numero` when it is a movement of the open account.
const Movimento* rigaMovimento(int numero) {
    const auto& s = stato();
    if (numero < 1 || numero > s.NumeroMovimenti || size_t(numero) >= s.TabellaMovimenti.size())
        return nullptr;
    return &s.TabellaMovimenti[size_t(numero)];
}

// Typed letters become capitals, as the flag fields hold them.
void maiuscole(QLineEdit* campo) {
    onKeyPress(campo, [](int& tasto) {
        if (tasto >= 'a' && tasto <= 'z') tasto -= 'a' - 'A';
    });
}

} // namespace

QString messaggioMovimentoCambiato() {
    return QStringLiteral("Il movimento è stato modificato o cancellato da un'altra finestra "
                          "mentre era aperto qui: la modifica non è stata registrata. "
                          "Richiamare il movimento dall'elenco.");
}

Form20::Form20(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form20"));
    setCaption(QStringLiteral("Modifica Movimenti"));
    // Closing the open account closes the form: its movement belongs to that account.
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });

    creaCampi();
    creaPulsanti();
    disponi();
    collegaControlli();
}

// The movement's fields, each as wide as the record field it feeds.
void Form20::creaCampi() {
    const int carattere = fontMetrics().averageCharWidth();
    auto testo = [&](QLineEdit*& membro, const char* nome, int larghezza, int caratteri) {
        membro = new QLineEdit(this);
        membro->setObjectName(QString::fromLatin1(nome));
        membro->setMaxLength(larghezza);
        membro->setMinimumWidth(fieldWidthFor(membro, caratteri));
    };

    NrOper = new QLabel(this);
    NrOper->setObjectName(QStringLiteral("NrOper"));
    NrOper->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    NrOper->setMinimumWidth(carattere * 8);
    DataOper = new DateField(QStringLiteral("DataOper"), this);
    DataValuta = new DateField(QStringLiteral("DataValuta"), this);
    DataOper->setMinimumWidth(carattere * 13);
    DataValuta->setMinimumWidth(carattere * 13);
    testo(Causale, "Causale", 5, 5);
    DescrCausale = new QLabel(this);
    DescrCausale->setObjectName(QStringLiteral("DescrCausale"));
    DescrCausale->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DescrCausale->setMinimumWidth(fieldWidthFor(DescrCausale, 25));
    IMPORTO = new AmountField(QStringLiteral("IMPORTO"), this);
    IMPORTO->setMaxLength(20);
    IMPORTO->setMinimumWidth(carattere * 16);
    IMPORTO->setAlignment(Qt::AlignRight);
    testo(NrDoc, "NrDoc", 8, 8);
    testo(DescMovim, "DescMovim", 30, 30);
    testo(Sospeso, "Sospeso", 1, 1);
    testo(D_A, "D_A", 1, 1);
    testo(Annullato, "Annullato", 1, 1);
    for (QLineEdit* flag : {Sospeso, D_A, Annullato}) {
        flag->setAlignment(Qt::AlignCenter);
        maiuscole(flag);
    }
}

void Form20::creaPulsanti() {
    Command3D1 =
        namedButton(this, QStringLiteral("Command3D1"), QStringLiteral("Seleziona causali"));
    OK = namedButton(this, QStringLiteral("OK"), QStringLiteral("Conferma"));
    Esc = namedButton(this, QStringLiteral("Esc"), QStringLiteral("Uscita"));
}

void Form20::disponi() {
    const int carattere = fontMetrics().averageCharWidth();
    // Each field under its caption, in two rows as the movement form has them.
    auto colonna = [&](QHBoxLayout* riga, const QString& didascalia, QWidget* campo,
                       int allunga = 0) {
        auto* scatola = new QVBoxLayout;
        scatola->setSpacing(2);
        auto* etichetta = new QLabel(didascalia, this);
        etichetta->setBuddy(campo);
        scatola->addWidget(etichetta);
        scatola->addWidget(campo);
        riga->addLayout(scatola, allunga);
    };
    for (QWidget* stretto : {static_cast<QWidget*>(NrOper), static_cast<QWidget*>(Causale)})
        stretto->setMaximumWidth(carattere * 9);
    for (QLineEdit* flag : {Sospeso, D_A, Annullato})
        flag->setFixedWidth(carattere * 5);
    NrDoc->setMaximumWidth(carattere * 12);
    auto* prima = new QHBoxLayout;
    colonna(prima, QStringLiteral("Num.Oper."), NrOper);
    colonna(prima, QStringLiteral("Data oper."), DataOper);
    colonna(prima, QStringLiteral("Data Valuta"), DataValuta);
    colonna(prima, QStringLiteral("Caus."), Causale);
    colonna(prima, QStringLiteral("Descrizione causale"), DescrCausale, 1);
    auto* seconda = new QHBoxLayout;
    colonna(seconda, QStringLiteral("Importo"), IMPORTO);
    colonna(seconda, QStringLiteral("Nr. Doc."), NrDoc);
    colonna(seconda, QStringLiteral("Descrizione"), DescMovim, 1);
    colonna(seconda, QStringLiteral("Sos."), Sospeso);
    colonna(seconda, QStringLiteral("E/U"), D_A);
    colonna(seconda, QStringLiteral("Ann."), Annullato);
    auto* campi = new QVBoxLayout;
    campi->addLayout(prima);
    campi->addLayout(seconda);

    auto* comandi = new QHBoxLayout;
    comandi->addWidget(Command3D1);
    comandi->addStretch(1);
    comandi->addWidget(OK);
    comandi->addWidget(Esc);

    auto* tutto = new QVBoxLayout(this);
    tutto->addLayout(campi);
    tutto->addSpacing(8);
    tutto->addLayout(comandi);
    tutto->addStretch(1);
}

// Tab and Enter along the fields, and the handlers.
void Form20::collegaControlli() {
    QWidget* catena[] = {DataOper,  DataValuta, Causale, IMPORTO,   NrDoc,
                         DescMovim, Sospeso,    D_A,     Annullato, OK};
    for (size_t i = 0; i + 1 < std::size(catena); ++i) {
        setTabOrder(catena[i], catena[i + 1]);
        enterMovesFocus(catena[i], catena[i + 1]);
    }

    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    connect(Esc, &QPushButton::clicked, this, handler([this] { Esc_Click(); }));
    connect(Command3D1, &QPushButton::clicked, this, handler([this] { Command3D1_Click(); }));
    onLostFocus(Causale, [this] { Causale_LostFocus(); });
}

void Form20::Form_Unload(bool& cancel) {
    Q_UNUSED(cancel);
    // A movement still held out of the balances goes back in before the form goes.
    if (movimentoTrattenuto(kFinestra) != 0) {
        if (const Esito saldi = restituisciAiSaldi(kFinestra); !saldi.ok())
            avvisaErroreFile(saldi.testo);
    }
}

void Form20::valutaCambiata(double prima) {
    const auto& s = stato();
    IMPORTO->setText(cifraNellaNuovaValuta(IMPORTO->text(), prima, s.FattoreValuta,
                                           contesto().importoMemorizzato, s.FormatoImporti));
}

ContestoLettura Form20::contesto() const {
    ContestoLettura c;
    if (numero_ != 0) c.importoMemorizzato = letto_.importo;
    return c;
}

bool Form20::mostraMovimento(int numero) {
    svuotaCampi();
    const Movimento* m = rigaMovimento(numero);
    if (!m) return false;
    numero_ = numero;
    letto_ = *m;
    const auto& s = stato();
    NrOper->setText(QString::number(m->numero));
    DataOper->setTesto(withoutTrailingBlanks(m->dataOperazione));
    DataValuta->setTesto(withoutTrailingBlanks(m->dataValuta));
    Causale->setText(withoutTrailingBlanks(m->codiceCausale));
    DescMovim->setText(withoutTrailingBlanks(m->descrizione));
    Sospeso->setText(withoutTrailingBlanks(m->sospeso));
    D_A->setText(withoutTrailingBlanks(m->entrataUscita));
    NrDoc->setText(m->numeroDocumento.leftJustified(8, QLatin1Char(' '), true));
    Annullato->setText(m->annullato);
    IMPORTO->setText(formatNumber(m->importo * s.FattoreValuta, QString()));
    const int n = std::min<int>(s.NumeroCausali, int(s.TabellaCausali.size()) - 1);
    for (int i = 1; i <= n; ++i) {
        const VoceCausale& voce = s.TabellaCausali[size_t(i)];
        if (voce.codiceCausale.trimmed() == m->codiceCausale.trimmed()) {
            DescrCausale->setText(voce.descrizione);
            break;
        }
    }
    return true;
}

void Form20::svuotaCampi() {
    numero_ = 0;
    letto_ = Movimento{};
    for (QLineEdit* campo : {Causale, NrDoc, DescMovim, Sospeso, D_A, Annullato})
        campo->clear();
    IMPORTO->clear();
    NrOper->clear();
    DescrCausale->clear();
    DataOper->setTesto(QString());
    DataValuta->setTesto(QString());
}

void Form20::OK_Click() {
    TestiMovimento testi;
    testi.dataOperazione = DataOper->testo();
    testi.dataValuta = DataValuta->testo();
    testi.causale = Causale->text();
    testi.importo = IMPORTO->text();
    testi.numeroDocumento = NrDoc->text();
    testi.descrizione = DescMovim->text();
    testi.sospeso = Sospeso->text();
    testi.entrataUscita = D_A->text();
    testi.annullato = Annullato->text();
    const LetturaMovimento lettura = leggiMovimento(testi, ModuloMovimento::Modifica, contesto());
    // The dates and flags that passed show as they are stored: two-digit day and month,
    // capital letters.
    const TestiMovimento& riscritti = lettura.riscritti;
    if (!riscritti.dataOperazione.isEmpty()) DataOper->setTesto(riscritti.dataOperazione);
    if (!riscritti.dataValuta.isEmpty()) DataValuta->setTesto(riscritti.dataValuta);
    if (!riscritti.sospeso.isEmpty()) Sospeso->setText(riscritti.sospeso);
    if (!riscritti.entrataUscita.isEmpty()) D_A->setText(riscritti.entrataUscita);
    if (!riscritti.annullato.isEmpty()) Annullato->setText(riscritti.annullato);
    if (!lettura.esito.ok()) {
        showResult(lettura.esito, this);
        return;
    }
    // The movement must still be the one the form was filled from: a deletion in the
    // entry form renumbers the movements, a change there rewrites it.
    const Movimento* attuale = rigaMovimento(numero_);
    if (!attuale || !(*attuale == letto_)) {
        messageBox(messaggioMovimentoCambiato(), MessageButtons::Ok, MessageIcon::Exclamation,
                   QStringLiteral("Avvertimento"));
        formHost().unload(*this);
        return;
    }

    Hourglass clessidra;
    Movimento m = lettura.movimento;
    m.numero = qint16(numero_);

    // The movement's old effect leaves the balances while it is rewritten; the hold is
    // registered, so that nothing else counts it meanwhile and an unload gives it back.
    const Esito tenuto = trattieniFuoriDaiSaldi(kFinestra, m.numero);
    if (!tenuto.ok()) avvisaErroreFile(tenuto.testo);
    const Esito riscritto = riscriviMovimento(m);
    if (!riscritto.ok()) {
        // Nothing was written: the old values go back and the form stays open.
        QString motivo = riscritto.testo;
        if (const Esito saldi = restituisciAiSaldi(kFinestra); !saldi.ok())
            motivo += u'\n' + saldi.testo;
        avvisaErroreFile(motivo);
        return;
    }
    QStringList avvisi;
    if (!riscritto.testo.isEmpty()) avvisi << riscritto.testo;
    if (Form9* entrata = formHost().loaded<Form9>()) entrata->elencaNellOrdineAttivo();
    // The period list this change came from shows it at once, with its own period and
    // causale filter.
    ElencaMovimentiPerPeriodo();
    svuotaCampi();
    // The new values come into the balances, ".TOT" and the main window's panels.
    if (const Esito saldi = restituisciAiSaldi(kFinestra); !saldi.ok()) avvisi << saldi.testo;
    if (!avvisi.isEmpty()) avvisaErroreFile(avvisi.join(u'\n'));
    formHost().unload(*this);
}

void Form20::Esc_Click() {
    formHost().unload(*this);
}

void Form20::Command3D1_Click() {
    stato().ModoElencoCausali = 2;
    // The causale picked is copied here and the focus moves on.
    auto scelta = [this](qint16 modo, const VoceCausale& voce) {
        if (modo != 2) return;
        Causale->setText(normalizzaCodiceCausale(voce.codiceCausale));
        DescrCausale->setText(withoutTrailingBlanks(voce.descrizione));
        D_A->setText(voce.entrataUscita.trimmed());
        Sospeso->setFocus(Qt::OtherFocusReason);
    };
    apriElencoCausali(this, pickerCollegato_, handler(scelta));
}

void Form20::Causale_LostFocus() {
    // The description follows the code typed; an unknown code is refused at "Conferma".
    const auto& s = stato();
    const int riga = trovaCausale(Causale->text());
    DescrCausale->setText(
        riga == 0 ? QString() : withoutTrailingBlanks(s.TabellaCausali[size_t(riga)].descrizione));
}

void apriMovimentoElencato(int numero) {
    // Loaded afresh on each opening.
    if (Form20* vecchio = formHost().loaded<Form20>()) formHost().unload(*vecchio);
    Form20& modifica = formHost().form<Form20>();
    if (!modifica.mostraMovimento(numero)) {
        formHost().unload(modifica);
        return;
    }
    formHost().show(modifica);
}

} // namespace qv
