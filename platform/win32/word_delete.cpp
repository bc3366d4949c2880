// Ctrl+Backspace in a typing box, which the EDIT control does not know: it would type the DEL
// that the key makes, or nothing.
#include <windows.h>

#include "win32_window.h"
#include "word_start.h"

namespace tsrl::forms {
namespace {

constexpr char16_t kBackspace = u'\b';

}  // namespace

// The key reaches KeyPress as Backspace, as on Linux; then the selection, or else the word before
// the caret, is replaced by nothing as the EDIT replaces text, in one undo step with its Change.
// Only Ctrl+Backspace deletes a word; with Shift it does nothing, as on Linux.
void Win32Window::DeleteWordBefore(ControlId id) {
    if (router_->Key(id, kBackspace) == KeyOutcome::Swallow || !editing_->IsTypingBox(id) ||
        GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0) {
        return;
    }
    auto [start, end] = Selection(id);
    if (start == end) {
        start = WordStartBefore(Text(id), end);
    }
    if (start < end) {
        Select(id, start, end);
        writing_ = true;
        SendMessageW(handles_[id], EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
        writing_ = false;
        router_->UserEdit(id);
    }
}

}  // namespace tsrl::forms
