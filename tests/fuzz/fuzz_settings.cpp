// The settings reader, for any bytes: a hand-edited file can hold anything. The file written
// from whatever was read loads with the seven settings, each value as it was read, and writing
// and reading it once more changes nothing.
#include "settings/settings_format.h"
#include "tests/fuzz/fuzz_support.h"

#include <cfloat>
#include <cmath>

using namespace ardovin;

// A number (or a number setting's text that reads as one) comes back within 1e-6 of its
// single-precision value, one beyond single precision whole; any other text as it was, unless
// it holds a double quote, which the format cannot carry.
static bool Kept(const SettingSpec& setting, const SettingValue& before, const SettingValue& after)
{
    const double* number = std::get_if<double>(&before);
    std::optional<double> expected = number ? std::optional(*number) : std::nullopt;
    if (!number && setting.isNumber())
        expected = ReadSingle(std::get<QString>(before));
    if (!expected)
        return after == before || std::get<QString>(before).contains(u'"');
    if (std::fabs(*expected) > FLT_MAX)
        return after == SettingValue(*expected);
    const double single = float(*expected), *saved = std::get_if<double>(&after);
    return saved && std::fabs(*saved - single) <= 1e-6 * std::fabs(single);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const fuzz::Locale& locale : fuzz::Locales()) {
        locale.use();
        UserDefaults read, reread, third;
        (void)ParseSettings(QByteArrayView(data, qsizetype(size)), read);
        const QByteArray written = SettingsFileBytes(read);
        FUZZ_REQUIRE(ParseSettings(written, reread) == LoadResult::Loaded && reread.size() == 7);
        for (const SettingSpec& setting : DefaultSettings)
            if (const auto before = read.find(setting.key))
                FUZZ_REQUIRE(Kept(setting, *before, *reread.find(setting.key)));
        const QByteArray rewritten = SettingsFileBytes(reread);
        FUZZ_REQUIRE(ParseSettings(rewritten, third) == LoadResult::Loaded &&
                     SettingsFileBytes(third) == rewritten);
    }
    return 0;
}
