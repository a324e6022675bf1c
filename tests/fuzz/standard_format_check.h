#pragma once

#include <QLocale>
#include <QRegularExpression>
#include <QString>

// Tells whether a text is a number as the program shows one: an optional minus, the integer
// part with its thousands grouped, the locale's decimal separator and exactly two decimals,
// with no superfluous leading zero and never a minus zero. The fuzz targets and the random
// input test judge every number the program writes by it.
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
        if (!match.hasMatch())
            return false;
        const bool negative = match.capturedLength(1) > 0;
        const bool zero = match.captured(2) == u"0" && match.captured(3) == u"00";
        return !(negative && zero);
    }

    bool isNegative(const QString& text) const { return text.startsWith(minus); }

private:
    QString minus;
    QRegularExpression pattern;
};
