// The Win32 window's primitives: its controls, fonts, placement and properties.
#include <windows.h>

#include <commctrl.h>

#include <stdexcept>

#include "accessibility.h"
#include "long_text_edit.h"
#include "wide_text.h"
#include "win32_native.h"
#include "win32_window.h"

namespace tsrl::forms {
namespace {

constexpr wchar_t kWindowClass[] = L"TessoralForm";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;
constexpr int kIconResource = 1;  // the program file's own icon

struct NativeKind {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

NativeKind KindOf(const ControlLayout& c) {
    // A control clipped to its siblings above it paints nothing over them.
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (c.kind) {
        case ControlKind::CommandButton:
            return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::Label:
            return {L"STATIC", kChild | SS_CENTER | SS_NOPREFIX, 0};
        case ControlKind::TextBox:
            break;
    }
    constexpr DWORD kAlign[] = {ES_LEFT, ES_CENTER, ES_RIGHT};
    DWORD style = kChild | WS_TABSTOP | kAlign[static_cast<int>(c.align)];
    // A multi-line box without a horizontal scroll wraps its text; a single-line one scrolls,
    // so a text wider than the box runs past its right edge.
    style |= c.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
    if (c.locked) {
        style |= ES_READONLY;
    }
    return {L"EDIT", style, WS_EX_CLIENTEDGE};
}

PixelRect FromRect(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The program file's own icon, in the sizes the title bar and the task switcher show.
void SetProgramIcon(HWND window) {
    const auto icon = [](int system) {
        return LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                          GetSystemMetrics(system), GetSystemMetrics(system), LR_SHARED);
    };
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon(SM_CXICON)));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon(SM_CXSMICON)));
}

}  // namespace

Win32Window::Win32Window(const WindowLayout& layout)
    : layout_(layout), dpi_(GetDpiForSystem()), colours_(layout.controls) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when a second form registers it again
    window_ = CreateWindowExW(kWindowExStyle, kWindowClass, Wide(layout.caption).c_str(),
                              kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        throw std::runtime_error("cannot create the window");
    }
    dpi_ = GetDpiForWindow(window_);
    if (layout.icon == WindowIcon::Program) {
        SetProgramIcon(window_);
    }
    const std::size_t count = layout.controls.size();
    handles_.resize(count);
    fonts_.resize(count);
    madeFonts_.resize(count);
    liveRegion_.emplace(window_);
    ApplyDpi(dpi_);
    const PixelRect client = ClientOf(layout, static_cast<int>(dpi_));
    RECT outer{client.left, client.top, client.left, client.top};
    AdjustWindowRectExForDpi(&outer, kWindowStyle, FALSE, kWindowExStyle, dpi_);
    MoveFrame(outer.left, outer.top);
}

Win32Window::~Win32Window() {
    router_ = nullptr;
    editing_ = nullptr;
    if (IsWindow(window_) != FALSE) {
        DestroyWindow(window_);
    }
}

void Win32Window::Attach(EventRouter& router, EditingRules& editing) {
    router_ = &router;
    editing_ = &editing;
}

NativeControl* Win32Window::Handle() const {
    return AsNative(window_);
}

// Made in place: moved there afterwards, each control took the better part of a ms.
NativeControl* Win32Window::Create(ControlId id, const ControlLayout& c, const PixelRect& at) {
    const NativeKind kind = KindOf(c);
    HWND handle = CreateWindowExW(
        kind.exStyle, kind.windowClass, Wide(c.text).c_str(), kind.style, at.left, at.top, at.width,
        at.height, window_, reinterpret_cast<HMENU>(id + 1), GetModuleHandleW(nullptr), nullptr);
    if (handle == nullptr) {
        throw std::runtime_error("cannot create a control");
    }
    if (c.kind == ControlKind::TextBox) {
        KeepEditsQuick(handle);  // beneath the window's own subclass: the rules see a key first
    }
    SetWindowSubclass(handle, ControlProc, id, reinterpret_cast<DWORD_PTR>(this));
    handles_[id] = handle;
    if (c.kind == ControlKind::TextBox) {
        SetNoMargins(handle);  // before the fitting reads the width the box shows text in
        SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);  // no length limit
        BreakWordsAtBlanks(handle);
    }
    return AsNative(handle);
}

void Win32Window::Lower(ControlId id) {
    SetWindowPos(handles_[id], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Window::SetAccessibleText(std::optional<ControlId> id, std::string_view name,
                                    std::string_view description) {
    if (!accessibleTexts_) {
        accessibleTexts_.emplace();
    }
    accessibleTexts_->Set(id ? handles_[*id] : window_, name, description);
}

void Win32Window::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    const PixelRect client = ClientOf(layout_, static_cast<int>(dpi_));
    RECT outer{0, 0, client.width, client.height};
    AdjustWindowRectExForDpi(&outer, kWindowStyle, FALSE, kWindowExStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (windowFont_) {
        madeWindowFont_ = MakeFont(*windowFont_, dpi_);
    }
    for (ControlId id = 0; id < handles_.size(); ++id) {
        if (fonts_[id]) {
            madeFonts_[id] = MakeFont(*fonts_[id], dpi_);
        }
        if (handles_[id] != nullptr) {
            Place(id);
            ApplyFont(id);
        }
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void Win32Window::Place(ControlId id) {
    const PixelRect at = PlaceOf(layout_.controls[id], static_cast<int>(dpi_));
    SetWindowPos(handles_[id], nullptr, at.left, at.top, at.width, at.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

PixelRect Win32Window::Screen() const {
    // The whole screen, not the work area: the window's placement reads the screen's size.
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

PixelRect Win32Window::WorkArea() const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor) == FALSE) {
        return Frame();
    }
    return FromRect(monitor.rcWork);
}

PixelRect Win32Window::Frame() const {
    RECT outer{};
    GetWindowRect(window_, &outer);
    return FromRect(outer);
}

void Win32Window::MoveFrame(int left, int top) {
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::Show(std::optional<ControlId> focus) {
    if (focus) {
        keptFocus_.Keep(handles_[*focus]);
    }
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
    if (focus) {
        ::SetFocus(handles_[*focus]);
    }
}

int Win32Window::RunLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int Win32Window::Length(ControlId id) const {
    return GetWindowTextLengthW(handles_[id]);
}

std::pair<int, int> Win32Window::Selection(ControlId id) const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(handles_[id], EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

bool Win32Window::Enabled(ControlId id) const {
    return IsWindowEnabled(handles_[id]) != FALSE;
}

void Win32Window::Beep() {
    MessageBeep(MB_OK);
}

std::unique_ptr<NativeWindow> MakeNativeWindow(const WindowLayout& layout) {
    return std::make_unique<Win32Window>(layout);
}

}  // namespace tsrl::forms
