// The settings key on Linux: a text file of "Name=value" lines in the user's configuration folder.
// There is no platform screen-saver key here.

#include "platform/settings_key.h"

#include "settings/posix/settings_text.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

struct SettingsKey {
    std::filesystem::path path;
    SettingsLines values; // in file order
    bool writable = false;
};

namespace {

auto findValue(SettingsKey* key, const std::string& name) {
    return std::find_if(key->values.begin(), key->values.end(),
                        [&](const auto& entry) { return entry.first == name; });
}

std::filesystem::path settingsFilePath() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
        return std::filesystem::path(config) / "quillmesh" / "settings";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".config" / "quillmesh" /
           "settings";
}

} // namespace

SettingsKey* openKeyForReading(SettingsKeyName name) {
    if (name != SettingsKeyName::Product) {
        return nullptr;
    }
    std::ifstream file(settingsFilePath(), std::ios::binary);
    if (!file) {
        return nullptr;
    }
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    return new SettingsKey{{}, parseSettingsLines(text)};
}

SettingsKey* createKeyForWriting() {
    const std::filesystem::path path = settingsFilePath();
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        return nullptr;
    }
    return new SettingsKey{path, {}, true};
}

bool queryKeyValue(SettingsKey* key, const char* name, std::int32_t& value) {
    const auto found = findValue(key, name);
    if (found == key->values.end()) {
        return false;
    }
    const std::optional<std::int32_t> parsed = parseSettingValue(found->second);
    if (!parsed) {
        return false;
    }
    value = *parsed;
    return true;
}

bool setKeyValue(SettingsKey* key, const char* name, std::int32_t value) {
    if (auto found = findValue(key, name); found != key->values.end()) {
        found->second = std::to_string(value);
    } else {
        key->values.emplace_back(name, std::to_string(value));
    }
    return true;
}

bool closeKey(SettingsKey* key) {
    bool kept = true;
    if (key->writable) {
        // Write beside the file and rename over it, so a failed write never leaves half a file.
        const std::filesystem::path temporary = key->path.string() + ".new";
        {
            std::ofstream file(temporary, std::ios::trunc);
            for (const auto& [name, text] : key->values) {
                file << name << '=' << text << '\n';
            }
            file.flush();
            kept = static_cast<bool>(file);
        }
        std::error_code error;
        if (kept) {
            std::filesystem::rename(temporary, key->path, error);
            kept = !error;
        }
        if (!kept) {
            std::filesystem::remove(temporary, error);
        }
    }
    delete key;
    return kept;
}
