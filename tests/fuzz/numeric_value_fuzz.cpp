// NumericValue on any text returns a number (a throw out of noexcept would abort). On a text
// ParseLong accepts it gives that same value, so zero exactly when ParseLong gives zero; on a
// plain decimal start it agrees with strtod, except that a non-zero magnitude strtod rounds to
// zero must come back as the smallest denormal.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "conversions.h"
#include "fuzz_support.h"

namespace {

// strtod's reading of the text, or NaN where strtod's grammar differs from NumericValue's
// (radix prefixes, hex floats, inf and nan).
double Strtod(const std::u16string& text) {
    std::string ascii;
    for (char16_t c : text.substr(std::min(text.find_first_not_of(u" \t"), text.size()))) {
        ascii += c > 0 && c < 0x80 ? static_cast<char>(c) : '#';
    }
    const std::size_t start = ascii.starts_with('+') || ascii.starts_with('-') ? 1 : 0;
    const std::string_view rest = std::string_view(ascii).substr(start);
    const bool decimal = !rest.empty() && ((rest[0] >= '0' && rest[0] <= '9') || rest[0] == '.');
    const bool radix = rest.size() > 1 && rest[0] == '0' &&
                       std::string_view("xXbB").find(rest[1]) != std::string_view::npos;
    if (!decimal || radix) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    char* end = nullptr;
    const double value = std::strtod(ascii.c_str(), &end);
    const std::string_view number(ascii.c_str(), static_cast<std::size_t>(end - ascii.c_str()));
    const bool nonZero = number.substr(0, number.find_first_of("eE")).find_first_of("123456789") !=
                         std::string_view::npos;
    return value == 0 && nonZero ? std::copysign(std::numeric_limits<double>::denorm_min(), value)
                                 : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = tsrl::fuzz::DecodeUtf16(data, size);
    const double number = tsrl::NumericValue(text);
    TSRL_REQUIRE(!std::isnan(number));
    const double expected = Strtod(text);
    TSRL_REQUIRE(std::isnan(expected) || number == expected);
    tsrl::Long value = 0;
    try {
        value = tsrl::ParseLong(text);
    } catch (const tsrl::ConversionError&) {
        return 0;
    }
    TSRL_REQUIRE((number != 0) == (value != 0));
    TSRL_REQUIRE(number == static_cast<double>(value));
    return 0;
}
