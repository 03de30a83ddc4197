// Placeholder until the display loop lands: Preview and Saver end at once.

#include "platform/mode_handlers.h"

void runDisplayLoop(WindowHandle) {}
