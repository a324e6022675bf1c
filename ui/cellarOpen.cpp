#include "ui/cellarOpen.h"

#include "ui/cellarForms.h"

#include <QApplication>
#include <QHash>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>

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

} // namespace

std::unique_ptr<Cellar> Open(const QString& location, QWidget* parent)
{
    QString password = Passwords().value(location);
    for (;;) {
        OpenFailure failure;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::unique_ptr<Cellar> cellar = OpenCellar(location, password, failure);
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
