// The windows through their real controls. The rules behind them are tested in core and
// settings.
#include "platform/addresses.h"
#include "ui/freeSO2Chart.h"
#include "ui/frmAbout.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

using namespace ardovin;

// The worked batch, typed: 23 U.S. gallons at pH 3.50, from 10 to 40 mg/L.
const QString WorkedBatch = "txtBatchSize=23 txtPh=3.5 txtExistSO2=10 txtTargetSO2=40";

class TestWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedAnswers> answers;
    std::unique_ptr<QTemporaryDir> folder; // the program's own: settings.cfg and the lock
    std::unique_ptr<frmSulfite> window;
    QWidget* main = nullptr;
    frmSettings* dialog = nullptr;
    FreeSO2Chart* chart = nullptr; // in the Free SO2 by pH window
    QStringList opened;            // addresses handed to the desktop
    QTemporaryDir home;
    static constexpr const char* Schemes[] = {"http", "https", "mailto", "file"};

    // A main window started as the program starts it, on a folder with the settings given.
    void Start(const QByteArray& settings)
    {
        window.reset();
        folder = std::make_unique<QTemporaryDir>();
        if (!settings.isNull())
            QVERIFY(WriteFile(folder->filePath("settings.cfg"), settings));
        window = std::make_unique<frmSulfite>(folder->path(), folder->filePath("ardovin.lock"));
        main = window.get();
        QVERIFY(window->Form_Load());
        window->show();
        QApplication::setActiveWindow(main);
        QVERIFY(QTest::qWaitForWindowActive(main));
    }
    void Trigger(const char* action) { In<QAction>(main, action)->trigger(); }
    // Opens Tools, Free SO2 by pH for 23 U.S. gallons of 10 mg/L, in the locale given.
    void OpenFreeSO2(const QString& locale)
    {
        QLocale::setDefault(QLocale(locale));
        Start(ReadFile(ARDOVIN_SHIPPED_SETTINGS));
        Edit(main, "txtBatchSize=23 txtExistSO2=10");
        Trigger("mnuToolsFreeSO2");
        chart = In<FreeSO2Chart>(main, "chtFreeSO2");
        QVERIFY(QTest::qWaitForWindowExposed(chart->window()));
    }
    bool OpenOptions()
    {
        Trigger("mnuOptions");
        dialog = main->findChild<frmSettings*>();
        QApplication::setActiveWindow(dialog);
        return QTest::qWaitForWindowActive(dialog);
    }

public slots:
    void open(const QUrl& address) { opened << address.toString(); }

