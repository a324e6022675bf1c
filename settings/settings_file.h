#pragma once

#include "settings/settings_format.h"

#include <optional>
#include <QString>

namespace ardovin {

// settings.cfg in the given directory, the program's own: one directory separator between
// the two, never two. An empty directory text means the working directory.
QString SettingsFilePath(const QString& programDirectory);

// Opens, reads and parses the file. A missing or unreadable file, or a directory, fails.
LoadResult LoadSettingsFile(const QString& path, UserDefaults& store);

// Why a save failed, in the file system's own terms.
struct SaveFailure
{
    int Code = 0; // a QFileDevice::FileError
    QString Description;
};

// Writes the whole file to a temporary file beside it and only then puts it in place of the
// old one, so that a save that fails leaves the previous settings as they were.
std::optional<SaveFailure> SaveSettingsFile(const QString& path, const UserDefaults& store);

} // namespace ardovin
