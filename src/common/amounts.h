#pragma once
// Amounts as the user sees and types them: number patterns printed with the Italian
// marks ("." groups thousands, "," starts the decimals) whatever the machine's locale,
// and typed amounts read the same way.

#include <QString>
#include <optional>

namespace qv {

// The display pattern of amounts for 0 to 4 decimals ("#,###,###,##0" to
// "#,###,###,##0.0000"); an empty text for any other count.
QString formatoImporti(int numeroDecimali);

// Formats a value with a number pattern:
//   "0"  a digit always shown;  "#"  a digit shown only when significant;
//   ","  between digit places: group the integer digits by three with ".";
//   "."  starts the decimals, printed as ",";
//   ";"  separates the sections for positive, negative and zero values;
//   any other character (or "\x", or text in double quotes) is printed as it stands,
//   before or after the number.
// The value is rounded to the pattern's decimals, half away from zero, on the value
// taken to 15 significant digits (1.005 with two decimals gives "1,01"). Negatives get
// a leading "-" unless a negative section is given; a value that rounds to zero shows
// no sign. As the classic Format function did, an integer part made only of "#" prints
// nothing for a zero integer part, and the decimal mark is printed whenever the
// pattern has one ("#.##" of 0 gives ",").
// An empty pattern gives the number as general text with "," as decimal mark.
// A value that is not finite gives an empty text.
QString formatNumber(double value, const QString& pattern);

// A number pattern read once, for formatting many values with it: the same texts as
// formatNumber with that pattern.
class NumberFormat {
public:
    explicit NumberFormat(const QString& pattern = QString());
    QString operator()(double value) const;
    // rightAlign(operator()(value), width) appended to `out`, with no text of its own:
    // a printout of thousands of amounts makes them straight into its lines.
    void appendRightAligned(QString& out, double value, int width) const;

    // One section of a pattern, read into what the formatter needs.
    struct Section {
        QString prefix;           // literal text before the first digit place
        QString suffix;           // literal text after the last digit place
        int minIntDigits = 0;     // digit places from the first "0" of the integer part
        int maxDecimals = 0;      // digit places after the "."
        int minDecimals = 0;      // up to the last "0" after the "."
        bool grouping = false;    // a "," between two integer digit places
        bool decimalMark = false; // the pattern has a "."
    };

private:
    bool general_ = true; // an empty pattern: the number as general text
    Section positive_;
    std::optional<Section> negative_;
    std::optional<Section> zero_;
};

// Blanks in front of the text until it has n characters; a longer text is kept whole.
QString rightAlign(const QString& text, int n);

// A rate that can be used to convert: a positive finite number.
bool cambioUtilizzabile(double cambio);

// A stored amount (Euro) shown in the display currency: formatNumber(stored × rate).
QString formatAmount(double stored, double fattoreValuta, const QString& pattern);

// The stored amount (Euro) that a confirmed figure in the display currency stands for.
// A figure that shows exactly as the stored amount does in the display pattern is the
// stored amount untouched, and keeps it: the figure shown is rounded to the pattern's
// decimals, and dividing it back by the rate would move the stored amount (250,50 Euro
// shown as 485.035,64 Lire comes back as 250,5000026). Any other figure is divided by
// the rate.
double importoConfermato(double digitato, double memorizzato, double fattoreValuta,
                         const QString& pattern);

// A figure of a form in the display currency of rate `prima`, shown again once the display
// currency of rate `dopo` has been chosen, so that it keeps standing for the same amount:
// the held movement's own figure (as importoConfermato reads it) becomes its stored
// amount in the new currency, any other figure is converted. A text that is no amount,
// or a rate that cannot be used, stays as it is.
QString cifraNellaNuovaValuta(const QString& testo, double prima, double dopo,
                              std::optional<double> memorizzato, const QString& pattern);

// Reads a typed amount the Italian way: "1.234,56", "1234,56", "0", ",5", blanks
// around are ignored. A "." is accepted only as a thousands separator between groups
// of three digits; at most one ",". A leading "+" is allowed, a leading "-" only when
// allowNegative. Anything else, an empty text, or a number too large to hold gives
// nullopt.
std::optional<double> parseAmount(const QString& text, bool allowNegative = false);

// The message shown when parseAmount refuses a typed amount.
QString amountErrorMessage(bool allowNegative = false);

// The message shown for a typed amount that is a number but would be stored as an amount
// no computation may count (importoUtilizzabile): too large for the program.
QString amountTooLargeMessage();

// Why a typed amount cannot be taken, "" when it can: amountTooLargeMessage for a number
// that, stored at the display rate `fattoreValuta`, would be an amount no computation
// may count (or that is too long to read at all), amountErrorMessage for anything else
// parseAmount refuses.
QString amountRefusalMessage(const QString& text, double fattoreValuta, bool allowNegative = false);

// Stored amounts that no computation may count: not finite, or 1e13 or more in
// absolute value (beyond fifteen significant digits at two decimals), which only a
// damaged record holds. Every sum over stored amounts (balances, staffa, statement,
// reports, closing) counts such an amount as 0, and no such number is ever written.
inline constexpr double LimiteImporto = 1e13;
bool importoUtilizzabile(double importo);
// The amount when usable, else 0.
double importoContabile(double importo);

} // namespace qv
