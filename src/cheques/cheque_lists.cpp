// The cheque situation lists and the annulled cheques, built from the leaf table.
#include "cheques/cheque_lists.h"

#include "common/amounts.h"
#include "common/shared_state.h"
#include "ledger/open_account_announce.h"

#include <algorithm>

namespace qv {

namespace {

QString numeroCarnetTesto(qint16 numero) {
    return QStringLiteral("%1").arg(numero, 4, 10, QLatin1Char('0'));
}

// The rows of TabellaFogli that hold leaves: 1 to NumeroFogli, as far as the table goes.
int ultimaRigaFogli() {
    const StatoProgramma& s = stato();
    return std::clamp<int>(s.NumeroFogli, 0, int(s.TabellaFogli.size()) - 1);
}

} // namespace

bool assegnoFuori(const FoglioAssegno& foglio) {
    return foglio.importo > 0 && foglio.allineato == QLatin1String("N");
}

bool assegnoInMano(const FoglioAssegno& foglio) {
    return foglio.importo == 0 && foglio.allineato == QLatin1String("N");
}

bool assegnoAnnullato(const FoglioAssegno& foglio) {
    return foglio.annullato == QLatin1String("S");
}

QString lineaAssegnoFuori(const FoglioAssegno& foglio, double fattoreValuta,
                          const QString& formato) {
    return numeroCarnetTesto(foglio.numeroCarnet) + QLatin1Char(' ') +
           foglio.dataAssegno.leftJustified(10, QLatin1Char(' '), true) +
           rightAlign(QString::number(foglio.numeroAssegno), 11) + QStringLiteral("  ") +
           rightAlign(formatAmount(foglio.importo, fattoreValuta, formato), 12);
}

QString lineaAssegnoInMano(const FoglioAssegno& foglio) {
    return numeroCarnetTesto(foglio.numeroCarnet) + QLatin1Char(' ') +
           rightAlign(QString::number(foglio.numeroAssegno), 10) + QLatin1Char(' ');
}

QString lineaAssegnoAnnullato(const FoglioAssegno& foglio) {
    return numeroCarnetTesto(foglio.numeroCarnet) + QLatin1Char(' ') +
           foglio.dataAssegno.leftJustified(10, QLatin1Char(' '), true) +
           rightAlign(QString::number(foglio.numeroAssegno), 11);
}

SituazioneAssegni situazioneAssegni() {
    const StatoProgramma& s = stato();
    SituazioneAssegni situazione;
    const int ultima = ultimaRigaFogli();
    for (int j = 1; j <= ultima; ++j) {
        const FoglioAssegno& f = s.TabellaFogli[size_t(j)];
        if (assegnoFuori(f))
            situazione.fuori.push_back(
                {lineaAssegnoFuori(f, s.FattoreValuta, s.FormatoImporti), qint16(j)});
        else if (assegnoInMano(f))
            situazione.inMano.push_back({lineaAssegnoInMano(f), qint16(j)});
    }
    return situazione;
}

std::vector<RigaAssegno> righeAssegniAnnullati() {
    const StatoProgramma& s = stato();
    std::vector<RigaAssegno> righe;
    const int ultima = ultimaRigaFogli();
    for (int j = 1; j <= ultima; ++j) {
        const FoglioAssegno& f = s.TabellaFogli[size_t(j)];
        if (assegnoAnnullato(f)) righe.push_back({lineaAssegnoAnnullato(f), qint16(j)});
    }
    return righe;
}

void ElencaSituazioneAssegni() {
    AnnunciContoAperto::assegni();
}

void ElencaAssegniAnnullati() {
    AnnunciContoAperto::assegni();
}

} // namespace qv
