#include "open_account.h"

#include "common/shared_state.h"

namespace qv::test {

void showAmountsInEuro() {
    stato().FormatoImporti = QStringLiteral("#,###,###,##0.00");
    stato().FattoreValuta = 1.0;
}

void openTestAccount(const char* codice, const char* banca) {
    showAmountsInEuro();
    auto& s = stato();
    Conto c;
    c.numero = 1;
    c.codiceConto = QString::fromLatin1(codice);
    c.nomeBanca = QString::fromLatin1(banca);
    s.TabellaConti = {Conto{}, c};
    s.NumeroConti = 1;
    s.IndiceContoAttivo = 1;
    s.CodiceContoAttivo = c.codiceConto;
}

VoceCausale causaleEntry(qint16 numero, const char* codice, const char* descrizione,
                         const char* sospeso, const char* entrataUscita) {
    VoceCausale v;
    v.numero = numero;
    v.codiceCausale = QString::fromLatin1(codice);
    v.descrizione = QString::fromLatin1(descrizione);
    v.sospeso = QString::fromLatin1(sospeso);
    v.entrataUscita = QString::fromLatin1(entrataUscita);
    return v;
}

void setCausali(std::initializer_list<VoceCausale> voci) {
    auto& s = stato();
    s.TabellaCausali.assign(1, VoceCausale{});
    s.TabellaCausali.insert(s.TabellaCausali.end(), voci);
    s.NumeroCausali = qint16(voci.size());
}

} // namespace qv::test
