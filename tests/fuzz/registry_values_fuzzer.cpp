// readSettings over a product key whose values have any name, type and length, as the registry
// reports them. The key stands in for the registry: a query offers a 4-byte buffer, data longer
// than that fails the query, and what fits goes through storedDword, the same rule as the
// Windows key. The outcome must be all eleven stored values or all eleven defaults.
//
// Input: one byte (odd: the key exists), then records of a name byte (an index into the eleven
// names, or a name of no setting), a type byte, a length byte and that many data bytes.

#include "platform/settings_key.h"
#include "settings/saver_settings.h"
#include "settings/stored_dword.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

struct SettingsKey {
    std::map<std::string, std::vector<std::uint8_t>> values; // the type is never looked at
};

namespace {

SettingsKey fuzzedKey;
bool keyExists = false;
int openKeys = 0;

} // namespace

SettingsKey* openKeyForReading(SettingsKeyName name) {
    if (name != SettingsKeyName::Product || !keyExists) {
        return nullptr;
    }
    ++openKeys;
    return &fuzzedKey;
}

SettingsKey* createKeyForWriting() {
    return nullptr;
}

bool queryKeyValue(SettingsKey* key, const char* name, std::int32_t& value) {
    const auto found = key->values.find(name);
    if (found == key->values.end() || found->second.size() > 4) {
        return false;
    }
    std::uint8_t buffer[4];
    std::copy(found->second.begin(), found->second.end(), buffer);
    const std::optional<std::int32_t> stored = storedDword(buffer, found->second.size());
    if (!stored) {
        return false;
    }
    value = *stored;
    return true;
}

bool setKeyValue(SettingsKey*, const char*, std::int32_t) {
    return false;
}

bool closeKey(SettingsKey*) {
    --openKeys;
    return true;
}

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzedKey.values.clear();
    keyExists = size > 0 && (data[0] & 1) != 0;
    std::size_t at = size > 0 ? 1 : 0;
    while (at + 3 <= size) {
        const std::uint8_t nameIndex = data[at];
        const std::size_t length = data[at + 2];
        at += 3;
        const std::size_t taken = length < size - at ? length : size - at;
        const std::string name = nameIndex < storedSettings.size()
                                     ? storedSettings[nameIndex].name
                                     : "Unrelated " + std::to_string(nameIndex);
        fuzzedKey.values[name].assign(data + at, data + at + taken);
        at += taken;
    }

    // What the key should give, worked out independently of the code under test.
    SaverSettings expected = defaultSettings;
    bool allPresent = keyExists;
    for (const StoredSetting& setting : storedSettings) {
        const auto found = fuzzedKey.values.find(setting.name);
        allPresent = allPresent && found != fuzzedKey.values.end() && found->second.size() == 4;
        if (allPresent) {
            const auto& bytes = found->second;
            expected.*setting.field =
                static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                          static_cast<std::uint32_t>(bytes[3]) << 24);
        }
    }
    if (!allPresent) {
        expected = defaultSettings;
    }

    saverSettings = {};
    readSettings();
    require(std::memcmp(&saverSettings, &expected, sizeof expected) == 0);
    require(openKeys == 0);
    return 0;
}
