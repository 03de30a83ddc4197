#include "shell/command_line.h"

#include <cstring>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* skipProgramPath(const char* p) {
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') {
            ++p;
        }
    } else {
        while (*p != '\0' && *p != ' ') {
            ++p;
        }
    }
    return *p != '\0' ? p + 1 : p;
}

// atoi's rules; digits beyond 32 bits keep the low 32 bits of the number instead of overflowing.
std::int32_t readNumber(const char* p) {
    while (isWhiteSpace(*p)) {
        ++p;
    }
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    std::uint32_t value = 0;
    for (; isDigit(*p); ++p) {
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

bool namesPreviewHost(const char* rest) {
    return std::strcmp(rest, "scrprev") == 0 || std::strcmp(rest, "ScrPrev") == 0 ||
           std::strcmp(rest, "SCRPREV") == 0;
}

} // namespace

CommandLine parseCommandLine(const char* line) {
    const char* p = skipProgramPath(line);
    while (*p == ' ') {
        ++p;
    }
    if (*p == '\0') {
        return {RunMode::Configure, 0, GivenWindowSource::Number};
    }
    if (*p == '-' || *p == '/') {
        ++p;
    }

    const char letter = *p;
    if (letter == '\0') {
        return {};
    }
    const char* value = p + 1;
    while (*value == ' ' || *value == ':') {
        ++value;
    }
    switch (letter) {
    case 'S':
    case 's':
        return {RunMode::Saver, 0, GivenWindowSource::Number};
    case 'A':
    case 'a':
        return {RunMode::ChangePassword, readNumber(value), GivenWindowSource::Number};
    case 'C':
    case 'c':
        if (*value == '\0') {
            return {RunMode::Configure, 0, GivenWindowSource::ForegroundWindow};
        }
        return {RunMode::Configure, readNumber(value), GivenWindowSource::Number};
    case 'P':
    case 'p':
    case 'L':
    case 'l':
        if (namesPreviewHost(value)) {
            return {RunMode::Preview, 0, GivenWindowSource::PreviewHost};
        }
        return {RunMode::Preview, readNumber(value), GivenWindowSource::Number};
    default:
        return {};
    }
}
