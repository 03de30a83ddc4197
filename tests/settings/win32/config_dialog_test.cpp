// The configuration dialog shown modally from its real template, worked from a second thread the
// way a user works it: button clicks, text put into the fields, Escape and the close box. The
// record, the dialog's result and the registry tell what it did.

#include "resources/resource_ids.h"
#include "settings/saver_settings.h"
#include "settings/win32/config_dialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr const char* dialogCaption = "Quillmesh v1.0b written by Brisco Halvorn";
constexpr const char* productKeyPath = "Software\\Halvorn\\Brisco's Quillmesh";

enum : WORD {
    ok = IDC_OK,
    cancel = IDC_CANCEL,
    colour16 = IDC_COLOUR_16,
    colour32 = IDC_COLOUR_24,
    depth16 = IDC_DEPTH_16,
    depth24 = IDC_DEPTH_24,
    stencilNoAlpha = IDC_STENCIL_NO_ALPHA,
    alphaNoStencil = IDC_ALPHA_NO_STENCIL,
    noStencilNoAlpha = IDC_NO_STENCIL_NO_ALPHA,
    about = IDC_ABOUT,
    envMap = IDC_ENVMAP,
    timer = IDC_TIMER,
    dotSize = IDC_DOT_SIZE,
    lineSize = IDC_LINE_SIZE,
};

// Every button that shows a choice, in template order.
// clang-format off
const std::vector<WORD> choiceButtons{
    colour16, colour32, depth16, depth24, IDC_RESOLUTION_640, IDC_RESOLUTION_800,
    IDC_RESOLUTION_1024, IDC_RESOLUTION_1152, IDC_RESOLUTION_1280, IDC_RESOLUTION_1600,
    stencilNoAlpha, alphaNoStencil, noStencilNoAlpha, IDC_WIREFRAME, IDC_DOTTED,
    IDC_TEXTURE_MAPPING, IDC_ALL_OF_THEM, envMap, timer};
// clang-format on

bool sameSettings(const SaverSettings& a, const SaverSettings& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string describe(const SaverSettings& s) {
    std::string text;
    for (const StoredSetting& setting : storedSettings) {
        text += std::string(setting.name) + '=' + std::to_string(s.*setting.field) + ' ';
    }
    return text;
}

// --- the registry, read and written directly --------------------------------------------------

void deleteProductKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, productKeyPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, productKeyPath);
}

void storeDirectly(const SaverSettings& values) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, productKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const StoredSetting& setting : storedSettings) {
        const DWORD data = static_cast<DWORD>(values.*setting.field);
        RegSetValueExA(key, setting.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                       sizeof data);
    }
    RegCloseKey(key);
}

// The stored values when the key exists; each must be a REG_DWORD and there must be no others.
std::optional<SaverSettings> storedValues() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, productKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    SaverSettings values{};
    DWORD valueCount = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                     nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(valueCount, storedSettings.size());
    for (const StoredSetting& setting : storedSettings) {
        DWORD type = 0;
        DWORD data = 0;
        DWORD size = sizeof data;
        EXPECT_EQ(RegQueryValueExA(key, setting.name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(&data), &size),
                  ERROR_SUCCESS)
            << setting.name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << setting.name;
        values.*setting.field = static_cast<std::int32_t>(data);
    }
    RegCloseKey(key);
    return values;
}

// --- working the dialog from outside ------------------------------------------------------------

HWND waitForDialogBox(const char* caption) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < deadline) {
        // Shown only once WM_INITDIALOG has run.
        const HWND window = FindWindowA("#32770", caption);
        if (window != nullptr && IsWindowVisible(window)) {
            return window;
        }
        std::this_thread::sleep_for(10ms);
    }
    return nullptr;
}

