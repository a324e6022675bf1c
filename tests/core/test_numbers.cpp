// Numbers as the user types and reads them, in the user's locale.
#include "core/numbers.h"

#include <cfloat>
#include <cmath>
#include <QtTest>

using namespace ardovin;

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // What a text reads as: "-" not a number, "big" a number too large for single precision.
    void reading_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        const char* const rows[][3] = {
            {"en_US", "3.5", "3.5"},
            {"en_US", "1,234.50", "1234.5"},
            {"en_US", "  42  ", "42"},
            {"en_US", "-5", "-5"},
            {"en_US", "+5", "5"},
            {"en_US", "2.5e1", "25"},
            {"en_US", "3,5", "-"},
            {"en_US", "3..5", "-"},
            {"en_US", "", "-"},
            {"en_US", "   ", "-"},
            {"en_US", "abc", "-"},
            {"en_US", "inf", "-"},
            {"en_US", "nan", "-"},
            {"en_US", "1e39", "big"},
            {"de_DE", "3,5", "3.5"},
            {"de_DE", "1.234,50", "1234.5"},
            {"de_DE", "1,234.50", "-"},
            {"es_ES", "1.234.567,89", "1234567.89"},
            {"es_ES", "1234,5", "1234.5"},
            {"pl_PL", "1\u00a0234\u00a0567,89", "1234567.89"},
            {"es_ES", "12.34", "-"},
            {"en_IN", "12,34,567.89", "1234567.89"},
        };
        for (const auto& row : rows)
            QTest::addRow("%s %s", row[0], row[1]) << row[0] << QString::fromUtf8(row[1]) << row[2];
    }

    void reading()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, value);
        QLocale::setDefault(QLocale(locale));
        const ParsedNumber number = ParseNumber(text);
        QCOMPARE(number.numeric, value != u"-");
        QCOMPARE(number.value.has_value(), number.numeric);
        QCOMPARE(number.single().has_value(), number.numeric && value != u"big");
        if (number.single())
            QCOMPARE(*number.value, value.toDouble());
    }

    void formatting_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << "en_US" << 0.0 << "0.00";
        QTest::newRow("rounds up") << "en_US" << 0.196 << "0.20";
        QTest::newRow("millions") << "en_US" << 1234567.891 << "1,234,567.89";
        QTest::newRow("negative zero") << "en_US" << -0.0049 << "0.00";
        QTest::newRow("a hundredth") << "en_US" << -0.006 << "-0.01";
        QTest::newRow("half a hundredth") << "en_US" << 0.005 << "0.01";
        QTest::newRow("infinity") << "en_US" << qInf() << "0.00";
        QTest::newRow("nan") << "en_US" << qQNaN() << "0.00";
        QTest::newRow("german") << "de_DE" << 1234.5 << "1.234,50";
        QTest::newRow("C keeps grouping") << "C" << 1234.5 << "1,234.50";
        // Locales that leave four-digit numbers ungrouped still group larger ones whole.
        QTest::newRow("spanish four digits") << "es_ES" << 1234.5 << "1234,50";
        QTest::newRow("spanish millions") << "es_ES" << -1234567890.0 << "-1.234.567.890,00";
        QTest::newRow("polish millions") << "pl_PL" << 1234567.891 << "1\u00a0234\u00a0567,89";
        QTest::newRow("indian grouping") << "en_IN" << 1234567.891 << "12,34,567.89";
    }

    void formatting()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(FormatStandard(value), shown);
        if (std::isfinite(value)) // what is shown reads back as the number it shows
            QCOMPARE(ReadDouble(shown), std::optional(std::round(value * 100) / 100 + 0.0));
    }

    void formattingText()
    {
        QCOMPARE(FormatStandard(QStringLiteral(".44")), QStringLiteral("0.44"));
        QCOMPARE(FormatStandard(QStringLiteral(" 1,234.5 ")), QStringLiteral("1,234.50"));
        // 400 digits are a number, but not one that double precision holds.
        QVERIFY(IsNumeric(QString(400, u'9')) && !ReadDouble(QString(400, u'9')));
        for (const char* kept : {"abc", "", "3..5", "1e999"})
            QCOMPARE(FormatStandard(QString::fromLatin1(kept)), QString::fromLatin1(kept));
    }

    void storedInSinglePrecision()
    {
        QVERIFY(StoreSingle(0.1) == 0.1f);
        QVERIFY(StoreSingle(-double(FLT_MAX)) == -FLT_MAX);
        for (double beyond : {qInf(), qQNaN(), 1e39, -1e39})
            QVERIFY(StoreSingle(beyond) == 0.0f);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
