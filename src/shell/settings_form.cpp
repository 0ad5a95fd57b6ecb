// Form23: the settings window "Impostazioni".
#include "settings_form.h"

#include "common/amounts.h"
#include "common/shared_state.h"
#include "platform/desktop.h"
#include "platform/keys.h"
#include "platform/list_box.h"
#include "platform/message_box.h"
#include "program_files.h"
#include "settings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

QLineEdit* newBox(QWidget* parent, const QString& name, int maxLength) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    return box;
}

// What the window's fields hold, as typed.
SettingsTexts testiDigitati(const Form23& f) {
    SettingsTexts typed;
    typed.percorsoDati = f.PerAvv[1]->text();
    typed.contoAvvio = f.contAvv[0]->text();
    typed.valutaPredefinita = f.Combo1->currentIndex() >= 0 ? f.Combo1->currentText() : QString();
    typed.decimali = f.decimali->text();
    typed.nomeUtente = f.NomeUt->text();
    typed.passwordUtente = f.PassW->text();
    typed.accessoConPassword = f.accesso->isChecked();
    return typed;
}

// The control that holds `field`; none for SettingsField::None.
QWidget* campoDi(const Form23& f, SettingsField field) {
    switch (field) {
    case SettingsField::PercorsoDati:
        return f.PerAvv[1];
    case SettingsField::ContoAvvio:
        return f.contAvv[0];
    case SettingsField::Valuta:
        return f.Combo1;
    case SettingsField::Decimali:
        return f.decimali;
    case SettingsField::NomeUtente:
        return f.NomeUt;
    case SettingsField::Password:
        return f.PassW;
    case SettingsField::None:
        break;
    }
    return nullptr;
}

} // namespace

Form23::Form23(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form23"));
    setCaption(QStringLiteral("Impostazioni"));

    creaTitolo();
    creaCampi();
    creaPulsanti();
    disponi();
    impostaOrdineTab();
    collegaControlli();
}

// The raised title over the fields.
void Form23::creaTitolo() {
    SSPanel1 = new QLabel(QStringLiteral("Impostazioni"), this);
    SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    SSPanel1->setAlignment(Qt::AlignCenter);
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFont titleFont = SSPanel1->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    SSPanel1->setFont(titleFont);
    SSPanel1->setMinimumHeight(36);
}

// One field for each setting, as long as the settings file holds it.
void Form23::creaCampi() {
    PerAvv[1] = newBox(this, QStringLiteral("PerAvv_1"), kLarghezzaPercorsoDati);
    contAvv[0] = newBox(this, QStringLiteral("contAvv_0"), kLarghezzaContoAvvio);
    Combo1 = new ComboBox(QStringLiteral("Combo1"), this);
    Combo1->setSorted(true);
    decimali = newBox(this, QStringLiteral("decimali"), 1);
    decimali->setMaximumWidth(40);
    NomeUt = newBox(this, QStringLiteral("NomeUt"), kLarghezzaNomeUtente);
    PassW = newBox(this, QStringLiteral("PassW"), kLarghezzaPassword);
    PassW->setEchoMode(QLineEdit::Password);
    PassW->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    accesso = new QCheckBox(QStringLiteral("Accesso con password"), this);
    accesso->setObjectName(QStringLiteral("accesso"));
}

void Form23::creaPulsanti() {
    Salva = new QPushButton(QStringLiteral("Conferma"), this);
    Salva->setObjectName(QStringLiteral("Salva"));
    Command3D8 = new QPushButton(QStringLiteral(" Uscita "), this);
    Command3D8->setObjectName(QStringLiteral("Command3D8"));
    // Enter presses the button that has the focus (the chain ends on "Conferma").
    Salva->setAutoDefault(true);
    Command3D8->setAutoDefault(true);
}

// The title, each field beside its caption, the buttons at the bottom right.
void Form23::disponi() {
    PerAvv[1]->setMinimumWidth(PerAvv[1]->fontMetrics().averageCharWidth() * 38);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("percorso dati avvio"), PerAvv[1]);
    fields->addRow(QStringLiteral("Conto da aprire in avvio"), contAvv[0]);
    fields->addRow(QStringLiteral("Valuta predefinita"), Combo1);
    fields->addRow(QStringLiteral("nr. decimali"), decimali);
    fields->addRow(QStringLiteral("Nome Utente"), NomeUt);
    fields->addRow(QStringLiteral("Password"), PassW);
    fields->addRow(QString(), accesso);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Salva);
    buttons->addWidget(Command3D8);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSPanel1);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);
}

