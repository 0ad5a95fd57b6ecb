#pragma once
// The account the maintenance tests close, restore, reorder and copy: "CC1" of "Banca di
// Prova" (and "CC2", its twin), written by hand:
//  movements  1 "CA" book 1's cost (01/10)      2 "CA" book 2's cost (02/10, suspended)
//             3 "VE" 100 (05/10)                 4 "PR" 30 (10/10)
//             5 "VE" 50 suspended (15/10)        6-15 "AS" book 1's cheques 101-110 (20/10)
//            16 "AS" cheque 201 (25/10)         17 "PR" 20 (30/11)
//            18 "VE" 200 (01/12)                19 "PR" 7 marked to go (05/12)
//  books      1: cheques 101-110, all aligned (finished by a closing on 30/11)
//             2: cheques 201-210, one to align
//  leaves     1-10 book 1's, issued; 11 cheque 201, issued; 12-20 blank
//  carry-forward 1000 at 30/06/2026.
// A closing on 30/11/2026 removes 1, 3, 4, 6-15, 17 and 19 (net -59) and keeps 2, 5, 16
// and 18 as 1 to 4.

#include "common/esito.h"
#include "support/account_change.h"
#include "support/bytes.h"
#include "support/faults.h"
#include "support/open_account_fixture.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>

namespace qv::test {

class MaintenanceTest : public OpenAccountTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The bytes of the test account's files as written.
    static QByteArray movBytes();
    static QByteArray carBytes();
    static QByteArray fogBytes();
    static QByteArray ripBytes(const char* data, double saldo);
    static QByteArray chiBytes(const char* data, double saldo, const char* codice);

    // Writes the account's files under `codice` (".MOV", ".MOR", ".FOG", ".NRF",
    // ".CAR", ".NRC", ".RIP").
    void scriviConto(const QString& codice) const;
    // Makes `codice` (CC1 or CC2) the open account and loads it, writing ".TOT" and
    // ".Ord" as the program does.
    void apri(const char* codice);

    // Closes the open account on `data` through the computation (no printout) and
    // loads it again.
    void chiudiConto(const char* data);

    // A change that answers a result, as the shared fault checks run it
    // (support/faults.h): false, with the result's text, when it is not done.
    static std::function<bool(QString* testo)> comeProva(std::function<Esito()> esegui);

    // Every file under the data folder, subfolders included, by relative path.
    std::map<QString, QByteArray> tuttiIFile() const { return fileSotto(dataFolder()); }
    // Makes the data folder hold exactly `file` again.
    void rimetti(const std::map<QString, QByteArray>& file) const {
        rimettiSotto(dataFolder(), file);
    }
};

} // namespace qv::test
