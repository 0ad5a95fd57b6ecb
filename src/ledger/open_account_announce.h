#pragma once
// What the computations that change the open account say, once their writes are done:
// the windows follow it through the account's signals. Computations include this file;
// the layer check refuses it in a form, so that no window speaks for a change it did
// not make.

#include "ledger/open_account.h"

namespace qv {

struct AnnunciContoAperto {
    // The four balances and the date of the last movement changed.
    static void saldi() { contoAperto().annunciaSaldi(); }
    // The movements were rewritten: their lists are built again.
    static void movimenti() { contoAperto().annunciaMovimenti(); }
    // The cheque books or their leaves changed.
    static void assegni() { contoAperto().annunciaAssegni(); }
    // The open account's files were read into the tables.
    static void caricamento() { contoAperto().annunciaCaricamento(); }
    // Every movement of the open account is about to be rewritten or to go: a movement
    // held out of the balances goes back first, the windows that show them close.
    static void cancellazioneMovimenti() { contoAperto().annunciaCancellazioneMovimenti(); }
};

} // namespace qv
