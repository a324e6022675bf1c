#pragma once

#include <optional>
#include <QLocale>
#include <QString>

namespace ardovin {

// The user's locale as Ardovin reads and shows numbers: the default QLocale, with digit
// grouping always shown and always accepted (the C locale would otherwise omit it).
QLocale NumberLocale();

// A count with its noun, the number in the user's locale: "1 batch", "1.200 entries".
QString Count(qsizetype n, const char* one, const char* many);

// What a field text says as a number. A text can be numeric and still not fit: 1e39 is a
// number, but not a single-precision one, and the validation must tell the two apart.
struct ParsedNumber
{
    bool numeric = false;        // the whole text is a number in the user's locale
    std::optional<double> value; // set when the number also fits double precision

    // The number in single precision, when it fits.
    std::optional<float> single() const;
};

ParsedNumber ParseNumber(const QString& text, const QLocale& locale = NumberLocale());

inline bool IsNumeric(const QString& text)
{
    return ParseNumber(text).numeric;
}
inline std::optional<double> ReadDouble(const QString& text)
{
    return ParseNumber(text).value;
}
inline std::optional<float> ReadSingle(const QString& text)
{
    return ParseNumber(text).single();
}

// Two decimals, grouped thousands, the locale's separators; zero (and anything that rounds
// to it) is 0.00, never -0.00. A value that is not finite is shown as 0.00.
QString FormatStandard(double value, const QLocale& locale = NumberLocale());

// The number that the text reads as, formatted; a text that is not a number comes back
// unchanged.
QString FormatStandard(const QString& text, const QLocale& locale = NumberLocale());

// Rounds a double-precision result to the single precision in which results are stored.
// A result that is not finite or beyond single precision (a division by zero, an overflow)
// is stored as 0, so that no infinity or NaN ever reaches the screen.
float StoreSingle(double value);

} // namespace ardovin
