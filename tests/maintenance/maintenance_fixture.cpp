#include "maintenance_fixture.h"
#include "support/esito_test.h"

#include "common/shared_state.h"
#include "common/transaction.h"
#include "ledger/account_loader.h"
#include "ledger/movement_files.h"
#include "maintenance/closing.h"
#include "shell/main_window.h"
#include "support/open_account.h"

namespace qv::test {

namespace {

const MovimentoFields kMovimenti[] = {
    {1, "01/10/2026", "01/10/2026", "CA", 2.0, "1", "Carnet nr. 1-101", "N", "U"},
    {2, "02/10/2026", "02/10/2026", "CA", 3.0, "2", "Carnet nr. 2-201", "S", "U"},
    {3, "05/10/2026", "05/10/2026", "VE", 100.0, "", "Stipendio", "N", "E"},
    {4, "10/10/2026", "10/10/2026", "PR", 30.0, "", "Bancomat", "N", "U"},
    {5, "15/10/2026", "15/10/2026", "VE", 50.0, "", "Bonifico da confermare", "S", "E"},
};

} // namespace

void MaintenanceTest::SetUp() {
    OpenAccountTest::SetUp();
    collegaRichiesteFinestre();
    setCausali({causaleEntry(1, "VE", "Versamento", "N", "E"),
                causaleEntry(2, "PR", "Prelievo contanti allo sportello", "N", "U"),
                causaleEntry(3, "AS", "Assegno", "S", "U"),
                causaleEntry(4, "CA", "Carnet assegni", "S", "U")});
    stato().TestoDescConto = QStringLiteral("Banca di Prova");
    scriviConto(QStringLiteral("CC1"));
    apri("CC1");
}

void MaintenanceTest::TearDown() {
    impostaGuastoModifiche({});
    OpenAccountTest::TearDown();
}

QByteArray MaintenanceTest::movBytes() {
    QByteArray b;
    for (const MovimentoFields& m : kMovimenti)
        b += movimentoBytes(m);
    for (int i = 0; i < 10; ++i) {
        const QByteArray doc = QByteArray::number(101 + i);
        b += movimentoBytes({qint16(6 + i), "20/10/2026", "20/10/2026", "AS", 10.0, doc.constData(),
                             "Fornitore", "N", "U"});
    }
    b += movimentoBytes({16, "25/10/2026", "25/10/2026", "AS", 40.0, "201", "Rossi", "N", "U"});
    b += movimentoBytes({17, "30/11/2026", "30/11/2026", "PR", 20.0, "", "Bancomat", "N", "U"});
    b += movimentoBytes({18, "01/12/2026", "01/12/2026", "VE", 200.0, "", "Bonifico", "N", "E"});
    b += movimentoBytes(
        {19, "05/12/2026", "05/12/2026", "PR", 7.0, "", "Prelievo errato", "N", "U", "S"});
    return b;
}

QByteArray MaintenanceTest::carBytes() {
    return carnetBytes({1, 1, "01/10/2026", 2.0, 101, 110, "N", 0, "S"}) +
           carnetBytes({2, 2, "02/10/2026", 3.0, 201, 210, "N", 1, "N"});
}

QByteArray MaintenanceTest::fogBytes() {
    QByteArray b;
    for (int i = 0; i < 10; ++i)
        b += foglioBytes({qint16(6 + i), qint16(1 + i), 1, 101 + i, "20/10/2026", 10.0, "Fornitore",
                          "", "S", "S"});
    b += foglioBytes({16, 11, 2, 201, "25/10/2026", 40.0, "Rossi", "", "N", "S"});
    for (int i = 1; i < 10; ++i)
        b += foglioBytes({0, qint16(11 + i), 2, 201 + i, "00/00/0000", 0.0, "", "", "N", "S"});
    return b;
}

QByteArray MaintenanceTest::ripBytes(const char* data, double saldo) {
    return text(data, 10) + leDouble(saldo);
}

QByteArray MaintenanceTest::chiBytes(const char* data, double saldo, const char* codice) {
    return text(data, 10) + leDouble(saldo) + text(codice, 12);
}

void MaintenanceTest::scriviConto(const QString& codice) const {
    const QString base = dataFolder() + codice;
    writeBytes(base + QStringLiteral(".MOV"), movBytes());
    writeBytes(base + QStringLiteral(".MOR"), le16(19));
    writeBytes(base + QStringLiteral(".CAR"), carBytes());
    writeBytes(base + QStringLiteral(".NRC"), le16(2));
    writeBytes(base + QStringLiteral(".FOG"), fogBytes());
    writeBytes(base + QStringLiteral(".NRF"), le16(20));
    writeBytes(base + QStringLiteral(".RIP"), ripBytes("30/06/2026", 1000.0));
}

void MaintenanceTest::apri(const char* codice) {
    auto& s = stato();
    Conto uno;
    uno.numero = 1;
    uno.codiceConto = QStringLiteral("CC1");
    uno.nomeBanca = QStringLiteral("Banca di Prova");
    Conto due = uno;
    due.numero = 2;
    due.codiceConto = QStringLiteral("CC2");
    s.TabellaConti = {Conto{}, uno, due};
    s.NumeroConti = 2;
    s.IndiceContoAttivo = QString::fromLatin1(codice) == u"CC2" ? 2 : 1;
    s.CodiceContoAttivo = QString::fromLatin1(codice);
    QString errore;
    ASSERT_TRUE(test::senzaAvvisi(ApriArchiviConto(), &errore)) << errore.toStdString();
    ASSERT_TRUE(test::riuscito(SalvaOrdine(), &errore)) << errore.toStdString();
}

void MaintenanceTest::chiudiConto(const char* data) {
    const PianoChiusura piano = calcolaChiusura(datiChiusuraContoAperto(QString::fromLatin1(data)));
    const Esito esito = scriviChiusura(piano, dataFolder(), stato().CodiceContoAttivo);
    ASSERT_TRUE(esito.ok()) << esito.testo.toStdString();
    apri(stato().CodiceContoAttivo.toLatin1().constData());
}

std::function<bool(QString*)> MaintenanceTest::comeProva(std::function<Esito()> esegui) {
    return [esegui = std::move(esegui)](QString* testo) {
        const Esito e = esegui();
        *testo = e.testo;
        return e.ok();
    };
}

} // namespace qv::test
