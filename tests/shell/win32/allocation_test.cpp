// Running out of memory without the C++ runtime's exceptions: the platform's out-of-memory
// exception ends the process, and the crash filter, which puts the display back, sees it first.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <new>
#include <vector>

namespace {

// Ends the process with the exception's code at once: with no debugger started, the crash
// leaves nothing behind in the session for the tests that follow.
LONG WINAPI reportToStandardError(EXCEPTION_POINTERS* crash) {
    std::fprintf(stderr, "crash filter: %08lx\n", crash->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

// More than any address space holds, and kept, so that the compiler cannot leave the allocation
// out.
volatile std::size_t impossibleSize = SIZE_MAX / 4;
void* volatile allocated = nullptr;

TEST(AllocationDeathTest, MemoryThatCannotBeHadReachesTheCrashFilter) {
    const auto crashesWithoutMemory = [](void (*exhaust)()) {
        EXPECT_EXIT(
            {
                SetUnhandledExceptionFilter(reportToStandardError);
                exhaust();
            },
            testing::ExitedWithCode(static_cast<int>(STATUS_NO_MEMORY)), "crash filter: c0000017");
    };
    crashesWithoutMemory([] { allocated = ::operator new(impossibleSize); });
    crashesWithoutMemory([] { allocated = new char[impossibleSize]; });
    crashesWithoutMemory([] { std::vector<char>().reserve(std::vector<char>().max_size() + 1); });
}

} // namespace
