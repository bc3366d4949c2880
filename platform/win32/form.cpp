#include "form.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "accessibility.h"
#include "long_text_edit.h"
#include "native_form.h"
#include "pasted_text.h"
#include "services.h"
#include "wide_text.h"

namespace tsrl::forms {
namespace {

constexpr wchar_t kWindowClass[] = L"TessoralForm";
constexpr UINT kFinishFocusMessage = WM_APP + 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;
constexpr int kIconResource = 1;  // the program file's own icon

// The window's default font for boxes and buttons: at 7.5 points (10 pixels at 96 dots per
// inch) all 32 binary digits fit a binary box on one line, and the widest decimal and hex
// texts fit theirs.
constexpr wchar_t kDefaultFontFace[] = L"Tahoma";
constexpr double kDefaultFontPoints = 7.5;
constexpr int kPointsPerInch = 72;
// Pixels at 96 dots per inch between a box's border and its text: the binary boxes need
// all but this of their width.
constexpr int kEditMargin = 1;

COLORREF ToColorRef(const Rgb& rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

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

HFONT MakeFont(const wchar_t* face, double points, bool bold, UINT dpi) {
    const auto height = static_cast<int>(std::lround(points * dpi / kPointsPerInch));
    return CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face);
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

void RegisterWindowClass(WNDPROC windowProc) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when a second form registers it again
}

std::u16string ClipboardText(HWND owner) {
    std::u16string text;
    if (OpenClipboard(owner) == FALSE) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data)); chars != nullptr) {
            const std::wstring_view held(chars);
            text.assign(held.begin(), held.end());
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

std::u16string ReadText(HWND handle) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
    return {text.begin(), text.end()};
}

LRESULT CALLBACK Form::Router::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* router = reinterpret_cast<Router*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (router == nullptr || router->window != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return router->WindowMessage(message, wParam, lParam);
}

LRESULT CALLBACK Form::Router::ControlProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR router) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(handle, ControlProc, id);
        return DefSubclassProc(handle, message, wParam, lParam);
    }
    return reinterpret_cast<Router*>(router)->ControlMessage(id, message, wParam, lParam);
}

