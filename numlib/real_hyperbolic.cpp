// Hyperbolic functions and their inverses. The direct functions come from one
// exponential (sinh and tanh of small arguments from the sinh series after
// argument division by 3^k); the inverses from a logarithm of a form without
// cancellation, or from their own series for tiny arguments.
#include "numlib/real_const.h"
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"

namespace {

// Digits the series and the final digits must reach.
i64 working_digits() {
    return 19 * mp_real_words - mp_guard_digits;
}

// Series go on while the term still reaches three digits below the working
// precision: the first omitted term then stays far below the rounding
// position of the caller, which a stop right at the precision does not.
bool series_goes_on(const u64* sum, const u64* term) {
    return mp_err() == 0 && !real_is_zero(term) &&
           real_exp_of(sum) - real_exp_of(term) < working_digits() + 3;
}

// Two temporaries at the working precision, *a holding |x|; false (dst = +0,
// error 30 raised) when the scratch area is exhausted.
bool abs_and_spare(ScratchMark& mark, u64* dst, const u64* x, u64** a, u64** b) {
    *a = real_take(mark);
    *b = real_take(mark);
    if (!*b) {
        real_fail(dst, 0);
        return false;
    }
    real_copy(*a, x);
    (*a)[0] &= ~u64{1};
    return true;
}

// Ends a function: an error leaves +0, otherwise the sign is applied.
void finish(u64* dst, int sign) {
    if (mp_err() != 0) return real_fail(dst, 0);
    if (sign && !real_is_zero(dst)) real_negate(dst);
}

// True when the series of a tiny argument needs only a few terms: each term
// gains at least twice the digits of 1/|x|.
bool series_is_short(const u64* x) {
    return -real_exp_of(x) * 16 >= working_digits();
}

// Triplications that minimise series terms plus triplication steps for a
// precision of p digits and |x| about 10^ex (0.477 digits per division by 3).
i64 sinh_triplications(i64 p, i64 ex) {
    i64 root = 0;
    while ((root + 1) * (root + 1) * 84 <= p * 10) ++root;  // sqrt(0.119 p)
    const i64 k = (root + ex) * 21 / 10;
    return k > 0 ? k : 0;
}

// sinh of 0 <= y < 1 from its series after dividing y by 3^k; the identity
// sinh 3u = sinh u (3 + 4 sinh^2 u) keeps the relative error, since all its
// terms are positive.
void sinh_series(u64* dst, const u64* y) {
    ScratchMark mark;
    u64* u = real_take(mark);
    u64* u2 = real_take(mark);
    u64* t = real_take(mark);
    u64* s = real_take(mark);
    if (!s) return real_fail(dst, 0);
    i64 k = sinh_triplications(working_digits(), real_exp_of(y) + 1);
    real_copy(u, y);
    for (i64 left = k; left > 0; left -= 39) {
        const i64 step = left < 39 ? left : 39;  // 3^39 < 10^19
        u64 v = 1;
        for (i64 i = 0; i < step; ++i) v *= 3;
        real_div_u64_r(u, u, v);
    }
    real_mul_r(u2, u, u);
    real_copy(t, u);
    real_copy(s, u);
    for (u64 n = 3;; n += 2) {
        real_mul_r(t, t, u2);
        real_div_u64_r(t, t, (n - 1) * n);
        if (!series_goes_on(s, t)) break;
        real_add_r(s, s, t);
    }
    real_from_i64(u2, 3);
    for (i64 i = 0; i < k && mp_err() == 0; ++i) {
        real_mul_r(t, s, s);
        real_mul_u64_r(t, t, 4);
        real_add_r(t, t, u2);
        real_mul_r(s, s, t);
    }
    real_copy(dst, s);
}

}  // namespace

namespace {

// ln(1 + u) for u > 0. From 10^-12 up, rounding 1 + u costs fewer digits
// than the guard word holds, and the plain logarithm is the faster path.
void ln_one_plus(u64* dst, const u64* u) {
    if (real_exp_of(u) < -12) return real_ln1p(dst, u);
    ScratchMark mark;
    u64* t = real_take(mark);
    if (!t) return real_fail(dst, 0);
    real_one(t);
    real_add_r(t, t, u);
    real_ln(dst, t);
}

// ln y + ln 2 for y beyond the precision, where y + sqrt(y^2 +- 1) = 2y.
void ln_twice(u64* dst, const u64* y) {
    ScratchMark mark;
    u64* t = real_take(mark);
    if (!t) return real_fail(dst, 0);
    real_ln(dst, y);
    real_const(t, REAL_CONST_LN2);
    real_add_r(dst, dst, t);
}

// Odd series of a tiny y: asinh (coefficients (-1)^n (2n-1)!!/(2n)!!) or
// atanh (all 1), each term divided by its odd index.
void inverse_series(u64* dst, const u64* y, bool asinh) {
    ScratchMark mark;
    u64* y2 = real_take(mark);
    u64* c = real_take(mark);
    u64* t = real_take(mark);
    u64* s = real_take(mark);
    if (!s) return real_fail(dst, 0);
    real_mul_r(y2, y, y);
    real_copy(c, y);
    real_copy(s, y);
    for (u64 n = 1;; ++n) {
        real_mul_r(c, c, y2);
        if (asinh) {
            real_mul_u64_r(c, c, 2 * n - 1);
            real_div_u64_r(c, c, 2 * n);
            real_negate(c);
        }
        real_div_u64_r(t, c, 2 * n + 1);
        if (!series_goes_on(s, t)) break;
        real_add_r(s, s, t);
    }
    real_copy(dst, s);
}

// e^y and, when it still counts at the working precision, e^-y into r (else
// r = 0). y >= 0.
void exp_pair(u64* e, u64* r, const u64* y) {
    real_exp(e, y);
    real_zero(r, 0);
    if (mp_err() != 0 || 2 * real_exp_of(e) > working_digits() + 3) return;
    real_recip(r, e);
}

}  // namespace

