// The help of the Linux program, made from its table of options.

#include "shell/linux/option_rows.h"

namespace {

// "      --max-fps N          frame rate cap, 0 for none (0 to 1000; 60)"
std::string helpLine(const OptionRow& row) {
    constexpr std::size_t helpColumn = 27;
    const std::string value = row.argument ? std::string(" ") + row.argument : "";
    std::string names = row.shortName ? std::string("  -") + row.shortName + ", " : "      ";
    names += "--" + std::string(row.name) + value;
    if (row.oneDashToo) {
        names += ", -" + std::string(row.name) + value;
    }

    std::string help = row.help ? row.help : renderModeChoices();
    if (const auto* number = std::get_if<Number>(&row.action)) {
        help +=
            " (" + rangeText(number->range) + "; " + std::to_string(Options{}.*number->field) + ")";
    } else if (const auto* setting = std::get_if<Setting>(&row.action)) {
        help += ", " + rangeText(setting->range);
    }
    const std::string indent(helpColumn, ' ');
    for (std::size_t end = 0; (end = help.find('\n', end)) != help.npos; end += indent.size()) {
        help.insert(end + 1, indent);
    }
    const bool fits = names.size() < helpColumn - 1;
    return names + (fits ? std::string(helpColumn - names.size(), ' ') : "\n" + indent) + help +
           '\n';
}

} // namespace

std::string helpText() {
    std::string text =
        "Usage: quillmesh [OPTION]...\n"
        "A turning, breathing tube drawn with OpenGL: in a window or as a full-screen "
        "saver on X11\nor Wayland, as an XScreenSaver hack, or headless into a PNG "
        "file.\n";
    const std::pair<Group, const char*> groups[] = {
        {Group::Target, "Where to draw (choose one; the default is a window of its own, closed by "
                        "Escape):"},
        {Group::WindowSystem, "Window system (the default: Wayland when WAYLAND_DISPLAY is set, "
                              "else X11):"},
        {Group::Settings, "Settings (read from the settings file first; these override them):"},
        {Group::Running, "Running:"},
    };
    for (const auto& [group, heading] : groups) {
        text += std::string("\n") + heading + '\n';
        for (const OptionRow& row : optionTable()) {
            text += row.group == group ? helpLine(row) : "";
        }
    }
    return text + "\nThe settings file is $XDG_CONFIG_HOME/quillmesh/settings (default "
                  "~/.config/quillmesh/settings).\nExit status: 0 on success, 1 when the program "
                  "cannot run or store its settings, 2 for a bad\ncommand line.\n";
}
