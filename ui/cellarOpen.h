#pragma once

#include "storage/cellar.h"

class QWidget;

namespace cellarOpen {

// Opens the cellar book at a file or a server's address. Where the server asks for a password
// the user is asked for it, again where it is refused; a password given is kept in memory for
// this run, to open the same address again, and never written. Returns null where it cannot be
// opened (told) or the user gives up.
std::unique_ptr<ardovin::Cellar> Open(const QString& location, QWidget* parent);

} // namespace cellarOpen