bool waitUntilGone(HWND window) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (IsWindow(window)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// Sent clicks return when the dialog has answered them.
void click(HWND dialog, WORD id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Posted, for buttons that open a message box or end the dialog.
void clickPosted(HWND dialog, WORD id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool isChecked(HWND dialog, WORD id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void replaceFieldText(HWND dialog, WORD id, const char* text) {
    const HWND field = GetDlgItem(dialog, id);
    SendMessageA(field, EM_SETSEL, 0, -1);
    SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

void typeAtEnd(HWND dialog, WORD id, const char* text) {
    const HWND field = GetDlgItem(dialog, id);
    const LRESULT end = GetWindowTextLengthA(field);
    SendMessageA(field, EM_SETSEL, end, end);
    SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

std::string fieldText(HWND dialog, WORD id) {
    char text[64] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

struct MessageBoxLook {
    HWND owner = nullptr;
    std::string text;
    std::vector<std::string> buttons; // the visible ones
    bool errorIcon = false;
    bool anyIcon = false;
};

MessageBoxLook lookAt(HWND box) {
    MessageBoxLook look;
    look.owner = GetWindow(box, GW_OWNER);
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text); // the platform's message text control
    look.text = text;
    const HICON errorIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32513)); // IDI_ERROR
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Button") == 0) {
            GetWindowTextA(child, text, sizeof text);
            look.buttons.emplace_back(text);
        } else if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            const auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            look.anyIcon |= icon != nullptr;
            look.errorIcon |= icon == errorIcon;
        }
    }
    return look;
}

void closeMessageBox(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntilGone(box));
}

struct DialogRun {
    INT_PTR result;
    bool appeared;
    bool leftOpen; // the work did not end it; the driver cancelled it
};

// Shows dialog 2003 modally on this thread, as the entry does, while `work` drives it from
// another. `work` is expected to end the dialog. It may use EXPECT but not SCOPED_TRACE: a trace
// makes GoogleTest watch the thread on Windows, and that watcher can crash the program's exit.
DialogRun runDialog(const std::function<void(HWND)>& work) {
    DialogRun run{-1, false, false};
    std::thread driver([&] {
        const HWND dialog = waitForDialogBox(dialogCaption);
        run.appeared = dialog != nullptr;
        if (dialog == nullptr) {
            return;
        }
        work(dialog);
        if (!waitUntilGone(dialog)) {
            run.leftOpen = true;
            DWORD process = 0;
            EnumThreadWindows(
                GetWindowThreadProcessId(dialog, &process),
                [](HWND window, LPARAM dialogWindow) {
                    if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(dialogWindow)) {
                        PostMessageA(window, WM_COMMAND, IDOK, 0);
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(dialog));
            PostMessageA(dialog, WM_COMMAND, cancel, 0);
        }
    });
    run.result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(CONFIG_DIALOG),
                                 nullptr, configDialogProc, 0);
    driver.join();
    return run;
}

void expectEndedWith(const DialogRun& run, INT_PTR result) {
    EXPECT_TRUE(run.appeared);
    EXPECT_FALSE(run.leftOpen);
    EXPECT_EQ(run.result, result);
}

class ConfigDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        deleteProductKey();
        saverSettings = defaultSettings;
    }
    void TearDown() override { deleteProductKey(); }
};

// --- what the dialog shows of the loaded record, and what OK stores of it ------------------------

struct LoadCase {
    const char* name;
    SaverSettings loaded;
    std::vector<WORD> checked;
    const char* dotSizeText;
    const char* lineSizeText;
    SaverSettings stored; // after OK without any change
};

std::ostream& operator<<(std::ostream& out, const LoadCase& c) {
    return out << c.name;
}

class ConfigDialogLoadTest : public ConfigDialogTest,
                             public testing::WithParamInterface<LoadCase> {};

TEST_P(ConfigDialogLoadTest, ShowsTheLoadedRecordAndOkStoresItWithTheSizeFallbacks) {
    const LoadCase& c = GetParam();
    saverSettings = c.loaded;
    SaverSettings afterInit{};
    const DialogRun run = runDialog([&](HWND dialog) {
        afterInit = saverSettings;
        for (const WORD id : choiceButtons) {
            const bool expected =
                std::find(c.checked.begin(), c.checked.end(), id) != c.checked.end();
            EXPECT_EQ(isChecked(dialog, id), expected) << "button " << id;
        }
        EXPECT_EQ(fieldText(dialog, dotSize), c.dotSizeText);
        EXPECT_EQ(fieldText(dialog, lineSize), c.lineSizeText);
        clickPosted(dialog, ok);
    });
    expectEndedWith(run, 1);
    EXPECT_TRUE(sameSettings(afterInit, c.stored)) << describe(afterInit);
    const std::optional<SaverSettings> stored = storedValues();
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(sameSettings(*stored, c.stored)) << describe(*stored);
}

