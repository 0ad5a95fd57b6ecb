// Form26: "Dati calcolo interessi", the editor of the open account's interest and cost
// conditions, on five tabs, with its printed conditions sheet.
#include "conditions/conditions_form.h"

#include "common/amounts.h"
#include "common/shared_state.h"
#include "conditions/conditions_sheet.h"
#include "conditions/other_options_form.h"
#include "ledger/open_account.h"
#include "platform/controls.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/line_printer.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "platform/print_document.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

namespace qv {

namespace {

constexpr int kLunghezzaImporto = 15;

// The longest text of a rate that a rate field takes.
QString tassoPiuLungo() {
    return testoTasso(-TassoMassimo);
}

// The width a line field needs to show every text of the same shape as `testo` whole:
// each digit may be any digit, with the field's frame and the margins it keeps around
// its text.
int larghezzaPer(const QLineEdit* campo, const QString& testo) {
    const QFontMetrics fm = campo->fontMetrics();
    int larghezzaTesto = 0;
    for (char16_t cifra = u'0'; cifra <= u'9'; ++cifra) {
        QString t = testo;
        for (QChar& c : t)
            if (c.isDigit()) c = cifra;
        larghezzaTesto = std::max(larghezzaTesto, fm.horizontalAdvance(t));
    }
    // QLineEdit keeps two pixels free on each side of its text, one more for the cursor.
    const QMargins margini = campo->textMargins() + campo->contentsMargins();
    const int w = larghezzaTesto + 2 * 2 + 1 + margini.left() + margini.right();
    QStyleOptionFrame opzione;
    opzione.initFrom(campo);
    opzione.lineWidth = campo->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opzione, campo);
    opzione.midLineWidth = 0;
    opzione.state |= QStyle::State_Sunken;
    return campo->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &opzione, QSize(w, fm.height()), campo)
        .width();
}

// Shows a rate's text whole: a stored rate beyond what the field takes when typed
// (a damaged file) is not cut, so the field reads back what it shows.
void mostraTasso(AmountField* campo, const QString& testo) {
    campo->setMaxLength(std::max(int(tassoPiuLungo().size()), int(testo.size())));
    campo->setText(testo);
}

// Gives the named members the controls of an array numbered from 1.
template <class T, size_t N>
void assegna(const std::array<T*, N>& a, std::initializer_list<T**> m) {
    size_t k = 1;
    for (T** membro : m)
        *membro = a[k++];
}

QLabel* intestazione(const QString& testo, QWidget* parent) {
    auto* l = new QLabel(testo, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QPushButton* pulsante(const QString& nome, const QString& testo, QWidget* parent) {
    auto* b = namedButton(parent, nome, testo);
    // Enter on a button that has the focus presses it.
    b->setAutoDefault(true);
    return b;
}

QRadioButton* opzione(const QString& nome, const QString& testo, QWidget* parent) {
    auto* r = new QRadioButton(testo, parent);
    r->setObjectName(nome);
    return r;
}

QLineEdit* testo(const QString& nome, int lunghezza, QWidget* parent) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(nome);
    t->setMaxLength(lunghezza);
    return t;
}

// The tab of `w` among the tabs of `tabs`; -1 when it is on none.
int schedaDi(QTabWidget* tabs, QWidget* w) {
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(w)) return i;
    return -1;
}

// Enter in the last field of a tab: the tab of `to` is shown and `to` takes the focus.
// The key goes no further, so it never reaches a button.
class EnterNextTab : public QObject {
public:
    EnterNextTab(QWidget* from, QTabWidget* tabs, QWidget* to)
        : QObject(from), tabs_(tabs), to_(to) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        runAsHandler(watched, [this] {
            if (!tabs_ || !to_ || !to_->isEnabled()) return;
            const int scheda = schedaDi(tabs_, to_);
            if (scheda >= 0) tabs_->setCurrentIndex(scheda);
            to_->setFocus(Qt::TabFocusReason);
        });
        return true;
    }

private:
    QPointer<QTabWidget> tabs_;
    QPointer<QWidget> to_;
};

void enterToNextTab(QWidget* from, QTabWidget* tabs, QWidget* to) {
    from->installEventFilter(new EnterNextTab(from, tabs, to));
}

} // namespace