Form::Router::Router(Form& form, const WindowLayout& description)
    : layout(description), rules(description, *this), dpi(GetDpiForSystem()) {
    RegisterWindowClass(WindowProc);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    window = CreateWindowExW(kWindowExStyle, kWindowClass, Wide(layout.caption).c_str(),
                             kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window == nullptr) {
        throw std::runtime_error("cannot create the window");
    }
    dpi = GetDpiForWindow(window);
    if (layout.icon == WindowIcon::Program) {
        SetProgramIcon(window);
    }
    const std::size_t count = layout.controls.size();
    labelFonts.resize(count);
    backgrounds.resize(count);
    for (ControlId id = 0; id < count; ++id) {
        const ControlLayout& c = layout.controls[id];
        const NativeKind kind = KindOf(c);
        HWND handle =
            CreateWindowExW(kind.exStyle, kind.windowClass, Wide(c.text).c_str(), kind.style, 0, 0,
                            0, 0, window, reinterpret_cast<HMENU>(id + 1), instance, nullptr);
        if (handle == nullptr) {
            throw std::runtime_error("cannot create a control");
        }
        if (c.kind == ControlKind::Label) {  // where a label and a box overlap, the box is on top
            SetWindowPos(handle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        SetWindowTextW(handle, Wide(c.text).c_str());
        SetAccessibleText(handle, c.accessibleName, c.description);
        SetWindowSubclass(handle, ControlProc, id, reinterpret_cast<DWORD_PTR>(this));
        handles.push_back(handle);
        if (c.kind == ControlKind::TextBox) {
            SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);  // no length limit
            BreakWordsAtBlanks(handle);
        }
        if (c.background) {
            backgrounds[id].reset(CreateSolidBrush(ToColorRef(*c.background)));
        }
        switch (c.kind) {
            case ControlKind::TextBox:
                controls.push_back(std::make_unique<TextBox>(form, c, AsNative(handle)));
                break;
            case ControlKind::CommandButton:
                controls.push_back(std::make_unique<CommandButton>(form, c, AsNative(handle)));
                break;
            case ControlKind::Label:
                controls.push_back(std::make_unique<Label>(form, c, AsNative(handle)));
                break;
        }
    }
    ApplyDpi(dpi);
    const POINT clientAt{TwipsToPixels(layout.clientLeft, dpi),
                         TwipsToPixels(layout.clientTop, dpi)};
    RECT outer{clientAt.x, clientAt.y, clientAt.x, clientAt.y};
    AdjustWindowRectExForDpi(&outer, kWindowStyle, FALSE, kWindowExStyle, dpi);
    SetWindowPos(window, nullptr, outer.left, outer.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Form::Router::~Router() {
    rules.Close();
    if (IsWindow(window) != FALSE) {
        DestroyWindow(window);
    }
}

void Form::Router::ApplyDpi(UINT newDpi) {
    dpi = newDpi;
    RECT outer{0, 0, TwipsToPixels(layout.clientWidth, dpi),
               TwipsToPixels(layout.clientHeight, dpi)};
    AdjustWindowRectExForDpi(&outer, kWindowStyle, FALSE, kWindowExStyle, dpi);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    defaultFont.reset(MakeFont(kDefaultFontFace, kDefaultFontPoints, false, dpi));
    for (ControlId id = 0; id < handles.size(); ++id) {
        const ControlLayout& c = layout.controls[id];
        HFONT font = defaultFont.get();
        if (c.font) {
            labelFonts[id].reset(
                MakeFont(Wide(c.font->family).c_str(), c.font->points, c.font->bold, dpi));
            font = labelFonts[id].get();
        }
        SendMessageW(handles[id], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.kind == ControlKind::TextBox) {
            const int margin =
                MulDiv(kEditMargin, static_cast<int>(dpi), static_cast<int>(kStandardDpi));
            SendMessageW(handles[id], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(margin, margin));
        }
        SetWindowPos(handles[id], nullptr, TwipsToPixels(c.left, dpi), TwipsToPixels(c.top, dpi),
                     TwipsToPixels(c.width, dpi), TwipsToPixels(c.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(window, nullptr, TRUE);
}

std::optional<ControlId> Form::Router::IdOf(HWND handle) const {
    auto it = std::ranges::find(handles, handle);
    if (it == handles.end()) {
        return std::nullopt;
    }
    return static_cast<ControlId>(it - handles.begin());
}

bool Form::Router::CanTakeFocus(ControlId id) const {
    // The window's own style, not IsWindowVisible: a control of a hidden window can take the
    // focus it will have when the window shows.
    const auto style = static_cast<DWORD>(GetWindowLongW(handles[id], GWL_STYLE));
    return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

bool Form::Router::HasFocus(ControlId id) const {
    return GetFocus() == handles[id];
}

void Form::Router::Focus(ControlId id) {
    SetFocus(handles[id]);
}

// A SetFocus from inside WM_KILLFOCUS would fight the change under way; posted, it runs once
// that change is over and before the button-up that would have clicked.
void Form::Router::FinishFocusChangeLater() {
    PostMessageW(window, kFinishFocusMessage, 0, 0);
}

void Form::Router::Type(ControlId id, char16_t key) {
    SendMessageW(handles[id], WM_CHAR, key, 0);
}

std::u16string Form::Router::Text(ControlId id) const {
    return ReadText(handles[id]);
}

void Form::Router::ReplaceText(ControlId id, std::u16string_view text) {
    SetWindowTextW(handles[id], Wide(text).c_str());
    if (!layout.controls[id].multiLine) {
        SendMessageW(handles[id], EM_SETSEL, 0, 0);  // show a long text from its start
    }
}

std::u16string Form::Router::AccessibleName(ControlId id) const {
    const std::string_view name = layout.controls[id].accessibleName;
    return {name.begin(), name.end()};
}

// Win32 has no plain call that speaks a text; a reader learns of the written boxes when it
// reads them, as it does of any edit control.
void Form::Router::Announce(std::u16string_view /*text*/) {}

int Form::Router::BeepCount() const {
    return forms::BeepCount();
}

LRESULT Form::Router::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (const auto id = IdOf(reinterpret_cast<HWND>(lParam))) {
                // A single-line EDIT notifies even a write of the same text and a multi-line
                // one none at all: the rules ignore those of the engine's own writes.
                if (HIWORD(wParam) == EN_CHANGE) {
                    rules.UserEdit(*id);
                } else if (HIWORD(wParam) == BN_CLICKED) {
                    rules.Clicked(*id);
                }
                return 0;
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (const auto id = IdOf(reinterpret_cast<HWND>(lParam)); id && backgrounds[*id]) {
                const ControlLayout& c = layout.controls[*id];
                auto* dc = reinterpret_cast<HDC>(wParam);
                SetBkColor(dc, ToColorRef(*c.background));
                if (c.foreground) {
                    SetTextColor(dc, ToColorRef(*c.foreground));
                }
                return reinterpret_cast<LRESULT>(backgrounds[*id].get());
            }
            break;
        case kFinishFocusMessage:
            rules.FinishFocusChange();
            return 0;
        case WM_ACTIVATE:
            // A plain window forgets its focused control when another window is activated.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window, focus) != FALSE) {
                    focusWhileInactive = focus;
                }
            } else if (focusWhileInactive != nullptr) {
                SetFocus(focusWhileInactive);
            }
            return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            ApplyDpi(HIWORD(wParam));
            return 0;
        }
        case WM_CLOSE:
            rules.Close();
            DestroyWindow(window);
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The clipboard's text as a box takes it, put in place of the selection by the control itself,
// so that its change notifications and its undo are the usual ones; a long text in pieces.
void Form::Router::Paste(ControlId id) {
    const std::wstring text = Wide(WithoutLineBreaks(ClipboardText(window)));
    ReplaceSelectionInPieces(handles[id], text);
}

LRESULT Form::Router::ControlMessage(ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND handle = handles[id];
    switch (message) {
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
            rules.FocusIn(id, focusByPointer);
            return result;
        }
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
            // Focus that leaves for another window comes back to this control.
            auto* to = reinterpret_cast<HWND>(wParam);
            rules.FocusOut(id, to == nullptr || (to != window && IsChild(window, to) == FALSE));
            return result;
        }
        case WM_LBUTTONDOWN:
            // An EDIT takes the focus on a press; taken here first, GotFocus runs before the
            // rules judge the press, which may then go no further.
            if (layout.controls[id].kind == ControlKind::TextBox && GetFocus() != handle) {
                focusByPointer = true;
                SetFocus(handle);
                focusByPointer = false;
            }
            if (rules.Press(id, true, (wParam & MK_SHIFT) != 0) == PressOutcome::FocusOnly) {
                return 0;
            }
            break;
        case WM_CONTEXTMENU:
            if (!rules.TakesEditing(id)) {
                return 0;
            }
            break;
        case WM_PASTE:
            // The EDIT sends itself this for Ctrl+V, Shift+Insert and its menu's Paste alike.
            if (!rules.TakesEditing(id)) {
                return 0;
            }
            if (rules.IsTypingBox(id)) {
                Paste(id);
                return 0;
            }
            break;
        case WM_KEYDOWN:
            // No dialog manager: Tab reaches the control, and moving on is the rules' job.
            if (wParam == VK_TAB) {
                rules.Tab(id, GetKeyState(VK_SHIFT) < 0);
                return 0;
            }
            break;
        case WM_CHAR: {
            // The character of a Tab, which has already moved the focus.
            if (wParam == L'\t') {
                return 0;
            }
            const auto key = static_cast<char16_t>(wParam == L'\n' ? kEnterKey : wParam);
            if (rules.Key(id, key) == KeyOutcome::Swallow) {
                return 0;
            }
            break;
        }
        default:
            break;
    }
    return DefSubclassProc(handle, message, wParam, lParam);
}

Form::Form(const WindowLayout& layout) : router_(std::make_unique<Router>(*this, layout)) {}

Form::~Form() = default;

float Form::Width() const {
    RECT outer{};
    GetWindowRect(router_->window, &outer);
    return PixelsToTwips(outer.right - outer.left, router_->dpi);
}

float Form::Height() const {
    RECT outer{};
    GetWindowRect(router_->window, &outer);
    return PixelsToTwips(outer.bottom - outer.top, router_->dpi);
}

void Form::SetLeft(float left) {
    RECT outer{};
    GetWindowRect(router_->window, &outer);
    SetWindowPos(router_->window, nullptr, TwipsToPixels(left, router_->dpi), outer.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetTop(float top) {
    RECT outer{};
    GetWindowRect(router_->window, &outer);
    SetWindowPos(router_->window, nullptr, outer.left, TwipsToPixels(top, router_->dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
    Router& r = *router_;
    // A window placed off a screen smaller than itself would have its title bar out of reach.
    RECT outer{};
    GetWindowRect(r.window, &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(r.window, MONITOR_DEFAULTTOPRIMARY), &monitor) != FALSE) {
        const RECT& work = monitor.rcWork;
        if (outer.left < work.left || outer.top < work.top) {
            SetWindowPos(r.window, nullptr, std::max(outer.left, work.left),
                         std::max(outer.top, work.top), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    const std::optional<ControlId> first = r.rules.FirstInTabOrder();
    if (first) {
        r.focusWhileInactive = r.handles[*first];
    }
    ShowWindow(r.window, SW_SHOW);
    UpdateWindow(r.window);
    SetForegroundWindow(r.window);
    if (first) {
        SetFocus(r.handles[*first]);
    }
}

NativeControl* Form::Native() const {
    return AsNative(router_->window);
}

EventRouter& Form::Rules() const {
    return router_->rules;
}

Control& Form::ControlAt(std::size_t id) const {
    return *router_->controls[id];
}

}  // namespace tsrl::forms
