#include "controls.h"

#include <algorithm>

#include "form.h"
#include "native_form.h"

namespace tsrl::forms {
namespace {

// Selection as (start, end) in UTF-16 code units, start <= end.
std::pair<int, int> SelectionOf(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

void Select(HWND edit, int start, int end) {
    const int length = GetWindowTextLengthW(edit);
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), end);
}

}  // namespace

void Control::SetFocus() {
    form_.RequestFocus(*this);
}

std::u16string TextBox::Text() const {
    return ReadText(HandleOf(*this));
}

void TextBox::SetText(std::u16string_view text) {
    form_.WriteText(*this, text);
}

void TextBox::SetSelStart(int start) {
    Select(HandleOf(*this), start, start);
}

void TextBox::SetSelLength(int length) {
    const int start = SelectionOf(HandleOf(*this)).first;
    Select(HandleOf(*this), start, start + std::max(length, 0));
}

int TextBox::SelStart() const {
    return SelectionOf(HandleOf(*this)).first;
}

int TextBox::SelLength() const {
    const auto [start, end] = SelectionOf(HandleOf(*this));
    return end - start;
}

bool CommandButton::Enabled() const {
    return IsWindowEnabled(HandleOf(*this)) != FALSE;
}

void CommandButton::SetEnabled(bool enabled) {
    EnableWindow(HandleOf(*this), enabled ? TRUE : FALSE);
}

}  // namespace tsrl::forms
