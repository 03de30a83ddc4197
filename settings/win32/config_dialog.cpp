// The configuration dialog: shows the loaded settings, keeps the record in step with every click
// and keystroke, and stores it on OK.

#include "settings/win32/config_dialog.h"

#include "platform/mode_handlers.h"
#include "platform/win32/process_handles.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using Field = std::int32_t SaverSettings::*;

// A radio button and what it sets; some set a second field with the first.
struct Choice {
    WORD id;
    Field field;
    std::int32_t value;
    Field pairedField;
    std::int32_t pairedValue;
};

constexpr Choice choices[] = {
    {IDC_COLOUR_16, &SaverSettings::bitDepth, 16, nullptr, 0},
    {IDC_COLOUR_24, &SaverSettings::bitDepth, 24, nullptr, 0},
    {IDC_DEPTH_16, &SaverSettings::zBufferDepth, 16, nullptr, 0},
    {IDC_DEPTH_24, &SaverSettings::zBufferDepth, 24, nullptr, 0},
    {IDC_RESOLUTION_640, &SaverSettings::resolutionX, 640, &SaverSettings::resolutionY, 480},
    {IDC_RESOLUTION_800, &SaverSettings::resolutionX, 800, &SaverSettings::resolutionY, 600},
    {IDC_RESOLUTION_1024, &SaverSettings::resolutionX, 1024, &SaverSettings::resolutionY, 768},
    {IDC_RESOLUTION_1152, &SaverSettings::resolutionX, 1152, &SaverSettings::resolutionY, 864},
    {IDC_RESOLUTION_1280, &SaverSettings::resolutionX, 1280, &SaverSettings::resolutionY, 1024},
    {IDC_RESOLUTION_1600, &SaverSettings::resolutionX, 1600, &SaverSettings::resolutionY, 1200},
    {IDC_STENCIL_NO_ALPHA, &SaverSettings::alphaDepth, 0, &SaverSettings::stencilDepth, 8},
    {IDC_ALPHA_NO_STENCIL, &SaverSettings::alphaDepth, 8, &SaverSettings::stencilDepth, 0},
    {IDC_NO_STENCIL_NO_ALPHA, &SaverSettings::alphaDepth, 0, &SaverSettings::stencilDepth, 0},
    {IDC_WIREFRAME, &SaverSettings::renderMode, 0, nullptr, 0},
    {IDC_DOTTED, &SaverSettings::renderMode, 1, nullptr, 0},
    {IDC_TEXTURE_MAPPING, &SaverSettings::renderMode, 2, nullptr, 0},
    {IDC_ALL_OF_THEM, &SaverSettings::renderMode, 3, nullptr, 0},
};

// What a field outside its range stands for.
constexpr std::int32_t dotSizeFallback = 6;
constexpr std::int32_t lineSizeFallback = 4;

HWND dotSizeEdit = nullptr;
HWND lineSizeEdit = nullptr;

// Checks the button of first..last whose value the loaded field holds; none when no button has
// it. Only the choice's first field counts, so 800 x 480 checks "800x600".
void checkLoadedChoice(HWND dialog, WORD first, WORD last) {
    for (const Choice& choice : choices) {
        if (choice.id >= first && choice.id <= last &&
            saverSettings.*choice.field == choice.value) {
            CheckRadioButton(dialog, first, last, choice.id);
            return;
        }
    }
}

void checkLoadedAlphaAndStencil(HWND dialog) {
    if (saverSettings.alphaDepth == 8) {
        CheckRadioButton(dialog, IDC_STENCIL_NO_ALPHA, IDC_NO_STENCIL_NO_ALPHA,
                         IDC_ALPHA_NO_STENCIL);
    } else if (saverSettings.alphaDepth == 0) {
        CheckRadioButton(dialog, IDC_STENCIL_NO_ALPHA, IDC_NO_STENCIL_NO_ALPHA,
                         saverSettings.stencilDepth != 0 ? IDC_STENCIL_NO_ALPHA
                                                         : IDC_NO_STENCIL_NO_ALPHA);
    }
}

// Values other than 0 and 1 leave the box as created.
void checkLoadedSwitch(HWND dialog, WORD box, std::int32_t value) {
    if (value == 0 || value == 1) {
        CheckDlgButton(dialog, box, value == 1 ? BST_CHECKED : BST_UNCHECKED);
    }
}

