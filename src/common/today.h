#pragma once
// Today's date, from one place so that tests can fix it.

#include <QDate>
#include <QString>
#include <optional>

namespace qv {

// The system date, or the date fixed by fissaOggi.
QDate oggi();

// Fixes the date oggi() returns; nullopt gives the system date back.
void fissaOggi(std::optional<QDate> data);

// Today as "DD/MM/YYYY".
QString DataOggi();

} // namespace qv
