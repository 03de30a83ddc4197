#include "shell/linux/event_wait.h"

#include "shell/linux/termination_signals.h"

#include <poll.h>

void waitForEvents(int connectionFd, std::optional<PaceClock::time_point> until) {
    timespec timeout{};
    if (until) {
        const auto remaining = *until - PaceClock::now();
        if (remaining <= PaceClock::duration::zero()) {
            return;
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(remaining);
        timeout = {static_cast<time_t>(seconds.count()),
                   static_cast<long>(std::chrono::nanoseconds(remaining - seconds).count())};
    }
    pollfd waits[2] = {{connectionFd, POLLIN, 0}, {terminationWakeFd(), POLLIN, 0}};
    ppoll(waits, 2, until ? &timeout : nullptr, nullptr);
}
