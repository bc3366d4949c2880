// What Ctrl+Backspace deletes in a typing box, the same on every backend.
#pragma once

#include <string_view>

namespace tsrl::forms {

// Where the word before a caret starts, as Linux's boxes (Qt's) find it: past the blanks before
// the caret, then back over a run of ASCII punctuation, or else over a run of anything else up
// to a blank or punctuation. "12 34" ends "12 ", "0x1F" nothing, "&hFF" "&", "7--" "7".
int WordStartBefore(std::u16string_view text, int caret);

}  // namespace tsrl::forms
