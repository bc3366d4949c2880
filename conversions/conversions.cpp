#include "conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tsrl {
namespace {

constexpr std::uint64_t kPatternMax = 0xFFFFFFFFu;
constexpr std::uint64_t kNegativeMagnitudeMax = 2147483648u;
constexpr std::uint64_t kPositiveMax = 2147483647u;
constexpr int kNotADigit = -1;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// Digit values of ASCII characters; anything else is not a digit. A table, since every
// character of every text goes through here.
constexpr std::array<std::uint8_t, 128> kDigitValues = [] {
    constexpr std::string_view kDigits = "0123456789abcdef";
    constexpr std::string_view kUpperDigits = "0123456789ABCDEF";
    std::array<std::uint8_t, 128> values{};
    values.fill(0xFF);
    for (std::size_t i = 0; i < kDigits.size(); ++i) {
        values[static_cast<unsigned char>(kDigits[i])] = static_cast<std::uint8_t>(i);
        values[static_cast<unsigned char>(kUpperDigits[i])] = static_cast<std::uint8_t>(i);
    }
    return values;
}();

// Value of an ASCII digit in the given radix (2, 10 or 16), or kNotADigit.
int DigitValue(char16_t c, int radix) {
    const int value = c < kDigitValues.size() ? kDigitValues[c] : kNotADigit;
    return value < radix ? value : kNotADigit;
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

struct RadixPrefix {
    std::u16string_view lower;
    std::u16string_view upper;
    int radix;
};

constexpr std::array<RadixPrefix, 3> kRadixPrefixes{{
    {u"&h", u"&H", 16},
    {u"0x", u"0X", 16},
    {u"0b", u"0B", 2},
}};

// The radix a prefix announces, with the prefix removed from text; 0 if there is none.
int TakeRadixPrefix(std::u16string_view& text) {
    if (text.size() < 2 || (text.front() != u'&' && text.front() != u'0')) {
        return 0;
    }
    for (const auto& prefix : kRadixPrefixes) {
        if (text.starts_with(prefix.lower) || text.starts_with(prefix.upper)) {
            text.remove_prefix(prefix.lower.size());
            return prefix.radix;
        }
    }
    return 0;
}

// All of digits as a 32-bit pattern; leading zeros are free, significant bits are not.
Long ParsePattern(std::u16string_view digits, int radix) {
    if (digits.empty()) {
        throw ConversionError("not a number");
    }
    std::uint64_t value = 0;
    for (char16_t c : digits) {
        const int digit = DigitValue(c, radix);
        if (digit == kNotADigit) {
            throw ConversionError("not a number");
        }
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
        if (value > kPatternMax) {
            throw ConversionError("out of range");
        }
    }
    return static_cast<Long>(static_cast<std::uint32_t>(value));
}

Long ParseDecimal(std::u16string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        throw ConversionError("not a number");
    }
    const std::uint64_t limit = negative ? kNegativeMagnitudeMax : kPositiveMax;
    std::uint64_t magnitude = 0;
    for (char16_t c : text) {
        const int digit = DigitValue(c, 10);
        if (digit == kNotADigit) {
            throw ConversionError("not a number");
        }
        magnitude = magnitude * 10u + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) {
            throw ConversionError("out of range");
        }
    }
    const auto signedMagnitude = static_cast<std::int64_t>(magnitude);
    return static_cast<Long>(negative ? -signedMagnitude : signedMagnitude);
}

// Length of the run of radix digits at the start of text.
std::size_t DigitRun(std::u16string_view text, int radix) {
    std::size_t n = 0;
    while (n < text.size() && DigitValue(text[n], radix) != kNotADigit) {
        ++n;
    }
    return n;
}

double RadixValue(std::u16string_view digits, int radix) {
    std::uint64_t pattern = 0;
    double wide = 0.0;
    bool fits = true;
    for (char16_t c : digits) {
        const int digit = DigitValue(c, radix);
        wide = wide * radix + digit;
        if (fits) {
            pattern =
                pattern * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
            fits = pattern <= kPatternMax;
        }
    }
    return fits ? static_cast<double>(static_cast<Long>(static_cast<std::uint32_t>(pattern)))
                : wide;
}

// Where the first significant digit of a non-zero decimal number stands: 1 for the units,
// 2 for the tens, 0 for the tenths, -1 for the hundredths, and so on, exponent included.
// Saturates far beyond the range of a double, so any length of digits or exponent is safe.
long long DecimalOrder(std::string_view number, std::size_t mantissaLength) {
    constexpr long long kFarBeyondDouble = 1'000'000'000;
    const std::string_view mantissa = number.substr(0, mantissaLength);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t firstSignificant = mantissa.find_first_of("123456789");
    long long order = firstSignificant < point
                          ? static_cast<long long>(point - firstSignificant)
                          : -static_cast<long long>(firstSignificant - point - 1);
    std::string_view exponent = number.substr(std::min(mantissaLength + 1, number.size()));
    const bool negativeExponent = !exponent.empty() && exponent.front() == '-';
    if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+')) {
        exponent.remove_prefix(1);
    }
    long long magnitude = 0;
    for (char c : exponent) {
        magnitude = std::min(magnitude * 10 + (c - '0'), kFarBeyondDouble);
    }
    order += negativeExponent ? -magnitude : magnitude;
    return std::clamp(order, -kFarBeyondDouble, kFarBeyondDouble);
}