private slots:
    void initTestCase()
    {
        // A home of the test's own: the file dialog starts in its Pictures and keeps its last
        // folder there, not in the user's.
        qputenv("HOME", home.path().toLocal8Bit());
        QVERIFY(QDir(home.path()).mkdir("Pictures"));
        for (const char* scheme : Schemes)
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    void cleanupTestCase()
    {
        for (const char* scheme : Schemes)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        answers = std::make_unique<ScriptedAnswers>();
        Start(ReadFile(ARDOVIN_SHIPPED_SETTINGS));
    }
    void cleanup()
    {
        window.reset();
        answers.reset();
        opened.clear();
    }

    // How the windows look and are read, from the shipped file (the program defaults), without
    // a message; Options again brings the same dialog forward; a second copy only says so.
    void snapshots()
    {
        CompareSnapshot(*main, "frmSulfite");
        QVERIFY(OpenOptions() && OpenOptions());
        CompareSnapshot(*dialog, "frmSettings");
        QCOMPARE(main->findChildren<frmSettings*>().size(), 1);
        QCOMPARE(answers->texts, QStringList());
        QVERIFY(!frmSulfite(folder->path(), folder->filePath("ardovin.lock")).Form_Load());
        QCOMPARE(answers->texts, QStringList{"Ardovin already running."});
        QCOMPARE(answers->shown[0].icon, modProc::MessageIcon::Critical);
    }

    // What start-up makes of a settings file (the user's, changed "before>after"): the choices it
    // shows, or the program defaults with their message where a record is missing or its text
    // is no list item.
    void startUp_data()
    {
        AddRows({"change", "state"}, R"(
user's file    |                    | Sodium Bisulphite optSolution Litres 20.00 8.00 0.50 Molecular SO2 ml
tablets        | Solution">Tablet"  | Sodium Bisulphite optTablet Litres 20.00 8.00 0.50 Molecular SO2 tablets
unknown form   | Solution">Pellets" | Sodium Bisulphite optPowder Litres 20.00 8.00 0.50 Molecular SO2 g
no form        | "form">"shape"     | fell back
no such compound | SODIUM BISULPHITE> | fell back
no file        | ->                 | fell back
no tablet      | "tablet">"pill"    | fell back
form in lower case | Solution">solution" | Sodium Bisulphite optPowder Litres 20.00 8.00 0.50 Molecular SO2 g
)");
    }

    void startUp()
    {
        const auto [change, state] = Cells("change", "state");
        QByteArray file = "\"source\",\"SODIUM BISULPHITE\"\r\n\"form\",\"Solution\"\r\n"
                          "\"batchunits\",\"litres\"\r\n\"batchsize\",20\r\n\"solution\",8\r\n"
                          "\"tablet\",.5\r\n\"target\",\"Molecular SO2\"\r\n";
        if (!change.isEmpty())
            file.replace(change.section(u'>', 0, 0).toLatin1(), change.section(u'>', 1).toLatin1());
        Start(change == u"->" ? QByteArray() : file);
        QString shown = Texts(main, {"cboForm"});
        for (auto* option : main->findChildren<QRadioButton*>())
            shown += option->isChecked() ? u' ' + option->objectName() : "";
        shown += u' ' + Texts(main, {"cboBatch", "txtBatchSize", "txtSolution", "txtTabWeight",
                                     "cboTarget", "cboAdditionUnits", "txtExistSO2", "txtPh"});
        const bool fellBack = state == u"fell back";
        QCOMPARE(shown, fellBack ? "Potassium Metabisulphite optPowder U.S. Gal. 5.00 10.00 0.44 "
                                   "Total Free SO2 g 0.00 3.50"
                                 : state + " 0.00 3.50");
        QCOMPARE(answers->texts.join(u'|'),
                 fellBack ? "User default settings not found.\rLoading program defaults." : "");
    }

    // Calculate after the edits (what a field does not take is dropped, typed or composed): results
    // shown and read out; a problem, or a No to a question, sends the user to its field, nothing
    // new shown (none).
    void calculate_data()
    {
        AddRows({"edits", "shown", "message", "focus"}, R"(
free         |                | txtTargetSO2 vsbTargetSO2 23 0.20 40 0.78 30.00 0.59 4.53 | | cmdCalculate
molecular    | cboTarget=Molecular_SO2 txtTargetMolSO2=-0aá.8 | txtTargetMolSO2 vsbTargetMolSO2 23 0.20 40.89 0.8 30.89 0.60 4.67 | | cmdCalculate
problem      | txtExistSO2=50 | none | Existing SO2 cannot be greater than target SO2. | txtTargetSO2
empty batch  | txtBatchSize=  | txtTargetSO2 vsbTargetSO2 0.00 0.20 40 0.78 30.00 0.59 0.00 | Batch size must be greater than 0. | txtBatchSize
question, No | optSolution txtSolution=60 cmdCalculate | txtTargetSO2 vsbTargetSO2 23 0.20 40 0.78 30.00 0.59 0.00 | Solution percentage appears high. Are you sure it is correct? | txtSolution
too large    | cboTarget=Molecular_SO2 txtTargetMolSO2=0.8 txtExistSO2:1e39 | txtTargetMolSO2 vsbTargetMolSO2 23 0.00 40 0.8 30.00 0.59 0.00 | Existing SO2 cannot be greater than target SO2. | txtTargetMolSO2
)");
    }

    void calculate()
    {
        auto shown = [this] {
            return Enabled(main,
                           {"txtTargetSO2", "vsbTargetSO2", "txtTargetMolSO2", "vsbTargetMolSO2"}) +
                   u' ' +
                   Texts(main, {"txtBatchSize", "lblExistMolSO2", "txtTargetSO2", "txtTargetMolSO2",
                                "lblSO2Requirement", "lblMolSO2Requirement", "lblAddition"});
        };
        Edit(main, WorkedBatch + " cmdCalculate " + Cell("edits"));
        const QString before = shown();
        answers->texts.clear();
        answers->script << modProc::Answer::No;
        Click(main, "cmdCalculate");
        QCOMPARE(answers->texts.join(u'|'), Cell("message"));
        QCOMPARE(Focused(), Cell("focus"));
        QCOMPARE(shown(), Cell("shown") == u"none" ? before : Cell("shown"));
        for (auto* field : main->findChildren<QLineEdit*>(QRegularExpression("^txtTarget")))
            QCOMPARE(field->palette().color(QPalette::Base),
                     field->isEnabled() ? QApplication::palette().color(QPalette::Base)
                                        : QColor(224, 224, 224));
        auto* addition = QAccessible::queryAccessibleInterface(In(main, "lblAddition"));
        QCOMPARE(addition->text(QAccessible::Name),
                 "Required Addition " + Texts(main, {"lblAddition"}));
    }

    // After a calculation, any change of an input resets the addition, and only the addition.
    void everyEditResetsTheAddition_data()
    {
        QTest::addColumn<QString>("edit");
        for (const char* edit :
             {"txtBatchSize=24", "txtPh=3.6", "txtExistSO2=11", "txtTargetSO2=41",
              "txtTargetMolSO2:1", "txtTabWeight:1", "txtSolution:1", "cboForm=Sodium_Bisulphite",
              "cboBatch=Litres", "cboTarget=Molecular_SO2", "cboAdditionUnits=tsp", "optSolution",
              "optTablet"})
            QTest::newRow(edit) << edit;
    }

    void everyEditResetsTheAddition()
    {
        Edit(main, WorkedBatch + " cmdCalculate");
        QCOMPARE(Texts(main, {"lblAddition"}), QStringLiteral("4.53"));
        Edit(main, Cell("edit"));
        QCOMPARE(Texts(main, {"lblSO2Requirement", "lblAddition"}), QStringLiteral("30.00 0.00"));
    }

    // Each form enables its own fields in both windows and offers its units, its default chosen
    // even where the unit chosen before is offered too.
    void sourceForms_data()
    {
        AddRows({"options", "state"}, R"(
solution | optSolution           | txtSolution vsbPercent lblPercent *ml,oz (fl.),tbsp,tsp
tablet   | optTablet             | txtTabWeight vsbCampden lblTabWeight *tablets
powder   | optTablet optPowder   | *g,oz (av.),tbsp,tsp
)");
    }

    void sourceForms()
    {
        const QStringList fields{"txtSolution",  "vsbPercent", "lblPercent",
                                 "txtTabWeight", "vsbCampden", "lblTabWeight"};
        Edit(main, "cboAdditionUnits=tsp " + Cell("options"));
        QCOMPARE((Enabled(main, fields) + u' ' + Items(main, "cboAdditionUnits")).trimmed(),
                 Cell("state"));
        QVERIFY(OpenOptions());
        Edit(dialog, Cell("options"));
        QCOMPARE(Enabled(dialog, fields), Enabled(main, fields));
    }

    // Presses of each spin control in each window: its field, step and bounds (from 0.00 down
    // and up again where the bound is 0), the focus there.
    void spins_data()
    {
        AddRows({"window", "edits", "after"}, R"(
batch     | main   | txtBatchSize:0.5 vsbBatchSize1         | txtBatchSize 0.00
pH        | main   | txtPh:14 vsbPh-1                       | txtPh 14.00
existing  | main   | txtExistSO2:0 vsbExistSO21 vsbExistSO2-1 | txtExistSO2 1.00
target    | main   | txtTargetSO2:40 vsbTargetSO21          | txtTargetSO2 39.00
molecular | main   | txtTargetMolSO2:0 vsbTargetMolSO21 vsbTargetMolSO2-1 | txtTargetMolSO2 0.01
tablet    | main   | txtTabWeight:0 vsbCampden1 vsbCampden-1 | txtTabWeight 0.01
percent   | main   | txtSolution:100 vsbPercent-1           | txtSolution 100.00
dialog batch | dialog | txtBatchSize:0.5 vsbBatchSize1      | txtBatchSize 0.00
dialog tablet | dialog | txtTabWeight:0.01 vsbCampden1      | txtTabWeight 0.00
dialog percent | dialog | txtSolution:100 vsbPercent-1      | txtSolution 100.00
dialog percent floor | dialog | txtSolution:1 vsbPercent1   | txtSolution 1.00
)");
    }

    void spins()
    {
        QWidget* window = Cell("window") == u"main" ? main : (OpenOptions(), dialog);
        for (auto* control : window->findChildren<QWidget*>())
            control->setEnabled(true);
        Edit(window, Cell("edits"));
        const QString field = Cell("after").section(u' ', 0, 0);
        QCOMPARE(field + u' ' + Texts(window, {field}), Cell("after"));
        QCOMPARE(Focused(), field);
        for (auto* spin : window->findChildren<QScrollBar*>())
            QCOMPARE(spin->value(), 0);
    }

    // The Edit menu judges the control that had the caret, however the menu was opened.
    void editMenu()
    {
        auto enabled = [this] {
            emit In<QMenu>(main, "mnuEdit")->aboutToShow();
            return In<QAction>(main, "mnuEditCut")->isEnabled() +
                   2 * In<QAction>(main, "mnuEditCopy")->isEnabled();
        };
        auto* clipboard = QApplication::clipboard();
        auto* ph = In<QLineEdit>(main, "txtPh");
        ph->setFocus();
        ph->deselect();
        window->menuBar()->setFocus(Qt::MenuBarFocusReason); // a bare Alt
        QCOMPARE(enabled(), 0);
        ph->setSelection(0, 2);
        QCOMPARE(enabled(), 3);
        Trigger("mnuEditCut");
        QCOMPARE(clipboard->text() + u'|' + ph->text(), QStringLiteral("3.|50"));
        ph->selectAll();
        Trigger("mnuEditPaste");
        QCOMPARE(ph->text(), QStringLiteral("3."));
        // A selected result is copied; Cut leaves it whole, Paste leaves it alone.
        Edit(main, WorkedBatch + " cmdCalculate");
        auto* addition = In<QLabel>(main, "lblAddition");
        addition->setFocus();
        addition->setSelection(0, 4);
        QCOMPARE(enabled(), 3);
        Trigger("mnuEditCut");
        Trigger("mnuEditPaste");
        QCOMPARE(clipboard->text() + u'|' + addition->text(), QStringLiteral("4.53|4.53"));
        Click(main, "cmdCalculate");
        QCOMPARE(enabled(), 3);
        Trigger("mnuEditCopy"); // a button has no text: the clipboard is emptied
        QCOMPARE(clipboard->text(), QString());
        ph->setFocus();
        ph->selectAll();
        Trigger("mnuEditPaste"); // nothing pasted over the selection
        QCOMPARE(ph->text(), QString());
    }

    // The Tools and Help commands and the About window's links hand their addresses over; no
    // calculator says so. The About window: its look, and OK or the main window's Exit end it.
    void commands()
    {
        QTimer::singleShot(0, [&] {
            auto* about = main->findChild<frmAbout*>();
            QVERIFY(about && QTest::qWaitForWindowExposed(about));
            CompareSnapshot(*about, "frmAbout");
            for (const char* link : {"lblWeb", "lblMail"})
                QTest::mouseClick(In(about, link), Qt::LeftButton, {}, QPoint(2, 2));
            Click(about, "cmdOK");
        });
        for (const char* name :
             {"mnuToolsTable", "mnuHelpCalc", "mnuHelpWeb", "mnuHelpEmail", "mnuHelpAbout"})
            Trigger(name);
        QVERIFY(!main->findChild<frmAbout*>());
        QCOMPARE(opened,
                 (QStringList{TableGeneratorAddress().toString(), ManualAddress().toString(),
                              ProgramPageAddress().toString(), MailAddress().toString(),
                              SiteHomeAddress().toString(), MailAddress().toString()}));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", folder->path().toLocal8Bit());
        Trigger("mnuToolsCalc");
        qputenv("PATH", path);
        QCOMPARE(answers->shown.last().caption + u' ' + answers->texts.last(),
                 QStringLiteral("Calculator Calculator not found!"));
        QTimer::singleShot(0, [&] { Trigger("mnuFileExit"); });
        Trigger("mnuHelpAbout");
        QVERIFY(!main->isVisible());
    }

    // Under a dark colour scheme, texts on a fixed light background stay dark enough to read.
    void fixedBackgroundsUnderDarkScheme()
    {
        const auto restore =
            qScopeGuard([scheme = QApplication::palette()] { QApplication::setPalette(scheme); });
        QApplication::setPalette(QPalette(Qt::white, Qt::black));
        frmAbout about(main);
        for (const QWidget* window : {static_cast<QWidget*>(&about), main})
            for (const QLabel* label : window->findChildren<QLabel*>())
                QVERIFY2(!label->autoFillBackground() ||
                             qGray(label->palette().color(QPalette::Window).rgb()) -
                                     qGray(label->palette().color(QPalette::WindowText).rgb()) >
                                 128,
                         qPrintable(label->objectName()));
    }

    // AltGr, which Windows reports as Ctrl+Alt, types a character, judged as any typed one.
    void altGrTypesACharacter()
    {
        auto* ph = In<QLineEdit>(main, "txtPh");
        ph->clear();
        for (const char key : {'q', '5'})
            QTest::keyClick(ph, key, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(ph->text(), QStringLiteral("5"));
    }

    // The program's font names no family the system lacks besides its own font's: Qt would search
    // the system's fallbacks for it at every start.
    void programFontNamesFamiliesTheSystemHas()
    {
        QStringList asked = modProc::ProgramFont().families();
        asked.removeAll(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        for (const QString& family : asked)
            QVERIFY2(QFontDatabase::families().contains(family, Qt::CaseInsensitive),
                     qPrintable(family));
    }

    // Default Settings: choosing from a list's pop-up (a window of its own) keeps what was typed;
    // coming back from the main window refills the fields from what was saved.
    void dialogRefills()
    {
        QVERIFY(OpenOptions());
        Edit(dialog, "txtBatchSize:77");
        auto* list = In<QComboBox>(dialog, "cboBatch");
        list->setFocus();
        list->showPopup();
        QVERIFY(QTest::qWaitForWindowExposed(list->view()->window()));
        QTest::keyClick(list->view(), Qt::Key_Down);
        QTest::keyClick(list->view(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), list);
        QCOMPARE(Texts(dialog, {"cboBatch", "txtBatchSize"}), QStringLiteral("Imp. gal. 77"));
        QApplication::setActiveWindow(main);
        In(main, "txtPh")->setFocus();
        QApplication::setActiveWindow(dialog);
        QTRY_COMPARE(Texts(dialog, {"cboBatch", "txtBatchSize"}), QStringLiteral("U.S. Gal. 5.00"));
    }

    // Default Settings: a problem keeps the dialog open on its field (an empty one shows 0.00);
    // OK saves what is shown (typed keys filtered), the whole file; Restore shows the program
    // defaults and Cancel keeps what was saved; a failed save says why and keeps the dialog open.
    void dialogButtons()
    {
        QVERIFY(OpenOptions());
        Edit(dialog, "optTablet txtTabWeight: cmdOK");
        QCOMPARE(answers->texts, QStringList{"Tablet weight must be greater than 0."});
        QCOMPARE(Focused() + u' ' + Texts(dialog, {"txtTabWeight"}), "txtTabWeight 0.00");
        Edit(dialog, "txtBatchSize=1,2a34.5 optTablet txtTabWeight:0.5 cboBatch=Litres "
                     "cboForm=Sodium_Bisulphite cboTarget=Molecular_SO2 cmdOK");
        QTRY_VERIFY(!main->findChild<frmSettings*>());
        const QString path = window->settingsFilePath();
        const QByteArray saved =
            "\"source\",\"Sodium Bisulphite\"\r\n\"form\",\"Tablet\"\r\n"
            "\"batchunits\",\"Litres\"\r\n\"batchsize\",1234.5\r\n"
            "\"solution\",10\r\n\"tablet\",.5\r\n\"target\",\"Molecular SO2\"\r\n";
        QCOMPARE(ReadFile(path), saved);
        QVERIFY(OpenOptions());
        Edit(dialog, "cmdRestore");
        QCOMPARE(Texts(dialog, {"txtBatchSize", "txtTabWeight", "cboBatch"}),
                 "5.00 0.44 U.S. Gal.");
        Edit(dialog, "cmdCancel");
        QTRY_VERIFY(!main->findChild<frmSettings*>());
        QCOMPARE(ReadFile(path), saved);
        QVERIFY(OpenOptions());
        QCOMPARE(Texts(dialog, {"txtBatchSize", "txtTabWeight", "cboBatch"}),
                 "1,234.50 0.50 Litres");
        QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        answers->texts.clear();
        Edit(dialog, "txtBatchSize:42 cmdOK");
        QCOMPARE(answers->texts.size(), 1);
        QVERIFY(answers->texts[0].startsWith(QString::number(QFileDevice::WriteError) + u'\r'));
        QCOMPARE(answers->shown.last().icon, modProc::MessageIcon::Critical);
        QVERIFY(dialog->isVisible());
        main->close(); // the dialog ends with the main window
        QTRY_VERIFY(!main->findChild<frmSettings*>());
    }

    // After a start without settings.cfg, the dialog shows the program defaults, and OK writes
    // them whole. With a molecular target, leaving Existing SO2 shows its molecular level.
    void withoutSettingsFile()
    {
        Start(QByteArray());
        Edit(main, "cboTarget=Molecular_SO2 txtExistSO2=10");
        In(main, "txtPh")->setFocus();
        QCOMPARE(Texts(main, {"lblExistMolSO2"}), QStringLiteral("0.20"));
        QVERIFY(OpenOptions());
        Edit(dialog, "cmdOK");
        QTRY_COMPARE(ReadFile(window->settingsFilePath()), ReadFile(ARDOVIN_SHIPPED_SETTINGS));
    }

    // The real boxes, answered from the keyboard (Enter the default, Escape No): icon, caption,
    // line breaks; Ctrl+C copies the caption and text.
    void realMessageBox()
    {
        answers.reset();
        int asked = 0;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Return}) {
            QString shown;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                shown =
                    QString::number(box->icon()) + u' ' + box->windowTitle() + u'|' + box->text();
                QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
                QTest::keyClick(box, key);
                if (box->isVisible()) // the key did not reach it
                    box->done(-1);
            });
            const bool question = asked++ < 2;
            if (question)
                QCOMPARE(modProc::AskYesNo("Sure?\rReally?"), key == Qt::Key_Return);
            else
                modProc::ShowInputError("Sure?\rReally?");
            QCOMPARE(shown,
                     QString::number(question ? QMessageBox::Question : QMessageBox::Warning) +
                         " Ardovin|Sure?\nReally?");
        }
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Ardovin\nSure?\nReally?\n"));
    }

    // The chart follows the main window with no Calculate press and closes with it: the curves
    // (the target's for a molecular one), the wine's point unless a field does not read, the top
    // of the free SO2 axis a round number above them. Copy: the header's first and last cells
    // less their fixed words, pH 2.90 and 3.50 (';' for a tab); 4.67 g to 0.80 mg/L molecular as
    // in the core's worked table. The look in German.
    void freeSO2_data()
    {
        AddRows({"locale", "edits", "at pH 3.50", "shown", "header", "rows"}, R"(
edited pH    | en_US | txtPh=3.8                                   | 25.56 40.89 | 1 3.8 10 150 0.50 mg/L molecular (reds); 0.80 mg/L molecular (whites). This wine: pH 3.80, free SO2 10.00 mg/L, molecular SO2 0.10 mg/L. | pH 0.50 (mg/L) 0.80 (g) | 2.90;6.79;0.00;10.87;0.13 3.50;25.56;2.35;40.89;4.67
off the curves | en_US | txtPh=4.5 txtExistSO2=600                 | 25.56 40.89 | 1 4.5 600 800 0.50 mg/L molecular (reds); 0.80 mg/L molecular (whites). This wine: pH 4.50, free SO2 600.00 mg/L, molecular SO2 1.19 mg/L. | pH 0.50 (mg/L) 0.80 (g) | 2.90;6.79;0.00;10.87;0.00 3.50;25.56;0.00;40.89;0.00
target       | en_US | cboTarget=Molecular_SO2 txtTargetMolSO2=1.2 | 25.56 40.89 61.34 | 1 3.5 10 300 0.50 mg/L molecular (reds); 0.80 mg/L molecular (whites); Target 1.20 mg/L molecular. This wine: pH 3.50, free SO2 10.00 mg/L, molecular SO2 0.20 mg/L. | pH 0.50 (mg/L) target 1.20 (g) | 2.90;6.79;0.00;10.87;0.13;16.31;0.95 3.50;25.56;2.35;40.89;4.67;61.34;7.76
empty pH     | en_US | txtPh=                                      | 25.56 40.89 | 0 0 0 150 0.50 mg/L molecular (reds); 0.80 mg/L molecular (whites). No point for this wine: its pH or free SO2 is not a number. | pH 0.50 (mg/L) 0.80 (g) | 2.90;6.79;0.00;10.87;0.13 3.50;25.56;2.35;40.89;4.67
tablets      | en_US | optTablet                                   | 25.56 40.89 | 1 3.5 10 150 0.50 mg/L molecular (reds); 0.80 mg/L molecular (whites). This wine: pH 3.50, free SO2 10.00 mg/L, molecular SO2 0.20 mg/L. | pH 0.50 (mg/L) 0.80 (tablets) | 2.90;6.79;0.00;10.87;0.30 3.50;25.56;5.34;40.89;10.61
German       | de_DE |                                             | 25.56 40.89 | 1 3.5 10 150 0,50 mg/L molecular (reds); 0,80 mg/L molecular (whites). This wine: pH 3,50, free SO2 10,00 mg/L, molecular SO2 0,20 mg/L. | pH 0,50 (mg/L) 0,80 (g) | 2,90;6,79;0,00;10,87;0,13 3,50;25,56;2,35;40,89;4,67
)");
    }
    void freeSO2()
    {
        OpenFreeSO2(Cell("locale"));
        Edit(main, Cell("edits"));
        const QStringList atPh350 = Cell("at pH 3.50").split(u' ');
        const QRectF ranges = chart->Ranges();
        QCOMPARE(chart->Lines().size(), atPh350.size());
        for (int curve = 0; curve < atPh350.size(); ++curve) {
            const QList<QPointF>& points = chart->Lines()[curve].points;
            QCOMPARE(points.size(), 111); // pH 2.90 to 4.00 in hundredths
            QCOMPARE(QString::number(points[60].y(), 'f', 2), atPh350[curve]);
            for (const QPointF& p : points)
                QVERIFY(p.y() < ranges.bottom());
        }
        const QPointF p = chart->WinePoint().value_or(QPointF());
        QVERIFY(p.x() < ranges.right() && p.y() < ranges.bottom()); // on the chart, however high
        const QString said = chart->accessibleDescription().section(" for ", 1, -1); // the curves
        QCOMPARE(QString("%1 %2 %3 %4 ")
                         .arg(chart->WinePoint() ? 1 : 0)
                         .arg(p.x())
                         .arg(p.y())
                         .arg(ranges.bottom()) +
                     said,
                 Cell("shown"));
        const QString point = said.section(". ", 1);
        QCOMPARE(Texts(main, {"lblWinePoint"}), point.startsWith("This") ? point.chopped(1) : "");
        // The legend names the curves, and "This wine" only with its point.
        QCOMPARE(chart->LegendNames().join("; "),
                 said.section(". ", 0, 0) + (chart->WinePoint() ? "; This wine" : ""));
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(chart->window());
        QCOMPARE(read->text(QAccessible::Name) + u' ' + QString::number(read->role(), 16),
                 "Free SO2 by pH " + QString::number(QAccessible::Dialog, 16));

        Click(main, "cmdCopy");
        if (Cell("locale") == u"de_DE")
            CompareSnapshot(*chart->window(), "frmFreeSO2");
        const QStringList lines = QApplication::clipboard()->text().split(u'\n');
        const QStringList head = lines[0].split(u'\t');
        const QRegularExpression fixedWords("(Free SO2|Addition) for | mg/L molecular");
        QCOMPARE(QString(head[0] + u' ' + head.value(1) + u' ' + head.last()).remove(fixedWords),
                 Cell("header"));
        QCOMPARE(QString(lines.value(1) + u' ' + lines.value(13)).replace(u'\t', u';'),
                 Cell("rows"));
        QCOMPARE(answers->texts, QStringList());
        main->close();
        QVERIFY(!chart->window()->isVisible());
    }

    // Save Image writes the chart as a PNG where the user chose, or says where it could not.
    void freeSO2SavedImage()
    {
        OpenFreeSO2("en_US");
        QStringList titles;
        for (const QString& path : {folder->filePath("chart.png"), QString("/sys/chart.png")}) {
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                titles << dialog->windowTitle();
                dialog->selectFile(path);
                QMetaObject::invokeMethod(dialog, "accept");
            });
            Click(main, "cmdSaveImage");
        }
        QCOMPARE(titles, QStringList({"Save Image", "Save Image"}));
        QCOMPARE(QImage(folder->filePath("chart.png")).size(), chart->size());
        QCOMPARE(answers->texts, QStringList{"The picture could not be saved as /sys/chart.png."});
    }
};

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
