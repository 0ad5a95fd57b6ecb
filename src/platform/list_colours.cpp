#include "platform/list_colours.h"

#include "common/shared_state.h"
#include "platform/list_box.h"

namespace qv {

void applicaColoriElenchi(std::initializer_list<ListBox*> elenchi) {
    const Colori& colori = stato().ColoriElenchi;
    if (colori.coloriPredefiniti != QLatin1String("N")) return;
    const QColor testo = fromWindowsColor(colori.coloreCarattere);
    const QColor sfondo = fromWindowsColor(colori.coloreSfondo);
    for (ListBox* elenco : elenchi)
        elenco->setColors(testo, sfondo);
}

} // namespace qv
