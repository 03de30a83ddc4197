#pragma once

#include <cstdint>

// Milliseconds since the system started, wrapping every 49.7 days. Its own unit, so that tests of
// the password delay can link a clock they set.
std::uint32_t currentTickCount();
