// The window tests' input on Win32, in the test's own process: messages posted to the real
// controls as the system delivers them (the character a key makes follows its key-down, the
// key-up goes where the focus is by then), with the keyboard state that GetKeyState reports
// matching the modifiers held. The queue is emptied after every part of a step.
#include <windows.h>

#include <array>
#include <initializer_list>
#include <string>

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
}};

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

void PostKey(const NativeKey& key) {
    const UINT scan = MapVirtualKeyW(key.virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | static_cast<LPARAM>(scan) << 16 | (key.extended ? kExtendedKey : 0);
    HWND target = Target();
    PostMessageW(target, WM_KEYDOWN, key.virtualKey, down);
    if (key.character != 0) {
        PostMessageW(target, WM_CHAR, key.character, down);
    }
    ProcessEvents();
    PostMessageW(Target(), WM_KEYUP, key.virtualKey, down | kKeyUpFlags);
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
    HWND handle = HandleOf(control);
    RECT client{};
    GetClientRect(handle, &client);
    POINT centre{(client.right - client.left) / 2, (client.bottom - client.top) / 2};
    // The mouse passes over a disabled control to the window beneath it.
    if (IsWindowEnabled(handle) == FALSE) {
        MapWindowPoints(handle, GetParent(handle), &centre, 1);
        handle = GetParent(handle);
    }
    LPARAM at = MAKELPARAM(centre.x, centre.y);
    const bool right = how == Pointer::RightClick;
    PostMessageW(handle, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
                 at);
    ProcessEvents();
    const auto receiver = [handle] { return GetCapture() != nullptr ? GetCapture() : handle; };
    if (how == Pointer::DragLeft) {
        at = MAKELPARAM(-centre.x, centre.y);
        PostMessageW(receiver(), WM_MOUSEMOVE, MK_LBUTTON, at);
        ProcessEvents();
    }
    PostMessageW(receiver(), right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    if (right) {
        PostMessageW(handle, WM_KEYDOWN, VK_ESCAPE, 1);  // taken by a menu the release opens
    }
    ProcessEvents();
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
    PostKey(NativeKeyOf(key, modifiers));
}

void Paste(std::string_view text) {
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
    Press(Keys::V, kCtrl);
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
