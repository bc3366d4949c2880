// The layout's names are UTF-8; the boxes' texts and what a screen reader hears are UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace tsrl::forms {

// Malformed bytes become U+FFFD each.
std::u16string FromUtf8(std::string_view text);

}  // namespace tsrl::forms
