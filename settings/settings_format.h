#pragma once

#include "settings/user_defaults.h"

#include <QByteArray>
#include <QByteArrayView>

namespace ardovin {

enum class LoadResult {
    Loaded,
    FileUnavailable, // missing, a directory, unreadable or far too large
    RepeatedKey,     // a key already read, in any letter case
    KeyWithoutValue, // the file ends after a key
};

// Reads the bytes of a settings file (Latin-1) into the store, key and value fields taken in
// turn. Entries read before a failure stay in the store. An empty file loads nothing.
LoadResult ParseSettings(QByteArrayView bytes, UserDefaults& store);

// The whole settings file: the default settings in file order, one record a line, ended by
// CR LF. A setting missing from the store is written with its program default. Number
// settings held as texts are read in the user's locale, as the settings dialog stores them.
QByteArray SettingsFileBytes(const UserDefaults& store);

// A number as the file writes it: single precision, up to seven significant digits, "." as
// decimal separator and no zero before it. Values too large or too small for that form are
// written with an exponent, in as many digits as reading them back to the same value needs.
QByteArray FileNumberText(float value);

} // namespace ardovin
