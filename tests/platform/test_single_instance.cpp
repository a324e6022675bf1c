#include "platform/single_instance.h"

#include <iostream>
#include <QProcess>
#include <QtTest>
#include <string>

using namespace ardovin;
using Result = SingleInstanceLock::Result;

namespace {

// Run with this switch and a path, the test program plays another running copy: it takes the
// lock, says so, and holds it until its standard input closes.
constexpr char HoldLockSwitch[] = "--hold-lock";

int HoldLock(const QString& path)
{
    SingleInstanceLock lock(path);
    if (lock.tryAcquire() != Result::Acquired)
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

        QCOMPARE(first.tryAcquire(), Result::Acquired);
        QCOMPARE(first.tryAcquire(), Result::Acquired);
        QCOMPARE(second.tryAcquire(), Result::HeldByAnotherCopy);
        QVERIFY(first.isHeld());
        QVERIFY(!second.isHeld());

        first.release();
        QVERIFY(!first.isHeld());
        QCOMPARE(second.tryAcquire(), Result::Acquired);
        QCOMPARE(first.tryAcquire(), Result::HeldByAnotherCopy);
    }

    void destructionReleases()
    {
        {
            SingleInstanceLock first(LockPath());
            QCOMPARE(first.tryAcquire(), Result::Acquired);
        }
        SingleInstanceLock second(LockPath());
        QCOMPARE(second.tryAcquire(), Result::Acquired);
    }

    void liveCopyKeepsItsLockHoweverOld()
    {
        StartOtherCopy();
        SingleInstanceLock lock(LockPath());
        QCOMPARE(lock.tryAcquire(), Result::HeldByAnotherCopy);

        QFile lockFile(LockPath());
        QVERIFY(lockFile.open(QIODevice::ReadWrite));
        QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addDays(-30),
                                     QFileDevice::FileModificationTime));
        lockFile.close();
        QCOMPARE(lock.tryAcquire(), Result::HeldByAnotherCopy);

        m_other.closeWriteChannel();
        QVERIFY(m_other.waitForFinished());
        QCOMPARE(m_other.exitCode(), 0);
        QCOMPARE(lock.tryAcquire(), Result::Acquired);
    }

    void lockOfCrashedCopyIsTakenOver()
    {
        StartOtherCopy();
        m_other.kill();
        QVERIFY(m_other.waitForFinished());
        QVERIFY(QFile::exists(LockPath()));

        SingleInstanceLock lock(LockPath());
        QCOMPARE(lock.tryAcquire(), Result::Acquired);
    }

    // A folder that refuses the lock file is no sign of another copy.
    void lockThatCannotBeMadeIsNoOtherCopy()
    {
        SingleInstanceLock lock(m_dir->filePath(QStringLiteral("missing/ardovin.lock")));
        QCOMPARE(lock.tryAcquire(), Result::Unavailable);
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
