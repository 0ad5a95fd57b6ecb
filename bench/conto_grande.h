#pragma once
// A synthetic data folder for the benchmarks with one account "BENCH": 32767
// movements (the most the 16-bit counts allow) spread over twenty years, in and out,
// suspended and aligned, a carry-forward and a causali table. The shared state points
// at it while the object lives.

#include "common/file_names.h"
#include "common/random_file.h"
#include "common/records.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "ledger/movement_files.h"

#include <QTemporaryDir>

namespace qv::bench {

class ContoGrande {
public:
    static constexpr int Movimenti = qv::LimiteMovimentiConto;

    ContoGrande() {
        qv::resetStato();
        qv::fissaOggi(QDate(2026, 12, 9));
        auto& s = qv::stato();
        s.PercorsoDati = dir_.path() + u'/';
        s.CodiceContoAttivo = QStringLiteral("BENCH");
        s.FormatoImporti = QStringLiteral("#,###,###,##0.00");
        s.FattoreValuta = 1.0;
        const char* codici[] = {"VE", "PR", "BON", "AS", "CA"};
        s.TabellaCausali.assign(1, qv::VoceCausale{});
        for (const char* c : codici) {
            qv::VoceCausale v;
            v.codiceCausale = QLatin1String(c);
            v.descrizione = QStringLiteral("Causale %1").arg(QLatin1String(c));
            s.TabellaCausali.push_back(v);
        }
        s.NumeroCausali = qint16(s.TabellaCausali.size() - 1);

        righe_.reserve(Movimenti);
        QDate data(2006, 1, 2);
        for (int i = 1; i <= Movimenti; ++i) {
            // Dates not in record order, so that the sort has work to do.
            const QDate op = data.addDays((i * 7919) % 7300);
            qv::Movimento m;
            m.numero = qint16(i);
            m.dataOperazione = op.toString(QStringLiteral("dd/MM/yyyy"));
            m.dataValuta = op.addDays(i % 5).toString(QStringLiteral("dd/MM/yyyy"));
            m.codiceCausale = QLatin1String(codici[i % 5]);
            m.importo = (i % 1000) * 12.34 + 0.5;
            m.numeroDocumento = QString::number(i);
            m.descrizione = QStringLiteral("movimento %1").arg(i);
            m.sospeso = i % 4 ? QStringLiteral("N") : QStringLiteral("S");
            m.entrataUscita = i % 3 ? QStringLiteral("E") : QStringLiteral("U");
            m.annullato = QStringLiteral("N");
            righe_.push_back(m);
        }
        qv::scriviRecords(file(qv::ExtMOV), 1, righe_);
        qv::scriviContatore(file(qv::ExtMOR), qint16(Movimenti));
        qv::Riporto riporto;
        riporto.dataRiporto = QStringLiteral("31/12/2005");
        riporto.saldoRiporto = 1000;
        qv::scriviRecord(file(qv::ExtRIP), 1, riporto);
    }
    ~ContoGrande() {
        qv::fissaOggi(std::nullopt);
        qv::resetStato();
    }

    QString file(const QString& ext) const {
        return qv::accountFile(qv::stato().PercorsoDati, qv::stato().CodiceContoAttivo, ext);
    }
    // The movements as written, in record order.
    const std::vector<qv::Movimento>& righe() const { return righe_; }

private:
    QTemporaryDir dir_;
    std::vector<qv::Movimento> righe_;
};

} // namespace qv::bench
