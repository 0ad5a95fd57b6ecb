#pragma once
// One reading of a movement typed in a form: from the texts of its fields to a movement
// (amount in Euro, flags as the program stores them) or a refusal that says what is
// wrong and which field takes the focus. The movement form (Form9), the alignment
// (Form4) and the change of a listed movement (Form20) call it; each checks the fields
// in its own order and with its own words, as the users of each have always seen them.

#include "common/esito.h"
#include "common/records.h"

#include <QString>

#include <optional>

namespace qv {

// The texts of a movement's fields as they stand in the form.
struct TestiMovimento {
    QString dataOperazione;  // DataOper ("__/__/____" when empty)
    QString dataValuta;      // DataValuta
    QString causale;         // Causale
    QString importo;         // IMPORTO, in the display currency
    QString numeroDocumento; // NrDoc
    QString descrizione;     // DescMovim
    QString sospeso;         // Sospeso
    QString entrataUscita;   // D_A
    QString annullato;       // Annullato (the change of a listed movement only)
};

enum class ModuloMovimento {
    // Form9: both dates required and checked whole, then the amount, then the causale
    // (the archive's or a reserved one: its defaults give the suspended flag, unless a
    // movement loaded for change already reads "N", and the direction, but for a
    // transfer between two or more accounts), then the amount's value and the rate.
    Immissione,
    // Form4: an empty operation date only takes the focus back; then as Immissione up to
    // the amount's value, the rate, and last the causale (a code other than the one
    // shown gives its direction, but a transfer keeps the one it has).
    Allineamento,
    // Form20: each date checked for day, month and year and rewritten "DD/MM/YYYY"; the
    // amount; a causale of the archive only; the three flags typed (S/N, E/U, S/N);
    // the rate.
    Modifica,
};

// What the reading needs to know beyond the texts.
struct ContestoLettura {
    // Immissione: a movement loaded for change (its "N" is kept over the causale's).
    bool inModifica = false;
    // Allineamento: the causale whose description and direction the form shows now.
    QString causaleMostrata;
    // The stored amount of the movement loaded for change, in Euro: a figure confirmed
    // exactly as the form shows it keeps this amount rather than the shown figure
    // divided back by the rate (which moves it whenever the rate is not 1).
    std::optional<double> importoMemorizzato;
};

// The causale of a typed movement: the record the code names (nothing when none does),
// its code as stored, and the suspended flag and direction the movement takes with it.
// Immissione: the causale's defaults, but a movement loaded for change keeps its "N",
// and a transfer between two or more accounts keeps the direction shown (the transfer
// gives it). Allineamento: the direction of a causale other than the one the form
// shows, but a transfer keeps a direction it has. Modifica: the flags as typed.
struct CausaleLetta {
    std::optional<VoceCausale> voce;
    QString codice;
    QString sospeso;
    QString entrataUscita;
};
CausaleLetta leggiCausale(const TestiMovimento& testi, ModuloMovimento modulo,
                          const ContestoLettura& contesto = {});

struct LetturaMovimento {
    // Done, or the first refusal in the form's order.
    Esito esito;
    // When done: the movement read (numero 0; dates as typed, the causale's code, the
    // amount divided by FattoreValuta, document, description, flags). Immissione and
    // Allineamento give annullato "N", Modifica the flag typed.
    Movimento movimento;
    // Whether the reading came as far as the causale, and what it found: what the form
    // shows of it, refused or not.
    bool causaleLetta = false;
    CausaleLetta causale;
    // The texts that passed their check as the reading rewrote them (Modifica: the dates
    // with two-digit day and month, the flags in capitals); empty for the others.
    TestiMovimento riscritti;
};

LetturaMovimento leggiMovimento(const TestiMovimento& testi, ModuloMovimento modulo,
                                const ContestoLettura& contesto = {});

// The causale a typed code names: the first of the causali archive whose code, trailing
// blanks removed, equals it; else "AS", "CA" or "GC" as the program needs them.
std::optional<VoceCausale> causaleDigitata(const QString& codice);

// The refusals the forms also give on their own (the causale looked up as the amount
// field takes the focus).
Esito rifiutoCausaleNonPresente();

// The refusals of the flags typed in the change of a listed movement.
QString messaggioSospesoErrato();
QString messaggioEntrataUscitaErrata();
QString messaggioAnnullatoErrato();

} // namespace qv
