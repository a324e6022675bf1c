// What Ardovin keeps from the system: the lock, the icon. The addresses and the calculator it
// hands over are shown by the scenarios.
#include "platform/single_instance.h"
#include "resources/programicon.h"
#include "tests/support.h"

using namespace ardovin;
using Result = SingleInstanceLock::Result;

class TestPlatform : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // A live copy's lock is kept and freed when the copy ends; one that cannot be seen to live
    // (another machine's, in a shared folder) is never broken, however old; a folder that refuses
    // the lock file is no sign of another copy.
    void singleInstance()
    {
        const QString path = dir.filePath(QStringLiteral("ardovin.lock"));
        {
            SingleInstanceLock first(path);
            QCOMPARE(first.tryAcquire(), Result::Acquired);
            QCOMPARE(SingleInstanceLock(path).tryAcquire(), Result::HeldByAnotherCopy);
        }
        QCOMPARE(SingleInstanceLock(path).tryAcquire(), Result::Acquired);
        QFile other(path);
        QVERIFY(WriteFile(path, "1\nardovin\nanother-machine\n") &&
                other.open(QIODevice::ReadWrite));
        QVERIFY(other.setFileTime(QDateTime::currentDateTime().addDays(-30),
                                  QFileDevice::FileModificationTime));
        QCOMPARE(SingleInstanceLock(path).tryAcquire(), Result::HeldByAnotherCopy);
        QCOMPARE(SingleInstanceLock(dir.filePath("missing/ardovin.lock")).tryAcquire(),
                 Result::Unavailable);
    }

    // Every size the window asks for, square, clear in the corners, the wine red in the middle.
    void icon()
    {
        for (const int size : WindowIconSizes()) {
            const QImage image = ProgramIcon().pixmap(size, size).toImage();
            const QColor wine = image.pixelColor(size / 2, size * 17 / 32);
            QVERIFY(image.size() == QSize(size, size) && qAlpha(image.pixel(0, 0)) == 0);
            QVERIFY2(wine.red() > 2 * wine.green() && wine.alpha() == 255, qPrintable(wine.name()));
        }
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
