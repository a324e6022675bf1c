// Numbers as the user types and reads them, in the user's locale.
#include "core/numbers.h"
#include "tests/support.h"

#include <cfloat>
#include <cmath>

using namespace ardovin;

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // What a text reads as: "-" not a number, "big" a number too large for single precision.
    void reading_data()
    {
        AddRows({"locale", "text", "value"}, R"(
plain          | en_US | 3.5          | 3.5
grouped        | en_US | 1,234.50     | 1234.5
blanks         | en_US |   42         | 42
signs          | en_US | -5           | -5
exponent       | en_US | +2.5e1       | 25
comma          | en_US | 3,5          | -
two points     | en_US | 3..5         | -
empty          | en_US |              | -
letters        | en_US | abc          | -
inf            | en_US | inf          | -
nan            | en_US | nan          | -
beyond single  | en_US | 1e39         | big
beyond double  | en_US | 1e400        | big
German         | de_DE | 1.234,50     | 1234.5
English in German | de_DE | 1,234.50  | -
Spanish        | es_ES | 1.234.567,89 | 1234567.89
Spanish, four digits | es_ES | 1234,5 | 1234.5
Spanish, bad group | es_ES | 12.34    | -
Polish         | pl_PL | 1 234 567,89 | 1234567.89
Indian         | en_IN | 12,34,567.89 | 1234567.89
)");
    }

    void reading()
    {
        auto [locale, text, value] = Cells("locale", "text", "value");
        QLocale::setDefault(QLocale(locale));
        const ParsedNumber number = ParseNumber(text.replace(u' ', QChar(0xa0)));
        QCOMPARE(number.numeric, value != u"-");
        QCOMPARE(number.single().has_value(), number.numeric && value != u"big");
        QCOMPARE(number.value.has_value(), number.numeric && text != u"1e400");
        if (number.single())
            QCOMPARE(*number.value, value.toDouble());
    }

    // Two decimals, the locale's grouping, never -0.00, 0.00 for what is not finite; what is
    // shown reads back as the number it shows.
    void formatting_data()
    {
        AddRows({"locale", "value", "shown"}, R"(
rounds up        | en_US | 0.196        | 0.20
millions         | en_US | 1234567.891  | 1,234,567.89
no minus zero    | en_US | -0.0049      | 0.00
a hundredth      | en_US | -0.006       | -0.01
half a hundredth | en_US | 0.005        | 0.01
infinity         | en_US | inf          | 0.00
nan              | en_US | nan          | 0.00
German           | de_DE | 1234.5       | 1.234,50
C keeps grouping | C     | 1234.5       | 1,234.50
Spanish, four    | es_ES | 1234.5       | 1234,50
Spanish          | es_ES | -1234567890  | -1.234.567.890,00
Polish           | pl_PL | 1234567.891  | 1 234 567,89
Indian           | en_IN | 1234567.891  | 12,34,567.89
)");
    }

    void formatting()
    {
        auto [locale, value, shown] = Cells("locale", "value", "shown");
        QLocale::setDefault(QLocale(locale));
        const double v = value.toDouble();
        QCOMPARE(FormatStandard(v), shown.replace(u' ', QChar(0xa0)));
        if (std::isfinite(v))
            QCOMPARE(ReadDouble(shown), std::optional(std::round(v * 100) / 100 + 0.0));
    }

    // A text is formatted as the number it reads as, or comes back unchanged; results are held
    // in single precision, 0 where they do not fit.
    void textsAndStorage()
    {
        QCOMPARE(FormatStandard(QStringLiteral(" .44 ")), QStringLiteral("0.44"));
        for (const QString kept : {"abc", "", "3..5", "1e999"})
            QCOMPARE(FormatStandard(kept), kept);
        QVERIFY(StoreSingle(0.1) == 0.1f && StoreSingle(-double(FLT_MAX)) == -FLT_MAX);
        for (double beyond : {qInf(), qQNaN(), 1e39, -1e39})
            QVERIFY(StoreSingle(beyond) == 0.0f);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
