#pragma once
// What the conditions editor (Form26) shows and what its "Conferma" does, apart from
// the widgets: the texts and choices of its fields for the five records, the checks of
// what the user typed, and the records made of the fields.
//
// A field the user left as it was shown keeps the stored value exactly: rates are
// shown with three decimals and amounts in the display currency, so reading a shown
// text back would change 2,0625 into 2,063, or a fee by a rounding error at every
// save under a display rate other than 1.

#include "common/esito.h"
#include "conditions/conditions.h"

#include <QString>

#include <array>
#include <optional>

namespace qv {

// The display pattern of the rate fields.
inline constexpr QLatin1String FormatoTassi{"#,##0.000;(#,##0.000)"};

// The largest rate, either way, that a rate field takes: the largest 4-byte number below
// 10.000.000 (percent). Its text "(9.999.999,000)" is the longest any taken rate shows.
inline constexpr float TassoMassimo = 9999999.0F;

// A rate in FormatoTassi: "2,063", "(1,500)".
QString testoTasso(float tasso);

// A rate as typed or as shown, the Italian way, negative with "-" or in parentheses, as
// the 4-byte number the files hold; nullopt when the text is no number or the rate
// lies beyond TassoMassimo either way. testoTasso of the rate reads back as the rate.
std::optional<float> tassoDaTesto(const QString& testo);

// The fields of the editor. Arrays are numbered as the controls (element 0 unused):
// dataCreditori[k] is DataC<k>, tassoDebitori[k] PerD<k>, importo[k] IMPORTO<k>,
// per[k] Per<k>.
struct CampiCondizioni {
    std::array<QString, 6> dataCreditori;  // DataC1..5, "__/__/____" when empty
    std::array<QString, 6> tassoCreditori; // PerC1..5
    std::array<QString, 6> dataDebitori;   // DATAD1..5
    std::array<QString, 11> tassoDebitori; // PerD1..5 within, PerD6..10 beyond the line
    std::array<QString, 8> importo;        // IMPORTO1..7: fees 0..6, display currency
    std::array<bool, 8> trimestrale{};     // the "Trim." option of fee row 1..7 is selected
    QString descr1;                        // Descr1, Descr2: names of the free fees
    QString descr2;
    std::array<QString, 8> per; // Per1..7
    QString descr3;             // Descr3, Descr4: names of the free commissions
    QString descr4;
    QString baseLibera1; // the free commissions' bases as chosen in "Altre opzioni"
    QString baseLibera2;
    int divisore = 2;                // element of `divisore` selected, 0 to 3
    bool giorniDebitori360 = false;  // `giorni` 0 rather than 1
    bool giorniCreditori360 = false; // `giorni` 2 rather than 3
    int chiusura = 0;                // 0 `Tri`, 1 `Seme`, 2 `Ann`
    QString indInter;                // IndInter
    QString nrScritt;                // NrScritt
};

// "Annuale" (true) or "Trimestrale" for a fee's charging flag: yearly exactly when the
// flag is a digit other than "1"; a blank or absent flag, as in a record never saved,
// is quarterly.
bool addebitoAnnuale(const QString& flag);

// The fields showing the records: rates in FormatoTassi, amounts multiplied by the
// display rate in the amount pattern (a rate or an amount that no computation may count,
// tassoUtilizzabile or importoUtilizzabile, shows as 0, and a field left so saves 0), the minimum
// of movements as a decimal integer, the web address trimmed, the stored closing period, day bases
// ("1" 360 days, any other 365), divisor (1 to 4, else "dividi x 100"), charging options.
CampiCondizioni campiDaCondizioni(const CondizioniConto& c, double fattoreValuta,
                                  const QString& formatoImporti);

// The texts of the refusals.
QString testoDateNonCrescenti();
QString testoMinimoMovimentiErrato();
// A rate that is no number, or beyond TassoMassimo either way, in the field named `nome`.
QString testoTassoNonValido(const QString& nome);

// Checks the fields and makes the five records of them, starting from `caricate` (the
// records the editor showed, as `mostrati`):
//  1. the start dates, in the order DATAD1 to DATAD5, DataC1 to DataC5: the first of
//     each series always, the others when not empty; a date must be complete and real
//     (the long date message, title "Errore"; the field is emptied);
//  2. each set start date must come after the previous set one of its series
//     (testoDateNonCrescenti, title "ERRORE");
//  3. every rate, amount and the minimum of movements that differs from its shown text
//     and is not empty must be a number the Italian way (rates as tassoDaTesto reads
//     them, up to TassoMassimo either way; amounts are positive and divided by the display
//     rate; the minimum is a whole number from 0 to 32767), else it is refused (title
//     "ERRORE"): a rate with testoTassoNonValido naming its field, an amount that would
//     be stored as one no computation may count with amountTooLargeMessage, any other
//     amount with amountErrorMessage. An empty one keeps its stored value, and so does one
//     left as shown.
// Texts are cut to their field's width.
// A refusal names the field that takes the focus (`campo`), emptied first for a bad date.
Esito condizioniDaCampi(const CampiCondizioni& campi, const CampiCondizioni& mostrati,
                        const CondizioniConto& caricate, double fattoreValuta,
                        CondizioniConto* nuove);

// "Conferma": condizioniDaCampi from the shared records at the display rate in force,
// then the shared records replaced and saved (SalvaCondizioni). When the save fails the
// shared records are put back as they were and the outcome says why.
Esito confermaCondizioni(const CampiCondizioni& campi, const CampiCondizioni& mostrati);

} // namespace qv