Form26::Form26(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form26"));
    setCaption(QStringLiteral("Dati calcolo interessi"));
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });

    banca = new QLabel(this);
    banca->setObjectName(QStringLiteral("banca"));
    QFont grande = banca->font();
    grande.setBold(true);
    grande.setPointSizeF(grande.pointSizeF() * 1.2);
    banca->setFont(grande);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(tabCreditori(), QStringLiteral("Interessi Creditori"));
    SSTab1->addTab(tabDebitori(), QStringLiteral("Interessi Debitori"));
    SSTab1->addTab(tabSpese(), QStringLiteral("Spese varie"));
    SSTab1->addTab(tabOneri(), QStringLiteral("Oneri passivi"));
    SSTab1->addTab(tabOpzioni(), QStringLiteral("Opzioni"));

    OKi = pulsante(QStringLiteral("OKi"), QStringLiteral("Conferma"), this);
    PulStampe = pulsante(QStringLiteral("PulStampe"), QStringLiteral("Stampa"), this);
    Esc = pulsante(QStringLiteral("Esc"), QStringLiteral("Uscita "), this);
    connect(OKi, &QPushButton::clicked, this, handler([this] { OKi_Click(); }));
    connect(PulStampe, &QPushButton::clicked, this, handler([this] { PulStampe_Click(); }));
    connect(Esc, &QPushButton::clicked, this, handler([this] { Esc_Click(); }));

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(OKi);
    pulsanti->addWidget(PulStampe);
    pulsanti->addStretch(1);
    pulsanti->addWidget(Esc);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banca);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(pulsanti);

    collegaTasti();
}

QWidget* Form26::tabCreditori() {
    auto* pagina = new QWidget;
    auto* riquadro = new QGroupBox(QStringLiteral("Interessi Creditori"), pagina);
    auto* g = new QGridLayout(riquadro);
    g->addWidget(intestazione(QStringLiteral("A decorrere dalla data"), riquadro), 0, 0);
    g->addWidget(intestazione(QStringLiteral("percentuale"), riquadro), 0, 1);
    for (int k = 1; k <= 5; ++k) {
        dataC_[size_t(k)] = new DateField(QStringLiteral("DataC%1").arg(k), riquadro);
        perC_[size_t(k)] = new AmountField(QStringLiteral("PerC%1").arg(k), riquadro);
        dataC_[size_t(k)]->setAccessibleName(QStringLiteral("A decorrere dalla data %1").arg(k));
        perC_[size_t(k)]->setAccessibleName(QStringLiteral("percentuale %1").arg(k));
        g->addWidget(dataC_[size_t(k)], k, 0, Qt::AlignLeft);
        g->addWidget(perC_[size_t(k)], k, 1, Qt::AlignLeft);
    }
    assegna(dataC_, {&DataC1, &DataC2, &DataC3, &DataC4, &DataC5});
    assegna(perC_, {&PerC1, &PerC2, &PerC3, &PerC4, &PerC5});
    g->setColumnStretch(2, 1);
    g->setRowStretch(6, 1);
    auto* l = new QVBoxLayout(pagina);
    l->addWidget(riquadro);
    return pagina;
}

