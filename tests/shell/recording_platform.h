#pragma once

#include "platform/window_messages.h"
#include "settings/saver_settings.h"

#include <string>
#include <vector>

// A platform that records what the portable shell asks of it.
struct RecordedCall {
    std::string what;
    WindowHandle window;

    bool operator==(const RecordedCall&) const = default;
};

inline std::vector<RecordedCall> recordedCalls;
inline CursorPosition reportedCursor;
inline WindowHandle reportedForegroundWindow = nullptr;
inline WindowHandle reportedPreviewHost = nullptr;
inline SaverSettings settingsSeenByHandler{};
