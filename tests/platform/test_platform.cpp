// What Ardovin hands to the system: addresses, the calculator, the lock, the icon.
#include "platform/addresses.h"
#include "platform/calculator.h"
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
    // The commands' addresses, on the site and to the mail address the build was given.
    void addresses()
    {
        const QString site = QStringLiteral("http://" EXPECTED_SITE_HOST);
        QCOMPARE((QList<QUrl>{ManualAddress(), ProgramPageAddress(), TableGeneratorAddress(),
                              SiteHomeAddress(), MailAddress()}),
                 (QList<QUrl>{QUrl(site + "/sulphManual.html"), QUrl(site + "/sulphite.html"),
                              QUrl(site + "/sulphtable.php"), QUrl(site),
                              QUrl("mailto:" EXPECTED_SUPPORT_MAIL)}));
        // The manual: the copy installed beside the program, or the site's where there is none.
        const QString manual = dir.filePath(INSTALLED_MANUAL);
        QCOMPARE(ManualAddress(dir.path()), ManualAddress());
        QVERIFY(QDir().mkpath(QFileInfo(manual).path()) && WriteFile(manual, "<html>"));
        QCOMPARE(ManualAddress(dir.path()), QUrl::fromLocalFile(manual));
    }

    // A desktop calculator is found where the search looks, KDE's preferred to the X one.
    void calculator_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("started");
        QTest::newRow("GNOME's") << QStringList{"gnome-calculator"} << "gnome-calculator";
        QTest::newRow("preference") << QStringList{"xcalc", "kcalc"} << "kcalc";
    }

    void calculator()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, started);
        QTemporaryDir bin;
        for (const QString& name : installed) {
            const QString program = bin.filePath(name);
            QVERIFY(WriteFile(program, ("#!/bin/sh\ntouch '" + program + ".ran'\n").toUtf8()));
            QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        QCOMPARE(StartCalculator({bin.path()}), !started.isEmpty());
        for (const QString& name : installed)
            QTRY_COMPARE(QFile::exists(bin.filePath(name + ".ran")), name == started);
    }

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