// Parses an ASCII decimal number; on overflow or underflow gives the nearest non-zero extreme.
double DecimalValue(std::u16string_view number, std::size_t mantissaLength) {
    std::string ascii(number.size(), '\0');
    for (std::size_t i = 0; i < number.size(); ++i) {
        ascii[i] = static_cast<char>(number[i]);
    }
    const char* first = ascii.data();
    const bool negative = ascii.front() == '-';
    double value = 0.0;
    if (std::from_chars(first, first + ascii.size(), value).ec != std::errc::result_out_of_range) {
        return value;
    }
    // Out of range: the decimal order of the first significant digit tells huge from tiny.
    const bool huge = DecimalOrder(std::string_view(ascii), mantissaLength) > 0;
    const double magnitude =
        huge ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::denorm_min();
    return negative ? -magnitude : magnitude;
}

}  // namespace

Long ParseLong(std::u16string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) {
        throw ConversionError("empty");
    }
    if (const int radix = TakeRadixPrefix(text); radix != 0) {
        return ParsePattern(text, radix);
    }
    return ParseDecimal(text);
}

Long ParseHexLong(std::u16string_view digits) {
    return ParsePattern(digits, 16);
}

std::u16string_view FormatLong(Long value, std::span<char16_t, kDecimalCapacity> buffer) {
    // Digits from the right; the magnitude as unsigned, so -2147483648 needs no special case.
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    std::size_t first = buffer.size();
    do {
        buffer[--first] = static_cast<char16_t>(u'0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    if (value < 0) {
        buffer[--first] = u'-';
    }
    return {buffer.data() + first, buffer.size() - first};
}

std::u16string FormatLong(Long value) {
    std::array<char16_t, kDecimalCapacity> buffer{};
    return std::u16string(FormatLong(value, buffer));
}

double NumericValue(std::u16string_view text) noexcept {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    std::u16string_view afterPrefix = text;
    if (const int radix = TakeRadixPrefix(afterPrefix); radix != 0) {
        if (const std::size_t run = DigitRun(afterPrefix, radix); run > 0) {
            return RadixValue(afterPrefix.substr(0, run), radix);
        }
    }
    // [+|-] digits [. digits] [e [+|-] digits], with at least one mantissa digit.
    std::size_t n = 0;
    const bool plus = !text.empty() && text.front() == u'+';
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        ++n;
    }
    std::size_t digits = DigitRun(text.substr(n), 10);
    n += digits;
    if (n < text.size() && text[n] == u'.') {
        const std::size_t fraction = DigitRun(text.substr(n + 1), 10);
        if (digits + fraction > 0) {
            n += 1 + fraction;
            digits += fraction;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    const std::size_t mantissaLength = n;
    if (n < text.size() && (text[n] == u'e' || text[n] == u'E')) {
        std::size_t e = n + 1;
        if (e < text.size() && (text[e] == u'+' || text[e] == u'-')) {
            ++e;
        }
        if (const std::size_t run = DigitRun(text.substr(e), 10); run > 0) {
            n = e + run;
        }
    }
    const std::size_t skip = plus ? 1 : 0;
    return DecimalValue(text.substr(skip, n - skip), mantissaLength - skip);
}

std::u16string_view LongToHex(Long value, std::span<char16_t, kHexDigitCount> buffer) {
    constexpr std::u16string_view kHexDigits = u"0123456789ABCDEF";
    auto pattern = static_cast<std::uint32_t>(value);
    for (std::size_t i = buffer.size(); i-- > 0;) {
        buffer[i] = kHexDigits[pattern & 0xFu];
        pattern >>= 4;
    }
    return {buffer.data(), buffer.size()};
}

std::u16string LongToHex(Long value) {
    std::array<char16_t, kHexDigitCount> buffer{};
    return std::u16string(LongToHex(value, buffer));
}

std::u16string_view HexToBin(std::u16string_view hexText,
                             std::span<char16_t, kBinaryDigitCount> buffer) {
    constexpr std::size_t kHalfDigits = 4;
    constexpr std::size_t kHalfBits = 16;
    const std::size_t halfLength = std::min(kHalfDigits, hexText.size());
    const auto low =
        static_cast<std::uint32_t>(ParseHexLong(hexText.substr(hexText.size() - halfLength)));
    const auto high = static_cast<std::uint32_t>(ParseHexLong(hexText.substr(0, halfLength)));
    const std::uint32_t pattern = (high << kHalfBits) | low;
    // Four digits at a time from a table: no branch for random bits to mispredict.
    constexpr std::size_t kNibbleBits = 4;
    constexpr std::array<std::u16string_view, 16> kNibbles{
        u"0000", u"0001", u"0010", u"0011", u"0100", u"0101", u"0110", u"0111",
        u"1000", u"1001", u"1010", u"1011", u"1100", u"1101", u"1110", u"1111"};
    for (std::size_t i = 0; i < buffer.size(); i += kNibbleBits) {
        const std::uint32_t nibble = (pattern >> (buffer.size() - kNibbleBits - i)) & 0xFu;
        kNibbles[nibble].copy(buffer.data() + i, kNibbleBits);
    }
    return {buffer.data(), buffer.size()};
}

std::u16string HexToBin(std::u16string_view hexText) {
    std::array<char16_t, kBinaryDigitCount> buffer{};
    return std::u16string(HexToBin(hexText, buffer));
}

}  // namespace tsrl
