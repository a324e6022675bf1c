#include "ui/cellarOpen.h"

#include "ui/cellarForms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>

using namespace ardovin;

namespace cellarOpen {

namespace {

// The passwords given in this run, by address.
QHash<QString, QString>& Passwords()
{
    static QHash<QString, QString> given;
    return given;
}

std::optional<QString> AskPassword(const QString& location, bool refused, QWidget* parent)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmPassword"));
    dialog.setWindowTitle(QStringLiteral("Shared Cellar Password"));
    dialog.setLabelText(
        (refused ? QStringLiteral("The server refused the password.\n") : QString()) +
        QStringLiteral("Password for %1\n(kept only while Ardovin runs):").arg(location));
    dialog.setTextEchoMode(QLineEdit::Password);
    if (auto* caption = dialog.findChild<QLabel*>())
        caption->setObjectName(QStringLiteral("lblPassword"));
    if (auto* field = dialog.findChild<QLineEdit*>())
        modProc::Name(*field, QStringLiteral("txtPassword"), QStringLiteral("Password"),
                      QStringLiteral("The role's password on the server; never saved."));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

// Waits for the server with the windows painted and no input taken; after a moment, a progress
// dialog offers to stop waiting. Returns false where the user stopped.
bool WaitForServer(const std::function<bool()>& done, const QPointer<QWidget>& parent)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 300) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
        QThread::msleep(2);
    }
    if (done())
        return true;
    QProgressDialog progress(QStringLiteral("Waiting for the shared cellar's server..."),
                             QStringLiteral("&Stop Waiting"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("frmWaiting"));
    auto* label =
        new QLabel(QStringLiteral("Waiting for the shared cellar's server..."), &progress);
    label->setObjectName(QStringLiteral("lblWaiting"));
    progress.setLabel(label);
    auto* stop = new QPushButton(QStringLiteral("&Stop Waiting"), &progress);
    modProc::Name(*stop, QStringLiteral("cmdStopWaiting"), stop->text(),
                  QStringLiteral("Stop waiting for the server; what was asked of it may still "
                                 "be done."));
    progress.setCancelButton(stop);
    progress.setWindowTitle(QStringLiteral("Cellar Book"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.show();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    poll.start(10);
    loop.exec();
    return done();
}

// A server's cellar works on a thread of its own, the windows waiting through WaitForServer; a
// file's is quick enough to open and use directly.
std::unique_ptr<Cellar> OpenAt(const QString& location, const QString& password,
                               OpenFailure& failure, QWidget* parent)
{
    if (!IsServerAddress(location))
        return OpenCellar(location, password, failure);
    return OpenCellarOnThread(location, password, failure,
                              [window = QPointer<QWidget>(parent)](const auto& done) {
                                  return WaitForServer(done, window);
                              });
}

} // namespace

std::unique_ptr<Cellar> Open(const QString& location, QWidget* parent)
{
    QString password = Passwords().value(location);
    for (;;) {
        OpenFailure failure;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::unique_ptr<Cellar> cellar = OpenAt(location, password, failure, parent);
        QApplication::restoreOverrideCursor();
        if (cellar) {
            if (!password.isEmpty())
                Passwords().insert(location, password);
            return cellar;
        }
        std::optional<QString> typed;
        if (failure.needsPassword)
            typed = AskPassword(location, !password.isEmpty(), parent);
        if (!typed) {
            cellarForms::Tell(failure.reason);
            return nullptr;
        }
        password = *typed;
    }
}

} // namespace cellarOpen
