#include "importa/conversion_form.h"

#include "common/paths.h"
#include "importa/conversion.h"
#include "platform/desktop.h"
#include "platform/errori_file.h"
#include "platform/folder_tree.h"
#include "platform/list_box.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace qv {

namespace {

// The file-error dialog's number for a read past the end of a file.
constexpr qint32 kInputOltreFineFile = 62;

QString percorso(const QString& folder) {
    return QStringLiteral("Percorso: ") + QDir::toNativeSeparators(folder);
}

QString testoFatto(int conti) {
    if (conti <= 0)
        return QStringLiteral("La cartella selezionata non contiene conti da convertire: "
                              "nessun file è stato modificato.");
    if (conti == 1) return QStringLiteral("Conversione completata: 1 conto convertito.");
    return QStringLiteral("Conversione completata: %1 conti convertiti.").arg(conti);
}

// The answer of the file-error dialog to a failed conversion. A file cut short is the
// dialog's "input past the end of the file"; a count that is not a number of records is
// an error the dialog does not know, which it answers as not recognised.
qint16 rispostaErrore(const EsitoConversione& esito) {
    switch (esito.guasto) {
    case EsitoConversione::Guasto::FineFile:
        return ErroriFile(kInputOltreFineFile);
    case EsitoConversione::Guasto::Conteggio:
        return 3;
    case EsitoConversione::Guasto::Sistema:
        break;
    }
    return ErroriFile(numeroErroreFile(esito.osErrno, esito.percorso));
}

} // namespace

Form1::Form1(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Conversione dati"));

    NomeFile = new QLabel(percorso(QString()), this);
    NomeFile->setObjectName(QStringLiteral("NomeFile"));
    NomeFile->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Dir1 = new FolderTree(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setMinimumSize(300, 360);
    Cartelle = Dir1->folders();
    Cartelle->setObjectName(QStringLiteral("Cartelle"));
    connect(Dir1, &FolderTree::folderChosen, this, handler([this] { Dir1_Change(); }));

    ListaConti = new ListBox(QStringLiteral("ListaConti"), this);
    ListaConti->setFixedPitch(true);
    ListaConti->setMinimumSize(560, 360);
    connect(ListaConti, &ListBox::rowDoubleClicked, this,
            handler([this] { ListaConti_DblClick(); }));

    QStyle* stile = style();
    AddAnItem = new QPushButton(stile->standardIcon(QStyle::SP_DialogApplyButton),
                                QStringLiteral("Conferma"), this);
    AddAnItem->setObjectName(QStringLiteral("AddAnItem"));
    AddAnItem->setToolTip(QStringLiteral("Converte i dati della cartella nel formato attuale"));
    connect(AddAnItem, &QPushButton::clicked, this, handler([this] { AddAnItem_Click(); }));

    esci = new QPushButton(stile->standardIcon(QStyle::SP_DialogCloseButton),
                           QStringLiteral("Uscita"), this);
    esci->setObjectName(QStringLiteral("esci"));
    connect(esci, &QPushButton::clicked, this, handler([this] { esci_Click(); }));

    auto* elenchi = new QHBoxLayout;
    elenchi->addWidget(Dir1, 2);
    elenchi->addWidget(ListaConti, 3);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(AddAnItem);
    pulsanti->addWidget(esci);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NomeFile);
    layout->addLayout(elenchi, 1);
    layout->addLayout(pulsanti);
}

void Form1::Form_Activate() {
    ListaConti->clear();
    // The folder the program was started from, as the drive's current folder was.
    prendiCartella(QDir::currentPath());
}

void Form1::Dir1_Change() {
    const QString folder = Dir1->chosenFolder();
    if (!folder.isEmpty()) prendiCartella(folder);
}

void Form1::prendiCartella(const QString& folder) {
    PercorsoConversione = folderWithSlash(folder);
    NomeFile->setText(percorso(PercorsoConversione));
    Dir1->showFolder(PercorsoConversione);
    CaricaListaConti();
}

void Form1::CaricaListaConti() {
    ListaConti->clear();
    for (;;) {
        ListaContiCartella lista;
        {
            Hourglass busy;
            lista = leggiListaConti(PercorsoConversione);
        }
        if (lista.esito.ok()) {
            std::vector<ListItem> righe;
            righe.reserve(size_t(lista.righe.size()));
            for (qsizetype i = 0; i < lista.righe.size(); ++i)
                righe.push_back({lista.righe[i], qint32(i + 1)});
            ListaConti->setItems(std::move(righe));
            return;
        }
        const qint16 risposta = ErroriFile(numeroErroreFile(lista.osErrno));
        if (risposta == 0) continue; // try again
        // Going on without the file leaves the list empty; the other answers say why.
        if (risposta != 1)
            messageBox(closingMessage(risposta) + QStringLiteral("\n\n") + lista.esito.testo);
        return;
    }
}

void Form1::ListaConti_DblClick() {
    AddAnItem->setEnabled(true);
}

void Form1::AddAnItem_Click() {
    for (;;) {
        EsitoConversione esito;
        {
            Hourglass busy;
            esito = convertiCartella(PercorsoConversione);
        }
        switch (esito.esito.stato) {
        case Esito::Stato::Fatto:
            messageBox(testoFatto(esito.contiConvertiti), MessageButtons::Ok,
                       MessageIcon::Information);
            break;
        case Esito::Stato::Rifiutato:
            messageBox(esito.esito.testo, MessageButtons::Ok, MessageIcon::Exclamation,
                       esito.esito.titolo);
            break;
        case Esito::Stato::Fallito: {
            // Nothing of the conversion is left in the folder: trying again starts
            // afresh; every other answer ends it.
            const qint16 risposta = rispostaErrore(esito);
            if (risposta == 0) continue;
            messageBox(risposta == 1
                           ? esito.esito.testo
                           : closingMessage(risposta) + QStringLiteral("\n\n") + esito.esito.testo);
            break;
        }
        }
        break;
    }
    CaricaListaConti();
}

void Form1::esci_Click() {
    formHost().unload(*this);
}

} // namespace qv