QWidget* Form26::tabDebitori() {
    auto* pagina = new QWidget;
    auto* riquadro = new QGroupBox(QStringLiteral("Interessi Debitori"), pagina);
    auto* g = new QGridLayout(riquadro);
    g->addWidget(intestazione(QStringLiteral("A decorrere dalla data"), riquadro), 0, 0);
    g->addWidget(intestazione(QStringLiteral("percentuale"), riquadro), 0, 1, 1, 2,
                 Qt::AlignHCenter);
    g->addWidget(new QLabel(QStringLiteral("entro fido"), riquadro), 1, 1);
    g->addWidget(new QLabel(QStringLiteral("fuori fido"), riquadro), 1, 2);
    for (int k = 1; k <= 5; ++k) {
        dataD_[size_t(k)] = new DateField(QStringLiteral("DATAD%1").arg(k), riquadro);
        perD_[size_t(k)] = new AmountField(QStringLiteral("PerD%1").arg(k), riquadro);
        perD_[size_t(k + 5)] = new AmountField(QStringLiteral("PerD%1").arg(k + 5), riquadro);
        dataD_[size_t(k)]->setAccessibleName(QStringLiteral("A decorrere dalla data %1").arg(k));
        perD_[size_t(k)]->setAccessibleName(QStringLiteral("percentuale entro fido %1").arg(k));
        perD_[size_t(k + 5)]->setAccessibleName(QStringLiteral("percentuale fuori fido %1").arg(k));
        g->addWidget(dataD_[size_t(k)], k + 1, 0, Qt::AlignLeft);
        g->addWidget(perD_[size_t(k)], k + 1, 1, Qt::AlignLeft);
        g->addWidget(perD_[size_t(k + 5)], k + 1, 2, Qt::AlignLeft);
    }
    assegna(dataD_, {&DATAD1, &DATAD2, &DATAD3, &DATAD4, &DATAD5});
    assegna(perD_,
            {&PerD1, &PerD2, &PerD3, &PerD4, &PerD5, &PerD6, &PerD7, &PerD8, &PerD9, &PerD10});
    g->setColumnStretch(3, 1);
    g->setRowStretch(7, 1);
    auto* l = new QVBoxLayout(pagina);
    l->addWidget(riquadro);
    return pagina;
}

QWidget* Form26::tabSpese() {
    auto* pagina = new QWidget;
    auto* riquadro = new QGroupBox(QStringLiteral("Spese ed addebiti vari"), pagina);
    auto* g = new QGridLayout(riquadro);
    g->addWidget(intestazione(QStringLiteral("Descrizione"), riquadro), 0, 0);
    g->addWidget(intestazione(QStringLiteral("Importo"), riquadro), 0, 1);
    g->addWidget(intestazione(QStringLiteral("Addebito"), riquadro), 0, 2);
    const std::array<QString, 5> voci{
        QStringLiteral("Spese fisse di chiusura"), QStringLiteral("Tenuta conto"),
        QStringLiteral("Costo movimenti"), QStringLiteral("Costo tenuta fido"),
        QStringLiteral("Rimborso forfettario")};
    for (int k = 1; k <= 7; ++k)
        aggiungiRigaSpesa(g, riquadro, k, voci);
    assegna(importo_,
            {&IMPORTO1, &IMPORTO2, &IMPORTO3, &IMPORTO4, &IMPORTO5, &IMPORTO6, &IMPORTO7});
    assegna(option_, {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6, &Option7,
                      &Option8, &Option9, &Option10, &Option11, &Option12, &Option13, &Option14});
    g->setColumnStretch(3, 1);
    g->setRowStretch(8, 1);
    auto* l = new QVBoxLayout(pagina);
    l->addWidget(riquadro);
    return pagina;
}

// Row k of the costs: its description, its amount and how often it is charged. Rows
// 1 to 5 are the fixed costs named in `voci`, rows 6 and 7 the two free fields.
void Form26::aggiungiRigaSpesa(QGridLayout* g, QWidget* riquadro, int k,
                               const std::array<QString, 5>& voci) {
    QWidget* descrizione = descrizioneSpesa(riquadro, k, voci);
    importo_[size_t(k)] = new AmountField(QStringLiteral("IMPORTO%1").arg(k), riquadro);
    importo_[size_t(k)]->setAccessibleName(
        QStringLiteral("Importo %1")
            .arg(k <= 5 ? voci[size_t(k - 1)] : QStringLiteral("campo libero %1").arg(k - 5)));
    QFrame* cornice = addebitoSpesa(riquadro, k);
    g->addWidget(descrizione, k, 0);
    g->addWidget(importo_[size_t(k)], k, 1, Qt::AlignLeft);
    g->addWidget(cornice, k, 2, Qt::AlignLeft);
}

// A fixed cost's name, or the free field ("Descr1", "Descr2") that names rows 6 and 7.
QWidget* Form26::descrizioneSpesa(QWidget* riquadro, int k, const std::array<QString, 5>& voci) {
    if (k <= 5) return new QLabel(voci[size_t(k - 1)], riquadro);
    QLineEdit*& campo = k == 6 ? Descr1 : Descr2;
    campo = testo(QStringLiteral("Descr%1").arg(k - 5), 25, riquadro);
    campo->setText(QStringLiteral("Campo libero %1").arg(k - 5));
    campo->setAccessibleName(QStringLiteral("Descrizione campo libero %1").arg(k - 5));
    return campo;
}

