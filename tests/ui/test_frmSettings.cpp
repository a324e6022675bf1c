// The Default Settings window, opened from the main window's Options command.
#include "settings/settings_format.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QPushButton>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFrmSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedAnswers> answers;
    std::unique_ptr<WindowUnderTest> w;
    frmSettings* dialog = nullptr;

    QLineEdit* Field(const char* name) { return In<QLineEdit>(dialog, name); }
    void Click(const char* name) { QTest::mouseClick(In(dialog, name), Qt::LeftButton); }
    QString SavedFile() { return QString::fromLatin1(ReadFile(w->window->settingsFilePath())); }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        answers = std::make_unique<ScriptedAnswers>();
        w = std::make_unique<WindowUnderTest>(ReadFile(ARDOVIN_SHIPPED_SETTINGS));
        QVERIFY(w->start());
        dialog = OpenOptions(*w);
        QVERIFY(dialog);
    }
    void cleanup()
    {
        w.reset();
        answers.reset();
    }

    // The dialog as it opens on the shipped file, which holds the program defaults.
    void snapshot()
    {
        QCOMPARE(ReadFile(ARDOVIN_SHIPPED_SETTINGS), ardovin::SettingsFileBytes({}));
        CompareSnapshot(*dialog, "frmSettings");
        w->window->findChild<QAction*>("mnuOptions")->trigger();
        QCOMPARE(w->window->findChildren<frmSettings*>().size(), 1);
    }

    // Choosing from a list's pop-up, as a user does, keeps what was typed.
    void pickingFromAListKeepsWhatWasTyped_data()
    {
        QTest::addColumn<QString>("list");
        for (const char* list : {"cboForm", "cboBatch", "cboTarget"})
            QTest::newRow(list) << list;
    }

    void pickingFromAListKeepsWhatWasTyped()
    {
        QFETCH(QString, list);
        Field("txtBatchSize")->setText("77");
        auto* box = In<QComboBox>(dialog, qPrintable(list));
        box->setFocus();
        box->showPopup();
        QWidget* popup = box->view()->window();
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        QTest::keyClick(box->view(), Qt::Key_Down);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->currentIndex(), 1);
        QCOMPARE(Field("txtBatchSize")->text(), QStringLiteral("77"));
    }

    // Coming back from the main window refills the fields from what was saved.
    void comingBackFromTheMainWindowRefills()
    {
        Field("txtBatchSize")->setText("77");
        QApplication::setActiveWindow(w->window.get());
        w->get("txtPh")->setFocus();
        QApplication::setActiveWindow(dialog);
        QTRY_COMPARE(Field("txtBatchSize")->text(), QStringLiteral("5.00"));
    }

    // Each form enables its own field and spin control.
    void forms_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("solution") << "optSolution"
                                  << "txtSolution vsbPercent lblPercent";
        QTest::newRow("tablet") << "optTablet"
                                << "txtTabWeight vsbCampden lblTabWeight";
        QTest::newRow("powder") << "optPowder"
                                << "";
    }

    void forms()
    {
        QFETCH(QString, option);
        QFETCH(QString, enabled);
        Click("optTablet");
        Click(qPrintable(option));
        QStringList seen;
        for (const char* name : {"txtSolution", "vsbPercent", "lblPercent", "txtTabWeight",
                                 "vsbCampden", "lblTabWeight"})
            if (In(dialog, name)->isEnabled())
                seen << name;
        QCOMPARE(seen.join(u' '), enabled);
    }

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
        QTest::newRow("tablet") << "vsbCampden"
                                << "txtTabWeight"
                                << "0.01" << down << "0.00";
        QTest::newRow("percent 100") << "vsbPercent"
                                     << "txtSolution"
                                     << "100" << up << "100.00";
        QTest::newRow("percent 1") << "vsbPercent"
                                   << "txtSolution"
                                   << "1" << down << "1.00";
    }

    void spins()
    {
        QFETCH(QString, spin);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, action);
        QFETCH(QString, after);
        Field(qPrintable(field))->setText(text);
        In<QScrollBar>(dialog, qPrintable(spin))
            ->triggerAction(QAbstractSlider::SliderAction(action));
        QCOMPARE(Field(qPrintable(field))->text(), after);
    }

    // A problem keeps the dialog open on the field; empty fields count as 0.00.
    void problem()
    {
        Click("optTablet");
        Field("txtTabWeight")->clear();
        Click("cmdOK");
        QCOMPARE(answers->texts(), QStringList{"Tablet weight must be greater than 0."});
        QCOMPARE(w->focused() + u' ' + Field("txtTabWeight")->text(), "txtTabWeight 0.00");
        QVERIFY(dialog->isVisible());
    }

    // Restore shows the program defaults, Cancel keeps what was saved; OK saves what is shown,
    // and the next start uses it.
    void restoreCancelAndOk()
    {
        Field("txtBatchSize")->setText("77");
        Click("cmdRestore");
        QCOMPARE(Field("txtBatchSize")->text(), QStringLiteral("5.00"));
        Field("txtBatchSize")->setText("77");
        Click("cmdCancel");
        QTRY_VERIFY(!w->window->findChild<frmSettings*>());
        QVERIFY(SavedFile().contains("\"batchsize\",5\r\n"));
        dialog = OpenOptions(*w);
        QCOMPARE(Field("txtBatchSize")->text(), QStringLiteral("5.00"));
        Field("txtBatchSize")->setText("1,234.5");
        Click("optTablet");
        Field("txtTabWeight")->setText("0.5");
        In<QComboBox>(dialog, "cboBatch")->setCurrentText("Litres");
        Click("cmdOK");
        QTRY_VERIFY(!w->window->findChild<frmSettings*>());
        QVERIFY2(
            SavedFile().contains("\"form\",\"Tablet\"\r\n\"batchunits\",\"Litres\"\r\n"
                                 "\"batchsize\",1234.5\r\n\"solution\",10\r\n\"tablet\",.5\r\n"),
            qPrintable(SavedFile()));
        WindowUnderTest next(ReadFile(w->window->settingsFilePath()));
        QVERIFY(next.start());
        QCOMPARE(next.text("txtBatchSize") + u' ' + next.text("cboAdditionUnits"),
                 QStringLiteral("1,234.50 tablets"));
    }

    // A save that fails says why, in the file system's terms, and keeps the dialog open.
    void failedSave()
    {
        const QString path = w->window->settingsFilePath();
        QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        Field("txtBatchSize")->setText("42");
        Click("cmdOK");
        QCOMPARE(answers->shown.size(), 1);
        QCOMPARE(answers->shown[0].icon, modProc::MessageIcon::Critical);
        QVERIFY2(
            answers->shown[0].text.startsWith(QString::number(QFileDevice::WriteError) + u'\r'),
            qPrintable(answers->shown[0].text));
        QVERIFY(dialog->isVisible());
        QCOMPARE(Field("txtBatchSize")->text(), QStringLiteral("42"));
    }

    void closesWithTheMainWindow()
    {
        w->window->close();
        QTRY_VERIFY(!w->window->findChild<frmSettings*>());
    }
};

QTEST_MAIN(TestFrmSettings)
#include "test_frmSettings.moc"
