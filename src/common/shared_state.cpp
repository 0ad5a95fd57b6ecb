#include "shared_state.h"

#include "file_names.h"

namespace qv {

StatoProgramma& stato() {
    static StatoProgramma s;
    return s;
}

void resetStato() {
    stato() = StatoProgramma{};
}

bool contoAttivoAperto() {
    return !stato().CodiceContoAttivo.trimmed().isEmpty();
}

QString testoNessunContoAperto() {
    return QStringLiteral("Nessun conto aperto.");
}

QString fileContoAttivo(const QString& estensione) {
    const auto& s = stato();
    return accountFile(s.PercorsoDati, s.CodiceContoAttivo, estensione);
}

} // namespace qv
