// The core rules: numbers as typed and shown, the worked amounts from the main window's texts to
// the texts it shows, the checks before a calculation or a save.
#include "core/calculation.h"
#include "core/entry.h"
#include "core/legal.h"
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
    const QHash<QString, QString*> fields{{"size", &t.fields[InputField::BatchSize]},
                                          {"unit", &t.batchUnit},
                                          {"ph", &t.fields[InputField::Ph]},
                                          {"exist", &t.fields[InputField::ExistSO2]},
                                          {"kind", &t.targetKind},
                                          {"target", &t.fields[InputField::TargetSO2]},
                                          {"mol", &t.fields[InputField::TargetMolSO2]},
                                          {"source", &t.source},
                                          {"tablet", &t.fields[InputField::TabWeight]},
                                          {"percent", &t.fields[InputField::Solution]},
                                          {"addunit", &t.additionUnit},
                                          {"existmol", &t.existMolSO2}};
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
        AddRows({"locale", "text", "value", "shown"}, ARDOVIN_TESTS "/core/numbers.rows");
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
    void worked_data() { AddRows({"changes", "shown"}, ARDOVIN_TESTS "/core/worked.rows"); }

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

    // The SO2 a recorded addition brought: 10 g of potassium metabisulphite in 225 L is 25.61
    // mg/L; and for every compound, form and unit it offers, the amount a dose asks for brings
    // back the SO2 it was asked for, to a hundredth.
    void so2FromAmount()
    {
        QCOMPARE(FormatStandard(SO2FromAmount(SourceForm::Powder, 10, AdditionUnit::Grams,
                                              SulphiteSource::PotassiumMetabisulphite, 225, 0, 0)),
                 "25.61");
        QCOMPARE(SO2FromAmount(SourceForm::Tablet, 1, AdditionUnit::Grams,
                               SulphiteSource::PotassiumMetabisulphite, 225, 0.44f, 10),
                 0.0f);
        for (const SulphiteSource source : AllSources)
            for (const FormRow& form : Forms)
                for (const OfferedUnit& unit : form.units)
                    for (const float litres : {0.5f, 225.0f, 87000.0f}) {
                        const float amount = AmountInUnit(
                            form.form, BaseAmount(form.form, 37.5, source, litres, 0.44f, 10),
                            unit.unit);
                        QCOMPARE(FormatStandard(SO2FromAmount(form.form, amount, unit.unit, source,
                                                              litres, 0.44f, 10)),
                                 "37.50");
                    }
    }

    // Each legal limit of total SO2 as its source gives it, at the edges of its sugar range;
    // the EU's limits not given for wines they do not model.
    void legalLimits_data()
    {
        AddRows({"rules", "colour", "type", "sugar", "limit", "source", "unit"},
                ARDOVIN_TESTS "/core/legal.rows");
    }

    void legalLimits()
    {
        auto [rules, colour, type, sugar, limit, source, unit] =
            Cells("rules", "colour", "type", "sugar", "limit", "source", "unit");
        const auto row = LegalLimitFor(
            RowByText(RuleSets, &RulesRow::listText, rules).value().rules,
            RowByText(Colours, &ColourRow::listText, colour).value().colour,
            RowByText(WineTypes, &WineTypeRow::listText, type).value().type, sugar.toDouble());
        const QString shown =
            row ? QStringLiteral("%1 %2 | %3 | %4")
                      .arg(row->limit)
                      .arg(QString::fromUtf8(row->row), QString::fromUtf8(row->source),
                           QString::fromUtf8(row->unitWording))
                : QStringLiteral("none |  | ");
        QCOMPARE(shown, limit + " | " + source + " | " + unit);
    }

    // The first problem in the fixed order with the field the user is sent back to; where there
    // is none, the questions asked in order, each with the field a No sends the user to.
    void checks_data()
    {
        AddRows({"changes", "problem", "questions"}, ARDOVIN_TESTS "/core/checks.rows");
    }

    void checks()
    {
        auto [changes, problem, questions] = Cells("changes", "problem", "questions");
        const FormTexts texts = Batch(changes);
        // The Default Settings window checks its three fields, whatever form is chosen.
        const bool dialog = QByteArray(QTest::currentDataTag()).startsWith("dialog");
        const auto error = dialog ? FirstDefaultsError(texts.field(InputField::Solution),
                                                       texts.field(InputField::TabWeight),
                                                       texts.field(InputField::BatchSize))
                                  : FirstInputError(texts);
        QCOMPARE(error ? error->message + u' ' + QString::number(int(error->field)) : "", problem);
        QStringList asked;
        for (const Confirmation& c : Confirmations(texts))
            asked << c.question + u' ' + QString::number(int(c.fieldOnNo));
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
