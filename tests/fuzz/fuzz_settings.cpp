// The settings reader, for any bytes: a hand-edited file can hold anything. The file written
// from whatever was read loads with the seven settings, and writing and reading it once more
// changes nothing. A number (or a number setting's text that reads as one) comes back within
// 1e-6 of its single-precision value, one beyond single precision whole; any other text as it
// was, unless it holds a double quote, which the format cannot carry.
#include "settings/settings_format.h"
#include "tests/fuzz/fuzz_support.h"

#include <cfloat>
#include <cmath>

using namespace ardovin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const fuzz::Locale& locale : fuzz::Locales()) {
        locale.use();
        UserDefaults read, reread, third;
        (void)ParseSettings(QByteArrayView(data, qsizetype(size)), read);
        const QByteArray written = SettingsFileBytes(read);
        FUZZ_REQUIRE(ParseSettings(written, reread) == LoadResult::Loaded && reread.size() == 7,
                     QString::fromLatin1(written));
        for (const QLatin1StringView key : SettingKeysInFileOrder) {
            const auto before = read.find(key);
            if (!before)
                continue;
            const SettingValue after = *reread.find(key);
            const double* number = std::get_if<double>(&*before);
            double expected = number ? *number : qQNaN(); // NaN: not a number at all
            if (!number && IsNumberSetting(key))
                if (const auto single = ReadSingle(std::get<QString>(*before)))
                    expected = *single;
            const QString context =
                QString(key) + QStringLiteral(": ") + QString::fromLatin1(written);
            if (std::isnan(expected)) {
                FUZZ_REQUIRE(after == *before || std::get<QString>(*before).contains(u'"'),
                             context);
            } else if (std::fabs(expected) > FLT_MAX) {
                FUZZ_REQUIRE(after == SettingValue(expected), context);
            } else {
                const double single = float(expected);
                FUZZ_REQUIRE(std::holds_alternative<double>(after) &&
                                 std::fabs(std::get<double>(after) - single) <=
                                     1e-6 * std::fabs(single),
                             context);
            }
        }
        const QByteArray rewritten = SettingsFileBytes(reread);
        FUZZ_REQUIRE(ParseSettings(rewritten, third) == LoadResult::Loaded &&
                         SettingsFileBytes(third) == rewritten,
                     QString::fromLatin1(rewritten));
    }
    return 0;
}
