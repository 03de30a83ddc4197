// Any text after the program's path: the parse must stay inside the line, give a run mode and
// window source that belong together, and not depend on how the program's path is written.

#include "shell/command_line.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool same(const CommandLine& a, const CommandLine& b) {
    return a.runMode == b.runMode && a.windowNumber == b.windowNumber &&
           a.windowSource == b.windowSource;
}

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exactly the input's bytes up to its first NUL, in a buffer of its own size so that
    // AddressSanitizer sees any read past the terminator.
    const std::string arguments(reinterpret_cast<const char*>(data), size);
    const std::string plain = "q.scr " + arguments;
    const std::string quoted = "\"C:\\Program Files\\q.scr\" " + arguments;
    const std::string quotedNoBlank = "\"C:\\Program Files\\q.scr\"" + arguments;

    const CommandLine parsed = parseCommandLine(plain.c_str());
    require(same(parsed, parseCommandLine(quoted.c_str())));
    require(same(parsed, parseCommandLine(quotedNoBlank.c_str())));

    switch (parsed.runMode) {
    case RunMode::NoMode:
    case RunMode::Saver:
        require(parsed.windowNumber == 0 && parsed.windowSource == GivenWindowSource::Number);
        break;
    case RunMode::Configure:
        require(parsed.windowSource != GivenWindowSource::PreviewHost);
        break;
    case RunMode::ChangePassword:
        require(parsed.windowSource == GivenWindowSource::Number);
        break;
    case RunMode::Preview:
        require(parsed.windowSource != GivenWindowSource::ForegroundWindow);
        break;
    default:
        std::abort();
    }
    if (parsed.windowSource != GivenWindowSource::Number) {
        require(parsed.windowNumber == 0);
    }
    return 0;
}
