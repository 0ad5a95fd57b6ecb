#pragma once
// A change of several files made to fail at a chosen write, as a full disk fails it, or
// to stop there, as a killed program stops, through the transaction's test hook.

#include "common/transaction.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>

namespace qv::test {

class GuastoAlPasso {
public:
    // The `passo`-th write of a protected file (from 1) fails, or stops the change, as
    // `tipo` says. `ripristinoFallito` names a file (its name's end) that a roll-back or
    // a recovery cannot put back while this lives.
    explicit GuastoAlPasso(int passo, GuastoSimulato tipo = GuastoSimulato::Errore,
                           const QString& ripristinoFallito = {});
    ~GuastoAlPasso();
    GuastoAlPasso(const GuastoAlPasso&) = delete;
    GuastoAlPasso& operator=(const GuastoAlPasso&) = delete;

    // Whether the chosen write came: false once the change made fewer writes.
    bool scattato() const { return scattato_; }
    // The files written, in order, up to the failure.
    QStringList scritture() const { return scritture_; }

private:
    int passo_;
    bool scattato_ = false;
    QStringList scritture_;
};

// Every file of `cartella` (not the folders within) with its bytes, by name.
std::map<QString, QByteArray> fileDi(const QString& cartella);

// Makes `cartella` hold exactly the files `file` (by name, with their bytes): the others
// are removed, folders within are left alone.
void rimettiFile(const QString& cartella, const std::map<QString, QByteArray>& file);

// The same two for the whole tree below `cartella`, files named by their path within it
// ("Bak/CC1/Bak.MOV"): every file, hidden ones too; and the tree made to hold exactly
// them (other files and folders go).
std::map<QString, QByteArray> fileSotto(const QString& cartella);
void rimettiSotto(const QString& cartella, const std::map<QString, QByteArray>& file);

// A change of several files as the checks below run it.
struct ProvaModifica {
    QString cartella;                           // where its transaction lives
    std::function<void()> prepara;              // the files and the state it starts from
    std::function<bool(QString* testo)> esegui; // the change; false, saying why
    std::function<void()> riapri;               // what the program does next (opens the account)
    std::function<std::map<QString, QByteArray>()> file; // the files it may change
};

// The change, failing at each of its writes in turn, leaves every file as it was and
// says why; a roll-back that cannot put a file back names it, and the next opening puts
// it back; stopped after each write as a killed program stops, the change is put back
// whole, byte for byte, by the next opening. `prepara` runs before each try and should
// end as `riapri` does, so that what the opening rewrites from the data (the totals)
// is already so. Returns the number of writes of the change.
int provaModifica(const ProvaModifica& prova);

} // namespace qv::test
