// Hyperbolic functions and their inverses. The direct functions come from one
// exponential (sinh and tanh of small arguments from the sinh series after
// argument division by 3^k); the inverses from a logarithm of a form without
// cancellation, or from their own series for tiny arguments.
#include "numlib/real_const.h"
#include "numlib/real_fn.h"
#include "numlib/real_impl.h"

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

void add(u64* dst, const u64* a, const u64* b, int sub) {
    real_round_guard(dst, real_add_sub(dst, a, b, sub), mp_real_words);
}
void mul(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_mul(dst, a, b), mp_real_words);
}
void mul_u64(u64* dst, const u64* a, u64 v) {
    real_round_guard(dst, real_mul_u64(dst, a, v), mp_real_words);
}
void div(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_div(dst, a, b), mp_real_words);
}
void div_u64(u64* dst, const u64* a, u64 v) {
    real_round_guard(dst, real_div_u64(dst, a, v), mp_real_words);
}

// |x|: a copy with the sign cleared.
void abs_copy(u64* dst, const u64* x) {
    real_copy(dst, x);
    dst[0] &= ~u64{1};
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
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* u = mark.take(w);
    u64* u2 = mark.take(w);
    u64* t = mark.take(w);
    u64* s = mark.take(w);
    if (!s) return real_fail(dst, 0);
    i64 k = sinh_triplications(working_digits(), real_exp_of(y) + 1);
    real_copy(u, y);
    for (i64 left = k; left > 0; left -= 39) {
        const i64 step = left < 39 ? left : 39;  // 3^39 < 10^19
        u64 v = 1;
        for (i64 i = 0; i < step; ++i) v *= 3;
        div_u64(u, u, v);
    }
    mul(u2, u, u);
    real_copy(t, u);
    real_copy(s, u);
    for (u64 n = 3;; n += 2) {
        mul(t, t, u2);
        div_u64(t, t, (n - 1) * n);
        if (!series_goes_on(s, t)) break;
        add(s, s, t, 0);
    }
    real_from_i64(u2, 3);
    for (i64 i = 0; i < k && mp_err() == 0; ++i) {
        mul(t, s, s);
        mul_u64(t, t, 4);
        add(t, t, u2, 0);
        mul(s, s, t);
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
    u64* t = mark.take(static_cast<std::size_t>(mp_real_words) + 1);
    if (!t) return real_fail(dst, 0);
    real_one(t);
    add(t, t, u, 0);
    real_ln(dst, t);
}

// ln y + ln 2 for y beyond the precision, where y + sqrt(y^2 +- 1) = 2y.
void ln_twice(u64* dst, const u64* y) {
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(mp_real_words) + 1);
    if (!t) return real_fail(dst, 0);
    real_ln(dst, y);
    real_const(t, REAL_CONST_LN2);
    add(dst, dst, t, 0);
}

