// The Default Settings window, opened from the main window's Options command.
#include "settings/settings_format.h"
#include "window_fixture.h"

#include <QAbstractItemView>

class TestFrmSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedAnswers> answers;
    std::unique_ptr<WindowUnderTest> w;
    frmSettings* dialog = nullptr;

    bool Open()
    {
        w->trigger("mnuOptions");
        dialog = w->window->findChild<frmSettings*>();
        QApplication::setActiveWindow(dialog);
        return QTest::qWaitForWindowActive(dialog);
    }
    QLineEdit* Field(const QString& name) { return In<QLineEdit>(dialog, name); }
    void Click(const QString& name) { QTest::mouseClick(In(dialog, name), Qt::LeftButton); }
    QString Saved() { return QString::fromLatin1(ReadFile(w->window->settingsFilePath())); }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        answers = std::make_unique<ScriptedAnswers>();
        w = std::make_unique<WindowUnderTest>(ReadFile(ARDOVIN_SHIPPED_SETTINGS));
        QVERIFY(w->start() && Open());
    }
    void cleanup()
    {
        w.reset();
        answers.reset();
    }

    // The dialog as it opens on the shipped file, which holds the program defaults; Options
    // again brings the same dialog forward.
    void snapshot()
    {
        QCOMPARE(ReadFile(ARDOVIN_SHIPPED_SETTINGS), ardovin::SettingsFileBytes({}));
        CompareSnapshot(*dialog, "frmSettings");
        QVERIFY(Open());
        QCOMPARE(w->window->findChildren<frmSettings*>().size(), 1);
    }

    // Choosing from a list's pop-up, as a user does, keeps what was typed; coming back from
    // the main window refills the fields from what was saved.
    void refills_data()
    {
        AddRows({"list"}, "cboForm | cboForm\ncboBatch | cboBatch\ncboTarget | cboTarget\n"
                          "main window | ");
    }

    void refills()
    {
        const QString list = Cell("list");
        Field("txtBatchSize")->setText("77");
        if (list.isEmpty()) {
            QApplication::setActiveWindow(w->window.get());
            w->get("txtPh")->setFocus();
            QApplication::setActiveWindow(dialog);
            QTRY_COMPARE(Field("txtBatchSize")->text(), QStringLiteral("5.00"));
            return;
        }
        auto* box = In<QComboBox>(dialog, list);
        box->setFocus();
        box->showPopup();
        QVERIFY(QTest::qWaitForWindowExposed(box->view()->window()));
        QTest::keyClick(box->view(), Qt::Key_Down);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->currentIndex(), 1);
        QCOMPARE(Field("txtBatchSize")->text(), QStringLiteral("77"));
    }

    // Each form enables its own field and spin control; each spin control steps its own field
    // within its bounds (-1 up, 1 down).
    void formsAndSpins_data()
    {
        AddRows({"option", "enabled", "spin", "field", "text", "press", "after"}, R"(
solution | optSolution | txtSolution vsbPercent lblPercent | vsbPercent | txtSolution | 100 | -1 | 100.00
solution floor | optSolution | txtSolution vsbPercent lblPercent | vsbPercent | txtSolution | 1 | 1 | 1.00
tablet | optTablet | txtTabWeight vsbCampden lblTabWeight | vsbCampden | txtTabWeight | 0.01 | 1 | 0.00
powder | optPowder | | vsbBatchSize | txtBatchSize | 0.5 | 1 | 0.00
)");
    }

    void formsAndSpins()
    {
        Click("optTablet");
        Click(Cell("option"));
        QCOMPARE(Enabled(dialog, {"txtSolution", "vsbPercent", "lblPercent", "txtTabWeight",
                                  "vsbCampden", "lblTabWeight"}),
                 Cell("enabled"));
        Field(Cell("field"))->setText(Cell("text"));
        Press(In<QScrollBar>(dialog, Cell("spin")), Cell("press"));
        QCOMPARE(Field(Cell("field"))->text(), Cell("after"));
    }

    // A problem keeps the dialog open on the field; an empty field counts as 0.00.
    void problem()
    {
        Click("optTablet");
        Field("txtTabWeight")->clear();
        Click("cmdOK");
        QCOMPARE(answers->texts, QStringList{"Tablet weight must be greater than 0."});
        QCOMPARE(w->focused() + u' ' + Field("txtTabWeight")->text(), "txtTabWeight 0.00");
        QVERIFY(dialog->isVisible());
    }

    // Restore shows the program defaults, Cancel keeps what was saved, OK saves what is shown
    // and the next start uses it.
    void restoreCancelAndOk()
    {
        Field("txtBatchSize")->setText("77");
        Click("cmdRestore");
        QCOMPARE(Field("txtBatchSize")->text(), QStringLiteral("5.00"));
        Field("txtBatchSize")->setText("77");
        Click("cmdCancel");
        QTRY_VERIFY(!w->window->findChild<frmSettings*>());
        QVERIFY(Open());
        QCOMPARE(Field("txtBatchSize")->text(), QStringLiteral("5.00"));
        Field("txtBatchSize")->setText("1,234.5");
        Click("optTablet");
        Field("txtTabWeight")->setText("0.5");
        In<QComboBox>(dialog, "cboBatch")->setCurrentText("Litres");
        Click("cmdOK");
        QTRY_VERIFY(!w->window->findChild<frmSettings*>());
        QVERIFY2(Saved().contains("\"form\",\"Tablet\"\r\n\"batchunits\",\"Litres\"\r\n"
                                  "\"batchsize\",1234.5\r\n\"solution\",10\r\n\"tablet\",.5\r\n"),
                 qPrintable(Saved()));
        WindowUnderTest next(Saved().toLatin1());
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
        QVERIFY(answers->texts[0].startsWith(QString::number(QFileDevice::WriteError) + u'\r'));
        QVERIFY(dialog->isVisible());
        QCOMPARE(Field("txtBatchSize")->text(), QStringLiteral("42"));
        w->window->close(); // the dialog ends with the main window
        QTRY_VERIFY(!w->window->findChild<frmSettings*>());
    }
};

QTEST_MAIN(TestFrmSettings)
#include "test_frmSettings.moc"
