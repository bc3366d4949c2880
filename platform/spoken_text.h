// What a screen reader is given of a box's text, the same on every backend.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tsrl::forms {

// Longer than any text the program writes (43 characters, the operand rows' error report) and
// than a pasted 32-digit binary number, so that every text a box shows by design is read whole.
inline constexpr std::size_t kLongestSpokenText = 64;

// The text itself, or for a longer one its length ("1048576 characters"), as a reader's own
// echo does: a pasted megabyte read out digit by digit would hold the reader for hours. No text
// at all is "empty", where a reader would say nothing.
std::u16string SpokenText(std::u16string_view text);

}  // namespace tsrl::forms