// Row k's "Trim." and "Ann." options, quarterly chosen: each row's two options are a
// group of their own.
QFrame* Form26::addebitoSpesa(QWidget* riquadro, int k) {
    auto* cornice = new QFrame(riquadro);
    auto* coppia = new QHBoxLayout(cornice);
    coppia->setContentsMargins(0, 0, 0, 0);
    auto* trim =
        opzione(QStringLiteral("Option%1").arg(2 * k - 1), QStringLiteral("Trim."), cornice);
    auto* ann = opzione(QStringLiteral("Option%1").arg(2 * k), QStringLiteral("Ann."), cornice);
    trim->setToolTip(QStringLiteral("Trimestrale"));
    ann->setToolTip(QStringLiteral("Annuale"));
    trim->setChecked(true);
    coppia->addWidget(trim);
    coppia->addWidget(ann);
    option_[size_t(2 * k - 1)] = trim;
    option_[size_t(2 * k)] = ann;
    return cornice;
}

QWidget* Form26::tabOneri() {
    auto* pagina = new QWidget;
    auto* riquadro = new QGroupBox(QStringLiteral("Altri oneri passivi"), pagina);
    auto* g = new QGridLayout(riquadro);
    g->addWidget(intestazione(QStringLiteral("Descrizione"), riquadro), 0, 0, 1, 2);
    g->addWidget(intestazione(QStringLiteral("percentuale"), riquadro), 0, 2);
    creaCampiOneri(riquadro);
    const int r = disponiOneri(g, riquadro);
    g->setColumnStretch(3, 1);
    g->setRowStretch(r, 1);
    ordineTabOneri();
    auto* l = new QVBoxLayout(pagina);
    l->addWidget(riquadro);
    return pagina;
}

// The rate fields Per1 to Per7 and the two free fields' descriptions, which a double
// click opens to their options.
void Form26::creaCampiOneri(QWidget* riquadro) {
    for (int k = 1; k <= 7; ++k)
        per_[size_t(k)] = new AmountField(QStringLiteral("Per%1").arg(k), riquadro);
    assegna(per_, {&Per1, &Per2, &Per3, &Per4, &Per5, &Per6, &Per7});
    const QString suggerimento = QStringLiteral("Doppio clic per opzioni");
    Descr3 = testo(QStringLiteral("Descr3"), 25, riquadro);
    Descr3->setText(QStringLiteral("Campo libero 1"));
    Descr3->setAccessibleName(QStringLiteral("Descrizione campo libero 1"));
    Descr3->setToolTip(suggerimento);
    Descr4 = testo(QStringLiteral("Descr4"), 25, riquadro);
    Descr4->setText(QStringLiteral("Campo libero 2"));
    Descr4->setAccessibleName(QStringLiteral("Descrizione campo libero 2"));
    Descr4->setToolTip(suggerimento);
    Descr3->installEventFilter(this);
    Per1->setAccessibleName(QStringLiteral("Commissione eccedenza / Extra Fido"));
    Per2->setAccessibleName(QStringLiteral("Commissione massimo scoperto entro fido"));
    Per6->setAccessibleName(QStringLiteral("Commissione massimo scoperto fuori fido"));
    Per7->setAccessibleName(QStringLiteral("Commissione massimo scoperto fuori fido più gg"));
    Per3->setAccessibleName(QStringLiteral("Ritenuta fiscale"));
    Per4->setAccessibleName(QStringLiteral("percentuale campo libero 1"));
    Per5->setAccessibleName(QStringLiteral("percentuale campo libero 2"));
    Descr4->installEventFilter(this);
}

