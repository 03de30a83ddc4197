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

LONG WINAPI reportToStandardError(EXCEPTION_POINTERS* crash) {
    std::fprintf(stderr, "crash filter: %08lx\n", crash->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    return EXCEPTION_CONTINUE_SEARCH;
}

// More than any address space holds, and kept, so that the compiler cannot leave the allocation
// out.
volatile std::size_t impossibleSize = SIZE_MAX / 4;
void* volatile allocated = nullptr;

const auto endedByOutOfMemory = testing::ExitedWithCode(static_cast<int>(STATUS_NO_MEMORY));
constexpr char filterSawOutOfMemory[] = "crash filter: c0000017";

TEST(AllocationDeathTest, AnAllocationThatCannotBeMetReachesTheCrashFilter) {
    EXPECT_EXIT(
        {
            SetUnhandledExceptionFilter(reportToStandardError);
            allocated = ::operator new(impossibleSize);
        },
        endedByOutOfMemory, filterSawOutOfMemory);
    EXPECT_EXIT(
        {
            SetUnhandledExceptionFilter(reportToStandardError);
            allocated = new char[impossibleSize];
        },
        endedByOutOfMemory, filterSawOutOfMemory);
}

TEST(AllocationDeathTest, AContainerGrownBeyondItsLargestSizeReachesTheCrashFilter) {
    EXPECT_EXIT(
        {
            SetUnhandledExceptionFilter(reportToStandardError);
            std::vector<char> bytes;
            bytes.reserve(bytes.max_size() + 1);
        },
        endedByOutOfMemory, filterSawOutOfMemory);
}

} // namespace
