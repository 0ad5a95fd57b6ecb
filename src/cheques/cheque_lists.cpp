// The cheque situation lists and the annulled cheques, built from the leaf table.
#include "cheques/cheque_lists.h"

#include "cheques/annulled_form.h"
#include "cheques/situation_form.h"
#include "common/amounts.h"
#include "common/shared_state.h"
#include "platform/list_box.h"
#include "shell/main_window.h"

#include <QLabel>

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

std::vector<ListItem> comeRighe(const std::vector<RigaAssegno>& righe) {
    std::vector<ListItem> items;
    items.reserve(righe.size());
    for (const RigaAssegno& r : righe)
        items.push_back({r.testo, r.foglio});
    return items;
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
    const SituazioneAssegni situazione = situazioneAssegni();
    Form13& form = formHost().form<Form13>();
    form.List1->setItems(comeRighe(situazione.fuori));
    form.List2->setItems(comeRighe(situazione.inMano));
    if (MDIForm1* main = MDIForm1::instance()) {
        main->AssFuori->setText(QString::number(situazione.fuori.size()));
        main->AssMano->setText(QString::number(situazione.inMano.size()));
    }
}

void ElencaAssegniAnnullati() {
    const std::vector<RigaAssegno> righe = righeAssegniAnnullati();
    Form17& form = formHost().form<Form17>();
    form.List1->setItems(comeRighe(righe));
}

} // namespace qv