// The rows of the other costs under their heading, with the note below them; gives the
// first row left free.
int Form26::disponiOneri(QGridLayout* g, QWidget* riquadro) {
    auto etichetta = [riquadro](const QString& t) { return new QLabel(t, riquadro); };
    int r = 1;
    g->addWidget(etichetta(QStringLiteral("Commissione eccedenza / Extra Fido")), r, 0, 1, 2);
    g->addWidget(Per1, r++, 2, Qt::AlignLeft);
    g->addWidget(etichetta(QStringLiteral("Commissione massimo scoperto")), r, 0);
    g->addWidget(etichetta(QStringLiteral("entro fido")), r, 1);
    g->addWidget(Per2, r++, 2, Qt::AlignLeft);
    g->addWidget(etichetta(QStringLiteral("fuori fido")), r, 1);
    g->addWidget(Per6, r++, 2, Qt::AlignLeft);
    g->addWidget(etichetta(QStringLiteral("fuori fido più gg")), r, 1);
    g->addWidget(Per7, r++, 2, Qt::AlignLeft);
    g->addWidget(etichetta(QStringLiteral("Ritenuta fiscale")), r, 0, 1, 2);
    g->addWidget(Per3, r++, 2, Qt::AlignLeft);
    g->addWidget(Descr3, r, 0, 1, 2);
    g->addWidget(Per4, r++, 2, Qt::AlignLeft);
    g->addWidget(Descr4, r, 0, 1, 2);
    g->addWidget(Per5, r++, 2, Qt::AlignLeft);
    auto* nota = etichetta(QStringLiteral(
        "Il doppio clic del mouse sopra la casella del campo modificabile attiva la maschera per "
        "le opzioni di riferimento del campo stesso."));
    nota->setWordWrap(true);
    g->addWidget(nota, r++, 0, 1, 4);
    return r;
}

// Tab follows the rows of the other costs from top to bottom.
void Form26::ordineTabOneri() {
    QWidget* ordine[] = {Per1, Per2, Per6, Per7, Per3, Descr3, Per4, Descr4, Per5};
    for (size_t i = 1; i < std::size(ordine); ++i)
        setTabOrder(ordine[i - 1], ordine[i]);
}

