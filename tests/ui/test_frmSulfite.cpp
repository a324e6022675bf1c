// The main window through its real controls: start-up, the wiring of every control, the menus
// and the About window. The rules behind them are the core's and the settings' tests' business.
#include "platform/shell.h"
#include "ui/frmAbout.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

using Answer = modProc::Answer;

namespace {

QByteArray Shipped()
{
    QFile file(QStringLiteral(ARDOVIN_SHIPPED_SETTINGS));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The worked batch, typed: 23 U.S. gallons at pH 3.50, from 10 to 40 mg/L.
void TypeWorkedBatch(const WindowUnderTest& w)
{
    w.type("txtBatchSize", "23");
    w.type("txtPh", "3.5");
    w.type("txtExistSO2", "10");
    w.type("txtTargetSO2", "40");
}

QString Results(const WindowUnderTest& w)
{
    QStringList texts;
    for (const char* name : {"lblExistMolSO2", "txtTargetSO2", "txtTargetMolSO2",
                             "lblSO2Requirement", "lblMolSO2Requirement", "lblAddition"})
        texts << w.text(name);
    return texts.join(u' ');
}

} // namespace

class TestFrmSulfite : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedAnswers> answers;
    std::unique_ptr<WindowUnderTest> w;

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
        Start(Shipped());
    }
    void cleanup()
    {
        w.reset();
        answers.reset();
    }

    // How the window looks and is read at start, from the shipped settings.
    void snapshot()
    {
        QCOMPARE(answers->texts(), QStringList());
        CompareSnapshot(*w->window, "frmSulfite");
    }

    // What start-up makes of the settings file: the form, unit, size and target it chose, and
    // whether it fell back to the program defaults, saying so.
    void startUp_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("state");
        const QByteArray file =
            "\"source\",\"SODIUM BISULPHITE\"\r\n\"form\",\"Solution\"\r\n"
            "\"batchunits\",\"litres\"\r\n\"batchsize\",20\r\n"
            "\"solution\",8\r\n\"tablet\",.5\r\n\"target\",\"Molecular SO2\"\r\n";
        const QString fallBack = "Potassium Metabisulphite optPowder U.S. Gal. 5.00 10.00 0.44 "
                                 "Total Free SO2 g fell back";
        QTest::newRow("user's file") << file
                                     << "Sodium Bisulphite optSolution Litres 20.00 8.00 "
                                        "0.50 Molecular SO2 ml";
        QTest::newRow("tablets") << QByteArray(file).replace("Solution\"", "Tablet\"")
                                 << "Sodium Bisulphite optTablet Litres 20.00 8.00 0.50 "
                                    "Molecular SO2 tablets";
        QTest::newRow("unknown form keeps powder")
            << QByteArray(file).replace("Solution\"", "Pellets\"")
            << "Sodium Bisulphite optPowder Litres 20.00 8.00 0.50 Molecular SO2 g";
        QTest::newRow("no file") << QByteArray() << fallBack;
        QTest::newRow("no form") << QByteArray(file).replace("\"form\"", "\"shape\"") << fallBack;
        QTest::newRow("empty compound")
            << QByteArray(file).replace("SODIUM BISULPHITE", "") << fallBack;
        QTest::newRow("unknown unit") << QByteArray(file).replace("litres", "barrels") << fallBack;
        QTest::newRow("no target") << QByteArray(file).replace("\"target\"", "\"aim\"") << fallBack;
    }

    void startUp()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, state);
        answers->shown.clear();
        Start(file);
        QString form;
        for (const char* name : {"optPowder", "optSolution", "optTablet"})
            if (w->get<QRadioButton>(name)->isChecked())
                form = name;
        QStringList seen{w->text("cboForm"), form};
        for (const char* name : {"cboBatch", "txtBatchSize", "txtSolution", "txtTabWeight",
                                 "cboTarget", "cboAdditionUnits"})
            seen << w->text(name);
        if (answers->texts() == QStringList{"User default settings not found.\rLoading program "
                                            "defaults."})
            seen << "fell back";
        QCOMPARE(seen.join(u' '), state);
        QCOMPARE(w->text("txtExistSO2") + w->text("txtPh"), QStringLiteral("0.003.50"));
    }

    void secondCopyEndsWithAMessage()
    {
        WindowUnderTest second;
        auto other =
            std::make_unique<frmSulfite>(second.own.path(), w->own.filePath("ardovin.lock"));
        QVERIFY(!other->Form_Load());
        QCOMPARE(answers->shown.last().text, QStringLiteral("Ardovin already running."));
        QCOMPARE(answers->shown.last().icon, modProc::MessageIcon::Critical);
    }

    // Calculate, as typed, for each target kind; a screen reader hears the new values.
    void calculation_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("results");
        QTest::newRow("free") << "Total Free SO2"
                              << "0.20 40 0.78 30.00 0.59 4.53";
        QTest::newRow("molecular") << "Molecular SO2"
                                   << "0.20 40.89 0.8 30.89 0.60 4.67";
    }

    void calculation()
    {
        QFETCH(QString, target);
        QFETCH(QString, results);
        w->get<QComboBox>("cboTarget")->setCurrentText(target);
        TypeWorkedBatch(*w);
        if (target != u"Total Free SO2")
            w->type("txtTargetMolSO2", "0.8");
        w->calculate();
        QCOMPARE(answers->texts(), QStringList());
        QCOMPARE(Results(*w), results);
        auto* addition = QAccessible::queryAccessibleInterface(w->get("lblAddition"));
        QCOMPARE(addition->text(QAccessible::Name), "Required Addition " + w->text("lblAddition"));
    }

    // A problem: its message, the field it sends the user to, nothing calculated. A No to a
    // question does the same and resets the addition; empty fields count as 0.00.
    void checks_data()
    {
        QTest::addColumn<QString>("edits"); // field=text pairs
        QTest::addColumn<QList<Answer>>("script");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("problem") << "txtExistSO2=50" << QList<Answer>{}
                                 << "Existing SO2 cannot be greater than target SO2."
                                 << "txtTargetSO2";
        QTest::newRow("empty batch")
            << "txtBatchSize=" << QList<Answer>{} << "Batch size must be greater than 0."
            << "txtBatchSize";
        QTest::newRow("question, No") << "optSolution txtSolution=60" << QList<Answer>{Answer::No}
                                      << "Solution percentage appears high. Are you sure it is "
                                         "correct?"
                                      << "txtSolution";
        QTest::newRow("molecular, existing too large")
            << "cboTarget=Molecular_SO2 txtTargetMolSO2=0.8 txtExistSO2=1e39" << QList<Answer>{}
            << "Existing SO2 cannot be greater than target SO2."
            << "txtTargetMolSO2";
    }

    void checks()
    {
        QFETCH(QString, edits);
        QFETCH(QList<Answer>, script);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TypeWorkedBatch(*w);
        w->calculate();
        for (const QString& edit : edits.split(u' ')) {
            const QByteArray name = edit.section(u'=', 0, 0).toLatin1();
            const QString text = edit.section(u'=', 1).replace(u'_', u' ');
            if (name.startsWith("opt"))
                QTest::mouseClick(w->get(name), Qt::LeftButton);
            else if (name.startsWith("cbo"))
                w->get<QComboBox>(name)->setCurrentText(text);
            else
                w->get<QLineEdit>(name)->setText(text); // pasted: letters and signs pass
        }
        const QString before = w->text("lblSO2Requirement") + w->text("lblAddition");
        answers->script = script;
        w->calculate();
        QCOMPARE(answers->texts(), QStringList{message});
        QCOMPARE(w->focused(), focus);
        QCOMPARE(w->text("lblSO2Requirement") + w->text("lblAddition"), before);
        if (edits == u"txtBatchSize=")
            QCOMPARE(w->text("txtBatchSize"), QStringLiteral("0.00"));
    }

    // After a calculation, any change of an input resets the addition, and only the addition.
    void everyEditResetsTheAddition_data()
    {
        QTest::addColumn<QString>("control");
        for (const char* name :
             {"txtBatchSize", "txtPh", "txtExistSO2", "txtTargetSO2", "txtTargetMolSO2",
              "txtTabWeight", "txtSolution", "cboForm", "cboBatch", "cboTarget", "cboAdditionUnits",
              "optSolution", "optTablet"})
            QTest::newRow(name) << name;
    }

    void everyEditResetsTheAddition()
    {
        QFETCH(QString, control);
        TypeWorkedBatch(*w);
        w->calculate();
        QCOMPARE(w->text("lblAddition"), QStringLiteral("4.53"));
        QWidget* edited = w->get(qPrintable(control));
        if (auto* field = qobject_cast<QLineEdit*>(edited))
            field->setText(field->text() + u'1');
        else if (auto* list = qobject_cast<QComboBox*>(edited))
            list->setCurrentIndex(1);
        else
            QTest::mouseClick(edited, Qt::LeftButton);
        QCOMPARE(w->text("lblAddition"), QStringLiteral("0.00"));
        QCOMPARE(w->text("lblSO2Requirement"), QStringLiteral("30.00"));
    }

    // Each form enables its own fields and offers its own units, its default chosen.
    void sourceForms_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("state");
        QTest::newRow("solution") << "optSolution"
                                  << "txtSolution vsbPercent lblPercent *ml|oz (fl.)|tbsp|tsp";
        QTest::newRow("tablet") << "optTablet"
                                << "txtTabWeight vsbCampden lblTabWeight *tablets";
        QTest::newRow("powder") << "optPowder"
                                << "*g|oz (av.)|tbsp|tsp";
    }

    void sourceForms()
    {
        QFETCH(QString, option);
        QFETCH(QString, state);
        auto* units = w->get<QComboBox>("cboAdditionUnits");
        units->setCurrentText("tsp"); // a unit both powder and solution offer
        if (option == u"optPowder")
            QTest::mouseClick(w->get("optTablet"), Qt::LeftButton);
        QTest::mouseClick(w->get(qPrintable(option)), Qt::LeftButton);
        QStringList seen;
        for (const char* name : {"txtSolution", "vsbPercent", "lblPercent", "txtTabWeight",
                                 "vsbCampden", "lblTabWeight"})
            if (w->get(name)->isEnabled())
                seen << name;
        QString listed;
        for (int i = 0; i < units->count(); ++i)
            listed += (i == units->currentIndex() ? u'*' : u'|') + units->itemText(i);
        seen << listed.mid(listed.startsWith(u'|') ? 1 : 0);
        QCOMPARE(seen.join(u' '), state);
    }

    // The target kind enables one of the two target fields, the other greyed.
    void targetKind()
    {
        auto* free = w->get<QLineEdit>("txtTargetSO2");
        auto* molecular = w->get<QLineEdit>("txtTargetMolSO2");
        w->get<QComboBox>("cboTarget")->setCurrentText("Molecular SO2");
        QVERIFY(!free->isEnabled() && molecular->isEnabled());
        QVERIFY(!w->get("vsbTargetSO2")->isEnabled() && w->get("vsbTargetMolSO2")->isEnabled());
        QCOMPARE(free->palette().color(QPalette::Base), ardovin::LightGrey());
        QCOMPARE(molecular->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Base));
        // Leaving the existing level shows its molecular level at once.
        w->type("txtExistSO2", "10");
        w->get("txtPh")->setFocus();
        QCOMPARE(w->text("lblExistMolSO2"), QStringLiteral("0.20"));
    }

    // One press of each spin control: its own field, its own step and bounds.
    void spins_data()
    {
        QTest::addColumn<QString>("spin");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("after");
        const auto up = int(QAbstractSlider::SliderSingleStepSub);
        const auto down = int(QAbstractSlider::SliderSingleStepAdd);
        QTest::newRow("batch") << "vsbBatchSize"
                               << "txtBatchSize"
                               << "0.5" << down << "0.00";
        QTest::newRow("pH") << "vsbPh"
                            << "txtPh"
                            << "14" << up << "14.00";
        QTest::newRow("pH down") << "vsbPh"
                                 << "txtPh"
                                 << "3.5" << down << "3.40";
        QTest::newRow("existing") << "vsbExistSO2"
                                  << "txtExistSO2"
                                  << "9" << up << "10.00";
        QTest::newRow("target") << "vsbTargetSO2"
                                << "txtTargetSO2"
                                << "40" << down << "39.00";
        QTest::newRow("molecular") << "vsbTargetMolSO2"
                                   << "txtTargetMolSO2"
                                   << "0.8" << up << "0.81";
        QTest::newRow("tablet") << "vsbCampden"
                                << "txtTabWeight"
                                << "0.01" << down << "0.00";
        QTest::newRow("percent") << "vsbPercent"
                                 << "txtSolution"
                                 << "100" << up << "100.00";
    }

    void spins()
    {
        QFETCH(QString, spin);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, action);
        QFETCH(QString, after);
        for (auto* control : w->window->findChildren<QWidget*>())
            control->setEnabled(true);
        w->get<QLineEdit>(qPrintable(field))->setText(text);
        auto* bar = w->get<QScrollBar>(qPrintable(spin));
        bar->triggerAction(QAbstractSlider::SliderAction(action));
        QCOMPARE(w->text(qPrintable(field)), after);
        QCOMPARE(w->focused(), field);
        QCOMPARE(bar->value(), 0);
    }

    // Typed keys: the characters of a number and the control keys reach a field, no others.
    void keyFilter()
    {
        w->type("txtPh", "-3a,5.e");
        QCOMPARE(w->text("txtPh"), QStringLiteral("3,5."));
        QTest::keyClick(w->get("txtPh"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w->get("txtPh"), Qt::Key_Backspace);
        QCOMPARE(w->text("txtPh"), QString());
    }

    // The Edit menu judges the control that had the caret, however the menu was opened.
    void editMenu()
    {
        auto* menu = w->window->findChild<QMenu*>("mnuEdit");
        auto* cut = w->window->findChild<QAction*>("mnuEditCut");
        auto* copy = w->window->findChild<QAction*>("mnuEditCopy");
        auto* paste = w->window->findChild<QAction*>("mnuEditPaste");
        auto* ph = w->get<QLineEdit>("txtPh");
        QApplication::clipboard()->setText("kept");
        ph->setFocus();
        ph->deselect();
        w->window->menuBar()->setFocus(Qt::MenuBarFocusReason); // a bare Alt
        emit menu->aboutToShow();
        QVERIFY(!cut->isEnabled() && !copy->isEnabled());
        ph->setFocus();
        ph->setSelection(0, 2);
        emit menu->aboutToShow();
        QVERIFY(cut->isEnabled() && copy->isEnabled());
        cut->trigger();
        QCOMPARE(QApplication::clipboard()->text() + u'|' + ph->text(), QStringLiteral("3.|50"));
        ph->selectAll();
        paste->trigger();
        QCOMPARE(ph->text(), QStringLiteral("3."));
        // A selected result is copied; a cut leaves it whole, a paste leaves it alone.
        TypeWorkedBatch(*w);
        w->calculate();
        auto* addition = w->get<QLabel>("lblAddition");
        addition->setFocus();
        addition->setSelection(0, 4);
        emit menu->aboutToShow();
        QVERIFY(copy->isEnabled());
        cut->trigger();
        paste->trigger();
        QCOMPARE(QApplication::clipboard()->text() + u'|' + addition->text(),
                 QStringLiteral("4.53|4.53"));
        QTest::mouseClick(w->get("cmdCalculate"), Qt::LeftButton);
        copy->trigger(); // a button has no text to copy: the clipboard is emptied
        QCOMPARE(QApplication::clipboard()->text(), QString());
    }

    // The Tools and Help commands hand their addresses over; no calculator says so.
    void commands()
    {
        QStringList opened;
        ardovin::ScopedDocumentOpener recorder(
            [&opened](const QUrl& url) { opened << url.path(); });
        for (const char* name : {"mnuToolsTable", "mnuHelpCalc", "mnuHelpWeb", "mnuHelpEmail"})
            w->window->findChild<QAction*>(name)->trigger();
        QCOMPARE(opened.join(u' ').remove(QStringLiteral(ARDOVIN_SUPPORT_MAIL)),
                 QStringLiteral("/sulphtable.php /sulphManual.html /sulphite.html "));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", w->own.path().toLocal8Bit());
        w->window->findChild<QAction*>("mnuToolsCalc")->trigger();
        qputenv("PATH", path);
        QCOMPARE(answers->shown.last().caption + u' ' + answers->shown.last().text,
                 QStringLiteral("Calculator Calculator not found!"));
    }

    // The About window: its look, its links, OK and the main window's closing end it.
    void about()
    {
        QStringList opened;
        ardovin::ScopedDocumentOpener recorder(
            [&opened](const QUrl& url) { opened << url.toString(); });
        QTimer::singleShot(0, [&] {
            auto* about = w->window->findChild<frmAbout*>();
            QVERIFY(about && QTest::qWaitForWindowExposed(about));
            CompareSnapshot(*about, "frmAbout");
            for (const char* link : {"lblWeb", "lblMail"})
                QTest::mouseClick(In(about, link), Qt::LeftButton, {}, QPoint(2, 2));
            QTest::mouseClick(In(about, "cmdOK"), Qt::LeftButton);
        });
        w->window->findChild<QAction*>("mnuHelpAbout")->trigger();
        QVERIFY(!w->window->findChild<frmAbout*>());
        QCOMPARE(opened,
                 (QStringList{"http://" ARDOVIN_SITE_HOST, "mailto:" ARDOVIN_SUPPORT_MAIL}));
        QTimer::singleShot(0, [&] { w->window->findChild<QAction*>("mnuFileExit")->trigger(); });
        w->window->findChild<QAction*>("mnuHelpAbout")->trigger();
        QVERIFY(!w->window->isVisible());
    }

    // The real box, answered by its buttons: the question's Yes and No, the text's line breaks,
    // and Ctrl+C copying caption and text.
    void realMessageBox_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("button");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << QMessageBox::Yes << true;
        QTest::newRow("No") << QMessageBox::No << false;
    }

    void realMessageBox()
    {
        QFETCH(QMessageBox::StandardButton, button);
        QFETCH(bool, yes);
        answers.reset();
        QString text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
            text = QApplication::clipboard()->text();
            box->button(button)->click();
        });
        QCOMPARE(modProc::AskYesNo("Sure?\rReally?"), yes);
        QCOMPARE(text, QStringLiteral("Ardovin\nSure?\nReally?\n"));
    }
};

QTEST_MAIN(TestFrmSulfite)
#include "test_frmSulfite.moc"
