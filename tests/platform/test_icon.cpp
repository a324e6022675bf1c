#include "resources/programicon.h"

#include <QtTest>

using namespace ardovin;

class TestIcon : public QObject
{
    Q_OBJECT

private slots:
    void renderings_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : ProgramIconSizes())
            QTest::addRow("%d px", size) << size;
    }

    // Each rendering is square, has a clear background and the glass of wine in its middle;
    // a rendering scaled or placed wrongly loses one of these.
    void renderings()
    {
        QFETCH(int, size);
        const QImage image(QStringLiteral(":/ardovin/icon%1.png").arg(size));
        QCOMPARE(image.size(), QSize(size, size));

        const int last = size - 1;
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
            QCOMPARE(qAlpha(image.pixel(corner)), 0);
        const QColor wine = image.pixelColor(size / 2, size * 17 / 32);
        QCOMPARE(wine.alpha(), 255);
        QVERIFY2(wine.red() > 2 * wine.green() && wine.red() > 2 * wine.blue(),
                 qPrintable(wine.name()));
    }

    void iconOffersTheWindowSizes()
    {
        const QIcon icon = ProgramIcon();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.availableSizes().size(), WindowIconSizes().size());
        for (const int size : WindowIconSizes()) {
            QVERIFY(icon.availableSizes().contains(QSize(size, size)));
            // Compared as the pixmap holds it: premultiplying the file's pixels is exact, the
            // way back is not.
            const QImage shown = icon.pixmap(size, size).toImage();
            const QImage expected(QStringLiteral(":/ardovin/icon%1.png").arg(size));
            QCOMPARE(shown, expected.convertToFormat(shown.format()));
        }
    }
};

QTEST_MAIN(TestIcon)
#include "test_icon.moc"
