#include "core/numbers.h"

#include <cfloat>
#include <cmath>
#include <QRegularExpression>

namespace ardovin {

namespace {

// Qt 6.4 neither writes nor reads a leading group of one digit in the locales that leave
// four-digit numbers ungrouped: it writes 1234567 as "1234.567" in Spanish, and refuses the
// locale's own "1.234.567". Such a text is the number, written without its separators; any
// other text Qt refuses stays refused, so "5.5" or "1.2345" never lose a point in Spanish.
std::optional<QString> WithoutLocaleGrouping(const QString& text, const QLocale& locale)
{
    if (locale.numberOptions() & QLocale::RejectGroupSeparator)
        return std::nullopt;
    QLocale grouping = locale;
    grouping.setNumberOptions(QLocale::DefaultNumberOptions);
    const QString separator = locale.groupSeparator();
    if (separator.isEmpty() || grouping.toString(1234).contains(separator))
        return std::nullopt;
    const QString sample = grouping.toString(1234567);
    const qsizetype groupSize = sample.size() - sample.lastIndexOf(separator) - separator.size();
    // Sign, a first group of up to a group's digits without a leading zero, then whole groups
    // and an optional decimal part; blanks around it, as Qt allows.
    const QRegularExpression wellFormed(
        QStringLiteral("^\\s*(?:%1|%2)?(?!%3)\\d{1,%4}(?:%5\\d{%4})+(?:%6\\d+)?\\s*$")
            .arg(QRegularExpression::escape(locale.negativeSign()),
                 QRegularExpression::escape(locale.positiveSign()),
                 QRegularExpression::escape(locale.zeroDigit()), QString::number(groupSize),
                 QRegularExpression::escape(separator),
                 QRegularExpression::escape(locale.decimalPoint())));
    if (!wellFormed.match(text).hasMatch())
        return std::nullopt;
    return QString(text).remove(separator);
}

// Qt 6.4 writes a negative number in some right-to-left locales with a minus sign that holds a
// direction mark ("\u061C-7.25" in Arabic) and cannot read it back. The digits after that
// sign, and nothing else, are the number's magnitude.
std::optional<QString> AfterMarkedMinus(const QString& text, const QLocale& locale)
{
    const QString minus = locale.negativeSign();
    const QString trimmed = text.trimmed();
    if (minus.size() < 2 || !trimmed.startsWith(minus) || trimmed.size() == minus.size() ||
        !trimmed.at(minus.size()).isDigit())
        return std::nullopt;
    return trimmed.mid(minus.size());
}

// The writing twin: a leading run of digits longer than the group after it is split into
// groups of that size ("1234.567,89" becomes "1.234.567,89"). Where Qt grouped the number
// as the locale does, nothing changes.
QString RegroupLeadingDigits(QString text, const QLocale& locale)
{
    const QString separator = locale.groupSeparator();
    const qsizetype first = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (first < 0)
        return text;
    qsizetype start = first;
    while (start > 0 && text.at(start - 1).isDigit())
        --start;
    const qsizetype groupStart = first + separator.size();
    qsizetype groupEnd = text.indexOf(separator, groupStart);
    if (groupEnd < 0)
        groupEnd = text.indexOf(locale.decimalPoint(), groupStart);
    const qsizetype groupSize = groupEnd - groupStart;
    if (groupSize <= 0)
        return text;
    for (qsizetype at = first - groupSize; at > start; at -= groupSize)
        text.insert(at, separator);
    return text;
}

} // namespace

QLocale NumberLocale()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() &
                            ~(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator));
    return locale;
}

QString Count(qsizetype n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(NumberLocale().toString(n),
                                       QString::fromUtf8(n == 1 ? one : many));
}

std::optional<float> ParsedNumber::single() const
{
    if (!value || std::fabs(*value) > FLT_MAX)
        return std::nullopt;
    return static_cast<float>(*value);
}

ParsedNumber ParseNumber(const QString& text, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (ok && std::isfinite(value))
        return {true, value};
    // QLocale reports an overflow as a failure holding infinity: the text is still a number,
    // just too large to hold. A literal "inf" or "nan" reads as ok and is not a number here.
    if (!ok && std::isinf(value))
        return {true, std::nullopt};
    if (const auto ungrouped = WithoutLocaleGrouping(text, locale))
        return ParseNumber(*ungrouped, locale);
    if (const auto magnitude = AfterMarkedMinus(text, locale)) {
        ParsedNumber number = ParseNumber(*magnitude, locale);
        if (number.value)
            number.value = -*number.value;
        return number;
    }
    return {};
}

QString FormatStandard(double value, const QLocale& locale)
{
    // Anything below half a hundredth shows as zero, and zero carries no sign.
    if (!std::isfinite(value) || std::fabs(value) < 0.005)
        value = 0.0;
    return RegroupLeadingDigits(locale.toString(value, 'f', 2), locale);
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
