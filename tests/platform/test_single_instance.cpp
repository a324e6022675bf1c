#include "platform/single_instance.h"

#include <iostream>
#include <QProcess>
#include <QtTest>
#include <string>

using namespace ardovin;

namespace {

// Run with this switch and a path, the test program plays another running copy: it takes the
// lock, says so, and holds it until its standard input closes.
constexpr char HoldLockSwitch[] = "--hold-lock";

int HoldLock(const QString& path)
{
    SingleInstanceLock lock(path);
    if (!lock.tryAcquire())
        return 1;
    std::cout << "held" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    return 0;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        if (m_other.state() != QProcess::NotRunning) {
            m_other.kill();
            m_other.waitForFinished();
        }
        m_dir.reset();
    }

    void secondLockInOneProcessWaitsForTheFirst()
    {
        SingleInstanceLock first(LockPath());
        SingleInstanceLock second(LockPath());

        QVERIFY(first.tryAcquire());
        QVERIFY(first.tryAcquire());
        QVERIFY(!second.tryAcquire());
        QVERIFY(first.isHeld());
        QVERIFY(!second.isHeld());

        first.release();
        QVERIFY(!first.isHeld());
        QVERIFY(second.tryAcquire());
        QVERIFY(!first.tryAcquire());
    }

    void destructionReleases()
    {
        {
            SingleInstanceLock first(LockPath());
            QVERIFY(first.tryAcquire());
        }
        SingleInstanceLock second(LockPath());
        QVERIFY(second.tryAcquire());
    }

    void liveCopyKeepsItsLockHoweverOld()
    {
        StartOtherCopy();
        SingleInstanceLock lock(LockPath());
        QVERIFY(!lock.tryAcquire());

        QFile lockFile(LockPath());
        QVERIFY(lockFile.open(QIODevice::ReadWrite));
        QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addDays(-30),
                                     QFileDevice::FileModificationTime));
        lockFile.close();
        QVERIFY(!lock.tryAcquire());

        m_other.closeWriteChannel();
        QVERIFY(m_other.waitForFinished());
        QCOMPARE(m_other.exitCode(), 0);
        QVERIFY(lock.tryAcquire());
    }

    void lockOfCrashedCopyIsTakenOver()
    {
        StartOtherCopy();
        m_other.kill();
        QVERIFY(m_other.waitForFinished());
        QVERIFY(QFile::exists(LockPath()));

        SingleInstanceLock lock(LockPath());
        QVERIFY(lock.tryAcquire());
    }

    void unwritableLockIsRefused()
    {
        SingleInstanceLock lock(m_dir->filePath(QStringLiteral("missing/ardovin.lock")));
        QVERIFY(!lock.tryAcquire());
        QVERIFY(!lock.isHeld());
    }

    void defaultLockLiesInAnExistingDirectory()
    {
        const QFileInfo path(DefaultLockPath());
        QVERIFY(path.isAbsolute());
        QCOMPARE(path.fileName(), QStringLiteral("ardovin.lock"));
        QVERIFY(path.dir().exists());
    }

private:
    QString LockPath() const { return m_dir->filePath(QStringLiteral("ardovin.lock")); }

    void StartOtherCopy()
    {
        m_other.start(QCoreApplication::applicationFilePath(),
                      {QString::fromLatin1(HoldLockSwitch), LockPath()});
        QVERIFY(m_other.waitForStarted());
        QTRY_VERIFY(m_other.canReadLine() || m_other.state() == QProcess::NotRunning);
        QCOMPARE(m_other.readLine().trimmed(), QByteArray("held"));
    }

    std::optional<QTemporaryDir> m_dir;
    QProcess m_other;
};

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], HoldLockSwitch) == 0)
        return HoldLock(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_single_instance.moc"
