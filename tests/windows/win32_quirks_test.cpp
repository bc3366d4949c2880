// What only the Win32 backend has to get right: the controls re-placed when the window moves to
// a screen of another DPI, boxes drawn over the labels that overlap them, the system's colours
// under high contrast, and EDIT controls that notify a change differently by style.
#include <windows.h>

#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "long_text_edit.h"
#include "wide_text.h"
#include "win32_native.h"
#include "window_fixture.h"

namespace tsrl::testing {
namespace {

constexpr UINT kStandardDpi = 96;
constexpr UINT kHighDpi = 144;
constexpr double kTwipsPerPixelAtHighDpi = 1440.0 / kHighDpi;

// A control's client area as drawn on the screen; given its font, its text drawn unclipped on
// white.
class Picture {
  public:
    explicit Picture(HWND handle, HFONT font = nullptr) : copy_(CreateCompatibleDC(nullptr)) {
        GetClientRect(handle, &area_);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
        SIZE size{};
        SelectObject(copy_, font);
        GetTextExtentPoint32W(copy_, text.c_str(), static_cast<int>(text.size()), &size);
        if (font != nullptr) {
            area_ = {0, 0, size.cx + 2 * kRoom, size.cy + 2 * kRoom};
        }
        HDC screen = GetDC(handle);
        bitmap_ = CreateCompatibleBitmap(screen, area_.right, area_.bottom);
        SelectObject(copy_, bitmap_);
        if (font != nullptr) {
            PatBlt(copy_, 0, 0, area_.right, area_.bottom, WHITENESS);
            TextOutW(copy_, kRoom, kRoom, text.c_str(), static_cast<int>(text.size()));
        } else {
            BitBlt(copy_, 0, 0, area_.right, area_.bottom, screen, 0, 0, SRCCOPY);
        }
        ReleaseDC(handle, screen);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture() {
        DeleteDC(copy_);
        DeleteObject(bitmap_);
    }
    COLORREF At(int x, int y) const { return GetPixel(copy_, x, y); }
    RECT Area() const { return area_; }

  private:
    static constexpr int kRoom = 8;  // beyond any glyph's overhang
    HDC copy_;
    HBITMAP bitmap_ = nullptr;
    RECT area_{};
};

// The marks of a drawn text in an area: runs of columns holding a pixel unlike the area's
// corner, and their span.
struct Ink {
    int marks = 0;
    int width = 0;
};
Ink InkIn(const Picture& picture, const RECT& area) {
    Ink ink;
    const COLORREF background = picture.At(area.left, area.top);
    int first = -1;
    int last = -1;
    for (int x = area.left; x < area.right; ++x) {
        bool inked = false;
        for (int y = area.top; y < area.bottom && !inked; ++y) {
            inked = picture.At(x, y) != background;
        }
        if (inked) {
            ink.marks += last == x - 1 ? 0 : 1;
            first = first < 0 ? x : first;
            last = x;
        }
    }
    ink.width = first < 0 ? 0 : last - first + 1;
    return ink;
}

class Win32Window : public WindowTest {
  protected:
    // Read from the window's pixels, each box's top edge is drawn as its left edge is: no label
    // that overlaps a box paints over it.
    void ExpectTopEdgesDrawn(HWND window);
    static void MoveToDpi(HWND window, UINT dpi) {
        RECT suggested{};
        GetWindowRect(window, &suggested);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
};

void Win32Window::ExpectTopEdgesDrawn(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const Picture copy(window);
    const int edge = GetSystemMetrics(SM_CYEDGE);
    for (const forms::ControlLayout& c : kForm1Layout.controls) {
        if (c.kind != forms::ControlKind::TextBox) {
            continue;
        }
        RECT r{};
        GetWindowRect(HandleOf(Control(std::string(c.name))), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        for (int row = 0; row < edge; ++row) {
            const COLORREF side = copy.At(r.left + row, (r.top + r.bottom) / 2);
            int missing = 0;
            for (int x = r.left + edge; x < r.right - edge; ++x) {
                missing += copy.At(x, r.top + row) == side ? 0 : 1;
            }
            EXPECT_EQ(missing, 0) << c.name << ", row " << row << " of its top edge";
        }
    }
}

// A text as the user sees it in a control: in the face the layout names, and whole, read from
// the pixels against the same text drawn unclipped in the control's font.
struct DrawnText {
    std::string name;
    UINT dpi;
    std::string control;
    std::string text;       // written into a box; a button shows its caption
    int marks;              // the separate marks it shows; 0: as many as drawn unclipped
    bool scalable = false;  // the layout's face fits it at no size, so its scalable face draws it
};
void PrintTo(const DrawnText& row, std::ostream* out) {
    *out << row.name;
}

class ControlText : public Win32Window, public ::testing::WithParamInterface<DrawnText> {};
TEST_P(ControlText, IsWholeInTheLayoutsFace) {
    const DrawnText& row = GetParam();
    HWND handle = HandleOf(Control(row.control));
    if (row.dpi != kStandardDpi) {
        MoveToDpi(GetAncestor(handle, GA_ROOT), row.dpi);
    }
    if (!row.text.empty()) {
        Window()
            .TextBoxNamed(row.control)
            .SetText(std::u16string(row.text.begin(), row.text.end()));
    }
    driver::ProcessEvents();
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0));
    LOGFONTW named{};
    GetObjectW(font, sizeof named, &named);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font);
    std::array<wchar_t, LF_FACESIZE> selected{};
    GetTextFaceW(dc, static_cast<int>(selected.size()), selected.data());
    DeleteDC(dc);
    const std::wstring face =
        forms::Wide(row.scalable ? kForm1Layout.scalableFamily : kForm1Layout.font.family);
    EXPECT_EQ(std::wstring(named.lfFaceName), face) << "the face asked for";
    if (!row.scalable) {  // Wine draws Arial in a metric twin
        EXPECT_EQ(std::wstring(selected.data()), face) << "the face GDI selected";
    }

