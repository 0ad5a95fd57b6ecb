#pragma once
// An open account "CC1" of "Banca di Prova" for the condition tests, and one complete set
// of its five condition files written out by hand, with every field set.

#include "conditions/conditions.h"
#include "support/bytes.h"
#include "support/condition_bytes.h"
#include "support/open_account_fixture.h"

#include <QDir>

namespace qv::test {

class ConditionsTest : public OpenAccountTest {
public:
    // The records of the complete set below.
    static CondizioniConto condizioniComplete() {
        return {InteressiCreditori::fromBytes(iatCompleto()),
                InteressiDebitori::fromBytes(ipaCompleto()), Opzioni::fromBytes(opzCompleto()),
                OneriPassivi::fromBytes(onpCompleto()), SpeseVarie::fromBytes(speCompleto())};
    }

protected:
    // The complete set: rates with more decimals than the editor shows, fees that the
    // display rate does not divide exactly, both free fees and commissions named.
    static QByteArray iatCompleto() {
        return creditoriBytes(
            {"01/01/2001", "01/07/2001", "01/01/2002", "__/__/____", "__/__/____"},
            {2.0625F, 1.5F, 0.75F, 0, 0});
    }
    static QByteArray ipaCompleto() {
        return debitoriBytes({"01/01/2001", "15/03/2001", "__/__/____", "__/__/____", "__/__/____"},
                             {12.125F, 11.5F, 0, 0, 0}, {14.0625F, 13.5F, 0, 0, 0});
    }
    static QByteArray opzCompleto() {
        return opzioniBytes({"3", 12, "http://www.bancadiprova.it", "1", "2", 4});
    }
    static QByteArray onpCompleto() {
        return oneriBytes({0.5F, 0.125F, 27.0F, 1.0625F, 2.5F, 0.25F, 0.375F, "Commissione fido",
                           "Diritti di urgenza", "3", "6"});
    }
    static QByteArray speCompleto() {
        return speseBytes({{25.82, 5.16, 0.62, 10.33, 12.91, 1.03, 0.1},
                           "1010110",
                           "Bollo",
                           "Invio estratto conto"});
    }

    void scriviCondizioniComplete() const {
        writeBytes(file(".Iat"), iatCompleto());
        writeBytes(file(".Ipa"), ipaCompleto());
        writeBytes(file(".Opz"), opzCompleto());
        writeBytes(file(".Onp"), onpCompleto());
        writeBytes(file(".spe"), speCompleto());
    }
};

} // namespace qv::test
