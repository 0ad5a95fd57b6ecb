// Form11: "Elenco Movimenti", the movement list by period with carry-forward.
#include "ledger/period_list_form.h"

#include "common/dates.h"
#include "common/shared_state.h"
#include "ledger/balances.h"
#include "ledger/listed_change_form.h"
#include "ledger/movement_files.h"
#include "ledger/open_account.h"
#include "platform/column_headings.h"
#include "platform/controls.h"
#include "platform/date_check_dialog.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/list_box.h"
#include "platform/list_colours.h"
#include "platform/message_box.h"
#include "platform/requests.h"
#include "platform/result_box.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

using StampaRegistrata = Requests<Form11::AzioneStampa, Form11>;
using SelezioneRegistrata = Requests<Form11::RichiestaSelezione, Form11>;

// The rows 1 to NumeroMovimenti of the movement table.
std::vector<Movimento> movimentiDelConto() {
    const auto& s = stato();
    const int n = std::clamp<int>(s.NumeroMovimenti, 0, int(s.TabellaMovimenti.size()) - 1);
    return {s.TabellaMovimenti.begin() + 1, s.TabellaMovimenti.begin() + 1 + n};
}

// A whole, real date "DD/MM/YYYY".
bool dataIntera(const QString& testo) {
    if (!isCompleteDateText(testo)) return false;
    const DateParts p = splitDateText(testo);
    return dateValuesValid(p.giorno, p.mese, p.anno);
}

} // namespace

QString messaggioElencoIncompleto() {
    return QStringLiteral("Questa funzione funziona solo se tutti i movimenti sono inclusi "
                          "nella lista");
}

Form11::Form11(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form11"));
    setCaption(QStringLiteral("Elenco Movimenti"));
    // Closing the open account closes the list: it shows that account's movements.
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });

    creaTitolo();
    creaCampi();
    creaPulsanti();
    creaElenco();
    disponi();
    collegaControlli();
}

// The heading over the window, in a larger bold face.
void Form11::creaTitolo() {
    Panel3D1 = new QLabel(QStringLiteral("Elenco Movimenti"), this);
    Panel3D1->setObjectName(QStringLiteral("Panel3D1"));
    Panel3D1->setAlignment(Qt::AlignCenter);
    Panel3D1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFont titolo = Panel3D1->font();
    titolo.setBold(true);
    titolo.setPointSizeF(titolo.pointSizeF() * 1.3);
    Panel3D1->setFont(titolo);
    Panel3D1->setMinimumHeight(QFontMetrics(titolo).height() + 10);
}

