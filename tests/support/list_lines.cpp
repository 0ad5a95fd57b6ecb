#include "list_lines.h"

namespace qv::test {

QStringList listLines(const ListBox* list) {
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << list->text(row);
    return out;
}

} // namespace qv::test
