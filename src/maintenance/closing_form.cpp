// Form19: "Chiusura periodica", the period closing of the open account.
#include "maintenance/closing_form.h"

#include "common/shared_state.h"
#include "maintenance/closing.h"
#include "maintenance/maintenance_form.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/line_printer.h"
#include "platform/message_box.h"
#include "platform/result_box.h"
#include "reports/report_frame.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

Form19::Form19(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form19"));
    setCaption(QStringLiteral("Chiusura periodica"));

    Panel3D1 = new QFrame(this);
    Panel3D1->setObjectName(QStringLiteral("Panel3D1"));
    Panel3D1->setFrameShape(QFrame::StyledPanel);
    Panel3D1->setFrameShadow(QFrame::Raised);
    Label1 = new QLabel(QStringLiteral("Nuova chiusura al:"), Panel3D1);
    Label1->setObjectName(QStringLiteral("Label1"));
    DataChiusura = new DateField(QStringLiteral("DataChiusura"), Panel3D1);
    DataChiusura->setFixedWidth(DataChiusura->fontMetrics().horizontalAdvance(QString(14, u'0')));
    Label1->setBuddy(DataChiusura);
    Label2 = new QLabel(QStringLiteral("data chiusura precedente:"), Panel3D1);
    Label2->setObjectName(QStringLiteral("Label2"));
    ChiusPrec = new QLabel(Panel3D1);
    ChiusPrec->setObjectName(QStringLiteral("ChiusPrec"));
    ChiusPrec->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ChiusPrec->setMinimumWidth(DataChiusura->width());

    auto* campi = new QGridLayout(Panel3D1);
    campi->addWidget(Label1, 0, 0);
    campi->addWidget(DataChiusura, 0, 1);
    campi->addWidget(Label2, 1, 0);
    campi->addWidget(ChiusPrec, 1, 1);

    OK = new QPushButton(QStringLiteral("Conferma"), this);
    OK->setObjectName(QStringLiteral("OK"));
    esci = new QPushButton(QStringLiteral("Uscita"), this);
    esci->setObjectName(QStringLiteral("esci"));
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(OK);
    pulsanti->addWidget(esci);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel3D1);
    layout->addLayout(pulsanti);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(DataChiusura, OK);
    setTabOrder(OK, esci);
    onKeyPress(DataChiusura, [this](int& k) { DataChiusura_KeyPress(k); });
    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    connect(esci, &QPushButton::clicked, this, handler([this] { esci_Click(); }));
}

void Form19::Form_Load() {
    DataChiusura->setTesto(QString());
}

void Form19::Form_Activate() {
    DataChiusura->setFocus(Qt::OtherFocusReason);
    ChiusPrec->setText(stato().TabellaRiporto[1].dataRiporto);
}

void Form19::keyPressEvent(QKeyEvent* event) {
    // Esc leaves the dialog as "Uscita" does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        esci->click();
        return;
    }
    Form::keyPressEvent(event);
}

void Form19::DataChiusura_KeyPress(int& keyAscii) {
    // The field always holds text (the empty mask counts): Enter goes on to "Conferma".
    if (keyAscii != 13 || DataChiusura->testo().isEmpty()) return;
    keyAscii = 0;
    OK->setFocus(Qt::OtherFocusReason);
}

void Form19::OK_Click() {
    const QString data = DataChiusura->testo();
    const Esito valida = controllaDataChiusura(data, stato().TabellaRiporto[1]);
    if (!valida.ok()) {
        showResult(valida, this);
        return;
    }
    EseguiChiusuraPeriodica(data);
    formHost().hide(*this);
}

void Form19::esci_Click() {
    formHost().hide(*this);
}

void mostraChiusuraPeriodica() {
    formHost().showModal(formHost().form<Form19>());
}

void EseguiChiusuraPeriodica(const QString& dataChiusura) {
    if (messageBox(avvisoChiusura(), MessageButtons::OkCancel, MessageIcon::Exclamation,
                   QStringLiteral("AVVERTIMENTO!"), MessageAnswer::Cancel) != MessageAnswer::Ok)
        return;
    const QString nonEseguita = QStringLiteral("\n\nLa chiusura non è stata eseguita.");
    if (const Esito pronta = printer().available(); !pronta.ok()) {
        messageBox(pronta.testo + nonEseguita, MessageButtons::Ok, MessageIcon::Exclamation,
                   QStringLiteral("Attenzione"));
        return;
    }

    Hourglass attesa;
    const DatiChiusura dati = datiChiusuraContoAperto(dataChiusura);
    PianoChiusura piano = calcolaChiusura(dati);
    // The printout comes first: a closing whose removed movements are not on paper is
    // not made.
    const PagineMovimentiEliminati stampa(contestoStampaCorrente(), dataChiusura, piano.eliminati,
                                          dati.causali);
    if (!printer().printPages(stampa.pagine(), [&](int k) { return stampa.pagina(k); })) {
        setHourglass(false);
        messageBox(QStringLiteral("La stampa dei movimenti eliminati non è riuscita.") +
                       nonEseguita,
                   MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("Attenzione"));
        return;
    }
    RispostaErrori risposta;
    const auto& s = stato();
    Esito esito =
        scriviChiusura(piano, s.PercorsoDati, dati.codice, riprovaConErroriFile(risposta));
    if (esito.fallito()) {
        esito.testo += QStringLiteral("\nLa stampa appena eseguita non ha valore.");
    } else {
        // Memory takes the account from what the closing wrote: nothing is read back.
        ricaricaContoAperto([&] { return caricaContoChiuso(std::move(piano), dati.codice); });
    }
    mostraEsitoManutenzione(esito, risposta);
}

} // namespace qv
