// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// 32-bit integer arithmetic as the riddle format defines it: every sum,
// difference and product wraps as two's complement, and converting a double
// to a 32-bit integer is defined for every input.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vorlo {

constexpr int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

constexpr int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

constexpr int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

constexpr int32_t WrapNeg(int32_t a) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}

// Truncating division and remainder (the sign follows the dividend). The one
// overflowing case, INT32_MIN / -1, wraps to INT32_MIN with remainder 0.
constexpr int32_t WrapDiv(int32_t a, int32_t b) {
    return (b == -1) ? WrapNeg(a) : a / b;
}

constexpr int32_t WrapRem(int32_t a, int32_t b) {
    return (b == -1) ? 0 : a % b;
}

// The nearest 32-bit value: for rectangles and search areas that reach past
// the ends of the range, which are clipped there rather than wrapped.
constexpr int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Truncation toward zero. A value that has no 32-bit form (NaN, infinities,
// anything outside the range) becomes INT32_MIN, the "integer indefinite" that
// the x86 conversion instructions produce: defined for every input, and the
// same value on every machine.
inline int32_t TruncToInt32(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(v);
}

}  // namespace vorlo
