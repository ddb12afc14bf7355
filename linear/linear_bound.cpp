#include "linear/linear_bound.h"

#include <cmath>

#include "numlib/mp_context.h"

const double BOUND_POW10_DOWN[31] = {1,     1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,
                                     1e-8,  1e-9,  1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15,
                                     1e-16, 1e-17, 1e-18, 1e-19, 1e-20, 1e-21, 1e-22, 1e-23,
                                     1e-24, 1e-25, 1e-26, 1e-27, 1e-28, 1e-29, 1e-30};

namespace {

// m * 10^e for any m >= 0 (after a cancellation m may be tiny).
Bound normal(double m, i64 e) {
    if (!(m > 0)) return {};
    const double shift = std::floor(std::log10(m));
    m /= std::pow(10.0, shift);
    return bound_from(m, e + static_cast<i64>(shift));
}

u64 pow10_word(int k) {
    u64 p = 1;
    while (k-- > 0) p *= 10;
    return p;
}

}  // namespace

Bound bound_pow10(i64 e) {
    return bound_from(1, e);
}

Bound bound_div(Bound a, Bound b) {
    if (bound_is_zero(a)) return {};
    if (bound_is_zero(b)) return {9.999, BOUND_EXP_LIMIT};
    return bound_from(a.m / b.m * BOUND_UP, a.e - b.e);
}

Bound bound_sub_down(Bound a, Bound b) {
    if (bound_is_zero(b)) return a;
    if (!bound_le(b, a)) return {};
    const i64 gap = a.e - b.e;
    if (gap > 30) return bound_from(a.m * (1 - 1e-29) * BOUND_DOWN, a.e);
    return normal((a.m - b.m * BOUND_POW10_DOWN[gap] * BOUND_UP) * BOUND_DOWN, a.e);
}

bool bound_rounding_decided(const u64* x, Bound r, i32 digits) {
    if (bound_is_zero(r)) return true;
    const i64 m = mp_real_words;
    // The digits of x after its first `digits` ones, as a fraction of a unit
    // of the last kept digit; none beyond the mantissa.
    double tail = 0;
    const i64 word = digits / 19;
    if (word < m) {
        const int below = 19 - digits % 19;  // digits of word `word` + 1 after the kept ones
        const u64 scale = pow10_word(below);
        const double next = word + 1 < m ? static_cast<double>(x[word + 2]) * 1e-19 : 0;
        tail = (static_cast<double>(x[word + 1] % scale) + next) / static_cast<double>(scale);
    }
    // Half the distance to the rounding tie; below x's first digits, where
    // the unit is ten times smaller, values down to 0.05 units under the power
    // of ten still round up to it.
    const double room = std::max(std::min(std::fabs(tail - 0.5), tail + 0.05) / 2, 1e-12);
    // One unit of the last kept digit is 10^(e - digits + 1).
    return bound_le(r, normal(room * BOUND_DOWN, real_exp_of(x) - digits + 1));
}
