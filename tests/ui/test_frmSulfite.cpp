// The main window through its real controls: start-up, the wiring of every control, the menus
// and the About window. The rules behind them are tested in core and settings.
#include "platform/addresses.h"
#include "platform/shell.h"
#include "ui/frmAbout.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

// The worked batch, typed: 23 U.S. gallons at pH 3.50, from 10 to 40 mg/L.
const QString WorkedBatch = "txtBatchSize=23 txtPh=3.5 txtExistSO2=10 txtTargetSO2=40";
const QString NotFound = "User default settings not found.\rLoading program defaults.";

class TestFrmSulfite : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedAnswers> answers;
    std::unique_ptr<WindowUnderTest> w;
    QStringList opened; // addresses handed to the desktop
    ardovin::ScopedDocumentOpener recorder{[this](const QUrl& url) { opened << url.toString(); }};

    void Start(const QByteArray& settings)
    {
        w = std::make_unique<WindowUnderTest>(settings);
        QVERIFY(w->start());
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        answers = std::make_unique<ScriptedAnswers>();
        Start(ReadFile(ARDOVIN_SHIPPED_SETTINGS));
    }
    void cleanup()
    {
        w.reset();
        answers.reset();
        opened.clear();
    }

    // How the window looks and is read at start, from the shipped settings, without a message.
    void snapshot()
    {
        QCOMPARE(answers->texts, QStringList());
        CompareSnapshot(*w->window, "frmSulfite");
    }

    // What start-up makes of a settings file (the user's, changed "before>after"): the choices it
    // shows, or the program defaults with a message.
    void startUp_data()
    {
        AddRows({"change", "state"}, R"(
user's file    |                    | Sodium Bisulphite optSolution Litres 20.00 8.00 0.50 Molecular SO2 ml
tablets        | Solution">Tablet"  | Sodium Bisulphite optTablet Litres 20.00 8.00 0.50 Molecular SO2 tablets
unknown form   | Solution">Pellets" | Sodium Bisulphite optPowder Litres 20.00 8.00 0.50 Molecular SO2 g
no form        | "form">"shape"     | fell back
empty compound | SODIUM BISULPHITE> | fell back
unknown unit   | litres>barrels     | fell back
no target      | "target">"aim"     | fell back
no file        | ->                 | fell back
)");
    }

    void startUp()
    {
        const QString change = Cell("change");
        QByteArray file = "\"source\",\"SODIUM BISULPHITE\"\r\n\"form\",\"Solution\"\r\n"
                          "\"batchunits\",\"litres\"\r\n\"batchsize\",20\r\n\"solution\",8\r\n"
                          "\"tablet\",.5\r\n\"target\",\"Molecular SO2\"\r\n";
        if (!change.isEmpty())
            file.replace(change.section(u'>', 0, 0).toLatin1(), change.section(u'>', 1).toLatin1());
        answers->texts.clear();
        Start(change == u"->" ? QByteArray() : file);
        QString state = w->text("cboForm");
        for (const char* name : {"optPowder", "optSolution", "optTablet"})
            state += w->get<QRadioButton>(name)->isChecked() ? QString(" ") + name : "";
        state += u' ' + w->texts({"cboBatch", "txtBatchSize", "txtSolution", "txtTabWeight",
                                  "cboTarget", "cboAdditionUnits"});
        const QString fellBack = "Potassium Metabisulphite optPowder U.S. Gal. 5.00 10.00 0.44 "
                                 "Total Free SO2 g";
        if (!answers->texts.isEmpty())
            state =
                answers->texts == QStringList{NotFound} && state == fellBack ? "fell back" : "?";
        QCOMPARE(state, Cell("state"));
        QCOMPARE(w->texts({"txtExistSO2", "txtPh"}), QStringLiteral("0.00 3.50"));
    }

    void secondCopyEndsWithAMessage()
    {
        frmSulfite other(w->own.path(), w->own.filePath("ardovin.lock"));
        QVERIFY(!other.Form_Load());
        QCOMPARE(answers->texts.last(), QStringLiteral("Ardovin already running."));
        QCOMPARE(answers->shown.last().icon, modProc::MessageIcon::Critical);
    }

    // Calculate as typed (keys a field does not take are dropped), for each target kind; a
    // screen reader hears the new values.
    void calculation_data()
    {
        AddRows({"target", "results"}, R"(
free      | Total_Free_SO2 | 0.20 40 0.78 30.00 0.59 4.53
molecular | Molecular_SO2  | 0.20 40.89 0.8 30.89 0.60 4.67
)");
    }

    void calculation()
    {
        w->edit("cboTarget=" + Cell("target") + u' ' + WorkedBatch + " txtTargetMolSO2=-0a.8");
        w->click("cmdCalculate");
        QCOMPARE(answers->texts, QStringList());
        QCOMPARE(w->texts({"lblExistMolSO2", "txtTargetSO2", "txtTargetMolSO2", "lblSO2Requirement",
                           "lblMolSO2Requirement", "lblAddition"}),
                 Cell("results"));
        auto* addition = QAccessible::queryAccessibleInterface(w->get("lblAddition"));
        QCOMPARE(addition->text(QAccessible::Name), "Required Addition " + w->text("lblAddition"));
    }

    // A problem after the edits: its message, the field it sends the user to, nothing new
    // calculated; a No to a question the same. An empty field counts as 0.00.
    void checks_data()
    {
        AddRows({"edits", "message", "focus"}, R"(
problem      | txtExistSO2=50             | Existing SO2 cannot be greater than target SO2. | txtTargetSO2
empty batch  | txtBatchSize=              | Batch size must be greater than 0. | txtBatchSize
question, No | optSolution txtSolution=60 | Solution percentage appears high. Are you sure it is correct? | txtSolution
too large    | cboTarget=Molecular_SO2 txtTargetMolSO2=0.8 txtExistSO2:1e39 | Existing SO2 cannot be greater than target SO2. | txtTargetMolSO2
)");
    }

    void checks()
    {
        w->edit(WorkedBatch);
        w->click("cmdCalculate");
        w->edit(Cell("edits"));
        const QString before = w->texts({"lblSO2Requirement", "lblAddition"});
        answers->script << modProc::Answer::No;
        w->click("cmdCalculate");
        QCOMPARE(answers->texts, QStringList{Cell("message")});
        QCOMPARE(w->focused(), Cell("focus"));
        QCOMPARE(w->texts({"lblSO2Requirement", "lblAddition"}), before);
        QCOMPARE(w->text("txtBatchSize"), Cell("focus") == "txtBatchSize" ? "0.00" : "23");
    }

    // After a calculation, any change of an input resets the addition, and only the addition.
    void everyEditResetsTheAddition_data()
    {
        AddRows({"edit"}, R"(
txtBatchSize | txtBatchSize=24
txtPh | txtPh=3.6
txtExistSO2 | txtExistSO2=11
txtTargetSO2 | txtTargetSO2=41
txtTargetMolSO2 | txtTargetMolSO2:1
txtTabWeight | txtTabWeight:1
txtSolution | txtSolution:1
cboForm | cboForm=Sodium_Bisulphite
cboBatch | cboBatch=Litres
cboTarget | cboTarget=Molecular_SO2
cboAdditionUnits | cboAdditionUnits=tsp
optSolution | optSolution
optTablet | optTablet
)");
    }

    void everyEditResetsTheAddition()
    {
        w->edit(WorkedBatch);
        w->click("cmdCalculate");
        QCOMPARE(w->text("lblAddition"), QStringLiteral("4.53"));
        w->edit(Cell("edit"));
        QCOMPARE(w->texts({"lblSO2Requirement", "lblAddition"}), QStringLiteral("30.00 0.00"));
    }

    // Each form enables its own fields and offers its own units, its default chosen even where
    // the unit chosen before is offered too.
    void sourceForms_data()
    {
        AddRows({"option", "state"}, R"(
solution | optSolution | txtSolution vsbPercent lblPercent *ml,oz (fl.),tbsp,tsp
tablet   | optTablet   | txtTabWeight vsbCampden lblTabWeight *tablets
powder   | optTablet optPowder | *g,oz (av.),tbsp,tsp
)");
    }

    void sourceForms()
    {
        w->edit("cboAdditionUnits=tsp " + Cell("option"));
        const QString enabled =
            Enabled(w->window.get(), {"txtSolution", "vsbPercent", "lblPercent", "txtTabWeight",
                                      "vsbCampden", "lblTabWeight"});
        QCOMPARE(
            (enabled + u' ' + Items(*w->get<QComboBox>("cboAdditionUnits")).replace(u'|', u','))
                .trimmed(),
            Cell("state"));
    }

    // The target kind enables one of the two target fields, the other greyed; leaving the
    // existing level then shows its molecular level at once.
    void targetKind()
    {
        w->edit("cboTarget=Molecular_SO2 txtExistSO2=10 txtPh=3.5");
        QCOMPARE(Enabled(w->window.get(),
                         {"txtTargetSO2", "vsbTargetSO2", "txtTargetMolSO2", "vsbTargetMolSO2"}),
                 QStringLiteral("txtTargetMolSO2 vsbTargetMolSO2"));
        QCOMPARE(w->get("txtTargetSO2")->palette().color(QPalette::Base), ardovin::LightGrey());
        QCOMPARE(w->get("txtTargetMolSO2")->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Base));
        QCOMPARE(w->text("lblExistMolSO2"), QStringLiteral("0.20"));
    }

    // One press of each spin control (-1 up, 1 down): its own field, step and bounds.
    void spins_data()
    {
        AddRows({"spin", "field", "text", "press", "after"}, R"(
batch     | vsbBatchSize    | txtBatchSize    | 0.5  | 1  | 0.00
pH        | vsbPh           | txtPh           | 14   | -1 | 14.00
pH down   | vsbPh           | txtPh           | 3.5  | 1  | 3.40
existing  | vsbExistSO2     | txtExistSO2     | 9    | -1 | 10.00
target    | vsbTargetSO2    | txtTargetSO2    | 40   | 1  | 39.00
molecular | vsbTargetMolSO2 | txtTargetMolSO2 | 0.8  | -1 | 0.81
tablet    | vsbCampden      | txtTabWeight    | 0.01 | 1  | 0.00
percent   | vsbPercent      | txtSolution     | 100  | -1 | 100.00
)");
    }

    void spins()
    {
        for (auto* control : w->window->findChildren<QWidget*>())
            control->setEnabled(true);
        w->edit(Cell("field") + u':' + Cell("text"));
        Press(w->get<QScrollBar>(Cell("spin")), Cell("press"));
        QCOMPARE(w->text(Cell("field")) + u' ' + w->focused(),
                 Cell("after") + u' ' + Cell("field"));
        QCOMPARE(w->get<QScrollBar>(Cell("spin"))->value(), 0);
    }

    // The Edit menu judges the control that had the caret, however the menu was opened.
    void editMenu()
    {
        auto enabled = [this] {
            emit w->get<QMenu>("mnuEdit")->aboutToShow();
            return w->get<QAction>("mnuEditCut")->isEnabled() +
                   2 * w->get<QAction>("mnuEditCopy")->isEnabled();
        };
        auto* clipboard = QApplication::clipboard();
        auto* ph = w->get<QLineEdit>("txtPh");
        clipboard->setText("kept");
        ph->setFocus();
        ph->deselect();
        w->window->menuBar()->setFocus(Qt::MenuBarFocusReason); // a bare Alt
        QCOMPARE(enabled(), 0);
        ph->setSelection(0, 2);
        QCOMPARE(enabled(), 3);
        w->trigger("mnuEditCut");
        QCOMPARE(clipboard->text() + u'|' + ph->text(), QStringLiteral("3.|50"));
        ph->selectAll();
        w->trigger("mnuEditPaste");
        QCOMPARE(ph->text(), QStringLiteral("3."));
        // A selected result is copied; Cut leaves it whole, Paste leaves it alone.
        w->edit(WorkedBatch);
        w->click("cmdCalculate");
        auto* addition = w->get<QLabel>("lblAddition");
        addition->setFocus();
        addition->setSelection(0, 4);
        QCOMPARE(enabled(), 3);
        w->trigger("mnuEditCut");
        w->trigger("mnuEditPaste");
        QCOMPARE(clipboard->text() + u'|' + addition->text(), QStringLiteral("4.53|4.53"));
        w->click("cmdCalculate");
        w->trigger("mnuEditCopy"); // a button has no text: the clipboard is emptied
        QCOMPARE(clipboard->text(), QString());
    }

    // The Tools and Help commands hand their addresses over; no calculator says so.
    void commands()
    {
        for (const char* name : {"mnuToolsTable", "mnuHelpCalc", "mnuHelpWeb", "mnuHelpEmail"})
            w->trigger(name);
        using namespace ardovin;
        QCOMPARE(opened,
                 (QStringList{TableGeneratorAddress().toString(), ManualAddress().toString(),
                              ProgramPageAddress().toString(), MailAddress().toString()}));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", w->own.path().toLocal8Bit());
        w->trigger("mnuToolsCalc");
        qputenv("PATH", path);
        QCOMPARE(answers->shown.last().caption + u' ' + answers->texts.last(),
                 QStringLiteral("Calculator Calculator not found!"));
    }

    // The About window: its look, its links, and OK or the main window's Exit end it.
    void about()
    {
        QTimer::singleShot(0, [&] {
            auto* about = w->window->findChild<frmAbout*>();
            QVERIFY(about && QTest::qWaitForWindowExposed(about));
            CompareSnapshot(*about, "frmAbout");
            for (const char* link : {"lblWeb", "lblMail"})
                QTest::mouseClick(In(about, link), Qt::LeftButton, {}, QPoint(2, 2));
            QTest::mouseClick(In(about, "cmdOK"), Qt::LeftButton);
        });
        w->trigger("mnuHelpAbout");
        QVERIFY(!w->window->findChild<frmAbout*>());
        QCOMPARE(opened, (QStringList{ardovin::SiteHomeAddress().toString(),
                                      ardovin::MailAddress().toString()}));
        QTimer::singleShot(0, [&] { w->trigger("mnuFileExit"); });
        w->trigger("mnuHelpAbout");
        QVERIFY(!w->window->isVisible());
    }

    // The real box, answered by its buttons: Yes and No, the line breaks, and Ctrl+C copying
    // caption and text.
    void realMessageBox()
    {
        answers.reset();
        for (const bool yes : {true, false}) {
            QString copied;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
                copied = QApplication::clipboard()->text();
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            QCOMPARE(modProc::AskYesNo("Sure?\rReally?"), yes);
            QCOMPARE(copied, QStringLiteral("Ardovin\nSure?\nReally?\n"));
        }
    }
};

QTEST_MAIN(TestFrmSulfite)
#include "test_frmSulfite.moc"
