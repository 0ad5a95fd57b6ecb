#pragma once
// The settings record as the settings form shows and stores it, and the login's
// comparison with the stored user name and password. No widgets here: the forms
// read their boxes into these texts and write them back.

#include "common/esito.h"
#include "common/records.h"

#include <QString>

namespace qv {

// What each text field of the settings record can hold.
inline constexpr int kLarghezzaPercorsoDati = 35;
inline constexpr int kLarghezzaContoAvvio = 12;
inline constexpr int kLarghezzaValuta = 25;
inline constexpr int kLarghezzaNomeUtente = 30;
inline constexpr int kLarghezzaPassword = 10;

// The settings as the form's boxes hold them.
struct SettingsTexts {
    QString percorsoDati;      // data folder, empty for the default folder
    QString contoAvvio;        // start-up account code
    QString valutaPredefinita; // a whole currency line, empty for none
    QString decimali;          // decimals of amounts
    QString nomeUtente;
    QString passwordUtente;
    bool accessoConPassword = false;
};

// What the form shows of a stored record: the folder empty when it is "0", the
// account, user and password trimmed, the decimals as a number, the login box
// ticked only for exactly -1.
SettingsTexts settingsTexts(const Impostazioni& imp);

// The data folder as it is stored: "\" becomes "/", blanks around are dropped and
// a final "/" is added; an empty text or "0" gives "0" (the default folder). A folder
// typed without a leading "/" (nor a Windows drive) is one inside programFolder, and
// is stored as its whole path there (with an empty programFolder: as the cleaned relative
// text, which start-up also takes inside the program folder).
QString storedDataFolder(const QString& typed, const QString& programFolder);
// Whether a typed data folder is one inside the program folder (see storedDataFolder).
bool relativeDataFolder(const QString& typed);

// Which box a refusal is about, so that the form can give it the focus.
enum class SettingsField { None, PercorsoDati, ContoAvvio, Valuta, Decimali, NomeUtente, Password };

struct SettingsOutcome {
    Impostazioni record; // what to store, when the texts are not refused
    Esito esito;         // refused: why the texts cannot be stored (Italian)
    SettingsField field = SettingsField::None;
    bool ok() const { return esito.ok(); }
};

// The record to store for the typed texts. Nothing is cut: a text longer than
// its field, or holding a character the file cannot hold, is refused with the
// reason (a folder inside the program folder whose whole path is too long says so),
// and so is a data folder holding a control character, or one other than
// previous.percorsoDati that another running Quorvanta holds. An empty decimals box
// keeps previous.numeroDecimali.
SettingsOutcome settingsFromTexts(const SettingsTexts& typed, const Impostazioni& previous);

// Writes the record as record 1 of Imposta.DAT; on failure, the result says why, in
// Italian, for the user (without the file's name).
Esito saveSettings(const Impostazioni& imp);

// The login's check of a typed pair against the settings: the stored name and
// password trimmed, the typed ones exactly as typed, case-sensitive.
enum class LoginCheck { Accepted, WrongUserName, WrongPassword };
LoginCheck checkLogin(const Impostazioni& imp, const QString& userName, const QString& password);

} // namespace qv
