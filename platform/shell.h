#pragma once

#include <functional>
#include <QString>
#include <QUrl>

namespace ardovin {

// Hands an address (a web page, a new mail message) to the desktop to open with its default
// action. Whether anything opens is not examined: with no browser or mail program the command
// simply does nothing, and no message is shown.
void OpenDocument(const QUrl& address);
void OpenDocument(const QString& address);

// What hands addresses over. Tests install one that records them, so nothing really opens.
using DocumentOpener = std::function<void(const QUrl&)>;

// Installs an opener (an empty one restores the desktop's) and returns the one it replaces.
DocumentOpener SetDocumentOpener(DocumentOpener opener);

// Installs an opener for the lifetime of the guard, then puts the previous one back.
class ScopedDocumentOpener
{
public:
    explicit ScopedDocumentOpener(DocumentOpener opener);
    ~ScopedDocumentOpener();
    ScopedDocumentOpener(const ScopedDocumentOpener&) = delete;
    ScopedDocumentOpener& operator=(const ScopedDocumentOpener&) = delete;

private:
    DocumentOpener m_previous;
};

} // namespace ardovin
