#include "shell/wayland/seat_input.h"

#include "relative-pointer-unstable-v1-client-protocol.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-cursor.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

SeatInput& self(void* data) {
    return *static_cast<SeatInput*>(data);
}

std::int32_t pixel(wl_fixed_t coordinate) {
    return static_cast<std::int32_t>(std::floor(wl_fixed_to_double(coordinate)));
}

} // namespace

const wl_seat_listener SeatInput::seatListener = {
    [](void* data, wl_seat*, std::uint32_t capabilities) {
        self(data).capabilitiesChanged(capabilities);
    },
    [](void*, wl_seat*, const char*) {},
};

const wl_keyboard_listener SeatInput::keyboardListener = {
    [](void* data, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t size) {
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
            self(data).keymapGiven(fd, size);
        }
        close(fd);
    },
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*) {
        SeatInput& input = self(data);
        if (input.surfaces_.contains(surface)) {
            input.focused_ = surface;
            input.focusLossDue_.reset();
            input.closing_.focusGained();
        }
    },
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface* surface) {
        SeatInput& input = self(data);
        if (surface == input.focused_) {
            input.focused_ = nullptr;
            input.focusLeft_ = true;
        }
    },
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
       std::uint32_t state) {
        if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
            self(data).keyPressed(key);
        }
    },
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
       std::uint32_t locked, std::uint32_t group) {
        if (xkb_state* keys = self(data).keyState_) {
            xkb_state_update_mask(keys, depressed, latched, locked, 0, 0, group);
        }
    },
    [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
};

const wl_pointer_listener SeatInput::pointerListener = {
    [](void* data, wl_pointer*, std::uint32_t serial, wl_surface* surface, wl_fixed_t x,
       wl_fixed_t y) { self(data).pointerEntered(serial, surface, x, y); },
    [](void* data, wl_pointer*, std::uint32_t, wl_surface*) {
        SeatInput& input = self(data);
        input.pointerLeft_ = input.pointerOver_;
        input.pointerOver_ = nullptr;
    },
    [](void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
        self(data).pointerAt(x, y);
    },
    [](void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t state) {
        if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
            self(data).closing_.buttonPressed();
        }
    },
    // A wheel turned counts as a button, as on X11, where the wheel is buttons 4 to 7.
    [](void* data, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {
        self(data).closing_.buttonPressed();
    },
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
};

// Relative motion carries the accelerated delta: how far the pointer moved, which is what
// positions measure too; the unaccelerated one is the device's, before the pointer's speed.
const zwp_relative_pointer_v1_listener relativeMotion = {
    [](void* data, zwp_relative_pointer_v1*, std::uint32_t, std::uint32_t, wl_fixed_t dx,
       wl_fixed_t dy, wl_fixed_t, wl_fixed_t) {
        static_cast<PointerTravel*>(data)->movedBy(wl_fixed_to_double(dx), wl_fixed_to_double(dy));
    },
};

const wl_callback_listener SeatInput::focusCheckListener = {
    [](void* data, wl_callback* callback, std::uint32_t) {
        wl_callback_destroy(callback);
        self(data).focusCheck_ = nullptr;
        self(data).focusChecked();
    },
};

SeatInput::SeatInput(const WaylandDisplay& wayland, bool fullScreen, std::int32_t mouseThreshold)
    : wayland_(wayland), fullScreen_(fullScreen), closing_(mouseThreshold),
      xkb_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    if (wayland.seatName != 0) {
        seat_ = static_cast<wl_seat*>(wl_registry_bind(wayland.registry, wayland.seatName,
                                                       &wl_seat_interface,
                                                       std::min(wayland.seatVersion, 4u)));
        wl_seat_add_listener(seat_, &seatListener, this);
    }
}

SeatInput::~SeatInput() {
    capabilitiesChanged(0);
    if (focusCheck_ != nullptr) {
        wl_callback_destroy(focusCheck_);
    }
    if (cursorSurface_ != nullptr) {
        wl_surface_destroy(cursorSurface_);
    }
    if (cursorTheme_ != nullptr) {
        wl_cursor_theme_destroy(cursorTheme_);
    }
    xkb_state_unref(keyState_);
    xkb_keymap_unref(keymap_);
    xkb_context_unref(xkb_);
    if (seat_ != nullptr) {
        wl_seat_destroy(seat_);
    }
}

void SeatInput::addSurface(wl_surface* surface, CursorPosition origin) {
    surfaces_[surface] = origin;
}

void SeatInput::removeSurface(wl_surface* surface) {
    surfaces_.erase(surface);
    if (pointerOver_ == surface) {
        pointerOver_ = nullptr;
    }
    if (pointerLeft_ == surface) {
        pointerLeft_ = nullptr;
    }
    if (focused_ == surface) {
        focused_ = nullptr;
        focusLeft_ = true;
    }
}

void SeatInput::eventsDispatched() {
    if (const std::optional<CursorPosition> position = travel_.batchEnded()) {
        closing_.pointerAt(*position);
    }
    if (focusLeft_ && focused_ == nullptr && focusCheck_ == nullptr) {
        focusCheck_ = wl_display_sync(wayland_.display);
        wl_callback_add_listener(focusCheck_, &focusCheckListener, this);
    }
    focusLeft_ = false;
    if (focusLossDue_ && PaceClock::now() >= *focusLossDue_) {
        focusLossDue_.reset();
        if (focused_ == nullptr && keyboard_ != nullptr) {
            closing_.focusLost();
        }
    }
}

