#include "causali_form.h"

#include "causale_picker_form.h"
#include "causali.h"
#include "causali_maintenance_form.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/message_box.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// A frame holding a pair of option buttons, elements `primo` and `primo` + 1 of the
// control array `nome`.
QGroupBox* cornice(const QString& titolo, const char* nome, const QString& testo1,
                   const QString& testo2, int primo, QRadioButton*& r1, QRadioButton*& r2,
                   const char* nomeArray, QWidget* parent) {
    auto* frame = new QGroupBox(titolo, parent);
    frame->setObjectName(QLatin1String(nome));
    r1 = new QRadioButton(testo1, frame);
    r1->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(nomeArray)).arg(primo));
    r2 = new QRadioButton(testo2, frame);
    r2->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(nomeArray)).arg(primo + 1));
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(r1);
    layout->addWidget(r2);
    return frame;
}

std::vector<ListItem> righeElenco() {
    const auto& s = stato();
    std::vector<ListItem> righe;
    const int n = std::min<int>(s.NumeroCausali, static_cast<int>(s.TabellaCausali.size()) - 1);
    righe.reserve(static_cast<size_t>(std::max(n, 0)));
    for (int riga = 1; riga <= n; ++riga)
        righe.push_back({lineaCausale(s.TabellaCausali[static_cast<size_t>(riga)]), riga});
    return righe;
}

void erroreCausale(const QString& testo) {
    messageBox(testo, MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("ERRORE"));
}

} // namespace

void riempiElenchiCausali() {
    if (Form6* editor = formHost().loaded<Form6>()) editor->ElencoCausali->setItems(righeElenco());
    if (FORM12* picker = formHost().loaded<FORM12>()) picker->List1->setItems(righeElenco());
}

Form6::Form6(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form6"));
    setCaption(QStringLiteral("Gestione Causali"));
    setCloseHides(true);
    creaCampi();
    creaElencoEPulsanti();
    collegaControlli();
    disponiControlli();
}

