// What a typing box takes from a paste or a drop, the same on every backend.
#pragma once

#include <string>
#include <string_view>

namespace tsrl::forms {

// Line breaks at either end dropped, the others made blanks: a box holds one line, and a number
// copied with its line from a terminal or a spreadsheet cell reads as typed.
std::u16string WithoutLineBreaks(std::u16string_view text);

}  // namespace tsrl::forms