INSTANTIATE_TEST_SUITE_P(
    Records, ConfigDialogLoadTest,
    testing::Values(
        LoadCase{"Defaults",
                 defaultSettings,
                 {colour16, depth16, alphaNoStencil, IDC_RESOLUTION_800, IDC_WIREFRAME},
                 "8",
                 "2",
                 defaultSettings},
        LoadCase{"TheOtherChoices",
                 {1600, 1200, 24, 24, 0, 8, 3, 1, 1, 10, 20},
                 {colour32, depth24, stencilNoAlpha, IDC_RESOLUTION_1600, IDC_ALL_OF_THEM, envMap,
                  timer},
                 "20",
                 "10",
                 {1600, 1200, 24, 24, 0, 8, 3, 1, 1, 10, 20}},
        // Only the width chooses the resolution button; the height stays as loaded.
        LoadCase{"WidthAloneChoosesTheResolution",
                 {800, 480, 16, 16, 0, 0, 2, 0, 0, 1, 1},
                 {colour16, depth16, noStencilNoAlpha, IDC_RESOLUTION_800, IDC_TEXTURE_MAPPING},
                 "1",
                 "1",
                 {800, 480, 16, 16, 0, 0, 2, 0, 0, 1, 1}},
        // Alpha 8 is "8Bit Alpha no Stencil" whatever the stencil holds.
        LoadCase{"AlphaEightIgnoresTheStencil",
                 {640, 480, 24, 16, 8, 8, 1, 0, 0, 3, 7},
                 {colour32, depth16, alphaNoStencil, IDC_RESOLUTION_640, IDC_DOTTED},
                 "7",
                 "3",
                 {640, 480, 24, 16, 8, 8, 1, 0, 0, 3, 7}},
        // Values no button offers check nothing and are stored unchanged; the sizes out
        // of range show as loaded but hold their fallbacks from the start.
        LoadCase{"UnofferedValuesCheckNothing",
                 {1000, 700, 32, 32, 4, 8, 7, 5, 5, 0, 50},
                 {},
                 "50",
                 "0",
                 {1000, 700, 32, 32, 4, 8, 7, 5, 5, 4, 6}},
        LoadCase{"NegativeSizes",
                 {1280, 1024, 16, 16, 8, 0, 0, 0, 0, -5, -1},
                 {colour16, depth16, alphaNoStencil, IDC_RESOLUTION_1280, IDC_WIREFRAME},
                 "-1",
                 "-5",
                 {1280, 1024, 16, 16, 8, 0, 0, 0, 0, 4, 6}}),
    [](const testing::TestParamInfo<LoadCase>& row) { return row.param.name; });

// TRUE for what the procedure handles and for every command, FALSE for the rest, which the
// platform's default dialog handling then takes.
TEST_F(ConfigDialogTest, AnswersTrueForItsMessagesAndFalseForTheRest) {
    const HWND dialog = CreateDialogParamA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(CONFIG_DIALOG), nullptr, configDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(configDialogProc(dialog, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, 9999, 0), TRUE);
    // Of the fields' notifications only EN_CHANGE reads them; the field shows 8.
    saverSettings.dotSize = 15;
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, MAKEWPARAM(dotSize, EN_SETFOCUS), 0), TRUE);
    EXPECT_EQ(saverSettings.dotSize, 15);
    EXPECT_EQ(configDialogProc(dialog, WM_DESTROY, 0, 0), TRUE);
    for (const UINT other : {WM_CLOSE, WM_KEYDOWN, WM_TIMER, WM_CTLCOLORDLG}) {
        EXPECT_EQ(configDialogProc(dialog, other, 0, 0), FALSE) << other;
    }
    DestroyWindow(dialog);
}

// --- the size fields --------------------------------------------------------------------------

TEST_F(ConfigDialogTest, TypingTwentyFiveIntoDotSizeHoldsTwoThenTheFallback) {
    std::int32_t afterTwo = 0;
    std::int32_t afterTwentyFive = 0;
    std::string shown;
    const DialogRun run = runDialog([&](HWND dialog) {
        replaceFieldText(dialog, dotSize, "2");
        afterTwo = saverSettings.dotSize;
        typeAtEnd(dialog, dotSize, "5");
        afterTwentyFive = saverSettings.dotSize;
        shown = fieldText(dialog, dotSize);
        clickPosted(dialog, ok);
    });
    expectEndedWith(run, 1);
    EXPECT_EQ(afterTwo, 2);
    EXPECT_EQ(afterTwentyFive, 6);
    EXPECT_EQ(shown, "25"); // the field is never corrected
    ASSERT_TRUE(storedValues().has_value());
    EXPECT_EQ(storedValues()->dotSize, 6);
}