namespace {

QGroupBox* gruppo(const QString& titolo, QWidget* pagina) {
    auto* box = new QGroupBox(titolo, pagina);
    new QVBoxLayout(box);
    return box;
}

QGroupBox* gruppoDivisore(Form26& f, QWidget* pagina) {
    auto* numeri = gruppo(QStringLiteral("Divisione dei numeri della staffa"), pagina);
    const std::array<QString, 4> divisioni{
        QStringLiteral("dividi x 1"), QStringLiteral("dividi x 10"), QStringLiteral("dividi x 100"),
        QStringLiteral("dividi x 1000")};
    for (size_t i = 0; i < 4; ++i) {
        f.divisore[i] = opzione(QStringLiteral("divisore_%1").arg(i), divisioni[i], numeri);
        numeri->layout()->addWidget(f.divisore[i]);
    }
    f.divisore[2]->setChecked(true);
    return numeri;
}

// The day bases of the debit and of the credit interest, in two groups.
std::pair<QGroupBox*, QGroupBox*> gruppiGiorni(Form26& f, QWidget* pagina) {
    auto* debitori = gruppo(QStringLiteral("Nr. giorni per calcolo interessi debitori"), pagina);
    auto* creditori = gruppo(QStringLiteral("Nr. giorni per calcolo interessi creditori"), pagina);
    for (size_t i = 0; i < 4; ++i) {
        QGroupBox* box = i < 2 ? debitori : creditori;
        f.giorni[i] = opzione(QStringLiteral("giorni_%1").arg(i),
                              i % 2 == 0 ? QStringLiteral("Anno finanziario (360 gg)")
                                         : QStringLiteral("Anno civile (365 gg)"),
                              box);
        box->layout()->addWidget(f.giorni[i]);
    }
    // A new account counts both with 365 days, as every reader takes a blank day base.
    f.giorni[1]->setChecked(true);
    f.giorni[3]->setChecked(true);
    return {debitori, creditori};
}

QGroupBox* gruppoChiusura(Form26& f, QWidget* pagina) {
    auto* chiusura = gruppo(QStringLiteral("Chiusura"), pagina);
    f.Tri = opzione(QStringLiteral("Tri"), QStringLiteral("Trimestrale"), chiusura);
    f.Seme = opzione(QStringLiteral("Seme"), QStringLiteral("semestrale"), chiusura);
    f.Ann = opzione(QStringLiteral("Ann"), QStringLiteral("Annuale"), chiusura);
    for (QRadioButton* r : {f.Tri, f.Seme, f.Ann})
        chiusura->layout()->addWidget(r);
    f.Tri->setChecked(true);
    return chiusura;
}

QGroupBox* gruppoInternet(Form26& f, QWidget* pagina) {
    auto* internet = gruppo(QStringLiteral("Indirizzo Internet"), pagina);
    f.IndInter = testo(QStringLiteral("IndInter"), 100, internet);
    internet->layout()->addWidget(f.IndInter);
    f.IndInter->setAccessibleName(QStringLiteral("Indirizzo Internet"));
    return internet;
}

// The minimum number of movements for the cost of the entries, with its label.
QHBoxLayout* rigaScritture(Form26& f, QWidget* pagina) {
    auto* scritture = new QHBoxLayout;
    auto* etichettaScritture =
        new QLabel(QStringLiteral("Nr. minimo di movimenti per conteggio spese scritture"), pagina);
    f.NrScritt = testo(QStringLiteral("NrScritt"), 6, pagina);
    f.NrScritt->setAlignment(Qt::AlignRight);
    f.NrScritt->setFixedWidth(f.NrScritt->fontMetrics().horizontalAdvance(QString(9, u'0')));
    etichettaScritture->setBuddy(f.NrScritt);
    scritture->addWidget(etichettaScritture);
    scritture->addWidget(f.NrScritt);
    scritture->addStretch(1);
    return scritture;
}

// A rate field holds every text its pattern makes of a rate it takes, and shows a rate
// it takes in the pattern once the focus leaves it: the text it will read back. A text
// that is no such rate stays as typed, for "Conferma" to refuse.
void campoTasso(AmountField* f, int larghezza) {
    f->setMaxLength(int(tassoPiuLungo().size()));
    f->setAlignment(Qt::AlignRight);
    f->setFixedWidth(larghezza);
    onLostFocus(f, [f] {
        if (const auto t = tassoDaTesto(f->text())) f->setText(testoTasso(*t));
    });
}

// A fee field shows a fee it takes in the amount pattern once the focus leaves it; any
// other text (no amount, or one too large for the program) stays as typed for
// "Conferma" to refuse. Its length and width follow the pattern (Form_Load).
void campoImporto(AmountField* f, int larghezza) {
    f->setMaxLength(kLunghezzaImporto);
    f->setAlignment(Qt::AlignRight);
    f->setFixedWidth(larghezza);
    onLostFocus(f, [f] {
        const auto cifra = parseAmount(f->text());
        const double fattore = stato().FattoreValuta;
        if (cifra && cambioUtilizzabile(fattore) && importoUtilizzabile(*cifra / fattore))
            f->setText(formatNumber(*cifra, stato().FormatoImporti));
    });
}

// Enter moves along the fees and the commissions. From the last field of a tab it goes
// on to the first field of the next tab, which is shown; from the last field of the last
// tab, to "Conferma" without pressing it. Only Enter on the focused "Conferma" saves: the
// form has no default button that a field could press.
void collegaInvio(Form26& f) {
    enterToNextTab(f.PerC5, f.SSTab1, f.DATAD1);
    enterToNextTab(f.PerD10, f.SSTab1, f.IMPORTO1);
    enterMovesAlong({f.IMPORTO1, f.IMPORTO2, f.IMPORTO3, f.IMPORTO4, f.IMPORTO5, f.Descr1,
                     f.IMPORTO6, f.Descr2, f.IMPORTO7});
    enterToNextTab(f.IMPORTO7, f.SSTab1, f.Per1);
    enterMovesAlong({f.Per1, f.Per2, f.Per3, f.Descr3, f.Per4, f.Descr4, f.Per5});
    enterToNextTab(f.Per5, f.SSTab1, f.IndInter);
    enterMovesFocus(f.NrScritt, f.OKi);
}

} // namespace

