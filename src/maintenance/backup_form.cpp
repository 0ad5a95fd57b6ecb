// Form18: "Backup dati" / "Ripristina Dati", the backup copies and their restore.
#include "maintenance/backup_form.h"

#include "common/paths.h"
#include "common/shared_state.h"
#include "maintenance/backup.h"
#include "maintenance/maintenance_form.h"
#include "platform/desktop.h"
#include "platform/folder_tree.h"
#include "platform/message_box.h"
#include "platform/result_box.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

Form18::Form18(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form18"));
    setCaption(QStringLiteral("Backup dati"));

    Panel3D1 = new QGroupBox(QStringLiteral("Copie di sicurezza"), this);
    Panel3D1->setObjectName(QStringLiteral("Panel3D1"));
    NomeFile = new QLabel(percorsoDi(QString()), Panel3D1);
    NomeFile->setObjectName(QStringLiteral("NomeFile"));
    NomeFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    NomeFile->setWordWrap(true);
    Dir1 = new FolderTree(Panel3D1);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setToolTip(QStringLiteral("Seleziona la cartella delle copie di sicurezza"));
    Dir1->setMinimumSize(360, 280);
    connect(Dir1, &FolderTree::folderChosen, this, handler([this] { Dir1_Change(); }));

    Frame3D1 = new QGroupBox(QStringLiteral("Opzioni"), Panel3D1);
    Frame3D1->setObjectName(QStringLiteral("Frame3D1"));
    TuttiConti = new QRadioButton(QStringLiteral("tutti i conti"), Frame3D1);
    TuttiConti->setObjectName(QStringLiteral("TuttiConti"));
    ContoAttivo = new QRadioButton(QStringLiteral("conto attivo"), Frame3D1);
    ContoAttivo->setObjectName(QStringLiteral("ContoAttivo"));
    ContoAttivo->setChecked(true);
    auto* opzioni = new QVBoxLayout(Frame3D1);
    opzioni->addWidget(TuttiConti);
    opzioni->addWidget(ContoAttivo);
    opzioni->addStretch(1);
    connect(TuttiConti, &QRadioButton::clicked, this, handler([this] { TuttiConti_Click(); }));
    connect(ContoAttivo, &QRadioButton::clicked, this, handler([this] { ContoAttivo_Click(); }));

    auto* cartella = new QVBoxLayout;
    cartella->addWidget(NomeFile);
    cartella->addWidget(Dir1, 1);
    auto* pannello = new QHBoxLayout(Panel3D1);
    pannello->addLayout(cartella, 1);
    pannello->addWidget(Frame3D1);

    Salva = new QPushButton(QStringLiteral("Conferma"), this);
    Salva->setObjectName(QStringLiteral("Salva"));
    esci = new QPushButton(QStringLiteral("Uscita"), this);
    esci->setObjectName(QStringLiteral("esci"));
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(Salva);
    pulsanti->addWidget(esci);
    connect(Salva, &QPushButton::clicked, this, handler([this] { Salva_Click(); }));
    connect(esci, &QPushButton::clicked, this, handler([this] { esci_Click(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel3D1, 1);
    layout->addLayout(pulsanti);

    setTabOrder(Dir1, TuttiConti);
    setTabOrder(TuttiConti, ContoAttivo);
    setTabOrder(ContoAttivo, Salva);
    setTabOrder(Salva, esci);
}

void Form18::Form_Load() {
    // The choice starts at the user's home folder.
    Dir1->showFolder(QDir::homePath());
}

void Form18::Form_Activate() {
    setCaption(modo_ == ModoCopie::Ripristino ? QStringLiteral("Ripristina Dati")
                                              : QStringLiteral("Backup dati"));
    // With no account open only "tutti i conti" can be restored (into a new data folder).
    const bool aperto = contoAttivoAperto();
    ContoAttivo->setEnabled(aperto);
    if (!aperto) TuttiConti->setChecked(true);
    mostraPercorso();
    Dir1->setFocus(Qt::OtherFocusReason);
}

void Form18::keyPressEvent(QKeyEvent* event) {
    // Esc leaves the dialog as "Uscita" does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        esci->click();
        return;
    }
    Form::keyPressEvent(event);
}

void Form18::mostraPercorso() {
    NomeFile->setText(percorsoDi(Dir1->chosenFolder()));
}

void Form18::Dir1_Change() {
    mostraPercorso();
}

void Form18::TuttiConti_Click() {
    TuttiConti->setChecked(true);
}

void Form18::ContoAttivo_Click() {
    ContoAttivo->setChecked(true);
}

void Form18::Salva_Click() {
    const QString cartella = Dir1->chosenFolder();
    const CopiaDi copia = TuttiConti->isChecked() ? CopiaDi::TuttiConti : CopiaDi::ContoAttivo;
    if (Esito scelta = controllaCartellaCopie(cartella, stato().PercorsoDati); !scelta.ok()) {
        showResult(scelta);
        Dir1->setFocus(Qt::OtherFocusReason);
        return;
    }
    RispostaErrori risposta;
    Esito esito;
    if (modo_ == ModoCopie::Backup) {
        Hourglass attesa;
        esito = EseguiCopie(cartella, copia, riprovaConErroriFile(risposta));
    } else {
        // A folder with nothing to restore is said at once, without the warning.
        if (Esito daRipristinare = controllaCopieDaRipristinare(cartella, copia);
            !daRipristinare.ok()) {
            showResult(daRipristinare);
            Dir1->setFocus(Qt::OtherFocusReason);
            return;
        }
        // A cancelled warning leaves the form open and changes nothing.
        if (messageBox(avvisoRipristinoCopie(), MessageButtons::OkCancel, MessageIcon::Exclamation,
                       QStringLiteral("AVVERTIMENTO!"), MessageAnswer::Cancel) != MessageAnswer::Ok)
            return;
        Hourglass attesa;
        esito = RipristinaCopie(cartella, copia, riprovaConErroriFile(risposta));
        if (esito.ok()) {
            // The data folder's archive read again: the accounts the restore added are in
            // the lists; then the open account with its restored files.
            if (const auto& rileggi = richiesteManutenzione().contiDaRileggere) rileggi();
            if (contoAttivoAperto()) ricaricaContoAperto();
        }
    }
    mostraEsitoManutenzione(esito, risposta);
    // Done: the form goes; otherwise it stays for another choice.
    if (esito.ok()) formHost().unload(*this);
}

void Form18::esci_Click() {
    formHost().unload(*this);
}

void mostraCopieSicurezza(ModoCopie modo) {
    Form18& form = formHost().form<Form18>();
    form.impostaModo(modo);
    formHost().showModal(form);
}

} // namespace qv
