#pragma once

#include <cstdint>

// Where values are kept: the registry on Windows, a settings file on Linux.

enum class SettingsKeyName {
    Product,             // the saver's own settings
    PlatformScreenSaver, // the platform's screen-saver values, never written here
};

struct SettingsKey; // one open key; its shape belongs to the platform

// Read access only, so that a key the user may read but not write still loads. Null when the key
// is missing or cannot be opened.
SettingsKey* openKeyForReading(SettingsKeyName name);

// Creates the product key when it is missing. Null when that fails.
SettingsKey* createKeyForWriting();

// True only when the value exists and holds exactly four bytes, whatever its type; those bytes
// are taken as a little-endian 32-bit integer.
bool queryKeyValue(SettingsKey* key, const char* name, std::int32_t& value);

bool setKeyValue(SettingsKey* key, const char* name, std::int32_t value);

// False when what was set could not be kept.
bool closeKey(SettingsKey* key);

// Implementations: settings/win32/settings_key.cpp, settings/posix/settings_key.cpp.
