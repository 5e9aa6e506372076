#pragma once
#include "common/Errors.h"

#include <limits>

// Conversion to a narrower or unsigned type: raises ERangeError outside the target's range.
template <typename To, typename From> To RangeChecked(From value) {
    if (value < static_cast<From>(0) && !std::numeric_limits<To>::is_signed) {
        throw ERangeError();
    }
    if constexpr (std::numeric_limits<From>::is_signed) {
        if (static_cast<long long>(value) <
            static_cast<long long>(std::numeric_limits<To>::min())) {
            throw ERangeError();
        }
    }
    if (static_cast<unsigned long long>(value < static_cast<From>(0) ? 0 : value) >
        static_cast<unsigned long long>(std::numeric_limits<To>::max())) {
        throw ERangeError();
    }
    return static_cast<To>(value);
}

// 32-bit multiplication that raises EOverflowError instead of wrapping.
inline int CheckedMul(int a, int b) {
    int result = 0;
    if (__builtin_mul_overflow(a, b, &result)) {
        throw EOverflowError();
    }
    return result;
}
