#pragma once
// The interest and cost statement in the window "staffa": shown there (List3) and
// printed, once the main window has put it there.

#include "staffa/staffa_form.h"

namespace qv {

// Shows the statement of the period in the window's fields in List3.
void mostraCompetenze(Staffa& finestra);
// Computes the statement shown in List3 again for its period (the display currency
// changed).
void ricalcolaCompetenze(Staffa& finestra, const Staffa::PeriodoProspetto& periodo);
// Prints the statement of the period in the window's fields.
void stampaCompetenzeStaffa(Staffa& finestra);

// Puts the statement into the window "staffa" (Staffa::impostaProspettoInteressi).
void collegaInteressi();

} // namespace qv
