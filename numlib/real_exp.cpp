// Exponentials as 10^k * e^r: k is the nearest integer to the decimal
// logarithm of the result, r = x L - k ln 10 (L = 1, ln 2 or ln 10 for the
// bases e, 2 and 10) with |r| <= (ln 10) / 2, and e^r = 1 + expm1(r). The
// reduction cancels the digits of k, so it runs with that many more words.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "numlib/real_const.h"
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"
#include "numlib/vec.h"

namespace {

constexpr double kLn10 = 2.302585092994045684;
constexpr double kLog10Of2 = 0.30102999566398120;

// log10 of the base-10 exponent per unit of x for constant idx, or NaN after
// an error (a bad index).
double base_scale(i32 idx) {
    if (idx < 0) return 1.0;
    if (idx == REAL_CONST_INV_LN10) return 1.0 / kLn10;
    if (idx == REAL_CONST_LOG10_2) return kLog10Of2;
    ScratchMark mark;
    u64* c = real_take(mark);
    if (!c) return NAN;
    real_const(c, idx);
    if (mp_err() != 0) return NAN;
    return real_approx_double(c);
}

i32 decimal_digits(u64 v) {
    i32 d = 0;
    while (v) v /= 10, ++d;
    return d;
}

// r = x L for the constant idx (see the file comment); other indices scale
// by their constant times ln 10.
void scaled_argument(u64* r, u64* c, i32 idx) {
    if (idx == REAL_CONST_INV_LN10) return;
    if (idx < 0 || idx == REAL_CONST_LOG10_2) {
        real_ln_const(c, idx < 0 ? REAL_CONST_LN10 : REAL_CONST_LN2);
    } else {
        real_const(c, idx);
    }
    real_mul_r(r, r, c);
    if (idx < 0 || idx == REAL_CONST_LOG10_2) return;
    real_const(c, REAL_CONST_LN10);
    real_mul_r(r, r, c);
}

// r -= k ln 10.
void subtract_ln10(u64* r, u64* c, i64 k) {
    if (k == 0) return;
    real_ln_const(c, REAL_CONST_LN10);
    real_mul_u64_r(c, c, static_cast<u64>(k < 0 ? -k : k));
    if (k > 0) {
        real_sub_r(r, r, c);
    } else {
        real_add_r(r, r, c);
    }
}

// e^r at w = the current words, given r at the current (wider) precision;
// rounds into dst at w words.
void exp_reduced(u64* dst, i32 w, u64* r, i64* k) {
    ScratchMark mark;
    u64* c = real_take(mark);
    if (!c) return;
    const double rd = real_approx_double(r);
    const i64 k2 = std::llround(rd / kLn10);
    subtract_ln10(r, c, k2);
    *k += k2;
    real_expm1_core(r, r);
    real_one(c);
    real_add_r(r, r, c);
    vec_copy_fwd(dst, r, w + 1);
    if (mp_real_words > w) real_round_guard(dst, r[w + 1], w);
}

}  // namespace

void real_exp_core(u64* dst, const u64* x, i32 idx) {
    if (real_is_zero(x)) return real_one(dst);
    const double scale = base_scale(idx);
    if (std::isnan(scale)) return real_fail(dst, 0);
    const i32 w = mp_real_words;
    const int neg = real_sign(x) ^ (scale < 0 ? 1 : 0);
    if (real_approx_log10(x) + std::log10(std::fabs(scale)) > 18.9) {
        return real_fail(dst, neg ? 0 : MP_ERR_EXP_OVERFLOW);  // far below: +0
    }
    const double ud = real_approx_double(x) * scale;
    i64 k = std::llround(ud);
    const i32 extra = (decimal_digits(static_cast<u64>(std::llabs(k))) + 18) / 19;
    const i32 cap = idx < 0 || idx == REAL_CONST_INV_LN10 || idx == REAL_CONST_LOG10_2
                        ? REAL_FN_LONG_WORDS
                        : REAL_FN_MAX_WORDS;
    const i32 wide = std::max(w, std::min(w + extra, cap));
    u64* out = dst;
    {
        RealPrecision prec(wide, mp_guard_digits + 19 * (wide - w));
        ScratchMark mark;
        u64* r = real_take(mark);
        u64* c = real_take(mark);
        if (!c) return real_fail(dst, 0);
        vec_copy_fwd(r, x, w + 1);
        real_extend(r, w, wide);
        if (idx < 0 && k != 0) {
            real_from_i64(c, k);
            real_sub_r(r, r, c);
        }
        scaled_argument(r, c, idx);
        if (idx >= 0) subtract_ln10(r, c, k);
        exp_reduced(out, w, r, &k);
    }
    if (mp_err() != 0) return real_fail(dst, 0);
    real_add_exp(dst, k);
}

void real_exp(u64* dst, const u64* x) {
    real_exp_core(dst, x, REAL_CONST_INV_LN10);
}

void real_exp10(u64* dst, const u64* x) {
    real_exp_core(dst, x, REAL_EXP_UNSCALED);
}

void real_exp2(u64* dst, const u64* x) {
    real_exp_core(dst, x, REAL_CONST_LOG10_2);
}
