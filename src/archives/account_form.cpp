// Form2: "Immissione dati conto", the account editor and the choice of the data folder.
#include "account_form.h"

#include "account_selection_form.h"
#include "account_sheet_form.h"
#include "archives/accounts.h"
#include "common/amounts.h"
#include "common/paths.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/message_box.h"
#include "platform/result_box.h"
#include "shell/program_files.h"
#include "shell/startup.h"

#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

bool isDigit(int keyAscii) {
    return keyAscii >= '0' && keyAscii <= '9';
}

// Tab in an empty code field: the code is required before anything else.
class TabObbligatorio : public QObject {
public:
    TabObbligatorio(QLineEdit* field) : QObject(field), field_(field) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Tab) return false;
        if (!field_->text().isEmpty()) return false;
        runAsHandler(watched, [this] {
            messageBox(QStringLiteral("Campo obbligatorio"), MessageButtons::Ok,
                       MessageIcon::Exclamation, QStringLiteral("ERRORE"));
            field_->clear();
            field_->setFocus(Qt::OtherFocusReason);
        });
        return true;
    }

private:
    QLineEdit* field_;
};

} // namespace

Form2::Form2(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form2"));
    setCaption(QStringLiteral("Immissione dati conto"));

    creaElenchi();
    QGridLayout* campi = creaCampi();
    creaPulsanti();
    collegaCatena();
    disponi(campi);
}

// The list of the accounts and the tree of the folders, with the folder's caption.
void Form2::creaElenchi() {
    ListaConti = new ListBox(QStringLiteral("ListaConti"), this);
    ListaConti->setSorted(true);
    ListaConti->setFixedPitch(true);
    ListaConti->setToolTip(QStringLiteral("Elenco dei conti presenti nel percorso selezionato"));
    ListaConti->setMinimumWidth(ListaConti->fontMetrics().horizontalAdvance(QString(62, 'M')));
    ListaConti->setMinimumHeight(220);
    connect(ListaConti, &ListBox::rowDoubleClicked, this,
            handler([this] { ListaConti_DblClick(); }));

    NomeFile = new QLabel(percorsoDi(QString()), this);
    NomeFile->setObjectName(QStringLiteral("NomeFile"));
    NomeFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    NomeFile->setWordWrap(true);

    Dir1 = new FolderTree(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setToolTip(QStringLiteral("Seleziona la directory dove archiviare i dati"));
    Dir1->setMinimumSize(240, 220);
    Cartelle = Dir1->folders();
    Cartelle->setObjectName(QStringLiteral("Cartelle"));
    connect(Dir1, &FolderTree::folderChosen, this, handler([this] { Dir1_Change(); }));
}

QGridLayout* Form2::creaCampi() {
    // The entry fields, each as wide on screen as the record field it feeds.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    auto field = [&](QLineEdit*& member, const char* name, const QString& caption, int row,
                     int column, int span, int width) {
        if (!member) member = new QLineEdit(this);
        member->setObjectName(QString::fromLatin1(name));
        // Room for the whole field at its width in wide capitals, with the frame and
        // the text margins: a code or a name typed to its last character shows whole.
        const int room = fieldWidthFor(member, width);
        member->setMinimumWidth(room);
        auto* label = new QLabel(caption, this);
        label->setBuddy(member);
        grid->addWidget(label, row, column);
        // Short fields keep their size; the long ones take the room there is.
        if (width <= 15) {
            member->setMaximumWidth(room);
            grid->addWidget(member, row, column + 1, 1, span, Qt::AlignLeft);
        } else {
            grid->addWidget(member, row, column + 1, 1, span);
        }
    };
    field(CodConto, "CodConto", QStringLiteral("Nr. Conto"), 0, 0, 1, 12);
    field(TipoConto, "TipoConto", QStringLiteral("Tipo di conto"), 1, 0, 3, 30);
    field(NomeBanca, "NomeBanca", QStringLiteral("Banca"), 2, 0, 3, 45);
    field(IndBanca, "IndBanca", QStringLiteral("Indirizzo"), 3, 0, 3, 45);
    field(CapBanca, "CapBanca", QStringLiteral("C.A.P."), 4, 0, 1, 5);
    field(LocBanca, "LocBanca", QStringLiteral("Località"), 4, 2, 1, 25);
    field(ProvBanca, "ProvBanca", QStringLiteral("Prov."), 5, 0, 1, 2);
    field(abi, "abi", QStringLiteral("Cod. A.B.I."), 6, 0, 1, 10);
    field(Cab, "Cab", QStringLiteral("Cod. C.A.B."), 6, 2, 1, 10);
    field(id, "id", QStringLiteral(" ID Banca"), 7, 0, 1, 10);
    // The credit line is an amount: entering it selects the amount shown, so that what
    // is typed replaces it.
    QLineEdit* fido = Fido = new AmountField(QStringLiteral("Fido"), this);
    field(fido, "Fido", QStringLiteral("Fido"), 7, 2, 1, 15);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 2);
    return grid;
}

