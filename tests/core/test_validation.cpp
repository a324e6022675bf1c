#include "core/entry.h"
#include "core/validation.h"

#include <QtTest>

using namespace ardovin;

namespace {

FormTexts Valid(SourceForm form = SourceForm::Powder, TargetKind kind = TargetKind::TotalFree)
{
    FormTexts t;
    t.form = form;
    t.targetKind = ListText(kind);
    t.solution = "10.00";
    t.tabWeight = "0.44";
    t.batchSize = "23";
    t.ph = "3.50";
    t.existSO2 = "10";
    t.targetSO2 = "40";
    t.targetMolSO2 = "0.80";
    t.existMolSO2 = "0.20";
    return t;
}

} // namespace

Q_DECLARE_METATYPE(ardovin::InputField)

class TestValidation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void validInputsPass()
    {
        for (auto form : AllForms)
            for (auto kind : AllTargetKinds) {
                QVERIFY(!FirstInputError(Valid(form, kind)));
                QVERIFY(Confirmations(Valid(form, kind)).empty());
            }
    }

    // Numbers beyond single precision read as numbers, yet no comparison can be made with them:
    // each such comparison fails.
    void numbersBeyondSinglePrecision_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("molecular");
        QTest::addColumn<QString>("message");
        QTest::addColumn<InputField>("focus");
        const QString aboveTarget = "Existing SO2 cannot be greater than target SO2.";
        QTest::newRow("existing") << "existSO2" << false << aboveTarget << InputField::TargetSO2;
        // The shown molecular level of such a level reads 0.00, yet it is no pass.
        QTest::newRow("existing, molecular target")
            << "existSO2" << true << aboveTarget << InputField::TargetMolSO2;
        QTest::newRow("target") << "targetSO2" << false << aboveTarget << InputField::TargetSO2;
        QTest::newRow("batch") << "batchSize" << false << "Batch size must be greater than 0."
                               << InputField::BatchSize;
        QTest::newRow("pH, free target") << "ph" << false << "" << InputField::Ph;
    }

    void numbersBeyondSinglePrecision()
    {
        QFETCH(QString, field);
        QFETCH(bool, molecular);
        QFETCH(QString, message);
        QFETCH(InputField, focus);
        FormTexts t =
            Valid(SourceForm::Powder, molecular ? TargetKind::Molecular : TargetKind::TotalFree);
        const QString huge = "1e39";
        if (field == "existSO2") {
            t.existSO2 = huge;
            t.existMolSO2 = "0.00";
        } else if (field == "targetSO2") {
            t.targetSO2 = huge;
        } else if (field == "batchSize") {
            t.batchSize = huge;
        } else {
            t.ph = huge;
        }
        const auto problem = FirstInputError(t);
        QCOMPARE(problem ? problem->message : QString(), message);
        if (problem)
            QCOMPARE(problem->field, focus);
    }

    void molecularComparisonUsesTheShownExistingLevel()
    {
        FormTexts t = Valid(SourceForm::Powder, TargetKind::Molecular);
        t.existMolSO2 = "0.59";
        t.targetMolSO2 = "0.59";
        QVERIFY(!FirstInputError(t));
        t.existMolSO2 = "0.60";
        QCOMPARE(FirstInputError(t)->field, InputField::TargetMolSO2);
    }

    void targetKindIsComparedExactly()
    {
        FormTexts t = Valid();
        t.targetKind = " Total Free SO2";
        t.targetSO2 = "abc"; // not checked: no kind applies
        QVERIFY(!FirstInputError(t));
    }

    void tabletQuestionComesBeforeThePhQuestion()
    {
        FormTexts t = Valid(SourceForm::Tablet, TargetKind::Molecular);
        t.tabWeight = "1.5";
        t.ph = "6";
        t.existMolSO2 = "0";
        const auto questions = Confirmations(t);
        QCOMPARE(questions.size(), std::size_t(2));
        QCOMPARE(questions[0].fieldOnNo, InputField::TabWeight);
        QCOMPARE(questions[1].question,
                 QStringLiteral("pH appears high. Are you sure it is correct?"));
    }

    void defaultsChecks_data()
    {
        QTest::addColumn<QString>("solution");
        QTest::addColumn<QString>("tablet");
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("message");
        QTest::newRow("valid") << "10.00"
                               << "0.44"
                               << "5.00"
                               << "";
        QTest::newRow("bounds pass") << "100"
                                     << "0.01"
                                     << "0.01"
                                     << "";
        QTest::newRow("solution 1 passes") << "1"
                                           << "0.44"
                                           << "5"
                                           << "";
        QTest::newRow("solution 100.5") << "100.5"
                                        << "0.44"
                                        << "5"
                                        << "Solution % must be between 1 and 100.";
        QTest::newRow("solution letters") << "x"
                                          << "x"
                                          << "x"
                                          << "Solution percentage must be numeric.";
        QTest::newRow("tablet before batch") << "10"
                                             << "abc"
                                             << "0"
                                             << "Tablet weight must be numeric.";
        QTest::newRow("tablet zero") << "10"
                                     << "0.00"
                                     << "5"
                                     << "Tablet weight must be greater than 0.";
        QTest::newRow("batch zero") << "10"
                                    << "0.44"
                                    << "0.00"
                                    << "Batch size must be greater than 0.";
        QTest::newRow("batch digits run")
            << "10"
            << "0.44" << QString(60, u'9') << "Batch size must be greater than 0.";
        QTest::newRow("batch blanks") << "10"
                                      << "0.44"
                                      << "  "
                                      << "Batch size must be numeric.";
    }

    void defaultsChecks()
    {
        QFETCH(QString, solution);
        QFETCH(QString, tablet);
        QFETCH(QString, batch);
        QFETCH(QString, message);
        const auto problem = FirstDefaultsError(solution, tablet, batch);
        QCOMPARE(problem ? problem->message : QString(), message);
    }

    void keyFilter()
    {
        for (int code = 0; code <= 26; ++code)
            QCOMPARE(FilterNumericKey(code), code);
        for (QChar c : QStringLiteral("0123456789.,"))
            QCOMPARE(FilterNumericKey(c.unicode()), int(c.unicode()));
        for (int code : {27, 31, 32, int('-'), int('+'), int('e'), int('A'), 127, 0xE9, 0x20AC})
            QCOMPARE(FilterNumericKey(code), 0);
    }

    void spinTextsFollowTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(*SteppedText("1.234,00", -1, SpinRules::BatchSize), QStringLiteral("1.235,00"));
        QCOMPARE(*SteppedText("3,4", -1, SpinRules::Ph), QStringLiteral("3,50"));
        QCOMPARE(*BoundedText("0,5", SpinRules::Ph), QStringLiteral("1,00"));
        QVERIFY(!BoundedText("13,99", SpinRules::Ph));
        QVERIFY(!SteppedText("3.4.5", -1, SpinRules::Ph));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
};

QTEST_GUILESS_MAIN(TestValidation)
#include "test_validation.moc"
