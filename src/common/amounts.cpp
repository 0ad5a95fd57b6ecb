#include "common/amounts.h"

#include <QList>
#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace qv {

namespace {

using Section = NumberFormat::Section;

// Splits the pattern at the ";" that are not quoted or escaped.
std::vector<QString> splitSections(const QString& pattern) {
    std::vector<QString> sections(1);
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (c == u'\\' && !quoted && i + 1 < pattern.size()) {
            sections.back() += c;
            ++i;
            sections.back() += pattern[i];
            continue;
        } else if (c == u';' && !quoted) {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

Section parseSection(const QString& text) {
    Section s;
    QString intPlaces;
    QString decPlaces;
    QString pendingLiteral; // literal text after a digit place or the "."
    bool inDecimals = false;
    bool pendingComma = false;

    auto literal = [&](const QString& lit) {
        if (intPlaces.isEmpty() && !inDecimals)
            s.prefix += lit;
        else
            pendingLiteral += lit;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'0' || c == u'#') {
            // Literal text between digit places has no place of its own: it is dropped.
            pendingLiteral.clear();
            if (inDecimals) {
                decPlaces += c;
            } else {
                if (pendingComma) s.grouping = true;
                pendingComma = false;
                intPlaces += c;
            }
        } else if (c == u',' && !inDecimals) {
            if (!intPlaces.isEmpty()) pendingComma = true;
        } else if (c == u'.' && !inDecimals) {
            inDecimals = true;
            s.decimalMark = true;
            pendingLiteral.clear();
        } else if (c == u'"') {
            const qsizetype end = text.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? text.size() : end;
            literal(text.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == u'\\' && i + 1 < text.size()) {
            ++i;
            literal(QString(text[i]));
        } else if (c != u',') {
            literal(QString(c));
        }
    }
    s.suffix = pendingLiteral;
    const qsizetype firstZero = intPlaces.indexOf(u'0');
    s.minIntDigits = firstZero < 0 ? 0 : int(intPlaces.size() - firstZero);
    s.maxDecimals = int(decPlaces.size());
    s.minDecimals = int(decPlaces.lastIndexOf(u'0') + 1);
    return s;
}

// The decimal digits of a non-negative finite value taken to 15 significant digits and
// rounded half away from zero to `decimals` places: the integer digits without leading
// zeros (empty for zero) and exactly `decimals` fraction digits.
void decimalDigits(double value, int decimals, std::string& intDigits, std::string& fracDigits) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr); // "d.dddddddddddddde+XX"
    const std::size_t e = sci.find('e');
    std::string mantissa = sci.substr(0, 1) + sci.substr(2, e - 2);
    const int exponent = std::stoi(sci.substr(e + 1));
    const int pointPos = exponent + 1; // mantissa digits before the decimal point
    const int len = int(mantissa.size());

    if (pointPos >= len) {
        intDigits = mantissa + std::string(pointPos - len, '0');
        fracDigits.clear();
    } else if (pointPos > 0) {
        intDigits = mantissa.substr(0, pointPos);
        fracDigits = mantissa.substr(pointPos);
    } else {
        intDigits.clear();
        fracDigits = std::string(-pointPos, '0') + mantissa;
    }

    if (int(fracDigits.size()) > decimals) {
        const bool roundUp = fracDigits[decimals] >= '5';
        fracDigits.resize(decimals);
        if (roundUp) {
            bool carry = true;
            for (auto it = fracDigits.rbegin(); carry && it != fracDigits.rend(); ++it) {
                carry = (*it == '9');
                *it = carry ? '0' : char(*it + 1);
            }
            for (auto it = intDigits.rbegin(); carry && it != intDigits.rend(); ++it) {
                carry = (*it == '9');
                *it = carry ? '0' : char(*it + 1);
            }
            if (carry) intDigits.insert(intDigits.begin(), '1');
        }
    } else {
        fracDigits.append(decimals - fracDigits.size(), '0');
    }
    const std::size_t firstSignificant = intDigits.find_first_not_of('0');
    intDigits.erase(0, firstSignificant == std::string::npos ? intDigits.size() : firstSignificant);
}

QString formatSection(double absValue, const Section& s, bool withMinus) {
    std::string intDigits;
    std::string fracDigits;
    decimalDigits(absValue, s.maxDecimals, intDigits, fracDigits);

    const bool isZero = intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;
    while (int(fracDigits.size()) > s.minDecimals && fracDigits.back() == '0')
        fracDigits.pop_back();
    if (int(intDigits.size()) < s.minIntDigits)
        intDigits.insert(0, s.minIntDigits - intDigits.size(), '0');

    QString integer;
    const int n = int(intDigits.size());
    for (int i = 0; i < n; ++i) {
        if (s.grouping && i > 0 && (n - i) % 3 == 0) integer += u'.';
        integer += QLatin1Char(intDigits[i]);
    }

    QString out;
    if (withMinus && !isZero) out += u'-';
    out += s.prefix;
    out += integer;
    if (s.decimalMark) {
        out += u',';
        out += QString::fromLatin1(fracDigits.data(), qsizetype(fracDigits.size()));
    }
    out += s.suffix;
    return out;
}

QString generalNumber(double value) {
    if (value == 0) return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', u',');
    text.replace(u'e', u'E');
    return text;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text) {
    for (QChar c : text) {
        if (!isDigit(c)) return false;
    }
    return true;
}

} // namespace

