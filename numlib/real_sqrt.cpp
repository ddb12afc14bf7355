// Square and cube roots by Newton's iteration for the inverse root
// r = y^(-1/2) or y^(-1/3), which needs no division, at doubling precision up
// to half the target; one final step on the root itself (Karp and Markstein)
// then doubles the accuracy once more at full precision.
#include <algorithm>
#include <cmath>

#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"

namespace {

// Digits a double inverse root starts the iteration with.
constexpr i32 kStartDigits = 15;
// Below this many words the binary integer square root is faster.
constexpr i32 kSqrtBinaryMax = 40;
constexpr i32 kCbrtBinaryMax = 16;

// Buffers of one root computation at w = the current words.
struct RootWork {
    u64* y;  // the argument brought to 1 <= y < 10^k
    u64* r;  // inverse root
    u64* a;
    u64* b;
    u64* one;
};

bool take_work(ScratchMark& mark, RootWork* wk) {
    wk->y = real_take(mark);
    wk->r = real_take(mark);
    wk->a = real_take(mark);
    wk->b = real_take(mark);
    wk->one = real_take(mark);
    if (!wk->one) return false;
    real_one(wk->one);
    return true;
}

// One step r += r (1 - y r^k) / k at the current precision (k = 2 or 3),
// where r has prev significant words: the powers of r are short products,
// and the correction needs only the digits the step adds.
void inverse_root_step(RootWork& wk, int k, i32 prev) {
    const i32 wl = mp_real_words;
    real_mul_short(wk.a, wk.r, prev, wk.r, prev);
    if (k == 3) real_mul_short(wk.a, wk.a, 2 * prev, wk.r, prev);
    real_mul_short(wk.a, wk.a, k * prev, wk.y, wl);
    real_sub_r(wk.a, wk.one, wk.a);
    const i32 low = std::min(wl, wl - prev + 2);
    {
        RealPrecision prec(low, 0);
        real_mul_r(wk.a, wk.a, wk.r);
        real_div_u64_r(wk.a, wk.a, static_cast<u64>(k));
    }
    real_extend(wk.a, low, wl);
    real_add_r(wk.r, wk.r, wk.a);
}

// Brings r from a one-word start of about 15 digits to digits digits, at
// most w words.
void inverse_root(RootWork& wk, int k, i32 digits, i32 w) {
    i32 levels[40];
    const i32 count = real_newton_levels(digits, kStartDigits, levels);
    i32 prev = 1;
    for (i32 i = 0; i < count && mp_err() == 0; ++i) {
        const i32 wl = real_words_for(levels[i], w);
        {
            RealPrecision prec(wl, 19 * wl - levels[i]);
            inverse_root_step(wk, k, prev);
        }
        real_extend(wk.r, wl, w);
        prev = wl;
    }
}

// Words for half the working precision with a margin: the inverse root is
// needed to that many, and one final step at full precision doubles it.
i32 half_words(i32 w) {
    return real_words_for(real_work_digits() / 2 + 10, w);
}

// Square root of y (1 <= y < 100) into wk.a: s = y r to half precision, then
// s += r (y - s^2) / 2 with s^2 exact and the correction at half precision.
void sqrt_mantissa(RootWork& wk, i32 w) {
    const i32 h = half_words(w);
    real_from_double(wk.r, 1.0 / std::sqrt(real_approx_double(wk.y)));
    inverse_root(wk, 2, real_work_digits() / 2 + 8, h);
    {
        RealPrecision prec(h, 0);
        real_mul_r(wk.a, wk.y, wk.r);
    }
    real_extend(wk.a, h, w);
    real_mul_short(wk.b, wk.a, h, wk.a, h);
    real_sub_r(wk.b, wk.y, wk.b);
    {
        RealPrecision prec(h, 0);
        real_mul_r(wk.b, wk.b, wk.r);
        real_div_u64_r(wk.b, wk.b, 2);
    }
    real_extend(wk.b, h, w);
    real_add_r(wk.a, wk.a, wk.b);
}

// Cube root of y (1 <= y < 1000) into wk.a: with u = r^2, s = y u to half
// precision, then s += u (y - s^3) / 3.
void cbrt_mantissa(RootWork& wk, i32 w) {
    const i32 h = half_words(w);
    real_from_double(wk.r, 1.0 / std::cbrt(real_approx_double(wk.y)));
    inverse_root(wk, 3, real_work_digits() / 2 + 8, h);
    {
        RealPrecision prec(h, 0);
        real_mul_r(wk.r, wk.r, wk.r);  // u
        real_mul_r(wk.a, wk.y, wk.r);
    }
    real_extend(wk.a, h, w);
    real_extend(wk.r, h, w);
    real_mul_short(wk.b, wk.a, h, wk.a, h);
    real_mul_short(wk.b, wk.b, 2 * h, wk.a, h);
    real_sub_r(wk.b, wk.y, wk.b);
    {
        RealPrecision prec(h, 0);
        real_mul_r(wk.b, wk.b, wk.r);
        real_div_u64_r(wk.b, wk.b, 3);
    }
    real_extend(wk.b, h, w);
    real_add_r(wk.a, wk.a, wk.b);
}

// Floor division of an exponent by k (2 or 3), valid for negative e.
i64 floor_div(i64 e, i64 k) {
    return e >= 0 ? e / k : -((-e + k - 1) / k);
}

}  // namespace

