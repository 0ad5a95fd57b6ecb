#pragma once
// A change of the open account's files as provaModifica checks it: every try starts
// from the files the data folder holds now, with the account opened on them, and a
// change left unfinished is put back by opening the account again. Header only: the
// test programs that use it link the ledger, the support library does not.

#include "faults.h"

#include "ledger/account_loader.h"

#include <QString>

#include <functional>
#include <utility>

namespace qv::test {

inline ProvaModifica provaSulContoAperto(const QString& cartella,
                                         std::function<bool(QString* testo)> esegui) {
    ProvaModifica prova;
    prova.cartella = cartella;
    prova.file = [cartella] { return fileDi(cartella); };
    prova.riapri = [] {
        QString errore;
        ApriArchiviConto(&errore);
    };
    prova.prepara = [cartella, iniziali = fileDi(cartella), riapri = prova.riapri] {
        rimettiFile(cartella, iniziali);
        riapri();
    };
    prova.esegui = std::move(esegui);
    return prova;
}

} // namespace qv::test
