// What the windows check before they calculate or save, and how the spin controls step.
#include "core/entry.h"
#include "core/validation.h"
#include "tests/core/worked_batch.h"

#include <QtTest>

using namespace ardovin;

Q_DECLARE_METATYPE(ardovin::InputField)

class TestValidation : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // The first problem in the fixed order, and the field the user is sent back to.
    void firstInputError_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<InputField>("field");
        const QString molecular = "kind=Molecular_SO2 mol=0.80 existmol=0.20 ";
        const QString above = "Existing SO2 cannot be greater than target SO2.";
        const auto none = InputField::Solution;
        QTest::newRow("valid") << ""
                               << "" << none;
        QTest::newRow("valid, molecular") << molecular << "" << none;
        QTest::newRow("percentage letters")
            << "form=Solution percent=x"
            << "Solution percentage must be numeric." << InputField::Solution;
        QTest::newRow("percentage 0.99")
            << "form=Solution percent=0.99"
            << "Solution % must be between 1 and 100." << InputField::Solution;
        QTest::newRow("percentage 100.5")
            << "form=Solution percent=100.5"
            << "Solution % must be between 1 and 100." << InputField::Solution;
        QTest::newRow("percentage 1 and 100 pass") << "form=Solution percent=1"
                                                   << "" << none;
        QTest::newRow("percentage 100") << "form=Solution percent=100"
                                        << "" << none;
        QTest::newRow("powder ignores the percentage") << "percent=x tablet=x"
                                                       << "" << none;
        QTest::newRow("tablet letters before batch")
            << "form=Tablet tablet=abc size="
            << "Tablet weight must be numeric." << InputField::TabWeight;
        QTest::newRow("tablet 0") << "form=Tablet tablet=0"
                                  << "Tablet weight must be greater than 0."
                                  << InputField::TabWeight;
        QTest::newRow("tablet 0.01") << "form=Tablet tablet=0.01"
                                     << "" << none;
        QTest::newRow("batch empty") << "size="
                                     << "Batch size must be numeric." << InputField::BatchSize;
        QTest::newRow("batch 0 before pH")
            << "size=0 ph=x"
            << "Batch size must be greater than 0." << InputField::BatchSize;
        QTest::newRow("batch beyond single")
            << "size=1e39"
            << "Batch size must be greater than 0." << InputField::BatchSize;
        QTest::newRow("pH letters, free target") << "ph=acid"
                                                 << "pH must be numeric." << InputField::Ph;
        QTest::newRow("pH 0.99") << molecular + "ph=0.99"
                                 << "pH must be between 1 and 14." << InputField::Ph;
        QTest::newRow("pH 14.01") << molecular + "ph=14.01"
                                  << "pH must be between 1 and 14." << InputField::Ph;
        QTest::newRow("pH 1") << molecular + "ph=1"
                              << "" << none;
        QTest::newRow("pH 14") << molecular + "ph=14"
                               << "" << none;
        QTest::newRow("pH 20, free target") << "ph=20"
                                            << "" << none;
        QTest::newRow("pH beyond single, molecular")
            << molecular + "ph=1e39"
            << "pH must be between 1 and 14." << InputField::Ph;
        QTest::newRow("existing letters")
            << "exist=x target=x"
            << "Existing SO2 must be numeric." << InputField::ExistSO2;
        QTest::newRow("target letters") << "target=x"
                                        << "Target SO2 must be numeric." << InputField::TargetSO2;
        QTest::newRow("free ignores molecular") << "mol=x"
                                                << "" << none;
        QTest::newRow("molecular empty") << molecular + "mol="
                                         << "Please enter target SO2." << InputField::TargetMolSO2;
        QTest::newRow("molecular letters")
            << molecular + "mol=x target=x"
            << "Target SO2 must be numeric." << InputField::TargetMolSO2;
        QTest::newRow("existing above") << "exist=40.01" << above << InputField::TargetSO2;
        QTest::newRow("existing equal") << "exist=40"
                                        << "" << none;
        QTest::newRow("existing beyond single") << "exist=1e39" << above << InputField::TargetSO2;
        QTest::newRow("target beyond single") << "target=1e39" << above << InputField::TargetSO2;
        // Molecular: the shown existing level is compared, and an existing level too large to
        // convert fails although it shows 0.00.
        QTest::newRow("molecular above")
            << molecular + "existmol=0.81" << above << InputField::TargetMolSO2;
        QTest::newRow("molecular equal") << molecular + "existmol=0.80 exist=99"
                                         << "" << none;
        QTest::newRow("molecular, existing beyond single")
            << molecular + "existmol=0.00 exist=1e39" << above << InputField::TargetMolSO2;
        QTest::newRow("kind compared untrimmed") << "kind=_Total_Free_SO2 target=x"
                                                 << "" << none;
    }

    void firstInputError()
    {
        QFETCH(QString, changes);
        QFETCH(QString, message);
        QFETCH(InputField, field);
        const auto problem = FirstInputError(Batch(changes));
        QCOMPARE(problem ? problem->message : QString(), message);
        if (problem)
            QCOMPARE(problem->field, field);
    }

    // The questions asked, in order, each with the field a No sends the user to.
    void confirmations_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("questions");
        const QString molecular = "kind=Molecular_SO2 mol=0.80 ";
        QTest::newRow("none") << "tablet=2 percent=60"
                              << "";
        QTest::newRow("tablet 1.01") << "form=Tablet tablet=1.01"
                                     << "Tablet weight 1";
        QTest::newRow("tablet 1") << "form=Tablet tablet=1"
                                  << "";
        QTest::newRow("tablet beyond single") << "form=Tablet tablet=1e39"
                                              << "Tablet weight 1";
        QTest::newRow("solution 50.01") << "form=Solution percent=50.01"
                                        << "Solution percentage 0";
        QTest::newRow("solution 50") << "form=Solution percent=50"
                                     << "";
        QTest::newRow("pH 1.99") << molecular + "ph=1.99"
                                 << "pH appears low. 3";
        QTest::newRow("pH 2 and 5") << molecular + "ph=2"
                                    << "";
        QTest::newRow("pH 5") << molecular + "ph=5"
                              << "";
        QTest::newRow("pH 5.01") << molecular + "ph=5.01"
                                 << "pH appears high. 3";
        QTest::newRow("pH 6, free target") << "ph=6"
                                           << "";
        QTest::newRow("tablet, then pH") << molecular + "form=Tablet tablet=1.5 ph=6"
                                         << "Tablet weight 1|pH appears high. 3";
    }

    void confirmations()
    {
        QFETCH(QString, changes);
        QFETCH(QString, questions);
        QStringList asked;
        for (const Confirmation& c : Confirmations(Batch(changes))) {
            QVERIFY(c.question.endsWith(u" appears high. Are you sure it is correct?") ||
                    c.question.endsWith(u" appears low. Are you sure it is correct?"));
            asked << c.question.section(u' ', 0, c.question.startsWith(u"pH") ? 2 : 1) + u' ' +
                         QString::number(int(c.fieldOnNo));
        }
        QCOMPARE(asked.join(u'|'), questions);
    }

    // The dialog checks all three fields whatever form is chosen.
    void defaultsError_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        QTest::newRow("valid") << QStringList{"10.00", "0.44", "5.00"} << "";
        QTest::newRow("bounds") << QStringList{"100", "0.01", "0.01"} << "";
        QTest::newRow("solution 0.5")
            << QStringList{"0.5", "x", "x"} << "Solution % must be between 1 and 100.";
        QTest::newRow("solution letters")
            << QStringList{"x", "x", "x"} << "Solution percentage must be numeric.";
        QTest::newRow("tablet before batch")
            << QStringList{"10", "0", "x"} << "Tablet weight must be greater than 0.";
        QTest::newRow("batch blanks")
            << QStringList{"10", "0.44", "  "} << "Batch size must be numeric.";
        QTest::newRow("batch digits run")
            << QStringList{"10", "0.44", QString(60, u'9')} << "Batch size must be greater than 0.";
    }

    void defaultsError()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        const auto problem = FirstDefaultsError(fields[0], fields[1], fields[2]);
        QCOMPARE(problem ? problem->message : QString(), message);
    }

    // One press of a spin control: -1 up, +1 down, then held within the rule's bounds.
    void spin_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("press");
        QTest::addColumn<QString>("after");
        const char* const rows[][4] = {
            {"batch", "5", "-1", "6.00"},
            {"batch", "0.5", "1", "0.00"},
            {"batch", "1,234", "-1", "1,235.00"},
            {"ph", "3.4", "-1", "3.50"},
            {"ph", "1.05", "1", "1.00"},
            {"ph", "13.95", "-1", "14.00"},
            {"ph", "1", "1", "1.00"},
            {"ph", "14", "-1", "14.00"},
            {"ph", "x", "-1", "1.00"},
            {"exist", "0", "1", "0.00"},
            {"target", "40", "-1", "41.00"},
            {"mol", "0.8", "-1", "0.81"},
            {"mol", "0", "1", "0.00"},
            {"tablet", "0.01", "1", "0.00"},
            {"tablet", "0.44", "-1", "0.45"},
            {"percent", "1", "1", "1.00"},
            {"percent", "100", "-1", "100.00"},
            {"percent", "10", "1", "9.00"},
            {"batch", "1e39", "-1", "0.00"},
        };
        for (const auto& row : rows)
            QTest::addRow("%s %s %s", row[0], row[1], row[2])
                << row[0] << row[1] << QString(row[2]).toInt() << row[3];
    }

    void spin()
    {
        QFETCH(QString, rule);
        QFETCH(QString, text);
        QFETCH(int, press);
        QFETCH(QString, after);
        const QHash<QString, SpinRule> rules{
            {"batch", SpinRules::BatchSize},  {"ph", SpinRules::Ph},
            {"exist", SpinRules::ExistSO2},   {"target", SpinRules::TargetSO2},
            {"mol", SpinRules::TargetMolSO2}, {"tablet", SpinRules::TabWeight},
            {"percent", SpinRules::Solution}};
        const QString stepped = SteppedText(text, press, rules[rule]).value_or(text);
        QCOMPARE(BoundedText(stepped, rules[rule]).value_or(stepped), after);
    }

    void spinFollowsTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(*SteppedText("3,4", -1, SpinRules::Ph), QStringLiteral("3,50"));
        QCOMPARE(*BoundedText("0,5", SpinRules::Ph), QStringLiteral("1,00"));
    }

    // Control characters up to Ctrl+Z and the characters of a number; nothing else.
    void keyFilter()
    {
        for (int code = 0; code <= 26; ++code)
            QCOMPARE(FilterNumericKey(code), code);
        for (QChar c : QStringLiteral("0123456789.,"))
            QCOMPARE(FilterNumericKey(c.unicode()), int(c.unicode()));
        for (int code : {27, 32, int('-'), int('+'), int('e'), 127, 0x20AC, 0x10030})
            QCOMPARE(FilterNumericKey(code), 0);
    }
};

QTEST_GUILESS_MAIN(TestValidation)
#include "test_validation.moc"