QWidget* Form26::tabOpzioni() {
    auto* pagina = new QWidget;
    auto* numeri = gruppoDivisore(*this, pagina);
    const auto [debitori, creditori] = gruppiGiorni(*this, pagina);
    auto* chiusura = gruppoChiusura(*this, pagina);
    auto* internet = gruppoInternet(*this, pagina);
    auto* scritture = rigaScritture(*this, pagina);

    auto* g = new QGridLayout(pagina);
    g->addWidget(numeri, 0, 0, 2, 1);
    g->addWidget(debitori, 0, 1);
    g->addWidget(creditori, 1, 1);
    g->addWidget(chiusura, 0, 2, 2, 1);
    g->addWidget(internet, 2, 0, 1, 3);
    g->addLayout(scritture, 3, 0, 1, 3);
    g->setRowStretch(4, 1);
    return pagina;
}

void Form26::collegaTasti() {
    const int larghezzaData = DataC1->fontMetrics().horizontalAdvance(QString(14, u'0'));
    const int larghezzaTasso = larghezzaPer(PerC1, tassoPiuLungo());
    const int larghezzaImporto = DataC1->fontMetrics().horizontalAdvance(QString(19, u'0'));
    for (int k = 1; k <= 5; ++k) {
        dataC_[size_t(k)]->setFixedWidth(larghezzaData);
        dataD_[size_t(k)]->setFixedWidth(larghezzaData);
    }
    for (int k = 1; k <= 5; ++k)
        campoTasso(perC_[size_t(k)], larghezzaTasso);
    for (int k = 1; k <= 10; ++k)
        campoTasso(perD_[size_t(k)], larghezzaTasso);
    for (int k = 1; k <= 7; ++k)
        campoTasso(per_[size_t(k)], larghezzaTasso);
    for (int k = 1; k <= 7; ++k)
        campoImporto(importo_[size_t(k)], larghezzaImporto);
    collegaInvio(*this);
}

bool Form26::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && (watched == Descr3 || watched == Descr4)) {
        runAsHandler(this, [this, watched] {
            if (watched == Descr3)
                Descr3_DblClick();
            else
                Descr4_DblClick();
        });
        return true;
    }
    return Form::eventFilter(watched, event);
}

