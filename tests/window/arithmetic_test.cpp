// The exact arithmetic behind +, -, X and \: every boundary gives the true value or fails.
#include "arithmetic.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <ostream>
#include <string>

namespace tsrl {
namespace {

constexpr Long kMin = std::numeric_limits<Long>::min();
constexpr Long kMax = std::numeric_limits<Long>::max();

struct Operation {
    std::string name;
    Long (*operation)(Long, Long);
    Long a;
    Long b;
    std::optional<Long> result;  // none: the operation fails
};

void PrintTo(const Operation& operation, std::ostream* out) { *out << operation.name; }

class Arithmetic : public ::testing::TestWithParam<Operation> {};

TEST_P(Arithmetic, GivesTheExactResultOrFails) {
    const Operation& c = GetParam();
    if (c.result) {
        EXPECT_EQ(c.operation(c.a, c.b), *c.result);
    } else {
        EXPECT_THROW(c.operation(c.a, c.b), ConversionError);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, Arithmetic,
    ::testing::Values(Operation{"SumAtMax", CheckedAdd, kMax - 1, 1, kMax},
                      Operation{"SumPastMax", CheckedAdd, kMax, 1, std::nullopt},
                      Operation{"SumAtMin", CheckedAdd, kMin + 1, -1, kMin},
                      Operation{"SumPastMin", CheckedAdd, kMin, -1, std::nullopt},
                      Operation{"SmallSum", CheckedAdd, 200, 56, 256},
                      Operation{"DifferenceIsFirstMinusSecond", CheckedSubtract, 5, 7, -2},
                      Operation{"DifferenceAtMin", CheckedSubtract, -1, kMax, kMin},
                      Operation{"DifferencePastMin", CheckedSubtract, kMin, 1, std::nullopt},
                      Operation{"ZeroMinusMin", CheckedSubtract, 0, kMin, std::nullopt},
                      Operation{"DifferencePastMax", CheckedSubtract, kMax, -1, std::nullopt},
                      Operation{"ProductAtMin", CheckedMultiply, -65536, 32768, kMin},
                      Operation{"ProductPastMax", CheckedMultiply, 65536, 32768, std::nullopt},
                      Operation{"MinusOneTimesMin", CheckedMultiply, -1, kMin, std::nullopt},
                      Operation{"ProductNearMax", CheckedMultiply, 46340, 46340, 2147395600},
                      Operation{"ProductJustPastMax", CheckedMultiply, 46341, 46341, std::nullopt},
                      Operation{"QuotientTruncatesPositive", CheckedDivide, 7, 2, 3},
                      Operation{"QuotientTruncatesNegativeDividend", CheckedDivide, -7, 2, -3},
                      Operation{"QuotientTruncatesNegativeDivisor", CheckedDivide, 7, -2, -3},
                      Operation{"QuotientOfNegatives", CheckedDivide, -7, -2, 3},
                      Operation{"QuotientBelowOne", CheckedDivide, 1, 2, 0},
                      Operation{"ZeroDivisor", CheckedDivide, 1, 0, std::nullopt},
                      Operation{"ZeroByZero", CheckedDivide, 0, 0, std::nullopt},
                      Operation{"MinByMinusOne", CheckedDivide, kMin, -1, std::nullopt},
                      Operation{"MinByOne", CheckedDivide, kMin, 1, kMin}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace tsrl
