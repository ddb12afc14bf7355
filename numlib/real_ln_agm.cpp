// Logarithms at high precision by the arithmetic-geometric mean (Sasaki and
// Kanada's form): for s = y 10^p with p about half the working digits,
//   ln s = pi / (2 AGM(1, 4/s))   up to a relative error of order 1/s^2,
// so ln y = pi / (2 AGM(1, 4/s)) - p ln 10, with the scaling by 10^p exact.
// The mean takes about 2 log2 of the digits steps of one product and one
// square root each. The final subtraction cancels the digits of p ln 10
// (about log10 of the precision, plus those of 1/|ln y|), so the mean runs
// with two more words, and logarithms below 10^-20 stay with the Newton
// iteration, which keeps their relative accuracy without extra words.
#include <algorithm>

#include "numlib/real_const.h"
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"
#include "numlib/real_trig_impl.h"
#include "numlib/vec.h"

namespace {

// Below this many words the Newton iteration on the exponential is faster
// (measured on x86-64).
constexpr i32 kAgmMinWords = 40;

// pi/2 at the current words, beyond the constant table from the long pi/4.
void half_pi(u64* dst) {
    const i32 w = mp_real_words;
    if (w <= REAL_FN_MAX_WORDS) return real_const(dst, REAL_CONST_PI_2);
    real_zero(dst, 0);
    for (i32 i = 1; i <= w; ++i) dst[i] = REAL_PI4_LONG[i - 1];
    real_set_exp(dst, -1);
    real_round_guard(dst, REAL_PI4_LONG[w], w);
    real_mul_u64_r(dst, dst, 2);
}

// dst = pi / (2 AGM(1, b)) for 0 < b < 10^-(digits / 2) at the current words:
// ln(4/b) up to a relative error of order b^2.
void agm_log(u64* dst, const u64* b0) {
    ScratchMark mark;
    u64* a = real_take(mark);
    u64* b = real_take(mark);
    u64* t = real_take(mark);
    if (!t) return real_fail(dst, 0);
    const i32 digits = real_work_digits();
    real_copy(b, b0);
    real_one(a);
    // In the quadratic phase a step squares the relative gap |a - b| / a
    // (divided by 8); once it is below 10^-(digits / 2), one mean ends it.
    for (i32 step = 0; step < 200 && mp_err() == 0; ++step) {
        real_sub_r(t, a, b);
        const bool close = real_is_zero(t) || real_exp_of(a) - real_exp_of(t) > digits / 2 + 1;
        real_mul_r(t, a, b);
        real_add_r(a, a, b);
        real_div_u64_r(a, a, 2);
        if (close) break;
        real_sqrt(b, t);
    }
    half_pi(t);
    real_div_r(dst, t, a);
}

// The power p of the scaling: 1/s^2 = 10^-(digits + 8) / y^2.
i64 agm_scale(i32 digits) {
    return digits / 2 + 4;
}

// ln y for y = 1 + t at the current words (no rounding to fewer).
void ln_by_agm(u64* dst, const u64* y) {
    ScratchMark mark;
    u64* b = real_take(mark);
    if (!b) return real_fail(dst, 0);
    const i64 p = agm_scale(real_work_digits());
    real_recip(b, y);
    real_mul_u64_r(b, b, 4);
    real_add_exp(b, -p);
    agm_log(dst, b);
    real_ln_const(b, REAL_CONST_LN10);
    real_mul_u64_r(b, b, static_cast<u64>(p));
    real_sub_r(dst, dst, b);
}

}  // namespace

bool real_ln1p_agm(u64* dst, const u64* t) {
    const i32 w = mp_real_words;
    if (w < kAgmMinWords || real_exp_of(t) < -20) return false;
    const i32 wide = std::min(w + 2, REAL_FN_LONG_WORDS);
    {
        RealPrecision prec(wide, mp_guard_digits);
        ScratchMark mark;
        u64* y = real_take(mark);
        u64* r = real_take(mark);
        if (!r) {
            real_fail(dst, 0);
            return true;
        }
        vec_copy_fwd(r, t, w + 1);
        real_extend(r, w, wide);
        real_one(y);
        real_add_r(y, y, r);  // exact: t has at most 20 digits above the units
        ln_by_agm(r, y);
        vec_copy_fwd(dst, r, w + 1);
        if (wide > w) real_round_guard(dst, r[w + 1], w);
    }
    if (mp_err() != 0) real_fail(dst, 0);
    return true;
}

void real_ln10_ln2_by_agm(u64* ln10, u64* ln2) {
    ScratchMark mark;
    u64* b = real_take(mark);
    if (!b) {
        real_fail(ln10, 0);
        return real_fail(ln2, 0);
    }
    // ln 10 = ln(10^p) / p with 4/s = 4 10^-p.
    const i64 p = agm_scale(real_work_digits());
    real_from_u64(b, 4);
    real_add_exp(b, -p);
    agm_log(ln10, b);
    real_div_u64_r(ln10, ln10, static_cast<u64>(p));
    // ln 2 = ln(2^q) / q with 2^q at least 10^p: 4/s = 2^(2 - q).
    const i64 q = (p * 3322) / 1000 + 1;
    real_pow2(b, 2 - q);
    agm_log(ln2, b);
    real_div_u64_r(ln2, ln2, static_cast<u64>(q));
}
