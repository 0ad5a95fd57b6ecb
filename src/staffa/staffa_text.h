#pragma once
// The staffa as text: the lines of the staffa window's list with their closing lines,
// the items of its date work list, and the printed staffa as a sequence of lines with
// their fonts and page ends. Amounts and numbers use the number pattern given
// (FormatoImporti); every column is counted in characters of a fixed-pitch font.

#include "common/amounts.h"
#include "staffa/staffa.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

// The work-list item of a date: a blank, its DataInNumero day number in decimal, a
// blank and "DD/MM/YYYY". Items of dates of the years 1000 to 2731 all have 18
// characters and sort as their dates; the date is the item from its eighth character
// on, trimmed.
QString voceDataStaffa(QDate data);

// The balance line of a row: three blanks, a blank, the date, two blanks, the balance
// right-aligned in 16, a blank, the days right-aligned in 4, a blank, then the debit
// numbers right-aligned in 16, or 17 blanks and the credit numbers right-aligned in 16.
QString rigaSaldoStaffa(const RigaStaffa& r, const NumberFormat& formato);
// The excess line ("EC") of a row beyond the credit line: the excess in the balance
// column and its numbers in the debit column.
QString rigaEccedenzaStaffa(const RigaStaffa& r, const NumberFormat& formato);

// Every line of the staffa window's list: for each date its balance line and, beyond
// the credit line, its "EC" line; then the final balance, the totals, the largest
// excess and, when some balance was below zero, the largest overdraft.
QStringList righeListaStaffa(const RisultatoStaffa& st, const QString& formato);

// One printed line with its font; `nuovaPagina` ends the page before it.
struct RigaStampaStaffa {
    QString testo;
    QString carattere;
    double punti = 0;
    bool grassetto = false;
    bool nuovaPagina = false;
    bool operator==(const RigaStampaStaffa&) const = default;
};

// What the page header shows besides the period: the bank name of the open account,
// the date of the print and the display currency as the main window names it.
struct IntestazioneStampaStaffa {
    QString banca;
    QDate stampatoIl;
    QString valuta;
    QString dal; // the period fields' texts, as the user typed them
    QString al;
};

// The printed staffa: on every page the header; 53 row lines on the first page and 54
// on each later one, a page ending with a rule and its number; after the last row the
// summary, empty lines down to a fixed depth, a rule and the last page's number with
// ".....fine stampa".
std::vector<RigaStampaStaffa>
stampaStaffa(const RisultatoStaffa& st, const IntestazioneStampaStaffa& i, const QString& formato);

} // namespace qv
