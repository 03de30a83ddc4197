// Input for the end-to-end tests on KWin, whose virtual outputs come without input devices:
// KDE's fake-input protocol plugs in a device that moves the pointer, presses buttons and keys.
// Reads one command a line from standard input and answers each with "done" once KWin has it:
//   move DX DY    relative pointer motion in logical pixels
//   button CODE   a press and release of a Linux button code (272 is the left button)
//   key CODE      a press and release of a Linux key code (1 is Escape)

#include "fake-input-client-protocol.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {

org_kde_kwin_fake_input* fakeInput = nullptr;

void announce(void*, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0) {
        // Version 4 brings the keys.
        fakeInput = static_cast<org_kde_kwin_fake_input*>(wl_registry_bind(
            registry, name, &org_kde_kwin_fake_input_interface, std::min(version, 4u)));
    }
}

const wl_registry_listener registryListener = {announce, [](void*, wl_registry*, std::uint32_t) {}};

constexpr std::uint32_t released = 0;
constexpr std::uint32_t pressed = 1;

bool send(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "move") {
        double dx = 0;
        double dy = 0;
        words >> dx >> dy;
        org_kde_kwin_fake_input_pointer_motion(fakeInput, wl_fixed_from_double(dx),
                                               wl_fixed_from_double(dy));
        return !words.fail();
    }
    std::uint32_t code = 0;
    words >> code;
    if (words.fail()) {
        return false;
    }
    if (command == "button") {
        org_kde_kwin_fake_input_button(fakeInput, code, pressed);
        org_kde_kwin_fake_input_button(fakeInput, code, released);
        return true;
    }
    if (command == "key") {
        org_kde_kwin_fake_input_keyboard_key(fakeInput, code, pressed);
        org_kde_kwin_fake_input_keyboard_key(fakeInput, code, released);
        return true;
    }
    return false;
}

} // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fputs("send_fake_input: no Wayland display\n", stderr);
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (fakeInput == nullptr) {
        std::fputs("send_fake_input: the compositor offers no fake input\n", stderr);
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fakeInput, "Quillmesh tests", "end-to-end input");
    wl_display_roundtrip(display);
    std::cout << "plugged in" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        if (!send(line)) {
            std::cerr << "send_fake_input: not understood: " << line << '\n';
            return 2;
        }
        if (wl_display_roundtrip(display) < 0) {
            std::fputs("send_fake_input: the compositor went away\n", stderr);
            return 1;
        }
        std::cout << "done" << std::endl;
    }
    return 0;
}
