// What a message that may edit a multi-line EDIT does to its text, worked out as the control's
// own keys have it, so that the change can be written another way.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tsrl::forms {

// The characters from `start` to `end` replaced by `text`.
struct Change {
    DWORD start = 0;
    DWORD end = 0;
    std::wstring text{};
    bool cut = false;  // copied to the clipboard first
};

// Nothing for a message that changes nothing, or that a locked box or a selecting mouse keeps
// from changing it. Pastes are the window's to judge and never reach here.
std::optional<Change> ChangeOf(HWND edit, std::wstring_view text, UINT message, WPARAM wParam,
                               LPARAM lParam);

}  // namespace tsrl::forms
