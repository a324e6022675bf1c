#include "platform/shell.h"

#include <QDesktopServices>
#include <QGuiApplication>

namespace ardovin {

void OpenDocument(const QUrl& address)
{
    // The desktop services need a running application; without one there is nothing to do.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    QDesktopServices::openUrl(address);
}

} // namespace ardovin
