#include "word_start.h"

namespace tsrl::forms {
namespace {

// Every ASCII punctuation mark but the underscore, which joins words.
constexpr std::u16string_view kPunctuation = u"!\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~";
// Unicode's blanks: the ASCII ones with the line and page breaks, and the separators.
constexpr std::u16string_view kBlanks =
    u"\t\n\v\f\r \u0085\u00a0\u1680\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2007\u2008"
    u"\u2009\u200a\u2028\u2029\u202f\u205f\u3000";

bool IsPunctuation(char16_t c) {
    return kPunctuation.find(c) != std::u16string_view::npos;
}

bool IsBlank(char16_t c) {
    return kBlanks.find(c) != std::u16string_view::npos;
}

}  // namespace

int WordStartBefore(std::u16string_view text, int caret) {
    const auto before = [&] { return text[static_cast<std::size_t>(caret - 1)]; };
    while (caret > 0 && IsBlank(before())) {
        --caret;
    }
    const bool punctuation = caret > 0 && IsPunctuation(before());
    while (caret > 0 && !IsBlank(before()) && IsPunctuation(before()) == punctuation) {
        --caret;
    }
    return caret;
}

}  // namespace tsrl::forms
