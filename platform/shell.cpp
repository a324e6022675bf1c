#include "platform/shell.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <utility>

namespace ardovin {

namespace {

void OpenWithDesktop(const QUrl& address)
{
    // The desktop services need a running application; without one there is nothing to do.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    QDesktopServices::openUrl(address);
}

DocumentOpener& CurrentOpener()
{
    static DocumentOpener opener;
    return opener;
}

} // namespace

void OpenDocument(const QUrl& address)
{
    if (const DocumentOpener& opener = CurrentOpener())
        opener(address);
    else
        OpenWithDesktop(address);
}

void OpenDocument(const QString& address)
{
    OpenDocument(QUrl(address));
}

DocumentOpener SetDocumentOpener(DocumentOpener opener)
{
    return std::exchange(CurrentOpener(), std::move(opener));
}

ScopedDocumentOpener::ScopedDocumentOpener(DocumentOpener opener)
    : m_previous(SetDocumentOpener(std::move(opener)))
{
}

ScopedDocumentOpener::~ScopedDocumentOpener()
{
    SetDocumentOpener(std::move(m_previous));
}

} // namespace ardovin
