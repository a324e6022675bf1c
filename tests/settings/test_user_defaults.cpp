#include "core/numbers.h"
#include "settings/user_defaults.h"

#include <QtTest>

using namespace ardovin;

class TestUserDefaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { cleanup(); }
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void keysIgnoreLetterCase()
    {
        UserDefaults store;
        QVERIFY(!store.find(u"batchunits"));
        QVERIFY(store.add(u"BatchUnits", QStringLiteral("Litres")));
        QVERIFY(store.contains(SettingKey::BatchUnits));
        QCOMPARE(std::get<QString>(*store.find(u"BATCHUNITS")), QStringLiteral("Litres"));

        // A repeated key is refused in any letter case, and the first value stays.
        QVERIFY(!store.add(u"batchunits", QStringLiteral("U.S. Gal.")));
        QVERIFY(!store.add(u"BATCHUNITS", 5.0));
        QCOMPARE(std::get<QString>(*store.find(SettingKey::BatchUnits)), QStringLiteral("Litres"));
        QCOMPARE(store.size(), 1);
    }

    void setReplacesOrAdds()
    {
        UserDefaults store;
        QVERIFY(store.add(u"Tablet", QStringLiteral("0.44")));
        store.set(SettingKey::Tablet, 0.5);
        store.set(SettingKey::Target, QStringLiteral("Molecular SO2"));
        QCOMPARE(store.size(), 2);
        QCOMPARE(std::get<double>(*store.find(u"TABLET")), 0.5);
        QCOMPARE(std::get<QString>(*store.find(u"target")), QStringLiteral("Molecular SO2"));
        QVERIFY(!store.find(u"tablets"));
    }

    void numberSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("number");

        QTest::newRow("batchsize") << "batchsize" << true;
        QTest::newRow("Solution") << "Solution" << true;
        QTest::newRow("TABLET") << "TABLET" << true;
        QTest::newRow("source") << "source" << false;
        QTest::newRow("batchunits") << "batchunits" << false;
        QTest::newRow("unknown") << "tablets" << false;
    }

    void numberSettings()
    {
        QFETCH(QString, key);
        QFETCH(bool, number);
        QCOMPARE(IsNumberSetting(key), number);
    }

    void programDefaults_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("shown");

        QTest::newRow("source") << "source"
                                << "Potassium Metabisulphite";
        QTest::newRow("form") << "form"
                              << "Powder";
        QTest::newRow("batchunits") << "batchunits"
                                    << "U.S. Gal.";
        QTest::newRow("batchsize") << "batchsize"
                                   << "5.00";
        QTest::newRow("solution") << "solution"
                                  << "10.00";
        QTest::newRow("tablet") << "tablet"
                                << "0.44";
        QTest::newRow("target") << "target"
                                << "Total Free SO2";
    }

    void programDefaults()
    {
        QFETCH(QString, key);
        QFETCH(QString, shown);

        const auto value = ProgramDefault(key);
        QVERIFY(value);
        QCOMPARE(FieldText(*value), shown);
        QCOMPARE(FieldText(*ProgramDefault(key.toUpper())), shown);
    }

    void everyFileKeyHasAProgramDefault()
    {
        for (const QLatin1StringView key : SettingKeysInFileOrder)
            QVERIFY2(ProgramDefault(key), key.data());
        QVERIFY(!ProgramDefault(u"colour"));
    }

    void fieldText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QVariant>("value"); // a double is a stored number, a string a text
        QTest::addColumn<QString>("shown");

        QTest::newRow(".44") << "en_US" << QVariant(0.44) << "0.44";
        QTest::newRow("0.440") << "en_US" << QVariant(0.440) << "0.44";
        QTest::newRow("quoted 5") << "en_US" << QVariant("5") << "5.00";
        QTest::newRow("grouped text") << "en_US" << QVariant("1,234.5") << "1,234.50";
        QTest::newRow("large number") << "en_US" << QVariant(1234.5) << "1,234.50";
        QTest::newRow("not a number") << "en_US" << QVariant("abc") << "abc";
        QTest::newRow("empty") << "en_US" << QVariant("") << "";
        QTest::newRow("German number") << "de_DE" << QVariant(0.44) << "0,44";
        QTest::newRow("German text") << "de_DE" << QVariant("10") << "10,00";
    }

    void fieldText()
    {
        QFETCH(QString, locale);
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));

        const SettingValue stored = value.typeId() == QMetaType::Double
                                        ? SettingValue(value.toDouble())
                                        : SettingValue(value.toString());
        QCOMPARE(FieldText(stored), shown);
    }
};

QTEST_GUILESS_MAIN(TestUserDefaults)
#include "test_user_defaults.moc"
