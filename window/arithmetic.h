// Exact 32-bit arithmetic for the operation buttons: the true result, or a ConversionError
// where it does not fit. Never a wrapped value, never undefined behaviour.
#pragma once

#include <limits>

#include "conversions.h"

namespace tsrl {

namespace detail {
inline Long Checked(bool overflowed, Long result) {
    if (overflowed) {
        throw ConversionError("exceeds the Long range");
    }
    return result;
}
}  // namespace detail

inline Long CheckedAdd(Long a, Long b) {
    Long r = 0;
    const bool overflowed = __builtin_add_overflow(a, b, &r);
    return detail::Checked(overflowed, r);
}

inline Long CheckedSubtract(Long a, Long b) {
    Long r = 0;
    const bool overflowed = __builtin_sub_overflow(a, b, &r);
    return detail::Checked(overflowed, r);
}

inline Long CheckedMultiply(Long a, Long b) {
    Long r = 0;
    const bool overflowed = __builtin_mul_overflow(a, b, &r);
    return detail::Checked(overflowed, r);
}

// Truncates toward zero; a zero divisor and the one quotient beyond the range both fail.
inline Long CheckedDivide(Long a, Long b) {
    if (b == 0 || (a == std::numeric_limits<Long>::min() && b == -1)) {
        throw ConversionError("division fails");
    }
    return a / b;
}

}  // namespace tsrl
