#pragma once

#include "platform/window_handle.h"
#include "platform/window_messages.h"

#include <cstdint>

// What the window procedure decides the end of a run from. One per run, owned by the entry.
class SaverState {
  public:
    // Fills the delay and the threshold from the platform's screen-saver key, or their defaults.
    void readPlatformValues();

    // Marks the close as the saver's own and queues a close for the window.
    void requestClose();

    // The cursor rule shows the arrow while the platform's password dialog is up.
    void beginPasswordCheck();

    // Hides the cursor again and measures later travel from where the cursor now is.
    void endPasswordCheck();

    // Measures later travel from where the cursor now is; the start tick stays.
    void retakeStartCursor();

    WindowHandle window = nullptr;
    std::int32_t passwordDelay = 0;  // seconds
    std::int32_t mouseThreshold = 0; // pixels along one axis
    CursorPosition startCursor;
    std::uint32_t startTick = 0; // milliseconds
    std::uint32_t timerId = 0;   // 0: no frame timer
    bool checkingPassword = false;
    bool closeRequested = false;
};

// The state of the current run, for the window procedure; null outside a run.
inline SaverState* saverState = nullptr;
