#pragma once
// The program's shared state: the module-level variables that every part of
// Quorvanta reads and writes (folders, the open account, the display currency,
// the tables loaded from the archives and the running balances). One instance
// lives for the whole program; tests reset it before each case.
//
// Tables are vectors that grow as needed; row 0 is kept unused (or scratch)
// so that row k is record k of its file, as the archives number them.

#include "records.h"

#include <QString>
#include <QStringList>
#include <array>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

namespace qv {

// What the ledger remembers of the open account's files between two of its changes
// (ledger/account_memory.h); made and read by the ledger alone.
struct MemoriaConto;

struct StatoProgramma {
    // Folders, each ending in "/".
    QString PercorsoProgramma;
    QString PercorsoDati;

    // Settings, colours and number format.
    Impostazioni ImpostazioniCorrenti;
    Colori ColoriElenchi;
    QString FormatoImporti;

    // Display currency: amounts are stored in Euro and shown multiplied by it.
    double FattoreValuta = 1.0;
    // What the main window shows of the display currency (the line of its Combo1) and
    // of the open account (its bank name, DescConto): the printed headings, the
    // conditions sheet and the transfer dialog read them. Empty without a main window.
    QString TestoValuta;
    QString TestoDescConto;
    std::array<Valuta, 16> TabellaValute{}; // slots 1..15

    // Account archive.
    std::vector<Conto> TabellaConti = std::vector<Conto>(1);
    qint16 NumeroConti = 0;
    qint16 IndiceContoAttivo = 0;
    QString CodiceContoAttivo; // empty when no account is open

    // Causali archive.
    std::vector<VoceCausale> TabellaCausali = std::vector<VoceCausale>(1);
    qint16 NumeroCausali = 0;
    qint16 IndiceCausaleScelta = 0;
    qint16 ModoElencoCausali = 0;

    // The open account's movements; row 0 is a scratch row.
    std::vector<Movimento> TabellaMovimenti = std::vector<Movimento>(1);
    qint16 NumeroMovimenti = 0;
    qint16 IndiceMovimentoScelto = 0;
    std::vector<Movimento> TabellaMovimentiOrdinati = std::vector<Movimento>(1);
    // Movements that windows hold out of the balances while the user changes them:
    // window name -> movement number, for the account named beside them.
    std::map<QString, qint16> MovimentiTrattenuti;
    QString ContoMovimentiTrattenuti;

    // Running balances, date bounds and the totals record of the open account.
    double SaldoContabile = 0;
    double SaldoNonSospesi = 0;
    double SaldoOperazioneOggi = 0;
    double SaldoValutaOggi = 0;
    QString PrimaDataOperazione;
    QString UltimaDataOperazione;
    QString PrimaDataValuta;
    QString UltimaDataValuta;
    TotaliConto TotaliContoAttivo;
    // What the ledger knows of the account's files since it last read or wrote them;
    // nothing after a reset.
    std::shared_ptr<MemoriaConto> MemoriaContoAttivo;
    // The warnings the last load of the open account gave (counts larger than their
    // records, amounts that cannot be counted), so that the reloads of the same account
    // do not repeat them; closing the account forgets them.
    QStringList AvvisiContoMostrati;

    // Cheque books and leaves of the open account.
    std::vector<CarnetAssegni> TabellaCarnet = std::vector<CarnetAssegni>(1);
    qint16 NumeroCarnet = 0;
    qint16 IndiceCarnetScelto = 0;
    std::vector<FoglioAssegno> TabellaFogli = std::vector<FoglioAssegno>(1);
    qint16 NumeroFogli = 0;
    qint16 IndiceFoglioScelto = 0;

    // Carry-forward and previous closing of the open account (row 1).
    std::array<Riporto, 2> TabellaRiporto{};
    std::array<RiportoPrecedente, 2> TabellaRiportoPrecedente{};

    // Interest and cost conditions of the account loaded last.
    InteressiCreditori DatiInteressiCreditori;
    InteressiDebitori DatiInteressiDebitori;
    Opzioni DatiOpzioni;
    OneriPassivi DatiOneriPassivi;
    SpeseVarie DatiSpeseVarie;

    // Which list forms are showing.
    qint16 Form9Aperta = 0;
    qint16 Form11Aperta = 0;
    qint16 StaffaAperta = 0; // 1 while the staffa window is loaded
};

// The one instance of the program.
StatoProgramma& stato();

// Back to a freshly started program (tests).
void resetStato();

// Whether an account is open (its trimmed code is not empty), and what the user is told
// when an operation needs one.
bool contoAttivoAperto();
QString testoNessunContoAperto();

// The path of a file of the open account: the data folder, the trimmed code of the
// open account and the extension (an existing file whose name differs only in case
// is used under its own spelling).
QString fileContoAttivo(const QString& estensione);

// Makes `tabella` the records as rows 1, 2, ... after a blank row 0, and `numero`
// their count, with room for `righeLibere` more rows after them.
template <class R>
void riempiTabella(std::vector<R>& tabella, qint16& numero, std::vector<R> righe,
                   std::size_t righeLibere = 0) {
    numero = qint16(righe.size());
    std::vector<R> nuova;
    nuova.reserve(1 + righe.size() + righeLibere);
    nuova.emplace_back();
    nuova.insert(nuova.end(), std::make_move_iterator(righe.begin()),
                 std::make_move_iterator(righe.end()));
    tabella = std::move(nuova);
}

} // namespace qv
