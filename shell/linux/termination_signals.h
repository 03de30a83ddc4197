#pragma once

// SIGTERM and SIGINT end the program cleanly: the handler only records them and wakes the loop.

void catchTerminationSignals();

bool terminationRequested();

// Readable once a termination signal has arrived, so that a wait on it wakes at once.
int terminationWakeFd();
