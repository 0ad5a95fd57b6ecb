#pragma once
// An open account "CC1" for the cheque-book tests, with helpers that write records out
// by hand and that book movements and cheques the way the program's forms do.

#include "cheques/cheque_books.h"
#include "common/amounts.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "ledger/movement_files.h"
#include "support/fixture.h"

#include <QDir>
#include <QtEndian>

#include <cstring>
#include <map>

namespace qv::test {

// --- Bytes written out by hand ---------------------------------------------------------

inline QByteArray text(const char* s, int width) {
    QByteArray b(s);
    b.truncate(width);
    return b.leftJustified(width, ' ');
}

inline QByteArray le16(qint16 v) {
    QByteArray b(2, '\0');
    qToLittleEndian<qint16>(v, b.data());
    return b;
}

inline QByteArray le32(qint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian<qint32>(v, b.data());
    return b;
}

inline QByteArray le64(double v) {
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    QByteArray b(8, '\0');
    qToLittleEndian<quint64>(bits, b.data());
    return b;
}

class BooksTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        auto& s = stato();
        Conto conto;
        conto.numero = 1;
        conto.codiceConto = QStringLiteral("CC1");
        conto.nomeBanca = QStringLiteral("Banca di Prova");
        s.TabellaConti = {Conto{}, conto};
        s.NumeroConti = 1;
        s.IndiceContoAttivo = 1;
        s.CodiceContoAttivo = QStringLiteral("CC1");
        s.ImpostazioniCorrenti.numeroDecimali = 2;
        s.FormatoImporti = formatoImporti(2);
        s.FattoreValuta = 1.0;
    }

    QString file(const char* ext) const { return dataFolder() + QStringLiteral("CC1") + ext; }

    // Every file of the data folder with its content.
    std::map<QString, QByteArray> cartella() const {
        std::map<QString, QByteArray> out;
        const QDir dir(dataFolder());
        for (const QString& nome : dir.entryList(QDir::Files))
            out[nome] = readBytes(dir.filePath(nome));
        return out;
    }

    // Registers a book through the computation (as the form's "Conferma" does).
    int registra(const char* data, double costo, qint32 primo) {
        QString errore;
        const int riga = SalvaNuovoCarnet({QString::fromLatin1(data), costo, primo}, &errore);
        EXPECT_NE(riga, 0) << errore.toStdString();
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
        EXPECT_TRUE(SalvaNuovoMovimento(m, &errore)) << errore.toStdString();
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
