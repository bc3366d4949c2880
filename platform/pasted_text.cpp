#include "pasted_text.h"

namespace tsrl::forms {
namespace {

constexpr char16_t kLineSeparator = u'\u2028';
constexpr char16_t kParagraphSeparator = u'\u2029';

bool IsLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == kLineSeparator || c == kParagraphSeparator;
}

}  // namespace

std::u16string WithoutLineBreaks(std::u16string_view text) {
    while (!text.empty() && IsLineBreak(text.back())) {
        text.remove_suffix(1);
    }
    while (!text.empty() && IsLineBreak(text.front())) {
        text.remove_prefix(1);
    }
    std::u16string taken;
    taken.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsLineBreak(text[i])) {
            taken += text[i];
            continue;
        }
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;  // one break, written as two characters
        }
        taken += u' ';
    }
    return taken;
}

}  // namespace tsrl::forms
