#pragma once
// The movement list by period: the open account's movements of a period, in list order,
// as text lines with the carry-forward, a debit or credit column, the running balance,
// the cheque notes and the closing lines. Built as data; the list form shows it.

#include "common/esito.h"
#include "common/records.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace qv {

// The causale filter that stands for every causale.
inline const QString TutteLeCausali = QStringLiteral(" TUTTE");

// One line of the list. `numero` is the number of the movement the line stands for
// (its record in ".MOV" and its row of TabellaMovimenti); 0 for the carry-forward,
// the cheque notes and the closing lines.
struct RigaPeriodo {
    QString testo;
    qint16 numero = 0;
};

struct ElencoPeriodo {
    std::vector<RigaPeriodo> righe;
    int elencati = 0;       // movements listed (C)
    double saldo = 0;       // carry-forward plus the movements listed (B), base unit
    double nonElencati = 0; // sum of the movements left out (R), base unit
};

// The causale code the filter text selects: nothing when the text, trailing blanks
// removed, is " TUTTE" (every causale passes); otherwise the trimmed code of the first
// causale of TabellaCausali whose trimmed description equals the text, or an empty
// code when none does (then no movement passes).
std::optional<QString> codiceFiltroCausale(const QString& testoFiltro);

// The filter texts of the list's combo, in order: " TUTTE", then the description of
// each causale (as the causali lists show it, 25 characters) in the order of the
// causali lists.
std::vector<QString> vociFiltroCausale();

// An amount (already in the display currency) in FormatoImporti, right-aligned in
// `larghezza` characters; a longer text is kept whole.
QString importoInColonna(double valore, int larghezza = 15);

// The lines of the list for the movements `inOrdine` (in list order), the carry-
// forward `riporto`, the period from `dataIniziale` to `dataFinale` (operation dates,
// both included; a bound that is not a valid date is no bound) and the causale filter
// text `filtro`. Amounts are shown × FattoreValuta in FormatoImporti; the causale
// descriptions come from TabellaCausali, the cheque notes from TabellaFogli.
ElencoPeriodo componiElencoPeriodo(const std::vector<Movimento>& inOrdine, const Riporto& riporto,
                                   const QString& dataIniziale, const QString& dataFinale,
                                   const QString& filtro);

// Reads ".Ord" records 1 to NumeroMovimenti of the open account into rows 1 to
// NumeroMovimenti of TabellaMovimentiOrdinati, which is made anew with rows 0 to
// NumeroMovimenti + 1 (row 0 and the last row blank). Failed, with the reason, when
// the file exists but cannot be read (the table then holds blank rows).
Esito leggiMovimentiOrdinati();

// The list of the open account: TabellaMovimentiOrdinati read from ".Ord", then the
// lines for its rows with the carry-forward of TabellaRiporto row 1. Failed, with the
// reason, when ".Ord" cannot be read: the list is then made of blank rows, and is given
// all the same.
EsitoCon<ElencoPeriodo> ElencaMovimentiPerPeriodo(const QString& dataIniziale,
                                                  const QString& dataFinale, const QString& filtro);

} // namespace qv
