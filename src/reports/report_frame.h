#pragma once
// The common page frame of the printed reports: each page opens with the report's
// header, body lines are counted, a page is closed with a rule and its number when
// the count reaches the report's threshold, and the document ends with the filling
// lines, the rule, the last page number and ".....fine stampa". Each report gives
// its header lines and its numbers; the frame computes the pages, apart from any
// printer, so that a test and the paper see the same lines.

#include "common/esito.h"
#include "common/printed_document.h"
#include "common/random_file.h"

#include <QDate>
#include <QString>

#include <algorithm>
#include <optional>
#include <vector>

namespace qv {

// The fonts of the printed pages.
inline const QString FontTitoli = QStringLiteral("Arial");
inline const QString FontCorpo = QStringLiteral("Courier New");
inline constexpr double CorpoTitolo = 18;
inline constexpr double CorpoConto = 12;
inline constexpr double CorpoTesto = 9.75;

// A rule: one blank followed by `trattini` hyphens (94 for the rule of the headers
// and of the end, 95 for the one that closes a full page).
QString righello(int trattini);

// A whole number with its sign place: a blank (or "-") and the digits (" 3", "-2").
QString numeroConSegno(int numero);
// A whole number as printed after text: numeroConSegno and one trailing blank.
QString numeroStampato(int numero);

// The numbers of a report's page frame. The defaults of the end block are those of
// the print menu's reports.
struct ReportLayout {
    int soglia = 57;              // body-line count at which the page breaks
    bool rigaVuotaAlSalto = true; // an empty line between the rule and "Pagina"
    int righeChiusura = 52;       // the closing line count
    bool rigaVuotaFinale = true;  // one more empty line after the filling lines
    int trattiniFinali = 94;      // the rule of the end block
    int spaziPaginaFinale = 43;   // blanks before "Pagina " in the end block
    QString fineStampa = QString(17, QLatin1Char(' ')) + QStringLiteral(".....fine stampa");
};

// The header lines a page starts with, each in its own font.
using ReportHeader = std::vector<PrintedLine>;

// A line in the body font (Courier New 9.75, not bold).
PrintedLine inCorpo(const QString& testo);

// The header of the print menu's reports:
//   Arial 18: an empty line, the title line, the second title line;
//   Arial 12: `righeConto` (the account line and an empty line, or two empty lines);
//   Courier New 9.75: the selection line (bold when `selezioneInGrassetto`);
//   the rule of 94, the column headings, the same rule and an empty line.
struct IntestazioneComune {
    QString titolo;
    QString sottotitolo = QString(37, QLatin1Char(' '));
    std::vector<QString> righeConto;
    QString selezione;
    bool selezioneInGrassetto = true;
    QString colonne;
};
ReportHeader intestazioneComune(const IntestazioneComune& parti);

// The pages of one report being laid out.
class ReportFrame {
public:
    // Starts the first page with the header.
    ReportFrame(ReportLayout layout, ReportHeader header);

    // A line in the body font that is not a body line (carry-forward, totals).
    void riga(const QString& testo);
    // A body line: the count grows by one; when it reaches the threshold the page is
    // closed (rule of 95, the empty line when the layout has it, "Pagina " and the
    // number), the next opens with the header and the count starts again at 1.
    void rigaCorpo(const QString& testo);
    // A line that counts as a body line but never breaks the page itself (the cheque
    // notes of the movement report).
    void rigaContata(const QString& testo);

    // The end: (closing count - body-line count) empty lines, the end block with the
    // last page number; gives the document.
    PrintedDocument chiudi();

    int pagina() const { return pagina_; }
    int contatore() const { return contatore_; }

private:
    void intestazione();

    ReportLayout layout_;
    ReportHeader header_;
    PrintedDocument documento_;
    int pagina_ = 1;
    int contatore_ = 0;
};

// What every printed report takes from the program: the open account's bank name
// (the main window's caption of it), the display currency as the main window's list
// shows it, today's date, the display rate and the amount pattern.
struct ContestoStampa {
    QString descConto;
    QString valuta;
    QDate oggi;
    double fattoreValuta = 1.0;
    QString formatoImporti;
};

// The context of the program as it stands: the bank name and the currency line the
// main window shows (TestoDescConto, TestoValuta), today, the rate and the pattern.
ContestoStampa contestoStampaCorrente();

// The usual account line: the bank name, "  ", 23 blanks, "Stampato il " and today
// as "DD-MM-YYYY".
QString rigaConto(const ContestoStampa& contesto);

// An amount in the base unit × the display rate, in the amount pattern,
// right-aligned in `larghezza`; a longer text is kept whole. Stored amounts go
// through importoContabile first.
QString importoStampato(const ContestoStampa& contesto, double importo, int larghezza);

// The calendar date of a date text "D/M/YYYY" (one or two digits for day and
// month), as the reports read their dates; nullopt when it is not a real date.
std::optional<QDate> dataStampa(const QString& testo);

// The date test of the reports: the date lies from `dal` to `al`, both included.
// When any of the three texts is not a real date (an empty field "__/__/____", the
// blank date "00/00/0000") the test cannot be made, and the row passes.
bool dataNelPeriodo(const QString& data, const QString& dal, const QString& al);

// A text field as it is stored: cut at, or padded with blanks to, its width.
QString campo(const QString& testo, int larghezza);

// What a printing procedure gives back: the document, or why there is none.
// A printout made, or why it could not be (failed, with the message, and no document).
using EsitoStampa = EsitoCon<PrintedDocument>;

// Rows 1 to count of a table in memory (the rows it holds, at most).
template <class R> std::vector<R> righeTabella(const std::vector<R>& tabella, int count) {
    const int n = std::clamp<int>(count, 0, int(tabella.size()) - 1);
    return std::vector<R>(tabella.begin() + 1, tabella.begin() + 1 + n);
}

// The message for a data file that exists but cannot be read; nothing is printed.
QString messaggioLetturaStampa(const QString& percorso, const QString& motivo);

// Records 1 to `count` of the file at `percorso` into `righe`, as many of them as the
// file holds: a missing file has none and is not created, a short one gives what it
// has (a report prints no rows of blanks). Empty, or the message when the file exists
// but cannot be read.
template <class R>
QString leggiPerStampa(const QString& percorso, int count, std::vector<R>& righe) {
    const int presenti = std::min(count, RecordFile(percorso, R::Lunghezza).recordCount());
    QString motivo;
    righe = leggiRecords<R>(percorso, std::max(presenti, 0), &motivo);
    return motivo.isEmpty() ? QString() : messaggioLetturaStampa(percorso, motivo);
}

} // namespace qv
