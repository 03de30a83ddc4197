#pragma once

#include "shell/run_mode.h"

#include <cstdint>

// Where the window that the run mode works with comes from.
enum class GivenWindowSource {
    Number,           // the window number on the command line (0 when none)
    ForegroundWindow, // "/c" alone: the window in front
    PreviewHost,      // "/p scrprev": the child window of the preview host program
};

struct CommandLine {
    RunMode runMode = RunMode::NoMode;
    std::int32_t windowNumber = 0;
    GivenWindowSource windowSource = GivenWindowSource::Number;
};

// The whole command line, starting with the program's own path.
CommandLine parseCommandLine(const char* line);
