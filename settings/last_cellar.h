#pragma once

#include <QString>

namespace ardovin {

// The shared cellar the cellar book opened last, so that it opens there again: a server's
// address, never with a password, or empty for the cellar book's own file. Kept in a file of
// its own in the user's configuration folder; settings.cfg holds the calculator's defaults only.
QString LastCellar();
// Returns false where it could not be kept; the last one kept is then left as it was.
bool RememberCellar(const QString& address);

} // namespace ardovin
