// Rounded arithmetic, hardware approximations and precision schedules for the
// elementary functions.
#include <algorithm>
#include <cmath>
#include <utility>

#include "numlib/dec.h"
#include "numlib/real_dec_impl.h"
#include "numlib/real_fn_impl.h"
#include "numlib/vec.h"

void real_extend(u64* x, i32 from, i32 to) {
    if (to > from) vec_zero(x + from + 1, to - from);
}

void real_add_r(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_add_sub(dst, a, b, 0), mp_real_words);
}

void real_sub_r(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_add_sub(dst, a, b, 1), mp_real_words);
}

void real_mul_r(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_mul(dst, a, b), mp_real_words);
}

void real_mul_u64_r(u64* dst, const u64* a, u64 v) {
    real_round_guard(dst, real_mul_u64(dst, a, v), mp_real_words);
}

void real_div_r(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_div(dst, a, b), mp_real_words);
}

void real_div_u64_r(u64* dst, const u64* a, u64 v) {
    real_round_guard(dst, real_div_u64(dst, a, v), mp_real_words);
}

RealApprox real_approx(const u64* x) {
    if (real_is_zero(x)) return {0.0, 0};
    double mant = static_cast<double>(x[1]) * 1e-18;
    if (mp_real_words >= 2) mant += static_cast<double>(x[2]) * 1e-37;
    if (mant >= 10.0) mant = std::nextafter(10.0, 0.0);
    return {real_sign(x) ? -mant : mant, real_exp_of(x)};
}

double real_approx_log10(const u64* x) {
    const RealApprox a = real_approx(x);
    return std::log10(std::fabs(a.mant)) + static_cast<double>(a.exp);
}

double real_approx_double(const u64* x) {
    const RealApprox a = real_approx(x);
    if (a.exp > 310) return a.mant > 0 ? HUGE_VAL : -HUGE_VAL;
    if (a.exp < -330) return a.mant < 0 ? -0.0 : 0.0;
    // Two steps keep 10^exp inside the double range near its ends.
    const double half = std::pow(10.0, static_cast<double>(a.exp / 2));
    return a.mant * half * std::pow(10.0, static_cast<double>(a.exp - a.exp / 2));
}

void real_from_double(u64* dst, double v) {
    real_zero(dst, 0);
    if (v == 0.0 || !std::isfinite(v)) return;
    const double mag = std::fabs(v);
    i64 e = static_cast<i64>(std::floor(std::log10(mag)));
    double mant = mag / std::pow(10.0, static_cast<double>(e));
    if (mant >= 10.0) mant /= 10.0, ++e;
    if (mant < 1.0) mant *= 10.0, --e;
    u64 w = static_cast<u64>(std::llround(mant * 1e15)) * 1000;
    if (w < REAL_TOP) w = REAL_TOP;
    if (w >= REAL_BASE) w = REAL_BASE - 1;
    dst[1] = w;
    real_set_exp_sign(dst, e, v < 0 ? 1 : 0);
}

i32 real_newton_levels(i32 target, i32 start, i32* out) {
    i32 down[40];
    i32 count = 0;
    i32 d = target;
    while (count < 40) {
        down[count++] = d;
        if (d <= 2 * start - 4) break;
        d = d / 2 + 3;
    }
    for (i32 i = 0; i < count; ++i) out[i] = down[count - 1 - i];
    return count;
}

namespace {

// Significant mantissa words among the top n of x (at least 1).
i32 short_length(const u64* x, i32 n) {
    if (n > mp_real_words) n = mp_real_words;
    while (n > 1 && x[n] == 0) --n;
    return n;
}

}  // namespace

void real_mul_short(u64* dst, const u64* a, i32 la, const u64* b, i32 lb) {
    const int sign = real_sign(a) ^ real_sign(b);
    if (real_is_zero(a) || real_is_zero(b)) return real_zero(dst, sign);
    la = short_length(a, la);
    lb = short_length(b, lb);
    if (la < lb) {
        std::swap(a, b);
        std::swap(la, lb);
    }
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(2 * (la + lb) + dec_mul_scratch(la, lb)));
    if (!t) return real_fail(dst, 0);
    u64* ar = t;
    u64* br = a == b && la == lb ? ar : t + la;  // a square: dec_mul squares
    u64* p = t + la + lb;
    real_mantissa_to_dec(ar, a, la);
    if (br != ar) real_mantissa_to_dec(br, b, lb);
    // The words from k up reach the rounding at the current words with a
    // word to spare. When the columns below k - 1 are a good part of the
    // product, the columns from k - 1 (short by at most lb units of word k)
    // cost less than the full Karatsuba product (dec.h).
    const i64 k = std::max<i64>(0, la + lb - mp_real_words - 2);
    const i64 below = std::min<i64>(k > 1 ? k - 1 : 0, lb);
    if (lb < DEC_KARATSUBA_MIN || 10 * below * below > 8 * static_cast<i64>(la) * lb) {
        dec_mul_high(p + k, ar, la, br, lb, k);
    } else {
        dec_mul(p, ar, la, br, lb, p + la + lb);
    }
    const i64 e_top = real_exp_sum(real_exp_of(a), real_exp_of(b) + 1);
    real_round_guard(dst, real_from_dec(dst, p + k, la + lb - k, e_top, sign), mp_real_words);
}
