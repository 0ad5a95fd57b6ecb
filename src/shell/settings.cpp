#include "settings.h"

#include "common/amounts.h"
#include "common/folder_lock.h"
#include "common/paths.h"
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/text_codec.h"
#include "program_files.h"
#include "startup.h"

#include <QDir>

#include <optional>

namespace qv {

namespace {

// True when every character survives the trip through the file's code page; any
// other character would come back as "?" and, in a password, lock the user out.
bool storable(const QString& text) {
    return fromCp1252(toCp1252(text)) == text;
}

SettingsOutcome refuse(SettingsField field, const QString& problem) {
    SettingsOutcome out;
    out.field = field;
    out.esito = Esito::rifiutato(problem, QStringLiteral("Attenzione"));
    return out;
}

// Checks one text field: its length and its characters.
QString fieldProblem(const QString& text, int width, const QString& name) {
    if (text.size() > width)
        return QStringLiteral("%1 può avere al massimo %2 caratteri.").arg(name).arg(width);
    if (!storable(text))
        return QStringLiteral("%1 contiene caratteri che non si possono salvare.").arg(name);
    return {};
}

} // namespace

SettingsTexts settingsTexts(const Impostazioni& imp) {
    SettingsTexts t;
    const QString percorso = imp.percorsoDati.trimmed();
    t.percorsoDati = percorso == QLatin1String("0") ? QString() : imp.percorsoDati;
    t.contoAvvio = imp.contoAvvio.trimmed();
    t.valutaPredefinita = imp.valutaPredefinita.trimmed();
    t.decimali = QString::number(imp.numeroDecimali);
    t.nomeUtente = imp.nomeUtente.trimmed();
    t.passwordUtente = imp.passwordUtente.trimmed();
    t.accessoConPassword = imp.accessoConPassword == -1;
    return t;
}

namespace {
// A typed folder with "/" for each backslash and no blanks around.
QString folderAsTyped(const QString& typed) {
    QString p = typed;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p.trimmed();
}
} // namespace

bool relativeDataFolder(const QString& typed) {
    const QString p = folderAsTyped(typed);
    const bool drivePath = p.size() >= 2 && p.at(1) == QLatin1Char(':') && p.at(0).isLetter();
    return !p.isEmpty() && p != QLatin1String("0") && !drivePath && !p.startsWith(QLatin1Char('/'));
}

QString storedDataFolder(const QString& typed, const QString& programFolder) {
    QString p = folderAsTyped(typed);
    if (p.isEmpty() || p == QLatin1String("0")) return QStringLiteral("0");
    // A folder without a leading "/" is one inside the program folder: the stored text
    // names it whole, so that it means the same wherever the program is started from.
    if (relativeDataFolder(p))
        p = programFolder.isEmpty() ? QDir::cleanPath(p)
                                    : QDir::cleanPath(folderWithSlash(programFolder) + p);
    if (!p.endsWith(QLatin1Char('/'))) p += QLatin1Char('/');
    return p;
}

namespace {

using Refusal = std::optional<SettingsOutcome>;

// Refused when `text` does not fit its field or holds a character the file cannot hold.
Refusal textRefusal(const QString& text, int width, const QString& name, SettingsField field) {
    if (QString p = fieldProblem(text, width, name); !p.isEmpty()) return refuse(field, p);
    return std::nullopt;
}

// The data folder to store for the typed one; refused when it cannot be stored.
Refusal takeDataFolder(const QString& typed, Impostazioni& imp) {
    if (hasControlCharacter(typed))
        return refuse(SettingsField::PercorsoDati,
                      QStringLiteral("Il percorso dati contiene caratteri non ammessi (caratteri "
                                     "di controllo): le impostazioni non sono state salvate."));
    imp.percorsoDati = storedDataFolder(typed, stato().PercorsoProgramma);
    // A folder inside the program folder whose whole path does not fit the record keeps
    // the text typed: start-up takes a stored folder without a leading "/" inside the
    // program folder too, so both spellings name the same folder.
    if (imp.percorsoDati.size() > kLarghezzaPercorsoDati && relativeDataFolder(typed))
        imp.percorsoDati = storedDataFolder(typed, QString());
    if (imp.percorsoDati.size() > kLarghezzaPercorsoDati)
        return refuse(SettingsField::PercorsoDati,
                      QStringLiteral("Il percorso dati può avere al massimo %1 caratteri, "
                                     "compresa la barra finale.")
                          .arg(kLarghezzaPercorsoDati));
    if (!storable(imp.percorsoDati))
        return refuse(SettingsField::PercorsoDati,
                      QStringLiteral("Il percorso dati contiene caratteri che non si possono "
                                     "salvare."));
    return std::nullopt;
}

// Another data folder for the next start: refused while another running Quorvanta
// holds it, so that the setting keeps the folder it had.
Refusal folderInUseRefusal(const QString& stored, const Impostazioni& previous) {
    if (stored == previous.percorsoDati.trimmed()) return std::nullopt;
    const QString cartella = cartellaDatiImpostata(stored, stato().PercorsoProgramma);
    if (cartellaInUsoAltrove(cartella))
        return refuse(SettingsField::PercorsoDati, testoCartellaInUso(cartella));
    return std::nullopt;
}

Refusal takeCurrency(const QString& typed, Impostazioni& imp) {
    imp.valutaPredefinita = typed.trimmed();
    if (Refusal r = textRefusal(imp.valutaPredefinita, kLarghezzaValuta,
                                QStringLiteral("La valuta predefinita"), SettingsField::Valuta))
        return r;
    // A line without a rate would be refused as display currency at every start.
    if (!imp.valutaPredefinita.isEmpty())
        if (auto slot = slotDellaLinea(imp.valutaPredefinita);
            slot && !cambioUtilizzabile(stato().TabellaValute[*slot].cambio))
            return refuse(SettingsField::Valuta,
                          QStringLiteral("Cambio non impostato per questa valuta"));
    return std::nullopt;
}

// An empty box keeps the decimals the settings had.
Refusal takeDecimals(const QString& typed, const Impostazioni& previous, Impostazioni& imp) {
    const QString decimali = typed.trimmed();
    if (decimali.isEmpty()) {
        imp.numeroDecimali = previous.numeroDecimali;
        return std::nullopt;
    }
    bool ok = false;
    const int n = decimali.toInt(&ok);
    if (!ok || n < -32768 || n > 32767)
        return refuse(SettingsField::Decimali,
                      QStringLiteral("Il numero di decimali deve essere compreso tra 0 e 3."));
    imp.numeroDecimali = qint16(n);
    return std::nullopt;
}

} // namespace

SettingsOutcome settingsFromTexts(const SettingsTexts& typed, const Impostazioni& previous) {
    Impostazioni imp;
    if (Refusal r = takeDataFolder(typed.percorsoDati, imp)) return *r;
    if (Refusal r = folderInUseRefusal(imp.percorsoDati, previous)) return *r;

    imp.contoAvvio = typed.contoAvvio.trimmed();
    if (Refusal r =
            textRefusal(imp.contoAvvio, kLarghezzaContoAvvio,
                        QStringLiteral("Il conto da aprire in avvio"), SettingsField::ContoAvvio))
        return *r;
    if (Refusal r = takeCurrency(typed.valutaPredefinita, imp)) return *r;
    if (Refusal r = takeDecimals(typed.decimali, previous, imp)) return *r;

    imp.nomeUtente = typed.nomeUtente;
    if (Refusal r = textRefusal(imp.nomeUtente, kLarghezzaNomeUtente,
                                QStringLiteral("Il nome utente"), SettingsField::NomeUtente))
        return *r;
    imp.passwordUtente = typed.passwordUtente;
    if (Refusal r = textRefusal(imp.passwordUtente, kLarghezzaPassword,
                                QStringLiteral("La password"), SettingsField::Password))
        return *r;
    imp.accessoConPassword = typed.accessoConPassword ? -1 : 0;

    SettingsOutcome out;
    out.record = imp;
    return out;
}

Esito saveSettings(const Impostazioni& imp) {
    RecordFile file(percorsoImpostazioni(), Impostazioni::Lunghezza);
    if (file.write(1, imp.toBytes())) return Esito::fatto();
    return Esito::fallito(file.errorString());
}

LoginCheck checkLogin(const Impostazioni& imp, const QString& userName, const QString& password) {
    if (imp.nomeUtente.trimmed() != userName) return LoginCheck::WrongUserName;
    if (imp.passwordUtente.trimmed() != password) return LoginCheck::WrongPassword;
    return LoginCheck::Accepted;
}

} // namespace qv
