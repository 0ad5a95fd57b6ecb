#pragma once
// The lines of the entry form's two movement lists, by operation date and by value
// date, built from the movement table. Each line carries its movement's number, so
// nothing is ever read back out of the text. Lists are sorted by the movement's key
// compared as values: the list's date, then the operation date, then the value
// date, then the number.

#include "common/amounts.h"
#include "common/records.h"

#include <QHash>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

namespace qv {

enum class OrdineMovimenti { Operazione, Valuta };

struct RigaMovimento {
    QString testo;
    qint16 numero = 0;
};

// The line of movement `m` in the list of `ordine`:
//  1-7    the day number of the list's date, right-aligned in 7 (" 739813")
//  10-19  operation date, 21-30 value date, 32-35 number as "0000"
//  37-56  the first 20 characters of the causale's description (blank when the
//         code is not in the causali archive)
//  59 sospeso, 63 entrataUscita, 66-73 document number right-aligned in 8,
//  74-89  amount × FattoreValuta in FormatoImporti, right-aligned in 16
//  then   " *" for a cancelled movement (value-date list only), " *" when aligned.
QString lineaMovimento(const Movimento& m, OrdineMovimenti ordine);

// What the lines of a list show besides the movements: the display rate, the amount
// pattern (read once) and the causali's descriptions, as they stood when it was made.
class FormatoRighe {
public:
    // From the shared state as it is now (FattoreValuta, FormatoImporti, TabellaCausali).
    FormatoRighe();
    // lineaMovimento in this format.
    QString linea(const Movimento& m, OrdineMovimenti ordine) const;
    // The same rate, pattern and descriptions: every line reads the same in both.
    bool operator==(const FormatoRighe& altro) const;

private:
    double fattore_;
    QString schema_;
    NumberFormat formato_;
    QHash<QString, QString> causali_;
};

// A list of the entry form as its list box holds it: the numbers of its movements in
// list order. A line is made when it is shown, from the movement as the table holds it
// then, in the format the list was made with; so a list of tens of thousands of
// movements costs a sort, not tens of thousands of texts.
struct ElencoMovimenti {
    OrdineMovimenti ordine = OrdineMovimenti::Operazione;
    std::vector<qint16> numeri;
    std::shared_ptr<const FormatoRighe> formato;

    // The line of movement `numero`: lineaMovimento of row `numero` of TabellaMovimenti
    // in the list's format; an empty text for a number the table does not hold.
    QString riga(qint16 numero) const;
    // The same order, movements and format: the two lists show the same lines.
    bool operator==(const ElencoMovimenti& altro) const;
};

// The list of `ordine` of the open account's movements: all of them, or those of the
// period (as righeElenco chooses them), in the format of the shared state.
ElencoMovimenti elencoMovimenti(OrdineMovimenti ordine);
ElencoMovimenti elencoMovimenti(OrdineMovimenti ordine, const QString& dal, const QString& al);

// Whether `a` comes before `b` in the list of `ordine`.
bool precedeNellElenco(const Movimento& a, const Movimento& b, OrdineMovimenti ordine);

// The numbers of every movement of the open account (rows 1 to NumeroMovimenti),
// sorted for the list of `ordine`.
std::vector<qint16> movimentiInOrdine(OrdineMovimenti ordine);

// Whether the list's date of `m` lies between `dal` and `al`, both included. A bound
// that is not a complete, valid date is no bound.
bool nelPeriodo(const Movimento& m, OrdineMovimenti ordine, const QString& dal, const QString& al);

// The sorted lines of the list of `ordine`: every movement, or those of the period.
// (The lines of elencoMovimenti, each made at once.)
std::vector<RigaMovimento> righeElenco(OrdineMovimenti ordine);
std::vector<RigaMovimento> righeElenco(OrdineMovimenti ordine, const QString& dal,
                                       const QString& al);

// Where the line of movement `numero` goes in a list that holds, sorted, the
// movements `nellElenco` (the numbers of its lines in order): the index of the first
// line that does not come before it.
std::size_t posizioneNellElenco(const std::vector<qint16>& nellElenco, qint16 numero,
                                OrdineMovimenti ordine);

// The caption of the title over the list.
QString titoloElenco(OrdineMovimenti ordine);

} // namespace qv
