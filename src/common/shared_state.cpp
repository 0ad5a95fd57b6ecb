#include "shared_state.h"

namespace qv {

StatoProgramma& stato() {
    static StatoProgramma s;
    return s;
}

void resetStato() { stato() = StatoProgramma{}; }

} // namespace qv
