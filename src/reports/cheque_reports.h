#pragma once
// The printed lists of the open account's cheques: the cheques drawn ("Elenco
// Assegni"), the annulled leaves ("Elenco assegni annullati"), the cheque books
// ("Elenco Carnet") and the leaves not yet aligned ("Situazione assegni"). All four
// break their pages at 57 counted lines with an empty line before "Pagina".

#include "common/records.h"
#include "reports/report_frame.h"

#include <vector>

namespace qv {

// The range typed in the print menu.
struct PeriodoStampa {
    QString dal;
    QString al;
};

// The cheques drawn: the movements of causale "AS" (trimmed, letter case counting)
// whose operation date is in the range, in list order, each with the cheque book of
// the last leaf that carries its number (0 when none does).
ReportHeader IntestazioneAssegni(const ContestoStampa& contesto, const PeriodoStampa& periodo);
PrintedDocument StampaAssegni(const ContestoStampa& contesto, const PeriodoStampa& periodo,
                              const std::vector<Movimento>& ordinati,
                              const std::vector<FoglioAssegno>& fogli);

// The annulled leaves ("S"), in table order, with no range.
ReportHeader IntestazioneAssegniAnnullati(const ContestoStampa& contesto);
PrintedDocument StampaAssegniAnnullati(const ContestoStampa& contesto,
                                       const std::vector<FoglioAssegno>& fogli);

// The cheque books withdrawn in the range, in table order.
ReportHeader IntestazioneCarnet(const ContestoStampa& contesto, const PeriodoStampa& periodo);
PrintedDocument StampaCarnet(const ContestoStampa& contesto, const PeriodoStampa& periodo,
                             const std::vector<CarnetAssegni>& carnet);

// The leaves not yet aligned ("N") dated in the range (a leaf not issued, dated
// "00/00/0000", always is), in table order; 56 closing lines.
ReportHeader IntestazioneSituazioneAssegni(const ContestoStampa& contesto,
                                           const PeriodoStampa& periodo);
PrintedDocument StampaSituazioneAssegni(const ContestoStampa& contesto,
                                        const PeriodoStampa& periodo,
                                        const std::vector<FoglioAssegno>& fogli);

// The four reports of the open account. Files are read into tables of the report's
// own, records 1 to the count in memory (a missing file reads as blank records and
// is not created): ".Ord" for the cheques, ".CAR" for the books, ".FOG" for the
// situation; the annulled leaves and the books of the cheques come from TabellaFogli.
// An error when a file exists but cannot be read.
EsitoStampa stampaAssegniContoAperto(const ContestoStampa& contesto, const PeriodoStampa& periodo);
EsitoStampa stampaAssegniAnnullatiContoAperto(const ContestoStampa& contesto);
EsitoStampa stampaCarnetContoAperto(const ContestoStampa& contesto, const PeriodoStampa& periodo);
EsitoStampa stampaSituazioneAssegniContoAperto(const ContestoStampa& contesto,
                                               const PeriodoStampa& periodo);

} // namespace qv
