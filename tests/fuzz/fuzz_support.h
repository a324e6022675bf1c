#pragma once
// What the fuzz targets share: the three locales every input is tried in, the check of the
// standard number format, and the way a property that fails is reported.
#include "core/numbers.h"

#include <cstdio>
#include <cstdlib>
#include <QRegularExpression>

// Names the property that failed, then aborts: libFuzzer keeps the input and the run fails.
#define FUZZ_REQUIRE(condition)                                                                    \
    ((condition)                                                                                   \
         ? void()                                                                                  \
         : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))

namespace fuzz {

// A locale as the program reads and shows numbers in it, made the user's by use(), with the
// standard format in it: an optional minus, thousands grouped (from 10,000 where the locale
// groups only from there), two decimals, never -0.00.
struct Locale
{
    Locale(QLocale::Language language, QLocale::Territory territory)
        : locale((QLocale::setDefault(QLocale(language, territory)), ardovin::NumberLocale())),
          standard(
              QStringLiteral("^(?!%1[0]%3[0]{2}$)%1?(0|[1-9][0-9]{0,2}(%2[0-9]{3})*%4)%3[0-9]{2}$")
                  .arg(QRegularExpression::escape(locale.negativeSign()),
                       QRegularExpression::escape(locale.groupSeparator()),
                       QRegularExpression::escape(locale.decimalPoint()),
                       // Spanish leaves four-digit numbers ungrouped
                       locale.toString(1234).contains(locale.groupSeparator())
                           ? QString()
                           : QStringLiteral("|[1-9][0-9]{3}"))),
          grouped(QStringLiteral("^\\s*[-+]?[1-9][0-9]{0,2}(%1[0-9]{3})+(%2[0-9]+)?\\s*$")
                      .arg(QRegularExpression::escape(locale.groupSeparator()),
                           QRegularExpression::escape(locale.decimalPoint())))
    {
    }
    void use() const { QLocale::setDefault(locale); }
    bool isStandard(const QString& text) const { return standard.match(text).hasMatch(); }
    // Digits grouped in threes as the locale writes them, which Qt may refuse to read.
    bool isGrouped(const QString& text) const { return grouped.match(text).hasMatch(); }

    QLocale locale;
    QRegularExpression standard; // compiled once: every input meets it several times
    QRegularExpression grouped;
};

// English, German and Spanish: a point and a comma as decimal separator, and a locale whose
// four-digit numbers go ungrouped, where Qt refuses some of the locale's own groupings.
inline const std::array<Locale, 3>& Locales()
{
    static const std::array<Locale, 3> locales{Locale(QLocale::English, QLocale::UnitedStates),
                                               Locale(QLocale::German, QLocale::Germany),
                                               Locale(QLocale::Spanish, QLocale::Spain)};
    return locales;
}

} // namespace fuzz
