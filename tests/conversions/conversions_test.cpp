// Table-driven tests of the conversions: one row per case, named after the case.
#include <gtest/gtest.h>

#include <array>

#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "conversions.h"

namespace tsrl {
namespace {

constexpr Long kMin = std::numeric_limits<Long>::min();
constexpr Long kMax = std::numeric_limits<Long>::max();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();

std::u16string Repeat(char16_t c, std::size_t n) {
    return std::u16string(n, c);
}

// The 32-bit pattern written bit by bit, independently of the library.
std::u16string Bits(Long v) {
    const auto u = static_cast<std::uint32_t>(v);
    std::u16string bits(32, u'0');
    for (std::size_t i = 0; i < 32; ++i) {
        if (((u >> (31 - i)) & 1u) != 0) {
            bits[i] = u'1';
        }
    }
    return bits;
}

struct Accept {
    const char* name;
    std::u16string text;
    Long value;
    friend void PrintTo(const Accept& row, std::ostream* os) { *os << row.name; }
};
struct Reject {
    const char* name;
    std::u16string text;
    friend void PrintTo(const Reject& row, std::ostream* os) { *os << row.name; }
};
struct Reading {
    const char* name;
    std::u16string text;
    double value;
    friend void PrintTo(const Reading& row, std::ostream* os) { *os << row.name; }
};
struct Written {
    const char* name;
    Long value;
    std::u16string decimal;
    std::u16string hex;
    friend void PrintTo(const Written& row, std::ostream* os) { *os << row.name; }
};
struct Binary {
    const char* name;
    std::u16string hex;
    std::u16string bits;
    friend void PrintTo(const Binary& row, std::ostream* os) { *os << row.name; }
};
const auto kRowName = [](const auto& info) { return std::string(info.param.name); };

// ---- ParseLong ----

class ParseLongAccepts : public testing::TestWithParam<Accept> {};
TEST_P(ParseLongAccepts, ReadsValueAndNumericValueAgrees) {
    EXPECT_EQ(ParseLong(GetParam().text), GetParam().value);
    EXPECT_EQ(NumericValue(GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(
    Table, ParseLongAccepts,
    testing::Values(
        Accept{"Zero", u"0", 0}, Accept{"MinusZero", u"-0", 0}, Accept{"PlusSign", u"+5", 5},
        Accept{"LeadingZeros", u"007", 7}, Accept{"Max", u"2147483647", kMax},
        Accept{"Min", u"-2147483648", kMin}, Accept{"MinPlusOne", u"-2147483647", kMin + 1},
        Accept{"Pow15Less1", u"32767", 32767}, Accept{"Pow15", u"32768", 32768},
        Accept{"MinusPow15", u"-32768", -32768}, Accept{"MinusPow15Less1", u"-32769", -32769},
        Accept{"Pow16Less1", u"65535", 65535}, Accept{"Pow16", u"65536", 65536},
        Accept{"AmpHex", u"&hFF", 255}, Accept{"AmpHexUpper", u"&HFF", 255},
        Accept{"AmpHexLowerDigits", u"&hff", 255}, Accept{"AmpHexAllOnes", u"&hFFFFFFFF", -1},
        Accept{"AmpHexMin", u"&h80000000", kMin}, Accept{"AmpHexMax", u"&h7FFFFFFF", kMax},
        Accept{"AmpHexPow16Less1", u"&hFFFF", 65535}, Accept{"AmpHexNineDigits", u"&h000000001", 1},
        Accept{"ZeroX", u"0xFF", 255}, Accept{"ZeroXUpper", u"0XFF", 255},
        Accept{"ZeroXAllOnes", u"0xFFFFFFFF", -1}, Accept{"ZeroB", u"0b101", 5},
        Accept{"ZeroBUpper", u"0B101", 5}, Accept{"ZeroB32Ones", u"0b" + Repeat(u'1', 32), -1},
        Accept{"ZeroBMin", u"0b1" + Repeat(u'0', 31), kMin},
        Accept{"ZeroBLeadingZeros", u"0b000" + Repeat(u'1', 32), -1}, Accept{"Blanks", u" 42 ", 42},
        Accept{"Tabs", u"\t-42\t", -42}, Accept{"BlanksAroundHex", u" \t&hFF\t ", 255},
        Accept{"BlanksAroundBinary", u"  0b1  ", 1}),
    kRowName);

class ParseLongRejects : public testing::TestWithParam<Reject> {};
TEST_P(ParseLongRejects, Throws) {
    EXPECT_THROW(ParseLong(GetParam().text), ConversionError);
}
INSTANTIATE_TEST_SUITE_P(
    NotANumber, ParseLongRejects,
    testing::Values(Reject{"Empty", u""}, Reject{"OnlyBlanks", u"   "}, Reject{"OnlyTab", u"\t"},
                    Reject{"Letters", u"abc"}, Reject{"OnlyPlus", u"+"}, Reject{"OnlyMinus", u"-"},
                    Reject{"TwoSigns", u"+-5"}, Reject{"Fraction", u"1.5"},
                    Reject{"Exponent", u"1e3"}, Reject{"GroupComma", u"1,000"},
                    Reject{"GroupBlank", u"1 000"}, Reject{"BlankAfterSign", u"- 5"},
                    Reject{"SignedHex", u"-0x5"}, Reject{"PlusHex", u"+&h5"},
                    Reject{"AmpHexNoDigits", u"&h"}, Reject{"ZeroXNoDigits", u"0x"},
                    Reject{"ZeroBNoDigits", u"0b"}, Reject{"BlankAfterPrefix", u"&h FF"},
                    Reject{"HexNotDigit", u"&hFG"}, Reject{"BinaryTwo", u"0b102"},
                    Reject{"OctalPrefix", u"0o7"}, Reject{"FullWidthDigit", u"\uFF11"},
                    Reject{"ArabicIndicDigits", u"\u0661\u0662"}, Reject{"NbspBefore", u"\u00A042"},
                    Reject{"NbspAfter", u"42\u00A0"}, Reject{"NewlineAfter", u"42\n"},
                    Reject{"TrailingLetters", u"12abc"}),
    kRowName);
INSTANTIATE_TEST_SUITE_P(OutOfRange, ParseLongRejects,
                         testing::Values(Reject{"MaxPlusOne", u"2147483648"},
                                         Reject{"MinLessOne", u"-2147483649"},
                                         Reject{"TwentyDigits", u"99999999999999999999"},
                                         Reject{"AmpHex33Bits", u"&h100000000"},
                                         Reject{"ZeroX33Bits", u"0x100000000"},
                                         Reject{"ZeroB33Bits", u"0b1" + Repeat(u'0', 32)},
                                         Reject{"ZeroB33Ones", u"0b" + Repeat(u'1', 33)}),
                         kRowName);

// ---- ParseHexLong ----

class ParseHexLongAccepts : public testing::TestWithParam<Accept> {};
TEST_P(ParseHexLongAccepts, ReadsPatternAsIfAmpHStoodBefore) {
    EXPECT_EQ(ParseHexLong(GetParam().text), GetParam().value);
    EXPECT_EQ(ParseLong(u"&h" + GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(
    Table, ParseHexLongAccepts,
    testing::Values(Accept{"Lower", u"ff", 255}, Accept{"Mixed", u"aBcD", 0xABCD},
                    Accept{"Zero", u"0", 0}, Accept{"Pow15Less1", u"7FFF", 32767},
                    Accept{"Pow15", u"8000", 32768}, Accept{"Pow16Less1", u"FFFF", 65535},
                    Accept{"Pow16", u"10000", 65536}, Accept{"Max", u"7FFFFFFF", kMax},
                    Accept{"Min", u"80000000", kMin}, Accept{"AllOnes", u"FFFFFFFF", -1},
                    Accept{"NineDigits", u"000000001", 1},
                    Accept{"ManyLeadingZeros", Repeat(u'0', 40) + u"FFFFFFFF", -1}),
    kRowName);

class ParseHexLongRejects : public testing::TestWithParam<Reject> {};
TEST_P(ParseHexLongRejects, Throws) {
    EXPECT_THROW(ParseHexLong(GetParam().text), ConversionError);
}
INSTANTIATE_TEST_SUITE_P(
    NotHex, ParseHexLongRejects,
    testing::Values(Reject{"Empty", u""}, Reject{"NotADigit", u"G1"}, Reject{"AmpHPrefix", u"&hFF"},
                    Reject{"ZeroXPrefix", u"0xFF"}, Reject{"Minus", u"-1"}, Reject{"Plus", u"+1"},
                    Reject{"BlankBefore", u" FF"}, Reject{"BlankAfter", u"FF "},
                    Reject{"BlankInside", u"F F"}, Reject{"FullWidthF", u"\uFF26"}),
    kRowName);
INSTANTIATE_TEST_SUITE_P(OutOfRange, ParseHexLongRejects,
                         testing::Values(Reject{"Pow32", u"100000000"},
                                         Reject{"NineFs", u"FFFFFFFFF"}),
                         kRowName);

// ---- FormatLong and LongToHex ----

class Writes : public testing::TestWithParam<Written> {};
TEST_P(Writes, CanonicalDecimalAndEightHexDigits) {
    EXPECT_EQ(FormatLong(GetParam().value), GetParam().decimal);
    EXPECT_EQ(LongToHex(GetParam().value), GetParam().hex);
}
INSTANTIATE_TEST_SUITE_P(
    Table, Writes,
    testing::Values(Written{"Zero", 0, u"0", u"00000000"}, Written{"One", 1, u"1", u"00000001"},
                    Written{"MinusOne", -1, u"-1", u"FFFFFFFF"},
                    Written{"ByteMax", 255, u"255", u"000000FF"},
                    Written{"Pow15", 32768, u"32768", u"00008000"},
                    Written{"MinusPow15", -32768, u"-32768", u"FFFF8000"},
                    Written{"Pow16Less1", 65535, u"65535", u"0000FFFF"},
                    Written{"MinusPow16", -65536, u"-65536", u"FFFF0000"},
                    Written{"Max", kMax, u"2147483647", u"7FFFFFFF"},
                    Written{"Min", kMin, u"-2147483648", u"80000000"},
                    Written{"UpperLetters", 0xABCDEF, u"11259375", u"00ABCDEF"}),
    kRowName);

TEST(FormatLong, RewritesAcceptedTextCanonically) {
    EXPECT_EQ(FormatLong(ParseLong(u"007")), u"7");
    EXPECT_EQ(FormatLong(ParseLong(u"-0")), u"0");
    EXPECT_EQ(FormatLong(ParseLong(u" +5 ")), u"5");
    EXPECT_EQ(FormatLong(ParseLong(u"&hFFFFFFFF")), u"-1");
}

// ---- HexToBin ----

class HexToBinWrites : public testing::TestWithParam<Binary> {};
TEST_P(HexToBinWrites, ThirtyTwoDigits) {
    EXPECT_EQ(HexToBin(GetParam().hex), GetParam().bits);
}
const std::u16string kF16 = u"0000000000001111";
INSTANTIATE_TEST_SUITE_P(
    Table, HexToBinWrites,
    testing::Values(Binary{"Zero", u"00000000", Repeat(u'0', 32)},
                    Binary{"AllOnes", u"FFFFFFFF", Repeat(u'1', 32)},
                    Binary{"Digits", u"12345678", u"00010010001101000101011001111000"},
                    Binary{"Pow16Less1", u"0000FFFF", Repeat(u'0', 16) + Repeat(u'1', 16)},
                    Binary{"Pow15", u"00008000", Repeat(u'0', 16) + u"1" + Repeat(u'0', 15)},
                    Binary{"LowerCase", u"ffff0000", Repeat(u'1', 16) + Repeat(u'0', 16)},
                    // Short texts are read as both halves; the middle of long ones is not read.
                    Binary{"OneChar", u"F", kF16 + kF16},
                    Binary{"FourChars", u"FFFF", Repeat(u'1', 32)},
                    Binary{"FiveCharsOverlap", u"12345", u"00010010001101000010001101000101"},
                    Binary{"MiddleNotRead", u"1234G5678", u"00010010001101000101011001111000"}),
    kRowName);

class HexToBinRejects : public testing::TestWithParam<Reject> {};
TEST_P(HexToBinRejects, Throws) {
    EXPECT_THROW(HexToBin(GetParam().text), ConversionError);
}
INSTANTIATE_TEST_SUITE_P(NotHex, HexToBinRejects,
                         testing::Values(Reject{"Empty", u""}, Reject{"HighHalf", u"GGGG0000"},
                                         Reject{"LowHalf", u"0000GGGG"}, Reject{"OneChar", u"G"},
                                         Reject{"BlankInHalf", u" FFF0000"}),
                         kRowName);

// ---- NumericValue ----

static_assert(noexcept(NumericValue(u"")));

class NumericValueReads : public testing::TestWithParam<Reading> {};
TEST_P(NumericValueReads, LeadingNumber) {
    EXPECT_EQ(NumericValue(GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(Zero, NumericValueReads,
                         testing::Values(Reading{"Zero", u"0", 0}, Reading{"MinusZero", u"-0", 0},
                                         Reading{"ZeroZero", u"00", 0}, Reading{"Empty", u"", 0},
                                         Reading{"Letters", u"abc", 0}, Reading{"Blanks", u"  ", 0},
                                         Reading{"AmpHNoDigits", u"&h", 0},
                                         Reading{"ZeroXNoDigits", u"0x", 0},
                                         Reading{"OnlyPoint", u".", 0},
                                         Reading{"OnlySign", u"-", 0},
                                         Reading{"ZeroMantissaHugeExponent", u"0e999", 0}),
                         kRowName);
INSTANTIATE_TEST_SUITE_P(
    NonZero, NumericValueReads,
    testing::Values(Reading{"Five", u"5", 5}, Reading{"MinusThree", u"-3", -3},
                    Reading{"Half", u"0.5", 0.5}, Reading{"TrailingLetters", u"12abc", 12},
                    Reading{"AmpHexAllOnes", u"&hFFFFFFFF", -1},
                    Reading{"AmpHexWider", u"&h100000000", 4294967296.0},
                    Reading{"ZeroX", u"0x10", 16}, Reading{"ZeroB", u"0b1", 1},
                    Reading{"BlankBefore", u" 7", 7}, Reading{"Exponent", u"1e3", 1000},
                    Reading{"PointFirst", u".5", 0.5}, Reading{"PointLast", u"5.", 5},
                    Reading{"Huge", u"1e999", kInf}, Reading{"MinusHuge", u"-1e999", -kInf},
                    Reading{"Tiny", u"1e-999", kTiny}, Reading{"MinusTiny", u"-1e-999", -kTiny},
                    Reading{"LongMantissaTiny", u"1" + Repeat(u'0', 400) + u"e-999", kTiny},
                    Reading{"SmallMantissaHuge", u"0." + Repeat(u'0', 400) + u"1e999", kInf},
                    Reading{"LongLeadingZeros", Repeat(u'0', 100000) + u"1", 1}),
    kRowName);

// ---- Properties over boundary values and a seeded random sample ----

// Names the first broken property for v, or gives "" when all hold.
std::string_view Broken(Long v) {
    try {
        const std::u16string dec = FormatLong(v);
        const std::u16string_view digits = std::u16string_view(dec).substr(v < 0 ? 1u : 0u);
        if ((dec[0] == u'-') != (v < 0) || digits.empty() ||
            (digits.size() > 1 && digits[0] == u'0') ||
            digits.find_first_not_of(u"0123456789") != std::u16string_view::npos) {
            return "FormatLong is not canonical";
        }
        const std::u16string hex = LongToHex(v);
        if (hex.size() != 8 || hex.find_first_not_of(u"0123456789ABCDEF") != std::u16string::npos) {
            return "LongToHex is not eight upper-case digits";
        }
        if (ParseHexLong(hex) != v) {
            return "ParseHexLong(LongToHex(v))";
        }
        const std::u16string bits = Bits(v);
        if (HexToBin(hex) != bits) {
            return "HexToBin(LongToHex(v))";
        }
        std::array<char16_t, kDecimalCapacity> decimalBuffer{};
        std::array<char16_t, kHexDigitCount> hexBuffer{};
        std::array<char16_t, kBinaryDigitCount> binaryBuffer{};
        if (FormatLong(v, decimalBuffer) != dec || LongToHex(v, hexBuffer) != hex ||
            HexToBin(hex, binaryBuffer) != bits) {
            return "a buffer form differs from its string form";
        }
        // Each written form, bare and between blanks. NumericValue == ParseLong is the
        // agreement rule, and stronger.
        const std::u16string forms[] = {dec, u"&h" + hex, u"0x" + hex, u"0b" + bits};
        for (const std::u16string& form : forms) {
            for (const std::u16string& t : {form, u" \t" + form + u"\t "}) {
                if (ParseLong(t) != v) {
                    return "ParseLong of a written form";
                }
                if (NumericValue(t) != v) {
                    return "NumericValue of a written form";
                }
            }
        }
    } catch (const ConversionError&) {
        return "a written form was rejected";
    }
    return "";
}

TEST(Properties, HoldAtBoundaries) {
    std::vector<std::int64_t> values;
    for (std::int64_t p = 1; p <= (std::int64_t{1} << 32); p *= 2) {
        for (std::int64_t d : {-1, 0, 1}) {
            values.insert(values.end(), {p + d, -p + d});
        }
    }
    for (std::int64_t p = 1; p <= 10'000'000'000; p *= 10) {
        values.insert(values.end(), {p - 1, p, -p, -p + 1});
    }
    for (std::int64_t v : values) {
        if (v >= kMin && v <= kMax) {
            EXPECT_EQ(Broken(static_cast<Long>(v)), "") << "value " << v;
        }
    }
}

TEST(Properties, HoldOnSeededSample) {
    constexpr std::uint32_t kSeed = 20240611;
    std::mt19937 random(kSeed);
    for (int i = 0; i < 1'000'000; ++i) {
        const auto v = static_cast<Long>(random());
        ASSERT_EQ(Broken(v), "") << "value " << v << ", draw " << i << ", seed " << kSeed;
    }
}

}  // namespace
}  // namespace tsrl
