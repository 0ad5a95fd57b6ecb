#pragma once
// The open account as the windows see it: one object that says, as Qt signals, what
// happened to the open account, so that the main window and the forms that show its
// data follow it without the procedures that change it knowing any window.

#include "common/esito.h"

#include <QObject>
#include <QString>

#include <utility>

namespace qv {

class ContoAperto : public QObject {
    Q_OBJECT
public:
    // The one object of the program.
    static ContoAperto& istanza();

    // Makes row `riga` of TabellaConti (1 to NumeroConti) the open account: its trimmed
    // code becomes CodiceContoAttivo and the row IndiceContoAttivo; then `aperto` is
    // said. The account's files are read when the movement form shows it. False, with
    // nothing changed, for a row that holds no account.
    bool apri(int riga);

    // Makes `cartella` the data folder in use (PercorsoDati, as impostaPercorsoDati sets
    // it), then says so (`cartellaDatiCambiata`). The open account is closed first by the
    // caller, in the folder it belonged to.
    void cambiaCartellaDati(const QString& cartella);

signals:
    // An account became the open one (its code and row are set, its files not read yet).
    void aperto();
    // The open account's files were read into the tables (opening, every reload).
    void caricato();
    // The four balances and the date of the last movement changed: the panels that
    // show them show them again.
    void saldiCambiati();
    // The movements were rewritten by a window other than the one that lists them:
    // their lists are built again.
    void movimentiCambiati();
    // The cheque books or their leaves changed: the cheque lists and counters follow.
    void assegniCambiati();
    // Every movement of the open account is about to go: a window that holds one out of
    // the balances gives it back, a window that shows them closes.
    void movimentiInCancellazione();
    // The open account is being closed: the windows that show its data close now,
    // while it is still open, giving back what they hold.
    void inChiusura();
    // No account is open any more.
    void chiuso();
    // Another data folder is in use (PercorsoDati); no account is open.
    void cartellaDatiCambiata();

private:
    ContoAperto() = default;
    friend void ChiudiConto();
    // What the procedures that change the account say happened (each emits its
    // signal). Only the computations say it, through AnnunciContoAperto
    // (ledger/open_account_announce.h), once their writes are done: a window
    // follows the signals and never emits them.
    friend struct AnnunciContoAperto;
    void annunciaSaldi() { emit saldiCambiati(); }
    void annunciaMovimenti() { emit movimentiCambiati(); }
    void annunciaAssegni() { emit assegniCambiati(); }
    void annunciaCaricamento() { emit caricato(); }
    void annunciaCancellazioneMovimenti() { emit movimentiInCancellazione(); }
};

inline ContoAperto& contoAperto() {
    return ContoAperto::istanza();
}

// Binds a window to the open account's data: `chiudi` (which unloads the window) runs
// when the account is closed and when its movements are about to go. Called once for each
// window that shows the open account's data: by the window itself, in its constructor; for
// the account sheet (Form10), by the main window as the sheet is made.
template <class Chiudi> void legaAlContoAperto(QObject* finestra, Chiudi chiudi) {
    QObject::connect(&contoAperto(), &ContoAperto::inChiusura, finestra, chiudi);
    QObject::connect(&contoAperto(), &ContoAperto::movimentiInCancellazione, finestra,
                     std::move(chiudi));
}

// Closes the open account: `inChiusura` (the windows of the account close), then the
// account is forgotten (CodiceContoAttivo, IndiceContoAttivo, Form9Aperta, the
// movements held out of the balances, the warnings already given), then `chiuso`.
// Works whether or not an account is open; the data folder, the display currency and
// the archives are not touched.
void ChiudiConto();

// The two warnings asked before the movements are cleared ("AVVERTIMENTO!", OK and
// Cancel, Cancel the default).
QString avvisoCancellaMovimenti();
QString confermaCancellaMovimenti();

// "Cancella Movimenti", once the user has confirmed twice: `movimentiInCancellazione` is
// said (a movement the movement form holds goes back, the other windows of the account
// close), then every file of the open account in the data folder (accountFilesIn: its
// code and an extension the program writes, nothing else) is deleted, as one change;
// its record in the account archive stays. No window holds a movement afterwards. Done
// when the files are gone (the caller then reloads the emptied account); refused with
// nothing changed when no account is open; failed, naming the file, when one cannot be
// deleted: every file is then as it was.
Esito cancellaMovimentiConto();

} // namespace qv