struct FieldCase {
    const char* text;
    std::int32_t dotSize;
    std::int32_t lineSize;
};

TEST_F(ConfigDialogTest, SizeFieldsReadLikeAtoiWithRangeFallbacks) {
    const FieldCase cases[] = {
        {"", 6, 4},    {" 7", 7, 7},  {"7x", 7, 7},      {"-3", 6, 4},   {"+5", 5, 5},
        {"x7", 6, 4},  {"\t9", 9, 9}, {"1", 1, 1},       {"0", 6, 4},    {"10", 10, 10},
        {"11", 11, 4}, {"20", 20, 4}, {"21", 6, 4},      {"0003", 3, 3}, {"12345678", 6, 4},
        {"-0", 6, 4},  {"+-2", 6, 4}, {" \t 4 5", 4, 4},
    };
    const DialogRun run = runDialog([&](HWND dialog) {
        for (const FieldCase& c : cases) {
            replaceFieldText(dialog, dotSize, c.text);
            replaceFieldText(dialog, lineSize, c.text);
            EXPECT_EQ(saverSettings.dotSize, c.dotSize) << '"' << c.text << '"';
            EXPECT_EQ(saverSettings.lineSize, c.lineSize) << '"' << c.text << '"';
            EXPECT_EQ(fieldText(dialog, dotSize), c.text);
        }
        clickPosted(dialog, cancel);
    });
    expectEndedWith(run, 0);
}

// Text put in from outside is not bound by the 8-character limit; reading it stays within the
// buffer and takes its first characters.
TEST_F(ConfigDialogTest, TextBeyondTheLimitIsReadSafely) {
    const DialogRun run = runDialog([&](HWND dialog) {
        SetDlgItemTextA(dialog, dotSize, "                                   5");
        EXPECT_EQ(saverSettings.dotSize, 6);
        SetDlgItemTextA(dialog, lineSize, "123456789012345678901234567890");
        EXPECT_EQ(saverSettings.lineSize, 4);
        SetDlgItemTextA(dialog, lineSize, "9                             ");
        EXPECT_EQ(saverSettings.lineSize, 9);
        clickPosted(dialog, cancel);
    });
    expectEndedWith(run, 0);
}

TEST_F(ConfigDialogTest, FieldsAreLimitedToEightCharacters) {
    const DialogRun run = runDialog([&](HWND dialog) {
        for (const WORD field : {dotSize, lineSize}) {
            EXPECT_EQ(SendDlgItemMessageA(dialog, field, EM_GETLIMITTEXT, 0, 0), 8) << field;
        }
        clickPosted(dialog, cancel);
    });
    expectEndedWith(run, 0);
}

// --- the buttons ------------------------------------------------------------------------------

struct ButtonCase {
    WORD id;
    std::int32_t SaverSettings::*field;
    std::int32_t value;
    std::int32_t SaverSettings::*pairedField;
    std::int32_t pairedValue;
};

