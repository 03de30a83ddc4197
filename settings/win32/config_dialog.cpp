// Placeholder until the configuration dialog lands: Configure ends at once.

#include "platform/mode_handlers.h"

void showConfigDialog(WindowHandle) {}
