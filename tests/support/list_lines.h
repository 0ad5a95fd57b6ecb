#pragma once
// The lines of a list box as the user reads them, for comparing a whole list at once.

#include "platform/list_box.h"

#include <QStringList>

namespace qv::test {

QStringList listLines(const ListBox* list);

} // namespace qv::test
