// Factorial of a machine integer: a direct product below a switch-over point
// that grows with the precision, Stirling's series with cached coefficients
// from it up.
#include <algorithm>
#include <cmath>

#include "numlib/real_const.h"
#include "numlib/real_factorial_impl.h"
#include "numlib/real_fn.h"
#include "numlib/real_impl.h"
#include "numlib/words_scope.h"

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

// (lo + 1)(lo + 2)...hi at the current word count, several factors per
// word-sized multiplication.
void packed_product(u64* dst, u64 lo, u64 hi) {
    real_one(dst);
    for (u64 i = lo + 1; i <= hi && mp_err() == 0;) {
        u64 v = i++;
        while (i <= hi && v <= (REAL_BASE - 1) / i) v *= i++;
        mul_u64(dst, dst, v);
    }
}

// Mantissa words that hold (lo + 1)...hi exactly (an upper bound).
i32 exact_words(u64 lo, u64 hi) {
    const double digits = static_cast<double>(hi - lo) * std::log10(static_cast<double>(hi) + 1);
    return static_cast<i32>(digits / 19.0) + 2;
}

// (lo + 1)...hi into dst (room for w + 1 words) by binary splitting: the
// parts are exact products at the words they need, and only products of w
// words and more round. Returns the word count of the result (0 on error);
// the words of dst beyond it are not cleared.
i32 range_product(u64* dst, u64 lo, u64 hi, i32 w) {
    const i32 need = std::min(w, exact_words(lo, hi));
    if (hi - lo <= 24) {
        RealWordsScope scope(need);
        packed_product(dst, lo, hi);
        return need;
    }
    ScratchMark mark;
    u64* right = mark.take(static_cast<std::size_t>(w) + 1);
    if (!right || mp_err() != 0) return 0;
    const u64 mid = lo + (hi - lo) / 2;
    const i32 kl = range_product(dst, lo, mid, w);
    const i32 kr = kl ? range_product(right, mid, hi, w) : 0;
    if (kr == 0) return 0;
    const i32 k = std::min(w, kl + kr);
    std::fill(dst + kl + 1, dst + k + 1, u64{0});
    std::fill(right + kr + 1, right + k + 1, u64{0});
    RealWordsScope scope(k);
    mul(dst, dst, right);
    return k;
}

// n! = 2 * 3 * ... * n.
void direct_product(u64* dst, u64 n) {
    const i32 w = mp_real_words;
    const i32 k = range_product(dst, 1, n < 1 ? 1 : n, w);
    if (k == 0 || mp_err() != 0) return real_fail(dst, 0);
    std::fill(dst + k + 1, dst + w + 1, u64{0});
}

}  // namespace

void real_stirling_sum(u64* sum, const u64* x) {
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* q = mark.take(w);
    u64* q2 = mark.take(w);
    u64* term = mark.take(w);
    if (!term) return real_fail(sum, 0);
    real_recip(q, x);
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

i64 real_factorial_switch_over(i64 w) {
    static constexpr i64 kSmall[10] = {131, 367, 605, 892, 1260, 1629, 2058, 2738, 3524, 4111};
    return w <= 10 ? kSmall[w - 1] : (20 * w + 448) * w - 2334;
}

namespace {

// sqrt(2 pi n) (n / e)^n exp(sum).
void stirling(u64* dst, u64 n) {
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* a = mark.take(w);
    u64* b = mark.take(w);
    u64* s = mark.take(w);
    u64* t = mark.take(w);
    if (!t) return real_fail(dst, 0);
    real_from_u64(t, n);
    real_stirling_sum(s, t);
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
    if (n < real_factorial_switch_over(mp_real_words))
        return direct_product(dst, static_cast<u64>(n));
    stirling(dst, static_cast<u64>(n));
}