void Form2::creaPulsanti() {
    AddAnItem = new QPushButton(QStringLiteral("Conferma"), this);
    AddAnItem->setObjectName(QStringLiteral("AddAnItem"));
    CLR = new QPushButton(QStringLiteral("Elimina immissione"), this);
    CLR->setObjectName(QStringLiteral("CLR"));
    Del = new QPushButton(QStringLiteral("Cancella conto"), this);
    Del->setObjectName(QStringLiteral("Del"));
    esci = new QPushButton(QStringLiteral("Uscita"), this);
    esci->setObjectName(QStringLiteral("esci"));
    connect(AddAnItem, &QPushButton::clicked, this, handler([this] { AddAnItem_Click(); }));
    connect(CLR, &QPushButton::clicked, this, handler([this] { CLR_Click(); }));
    connect(Del, &QPushButton::clicked, this, handler([this] { Del_Click(); }));
    connect(esci, &QPushButton::clicked, this, handler([this] { esci_Click(); }));
}

void Form2::collegaCatena() {
    // The entry chain: Enter, or a field filled to its width, moves to the next.
    struct Anello {
        QLineEdit* field;
        int width;
        QWidget* next;
    };
    const Anello catena[] = {
        {CodConto, 12, TipoConto},
        {TipoConto, 30, NomeBanca},
        {NomeBanca, 45, IndBanca},
        {IndBanca, 45, CapBanca},
        {CapBanca, 5, LocBanca},
        {LocBanca, 25, ProvBanca},
        {ProvBanca, 2, abi},
        {abi, 10, Cab},
        {Cab, 10, id},
        {id, 10, Fido},
        {Fido, 15, AddAnItem},
    };
    for (const Anello& a : catena) {
        QWidget* next = a.next;
        const int width = a.width;
        if (next == AddAnItem) {
            // The last field stays when full (Enter goes on to "Conferma"): a key typed
            // past its end must not land on a button.
            refuseWhenFull(a.field, width);
        } else {
            connect(a.field, &QLineEdit::textEdited, this, [next, width](const QString& text) {
                if (text.size() == width) next->setFocus(Qt::TabFocusReason);
            });
        }
        // The fields with their own key filter handle Enter there.
        if (a.field != CodConto && a.field != CapBanca && a.field != Fido)
            enterMovesFocus(a.field, next);
    }
    onKeyPress(CodConto, [this](int& k) { CodConto_KeyPress(k); });
    onKeyPress(CapBanca, [this](int& k) { CapBanca_KeyPress(k); });
    onKeyPress(Fido, [this](int& k) { Fido_KeyPress(k); });
    onGotFocus(LocBanca, [this] { LocBanca_GotFocus(); });
    onLostFocus(ProvBanca, [this] { ProvBanca_LostFocus(); });
    CodConto->installEventFilter(new TabObbligatorio(CodConto));
}

