#pragma once
// "Elenco Movimenti": the printed list of the open account's movements whose
// operation date lies in a range and whose causale is the chosen one (or any), after
// the carry-forward of the last closing, with the running balance, the total of the
// movements left out, the book balance and the count of the listed movements.

#include "common/records.h"
#include "reports/report_frame.h"

#include <vector>

namespace qv {

// The range and the causale, as the window that asks for the report holds them:
// the print menu or the movement list by period.
struct SelezioneMovimenti {
    QString dal;     // first operation date, "DD/MM/YYYY" or an empty field's text
    QString al;      // last operation date
    QString causale; // " TUTTE" or a causale description; trailing blanks do not count
};

// What the report reads: the movements in list order (".Ord"), the carry-forward,
// the causali and the cheque leaves (for the notes of the cheques).
struct DatiMovimenti {
    std::vector<Movimento> ordinati;
    Riporto riporto;
    std::vector<VoceCausale> causali;
    std::vector<FoglioAssegno> fogli;
};

// The page frame of the report: break at 53 counted lines with no empty line before
// "Pagina", 48 closing lines.
ReportLayout layoutMovimenti();

// The page header.
ReportHeader IntestazioneMovimenti(const ContestoStampa& contesto,
                                   const SelezioneMovimenti& selezione);

// The trimmed code of the first causale whose trimmed description is the choice
// (trailing blanks removed); empty when none is: only movements without a code pass
// then. Nothing for " TUTTE", which lets every causale pass.
std::optional<QString> codiceCausaleScelto(const std::vector<VoceCausale>& causali,
                                           const QString& scelta);

// The whole report for the data given.
PrintedDocument StampaMovimenti(const ContestoStampa& contesto, const SelezioneMovimenti& selezione,
                                const DatiMovimenti& dati);

// The data of the open account: ".Ord" records 1 to NumeroMovimenti into a table of
// the report's own (a missing file reads as blank records and is not created), the
// carry-forward of TabellaRiporto row 1, the causali and leaves of the tables in
// memory. An error when ".Ord" exists but cannot be read.
EsitoStampa stampaMovimentiContoAperto(const ContestoStampa& contesto,
                                       const SelezioneMovimenti& selezione);

} // namespace qv
