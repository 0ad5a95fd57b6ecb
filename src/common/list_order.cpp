#include "common/list_order.h"

#include <algorithm>

namespace qv {

namespace {

// Primary weight of a character: its class (blanks and punctuation, digits,
// letters), then the letter without accent and case.
uint primaryWeight(QChar c) {
    if (c.unicode() < 128) {
        const char a = static_cast<char>(c.unicode());
        if (a >= 'a' && a <= 'z') return (2u << 21) | static_cast<uint>(a);
        if (a >= 'A' && a <= 'Z') return (2u << 21) | static_cast<uint>(a - 'A' + 'a');
        if (a >= '0' && a <= '9') return (1u << 21) | static_cast<uint>(a);
        return static_cast<uint>(a);
    }
    if (c.isLetter()) {
        QChar base = c;
        const QString d = c.decomposition();
        if (!d.isEmpty() && d.at(0).isLetter()) base = d.at(0);
        return (2u << 21) | base.toCaseFolded().unicode();
    }
    if (c.isDigit()) return (1u << 21) | c.unicode();
    return c.unicode();
}

} // namespace

int compareListText(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const uint wa = primaryWeight(a.at(i));
        const uint wb = primaryWeight(b.at(i));
        if (wa != wb) return wa < wb ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    // Same letters: accents decide, then case (lower case first).
    if (const int r = a.compare(b, Qt::CaseInsensitive); r != 0) return r < 0 ? -1 : 1;
    const int r = a.compare(b, Qt::CaseSensitive);
    return r == 0 ? 0 : (r < 0 ? 1 : -1);
}

} // namespace qv