TEST_F(ConfigDialogTest, EachChoiceSetsItsFieldsAtOnceAndOkStoresTheLot) {
    using S = SaverSettings;
    const ButtonCase cases[] = {
        {depth24, &S::zBufferDepth, 24, nullptr, 0},
        {depth16, &S::zBufferDepth, 16, nullptr, 0},
        {IDC_RESOLUTION_640, &S::resolutionX, 640, &S::resolutionY, 480},
        {IDC_RESOLUTION_800, &S::resolutionX, 800, &S::resolutionY, 600},
        {IDC_RESOLUTION_1024, &S::resolutionX, 1024, &S::resolutionY, 768},
        {IDC_RESOLUTION_1280, &S::resolutionX, 1280, &S::resolutionY, 1024},
        {IDC_RESOLUTION_1600, &S::resolutionX, 1600, &S::resolutionY, 1200},
        {IDC_RESOLUTION_1152, &S::resolutionX, 1152, &S::resolutionY, 864},
        {stencilNoAlpha, &S::alphaDepth, 0, &S::stencilDepth, 8},
        {alphaNoStencil, &S::alphaDepth, 8, &S::stencilDepth, 0},
        {stencilNoAlpha, &S::alphaDepth, 0, &S::stencilDepth, 8},
        {noStencilNoAlpha, &S::alphaDepth, 0, &S::stencilDepth, 0},
        {IDC_DOTTED, &S::renderMode, 1, nullptr, 0},
        {IDC_ALL_OF_THEM, &S::renderMode, 3, nullptr, 0},
        {IDC_WIREFRAME, &S::renderMode, 0, nullptr, 0},
        {IDC_TEXTURE_MAPPING, &S::renderMode, 2, nullptr, 0},
        {colour16, &S::bitDepth, 16, nullptr, 0},
        {colour32, &S::bitDepth, 24, nullptr, 0}, // labelled "32Bit"
    };
    saverSettings = {800, 600, 32, 32, 8, 0, 0, 0, 0, 2, 8};
    SaverSettings expected = saverSettings;
    const DialogRun run = runDialog([&](HWND dialog) {
        // Commands from no control of the dialog's change nothing and do not end it.
        for (const WPARAM other : {WPARAM{IDOK}, WPARAM{0xFFFF}, WPARAM{1061}, WPARAM{9999}}) {
            SendMessageA(dialog, WM_COMMAND, other, 0);
            EXPECT_TRUE(sameSettings(saverSettings, expected)) << other;
        }
        EXPECT_TRUE(IsWindowVisible(dialog));
        for (const ButtonCase& c : cases) {
            click(dialog, c.id);
            expected.*c.field = c.value;
            if (c.pairedField != nullptr) {
                expected.*c.pairedField = c.pairedValue;
            }
            EXPECT_TRUE(sameSettings(saverSettings, expected))
                << "button " << c.id << ": " << describe(saverSettings);
            EXPECT_TRUE(isChecked(dialog, c.id)) << "button " << c.id;
        }
        EXPECT_EQ(storedValues(), std::nullopt) << "stored before OK";
        clickPosted(dialog, ok);
    });
    expectEndedWith(run, 1);
    const std::optional<SaverSettings> stored = storedValues();
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(sameSettings(*stored, expected)) << describe(*stored);
    EXPECT_EQ(stored->bitDepth, 24);
}

// The check boxes flip the value without looking at the box, so a loaded 5 keeps box and value
// opposite from the first click on.
TEST_F(ConfigDialogTest, CheckBoxesFlipTheirValueWhateverTheyShow) {
    saverSettings.timer = 5;
    saverSettings.envMap = 1;
    std::vector<std::pair<bool, std::int32_t>> timerSeen;
    std::vector<std::pair<bool, std::int32_t>> envMapSeen;
    const DialogRun run = runDialog([&](HWND dialog) {
        timerSeen.emplace_back(isChecked(dialog, timer), saverSettings.timer);
        envMapSeen.emplace_back(isChecked(dialog, envMap), saverSettings.envMap);
        for (int i = 0; i < 2; ++i) {
            click(dialog, timer);
            timerSeen.emplace_back(isChecked(dialog, timer), saverSettings.timer);
            click(dialog, envMap);
            envMapSeen.emplace_back(isChecked(dialog, envMap), saverSettings.envMap);
        }
        clickPosted(dialog, ok);
    });
    expectEndedWith(run, 1);
    using Seen = std::vector<std::pair<bool, std::int32_t>>;
    EXPECT_EQ(timerSeen, (Seen{{false, 5}, {true, 0}, {false, 1}}));
    EXPECT_EQ(envMapSeen, (Seen{{true, 1}, {false, 0}, {true, 1}}));
    ASSERT_TRUE(storedValues().has_value());
    EXPECT_EQ(storedValues()->timer, 1);
}

// --- ending the dialog ------------------------------------------------------------------------

enum class CancelWay { Button, EscapeKey, CloseBox };

struct CancelCase {
    const char* name;
    CancelWay way;
    bool keyBefore;
};

std::ostream& operator<<(std::ostream& out, const CancelCase& c) {
    return out << c.name;
}

class ConfigDialogCancelTest : public ConfigDialogTest,
                               public testing::WithParamInterface<CancelCase> {};

