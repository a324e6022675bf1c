#pragma once

#include "core/numbers.h"
#include "tests/fuzz/standard_format_check.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <QByteArray>
#include <QLocale>
#include <QString>

// A property that does not hold is a finding: say which and with what, then abort, so that
// libFuzzer keeps the input and the replay test fails.
#define FUZZ_REQUIRE(condition, detail)                                                            \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s does not hold: %s\n", __FILE__, __LINE__, #condition,  \
                         QString(detail).toUtf8().constData());                                    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

// The two locales every input is tried in: a point and a comma as decimal separator.
struct FuzzLocale
{
    FuzzLocale(const char* localeName, const QLocale& numberLocale)
        : name(localeName), locale(numberLocale), standard(numberLocale)
    {
    }

    const char* name;
    QLocale locale;
    StandardFormatCheck standard;
};

inline const std::array<FuzzLocale, 2>& Locales()
{
    static const std::array<FuzzLocale, 2> locales = [] {
        auto number = [](QLocale::Language language, QLocale::Territory territory) {
            QLocale::setDefault(QLocale(language, territory));
            return ardovin::NumberLocale();
        };
        return std::array<FuzzLocale, 2>{
            FuzzLocale{"English", number(QLocale::English, QLocale::UnitedStates)},
            FuzzLocale{"German", number(QLocale::German, QLocale::Germany)}};
    }();
    return locales;
}

// Makes the locale the user's, as the program reads numbers in the default one.
inline void UseLocale(const FuzzLocale& locale)
{
    QLocale::setDefault(locale.locale);
}

// For the message of a failed property: the text with its unprintable characters escaped.
inline QString Shown(const QString& text)
{
    QString shown;
    for (const QChar c : text)
        shown += c.isPrint() ? QString(c)
                             : QStringLiteral("\\u%1").arg(uint(c.unicode()), 4, 16, QChar(u'0'));
    return u'"' + shown + u'"';
}

} // namespace fuzz