// The lists above, the fields (`grid`) in their frame, the buttons below; the tab order.
void Form2::disponi(QGridLayout* grid) {
    auto* cartelle = new QVBoxLayout;
    cartelle->addWidget(NomeFile);
    cartelle->addWidget(Dir1, 1);

    auto* elenchi = new QHBoxLayout;
    elenchi->addWidget(ListaConti, 3);
    elenchi->addLayout(cartelle, 2);

    auto* dati = new QGroupBox(QStringLiteral("Dati del conto"), this);
    dati->setLayout(grid);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(AddAnItem);
    pulsanti->addWidget(CLR);
    pulsanti->addWidget(Del);
    pulsanti->addStretch(1);
    pulsanti->addWidget(esci);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(elenchi, 1);
    layout->addWidget(dati);
    layout->addLayout(pulsanti);

    setTabOrder(CodConto, TipoConto);
    setTabOrder(TipoConto, NomeBanca);
    setTabOrder(NomeBanca, IndBanca);
    setTabOrder(IndBanca, CapBanca);
    setTabOrder(CapBanca, LocBanca);
    setTabOrder(LocBanca, ProvBanca);
    setTabOrder(ProvBanca, abi);
    setTabOrder(abi, Cab);
    setTabOrder(Cab, id);
    setTabOrder(id, Fido);
    setTabOrder(Fido, AddAnItem);
}

void Form2::Form_Load() {
    applicaColoriElenchi({ListaConti});
    // Made when first opened: the list starts from the accounts loaded so far.
    ListaConti->setItems(lineeConti());
    CodConto->setEnabled(true);
    Del->setEnabled(false);
    mostraCartella(stato().PercorsoDati);
}

void Form2::Form_Activate() {
    prendiCartella(stato().PercorsoDati, true);
}

QString Form2::cartellaScelta() const {
    return Dir1->chosenFolder();
}

void Form2::mostraCartella(const QString& folder) {
    NomeFile->setText(percorsoDi(folderWithSlash(folder)));
    Dir1->showFolder(folder);
}

void Form2::Dir1_Change() {
    const QString folder = cartellaScelta();
    if (!folder.isEmpty()) prendiCartella(folder, false);
}

void Form2::prendiCartella(const QString& cartella, bool clearList) {
    if (clearList) ListaConti->clear();
    prendiCartellaDati(cartella, [this](const QString& folder) { mostraCartella(folder); });
}

void Form2::ListaConti_DblClick() {
    const int row = ListaConti->currentRow();
    if (row < 0 || row >= ListaConti->count()) return;
    // A line whose code no account has any more picks nothing.
    if (rigaDellaLinea(ListaConti->items()[size_t(row)]) == 0) return;
    CodConto->setEnabled(false);
    Del->setEnabled(true);
    RichiamaContoSelezionato();
}

void Form2::RichiamaContoSelezionato() {
    const int row = ListaConti->currentRow();
    if (row < 0 || row >= ListaConti->count()) return;
    const int riga = rigaDellaLinea(ListaConti->items()[size_t(row)]);
    if (riga == 0) return;

    StatoProgramma& s = stato();
    s.IndiceContoAttivo = qint16(riga);
    const Conto& conto = s.TabellaConti[size_t(riga)];
    CodConto->setText(withoutTrailingBlanks(conto.codiceConto));
    TipoConto->setText(withoutTrailingBlanks(conto.tipoConto));
    NomeBanca->setText(withoutTrailingBlanks(conto.nomeBanca));
    IndBanca->setText(withoutTrailingBlanks(conto.indirizzo));
    CapBanca->setText(withoutTrailingBlanks(conto.cap));
    LocBanca->setText(withoutTrailingBlanks(conto.localita));
    ProvBanca->setText(withoutTrailingBlanks(conto.provincia));
    abi->setText(withoutTrailingBlanks(conto.codiceAbi));
    Fido->setText(formatAmount(conto.fido, s.FattoreValuta, s.FormatoImporti));
    Cab->setText(withoutTrailingBlanks(conto.codiceCab));
    id->setText(withoutTrailingBlanks(conto.idBanca));
    rigaRichiamata_ = riga;
    fidoMostrato_ = Fido->text();
    fidoRichiamato_ = conto.fido;

    Del->setEnabled(true);
    TipoConto->setFocus(Qt::OtherFocusReason);
}

