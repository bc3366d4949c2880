// Conversions between box texts and Longs: the only place a text becomes a number or a number
// becomes a text. Pure functions over UTF-16 views; no state, no locale, no Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tsrl {

using Long = std::int32_t;

// The one failure kind: a text that is empty, not a number or out of range, and (raised by the
// window's arithmetic) a result outside the Long range or a division by zero.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(const char* what) : std::runtime_error(what) {}
};

// Reads a decimal box text.
//   text    := blanks number blanks            blanks: zero or more of U+0020, U+0009
//   number  := [+|-] dec-digits                the integer, -2147483648..2147483647
//            | ("&h" | "&H") hex-digits        a 32-bit pattern, as ParseHexLong reads it
//            | ("0x" | "0X") hex-digits        likewise
//            | ("0b" | "0B") bin-digits        a 32-bit pattern, most significant bit first
// Digits are ASCII only. A radix form may have any number of leading zeros but at most 32
// significant bits ("&h000000001" is 1, "0xFFFFFFFF" is -1, "0x100000000" fails). Signs go
// only with decimal digits. Fractions, exponents, group separators and blanks inside the
// number are not accepted.
// Throws ConversionError for an empty text, a text that is not a number, or one out of range.
Long ParseLong(std::u16string_view text);

// Reads the text of a hex box: the box's text exactly as typed, read as if "&h" stood before it.
//   digits := hex-digits                       upper or lower case, ASCII only
// The digits give an unsigned number; if it fits in 32 bits, the result is the Long with that
// bit pattern ("FFFF" is 65535, "FFFFFFFF" is -1). Throws ConversionError for no digits, any
// character that is not a hex digit (a prefix, a sign, a blank), or more than 32 bits.
Long ParseHexLong(std::u16string_view digits);

// Canonical decimal: no leading zeros, no separators, no blank; "-" before a negative value.
std::u16string FormatLong(Long value);

// The value of the number the text begins with, or 0 if it begins with none. Never fails.
//   leading := blanks ( ("&h"|"&H"|"0x"|"0X") hex-digits | ("0b"|"0B") bin-digits
//                     | [+|-] (dec-digits ["." [dec-digits]] | "." dec-digits) [exponent] )
//   exponent := ("e"|"E") [+|-] dec-digits
// A radix form gives the Long of its 32-bit pattern, or its unsigned value when wider.
// A magnitude too large for a double gives an infinity and one too small gives the smallest
// denormal, each with the number's sign, so a non-zero number never reads as 0.
// For every text that ParseLong accepts, NumericValue(t) != 0 exactly when ParseLong(t) != 0.
double NumericValue(std::u16string_view text) noexcept;

// Exactly eight upper-case hex digits of the value's 32-bit pattern.
std::u16string LongToHex(Long value);

// The 32 binary digits of a hex text, most significant first, built from two halves: the
// high half is ParseHexLong of the leftmost four characters, the low half ParseHexLong of the
// rightmost four, each written as 16 digits. For an eight-digit text this is its bit pattern;
// a shorter text is read as both halves, and characters between the outer four are not read.
// Throws ConversionError only if a half is not hex.
std::u16string HexToBin(std::u16string_view hexText);

// Allocation-free forms of the three writers: each fills the caller's buffer and returns a view
// of the text there. The forms above are built on these and give the same texts.
inline constexpr std::size_t kDecimalCapacity = 11;  // "-2147483648"
inline constexpr std::size_t kHexDigitCount = 8;
inline constexpr std::size_t kBinaryDigitCount = 32;
std::u16string_view FormatLong(Long value, std::span<char16_t, kDecimalCapacity> buffer);
std::u16string_view LongToHex(Long value, std::span<char16_t, kHexDigitCount> buffer);
std::u16string_view HexToBin(std::u16string_view hexText,
                             std::span<char16_t, kBinaryDigitCount> buffer);

}  // namespace tsrl
