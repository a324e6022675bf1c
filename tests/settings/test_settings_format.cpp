#include "settings/settings_format.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

using namespace ardovin;

namespace {

const QByteArray DefaultFile = "\"source\",\"Potassium Metabisulphite\"\r\n"
                               "\"form\",\"Powder\"\r\n"
                               "\"batchunits\",\"U.S. Gal.\"\r\n"
                               "\"batchsize\",5\r\n"
                               "\"solution\",10\r\n"
                               "\"tablet\",.44\r\n"
                               "\"target\",\"Total Free SO2\"\r\n";

const QVariantMap DefaultEntries{{"source", "Potassium Metabisulphite"},
                                 {"form", "Powder"},
                                 {"batchunits", "U.S. Gal."},
                                 {"batchsize", 5.0},
                                 {"solution", 10.0},
                                 {"tablet", 0.44},
                                 {"target", "Total Free SO2"}};

QVariantMap With(QVariantMap entries, const QVariantMap& more)
{
    entries.insert(more);
    return entries;
}

// A number expected in the store is a double in the map, a text a QString.
bool Holds(const UserDefaults& store, const QString& key, const QVariant& expected)
{
    const auto value = store.find(key);
    if (!value)
        return false;
    if (expected.typeId() == QMetaType::Double)
        return std::holds_alternative<double>(*value) && std::get<double>(*value) == expected;
    return std::holds_alternative<QString>(*value) && std::get<QString>(*value) == expected;
}

void VerifyStore(const UserDefaults& store, const QVariantMap& expected)
{
    for (auto entry = expected.cbegin(); entry != expected.cend(); ++entry)
        QVERIFY2(Holds(store, entry.key(), entry.value()), qPrintable(entry.key()));
    QCOMPARE(store.size(), expected.size());
}

float ReadBack(const QByteArray& numberText)
{
    UserDefaults store;
    if (ParseSettings("x," + numberText, store) != LoadResult::Loaded)
        return qQNaN();
    const auto value = store.find(u"x");
    return std::holds_alternative<double>(*value) ? static_cast<float>(std::get<double>(*value))
                                                  : qQNaN();
}

int SignificantDigits(QByteArray text)
{
    text = text.left(text.indexOf('E') < 0 ? text.size() : text.indexOf('E'));
    text.replace("-", "").replace(".", "");
    while (text.startsWith('0'))
        text.remove(0, 1);
    while (text.endsWith('0'))
        text.chop(1);
    return static_cast<int>(text.size());
}

float RandomFiniteFloat(QRandomGenerator& random)
{
    for (;;) {
        const quint32 bits = random.generate();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value))
            return value;
    }
}

} // namespace

