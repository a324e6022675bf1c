#include "platform/addresses.h"
#include "platform/shell.h"
#include "resources/programicon.h"
#include "ui/frmAbout.h"
#include "ui/modProc.h"

#include <memory>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace ardovin;

namespace {

QImage IconImage(const QIcon& icon)
{
    return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
}

QIcon PlainIcon(Qt::GlobalColor colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tooltip");

        QTest::newRow("Label1") << "Label1"
                                << "Ardo" << QString();
        QTest::newRow("Label2") << "Label2"
                                << "vin" << QString();
        QTest::newRow("Label3") << "Label3"
                                << "Version 3.00" << QString();
        QTest::newRow("Label4") << "Label4"
                                << "A sulphite calculator for wine makers." << QString();
        QTest::newRow("lblWeb") << "lblWeb" << SiteHost() << "Go to program web site.";
        QTest::newRow("lblMail") << "lblMail"
                                 << "Ardovin developers"
                                 << "Email the author.";
        QTest::newRow("cmdOK") << "cmdOK"
                               << "&OK"
                               << "Close window.";
    }

    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, tooltip);
        frmAbout dialog;
        auto* control = dialog.findChild<QWidget*>(name);
        QVERIFY(control);

        const auto* label = qobject_cast<QLabel*>(control);
        const auto* button = qobject_cast<QPushButton*>(control);
        QCOMPARE(label ? label->text() : button->text(), caption);
        QCOMPARE(control->toolTip(), tooltip);
        QCOMPARE(control->accessibleName(), QString(caption).remove(u'&'));
        QCOMPARE(control->accessibleDescription(), tooltip);
    }

    void window()
    {
        frmAbout dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About"));
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(IconImage(dialog.windowIcon()), IconImage(ProgramIcon()));

        const auto* picture = dialog.findChild<QLabel*>(QStringLiteral("Picture2"));
        QCOMPARE(picture->pixmap().size(), QSize(32, 32));
        QCOMPARE(picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                 IconImage(ProgramIcon()));
        for (const char* name : {"Picture1", "Picture2"})
            QVERIFY(!dialog.findChild<QWidget*>(name)->accessibleName().isEmpty());
    }

    void colours()
    {
        frmAbout dialog;
        const QColor grey(224, 224, 224);
        auto* panel = dialog.findChild<QWidget*>(QStringLiteral("Picture1"));
        QList<QWidget*> surfaces{panel};
        for (QLabel* label : panel->findChildren<QLabel*>())
            surfaces.append(label);
        QCOMPARE(surfaces.size(), 8);
        for (const QWidget* surface : surfaces) {
            QVERIFY2(surface->autoFillBackground(), qPrintable(surface->objectName()));
            QCOMPARE(surface->palette().color(QPalette::Window), grey);
        }
        for (const char* name : {"lblWeb", "lblMail"}) {
            const auto* link = dialog.findChild<QLabel*>(name);
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 192));
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        }
    }

    void fonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("pointSize");

        QTest::newRow("Label1") << "Label1" << 18.0;
        QTest::newRow("Label2") << "Label2" << 18.0;
        QTest::newRow("Label3") << "Label3" << 12.0;
        QTest::newRow("Label4") << "Label4" << 9.75;
        QTest::newRow("lblWeb") << "lblWeb" << 9.75;
        QTest::newRow("lblMail") << "lblMail" << 9.75;
        QTest::newRow("cmdOK") << "cmdOK" << 9.75;
    }

    void fonts()
    {
        QFETCH(QString, name);
        QFETCH(qreal, pointSize);
        frmAbout dialog;
        const QFont font = dialog.findChild<QWidget*>(name)->font();
        QCOMPARE(font.pointSizeF(), pointSize);
        QCOMPARE(font.family(), modProc::ProgramFont().family());
    }

    void everythingShowsWhole()
    {
        frmAbout dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto* panel = dialog.findChild<QWidget*>(QStringLiteral("Picture1"));
        QCOMPARE(panel->geometry(), dialog.rect());

        const QList<QWidget*> controls = panel->findChildren<QWidget*>();
        for (const QWidget* control : controls) {
            const QString name = control->objectName();
            QVERIFY2(panel->rect().contains(control->geometry()), qPrintable(name));
            QVERIFY2(control->width() >= control->sizeHint().width(), qPrintable(name));
            QVERIFY2(control->height() >= control->sizeHint().height(), qPrintable(name));
            for (const QWidget* other : controls)
                QVERIFY2(other == control || !other->geometry().intersects(control->geometry()),
                         qPrintable(name + " overlaps " + other->objectName()));
        }
        const auto* first = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        const auto* second = dialog.findChild<QLabel*>(QStringLiteral("Label2"));
        QCOMPARE(second->x(), first->geometry().right() + 1);
        QCOMPARE(second->y(), first->y());
    }

    void linksOpenTheirAddresses_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QUrl>("address");

        QTest::newRow("web site") << "lblWeb" << SiteHomeAddress();
        QTest::newRow("mail") << "lblMail" << MailAddress();
    }

    void linksOpenTheirAddresses()
    {
        QFETCH(QString, name);
        QFETCH(QUrl, address);
        QList<QUrl> opened;
        ScopedDocumentOpener opener([&](const QUrl& url) { opened.append(url); });
        frmAbout dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* link = dialog.findChild<QLabel*>(name);

        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>{address});

        // A press that leaves the link before its release, a right click and a click on the
        // other labels open nothing.
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 5, 2));
        QTest::mouseClick(link, Qt::RightButton);
        for (const char* other : {"Label1", "Label3", "Label4", "Picture2"})
            QTest::mouseClick(dialog.findChild<QWidget*>(other), Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>{address});
        QVERIFY(dialog.isVisible());
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");

        QTest::newRow("OK button") << "ok" << int(QDialog::Accepted);
        QTest::newRow("Enter key") << "enter" << int(QDialog::Accepted);
        QTest::newRow("close box") << "close" << int(QDialog::Rejected);
        QTest::newRow("Escape key") << "escape" << int(QDialog::Rejected);
    }

    // Each time a fresh window is created, shown modally, closed from inside its event loop
    // and deleted, as the main window does.
    void closing()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        QWidget owner;
        for (int round = 0; round < 3; ++round) {
            auto dialog = std::make_unique<frmAbout>(&owner);
            frmAbout* shown = dialog.get();
            QTimer::singleShot(0, shown, [shown, how] {
                QVERIFY(shown->isVisible());
                if (how == u"ok")
                    QTest::mouseClick(shown->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
                else if (how == u"enter")
                    QTest::keyClick(shown, Qt::Key_Return);
                else if (how == u"escape")
                    QTest::keyClick(shown, Qt::Key_Escape);
                else
                    shown->close();
            });
            // Should the window fail to close, end the wait so that the test fails, not hangs.
            QTimer::singleShot(5000, shown, [shown] { shown->done(-1); });
            QCOMPARE(dialog->exec(), result);
            QVERIFY(!dialog->isVisible());
            dialog.reset();
            QVERIFY(owner.findChildren<frmAbout*>().isEmpty());
        }
    }

    void takesTheOwnersIcon()
    {
        QWidget owner;
        owner.setWindowIcon(PlainIcon(Qt::darkRed));
        frmAbout dialog(&owner);
        QCOMPARE(IconImage(dialog.windowIcon()), IconImage(owner.windowIcon()));

        owner.setWindowIcon(PlainIcon(Qt::darkBlue));
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(IconImage(dialog.windowIcon()), IconImage(owner.windowIcon()));
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
