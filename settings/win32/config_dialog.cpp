// The configuration dialog: shows the loaded settings, keeps the record in step with every click
// and keystroke, and stores it on OK.

#include "settings/win32/config_dialog.h"

#include "platform/mode_handlers.h"
#include "settings/saver_settings.h"
#include "shell/win32/module_instance.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int configDialogTemplate = 2003;

enum ControlId : WORD {
    okButton = 1011,
    cancelButton = 1012,
    colour16 = 1035,
    colour24 = 1036, // labelled "32Bit"
    depth16 = 1037,
    depth24 = 1038,
    resolution640 = 1045,
    resolution1600 = 1050,
    stencilNoAlpha = 1051,
    alphaNoStencil = 1052,
    noStencilNoAlpha = 1053,
    wireframe = 1056,
    allOfThem = 1059,
    aboutButton = 1060,
    envMapBox = 1062,
    timerBox = 1063,
    dotSizeField = 1070,
    lineSizeField = 1071,
};

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
    {colour16, &SaverSettings::bitDepth, 16, nullptr, 0},
    {colour24, &SaverSettings::bitDepth, 24, nullptr, 0},
    {depth16, &SaverSettings::zBufferDepth, 16, nullptr, 0},
    {depth24, &SaverSettings::zBufferDepth, 24, nullptr, 0},
    {1045, &SaverSettings::resolutionX, 640, &SaverSettings::resolutionY, 480},
    {1046, &SaverSettings::resolutionX, 800, &SaverSettings::resolutionY, 600},
    {1047, &SaverSettings::resolutionX, 1024, &SaverSettings::resolutionY, 768},
    {1048, &SaverSettings::resolutionX, 1152, &SaverSettings::resolutionY, 864},
    {1049, &SaverSettings::resolutionX, 1280, &SaverSettings::resolutionY, 1024},
    {1050, &SaverSettings::resolutionX, 1600, &SaverSettings::resolutionY, 1200},
    {stencilNoAlpha, &SaverSettings::alphaDepth, 0, &SaverSettings::stencilDepth, 8},
    {alphaNoStencil, &SaverSettings::alphaDepth, 8, &SaverSettings::stencilDepth, 0},
    {noStencilNoAlpha, &SaverSettings::alphaDepth, 0, &SaverSettings::stencilDepth, 0},
    {1056, &SaverSettings::renderMode, 0, nullptr, 0},
    {1057, &SaverSettings::renderMode, 1, nullptr, 0},
    {1058, &SaverSettings::renderMode, 2, nullptr, 0},
    {1059, &SaverSettings::renderMode, 3, nullptr, 0},
};

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
        CheckRadioButton(dialog, stencilNoAlpha, noStencilNoAlpha, alphaNoStencil);
    } else if (saverSettings.alphaDepth == 0) {
        CheckRadioButton(dialog, stencilNoAlpha, noStencilNoAlpha,
                         saverSettings.stencilDepth != 0 ? stencilNoAlpha : noStencilNoAlpha);
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
    dotSizeEdit = GetDlgItem(dialog, dotSizeField);
    lineSizeEdit = GetDlgItem(dialog, lineSizeField);
    SendMessageA(dotSizeEdit, EM_LIMITTEXT, 8, 0);
    SendMessageA(lineSizeEdit, EM_LIMITTEXT, 8, 0);
    insertNumber(dotSizeEdit, saverSettings.dotSize);
    insertNumber(lineSizeEdit, saverSettings.lineSize);

    checkLoadedChoice(dialog, colour16, colour24);
    checkLoadedChoice(dialog, depth16, depth24);
    checkLoadedAlphaAndStencil(dialog);
    checkLoadedChoice(dialog, resolution640, resolution1600);
    checkLoadedSwitch(dialog, timerBox, saverSettings.timer);
    checkLoadedChoice(dialog, wireframe, allOfThem);
    checkLoadedSwitch(dialog, envMapBox, saverSettings.envMap);
}

// The field's number read as atoi reads it (white space, a sign, digits), or the fallback when it
// lies outside 1..largest.
std::int32_t fieldNumber(HWND edit, long largest, std::int32_t fallback) {
    // Twice the 8-character limit, since text set from outside may exceed it; the first word
    // tells EM_GETLINE how much fits, leaving one byte for the terminator it does not write.
    char text[17] = {};
    const WORD capacity = sizeof text - 1;
    std::memcpy(text, &capacity, sizeof capacity);
    const LRESULT count = SendMessageA(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(text));
    text[std::clamp<LRESULT>(count, 0, capacity)] = '\0';
    // strtol reads like atoi but saturates where atoi's overflow is undefined.
    const long number = std::strtol(text, nullptr, 10);
    return number >= 1 && number <= largest ? static_cast<std::int32_t>(number) : fallback;
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
    case okButton:
        store(dialog);
        return;
    case cancelButton:
    case IDCANCEL: // Escape and the close box
        EndDialog(dialog, 0);
        return;
    case aboutButton:
        MessageBoxA(dialog, "Quillmesh v.1.0b", "About Screensaver", MB_OK);
        return;
    case envMapBox: // flips the value, whatever the box shows
        toggle(saverSettings.envMap);
        return;
    case timerBox:
        toggle(saverSettings.timer);
        return;
    case dotSizeField:
        if (notification == EN_CHANGE) {
            saverSettings.dotSize = fieldNumber(dotSizeEdit, 20, 6);
        }
        return;
    case lineSizeField:
        if (notification == EN_CHANGE) {
            saverSettings.lineSize = fieldNumber(lineSizeEdit, 10, 4);
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
    DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(configDialogTemplate),
                    static_cast<HWND>(owner), configDialogProc, 0);
}
