// Staffa: the window "staffa", the value-date balance statement of the open account.
#include "staffa/staffa_form.h"

#include "common/dates.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "conditions/conditions.h"
#include "ledger/balances.h"
#include "ledger/movement_files.h"
#include "ledger/open_account.h"
#include "platform/column_headings.h"
#include "platform/controls.h"
#include "platform/date_check_dialog.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/keys.h"
#include "platform/line_printer.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "platform/requests.h"
#include "platform/result_box.h"
#include "staffa/staffa_text.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace qv {

namespace {

QPushButton* pulsante(QWidget* padre, const char* nome, const QString& testo,
                      const QString& suggerimento) {
    auto* b = namedButton(padre, QString::fromLatin1(nome), testo, suggerimento);
    // Enter presses the button that has the focus, as Space does.
    b->setAutoDefault(true);
    return b;
}

using ProspettoRegistrato = Requests<Staffa::ProspettoInteressi, Staffa>;

} // namespace

void stampaRighe(const std::vector<RigaStampaStaffa>& righe) {
    LinePrinter& stampante = printer();
    for (const RigaStampaStaffa& r : righe) {
        if (r.nuovaPagina) stampante.newPage();
        stampante.setFontName(r.carattere);
        stampante.setFontSize(r.punti);
        stampante.setBold(r.grassetto);
        stampante.printLine(r.testo);
    }
    stampante.endDoc();
}

Staffa::Staffa(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Staffa"));
    setCaption(QStringLiteral("staffa"));
    // The staffa shows the open account with its conditions: closing or changing the
    // account closes it.
    legaAlContoAperto(this, [this] { unloadIfLoaded(*this); });

    creaTitoloEPeriodo();
    creaComandi();
    creaElenchi();
    disponi();
    collegaControlli();
}

