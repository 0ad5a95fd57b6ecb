#include "ledger/summary.h"

#include "archives/accounts.h"
#include "common/amounts.h"
#include "common/file_names.h"
#include "common/random_file.h"
#include "common/shared_state.h"

#include <QDir>

#include <algorithm>

namespace qv {

namespace {

QString importoInColonna(double base) {
    const auto& s = stato();
    return rightAlign(formatAmount(base, s.FattoreValuta, s.FormatoImporti), 15);
}

QString motivoLettura(const QString& percorso, const QString& motivo) {
    return QStringLiteral("Impossibile leggere il file %1: %2.")
        .arg(QDir::toNativeSeparators(percorso), motivo);
}

} // namespace

EsitoCon<TotaliConto> leggiTotaliConto(const QString& codice) {
    const QString percorso = accountFile(stato().PercorsoDati, codice, ExtTOT);
    QString motivo;
    TotaliConto totali = leggiRecord<TotaliConto>(percorso, 1, &motivo);
    if (!motivo.isEmpty()) return {Esito::fallito(motivoLettura(percorso, motivo)), totali};
    return {Esito::fatto(), totali};
}

double saldoScelto(const TotaliConto& totali, SaldoRiepilogo scelta) {
    // A damaged totals file must not turn the sum of all accounts into nonsense.
    return importoContabile(scelta == SaldoRiepilogo::Valuta ? totali.saldoValutaOggi
                                                             : totali.saldoOperazioneOggi);
}

QString lineaRiepilogo(const Conto& conto, double saldo) {
    return rightAlign(conto.codiceConto.trimmed(), 12) + u' ' +
           conto.nomeBanca.left(28).leftJustified(28) + u' ' + importoInColonna(saldo) + u' ' +
           importoInColonna(conto.fido) + u' ' + importoInColonna(conto.fido + saldo) + u' ';
}

QString lineaTotaliRiepilogo(double saldi, double fidi, double disponibili) {
    return QString(16, u' ') + QStringLiteral("Totali ") + importoInColonna(saldi) + u' ' +
           importoInColonna(fidi) + u' ' + importoInColonna(disponibili) + u' ';
}

Riepilogo costruisciRiepilogo(SaldoRiepilogo scelta) {
    auto& s = stato();
    Riepilogo riepilogo;

    const int numero = std::max<int>(s.NumeroConti, 0);
    QString motivo;
    std::vector<Conto> conti = leggiRecords<Conto>(percorsoConti(), numero, &motivo);
    if (motivo.isEmpty()) {
        if (s.TabellaConti.size() < size_t(numero) + 1) s.TabellaConti.resize(size_t(numero) + 1);
        std::copy(conti.begin(), conti.end(), s.TabellaConti.begin() + 1);
    } else {
        riepilogo.errori << motivoLettura(percorsoConti(), motivo);
    }

    const int righe = std::min<int>(numero, int(s.TabellaConti.size()) - 1);
    for (int i = 1; i <= righe; ++i) {
        const Conto& conto = s.TabellaConti[size_t(i)];
        if (conto.codiceConto.trimmed().isEmpty()) continue;
        const EsitoCon<TotaliConto> totali = leggiTotaliConto(conto.codiceConto);
        if (!totali.ok()) riepilogo.errori << totali.esito.testo;
        const double saldo = saldoScelto(totali.valore, scelta);
        riepilogo.sommaSaldi += saldo;
        riepilogo.sommaFidi += conto.fido;
        riepilogo.sommaDisponibili += conto.fido + saldo;
        riepilogo.righe.push_back({lineaRiepilogo(conto, saldo), i});
    }
    riepilogo.totali =
        lineaTotaliRiepilogo(riepilogo.sommaSaldi, riepilogo.sommaFidi, riepilogo.sommaDisponibili);
    return riepilogo;
}

int rigaContoDelRiepilogo(const QString& linea, int rigaConto) {
    const auto& s = stato();
    const QString codice = linea.left(12).trimmed();
    if (codice.isEmpty()) return 0;
    const int righe = std::min<int>(s.NumeroConti, int(s.TabellaConti.size()) - 1);
    if (rigaConto >= 1 && rigaConto <= righe &&
        s.TabellaConti[size_t(rigaConto)].codiceConto.trimmed() == codice)
        return rigaConto;
    for (int i = 1; i <= righe; ++i)
        if (s.TabellaConti[size_t(i)].codiceConto.trimmed() == codice) return i;
    return 0;
}

} // namespace qv
