// The native controls' primitives the rules ask for, and the pastes and assistive edits they
// judge.
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
    writing_ = true;
    SetWindowTextW(handles_[id], Wide(text).c_str());
    writing_ = false;
}

void Win32Window::Select(ControlId id, int start, int end) {
    SendMessageW(handles_[id], EM_SETSEL, static_cast<WPARAM>(start), end);
}

void Win32Window::ForgetUndo(ControlId id) {
    SendMessageW(handles_[id], EM_EMPTYUNDOBUFFER, 0, 0);
}

void Win32Window::SetEnabled(ControlId id, bool enabled) {
    EnableWindow(handles_[id], enabled ? TRUE : FALSE);
}

// Put in place of the selection by the control itself, so that its undo is the usual one; a
// long text in pieces, which together are one edit.
void Win32Window::Paste(ControlId id) {
    const std::optional<Inserted> taken =
        editing_->Insert(id, ClipboardText(window_), Insertion::Paste);
    if (taken) {
        writing_ = true;
        ReplaceSelectionInPieces(handles_[id], Wide(taken->text));
        writing_ = false;
        router_->UserEdit(id);
    }
}

// A text set whole is typed over the whole text, and one put in place of the selection there;
// either is an edit the user can undo. A box that takes none keeps its text.
LRESULT Win32Window::AssistiveEdit(ControlId id, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    const std::wstring_view given = text != nullptr ? std::wstring_view(text) : std::wstring_view();
    const std::optional<Inserted> taken =
        editing_->Insert(id, std::u16string(given.begin(), given.end()), Insertion::Assistive);
    if (!taken) {
        return message == WM_SETTEXT ? FALSE : 0;
    }
    HWND handle = handles_[id];
    if (message == WM_SETTEXT) {
        SendMessageW(handle, EM_SETSEL, 0, -1);
    }
    writing_ = true;
    ReplaceSelectionInPieces(handle, Wide(taken->text));
    writing_ = false;
    router_->UserEdit(id);
    return message == WM_SETTEXT ? TRUE : 0;
}

}  // namespace tsrl::forms
