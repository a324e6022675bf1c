// Any text that reads as a finite number v is shown in the standard format, reads back within
// half a hundredth of v (and of v in single precision where v fits) and formats again the same;
// any other text comes back unchanged and has no single-precision value. A text is a number only
// where Qt reads it as one, or where it is the locale's own grouping that Qt refuses.
#include "tests/fuzz/fuzz_support.h"

#include <cfloat>
#include <cmath>

using namespace ardovin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const fuzz::Locale& locale : fuzz::Locales()) {
        locale.use();
        const ParsedNumber number = ParseNumber(text);
        const QString shown = FormatStandard(text);
        if (!number.value) {
            FUZZ_REQUIRE(shown == text && !number.single());
            continue;
        }
        bool qtReads = false;
        locale.locale.toDouble(text, &qtReads);
        FUZZ_REQUIRE(qtReads || locale.isGrouped(text));
        const double v = *number.value;
        FUZZ_REQUIRE(number.numeric && std::isfinite(v) && locale.isStandard(shown));
        const ParsedNumber back = ParseNumber(shown);
        FUZZ_REQUIRE(back.value &&
                     std::fabs(*back.value - v) <= 0.005 + 4 * DBL_EPSILON * std::fabs(v));
        FUZZ_REQUIRE(FormatStandard(shown) == shown);
        if (std::fabs(v) <= FLT_MAX)
            FUZZ_REQUIRE(back.single() && std::fabs(double(*back.single()) - double(float(v))) <=
                                              0.005 + 2 * FLT_EPSILON * std::fabs(v));
    }
    return 0;
}
