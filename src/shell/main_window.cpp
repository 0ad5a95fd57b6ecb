#include "main_window.h"

#include "archives/account_form.h"
#include "archives/account_selection_form.h"
#include "archives/account_sheet_form.h"
#include "archives/accounts.h"
#include "archives/causali_form.h"
#include "cheques/annulled_form.h"
#include "cheques/book_form.h"
#include "cheques/cheque_form.h"
#include "cheques/situation_form.h"
#include "conditions/conditions_form.h"
#include "ledger/alignment_form.h"
#include "ledger/period_list_form.h"
#include "ledger/summary_form.h"
#include "maintenance/backup_form.h"
#include "maintenance/closing_form.h"
#include "maintenance/maintenance_form.h"
#include "reports/print_menu_form.h"

#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/account_loader.h"
#include "ledger/entry_form.h"
#include "ledger/listed_change_form.h"
#include "ledger/movement_files.h"
#include "ledger/open_account.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "platform/program_end.h"
#include "platform/qt_printer.h"
#include "platform/result_box.h"
#include "shell/browser_form.h"
#include "shell/colours_form.h"
#include "shell/converter_form.h"
#include "shell/currency_form.h"
#include "shell/display_currency.h"
#include "shell/flags_form.h"
#include "shell/login_form.h"
#include "shell/notice_form.h"
#include "shell/program_files.h"
#include "shell/settings_form.h"
#include "shell/startup.h"
#include "staffa/staffa_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace qv {

