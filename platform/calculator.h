#pragma once

#include <QString>
#include <QStringList>

namespace ardovin {

// The desktop calculators looked for on Linux and other Unix desktops, in order of preference.
QStringList CalculatorPrograms();

// Starts the system calculator as a program of its own, which goes on running after Ardovin
// ends. Returns false when no calculator could be started; showing that is the caller's part.
// searchPaths: the directories to look in on Linux; empty means the directories of PATH.
bool StartCalculator(const QStringList& searchPaths = {});

} // namespace ardovin
