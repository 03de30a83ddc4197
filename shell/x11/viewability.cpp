#include "shell/x11/viewability.h"

bool isViewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

void watchAncestors(Display* display, Window window) {
    Window current = window;
    while (true) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, current, &root, &parent, &children, &count)) {
            return;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == 0 || parent == root) {
            return;
        }
        XSelectInput(display, parent, StructureNotifyMask);
        current = parent;
    }
}
