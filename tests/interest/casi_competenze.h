#pragma once
// Worked statements for the interest tests: their movements, causali and conditions, the
// same for the computation, the list, the printout and the window.
//
// "Quarter in credit" (01/01/2001 to 31/03/2001): 100.000,00 carried forward and no
// movement; credit rates 2,5% from 01/01/2000 and 3% from 01/03/2001 (365 days, numbers
// divided by 1): 6.000.000 numbers at 2,5% (410,96) and 3.000.000 at 3% (246,58); 27%
// withholding; a closing fee of 5,00; the result 475,00 in credit.
//
// "Quarter beyond the line" (01/04/2001 to 30/06/2001): credit line 1.000,00, 1.500,00
// out on 11/04 and 1.000,00 in on 11/05; debit rates 10% within and 20% beyond the line
// (360 days, numbers divided by 100): 550 and 150 numbers; the maximum-overdraft
// commission on the line and on the 500,00 beyond it, two free commissions (on the
// maximum overdraft and on the debit numbers), fees with the flat refund, the excess
// commission: 49,00 and, with the excess commission, 59,00 in debit.

#include "common/records.h"
#include "conditions/conditions.h"
#include "interest/competenze.h"

#include <QDate>
#include <QString>

#include <vector>

namespace qv::test {

inline QDate giorno(const char* testo) {
    return QDate::fromString(QString::fromLatin1(testo), QStringLiteral("dd/MM/yyyy"));
}

inline Movimento movimento(qint16 numero, const char* valuta, double importo, const char* eu,
                           const char* causale = "", const char* sospeso = "N") {
    Movimento m;
    m.numero = numero;
    m.dataOperazione = QString::fromLatin1(valuta);
    m.dataValuta = QString::fromLatin1(valuta);
    m.codiceCausale = QString::fromLatin1(causale);
    m.importo = importo;
    m.entrataUscita = QString::fromLatin1(eu);
    m.sospeso = QString::fromLatin1(sospeso);
    m.annullato = QStringLiteral("N");
    return m;
}

// The refusals of a statement whose first rate starts after dal.
inline const QString kDecorrenzaCreditori = QStringLiteral(
    "La prima data decorrenza dei tassi interessi creditori è successiva alla data inizio "
    "movimenti; correggi i dati e ripeti la procedura.");
inline const QString kDecorrenzaDebitori = QStringLiteral(
    "La prima data decorrenza dei tassi interessi debitori è successiva alla data inizio "
    "movimenti; correggi i dati e ripeti la procedura.");

inline VoceCausale causale(qint16 numero, const char* codice, const char* soggetto) {
    VoceCausale v;
    v.numero = numero;
    v.codiceCausale = QString::fromLatin1(codice);
    v.soggettoCosto = QString::fromLatin1(soggetto);
    return v;
}

// Five start dates, blank ones "__/__/____".
inline std::array<QString, 6> decorrenze(std::initializer_list<const char*> date) {
    std::array<QString, 6> out;
    size_t k = 1;
    for (const char* d : date)
        out[k++] = QString::fromLatin1(d);
    for (; k < out.size(); ++k)
        out[k] = QStringLiteral("__/__/____");
    return out;
}

template <class T> std::array<float, 6> tassi(std::initializer_list<T> valori) {
    std::array<float, 6> out{};
    size_t k = 1;
    for (T v : valori)
        out[k++] = float(v);
    return out;
}

// A statement to compute: what the computation takes, with the causali it points to.
struct CasoCompetenze {
    std::vector<Movimento> movimenti;
    std::vector<VoceCausale> causali;
    ParametriCompetenze parametri;

