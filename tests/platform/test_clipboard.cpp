#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtTest>

using namespace ardovin;

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void textRoundTrip()
    {
        SetClipboardText(QStringLiteral("12.50"));
        QCOMPARE(ClipboardText(), QStringLiteral("12.50"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12.50"));
    }

    void clearEmptiesTheClipboard()
    {
        SetClipboardText(QStringLiteral("3.50"));
        ClearClipboard();
        QCOMPARE(ClipboardText(), QString());
    }

    void readsPlainTextOnly()
    {
        auto* data = new QMimeData;
        data->setHtml(QStringLiteral("<b>7</b>"));
        QGuiApplication::clipboard()->setMimeData(data);
        QCOMPARE(ClipboardText(), QString());

        SetClipboardText(QStringLiteral("7"));
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasHtml());
    }
};

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