    const Picture shown(handle);
    RECT area = shown.Area();
    if (row.text.empty()) {  // inside a button's raised edges
        const int edges = 2 * GetSystemMetrics(SM_CXEDGE);
        InflateRect(&area, -edges, -edges);
    }
    const Ink drawn = InkIn(shown, area);
    const Picture whole(handle, font);
    const Ink unclipped = InkIn(whole, whole.Area());
    EXPECT_EQ(drawn.marks, row.marks != 0 ? row.marks : unclipped.marks);
    EXPECT_EQ(drawn.width, unclipped.width);
}
const std::string kOnes(32, '1');
const std::string kRowError = "Error!  Input not a number or out of range!";
INSTANTIATE_TEST_SUITE_P(
    Form1, ControlText,
    ::testing::Values(DrawnText{"OnesAt96Dpi", kStandardDpi, "Text1Bin", kOnes, 32},
                      DrawnText{"OnesAt144Dpi", kHighDpi, "Text1Bin", kOnes, 32},
                      DrawnText{"ErrorAt96Dpi", kStandardDpi, "Text1Bin", kRowError, 0},
                      DrawnText{"ErrorAt144Dpi", kHighDpi, "Text1Bin", kRowError, 0},
                      DrawnText{"WidestHexAt96Dpi", kStandardDpi, "Text1Hex", "DDDDDDDD", 8, true},
                      DrawnText{"AndCaption", kStandardDpi, "Command1", "", 0},
                      DrawnText{"OrCaption", kStandardDpi, "Command2", "", 0},
                      DrawnText{"XorCaption", kStandardDpi, "Command3", "", 0},
                      DrawnText{"NotCaption", kStandardDpi, "Not", "", 0},
                      DrawnText{"PlusCaption", kStandardDpi, "Plus", "", 0},
                      DrawnText{"MinusCaption", kStandardDpi, "Minus", "", 0},
                      DrawnText{"MultiplyCaption", kStandardDpi, "Multiply", "", 0},
                      DrawnText{"DivideCaption", kStandardDpi, "Divide", "", 0}),
    [](const auto& row) { return row.param.name; });

TEST_F(Win32Window, TheLabelsLeaveTheTopEdgeOfEveryBoxDrawn) {
    ExpectTopEdgesDrawn(GetAncestor(HandleOf(Control("Text1Dec")), GA_ROOT));
}

TEST_F(Win32Window, AtHigherDpiTheControlsScaleFromTheTwipsAndTheBinaryDigitsFit) {
    HWND window = GetAncestor(HandleOf(Control("Text1Dec")), GA_ROOT);
    MoveToDpi(window, kHighDpi);
    const auto pixels = [](forms::Twips twips) {
        return static_cast<int>(std::lround(twips / kTwipsPerPixelAtHighDpi));
    };
    for (const forms::ControlLayout& c : kForm1Layout.controls) {
        SCOPED_TRACE(std::string(c.name));
        HWND handle = HandleOf(Control(std::string(c.name)));
        RECT r{};
        GetWindowRect(handle, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, pixels(c.left));
        EXPECT_EQ(r.top, pixels(c.top));
        EXPECT_EQ(r.right - r.left, pixels(c.width));
        EXPECT_EQ(r.bottom - r.top, pixels(c.height));
        if (!c.name.ends_with("Bin")) {
            continue;
        }
        RECT text{};
        SendMessageW(handle, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
        HDC dc = GetDC(handle);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0)));
        for (const wchar_t digit : {L'0', L'1'}) {
            const std::wstring digits(32, digit);
            SIZE extent{};
            GetTextExtentPoint32W(dc, digits.c_str(), static_cast<int>(digits.size()), &extent);
            EXPECT_LE(extent.cx, text.right - text.left) << "32 of " << static_cast<char>(digit);
        }
        ReleaseDC(handle, dc);
    }
    ExpectTopEdgesDrawn(window);
}

