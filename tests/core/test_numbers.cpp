#include "core/numbers.h"

#include <cmath>
#include <QRandomGenerator>
#include <QtTest>

using namespace ardovin;

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { cleanup(); }
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void reading_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<bool>("fitsSingle");
        QTest::addColumn<double>("value");

        QTest::newRow("en plain") << "en_US"
                                  << "3.5" << true << true << 3.5;
        QTest::newRow("en grouped") << "en_US"
                                    << "1,234.50" << true << true << 1234.5;
        QTest::newRow("en blanks") << "en_US"
                                   << "  42  " << true << true << 42.0;
        QTest::newRow("en minus") << "en_US"
                                  << "-5" << true << true << -5.0;
        QTest::newRow("en plus") << "en_US"
                                 << "+5" << true << true << 5.0;
        QTest::newRow("en exponent") << "en_US"
                                     << "2.5e1" << true << true << 25.0;
        QTest::newRow("en comma decimal") << "en_US"
                                          << "3,5" << false << false << 0.0;
        QTest::newRow("en two points") << "en_US"
                                       << "3..5" << false << false << 0.0;
        QTest::newRow("en empty") << "en_US"
                                  << "" << false << false << 0.0;
        QTest::newRow("en blanks only") << "en_US"
                                        << "   " << false << false << 0.0;
        QTest::newRow("en letters") << "en_US"
                                    << "abc" << false << false << 0.0;
        QTest::newRow("en lone point") << "en_US"
                                       << "." << false << false << 0.0;
        QTest::newRow("en inf") << "en_US"
                                << "inf" << false << false << 0.0;
        QTest::newRow("en nan") << "en_US"
                                << "nan" << false << false << 0.0;
        QTest::newRow("en beyond single") << "en_US"
                                          << "1e39" << true << false << 1e39;
        QTest::newRow("de decimal comma") << "de_DE"
                                          << "3,5" << true << true << 3.5;
        QTest::newRow("de grouped") << "de_DE"
                                    << "1.234,50" << true << true << 1234.5;
        QTest::newRow("de english text") << "de_DE"
                                         << "1,234.50" << false << false << 0.0;
    }

    void reading()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(bool, fitsSingle);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));

        QCOMPARE(IsNumeric(text), numeric);
        QCOMPARE(ReadSingle(text).has_value(), fitsSingle);
        if (fitsSingle)
            QCOMPARE(*ReadSingle(text), static_cast<float>(value));
        if (numeric)
            QCOMPARE(*ReadDouble(text), value);
        else
            QVERIFY(!ReadDouble(text));
    }

    void beyondDoubleIsNumericButUnreadable()
    {
        const QString digits(400, u'9');
        QVERIFY(IsNumeric(digits));
        QVERIFY(!ReadDouble(digits));
        QVERIFY(!ReadSingle(digits));
        QCOMPARE(FormatStandard(digits), digits);
    }

    void formatting_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");

        QTest::newRow("zero") << "en_US" << 0.0 << "0.00";
        QTest::newRow("rounds up") << "en_US" << 0.196 << "0.20";
        QTest::newRow("negative") << "en_US" << -5.0 << "-5.00";
        QTest::newRow("grouped") << "en_US" << 1235.0 << "1,235.00";
        QTest::newRow("millions") << "en_US" << 1234567.891 << "1,234,567.89";
        QTest::newRow("tiny negative") << "en_US" << -0.001 << "0.00";
        QTest::newRow("negative zero") << "en_US" << -0.0 << "0.00";
        QTest::newRow("just below half") << "en_US" << -0.0049 << "0.00";
        QTest::newRow("a hundredth") << "en_US" << -0.006 << "-0.01";
        QTest::newRow("infinity") << "en_US" << qInf() << "0.00";
        QTest::newRow("nan") << "en_US" << qQNaN() << "0.00";
        QTest::newRow("german") << "de_DE" << 1234.5 << "1.234,50";
        QTest::newRow("german zero") << "de_DE" << -0.0001 << "0,00";
        QTest::newRow("C keeps grouping") << "C" << 1234.5 << "1,234.50";
        // Locales that leave four-digit numbers ungrouped still group larger ones whole.
        QTest::newRow("spanish four digits") << "es_ES" << 1234.5 << "1234,50";
        QTest::newRow("spanish millions") << "es_ES" << 1234567.891 << "1.234.567,89";
        QTest::newRow("spanish negative") << "es_ES" << -1234567890.0 << "-1.234.567.890,00";
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
        // What is shown reads back as the number it shows.
        if (std::isfinite(value))
            QCOMPARE(ReadDouble(shown), std::optional(std::round(value * 100) / 100 + 0.0));
    }

    void formattingText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("whole number") << "10"
                                      << "10.00";
        QTest::newRow("no leading zero") << ".44"
                                         << "0.44";
        QTest::newRow("grouped") << "1,234.5"
                                 << "1,234.50";
        QTest::newRow("blanks") << " 5 "
                                << "5.00";
        QTest::newRow("letters kept") << "abc"
                                      << "abc";
        QTest::newRow("empty kept") << ""
                                    << "";
        QTest::newRow("two points kept") << "3..5"
                                         << "3..5";
    }

    void formattingText()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(FormatStandard(text), shown);
    }

    void storeSingleNeverHoldsInfinity_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<float>("stored");
        QTest::newRow("ordinary") << 4.25 << 4.25f;
        QTest::newRow("beyond single") << 1e39 << 0.0f;
        QTest::newRow("infinity") << -qInf() << 0.0f;
        QTest::newRow("nan") << qQNaN() << 0.0f;
    }

    void storeSingleNeverHoldsInfinity()
    {
        QFETCH(double, value);
        QFETCH(float, stored);
        QCOMPARE(StoreSingle(value), stored);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
