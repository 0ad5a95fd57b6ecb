// The shared side of the maintenance windows, and the restore of the previous closing and
// the reorder of the archives as the menus start them.
#include "maintenance/maintenance_form.h"

#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "ledger/movement_files.h"
#include "maintenance/closing_restore.h"
#include "maintenance/reorder.h"
#include "platform/desktop.h"
#include "platform/errori_file.h"
#include "platform/form_host.h"
#include "platform/message_box.h"
#include "platform/requests.h"
#include "platform/result_box.h"

#include <QStringList>

#include <cerrno>

namespace qv {

void impostaRichiesteManutenzione(RichiesteManutenzione r) {
    Requests<RichiesteManutenzione>::set(std::move(r));
}

const RichiesteManutenzione& richiesteManutenzione() {
    return Requests<RichiesteManutenzione>::get();
}

Riprova riprovaConErroriFile(RispostaErrori& risposta) {
    return [&risposta](const GuastoFile& guasto) {
        // A failure without a system error number (a short write) reads as an I/O error.
        const int numero = guasto.osErrno != 0 ? guasto.osErrno : EIO;
        risposta.chiesto = true;
        risposta.codice =
            ErroriFile(numeroErroreFile(numero, guasto.cartellaMancante), guasto.percorso);
        return risposta.codice == 0;
    };
}

void mostraEsitoManutenzione(const Esito& esito, const RispostaErrori& risposta) {
    setHourglass(false);
    if (!esito.fallito()) {
        showResult(esito);
        return;
    }
    messageBox(closingMessage(risposta.codice) + QStringLiteral("\n\n") + esito.testo);
}

void ricaricaContoAperto() {
    ricaricaContoAperto([] { return ApriArchiviConto(); });
}

void ricaricaContoAperto(const std::function<Esito()>& carica) {
    QStringList errori;
    if (const Esito caricato = carica(); !caricato.testo.isEmpty()) errori << caricato.testo;
    if (contoAttivoAperto()) {
        // The movement form lists the movements in its order and shows the next number.
        if (const auto& rielenca = richiesteManutenzione().movimentiDaRielencare) rielenca();
        if (const Esito ordine = SalvaOrdine(); !ordine.ok()) errori << ordine.testo;
    }
    setHourglass(false);
    avvisaErroreFile(errori.join(u'\n'));
}

void eseguiRipristinoChiusura() {
    const auto& s = stato();
    // Nothing to put back (no closing of this account, or its copies gone): said at
    // once, without the warning about the movements that would be lost.
    const Esito possibile = controllaRipristinoChiusura(s.PercorsoDati, s.CodiceContoAttivo);
    if (!possibile.ok()) {
        showResult(possibile);
        return;
    }
    if (messageBox(avvisoRipristinoChiusura(), MessageButtons::OkCancel, MessageIcon::Exclamation,
                   QStringLiteral("AVVERTIMENTO!"), MessageAnswer::Cancel) != MessageAnswer::Ok)
        return;
    Hourglass attesa;
    RispostaErrori risposta;
    const Esito esito = RipristinaChiusuraPrecedente(s.PercorsoDati, s.CodiceContoAttivo,
                                                     riprovaConErroriFile(risposta));
    if (esito.ok()) ricaricaContoAperto();
    mostraEsitoManutenzione(esito, risposta);
}

void eseguiRiordinoArchivi() {
    if (!contoAttivoAperto()) {
        showResult(RiordinaArchivi());
        return;
    }
    Hourglass attesa;
    RispostaErrori risposta;
    const Esito esito = RiordinaArchivi(riprovaConErroriFile(risposta));
    if (esito.ok()) ricaricaContoAperto();
    mostraEsitoManutenzione(esito, risposta);
    if (esito.ok())
        messageBox(testoRiordinoEseguito(), MessageButtons::Ok, MessageIcon::Information);
}

} // namespace qv
