#include "common/today.h"

#include "common/dates.h"

namespace qv {

namespace {

std::optional<QDate>& fixedToday() {
    static std::optional<QDate> date;
    return date;
}

} // namespace

QDate oggi() {
    return fixedToday().value_or(QDate::currentDate());
}

void fissaOggi(std::optional<QDate> data) {
    fixedToday() = data;
}

QString DataOggi() {
    return testoDaData(oggi());
}

} // namespace qv
