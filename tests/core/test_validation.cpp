// What the windows check before they calculate or save, and how the spin controls step.
#include "core/entry.h"
#include "core/validation.h"
#include "tests/core/worked_batch.h"
#include "tests/support.h"

using namespace ardovin;

class TestValidation : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // The first problem in the fixed order, and the field the user is sent back to ("mol" is
    // the molecular target 0.80 with an existing molecular level of 0.20).
    void firstInputError_data()
    {
        AddRows({"changes", "message", "field"}, R"(
valid                        |                                   |
percentage letters           | form=Solution percent=x           | Solution percentage must be numeric. | 0
percentage 0.99              | form=Solution percent=0.99        | Solution % must be between 1 and 100. | 0
percentage 1                 | form=Solution percent=1           |
percentage 100               | form=Solution percent=100         |
powder ignores both          | percent=x tablet=x                |
tablet before batch          | form=Tablet tablet=abc size=      | Tablet weight must be numeric. | 1
tablet 0                     | form=Tablet tablet=0              | Tablet weight must be greater than 0. | 1
batch empty                  | size=                             | Batch size must be numeric. | 2
batch 0 before pH            | size=0 ph=x                       | Batch size must be greater than 0. | 2
batch beyond single          | size=1e39                         | Batch size must be greater than 0. | 2
pH letters, free target      | ph=acid                           | pH must be numeric. | 3
pH 0.99                      | mol ph=0.99                       | pH must be between 1 and 14. | 3
pH 14.01                     | mol ph=14.01                      | pH must be between 1 and 14. | 3
pH 1                         | mol ph=1                          |
pH 14                        | mol ph=14                         |
pH beyond single             | mol ph=1e39                       | pH must be between 1 and 14. | 3
existing letters             | exist=x target=x                  | Existing SO2 must be numeric. | 4
target letters               | target=x                          | Target SO2 must be numeric. | 5
free ignores molecular       | mol=x                             |
molecular empty              | mol mol=                          | Please enter target SO2. | 6
molecular letters            | mol mol=x target=x                | Target SO2 must be numeric. | 6
existing above               | exist=40.01                       | Existing SO2 cannot be greater than target SO2. | 5
existing equal               | exist=40                          |
existing beyond single       | exist=1e39                        | Existing SO2 cannot be greater than target SO2. | 5
molecular above              | mol existmol=0.81                 | Existing SO2 cannot be greater than target SO2. | 6
molecular equal              | mol existmol=0.80 exist=99        |
molecular, existing too big  | mol existmol=0.00 exist=1e39      | Existing SO2 cannot be greater than target SO2. | 6
kind compared untrimmed      | kind=_Total_Free_SO2 target=x     |
)");
    }

    void firstInputError()
    {
        auto [changes, message, field] = Cells("changes", "message", "field");
        const auto problem = FirstInputError(Batch(changes));
        QCOMPARE(problem ? problem->message : QString(), message);
        QCOMPARE(problem ? QString::number(int(problem->field)) : QString(), field);
    }

    // The questions asked, in order, each with the field a No sends the user to.
    void confirmations_data()
    {
        AddRows({"changes", "questions"}, R"(
none                 | tablet=2 percent=60           |
tablet 1.01          | form=Tablet tablet=1.01       | Tablet weight appears high. 1
tablet 1             | form=Tablet tablet=1          |
tablet beyond single | form=Tablet tablet=1e39       | Tablet weight appears high. 1
solution 50.01       | form=Solution percent=50.01   | Solution percentage appears high. 0
solution 50          | form=Solution percent=50      |
pH 1.99              | mol ph=1.99                   | pH appears low. 3
pH 2                 | mol ph=2                      |
pH 5                 | mol ph=5                      |
pH 5.01              | mol ph=5.01                   | pH appears high. 3
pH 6, free target    | ph=6                          |
tablet, then pH      | mol form=Tablet tablet=1.5 ph=6 | Tablet weight appears high. 1, pH appears high. 3
)");
    }

    void confirmations()
    {
        auto [changes, questions] = Cells("changes", "questions");
        QStringList asked;
        for (const Confirmation& c : Confirmations(Batch(changes)))
            asked << c.question.chopped(int(qstrlen(" Are you sure it is correct?"))) + u' ' +
                         QString::number(int(c.fieldOnNo));
        QCOMPARE(asked.join(QStringLiteral(", ")), questions);
    }

    // The dialog checks all three fields, whatever form is chosen.
    void defaultsError_data()
    {
        AddRows({"solution", "tablet", "batch", "message"}, R"(
valid            | 10.00 | 0.44 | 5.00 |
solution 0.5     | 0.5   | x    | x    | Solution % must be between 1 and 100.
solution letters | x     | x    | x    | Solution percentage must be numeric.
tablet first     | 10    | 0    | x    | Tablet weight must be greater than 0.
batch blanks     | 10    | 0.44 | _    | Batch size must be numeric.
batch digits run | 10    | 0.44 | 99999999999999999999999999999999999999999 | Batch size must be greater than 0.
)");
    }

    void defaultsError()
    {
        auto [solution, tablet, batch, message] = Cells("solution", "tablet", "batch", "message");
        const auto problem = FirstDefaultsError(
            solution, tablet, batch.replace(QStringLiteral("_"), QStringLiteral("  ")));
        QCOMPARE(problem ? problem->message : QString(), message);
    }

    // One press of a spin control (-1 up, 1 down), then held within the rule's bounds.
    void spin_data()
    {
        AddRows({"rule", "text", "press", "after"}, R"(
batch floor    | batch   | 0.5   | 1  | 0.00
batch grouped  | batch   | 1,234 | -1 | 1,235.00
batch too big  | batch   | 1e39  | -1 | 0.00
pH floor       | ph      | 1.05  | 1  | 1.00
pH ceiling     | ph      | 13.95 | -1 | 14.00
pH at 1        | ph      | 1     | 1  | 1.00
pH at 14       | ph      | 14    | -1 | 14.00
pH unreadable  | ph      | x     | -1 | 1.00
target         | target  | 40    | -1 | 41.00
molecular up   | mol     | 0.8   | -1 | 0.81
tablet floor   | tablet  | 0.01  | 1  | 0.00
percent at 1   | percent | 1     | 1  | 1.00
percent at 100 | percent | 100   | -1 | 100.00
)");
    }

    void spin()
    {
        auto [rule, text, press, after] = Cells("rule", "text", "press", "after");
        const QHash<QString, SpinRule> rules{
            {"batch", SpinRules::BatchSize},  {"ph", SpinRules::Ph},
            {"exist", SpinRules::ExistSO2},   {"target", SpinRules::TargetSO2},
            {"mol", SpinRules::TargetMolSO2}, {"tablet", SpinRules::TabWeight},
            {"percent", SpinRules::Solution}};
        const QString stepped = SteppedText(text, press.toInt(), rules[rule]).value_or(text);
        QCOMPARE(BoundedText(stepped, rules[rule]).value_or(stepped), after);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(*SteppedText("3,4", -1, SpinRules::Ph), QStringLiteral("3,50"));
    }

    // Control characters up to Ctrl+Z and the characters of a number; nothing else.
    void keyFilter()
    {
        for (int code = 0; code <= 26; ++code)
            QCOMPARE(FilterNumericKey(code), code);
        for (QChar c : QStringLiteral("0123456789.,"))
            QCOMPARE(FilterNumericKey(c.unicode()), int(c.unicode()));
        for (int code = 27; code < 0x3000; ++code)
            if (!QStringLiteral("0123456789.,").contains(QChar(code)))
                QCOMPARE(FilterNumericKey(code), 0);
        QCOMPARE(FilterNumericKey(0x10030), 0); // beyond the 16 bits of a QChar, not '0'
    }
};

QTEST_GUILESS_MAIN(TestValidation)
#include "test_validation.moc"