// Odd series of a tiny y: asinh (coefficients (-1)^n (2n-1)!!/(2n)!!) or
// atanh (all 1), each term divided by its odd index.
void inverse_series(u64* dst, const u64* y, bool asinh) {
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* y2 = mark.take(w);
    u64* c = mark.take(w);
    u64* t = mark.take(w);
    u64* s = mark.take(w);
    if (!s) return real_fail(dst, 0);
    mul(y2, y, y);
    real_copy(c, y);
    real_copy(s, y);
    for (u64 n = 1;; ++n) {
        mul(c, c, y2);
        if (asinh) {
            mul_u64(c, c, 2 * n - 1);
            div_u64(c, c, 2 * n);
            real_negate(c);
        }
        div_u64(t, c, 2 * n + 1);
        if (!series_goes_on(s, t)) break;
        add(s, s, t, 0);
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
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* a = mark.take(w);
    u64* b = mark.take(w);
    if (!b) return real_fail(dst, 0);
    abs_copy(a, x);
    if (!real_abs_at_least(a, 600000000, -1)) {
        sinh_series(dst, a);
    } else {
        exp_pair(a, b, a);
        add(a, a, b, 1);
        div_u64(dst, a, 2);
    }
    finish(dst, sign);
}

void real_cosh(u64* dst, const u64* x) {
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* a = mark.take(w);
    u64* b = mark.take(w);
    if (!b) return real_fail(dst, 0);
    abs_copy(a, x);
    exp_pair(a, b, a);
    add(a, a, b, 0);
    div_u64(dst, a, 2);
    finish(dst, 0);
}

void real_tanh(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_copy(dst, x);
    const int sign = real_sign(x);
    const i64 limit = 19 * mp_real_words * 295 / 256;
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* a = mark.take(w);
    u64* b = mark.take(w);
    if (!b) return real_fail(dst, 0);
    abs_copy(a, x);
    if (!real_abs_at_least(a, 100000000, -1)) {
        // sinh / sqrt(1 + sinh^2): no cancellation for small arguments
        sinh_series(a, a);
        mul(b, a, a);
        real_one(dst);
        add(b, b, dst, 0);
        real_sqrt(b, b);
        div(dst, a, b);
    } else if (real_cmp_i64(a, limit) > 0) {
        real_one(dst);
    } else {
        mul_u64(a, a, 2);
        real_exp(a, a);
        real_one(b);
        add(b, a, b, 0);
        real_one(dst);
        add(a, a, dst, 1);
        div(dst, a, b);
    }
    finish(dst, sign);
}

void real_asinh(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_copy(dst, x);
    const int sign = real_sign(x);
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* a = mark.take(w);
    u64* b = mark.take(w);
    u64* c = mark.take(w);
    if (!c) return real_fail(dst, 0);
    abs_copy(a, x);
    if (real_exp_of(a) >= 19 * mp_real_words) {
        ln_twice(dst, a);
    } else if (series_is_short(a)) {
        inverse_series(dst, a, true);
    } else if (real_abs_at_least(a, 500000000, -1)) {
        // y >= 1/2: ln(y + sqrt(y^2 + 1)) >= 0.48, so the root's last digits
        // weigh no more than in the result
        mul(b, a, a);
        real_one(c);
        add(b, b, c, 0);
        real_sqrt(b, b);
        add(b, b, a, 0);
        real_ln(dst, b);
    } else {
        // asinh y = ln(1 + u), u = y + y^2 / (1 + sqrt(1 + y^2)): the root
        // only enters the y^2 part, so its last digits do not matter
        mul(b, a, a);
        real_one(c);
        add(c, c, b, 0);
        real_sqrt(c, c);
        real_one(dst);
        add(c, c, dst, 0);
        div(b, b, c);
        add(b, b, a, 0);
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
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* d = mark.take(w);
    u64* b = mark.take(w);
    if (!b) return real_fail(dst, 0);
    // acosh x = ln(1 + u), u = (x - 1) + sqrt((x - 1)(x + 1)); x - 1 is exact
    real_one(b);
    add(d, x, b, 1);
    add(b, x, b, 0);
    mul(b, b, d);
    real_sqrt(b, b);
    add(b, b, d, 0);
    ln_one_plus(dst, b);
    finish(dst, 0);
}

void real_atanh(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_copy(dst, x);
    if (real_abs_at_least(x, 100000000, 0)) return real_fail(dst, MP_ERR_DOMAIN);
    const int sign = real_sign(x);
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* a = mark.take(w);
    u64* b = mark.take(w);
    if (!b) return real_fail(dst, 0);
    abs_copy(a, x);
    if (series_is_short(a)) {
        inverse_series(dst, a, false);
    } else {
        // atanh y = ln(1 + 2y / (1 - y)) / 2, without the cancellation of
        // ln((1 + y) / (1 - y)) for small y
        real_one(b);
        add(b, b, a, 1);
        mul_u64(a, a, 2);
        div(a, a, b);
        ln_one_plus(a, a);
        div_u64(dst, a, 2);
    }
    finish(dst, sign);
}
