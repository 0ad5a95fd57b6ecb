#include "common/dates.h"

#include "common/numeric_value.h"

#include <array>
#include <cmath>
#include <limits>

namespace qv {

namespace {

constexpr std::array<int, 12> kDaysBeforeCommon = {0,   31,  59,  90,  120, 151,
                                                   181, 212, 243, 273, 304, 334};

// Days of the year before the first of the month; 0 for a month that is not 1 to 12.
int daysBeforeMonth(double mese, double anno) {
    if (mese < 1 || mese > 12 || mese != std::floor(mese)) return 0;
    const int m = int(mese);
    return kDaysBeforeCommon[m - 1] + (m >= 3 && AnnoBisestile(anno) ? 1 : 0);
}

bool isWholeInt(double v) {
    return std::isfinite(v) && v == std::floor(v) && v >= std::numeric_limits<int>::min() &&
           v <= std::numeric_limits<int>::max();
}

} // namespace

DateParts splitDateText(const QString& data) {
    DateParts p;
    p.giorno = valoreNumerico(data.left(2));
    p.mese = valoreNumerico(data.mid(2, 1) == u'/' ? data.mid(3, 2) : data.mid(2, 2));
    p.anno = valoreNumerico(data.right(4));
    return p;
}

float DataInNumero(const QString& data) {
    const DateParts p = splitDateText(data);
    return float(p.anno * 366 + daysBeforeMonth(p.mese, p.anno) + p.giorno);
}

float DataInNumero(QDate data) {
    if (!data.isValid()) return 0;
    return float(double(data.year()) * 366 + daysBeforeMonth(data.month(), data.year()) +
                 data.day());
}

bool AnnoBisestile(double anno) {
    if (!std::isfinite(anno)) return false;
    const double y = std::nearbyint(anno);
    if (std::fmod(y, 4) != 0) return false;
    if (std::fmod(y, 100) == 0 && std::fmod(y, 400) != 0) return false;
    return true;
}

bool dataValida(int giorno, int mese, int anno) {
    if (mese < 1 || mese > 12 || anno < 1000 || giorno < 1) return false;
    int giorniMese = 31;
    if (mese == 4 || mese == 6 || mese == 9 || mese == 11)
        giorniMese = 30;
    else if (mese == 2)
        giorniMese = AnnoBisestile(anno) ? 29 : 28;
    return giorno <= giorniMese;
}

bool dateValuesValid(double giorno, double mese, double anno) {
    return isWholeInt(giorno) && isWholeInt(mese) && isWholeInt(anno) &&
           dataValida(int(giorno), int(mese), int(anno));
}

bool isCompleteDateText(const QString& testo) {
    if (testo.size() != 10) return false;
    for (int i = 0; i < 10; ++i) {
        const QChar c = testo[i];
        const bool ok = (i == 2 || i == 5) ? c == u'/' : (c >= u'0' && c <= u'9');
        if (!ok) return false;
    }
    return true;
}

std::optional<QDate> dataDaTesto(const QString& testo) {
    if (!isCompleteDateText(testo)) return std::nullopt;
    // Read digit by digit: statements read every movement's dates this way.
    const auto cifra = [&testo](int i) { return int(testo[i].unicode() - u'0'); };
    const int giorno = cifra(0) * 10 + cifra(1);
    const int mese = cifra(3) * 10 + cifra(4);
    const int anno = ((cifra(6) * 10 + cifra(7)) * 10 + cifra(8)) * 10 + cifra(9);
    if (!dataValida(giorno, mese, anno)) return std::nullopt;
    return QDate(anno, mese, giorno);
}

QString testoDaData(QDate data) {
    if (!data.isValid()) return QStringLiteral("00/00/0000");
    if (data.year() < 0 || data.year() > 9999)
        return QStringLiteral("%1/%2/%3")
            .arg(data.day(), 2, 10, QLatin1Char('0'))
            .arg(data.month(), 2, 10, QLatin1Char('0'))
            .arg(data.year(), 4, 10, QLatin1Char('0'));
    // Written digit by digit: statements write one date per row.
    int giorno = 0;
    int mese = 0;
    int anno = 0;
    data.getDate(&anno, &mese, &giorno);
    const auto cifra = [](int n) { return QChar(u'0' + n); };
    const QChar testo[10] = {cifra(giorno / 10), cifra(giorno % 10),     u'/',
                             cifra(mese / 10),   cifra(mese % 10),       u'/',
                             cifra(anno / 1000), cifra(anno / 100 % 10), cifra(anno / 10 % 10),
                             cifra(anno % 10)};
    return QString(testo, 10);
}

int giorniTra(const QString& da, const QString& a) {
    const DateParts p = splitDateText(da);
    const DateParts q = splitDateText(a);
    if (!dateValuesValid(p.giorno, p.mese, p.anno) || !dateValuesValid(q.giorno, q.mese, q.anno))
        return 0;
    const QDate from(int(p.anno), int(p.mese), int(p.giorno));
    const QDate to(int(q.anno), int(q.mese), int(q.giorno));
    return int(from.daysTo(to));
}

} // namespace qv
