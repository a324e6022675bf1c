// The main window under random input: every field filled with whatever can be pasted or typed,
// random choices in the lists and option buttons, random spin presses, and Calculate pressed
// thousands of times with random answers to the questions. Nothing may crash, every message
// must be one of the program's own, and every result shown must be a number in the standard
// format, the addition never below zero.
//
// The generator is seeded, so a failure reproduces; ARDOVIN_RANDOM_SEED=<n> tries another seed.
#include "tests/fuzz/standard_format_check.h"
#include "window_fixture.h"

#include <cmath>
#include <QRandomGenerator>

using modProc::Answer;

namespace {

constexpr int PressesPerLocale = 1500;

// Every message the main window's validation can show, and every question it can ask.
const QStringList ProgramMessages = {
    QStringLiteral("Solution percentage must be numeric."),
    QStringLiteral("Solution % must be between 1 and 100."),
    QStringLiteral("Tablet weight must be numeric."),
    QStringLiteral("Tablet weight must be greater than 0."),
    QStringLiteral("Batch size must be numeric."),
    QStringLiteral("Batch size must be greater than 0."),
    QStringLiteral("pH must be numeric."),
    QStringLiteral("pH must be between 1 and 14."),
    QStringLiteral("Existing SO2 must be numeric."),
    QStringLiteral("Target SO2 must be numeric."),
    QStringLiteral("Please enter target SO2."),
    QStringLiteral("Existing SO2 cannot be greater than target SO2."),
};
const QStringList ProgramQuestions = {
    QStringLiteral("Tablet weight appears high. Are you sure it is correct?"),
    QStringLiteral("Solution percentage appears high. Are you sure it is correct?"),
    QStringLiteral("pH appears low. Are you sure it is correct?"),
    QStringLiteral("pH appears high. Are you sure it is correct?"),
};

// The numeric fields, each with the range of values a wine maker would enter.
struct FieldRange
{
    const char* name;
    double low;
    double high;
};
const FieldRange Fields[] = {{"txtSolution", 1, 100},     {"txtTabWeight", 0.01, 2},
                             {"txtBatchSize", 0.1, 5000}, {"txtPh", 1, 14},
                             {"txtExistSO2", 0, 60},      {"txtTargetSO2", 0, 300},
                             {"txtTargetMolSO2", 0, 5}};
const char* const Spins[] = {"vsbPercent",  "vsbCampden",   "vsbBatchSize",   "vsbPh",
                             "vsbExistSO2", "vsbTargetSO2", "vsbTargetMolSO2"};
const char* const Lists[] = {"cboForm", "cboBatch", "cboTarget", "cboAdditionUnits"};
const char* const Options[] = {"optPowder", "optSolution", "optTablet"};
const char* const Results[] = {"lblAddition", "lblExistMolSO2", "lblSO2Requirement",
                               "lblMolSO2Requirement"};

// Texts a user might paste or type: numbers of every size, in either locale's form, and
// everything else.
class RandomTexts
{
public:
    explicit RandomTexts(QRandomGenerator& generator) : random(generator) {}

    QString next()
    {
        switch (random.bounded(7)) {
        case 0:
            return number();
        case 1:
            return pick({"1e39", "-1e39", "3.4e38", "3,4e38", "1e308", "1e309", "-0", "-0.001",
                         "0.005", "-0,005", "1E-45", "4e-39", "nan", "inf", "-inf", "0x10"});
        case 2:
            return QString(random.bounded(380, 420), QChar(u'0' + random.bounded(10)));
        case 3:
            return pick({"", " ", "   ", "\t", " 5 ", "5 ", ".", ",", "-", "+", "e", "1e", "1,2,3",
                         "1.2.3", "1.234,5", "1,234.5", "12\u00a0345,6", "٣٫٥"});
        case 4:
            return junk(random.bounded(0, 30));
        case 5:
            return QString(random.bounded(1000, 20000), junk(1).front());
        default:
            return junk(random.bounded(1, 4)) + number() + junk(random.bounded(0, 2));
        }
    }

