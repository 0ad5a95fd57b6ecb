#include "common/amounts.h"

#include <QList>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
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
// zeros (none for zero) and exactly `decimals` fraction digits. Worked out in fixed
// buffers: a printout formats tens of thousands of amounts.
struct Cifre {
    // The largest double has 309 integer digits; the 15 significant digits of the
    // smallest one end 338 places after the point, so that past MaxDecimali places every
    // decimal is a zero.
    static constexpr int MaxDecimali = 340;
    char intere[320];
    int nIntere = 0;
    char decimali[2 * MaxDecimali];
    int nDecimali = 0;
};

void decimalDigits(double value, int decimals, Cifre& c) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    // "d.dddddddddddddde+XX": the 15 digits, then the exponent.
    char mantissa[15];
    int len = 0;
    const char* p = buf;
    mantissa[len++] = *p++;
    if (*p == '.') ++p;
    while (p < res.ptr && *p != 'e')
        mantissa[len++] = *p++;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exponent);
    const int pointPos = exponent + 1; // mantissa digits before the decimal point

    c.nIntere = 0;
    c.nDecimali = 0;
    if (pointPos >= len) {
        std::memcpy(c.intere, mantissa, size_t(len));
        std::memset(c.intere + len, '0', size_t(pointPos - len));
        c.nIntere = pointPos;
    } else if (pointPos > 0) {
        std::memcpy(c.intere, mantissa, size_t(pointPos));
        c.nIntere = pointPos;
        std::memcpy(c.decimali, mantissa + pointPos, size_t(len - pointPos));
        c.nDecimali = len - pointPos;
    } else {
        std::memset(c.decimali, '0', size_t(-pointPos));
        std::memcpy(c.decimali - pointPos, mantissa, size_t(len));
        c.nDecimali = len - pointPos;
    }

    if (c.nDecimali > decimals) {
        const bool roundUp = c.decimali[decimals] >= '5';
        c.nDecimali = decimals;
        if (roundUp) {
            bool carry = true;
            for (int i = c.nDecimali - 1; carry && i >= 0; --i) {
                carry = c.decimali[i] == '9';
                c.decimali[i] = carry ? '0' : char(c.decimali[i] + 1);
            }
            for (int i = c.nIntere - 1; carry && i >= 0; --i) {
                carry = c.intere[i] == '9';
                c.intere[i] = carry ? '0' : char(c.intere[i] + 1);
            }
            if (carry) {
                std::memmove(c.intere + 1, c.intere, size_t(c.nIntere));
                c.intere[0] = '1';
                ++c.nIntere;
            }
        }
    } else {
        std::memset(c.decimali + c.nDecimali, '0', size_t(decimals - c.nDecimali));
        c.nDecimali = decimals;
    }
    int primo = 0;
    while (primo < c.nIntere && c.intere[primo] == '0')
        ++primo;
    if (primo > 0) {
        std::memmove(c.intere, c.intere + primo, size_t(c.nIntere - primo));
        c.nIntere -= primo;
    }
}

// A section's text of a value, laid out before it is written: its digits, and how many
// characters each part takes.
struct Impaginato {
    Cifre c;
    int decimali = 0;     // decimals printed
    int zeriIniziali = 0; // zeros in front of the integer digits
    int n = 0;            // integer digits printed
    bool meno = false;
    qsizetype lunghezza = 0;
};

void impagina(double absValue, const Section& s, bool withMinus, Impaginato& t) {
    Cifre& c = t.c;
    // A pattern of more decimals than the buffers hold: the decimals past them are zeros.
    decimalDigits(absValue, std::min(s.maxDecimals, Cifre::MaxDecimali), c);
    const int zeriInPiu = std::max(s.maxDecimals - Cifre::MaxDecimali, 0);

    bool isZero = c.nIntere == 0;
    for (int i = 0; isZero && i < c.nDecimali; ++i)
        isZero = c.decimali[i] == '0';
    t.decimali = c.nDecimali + zeriInPiu;
    while (t.decimali > s.minDecimals &&
           (t.decimali > c.nDecimali || c.decimali[t.decimali - 1] == '0'))
        --t.decimali;
    t.zeriIniziali = std::max(s.minIntDigits - c.nIntere, 0);
    t.n = c.nIntere + t.zeriIniziali;
    const int punti = s.grouping && t.n > 0 ? (t.n - 1) / 3 : 0;
    t.meno = withMinus && !isZero;
    t.lunghezza = (t.meno ? 1 : 0) + s.prefix.size() + t.n + punti +
                  (s.decimalMark ? 1 + t.decimali : 0) + s.suffix.size();
}

// Writes the text laid out into `d`, which has room for its t.lunghezza characters.
void scrivi(const Impaginato& t, const Section& s, QChar* d) {
    const Cifre& c = t.c;
    if (t.meno) *d++ = u'-';
    d = std::copy(s.prefix.cbegin(), s.prefix.cend(), d);
    for (int i = 0; i < t.n; ++i) {
        if (s.grouping && i > 0 && (t.n - i) % 3 == 0) *d++ = u'.';
        *d++ = QLatin1Char(i < t.zeriIniziali ? '0' : c.intere[i - t.zeriIniziali]);
    }
    if (s.decimalMark) {
        *d++ = u',';
        for (int i = 0; i < t.decimali; ++i)
            *d++ = QLatin1Char(i < c.nDecimali ? c.decimali[i] : '0');
    }
    std::copy(s.suffix.cbegin(), s.suffix.cend(), d);
}

QString formatSection(double absValue, const Section& s, bool withMinus) {
    Impaginato t;
    impagina(absValue, s, withMinus, t);
    QString out(t.lunghezza, Qt::Uninitialized);
    scrivi(t, s, out.data());
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

void NumberFormat::appendRightAligned(QString& out, double value, int width) const {
    const Section* section = &positive_;
    double absValue = std::fabs(value);
    bool withMinus = value < 0;
    if (!std::isfinite(value) || general_) {
        out += rightAlign((*this)(value), width);
        return;
    }
    if (value < 0 && negative_) {
        section = &*negative_;
        withMinus = false;
    } else if (value == 0 && zero_) {
        section = &*zero_;
        withMinus = false;
    }
    Impaginato t;
    impagina(absValue, *section, withMinus, t);
    const qsizetype blanks = std::max<qsizetype>(width - t.lunghezza, 0);
    const qsizetype at = out.size();
    out.resize(at + blanks + t.lunghezza);
    QChar* d = out.data() + at;
    std::fill(d, d + blanks, QLatin1Char(' '));
    scrivi(t, *section, d + blanks);
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