class TestSettingsFormat : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { cleanup(); }
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LoadResult>("result");
        QTest::addColumn<QVariantMap>("entries");

        const auto loaded = LoadResult::Loaded;
        QTest::newRow("as written") << DefaultFile << loaded << DefaultEntries;
        QTest::newRow("other order, unknown keys, mixed case")
            << QByteArray("\"target\",\"Total Free SO2\"\r\n\"tablet\",.44\r\n"
                          "\"colour\",\"red\"\r\n\"solution\",10\r\n\"batchsize\",5\r\n"
                          "\"BatchUnits\",\"U.S. Gal.\"\r\n\"form\",\"Powder\"\r\n"
                          "\"source\",\"Potassium Metabisulphite\"\r\n\"vintage\",2019\r\n")
            << loaded << With(DefaultEntries, {{"colour", "red"}, {"vintage", 2019.0}});
        QTest::newRow("quoted commas")
            << QByteArray("\"a\",\"x, y,z\"\r\n") << loaded << QVariantMap{{"a", "x, y,z"}};
        QTest::newRow("quoted line end")
            << QByteArray("\"a\",\"x\r\ny\"") << loaded << QVariantMap{{"a", "x\r\ny"}};
        QTest::newRow("pairs on one line") << QByteArray("\"a\",1,\"b\",\"t\",c,u\r\n") << loaded
                                           << QVariantMap{{"a", 1.0}, {"b", "t"}, {"c", "u"}};
        QTest::newRow("key and value on two lines")
            << QByteArray("\"a\"\r\n5\r\n") << loaded << QVariantMap{{"a", 5.0}};
        QTest::newRow("numbers") << QByteArray("a,.44\r\nb,0.44\r\nc,0.440\r\nd,2.5E+01\r\n"
                                               "e,-3\r\nf,+2e-1\r\ng,5.\r\nh,-.5\r\n")
                                 << loaded
                                 << QVariantMap{{"a", 0.44}, {"b", 0.44}, {"c", 0.44}, {"d", 25.0},
                                                {"e", -3.0}, {"f", 0.2},  {"g", 5.0},  {"h", -0.5}};
        QTest::newRow("number-like texts")
            << QByteArray("a,1.2.3\nb,e5\nc,5e\nd,inf\ne,0x10\nf,nan\ng,1 2\nh,.\ni,1e999\n")
            << loaded
            << QVariantMap{{"a", "1.2.3"}, {"b", "e5"},  {"c", "5e"}, {"d", "inf"},  {"e", "0x10"},
                           {"f", "nan"},   {"g", "1 2"}, {"h", "."},  {"i", "1e999"}};
        QTest::newRow("quoted number stays text")
            << QByteArray("\"batchsize\",\"5\"\r\n") << loaded << QVariantMap{{"batchsize", "5"}};
        QTest::newRow("blanks around fields")
            << QByteArray(" \t\"a\", \t5 \t\r\n\tb ,  text here  \r\n") << loaded
            << QVariantMap{{"a", 5.0}, {"b", "text here"}};
        QTest::newRow("text after closing quote")
            << QByteArray("\"a\"xyz,\"b\" junk \"c\"\r\n") << loaded << QVariantMap{{"a", "b"}};
        QTest::newRow("LF line ends")
            << QByteArray("\"a\",1\n\"b\",2\n") << loaded << QVariantMap{{"a", 1.0}, {"b", 2.0}};
        QTest::newRow("CR line ends")
            << QByteArray("\"a\",1\r\"b\",2\r") << loaded << QVariantMap{{"a", 1.0}, {"b", 2.0}};
        QTest::newRow("no final line end")
            << QByteArray("\"a\",\"b\"") << loaded << QVariantMap{{"a", "b"}};
        QTest::newRow("empty value")
            << QByteArray("\"a\",\r\n") << loaded << QVariantMap{{"a", QString()}};
        QTest::newRow("empty file") << QByteArray() << loaded << QVariantMap();
        QTest::newRow("unclosed quote runs to the end")
            << QByteArray("\"a\",\"open\r\nrest, more\r\n") << loaded
            << QVariantMap{{"a", "open\r\nrest, more\r\n"}};
        QTest::newRow("NUL bytes")
            << QByteArray("\"a\0b\",x\0y\r\n", 11) << loaded
            << QVariantMap{{QString::fromLatin1("a\0b", 3), QString::fromLatin1("x\0y", 3)}};
        QTest::newRow("Latin-1") << QByteArray("\"caf\xe9\",\"\xb0\"\r\n") << loaded
                                 << QVariantMap{
                                        {QStringLiteral("caf\u00e9"), QStringLiteral("\u00b0")}};

        const auto repeated = LoadResult::RepeatedKey;
        QTest::newRow("key in two cases")
            << QByteArray("\"batchunits\",\"Litres\"\r\n\"BATCHUNITS\",\"Litres\"\r\n") << repeated
            << QVariantMap{{"batchunits", "Litres"}};
        QTest::newRow("key twice") << QByteArray("\"a\",1\r\n\"b\",2\r\n\"a\",3\r\n") << repeated
                                   << QVariantMap{{"a", 1.0}, {"b", 2.0}};

        const auto noValue = LoadResult::KeyWithoutValue;
        QTest::newRow("key without value")
            << QByteArray("\"a\",1\r\n\"b\"\r\n") << noValue << QVariantMap{{"a", 1.0}};
        QTest::newRow("trailing empty line") << DefaultFile + "\r\n" << noValue << DefaultEntries;
        QTest::newRow("trailing empty LF line")
            << QByteArray("\"a\",1\n\n") << noValue << QVariantMap{{"a", 1.0}};
        QTest::newRow("trailing blanks line")
            << QByteArray("\"a\",1\r\n  ") << noValue << QVariantMap{{"a", 1.0}};
        QTest::newRow("empty line between records")
            << QByteArray("\"a\",1\r\n\r\n\"b\",2\r\n") << noValue
            << QVariantMap{{"a", 1.0}, {"", "b"}};
        QTest::newRow("unclosed quoted key") << QByteArray("\"a,1\r\n") << noValue << QVariantMap();
    }

    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(LoadResult, result);
        QFETCH(QVariantMap, entries);

        UserDefaults store;
        QCOMPARE(ParseSettings(bytes, store), result);
        VerifyStore(store, entries);
    }

    void hostileInputEndsQuickly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("result"); // -1: either outcome

        const qsizetype megabyte = 1 << 20;
        QTest::newRow("commas") << QByteArray(megabyte, ',')
                                << static_cast<int>(LoadResult::RepeatedKey);
        QTest::newRow("line ends") << QByteArray("\r\n").repeated(megabyte / 2)
                                   << static_cast<int>(LoadResult::RepeatedKey);
        QTest::newRow("quotes") << QByteArray(megabyte, '"')
                                << static_cast<int>(LoadResult::KeyWithoutValue);
        QTest::newRow("one long line")
            << QByteArray(megabyte, 'x') << static_cast<int>(LoadResult::KeyWithoutValue);
        QTest::newRow("NULs") << QByteArray(megabyte, '\0')
                              << static_cast<int>(LoadResult::KeyWithoutValue);
        QTest::newRow("digits") << QByteArray(megabyte, '9')
                                << static_cast<int>(LoadResult::KeyWithoutValue);
        QTest::newRow("lone quote")
            << QByteArray("\"") << static_cast<int>(LoadResult::KeyWithoutValue);
        QByteArray random(megabyte, '\0');
        QRandomGenerator generator(4711);
        for (char& byte : random)
            byte = "\",\r\n \tab1.e"[generator.bounded(12)];
        QTest::newRow("random") << random << -1;
        QByteArray manyKeys;
        for (int i = 0; i < 100000; ++i)
            manyKeys += "k" + QByteArray::number(i) + ",\"v\"\r\n";
        QTest::newRow("many keys") << manyKeys << static_cast<int>(LoadResult::Loaded);
    }

    void hostileInputEndsQuickly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, result);

        UserDefaults store;
        QElapsedTimer timer;
        timer.start();
        const LoadResult actual = ParseSettings(bytes, store);
        // Linear reading takes milliseconds; a quadratic one would take minutes.
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        if (result >= 0)
            QCOMPARE(static_cast<int>(actual), result);
    }

    void numberForm_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("5") << 5.0f << QByteArray("5");
        QTest::newRow("10") << 10.0f << QByteArray("10");
        QTest::newRow("2.5") << 2.5f << QByteArray("2.5");
        QTest::newRow("0.44") << 0.44f << QByteArray(".44");
        QTest::newRow("-0.5") << -0.5f << QByteArray("-.5");
        QTest::newRow("1234.5") << 1234.5f << QByteArray("1234.5");
        QTest::newRow("0") << 0.0f << QByteArray("0");
        QTest::newRow("-0") << -0.0f << QByteArray("0");
        QTest::newRow("-12") << -12.0f << QByteArray("-12");
        QTest::newRow("seven digits") << 123456.78f << QByteArray("123456.8");
        QTest::newRow("largest plain") << 9999999.0f << QByteArray("9999999");
        QTest::newRow("1e7") << 1e7f << QByteArray("1E+07");
        QTest::newRow("eight digits") << 12345678.0f << QByteArray("1.234568E+07");
        QTest::newRow("nine digits") << 123456789.0f << QByteArray("1.234568E+08");
        QTest::newRow("rounds to 1e7") << 12345680.0f << QByteArray("1.234568E+07");
        QTest::newRow("negative large") << -3e9f << QByteArray("-3E+09");
        QTest::newRow("small plain") << 0.0001f << QByteArray(".0001");
        QTest::newRow("tiny") << 1e-5f << QByteArray("1E-05");
        QTest::newRow("1e-7") << 1e-7f << QByteArray("1E-07");
        QTest::newRow("3.4e38") << 3.4e38f << QByteArray("3.4E+38");
        QTest::newRow("largest") << FLT_MAX << QByteArray("3.402823E+38");
        QTest::newRow("smallest") << std::numeric_limits<float>::denorm_min()
                                  << QByteArray("1.401298E-45");
    }

    void numberForm()
    {
        QFETCH(float, value);
        QFETCH(QByteArray, text);

        QCOMPARE(FileNumberText(value), text);
    }

    // Seven significant digits in either form, read back within their rounding, and a saved
    // file saved again is the same file.
    void numbersReadBack()
    {
        QRandomGenerator random(20240607);
        for (int i = 0; i < 200000; ++i) {
            const float value = RandomFiniteFloat(random);
            const QByteArray text = FileNumberText(value);
            const float back = ReadBack(text);
            QVERIFY2(SignificantDigits(text) <= 7, text.constData());
            QVERIFY2(std::fabs(back - value) <= 6e-7f * std::fabs(value), text.constData());
            QVERIFY2(FileNumberText(back) == text, text.constData());
            QVERIFY2(text.contains('E') || std::fabs(value) < 1e7f, text.constData());
            QVERIFY2(!text.startsWith("0.") && !text.startsWith("-0."), text.constData());
        }
    }

    // What the dialog stores has two decimals; all of it comes back exactly.
    void hundredthsReadBackExactly()
    {
        QRandomGenerator random(77);
        for (int i = 0; i < 100000; ++i) {
            const float value = static_cast<float>(random.bounded(10000000) / 100.0);
            QVERIFY2(ReadBack(FileNumberText(value)) == value, FileNumberText(value).constData());
        }
    }

    void writing_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QVariantMap>("entries"); // doubles stored as numbers, the rest as texts
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("empty store") << "en_US" << QVariantMap() << DefaultFile;
        QTest::newRow("as read") << "en_US" << DefaultEntries << DefaultFile;
        QTest::newRow("as the dialog stores")
            << "en_US"
            << With(DefaultEntries,
                    {{"batchsize", "5.00"}, {"solution", "10.00"}, {"tablet", "0.44"}})
            << DefaultFile;
        QTest::newRow("unknown and mixed-case keys")
            << "en_US" << With(DefaultEntries, {{"colour", "red"}, {"BATCHSIZE", 5.0}})
            << DefaultFile;

        QByteArray grouped = DefaultFile;
        grouped.replace("\"batchsize\",5", "\"batchsize\",1234.5");
        QTest::newRow("grouped English")
            << "en_US" << With(DefaultEntries, {{"batchsize", "1,234.50"}}) << grouped;
        QTest::newRow("grouped German")
            << "de_DE" << With(DefaultEntries, {{"batchsize", "1.234,50"}}) << grouped;

        QByteArray unreadable = DefaultFile;
        unreadable.replace("\"batchsize\",5", "\"batchsize\",\"lots\"");
        QTest::newRow("number text that does not read")
            << "en_US" << With(DefaultEntries, {{"batchsize", "lots"}}) << unreadable;

        QByteArray texts = DefaultFile;
        texts.replace("U.S. Gal.", "Imp. gal.").replace("\"Powder\"", "\"powder\"");
        QTest::newRow("texts unchanged")
            << "en_US" << With(DefaultEntries, {{"batchunits", "Imp. gal."}, {"form", "powder"}})
            << texts;

        QByteArray huge = DefaultFile;
        huge.replace("\"tablet\",.44", "\"tablet\",1E+39");
        QTest::newRow("beyond single precision")
            << "en_US" << With(DefaultEntries, {{"tablet", 1e39}}) << huge;
    }

    void writing()
    {
        QFETCH(QString, locale);
        QFETCH(QVariantMap, entries);
        QFETCH(QByteArray, bytes);
        QLocale::setDefault(QLocale(locale));

        UserDefaults store;
        for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
            if (entry.value().typeId() == QMetaType::Double)
                store.set(entry.key(), entry.value().toDouble());
            else
                store.set(entry.key(), entry.value().toString());
        }
        const QByteArray written = SettingsFileBytes(store);
        QCOMPARE(written, bytes);

        UserDefaults reread;
        QCOMPARE(ParseSettings(written, reread), LoadResult::Loaded);
        QCOMPARE(reread.size(), qsizetype(SettingKeysInFileOrder.size()));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFormat)
#include "test_settings_format.moc"
