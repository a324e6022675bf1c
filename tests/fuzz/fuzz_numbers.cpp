// Number reading and the standard format, for any text in an English and a German locale.
//
// The properties, for a text that reads as a finite number v:
// - FormatStandard gives a well-formed standard number, never infinity, NaN or -0.00;
// - that text reads back as r with |r - v| <= 0.005 + 4 * DBL_EPSILON * |v|: rounding to two
//   decimals moves the value by at most half a hundredth, and writing and reading the digits
//   adds a few units in the last place of a double;
// - in single precision likewise, |float(r) - float(v)| <= 0.005 + 2 * FLT_EPSILON * |v|;
// - formatting the formatted text again changes nothing.
// A text that does not read comes back from FormatStandard unchanged. The first eight bytes,
// taken as the bits of a double, are formatted too: any finite value as above, infinity and
// NaN as 0.00.
#include "tests/fuzz/fuzz_support.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

using namespace ardovin;

namespace {

void CheckShown(const QString& shown, double value, const fuzz::FuzzLocale& fuzzLocale,
                const QString& input)
{
    const QLocale& locale = fuzzLocale.locale;
    const QString context = fuzz::Shown(input) + QStringLiteral(" shown as ") + fuzz::Shown(shown);
    FUZZ_REQUIRE(fuzzLocale.standard.matches(shown), context);
    const ParsedNumber back = ParseNumber(shown, locale);
    FUZZ_REQUIRE(back.numeric && back.value, context);
    const double r = *back.value;
    FUZZ_REQUIRE(std::fabs(r - value) <= 0.005 + 4 * DBL_EPSILON * std::fabs(value), context);
    if (std::fabs(value) < 0.005)
        FUZZ_REQUIRE(shown == FormatStandard(0.0, locale), context);
    FUZZ_REQUIRE(FormatStandard(shown, locale) == shown, context);
    if (std::fabs(value) <= FLT_MAX) {
        const std::optional<float> single = back.single();
        FUZZ_REQUIRE(single.has_value(), context);
        const double difference = std::fabs(double(*single) - double(float(value)));
        FUZZ_REQUIRE(difference <= 0.005 + 2 * FLT_EPSILON * std::fabs(value), context);
    }
}

void CheckText(const QString& text, const fuzz::FuzzLocale& fuzzLocale)
{
    const QLocale& locale = fuzzLocale.locale;
    const ParsedNumber number = ParseNumber(text, locale);
    const QString shown = FormatStandard(text, locale);
    const QString context = QString::fromLatin1(fuzzLocale.name) + u' ' + fuzz::Shown(text);
    if (number.value) {
        FUZZ_REQUIRE(number.numeric && std::isfinite(*number.value), context);
        CheckShown(shown, *number.value, fuzzLocale, text);
    } else {
        FUZZ_REQUIRE(shown == text, context);
        FUZZ_REQUIRE(!number.single(), context);
    }
}

void CheckBits(const uint8_t* data, size_t size, const fuzz::FuzzLocale& fuzzLocale)
{
    double value = 0;
    if (size < sizeof value)
        return;
    std::memcpy(&value, data, sizeof value);
    const QLocale& locale = fuzzLocale.locale;
    const QString shown = FormatStandard(value, locale);
    const QString input = QString::number(value, 'g', 17);
    if (!std::isfinite(value))
        FUZZ_REQUIRE(shown == FormatStandard(0.0, locale), input);
    else
        CheckShown(shown, value, fuzzLocale, input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const fuzz::FuzzLocale& locale : fuzz::Locales()) {
        CheckText(text, locale);
        CheckBits(data, size, locale);
    }
    return 0;
}
