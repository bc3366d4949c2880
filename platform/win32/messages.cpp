// The Win32 window's messages, translated into calls of the router and the editing rules.
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

Point PointOf(LPARAM at) {
    return {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
}

}  // namespace

// Taken here first, GotFocus runs before the rules judge the press, which may then go no further.
bool Win32Window::OnPress(ControlId id, Button button, WPARAM wParam, LPARAM lParam) {
    HWND handle = handles_[id];
    if (editing_->PressTakesFocus(id) && GetFocus() != handle) {
        focusByPointer_ = true;
        ::SetFocus(handle);
        focusByPointer_ = false;
    }
    // A press the box takes clears its selection itself.
    return editing_->Press(id, button, (wParam & MK_SHIFT) != 0, PointOf(lParam)) ==
           PressOutcome::Hold;
}

// A drag from a held press selects from where the press was: the box gets the press now, and
// captures the pointer for the rest of the drag.
bool Win32Window::OnMove(ControlId id, WPARAM wParam, LPARAM lParam) {
    const Point threshold{GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)};
    const MoveOutcome outcome =
        editing_->Move(id, PointOf(lParam), (wParam & MK_LBUTTON) != 0, threshold);
    if (const std::optional<Point> held = outcome.replayPressAt) {
        DefSubclassProc(handles_[id], WM_LBUTTONDOWN, wParam, MAKELPARAM(held->x, held->y));
    }
    return outcome.swallow;
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
    if (self == nullptr || self->window_ != window || self->router_ == nullptr) {
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
    auto* window = reinterpret_cast<Win32Window*>(self);
    if (window->router_ == nullptr) {
        return DefSubclassProc(handle, message, wParam, lParam);
    }
    return window->ControlMessage(id, message, wParam, lParam);
}

LRESULT Win32Window::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (const auto id = IdOf(reinterpret_cast<HWND>(lParam))) {
                // A single-line EDIT notifies even a write of the same text and a multi-line
                // one none at all: the rules ignore those of the engine's own writes.
                if (HIWORD(wParam) == EN_CHANGE && !writing_) {
                    router_->UserEdit(*id);
                } else if (HIWORD(wParam) == BN_CLICKED) {
                    router_->Clicked(*id);
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
            router_->FinishFocusChange();
            return 0;
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
            router_->Close();
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
            router_->FocusIn(id, focusByPointer_);
            return result;
        }
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
            // Focus that leaves for another window comes back to this control.
            auto* to = reinterpret_cast<HWND>(wParam);
            router_->FocusOut(id,
                              to == nullptr || (to != window_ && IsChild(window_, to) == FALSE));
            return result;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (OnPress(id, message == WM_LBUTTONDOWN ? Button::Primary : Button::Secondary, wParam,
                        lParam)) {
                return 0;
            }
            break;
        case WM_MOUSEMOVE:
            if (OnMove(id, wParam, lParam)) {
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (editing_->Release(id, Button::Primary)) {
                return 0;
            }
            break;
        case WM_CONTEXTMENU:
            if (!editing_->TakesEditing(id)) {
                return 0;
            }
            break;
        case WM_SETTEXT:
        case EM_REPLACESEL:
            if (!writing_ && layout_.controls[id].kind == ControlKind::TextBox) {
                return AssistiveEdit(id, message, wParam, lParam);
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
                router_->Tab(id, ShiftHeld());
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
            if (router_->Key(id, key) == KeyOutcome::Swallow) {
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
