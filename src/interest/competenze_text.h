#pragma once
// The interest and cost statement as text: the lines of the statement window's list and
// the printed statement with its fonts. Both lay out the figures of one computation
// (competenze.h); they differ only in layout (the printed lines have their own columns,
// bold headings, a page header and a footer). Amounts and numbers use the number pattern
// given (FormatoImporti); columns are counted in characters of a fixed-pitch font.

#include "interest/competenze.h"
#include "staffa/staffa_text.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

// Every line of the statement window's list, from "ELEMENTI PER IL CONTEGGIO DELLE
// COMPETENZE" to the closing line of "=" and five blank lines.
QStringList righeListaCompetenze(const RisultatoCompetenze& r, const QString& formato);

// The printed statement: the page header ("Calcolo interessi e costi", the account line,
// the period), the sections with bold headings, the summary, the commission on the
// excess and the footer ".....fine stampa". The printer starts new pages by itself.
// The lines have the type of the printed staffa's, so one routine prints both.
std::vector<RigaStampaStaffa> stampaCompetenze(const RisultatoCompetenze& r,
                                               const IntestazioneStampaStaffa& intestazione,
                                               const QString& formato);

} // namespace qv
