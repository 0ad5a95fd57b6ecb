#pragma once
// The colours the user chose for the program's lists ("Cambia colori"), as every list
// form applies them when it loads.

#include <initializer_list>

namespace qv {

class ListBox;

// Gives the lists the text and background colours of ColoriElenchi, unless the
// user keeps the default colours; the list forms call it as they load.
void applicaColoriElenchi(std::initializer_list<ListBox*> elenchi);

} // namespace qv
