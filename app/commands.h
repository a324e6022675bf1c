#pragma once

#include <QString>

// The commands Ardovin runs without windows, as a server's administrator may, on a machine
// with no display: each prints what it did, or why it could not, and gives the exit code.
namespace commands {

// Makes or upgrades the shared cellar's schema at the address, as its owner.
int UpgradeCellar(const QString& address);
// Copies a cellar book (a file or an address) into another, and compares the counts.
int CopyCellar(const QString& from, const QString& to);

} // namespace commands
