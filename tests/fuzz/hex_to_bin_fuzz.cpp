// HexToBin on any text throws ConversionError or gives 32 binary digits, the bit pattern itself
// for eight hex digits; and the eight digits LongToHex writes for the first four input bytes
// come back as those bytes' bits.
#include <algorithm>

#include "conversions.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = tsrl::fuzz::DecodeUtf16(data, size);
    bool eightDigits = false;
    tsrl::Long value = 0;
    if (text.size() == 8) {
        try {
            value = tsrl::ParseHexLong(text);
            eightDigits = true;
        } catch (const tsrl::ConversionError&) {
        }
    }
    try {
        const std::u16string bits = tsrl::HexToBin(text);
        TSRL_REQUIRE(bits.size() == 32 && bits.find_first_not_of(u"01") == std::u16string::npos);
        TSRL_REQUIRE(!eightDigits || bits == tsrl::fuzz::Bits(static_cast<std::uint32_t>(value)));
    } catch (const tsrl::ConversionError&) {
        TSRL_REQUIRE(!eightDigits);
    }

    std::uint32_t pattern = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 4); ++i) {
        pattern |= std::uint32_t{data[i]} << (8 * i);
    }
    const std::u16string hex = tsrl::LongToHex(static_cast<tsrl::Long>(pattern));
    TSRL_REQUIRE(tsrl::HexToBin(hex) == tsrl::fuzz::Bits(pattern));
    return 0;
}
