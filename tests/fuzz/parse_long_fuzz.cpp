// ParseLong on any text either throws ConversionError or gives a value that survives FormatLong
// and that NumericValue reads as non-zero exactly when it is non-zero.
#include "conversions.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = tsrl::fuzz::DecodeUtf16(data, size);
    tsrl::Long value = 0;
    try {
        value = tsrl::ParseLong(text);
    } catch (const tsrl::ConversionError&) {
        return 0;
    }
    TSRL_REQUIRE(tsrl::ParseLong(tsrl::FormatLong(value)) == value);
    TSRL_REQUIRE((tsrl::NumericValue(text) != 0) == (value != 0));
    return 0;
}