// An edit over or in front of a long text, written in pieces: the box holds the text and the
// selection a plain EDIT of its style holds after the same edit made at once, and so after
// Ctrl+Z, and after Ctrl+Z again (the redo); each time wrapped as that EDIT, with the control's
// own word breaking, wraps the text pasted whole. (Wine wraps words in a text laid out at once
// earlier than in one laid out in pieces.)
enum class EditKind { None, Paste, Type, Delete, BackSpace, Cut };
struct LongEdit {
    std::string name;
    std::string held;
    DWORD start;  // the selection before the edit
    DWORD end;
    EditKind edit;
    std::string text;  // pasted or typed
};
void PrintTo(const LongEdit& row, std::ostream* out) {
    *out << row.name;
}

std::vector<LRESULT> LineStarts(HWND edit) {
    std::vector<LRESULT> starts(
        static_cast<std::size_t>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0)));
    for (std::size_t line = 0; line < starts.size(); ++line) {
        starts[line] = SendMessageW(edit, EM_LINEINDEX, line, 0);
    }
    return starts;
}

class EditOfALongText : public Win32Window, public ::testing::WithParamInterface<LongEdit> {};
TEST_P(EditOfALongText, IsTheControlsOwnEditAndUndoesInOneStep) {
    const LongEdit& row = GetParam();
    HWND box = HandleOf(Control("Text1Dec"));
    const auto plainEdit = [box] {
        RECT r{};
        GetWindowRect(box, &r);
        HWND plain = CreateWindowExW(
            static_cast<DWORD>(GetWindowLongW(box, GWL_EXSTYLE)), L"EDIT", L"",
            static_cast<DWORD>(GetWindowLongW(box, GWL_STYLE)) & ~DWORD{WS_VISIBLE}, 0, 0,
            r.right - r.left, r.bottom - r.top, GetParent(box), nullptr, nullptr, nullptr);
        SendMessageW(plain, WM_SETFONT, static_cast<WPARAM>(SendMessageW(box, WM_GETFONT, 0, 0)),
                     FALSE);
        SendMessageW(plain, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     static_cast<LPARAM>(SendMessageW(box, EM_GETMARGINS, 0, 0)));
        SendMessageW(plain, EM_SETLIMITTEXT, 0, 0);
        return plain;
    };
    HWND plain = plainEdit();
    Window().TextBoxNamed("Text1Dec").SetText(std::u16string(row.held.begin(), row.held.end()));
    SetWindowTextW(plain, forms::Wide(row.held).c_str());
    for (HWND edit : {box, plain}) {
        SendMessageW(edit, EM_SETSEL, row.start, static_cast<LPARAM>(row.end));
    }
    const std::wstring text = forms::Wide(row.text);
    switch (row.edit) {
        case EditKind::None:
            break;
        case EditKind::Paste:
            driver::Paste(row.text);
            SendMessageW(plain, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
            break;
        case EditKind::Type:
            driver::Type(row.text);
            for (const wchar_t c : text) {
                SendMessageW(plain, WM_CHAR, c, 0);
            }
            break;
        case EditKind::Delete:
            driver::Press(Keys::Delete, kNoModifier);
            SendMessageW(plain, WM_KEYDOWN, VK_DELETE, 0);
            break;
        case EditKind::BackSpace:
            driver::Press(Keys::Backspace, kNoModifier);
            SendMessageW(plain, WM_CHAR, L'\b', 0);
            break;
        case EditKind::Cut:
            driver::Press(Keys::X, kCtrl);
            SendMessageW(plain, WM_CUT, 0, 0);
            break;
    }
    for (const char* after : {"the edit", "Ctrl+Z", "Ctrl+Z again"}) {
        SCOPED_TRACE(after);
        driver::ProcessEvents();
        std::wstring held(static_cast<std::size_t>(GetWindowTextLengthW(plain)) + 1, L'\0');
        held.resize(static_cast<std::size_t>(
            GetWindowTextW(plain, held.data(), static_cast<int>(held.size()))));
        EXPECT_EQ(Text("Text1Dec"), forms::Utf8(std::u16string(held.begin(), held.end())));
        EXPECT_EQ(SendMessageW(box, EM_GETSEL, 0, 0), SendMessageW(plain, EM_GETSEL, 0, 0));
        HWND pasted = plainEdit();
        forms::ReplaceSelectionInPieces(pasted, held);
        EXPECT_EQ(LineStarts(box), LineStarts(pasted));
        DestroyWindow(pasted);
        driver::Press(Keys::Z, kCtrl);
        SendMessageW(plain, WM_UNDO, 0, 0);
    }
    DestroyWindow(plain);
}
std::string Repeated(std::string_view part, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += part;
    }
    return text;
}
const std::string kDigits = Repeated("7", 700);
const std::string kWords = Repeated("12 345 6789 ", 50);
INSTANTIATE_TEST_SUITE_P(
    Text1Dec, EditOfALongText,
    ::testing::Values(LongEdit{"DigitsPastedOverAll", "0", 0, 1, EditKind::Paste, kDigits},
                      LongEdit{"WordsPastedOverAll", "0", 0, 1, EditKind::Paste, kWords},
                      LongEdit{"WordsPastedInFront", kDigits, 0, 0, EditKind::Paste, kWords},
                      LongEdit{"DigitTypedInFront", kDigits, 0, 0, EditKind::Type, "5"},
                      LongEdit{"DeleteInFront", kDigits, 0, 0, EditKind::Delete, ""},
                      LongEdit{"BackSpaceAfterTheFirst", kDigits, 1, 1, EditKind::BackSpace, ""},
                      LongEdit{"FirstFiveCut", kDigits, 0, 5, EditKind::Cut, ""},
                      LongEdit{"AllDeleted", kDigits, 0, 700, EditKind::Delete, ""},
                      LongEdit{"NothingToUndo", kDigits, 5, 5, EditKind::None, ""}),
    [](const auto& row) { return row.param.name; });

