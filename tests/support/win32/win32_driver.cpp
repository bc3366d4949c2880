// The window tests' input on Win32, in the test's own process: messages posted to the real
// controls as the system delivers them (the character a key makes follows its key-down, the
// key-up goes where the focus is by then), with the keyboard state that GetKeyState reports
// matching the modifiers held. The queue is emptied after every part of a step. An assistive
// tool's requests are the messages such a tool sends to the control.
#include <windows.h>

#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "wide_text.h"
#include "win32_native.h"
#include "window_driver.h"

namespace tsrl::testing::driver {
namespace {

HWND WindowOf(const forms::Control& control) {
    return GetAncestor(HandleOf(control), GA_ROOT);
}

constexpr DWORD kActivationTimeoutMs = 5000;
constexpr DWORD kPollMs = 10;
constexpr BYTE kKeyDown = 0x80;
constexpr SHORT kShiftInScan = 0x100;  // in VkKeyScanW's high byte
constexpr LPARAM kExtendedKey = LPARAM{1} << 24;
constexpr LPARAM kKeyUpFlags = (LPARAM{1} << 30) | (LPARAM{1} << 31);
constexpr wchar_t kDelete = 0x7F;
constexpr std::size_t kLongestAnnouncement = 4096;  // each says long texts by their length

struct NativeKey {
    UINT virtualKey;
    wchar_t character;  // as TranslateMessage makes it; 0 for none
    bool extended = false;
};

constexpr auto kLetters = static_cast<int>(Keys::A);
constexpr std::array<NativeKey, kLetters> kNamedKeys{{
    {VK_TAB, L'\t'},
    {VK_RETURN, L'\r'},
    {VK_RETURN, L'\r', true},  // the keypad's Enter
    {VK_SPACE, L' '},
    {VK_BACK, L'\b'},
    {VK_DELETE, 0, true},
    {VK_INSERT, 0, true},
    {VK_HOME, 0, true},
    {VK_END, 0, true},
    {VK_LEFT, 0, true},
    {VK_RIGHT, 0, true},
    {VK_ESCAPE, L'\x1b'},
    {VK_F10, 0},
    {VK_APPS, 0, true},
}};
// The EDIT control's menu items, from Undo on in the order of Gesture, by their mnemonics; it
// has no Redo.
constexpr std::wstring_view kMnemonics = L"u-tcpda";

NativeKey NativeKeyOf(Keys key, Modifiers modifiers) {
    const auto index = static_cast<int>(key);
    const bool ctrl = (modifiers & kCtrl) != 0;
    if (index < kLetters) {
        NativeKey named = kNamedKeys[static_cast<std::size_t>(index)];
        // The characters TranslateMessage makes of these keys with Ctrl.
        if (ctrl && named.virtualKey == VK_RETURN) {
            named.character = L'\n';
        } else if (ctrl && named.virtualKey == VK_BACK) {
            named.character = kDelete;
        }
        return named;
    }
    const int letter = index - kLetters;
    const wchar_t base = (modifiers & kShift) != 0 ? L'A' : L'a';
    return {static_cast<UINT>('A' + letter),
            ctrl ? static_cast<wchar_t>(letter + 1) : static_cast<wchar_t>(base + letter)};
}

// The modifiers held down in the thread's keyboard state for as long as it lives.
class HeldModifiers {
  public:
    explicit HeldModifiers(Modifiers modifiers) {
        GetKeyboardState(saved_.data());
        std::array<BYTE, 256> state = saved_;
        const auto hold = [&](Modifiers which, std::initializer_list<int> keys) {
            for (const int k : keys) {
                state[static_cast<std::size_t>(k)] = (modifiers & which) != 0 ? kKeyDown : 0;
            }
        };
        hold(kShift, {VK_SHIFT, VK_LSHIFT});
        hold(kCtrl, {VK_CONTROL, VK_LCONTROL});
        SetKeyboardState(state.data());
    }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;
    ~HeldModifiers() { SetKeyboardState(saved_.data()); }

