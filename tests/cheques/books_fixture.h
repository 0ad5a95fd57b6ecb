#pragma once
// An open account "CC1" for the cheque-book tests, with helpers that book movements and
// cheques the way the program's forms do.

#include "cheques/cheque_books.h"
#include "common/amounts.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "ledger/movement_files.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/fixture.h"
#include "support/open_account.h"
#include "support/open_account_fixture.h"

#include <QDir>

#include <map>

namespace qv::test {

class BooksTest : public OpenAccountTest {
protected:
    // Registers a book through the computation (as the form's "Conferma" does).
    int registra(const char* data, double costo, qint32 primo) {
        int riga = 0;
        const Esito esito = SalvaNuovoCarnet({QString::fromLatin1(data), costo, primo}, &riga);
        EXPECT_NE(riga, 0) << esito.testo.toStdString();
        return riga;
    }

    // Appends a movement to the open account and returns its number.
    int movimento(const char* causale, const char* doc, double importo,
                  const char* descrizione = "", const char* data = "05/12/2026") {
        Movimento m;
        m.dataOperazione = QString::fromLatin1(data);
        m.dataValuta = m.dataOperazione;
        m.codiceCausale = QString::fromLatin1(causale);
        m.importo = importo;
        m.numeroDocumento = QString::fromLatin1(doc);
        m.descrizione = QString::fromLatin1(descrizione);
        m.sospeso = QStringLiteral("S");
        m.entrataUscita = QStringLiteral("U");
        QString errore;
        EXPECT_TRUE(test::riuscito(SalvaNuovoMovimento(m), &errore)) << errore.toStdString();
        return stato().NumeroMovimenti;
    }

    // Issues the cheque of leaf row `riga` as the cheque form does: the leaf's date,
    // amount and payee, an "AS" movement carrying the cheque number, the link.
    int emetti(int riga, double importo, const char* traente, const char* data = "06/12/2026") {
        auto& f = stato().TabellaFogli[size_t(riga)];
        const QByteArray doc = documentoAssegno(f.numeroAssegno).toLatin1();
        const int m = movimento("AS", doc.constData(), importo, traente, data);
        auto& foglio = stato().TabellaFogli[size_t(riga)];
        foglio.dataAssegno = QString::fromLatin1(data);
        foglio.importo = importo;
        foglio.traenteAssegno = QString::fromLatin1(traente);
        foglio.movimento = qint16(m);
        EXPECT_TRUE(scriviRecord(file(".FOG"), riga, foglio));
        return m;
    }

    static const Movimento& mov(int k) { return stato().TabellaMovimenti[size_t(k)]; }
    static const FoglioAssegno& foglio(int k) { return stato().TabellaFogli[size_t(k)]; }
    static const CarnetAssegni& carnet(int k) { return stato().TabellaCarnet[size_t(k)]; }
};

} // namespace qv::test