void Form2::AddAnItem_Click() {
    if (!codicePresente()) return;
    const StatoProgramma& s = stato();
    const int riga = s.IndiceContoAttivo;
    const bool modifica = riga >= 1 && riga <= s.NumeroConti;
    Conto conto = contoDaiCampi();
    if (!prendiFido(conto, modifica && riga == rigaRichiamata_)) return;
    if (!salvaConto(conto, modifica)) return;
    riempiListeConti();
    prontoPerNuovoConto();
}

bool Form2::codicePresente() {
    if (!CodConto->text().isEmpty()) return true;
    beep();
    messageBox(testoCodiceObbligatorio(), MessageButtons::Ok, MessageIcon::Exclamation,
               QStringLiteral("ERRORE"));
    CodConto->setFocus(Qt::OtherFocusReason);
    return false;
}

Conto Form2::contoDaiCampi() const {
    Conto conto;
    conto.codiceConto = CodConto->text();
    conto.tipoConto = TipoConto->text();
    conto.nomeBanca = NomeBanca->text();
    conto.indirizzo = IndBanca->text();
    conto.cap = CapBanca->text();
    conto.localita = LocBanca->text();
    conto.provincia = ProvBanca->text();
    conto.codiceAbi = abi->text();
    conto.codiceCab = Cab->text();
    conto.idBanca = id->text();
    return conto;
}

