// The Win32 window's messages, translated into the router's calls.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "long_text_edit.h"
#include "wide_text.h"
#include "win32_native.h"
#include "win32_window.h"

namespace tsrl::forms {
namespace {

constexpr WPARAM kDelete = 0x7F;

bool ShiftHeld() {
    return GetKeyState(VK_SHIFT) < 0;
}

}  // namespace

// Taken here first, GotFocus runs before the rules judge the press, which may then go no further.
bool Win32Window::OnPress(ControlId id, bool primary, WPARAM wParam, LPARAM lParam) {
    HWND handle = handles_[id];
    if (router_.PressTakesFocus(id) && GetFocus() != handle) {
        focusByPointer_ = true;
        ::SetFocus(handle);
        focusByPointer_ = false;
    }
    held_.reset();
    if (router_.Press(id, primary, (wParam & MK_SHIFT) != 0) != PressOutcome::FocusOnly) {
        return false;
    }
    if (primary) {
        held_ = HeldPress{id, lParam};
    }
    return true;
}

// A drag from a held press selects from where the press was, as an unheld one would: the box
// gets the press now, and captures the pointer for the rest of the drag.
void Win32Window::OnMove(ControlId id, WPARAM wParam, LPARAM lParam) {
    if (!held_ || held_->box != id) {
        return;
    }
    if ((wParam & MK_LBUTTON) == 0) {
        held_.reset();
        return;
    }
    const LPARAM at = held_->at;
    if (std::abs(GET_X_LPARAM(lParam) - GET_X_LPARAM(at)) >= GetSystemMetrics(SM_CXDRAG) ||
        std::abs(GET_Y_LPARAM(lParam) - GET_Y_LPARAM(at)) >= GetSystemMetrics(SM_CYDRAG)) {
        held_.reset();
        DefSubclassProc(handles_[id], WM_LBUTTONDOWN, wParam, at);
    }
}

std::optional<ControlId> Win32Window::IdOf(HWND handle) const {
    auto it = std::ranges::find(handles_, handle);
    if (it == handles_.end()) {
        return std::nullopt;
    }
    return static_cast<ControlId>(it - handles_.begin());
}

LRESULT CALLBACK Win32Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->WindowMessage(message, wParam, lParam);
}

LRESULT CALLBACK Win32Window::ControlProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(handle, ControlProc, id);
        return DefSubclassProc(handle, message, wParam, lParam);
    }
    return reinterpret_cast<Win32Window*>(self)->ControlMessage(id, message, wParam, lParam);
}

LRESULT Win32Window::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (const auto id = IdOf(reinterpret_cast<HWND>(lParam))) {
                // A single-line EDIT notifies even a write of the same text and a multi-line
                // one none at all: the rules ignore those of the engine's own writes.
                if (HIWORD(wParam) == EN_CHANGE && !pasting_) {
                    router_.UserEdit(*id);
                } else if (HIWORD(wParam) == BN_CLICKED) {
                    router_.Clicked(*id);
                }
                return 0;
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (const auto id = IdOf(reinterpret_cast<HWND>(lParam))) {
                if (HBRUSH brush = colours_.Paint(*id, reinterpret_cast<HDC>(wParam))) {
                    return reinterpret_cast<LRESULT>(brush);
                }
            }
            break;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            colours_.SystemChanged(window_, message);
            break;
        case kFinishFocusMessage:
            router_.FinishFocusChange();
            return 0;
        case kAlertsMessage:
            return router_.Alerts();
        case WM_ACTIVATE:
            keptFocus_.Activated(window_, wParam);
            return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            MoveFrame(suggested->left, suggested->top);
            ApplyDpi(HIWORD(wParam));
            return 0;
        }
        case WM_CLOSE:
            router_.Close();
            DestroyWindow(window_);
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT Win32Window::ControlMessage(ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND handle = handles_[id];
    switch (message) {
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
            router_.FocusIn(id, focusByPointer_);
            return result;
        }
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
            // Focus that leaves for another window comes back to this control.
            auto* to = reinterpret_cast<HWND>(wParam);
            router_.FocusOut(id, to == nullptr || (to != window_ && IsChild(window_, to) == FALSE));
            return result;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (OnPress(id, message == WM_LBUTTONDOWN, wParam, lParam)) {
                return 0;
            }
            break;
        case WM_MOUSEMOVE:
            OnMove(id, wParam, lParam);
            break;
        case WM_CONTEXTMENU:
            if (!router_.TakesEditing(id)) {
                return 0;
            }
            break;
        case WM_PASTE:
            // Ctrl+V and the menu's Paste alike.
            if (layout_.controls[id].kind == ControlKind::TextBox) {
                Paste(id);
                return 0;
            }
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            // Windows' boxes take nothing from a middle click; some systems' would paste there,
            // past the paste rule.
            if (layout_.controls[id].kind == ControlKind::TextBox) {
                return 0;
            }
            break;
        case WM_KEYDOWN:
            // No dialog manager: Tab reaches the control, and moving on is the rules' job.
            if (wParam == VK_TAB) {
                router_.Tab(id, ShiftHeld());
                return 0;
            }
            // Shift+Insert pastes without a WM_PASTE on some systems.
            if (wParam == VK_INSERT && ShiftHeld() &&
                layout_.controls[id].kind == ControlKind::TextBox) {
                Paste(id);
                return 0;
            }
            break;
        case WM_CHAR: {
            // The character of a Tab, which has already moved the focus.
            if (wParam == L'\t') {
                return 0;
            }
            // What Ctrl+Backspace types, never typed into a box.
            if (wParam == kDelete) {
                DeleteWordBefore(id);
                return 0;
            }
            const auto key = static_cast<char16_t>(wParam == L'\n' ? kEnterKey : wParam);
            if (router_.Key(id, key) == KeyOutcome::Swallow) {
                return 0;
            }
            break;
        }
        default:
            break;
    }
    return DefSubclassProc(handle, message, wParam, lParam);
}

}  // namespace tsrl::forms
