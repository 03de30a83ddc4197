#include "settings/saver_settings.h"

#include "platform/settings_key.h"

void setDefaultSettings() {
    saverSettings = defaultSettings;
}

void readSettings() {
    SettingsKey* key = openKeyForReading(SettingsKeyName::Product);
    if (key == nullptr) {
        setDefaultSettings();
        return;
    }
    for (const StoredSetting& setting : storedSettings) {
        if (!queryKeyValue(key, setting.name, saverSettings.*setting.field)) {
            closeKey(key);
            setDefaultSettings();
            return;
        }
    }
    closeKey(key);
}

bool writeSettings() {
    SettingsKey* key = createKeyForWriting();
    if (key == nullptr) {
        return false;
    }
    bool allSet = true;
    for (const StoredSetting& setting : storedSettings) {
        allSet &= setKeyValue(key, setting.name, saverSettings.*setting.field);
    }
    return closeKey(key) && allSet;
}
