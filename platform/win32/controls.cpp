// The native controls' primitives the router asks for, and the paste it judges.
#include <windows.h>

#include "long_text_edit.h"
#include "wide_text.h"
#include "win32_window.h"

namespace tsrl::forms {
namespace {

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

bool Win32Window::CanTakeFocus(ControlId id) const {
    // The window's own style, not IsWindowVisible: a control of a hidden window can take the
    // focus it will have when the window shows.
    const auto style = static_cast<DWORD>(GetWindowLongW(handles_[id], GWL_STYLE));
    return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

bool Win32Window::HasFocus(ControlId id) const {
    return GetFocus() == handles_[id];
}

void Win32Window::Focus(ControlId id) {
    ::SetFocus(handles_[id]);
}

// A SetFocus from inside WM_KILLFOCUS would fight the change under way; posted, it runs once
// that change is over and before the button-up that would have clicked.
void Win32Window::FinishFocusChangeLater() {
    PostMessageW(window_, kFinishFocusMessage, 0, 0);
}

void Win32Window::Type(ControlId id, char16_t key) {
    SendMessageW(handles_[id], WM_CHAR, key, 0);
}

std::u16string Win32Window::Text(ControlId id) const {
    return ReadText(handles_[id]);
}

void Win32Window::ReplaceText(ControlId id, std::u16string_view text) {
    SetWindowTextW(handles_[id], Wide(text).c_str());
}

void Win32Window::Select(ControlId id, int start, int end) {
    SendMessageW(handles_[id], EM_SETSEL, static_cast<WPARAM>(start), end);
}

void Win32Window::SetEnabled(ControlId id, bool enabled) {
    EnableWindow(handles_[id], enabled ? TRUE : FALSE);
}

// Put in place of the selection by the control itself, so that its undo is the usual one; a
// long text in pieces, which together are one edit.
void Win32Window::Paste(ControlId id) {
    if (const std::optional<std::u16string> taken = router_.Pasted(id, ClipboardText(window_))) {
        pasting_ = true;
        ReplaceSelectionInPieces(handles_[id], Wide(*taken));
        pasting_ = false;
        router_.UserEdit(id);
    }
}

}  // namespace tsrl::forms