// A compositor that is shutting down still answers for a moment after its leave (mutter and
// KWin do): the focus counts as lost only if the connection outlives that moment too.
void SeatInput::focusChecked() {
    if (focused_ == nullptr && keyboard_ != nullptr) {
        focusLossDue_ = PaceClock::now() + std::chrono::milliseconds(500);
    }
}

void SeatInput::capabilitiesChanged(std::uint32_t capabilities) {
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (keyboard && keyboard_ == nullptr) {
        keyboard_ = wl_seat_get_keyboard(seat_);
        wl_keyboard_add_listener(keyboard_, &keyboardListener, this);
    } else if (!keyboard && keyboard_ != nullptr) {
        // The last keyboard went away: no focus was lost to anybody.
        wl_keyboard_release(keyboard_);
        keyboard_ = nullptr;
        focused_ = nullptr;
        focusLeft_ = false;
    }
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (pointer && pointer_ == nullptr) {
        pointer_ = wl_seat_get_pointer(seat_);
        wl_pointer_add_listener(pointer_, &pointerListener, this);
        if (fullScreen_ && wayland_.relativePointers != nullptr) {
            relativePointer_ = zwp_relative_pointer_manager_v1_get_relative_pointer(
                wayland_.relativePointers, pointer_);
            zwp_relative_pointer_v1_add_listener(relativePointer_, &relativeMotion, &travel_);
        }
    } else if (!pointer && pointer_ != nullptr) {
        if (relativePointer_ != nullptr) {
            zwp_relative_pointer_v1_destroy(relativePointer_);
            relativePointer_ = nullptr;
        }
        wl_pointer_release(pointer_);
        pointer_ = nullptr;
        pointerOver_ = nullptr;
    }
}

void SeatInput::keymapGiven(int fd, std::uint32_t size) {
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text == MAP_FAILED) {
        return;
    }
    xkb_keymap* keymap =
        xkb_keymap_new_from_string(xkb_, static_cast<const char*>(text), XKB_KEYMAP_FORMAT_TEXT_V1,
                                   XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (keymap == nullptr) {
        return;
    }
    xkb_state_unref(keyState_);
    xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    keyState_ = xkb_state_new(keymap);
}

void SeatInput::keyPressed(std::uint32_t key) {
    // Wayland's key codes are the kernel's; xkb's are 8 higher, as in X.
    const xkb_keysym_t symbol =
        keyState_ != nullptr ? xkb_state_key_get_one_sym(keyState_, key + 8) : XKB_KEY_NoSymbol;
    escapePressed_ |= symbol == XKB_KEY_Escape;
    closing_.keyPressed();
}

void SeatInput::pointerEntered(std::uint32_t serial, wl_surface* surface, wl_fixed_t x,
                               wl_fixed_t y) {
    // Decorations are surfaces of ours too, but their cursor is libdecor's.
    if (!surfaces_.contains(surface)) {
        return;
    }
    pointerOver_ = surface;
    if (fullScreen_) {
        wl_pointer_set_cursor(pointer_, serial, nullptr, 0, 0);
    } else {
        showArrow(serial);
    }
    if (surface == pointerLeft_) {
        const CursorPosition origin = surfaces_[surface];
        travel_.reenteredAt({origin.x + pixel(x), origin.y + pixel(y)});
        return;
    }
    pointerAt(x, y);
}

void SeatInput::pointerAt(wl_fixed_t x, wl_fixed_t y) {
    if (pointerOver_ == nullptr) {
        return;
    }
    const CursorPosition origin = surfaces_[pointerOver_];
    travel_.positionAt({origin.x + pixel(x), origin.y + pixel(y)});
}

// The compositor leaves the pointer's picture to the client whose surface it enters.
void SeatInput::showArrow(std::uint32_t serial) {
    if (cursorTheme_ == nullptr && wayland_.shm != nullptr) {
        const char* size = std::getenv("XCURSOR_SIZE");
        const int pixels = size != nullptr && std::atoi(size) > 0 ? std::atoi(size) : 24;
        cursorTheme_ = wl_cursor_theme_load(std::getenv("XCURSOR_THEME"), pixels, wayland_.shm);
        cursorSurface_ = wl_compositor_create_surface(wayland_.compositor);
    }
    wl_cursor* arrow = nullptr;
    for (const char* name : {"default", "left_ptr"}) {
        if (arrow == nullptr && cursorTheme_ != nullptr) {
            arrow = wl_cursor_theme_get_cursor(cursorTheme_, name);
        }
    }
    if (arrow == nullptr || arrow->image_count == 0) {
        return;
    }
    wl_cursor_image* image = arrow->images[0];
    wl_surface_attach(cursorSurface_, wl_cursor_image_get_buffer(image), 0, 0);
    wl_surface_damage(cursorSurface_, 0, 0, static_cast<std::int32_t>(image->width),
                      static_cast<std::int32_t>(image->height));
    wl_surface_commit(cursorSurface_);
    wl_pointer_set_cursor(pointer_, serial, cursorSurface_,
                          static_cast<std::int32_t>(image->hotspot_x),
                          static_cast<std::int32_t>(image->hotspot_y));
}
