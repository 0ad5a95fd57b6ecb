#include "common/numeric_value.h"

#include <charconv>
#include <cmath>
#include <string>

namespace qv {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

double valoreNumerico(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;

    // Collect the number in the plain form from_chars reads.
    std::string number;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-') number += '-';
        ++i;
    }
    bool anyDigit = false;
    for (; i < n && isDigit(text[i]); ++i) {
        number += char(text[i].unicode());
        anyDigit = true;
    }
    if (i < n && text[i] == u'.') {
        number += '.';
        for (++i; i < n && isDigit(text[i]); ++i) {
            number += char(text[i].unicode());
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0;

    // An exponent counts only when digits follow it.
    if (i < n && (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'-' || text[j] == u'+')) exponent += char(text[j++].unicode());
        const qsizetype digitsStart = j;
        for (; j < n && isDigit(text[j]); ++j)
            exponent += char(text[j].unicode());
        if (j > digitsStart) number += exponent;
    }

    const char* first = number.data();
    double value = 0;
    const auto res = std::from_chars(first, first + number.size(), value);
    if (res.ec != std::errc() || !std::isfinite(value)) return 0;
    return value == 0 ? 0 : value;
}

std::optional<qint32> numeroIntero(const QString& text) {
    const double valore = valoreNumerico(text);
    if (std::floor(valore) != valore || std::fabs(valore) > 2147483647.0) return std::nullopt;
    return qint32(valore);
}

} // namespace qv
