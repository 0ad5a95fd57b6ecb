#pragma once
// The interest and cost statement of the open account, shown and printed in the window
// "staffa" once the main window has put it there.

#include "staffa/staffa.h"
#include "staffa/staffa_text.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace qv {

// The period and choice of movements of a statement.
struct PeriodoCompetenze {
    QDate dal;
    QDate al;
    bool tutti = true;
};

// What the statement uses of the window that shows it (the window "staffa", which is the
// staffa subsystem's: the main window lends its fields here).
struct FinestraCompetenze {
    std::function<QString()> dal;          // the period's first date, as typed
    std::function<QString()> al;           // the period's last date, as typed
    std::function<bool()> tutti;           // every movement, or only those in the balances
    std::function<void()> mostraEtichetta; // the label above the lists
    // The check of the period: each field that holds no date gets the date message, is
    // reset and takes the focus. True when both hold dates.
    std::function<bool()> controllaPeriodo;
    std::function<void(const std::vector<RigaStaffa>&)> riempiDate; // the rows' dates
    // Shows `righe`, the statement of `periodo`, in place of the staffa, under `titolo`.
    std::function<void(const QString& titolo, const QStringList& righe,
                       const PeriodoCompetenze& periodo)>
        mostraInLista;
    std::function<void(const std::vector<qint16>&)> segnalaSenzaData;      // movements left out
    std::function<IntestazioneStampaStaffa()> intestazioneStampa;          // the page header
    std::function<void(const std::vector<RigaStampaStaffa>&)> stampaRighe; // one document
};

// Shows the statement of the period in the window's fields.
void mostraCompetenze(const FinestraCompetenze& finestra);
// Computes the statement shown again for its period (the display currency changed).
void ricalcolaCompetenze(const FinestraCompetenze& finestra, const PeriodoCompetenze& periodo);
// Prints the statement of the period in the window's fields.
void stampaCompetenzeStaffa(const FinestraCompetenze& finestra);

} // namespace qv
