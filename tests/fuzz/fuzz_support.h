#pragma once

#include "core/numbers.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <QByteArray>
#include <QLocale>
#include <QRegularExpression>
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

// Tells whether a text is a number as the program shows one: an optional minus, the integer
// part with its thousands grouped, the locale's decimal separator and exactly two decimals,
// with no superfluous leading zero and never a minus zero.
class StandardFormatCheck
{
public:
    explicit StandardFormatCheck(const QLocale& locale)
        : minus(locale.negativeSign()),
          pattern(QStringLiteral("^(%1)?(0|[1-9][0-9]{0,2}(?:%2[0-9]{3})*)%3([0-9]{2})$")
                      .arg(QRegularExpression::escape(minus),
                           QRegularExpression::escape(locale.groupSeparator()),
                           QRegularExpression::escape(locale.decimalPoint())))
    {
    }
    bool matches(const QString& text) const
    {
        const QRegularExpressionMatch match = pattern.match(text);
        const bool zero = match.captured(2) == u"0" && match.captured(3) == u"00";
        return match.hasMatch() && !(match.capturedLength(1) > 0 && zero);
    }
    bool isNegative(const QString& text) const { return text.startsWith(minus); }

private:
    QString minus;
    QRegularExpression pattern;
};

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
