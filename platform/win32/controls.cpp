#include "controls.h"

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

}  // namespace

std::u16string TextBox::Text() const {
    return ReadText(HandleOf(*this));
}

int TextBox::Length() const {
    return GetWindowTextLengthW(HandleOf(*this));
}

std::pair<int, int> TextBox::Selection() const {
    return SelectionOf(HandleOf(*this));
}

void TextBox::Select(int start, int end) {
    SendMessageW(HandleOf(*this), EM_SETSEL, static_cast<WPARAM>(start), end);
}

bool CommandButton::Enabled() const {
    return IsWindowEnabled(HandleOf(*this)) != FALSE;
}

void CommandButton::SetEnabled(bool enabled) {
    EnableWindow(HandleOf(*this), enabled ? TRUE : FALSE);
}

}  // namespace tsrl::forms