// The period's two dates and the causale filter.
void Form11::creaCampi() {
    DataOper = new DateField(QStringLiteral("DataOper"), this);
    DataOper->setToolTip(QStringLiteral("data iniziale dei movimenti da elencare"));
    DataFinale = new DateField(QStringLiteral("DataFinale"), this);
    DataFinale->setToolTip(QStringLiteral("Data finale dei movimenti da elencare"));
    const int larghezzaData = DataOper->fontMetrics().horizontalAdvance(QString(14, u'0'));
    DataOper->setFixedWidth(larghezzaData);
    DataFinale->setFixedWidth(larghezzaData);
    DataOper->setAccessibleName(QStringLiteral("Dal"));
    DataFinale->setAccessibleName(QStringLiteral("Al"));

    Label7 = new QLabel(QStringLiteral("Causale:"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Combo1 = new ComboBox(QStringLiteral("Combo1"), this);
    Combo1->setToolTip(QStringLiteral("Seleziona la causale da filtrare"));
    Combo1->setEditable(false);
    Combo1->setMinimumContentsLength(26);
    Label7->setBuddy(Combo1);
}

// "Conferma", "Tutti", "Stampa" and "Uscita".
void Form11::creaPulsanti() {
    OK = namedButton(this, QStringLiteral("OK"), QStringLiteral("Conferma"));
    Tutti = namedButton(this, QStringLiteral("Tutti"), QStringLiteral("Tutti"));
    Tutti->setToolTip(QStringLiteral("Seleziona l'inervallo tra tutte le date"));
    PulStampe = namedButton(this, QStringLiteral("PulStampe"), QStringLiteral("Stampa"));
    Esc = namedButton(this, QStringLiteral("Esc"), QStringLiteral("Uscita"));
}

// The list and the column heads over it, each at the column of the lines it names.
void Form11::creaElenco() {
    List1 = new ListBox(QStringLiteral("List1"), this);
    List1->setFixedPitch(true);
    List1->setMinimumWidth(QFontMetrics(List1->font()).horizontalAdvance(QString(118, u'0')));
    List1->setMinimumHeight(300);

    intestazioni_ = new ColumnHeadings(List1, this, 4);
    auto etichetta = [&](QLabel*& membro, const char* nome, const QString& testo, int colonna,
                         bool finoA) {
        membro = new QLabel(testo, this);
        membro->setObjectName(QString::fromLatin1(nome));
        intestazioni_->add(membro, colonna, finoA);
    };
    etichetta(Label1, "Label1", QStringLiteral("Data"), 1, false);
    etichetta(Label2, "Label2", QStringLiteral("Valuta"), 13, false);
    etichetta(Label3, "Label3", QStringLiteral("Mov. Dare"), 38, true);
    etichetta(Label4, "Label4", QStringLiteral("Mov. Avere"), 49, true);
    etichetta(Label5, "Label5", QStringLiteral("Saldo"), 64, true);
    etichetta(Label6, "Label6", QStringLiteral("Descr. Operazione"), 67, false);
}

// The heading, then one row with the period, the filter and the buttons, then the list.
void Form11::disponi() {
    auto* periodo = new QHBoxLayout;
    periodo->addWidget(new QLabel(QStringLiteral("Dal"), this));
    periodo->addWidget(DataOper);
    periodo->addSpacing(8);
    periodo->addWidget(new QLabel(QStringLiteral("Al"), this));
    periodo->addWidget(DataFinale);
    periodo->addSpacing(16);
    periodo->addWidget(Label7);
    periodo->addWidget(Combo1);
    periodo->addSpacing(16);
    periodo->addWidget(OK);
    periodo->addWidget(Tutti);
    periodo->addStretch(1);
    periodo->addWidget(PulStampe);
    periodo->addWidget(Esc);

    auto* tutto = new QVBoxLayout(this);
    tutto->addWidget(Panel3D1);
    tutto->addLayout(periodo);
    tutto->addWidget(intestazioni_);
    tutto->setSpacing(6);
    tutto->addWidget(List1, 1);
}

// The tab order, Enter in the end date, and the handlers.
void Form11::collegaControlli() {
    setTabOrder(DataOper, DataFinale);
    setTabOrder(DataFinale, OK);
    setTabOrder(OK, Combo1);
    // Enter in the end date goes on to "Conferma".
    enterMovesFocus(DataFinale, OK);

    connect(OK, &QPushButton::clicked, this, handler([this] { OK_Click(); }));
    connect(Tutti, &QPushButton::clicked, this, handler([this] { Tutti_Click(); }));
    connect(PulStampe, &QPushButton::clicked, this, handler([this] { PulStampe_Click(); }));
    connect(Esc, &QPushButton::clicked, this, handler([this] { Esc_Click(); }));
    connect(List1, &ListBox::rowDoubleClicked, this, handler([this] { List1_DblClick(); }));
}

void Form11::impostaRichiestaSelezione(RichiestaSelezione richiesta) {
    SelezioneRegistrata::set(std::move(richiesta));
}

void Form11::Form_Load() {
    auto& s = stato();
    Hourglass clessidra;
    s.Form11Aperta = 1;
    applicaColoriElenchi({List1});
    const auto& richiesta = SelezioneRegistrata::get();
    const std::optional<SelezioneMovimenti> selezione = richiesta ? richiesta() : std::nullopt;
    // The latest operation date follows the one typed in the entry form.
    if (selezione) AggiornaDateEstreme(selezione->dataOper);
    // The period is the range the entry form lists; a bound it leaves empty, or holds no
    // date in, is the account's first or last operation date.
    DataOper->setTesto(s.PrimaDataOperazione);
    DataFinale->setTesto(s.UltimaDataOperazione);
    if (selezione) {
        if (dataIntera(selezione->dal)) DataOper->setTesto(selezione->dal);
        if (dataIntera(selezione->al)) DataFinale->setTesto(selezione->al);
    }
    riempiFiltroCausali();
    ElencaMovimentiPerPeriodo();
}

void Form11::Form_Activate() {
    stato().Form11Aperta = 1;
    // Coming back after the movements changed elsewhere: the list shows them again.
    if (!elencoAggiornato()) ElencaMovimentiPerPeriodo();
}

void Form11::Form_Unload(bool& cancel) {
    Q_UNUSED(cancel);
    stato().Form11Aperta = 0;
}

void Form11::riempiFiltroCausali() {
    Combo1->clear();
    for (const QString& voce : vociFiltroCausale())
        Combo1->addItem(voce);
    Combo1->setCurrentIndex(0);
}

namespace {
// An empty bound (no bound) or a whole, real date.
bool limiteAccettabile(const DateField* campo) {
    return campo->isBlank() || dataIntera(campo->testo());
}
} // namespace

void Form11::ElencaMovimentiPerPeriodo() {
    if (limiteAccettabile(DataOper) && limiteAccettabile(DataFinale)) {
        dal_ = DataOper->testo();
        al_ = DataFinale->testo();
    }
    EsitoCon<ElencoPeriodo> elencato =
        qv::ElencaMovimentiPerPeriodo(dal_, al_, Combo1->currentText());
    elenco_ = std::move(elencato.valore);
    tabellaElencata_ = movimentiDelConto();
    datiElencati_ = altriDatiAttuali();
    std::vector<ListItem> righe;
    righe.reserve(elenco_.righe.size());
    for (const RigaPeriodo& r : elenco_.righe)
        righe.push_back({r.testo, r.numero});
    List1->setItems(std::move(righe));
    showResult(elencato.esito);
}

bool Form11::elencoAggiornato() const {
    const auto& s = stato();
    const int n = std::clamp<int>(s.NumeroMovimenti, 0, int(s.TabellaMovimenti.size()) - 1);
    if (size_t(n) != tabellaElencata_.size()) return false;
    return std::equal(tabellaElencata_.begin(), tabellaElencata_.end(),
                      s.TabellaMovimenti.begin() + 1);
}

Form11::AltriDati Form11::altriDatiAttuali() const {
    const auto& s = stato();
    AltriDati d;
    d.riporto = s.TabellaRiporto[1];
    d.fattore = s.FattoreValuta;
    d.formato = s.FormatoImporti;
    d.causali = s.TabellaCausali;
    const int fogli = std::clamp<int>(s.NumeroFogli, 0, int(s.TabellaFogli.size()) - 1);
    d.fogli.assign(s.TabellaFogli.begin() + 1, s.TabellaFogli.begin() + 1 + fogli);
    // The period the list would take from the fields now (a bound without a date keeps
    // the last one).
    const bool leggibili = limiteAccettabile(DataOper) && limiteAccettabile(DataFinale);
    d.dal = leggibili ? DataOper->testo() : dal_;
    d.al = leggibili ? DataFinale->testo() : al_;
    d.filtro = Combo1->currentText();
    return d;
}

bool Form11::elencoInvariato() const {
    return elencoAggiornato() && altriDatiAttuali() == datiElencati_;
}

void Form11::OK_Click() {
    // An impossible date ("31/02/2026") or a half-typed one is refused: the list stays
    // as it was, and the field keeps what was typed, for the user to put right.
    for (DateField* campo : {DataOper, DataFinale}) {
        if (limiteAccettabile(campo)) continue;
        MsgDataErrataBreve();
        campo->setFocus(Qt::OtherFocusReason);
        campo->selectAll();
        return;
    }
    Hourglass clessidra;
    ElencaMovimentiPerPeriodo();
}

void Form11::Tutti_Click() {
    const auto& s = stato();
    DataOper->setTesto(s.PrimaDataOperazione);
    DataFinale->setTesto(s.UltimaDataOperazione);
    Hourglass clessidra;
    ElencaMovimentiPerPeriodo();
}

void Form11::impostaStampa(AzioneStampa azione) {
    StampaRegistrata::set(std::move(azione));
}

void Form11::PulStampe_Click() {
    const auto& stampa = StampaRegistrata::get();
    if (!stampa) return;
    Hourglass clessidra;
    stampa(DataOper->testo(), DataFinale->testo(), Combo1->currentText());
}

void Form11::Esc_Click() {
    stato().Form11Aperta = 0;
    formHost().unload(*this);
}

void Form11::List1_DblClick() {
    const int riga = List1->currentRow();
    if (riga < 0) return;
    // Only a movement's line opens anything: the carry-forward, the cheque notes and
    // the closing lines stand for no movement.
    const int numero = List1->data(riga);
    if (numero <= 0) return;
    if (!elencoAggiornato()) {
        // The movements changed since the list was built: its lines may no longer be
        // the movements they show.
        ElencaMovimentiPerPeriodo();
        return;
    }
    if (elenco_.elencati < stato().NumeroMovimenti) {
        messageBox(messaggioElencoIncompleto(), MessageButtons::Ok, MessageIcon::Exclamation,
                   QStringLiteral("Avvertimento"));
        return;
    }
    apriMovimentoElencato(numero);
}

void ElencaMovimentiPerPeriodo() {
    if (Form11* elenco = formHost().loaded<Form11>()) elenco->ElencaMovimentiPerPeriodo();
}

void AggiornaElencoPerPeriodo() {
    Form11* elenco = formHost().loaded<Form11>();
    if (elenco && !elenco->elencoInvariato()) elenco->ElencaMovimentiPerPeriodo();
}

} // namespace qv
