#pragma once

#include "shell/linux/frame_pacer.h"
#include "shell/linux/fullscreen_closing.h"
#include "shell/wayland/pointer_travel.h"
#include "shell/wayland/wayland_display.h"

#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <map>
#include <optional>

struct wl_cursor_theme;
struct zwp_relative_pointer_v1;

// The seat's keyboard and pointer over our surfaces. In a window Escape ends the run and the
// pointer shows an arrow; full screen, the closing rules decide and the pointer shows nothing.
// Devices may come and go while it runs (a keyboard plugged in, a virtual one).
class SeatInput {
  public:
    SeatInput(const WaylandDisplay& wayland, bool fullScreen, std::int32_t mouseThreshold);
    ~SeatInput();
    SeatInput(const SeatInput&) = delete;
    SeatInput& operator=(const SeatInput&) = delete;

    // One of ours, and where its top left corner lies in the compositor's space.
    void addSurface(wl_surface* surface, CursorPosition origin);
    // Before it is destroyed. A keyboard focus it held must come to another of ours.
    void removeSurface(wl_surface* surface);

    // After each batch of events: where the pointer travelled, and whether the keyboard left
    // ours for good. A leave is loss of focus only once the compositor has answered after it and
    // is still there a moment later: one that sends a leave as it goes away has not given the
    // focus to anybody.
    void eventsDispatched();
    // When eventsDispatched has a decision to make without any event: none, or that moment's end.
    std::optional<PaceClock::time_point> nextDecision() const { return focusLossDue_; }

    bool closed() const { return fullScreen_ ? closing_.closed() : escapePressed_; }

  private:
    static const wl_seat_listener seatListener;
    static const wl_keyboard_listener keyboardListener;
    static const wl_pointer_listener pointerListener;
    static const wl_callback_listener focusCheckListener;

    void capabilitiesChanged(std::uint32_t capabilities);
    void keymapGiven(int fd, std::uint32_t size);
    void keyPressed(std::uint32_t key);
    void pointerEntered(std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y);
    void pointerAt(wl_fixed_t x, wl_fixed_t y);
    void focusChecked();
    void showArrow(std::uint32_t serial);

    const WaylandDisplay& wayland_;
    wl_seat* seat_ = nullptr; // none on a compositor without a seat
    bool fullScreen_;
    FullScreenClosing closing_;
    PointerTravel travel_;
    bool escapePressed_ = false;
    std::map<wl_surface*, CursorPosition> surfaces_;

    wl_keyboard* keyboard_ = nullptr;
    xkb_context* xkb_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* keyState_ = nullptr;
    wl_surface* focused_ = nullptr;
    bool focusLeft_ = false;
    wl_callback* focusCheck_ = nullptr; // the compositor's answer after a leave
    std::optional<PaceClock::time_point> focusLossDue_;

    wl_pointer* pointer_ = nullptr;
    zwp_relative_pointer_v1* relativePointer_ = nullptr; // full screen, where offered
    wl_surface* pointerOver_ = nullptr;
    wl_surface* pointerLeft_ = nullptr; // the one it last left
    wl_cursor_theme* cursorTheme_ = nullptr;
    wl_surface* cursorSurface_ = nullptr;
};
