#pragma once

#include "settings/saver_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The text of the Linux settings file, apart from the file itself.

using SettingsLines = std::vector<std::pair<std::string, std::string>>;

// "Name=value" lines in file order, split at the first "="; a line without one is skipped.
SettingsLines parseSettingsLines(std::string_view text);

// The settings as "Name=value" lines, in the order they are stored.
std::string describeSettings(const SaverSettings& settings);

// A decimal signed 32-bit integer, with nothing before or after it.
std::optional<std::int32_t> parseSettingValue(std::string_view text);