void real_sinh(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_copy(dst, x);
    const int sign = real_sign(x);
    ScratchMark mark;
    u64 *a, *b;
    if (!abs_and_spare(mark, dst, x, &a, &b)) return;
    if (!real_abs_at_least(a, 600000000, -1)) {
        sinh_series(dst, a);
    } else {
        exp_pair(a, b, a);
        real_sub_r(a, a, b);
        real_div_u64_r(dst, a, 2);
    }
    finish(dst, sign);
}

void real_cosh(u64* dst, const u64* x) {
    ScratchMark mark;
    u64 *a, *b;
    if (!abs_and_spare(mark, dst, x, &a, &b)) return;
    exp_pair(a, b, a);
    real_add_r(a, a, b);
    real_div_u64_r(dst, a, 2);
    finish(dst, 0);
}

void real_tanh(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_copy(dst, x);
    const int sign = real_sign(x);
    const i64 limit = 19 * mp_real_words * 295 / 256;
    ScratchMark mark;
    u64 *a, *b;
    if (!abs_and_spare(mark, dst, x, &a, &b)) return;
    if (!real_abs_at_least(a, 100000000, -1)) {
        // sinh / sqrt(1 + sinh^2): no cancellation for small arguments
        sinh_series(a, a);
        real_mul_r(b, a, a);
        real_one(dst);
        real_add_r(b, b, dst);
        real_sqrt(b, b);
        real_div_r(dst, a, b);
    } else if (real_cmp_i64(a, limit) > 0) {
        real_one(dst);
    } else {
        real_mul_u64_r(a, a, 2);
        real_exp(a, a);
        real_one(b);
        real_add_r(b, a, b);
        real_one(dst);
        real_sub_r(a, a, dst);
        real_div_r(dst, a, b);
    }
    finish(dst, sign);
}

void real_asinh(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_copy(dst, x);
    const int sign = real_sign(x);
    ScratchMark mark;
    u64 *a, *b;
    if (!abs_and_spare(mark, dst, x, &a, &b)) return;
    u64* c = real_take(mark);
    if (!c) return real_fail(dst, 0);
    if (real_exp_of(a) >= 19 * mp_real_words) {
        ln_twice(dst, a);
    } else if (series_is_short(a)) {
        inverse_series(dst, a, true);
    } else if (real_abs_at_least(a, 500000000, -1)) {
        // y >= 1/2: ln(y + sqrt(y^2 + 1)) >= 0.48, so the root's last digits
        // weigh no more than in the result
        real_mul_r(b, a, a);
        real_one(c);
        real_add_r(b, b, c);
        real_sqrt(b, b);
        real_add_r(b, b, a);
        real_ln(dst, b);
    } else {
        // asinh y = ln(1 + u), u = y + y^2 / (1 + sqrt(1 + y^2)): the root
        // only enters the y^2 part, so its last digits do not matter
        real_mul_r(b, a, a);
        real_one(c);
        real_add_r(c, c, b);
        real_sqrt(c, c);
        real_one(dst);
        real_add_r(c, c, dst);
        real_div_r(b, b, c);
        real_add_r(b, b, a);
        ln_one_plus(dst, b);
    }
    finish(dst, sign);
}

void real_acosh(u64* dst, const u64* x) {
    const int below_one = real_cmp_i64(x, 1);
    if (below_one < 0) return real_fail(dst, MP_ERR_DOMAIN);
    if (below_one == 0) return real_zero(dst, 0);
    if (real_exp_of(x) >= 19 * mp_real_words) {
        ln_twice(dst, x);
        return finish(dst, 0);
    }
    ScratchMark mark;
    u64* d = real_take(mark);
    u64* b = real_take(mark);
    if (!b) return real_fail(dst, 0);
    // acosh x = ln(1 + u), u = (x - 1) + sqrt((x - 1)(x + 1)); x - 1 is exact
    real_one(b);
    real_sub_r(d, x, b);
    real_add_r(b, x, b);
    real_mul_r(b, b, d);
    real_sqrt(b, b);
    real_add_r(b, b, d);
    ln_one_plus(dst, b);
    finish(dst, 0);
}

void real_atanh(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_copy(dst, x);
    if (real_abs_at_least(x, 100000000, 0)) return real_fail(dst, MP_ERR_DOMAIN);
    const int sign = real_sign(x);
    ScratchMark mark;
    u64 *a, *b;
    if (!abs_and_spare(mark, dst, x, &a, &b)) return;
    if (series_is_short(a)) {
        inverse_series(dst, a, false);
    } else {
        // atanh y = ln(1 + 2y / (1 - y)) / 2, without the cancellation of
        // ln((1 + y) / (1 - y)) for small y
        real_one(b);
        real_sub_r(b, b, a);
        real_mul_u64_r(a, a, 2);
        real_div_r(a, a, b);
        ln_one_plus(a, a);
        real_div_u64_r(dst, a, 2);
    }
    finish(dst, sign);
}