  private:
    std::array<BYTE, 256> saved_{};
};

HWND Target() {
    HWND focus = GetFocus();
    return focus != nullptr ? focus : GetActiveWindow();
}

// F10 is a system key, whose release alone enters the window's menu mode: Escape leaves it.
void PostKey(const NativeKey& key) {
    const UINT scan = MapVirtualKeyW(key.virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | static_cast<LPARAM>(scan) << 16 | (key.extended ? kExtendedKey : 0);
    const bool system = key.virtualKey == VK_F10;
    HWND target = Target();
    PostMessageW(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key.virtualKey, down);
    if (key.character != 0) {
        PostMessageW(target, WM_CHAR, key.character, down);
    }
    ProcessEvents();
    PostMessageW(Target(), system ? WM_SYSKEYUP : WM_KEYUP, key.virtualKey, down | kKeyUpFlags);
    if (system) {
        PostMessageW(Target(), WM_KEYDOWN, VK_ESCAPE, 1);
    }
    ProcessEvents();
}

Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int beeps = 0;

BOOL WINAPI CountBeep(UINT /*type*/) {
    ++beeps;
    return TRUE;
}

// While it lives, each menu that opens is closed with Escape, the first after the mnemonic of
// an item, if any; where the item runs and closes the menu, the Escape goes to the control.
wchar_t menuItem = 0;
LRESULT CALLBACK MenuMade(int code, WPARAM wParam, LPARAM lParam) {
    std::array<wchar_t, 8> name{};
    auto* window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND &&
        GetClassNameW(window, name.data(), static_cast<int>(name.size())) > 0 &&
        std::wstring_view(name.data()) == L"#32768") {
        if (menuItem != 0) {
            PostMessageW(window, WM_CHAR, std::exchange(menuItem, 0), 1);
        }
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 1);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
struct MenuChoice {
    HHOOK hook = SetWindowsHookExW(WH_CBT, MenuMade, nullptr, GetCurrentThreadId());
    explicit MenuChoice(wchar_t item) { menuItem = item; }
    ~MenuChoice() { UnhookWindowsHookEx(hook); }
};

// Presses of one button at the control's centre, as the system posts them: past a disabled
// control to the window beneath it; the second in a row a double click where the window's class
// asks for one; dragged out past the left edge; a right one choosing from the menu it opens.
void Presses(const forms::Control& control, UINT down, int count, bool drag = false,
             wchar_t item = 0) {
    HWND handle = HandleOf(control);
    RECT client{};
    GetClientRect(handle, &client);
    POINT at{client.right / 2, client.bottom / 2};
    if (IsWindowEnabled(handle) == FALSE) {
        MapWindowPoints(handle, GetParent(handle), &at, 1);
        handle = GetParent(handle);
    }
    const bool doubles = (GetClassLongPtrW(handle, GCL_STYLE) & CS_DBLCLKS) != 0;
    const WPARAM held = down == WM_LBUTTONDOWN   ? MK_LBUTTON
                        : down == WM_RBUTTONDOWN ? MK_RBUTTON
                                                 : MK_MBUTTON;
    std::optional<MenuChoice> choose;
    if (down == WM_RBUTTONDOWN) {
        choose.emplace(item);
    }
    const auto receiver = [handle] { return GetCapture() != nullptr ? GetCapture() : handle; };
    for (int i = 0; i < count; ++i) {
        PostMessageW(handle, i == 1 && doubles ? down + 2 : down, held, MAKELPARAM(at.x, at.y));
        ProcessEvents();
        if (drag) {
            at.x = -at.x;
            PostMessageW(receiver(), WM_MOUSEMOVE, held, MAKELPARAM(at.x, at.y));
            ProcessEvents();
        }
        PostMessageW(receiver(), down + 1, 0, MAKELPARAM(at.x, at.y));  // WM_xBUTTONUP
        ProcessEvents();
    }
}

// What an assistive tool sends, where the control's state lets it: a text to a box that is
// neither read-only nor disabled, a press to a button, the focus to an enabled tab stop.
void Assist(Gesture gesture, const forms::Control& control, const std::wstring& text) {
    HWND handle = HandleOf(control);
    const auto style = static_cast<DWORD>(GetWindowLongW(handle, GWL_STYLE));
    const bool enabled = IsWindowEnabled(handle) != FALSE;
    const bool editable = control.Layout().kind == forms::ControlKind::TextBox && enabled &&
                          (style & ES_READONLY) == 0;
    const auto sent = reinterpret_cast<LPARAM>(text.c_str());
    if (gesture == Gesture::SetText && editable) {
        SendMessageW(handle, WM_SETTEXT, 0, sent);
    } else if (gesture == Gesture::InsertText && editable) {
        SendMessageW(handle, EM_REPLACESEL, TRUE, sent);
    } else if (gesture == Gesture::Press &&
               control.Layout().kind == forms::ControlKind::CommandButton) {
        SendMessageW(handle, BM_CLICK, 0, 0);
    } else if (gesture == Gesture::GrabFocus && enabled && (style & WS_TABSTOP) != 0) {
        SetFocus(handle);
    }
}

Heard heard;

void CALLBACK Hear(HWINEVENTHOOK /*hook*/, DWORD event, HWND window, LONG /*object*/,
                   LONG /*child*/, DWORD /*thread*/, DWORD /*time*/) {
    std::array<char16_t, kLongestAnnouncement> said{};
    if (event == EVENT_OBJECT_FOCUS) {
        ++heard.focusMoves;
    } else if (event == EVENT_OBJECT_LIVEREGIONCHANGED) {
        const int length = GetWindowTextW(window, reinterpret_cast<LPWSTR>(said.data()),
                                          static_cast<int>(said.size()));
        heard.announcements.push_back(Utf8({said.data(), static_cast<std::size_t>(length)}));
    }
}

void SetClipboard(std::string_view text) {
    const std::wstring wide = forms::Wide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    CopyMemory(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (OpenClipboard(Target()) != FALSE) {
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, memory);  // the clipboard owns it now
        CloseClipboard();
    }
}

}  // namespace

// The import slot the backend calls the system's beep through: defined in the test program, it
// keeps the import library's out and counts instead of sounding.
extern "C" {
decltype(&MessageBeep) __imp_MessageBeep = CountBeep;
}

int Beeps() {
    return beeps;
}

void Click(const forms::Control& control, Pointer how) {
    Presses(control, how == Pointer::RightClick ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, 1,
            how == Pointer::DragLeft);
}

void Type(std::string_view text) {
    for (const wchar_t c : forms::Wide(text)) {
        // The key that makes the character, with Shift held where the layout needs it.
        const SHORT scan = VkKeyScanW(c);
        const UINT virtualKey = scan == -1 ? VK_PACKET : static_cast<UINT>(scan & 0xFF);
        const HeldModifiers held(scan != -1 && (scan & kShiftInScan) != 0 ? kShift : kNoModifier);
        PostKey({virtualKey, c});
    }
}

void Press(Keys key, Modifiers modifiers) {
    const HeldModifiers held(modifiers);
    std::optional<MenuChoice> close;
    if (key == Keys::Menu || key == Keys::F10) {
        close.emplace(0);
    }
    PostKey(NativeKeyOf(key, modifiers));
}

void Paste(std::string_view text) {
    SetClipboard(text);
    Press(Keys::V, kCtrl);
}

bool Has(Gesture gesture) {
    return gesture != Gesture::Redo && gesture != Gesture::Drop;
}

void Perform(Gesture gesture, const forms::Control& control, std::string_view text) {
    if (gesture == Gesture::DoubleClick || gesture == Gesture::TripleClick) {
        Presses(control, WM_LBUTTONDOWN, gesture == Gesture::DoubleClick ? 2 : 3);
    } else if (gesture == Gesture::MiddleClick) {
        Presses(control, WM_MBUTTONDOWN, 1);
    } else if (gesture >= Gesture::SetText) {
        Assist(gesture, control, forms::Wide(text));
        ProcessEvents();
    } else {
        if (gesture == Gesture::Paste) {
            SetClipboard(text);
        }
        const auto item =
            static_cast<std::size_t>(gesture) - static_cast<std::size_t>(Gesture::Undo);
        Presses(control, WM_RBUTTONDOWN, 1, false, kMnemonics.at(item));
    }
}

// Heard in the test's own thread, as the system reports them to any listener.
Heard Listen() {
    static const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, Hear,
                        GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    (void)hook;
    ProcessEvents();
    return std::exchange(heard, {});
}

void ProcessEvents() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageW(&message);
    }
}

