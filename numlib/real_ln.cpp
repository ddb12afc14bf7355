// Logarithms: x = y 10^k with y within a factor sqrt(10) of 1, ln x = ln y +
// k ln 10, and ln y = ln(1 + t) with t = y - 1 (exact) by Newton's iteration
// y' = y + t + (1 + t) expm1(-y) at doubling precision. Working with t
// rather than y keeps the relative accuracy of logarithms near 1.
#include <algorithm>
#include <cmath>

#include "numlib/real_const.h"
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"

namespace {

// Digits a double logarithm starts the iteration with.
constexpr i32 kStartDigits = 15;

// A first approximation of ln(1 + t) to about 15 digits.
void ln1p_start(u64* y, const u64* t) {
    const double td = real_approx_double(t);
    if (std::fabs(td) < 1e-290) {
        real_copy(y, t);  // ln(1 + t) = t to far beyond double precision
    } else {
        real_from_double(y, std::log1p(td));
    }
}

// One Newton step on x e^(-y) = 1 at the current precision, without a
// division: y += x e^(-y) - 1 = t + x expm1(-y), where the cancellation
// between t and x expm1(-y) leaves an error relative to y, not to 1.
void ln1p_step(u64* y, const u64* t, const u64* x, u64* e) {
    real_copy(e, y);
    real_negate(e);
    real_expm1_core(e, e);
    real_mul_r(e, e, x);
    real_add_r(e, e, t);
    real_add_r(y, y, e);
}

// ln y for x = y 10^k, 1/sqrt(10) <= y < sqrt(10); x > 0.
void ln_split(u64* dst, const u64* x, i64* k) {
    ScratchMark mark;
    u64* t = real_take(mark);
    u64* one = real_take(mark);
    if (!one) return real_fail(dst, 0);
    real_copy(t, x);
    *k = real_exp_of(x);
    i64 e = 0;
    if (x[1] / 10000000000ULL > 316227766) e = -1, ++*k;  // y > sqrt(10)
    real_set_header(t, e, 0);
    real_one(one);
    real_sub_r(t, t, one);
    real_ln1p_core(dst, t);
}

// ln x (x > 0) with the error already checked.
void ln_positive(u64* dst, const u64* x) {
    i64 k = 0;
    ln_split(dst, x, &k);
    if (k == 0 || mp_err() != 0) return;
    ScratchMark mark;
    u64* c = real_take(mark);
    if (!c) return real_fail(dst, 0);
    real_ln_const(c, REAL_CONST_LN10);
    real_mul_u64_r(c, c, static_cast<u64>(k < 0 ? -k : k));
    if (k < 0) real_negate(c);
    real_add_r(dst, dst, c);
}

bool positive(const u64* x) {
    return !real_is_zero(x) && real_sign(x) == 0;
}

}  // namespace

void real_ln1p_core(u64* dst, const u64* t) {
    if (real_is_zero(t)) return real_zero(dst, 0);
    if (!real_ln1p_agm(dst, t)) real_ln1p_newton(dst, t);
}

void real_ln1p_newton(u64* dst, const u64* t) {
    if (real_is_zero(t)) return real_zero(dst, 0);
    const i32 w = mp_real_words;
    const i32 target = std::min(real_work_digits() + 2, 19 * w);
    ScratchMark mark;
    u64* y = real_take(mark);
    u64* x = real_take(mark);
    u64* e = real_take(mark);
    if (!e) return real_fail(dst, 0);
    real_one(x);
    real_add_r(x, x, t);
    ln1p_start(y, t);
    i32 levels[40];
    const i32 count = real_newton_levels(target, kStartDigits, levels);
    for (i32 i = 0; i < count && mp_err() == 0; ++i) {
        const i32 wl = real_words_for(levels[i], w);
        {
            RealPrecision prec(wl, 19 * wl - levels[i]);
            ln1p_step(y, t, x, e);
        }
        real_extend(y, wl, w);
    }
    if (mp_err() != 0) return real_fail(dst, 0);
    real_copy(dst, y);
}

void real_ln(u64* dst, const u64* x) {
    if (!positive(x)) return real_fail(dst, MP_ERR_DOMAIN);
    ln_positive(dst, x);
}

void real_log10(u64* dst, const u64* x) {
    if (!positive(x)) return real_fail(dst, MP_ERR_DOMAIN);
    i64 k = 0;
    ln_split(dst, x, &k);
    // A failed split (a stop, no scratch) leaves 0, which the integer part
    // must not turn into a plausible logarithm.
    if (mp_err() != 0) return real_fail(dst, 0);
    ScratchMark mark;
    u64* c = real_take(mark);
    if (!c) return real_fail(dst, 0);
    real_const(c, REAL_CONST_INV_LN10);
    real_mul_r(dst, dst, c);
    real_from_i64(c, k);
    real_add_r(dst, dst, c);
}

void real_log2(u64* dst, const u64* x) {
    if (!positive(x)) return real_fail(dst, MP_ERR_DOMAIN);
    ScratchMark mark;
    u64* c = real_take(mark);
    if (!c) return real_fail(dst, 0);
    ln_positive(dst, x);
    real_const(c, REAL_CONST_INV_LN2);
    real_mul_r(dst, dst, c);
}

void real_logx(u64* dst, const u64* b, const u64* x) {
    if (!positive(x) || !positive(b)) return real_fail(dst, MP_ERR_DOMAIN);
    ScratchMark mark;
    u64* lb = real_take(mark);
    if (!lb) return real_fail(dst, 0);
    ln_positive(lb, b);
    if (real_is_zero(lb)) return real_fail(dst, MP_ERR_DOMAIN);  // base 1
    ln_positive(dst, x);
    real_div_r(dst, dst, lb);
}

void real_ln1p(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_copy(dst, x);
    ScratchMark mark;
    u64* z = real_take(mark);
    if (!z) return real_fail(dst, 0);
    real_one(z);
    real_add_r(z, z, x);
    if (!positive(z) || (real_sign(x) && real_cmp_i64(x, -1) <= 0)) {
        return real_fail(dst, MP_ERR_DOMAIN);
    }
    // Small arguments go straight to the iteration, which keeps their
    // relative accuracy; 1 + x is exact for -1 < x < -1/2 and harmless above.
    if (real_exp_of(x) < -1 || (real_exp_of(x) == -1 && x[1] <= 5 * REAL_TOP)) {
        return real_ln1p_core(dst, x);
    }
    ln_positive(dst, z);
}