bool Form2::prendiFido(Conto& conto, bool richiamato) {
    // The credit line is typed in the display currency and stored in Euro. Shown
    // rounded to the number format, it is kept as stored when left as shown.
    const StatoProgramma& s = stato();
    const QString testoFido = Fido->text();
    if (richiamato && testoFido == fidoMostrato_) {
        conto.fido = fidoRichiamato_;
        return true;
    }
    if (testoFido.trimmed().isEmpty()) return true;
    const std::optional<double> importo = parseAmount(testoFido);
    if (const QString rifiuto = amountRefusalMessage(testoFido, s.FattoreValuta);
        !rifiuto.isEmpty()) {
        messageBox(rifiuto, MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("ERRORE"));
        Fido->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (!cambioUtilizzabile(s.FattoreValuta)) {
        messageBox(QStringLiteral("Il cambio della valuta scelta non è utilizzabile: il fido "
                                  "non può essere convertito. Scegliere un'altra valuta e "
                                  "riprovare."),
                   MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("ERRORE"));
        return false;
    }
    conto.fido = *importo / s.FattoreValuta;
    return true;
}

bool Form2::salvaConto(const Conto& conto, bool modifica) {
    EsitoCodice esitoCodice = EsitoCodice::Valido;
    const Esito esito =
        modifica ? AggiornaConto(conto, &esitoCodice) : AggiungiConto(conto, &esitoCodice);
    if (esito.ok()) return true;
    // A refused code is what has to change, so it must be free to change.
    if (esitoCodice != EsitoCodice::Valido) CodConto->setEnabled(true);
    showResult(esito, this);
    return false;
}

void Form2::prontoPerNuovoConto() {
    svuotaCampi();
    Cab->clear();
    id->clear();
    CodConto->setEnabled(true);
    stato().IndiceContoAttivo = 0;
    dimenticaFido();
}

void Form2::CLR_Click() {
    svuotaCampi();
    CodConto->setEnabled(true);
    stato().IndiceContoAttivo = 0;
    dimenticaFido();
}

void Form2::Del_Click() {
    // No account picked: nothing is asked. Cancel is the default, as at every
    // deletion: Enter keeps the account.
    Esito esito = controllaContoDaCancellare();
    if (esito.ok()) {
        if (messageBox(testoConfermaCancellazione(), MessageButtons::OkCancel,
                       MessageIcon::Exclamation, QStringLiteral("AVVERTIMENTO!"),
                       MessageAnswer::Cancel) == MessageAnswer::Ok) {
            esito = CancellaConto();
            if (esito.ok()) {
                riempiListeConti();
                if (Form10* scheda = formHost().loaded<Form10>()) scheda->svuotaCampi();
            }
        } else {
            esito = Esito::rifiutato({}, {});
        }
    }
    showResult(esito);
    svuotaCampi();
    CodConto->setEnabled(true);
    stato().IndiceContoAttivo = 0;
    dimenticaFido();
}

void Form2::esci_Click() {
    CodConto->setEnabled(CodConto->text().isEmpty());
    formHost().hide(*this);
}

void Form2::CodConto_KeyPress(int& keyAscii) {
    if (keyAscii == 13) {
        if (!CodConto->text().isEmpty()) TipoConto->setFocus(Qt::TabFocusReason);
        keyAscii = 0;
        return;
    }
    if (keyAscii == '.' || keyAscii == '/' || keyAscii == '\\') {
        beep();
        keyAscii = 0;
    }
}

void Form2::CapBanca_KeyPress(int& keyAscii) {
    if (keyAscii == 13) {
        LocBanca->setFocus(Qt::TabFocusReason);
        keyAscii = 0;
        return;
    }
    if (!isDigit(keyAscii) && keyAscii != 8) {
        beep();
        keyAscii = 0;
    }
}

void Form2::Fido_KeyPress(int& keyAscii) {
    if (keyAscii == 13) {
        AddAnItem->setFocus(Qt::TabFocusReason);
        keyAscii = 0;
        return;
    }
    if (!isDigit(keyAscii) && keyAscii != 8) {
        beep();
        keyAscii = 0;
    }
}

void Form2::LocBanca_GotFocus() {
    if (CapBanca->text().isEmpty()) CapBanca->setText(QStringLiteral("0"));
}

void Form2::ProvBanca_LostFocus() {
    ProvBanca->setText(ProvBanca->text().toUpper());
}

void Form2::preparaNuovoConto() {
    svuotaCampi();
    CodConto->setEnabled(true);
    dimenticaFido();
}

void Form2::svuotaCampi() {
    for (QLineEdit* campo : std::initializer_list<QLineEdit*>{
             CodConto, TipoConto, NomeBanca, IndBanca, CapBanca, LocBanca, ProvBanca, abi, Fido})
        campo->clear();
}

void Form2::dimenticaFido() {
    rigaRichiamata_ = 0;
    fidoMostrato_.clear();
    fidoRichiamato_ = 0.0;
}

void Form2::valutaCambiata(double prima) {
    const auto& s = stato();
    if (!fidoMostrato_.isEmpty() && Fido->text() == fidoMostrato_) {
        // The picked account's credit line, untouched: shown again from what is stored.
        if (!cambioUtilizzabile(s.FattoreValuta)) return;
        Fido->setText(formatAmount(fidoRichiamato_, s.FattoreValuta, s.FormatoImporti));
        fidoMostrato_ = Fido->text();
        return;
    }
    Fido->setText(cifraNellaNuovaValuta(Fido->text(), prima, s.FattoreValuta, std::nullopt,
                                        s.FormatoImporti));
}

void apriGestioneConto() {
    if (const auto& chiudi = richiesteConti().chiudiConto) chiudi();
    Form2& form = formHost().form<Form2>();
    form.preparaNuovoConto();
    stato().CodiceContoAttivo.clear();
    formHost().show(form);
}

} // namespace qv
