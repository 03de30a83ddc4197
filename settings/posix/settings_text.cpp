#include "settings/posix/settings_text.h"

#include <charconv>
#include <system_error>

SettingsLines parseSettingsLines(std::string_view text) {
    SettingsLines lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            lines.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        }
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::optional<std::int32_t> parseSettingValue(std::string_view text) {
    std::int32_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return parsed;
}

std::string describeSettings(const SaverSettings& settings) {
    std::string text;
    for (const StoredSetting& setting : storedSettings) {
        text += std::string(setting.name) + '=' + std::to_string(settings.*setting.field) + '\n';
    }
    return text;
}