bool HoldsNativeFocus(const forms::Control& control) {
    return GetFocus() == HandleOf(control);
}

// Read back from the screen, where the control is drawn as the user sees it.
bool ShowsSelection(const forms::Control& control) {
    HWND handle = HandleOf(control);
    UpdateWindow(handle);
    RECT client{};
    GetClientRect(handle, &client);
    HDC screen = GetDC(handle);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(copy, picture);
    BitBlt(copy, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    bool shown = false;
    for (int y = 0; y < client.bottom && !shown; ++y) {
        for (int x = 0; x < client.right && !shown; ++x) {
            shown = GetPixel(copy, x, y) == highlight;
        }
    }
    SelectObject(copy, previous);
    DeleteObject(picture);
    DeleteDC(copy);
    ReleaseDC(handle, screen);
    return shown;
}

bool WaitUntilActive(const forms::Control& control) {
    HWND window = WindowOf(control);
    const ULONGLONG until = GetTickCount64() + kActivationTimeoutMs;
    for (;;) {
        ProcessEvents();
        if (GetActiveWindow() == window && GetForegroundWindow() == window) {
            return true;
        }
        if (GetTickCount64() > until) {
            return false;
        }
        Sleep(kPollMs);
    }
}

Rect WindowFrame(const forms::Control& control) {
    RECT frame{};
    GetWindowRect(WindowOf(control), &frame);
    return ToRect(frame);
}

Rect WholeScreen() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Rect WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return ToRect(work);
}

std::string Utf8(std::u16string_view text) {
    return forms::Utf8(text);
}

}  // namespace tsrl::testing::driver
