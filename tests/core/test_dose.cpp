// The worked amounts, from the main window's texts to the texts it shows.
#include "core/numbers.h"
#include "tests/core/worked_batch.h"

using namespace ardovin;

class TestDose : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // Shown: existing molecular, the other target field (- for none), SO2 and molecular SO2
    // required, the addition.
    void worked_data()
    {
        AddRows({"changes", "shown"}, R"(
powder g              |                                   | 0.20 0.78 30.00 0.59 4.53
powder tsp            | addunit=tsp                       | 0.20 0.78 30.00 0.59 0.73
powder tbsp           | addunit=tbsp                      | 0.20 0.78 30.00 0.59 0.24
powder oz             | addunit=oz_(av.)                  | 0.20 0.78 30.00 0.59 0.16
tablets               | form=Tablet addunit=tablets       | 0.20 0.78 30.00 0.59 10.30
solution ml           | form=Solution addunit=ml          | 0.20 0.78 30.00 0.59 45.32
solution tsp          | form=Solution addunit=tsp         | 0.20 0.78 30.00 0.59 9.20
solution tbsp         | form=Solution addunit=tbsp        | 0.20 0.78 30.00 0.59 3.06
solution fl oz        | form=Solution addunit=oz_(fl.)    | 0.20 0.78 30.00 0.59 1.53
solution 20 %         | form=Solution percent=20 addunit=ml | 0.20 0.78 30.00 0.59 22.66
tablets of 0.5 g      | form=Tablet tablet=0.5 addunit=tablets | 0.20 0.78 30.00 0.59 9.06
sodium metabisulphite | source=Sodium_Metabisulphite size=100 unit=Litres | 0.20 0.78 30.00 0.59 4.45
sodium bisulphite     | source=_Sodium_Bisulphite_ size=5 unit=_Imp._Gal._ | 0.20 0.78 30.00 0.59 1.11
molecular target      | mol target=99                     | 0.20 40.89 30.89 0.60 4.67
molecular at pH 3     | mol ph=3                          | 0.59 13.48 3.48 0.21 0.53
below existing        | mol mol=0.59 exist=30.33          | 0.59 30.16 -0.17 0.00 0.00
existing equals target | exist=40                         | 0.78 0.78 0.00 0.00 0.00
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
        const DoseDisplay d = DisplayDose(inputs, ComputeDose(inputs));
        QCOMPARE(QStringList({d.existMolSO2, d.targetMolSO2.value_or(d.targetSO2.value_or("-")),
                              d.so2Requirement, d.molSO2Requirement, d.addition})
                     .join(u' '),
                 shown);
    }

    // The existing molecular level the window shows before a molecular target is checked; list
    // texts trimmed of blanks, not tabs; the
    // powder tablespoon, a hair below a third of a teaspoon in single precision; each form's units.
    void details()
    {
        QCOMPARE(ExistingMolecularText("10", "3.5") + ExistingMolecularText("10", "acid") +
                     ExistingMolecularText("1e39", "3.5"),
                 QStringLiteral("0.200.000.00"));
        QCOMPARE(TrimBlanks("  a b  ") + TrimBlanks("   ") + TrimBlanks("\ta"), "a b\ta");
        const float tbsp = AmountInUnit(SourceForm::Powder, 6.2f, AdditionUnit::Tablespoons);
        QVERIFY(tbsp > 0.3333329f && tbsp < 1.0f / 3.0f);
        QStringList lists;
        for (const SourceForm form : AllForms) {
            QStringList units;
            for (const AdditionUnit unit : AdditionUnitsFor(form))
                units << ListText(unit);
            lists << units.join(u',') + u'/' + ListText(DefaultAdditionUnit(form));
        }
        QCOMPARE(lists.join(u' '), "tablets/tablets g,oz (av.),tbsp,tsp/g ml,oz (fl.),tbsp,tsp/ml");
    }
};

QTEST_GUILESS_MAIN(TestDose)
#include "test_dose.moc"
