#pragma once

#include <QString>

namespace ardovin {

// The system clipboard, plain text only. A clipboard that cannot be reached (no application,
// or one without a clipboard) reads as empty and ignores what is put on it.
QString ClipboardText();
void SetClipboardText(const QString& text);
void ClearClipboard();

} // namespace ardovin
