#pragma once
// A change of the open account's files as provaModifica checks it: every try starts
// from the files the data folder holds now, with the account opened on them, and a
// change left unfinished is put back by opening the account again. Header only: the
// test programs that use it link the ledger, the support library does not.

#include "faults.h"
#include "support/esito_test.h"

#include "ledger/account_loader.h"

#include <QString>

#include <functional>
#include <utility>

namespace qv::test {

// With `sottocartelle`, the files of the folders within count too (fileSotto).
inline ProvaModifica provaSulContoAperto(const QString& cartella,
                                         std::function<bool(QString* testo)> esegui,
                                         bool sottocartelle = false) {
    ProvaModifica prova;
    prova.cartella = cartella;
    prova.file = [cartella, sottocartelle] {
        return sottocartelle ? fileSotto(cartella) : fileDi(cartella);
    };
    prova.riapri = [] {
        QString errore;
        errore = ApriArchiviConto().testo;
    };
    prova.prepara = [cartella, sottocartelle, iniziali = prova.file(), riapri = prova.riapri] {
        if (sottocartelle)
            rimettiSotto(cartella, iniziali);
        else
            rimettiFile(cartella, iniziali);
        riapri();
    };
    prova.esegui = std::move(esegui);
    return prova;
}

} // namespace qv::test
