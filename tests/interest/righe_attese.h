#pragma once
// Lines of the worked statements (casi_competenze.h) written out by hand, column by
// column: the statement list of the quarter beyond the credit line, and the printed body
// of the quarter in credit below its page header.

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <ostream>
#include <vector>

namespace qv::test {

inline QStringList listaTrimestreOltreFido() {
    return {
        "ELEMENTI PER IL CONTEGGIO DELLE COMPETENZE",
        "    ",
        "    INTERESSI CREDITORI",
        "    ",
        "       DECORRENZA    TASSO   NUMERI CREDITORI  INTERESSI CREDITORI",
        "    ",
        "    31/03/2001      01,000              0,00                 0,00",
        "                                               ___________________",
        "                               Totale Lordo                  0,00",
        " ",
        "   RIT. FISCALE 27% Imponibile:         0,00  Totale         0,00",
        "                                               ___________________",
        "                               Totale Netto                  0,00",
        "__________________________________________________________________",
        "    INTERESSI DEBITORI",
        "    ",
        "       DECORRENZA    TASSO    NUMERI DEBITORI   INTERESSI DEBITORI",
        "    ",
        " EF  31/03/2001     10,000            550,00                15,28",
        " FF                 20,000            150,00                 8,33",
        "                                               ___________________",
        "                                      Totale                23,61",
        " ",
        "EF = Entro Fido - FF = Fuori Fido",
        "__________________________________________________________________",
        "    COMMISSIONE MASSIMO SCOPERTO",
        "    ",
        "          DATA      ALIQUOTA  BASE DI CALCOLO  IMPORTO COMMISSIONE",
        "    ",
        " EF   11/04/2001    00,500          1.000,00                 5,00",
        " FF                 01,500            500,00                 7,00",
        " FFGG               00,250            500,00                 1,00",
        "                                               ___________________",
        "                                                            13,00",
        "    Commissione fido applicato al massima scopertura",
        "    ",
        "                    ALIQUOTA  BASE DI CALCOLO              IMPORTO",
        "    ",
        "                     00,100          1.500,00                1,50",
        "             ",
        "    Spese debitori applicato sui numeri debitori",
        "    ",
        "                    ALIQUOTA  BASE DI CALCOLO              IMPORTO",
        "    ",
        "                     02,000            700,00                3,89",
        "             ",
        "__________________________________________________________________",
        "    SPESE",
        "                              QUANTITA'      A LIRE        IMPORTO",
        "    ",
        "        OPERAZIONI                 0          0,50           0,00",
        "        COSTO TENUTA FIDO                                    4,00",
        "        RIMBORSO FORFETTARIO                                 2,00",
        "        Bollo                                                1,00",
        "                                               ___________________",
        "                               Totale Spese                  7,00",
        "         ",
        "__________________________________________________________________",
        "RIEPILOGO COMPETENZE                      A DEBITO      A CREDITO",
        "         ",
        "  INTERESSI NETTI A CREDITO                                  0,00",
        "  INTERESSI NETTI A DEBITO                   23,61",
        "  COMMISSIONE DI MASSIMO SCOPERTO            13,00",
        "  Commissione fido                            1,50",
        "  Spese debitori                              3,89",
        "  SPESE                                       7,00",
        "                                    ______________  ______________",
        "                            TOTALI           49,00           0,00",
        "SBILANCIO COMPETENZE                         49,00",
        " ",
        "__________________________________________________________________",
        " - COMMISSIONE ECCEDENZA O EXTRAFIDO ",
        " ",
        "   ALIQUOTA    BASE DI CALCOLO  IMPORTO COMMISSIONE",
        " ",
        "    02,000              500,00               10,00",
        " ",
        "SBILANCIO COMPETENZE A DEBITO                59,00",
        "==================================================================",
        " ",
        " ",
        " ",
        " ",
        " ",
    };
}

// A printed line in Courier New 8 points, bold or not.
struct RigaCorpo {
    const char* testo;
    bool grassetto;
};

// From the heading "ELEMENTI PER IL CONTEGGIO DELLE COMPETENZE" to ".....fine stampa".
inline std::vector<RigaCorpo> corpoStampaTrimestreACredito() {
    return {
        {"ELEMENTI PER IL CONTEGGIO DELLE COMPETENZE", true},
        {"    ", true},
        {"    INTERESSI CREDITORI", true},
        {"    ", true},
        {"       DECORRENZA    TASSO   NUMERI CREDITORI  INTERESSI CREDITORI", true},
        {"    ", true},
        {"      31/12/2000     02,500      6.000.000,00              410,96", false},
        {"      01/03/2001     03,000      3.000.000,00              246,58", false},
        {"                                               ___________________", false},
        {"                                 Totale Lordo              657,53", false},
        {" ", false},
        {"   RIT. FISCALE 27% Imponibile:       657,53  Totale       177,53", false},
        {"                                               ___________________", false},
        {"                               Totale Netto                480,00", false},
        {"__________________________________________________________________", false},
        {"    INTERESSI DEBITORI", true},
        {"    ", true},
        {"       DECORRENZA    TASSO    NUMERI DEBITORI   INTERESSI DEBITORI", true},
        {"    ", true},
        {" EF   31/12/2000     10,000              0,00                0,00", false},
        {" FF                  15,000              0,00                0,00", false},
        {"                                               ___________________", false},
        {"                                      Totale                 0,00", false},
        {"EF = Entro Fido - FF = Fuori Fido", false},
        {"__________________________________________________________________", false},
        {"    COMMISSIONE MASSIMO SCOPERTO", true},
        {"    ", true},
        {"          DATA      ALIQUOTA  BASE DI CALCOLO  IMPORTO COMMISSIONE", true},
        {"    ", false},
        {" EF   __/__/____     00,500                 0                   0", false},
        {" FF                  01,500                 0                   0", false},
        {" FFGG                00,250                 0                   0", false},
        {"                                               ___________________", false},
        {"                                                             0,00", false},
        {"__________________________________________________________________", false},
        {"    SPESE", true},
        {"                              QUANTITA'      A LIRE        IMPORTO", false},
        {"    ", false},
        {"        OPERAZIONI                 0          1,50           0,00", false},
        {"        SPESE FISSE DI CHIUSURA                              5,00", false},
        {"        COSTO TENUTA FIDO                                    0,00", false},
        {"                                               ___________________", false},
        {"                               Totale Spese                  5,00", false},
        {"         ", false},
        {"__________________________________________________________________", false},
        {"RIEPILOGO COMPETENZE                      A DEBITO      A CREDITO", true},
        {"         ", false},
        {"  INTERESSI NETTI A CREDITO                                480,00", false},
        {"  INTERESSI NETTI A DEBITO                    0,00", false},
        {"  COMMISSIONE DI MASSIMO SCOPERTO             0,00", false},
        {"  SPESE                                       5,00", false},
        {"                                    ______________  ______________", false},
        {"                            TOTALI            5,00         480,00", false},
        {"COMPETENZE A CREDITO                                       475,00", true},
        {"==================================================================", false},
        {" ", false},
        {" ", false},
        {" ", false},
        {" ", false},
        {" ", false},
        {" ----------------------------------------------------------------------------------------"
         "------",
         false},
        {"                                                       .....fine stampa", false},
    };
}

// An amount line of the statement: its first word (what it is) and the amount it ends
// with, read as an Italian number, so that a plain "0" and a formatted zero agree.
struct Importo {
    QString voce;
    double valore;
    bool operator==(const Importo&) const = default;
};

// The figures of the statement's amount lines (lines that end in a number), in order:
// each line's last figure, or with `tutte` every figure of the line (bases and rates
// as well as the amount the line ends with).
inline std::vector<Importo> figure(const QStringList& righe, bool tutte) {
    static const QRegularExpression numero(
        QStringLiteral("^-?[0-9]{1,3}(\\.[0-9]{3})*(,[0-9]+)?$"));
    std::vector<Importo> out;
    for (const QString& riga : righe) {
        const QStringList parole = riga.split(u' ', Qt::SkipEmptyParts);
        if (parole.isEmpty() || !numero.match(parole.last()).hasMatch()) continue;
        for (qsizetype i = tutte ? 0 : parole.size() - 1; i < parole.size(); ++i) {
            if (!numero.match(parole[i]).hasMatch()) continue;
            QString testo = parole[i];
            testo.remove(u'.').replace(u',', u'.');
            out.push_back({parole.first(), testo.toDouble()});
        }
    }
    return out;
}

// The amount lines of a statement, in order; lines that end in no number are left out.
inline std::vector<Importo> importi(const QStringList& righe) {
    return figure(righe, false);
}

// Every figure of the statement's amount lines, in order.
inline std::vector<Importo> cifre(const QStringList& righe) {
    return figure(righe, true);
}

inline std::ostream& operator<<(std::ostream& os, const Importo& i) {
    return os << i.voce.toStdString() << " " << i.valore;
}

} // namespace qv::test
