#include "shell/win32/tick_count.h"

#include <windows.h>

std::uint32_t currentTickCount() {
    return GetTickCount();
}
