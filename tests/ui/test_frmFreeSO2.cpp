// The Free SO2 by pH window as the program opens it, from its plug-in in the build.
#include "core/chemistry.h"
#include "window_fixture.h"

#include <QChartView>
#include <QClipboard>
#include <QXYSeries>

class TestFreeSO2Window : public QObject
{
    Q_OBJECT

    ScriptedAnswers answers;
    std::unique_ptr<WindowUnderTest> w;
    QWidget* main = nullptr;
    QChartView* view = nullptr; // in the Free SO2 by pH window

    void Open(const QString& locale)
    {
        QLocale::setDefault(QLocale(locale));
        w = std::make_unique<WindowUnderTest>();
        main = w->window.get();
        QVERIFY(w->start());
        Edit(main, "txtBatchSize=23 txtExistSO2=10");
        answers.texts.clear(); // no settings file: the program defaults, with their message
        In<QAction>(main, "mnuToolsFreeSO2")->trigger();
        view = In<QChartView>(main, "chtFreeSO2");
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    }
    QXYSeries* Series(int i) const { return static_cast<QXYSeries*>(view->chart()->series()[i]); }

private slots:
    void initTestCase() { QCoreApplication::addLibraryPath(ARDOVIN_PLUGIN_FOLDER); }
    void init() { Open("en_US"); }
    void cleanup() { QCOMPARE(answers.texts, QStringList()); } // never a message box

    // The chart follows the main window with no Calculate press, and closes with it: the core's
    // curves, the target's only for a molecular one; a field that does not read shows no point.
    void follows_data()
    {
        AddRows({"edits", "aims", "shown"}, R"(
edited pH    | txtPh=3.8                                   | 0.5 0.8     | 1 3.8 10 This wine: pH 3.80, free SO2 10.00 mg/L, molecular SO2 0.10 mg/L.
target       | cboTarget=Molecular_SO2 txtTargetMolSO2=1.2 | 0.5 0.8 1.2 | 1 3.5 10 This wine: pH 3.50, free SO2 10.00 mg/L, molecular SO2 0.20 mg/L.
target 0     | cboTarget=Molecular_SO2 txtTargetMolSO2=0   | 0.5 0.8     | 1 3.5 10 This wine: pH 3.50, free SO2 10.00 mg/L, molecular SO2 0.20 mg/L.
empty pH     | txtPh=                                      | 0.5 0.8     | 0 0 0 No point for this wine: its pH or free SO2 is not a number.
not a number | txtExistSO2:1x                              | 0.5 0.8     | 0 0 0 No point for this wine: its pH or free SO2 is not a number.
)");
    }
    void follows()
    {
        Edit(main, Cell("edits"));
        const QStringList aims = Cell("aims").split(u' ');
        QCOMPARE(Series(2)->isVisible(), aims.size() == 3);
        for (int curve = 0; curve < aims.size(); ++curve) {
            QCOMPARE(Series(curve)->count(), 111); // pH 2.90 to 4.00 in hundredths
            for (const QPointF& p : Series(curve)->points())
                QCOMPARE(p.y(), double(ardovin::FreeFromMolecular(aims[curve].toFloat(), p.x())));
        }
        const QPointF p = Series(3)->points().value(0);
        const QString said = view->accessibleDescription().section(". ", 1); // after the curves
        QCOMPARE(QString("%1 %2 %3 ").arg(Series(3)->count()).arg(p.x()).arg(p.y()) + said,
                 Cell("shown"));
        QCOMPARE(Texts(main, {"lblWinePoint"}), said.startsWith("This") ? said.chopped(1) : "");
        main->close();
        QVERIFY(!view->window()->isVisible());
    }

    // Copy, for the worked batch (23 U.S. gallons, potassium metabisulphite powder in grams): the
    // header's first and last cells less their fixed words, pH 2.90 and 3.50 (';' for a tab), 4.67
    // g to 0.80 mg/L molecular as in the core's worked table. The look in German, axes included.
    void copiedTable_data()
    {
        AddRows({"locale", "edits", "header", "rows"}, R"(
English   | en_US |                          | pH 0.50 (mg/L) 0.80 (g)       | 2.90;6.79;0.00;10.87;0.13 3.50;25.56;2.35;40.89;4.67
German    | de_DE |                          | pH 0,50 (mg/L) 0,80 (g)       | 2,90;6,79;0,00;10,87;0,13 3,50;25,56;2,35;40,89;4,67
no weight | en_US | optTablet txtTabWeight:0 | pH 0.50 (mg/L) 0.80 (tablets) | 2.90;6.79;;10.87; 3.50;25.56;;40.89;
target    | en_US | cboTarget=Molecular_SO2 txtTargetMolSO2=1.2 | pH 0.50 (mg/L) target 1.20 (g) | 2.90;6.79;0.00;10.87;0.13;16.31;0.95 3.50;25.56;2.35;40.89;4.67;61.34;7.76
)");
    }
    void copiedTable()
    {
        Open(Cell("locale"));
        Edit(main, Cell("edits") + " cmdCopy");
        if (Cell("locale") == u"de_DE")
            CompareSnapshot(*view->window(), "frmFreeSO2");
        const QStringList lines = QApplication::clipboard()->text().split(u'\n');
        const QStringList head = lines[0].split(u'\t');
        const QRegularExpression fixedWords("(Free SO2|Addition) for | mg/L molecular");
        QCOMPARE(QString(head[0] + u' ' + head.value(1) + u' ' + head.last()).remove(fixedWords),
                 Cell("header"));
        QCOMPARE(QString(lines.value(1) + u' ' + lines.value(13)).replace(u'\t', u';'),
                 Cell("rows"));
    }
};

QTEST_MAIN(TestFreeSO2Window)
#include "test_frmFreeSO2.moc"