namespace {

MDIForm1* theInstance = nullptr;

QLabel* captionLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// A value of the status panel: a sunken box, amounts aligned to the right.
QLabel* valueLabel(QWidget* parent, const QString& name, const QString& tip, bool amount) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Base);
    label->setMargin(2);
    label->setMinimumWidth(amount ? 120 : 80);
    label->setAlignment((amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

QAction* item(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

QMenu* menu(QWidget* parent, const char* name, const QString& caption) {
    auto* m = new QMenu(caption, parent);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("_menu"));
    return m;
}

void enableMenu(QMenu* m, bool on) {
    m->setEnabled(on);
    m->menuAction()->setEnabled(on);
}

} // namespace

MDIForm1::MDIForm1(QWidget* parent) : QMainWindow(parent) {
    theInstance = this;
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Quorvanta - gestione conti correnti"));

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    buildMenus();
    buildToolbar();
    buildStatusPanel();

    area_ = new QMdiArea(central);
    area_->setObjectName(QStringLiteral("MDIArea"));
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    column->addWidget(area_, 1);

    abilitaComandiConto(false);
    wire();
    collegaFinestre();

    formHost().setMainWindow(this);
    formHost().setMdiArea(area_);
    // Its usual size, within the screen it opens on.
    QSize size(1100, 760);
    if (QScreen* schermo = screen()) size = size.boundedTo(schermo->availableGeometry().size());
    resize(size);
}

MDIForm1::~MDIForm1() {
    if (theInstance == this) theInstance = nullptr;
    if (formHost().mainWindow() == this) {
        formHost().setMdiArea(nullptr);
        formHost().setMainWindow(nullptr);
    }
}

MDIForm1* MDIForm1::instance() {
    return theInstance;
}

// ---------------------------------------------------------------------------
// Building the window

void MDIForm1::buildMenus() {
    QMenuBar* bar = menuBar();

    File = menu(this, "File", QStringLiteral("&File"));
    NuovoConto = item(File, "NuovoConto", QStringLiteral("&Gestione conto"));
    ApriConto = item(File, "ApriConto", QStringLiteral("&Apri conto esitente"));
    GestCaus = item(File, "GestCaus", QStringLiteral("Gestione causali"));
    gestval = item(File, "gestval", QStringLiteral("Gestione valute"));
    close = item(File, "close", QStringLiteral("Chiudi"));
    color = item(File, "color", QStringLiteral("Imposta colori"));
    ImpStamp = item(File, "ImpStamp", QStringLiteral("Imposta stampante"));
    pref = item(File, "pref", QStringLiteral("Preferenze"));
    Stampe = menu(File, "Stampe", QStringLiteral("&Stampe"));
    movimenti = item(Stampe, "movimenti", QStringLiteral("&Movimenti"));
    CausaliIns = item(Stampe, "CausaliIns", QStringLiteral("&Causali"));
    ElencoConti = item(Stampe, "ElencoConti", QStringLiteral("&Elenco conti"));
    TotConti = item(Stampe, "TotConti", QStringLiteral("Totale conti"));
    File->addMenu(Stampe);
    File->addSeparator();
    Esci = item(File, "Esci", QStringLiteral("Esci"));
    bar->addMenu(File);

    Immissioni = menu(this, "Immissioni", QStringLiteral("Immissioni"));
    MenMovimenti = item(Immissioni, "MenMovimenti", QStringLiteral("&Movimenti"));
    Assegni = item(Immissioni, "Assegni", QStringLiteral("&Assegni"));
    Carnet = item(Immissioni, "Carnet", QStringLiteral("&Carnet"));
    bar->addMenu(Immissioni);

    Visualizza = menu(this, "Visualizza", QStringLiteral("&Visualizza"));
    VisMovimenti = item(Visualizza, "VisMovimenti", QStringLiteral("&Movimenti"));
    VisAssFuori = item(Visualizza, "VisAssFuori", QStringLiteral("Assegni fuori"));
    AssAnn = item(Visualizza, "AssAnn", QStringLiteral("Assegni annullati"));
    bar->addMenu(Visualizza);

    chiusure = menu(this, "chiusure", QStringLiteral("Servizi"));
    stf = item(chiusure, "stf", QStringLiteral("Staffa/Interessi"));
    AnnualeSimulata = item(chiusure, "AnnualeSimulata", QStringLiteral("Elimina periodi"));
    IntCost = item(chiusure, "IntCost", QStringLiteral("Interessi e costi"));
    bar->addMenu(chiusure);

    Manut = menu(this, "Manut", QStringLiteral("&Manutenzioni"));
    AllConto = item(Manut, "AllConto", QStringLiteral("Allineamento conto"));
    RiprChiu = item(Manut, "RiprChiu", QStringLiteral("Ripristina chiusura prec."));
    Manut->addSeparator();
    Sicur = item(Manut, "Sicur", QStringLiteral("Esegui copie di sicurezza"));
    RipCopie = item(Manut, "RipCopie", QStringLiteral("Ripristina copie"));
    CancMov = item(Manut, "CancMov", QStringLiteral("Cancella Movimenti"));
    bar->addMenu(Manut);

    UT = menu(this, "UT", QStringLiteral("Utilità"));
    RioArch = item(UT, "RioArch", QStringLiteral("Riordina archivi"));
    CVV = item(UT, "CVV", QStringLiteral("Conversione valute"));
    calco = item(UT, "calco", QStringLiteral("Calcolatrice"));
    bar->addMenu(UT);

    Finestre = menu(this, "Finestre", QStringLiteral("Finestra"));
    Sovra = item(Finestre, "Sovra", QStringLiteral("Sovrapponi"));
    AffOriz = item(Finestre, "AffOriz", QStringLiteral("Affianca orizzontalmente"));
    AffVert = item(Finestre, "AffVert", QStringLiteral("Affianca verticalmente"));
    DispIcon = item(Finestre, "DispIcon", QStringLiteral("Disponi icone"));
    bar->addMenu(Finestre);

    Guida = menu(this, "Guida", QStringLiteral("?"));
    sommario = item(Guida, "sommario", QStringLiteral("Sommario"));
    bar->addMenu(Guida);
}

void MDIForm1::buildToolbar() {
    SSPanel1 = new QFrame(centralWidget());
    SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    SSPanel1->setFrameShape(QFrame::StyledPanel);
    SSPanel1->setFrameShadow(QFrame::Raised);
    auto* row = new QHBoxLayout(SSPanel1);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(4);

    QStyle* st = style();
    auto button = [&](const char* name, const QString& caption, QStyle::StandardPixmap icon,
                      const QString& tip) {
        auto* b = new QPushButton(caption, SSPanel1);
        b->setObjectName(QLatin1String(name));
        b->setIcon(st->standardIcon(icon));
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::TabFocus);
        row->addWidget(b);
        return b;
    };
    Command3D2 = button("Command3D2", QStringLiteral(" Apri "), QStyle::SP_DialogOpenButton,
                        QStringLiteral("Scegli il conto"));
    PulsMovimenti = button("PulsMovimenti", QStringLiteral(" Movimenti "),
                           QStyle::SP_FileDialogNewFolder, QStringLiteral("Immissione movimenti"));
    Vista = button("Vista", QStringLiteral(" Lista Movimenti "), QStyle::SP_FileDialogDetailedView,
                   QStringLiteral("Lista dei movimenti"));
    Files = button("Files", QStringLiteral(" Allinea "), QStyle::SP_BrowserReload,
                   QStringLiteral("Allineamento con l'estratto conto"));
    BottCarnet = button("BottCarnet", QStringLiteral(" Carnet "), QStyle::SP_FileIcon,
                        QStringLiteral("Carnet di assegni"));
    PulStampe = button("PulStampe", QStringLiteral(" Stampe "), QStyle::SP_DialogSaveButton,
                       QStringLiteral("Stampe"));
    row->addSpacing(12);
    Command3D4 = button("Command3D4", QStringLiteral(" Causali "), QStyle::SP_FileDialogListView,
                        QStringLiteral("Gestione causali"));
    SSCommand1 = button("SSCommand1", QStringLiteral("Gestione Valute"),
                        QStyle::SP_FileDialogInfoView, QStringLiteral("Cambi delle valute"));
    browse = button("browse", QStringLiteral("Internet"), QStyle::SP_DriveNetIcon,
                    QStringLiteral("Sito della banca"));
    row->addStretch(1);
    SSCommand2 = button("SSCommand2", QStringLiteral(" Uscita "), QStyle::SP_DialogCloseButton,
                        QStringLiteral("Esci dal programma"));

    static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(SSPanel1);
}

