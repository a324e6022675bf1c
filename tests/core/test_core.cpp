// The core rules: numbers as typed and shown, the worked amounts from the main window's texts to
// the texts it shows, the checks before a calculation or a save.
#include "core/calculation.h"
#include "core/entry.h"
#include "core/numbers.h"
#include "core/validation.h"
#include "tests/support.h"

#include <cfloat>
#include <cmath>

using namespace ardovin;

namespace {

// 23 U.S. gallons at pH 3.50, from 10 to 40 mg/L free SO2, potassium metabisulphite powder,
// shown in grams; changed by "field=text" pairs separated by blanks (_ for a blank in a text).
// "mol" alone stands for a molecular target of 0.80 with an existing molecular level of 0.20.
FormTexts Batch(QString changes)
{
    FormTexts t;
    const QHash<QString, QString*> fields{
        {"size", &t.batchSize},   {"unit", &t.batchUnit},       {"ph", &t.ph},
        {"exist", &t.existSO2},   {"kind", &t.targetKind},      {"target", &t.targetSO2},
        {"mol", &t.targetMolSO2}, {"source", &t.source},        {"tablet", &t.tabWeight},
        {"percent", &t.solution}, {"addunit", &t.additionUnit}, {"existmol", &t.existMolSO2}};
    changes.replace(QRegularExpression("\\bmol\\b(?!=)"),
                    "kind=Molecular_SO2 mol=0.80 existmol=0.20");
    changes.prepend(
        "size=23 unit=U.S._Gal. ph=3.50 exist=10 kind=Total_Free_SO2 target=40 mol=0.00 "
        "source=Potassium_Metabisulphite form=Powder tablet=0.44 percent=10 addunit=g "
        "existmol=0.00 ");
    for (const Change& change : Changes(changes)) {
        if (change.name == u"form")
            t.form = *FormFromText(change.text);
        else
            *fields.value(change.name) = change.text;
    }
    return t;
}

} // namespace

