#pragma once

#include <X11/Xlib.h>

// A window can be seen only while it and every window it lies in are mapped.
bool isViewable(Display* display, Window window);

// A window made by somebody else becomes unviewable when one of the windows it lies in is
// unmapped, which the window itself is not told. Asks for the structure events of each of those
// (up to the root), where Map, Unmap and Reparent say that viewability may have changed.
void watchAncestors(Display* display, Window window);