TEST_P(ConfigDialogCancelTest, EndsWithZeroAndLeavesTheRegistryAsItWas) {
    const CancelCase& c = GetParam();
    const SaverSettings before{1280, 1024, 24, 24, 0, 8, 3, 1, 1, 9, 19};
    if (c.keyBefore) {
        storeDirectly(before);
    }
    saverSettings = before;
    const DialogRun run = runDialog([&](HWND dialog) {
        click(dialog, IDC_RESOLUTION_640);
        click(dialog, colour16);
        click(dialog, timer);
        replaceFieldText(dialog, dotSize, "3");
        ASSERT_EQ(saverSettings.resolutionX, 640);
        switch (c.way) {
        case CancelWay::Button:
            clickPosted(dialog, cancel);
            break;
        case CancelWay::EscapeKey: // the modal loop turns it into IDCANCEL
            PostMessageA(GetDlgItem(dialog, ok), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            break;
        case CancelWay::CloseBox:
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
    });
    expectEndedWith(run, 0);
    const std::optional<SaverSettings> stored = storedValues();
    ASSERT_EQ(stored.has_value(), c.keyBefore);
    if (stored) {
        EXPECT_TRUE(sameSettings(*stored, before)) << describe(*stored);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ConfigDialogCancelTest,
    testing::Values(CancelCase{"AbbrechenOnFirstRun", CancelWay::Button, false},
                    CancelCase{"Abbrechen", CancelWay::Button, true},
                    CancelCase{"EscapeOnFirstRun", CancelWay::EscapeKey, false},
                    CancelCase{"Escape", CancelWay::EscapeKey, true},
                    CancelCase{"CloseBox", CancelWay::CloseBox, true}),
    [](const testing::TestParamInfo<CancelCase>& row) { return row.param.name; });

TEST_F(ConfigDialogTest, OkOnFirstRunStoresElevenDwordsWithoutComplaint) {
    const DialogRun run = runDialog([&](HWND dialog) { clickPosted(dialog, ok); });
    expectEndedWith(run, 1); // a message box would have kept it open
    const std::optional<SaverSettings> stored = storedValues();
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(sameSettings(*stored, defaultSettings)) << describe(*stored);
}

TEST_F(ConfigDialogTest, AboutShowsItsOneLineBoxAndChangesNothing) {
    MessageBoxLook look;
    bool openWhileBoxShows = false;
    const DialogRun run = runDialog([&](HWND dialog) {
        clickPosted(dialog, about);
        const HWND box = waitForDialogBox("About Screensaver");
        ASSERT_NE(box, nullptr);
        look = lookAt(box);
        closeMessageBox(box);
        openWhileBoxShows = IsWindowVisible(dialog);
        EXPECT_EQ(look.owner, dialog);
        clickPosted(dialog, cancel);
    });
    expectEndedWith(run, 0);
    EXPECT_TRUE(openWhileBoxShows);
    EXPECT_EQ(look.text, "Quillmesh v.1.0b");
    EXPECT_EQ(look.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(look.anyIcon);
    EXPECT_TRUE(sameSettings(saverSettings, defaultSettings));
}

// A volatile "Software\Halvorn" cannot hold the non-volatile product key, so storing fails the
// way a key the user may not create fails.
class ConfigDialogStoreFailureTest : public ConfigDialogTest {
  protected:
    void SetUp() override {
        ConfigDialogTest::SetUp();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvorn");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvorn");
        HKEY parent = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Halvorn", 0, nullptr,
                                  REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(parent);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvorn");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvorn");
    }
};

TEST_F(ConfigDialogStoreFailureTest, SaysSoInAnErrorBoxAndStillEndsWithOne) {
    ASSERT_FALSE(writeSettings()) << "the store did not fail; the test has no ground";
    MessageBoxLook look;
    bool openWhileBoxShows = false;
    const DialogRun run = runDialog([&](HWND dialog) {
        click(dialog, IDC_RESOLUTION_1024);
        clickPosted(dialog, ok);
        const HWND box = waitForDialogBox("Quillmesh");
        ASSERT_NE(box, nullptr) << "no message box";
        look = lookAt(box);
        openWhileBoxShows = IsWindowVisible(dialog);
        EXPECT_EQ(look.owner, dialog);
        closeMessageBox(box);
    });
    expectEndedWith(run, 1);
    EXPECT_TRUE(openWhileBoxShows);
    EXPECT_EQ(look.text, "Die Einstellungen konnten nicht gespeichert werden.");
    EXPECT_EQ(look.buttons, std::vector<std::string>{"OK"});
    EXPECT_TRUE(look.errorIcon);
    EXPECT_EQ(storedValues(), std::nullopt);
}

} // namespace
