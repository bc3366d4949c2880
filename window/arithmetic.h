// Exact 32-bit arithmetic for the operation buttons: the true result, or a ConversionError
// where it does not fit. Never a wrapped value, never undefined behaviour.
#pragma once

#include <cstdint>
#include <limits>

#include "conversions.h"

namespace tsrl {

namespace detail {
// Every sum, difference and product of two Longs is exact in 64 bits.
inline Long Narrowed(std::int64_t exact) {
    if (exact < std::numeric_limits<Long>::min() || exact > std::numeric_limits<Long>::max()) {
        throw ConversionError("exceeds the Long range");
    }
    return static_cast<Long>(exact);
}
}  // namespace detail

inline Long CheckedAdd(Long a, Long b) {
    return detail::Narrowed(std::int64_t{a} + b);
}

inline Long CheckedSubtract(Long a, Long b) {
    return detail::Narrowed(std::int64_t{a} - b);
}

inline Long CheckedMultiply(Long a, Long b) {
    return detail::Narrowed(std::int64_t{a} * b);
}

// Truncates toward zero; a zero divisor and the one quotient beyond the range both fail.
inline Long CheckedDivide(Long a, Long b) {
    if (b == 0 || (a == std::numeric_limits<Long>::min() && b == -1)) {
        throw ConversionError("division fails");
    }
    return a / b;
}

}  // namespace tsrl
