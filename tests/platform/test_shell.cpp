#include "platform/addresses.h"
#include "platform/shell.h"

#include <QDesktopServices>
#include <QtTest>

using namespace ardovin;

// Stands in for the desktop: Qt hands it every address of the schemes it is registered for.
class DesktopHandler : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> received;

public slots:
    void open(const QUrl& address) { received.append(address); }
};

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        for (const QString& scheme : {QStringLiteral("http"), QStringLiteral("mailto")})
            QDesktopServices::setUrlHandler(scheme, &m_desktop, "open");
    }

    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        m_desktop.received.clear();
    }

    void addresses_data()
    {
        QTest::addColumn<QUrl>("address");
        QTest::addColumn<QString>("expected");

        const QString site = QStringLiteral("http://" EXPECTED_SITE_HOST);
        QTest::newRow("manual") << ManualAddress() << site + "/sulphManual.html";
        QTest::newRow("program page") << ProgramPageAddress() << site + "/sulphite.html";
        QTest::newRow("table generator") << TableGeneratorAddress() << site + "/sulphtable.php";
        QTest::newRow("site home") << SiteHomeAddress() << site;
        QTest::newRow("mail") << MailAddress() << QStringLiteral("mailto:" EXPECTED_SUPPORT_MAIL);
    }

    void addresses()
    {
        QFETCH(QUrl, address);
        QFETCH(QString, expected);

        QVERIFY2(address.isValid(), qPrintable(address.errorString()));
        QCOMPARE(address.toString(), expected);
    }

    void buildSettingsAreShown()
    {
        QCOMPARE(SiteHost(), QStringLiteral(EXPECTED_SITE_HOST));
        QCOMPARE(SupportMail(), QStringLiteral(EXPECTED_SUPPORT_MAIL));
        QCOMPARE(SiteHomeAddress().authority(), SiteHost());
        QCOMPARE(MailAddress().path(), SupportMail());
    }

    void addressesGoToTheDesktop()
    {
        OpenDocument(ProgramPageAddress());
        OpenDocument(MailAddress().toString());

        QCOMPARE(m_desktop.received, (QList<QUrl>{ProgramPageAddress(), MailAddress()}));
    }

    void openerReplacesTheDesktopUntilRestored()
    {
        QList<QUrl> captured;
        {
            ScopedDocumentOpener outer([&](const QUrl& address) { captured.append(address); });
            OpenDocument(ManualAddress());
            {
                ScopedDocumentOpener inner([](const QUrl&) {});
                OpenDocument(TableGeneratorAddress());
            }
            OpenDocument(SiteHomeAddress().toString());
        }
        OpenDocument(ProgramPageAddress());

        QCOMPARE(captured, (QList<QUrl>{ManualAddress(), SiteHomeAddress()}));
        QCOMPARE(m_desktop.received, QList<QUrl>{ProgramPageAddress()});
    }

    void emptyOpenerRestoresTheDesktop()
    {
        SetDocumentOpener([](const QUrl&) {});
        SetDocumentOpener({});
        OpenDocument(ManualAddress());

        QCOMPARE(m_desktop.received, QList<QUrl>{ManualAddress()});
    }

private:
    DesktopHandler m_desktop;
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
