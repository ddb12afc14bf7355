// Permutations and combinations of long counts through ln x!. With s = n - k
// and G(x) = ln x! - (x + 1/2) ln x + x,
//   ln C(n, k) = k ln(1 + s/k) + s ln(1 + k/s) + (ln(1 + s/k) + ln(1 + k/s) - ln n) / 2
//                + G(n) - G(k) - G(s),
//   ln P(n, k) = (s + 1/2) ln(1 + k/s) + k (ln n - 1) + G(n) - G(s)   (s >= 1),
//   ln n!      = (n + 1/2) ln n - n + G(n),
// where no term cancels much against another. G(x) is ln(2 pi)/2 plus
// Stirling's series from the factorial's switch-over point on, and below it
// comes from the exact product x!. The logarithm of a result in the exponent
// range has up to 20 integer digits, so the work runs with two more words.
#include <algorithm>

#include "numlib/real_const.h"
#include "numlib/real_factorial_impl.h"
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"
#include "numlib/vec.h"

namespace {

// The words of the coefficient cache's rows bound the precision of the series.
constexpr i32 kSeriesWords = REAL_FACTORIAL_ROW_WORDS - 1;

struct Work {
    u64* half_ln_2pi;  // ln(2 pi) / 2 once computed, else nullptr
    u64* spare;
};

// ln(2 pi) / 2 = (3 ln 2 + ln(pi/4)) / 2.
void half_ln_two_pi(u64* dst, u64* t) {
    real_const(t, REAL_CONST_PI_4);
    real_ln(dst, t);
    real_ln_const(t, REAL_CONST_LN2);
    real_mul_u64_r(t, t, 3);
    real_add_r(dst, dst, t);
    real_div_u64_r(dst, dst, 2);
}

// dst = G(x) for an integral x >= 1, with ln x in lnx when the caller has it
// (else nullptr).
void stirling_rest(u64* dst, const u64* x, const u64* lnx, Work& wk) {
    ScratchMark mark;
    u64* t = real_take(mark);
    u64* u = real_take(mark);
    if (!u) return real_fail(dst, 0);
    const i32 w = mp_real_words;
    u64 small = 0;
    // Compared as u64: a count from 2^63 on must not turn negative.
    if (real_to_u64(&small, x, REAL_CONV_QUIET) &&
        small < static_cast<u64>(real_factorial_switch_over(w))) {
        // ln x! - (x + 1/2) ln x + x, from the exact product
        real_factorial(t, x);
        real_ln(dst, t);
        if (lnx) {
            real_copy(t, lnx);
        } else {
            real_ln(t, x);
        }
        real_mul_r(u, t, x);
        real_div_u64_r(t, t, 2);
        real_add_r(u, u, t);
        real_sub_r(dst, dst, u);
        real_add_r(dst, dst, x);
        return;
    }
    {
        const i32 ws = std::min(w, kSeriesWords);
        RealPrecision prec(ws,
                           mp_guard_digits > 19 * (w - ws) ? mp_guard_digits - 19 * (w - ws) : 0);
        real_stirling_sum(dst, x);
    }
    real_extend(dst, std::min(w, kSeriesWords), w);
    if (!wk.half_ln_2pi) {
        wk.half_ln_2pi = wk.spare;
        half_ln_two_pi(wk.half_ln_2pi, t);
    }
    real_add_r(dst, dst, wk.half_ln_2pi);
}

// ln C(n, k) into l (see the file comment).
void ln_comb(u64* l, const u64* n, const u64* k, const u64* s, Work& wk) {
    ScratchMark mark;
    u64* a = real_take(mark);
    u64* b = real_take(mark);
    u64* t = real_take(mark);
    u64* g = real_take(mark);
    if (!g) return real_fail(l, 0);
    real_div_r(t, s, k);
    real_ln1p(a, t);
    real_div_r(t, k, s);
    real_ln1p(b, t);
    real_mul_r(l, k, a);
    real_mul_r(t, s, b);
    real_add_r(l, l, t);
    real_add_r(a, a, b);
    real_ln(t, n);
    real_sub_r(a, a, t);
    real_div_u64_r(a, a, 2);
    real_add_r(l, l, a);
    stirling_rest(g, n, t, wk);
    real_add_r(l, l, g);
    stirling_rest(g, k, nullptr, wk);
    real_sub_r(l, l, g);
    stirling_rest(g, s, nullptr, wk);
    real_sub_r(l, l, g);
}

// ln P(n, k) into l (see the file comment).
void ln_perm(u64* l, const u64* n, const u64* k, const u64* s, Work& wk) {
    ScratchMark mark;
    u64* lnn = real_take(mark);
    u64* t = real_take(mark);
    u64* g = real_take(mark);
    if (!g) return real_fail(l, 0);
    real_ln(lnn, n);
    if (real_is_zero(s)) {
        real_mul_r(l, n, lnn);
        real_div_u64_r(t, lnn, 2);
        real_add_r(l, l, t);
        real_sub_r(l, l, n);
    } else {
        real_div_r(t, k, s);
        real_ln1p(g, t);
        real_mul_r(l, s, g);
        real_div_u64_r(g, g, 2);
        real_add_r(l, l, g);
        real_one(t);
        real_sub_r(t, lnn, t);
        real_mul_r(t, t, k);
        real_add_r(l, l, t);
        stirling_rest(g, s, nullptr, wk);
        real_sub_r(l, l, g);
    }
    stirling_rest(g, n, lnn, wk);
    real_add_r(l, l, g);
}

}  // namespace

void real_perm_comb_gamma(u64* dst, const u64* n, const u64* k, const u64* s, bool perm) {
    const i32 w = mp_real_words;
    const i32 wide = std::max(w, std::min(w + 2, REAL_FN_LONG_WORDS));
    {
        RealPrecision prec(wide, mp_guard_digits + 19 * (wide - w));
        ScratchMark mark;
        u64* nn = real_take(mark);
        u64* kk = real_take(mark);
        u64* ss = real_take(mark);
        u64* l = real_take(mark);
        Work wk{nullptr, real_take(mark)};
        if (!wk.spare) return real_fail(dst, 0);
        const u64* in[3] = {n, k, s};
        u64* out[3] = {nn, kk, ss};
        for (int i = 0; i < 3; ++i) {
            vec_copy_fwd(out[i], in[i], w + 1);
            real_extend(out[i], w, wide);
        }
        if (perm) {
            ln_perm(l, nn, kk, ss, wk);
        } else {
            ln_comb(l, nn, kk, ss, wk);
        }
        if (mp_err() == 0) real_exp(l, l);
        if (mp_err() != 0) return real_fail(dst, 0);
        vec_copy_fwd(dst, l, w + 1);
        if (wide > w) real_round_guard(dst, l[w + 1], w);
    }
}