// The status panel, in parts: the account's labels, the display currency's controls and
// the balances (made in this order, the order of the panel's children), then the two
// layouts that place them.

namespace {

// Where the data are and which account: captions and values of the first row.
void creaEtichetteConto(MDIForm1& w, QFrame* panel) {
    w.Label5 = captionLabel(panel, "Label5", QStringLiteral(" conto"));
    w.Codice =
        valueLabel(panel, QStringLiteral("Codice"),
                   QStringLiteral("Percorso dove sono archiviati i dati e nr. di conto"), false);
    w.Label12 = captionLabel(panel, "Label12", QStringLiteral("descrizione"));
    w.DescConto = valueLabel(panel, QStringLiteral("DescConto"),
                             QStringLiteral("Intestazione del conto"), false);
}

// The display currency: its caption, its list and its flag.
void creaSceltaValuta(MDIForm1& w, QFrame* panel) {
    w.Label6 = captionLabel(panel, "Label6", QStringLiteral("Valuta"));
    w.Combo1 = new ComboBox(QStringLiteral("Combo1"), panel);
    w.Combo1->setSorted(true);
    w.Combo1->setToolTip(QStringLiteral("Seleziona valute"));
    w.Combo1->setMinimumContentsLength(18);
    w.Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    w.Label6->setBuddy(w.Combo1);
    w.flag = new QLabel(panel);
    w.flag->setObjectName(QStringLiteral("flag"));
    w.flag->setFixedSize(42, 28);
    w.flag->setAlignment(Qt::AlignCenter);
}

// The six balances, the date of the last one, the cheque counts and their captions.
void creaSaldi(MDIForm1& w, QFrame* panel) {
    const QStringList tips{QStringLiteral("Saldo ottenuto dall'allineamento con l'estratto conto"),
                           QStringLiteral("Saldo per data operazione"),
                           QStringLiteral("Fido"),
                           QStringLiteral("Saldo per data valuta"),
                           QStringLiteral("Saldo all'ultima data delle operazioni postergate"),
                           QStringLiteral("Disponibilità comprensiva di fido per data operazione")};
    for (int i = 0; i < 6; ++i)
        w.Saldi[size_t(i)] = valueLabel(panel, QStringLiteral("Saldi_%1").arg(i), tips[i], true);
    w.Label1 = captionLabel(panel, "Label1", QStringLiteral("Saldo Allin.:"));
    w.Label2 = captionLabel(panel, "Label2", QStringLiteral("Saldo data:"));
    w.Label8 = captionLabel(panel, "Label8", QStringLiteral("Fido:"));
    w.Label3 = captionLabel(panel, "Label3", QStringLiteral("Saldo Val.:"));
    w.Label4 = captionLabel(panel, "Label4", QStringLiteral("Saldo al: "));
    w.UltimaData = valueLabel(panel, QStringLiteral("UltimaData"),
                              QStringLiteral("ultima data delle operazioni postergate"), false);
    w.UltimaData->setAlignment(Qt::AlignCenter);
    w.UltimaData->setMinimumWidth(
        w.UltimaData->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 8);
    w.UltimaData->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    w.Label9 = captionLabel(panel, "Label9", QStringLiteral("Disponibilità:"));
    w.Label10 = captionLabel(panel, "Label10", QStringLiteral("Ass.Fuori:"));
    w.AssFuori =
        valueLabel(panel, QStringLiteral("AssFuori"),
                   QStringLiteral("nr di assegni emessi e non ancora pervenuti in banca"), false);
    w.Label11 = captionLabel(panel, "Label11", QStringLiteral("Ass. in mano:"));
    w.AssMano = valueLabel(panel, QStringLiteral("AssMano"),
                           QStringLiteral("nr. di assegni non emessi"), false);
    w.AssFuori->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    w.AssMano->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// Four columns of caption and value, three rows: the account, the balances, the credit
// line with the available amount and the cheques.
QGridLayout* grigliaSaldi(MDIForm1& w) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    // Row 0: where the data are and which account.
    grid->addWidget(w.Label5, 0, 0);
    grid->addWidget(w.Codice, 0, 1, 1, 3);
    grid->addWidget(w.Label12, 0, 4);
    grid->addWidget(w.DescConto, 0, 5, 1, 3);
    // Row 1: the four balances, the last one with the date it is at.
    grid->addWidget(w.Label1, 1, 0);
    grid->addWidget(w.Saldi[0], 1, 1);
    grid->addWidget(w.Label2, 1, 2);
    grid->addWidget(w.Saldi[1], 1, 3);
    grid->addWidget(w.Label3, 1, 4);
    grid->addWidget(w.Saldi[3], 1, 5);
    grid->addWidget(w.Label4, 1, 6);
    auto* alla = new QHBoxLayout;
    alla->setSpacing(6);
    alla->addWidget(w.UltimaData);
    alla->addWidget(w.Saldi[4], 1);
    grid->addLayout(alla, 1, 7);
    // Row 2: credit line, available amount, cheques.
    grid->addWidget(w.Label8, 2, 0);
    grid->addWidget(w.Saldi[2], 2, 1);
    grid->addWidget(w.Label9, 2, 2);
    grid->addWidget(w.Saldi[5], 2, 3);
    grid->addWidget(w.Label10, 2, 4);
    grid->addWidget(w.AssFuori, 2, 5);
    grid->addWidget(w.Label11, 2, 6);
    grid->addWidget(w.AssMano, 2, 7);
    for (int c : {1, 3, 5, 7})
        grid->setColumnStretch(c, 1);
    return grid;
}

// The display currency that every amount is shown in: caption and flag over the list.
QGridLayout* colonnaValuta(MDIForm1& w) {
    auto* valuta = new QGridLayout;
    valuta->setVerticalSpacing(4);
    valuta->setHorizontalSpacing(6);
    w.Label6->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    valuta->addWidget(w.Label6, 0, 0);
    valuta->addWidget(w.flag, 0, 1, Qt::AlignRight);
    valuta->addWidget(w.Combo1, 1, 0, 1, 2);
    valuta->setRowStretch(2, 1);
    return valuta;
}

} // namespace

