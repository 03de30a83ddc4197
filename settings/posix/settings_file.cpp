// The settings key on Linux: a text file of "Name=value" lines in the user's configuration folder.
// There is no platform screen-saver key here.

#include "platform/settings_key.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

struct SettingsKey {
    std::filesystem::path path;
    std::vector<std::pair<std::string, std::string>> values; // in file order
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
    std::ifstream file(settingsFilePath());
    if (!file) {
        return nullptr;
    }
    auto* key = new SettingsKey{};
    for (std::string line; std::getline(file, line);) {
        if (const auto equals = line.find('='); equals != std::string::npos) {
            key->values.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        }
    }
    return key;
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
    const std::string& text = found->second;
    std::int32_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return false;
    }
    value = parsed;
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
