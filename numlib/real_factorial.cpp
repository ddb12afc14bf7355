// Factorial of a machine integer: a direct product below a switch-over point
// that grows with the precision, Stirling's series with cached coefficients
// from it up.
#include "numlib/real_const.h"
#include "numlib/real_factorial_impl.h"
#include "numlib/real_fn.h"
#include "numlib/real_impl.h"

namespace {

void add(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_add_sub(dst, a, b, 0), mp_real_words);
}
void mul(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_mul(dst, a, b), mp_real_words);
}
void mul_u64(u64* dst, const u64* a, u64 v) {
    real_round_guard(dst, real_mul_u64(dst, a, v), mp_real_words);
}

// Smallest n that takes the series at w working words.
i64 switch_over(i64 w) {
    static constexpr i64 kSmall[10] = {131, 367, 605, 892, 1260, 1629, 2058, 2738, 3524, 4111};
    return w <= 10 ? kSmall[w - 1] : (20 * w + 448) * w - 2334;
}

// 2 * 3 * ... * n, several factors per word-sized multiplication.
void direct_product(u64* dst, u64 n) {
    real_one(dst);
    for (u64 i = 2; i <= n && mp_err() == 0;) {
        u64 v = i++;
        while (i <= n && v <= (REAL_BASE - 1) / i) v *= i++;
        mul_u64(dst, dst, v);
    }
    if (mp_err() != 0) real_fail(dst, 0);
}

// Sum of the Stirling series sum_k c_k / n^(2k-1), to the working precision.
void stirling_sum(u64* sum, u64 n, u64* q, u64* q2, u64* term) {
    real_from_u64(term, n);
    real_recip(q, term);
    mul(q2, q, q);
    real_zero(sum, 0);
    const i64 digits = 19 * mp_real_words - mp_guard_digits;
    i64 last_exp = 0;
    for (i32 k = 1; mp_err() == 0; ++k) {
        const u64* c = real_factorial_coef(k);
        if (!c) return;
        mul(term, c, q);
        // Asymptotic: stop at the precision, or should the terms grow again.
        if (k > 1 &&
            (real_exp_of(sum) - real_exp_of(term) >= digits - 1 || real_exp_of(term) > last_exp))
            return;
        last_exp = real_exp_of(term);
        add(sum, sum, term);
        mul(q, q, q2);
    }
}

// sqrt(2 pi n) (n / e)^n exp(sum).
void stirling(u64* dst, u64 n) {
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* a = mark.take(w);
    u64* b = mark.take(w);
    u64* s = mark.take(w);
    u64* t = mark.take(w);
    if (!t) return real_fail(dst, 0);
    stirling_sum(s, n, a, b, t);
    if (mp_err() != 0) return real_fail(dst, 0);
    real_exp(s, s);
    real_const(a, REAL_CONST_PI_2);
    mul_u64(a, a, 4);
    mul_u64(a, a, n);
    real_sqrt(a, a);
    real_from_i64(b, -1);
    real_exp(b, b);
    mul_u64(b, b, n);
    real_pow_int(b, b, static_cast<i64>(n));
    mul(a, a, b);
    mul(dst, a, s);
    if (mp_err() != 0) real_fail(dst, 0);
}

}  // namespace

void real_factorial(u64* dst, const u64* x) {
    i64 n = 0;
    if (!real_to_i64(&n, x, REAL_CONV_QUIET) || n < 0) return real_fail(dst, MP_ERR_DOMAIN);
    if (n < switch_over(mp_real_words)) return direct_product(dst, static_cast<u64>(n));
    stirling(dst, static_cast<u64>(n));
}
