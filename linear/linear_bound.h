// Error bounds of the real and complex elimination: upper bounds m * 10^e
// (m in [1, 10), or zero) carried beside every coefficient, so that a value
// within its bound of zero is known to be possibly zero and one beyond it
// certainly not zero, and a result is known to round to the same digits as
// the exact solution. A few double operations each (no logarithms), with the
// decimal exponent range of the reals; every operation rounds up (down for
// the lower bounds), so the bounds stay bounds.
#pragma once

#include <algorithm>

#include "numlib/mp_types.h"
#include "numlib/real.h"

struct Bound {
    double m = 0;  // 0: the bound is zero
    i64 e = 0;
};

// Exponents stay within +-2^61, so that a sum of two never overflows; the
// reals reach 2^62, far beyond any error that matters here.
constexpr i64 BOUND_EXP_LIMIT = i64{1} << 61;
// A double operation is off by at most half a unit in 2^-52 of its result.
constexpr double BOUND_UP = 1 + 0x1p-50;
constexpr double BOUND_DOWN = 1 - 0x1p-50;
// 10^-k for k = 0 .. 30.
extern const double BOUND_POW10_DOWN[31];

inline bool bound_is_zero(Bound a) {
    return a.m == 0;
}

// m * 10^e for m in (0, 100).
inline Bound bound_from(double m, i64 e) {
    if (m >= 10) m = m * 0.1 * BOUND_UP, ++e;
    if (m < 1) m = m * 10 * BOUND_UP, --e;
    return {m, std::clamp(e, -BOUND_EXP_LIMIT, BOUND_EXP_LIMIT)};
}

inline Bound bound_add(Bound a, Bound b) {
    if (bound_is_zero(a)) return b;
    if (bound_is_zero(b)) return a;
    if (a.e < b.e) std::swap(a, b);
    const i64 gap = a.e - b.e;
    const double m = gap > 30 ? a.m * (1 + 1e-29) : a.m + b.m * BOUND_POW10_DOWN[gap];
    return bound_from(m * BOUND_UP, a.e);
}

inline Bound bound_mul(Bound a, Bound b) {
    if (bound_is_zero(a) || bound_is_zero(b)) return {};
    return bound_from(a.m * b.m * BOUND_UP, a.e + b.e);
}

inline bool bound_le(Bound a, Bound b) {
    if (bound_is_zero(a)) return true;
    if (bound_is_zero(b)) return false;
    return a.e < b.e || (a.e == b.e && a.m <= b.m);
}

Bound bound_pow10(i64 e);
// a / b for a lower bound b of the divisor; b zero gives a bound beyond
// every value.
Bound bound_div(Bound a, Bound b);
// a - b from below, zero when that is not positive.
Bound bound_sub_down(Bound a, Bound b);

// |x| from above and from below, x a real of the current word count:
// x = (w1 + w2 10^-19 + ...) 10^(e - 18) with w1 in [10^18, 10^19).
inline Bound bound_real_up(const u64* x) {
    if (real_is_zero(x)) return {};
    return bound_from((static_cast<double>(x[1]) + 1) * 1e-18 * BOUND_UP, real_exp_of(x));
}
inline Bound bound_real_down(const u64* x) {
    if (real_is_zero(x)) return {};
    return bound_from(static_cast<double>(x[1]) * 1e-18 * BOUND_DOWN, real_exp_of(x));
}

// Whether every value within r of the real x (current word count, not zero)
// rounds half up to the same `digits` significant digits as x, so that x's
// rounding shows only right digits. A value within 10^-12 units of a
// rounding tie counts as decided: either neighbour is then right to half a
// unit.
bool bound_rounding_decided(const u64* x, Bound r, i32 digits);
