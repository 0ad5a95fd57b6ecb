#pragma once
// The interest and cost statement in the window "staffa": shown there (List3) and
// printed, once the main window has put it there.

namespace qv {

class Staffa;

// Shows the statement of the period in the window's fields in List3.
void mostraCompetenze(Staffa& finestra);
// Prints the statement of the period in the window's fields.
void stampaCompetenzeStaffa(Staffa& finestra);

// Puts the statement into the window "staffa" (Staffa::impostaProspettoInteressi).
void collegaInteressi();

} // namespace qv