// The captions, the two entry fields and the three frames of option buttons.
void Form6::creaCampi() {
    Label1 = new QLabel(QStringLiteral("codice"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("descrizione"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("Elenco causali presenti"), this);
    Label3->setObjectName(QStringLiteral("Label3"));

    CodCausale = new QLineEdit(this);
    CodCausale->setObjectName(QStringLiteral("CodCausale"));
    CodCausale->setMinimumWidth(fieldWidthFor(CodCausale, 5));
    CodCausale->setMaximumWidth(fieldWidthFor(CodCausale, 5));
    DescCausale = new QLineEdit(this);
    DescCausale->setObjectName(QStringLiteral("DescCausale"));
    DescCausale->setMinimumWidth(fieldWidthFor(DescCausale, 25));
    Label1->setBuddy(CodCausale);
    Label2->setBuddy(DescCausale);

    DareAvere = cornice(QStringLiteral("Tipo"), "DareAvere", QStringLiteral("Entrate"),
                        QStringLiteral("Uscite"), 0, DarAver[0], DarAver[1], "DarAver", this);
    Frame1 = cornice(QStringLiteral("Soggetto a costo"), "Frame1", QStringLiteral("si"),
                     QStringLiteral("no"), 2, DarAver[2], DarAver[3], "DarAver", this);
    sospesp = cornice(QStringLiteral("Sospeso"), "sospesp", QStringLiteral("si"),
                      QStringLiteral("no"), 0, SospesoSiNo[0], SospesoSiNo[1], "SospesoSiNo", this);
}

// The list of the causali and the four buttons.
void Form6::creaElencoEPulsanti() {
    ElencoCausali = new ListBox(QStringLiteral("ElencoCausali"), this);
    ElencoCausali->setSorted(true);
    ElencoCausali->setFixedPitch(true);
    ElencoCausali->setMinimumSize(330, 220);
    Label3->setBuddy(ElencoCausali);

    OK = new QPushButton(QStringLiteral("Conferma"), this);
    OK->setObjectName(QStringLiteral("OK"));
    pulisci = new QPushButton(QStringLiteral("Pulisci"), this);
    pulisci->setObjectName(QStringLiteral("pulisci"));
    pulisci->setToolTip(QStringLiteral("Cancella immissione"));
    esci = new QPushButton(QStringLiteral("Uscita"), this);
    esci->setObjectName(QStringLiteral("esci"));
    SSCommand1 = new QPushButton(QStringLiteral("Manutenzione"), this);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
}

// The handlers of the controls and the chain that Enter follows.
void Form6::collegaControlli() {
    connect(CodCausale, &QLineEdit::textChanged, this, handler([this] { CodCausale_Change(); }));
    connect(ElencoCausali, &ListBox::rowClicked, this, handler([this] { ElencoCausali_Click(); }));
    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    connect(pulisci, &QPushButton::clicked, this, handler([this] { pulisci_Click(); }));
    connect(esci, &QPushButton::clicked, this, handler([this] { esci_Click(); }));
    connect(SSCommand1, &QPushButton::clicked, this, handler([this] { SSCommand1_Click(); }));
    enterMovesFocus(CodCausale, DescCausale);
    enterMovesFocus(DescCausale, OK);
    // A full description stays (Enter goes on to "Conferma"): a key typed past its end
    // must not land on a button.
    refuseWhenFull(DescCausale, 25);
}

void Form6::disponiControlli() {
    // Entry on the left, the list on the right, the buttons along the bottom.
    auto* campi = new QGridLayout;
    campi->addWidget(Label1, 0, 0);
    campi->addWidget(CodCausale, 1, 0);
    campi->addWidget(Label2, 0, 1);
    campi->addWidget(DescCausale, 1, 1);
    auto* cornici = new QHBoxLayout;
    cornici->addWidget(DareAvere);
    cornici->addWidget(Frame1);
    cornici->addWidget(sospesp);
    auto* sinistra = new QVBoxLayout;
    sinistra->addLayout(campi);
    sinistra->addSpacing(8);
    sinistra->addLayout(cornici);
    sinistra->addStretch(1);
    auto* destra = new QVBoxLayout;
    destra->addWidget(Label3);
    destra->addWidget(ElencoCausali, 1);
    auto* sopra = new QHBoxLayout;
    sopra->addLayout(sinistra);
    sopra->addSpacing(12);
    sopra->addLayout(destra, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(OK);
    pulsanti->addWidget(pulisci);
    pulsanti->addWidget(SSCommand1);
    pulsanti->addStretch(1);
    pulsanti->addWidget(esci);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sopra, 1);
    layout->addSpacing(6);
    layout->addLayout(pulsanti);
}

void Form6::Form_Load() {
    DarAver[0]->setChecked(true);
    SospesoSiNo[0]->setChecked(true);
    // Every flag needs a selected option: a causale counts for the cost unless told.
    DarAver[2]->setChecked(true);
    ElencoCausali->setItems(righeElenco());
}

void Form6::Form_Activate() {
    applicaColoriElenchi({ElencoCausali});
    stato().IndiceCausaleScelta = 0;
    CodCausale->setFocus();
}

void Form6::CodCausale_Change() {
    if (CodCausale->text().size() >= 5) DescCausale->setFocus();
}

void Form6::ElencoCausali_Click() {
    RichiamaCausaleSelezionata();
}

void Form6::OK_Click() {
    if (const auto riservata = causaleRiservata(CodCausale->text())) mostraCausale(*riservata);

    if (normalizzaCodiceCausale(CodCausale->text()).trimmed().isEmpty() ||
        DescCausale->text().trimmed().isEmpty()) {
        erroreCausale(QStringLiteral("Campo codice e descrizione obbligatori"));
        CodCausale->clear();
        CodCausale->setFocus();
        return;
    }
    if (stato().IndiceCausaleScelta >= 1)
        AggiornaCausale();
    else
        AggiungiCausale();
}

void Form6::pulisci_Click() {
    ElencoCausali->setCurrentRow(-1);
    CodCausale->clear();
    DescCausale->clear();
    CodCausale->setFocus();
    stato().IndiceCausaleScelta = 0;
}

void Form6::esci_Click() {
    formHost().hide(*this);
}

void Form6::SSCommand1_Click() {
    formHost().hide(*this);
    formHost().show(formHost().form<ManutCaus>());
}

void Form6::RichiamaCausaleSelezionata() {
    const int linea = ElencoCausali->currentRow();
    if (linea < 0) return;
    const int riga = ElencoCausali->data(linea);
    const auto& s = stato();
    if (riga < 1 || riga > s.NumeroCausali || riga >= static_cast<int>(s.TabellaCausali.size()))
        return;
    stato().IndiceCausaleScelta = static_cast<qint16>(riga);
    mostraCausale(s.TabellaCausali[static_cast<size_t>(riga)]);
}

void Form6::AggiungiCausale() {
    if (const Esito salvata = aggiungiCausale(causaleDelForm()); !salvata.ok()) {
        erroreCausale(salvata.testo);
        // A code already in the archive: the entry starts again from the code.
        if (salvata.campo == CodCausale->objectName()) {
            svuotaCampi();
            CodCausale->setFocus();
        }
        return;
    }
    const auto& s = stato();
    const VoceCausale& nuova = s.TabellaCausali[static_cast<size_t>(s.NumeroCausali)];
    ElencoCausali->addItem(lineaCausale(nuova), s.NumeroCausali);
    // A picker not loaded yet lists the table, the new causale included, when it loads.
    if (FORM12* picker = formHost().loaded<FORM12>())
        picker->List1->addItem(lineaCausale(nuova), s.NumeroCausali);
    svuotaCampi();
    update();
}

void Form6::AggiornaCausale() {
    if (const Esito salvata = aggiornaCausale(stato().IndiceCausaleScelta, causaleDelForm());
        !salvata.ok()) {
        erroreCausale(salvata.testo);
        // The picked causale stays in the form: the user corrects its code.
        if (salvata.campo == CodCausale->objectName()) {
            CodCausale->setFocus();
            CodCausale->selectAll();
        }
        return;
    }
    riempiElenchiCausali();
    stato().IndiceCausaleScelta = 0;
    svuotaCampi();
}

VoceCausale Form6::causaleDelForm() const {
    VoceCausale voce;
    voce.codiceCausale = normalizzaCodiceCausale(CodCausale->text());
    voce.descrizione = DescCausale->text();
    voce.sospeso = SospesoSiNo[0]->isChecked() ? QStringLiteral("S") : QStringLiteral("N");
    voce.entrataUscita = DarAver[0]->isChecked() ? QStringLiteral("E") : QStringLiteral("U");
    voce.soggettoCosto = DarAver[2]->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return voce;
}

void Form6::mostraCausale(const VoceCausale& voce) {
    CodCausale->setText(normalizzaCodiceCausale(voce.codiceCausale));
    DescCausale->setText(withoutTrailingBlanks(voce.descrizione));
    if (voce.sospeso == QLatin1String("S")) SospesoSiNo[0]->setChecked(true);
    if (voce.sospeso == QLatin1String("N")) SospesoSiNo[1]->setChecked(true);
    if (voce.entrataUscita == QLatin1String("E")) DarAver[0]->setChecked(true);
    if (voce.entrataUscita == QLatin1String("U")) DarAver[1]->setChecked(true);
    if (voce.soggettoCosto == QLatin1String("1")) DarAver[2]->setChecked(true);
    if (voce.soggettoCosto == QLatin1String("0")) DarAver[3]->setChecked(true);
}

void Form6::svuotaCampi() {
    CodCausale->clear();
    DescCausale->clear();
}

} // namespace qv
