#include "platform/shell.h"
#include "ui/frmAbout.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

class TestMenus : public MainWindowTestCase
{
    Q_OBJECT

    QAction* Item(const char* name) { return w->window->findChild<QAction*>(name); }

    // Opens the Edit menu as the user would, so that its items are enabled for the focus.
    void OpenEditMenu() { emit w->window->findChild<QMenu*>("mnuEdit")->aboutToShow(); }

private slots:
    void editItemsFollowTheSelection_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("select");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("bareAlt"); // the menu bar takes the focus, as Alt alone does
        QTest::newRow("field, nothing selected") << "txtBatchSize" << false << false << false;
        QTest::newRow("field, text selected") << "txtBatchSize" << true << true << false;
        QTest::newRow("field, after Alt") << "txtBatchSize" << false << false << true;
        QTest::newRow("Calculate button") << "cmdCalculate" << false << true << false;
        QTest::newRow("a list") << "cboForm" << false << true << false;
        QTest::newRow("result, nothing selected") << "lblAddition" << false << false << false;
    }

    void editItemsFollowTheSelection()
    {
        QFETCH(QString, focus);
        QFETCH(bool, select);
        QFETCH(bool, enabled);
        QFETCH(bool, bareAlt);
        auto* control = w->window->findChild<QWidget*>(focus);
        control->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), control);
        if (auto* field = qobject_cast<QLineEdit*>(control)) {
            field->deselect();
            if (select)
                field->setSelection(0, 2);
        }
        if (bareAlt) {
            w->window->menuBar()->setFocus(Qt::MenuBarFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(), w->window->menuBar());
        }
        OpenEditMenu();
        QCOMPARE(Item("mnuEditCut")->isEnabled(), enabled);
        QCOMPARE(Item("mnuEditCopy")->isEnabled(), enabled);
        QVERIFY(Item("mnuEditPaste")->isEnabled());
    }

    // A selected result is copied; it is never cut or pasted over.
    void selectedResultIsCopied()
    {
        w->type("txtTargetSO2", "40");
        w->calculate();
        auto* result = w->get<QLabel>("lblAddition");
        const QString shown = result->text();
        result->setFocus();
        result->setSelection(0, int(shown.size()));
        OpenEditMenu();
        QVERIFY(Item("mnuEditCopy")->isEnabled());
        QGuiApplication::clipboard()->clear();
        Item("mnuEditCut")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), shown);
        QGuiApplication::clipboard()->setText(QStringLiteral("9"));
        Item("mnuEditPaste")->trigger();
        QCOMPARE(result->text(), shown);
    }

    void cutOfAWholeFieldResetsTheAddition()
    {
        w->type("txtBatchSize", "23");
        w->type("txtExistSO2", "10");
        w->type("txtTargetSO2", "40");
        w->calculate();
        QCOMPARE(w->text("lblAddition"), QStringLiteral("4.53"));
        QLineEdit* field = w->field("txtBatchSize");
        field->setFocus();
        field->selectAll();
        OpenEditMenu();
        Item("mnuEditCut")->trigger();
        QCOMPARE(field->text(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("23"));
        QCOMPARE(w->text("lblAddition"), QStringLiteral("0.00"));
    }

    void copyOfNothingEmptiesTheClipboard()
    {
        QApplication::clipboard()->setText("old");
        QLineEdit* field = w->field("txtPh");
        field->setFocus();
        field->deselect();
        // The menu offers no Copy without a selection; the command itself still copies nothing.
        w->window->mnuEditCopy_Click();
        QCOMPARE(QApplication::clipboard()->text(), QString());
        QCOMPARE(field->text(), QStringLiteral("3.50"));
    }

    void pasteReplacesTheSelectionUnfiltered()
    {
        QLineEdit* field = w->field("txtPh");
        field->setFocus();
        field->selectAll();
        QApplication::clipboard()->clear();
        Item("mnuEditPaste")->trigger();
        QCOMPARE(field->text(), QString());
        QApplication::clipboard()->setText("-3 x");
        Item("mnuEditPaste")->trigger();
        QCOMPARE(field->text(), QStringLiteral("-3 x"));
        w->calculate();
        QCOMPARE(answers->texts(), QStringList{"pH must be numeric."});
    }

    void editCommandsWithoutATextField()
    {
        w->get("cmdCalculate")->setFocus();
        QApplication::clipboard()->setText("kept");
        OpenEditMenu();
        Item("mnuEditPaste")->trigger();
        Item("mnuEditCut")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString());
        QVERIFY(answers->shown.isEmpty());
    }

    void helpCommandsHandOverTheirAddresses()
    {
        QList<QUrl> opened;
        ardovin::ScopedDocumentOpener opener([&opened](const QUrl& url) { opened << url; });
        for (const char* item : {"mnuHelpCalc", "mnuHelpWeb", "mnuHelpEmail", "mnuToolsTable"})
            Item(item)->trigger();
        QCOMPARE(opened.size(), 4);
        QVERIFY(opened[0].toString().endsWith("/sulphManual.html"));
        QVERIFY(opened[1].toString().endsWith("/sulphite.html"));
        QCOMPARE(opened[2].scheme(), QStringLiteral("mailto"));
        QVERIFY(opened[3].toString().endsWith("/sulphtable.php"));
        QVERIFY(answers->shown.isEmpty());
    }

    void noCalculatorInstalled()
    {
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", empty.path().toLocal8Bit());
        Item("mnuToolsCalc")->trigger();
        qputenv("PATH", path);
        QCOMPARE(answers->texts(), QStringList{"Calculator not found!"});
        QCOMPARE(answers->shown.first().caption, QStringLiteral("Calculator"));
        QCOMPARE(answers->shown.first().icon, modProc::MessageIcon::Exclamation);
    }

    // Each About command shows a fresh window and waits until it is closed.
    void aboutClosedByOkAndByItsCloseBox()
    {
        QList<frmAbout*> seen;
        for (bool byCloseBox : {false, true}) {
            QTimer::singleShot(0, this, [&seen, byCloseBox] {
                auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
                if (!about)
                    return;
                QVERIFY(!about->property("seen").isValid());
                about->setProperty("seen", true);
                seen << about;
                if (byCloseBox)
                    about->close();
                else
                    QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
            });
            Item("mnuHelpAbout")->trigger();
            QVERIFY(!QApplication::activeModalWidget());
        }
        QCOMPARE(seen.size(), 2);
        QVERIFY(w->window->findChildren<frmAbout*>().isEmpty());
    }
};

QTEST_MAIN(TestMenus)
#include "test_menus.moc"
