#pragma once

#include "platform/window_handle.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// A render output that records the swaps and the error questions instead of showing anything.
struct AskedQuestion {
    WindowHandle owner;
    std::string caption;

    bool operator==(const AskedQuestion&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const AskedQuestion& question) {
    return out << '"' << question.caption << "\" owned by " << question.owner;
}

inline int swapCount = 0;
inline std::vector<AskedQuestion> askedQuestions;
// Runs while the question is "open", the way a modal box keeps timer ticks drawing frames.
inline std::function<void()> whileAsking;
