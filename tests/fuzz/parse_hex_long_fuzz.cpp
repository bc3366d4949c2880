// ParseHexLong on any text either throws ConversionError or gives a value whose eight hex
// digits read back to it and spell its bit pattern through HexToBin.
#include "conversions.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = tsrl::fuzz::DecodeUtf16(data, size);
    tsrl::Long value = 0;
    try {
        value = tsrl::ParseHexLong(text);
    } catch (const tsrl::ConversionError&) {
        return 0;
    }
    const std::u16string hex = tsrl::LongToHex(value);
    TSRL_REQUIRE(tsrl::ParseHexLong(hex) == value);
    TSRL_REQUIRE(tsrl::HexToBin(hex) == tsrl::fuzz::Bits(static_cast<std::uint32_t>(value)));
    return 0;
}
