#include "core/numbers.h"

#include <cfloat>
#include <charconv>
#include <cmath>

namespace ardovin {

namespace {

// The texts the program writes and the user types are mostly plain digits with a decimal
// separator. QLocale::toDouble handles every form but spends most of a microsecond on
// locale mapping; these plain texts are read directly, with the same correctly rounded result.
std::optional<double> ReadPlainDecimal(const QString& text, const QLocale& locale)
{
    constexpr qsizetype MaxPlainLength = 32;
    if (text.isEmpty() || text.size() > MaxPlainLength || locale.zeroDigit() != u"0")
        return std::nullopt;
    const QString decimalPoint = locale.decimalPoint();
    if (decimalPoint.size() != 1)
        return std::nullopt;
    char buffer[MaxPlainLength];
    bool seenPoint = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9') {
            buffer[i] = static_cast<char>(c.unicode());
        } else if (c == decimalPoint.front() && !seenPoint) {
            seenPoint = true;
            buffer[i] = '.';
        } else {
            return std::nullopt;
        }
    }
    double value = 0;
    const char* end = buffer + text.size();
    const auto [ptr, error] = std::from_chars(buffer, end, value);
    if (error != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

QLocale NumberLocale()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() &
                            ~(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator));
    return locale;
}

std::optional<float> ParsedNumber::single() const
{
    if (!value || std::fabs(*value) > FLT_MAX)
        return std::nullopt;
    return static_cast<float>(*value);
}

ParsedNumber ParseNumber(const QString& text, const QLocale& locale)
{
    if (const auto plain = ReadPlainDecimal(text, locale))
        return {true, *plain};
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (ok && std::isfinite(value))
        return {true, value};
    // QLocale reports an overflow as a failure holding infinity: the text is still a number,
    // just too large to hold. A literal "inf" or "nan" reads as ok and is not a number here.
    if (!ok && std::isinf(value))
        return {true, std::nullopt};
    return {};
}

QString FormatStandard(double value, const QLocale& locale)
{
    // Anything below half a hundredth shows as zero, and zero carries no sign.
    if (!std::isfinite(value) || std::fabs(value) < 0.005)
        value = 0.0;
    return locale.toString(value, 'f', 2);
}

QString FormatStandard(const QString& text, const QLocale& locale)
{
    const ParsedNumber number = ParseNumber(text, locale);
    return number.value ? FormatStandard(*number.value, locale) : text;
}

float StoreSingle(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX)
        return 0.0f;
    return static_cast<float>(value);
}

} // namespace ardovin
