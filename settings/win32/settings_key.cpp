// The settings key on Windows: the product key and the platform's screen-saver key under
// HKEY_CURRENT_USER.

#include "platform/settings_key.h"

#include "settings/stored_dword.h"

#include <windows.h>

struct SettingsKey {
    HKEY handle;
};

namespace {

constexpr const char* productKeyPath = "Software\\Halvorn\\Brisco's Quillmesh";
constexpr const char* platformKeyPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";

} // namespace

SettingsKey* openKeyForReading(SettingsKeyName name) {
    const char* path = name == SettingsKeyName::Product ? productKeyPath : platformKeyPath;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return nullptr;
    }
    return new SettingsKey{handle};
}

SettingsKey* createKeyForWriting() {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, productKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return new SettingsKey{handle};
}

bool queryKeyValue(SettingsKey* key, const char* name, std::int32_t& value) {
    BYTE data[4];
    DWORD size = sizeof data;
    // Longer data makes the query fail; shorter data is refused by storedDword.
    if (RegQueryValueExA(key->handle, name, nullptr, nullptr, data, &size) != ERROR_SUCCESS) {
        return false;
    }
    const std::optional<std::int32_t> stored = storedDword(data, size);
    if (!stored) {
        return false;
    }
    value = *stored;
    return true;
}

bool setKeyValue(SettingsKey* key, const char* name, std::int32_t value) {
    DWORD data = static_cast<DWORD>(value);
    return RegSetValueExA(key->handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

bool closeKey(SettingsKey* key) {
    RegCloseKey(key->handle);
    delete key;
    return true;
}