// Wine keeps no high-contrast setting: the program's import of SystemParametersInfoW, which the
// backend calls too, is pointed at one that answers for it as Windows would.
bool highContrast = false;
const auto systemParameters = &SystemParametersInfoW;  // read before the import changes
BOOL WINAPI WithHighContrast(UINT action, UINT size, PVOID data, UINT flags) {
    if (action != SPI_GETHIGHCONTRAST) {
        return systemParameters(action, size, data, flags);
    }
    static_cast<HIGHCONTRASTW*>(data)->dwFlags = highContrast ? HCF_HIGHCONTRASTON : 0;
    return TRUE;
}
void Import(decltype(systemParameters) from, decltype(systemParameters) to) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports);
         dll->Name != 0; ++dll) {
        for (auto* f = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
             f->u1.Function != 0; ++f) {
            DWORD was = 0;
            if (f->u1.Function == reinterpret_cast<ULONG_PTR>(from) &&
                VirtualProtect(&f->u1.Function, sizeof f->u1.Function, PAGE_READWRITE, &was)) {
                f->u1.Function = reinterpret_cast<ULONG_PTR>(to);
            }
        }
    }
}

// High contrast turned on, then off, while the window shows: the display boxes take the system's
// colours, as any read-only box, then the layout's again (the pixel below the text, and some text).
TEST_F(Win32Window, DisplayBoxesFollowTheHighContrastSetting) {
    Import(systemParameters, &WithHighContrast);
    for (const bool on : {true, false}) {
        highContrast = on;
        SendMessageW(GetAncestor(HandleOf(Control("Text1Dec")), GA_ROOT), WM_SETTINGCHANGE,
                     SPI_SETHIGHCONTRAST, 0);
        driver::ProcessEvents();
        const auto colour = [on](int system, const std::optional<forms::Rgb>& own) {
            return on ? GetSysColor(system) : RGB(own->red, own->green, own->blue);
        };
        for (const forms::ControlLayout& c : kForm1Layout.controls) {
            if (!c.locked) {
                continue;
            }
            const Picture shown(HandleOf(Control(std::string(c.name))));
            const RECT area = shown.Area();
            EXPECT_EQ(shown.At(0, area.bottom - 1), colour(COLOR_3DFACE, c.background)) << c.name;
            int text = 0;
            for (int at = 0; at < area.right * area.bottom; ++at) {
                text += shown.At(at % area.right, at / area.right) ==
                        colour(COLOR_WINDOWTEXT, c.foreground);
            }
            EXPECT_GT(text, 0) << c.name << (on ? " under high contrast" : "");
        }
    }
    Import(&WithHighContrast, systemParameters);
}