void Form26::Form_Load() {
    const Esito caricate = CaricaCondizioni();
    const bool letto = caricate.ok();
    const QString errore = caricate.testo;
    banca->setText(bancaContoAperto());
    // Every text the amount pattern makes of a fee the program can count fits whole in a
    // fee field: the longest is that of the first amount it cannot count.
    const double fattore = stato().FattoreValuta;
    const QString piuLungo = cambioUtilizzabile(fattore)
                                 ? formatNumber(LimiteImporto * fattore, stato().FormatoImporti)
                                 : QString();
    for (int k = 1; k <= 7; ++k) {
        AmountField* f = importo_[size_t(k)];
        f->setMaxLength(std::max(kLunghezzaImporto, int(piuLungo.size())));
        f->setFixedWidth(std::max(f->minimumWidth(), larghezzaPer(f, piuLungo)));
    }
    const CondizioniConto condizioni = letto ? condizioniInMemoria() : CondizioniConto{};
    mostraCampi(campiDaCondizioni(condizioni, stato().FattoreValuta, stato().FormatoImporti));
    baseLibera1_ = condizioni.oneri.baseLibera1;
    baseLibera2_ = condizioni.oneri.baseLibera2;
    mostrati_ = campi();
    if (letto) {
        // Values that no computation may count are named, as they show as 0.
        if (!errore.isEmpty())
            messageBox(errore, MessageButtons::Ok, MessageIcon::Exclamation,
                       QStringLiteral("ERRORE"));
        return;
    }
    // Without the account's own conditions there is nothing to save or print.
    OKi->setEnabled(false);
    PulStampe->setEnabled(false);
    messageBox(contoAttivoAperto()
                   ? QStringLiteral("Impossibile leggere le condizioni del conto:\n") + errore
                   : testoNessunContoAperto(),
               MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Errore"));
}

void Form26::mostraCampi(const CampiCondizioni& c) {
    for (size_t k = 1; k <= 5; ++k) {
        dataC_[k]->setTesto(c.dataCreditori[k]);
        mostraTasso(perC_[k], c.tassoCreditori[k]);
        dataD_[k]->setTesto(c.dataDebitori[k]);
    }
    for (size_t k = 1; k <= 10; ++k)
        mostraTasso(perD_[k], c.tassoDebitori[k]);
    for (size_t k = 1; k <= 7; ++k) {
        importo_[k]->setText(c.importo[k]);
        option_[c.trimestrale[k] ? 2 * k - 1 : 2 * k]->setChecked(true);
        mostraTasso(per_[k], c.per[k]);
    }
    Descr1->setText(c.descr1);
    Descr2->setText(c.descr2);
    Descr3->setText(c.descr3);
    Descr4->setText(c.descr4);
    divisore[size_t(qBound(0, c.divisore, 3))]->setChecked(true);
    giorni[c.giorniDebitori360 ? 0 : 1]->setChecked(true);
    giorni[c.giorniCreditori360 ? 2 : 3]->setChecked(true);
    (c.chiusura == 1 ? Seme : c.chiusura == 2 ? Ann : Tri)->setChecked(true);
    IndInter->setText(c.indInter);
    NrScritt->setText(c.nrScritt);
}

CampiCondizioni Form26::campi() const {
    CampiCondizioni c;
    for (size_t k = 1; k <= 5; ++k) {
        c.dataCreditori[k] = dataC_[k]->testo();
        c.tassoCreditori[k] = perC_[k]->text();
        c.dataDebitori[k] = dataD_[k]->testo();
    }
    for (size_t k = 1; k <= 10; ++k)
        c.tassoDebitori[k] = perD_[k]->text();
    for (size_t k = 1; k <= 7; ++k) {
        c.importo[k] = importo_[k]->text();
        c.trimestrale[k] = option_[2 * k - 1]->isChecked();
        c.per[k] = per_[k]->text();
    }
    c.descr1 = Descr1->text();
    c.descr2 = Descr2->text();
    c.descr3 = Descr3->text();
    c.descr4 = Descr4->text();
    c.baseLibera1 = baseLibera1_;
    c.baseLibera2 = baseLibera2_;
    for (size_t i = 0; i < 4; ++i)
        if (divisore[i]->isChecked()) {
            c.divisore = int(i);
            break;
        }
    c.giorniDebitori360 = giorni[0]->isChecked();
    c.giorniCreditori360 = giorni[2]->isChecked();
    c.chiusura = Seme->isChecked() ? 1 : Ann->isChecked() ? 2 : 0;
    c.indInter = IndInter->text();
    c.nrScritt = NrScritt->text();
    return c;
}

void Form26::OKi_Click() {
    const Esito esito = confermaCondizioni(campi(), mostrati_);
    if (esito.ok()) {
        formHost().unload(*this);
        return;
    }
    auto* campo = esito.campo.isEmpty() ? nullptr : findChild<QWidget*>(esito.campo);
    if (campo) {
        const int scheda = schedaDi(SSTab1, campo);
        if (scheda >= 0) SSTab1->setCurrentIndex(scheda);
        if (auto* data = qobject_cast<DateField*>(campo); data && esito.svuotaCampo)
            data->setTesto(QString());
    }
    messageBox(esito.testo, MessageButtons::Ok,
               esito.rifiutato() ? MessageIcon::Exclamation : MessageIcon::Critical, esito.titolo);
    if (campo) campo->setFocus(Qt::OtherFocusReason);
}

void Form26::Esc_Click() {
    formHost().unload(*this);
}

void Form26::Form_Unload(bool& /*cancel*/) {
    if (Form28* opzioni = formHost().loaded<Form28>()) formHost().unload(*opzioni);
}

void Form26::PulStampe_Click() {
    // The sheet shows the conditions as stored, whatever the fields hold now.
    const QString valuta = stato().TestoValuta;
    stampaDocumento(printer(),
                    righeFoglioCondizioni(condizioniInMemoria(), bancaContoAperto(), valuta,
                                          stato().FattoreValuta, stato().FormatoImporti));
}

void Form26::scegliBase(QString& base) {
    Form28& dialogo = formHost().form<Form28>();
    dialogo.preparaScelta(base);
    formHost().showModal(dialogo);
    if (const auto scelta = dialogo.sceltaConfermata()) base = *scelta;
}

void Form26::Descr3_DblClick() {
    scegliBase(baseLibera1_);
}

void Form26::Descr4_DblClick() {
    scegliBase(baseLibera2_);
}

void mostraCondizioni() {
    formHost().showModal(formHost().form<Form26>());
}

} // namespace qv