    RisultatoCompetenze calcola() {
        parametri.causali = causali;
        return calcolaCompetenze(movimenti, parametri);
    }
};

// Conditions with every rate 0, 365-day years, numbers divided by 1, every fee flag "1"
// and no fee amount.
inline CondizioniConto condizioniNeutre() {
    CondizioniConto c;
    c.creditori.dataDecorrenza = decorrenze({"01/01/2000"});
    c.debitori.dataDecorrenza = decorrenze({"01/01/2000"});
    c.opzioni.baseGiorniCreditori = QStringLiteral("2");
    c.opzioni.baseGiorniDebitori = QStringLiteral("2");
    c.opzioni.codiceDivisore = 1;
    for (QString& f : c.spese.addebitoTrimestrale)
        f = QStringLiteral("1");
    return c;
}

inline CasoCompetenze trimestreACredito() {
    CasoCompetenze c;
    ParametriStaffa& s = c.parametri.staffa;
    s.dal = giorno("01/01/2001");
    s.al = giorno("31/03/2001");
    s.saldoRiporto = 100000;
    s.divisoreNumeri = 1;
    CondizioniConto& k = c.parametri.condizioni;
    k.creditori.dataDecorrenza = decorrenze({"01/01/2000", "01/03/2001"});
    k.creditori.tasso = tassi({2.5, 3.0});
    k.debitori.dataDecorrenza = decorrenze({"01/01/2000"});
    k.debitori.tassoEntroFido = tassi({10});
    k.debitori.tassoFuoriFido = tassi({15});
    k.opzioni.baseGiorniCreditori = QStringLiteral("2");
    k.opzioni.baseGiorniDebitori = QStringLiteral("2");
    k.opzioni.codiceDivisore = 1;
    k.oneri.aliquotaEccedenza = 2;
    k.oneri.aliquotaMassimoScoperto = 0.5F;
    k.oneri.ritenutaFiscale = 27;
    k.oneri.aliquotaScopertoFuoriFido = 1.5F;
    k.oneri.aliquotaScopertoFuoriFidoGiorni = 0.25F;
    k.spese.importoSpesa = {5, 10, 1.5, 0, 3, 0, 0};
    const char* flag = "1011100";
    for (size_t i = 0; i < 7; ++i)
        k.spese.addebitoTrimestrale[i] = QString(QLatin1Char(flag[i]));
    return c;
}

inline CasoCompetenze trimestreOltreFido() {
    CasoCompetenze c;
    c.movimenti = {movimento(1, "11/04/2001", 1500, "U", "PR"),
                   movimento(2, "11/05/2001", 1000, "E", "VE")};
    c.causali = {causale(1, "PR", "1"), causale(2, "VE", "0")};
    ParametriStaffa& s = c.parametri.staffa;
    s.dal = giorno("01/04/2001");
    s.al = giorno("30/06/2001");
    s.fido = 1000;
    s.divisoreNumeri = 100;
    CondizioniConto& k = c.parametri.condizioni;
    k.creditori.dataDecorrenza = decorrenze({"01/01/2001"});
    k.creditori.tasso = tassi({1});
    k.debitori.dataDecorrenza = decorrenze({"01/01/2001"});
    k.debitori.tassoEntroFido = tassi({10});
    k.debitori.tassoFuoriFido = tassi({20});
    k.opzioni.minimoMovimenti = 3;
    k.opzioni.baseGiorniCreditori = QStringLiteral("1");
    k.opzioni.baseGiorniDebitori = QStringLiteral("1");
    k.opzioni.codiceDivisore = 3;
    k.oneri.aliquotaEccedenza = 2;
    k.oneri.aliquotaMassimoScoperto = 0.5F;
    k.oneri.ritenutaFiscale = 27;
    k.oneri.aliquotaLibera1 = 0.1F;
    k.oneri.aliquotaLibera2 = 2;
    k.oneri.aliquotaScopertoFuoriFido = 1.5F;
    k.oneri.aliquotaScopertoFuoriFidoGiorni = 0.25F;
    k.oneri.descrizioneLibera1 = QStringLiteral("Commissione fido");
    k.oneri.descrizioneLibera2 = QStringLiteral("Spese debitori");
    k.oneri.baseLibera1 = QStringLiteral("6");
    k.oneri.baseLibera2 = QStringLiteral("5");
    k.spese.importoSpesa = {5, 10, 0.5, 4, 2, 9, 1};
    const char* flag = "0011111";
    for (size_t i = 0; i < 7; ++i)
        k.spese.addebitoTrimestrale[i] = QString(QLatin1Char(flag[i]));
    k.spese.descrizioneSpesa2 = QStringLiteral("Bollo");
    return c;
}

} // namespace qv::test
