#include "window_fixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QMenuBar>

using modProc::Answer;

namespace {

// The worked batch: 23 U.S. gallons at pH 3.50, from 10 to 40 mg/L free SO2, potassium
// metabisulphite powder.
void EnterWorkedBatch(const WindowUnderTest& w)
{
    w.type("txtBatchSize", "23");
    w.type("txtPh", "3.50");
    w.type("txtExistSO2", "10");
    w.type("txtTargetSO2", "40");
}

} // namespace

class TestMainWindow : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void startsWithInitialValuesAndProgramDefaults()
    {
        QCOMPARE(w->text("txtPh"), QStringLiteral("3.50"));
        QCOMPARE(w->text("txtExistSO2"), QStringLiteral("0.00"));
        QCOMPARE(w->text("txtTargetSO2"), QStringLiteral("0.00"));
        QCOMPARE(w->text("cboForm"), QStringLiteral("Potassium Metabisulphite"));
        QVERIFY(w->get<QRadioButton>("optPowder")->isChecked());
        QCOMPARE(w->text("cboBatch"), QStringLiteral("U.S. Gal."));
        QCOMPARE(w->text("txtBatchSize"), QStringLiteral("5.00"));
        QCOMPARE(w->text("txtSolution"), QStringLiteral("10.00"));
        QCOMPARE(w->text("txtTabWeight"), QStringLiteral("0.44"));
        QCOMPARE(w->text("cboTarget"), QStringLiteral("Total Free SO2"));
        QCOMPARE(w->text("cboAdditionUnits"), QStringLiteral("g"));
        // The start-up calculation has run: nothing to add from 0 to 0.
        for (const char* result : {"lblExistMolSO2", "lblSO2Requirement", "lblMolSO2Requirement",
                                   "lblAddition", "txtTargetMolSO2"})
            QCOMPARE(w->text(result), QStringLiteral("0.00"));
        QCOMPARE(w->focused(), QStringLiteral("txtExistSO2"));
        QVERIFY(!w->field("txtTargetMolSO2")->isEnabled());
        QVERIFY(!w->field("txtSolution")->isEnabled());
        QVERIFY(!w->field("txtTabWeight")->isEnabled());
    }

    void layoutFollowsTheTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("cboForm") << "cboForm" << QRect(240, 480, 2415, 315) << "Sulphite source.";
        QTest::newRow("txtSolution") << "txtSolution" << QRect(1440, 1440, 750, 300)
                                     << "Percentage of sulphite in solution.";
        QTest::newRow("vsbPercent") << "vsbPercent" << QRect(2190, 1440, 255, 300) << "";
        QTest::newRow("txtBatchSize")
            << "txtBatchSize" << QRect(600, 360, 750, 300) << "Batch size.";
        QTest::newRow("vsbPh") << "vsbPh" << QRect(1350, 840, 255, 300) << "";
        QTest::newRow("txtExistSO2")
            << "txtExistSO2" << QRect(5160, 1440, 750, 300) << "Measured free SO2 level.";
        QTest::newRow("vsbTargetMolSO2") << "vsbTargetMolSO2" << QRect(7110, 1800, 255, 300) << "";
        QTest::newRow("lblAddition") << "lblAddition" << QRect(5160, 2880, 975, 300)
                                     << "Amount of sulphite required to achieve target SO2 level.";
        QTest::newRow("cmdCalculate")
            << "cmdCalculate" << QRect(5160, 3480, 1935, 375) << "Compute sulphite requirements.";
    }

    void layoutFollowsTheTable()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, tooltip);
        auto* control = w->window->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        QCOMPARE(control->toolTip(), tooltip);
        QCOMPARE(control->accessibleDescription(), tooltip);
        QVERIFY(!QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty());
    }

    // A screen reader hears each result with its caption and current value.
    void resultsAreReadWithTheirValues()
    {
        auto nameOf = [this](const char* label) {
            return QAccessible::queryAccessibleInterface(w->get<QLabel>(label))
                ->text(QAccessible::Name);
        };
        QCOMPARE(nameOf("lblAddition"), QStringLiteral("Required Addition 0.00"));
        EnterWorkedBatch(*w);
        w->calculate();
        QCOMPARE(nameOf("lblExistMolSO2"), QStringLiteral("Existing molecular SO2 0.20"));
        QCOMPARE(nameOf("lblSO2Requirement"), QStringLiteral("SO2 Requirement 30.00"));
        QCOMPARE(nameOf("lblMolSO2Requirement"), QStringLiteral("Molecular SO2 Requirement 0.59"));
        QCOMPARE(nameOf("lblAddition"), QStringLiteral("Required Addition 4.53"));
        w->type("txtPh", "3.6");
        QCOMPARE(nameOf("lblAddition"), QStringLiteral("Required Addition 0.00"));
    }

    void resultLabelsAndCaptions()
    {
        QCOMPARE(w->get<QPushButton>("cmdCalculate")->accessibleName(),
                 QStringLiteral("Calculate"));
        QCOMPARE(w->get<QLabel>("Label7")->text(), QStringLiteral("Total Free  "));
        QCOMPARE(w->get<QLabel>("Label4")->text(), QStringLiteral("Required Addition "));
        QLabel* addition = w->get<QLabel>("lblAddition");
        QVERIFY(addition->alignment().testFlag(Qt::AlignRight));
        const QImage picture = addition->grab().toImage();
        QCOMPARE(picture.pixelColor(picture.width() / 4, picture.height() / 2),
                 QColor(224, 224, 224));
        QCOMPARE(w->window->size(), QSize(510, 274 + w->window->menuBar()->height()));
    }

    void menusInOrder()
    {
        QStringList captions;
        for (QAction* menu : w->window->menuBar()->actions()) {
            captions << menu->text();
            if (menu->menu())
                for (QAction* item : menu->menu()->actions())
                    captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        QCOMPARE(
            captions,
            QStringList({"&File", "E&xit", "&Edit", "Cu&t", "&Copy", "&Paste", "&Options", "&Tools",
                         "&Calculator", "&Sulphite Table Generator", "&Help", "&Ardovin Manual",
                         "Ardovin &Web Page", "&Email the author", "-", "&About Ardovin"}));
    }

    void tabVisitsTheEnabledControlsInOrder()
    {
        QStringList visited;
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << w->focused();
        }
        QCOMPARE(visited, QStringList({"txtTargetSO2", "cboForm", "optPowder", "txtBatchSize",
                                       "cboBatch", "txtPh", "cmdCalculate", "cboTarget",
                                       "cboAdditionUnits", "txtExistSO2"}));
    }

    void calculation_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("addition");
        QTest::newRow("powder g") << "optPowder"
                                  << "g"
                                  << "4.53";
        QTest::newRow("powder tsp") << "optPowder"
                                    << "tsp"
                                    << "0.73";
        QTest::newRow("powder tbsp") << "optPowder"
                                     << "tbsp"
                                     << "0.24";
        QTest::newRow("powder oz") << "optPowder"
                                   << "oz (av.)"
                                   << "0.16";
        QTest::newRow("tablets") << "optTablet"
                                 << "tablets"
                                 << "10.30";
        QTest::newRow("solution ml") << "optSolution"
                                     << "ml"
                                     << "45.32";
        QTest::newRow("solution tsp") << "optSolution"
                                      << "tsp"
                                      << "9.20";
        QTest::newRow("solution tbsp") << "optSolution"
                                       << "tbsp"
                                       << "3.06";
        QTest::newRow("solution oz") << "optSolution"
                                     << "oz (fl.)"
                                     << "1.53";
    }

    void calculation()
    {
        QFETCH(QString, option);
        QFETCH(QString, unit);
        QFETCH(QString, addition);
        EnterWorkedBatch(*w);
        w->select(option.toLatin1());
        w->choose("cboAdditionUnits", unit);
        w->calculate();
        QVERIFY(answers->shown.isEmpty());
        QCOMPARE(w->text("lblAddition"), addition);
        QCOMPARE(w->text("lblExistMolSO2"), QStringLiteral("0.20"));
        QCOMPARE(w->text("txtTargetMolSO2"), QStringLiteral("0.78"));
        QCOMPARE(w->text("lblSO2Requirement"), QStringLiteral("30.00"));
        QCOMPARE(w->text("lblMolSO2Requirement"), QStringLiteral("0.59"));
    }

    void molecularTargetDerivesTheFreeTarget()
    {
        EnterWorkedBatch(*w);
        w->choose("cboTarget", "Molecular SO2");
        w->type("txtTargetMolSO2", "0.80");
        w->calculate();
        QCOMPARE(w->text("txtTargetSO2"), QStringLiteral("40.89"));
        QCOMPARE(w->text("lblAddition"), QStringLiteral("4.67"));
        QCOMPARE(w->text("lblSO2Requirement"), QStringLiteral("30.89"));
        QCOMPARE(w->text("lblMolSO2Requirement"), QStringLiteral("0.60"));
    }

    void additionShownNegativeIsClampedToZero()
    {
        EnterWorkedBatch(*w);
        w->type("txtExistSO2", "30.33");
        w->choose("cboTarget", "Molecular SO2");
        w->type("txtTargetMolSO2", "0.59");
        w->calculate();
        QVERIFY(answers->shown.isEmpty());
        QCOMPARE(w->text("lblExistMolSO2"), QStringLiteral("0.59"));
        QCOMPARE(w->text("txtTargetSO2"), QStringLiteral("30.16"));
        QCOMPARE(w->text("lblSO2Requirement"), QStringLiteral("-0.17"));
        QCOMPARE(w->text("lblAddition"), QStringLiteral("0.00"));
    }

    void validationMessages_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("pasted"); // field, text, field, text...
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");

        const QString free = "Total Free SO2";
        const QString mol = "Molecular SO2";
        QTest::newRow("solution letters")
            << "optSolution" << free << QStringList{"txtSolution", "ten"}
            << "Solution percentage must be numeric."
            << "txtSolution";
        QTest::newRow("solution empty") << "optSolution" << free << QStringList{"txtSolution", ""}
                                        << "Solution % must be between 1 and 100."
                                        << "txtSolution";
        QTest::newRow("solution 100.5")
            << "optSolution" << free << QStringList{"txtSolution", "100.5"}
            << "Solution % must be between 1 and 100."
            << "txtSolution";
        QTest::newRow("solution before batch")
            << "optSolution" << free << QStringList{"txtSolution", "0", "txtBatchSize", "x"}
            << "Solution % must be between 1 and 100."
            << "txtSolution";
        QTest::newRow("tablet letters") << "optTablet" << free << QStringList{"txtTabWeight", "abc"}
                                        << "Tablet weight must be numeric."
                                        << "txtTabWeight";
        QTest::newRow("tablet zero") << "optTablet" << free << QStringList{"txtTabWeight", "0"}
                                     << "Tablet weight must be greater than 0."
                                     << "txtTabWeight";
        QTest::newRow("powder ignores both")
            << "optPowder" << free << QStringList{"txtTabWeight", "abc", "txtSolution", "x"} << ""
            << "";
        QTest::newRow("batch empty") << "optPowder" << free << QStringList{"txtBatchSize", ""}
                                     << "Batch size must be greater than 0."
                                     << "txtBatchSize";
        QTest::newRow("batch blanks") << "optPowder" << free << QStringList{"txtBatchSize", "   "}
                                      << "Batch size must be numeric."
                                      << "txtBatchSize";
        QTest::newRow("batch beyond single")
            << "optPowder" << free << QStringList{"txtBatchSize", "1e39"}
            << "Batch size must be greater than 0."
            << "txtBatchSize";
        QTest::newRow("batch before pH")
            << "optPowder" << mol
            << QStringList{"txtBatchSize", "-1", "txtPh", "0.5", "txtTargetMolSO2", "1"}
            << "Batch size must be greater than 0."
            << "txtBatchSize";
        QTest::newRow("pH unreadable, free target")
            << "optPowder" << free << QStringList{"txtPh", "3..5"} << "pH must be numeric."
            << "txtPh";
        QTest::newRow("pH 0.5") << "optPowder" << mol
                                << QStringList{"txtPh", "0.5", "txtTargetMolSO2", "1"}
                                << "pH must be between 1 and 14."
                                << "txtPh";
        QTest::newRow("pH 14.5") << "optPowder" << mol
                                 << QStringList{"txtPh", "14.5", "txtTargetMolSO2", "1"}
                                 << "pH must be between 1 and 14."
                                 << "txtPh";
        QTest::newRow("pH empty") << "optPowder" << mol
                                  << QStringList{"txtPh", "", "txtTargetMolSO2", "1"}
                                  << "pH must be between 1 and 14."
                                  << "txtPh";
        QTest::newRow("pH out of range, free target")
            << "optPowder" << free << QStringList{"txtPh", "20"} << ""
            << "";
        QTest::newRow("existing letters") << "optPowder" << free << QStringList{"txtExistSO2", "a"}
                                          << "Existing SO2 must be numeric."
                                          << "txtExistSO2";
        QTest::newRow("free target letters")
            << "optPowder" << free << QStringList{"txtTargetSO2", "a"}
            << "Target SO2 must be numeric."
            << "txtTargetSO2";
        QTest::newRow("free target empty") << "optPowder" << free << QStringList{"txtTargetSO2", ""}
                                           << "Existing SO2 cannot be greater than target SO2."
                                           << "txtTargetSO2";
        QTest::newRow("existing above free target")
            << "optPowder" << free << QStringList{"txtExistSO2", "30.00", "txtTargetSO2", "29.99"}
            << "Existing SO2 cannot be greater than target SO2."
            << "txtTargetSO2";
        QTest::newRow("existing equal to target")
            << "optPowder" << free << QStringList{"txtExistSO2", "40", "txtTargetSO2", "40"} << ""
            << "";
        QTest::newRow("molecular target empty")
            << "optPowder" << mol << QStringList{"txtTargetMolSO2", ""}
            << "Please enter target SO2."
            << "txtTargetMolSO2";
        QTest::newRow("molecular target letters")
            << "optPowder" << mol << QStringList{"txtTargetMolSO2", "x"}
            << "Target SO2 must be numeric."
            << "txtTargetMolSO2";
        QTest::newRow("molecular target below existing")
            << "optPowder" << mol << QStringList{"txtExistSO2", "30.67", "txtTargetMolSO2", "0.5"}
            << "Existing SO2 cannot be greater than target SO2."
            << "txtTargetMolSO2";
    }

    void validationMessages()
    {
        QFETCH(QString, option);
        QFETCH(QString, target);
        QFETCH(QStringList, pasted);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        EnterWorkedBatch(*w);
        w->select(option.toLatin1());
        w->choose("cboTarget", target);
        for (qsizetype i = 0; i + 1 < pasted.size(); i += 2)
            w->paste(pasted[i].toLatin1(), pasted[i + 1]);
        w->get<QLabel>("lblSO2Requirement")->setText("before");
        w->calculate();
        if (message.isEmpty()) {
            QCOMPARE(answers->texts(), QStringList());
            QVERIFY(w->text("lblSO2Requirement") != "before");
            return;
        }
        QCOMPARE(answers->texts(), QStringList{message});
        const modProc::MessageRequest& box = answers->shown.first();
        QCOMPARE(box.caption, QStringLiteral("Ardovin"));
        QCOMPARE(box.icon, modProc::MessageIcon::Exclamation);
        QCOMPARE(box.buttons, modProc::MessageButtons::Ok);
        QCOMPARE(w->focused(), focus);
        QCOMPARE(w->text("lblSO2Requirement"), QStringLiteral("before")); // nothing calculated
    }

    void emptyFieldsBecomeZero()
    {
        w->select("optTablet");
        for (const char* name : {"txtTabWeight", "txtBatchSize", "txtPh", "txtExistSO2"})
            w->paste(name, "");
        w->calculate();
        QCOMPARE(answers->texts(), QStringList{"Tablet weight must be greater than 0."});
        for (const char* name : {"txtTabWeight", "txtBatchSize", "txtPh", "txtExistSO2"})
            QCOMPARE(w->text(name), QStringLiteral("0.00"));
    }

    void moleculardExistingLevelIsRecomputedBeforeTheChecks()
    {
        EnterWorkedBatch(*w);
        w->choose("cboTarget", "Molecular SO2");
        w->paste("txtExistSO2", "30.67");
        w->paste("txtTargetMolSO2", "0.5");
        w->calculate();
        QCOMPARE(w->text("lblExistMolSO2"), QStringLiteral("0.60"));
    }

    void questions_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("question");
        QTest::newRow("tablet 1 asks nothing") << "optTablet"
                                               << "Total Free SO2"
                                               << "txtTabWeight"
                                               << "1"
                                               << "";
        QTest::newRow("tablet 1.5") << "optTablet"
                                    << "Total Free SO2"
                                    << "txtTabWeight"
                                    << "1.5"
                                    << "Tablet weight appears high. Are you sure it is correct?";
        QTest::newRow("solution 50 asks nothing") << "optSolution"
                                                  << "Total Free SO2"
                                                  << "txtSolution"
                                                  << "50"
                                                  << "";
        QTest::newRow("solution 50.01")
            << "optSolution"
            << "Total Free SO2"
            << "txtSolution"
            << "50.01"
            << "Solution percentage appears high. Are you sure it is correct?";
        QTest::newRow("pH 1.5") << "optPowder"
                                << "Molecular SO2"
                                << "txtPh"
                                << "1.5"
                                << "pH appears low. Are you sure it is correct?";
        QTest::newRow("pH 2 asks nothing") << "optPowder"
                                           << "Molecular SO2"
                                           << "txtPh"
                                           << "2"
                                           << "";
        QTest::newRow("pH 5 asks nothing") << "optPowder"
                                           << "Molecular SO2"
                                           << "txtPh"
                                           << "5"
                                           << "";
        QTest::newRow("pH 6") << "optPowder"
                              << "Molecular SO2"
                              << "txtPh"
                              << "6"
                              << "pH appears high. Are you sure it is correct?";
        QTest::newRow("pH 6, free target asks nothing") << "optPowder"
                                                        << "Total Free SO2"
                                                        << "txtPh"
                                                        << "6"
                                                        << "";
    }

    // Yes calculates; No leaves the addition at 0.00 and the focus on the field.
    void questions()
    {
        QFETCH(QString, option);
        QFETCH(QString, target);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, question);
        for (Answer answer : {Answer::Yes, Answer::No}) {
            answers->shown.clear();
            answers->script = {answer};
            EnterWorkedBatch(*w);
            w->select(option.toLatin1());
            w->choose("cboTarget", target);
            w->type("txtTargetMolSO2", "10");
            w->type(field.toLatin1(), value);
            w->calculate();
            if (question.isEmpty()) {
                QCOMPARE(answers->texts(), QStringList());
                QVERIFY(w->text("lblAddition") != "0.00");
                break;
            }
            QCOMPARE(answers->texts(), QStringList{question});
            QCOMPARE(answers->shown.first().icon, modProc::MessageIcon::Question);
            QCOMPARE(answers->shown.first().buttons, modProc::MessageButtons::YesNo);
            if (answer == Answer::Yes) {
                QVERIFY(w->text("lblAddition") != "0.00");
            } else {
                QCOMPARE(w->text("lblAddition"), QStringLiteral("0.00"));
                QCOMPARE(w->focused(), field);
            }
        }
    }

    void spinPresses_data()
    {
        QTest::addColumn<QString>("spin");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::newRow("pH 3.40 up") << "vsbPh"
                                    << "txtPh"
                                    << "3.40" << true << "3.50";
        QTest::newRow("pH 14.00 up") << "vsbPh"
                                     << "txtPh"
                                     << "14.00" << true << "14.00";
        QTest::newRow("pH 13.95 up") << "vsbPh"
                                     << "txtPh"
                                     << "13.95" << true << "14.00";
        QTest::newRow("pH 1.00 down") << "vsbPh"
                                      << "txtPh"
                                      << "1.00" << false << "1.00";
        QTest::newRow("pH 0.5 up") << "vsbPh"
                                   << "txtPh"
                                   << "0.5" << true << "1.00";
        QTest::newRow("pH 3.456 up") << "vsbPh"
                                     << "txtPh"
                                     << "3.456" << true << "3.56";
        QTest::newRow("pH letters") << "vsbPh"
                                    << "txtPh"
                                    << "abc" << false << "1.00";
        QTest::newRow("batch 0 down") << "vsbBatchSize"
                                      << "txtBatchSize"
                                      << "0.00" << false << "0.00";
        QTest::newRow("batch 0.50 down") << "vsbBatchSize"
                                         << "txtBatchSize"
                                         << "0.50" << false << "0.00";
        QTest::newRow("batch 1234 up") << "vsbBatchSize"
                                       << "txtBatchSize"
                                       << "1234" << true << "1,235.00";
        QTest::newRow("batch grouped up") << "vsbBatchSize"
                                          << "txtBatchSize"
                                          << "1,235.00" << true << "1,236.00";
        QTest::newRow("batch empty") << "vsbBatchSize"
                                     << "txtBatchSize"
                                     << "" << true << "0.00";
        QTest::newRow("batch beyond single") << "vsbBatchSize"
                                             << "txtBatchSize"
                                             << "1e39" << true << "0.00";
        QTest::newRow("existing up") << "vsbExistSO2"
                                     << "txtExistSO2"
                                     << "10" << true << "11.00";
        QTest::newRow("target down") << "vsbTargetSO2"
                                     << "txtTargetSO2"
                                     << "40" << false << "39.00";
    }

    void spinPresses()
    {
        QFETCH(QString, spin);
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(bool, up);
        QFETCH(QString, after);
        w->calculate();
        w->get<QLabel>("lblSO2Requirement")->setText("kept");
        w->paste(field.toLatin1(), before);
        auto* bar = w->get<QScrollBar>(spin.toLatin1());
        bar->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                              : QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(w->text(field.toLatin1()), after);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(w->focused(), field);
        QCOMPARE(w->text("lblAddition"), QStringLiteral("0.00"));
        QCOMPARE(w->text("lblSO2Requirement"), QStringLiteral("kept"));
    }

    void spinnedFieldsOfOtherForms()
    {
        w->select("optSolution");
        for (auto [before, up, after] : {std::tuple{"100.00", true, "100.00"},
                                         {"99.50", true, "100.00"},
                                         {"1.00", false, "1.00"},
                                         {"1.50", false, "1.00"}}) {
            w->paste("txtSolution", before);
            w->get<QScrollBar>("vsbPercent")
                ->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                   : QAbstractSlider::SliderSingleStepAdd);
            QCOMPARE(w->text("txtSolution"), QString(after));
        }
        w->select("optTablet");
        w->paste("txtTabWeight", "0.44");
        w->get<QScrollBar>("vsbCampden")->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(w->text("txtTabWeight"), QStringLiteral("0.45"));
        w->choose("cboTarget", "Molecular SO2");
        w->paste("txtTargetMolSO2", "0.80");
        w->get<QScrollBar>("vsbTargetMolSO2")->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(w->text("txtTargetMolSO2"), QStringLiteral("0.81"));
    }

    void spinArrowClicked()
    {
        w->paste("txtPh", "3.40");
        auto* bar = w->get<QScrollBar>("vsbPh");
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 2));
        QCOMPARE(w->text("txtPh"), QStringLiteral("3.50"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 2));
        QCOMPARE(w->text("txtPh"), QStringLiteral("3.40"));
    }

    void keyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("after"); // the field held "12", caret at the end
        QTest::newRow("digit") << int(Qt::Key_7) << 0 << "127";
        QTest::newRow("point") << int(Qt::Key_Period) << 0 << "12.";
        QTest::newRow("comma") << int(Qt::Key_Comma) << 0 << "12,";
        QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << "12";
        QTest::newRow("blank") << int(Qt::Key_Space) << 0 << "12";
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << "12";
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << "12";
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "1";
        QTest::newRow("select all, cut") << int(Qt::Key_X) << int(Qt::ControlModifier) << "";
    }

    void keyFilter()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, after);
        QLineEdit* field = w->field("txtBatchSize");
        field->setFocus();
        field->setText("12");
        if (modifiers)
            field->selectAll();
        QTest::keyClick(field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(field->text(), after);
    }

    void controlKeysReachTheField()
    {
        QLineEdit* field = w->field("txtBatchSize");
        field->setFocus();
        field->setText("12");
        field->selectAll();
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12"));
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("1212"));
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("12"));
        QSignalSpy entered(field, &QLineEdit::returnPressed);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(entered.count(), 1);
        QApplication::clipboard()->setText("-5 kg"); // pasted text is not filtered
        field->selectAll();
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("-5 kg"));
    }

    void everyEditResetsOnlyTheAddition()
    {
        EnterWorkedBatch(*w);
        w->calculate();
        QCOMPARE(w->text("lblAddition"), QStringLiteral("4.53"));
        w->choose("cboAdditionUnits", "tsp");
        QCOMPARE(w->text("lblAddition"), QStringLiteral("0.00"));
        QCOMPARE(w->text("lblExistMolSO2"), QStringLiteral("0.20"));
        QCOMPARE(w->text("lblSO2Requirement"), QStringLiteral("30.00"));
        QCOMPARE(w->text("lblMolSO2Requirement"), QStringLiteral("0.59"));
        for (auto edit : std::initializer_list<std::function<void()>>{
                 [&] { w->type("txtPh", "3.6"); },
                 [&] { w->choose("cboForm", "Sodium Bisulphite"); },
                 [&] { w->choose("cboBatch", "Litres"); }, [&] { w->select("optTablet"); }}) {
            w->calculate();
            QVERIFY(w->text("lblAddition") != "0.00");
            edit();
            QCOMPARE(w->text("lblAddition"), QStringLiteral("0.00"));
        }
    }

    void sourceFormsSetFieldsAndUnits_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("units");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("solution");
        QTest::addColumn<bool>("tablet");
        QTest::newRow("solution") << "optSolution" << QStringList{"ml", "oz (fl.)", "tbsp", "tsp"}
                                  << "ml" << true << false;
        QTest::newRow("tablet") << "optTablet" << QStringList{"tablets"} << "tablets" << false
                                << true;
        QTest::newRow("powder") << "optPowder" << QStringList{"g", "oz (av.)", "tbsp", "tsp"} << "g"
                                << false << false;
    }

    void sourceFormsSetFieldsAndUnits()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, units);
        QFETCH(QString, selected);
        QFETCH(bool, solution);
        QFETCH(bool, tablet);
        w->select(option == "optPowder" ? "optTablet" : "optPowder");
        w->select(option.toLatin1());
        auto* list = w->get<QComboBox>("cboAdditionUnits");
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->itemText(i);
        QCOMPARE(shown, units);
        QCOMPARE(list->currentText(), selected);
        for (const char* name : {"txtSolution", "lblPercent", "vsbPercent"})
            QCOMPARE(w->get(name)->isEnabled(), solution);
        for (const char* name : {"txtTabWeight", "lblTabWeight", "vsbCampden"})
            QCOMPARE(w->get(name)->isEnabled(), tablet);
    }

    void switchingTheTargetKindAfterACalculation()
    {
        EnterWorkedBatch(*w);
        w->calculate();
        w->choose("cboTarget", "Molecular SO2");
        QLineEdit* molecular = w->field("txtTargetMolSO2");
        QLineEdit* free = w->field("txtTargetSO2");
        QVERIFY(molecular->isEnabled() && !free->isEnabled());
        QVERIFY(w->get("vsbTargetMolSO2")->isEnabled() && !w->get("vsbTargetSO2")->isEnabled());
        QCOMPARE(molecular->text(), QStringLiteral("0.78"));
        QCOMPARE(free->text(), QStringLiteral("40"));
        QCOMPARE(free->palette().color(QPalette::Base), QColor(224, 224, 224));
        QCOMPARE(molecular->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Base));
        w->choose("cboTarget", "Total Free SO2");
        QVERIFY(free->isEnabled() && !molecular->isEnabled());
        QCOMPARE(molecular->palette().color(QPalette::Base), QColor(224, 224, 224));
    }

    void leavingExistingSO2UpdatesTheMolecularLevel()
    {
        EnterWorkedBatch(*w);
        w->calculate();
        w->type("txtExistSO2", "40");
        QTest::keyClick(w->field("txtExistSO2"), Qt::Key_Tab);
        QCOMPARE(w->text("lblExistMolSO2"), QStringLiteral("0.20")); // free target: untouched
        w->choose("cboTarget", "Molecular SO2");
        w->type("txtExistSO2", "40");
        QTest::keyClick(w->field("txtExistSO2"), Qt::Key_Tab);
        QCOMPARE(w->text("lblExistMolSO2"), QStringLiteral("0.78"));
        w->field("txtExistSO2")->setFocus();
        w->paste("txtExistSO2", "x");
        w->field("txtPh")->setFocus();
        QCOMPARE(w->text("lblExistMolSO2"), QStringLiteral("0.00"));
    }

    void secondCopyEndsWithAMessage()
    {
        frmSulfite second(w->folder, w->own.path() + QStringLiteral("/ardovin.lock"));
        QVERIFY(!second.Form_Load());
        QCOMPARE(answers->texts(), QStringList{"Ardovin already running."});
        QCOMPARE(answers->shown.first().icon, modProc::MessageIcon::Critical);
        QVERIFY(!second.isVisible());
        QVERIFY(w->window->isVisible());
    }

    void settingsFileBesideTheProgram_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("root") << "/"
                              << "/settings.cfg";
        QTest::newRow("folder") << "/opt/wine"
                                << "/opt/wine/settings.cfg";
        QTest::newRow("trailing separator") << "/opt/wine/"
                                            << "/opt/wine/settings.cfg";
    }

    void settingsFileBesideTheProgram()
    {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        WindowUnderTest other(folder);
        other.window->Form_Load();
        QCOMPARE(other.window->settingsFilePath(), path);
    }

    void exitClosesTheWindow()
    {
        w->window->findChild<QAction*>("mnuFileExit")->trigger();
        QVERIFY(!w->window->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_frmSulfite.moc"