// Tab walks the fields in screen order; the Enter chain is shorter, and the key itself
// goes no further.
void Form23::impostaOrdineTab() {
    setTabOrder(PerAvv[1], contAvv[0]);
    setTabOrder(contAvv[0], Combo1);
    setTabOrder(Combo1, decimali);
    setTabOrder(decimali, NomeUt);
    setTabOrder(NomeUt, PassW);
    setTabOrder(PassW, accesso);
    setTabOrder(accesso, Salva);
    setTabOrder(Salva, Command3D8);

    enterMovesAlong({PerAvv[1], contAvv[0], Salva});
    enterMovesAlong({decimali, NomeUt, PassW, PerAvv[1]});
}

void Form23::collegaControlli() {
    // Folders are written with "/" here: a typed "\" becomes one.
    onKeyPress(PerAvv[1], [](int& keyAscii) {
        if (keyAscii == '\\') keyAscii = '/';
    });
    onKeyPress(decimali, [this](int& keyAscii) { decimali_KeyPress(keyAscii); });

    connect(Salva, &QPushButton::clicked, this, handler([this] { Salva_Click(); }));
    connect(Command3D8, &QPushButton::clicked, this, handler([this] { Command3D8_Click(); }));
}

void Form23::Form_Load() {
    auto& st = stato();
    // The form shows the file, not what an earlier visit left in memory.
    st.ImpostazioniCorrenti = leggiImpostazioni();
    const SettingsTexts t = settingsTexts(st.ImpostazioniCorrenti);
    PerAvv[1]->setText(t.percorsoDati);
    contAvv[0]->setText(t.contoAvvio);
    decimali->setText(t.decimali);
    NomeUt->setText(t.nomeUtente);
    PassW->setText(t.passwordUtente);
    accesso->setChecked(t.accessoConPassword);

    caricaTabellaValute();
    Combo1->clear();
    for (int slot = 1; slot <= 15; ++slot)
        Combo1->addItem(lineaValuta(st.TabellaValute[slot]), slot);

    int selected = -1;
    if (t.valutaPredefinita.isEmpty()) {
        // No default: the line the start-up uses in that case, the first one with
        // a rate (the first line of all when none has one).
        selected = 0;
        for (int i = 0; i < Combo1->count(); ++i)
            if (cambioUtilizzabile(st.TabellaValute[Combo1->data(i)].cambio)) {
                selected = i;
                break;
            }
    } else {
        for (int i = 0; i < Combo1->count(); ++i)
            if (Combo1->text(i).trimmed() == t.valutaPredefinita) {
                selected = i;
                break;
            }
    }
    Combo1->setCurrentIndex(selected);
}

void Form23::decimali_KeyPress(int& keyAscii) {
    if ((keyAscii >= '0' && keyAscii <= '3') || keyAscii == 8 || keyAscii == 13) return;
    keyAscii = 0;
    beep();
}

void Form23::Salva_Click() {
    auto& st = stato();
    const SettingsOutcome outcome =
        settingsFromTexts(testiDigitati(*this), st.ImpostazioniCorrenti);
    if (!outcome.ok()) {
        messageBox(outcome.esito.testo, MessageButtons::Ok, MessageIcon::Exclamation,
                   QStringLiteral("Attenzione"));
        if (QWidget* box = campoDi(*this, outcome.field)) box->setFocus();
        return;
    }
    const Impostazioni& imp = outcome.record;
    if (imp.percorsoDati != QLatin1String("0")) PerAvv[1]->setText(imp.percorsoDati);

    if (const Esito salvate = saveSettings(imp); !salvate.ok()) {
        messageBox(QStringLiteral("Impossibile salvare le impostazioni: %1.").arg(salvate.testo),
                   MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Errore"));
        return;
    }
    st.ImpostazioniCorrenti = imp;
    if (imp.numeroDecimali >= 0 && imp.numeroDecimali <= 4)
        st.FormatoImporti = formatoImporti(imp.numeroDecimali);

    // With the movement form open, what shows amounts follows the new format at
    // once: the movement list, the balances and the credit line.
    if (st.Form9Aperta == 1) emit formatoCambiato();

    formHost().unload(*this);
}

void Form23::Command3D8_Click() {
    formHost().unload(*this);
}

} // namespace qv
