#include "long_text_edit.h"

#include <algorithm>
#include <string>

namespace tsrl::forms {
namespace {

bool Blank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// A word starts where a blank ends.
bool WordStartsAt(const wchar_t* text, int index) {
    return index > 0 && Blank(text[index - 1]) && !Blank(text[index]);
}

int CALLBACK BlankWordBreak(LPWSTR text, int index, int count, int action) {
    switch (action) {
        case WB_ISDELIMITER:
            return index < count && Blank(text[index]) ? TRUE : FALSE;
        case WB_LEFT:
            index = std::max(index - 1, 0);
            while (index > 0 && !WordStartsAt(text, index)) {
                --index;
            }
            return index;
        case WB_RIGHT:
            while (index < count && !WordStartsAt(text, index)) {
                ++index;
            }
            return index;
        default:
            return 0;
    }
}

// In place of the selection, undoably, as a paste puts it.
void ReplaceSelection(HWND edit, std::wstring_view text) {
    const std::wstring part(text);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(part.c_str()));
}

}  // namespace

void BreakWordsAtBlanks(HWND edit) {
    if ((GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) != 0) {
        SendMessageW(edit, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&BlankWordBreak));
    }
}

void ReplaceSelectionInPieces(HWND edit, std::wstring_view text, std::size_t piece) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto length = static_cast<DWORD>(GetWindowTextLengthW(edit));
    if (text.size() <= piece && length - end <= piece) {
        ReplaceSelection(edit, text);
        return;
    }
    // Anything laid in front of a long text lays all of it out again, and each piece would: the
    // whole text is written anew instead, from its start.
    std::wstring whole(text);
    if (end < length) {
        std::wstring old(length + 1, L'\0');
        GetWindowTextW(edit, old.data(), static_cast<int>(old.size()));
        whole = old.substr(0, start) + whole + old.substr(end, length - end);
        SendMessageW(edit, EM_SETSEL, 0, -1);
    }
    // The first piece replaces the selection; the others follow it at the caret, where the
    // EDIT extends the same undo step.
    for (std::size_t at = 0; at < whole.size(); at += piece) {
        ReplaceSelection(edit, std::wstring_view(whole).substr(at, piece));
    }
    const auto caret = static_cast<WPARAM>(start + text.size());
    SendMessageW(edit, EM_SETSEL, caret, static_cast<LPARAM>(caret));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace tsrl::forms