QString formatoImporti(int numeroDecimali) {
    if (numeroDecimali < 0 || numeroDecimali > 4) return {};
    QString pattern = QStringLiteral("#,###,###,##0");
    if (numeroDecimali > 0) pattern += u'.' + QString(numeroDecimali, u'0');
    return pattern;
}

NumberFormat::NumberFormat(const QString& pattern) : general_(pattern.isEmpty()) {
    if (general_) return;
    const std::vector<QString> sections = splitSections(pattern);
    positive_ = parseSection(sections[0]);
    if (sections.size() >= 2 && !sections[1].isEmpty()) negative_ = parseSection(sections[1]);
    if (sections.size() >= 3 && !sections[2].isEmpty()) zero_ = parseSection(sections[2]);
}

QString NumberFormat::operator()(double value) const {
    if (!std::isfinite(value)) return {};
    if (general_) return generalNumber(value);
    if (value < 0 && negative_) return formatSection(-value, *negative_, false);
    if (value == 0 && zero_) return formatSection(0, *zero_, false);
    return formatSection(std::fabs(value), positive_, value < 0);
}

QString formatNumber(double value, const QString& pattern) {
    return NumberFormat(pattern)(value);
}

QString rightAlign(const QString& text, int n) {
    if (text.size() >= n) return text;
    return QString(n - text.size(), u' ') + text;
}

bool cambioUtilizzabile(double cambio) {
    return std::isfinite(cambio) && cambio > 0;
}

QString formatAmount(double stored, double fattoreValuta, const QString& pattern) {
    return formatNumber(stored * fattoreValuta, pattern);
}

double importoConfermato(double digitato, double memorizzato, double fattoreValuta,
                         const QString& pattern) {
    if (importoUtilizzabile(memorizzato) &&
        formatNumber(digitato, pattern) == formatAmount(memorizzato, fattoreValuta, pattern))
        return memorizzato;
    return digitato / fattoreValuta;
}

QString cifraNellaNuovaValuta(const QString& testo, double prima, double dopo,
                              std::optional<double> memorizzato, const QString& pattern) {
    if (!cambioUtilizzabile(prima) || !cambioUtilizzabile(dopo)) return testo;
    const std::optional<double> cifra = parseAmount(testo);
    if (!cifra) return testo;
    const double euro =
        memorizzato ? importoConfermato(*cifra, *memorizzato, prima, pattern) : *cifra / prima;
    return formatNumber(euro * dopo, QString());
}

std::optional<double> parseAmount(const QString& text, bool allowNegative) {
    QStringView s = QStringView(text).trimmed();
    bool negative = false;
    if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    if (negative && !allowNegative) return std::nullopt;

    const qsizetype comma = s.indexOf(u',');
    const QStringView intPart = comma < 0 ? s : s.left(comma);
    const QStringView fracPart = comma < 0 ? QStringView() : s.mid(comma + 1);
    if (!allDigits(fracPart) || intPart.size() + fracPart.size() == 0) return std::nullopt;

    // The integer part is plain digits, or groups of three separated by "." after a
    // first group of one to three digits.
    std::string number;
    const auto groups = intPart.split(u'.');
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QStringView g = groups[i];
        const bool sizeOk =
            groups.size() == 1 || (i == 0 ? g.size() >= 1 && g.size() <= 3 : g.size() == 3);
        if (!sizeOk || !allDigits(g)) return std::nullopt;
        number += g.toLatin1().toStdString();
    }
    if (number.empty()) number = "0";
    if (!fracPart.isEmpty()) number += "." + fracPart.toLatin1().toStdString();

    double value = 0;
    const auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec != std::errc() || res.ptr != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    if (negative && value != 0) value = -value;
    return value;
}

QString amountErrorMessage(bool allowNegative) {
    if (allowNegative)
        return QStringLiteral("Importo non valido; inserire un numero con la virgola per i "
                              "decimali, ad esempio 1.234,56.");
    return QStringLiteral("Importo non valido; inserire un numero positivo con la virgola per i "
                          "decimali, ad esempio 1.234,56.");
}

QString amountTooLargeMessage() {
    return QStringLiteral("Importo troppo grande; il programma accetta solo importi inferiori a "
                          "%1 euro.")
        .arg(formatNumber(LimiteImporto, QStringLiteral("#,##0")));
}

QString amountRefusalMessage(const QString& text, double fattoreValuta, bool allowNegative) {
    if (const std::optional<double> letto = parseAmount(text, allowNegative)) {
        const double euro = cambioUtilizzabile(fattoreValuta) ? *letto / fattoreValuta : *letto;
        return importoUtilizzabile(euro) ? QString() : amountTooLargeMessage();
    }
    // A well-formed number too long to read at all.
    static const QRegularExpression numero(
        QStringLiteral("^[+-]?(\\d+|\\d{1,3}(\\.\\d{3})+)(,\\d*)?$"));
    const QString t = text.trimmed();
    if (numero.match(t).hasMatch() && (allowNegative || !t.startsWith(u'-')))
        return amountTooLargeMessage();
    return amountErrorMessage(allowNegative);
}

bool importoUtilizzabile(double importo) {
    return std::isfinite(importo) && std::fabs(importo) < LimiteImporto;
}

double importoContabile(double importo) {
    return importoUtilizzabile(importo) ? importo : 0.0;
}

} // namespace qv