    // A value the field accepts, written as the user's locale writes it; now and then one at
    // the edge of what single precision holds.
    QString plausible(const FieldRange& field)
    {
        if (random.bounded(10) == 0) {
            const double extremes[] = {1e-30, 1e30, 3.4e38, 3.403e38};
            return QLocale().toString(extremes[random.bounded(4)], 'e', 3);
        }
        const double share = std::pow(random.generateDouble(), 3);
        return QLocale().toString(field.low + (field.high - field.low) * share, 'f',
                                  random.bounded(0, 5));
    }

    // What survives the key filter, for typing rather than pasting.
    QString typeable()
    {
        static const QString keys = QStringLiteral("0123456789.,");
        QString text;
        for (int i = random.bounded(0, 12); i > 0; --i)
            text += keys.at(random.bounded(keys.size()));
        return text;
    }

private:
    QString pick(std::initializer_list<const char*> texts)
    {
        const auto* chosen = texts.begin() + random.bounded(int(texts.size()));
        return QString::fromUtf8(*chosen);
    }

    QString number()
    {
        const double magnitude = std::pow(10.0, random.bounded(-4, 12));
        double value = random.generateDouble() * magnitude;
        if (random.bounded(4) == 0)
            value = -value;
        const QLocale locale = random.bounded(2) ? QLocale() : QLocale::c();
        return locale.toString(value, 'f', random.bounded(0, 6));
    }

    QString junk(int length)
    {
        static const QString characters =
            QStringLiteral("0123456789.,-+ eE\tabcxyzÄß€%()\u00a0\u2212\u066b\u0663");
        QString text;
        for (int i = 0; i < length; ++i)
            text += random.bounded(20) == 0 ? QChar(u'\0')
                                            : characters.at(random.bounded(characters.size()));
        return text;
    }

    QRandomGenerator& random;
};

// For a failure message: the text as it stands, long runs cut short.
QString Shown(const QString& text)
{
    const QString cut = text.size() > 40
                            ? text.left(40) + QStringLiteral("...(%1 characters)").arg(text.size())
                            : text;
    return u'"' + QString(cut).replace(QChar(u'\0'), QStringLiteral("\\0")) + u'"';
}

} // namespace

class TestRandomInput : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedAnswers> answers;
    std::unique_ptr<WindowUnderTest> w;

    QString Situation(quint32 seed, int press) const
    {
        QString situation = QStringLiteral("seed %1, press %2:").arg(seed).arg(press);
        for (const FieldRange& field : Fields)
            situation += u' ' + QString::fromLatin1(field.name) + u'=' + Shown(w->text(field.name));
        for (const char* name : Lists)
            situation += u' ' + QString::fromLatin1(name) + u'=' + Shown(w->text(name));
        for (const char* name : Options)
            if (w->get<QRadioButton>(name)->isChecked())
                situation += u' ' + QString::fromLatin1(name);
        return situation;
    }

    // Changes some of the window's inputs; now and then all of them to values it accepts, so
    // that the calculation runs often enough.
    void Scramble(QRandomGenerator& random, RandomTexts& texts) const
    {
        const bool plausible = random.bounded(3) == 0;
        for (const FieldRange& field : Fields) {
            if (plausible) {
                w->paste(field.name, texts.plausible(field));
                continue;
            }
            if (random.bounded(2) == 0)
                continue;
            if (random.bounded(10) == 0 && w->field(field.name)->isEnabled())
                w->type(field.name, texts.typeable());
            else
                w->paste(field.name, random.bounded(2) ? texts.plausible(field) : texts.next());
        }
        for (const char* name : Lists) {
            auto* list = w->get<QComboBox>(name);
            if (random.bounded(4) == 0)
                list->setCurrentIndex(random.bounded(list->count()));
        }
        if (random.bounded(5) == 0)
            w->select(Options[random.bounded(int(std::size(Options)))]);
        if (random.bounded(8) == 0) {
            auto* spin = w->get<QScrollBar>(Spins[random.bounded(int(std::size(Spins)))]);
            spin->triggerAction(random.bounded(2) ? QAbstractSlider::SliderSingleStepAdd
                                                  : QAbstractSlider::SliderSingleStepSub);
        }
    }

    // The results as a user reads them: numbers in the standard format, no negative addition.
    void CheckResults(const StandardFormatCheck& standard, const QString& situation) const
    {
        for (const char* name : Results) {
            const QString shown = w->text(name);
            QVERIFY2(standard.matches(shown),
                     qPrintable(QString::fromLatin1(name) + QStringLiteral(" shows ") +
                                Shown(shown) + QStringLiteral("; ") + situation));
        }
        const QString addition = w->text("lblAddition");
        QVERIFY2(!standard.isNegative(addition),
                 qPrintable(QStringLiteral("the addition is ") + addition + QStringLiteral("; ") +
                            situation));
    }

    // What one press of Calculate showed must be an error message alone, or questions that
    // stop at the first No. Gives the fault, or nothing; tells whether the calculation ran.
    QString MessageFault(const QList<Answer>& planned, bool* calculated) const
    {
        *calculated = true;
        qsizetype questions = 0;
        for (const modProc::MessageRequest& box : answers->shown) {
            if (ProgramMessages.contains(box.text) &&
                box.icon == modProc::MessageIcon::Exclamation) {
                *calculated = false;
                if (answers->shown.size() != 1)
                    return QStringLiteral("an error message among others");
            } else if (ProgramQuestions.contains(box.text) &&
                       box.icon == modProc::MessageIcon::Question) {
                if (!*calculated)
                    return QStringLiteral("a question after a No");
                *calculated = planned.value(questions++, Answer::Yes) == Answer::Yes;
            } else {
                return QStringLiteral("not a message of the program: ") + Shown(box.text);
            }
        }
        return {};
    }

