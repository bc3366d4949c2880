#include "spoken_text.h"

namespace tsrl::forms {

std::u16string SpokenText(std::u16string_view text) {
    if (text.empty()) {
        return u"empty";
    }
    if (text.size() <= kLongestSpokenText) {
        return std::u16string(text);
    }
    const std::string count = std::to_string(text.size()) + " characters";
    return {count.begin(), count.end()};
}

}  // namespace tsrl::forms
