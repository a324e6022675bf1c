#include "core/chemistry.h"
#include "core/numbers.h"

#include <QtTest>

using namespace ardovin;

// Results as the main window shows them.
static QString Shown(float value)
{
    return FormatStandard(value);
}

class TestChemistry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void listTextsMatchTheirMembers()
    {
        for (auto source : AllSources)
            QCOMPARE(SourceFromText(ListText(source)), source);
        for (auto kind : AllTargetKinds)
            QCOMPARE(TargetKindFromText(ListText(kind)), kind);
        for (auto unit : AllBatchUnits)
            QCOMPARE(BatchUnitFromText(ListText(unit)), unit);
        for (auto form : AllForms)
            for (auto unit : AdditionUnitsFor(form))
                QCOMPARE(AdditionUnitFromText(ListText(unit)), unit);
    }

    void textIdentity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("source");
        QTest::addColumn<bool>("batchUnit");
        QTest::addColumn<bool>("additionUnit");

        QTest::newRow("exact compound") << "Sodium Bisulphite" << true << false << false;
        QTest::newRow("padded compound") << "  Sodium Bisulphite " << true << false << false;
        QTest::newRow("compound in lower case") << "sodium bisulphite" << false << false << false;
        QTest::newRow("padded batch unit") << " Litres  " << false << true << false;
        QTest::newRow("dialog spelling") << "Imp. gal." << false << false << false;
        QTest::newRow("tab is not a blank") << "\tLitres" << false << false << false;
        QTest::newRow("exact unit") << "oz (av.)" << false << false << true;
        QTest::newRow("padded unit") << " g" << false << false << false;
    }

    void textIdentity()
    {
        QFETCH(QString, text);
        QFETCH(bool, source);
        QFETCH(bool, batchUnit);
        QFETCH(bool, additionUnit);
        QCOMPARE(SourceFromText(text).has_value(), source);
        QCOMPARE(BatchUnitFromText(text).has_value(), batchUnit);
        QCOMPARE(AdditionUnitFromText(text).has_value(), additionUnit);
    }

    void constantsAreHeldInSinglePrecision()
    {
        // Exact comparisons: QCOMPARE would forgive a double-precision constant.
        QVERIFY(SO2Fraction(SulphiteSource::PotassiumMetabisulphite) == 0.57631207f);
        QVERIFY(SO2Fraction(SulphiteSource::SodiumBisulphite) == 0.61563891f);
        QVERIFY(SO2Fraction(SulphiteSource::SodiumMetabisulphite) == 0.67397833f);
        QVERIFY(*UnitsPerLitre(BatchUnit::USGallon) == 0.26417199f);
        QVERIFY(*UnitsPerLitre(BatchUnit::ImperialGallon) == 0.21996900f);
        QVERIFY(!UnitsPerLitre(BatchUnit::Litre));
    }

    void litres_data()
    {
        QTest::addColumn<float>("size");
        QTest::addColumn<BatchUnit>("unit");
        QTest::addColumn<QString>("litres");
        QTest::newRow("23 US gallons") << 23.0f << BatchUnit::USGallon << "87.06";
        QTest::newRow("5 imperial gallons") << 5.0f << BatchUnit::ImperialGallon << "22.73";
        QTest::newRow("100 litres") << 100.0f << BatchUnit::Litre << "100.00";
    }

    void litres()
    {
        QFETCH(float, size);
        QFETCH(BatchUnit, unit);
        QFETCH(QString, litres);
        QCOMPARE(Shown(ToLitres(size, unit)), litres);
    }

    void molecularAndFree()
    {
        QCOMPARE(Shown(MolecularFromFree(10, 3.5f)), QStringLiteral("0.20"));
        QCOMPARE(Shown(MolecularFromFree(40, 3.5f)), QStringLiteral("0.78"));
        QCOMPARE(Shown(FreeFromMolecular(0.8f, 3.5f)), QStringLiteral("40.89"));
        // F(3.50) = 51.12: one part molecular in 51.12 parts free.
        QCOMPARE(Shown(FreeFromMolecular(1, 3.5f)), QStringLiteral("51.12"));
        // A pH of 0 is what an unreadable pH counts as.
        QCOMPARE(Shown(MolecularFromFree(10, 0)), QStringLiteral("9.84"));
    }

    void amounts_data()
    {
        QTest::addColumn<SourceForm>("form");
        QTest::addColumn<SulphiteSource>("source");
        QTest::addColumn<float>("litres");
        QTest::addColumn<double>("requirement");
        QTest::addColumn<AdditionUnit>("unit");
        QTest::addColumn<QString>("shown");

        const float usBatch = ToLitres(23, BatchUnit::USGallon);
        const auto kmbs = SulphiteSource::PotassiumMetabisulphite;
        QTest::newRow("powder g") << SourceForm::Powder << kmbs << usBatch << 30.0
                                  << AdditionUnit::Grams << "4.53";
        QTest::newRow("powder tsp")
            << SourceForm::Powder << kmbs << usBatch << 30.0 << AdditionUnit::Teaspoons << "0.73";
        QTest::newRow("powder tbsp")
            << SourceForm::Powder << kmbs << usBatch << 30.0 << AdditionUnit::Tablespoons << "0.24";
        QTest::newRow("powder oz") << SourceForm::Powder << kmbs << usBatch << 30.0
                                   << AdditionUnit::AvoirdupoisOunces << "0.16";
        QTest::newRow("tablets") << SourceForm::Tablet << kmbs << usBatch << 30.0
                                 << AdditionUnit::Tablets << "10.30";
        QTest::newRow("solution ml") << SourceForm::Solution << kmbs << usBatch << 30.0
                                     << AdditionUnit::Millilitres << "45.32";
        QTest::newRow("solution tsp")
            << SourceForm::Solution << kmbs << usBatch << 30.0 << AdditionUnit::Teaspoons << "9.20";
        QTest::newRow("solution tbsp") << SourceForm::Solution << kmbs << usBatch << 30.0
                                       << AdditionUnit::Tablespoons << "3.06";
        QTest::newRow("solution fl oz") << SourceForm::Solution << kmbs << usBatch << 30.0
                                        << AdditionUnit::FluidOunces << "1.53";
        QTest::newRow("sodium metabisulphite")
            << SourceForm::Powder << SulphiteSource::SodiumMetabisulphite << 100.0f << 30.0
            << AdditionUnit::Grams << "4.45";
        QTest::newRow("sodium bisulphite")
            << SourceForm::Powder << SulphiteSource::SodiumBisulphite
            << ToLitres(5, BatchUnit::ImperialGallon) << 30.0 << AdditionUnit::Grams << "1.11";
        QTest::newRow("nothing required")
            << SourceForm::Powder << kmbs << usBatch << 0.0 << AdditionUnit::Teaspoons << "0.00";
        QTest::newRow("negative requirement") << SourceForm::Solution << kmbs << usBatch << -30.0
                                              << AdditionUnit::Millilitres << "-45.32";
        QTest::newRow("unit the form lacks")
            << SourceForm::Tablet << kmbs << usBatch << 30.0 << AdditionUnit::Teaspoons << "0.00";
    }

    void amounts()
    {
        QFETCH(SourceForm, form);
        QFETCH(SulphiteSource, source);
        QFETCH(float, litres);
        QFETCH(double, requirement);
        QFETCH(AdditionUnit, unit);
        QFETCH(QString, shown);
        const float base = BaseAmount(form, requirement, source, litres, 0.44f, 10.0f);
        QCOMPARE(Shown(AmountInUnit(form, base, unit)), shown);
    }

    void powderTablespoonIsNotAnExactThird()
    {
        QCOMPARE(Shown(AmountInUnit(SourceForm::Powder, 6.2f, AdditionUnit::Teaspoons)),
                 QStringLiteral("1.00"));
        const float tbsp = AmountInUnit(SourceForm::Powder, 6.2f, AdditionUnit::Tablespoons);
        QCOMPARE(Shown(tbsp), QStringLiteral("0.33"));
        // 0.333333 of a teaspoon, which in single precision is below an exact third.
        QVERIFY(tbsp > 0.3333329f && tbsp < 1.0f / 3.0f);
    }

    void unitListsAreSortedWithTheirDefault()
    {
        auto texts = [](SourceForm form) {
            QStringList list;
            for (auto unit : AdditionUnitsFor(form))
                list << ListText(unit);
            return list;
        };
        QCOMPARE(texts(SourceForm::Powder), QStringList({"g", "oz (av.)", "tbsp", "tsp"}));
        QCOMPARE(texts(SourceForm::Solution), QStringList({"ml", "oz (fl.)", "tbsp", "tsp"}));
        QCOMPARE(texts(SourceForm::Tablet), QStringList({"tablets"}));
        QCOMPARE(DefaultAdditionUnit(SourceForm::Powder), AdditionUnit::Grams);
        QCOMPARE(DefaultAdditionUnit(SourceForm::Solution), AdditionUnit::Millilitres);
        QCOMPARE(DefaultAdditionUnit(SourceForm::Tablet), AdditionUnit::Tablets);
    }
};

QTEST_GUILESS_MAIN(TestChemistry)
#include "test_chemistry.moc"
