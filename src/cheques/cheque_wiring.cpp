#include "cheque_wiring.h"

#include "annulled_form.h"
#include "book_form.h"
#include "book_list_form.h"
#include "cheque_books.h"
#include "cheque_form.h"
#include "cheque_lists.h"
#include "ledger/account_loader.h"
#include "ledger/entry_form.h"
#include "situation_form.h"

namespace qv {

void collegaAssegni() {
    impostaDopoApriArchiviConto([] {
        ElencaAssegniAnnullati();
        CaricaCarnet();
        ElencaSituazioneAssegni();
    });
    Form9::impostaAzioniAssegni({
        .apriAssegno = mostraFormAssegniNonModale,
        .apriCarnet = mostraFormCarnetNonModale,
        .gestioneAssegni = gestioneAssegni,
        .gestioneCarnet = gestioneCarnet,
        .assegniAnnullati = mostraAssegniAnnullati,
        .archivioCarnet = [] { mostraElencoCarnet(ElencoPerMovimenti); },
        .situazioneAssegni = [] { ElencaSituazioneAssegni(); },
    });
}

} // namespace qv
