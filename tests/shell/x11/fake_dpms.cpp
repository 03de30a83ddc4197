// Preloaded into quillmesh by the end-to-end tests in place of libXext's DPMS calls, since no X
// server on the test machine offers DPMS (Xvfb has none): the display's power level is what the
// file named by QUILLMESH_FAKE_DPMS says, "off" or anything else for on.

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

#include <cstdlib>
#include <fstream>
#include <string>

Bool DPMSQueryExtension(Display*, int* eventBase, int* errorBase) {
    *eventBase = 0;
    *errorBase = 0;
    return True;
}

Bool DPMSCapable(Display*) {
    return True;
}

Status DPMSInfo(Display*, CARD16* level, BOOL* enabled) {
    std::string word;
    if (const char* path = std::getenv("QUILLMESH_FAKE_DPMS")) {
        std::ifstream(path) >> word;
    }
    *level = word == "off" ? DPMSModeOff : DPMSModeOn;
    *enabled = True;
    return 1;
}
