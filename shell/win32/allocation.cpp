// The program's heap without the C++ runtime's exceptions, which nothing here throws or catches.
// The runtime's own allocation failures throw, and linking them brings its whole exception
// machinery into the .scr: the unwinder, the demangler of its last words, formatted output and
// the thread library, some 150 KB. Running out of memory raises the platform's exception instead,
// which the crash filter sees, so the display is put back before the process ends.

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void outOfMemory() {
    RaiseException(STATUS_NO_MEMORY, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    std::abort(); // not reached: nothing continues a noncontinuable exception
}

void* allocate(std::size_t size) {
    void* memory = std::malloc(size != 0 ? size : 1);
    if (memory == nullptr) {
        outOfMemory();
    }
    return memory;
}

} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}

void* operator new[](std::size_t size) {
    return allocate(size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

// libstdc++'s containers call this when asked to grow beyond their largest size.
namespace std {
void __throw_length_error(const char*) {
    outOfMemory();
}
} // namespace std
