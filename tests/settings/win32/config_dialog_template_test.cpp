// Dialog 2003 as built into this test program from resources/quillmesh.rc, read back byte by byte
// and as live windows, against the layout the dialog is drawn to.

#include "settings/win32/config_dialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr WORD buttonClass = 0x80;
constexpr WORD editClass = 0x81;
constexpr WORD staticClass = 0x82;
constexpr WORD unaddressed = 0xFFFF; // id -1

struct ControlRow {
    WORD id;
    WORD classOrdinal;
    std::u16string text;
    DWORD styleBits; // besides WS_CHILD | WS_VISIBLE
    short x, y, width, height;
};

constexpr DWORD resolutionStyle = BS_AUTORADIOBUTTON | BS_CENTER | BS_VCENTER;
constexpr DWORD sizeFieldStyle = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

const std::vector<ControlRow> controls{
    {1011, buttonClass, u"&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 32, 178, 50, 14},
    {1012, buttonClass, u"Abb&rechen", BS_PUSHBUTTON | WS_TABSTOP, 223, 178, 50, 14},
    {1035, buttonClass, u"16Bit", BS_AUTORADIOBUTTON | WS_GROUP, 25, 20, 32, 10},
    {1036, buttonClass, u"32Bit", BS_AUTORADIOBUTTON, 25, 33, 32, 10},
    {1037, buttonClass, u"16Bit", BS_AUTORADIOBUTTON | WS_GROUP, 222, 20, 32, 10},
    {1038, buttonClass, u"24Bit", BS_AUTORADIOBUTTON, 222, 33, 32, 10},
    {1045, buttonClass, u"640x480", resolutionStyle | WS_GROUP, 20, 79, 51, 10},
    {1046, buttonClass, u"800x600", resolutionStyle, 20, 91, 51, 10},
    {1047, buttonClass, u"1024x768", resolutionStyle, 20, 103, 51, 10},
    {1048, buttonClass, u"1152x864", resolutionStyle, 20, 115, 51, 10},
    {1049, buttonClass, u"1280x1024", resolutionStyle, 20, 127, 51, 10},
    {1050, buttonClass, u"1600x1200", resolutionStyle, 20, 139, 51, 10},
    {1051, buttonClass, u"8Bit Stencil no Alpha", BS_AUTORADIOBUTTON | WS_GROUP, 97, 19, 81, 10},
    {1052, buttonClass, u"8Bit Alpha no Stencil", BS_AUTORADIOBUTTON, 97, 32, 81, 10},
    {1053, buttonClass, u"no Stencil no Alpha", BS_AUTORADIOBUTTON, 97, 46, 77, 10},
    {1056, buttonClass, u"Wireframe", BS_AUTORADIOBUTTON | WS_GROUP, 175, 90, 48, 10},
    {1057, buttonClass, u"Dotted", BS_AUTORADIOBUTTON, 175, 103, 37, 10},
    {1058, buttonClass, u"Texture Mapping", BS_AUTORADIOBUTTON, 175, 116, 69, 10},
    {1059, buttonClass, u"All of them", BS_AUTORADIOBUTTON, 175, 131, 49, 10},
    {1060, buttonClass, u"&About", BS_PUSHBUTTON | WS_TABSTOP, 130, 178, 50, 14},
    {unaddressed, buttonClass, u"Renderstyle", BS_GROUPBOX, 165, 70, 130, 85},
    {1062, buttonClass, u"EnvMap", BS_AUTOCHECKBOX | WS_TABSTOP, 251, 116, 43, 10},
    {unaddressed, buttonClass, u"Farbtiefe", BS_GROUPBOX | BS_CENTER, 20, 8, 43, 40},
    {1063, buttonClass, u"Timer", BS_AUTOCHECKBOX | WS_TABSTOP, 40, 160, 33, 10},
    {unaddressed, buttonClass, u"ZBuffer Tiefe", BS_GROUPBOX | BS_CENTER, 210, 8, 55, 40},
    {unaddressed, buttonClass, u"Alpha und Stencil Tiefe", BS_GROUPBOX | BS_CENTER, 88, 8, 95, 52},
    {unaddressed, buttonClass, u"Aufl\u00f6sung", BS_GROUPBOX | BS_CENTER, 10, 70, 85, 85},
    {unaddressed, buttonClass, u"", BS_GROUPBOX, 100, 70, 60, 85},
    {unaddressed, staticClass, u"Dotgr\u00f6\u00dfe", SS_LEFT | WS_GROUP, 116, 83, 30, 8},
    {unaddressed, staticClass, u"Liniendicke", SS_LEFT | WS_GROUP, 112, 119, 37, 8},
    {1070, editClass, u"", sizeFieldStyle, 110, 95, 40, 14},
    {1071, editClass, u"", sizeFieldStyle, 110, 130, 40, 14},
};

// Reads a DLGTEMPLATE (not the extended form) in order.
class TemplateReader {
  public:
    explicit TemplateReader(const BYTE* start, DWORD size) : start_(start), size_(size) {}

    template <typename T>
    T next() {
        T value{};
        if (offset_ + sizeof value <= size_) {
            std::memcpy(&value, start_ + offset_, sizeof value);
        }
        offset_ += sizeof value;
        return value;
    }
    std::u16string string() {
        std::u16string text;
        for (char16_t c = next<char16_t>(); c != 0 && offset_ <= size_; c = next<char16_t>()) {
            text += c;
        }
        return text;
    }
    // A name or, after 0xFFFF, an ordinal; the ordinal comes back as one character.
    std::u16string nameOrOrdinal() {
        const char16_t first = next<char16_t>();
        if (first == 0xFFFF) {
            return std::u16string(1, next<char16_t>());
        }
        offset_ -= sizeof first;
        return string();
    }
    void alignToDword() { offset_ = (offset_ + 3) & ~std::size_t{3}; }
    bool overrun() const { return offset_ > size_; }

  private:
    const BYTE* start_;
    DWORD size_;
    std::size_t offset_ = 0;
};

// A control's class is an ordinal or, as the resource compiler may write it, the class name.
WORD classOrdinal(const std::u16string& nameOrOrdinal) {
    if (nameOrOrdinal.size() == 1) {
        return nameOrOrdinal[0];
    }
    std::u16string upper;
    for (const char16_t c : nameOrOrdinal) {
        upper += c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    }
    return upper == u"BUTTON"   ? buttonClass
           : upper == u"EDIT"   ? editClass
           : upper == u"STATIC" ? staticClass
                                : 0;
}

TEST(ConfigDialogTemplate, IsGermanAndMatchesTheLayoutControlForControl) {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC resource =
        FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(2003),
                        MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
    ASSERT_NE(resource, nullptr) << "no German dialog 2003";
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    ASSERT_NE(bytes, nullptr);
    TemplateReader header(bytes, SizeofResource(module, resource));

    // An extended template would start with 0xFFFF0001 here.
    ASSERT_EQ(header.next<DWORD>(), 0x90C800C0u);
    EXPECT_EQ(header.next<DWORD>(), 0u); // extended style
    EXPECT_EQ(header.next<WORD>(), controls.size());
    EXPECT_EQ(header.next<short>(), 0);
    EXPECT_EQ(header.next<short>(), 0);
    EXPECT_EQ(header.next<short>(), 307);
    EXPECT_EQ(header.next<short>(), 201);
    EXPECT_EQ(header.nameOrOrdinal(), u""); // no menu
    EXPECT_EQ(header.nameOrOrdinal(), u""); // the platform's dialog class
    EXPECT_EQ(header.string(), u"Quillmesh v1.0b written by Brisco Halvorn");
    EXPECT_EQ(header.next<WORD>(), 8);
    EXPECT_EQ(header.string(), u"MS Sans Serif");

    for (const ControlRow& row : controls) {
        SCOPED_TRACE(testing::Message() << "control " << row.id << " at " << row.x << ',' << row.y);
        header.alignToDword();
        EXPECT_EQ(header.next<DWORD>(), WS_CHILD | WS_VISIBLE | row.styleBits);
        EXPECT_EQ(header.next<DWORD>(), 0u);
        EXPECT_EQ(header.next<short>(), row.x);
        EXPECT_EQ(header.next<short>(), row.y);
        EXPECT_EQ(header.next<short>(), row.width);
        EXPECT_EQ(header.next<short>(), row.height);
        EXPECT_EQ(header.next<WORD>(), row.id);
        EXPECT_EQ(classOrdinal(header.nameOrOrdinal()), row.classOrdinal);
        EXPECT_EQ(header.nameOrOrdinal(), row.text);
        EXPECT_EQ(header.next<WORD>(), 0); // no creation data
    }
    EXPECT_FALSE(header.overrun());
}

const char* className(WORD ordinal) {
    return ordinal == buttonClass ? "Button" : ordinal == editClass ? "Edit" : "Static";
}

// The live dialog: its windows in z order carry the ids, classes, texts (umlauts included) and
// pixel rectangles that the template's dialog units give.
TEST(ConfigDialogTemplate, CreatesTheControlsWithTheirTextsAndPlaces) {
    const HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2003),
                                           nullptr, configDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(dialog, caption, 64);
    EXPECT_STREQ(caption, L"Quillmesh v1.0b written by Brisco Halvorn");

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlRow& row : controls) {
        SCOPED_TRACE(testing::Message() << "control " << row.id << " at " << row.x << ',' << row.y);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), row.id);
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        EXPECT_STRCASEEQ(name, className(row.classOrdinal));
        if (row.classOrdinal != editClass) { // the fields show the loaded sizes
            wchar_t text[64] = {};
            GetWindowTextW(child, text, 64);
            EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), row.text);
        }
        // Position and size are converted apart, as the dialog manager does when it places them.
        RECT placeAndSize{row.x, row.y, row.width, row.height};
        MapDialogRect(dialog, &placeAndSize);
        const RECT expected{placeAndSize.left, placeAndSize.top,
                            placeAndSize.left + placeAndSize.right,
                            placeAndSize.top + placeAndSize.bottom};
        RECT actual{};
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        EXPECT_EQ(actual.bottom, expected.bottom);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more than 32 controls";
    DestroyWindow(dialog);
}

} // namespace
