// A stand-in for a mouse in the end-to-end tests: a headless compositor has no input devices,
// so its seat offers clients no pointer. This makes one with wlroots' virtual pointer protocol
// and keeps it plugged in until a signal ends the program or the compositor goes; sway's "seat
// cursor" commands then move and click it.

#include "virtual_pointer-client-protocol.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;

void announce(void*, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && seat == nullptr) {
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

const wl_registry_listener registryListener = {announce, [](void*, wl_registry*, std::uint32_t) {}};

} // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fputs("plug_in_pointer: no Wayland display\n", stderr);
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (manager == nullptr) {
        std::fputs("plug_in_pointer: the compositor makes no virtual pointers\n", stderr);
        return 1;
    }
    zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    std::puts("plugged in");
    std::fflush(stdout);
    while (wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
