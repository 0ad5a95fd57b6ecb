#pragma once
// What a procedure over records and files answers, instead of showing it: done (with a
// warning to give when something after the work could not be done), refused (what the
// user is told, with the title and icon of the box and the control that takes the
// focus back), or failed (why a file could not be read or written). The forms show it
// with showResult (platform/result_box.h), in the program's message boxes.
//
// A procedure that gives a value as well answers EsitoCon<T>: the result and the value.
// Apart stay RecoveryResult (transaction.h) and LetturaConti (archives/accounts.h), which
// carry states and lists beyond done, refused and failed, and the file primitives
// (safe_write.h, random_file.h, disk_sync.h: a flag, the reason through a pointer), whose
// reason the user only sees worded by the transaction or the procedure above them.

#include <QString>

#include <utility>

namespace qv {

// The icon of the box that shows a result.
enum class IconaEsito { Nessuna, Errore, Domanda, Avviso, Informazione };

struct Esito {
    enum class Stato { Fatto, Rifiutato, Fallito };

    Stato stato = Stato::Fatto;
    // What the user is told; for a result that is done, a warning ("" for none).
    QString testo;
    // The title of the box; "" gives the program's own title.
    QString titolo;
    IconaEsito icona = IconaEsito::Avviso;
    // The objectName of the control that takes the focus after the box ("" none).
    QString campo;
    // The control is emptied before it takes the focus.
    bool svuotaCampo = false;
    // A beep comes before the box.
    bool beep = false;

    static Esito fatto(const QString& avviso = {},
                       const QString& titolo = QStringLiteral("ERRORE")) {
        Esito e;
        e.testo = avviso;
        e.titolo = titolo;
        return e;
    }
    static Esito rifiutato(const QString& testo, const QString& titolo, const QString& campo = {}) {
        Esito e;
        e.stato = Stato::Rifiutato;
        e.testo = testo;
        e.titolo = titolo;
        e.campo = campo;
        return e;
    }
    static Esito fallito(const QString& motivo, const QString& titolo = QStringLiteral("ERRORE")) {
        Esito e;
        e.stato = Stato::Fallito;
        e.testo = motivo;
        e.titolo = titolo;
        return e;
    }

    bool ok() const { return stato == Stato::Fatto; }
    bool rifiutato() const { return stato == Stato::Rifiutato; }
    bool fallito() const { return stato == Stato::Fallito; }

    // Setters that read as the refusal is built: Esito::rifiutato(...).conIcona(...).
    Esito& conIcona(IconaEsito i) {
        icona = i;
        return *this;
    }
    Esito& svuotando() {
        svuotaCampo = true;
        return *this;
    }
    Esito& conBeep() {
        beep = true;
        return *this;
    }
};

// A result with the value the procedure gives beside it. The value is there whatever
// the result says: each procedure tells what it holds when the result is not done
// (what could be read, zeros, or nothing at all: T's default). A result alone becomes an
// EsitoCon with T's default, so that `return Esito::fallito(...)` reads as it does
// elsewhere.
template <class T> struct EsitoCon {
    Esito esito;
    T valore{};

    EsitoCon() = default;
    EsitoCon(Esito e, T v = T{}) : esito(std::move(e)), valore(std::move(v)) {}

    bool ok() const { return esito.ok(); }
};

} // namespace qv
