#include "shell/linux/termination_signals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t terminated = 0;
int wakePipe[2] = {-1, -1};

void onTerminationSignal(int) {
    terminated = 1;
    const char byte = 0;
    // Nothing to do if the pipe is full: one byte already wakes the wait.
    [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
}

} // namespace

void catchTerminationSignals() {
    if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakePipe[0] = wakePipe[1] = -1;
    }
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool terminationRequested() {
    return terminated != 0;
}

int terminationWakeFd() {
    return wakePipe[0];
}
