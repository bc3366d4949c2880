#include "edit_changes.h"

namespace tsrl::forms {
namespace {

constexpr wchar_t kDeleteCharacter = 0x7F;  // what Ctrl+BackSpace types

bool Held(int key) {
    return GetKeyState(key) < 0;
}

// Where BackSpace and Delete take a character: a line break is one.
DWORD Before(std::wstring_view text, DWORD at) {
    for (const std::wstring_view lineBreak : {L"\r\r\n", L"\r\n"}) {
        if (text.substr(0, at).ends_with(lineBreak)) {
            return at - static_cast<DWORD>(lineBreak.size());
        }
    }
    return at == 0 ? at : at - 1;
}
DWORD After(std::wstring_view text, DWORD at) {
    for (const std::wstring_view lineBreak : {L"\r\n", L"\r\r\n"}) {
        if (text.substr(at, lineBreak.size()) == lineBreak) {
            return at + static_cast<DWORD>(lineBreak.size());
        }
    }
    return at < text.size() ? at + 1 : at;
}
DWORD LineEnd(HWND edit, DWORD at) {
    const auto line = static_cast<WPARAM>(SendMessageW(edit, EM_LINEFROMCHAR, at, 0));
    const auto first = static_cast<WPARAM>(SendMessageW(edit, EM_LINEINDEX, line, 0));
    return static_cast<DWORD>(first) +
           static_cast<DWORD>(SendMessageW(edit, EM_LINELENGTH, first, 0));
}

// What a character typed does to the text, as the control's own keys have it.
std::optional<Change> Typed(wchar_t key, std::wstring_view text, DWORD start, DWORD end) {
    switch (key) {
        case L'\b':
            if (Held(VK_CONTROL)) {
                return std::nullopt;
            }
            return start != end ? Change{start, end} : Change{Before(text, start), start};
        case L'\r':
        case L'\n':
            return Change{start, end, L"\r\n"};
        case L'\t':
            return Change{start, end, L"\t"};
        default:
            // The other control characters do nothing, or come back as copy, paste, cut or undo.
            if (key < L' ' || key == kDeleteCharacter) {
                return std::nullopt;
            }
            return Change{start, end, std::wstring(1, key)};
    }
}

// Delete takes the character after the caret; with Shift, the one before, or the selection to
// the clipboard; with Ctrl, the rest of the line.
std::optional<Change> Deleted(HWND edit, std::wstring_view text, DWORD start, DWORD end) {
    const bool shift = Held(VK_SHIFT);
    const bool control = Held(VK_CONTROL);
    if (Held(VK_MENU) || (shift && control)) {
        return std::nullopt;
    }
    if (start != end) {
        return Change{start, end, {}, shift};
    }
    if (shift) {
        return Change{Before(text, start), start};
    }
    return Change{start, control ? LineEnd(edit, start) : After(text, start)};
}

}  // namespace

std::optional<Change> ChangeOf(HWND edit, std::wstring_view text, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (message == EM_REPLACESEL) {
        const auto* replacement = reinterpret_cast<const wchar_t*>(lParam);
        return Change{start, end, replacement != nullptr ? replacement : L""};
    }
    // A locked box takes only a program's edits; a box selecting with the mouse takes no key.
    const bool keysHeld = GetCapture() == edit;
    if ((GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0) {
        return std::nullopt;
    }
    switch (message) {
        case WM_CHAR:
            return keysHeld ? std::nullopt : Typed(static_cast<wchar_t>(wParam), text, start, end);
        case WM_KEYDOWN:
            return keysHeld || wParam != VK_DELETE ? std::nullopt : Deleted(edit, text, start, end);
        case WM_CLEAR:
            return Change{start, end};
        case WM_CUT:
            return Change{start, end, {}, true};
        default:
            return std::nullopt;
    }
}

}  // namespace tsrl::forms
