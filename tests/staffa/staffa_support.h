#pragma once
// What the staffa tests start from: dates and movements written briefly, and the lines
// of the staffa list written out by hand, column by column: the balance line of a date
// with its numbers in the credit or debit column, the excess line, and the closing lines.

#include "common/records.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstring>

namespace qv::test {

// The date of a "DD/MM/YYYY" text.
inline QDate d(const char* testo) {
    return QDate::fromString(QString::fromLatin1(testo), QStringLiteral("dd/MM/yyyy"));
}

// A movement of `importo` in ("E") or out ("U") at `valuta`, operated the same day unless
// `operazione` says otherwise.
inline Movimento mov(qint16 numero, const char* valuta, double importo, const char* eu,
                     const char* sospeso = "N", const char* operazione = nullptr) {
    Movimento m;
    m.numero = numero;
    m.dataValuta = QString::fromLatin1(valuta);
    m.dataOperazione = QString::fromLatin1(operazione ? operazione : valuta);
    m.importo = importo;
    m.entrataUscita = QString::fromLatin1(eu);
    m.sospeso = QString::fromLatin1(sospeso);
    m.annullato = QStringLiteral("N");
    return m;
}

inline const QString kFormato = QStringLiteral("#,###,###,##0.00");

inline QString sp(int n) {
    return QString(n, QLatin1Char(' '));
}

// Blanks before `testo` up to `n` characters.
inline QString pad(const char* testo, int n) {
    return sp(n - int(std::strlen(testo))) + QString::fromUtf8(testo);
}

// A balance line: the date, the balance, the days, and the numbers in the credit column
// (or the debit column for a debit row).
inline QString credito(const char* data, const char* saldo, const char* giorni,
                       const char* numeri) {
    return sp(4) + QString::fromLatin1(data) + sp(2) + pad(saldo, 16) + ' ' + pad(giorni, 4) + ' ' +
           sp(17) + pad(numeri, 16);
}
inline QString debito(const char* data, const char* saldo, const char* giorni, const char* numeri) {
    return sp(4) + QString::fromLatin1(data) + sp(2) + pad(saldo, 16) + ' ' + pad(giorni, 4) + ' ' +
           pad(numeri, 16);
}
inline QString eccedenza(const char* data, const char* importo, const char* giorni,
                         const char* numeri) {
    return QStringLiteral("EC  ") + QString::fromLatin1(data) + sp(2) + pad(importo, 16) + ' ' +
           pad(giorni, 4) + ' ' + pad(numeri, 16);
}

inline const QString kRegola(87, QLatin1Char('-'));

// The closing lines: final balance, totals, largest excess and, when given, the largest
// overdraft.
inline QStringList chiusura(const char* finale, const char* debitori, const char* creditori,
                            const char* eccedenzaMassima, const char* scoperto = nullptr) {
    QStringList righe{
        kRegola,
        QStringLiteral("Liq. finale     ") + pad(finale, 16),
        kRegola,
        sp(29) + QStringLiteral("Totali   ") + pad(debitori, 16) + ' ' + pad(creditori, 16),
        kRegola,
        QStringLiteral(" massima eccedenza/estrafido Lire     ") + pad(eccedenzaMassima, 16)};
    if (scoperto)
        righe << kRegola
              << QStringLiteral(" massimo scoperto            Lire     ") + pad(scoperto, 16);
    return righe;
}

} // namespace qv::test