// Change on a test window: a multi-line EDIT notifies no write, a single-line one every write.
constexpr forms::ControlLayout Box(std::string_view name, forms::Twips top, bool multiLine) {
    // Kind, name, text, left, top, width, height, tab index, accessible name, locked, multiLine.
    return {
        forms::ControlKind::TextBox, name, u"0", 120, top, 1500, 300, top, name, false, multiLine};
}
constexpr forms::ControlLayout kBoxes[] = {Box("Multi", 120, true), Box("Line", 600, false)};
// Name, caption, client width and height, client left and top, icon, controls.
constexpr forms::WindowLayout kBoxesWindow{
    "Boxes", u"Boxes", 1800, 1100, 600, 600, forms::WindowIcon::Default, kBoxes};

struct ChangeCase {
    std::string name;
    std::string box;
    bool typed;  // else written by the program
    std::string text;
    int changes;
};
void PrintTo(const ChangeCase& c, std::ostream* out) {
    *out << c.name;
}

class EditChange : public ::testing::TestWithParam<ChangeCase> {};
TEST_P(EditChange, IsRaisedOncePerRealChange) {
    const ChangeCase& c = GetParam();
    forms::Form form(kBoxesWindow);
    int changes = 0;
    form.Connect(c.box, forms::Event::Change, [&changes] { ++changes; });
    form.Load();
    form.Show();
    ASSERT_TRUE(driver::WaitUntilActive(*form.Find(c.box)));
    form.Find(c.box)->SetFocus();
    driver::ProcessEvents();
    if (c.typed) {
        driver::Type(c.text);
    } else {
        form.TextBoxNamed(c.box).SetText(std::u16string(c.text.begin(), c.text.end()));
    }
    driver::ProcessEvents();
    EXPECT_EQ(changes, c.changes);
}
INSTANTIATE_TEST_SUITE_P(Boxes, EditChange,
                         ::testing::Values(ChangeCase{"MultiLineSameText", "Multi", false, "0", 0},
                                           ChangeCase{"MultiLineNewText", "Multi", false, "12", 1},
                                           ChangeCase{"MultiLineKeystroke", "Multi", true, "7", 1},
                                           ChangeCase{"SingleLineSameText", "Line", false, "0", 0},
                                           ChangeCase{"SingleLineNewText", "Line", false, "12", 1},
                                           ChangeCase{"SingleLineKeystroke", "Line", true, "7", 1}),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace tsrl::testing
