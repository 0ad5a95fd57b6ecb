#pragma once
// What a test reads of a procedure's result: whether it is done, with its text (the
// reason, or the warning of a result that is done) copied where the test prints it.

#include "common/esito.h"

#include <QString>

namespace qv::test {

// Done (a warning may come with it).
inline bool riuscito(const Esito& esito, QString* testo = nullptr) {
    if (testo) *testo = esito.testo;
    return esito.ok();
}

// Done with nothing to tell: no warning either.
inline bool senzaAvvisi(const Esito& esito, QString* testo = nullptr) {
    if (testo) *testo = esito.testo;
    return esito.ok() && esito.testo.isEmpty();
}

} // namespace qv::test
