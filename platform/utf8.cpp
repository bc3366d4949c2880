#include "utf8.h"

#include <array>

namespace tsrl::forms {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr char32_t kSurrogateBase = 0x10000;
constexpr char32_t kLargest = 0x10FFFF;

struct Lead {
    unsigned char mask;     // the bits that mark a lead byte of this length
    unsigned char pattern;  // what they hold
    char32_t least;         // the smallest code point this length may encode
};
// By the number of bytes in the sequence, one to four.
constexpr std::array<Lead, 4> kLeads{{
    {0x80, 0x00, 0x0},
    {0xE0, 0xC0, 0x80},
    {0xF0, 0xE0, 0x800},
    {0xF8, 0xF0, 0x10000},
}};

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

void Append(std::u16string& out, char32_t c) {
    if (c < kSurrogateBase) {
        out += static_cast<char16_t>(c);
        return;
    }
    c -= kSurrogateBase;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

}  // namespace

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        while (length < kLeads.size() && (lead & kLeads[length].mask) != kLeads[length].pattern) {
            ++length;
        }
        if (length == kLeads.size() || i + length >= text.size()) {
            out += kReplacement;
            ++i;
            continue;
        }
        char32_t c = lead & static_cast<unsigned char>(~kLeads[length].mask);
        std::size_t taken = 1;
        for (; taken <= length; ++taken) {
            const auto next = static_cast<unsigned char>(text[i + taken]);
            if ((next & 0xC0) != 0x80) {
                break;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if (taken <= length || c < kLeads[length].least || c > kLargest || IsSurrogate(c)) {
            out += kReplacement;
            i += taken;
            continue;
        }
        Append(out, c);
        i += taken;
    }
    return out;
}

}  // namespace tsrl::forms