private slots:
    void init() { answers = std::make_unique<ScriptedAnswers>(); }

    void cleanup()
    {
        w.reset();
        answers.reset();
    }

    void calculateWithAnything_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<quint32>("seed");
        const quint32 chosen = qEnvironmentVariableIntValue("ARDOVIN_RANDOM_SEED");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << (chosen ? chosen : 20240611u);
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                                << (chosen ? chosen : 19790305u);
    }

    void calculateWithAnything()
    {
        QFETCH(QLocale, locale);
        QFETCH(quint32, seed);
        QLocale::setDefault(locale); // before the start, which shows the first results
        w = std::make_unique<WindowUnderTest>();
        QVERIFY(w->start());
        const StandardFormatCheck standard{QLocale()};
        QRandomGenerator random(seed);
        RandomTexts texts(random);
        int calculations = 0;
        for (int press = 1; press <= PressesPerLocale; ++press) {
            answers->shown.clear();
            answers->script.clear();
            for (int i = 0; i < 4; ++i)
                answers->script << (random.bounded(3) == 0 ? Answer::No : Answer::Yes);
            Scramble(random, texts);
            CheckResults(standard, Situation(seed, press));
            QVERIFY2(answers->shown.isEmpty(), qPrintable(Situation(seed, press)));

            const QString before = Situation(seed, press);
            const QList<Answer> planned = answers->script;
            w->calculate();
            bool calculated = false;
            const QString fault = MessageFault(planned, &calculated);
            QVERIFY2(fault.isEmpty(), qPrintable(fault + QStringLiteral("; ") + before));
            CheckResults(standard, before);
            if (calculated) {
                ++calculations;
                const char* derived = w->text("cboTarget") == QStringLiteral("Molecular SO2")
                                          ? "txtTargetSO2"
                                          : "txtTargetMolSO2";
                QVERIFY2(standard.matches(w->text(derived)),
                         qPrintable(QString::fromLatin1(derived) + QStringLiteral(" shows ") +
                                    Shown(w->text(derived)) + QStringLiteral("; ") + before));
            }
            if (press % 100 == 0)
                QCoreApplication::processEvents(); // paints what the fields hold
        }
        qInfo("%d of %d presses calculated", calculations, PressesPerLocale);
        // Enough presses must get past the checks for the results to have been put to the test.
        QVERIFY2(calculations >= PressesPerLocale / 10,
                 qPrintable(QStringLiteral("only %1 presses calculated").arg(calculations)));
    }
};

QTEST_MAIN(TestRandomInput)
#include "test_random_input.moc"
