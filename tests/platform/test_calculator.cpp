#include "platform/calculator.h"

#include <QtTest>

using namespace ardovin;

// Each test installs fake calculators: scripts that write their own name into a marker file,
// so a test sees which one was started without starting a real one.
class TestCalculator : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_bin.emplace();
        QVERIFY(m_bin->isValid());
    }

    void cleanup() { m_bin.reset(); }

    void startsThePreferredInstalledCalculator_data()
    {
        QTest::addColumn<QStringList>("executables");
        QTest::addColumn<QStringList>("plainFiles");
        QTest::addColumn<QString>("started");

        QTest::newRow("none installed") << QStringList{} << QStringList{} << QString();
        QTest::newRow("only the last choice") << QStringList{"xcalc"} << QStringList{} << "xcalc";
        QTest::newRow("earlier choice wins")
            << QStringList{"xcalc", "kcalc", "galculator"} << QStringList{} << "kcalc";
        QTest::newRow("all installed")
            << CalculatorPrograms() << QStringList{} << "gnome-calculator";
        QTest::newRow("not executable is skipped")
            << QStringList{"galculator"} << QStringList{"gnome-calculator", "kcalc"}
            << "galculator";
        QTest::newRow("only not executable")
            << QStringList{} << QStringList{"mate-calc"} << QString();
        QTest::newRow("unknown program") << QStringList{"calc", "bc"} << QStringList{} << QString();
    }

    void startsThePreferredInstalledCalculator()
    {
        QFETCH(QStringList, executables);
        QFETCH(QStringList, plainFiles);
        QFETCH(QString, started);
        for (const QString& name : executables)
            InstallFake(name, true);
        for (const QString& name : plainFiles)
            InstallFake(name, false);

        QCOMPARE(StartCalculator({m_bin->path()}), !started.isEmpty());
        if (!started.isEmpty())
            QTRY_COMPARE(StartedPrograms(), QStringList{started});
        else
            QCOMPARE(StartedPrograms(), QStringList{});
    }

    void searchesThePathByDefault()
    {
        InstallFake(QStringLiteral("mate-calc"), true);
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_bin->path()));
        const bool result = StartCalculator();
        qputenv("PATH", savedPath);

        QVERIFY(result);
        QTRY_COMPARE(StartedPrograms(), QStringList{"mate-calc"});
    }

private:
    QString MarkerPath() const { return m_bin->filePath(QStringLiteral("started.txt")); }

    void InstallFake(const QString& name, bool executable)
    {
        QFile script(m_bin->filePath(name));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho '" + name.toUtf8() + "' >> '" +
                     QFile::encodeName(MarkerPath()) + "'\n");
        script.close();
        QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        if (executable)
            permissions |= QFileDevice::ExeOwner;
        QVERIFY(script.setPermissions(permissions));
    }

    QStringList StartedPrograms() const
    {
        QFile marker(MarkerPath());
        if (!marker.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(marker.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    std::optional<QTemporaryDir> m_bin;
};

QTEST_GUILESS_MAIN(TestCalculator)
#include "test_calculator.moc"
