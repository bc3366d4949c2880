// Nanoseconds per call of each conversion, beside a floor: std::to_chars writing the same values
// in base 10, 16 and 2 into stack buffers. All read the same fixed pseudo-random values.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "conversions.h"

namespace {

using tsrl::Long;

constexpr std::size_t kCount = 4096;  // a power of two, so the index wraps with a mask

struct Inputs {
    std::vector<Long> values;
    std::vector<std::u16string> decimals;
    std::vector<std::u16string> hexes;
};

const Inputs& TheInputs() {
    static const Inputs inputs = [] {
        Inputs in;
        std::mt19937 random(12345);
        for (std::size_t i = 0; i < kCount; ++i) {
            const auto v = static_cast<Long>(random());
            in.values.push_back(v);
            in.decimals.push_back(tsrl::FormatLong(v));
            in.hexes.push_back(tsrl::LongToHex(v));
        }
        return in;
    }();
    return inputs;
}

// Runs call(i) for i cycling over the inputs.
template <typename Call>
void Cycle(benchmark::State& state, Call call) {
    std::size_t i = 0;
    for (auto _ : state) {
        call(i);
        i = (i + 1) & (kCount - 1);
    }
}

void BM_ParseLong(benchmark::State& state) {
    const auto& in = TheInputs();
    Cycle(state, [&](std::size_t i) { benchmark::DoNotOptimize(tsrl::ParseLong(in.decimals[i])); });
}
void BM_ParseHexLong(benchmark::State& state) {
    const auto& in = TheInputs();
    Cycle(state, [&](std::size_t i) { benchmark::DoNotOptimize(tsrl::ParseHexLong(in.hexes[i])); });
}
void BM_NumericValue(benchmark::State& state) {
    const auto& in = TheInputs();
    Cycle(state,
          [&](std::size_t i) { benchmark::DoNotOptimize(tsrl::NumericValue(in.decimals[i])); });
}
void BM_FormatLong(benchmark::State& state) {
    const auto& in = TheInputs();
    Cycle(state, [&](std::size_t i) { benchmark::DoNotOptimize(tsrl::FormatLong(in.values[i])); });
}
void BM_LongToHex(benchmark::State& state) {
    const auto& in = TheInputs();
    Cycle(state, [&](std::size_t i) { benchmark::DoNotOptimize(tsrl::LongToHex(in.values[i])); });
}
void BM_HexToBin(benchmark::State& state) {
    const auto& in = TheInputs();
    Cycle(state, [&](std::size_t i) { benchmark::DoNotOptimize(tsrl::HexToBin(in.hexes[i])); });
}

// What leaving a decimal box costs: read it, then write the row in all three notations.
void BM_RowRewrite(benchmark::State& state) {
    const auto& in = TheInputs();
    Cycle(state, [&](std::size_t i) {
        const Long v = tsrl::ParseLong(in.decimals[i]);
        auto decimal = tsrl::FormatLong(v);
        auto hex = tsrl::LongToHex(v);
        auto bits = tsrl::HexToBin(hex);
        benchmark::DoNotOptimize(decimal);
        benchmark::DoNotOptimize(hex);
        benchmark::DoNotOptimize(bits);
    });
}

void BM_ToCharsFloor(benchmark::State& state) {
    const auto& in = TheInputs();
    Cycle(state, [&](std::size_t i) {
        const Long v = in.values[i];
        const auto pattern = static_cast<std::uint32_t>(v);
        std::array<char, 16> decimal;
        std::array<char, 8> hex;
        std::array<char, 32> bits;
        benchmark::DoNotOptimize(std::to_chars(decimal.begin(), decimal.end(), v).ptr);
        benchmark::DoNotOptimize(std::to_chars(hex.begin(), hex.end(), pattern, 16).ptr);
        benchmark::DoNotOptimize(std::to_chars(bits.begin(), bits.end(), pattern, 2).ptr);
        benchmark::DoNotOptimize(decimal);
        benchmark::DoNotOptimize(hex);
        benchmark::DoNotOptimize(bits);
    });
}

BENCHMARK(BM_ParseLong);
BENCHMARK(BM_ParseHexLong);
BENCHMARK(BM_NumericValue);
BENCHMARK(BM_FormatLong);
BENCHMARK(BM_LongToHex);
BENCHMARK(BM_HexToBin);
BENCHMARK(BM_RowRewrite);
BENCHMARK(BM_ToCharsFloor);

}  // namespace

BENCHMARK_MAIN();
