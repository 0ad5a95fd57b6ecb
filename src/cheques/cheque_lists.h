#pragma once
// The lists of the open account's cheques, built from the leaf table: the cheques
// out and the cheques in hand (Form13, with the main window's two counters) and the
// annulled cheques (Form17). Each line carries the row of its leaf in TabellaFogli.
// The windows build them when they load and when ContoAperto says the cheques changed.

#include "common/records.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace qv {

// One line of a cheque list and the leaf it stands for (its row of TabellaFogli).
struct RigaAssegno {
    QString testo;
    qint16 foglio = 0;
};

// A cheque out: issued with an amount and not yet cleared (allineato "N").
bool assegnoFuori(const FoglioAssegno& foglio);
// A cheque in hand: amount exactly 0 and not cleared (a blank leaf, or an annulled
// cheque whose movement has not been aligned).
bool assegnoInMano(const FoglioAssegno& foglio);
// An annulled cheque, whatever its other fields.
bool assegnoAnnullato(const FoglioAssegno& foglio);

// "0003 05/11/2000        501           250": book as "0000", a blank, the date,
// the cheque number right-aligned in 11, two blanks, the amount × fattoreValuta in
// `formato` right-aligned in 12 (longer numbers widen the line).
QString lineaAssegnoFuori(const FoglioAssegno& foglio, double fattoreValuta,
                          const QString& formato);
// "0003        501 ": book as "0000", a blank, the cheque number right-aligned in
// 10, a blank.
QString lineaAssegnoInMano(const FoglioAssegno& foglio);
// "0003 05/11/2000        501": book as "0000", a blank, the date, the cheque number
// right-aligned in 11.
QString lineaAssegnoAnnullato(const FoglioAssegno& foglio);

// The two situation lists of the leaves in rows 1 to NumeroFogli, in table order,
// with the display currency and amount format of the shared state.
struct SituazioneAssegni {
    std::vector<RigaAssegno> fuori;
    std::vector<RigaAssegno> inMano;
};
SituazioneAssegni situazioneAssegni();

// The annulled cheques of rows 1 to NumeroFogli, in table order.
std::vector<RigaAssegno> righeAssegniAnnullati();

// The cheque situation changed: Form13's lists (cheques out, cheques in hand) and the
// main window's counters AssFuori and AssMano are built again from the leaf table
// (ContoAperto::assegniCambiati).
void ElencaSituazioneAssegni();

// The annulled cheques changed: Form17's list is built again from the leaf table
// (ContoAperto::assegniCambiati).
void ElencaAssegniAnnullati();

} // namespace qv