// Replacing the empty selection raises EN_CHANGE, which applies the range fallback at once.
void insertNumber(HWND edit, std::int32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

void initialise(HWND dialog) {
    dotSizeEdit = GetDlgItem(dialog, IDC_DOT_SIZE);
    lineSizeEdit = GetDlgItem(dialog, IDC_LINE_SIZE);
    SendMessageA(dotSizeEdit, EM_LIMITTEXT, 8, 0);
    SendMessageA(lineSizeEdit, EM_LIMITTEXT, 8, 0);
    insertNumber(dotSizeEdit, saverSettings.dotSize);
    insertNumber(lineSizeEdit, saverSettings.lineSize);

    checkLoadedChoice(dialog, IDC_COLOUR_16, IDC_COLOUR_24);
    checkLoadedChoice(dialog, IDC_DEPTH_16, IDC_DEPTH_24);
    checkLoadedAlphaAndStencil(dialog);
    checkLoadedChoice(dialog, IDC_RESOLUTION_640, IDC_RESOLUTION_1600);
    checkLoadedSwitch(dialog, IDC_TIMER, saverSettings.timer);
    checkLoadedChoice(dialog, IDC_WIREFRAME, IDC_ALL_OF_THEM);
    checkLoadedSwitch(dialog, IDC_ENVMAP, saverSettings.envMap);
}

// The field's number read as atoi reads it (white space, a sign, digits), or the fallback when it
// lies outside the range.
std::int32_t fieldNumber(HWND edit, SizeRange range, std::int32_t fallback) {
    // Twice the 8-character limit, since text set from outside may exceed it; the first word
    // tells EM_GETLINE how much fits, leaving one byte for the terminator it does not write.
    char text[17] = {};
    const WORD capacity = sizeof text - 1;
    std::memcpy(text, &capacity, sizeof capacity);
    const LRESULT count = SendMessageA(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(text));
    text[std::clamp<LRESULT>(count, 0, capacity)] = '\0';
    // strtol reads like atoi but saturates where atoi's overflow is undefined.
    const long number = std::strtol(text, nullptr, 10);
    return number >= range.lowest && number <= range.highest ? static_cast<std::int32_t>(number)
                                                             : fallback;
}

void store(HWND dialog) {
    if (!writeSettings()) {
        MessageBoxA(dialog, "Die Einstellungen konnten nicht gespeichert werden.", "Quillmesh",
                    MB_OK | MB_ICONERROR);
    }
    EndDialog(dialog, 1);
}

void toggle(std::int32_t& value) {
    value = value == 0 ? 1 : 0;
}

void command(HWND dialog, WORD id, WORD notification) {
    switch (id) {
    case IDC_OK:
        store(dialog);
        return;
    case IDC_CANCEL:
    case IDCANCEL: // Escape and the close box
        EndDialog(dialog, 0);
        return;
    case IDC_ABOUT:
        MessageBoxA(dialog, "Quillmesh v.1.0b", "About Screensaver", MB_OK);
        return;
    case IDC_ENVMAP: // flips the value, whatever the box shows
        toggle(saverSettings.envMap);
        return;
    case IDC_TIMER:
        toggle(saverSettings.timer);
        return;
    case IDC_DOT_SIZE:
        if (notification == EN_CHANGE) {
            saverSettings.dotSize = fieldNumber(dotSizeEdit, dotSizeRange, dotSizeFallback);
        }
        return;
    case IDC_LINE_SIZE:
        if (notification == EN_CHANGE) {
            saverSettings.lineSize = fieldNumber(lineSizeEdit, lineSizeRange, lineSizeFallback);
        }
        return;
    default:
        break;
    }
    for (const Choice& choice : choices) {
        if (choice.id == id) {
            saverSettings.*choice.field = choice.value;
            if (choice.pairedField != nullptr) {
                saverSettings.*choice.pairedField = choice.pairedValue;
            }
            return;
        }
    }
}

} // namespace

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog);
        return TRUE;
    case WM_COMMAND:
        command(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        return TRUE;
    default:
        return FALSE;
    }
}

void showConfigDialog(WindowHandle owner) {
    DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(CONFIG_DIALOG), static_cast<HWND>(owner),
                    configDialogProc, 0);
}