class TestCore : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // What a text reads as ("-" not a number, "big" beyond single precision) and how that number
    // is shown: two decimals, the locale's grouping, never -0.00, reading back as shown.
    void numbers_data()
    {
        AddRows({"locale", "text", "value", "shown"}, R"(
grouped              | en_US | 1,234.50       | 1234.5      | 1,234.50
no minus zero        | en_US | -0.0049        | -0.0049     | 0.00
a hundredth          | en_US | -0.006         | -0.006      | -0.01
large negative       | en_US | -123456        | -123456     | -123,456.00
half a hundredth     | en_US | 0.005          | 0.005       | 0.01
inf                  | en_US | inf            | -
nan                  | en_US | nan            | -
beyond single        | en_US | 1e39           | big
beyond double        | en_US | 1e400          | big
C keeps grouping     | C     | 1234.5         | 1234.5      | 1,234.50
Spanish              | es_ES | 1.234.567,89   | 1234567.89  | 1.234.567,89
Spanish, negative    | es_ES | -1.234.567.890 | -1234567890 | -1.234.567.890,00
Spanish, four digits | es_ES | 1234,5         | 1234.5      | 1234,50
)");
    }

    void numbers()
    {
        auto [locale, text, value, shown] = Cells("locale", "text", "value", "shown");
        QLocale::setDefault(QLocale(locale));
        const ParsedNumber number = ParseNumber(text);
        QCOMPARE(number.numeric, value != u"-");
        QCOMPARE(number.single().has_value(), number.numeric && value != u"big");
        QCOMPARE(number.value.has_value(), number.numeric && text != u"1e400");
        if (!number.single())
            return;
        const double v = *number.value;
        QCOMPARE(v, value.toDouble());
        QCOMPARE(FormatStandard(v), shown);
        QCOMPARE(ReadDouble(shown), std::optional(std::round(v * 100) / 100 + 0.0));
    }

    // Every locale Qt knows: its standard texts read back, and a grouping the locale never writes
    // is refused exactly where Qt refuses it: "5.5" is no 55 in Spanish.
    void everyLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        for (const QLocale& locale : QLocale::matchingLocales(
                 QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory))
            QTest::newRow(qPrintable(locale.bcp47Name())) << locale;
    }

    void everyLocale()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        for (double v : {0.0, 0.5, -7.25, 1234.5, -98765.43, 1234567.89, -1234567890.12})
            QVERIFY2(ReadDouble(FormatStandard(v)) == v, qPrintable(FormatStandard(v)));
        const QLocale reading = NumberLocale(); // g a group separator, d the decimal one
        for (QString text : {"5g5", "1g23", "12g3456", "1g234g5678", "1g23d5", "0g440", "1d2d3",
                             "1g234d5d6", "1d234g567", "12g345d6g789"}) {
            text.replace(u'g', reading.groupSeparator()).replace(u'd', reading.decimalPoint());
            bool qtReads = false;
            reading.toDouble(text, &qtReads);
            QVERIFY2(ParseNumber(text).numeric == qtReads, qPrintable(text));
        }
    }

    // Shown: existing molecular, the other target field (- for none), SO2 and molecular SO2
    // required, the addition.
    void worked_data()
    {
        AddRows({"changes", "shown"}, R"(
solution 20 %         | form=Solution percent=20 addunit=ml | 0.20 0.78 30.00 0.59 22.66
sodium bisulphite     | source=_Sodium_Bisulphite_ size=100000 unit=_Imp._Gal._ | 0.20 0.78 30.00 0.59 22,153.06
unreadable pH as 0    | ph=                               | 9.84 39.38 30.00 29.53 4.53
small addition        | size=1 unit=Litres ph=3 exist=0 target=1 | 0.00 0.06 1.00 0.06 0.00
unit the form lacks   | form=Tablet addunit=tsp           | 0.20 0.78 30.00 0.59 0.00
unit text padded      | addunit=g_                        | 0.20 0.78 30.00 0.59 0.00
no batch unit: litres | unit=gallons                      | 0.20 0.78 30.00 0.59 1.20
no target kind        | kind=free                         | 0.20 - -10.00 -0.20 0.00
compound unknown      | source=sulphur                    | 0.20 0.78 30.00 0.59 0.00
tablet weight 0       | form=Tablet tablet=0 addunit=tablets | 0.20 0.78 30.00 0.59 0.00
percentage 0          | form=Solution percent=0 addunit=ml | 0.20 0.78 30.00 0.59 0.00
overflow              | form=Solution percent=1e-30 size=3e38 addunit=ml | 0.20 0.78 30.00 0.59 0.00
huge pH               | mol mol=1 ph=3e38                 | 0.00 0.00 -10.00 1.00 0.00
)");
    }

    void worked()
    {
        auto [changes, shown] = Cells("changes", "shown");
        const DoseInputs inputs = ReadDoseInputs(Batch(changes));
        const DoseResult r = ComputeDose(inputs);
        for (const float held :
             {r.BatchLitres, r.ExistingMolecularSO2, r.TargetFreeSO2, r.TargetMolecularSO2,
              r.FreeSO2Requirement, r.MolecularSO2Requirement, r.Amount, r.ShownAddition})
            QVERIFY(std::isfinite(held)); // what does not fit is held as 0, never as infinity
        const DoseDisplay d = DisplayDose(inputs, r);
        QCOMPARE(QStringList({d.existMolSO2, d.targetMolSO2.value_or(d.targetSO2.value_or("-")),
                              d.so2Requirement, d.molSO2Requirement, d.addition})
                     .join(u' '),
                 shown);
    }

    // The existing molecular level the window shows before a molecular target is checked; list
    // texts trimmed of blanks, not tabs; the powder tablespoon, a hair below a third of a
    // teaspoon in single precision.
    void details()
    {
        QCOMPARE(ExistingMolecularText("10", "3.5") + ExistingMolecularText("10", "acid"),
                 QStringLiteral("0.200.00"));
        QCOMPARE(TrimBlanks("  a b  ") + TrimBlanks("   ") + TrimBlanks("\ta"), "a b\ta");
        const float tbsp = AmountInUnit(SourceForm::Powder, 6.2f, AdditionUnit::Tablespoons);
        QVERIFY(tbsp > 0.3333329f && tbsp < 1.0f / 3.0f);
    }

    // The first problem in the fixed order with the field the user is sent back to; where there
    // is none, the questions asked in order, each with the field a No sends the user to.
    void checks_data()
    {
        AddRows({"changes", "problem", "questions"}, R"(
valid
percentage letters          | form=Solution percent=x         | Solution percentage must be numeric. 0 |
percentage 0.99             | form=Solution percent=0.99      | Solution % must be between 1 and 100. 0 |
percentage 1                | form=Solution percent=1
percentage 100              | form=Solution percent=100       |  | Solution percentage appears high. 0
powder ignores both         | percent=x tablet=x
tablet before batch         | form=Tablet tablet=abc size=    | Tablet weight must be numeric. 1 |
batch below 1               | size=0.5
batch beyond single         | size=1e39                       | Batch size must be greater than 0. 2 |
pH letters, free target     | ph=acid                         | pH must be numeric. 3 |
pH 1                        | mol ph=1                        |  | pH appears low. 3
pH 14                       | mol ph=14                       |  | pH appears high. 3
pH beyond single            | mol ph=1e39                     | pH must be between 1 and 14. 3 |
pH before existing          | mol ph=0.5 exist=x              | pH must be between 1 and 14. 3 |
target letters              | target=x                        | Target SO2 must be numeric. 5 |
free ignores molecular      | mol=x
existing equal              | exist=40
existing beyond single      | exist=1e39                      | Existing SO2 cannot be greater than target SO2. 5 |
molecular above             | mol existmol=0.81               | Existing SO2 cannot be greater than target SO2. 6 |
molecular equal             | mol existmol=0.80 exist=99
molecular, existing too big | mol existmol=0.00 exist=1e39    | Existing SO2 cannot be greater than target SO2. 6 |
kind compared untrimmed     | kind=_Total_Free_SO2 target=x
other forms' values unasked | tablet=2 percent=60
tablet 1                    | form=Tablet tablet=1
tablet beyond single        | form=Tablet tablet=1e39         | Tablet weight must be greater than 0. 1 |
solution 50                 | form=Solution percent=50
pH 2                        | mol ph=2
pH 5                        | mol ph=5
pH 6, free target           | ph=6
dialog: solution first      | percent=0.5 tablet=x size=x     | Solution % must be between 1 and 100. 0 |
dialog: batch blanks        | size=__                         | Batch size must be numeric. 2 |
dialog: valid               | ph=x exist=x
)");
    }

    void checks()
    {
        auto [changes, problem, questions] = Cells("changes", "problem", "questions");
        const FormTexts texts = Batch(changes);
        // The Default Settings window checks its three fields, whatever form is chosen.
        const bool dialog = QByteArray(QTest::currentDataTag()).startsWith("dialog");
        const auto error =
            dialog ? FirstDefaultsError(texts.solution, texts.tabWeight, texts.batchSize)
                   : FirstInputError(texts);
        QCOMPARE(error ? error->message + u' ' + QString::number(int(error->field)) : "", problem);
        QStringList asked;
        for (const Confirmation& c : Confirmations(texts))
            asked << c.question.chopped(int(qstrlen(" Are you sure it is correct?"))) + u' ' +
                         QString::number(int(c.fieldOnNo));
        if (!error && !dialog)
            QCOMPARE(asked.join(QStringLiteral(", ")), questions);
    }

    // Control characters up to Ctrl+Z and the characters of a number; nothing else, even beyond
    // the 16 bits of a QChar ('0' + 0x10000). Composed text keeps no control character.
    void keyFilter()
    {
        for (int code = 0; code < 0x3000; ++code) {
            const QString character(QChar{code});
            const bool numberCharacter = QStringLiteral("0123456789.,").contains(character);
            QCOMPARE(FilterNumericKey(code), code <= 26 || numberCharacter ? code : 0);
            QCOMPARE(FilterNumericText(character), numberCharacter ? character : QString());
        }
        QCOMPARE(FilterNumericKey(0x10030), 0);
        QCOMPARE(FilterNumericText(QStringLiteral("1\u00e12,\r5.")), QStringLiteral("12,5."));
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "test_core.moc"
