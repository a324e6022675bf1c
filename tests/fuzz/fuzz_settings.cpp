// The settings reader, for any bytes: a hand-edited file can hold anything.
//
// Whatever the reader makes of the bytes, a loaded store or a failure with the entries read so
// far, the file written from that store must load, with the seven settings, and a second
// round of writing and reading must change nothing. A number, or a number setting's text that
// reads as one in the user's locale, comes back as its single-precision value written with up
// to seven significant digits: within 1e-6 of it, relative. Any other text comes back as it
// was, unless it holds a double quote, which the format cannot carry.
#include "settings/settings_format.h"
#include "tests/fuzz/fuzz_support.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

using namespace ardovin;

namespace {

QString Describe(const SettingValue& value)
{
    if (const double* number = std::get_if<double>(&value))
        return QString::number(*number, 'g', 17);
    return fuzz::Shown(std::get<QString>(value));
}

// What reading the written file must give for one setting of the store it was written from.
void CheckKept(QLatin1StringView key, const SettingValue& before, const SettingValue& after)
{
    const QString context = QString(key) + QStringLiteral(": ") + Describe(before) +
                            QStringLiteral(" read back as ") + Describe(after);
    std::optional<double> number;
    if (const double* value = std::get_if<double>(&before))
        number = *value;
    else if (IsNumberSetting(key))
        number = ReadSingle(std::get<QString>(before)); // a number text, in the user's locale
    if (!number) {
        if (!std::get<QString>(before).contains(u'"'))
            FUZZ_REQUIRE(after == before, context);
        return;
    }
    const double* read = std::get_if<double>(&after);
    FUZZ_REQUIRE(read != nullptr, context);
    if (std::fabs(*number) > FLT_MAX) {
        FUZZ_REQUIRE(*read == *number, context); // written whole
        return;
    }
    const double single = static_cast<float>(*number);
    FUZZ_REQUIRE(std::fabs(*read - single) <= 1e-6 * std::fabs(single), context);
}

void RoundTrip(QByteArrayView file, const fuzz::FuzzLocale& locale)
{
    fuzz::UseLocale(locale);
    UserDefaults read;
    (void)ParseSettings(file, read);

    const QByteArray written = SettingsFileBytes(read);
    UserDefaults reread;
    FUZZ_REQUIRE(ParseSettings(written, reread) == LoadResult::Loaded,
                 QString::fromLatin1(written));
    FUZZ_REQUIRE(reread.size() == qsizetype(SettingKeysInFileOrder.size()),
                 QString::fromLatin1(written));
    for (const QLatin1StringView key : SettingKeysInFileOrder)
        if (const auto before = read.find(key))
            CheckKept(key, *before, *reread.find(key));

    const QByteArray rewritten = SettingsFileBytes(reread);
    UserDefaults third;
    FUZZ_REQUIRE(ParseSettings(rewritten, third) == LoadResult::Loaded,
                 QString::fromLatin1(rewritten));
    FUZZ_REQUIRE(SettingsFileBytes(third) == rewritten, QString::fromLatin1(rewritten));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView file(data, static_cast<qsizetype>(size));
    for (const fuzz::FuzzLocale& locale : fuzz::Locales())
        RoundTrip(file, locale);
    return 0;
}
