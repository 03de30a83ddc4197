#pragma once

#include "shell/linux/options.h"

#include <span>
#include <string>
#include <string_view>
#include <variant>

// The table behind the Linux program's command line, shared by the parser and the help.

// Where the help lists an option.
enum class Group { Target, WindowSystem, Settings, Running };

using ReadValue = std::string (*)(Options& options, std::string_view value);

// What an option does with its value.
struct Target { // chooses where to draw, after reading a value where it takes one
    DisplayTarget target;
    ReadValue read = nullptr;
};
struct Number {
    std::int32_t Options::*field;
    SizeRange range;
};
struct Setting {
    std::optional<std::int32_t> SettingOverrides::*field;
    SizeRange range;
};
struct SettingSwitch {
    std::optional<std::int32_t> SettingOverrides::*field;
    std::int32_t value;
};
using Flag = bool Options::*;
using Action = std::variant<Target, Number, Setting, SettingSwitch, Flag, ReadValue>;

struct OptionRow {
    const char* name;
    const char* argument; // the value's name in the help; none for a switch
    Group group;
    Action action;
    const char* help; // none: the render styles' names
    char shortName = 0;
    bool oneDashToo = false; // also taken with one dash, as XScreenSaver writes it
};

// In the order of the help.
std::span<const OptionRow> optionTable();

// A decimal whole number within the range, with nothing before or after it.
std::optional<std::int32_t> numberInRange(std::string_view text, SizeRange range);

// "1 to 20"
std::string rangeText(SizeRange range);

// The render styles' names and values as --rendermode takes them.
std::string renderModeChoices();
