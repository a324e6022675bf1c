#pragma once
// What the three fuzz targets share: the two locales every input is tried in, the check of the
// standard number format, and the way a property that fails is reported.
#include "core/numbers.h"

#include <cstdio>
#include <cstdlib>
#include <QRegularExpression>

// Says which property failed and with what, then aborts: libFuzzer keeps the input and the
// replay test fails.
#define FUZZ_REQUIRE(condition, detail)                                                            \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s does not hold: %s\n", __FILE__, __LINE__, #condition,  \
                         qUtf8Printable(fuzz::Shown(detail)));                                     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

// A text as a message shows it, unprintable characters escaped.
inline QString Shown(const QString& text)
{
    QString shown;
    for (const QChar c : text)
        shown += c.isPrint() ? QString(c)
                             : QStringLiteral("\\u%1").arg(uint(c.unicode()), 4, 16, QChar(u'0'));
    return shown;
}

// A locale as the program reads and shows numbers in it, made the user's by use().
struct Locale
{
    QLocale locale;
    void use() const { QLocale::setDefault(locale); }
    // The standard format: an optional minus, thousands grouped, two decimals, no -0.00.
    bool isStandard(const QString& text) const
    {
        static const QString pattern =
            QStringLiteral("^(%1)?(0|[1-9][0-9]{0,2}(?:%2[0-9]{3})*)%3[0-9]{2}$");
        const auto match =
            QRegularExpression(pattern.arg(QRegularExpression::escape(locale.negativeSign()),
                                           QRegularExpression::escape(locale.groupSeparator()),
                                           QRegularExpression::escape(locale.decimalPoint())))
                .match(text);
        return match.hasMatch() && !(match.capturedLength(1) && ardovin::ReadDouble(text) == 0.0);
    }
};

// English and German: a point and a comma as decimal separator.
inline const std::array<Locale, 2>& Locales()
{
    static const std::array<Locale, 2> locales = [] {
        std::array<Locale, 2> both;
        for (auto [i, territory] : {std::pair{0, QLocale::UnitedStates}, {1, QLocale::Germany}}) {
            QLocale::setDefault(QLocale(i ? QLocale::German : QLocale::English, territory));
            both[size_t(i)].locale = ardovin::NumberLocale();
        }
        return both;
    }();
    return locales;
}

inline QString Text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace fuzz
