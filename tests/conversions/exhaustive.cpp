// Checks the round trips for every one of the 2^32 Longs, on all cores. Minutes even when
// optimised, so ctest leaves it out unless asked for the label "exhaustive"; under the
// sanitizers it would take hours. On demand, from the repository's top folder:
//   cmake --preset bench && cmake --build --preset bench --target conversions_exhaustive
//   build/bench/bench/conversions_exhaustive
#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

#include "conversions.h"

namespace {

using tsrl::Long;

constexpr std::uint64_t kCount = std::uint64_t{1} << 32;
constexpr std::uint64_t kBlock = std::uint64_t{1} << 20;

std::atomic<std::uint64_t> nextBlock{0};
std::atomic<std::uint64_t> failures{0};

// The binary text of a pattern, kept by counting in binary, apart from the library.
class BinaryCounter {
  public:
    explicit BinaryCounter(std::uint32_t pattern) {
        for (std::size_t i = 0; i < digits_.size(); ++i) {
            digits_[i] = ((pattern >> (31 - i)) & 1u) != 0 ? u'1' : u'0';
        }
    }
    void Increment() {
        for (std::size_t i = digits_.size(); i-- > 0;) {
            if (digits_[i] == u'0') {
                digits_[i] = u'1';
                return;
            }
            digits_[i] = u'0';
        }
    }
    bool Matches(std::u16string_view bits) const {
        return bits.size() == digits_.size() &&
               std::memcmp(bits.data(), digits_.data(), sizeof digits_) == 0;
    }

  private:
    std::array<char16_t, 32> digits_;
};

bool Holds(std::uint32_t pattern, const BinaryCounter& bits) {
    const auto v = static_cast<Long>(pattern);
    // The buffer forms: the string forms are thin wrappers over them, and malloc would
    // otherwise dominate the run.
    std::array<char16_t, tsrl::kDecimalCapacity> decimal{};
    std::array<char16_t, tsrl::kHexDigitCount> hexDigits{};
    std::array<char16_t, tsrl::kBinaryDigitCount> binary{};
    try {
        const std::u16string_view hex = tsrl::LongToHex(v, hexDigits);
        return tsrl::ParseLong(tsrl::FormatLong(v, decimal)) == v && tsrl::ParseHexLong(hex) == v &&
               bits.Matches(tsrl::HexToBin(hex, binary));
    } catch (const tsrl::ConversionError&) {
        return false;
    }
}

void Work() {
    for (std::uint64_t block = nextBlock++; block * kBlock < kCount; block = nextBlock++) {
        const std::uint64_t end = (block + 1) * kBlock;
        BinaryCounter bits(static_cast<std::uint32_t>(block * kBlock));
        for (std::uint64_t p = block * kBlock; p < end; ++p, bits.Increment()) {
            if (!Holds(static_cast<std::uint32_t>(p), bits)) [[unlikely]] {
                if (failures++ < 20) {
                    std::printf("round trip fails for %d\n", static_cast<Long>(p));
                }
            }
        }
    }
}

}  // namespace

int main() {
    const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < cores; ++i) {
        threads.emplace_back(Work);
    }
    for (std::thread& t : threads) {
        t.join();
    }
    std::printf("checked %llu values, %llu failures\n", static_cast<unsigned long long>(kCount),
                static_cast<unsigned long long>(failures.load()));
    return failures == 0 ? 0 : 1;
}
