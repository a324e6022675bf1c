#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ardovin {

namespace {

QClipboard* SystemClipboard()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    return QGuiApplication::clipboard();
}

} // namespace

QString ClipboardText()
{
    QClipboard* clipboard = SystemClipboard();
    return clipboard ? clipboard->text() : QString();
}

void SetClipboardText(const QString& text)
{
    if (QClipboard* clipboard = SystemClipboard())
        clipboard->setText(text);
}

void ClearClipboard()
{
    if (QClipboard* clipboard = SystemClipboard())
        clipboard->clear();
}

} // namespace ardovin
