// The windows as a user meets them: each scenario under tests/scenarios is played on the real
// windows, and what the user sees along the way is compared with its approved transcript and
// pictures under tests/approved. scripts/approve.sh stores them anew after a change on purpose.
#include "scenario_player.h"

#include <ctime>
#include <QFontDatabase>
#include <QProcess>

class TestScenarios : public QObject
{
    Q_OBJECT

    QTemporaryDir home;

    // One text compared with its approved file; a difference is written where the approve
    // command takes it from, and shown as a diff.
    static void CompareText(const QString& name, const QByteArray& received)
    {
        const QString approved = QStringLiteral(ARDOVIN_APPROVED "/") + name;
        if (ReadFile(approved) == received && QFile::exists(approved))
            return;
        const QString written = QStringLiteral(ARDOVIN_RECEIVED "/") + name;
        QVERIFY(QDir().mkpath(ARDOVIN_RECEIVED) && WriteFile(written, received));
        QProcess diff;
        diff.start(QStringLiteral("/usr/bin/diff"), {"-u", approved, written});
        diff.waitForFinished();
        QFAIL(qPrintable(name + " differs from its approved transcript:\n" +
                         QString::fromUtf8(diff.readAllStandardOutput())));
    }

    static void ComparePicture(const QString& name, const QImage& received)
    {
        const QImage approved(QStringLiteral(ARDOVIN_APPROVED "/") + name);
        if (approved.convertToFormat(QImage::Format_RGB32) == received)
            return;
        QVERIFY(QDir().mkpath(ARDOVIN_RECEIVED));
        received.save(QStringLiteral(ARDOVIN_RECEIVED "/") + name);
        QFAIL(qPrintable(name + " differs from its approved picture: see " ARDOVIN_RECEIVED));
    }

private slots:
    void initTestCase()
    {
        // A home of the test's own: the file dialog starts in its Pictures and keeps its last
        // folder there. Pictures are approved as drawn in the font the test command installs.
        qputenv("HOME", home.path().toLocal8Bit());
        // The cellar book shows times in the user's zone: here one with summer time, not UTC.
        qputenv("TZ", "Europe/Berlin");
        tzset();
        QVERIFY(QDir(home.path()).mkdir("Pictures") && QDir(home.path()).mkdir("Documents"));
        QCOMPARE(QFontInfo(modProc::ProgramFont()).family(), QStringLiteral("DejaVu Sans"));
    }

    void play_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const QDir folder(QStringLiteral(ARDOVIN_SCENARIOS));
        for (const QString& file : folder.entryList({"*.scenario"}))
            for (const Scenario& s :
                 ReadScenarios(QString::fromUtf8(ReadFile(folder.filePath(file)))))
                QTest::newRow(qPrintable(s.name)) << s;
    }

    void play()
    {
        QFETCH(Scenario, scenario);
        ScenarioPlayer player(home.path());
        const QString transcript = player.Play(scenario);
        const QString slug = Slug(scenario.name);
        for (const auto& [window, picture] : player.Pictures())
            ComparePicture(slug + u'.' + window + ".png", picture);
        CompareText(slug + ".txt", transcript.toUtf8());
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
};

QTEST_MAIN(TestScenarios)
#include "test_scenarios.moc"