void MDIForm1::buildStatusPanel() {
    auto* panel = new QFrame(centralWidget());
    panel->setObjectName(QStringLiteral("PannelloSaldi"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    creaEtichetteConto(*this, panel);
    creaSceltaValuta(*this, panel);
    creaSaldi(*this, panel);

    auto* sides = new QHBoxLayout(panel);
    sides->setContentsMargins(8, 6, 8, 6);
    sides->setSpacing(12);
    sides->addLayout(grigliaSaldi(*this), 1);
    // On the right, the display currency, past a separator.
    auto* separator = new QFrame(panel);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    sides->addWidget(separator);
    sides->addLayout(colonnaValuta(*this));

    // A click on a caption or a value only beeps.
    for (QLabel* l :
         {Label1, Label2, Label3, Label4, Label5, Label8, Label9, Label10, Label11, UltimaData})
        l->installEventFilter(this);
    for (QLabel* l : Saldi)
        l->installEventFilter(this);

    static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(panel);
}

std::function<void()> MDIForm1::handler(void (MDIForm1::*method)()) {
    return [this, method] { runAsHandler(this, [this, method] { (this->*method)(); }); };
}

void MDIForm1::wire() {
    const auto on = [this](QAction* a, void (MDIForm1::*method)()) {
        connect(a, &QAction::triggered, this, handler(method));
    };
    const auto onButton = [this](QPushButton* b, void (MDIForm1::*method)()) {
        connect(b, &QPushButton::clicked, this, handler(method));
    };
    on(NuovoConto, &MDIForm1::NuovoConto_Click);
    on(ApriConto, &MDIForm1::ApriConto_Click);
    onButton(Command3D2, &MDIForm1::Command3D2_Click);
    on(GestCaus, &MDIForm1::GestCaus_Click);
    onButton(Command3D4, &MDIForm1::Command3D4_Click);
    on(Esci, &MDIForm1::Esci_Click);
    onButton(SSCommand2, &MDIForm1::SSCommand2_Click);
    on(close, &MDIForm1::close_Click);
    on(CancMov, &MDIForm1::CancMov_Click);
    on(MenMovimenti, &MDIForm1::MenMovimenti_Click);
    on(Assegni, &MDIForm1::Assegni_Click);
    on(Carnet, &MDIForm1::Carnet_Click);
    onButton(BottCarnet, &MDIForm1::BottCarnet_Click);
    on(VisMovimenti, &MDIForm1::VisMovimenti_Click);
    onButton(Vista, &MDIForm1::Vista_Click);
    on(VisAssFuori, &MDIForm1::VisAssFuori_Click);
    on(AssAnn, &MDIForm1::AssAnn_Click);
    on(IntCost, &MDIForm1::IntCost_Click);
    on(TotConti, &MDIForm1::TotConti_Click);
    on(AllConto, &MDIForm1::AllConto_Click);
    onButton(Files, &MDIForm1::Files_Click);
    onButton(PulsMovimenti, &MDIForm1::PulsMovimenti_Click);
    on(gestval, &MDIForm1::gestval_Click);
    onButton(SSCommand1, &MDIForm1::SSCommand1_Click);
    on(color, &MDIForm1::color_Click);
    on(ImpStamp, &MDIForm1::ImpStamp_Click);
    on(movimenti, &MDIForm1::movimenti_Click);
    on(CausaliIns, &MDIForm1::CausaliIns_Click);
    on(ElencoConti, &MDIForm1::ElencoConti_Click);
    onButton(PulStampe, &MDIForm1::PulStampe_Click);
    on(pref, &MDIForm1::pref_Click);
    on(CVV, &MDIForm1::CVV_Click);
    on(calco, &MDIForm1::calco_Click);
    onButton(browse, &MDIForm1::browse_Click);
    on(sommario, &MDIForm1::sommario_Click);
    on(Sovra, &MDIForm1::Sovra_Click);
    on(AffOriz, &MDIForm1::AffOriz_Click);
    on(AffVert, &MDIForm1::AffVert_Click);
    on(DispIcon, &MDIForm1::DispIcon_Click);
    on(stf, &MDIForm1::stf_Click);
    on(AnnualeSimulata, &MDIForm1::AnnualeSimulata_Click);
    on(RiprChiu, &MDIForm1::RiprChiu_Click);
    on(RioArch, &MDIForm1::RioArch_Click);
    on(Sicur, &MDIForm1::Sicur_Click);
    on(RipCopie, &MDIForm1::RipCopie_Click);
    connect(Combo1, &QComboBox::activated, this, handler(&MDIForm1::Combo1_Click));
    // What the printed headings read as the display currency: the line shown, however it
    // came to be shown (the program selects lines with the signals blocked).
    connect(Combo1, &QComboBox::currentTextChanged, this,
            [](const QString& linea) { stato().TestoValuta = linea; });
}

// ---------------------------------------------------------------------------
// Start-up

void MDIForm1::Load() {
    runAsHandler(this, [this] {
        show();
        auto& s = stato();
        // A change of the program's own files (the causali) that a stopped program left
        // unfinished is put back before anything is read.
        const QString ripristino = testoRipristino(recoverInterrupted(s.PercorsoProgramma));
        if (!ripristino.isEmpty())
            messageBox(ripristino, MessageButtons::Ok, MessageIcon::Exclamation,
                       QStringLiteral("Attenzione"));
        leggiColoriEImpostazioni();
        impostaPercorsoDati(percorsoDatiDalleImpostazioni());
        Codice->setText(s.PercorsoDati);
        const QString mancante = creaCartellaDatiMancante();
        if (!mancante.isEmpty())
            messageBox(mancante, MessageButtons::Ok, MessageIcon::Exclamation,
                       QStringLiteral("Attenzione"));

        if (primoAvvio()) {
            if (const Esito preparati = eseguiPrimoAvvio(); !preparati.ok())
                messageBox(QStringLiteral("Impossibile preparare i file del programma:\n") +
                               preparati.testo,
                           MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Errore"));
            formHost().show(formHost().form<Form1>());
        }

        // The data folder is this program's while it runs. One that another running
        // Quorvanta holds is not opened: the program starts without a data folder,
        // and the user may choose another one or close the other program.
        const Esito blocco = bloccaCartellaDati(s.PercorsoDati);
        if (!blocco.testo.isEmpty())
            messageBox(blocco.testo, MessageButtons::Ok, MessageIcon::Exclamation,
                       QStringLiteral("Attenzione"));
        if (!blocco.ok()) {
            impostaPercorsoDati(QString());
            Codice->setText(QString());
        }

        // The archive is judged with its count; a damaged count is asked about.
        CaricaElencoConti();
        caricaCausali();
        caricaTabellaValute();
        riempiValute();
        selezionaValutaIniziale();

        // The login ends the program itself when it fails or is cancelled.
        if (s.ImpostazioniCorrenti.accessoConPassword == -1 && !askLogin()) return;
        if (programEnding()) return;
        if (!s.PercorsoDati.isEmpty()) apriContoAvvio();
    });
}

void MDIForm1::riempiValute() {
    const QSignalBlocker block(Combo1);
    Combo1->clear();
    for (int slot = 1; slot <= 15; ++slot) {
        const QString linea = lineaValuta(stato().TabellaValute[size_t(slot)]);
        const int indice = Combo1->addItem(linea, slot);
        const QPixmap bandiera = bandieraValuta(linea);
        if (!bandiera.isNull()) Combo1->setItemIcon(indice, QIcon(bandiera));
    }
    stato().TestoValuta = Combo1->currentText();
}

void MDIForm1::selezionaValutaIniziale() {
    QStringList righe;
    for (int i = 0; i < Combo1->count(); ++i)
        righe << Combo1->text(i);
    const int indice = indiceValutaIniziale(righe, stato().ImpostazioniCorrenti.valutaPredefinita);
    {
        const QSignalBlocker block(Combo1);
        Combo1->setCurrentIndex(indice);
    }
    stato().TestoValuta = Combo1->currentText();
    if (indice >= 0) Combo1_Click();
}

void MDIForm1::apriContoAvvio() {
    auto& s = stato();
    const QString codice = s.ImpostazioniCorrenti.contoAvvio.trimmed();
    if (!contoAvvioDaAprire(codice)) return;
    Hourglass hourglass;
    const int riga = cercaConto(codice);
    if (riga == 0) {
        setHourglass(false);
        messageBox(messaggioContoNonTrovato());
        return;
    }
    // The same opening as from the account sheet, with its check of the files.
    if (!apriContoDellaRiga(riga)) return;
    mostraMovimenti();
    setHourglass(false);
    update();
}

// ---------------------------------------------------------------------------
// What other windows call

void MDIForm1::abilitaComandiConto(bool abilita) {
    Files->setEnabled(abilita);
    enableMenu(Stampe, abilita);
    enableMenu(Visualizza, abilita);
    enableMenu(Immissioni, abilita);
    PulStampe->setEnabled(abilita);
    PulsMovimenti->setEnabled(abilita);
    // "Ripristina copie" brings every account back into a data folder with none open (a
    // new, empty one after a loss): it stays within reach; the rest of the menu works on
    // the open account.
    for (QAction* a : {AllConto, RiprChiu, Sicur, CancMov})
        a->setEnabled(abilita);
    BottCarnet->setEnabled(abilita);
    Vista->setEnabled(abilita);
    enableMenu(chiusure, abilita);
}

void MDIForm1::mostraContoAperto() {
    const auto& s = stato();
    const QString codice = s.CodiceContoAttivo.trimmed();
    Codice->setText(s.PercorsoDati + codice);
    const bool aperto = s.IndiceContoAttivo >= 1 &&
                        s.IndiceContoAttivo < qsizetype(s.TabellaConti.size()) && !codice.isEmpty();
    DescConto->setText(aperto ? s.TabellaConti[size_t(s.IndiceContoAttivo)].nomeBanca.trimmed()
                              : QString());
    stato().TestoDescConto = DescConto->text();
    aggiornaFido();
}

void MDIForm1::svuotaPannelloConto() {
    UltimaData->clear();
    AssMano->clear();
    AssFuori->clear();
    DescConto->clear();
    stato().TestoDescConto.clear();
    for (QLabel* l : Saldi)
        l->clear();
    Codice->setText(stato().PercorsoDati);
}

void MDIForm1::aggiornaSaldi() {
    const TestiSaldi testi = testiSaldi();
    for (size_t i = 0; i < Saldi.size(); ++i)
        Saldi[i]->setText(testi.saldi[i]);
    UltimaData->setText(testi.ultimaData);
}

void MDIForm1::aggiornaFido() {
    Saldi[2]->setText(testoFido());
}

void MDIForm1::mostraMovimenti() {
    if (stato().Form9Aperta == 1)
        if (Form9* movimenti = formHost().loaded<Form9>()) formHost().hide(*movimenti);
    formHost().show(formHost().form<Form9>());
}

// ---------------------------------------------------------------------------
// Display currency

void MDIForm1::Combo1_Click() {
    const QString linea = Combo1->currentText();
    const auto cambio = cambioVisualizzazione(linea);
    if (!cambio) {
        // A line without a usable rate never becomes the display currency: the
        // previous line is selected again and its rate stays.
        {
            const QSignalBlocker block(Combo1);
            Combo1->setCurrentIndex(Combo1->findLine(lineaValutaCorrente_));
        }
        stato().TestoValuta = Combo1->currentText();
        messageBox(messaggioCambioNonImpostato(), MessageButtons::Ok, MessageIcon::Exclamation,
                   QStringLiteral("Attenzione"));
        return;
    }
    const double prima = stato().FattoreValuta;
    stato().FattoreValuta = *cambio;
    lineaValutaCorrente_ = linea;
    // A figure typed, or a movement held for change, in a window keeps standing for the
    // same amount: confirmed after the change, it would otherwise be read in the new
    // currency (2.582,28 Euro stored as 2.582,28 Lire).
    if (Form2* gestione = formHost().loaded<Form2>()) gestione->valutaCambiata(prima);
    if (Form9* movimenti = formHost().loaded<Form9>()) movimenti->valutaCambiata(prima);
    if (Form4* allineamento = formHost().loaded<Form4>()) allineamento->valutaCambiata(prima);
    if (Form20* elencata = formHost().loaded<Form20>()) elencata->valutaCambiata(prima);
    const QPixmap bandiera = bandieraValuta(linea);
    if (bandiera.isNull())
        flag->clear();
    else
        flag->setPixmap(
            bandiera.scaled(flag->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    flag->setToolTip(linea);
    // The panel and the movement list show amounts only while the movement form is
    // open; otherwise they keep their texts until the next refresh.
    if (stato().Form9Aperta == 1) {
        if (formHost().loaded<Form9>()) ElencaMovimentiOrdineAttivo();
        aggiornaSaldi();
    }
    // The alignment's list shows amounts too.
    if (Form4* allineamento = formHost().loaded<Form4>()) allineamento->ElencaMovimentiSospesi();
    // So do the staffa and the interest statement.
    if (Staffa* staffa = formHost().loaded<Staffa>()) staffa->valutaCambiata();
}

// ---------------------------------------------------------------------------
// Menus and buttons

void MDIForm1::confermaUscita() {
    if (messageBox(QStringLiteral("Sei Sicuro di Voler Uscire?"), MessageButtons::OkCancel,
                   MessageIcon::Exclamation, QStringLiteral("AVVERTIMENTO!"),
                   MessageAnswer::Cancel) == MessageAnswer::Ok)
        endProgram();
}

void MDIForm1::NuovoConto_Click() {
    apriGestioneConto();
}

void MDIForm1::ApriConto_Click() {
    formHost().show(formHost().form<Form7>());
}

void MDIForm1::Command3D2_Click() {
    // The staffa belongs to the account being left.
    if (stato().StaffaAperta == 1)
        if (Staffa* staffa = formHost().loaded<Staffa>()) formHost().unload(*staffa);
    formHost().showModal(formHost().form<Form7>());
}

void MDIForm1::GestCaus_Click() {
    formHost().showModal(formHost().form<Form6>());
}

void MDIForm1::Command3D4_Click() {
    formHost().showModal(formHost().form<Form6>());
}

void MDIForm1::Esci_Click() {
    confermaUscita();
}
void MDIForm1::SSCommand2_Click() {
    confermaUscita();
}

void MDIForm1::close_Click() {
    ChiudiConto();
}

void MDIForm1::CancMov_Click() {
    const QString titolo = QStringLiteral("AVVERTIMENTO!");
    if (messageBox(avvisoCancellaMovimenti(), MessageButtons::OkCancel, MessageIcon::Exclamation,
                   titolo, MessageAnswer::Cancel) != MessageAnswer::Ok)
        return;
    if (messageBox(confermaCancellaMovimenti(), MessageButtons::OkCancel, MessageIcon::Exclamation,
                   titolo, MessageAnswer::Cancel) != MessageAnswer::Ok)
        return;
    const Esito cancellati = cancellaMovimentiConto();
    if (!cancellati.ok()) {
        showResult(cancellati);
        return;
    }
    // The account stays open, empty: its files are read again (the missing ones
    // read as empty), the movement list and the list-order file follow.
    ricaricaContoAperto();
}

void MDIForm1::Assegni_Click() {
    mostraMovimenti();
    mostraFormAssegni();
}

void MDIForm1::Carnet_Click() {
    mostraFormCarnet();
}

void MDIForm1::BottCarnet_Click() {
    mostraFormCarnet();
}

void MDIForm1::VisMovimenti_Click() {
    formHost().show(formHost().form<Form11>());
}

void MDIForm1::Vista_Click() {
    formHost().show(formHost().form<Form11>());
}

void MDIForm1::VisAssFuori_Click() {
    mostraSituazioneAssegni();
}

void MDIForm1::AssAnn_Click() {
    mostraAssegniAnnullati();
}

void MDIForm1::IntCost_Click() {
    mostraCondizioni();
}

void MDIForm1::TotConti_Click() {
    mostraRiepilogoConti();
}

void MDIForm1::AllConto_Click() {
    mostraAllineamento();
}

void MDIForm1::Files_Click() {
    mostraAllineamento();
}

void MDIForm1::stf_Click() {
    formHost().show(formHost().form<Staffa>());
}

void MDIForm1::AnnualeSimulata_Click() {
    mostraChiusuraPeriodica();
}

void MDIForm1::RiprChiu_Click() {
    eseguiRipristinoChiusura();
}

void MDIForm1::RioArch_Click() {
    eseguiRiordinoArchivi();
}

void MDIForm1::Sicur_Click() {
    mostraCopieSicurezza(ModoCopie::Backup);
}

void MDIForm1::RipCopie_Click() {
    mostraCopieSicurezza(ModoCopie::Ripristino);
}

void MDIForm1::MenMovimenti_Click() {
    formHost().show(formHost().form<Form9>());
    formHost().form<Form9>().DataOper->setFocus();
}

void MDIForm1::PulsMovimenti_Click() {
    formHost().show(formHost().form<Form9>());
    stato().Form9Aperta = 1;
}

void MDIForm1::gestval_Click() {
    formHost().show(formHost().form<Form25>());
}
void MDIForm1::SSCommand1_Click() {
    formHost().show(formHost().form<Form25>());
}
void MDIForm1::color_Click() {
    formHost().showModal(formHost().form<Form5>());
}
void MDIForm1::ImpStamp_Click() {
    printSetup(sharedPrinter(), this);
}
void MDIForm1::movimenti_Click() {
    mostraMenuStampe();
}
void MDIForm1::PulStampe_Click() {
    mostraMenuStampe();
}
void MDIForm1::CausaliIns_Click() {
    stampaCausali();
}
void MDIForm1::ElencoConti_Click() {
    stampaElencoConti();
}
void MDIForm1::pref_Click() {
    formHost().show(formHost().form<Form23>());
}
void MDIForm1::CVV_Click() {
    formHost().showModal(formHost().form<Convertore>());
}
void MDIForm1::calco_Click() {
    launchCalculator();
}
void MDIForm1::browse_Click() {
    formHost().show(formHost().form<brow>());
}
void MDIForm1::sommario_Click() {
    showHelpDocument(QString::fromLatin1(HelpDocumentResource));
}

void MDIForm1::Sovra_Click() {
    arrangeWindows(area_, WindowArrangement::Cascade);
}
void MDIForm1::AffOriz_Click() {
    arrangeWindows(area_, WindowArrangement::TileHorizontal);
}
void MDIForm1::AffVert_Click() {
    arrangeWindows(area_, WindowArrangement::TileVertical);
}
void MDIForm1::DispIcon_Click() {
    arrangeWindows(area_, WindowArrangement::ArrangeIcons);
}

// ---------------------------------------------------------------------------
// Window events

void MDIForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program without asking.
    event->accept();
    if (!programEnding()) endProgram();
}

bool MDIForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        beep();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace qv
