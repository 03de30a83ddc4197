#include "shell/win32/saver_display_mode.h"

#include "shell/win32/display_settings.h"

#include <cstddef>
#include <initializer_list>

namespace {

constexpr DWORD switchedModeFields =
    DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
constexpr DWORD fallbackBitsPerPixel = 32;

// The display-mode record in its 148-byte form, without the panning fields of later headers.
constexpr WORD displayModeRecordSize = offsetof(DEVMODEA, dmPanningWidth);
static_assert(displayModeRecordSize == 148);

// The current mode, with the mask of the fields the saver changes: whether the enumeration sets
// them is up to the driver, and a change without them in the mask does nothing.
DEVMODEA currentDisplayMode() {
    DEVMODEA mode{};
    mode.dmSize = displayModeRecordSize;
    mode.dmFields = switchedModeFields;
    readCurrentDisplayMode(mode);
    mode.dmFields |= switchedModeFields;
    return mode;
}

} // namespace

DisplayModeValues currentDisplayModeValues() {
    const DEVMODEA mode = currentDisplayMode();
    return {mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency};
}

bool applyDisplayMode(const DisplayModeValues& values, DWORD flags) {
    DEVMODEA mode = currentDisplayMode();
    mode.dmPelsWidth = values.width;
    mode.dmPelsHeight = values.height;
    mode.dmBitsPerPel = values.bitsPerPixel;
    mode.dmDisplayFrequency = values.frequency;
    return changeDisplayMode(mode, flags) == DISP_CHANGE_SUCCESSFUL;
}

// CDS_FULLSCREEN makes the change temporary: the platform itself undoes it should the process
// end on a path that skips ours.
ModeSwitch switchToSaverMode(const DisplayModeValues& current, DWORD width, DWORD height,
                             DWORD bitsPerPixel) {
    ModeSwitch result{false, false};
    for (const DWORD bits : {bitsPerPixel, fallbackBitsPerPixel}) {
        if (applyDisplayMode({width, height, bits, current.frequency}, CDS_FULLSCREEN)) {
            result.changed = true;
            const DisplayModeValues now = currentDisplayModeValues();
            if (now.width == width && now.height == height) {
                result.inSaverMode = true;
                return result;
            }
        }
        if (bits == fallbackBitsPerPixel) {
            break; // the same mode is not asked for twice
        }
    }
    return result;
}
