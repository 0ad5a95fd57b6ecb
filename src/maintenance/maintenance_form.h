#pragma once
// What the windows of the archive maintenance share: the file-error dialog asked when a
// step fails, the message that ends a failed operation, the windows letting go of the
// movements they hold before the files change, the account read again afterwards; and
// the two operations of the menus that open no window of their own.

#include "common/esito.h"
#include "maintenance/file_set.h"

#include <QtGlobal>

#include <functional>

namespace qv {

// What the maintenance windows ask of windows that are not theirs, after the files
// changed; the main window answers.
struct RichiesteManutenzione {
    // The account archive read again, and the lists of accounts with it.
    std::function<void()> contiDaRileggere;
    // The movement form, when loaded, lets go of what it holds and lists the movements
    // in its order again.
    std::function<void()> movimentiDaRielencare;
};
void impostaRichiesteManutenzione(RichiesteManutenzione richieste);
const RichiesteManutenzione& richiesteManutenzione();

// What the user answered the file-error dialog "Errore Disco" last (2 when never asked).
struct RispostaErrori {
    qint16 codice = 2;
    bool chiesto = false;
};

// Asks ErroriFile about a failed step: Retry (0) tries the step again; any other answer
// gives the operation up, and is kept in `risposta`.
Riprova riprovaConErroriFile(RispostaErrori& risposta);

// Shows how an operation ended: a failure with the message of the dialog's answer
// ("Errore irrecuperabile", "Erore non riconosciuto", "Errore interno") and what was
// and was not done; a refusal or a warning as it is; nothing for a plain success.
void mostraEsitoManutenzione(const Esito& esito, const RispostaErrori& risposta);

// After the account's files changed (the operation that changed them has said so): its
// files read again, the movement form emptied with the next number and its list in its
// order, the list-order file; errors told.
void ricaricaContoAperto();
// The same with `carica` in place of the reading of the files: it sets memory as the
// reading would (the closing's caricaContoChiuso), its result told as the reading's is.
void ricaricaContoAperto(const std::function<Esito()>& carica);

// "Ripristina chiusura prec.": with nothing to put back, says so at once; else the
// warning, then the last closing undone and the account read again.
void eseguiRipristinoChiusura();

// "Riordina archivi": refused without an open account; else the account's cheque links
// rebuilt, the account read again, and the user told that it is done.
void eseguiRiordinoArchivi();

} // namespace qv
