#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using Source = GivenWindowSource;

struct Case {
    std::string line;
    RunMode mode;
    std::int32_t window;
    Source source;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << '[' << c.line << ']';
}

class CommandLineTest : public testing::TestWithParam<Case> {};

TEST_P(CommandLineTest, GivesRunModeAndWindow) {
    const Case& c = GetParam();
    const CommandLine parsed = parseCommandLine(c.line.c_str());
    EXPECT_EQ(parsed.runMode, c.mode);
    EXPECT_EQ(parsed.windowNumber, c.window);
    EXPECT_EQ(parsed.windowSource, c.source);
}

constexpr auto NoMode = RunMode::NoMode;
constexpr auto Configure = RunMode::Configure;
constexpr auto ChangePassword = RunMode::ChangePassword;
constexpr auto Preview = RunMode::Preview;
constexpr auto Saver = RunMode::Saver;

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandLineTest,
    testing::Values(
        Case{"q.scr", Configure, 0, Source::Number}, Case{"q.scr ", Configure, 0, Source::Number},
        Case{"q.scr    ", Configure, 0, Source::Number}, Case{"q.scr /s", Saver, 0, Source::Number},
        Case{"q.scr -s", Saver, 0, Source::Number}, Case{"q.scr /S", Saver, 0, Source::Number},
        Case{"q.scr s", Saver, 0, Source::Number}, Case{"q.scr /s 1234", Saver, 0, Source::Number},
        Case{"q.scr /c", Configure, 0, Source::ForegroundWindow},
        Case{"q.scr /c  ::", Configure, 0, Source::ForegroundWindow},
        Case{"q.scr /c:1234", Configure, 1234, Source::Number},
        Case{"q.scr /c 1234", Configure, 1234, Source::Number},
        Case{"q.scr /c : 1234", Configure, 1234, Source::Number},
        Case{"q.scr /c1234", Configure, 1234, Source::Number},
        Case{"q.scr /C 1234", Configure, 1234, Source::Number},
        Case{"q.scr /cx", Configure, 0, Source::Number},
        Case{"q.scr /p 1234", Preview, 1234, Source::Number},
        Case{"q.scr /P:1234", Preview, 1234, Source::Number},
        Case{"q.scr /l 1234", Preview, 1234, Source::Number},
        Case{"q.scr /L 1234", Preview, 1234, Source::Number},
        Case{"q.scr p1234", Preview, 1234, Source::Number},
        Case{"q.scr /p", Preview, 0, Source::Number},
        Case{"q.scr /p scrprev", Preview, 0, Source::PreviewHost},
        Case{"q.scr /p:ScrPrev", Preview, 0, Source::PreviewHost},
        Case{"q.scr /p SCRPREV", Preview, 0, Source::PreviewHost},
        Case{"q.scr /l :: scrprev", Preview, 0, Source::PreviewHost},
        Case{"q.scr /p Scrprev", Preview, 0, Source::Number},
        Case{"q.scr /p scrprev x", Preview, 0, Source::Number},
        Case{"q.scr /p scrprev ", Preview, 0, Source::Number},
        Case{"q.scr /a 1234", ChangePassword, 1234, Source::Number},
        Case{"q.scr /a", ChangePassword, 0, Source::Number},
        Case{"q.scr /x", NoMode, 0, Source::Number}, Case{"q.scr /", NoMode, 0, Source::Number},
        Case{"q.scr -", NoMode, 0, Source::Number}, Case{"q.scr //s", NoMode, 0, Source::Number},
        Case{"q.scr 1234", NoMode, 0, Source::Number}));

INSTANTIATE_TEST_SUITE_P(
    ProgramPaths, CommandLineTest,
    testing::Values(Case{"\"C:\\Program Files\\q.scr\" /s", Saver, 0, Source::Number},
                    Case{"\"C:\\Program Files\\q.scr\"/p 77", Preview, 77, Source::Number},
                    Case{"\"Z:\\a b\\q.scr\" /p 1234", Preview, 1234, Source::Number},
                    // Without its closing quote the path takes the whole line.
                    Case{"\"C:\\Program Files\\q.scr /s", Configure, 0, Source::Number},
                    // Only a blank ends an unquoted path; a tab does not.
                    Case{"q.scr\t/s", Configure, 0, Source::Number},
                    Case{"q.scr \t/s", NoMode, 0, Source::Number},
                    Case{"", Configure, 0, Source::Number},
                    Case{"\"", Configure, 0, Source::Number}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, CommandLineTest,
    testing::Values(Case{"q.scr /p -5", Preview, -5, Source::Number},
                    Case{"q.scr /p +5", Preview, 5, Source::Number},
                    Case{"q.scr /p \t 12", Preview, 12, Source::Number},
                    Case{"q.scr /p 12ab34", Preview, 12, Source::Number},
                    Case{"q.scr /p 2147483647", Preview, 2147483647, Source::Number},
                    Case{"q.scr /p -2147483648", Preview, -2147483647 - 1, Source::Number},
                    // Beyond 32 bits the low 32 bits of the number are kept.
                    Case{"q.scr /p 4294967296", Preview, 0, Source::Number},
                    Case{"q.scr /p 4294967297", Preview, 1, Source::Number},
                    Case{"q.scr /p 2147483648", Preview, -2147483647 - 1, Source::Number},
                    Case{"q.scr /p 99999999999999999999999", Preview, -159383553, Source::Number},
                    Case{"q.scr /a -1", ChangePassword, -1, Source::Number}));

} // namespace
