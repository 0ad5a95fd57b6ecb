#pragma once
// The printed lists of the archives: the causali ("Elenco Causali"), the accounts
// ("Elenco Conti") and the summary of all accounts with their balances ("Riepilogo
// Conti"). Each breaks its pages at 57 counted lines with an empty line before
// "Pagina".

#include "common/records.h"
#include "reports/cheque_reports.h"
#include "reports/report_frame.h"

#include <vector>

namespace qv {

// The causali in archive order. The period line shows the print menu's two date
// fields as they stand (`periodo`; "__/__/____" each when the menu is not open).
ReportHeader IntestazioneCausali(const ContestoStampa& contesto, const PeriodoStampa& periodo);
PrintedDocument StampaCausali(const ContestoStampa& contesto, const PeriodoStampa& periodo,
                              const std::vector<VoceCausale>& causali);

// Every account of the archive with its type, bank, credit line and bank codes.
ReportHeader IntestazioneElencoConti(const ContestoStampa& contesto);
PrintedDocument StampaElencoConti(const ContestoStampa& contesto, const std::vector<Conto>& conti);

// One account of the summary with the totals record of its ".TOT".
struct ContoRiepilogato {
    Conto conto;
    TotaliConto totali;
};

// The summary: each account's balance by operation date (or, with `perValuta`, by
// value date), its credit line and the available amount, then the totals. `dataVis`
// is the date the summary window shows.
ReportHeader IntestazioneRiepilogoConti(const ContestoStampa& contesto, const QString& dataVis);
PrintedDocument StampaRiepilogoConti(const ContestoStampa& contesto, const QString& dataVis,
                                     bool perValuta, const std::vector<ContoRiepilogato>& conti);

// The three reports from the archive files: records 1 to NumeroCausali of the
// program folder's Causali.DAT, records 1 to NumeroConti of the data folder's
// Conti.dat (and, for the summary, record 1 of each account's ".TOT"), read into
// tables of the report's own. A missing file reads as blank records and is not
// created; one that exists but cannot be read stops the report with the reason.
EsitoStampa stampaCausaliArchivio(const ContestoStampa& contesto, const PeriodoStampa& periodo);
EsitoStampa stampaElencoContiArchivio(const ContestoStampa& contesto);
EsitoStampa stampaRiepilogoContiArchivio(const ContestoStampa& contesto, const QString& dataVis,
                                         bool perValuta);

} // namespace qv
