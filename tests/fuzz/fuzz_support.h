// Shared by the fuzz targets: turning bytes into text, and failing loudly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tsrl::fuzz {

// Each byte pair is one UTF-16 code unit, low byte first, so every unit (lone surrogates too)
// is reachable; an odd last byte is dropped.
inline std::u16string DecodeUtf16(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    return text;
}

// The 32 binary digits of a pattern, most significant first: the oracle for HexToBin.
inline std::u16string Bits(std::uint32_t pattern) {
    std::u16string bits;
    for (std::uint32_t mask = 0x80000000u; mask != 0; mask >>= 1) {
        bits += (pattern & mask) != 0 ? u'1' : u'0';
    }
    return bits;
}

[[noreturn]] inline void Fail(const char* property, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, property);
    std::abort();
}

}  // namespace tsrl::fuzz

// Unlike assert, stays on under NDEBUG; the abort makes libFuzzer keep the input.
#define TSRL_REQUIRE(condition) \
    ((condition) ? void(0) : ::tsrl::fuzz::Fail(#condition, __FILE__, __LINE__))
