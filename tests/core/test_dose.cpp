#include "core/dose.h"
#include "core/numbers.h"

#include <cmath>
#include <QtTest>

using namespace ardovin;

namespace {

// The worked batch: 23 U.S. gallons at pH 3.50, from 10 to 40 mg/L free SO2, potassium
// metabisulphite powder, shown in grams.
DoseInputs WorkedBatch()
{
    DoseInputs in;
    in.BatchSize = 23;
    in.BatchUnit = BatchUnit::USGallon;
    in.PH = 3.5f;
    in.ExistingFreeSO2 = 10;
    in.TargetKind = TargetKind::TotalFree;
    in.TargetFreeSO2 = 40;
    in.Source = SulphiteSource::PotassiumMetabisulphite;
    in.Form = SourceForm::Powder;
    in.TabletWeight = 0.44f;
    in.SolutionPercent = 10;
    in.AdditionUnit = AdditionUnit::Grams;
    return in;
}

QString Shown(float value)
{
    return FormatStandard(value);
}

} // namespace

class TestDose : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void workedBatch()
    {
        const DoseResult r = ComputeDose(WorkedBatch());
        QCOMPARE(Shown(r.BatchLitres), QStringLiteral("87.06"));
        QCOMPARE(Shown(r.ExistingMolecularSO2), QStringLiteral("0.20"));
        QCOMPARE(Shown(r.TargetMolecularSO2), QStringLiteral("0.78"));
        QCOMPARE(Shown(r.FreeSO2Requirement), QStringLiteral("30.00"));
        QCOMPARE(Shown(r.MolecularSO2Requirement), QStringLiteral("0.59"));
        QCOMPARE(Shown(r.ShownAddition), QStringLiteral("4.53"));
    }

    void shownAddition_data()
    {
        QTest::addColumn<SourceForm>("form");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("shown");
        QTest::newRow("powder g") << SourceForm::Powder << "g"
                                  << "4.53";
        QTest::newRow("powder tsp") << SourceForm::Powder << "tsp"
                                    << "0.73";
        QTest::newRow("powder tbsp") << SourceForm::Powder << "tbsp"
                                     << "0.24";
        QTest::newRow("powder oz") << SourceForm::Powder << "oz (av.)"
                                   << "0.16";
        QTest::newRow("tablets") << SourceForm::Tablet << "tablets"
                                 << "10.30";
        QTest::newRow("solution ml") << SourceForm::Solution << "ml"
                                     << "45.32";
        QTest::newRow("solution tsp") << SourceForm::Solution << "tsp"
                                      << "9.20";
        QTest::newRow("solution tbsp") << SourceForm::Solution << "tbsp"
                                       << "3.06";
        QTest::newRow("solution oz") << SourceForm::Solution << "oz (fl.)"
                                     << "1.53";
        QTest::newRow("unit text padded") << SourceForm::Powder << "g "
                                          << "0.00";
    }

    void shownAddition()
    {
        QFETCH(SourceForm, form);
        QFETCH(QString, unit);
        QFETCH(QString, shown);
        DoseInputs in = WorkedBatch();
        in.Form = form;
        in.AdditionUnit = AdditionUnitFromText(unit);
        QCOMPARE(Shown(ComputeDose(in).ShownAddition), shown);
    }

    void tabletsLeaveSpoonsAndOuncesAtZero()
    {
        DoseInputs in = WorkedBatch();
        in.Form = SourceForm::Tablet;
        const DoseResult r = ComputeDose(in);
        QVERIFY(r.Amount > 10.29f);
        QVERIFY(r.AmountTsp == 0 && r.AmountTbsp == 0 && r.AmountOz == 0);
    }

    void molecularTarget()
    {
        DoseInputs in = WorkedBatch();
        in.TargetKind = TargetKind::Molecular;
        in.TargetMolecularSO2 = 0.8f;
        in.TargetFreeSO2 = 99; // not the kind in use: must be ignored
        const DoseResult r = ComputeDose(in);
        QCOMPARE(Shown(r.TargetFreeSO2), QStringLiteral("40.89"));
        QCOMPARE(Shown(r.ShownAddition), QStringLiteral("4.67"));
        QCOMPARE(Shown(r.FreeSO2Requirement), QStringLiteral("30.89"));
        QCOMPARE(Shown(r.MolecularSO2Requirement), QStringLiteral("0.60"));
    }

    void targetJustBelowTheExistingLevel()
    {
        DoseInputs in = WorkedBatch();
        in.ExistingFreeSO2 = 30.33f;
        in.TargetKind = TargetKind::Molecular;
        in.TargetMolecularSO2 = 0.59f;
        const DoseResult r = ComputeDose(in);
        QCOMPARE(Shown(r.ExistingMolecularSO2), QStringLiteral("0.59"));
        QCOMPARE(Shown(r.TargetFreeSO2), QStringLiteral("30.16"));
        QCOMPARE(Shown(r.FreeSO2Requirement), QStringLiteral("-0.17"));
        // Not clamped here: the window clamps what it shows.
        QCOMPARE(Shown(r.ShownAddition), QStringLiteral("-0.03"));
    }

    void unreadablePhCountsAsZero()
    {
        DoseInputs in = WorkedBatch();
        in.PH = 0;
        const DoseResult r = ComputeDose(in);
        QCOMPARE(Shown(r.ExistingMolecularSO2), QStringLiteral("9.84"));
        QCOMPARE(Shown(r.ShownAddition), QStringLiteral("4.53"));
    }

    void smallAdditionRoundsToZero()
    {
        DoseInputs in = WorkedBatch();
        in.BatchSize = 1;
        in.BatchUnit = BatchUnit::Litre;
        in.PH = 3;
        in.ExistingFreeSO2 = 0;
        in.TargetFreeSO2 = 1;
        const DoseResult r = ComputeDose(in);
        QCOMPARE(Shown(r.ShownAddition), QStringLiteral("0.00"));
        QCOMPARE(Shown(r.FreeSO2Requirement), QStringLiteral("1.00"));
        QCOMPARE(Shown(r.MolecularSO2Requirement), QStringLiteral("0.06"));
    }

    void existingEqualToTarget()
    {
        DoseInputs in = WorkedBatch();
        in.ExistingFreeSO2 = 40;
        const DoseResult r = ComputeDose(in);
        QCOMPARE(Shown(r.FreeSO2Requirement), QStringLiteral("0.00"));
        QCOMPARE(Shown(r.MolecularSO2Requirement), QStringLiteral("0.00"));
        QCOMPARE(Shown(r.ShownAddition), QStringLiteral("0.00"));
    }

    void unmatchedTextsLeaveTheirStepsAtZero()
    {
        DoseInputs in = WorkedBatch();
        in.BatchUnit.reset(); // the size is taken as litres
        in.TargetKind.reset();
        const DoseResult r = ComputeDose(in);
        QVERIFY(r.BatchLitres == 23.0f);
        QVERIFY(r.TargetFreeSO2 == 0 && r.TargetMolecularSO2 == 0);
        QCOMPARE(Shown(r.FreeSO2Requirement), QStringLiteral("-10.00"));
    }

    // A settings file can hand the start-up calculation a zero tablet weight or percentage,
    // a compound that matches nothing or a huge number: the results must stay finite.
    void failingArithmeticGivesZero_data()
    {
        QTest::addColumn<SourceForm>("form");
        QTest::addColumn<float>("tabletWeight");
        QTest::addColumn<float>("percent");
        QTest::addColumn<bool>("source");
        QTest::addColumn<float>("batchSize");
        QTest::newRow("tablet weight 0") << SourceForm::Tablet << 0.0f << 10.0f << true << 23.0f;
        QTest::newRow("percentage 0") << SourceForm::Solution << 0.44f << 0.0f << true << 23.0f;
        QTest::newRow("no compound") << SourceForm::Powder << 0.44f << 10.0f << false << 23.0f;
        QTest::newRow("overflow") << SourceForm::Solution << 0.44f << 1e-30f << true << 3e38f;
    }

    void failingArithmeticGivesZero()
    {
        QFETCH(SourceForm, form);
        QFETCH(float, tabletWeight);
        QFETCH(float, percent);
        QFETCH(bool, source);
        QFETCH(float, batchSize);
        DoseInputs in = WorkedBatch();
        in.Form = form;
        in.TabletWeight = tabletWeight;
        in.SolutionPercent = percent;
        in.BatchSize = batchSize;
        if (!source)
            in.Source.reset();
        in.AdditionUnit = DefaultAdditionUnit(form);
        const DoseResult r = ComputeDose(in);
        QVERIFY(r.Amount == 0 && r.ShownAddition == 0);
        QVERIFY(r.AmountTsp == 0 && r.AmountTbsp == 0 && r.AmountOz == 0);
        QCOMPARE(Shown(r.FreeSO2Requirement), QStringLiteral("30.00"));
    }

    void hugePhKeepsEveryResultFinite()
    {
        DoseInputs in = WorkedBatch();
        in.PH = 3e38f;
        in.TargetKind = TargetKind::Molecular;
        in.TargetMolecularSO2 = 1;
        const DoseResult r = ComputeDose(in);
        for (float v : {r.ExistingMolecularSO2, r.TargetFreeSO2, r.FreeSO2Requirement,
                        r.MolecularSO2Requirement, r.Amount, r.ShownAddition})
            QVERIFY(std::isfinite(v));
        QVERIFY(r.TargetFreeSO2 == 0);
    }
};

QTEST_GUILESS_MAIN(TestDose)
#include "test_dose.moc"
