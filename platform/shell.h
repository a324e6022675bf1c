#pragma once

#include <QString>
#include <QUrl>

namespace ardovin {

// Hands an address (a web page, a new mail message) to the desktop to open with its default
// action. Whether anything opens is not examined: with no browser or mail program the command
// simply does nothing, and no message is shown. Tests record the addresses with Qt's own
// QDesktopServices::setUrlHandler, so that nothing really opens.
void OpenDocument(const QUrl& address);

} // namespace ardovin
