#include "settings/settings_format.h"
#include "ui/frmSettings.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QFile>

namespace {

const QString NotFound =
    QStringLiteral("User default settings not found.\rLoading program defaults.");

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program defaults as the file is shipped beside the program.
const QByteArray ProgramDefaultsFile = ReadFile(QStringLiteral(ARDOVIN_SHIPPED_SETTINGS));

} // namespace

class TestDefaults : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedAnswers> answers;

    QString SettingsPath(const WindowUnderTest& w) { return w.window->settingsFilePath(); }

    // Starts a window on a folder holding the given settings file.
    std::unique_ptr<WindowUnderTest> StartWith(const QByteArray& file)
    {
        auto w = std::make_unique<WindowUnderTest>();
        if (!file.isNull())
            WriteFile(w->folder + "/settings.cfg", file);
        if (!w->start())
            qFatal("window did not start");
        return w;
    }

    void Click(frmSettings* dialog, const char* button)
    {
        QTest::mouseClick(In<QPushButton>(dialog, button), Qt::LeftButton);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { answers = std::make_unique<ScriptedAnswers>(); }
    void cleanup() { answers.reset(); }

    // The file shipped with the program is exactly what a save of the program defaults writes.
    void shippedFileHoldsTheProgramDefaults()
    {
        QVERIFY(!ProgramDefaultsFile.isEmpty());
        QCOMPARE(ProgramDefaultsFile, ardovin::SettingsFileBytes(ardovin::UserDefaults()));
    }

    void startWithoutAFileFallsBackWithOneMessage()
    {
        auto w = StartWith({});
        QCOMPARE(answers->texts(), QStringList{NotFound});
        QCOMPARE(answers->shown.first().icon, modProc::MessageIcon::Critical);
        QCOMPARE(answers->shown.first().caption, QStringLiteral("Ardovin"));
        QCOMPARE(w->text("cboForm"), QStringLiteral("Potassium Metabisulphite"));
        QCOMPARE(w->text("txtBatchSize"), QStringLiteral("5.00"));
        QCOMPARE(w->text("txtSolution"), QStringLiteral("10.00"));
        QCOMPARE(w->text("txtTabWeight"), QStringLiteral("0.44"));
        QCOMPARE(w->text("cboAdditionUnits"), QStringLiteral("g"));
    }

    void startFromTheUsersFile()
    {
        auto w = StartWith("\"target\",\"Molecular SO2\"\r\n\"Source\",\"Sodium Bisulphite\"\r\n"
                           "\"form\",\"Solution\"\r\n\"BatchUnits\",\"Imp. gal.\"\r\n"
                           "\"batchsize\",1234.5\r\n\"solution\",\"5\"\r\n\"tablet\",0.440\r\n"
                           "\"colour\",\"red\"\r\n");
        QCOMPARE(answers->texts(), QStringList());
        QCOMPARE(w->text("cboForm"), QStringLiteral("Sodium Bisulphite"));
        QVERIFY(w->get<QRadioButton>("optSolution")->isChecked());
        QVERIFY(w->field("txtSolution")->isEnabled());
        QCOMPARE(w->text("cboAdditionUnits"), QStringLiteral("ml"));
        QCOMPARE(w->text("cboBatch"), QStringLiteral("Imp. Gal."));
        QCOMPARE(w->text("txtBatchSize"), QStringLiteral("1,234.50"));
        QCOMPARE(w->text("txtSolution"), QStringLiteral("5.00"));
        QCOMPARE(w->text("txtTabWeight"), QStringLiteral("0.44"));
        QCOMPARE(w->text("cboTarget"), QStringLiteral("Molecular SO2"));
        QVERIFY(w->field("txtTargetMolSO2")->isEnabled());
    }

    void unknownFormChangesNothing()
    {
        QByteArray file = ProgramDefaultsFile;
        file.replace("\"Powder\"", "\"powder\"").replace("\"U.S. Gal.\"", "\"Litres\"");
        auto w = StartWith(file);
        QCOMPARE(answers->texts(), QStringList());
        QCOMPARE(w->text("cboBatch"), QStringLiteral("Litres"));
        QVERIFY(w->get<QRadioButton>("optPowder")->isChecked());
        QCOMPARE(w->text("cboAdditionUnits"), QStringLiteral("g"));
    }

    void unusableFilesFallBack_data()
    {
        QTest::addColumn<QByteArray>("file");
        QByteArray missingTarget = ProgramDefaultsFile;
        missingTarget.replace("\"target\",\"Total Free SO2\"\r\n", "");
        missingTarget.replace("\"Litres\"", "x").replace("\"U.S. Gal.\"", "\"Litres\"");
        QTest::newRow("no target record") << missingTarget;
        QTest::newRow("key twice") << ProgramDefaultsFile + "\"BATCHUNITS\",\"Litres\"\r\n";
        QTest::newRow("key without value") << ProgramDefaultsFile + "\"extra\"";
        QTest::newRow("trailing empty line") << ProgramDefaultsFile + "\r\n";
        QByteArray badSource = ProgramDefaultsFile;
        QTest::newRow("unknown compound") << badSource.replace("Potassium", "Calcium");
    }

    void unusableFilesFallBack()
    {
        QFETCH(QByteArray, file);
        auto w = StartWith(file);
        QCOMPARE(answers->texts(), QStringList{NotFound});
        QCOMPARE(w->text("cboBatch"), QStringLiteral("U.S. Gal."));
        QCOMPARE(w->text("cboTarget"), QStringLiteral("Total Free SO2"));
    }

    // A hand-edited file can hold values the dialog would refuse; the start-up calculation
    // must still show numbers.
    void zeroTabletWeightFromTheFile()
    {
        QByteArray file = ProgramDefaultsFile;
        file.replace("\"Powder\"", "\"Tablet\"").replace(".44", "0");
        auto w = StartWith(file);
        QCOMPARE(answers->texts(), QStringList());
        QCOMPARE(w->text("txtTabWeight"), QStringLiteral("0.00"));
        QCOMPARE(w->text("lblAddition"), QStringLiteral("0.00"));
    }

    void dialogAfterAStartWithoutAFile()
    {
        auto w = StartWith({});
        answers->shown.clear();
        frmSettings* dialog = OpenOptions(*w);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Default Settings"));
        QCOMPARE(answers->texts(), QStringList());
        QCOMPARE(In<QComboBox>(dialog, "cboForm")->currentText(),
                 QStringLiteral("Potassium Metabisulphite"));
        QVERIFY(In<QRadioButton>(dialog, "optPowder")->isChecked());
        QCOMPARE(In<QComboBox>(dialog, "cboBatch")->currentText(), QStringLiteral("U.S. Gal."));
        QCOMPARE(In<QLineEdit>(dialog, "txtBatchSize")->text(), QStringLiteral("5.00"));
        QCOMPARE(In<QLineEdit>(dialog, "txtSolution")->text(), QStringLiteral("10.00"));
        QCOMPARE(In<QLineEdit>(dialog, "txtTabWeight")->text(), QStringLiteral("0.44"));
        QCOMPARE(In<QComboBox>(dialog, "cboTarget")->currentText(),
                 QStringLiteral("Total Free SO2"));
        for (const char* name : {"txtSolution", "vsbPercent", "lblPercent", "txtTabWeight",
                                 "vsbCampden", "lblTabWeight"})
            QVERIFY(!In(dialog, name)->isEnabled());
        Click(dialog, "cmdOK");
        QCOMPARE(answers->texts(), QStringList());
        QCOMPARE(ReadFile(SettingsPath(*w)), ProgramDefaultsFile);
        QTRY_VERIFY(!w->window->findChild<frmSettings*>());
    }

    void optionButtonsEnableTheirGroups()
    {
        auto w = StartWith(ProgramDefaultsFile);
        frmSettings* dialog = OpenOptions(*w);
        QTest::mouseClick(In(dialog, "optSolution"), Qt::LeftButton);
        QVERIFY(In(dialog, "txtSolution")->isEnabled() && In(dialog, "vsbPercent")->isEnabled());
        QVERIFY(!In(dialog, "txtTabWeight")->isEnabled());
        QTest::mouseClick(In(dialog, "optTablet"), Qt::LeftButton);
        QVERIFY(In(dialog, "txtTabWeight")->isEnabled() && In(dialog, "lblTabWeight")->isEnabled());
        QVERIFY(!In(dialog, "txtSolution")->isEnabled());
        In<QScrollBar>(dialog, "vsbCampden")->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(In<QLineEdit>(dialog, "txtTabWeight")->text(), QStringLiteral("0.45"));
        QCOMPARE(w->text("txtTabWeight"), QStringLiteral("0.44")); // the main window is untouched
    }

    void validation_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("batch cleared") << "txtBatchSize"
                                       << ""
                                       << "Batch size must be greater than 0."
                                       << "0.00";
        QTest::newRow("batch 0.01") << "txtBatchSize"
                                    << "0.01"
                                    << ""
                                    << "0.01";
        QTest::newRow("solution 100") << "txtSolution"
                                      << "100"
                                      << ""
                                      << "100";
        QTest::newRow("solution 100.5, powder") << "txtSolution"
                                                << "100.5"
                                                << "Solution % must be between 1 and 100."
                                                << "100.5";
        QTest::newRow("tablet letters") << "txtTabWeight"
                                        << "abc"
                                        << "Tablet weight must be numeric."
                                        << "abc";
        QTest::newRow("pasted digits") << "txtBatchSize" << QString(50, u'9')
                                       << "Batch size must be greater than 0." << QString(50, u'9');
    }

    void validation()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        auto w = StartWith(ProgramDefaultsFile);
        frmSettings* dialog = OpenOptions(*w);
        In<QLineEdit>(dialog, field.toLatin1())->setText(text);
        Click(dialog, "cmdOK");
        QCOMPARE(answers->texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (message.isEmpty()) {
            QTRY_VERIFY(!w->window->findChild<frmSettings*>());
            return;
        }
        QVERIFY(dialog->isVisible());
        QCOMPARE(In<QLineEdit>(dialog, field.toLatin1())->text(), shown);
        QCOMPARE(ReadFile(SettingsPath(*w)), ProgramDefaultsFile);
    }

    void restoreThenCancelKeepsStoreAndFile()
    {
        QByteArray file = ProgramDefaultsFile;
        file.replace("\"U.S. Gal.\"", "\"Litres\"").replace(",5\r", ",20\r");
        auto w = StartWith(file);
        frmSettings* dialog = OpenOptions(*w);
        QCOMPARE(In<QLineEdit>(dialog, "txtBatchSize")->text(), QStringLiteral("20.00"));
        Click(dialog, "cmdRestore");
        QCOMPARE(In<QLineEdit>(dialog, "txtBatchSize")->text(), QStringLiteral("5.00"));
        QCOMPARE(In<QComboBox>(dialog, "cboBatch")->currentText(), QStringLiteral("U.S. Gal."));
        Click(dialog, "cmdCancel");
        QTRY_VERIFY(!w->window->findChild<frmSettings*>());
        QCOMPARE(ReadFile(SettingsPath(*w)), file);
        dialog = OpenOptions(*w);
        QCOMPARE(In<QLineEdit>(dialog, "txtBatchSize")->text(), QStringLiteral("20.00"));
    }

    void comingBackFromTheMainWindowRefills()
    {
        auto w = StartWith(ProgramDefaultsFile);
        frmSettings* dialog = OpenOptions(*w);
        In<QLineEdit>(dialog, "txtBatchSize")->setText("77");
        QApplication::setActiveWindow(w->window.get());
        QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
        QCOMPARE(In<QLineEdit>(dialog, "txtBatchSize")->text(), QStringLiteral("77"));
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(In<QLineEdit>(dialog, "txtBatchSize")->text(), QStringLiteral("5.00"));
    }

    // A list's pop-up is a window of its own; choosing from it is no return from another window.
    void pickingFromAListKeepsWhatWasTyped_data()
    {
        QTest::addColumn<QString>("list");
        QTest::newRow("source") << "cboForm";
        QTest::newRow("batch units") << "cboBatch";
        QTest::newRow("target") << "cboTarget";
    }

    void pickingFromAListKeepsWhatWasTyped()
    {
        QFETCH(QString, list);
        auto w = StartWith(ProgramDefaultsFile);
        frmSettings* dialog = OpenOptions(*w);
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        In<QLineEdit>(dialog, "txtBatchSize")->setText("77");
        In<QLineEdit>(dialog, "txtTabWeight")->setText("0.5");
        auto* box = In<QComboBox>(dialog, qPrintable(list));
        const int before = box->currentIndex();
        box->setFocus();
        QCOMPARE(QApplication::focusWidget(), box);
        box->showPopup();
        QWidget* popup = box->view()->window();
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        QTest::keyClick(box->view(), before == 0 ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QTRY_VERIFY(!popup->isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QVERIFY(box->currentIndex() != before);
        QCOMPARE(In<QLineEdit>(dialog, "txtBatchSize")->text(), QStringLiteral("77"));
        QCOMPARE(In<QLineEdit>(dialog, "txtTabWeight")->text(), QStringLiteral("0.5"));
    }

    void optionsTwiceGivesTheSameDialog()
    {
        auto w = StartWith(ProgramDefaultsFile);
        frmSettings* first = OpenOptions(*w);
        QCOMPARE(OpenOptions(*w), first);
        QCOMPARE(w->window->findChildren<frmSettings*>().size(), 1);
        w->window->close();
        QTRY_VERIFY(w->window->findChildren<frmSettings*>().isEmpty());
    }

    void savedValuesApplyAtTheNextStart()
    {
        auto w = StartWith({});
        frmSettings* dialog = OpenOptions(*w);
        In<QComboBox>(dialog, "cboBatch")->setCurrentText("Imp. gal.");
        In<QLineEdit>(dialog, "txtBatchSize")->setText("1,234.50");
        Click(dialog, "cmdOK");
        const QByteArray saved = ReadFile(SettingsPath(*w));
        QVERIFY(saved.contains("\"batchunits\",\"Imp. gal.\"\r\n"));
        QVERIFY(saved.contains("\"batchsize\",1234.5\r\n"));
        const QString folder = w->folder;
        w->window.reset();
        answers->shown.clear();
        WindowUnderTest next(folder);
        QVERIFY(next.start());
        QCOMPARE(answers->texts(), QStringList());
        QCOMPARE(next.text("cboBatch"), QStringLiteral("Imp. Gal."));
        QCOMPARE(next.text("txtBatchSize"), QStringLiteral("1,234.50"));
    }

    // The save failing must not lose what the user typed: the dialog stays open and the store
    // keeps the new values for the next try.
    void failedSaveKeepsTheDialogOpen()
    {
        WindowUnderTest w(QStringLiteral("/proc"));
        QVERIFY(w.start());
        answers->shown.clear();
        frmSettings* dialog = OpenOptions(w);
        In<QLineEdit>(dialog, "txtBatchSize")->setText("42");
        Click(dialog, "cmdOK");
        QCOMPARE(answers->shown.size(), 1);
        const modProc::MessageRequest box = answers->shown.first();
        QCOMPARE(box.icon, modProc::MessageIcon::Critical);
        const QStringList parts = box.text.split(u'\r');
        QCOMPARE(parts.size(), 2);
        bool numeric = false;
        QVERIFY(parts[0].toInt(&numeric) != 0 && numeric);
        QVERIFY(!parts[1].isEmpty());
        QVERIFY(dialog->isVisible());
        QCOMPARE(In<QLineEdit>(dialog, "txtBatchSize")->text(), QStringLiteral("42"));
        QCOMPARE(ardovin::FieldText(*w.window->userDefaults().find(ardovin::SettingKey::BatchSize)),
                 QStringLiteral("42.00"));
    }
};

QTEST_MAIN(TestDefaults)
#include "test_frmSettings.moc"