void real_sqrt(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_zero(dst, 0);
    if (real_sign(x)) return real_fail(dst, MP_ERR_DOMAIN);
    const i32 w = mp_real_words;
    const i64 q = floor_div(real_exp_of(x), 2);
    const int e = static_cast<int>(real_exp_of(x) - 2 * q);
    if (w < kSqrtBinaryMax) {
        if (!real_root_binary(dst, x, 2, e)) return real_fail(dst, 0);
        return real_add_exp(dst, q);
    }
    ScratchMark mark;
    RootWork wk;
    if (!take_work(mark, &wk)) return real_fail(dst, 0);
    real_copy(wk.y, x);
    real_set_header(wk.y, e, 0);
    sqrt_mantissa(wk, w);
    if (mp_err() != 0) return real_fail(dst, 0);
    real_copy(dst, wk.a);
    real_add_exp(dst, q);
}

void real_cbrt(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_zero(dst, 0);
    const i32 w = mp_real_words;
    const int sign = real_sign(x);
    const i64 q = floor_div(real_exp_of(x), 3);
    ScratchMark mark;
    RootWork wk;
    if (!take_work(mark, &wk)) return real_fail(dst, 0);
    real_copy(wk.y, x);
    real_set_header(wk.y, real_exp_of(x) - 3 * q, 0);
    if (w < kCbrtBinaryMax) {
        if (!real_root_binary(wk.a, wk.y, 3, static_cast<int>(real_exp_of(wk.y)))) {
            return real_fail(dst, 0);
        }
    } else {
        cbrt_mantissa(wk, w);
    }
    if (mp_err() != 0) return real_fail(dst, 0);
    real_copy(dst, wk.a);
    real_add_exp(dst, q);
    if (sign) real_negate(dst);
}

// sqrt(a^2 + b^2) with both scaled by the larger exponent first, so that the
// squares cannot leave the exponent range.
void real_hypot(u64* dst, const u64* a, const u64* b) {
    if (real_is_zero(a) || real_is_zero(b)) {
        real_copy(dst, real_is_zero(a) ? b : a);
        dst[0] &= ~u64{1};
        return;
    }
    const i64 top = std::max(real_exp_of(a), real_exp_of(b));
    ScratchMark mark;
    u64* s = real_take(mark);
    u64* t = real_take(mark);
    if (!t) return real_fail(dst, 0);
    real_copy(s, a);
    real_set_exp_sign(s, real_exp_of(a) - top, 0);
    real_copy(t, b);
    real_set_exp_sign(t, real_exp_of(b) - top, 0);
    real_mul_r(s, s, s);
    real_mul_r(t, t, t);
    real_add_r(s, s, t);
    real_sqrt(dst, s);
    real_add_exp(dst, top);
}