// The title, the period with its quarter buttons and the choice of movements.
void Staffa::creaTitoloEPeriodo() {
    SSPanel1 = namedLabel(this, QStringLiteral("SSPanel1"), QStringLiteral("CALCOLO DELLA STAFFA"));
    SSPanel1->setAlignment(Qt::AlignCenter);
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFont titolo(QStringLiteral("Arial"));
    titolo.setBold(true);
    titolo.setPointSizeF(SSPanel1->font().pointSizeF() * 1.3);
    SSPanel1->setFont(titolo);
    SSPanel1->setMinimumHeight(QFontMetrics(titolo).height() + 10);

    Label5 = namedLabel(this, QStringLiteral("Label5"), QStringLiteral("Dal"));
    dal = new DateField(QStringLiteral("dal"), this);
    Label1[4] = namedLabel(this, QStringLiteral("Label1_4"), QStringLiteral("Al"));
    al = new DateField(QStringLiteral("al"), this);
    // Each field is read by its label.
    Label5->setBuddy(dal);
    Label1[4]->setBuddy(al);
    const int larghezzaData = dal->fontMetrics().horizontalAdvance(QString(14, u'0'));
    dal->setFixedWidth(larghezzaData);
    al->setFixedWidth(larghezzaData);

    const QString trimestre = QStringLiteral("Seleziona trimestre");
    Command1 = pulsante(this, "Command1", QStringLiteral("I° Trim."), trimestre);
    Command3 = pulsante(this, "Command3", QStringLiteral("II° Trim."), trimestre);
    Command4 = pulsante(this, "Command4", QStringLiteral("III° Trim."), trimestre);
    Command5 = pulsante(this, "Command5", QStringLiteral("IV° Trim."), trimestre);
    Command3D4 = pulsante(this, "Command3D4", QStringLiteral("T"), QStringLiteral("Tutte le date"));
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setBold(true);
    Command3D4->setFont(courier);
    Command3D4->setFixedWidth(Command3D4->fontMetrics().horizontalAdvance(QStringLiteral("TTTT")));

    Frame1 = new QGroupBox(QStringLiteral("Applica a :"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Tutti = new QRadioButton(QStringLiteral("Tutti"), Frame1);
    Tutti->setObjectName(QStringLiteral("Tutti"));
    NSospesi = new QRadioButton(QStringLiteral("Non sosopesi"), Frame1);
    NSospesi->setObjectName(QStringLiteral("NSospesi"));
    Tutti->setChecked(true);
    auto* scelta = new QVBoxLayout(Frame1);
    scelta->setContentsMargins(6, 2, 6, 2);
    scelta->setSpacing(0);
    scelta->addWidget(Tutti);
    scelta->addWidget(NSospesi);
}

// The four commands on the right.
void Staffa::creaComandi() {
    QStyle* stile = style();
    via = pulsante(this, "via", QStringLiteral("Staffa"), QStringLiteral("Staffa"));
    via->setIcon(stile->standardIcon(QStyle::SP_MediaPlay));
    Interessi = pulsante(this, "Interessi", QStringLiteral("Interessi"),
                         QStringLiteral("Calcolo interessi"));
    Interessi->setIcon(stile->standardIcon(QStyle::SP_FileDialogDetailedView));
    Stampa = pulsante(this, "Stampa", QStringLiteral("Stampa"), QStringLiteral("Stampa"));
    Stampa->setIcon(stile->standardIcon(QStyle::SP_DialogSaveButton));
    Command2 = pulsante(this, "Command2", QStringLiteral("Uscita"), QStringLiteral("Uscita"));
    Command2->setIcon(stile->standardIcon(QStyle::SP_DialogCloseButton));
}

// The staffa's list with its headings, the work list of the dates and the list of the
// interest statement.
void Staffa::creaElenchi() {
    List1 = new ListBox(QStringLiteral("List1"), this);
    List1->setFixedPitch(true);
    List1->setMinimumWidth(QFontMetrics(List1->font()).horizontalAdvance(QString(90, u'0')));
    List1->setMinimumHeight(320);
    // The work list of the dates: one item per date, in date order. The staffa gives its
    // dates already sorted, so the list keeps them in that order rather than sorting
    // their texts again (the order is the same for the years 1000 to 2731).
    List2 = new ListBox(QStringLiteral("List2"), this);
    List2->hide();
    List3 = new ListBox(QStringLiteral("List3"), this);
    List3->setFixedPitch(true);
    List3->hide();
    mostra = namedLabel(this, QStringLiteral("mostra"), QString());
    mostra->hide();

    auto* intestazioni = new ColumnHeadings(List1, this, 4);
    intestazioni_ = intestazioni;
    Label1[0] = namedLabel(this, QStringLiteral("Label1_0"), QStringLiteral("Desc."));
    Label1[1] = namedLabel(this, QStringLiteral("Label1_1"), QStringLiteral("Giorni   "));
    Label1[2] =
        namedLabel(this, QStringLiteral("Label1_2"), QStringLiteral("            Numeri Debitori"));
    Label1[3] = namedLabel(this, QStringLiteral("Label1_3"), QStringLiteral("Numeri Creditori"));
    Label2 = namedLabel(this, QStringLiteral("Label2"), QStringLiteral("      Data valuta"));
    Label3 = namedLabel(this, QStringLiteral("Label3"), QStringLiteral("Saldi per Valuta"));
    // The six headings are three characters wider than the columns they stand over: each
    // sits at its column or a little to the right, one blank apart from the next.
    intestazioni->add(Label1[0], 1);
    intestazioni->add(Label2, 17, true);
    intestazioni->add(Label3, 34, true);
    intestazioni->add(Label1[1], 44, true);
    intestazioni->add(Label1[2], 57, true);
    intestazioni->add(Label1[3], 74, true);
}

void Staffa::disponi() {
    // The period with its buttons on the left, the choice of movements, the commands on
    // the right.
    auto* date = new QHBoxLayout;
    date->addWidget(Label5);
    date->addWidget(dal);
    date->addSpacing(8);
    date->addWidget(Label1[4]);
    date->addWidget(al);
    date->addStretch(1);
    auto* trimestri = new QHBoxLayout;
    for (QPushButton* b : {Command1, Command3, Command4, Command5, Command3D4})
        trimestri->addWidget(b);
    trimestri->addStretch(1);
    auto* periodo = new QVBoxLayout;
    periodo->addLayout(date);
    periodo->addLayout(trimestri);
    auto* pulsanti = new QGridLayout;
    pulsanti->addWidget(via, 0, 0);
    pulsanti->addWidget(Interessi, 0, 1);
    pulsanti->addWidget(Stampa, 1, 0);
    pulsanti->addWidget(Command2, 1, 1);
    auto* comandi = new QHBoxLayout;
    comandi->addLayout(periodo);
    comandi->addSpacing(12);
    comandi->addWidget(Frame1);
    comandi->addStretch(1);
    comandi->addLayout(pulsanti);

    auto* tutto = new QVBoxLayout(this);
    tutto->setSpacing(6);
    tutto->addWidget(SSPanel1);
    tutto->addLayout(comandi);
    tutto->addWidget(mostra);
    tutto->addWidget(intestazioni_);
    // List1 and List3 take the same place, one of them shown; both follow the window's
    // size.
    tutto->addWidget(List1, 1);
    tutto->addWidget(List3, 1);
}

// The tab order, Enter along the dates, and the buttons' handlers.
void Staffa::collegaControlli() {
    setTabOrder(dal, al);
    setTabOrder(al, via);
    setTabOrder(via, Command1);
    setTabOrder(Command1, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);
    setTabOrder(Command5, Command3D4);
    setTabOrder(Command3D4, Tutti);
    setTabOrder(Tutti, NSospesi);
    setTabOrder(NSospesi, Interessi);
    setTabOrder(Interessi, Stampa);
    setTabOrder(Stampa, Command2);
    setTabOrder(Command2, List1);
    enterMovesFocus(dal, al);
    // Enter in the end date goes on to the button that computes the staffa.
    enterMovesFocus(al, via);

    connect(Command1, &QPushButton::clicked, this, handler([this] { Command1_Click(); }));
    connect(Command3, &QPushButton::clicked, this, handler([this] { Command3_Click(); }));
    connect(Command4, &QPushButton::clicked, this, handler([this] { Command4_Click(); }));
    connect(Command5, &QPushButton::clicked, this, handler([this] { Command5_Click(); }));
    connect(Command3D4, &QPushButton::clicked, this, handler([this] { Command3D4_Click(); }));
    connect(via, &QPushButton::clicked, this, handler([this] { via_Click(); }));
    connect(Interessi, &QPushButton::clicked, this, handler([this] { Interessi_Click(); }));
    connect(Stampa, &QPushButton::clicked, this, handler([this] { Stampa_Click(); }));
    connect(Command2, &QPushButton::clicked, this, handler([this] { Command2_Click(); }));
}

void Staffa::Form_Load() {
    auto& s = stato();
    s.StaffaAperta = 1;
    Hourglass clessidra;
    const QString motivo = CaricaCondizioni().testo;
    CalcolaDateValutaEstreme();
    const std::span<const Movimento> movimenti = movimentiContoAperto();
    const auto [inizio, fine] = periodoIniziale(movimenti, s.TabellaRiporto[1].dataRiporto, oggi());
    dal->setTesto(testoDaData(inizio));
    al->setTesto(testoDaData(fine));
    tutteLeDate_ = estremiStaffa(movimenti).value_or(std::pair{inizio, fine});
    CalcoloStaffa();
    // The conditions that could not be read keep those in memory; only the divisor of
    // the numbers counts here, and the user is told.
    avvisaErroreFile(motivo);
}

void Staffa::Form_Unload(bool& cancel) {
    Q_UNUSED(cancel);
    stato().StaffaAperta = 0;
}

RisultatoStaffa Staffa::calcola() const {
    const std::optional<QDate> inizio = dataDelPeriodo(dal->testo());
    const std::optional<QDate> fine = dataDelPeriodo(al->testo());
    if (!inizio || !fine) return {};
    return calcolaStaffa(movimentiContoAperto(),
                         parametriContoAperto(*inizio, *fine, Tutti->isChecked()));
}

void Staffa::CalcoloStaffa() {
    staffa_ = calcola();
    mostraStaffa();
}

void Staffa::valutaCambiata() {
    if (List1->isHidden()) {
        if (const auto& ricalcola = ProspettoRegistrato::get().ricalcola)
            ricalcola(*this, periodoLista3_);
        return;
    }
    // A staffa refused for its period shows nothing to convert.
    if (staffa_.righe.empty()) return;
    const ParametriStaffa& p = staffa_.parametri;
    staffa_ = calcolaStaffa(movimentiContoAperto(), parametriContoAperto(p.dal, p.al, p.tutti));
    mostraStaffa();
}

void Staffa::mostraStaffa() {
    riempiDate(staffa_.righe);
    // A long period has thousands of rows: the list holds which line each one is and
    // makes its text when it is shown or read. A row's balance line is 2 × its index,
    // its excess line that plus one; the closing lines, few, are made now and numbered
    // from -1 down.
    std::vector<qint32> linee;
    QStringList finali;
    if (!staffa_.righe.empty()) {
        const QString& formato = stato().FormatoImporti;
        linee.reserve(staffa_.righe.size() * 2 + 8);
        for (size_t r = 0; r < staffa_.righe.size(); ++r) {
            linee.push_back(qint32(2 * r));
            if (staffa_.righe[r].oltreFido) linee.push_back(qint32(2 * r + 1));
        }
        // The closing lines as the whole list would end: those of the last row alone,
        // then the closing lines, of which the last row's lines are dropped.
        std::vector<RigaStaffa> righe;
        righe.swap(staffa_.righe);
        staffa_.righe.push_back(righe.back());
        finali = righeListaStaffa(staffa_, formato);
        staffa_.righe.swap(righe);
        finali.remove(0, staffa_.righe.back().oltreFido ? 2 : 1);
        for (qsizetype k = 0; k < finali.size(); ++k)
            linee.push_back(qint32(-1 - k));
    }
    List1->setLines(std::move(linee),
                    [this, finali, formato = NumberFormat(stato().FormatoImporti)](qint32 linea) {
                        if (linea < 0) return finali.value(-1 - linea);
                        const size_t r = size_t(linea / 2);
                        if (r >= staffa_.righe.size()) return QString();
                        return linea % 2 ? rigaEccedenzaStaffa(staffa_.righe[r], formato)
                                         : rigaSaldoStaffa(staffa_.righe[r], formato);
                    });
    SSPanel1->setText(QStringLiteral("CALCOLO DELLA STAFFA"));
    if (!List3->isHidden()) {
        List3->hide();
        List1->show();
        intestazioni_->show();
    }
    segnalaSenzaData(staffa_.movimentiSenzaData);
}

void Staffa::riempiDate(const std::vector<RigaStaffa>& righe) {
    // One item per date, made when read.
    std::vector<QDate> date;
    date.reserve(righe.size());
    for (const RigaStaffa& r : righe)
        date.push_back(r.data);
    std::vector<qint32> linee(date.size());
    for (size_t k = 0; k < linee.size(); ++k)
        linee[k] = qint32(k);
    List2->setLines(std::move(linee), [date = std::move(date)](qint32 k) {
        return size_t(k) < date.size() ? voceDataStaffa(date[size_t(k)]) : QString();
    });
}

void Staffa::segnalaSenzaData(const std::vector<qint16>& numeri) {
    if (numeri == senzaDataSegnalati_) return;
    senzaDataSegnalati_ = numeri;
    if (!senzaDataSegnalati_.empty())
        messageBox(messaggioMovimentiSenzaData(senzaDataSegnalati_), MessageButtons::Ok,
                   MessageIcon::Exclamation, QStringLiteral("Attenzione"));
}

bool Staffa::controllaPeriodo() {
    const auto& s = stato();
    const auto controlla = [](DateField* campo, const QString& ripristino) {
        const DateParts p = splitDateText(campo->testo());
        qint16 esito = 1;
        ControllaData(p.giorno, p.mese, p.anno, esito);
        if (esito != 0) return true;
        campo->setTesto(ripristino);
        campo->setFocus();
        return false;
    };
    return controlla(dal, s.PrimaDataOperazione) && controlla(al, s.UltimaDataOperazione);
}

void Staffa::trimestre(int numero) {
    static constexpr const char* kInizio[] = {"01/01/", "01/04/", "01/07/", "01/10/"};
    static constexpr const char* kFine[] = {"31/03/", "30/06/", "30/09/", "31/12/"};
    const QString anno = QString::number(oggi().year());
    dal->setTesto(QLatin1String(kInizio[numero - 1]) + anno);
    al->setTesto(QLatin1String(kFine[numero - 1]) + anno);
}

void Staffa::Command1_Click() {
    trimestre(1);
}
void Staffa::Command3_Click() {
    trimestre(2);
}
void Staffa::Command4_Click() {
    trimestre(3);
}
void Staffa::Command5_Click() {
    trimestre(4);
}

void Staffa::Command3D4_Click() {
    dal->setTesto(testoDaData(tutteLeDate_.first));
    al->setTesto(testoDaData(tutteLeDate_.second));
}

void Staffa::via_Click() {
    mostra->hide();
    if (!controllaPeriodo()) return;
    Hourglass clessidra;
    CalcoloStaffa();
}

void Staffa::impostaProspettoInteressi(ProspettoInteressi p) {
    ProspettoRegistrato::set(std::move(p));
}

void Staffa::Interessi_Click() {
    if (const auto& mostra = ProspettoRegistrato::get().mostra) mostra(*this);
}

void Staffa::StampaCompetenze() {
    if (const auto& stampa = ProspettoRegistrato::get().stampa) stampa(*this);
}

void Staffa::mostraInLista3(const QString& titolo, const QStringList& righe,
                            const PeriodoProspetto& periodo) {
    periodoLista3_ = periodo;
    SSPanel1->setText(titolo);
    List1->clear();
    std::vector<ListItem> voci;
    voci.reserve(size_t(righe.size()));
    for (const QString& riga : righe)
        voci.push_back({riga, 0});
    List3->setItems(std::move(voci));
    List1->hide();
    intestazioni_->hide();
    List3->show();
}

void Staffa::Stampa_Click() {
    // Prints what the window shows: the staffa, or the interest statement in List3.
    if (!List1->isHidden())
        StampaStaffa();
    else
        StampaCompetenze();
}

IntestazioneStampaStaffa Staffa::intestazioneStampa() const {
    IntestazioneStampaStaffa intestazione;
    intestazione.banca = stato().TestoDescConto;
    intestazione.valuta = stato().TestoValuta;
    intestazione.stampatoIl = oggi();
    intestazione.dal = dal->testo();
    intestazione.al = al->testo();
    return intestazione;
}

void Staffa::StampaStaffa() {
    if (!controllaPeriodo()) return;
    {
        Hourglass clessidra;
        stampaRighe(stampaStaffa(calcola(), intestazioneStampa(), stato().FormatoImporti));
    }
    // The window shows the staffa of the printed period.
    via_Click();
}

void Staffa::Command2_Click() {
    formHost().unload(*this);
}

} // namespace qv
